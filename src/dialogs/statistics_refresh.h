#pragma once
// The foot of a statistics view: when the values shown were read from the
// device, and Refresh, which reads the two statistics groups again through
// the device session and shows them once they are in. Without it a view
// shows the numbers of the last full read, however old they are.

#include "config/store_groups.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <functional>

class QLabel;
class QPushButton;
class QWidget;

namespace agent {
class DeviceSession;
}

class StatisticsRefresh : public QObject {
    Q_OBJECT
public:
    // `show` fills the view's boxes from the store.
    StatisticsRefresh(agent::DeviceSession &session, config::Group group, std::function<void()> show,
                      QWidget *view);

    QLabel *ReadingTimeLabel = nullptr;  // "Read from the device at 10:42:07"
    QPushButton *RefreshCommand = nullptr;

    // The reading time of the values the view now shows: the store's, as
    // the last read of the group left them.
    void showReadingTime();

private:
    void refresh();
    void showFailure(const QString &why);

    QPointer<agent::DeviceSession> session_;
    config::Group group_;
    std::function<void()> show_;
    QDateTime shownReadAt_;  // null: the values shown were never read
};
