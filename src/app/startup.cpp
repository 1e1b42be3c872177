#include "startup.h"

#include "app_logging.h"
#include "capabilities.h"
#include "config/data_locations.h"
#include "settings/app_settings.h"
#include "demo_access_point.h"
#include "frm_main.h"
#include "sim/termination_signals.h"
#include "snmp/loopback_guard.h"

#include <QApplication>
#include <QDir>
#include <QHostAddress>
#include <QMessageBox>
#include <QTimer>

namespace app {

QString mibFilePath()
{
    const QString name = QStringLiteral("CorvaneMIB.mib");
    const QString found = config::findDataFile(name);
    // Found nowhere: the load's failure names the first place looked in.
    return found.isEmpty() ? QDir(config::dataFolders().constFirst()).filePath(name) : found;
}

int runConsole(settings::CommandLineOptions options)
{
    if (!options.settingsFile.isEmpty())
        settings::useSettingsFile(options.settingsFile);

    // Ctrl+C, a closed terminal or a kill end the event loop rather than the
    // process, so that the way out below runs: the placement is kept and the
    // demo's temporary folder (its settings, its trap log) goes.
    if (!quitOnTerminationSignals())
        qCWarning(lcApp) << "SIGINT, SIGTERM and SIGHUP will end the program without clean-up";

    DemoAccessPoint demo;
    if (options.demo) {
        // The demo promises to stay on this machine, whatever address a
        // device reports or a user types.
        snmp::loopback_guard::setOn(true);
        QString error;
        if (!demo.start(options, &error)) {
            QMessageBox::critical(nullptr, QStringLiteral("TARVO SNMP Manager"),
                                  QStringLiteral("The demonstration device could not be started: %1").arg(error));
            return 1;
        }
    }

    agent::SessionOptions sessionOptions = options.session;
    sessionOptions.mibPath = mibFilePath();
    if (!options.trapAddress.isEmpty()) {
        const QHostAddress trapAddress(options.trapAddress);
        sessionOptions.openTrapPort = [trapAddress](snmp::SnmpManager &trapInstance, quint16 port) {
            return trapInstance.Open(trapAddress, port);
        };
    }

    frmMain window(sessionOptions);
    MainForm = &window;
    if (!options.trapLogFile.isEmpty())
        window.session().trapReception().setLogFilePath(options.trapLogFile);
    window.MDIForm_Load();
    // The trap port is open (or failed): the right to open it is not needed again.
    if (!dropCapabilities())
        qCWarning(lcApp) << "could not give up the right to bind ports below 1024";
    window.show();
    // The quick-setup window comes up in front of the main window; its load
    // shows the connect dialog, the first thing the user answers. It runs
    // inside the event loop, so that a signal that ends the loop ends the
    // dialog's wait too.
    QTimer::singleShot(0, &window, [&window] { window.showQuickSetup(); });
    const int code = QApplication::exec();
    if (terminationRequested())
        window.saveWindowPlacement();
    MainForm = nullptr;
    return code;
}

}  // namespace app
