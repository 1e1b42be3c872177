#include "first_window_report.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWindow>
#include <cstdio>

namespace app {

namespace {
class FirstExposeFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose) {
            const QWindow *window = qobject_cast<QWindow *>(watched);
            if (window && window->isExposed()) {
                std::fputs("first window shown\n", stdout);
                std::fflush(stdout);
                QCoreApplication::instance()->removeEventFilter(this);
                deleteLater();
            }
        }
        return false;
    }
};
}  // namespace

void reportFirstWindowIfAsked(QCoreApplication &application)
{
    if (qEnvironmentVariableIsSet("CORVANE_REPORT_FIRST_WINDOW"))
        application.installEventFilter(new FirstExposeFilter(&application));
}

}  // namespace app
