// The facade: the load, the shared state, the device commands. Connecting,
// the full read and the download have files of their own.

#include "device_session.h"

#include "agent/session_texts.h"
#include "config/configuration_store.h"
#include "config/device_commands.h"
#include "config/device_mib.h"
#include "config/encodings.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcSession, "corvane.agent.session")

namespace agent {

DeviceSession::DeviceSession(const SessionOptions &options, QObject *parent)
    : QObject(parent), options_(options)
{
    link_.setTimeScale(options.timeScale);
    Manager1.setDirectWaitMs(options.directWaitMs);
    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer2.setObjectName(QStringLiteral("Timer2"));
    SetTimer.setObjectName(QStringLiteral("SetTimer"));
    PollingTimer.setObjectName(QStringLiteral("PollingTimer"));
    connect(&Timer1, &QTimer::timeout, this, &DeviceSession::Timer1_Timer);
    connect(&Timer2, &QTimer::timeout, this, &DeviceSession::Timer2_Timer);
    connect(&SetTimer, &QTimer::timeout, this, &DeviceSession::SetTimer_Timer);
    connect(&Manager1, &snmp::SnmpManager::Response, this, &DeviceSession::Manager1_Response);
    connect(&Manager1, &snmp::SnmpManager::requestRefused, this, [this](const QString &why) {
        problem_ = why;
        setStatus(why);
    });
    // Traps that reach the request port are not the device's answers; they
    // must not change the message the next request is built from.
    Manager1.dropsTraps = true;
    // A scan sends whatever community the last connect used; before any
    // connect that is the device's factory community.
    Manager1.Message.Community = config::octetsFromText(config::kFactoryCommunity);
}

DeviceSession::~DeviceSession() = default;

void DeviceSession::setStatus(const QString &text)
{
    statusText_ = text;
    emit statusChanged(text);
}

void DeviceSession::setFailureStatus(const QString &text)
{
    setStatus(problem_.isEmpty() ? text : problem_);
}

bool DeviceSession::ask(const QString &text, const QString &title)
{
    return questioner_ && questioner_->askYesNo(text, title);
}

bool DeviceSession::deviceWorkRunning() const
{
    const bool connecting = (ConnectPending || ScanPending) && !AgentFound && Timer1.isActive();
    return Manager1.Busy() || connecting || passRunning_ || passQueued_ || Timer2.isActive() || downloadRunning_
           || SetTimer.isActive();
}

bool DeviceSession::refuseWhileBusy()
{
    if (!deviceWorkRunning())
        return false;
    setStatus(text::busy);
    return true;
}

bool DeviceSession::refuseWithoutDevice()
{
    if (Connected)
        return false;
    setStatus(text::noDevice);
    return true;
}

// --- load ---------------------------------------------------------------------

void DeviceSession::start()
{
    config::store().saveTraps = true;
    DisableDeviceMenus();
    const bool requestOpen = OpenRequestManager();
    const bool trapOpen = OpenTrapManager();
    if (requestOpen && trapOpen)
        setStatus(text::managerOpened);
    const snmp::Mib::LoadResult mib = Mib.Load(config::mibToLoad(options_.mibPath));
    if (!mib.ok) {
        mibError_ = mib.error;
        setStatus(text::mibMissing.arg(mib.error));
    }
}

bool DeviceSession::OpenRequestManager()
{
    if (Manager1.LocalPort() != 0)
        return true;
    Manager1.Timeout = 1000;
    const snmp::OpenResult result = Manager1.Open();
    if (!result.ok) {
        setStatus(result.errorNumber == snmp::kErrorAddressInUse ? text::requestPortInUse : result.description);
        return false;
    }
    return true;
}

bool DeviceSession::OpenTrapManager()
{
    if (Manager2.LocalPort() != 0)
        return true;
    Manager2.Timeout = 1000;
    const snmp::OpenResult result = options_.openTrapPort ? options_.openTrapPort(Manager2, options_.trapPort)
                                                          : Manager2.Open(options_.trapPort);
    if (!result.ok) {
        switch (result.errorNumber) {
        case snmp::kErrorAddressInUse: setStatus(text::trapPortInUse.arg(options_.trapPort)); break;
        // Ports below 1024 are for the administrator only: say what to do.
        case snmp::kErrorAccessDenied: setStatus(text::trapPortNeedsRights.arg(options_.trapPort)); break;
        default: setStatus(result.description); break;
        }
        return false;
    }
    return true;
}

void DeviceSession::EnableDeviceMenus()
{
    Connected = true;
    emit deviceCommandsEnabledChanged(true);
    emit managedDeviceChanged(managedDevice());
}

void DeviceSession::DisableDeviceMenus()
{
    Connected = false;
    emit deviceCommandsEnabledChanged(false);
    emit managedDeviceChanged(QString());
}

// --- device commands ----------------------------------------------------------------

bool DeviceSession::ResetDevise() { return config::ResetDevise(link_, AgentAddress); }
bool DeviceSession::LoadDefaults() { return config::LoadDefaults(link_, AgentAddress); }

void DeviceSession::mnuCommandsReset_Click()
{
    // Asked again after the question: the message box lets timers run.
    if (refuseWithoutDevice() || refuseWhileBusy()
        || !ask(QStringLiteral("Do you want to Reset Devise ?"), QStringLiteral("Reset")) || refuseWhileBusy()
        || refuseWithoutDevice())
        return;
    problem_.clear();
    if (ResetDevise())
        setStatus(QStringLiteral("Reset command issued...."));
    else
        setFailureStatus(QStringLiteral("Error - Reset command not issued..."));
}

void DeviceSession::mnuCommandsRestoreDefaults_Click()
{
    if (refuseWithoutDevice() || refuseWhileBusy()
        || !ask(QStringLiteral("Do you want to Restore Defaults?"), QStringLiteral("Restore Defaults"))
        || refuseWhileBusy() || refuseWithoutDevice())
        return;
    problem_.clear();
    if (LoadDefaults())
        setStatus(QStringLiteral("Restore Defaults command issued...."));
    else
        setFailureStatus(QStringLiteral("Error - Restore Defaults command not issued..."));
}

}  // namespace agent
