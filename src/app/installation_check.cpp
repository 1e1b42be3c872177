#include "installation_check.h"

#include "agent/session_report.h"
#include "config/data_locations.h"
#include "config/device_mib.h"
#include "dialogs/status_texts.h"
#include "snmp/mib.h"
#include "snmp/snmp_manager.h"
#include "traps/trap_log_file.h"

#include <QDir>
#include <QFileInfo>
#include <QHostAddress>

namespace app {

namespace {

QString notFound(const QString &fileName)
{
    QStringList folders;
    for (const QString &folder : config::dataFolders())
        folders << QDir::toNativeSeparators(folder);
    return QStringLiteral("%1 not found (looked in %2)").arg(fileName, folders.join(QStringLiteral(", ")));
}

QString trapPortResult(const settings::CommandLineOptions &options, bool &ok)
{
    const quint16 port = options.session.trapPort;
    const QHostAddress address(options.trapAddress.isEmpty() ? QStringLiteral("0.0.0.0") : options.trapAddress);
    snmp::SnmpManager trapInstance;
    const snmp::OpenResult opened = trapInstance.Open(address, port);
    ok = opened.ok;
    if (opened.ok)
        return QStringLiteral("UDP %1:%2 opens").arg(address.toString()).arg(port);
    agent::SessionReport report;
    report.port = port;
    switch (opened.errorNumber) {
    case snmp::kErrorAddressInUse: report.event = agent::SessionReport::TrapPortInUse; break;
    case snmp::kErrorAccessDenied: report.event = agent::SessionReport::TrapPortNeedsRights; break;
    default: return opened.description;
    }
    return dialogs::statusText(report);
}

}  // namespace

InstallationCheck checkInstallation(const settings::CommandLineOptions &options)
{
    InstallationCheck check;
    const auto add = [&check](const QString &what, const QString &result, bool ok) {
        check.lines << QStringLiteral("%1: %2").arg(what, result);
        check.ok = check.ok && ok;
    };

    // A MIB file found takes the place of the one built in; one that cannot
    // be read is a fault, not a reason to fall back.
    const QString mibFile = config::findDataFile(QStringLiteral("CorvaneMIB.mib"));
    snmp::Mib mib;
    const snmp::Mib::LoadResult loaded = mib.Load(config::mibToLoad(mibFile));
    if (!loaded.ok)
        add(QStringLiteral("MIB file"), loaded.error, false);
    else if (mibFile.isEmpty())
        add(QStringLiteral("MIB file"), QStringLiteral("built in; ") + notFound(QStringLiteral("CorvaneMIB.mib")), true);
    else
        add(QStringLiteral("MIB file"), QDir::toNativeSeparators(mibFile), true);

    // The help opens a collection and the documentation beside it.
    const QString collection = config::findDataFile(QStringLiteral("SNMPHelp.qhc"));
    const QString documentation =
        collection.isEmpty() ? QString() : QFileInfo(collection).dir().filePath(QStringLiteral("SNMPHelp.qch"));
    if (collection.isEmpty())
        add(QStringLiteral("Help file"), notFound(QStringLiteral("SNMPHelp.qhc")), false);
    else if (!QFileInfo(documentation).isFile())
        add(QStringLiteral("Help file"), QStringLiteral("%1 not found").arg(QDir::toNativeSeparators(documentation)),
            false);
    else
        add(QStringLiteral("Help file"), QDir::toNativeSeparators(collection), true);

    const QFileInfo trapLog(options.trapLogFile.isEmpty() ? traps::defaultTrapLogPath() : options.trapLogFile);
    const bool writable = trapLog.exists() ? trapLog.isWritable() : QFileInfo(trapLog.absolutePath()).isWritable();
    add(QStringLiteral("Trap log"),
        QDir::toNativeSeparators(trapLog.filePath()) + (writable ? QString() : QStringLiteral(" (cannot be written)")),
        writable);

    bool trapPortOk = false;
    const QString trapPort = trapPortResult(options, trapPortOk);
    add(QStringLiteral("Trap port"), trapPort, trapPortOk);
    return check;
}

}  // namespace app
