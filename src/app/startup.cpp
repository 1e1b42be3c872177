#include "startup.h"

#include "app_settings.h"
#include "demo_access_point.h"
#include "frm_main.h"
#include "snmp/snmp_manager.h"

#include <QApplication>
#include <QMessageBox>

namespace app {

QString mibFilePath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/CorvaneMIB.mib");
}

int runConsole(CommandLineOptions options)
{
    if (!options.settingsFile.isEmpty())
        useSettingsFile(options.settingsFile);

    DemoAccessPoint demo;
    if (options.demo) {
        // The demo promises to stay on this machine, whatever address a
        // device reports or a user types.
        snmp::SnmpManager::setLoopbackOnly(true);
        QString error;
        if (!demo.start(options, &error)) {
            QMessageBox::critical(nullptr, QStringLiteral("TARVO SNMP Manager"),
                                  QStringLiteral("The demonstration device could not be started: %1").arg(error));
            return 1;
        }
    }

    agent::SessionOptions sessionOptions = options.session;
    sessionOptions.mibPath = mibFilePath();

    frmMain window(sessionOptions);
    MainForm = &window;
    if (!options.trapLogFile.isEmpty())
        window.session().trapReception.setLogFilePath(options.trapLogFile);
    window.MDIForm_Load();
    window.show();
    // The quick-setup window comes up in front of the main window; its load
    // shows the connect dialog, the first thing the user answers.
    window.showQuickSetup();
    const int code = QApplication::exec();
    MainForm = nullptr;
    return code;
}

}  // namespace app
