#pragma once
// One modeless window of a kind inside the main window's document area.
// It is made on first use; asking again brings the existing one to the
// front with the state it has. When the hosted window closes itself (its
// OK or Cancel), the frame around it goes too, so the next request makes a
// fresh one.

#include <QMdiSubWindow>
#include <QObject>
#include <QPointer>
#include <functional>

class QMdiArea;

namespace app {

// Pixels that `frame`'s title bar lacks to show the whole caption, as the
// style lays the bar out (buttons, icon, borders); 0 when it fits.
int captionShortfall(const QMdiSubWindow *frame);

class SingleMdiChild : public QObject {
    Q_OBJECT
public:
    using Factory = std::function<QWidget *()>;

    SingleMdiChild(QMdiArea *area, Factory factory, QObject *parent = nullptr);

    // Creates the window when there is none; shows and activates it.
    QMdiSubWindow *show();
    QMdiSubWindow *subWindow() const { return frame_.data(); }
    QWidget *widget() const { return child_.data(); }
    // There is a window, and it has not closed.
    bool isOpen() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void scheduleCloseCheck();
    void closeFrameIfChildGone();

    QMdiArea *area_;
    Factory factory_;
    QPointer<QMdiSubWindow> frame_;
    QPointer<QWidget> child_;
};

}  // namespace app
