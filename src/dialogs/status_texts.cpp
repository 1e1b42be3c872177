#include "dialogs/status_texts.h"

#include "config/device_objects.h"

namespace dialogs {

namespace {

const QString kRequestPortInUse = QStringLiteral("Current port is in use. Try again.");
const QString kTrapPortInUse =
    QStringLiteral("Trap port(%1) is in use. Check to to see if another manager is running, then restart this one.");
const QString kTrapPortNeedsRights =
    QStringLiteral("Traps cannot be received: port %1 needs administrator rights; start with --trap-port 1162 and "
                   "point the device's trap destination there, or see Help");
const QString kMibMissing =
    QStringLiteral("The MIB file could not be loaded (%1): nothing can be sent to the device.");

// A request the loopback-only guard stopped says so, whatever was asked.
QString orRefusal(const agent::JobResult &result, const QString &text)
{
    return result.error == agent::JobResult::NotAllowed ? result.detail : text;
}

}  // namespace

QString readFailureText(const agent::JobResult &result)
{
    if (result.ok() || !result.group)
        return QString();
    const config::GroupDescription &group = config::describe(*result.group);
    if (group.errorNumber == 0)
        return QString();
    if (result.error == agent::JobResult::Rejected && !group.rejectedText.isEmpty())
        return orRefusal(result, group.rejectedText);
    return orRefusal(result, QStringLiteral("Network Error%1-Not all values retrieved.").arg(group.errorNumber));
}

QString statusText(const agent::SessionReport &report)
{
    using R = agent::SessionReport;
    const agent::JobResult &result = report.result;
    switch (report.event) {
    case R::ManagerOpened: return text::managerOpened;
    case R::RequestPortInUse: return kRequestPortInUse;
    case R::TrapPortInUse: return kTrapPortInUse.arg(report.port);
    case R::TrapPortNeedsRights: return kTrapPortNeedsRights.arg(report.port);
    case R::PortNotOpened: return report.detail;
    case R::MibMissing: return kMibMissing.arg(report.detail);
    case R::Attempting: return text::attempting;
    case R::Found: return text::found;
    case R::NotFound: return orRefusal(result, text::notFound);
    case R::Reading: return text::reading;
    case R::AllRetrieved: return text::allRetrieved;
    case R::ReadFailed: return readFailureText(result);
    case R::Busy: return text::busy;
    case R::NoDevice: return text::noDevice;
    case R::DownloadRefused:
        if (result.error == agent::JobResult::InvalidValue && result.object)
            return text::valueRefused.arg(result.object->label, result.object->hint);
        return text::groupNotRead.arg(result.group ? config::groupTitle(*result.group) : QString());
    case R::Downloading: return text::downloading;
    case R::DownloadDone: return text::downloadDone;
    case R::DownloadFailed: return orRefusal(result, text::downloadFailed);
    case R::ResetIssued: return QStringLiteral("Reset command issued....");
    case R::ResetFailed: return orRefusal(result, QStringLiteral("Error - Reset command not issued..."));
    case R::RestoreIssued: return QStringLiteral("Restore Defaults command issued....");
    case R::RestoreFailed: return orRefusal(result, QStringLiteral("Error - Restore Defaults command not issued..."));
    case R::TrapsSwitched:
        if (result.ok())
            return report.enable ? QStringLiteral("SNMP traps Enabled....") : QStringLiteral("SNMP traps Disabled....");
        return report.enable ? QStringLiteral("Network Error - SNMP traps Not Enabled....")
                             : QStringLiteral("Network Error - SNMP traps Not Disabled....");
    case R::RequestRefused: return result.detail;
    case R::TrapReceived: return text::trapReceived;
    case R::TrapFileProblem: return report.detail;
    }
    return QString();
}

}  // namespace dialogs
