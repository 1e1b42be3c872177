#pragma once
// While a window waits for the device (a request blocks in a nested event
// loop), the user's clicks and keys must not reach it: a check box ticked
// meanwhile would show a mode that no step ever sent. An InputHold swallows
// mouse, wheel and key input for the window and everything in it, and shows
// the hourglass, for as long as it lives.

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace radiotest {

class InputHold : public QObject {
public:
    explicit InputHold(QWidget *window);
    ~InputHold() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> window_;
};

}  // namespace radiotest
