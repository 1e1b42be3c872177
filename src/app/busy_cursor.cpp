#include "busy_cursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace app {

void BusyCursor::set(bool busy)
{
    if (busy == shown_)
        return;
    shown_ = busy;
    if (busy)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QGuiApplication::restoreOverrideCursor();
}

}  // namespace app
