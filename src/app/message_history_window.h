#pragma once
// The status line's last messages, each with its time, newest last: what
// the line showed, and what it held back or replaced before it could be
// read. Opened from the status line; follows it while open.

#include <QDialog>

class QListWidget;

namespace app {

class StatusLine;

class MessageHistoryWindow : public QDialog {
    Q_OBJECT
public:
    explicit MessageHistoryWindow(const StatusLine &line, QWidget *parent = nullptr);
    QListWidget *list() const { return list_; }

private:
    void refresh();

    const StatusLine &line_;
    QListWidget *list_;
};

}  // namespace app
