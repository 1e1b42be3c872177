#include "radiotest/input_hold.h"

#include <QApplication>
#include <QEvent>

namespace radiotest {

InputHold::InputHold(QWidget *window) : window_(window)
{
    qApp->installEventFilter(this);
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

InputHold::~InputHold()
{
    QApplication::restoreOverrideCursor();
    qApp->removeEventFilter(this);
}

bool InputHold::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride: {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && window_ && (widget == window_ || window_->isAncestorOf(widget)))
            return true;
        break;
    }
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace radiotest
