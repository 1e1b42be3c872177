// A bare Qt window of the console's default size, shown the way the console
// shows its main window: the yardstick of the start-up benchmark. With
// --text it also has a menu and a status line, so it loads the system's
// fonts before it shows, as every window with text must.

#include "app/first_window_report.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    app::reportFirstWindowIfAsked(application);
    QMainWindow window;
    window.resize(433, 433);
    if (application.arguments().contains(QStringLiteral("--text"))) {
        window.menuBar()->addMenu(QStringLiteral("&File"));
        window.statusBar()->showMessage(QStringLiteral("Status"));
    }
    window.show();
    return QApplication::exec();
}
