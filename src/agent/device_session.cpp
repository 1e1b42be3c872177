#include "device_session.h"

#include "config/configuration_store.h"
#include "config/device_commands.h"
#include "config/encodings.h"
#include "config/group_writers.h"

#include <QLoggingCategory>
#include <QPointer>

Q_LOGGING_CATEGORY(lcSession, "corvane.agent.session")

namespace agent {

using config::Group;
using config::StoreVerdict;

namespace text {
const QString managerOpened = QStringLiteral("Manager opened successfully.");
const QString requestPortInUse = QStringLiteral("Current port is in use. Try again.");
const QString trapPortInUse =
    QStringLiteral("Trap port(%1) is in use. Check to to see if another manager is running, then restart this one.");
const QString attempting = QStringLiteral("Attempting to connect TARVO Wireless Network...");
const QString notFound = QStringLiteral("TARVO Wireless Network not found...");
const QString found = QStringLiteral("TARVO Wireless Network found ...");
const QString reading = QStringLiteral("Reading configuration...");
const QString allRetrieved = QStringLiteral("All values retrieved.");
const QString downloading = QStringLiteral("Downloading changes...");
const QString downloadDone = QStringLiteral("Download complete successfully");
const QString downloadFailed = QStringLiteral("Network Error-Download not complete successfully");
}  // namespace text

DeviceSession::DeviceSession(const SessionOptions &options, QObject *parent)
    : QObject(parent), options_(options)
{
    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer2.setObjectName(QStringLiteral("Timer2"));
    SetTimer.setObjectName(QStringLiteral("SetTimer"));
    PollingTimer.setObjectName(QStringLiteral("PollingTimer"));
    connect(&Timer1, &QTimer::timeout, this, &DeviceSession::Timer1_Timer);
    connect(&Timer2, &QTimer::timeout, this, &DeviceSession::Timer2_Timer);
    connect(&SetTimer, &QTimer::timeout, this, &DeviceSession::SetTimer_Timer);
    connect(&Manager1, &snmp::SnmpManager::Response, this, &DeviceSession::Manager1_Response);
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

bool DeviceSession::ask(const QString &text, const QString &title)
{
    return questioner_ && questioner_->askYesNo(text, title);
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
    const snmp::Mib::LoadResult mib = Mib.Load(options_.mibPath);
    if (!mib.ok) {
        setStatus(QStringLiteral("The MIB file could not be loaded (%1); requests to the device will fail.")
                      .arg(mib.error));
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
    const snmp::OpenResult result = Manager2.Open(options_.trapPort);
    if (!result.ok) {
        setStatus(result.errorNumber == snmp::kErrorAddressInUse ? text::trapPortInUse.arg(options_.trapPort)
                                                                 : result.description);
        return false;
    }
    return true;
}

void DeviceSession::EnableDeviceMenus()
{
    Connected = true;
    emit deviceCommandsEnabledChanged(true);
}

void DeviceSession::DisableDeviceMenus()
{
    Connected = false;
    emit deviceCommandsEnabledChanged(false);
}

// --- connecting ---------------------------------------------------------------

void DeviceSession::confirmConnect(const QString &address, const QString &community)
{
    ConnectPending = true;
    emit busyCursorChanged(true);
    connectAddress_ = address;
    connectCommunity_ = community;
    probeIds_.clear();
    OpenConf();
    UserConfirmed = true;
    ReadAttempt = 0;
    ConnectRetries = 0;
    ScanRetries = 0;
}

void DeviceSession::startScan()
{
    ScanPending = true;
    emit busyCursorChanged(true);
    probeIds_.clear();
    ScanAgent();
    ScanRetries = 0;
}

void DeviceSession::sendProbe(const QString &host, int timeoutMs, int watchdogMs, bool setCommunity)
{
    AgentFound = false;
    setStatus(text::attempting);
    link_.prepare(host, timeoutMs);
    Timer1.start(watchdogMs);
    if (setCommunity)
        Manager1.Message.Community = config::octetsFromText(connectCommunity_);
    link_.addGetVariable(QStringLiteral("sysDescr"));  // the MIB always knows it
    probeIds_.insert(RequestCounter);
    link_.takeRequestId();
    Manager1.RemotePort = options_.agentPort;
    const snmp::SendResult result = link_.send();
    if (result.failed()) {
        qCDebug(lcSession) << "probe to" << host << "failed:" << result.description;
        if (setCommunity)
            ConnectPending = false;
        else
            ScanPending = false;
    }
}

void DeviceSession::OpenConf()
{
    Manager2.RemoteHost = connectAddress_;
    sendProbe(connectAddress_, 800, 1200, true);
}

void DeviceSession::ScanAgent()
{
    sendProbe(options_.scanAddress, 1000, 1500, false);
}

void DeviceSession::Timer1_Timer()
{
    Timer1.stop();
    if (ScanPending && !AgentFound && ScanRetries < 5) {
        ++ScanRetries;
        ScanAgent();
        return;
    }
    if (ConnectPending) {
        if (AgentFound)
            return;
        if (ConnectRetries < 5) {
            ++ConnectRetries;
            OpenConf();
            return;
        }
    }
    if (AgentFound)
        return;
    setStatus(text::notFound);
    emit busyCursorChanged(false);
}

void DeviceSession::Manager1_Response()
{
    // Copies: the full read started below reuses the manager's message.
    const snmp::SnmpMessage message = Manager1.Message;
    const QString responder = Manager1.RemoteHost;
    if (message.ErrorStatus != 0 || AgentFound || !probeIds_.contains(message.RequestId))
        return;

    if (ConnectPending) {
        ConnectPending = false;
        AgentFound = true;
        setStatus(text::found);
        emit busyCursorChanged(false);
        const snmp::SnmpVariable *descr = message.Variables.Item(1);
        const QString description = descr ? config::textFromOctets(descr->Value) : QString();
        FirmwareVersionText = QStringLiteral("Corvane") + description.mid(5, 30);
        AgentAddress = responder;
        Timer2.start(100);
        ReadAllConfiguration();
    } else if (ScanPending) {
        AgentFound = true;
        ScanPending = false;
        setStatus(text::found);
        emit busyCursorChanged(false);
        AgentAddress = responder;
        emit connectDialogCloseRequested();
        Timer2.start(100);
        ReadAllConfiguration();
    }
}

// --- the full read --------------------------------------------------------------

bool DeviceSession::readGroupReporting(Group group)
{
    const StoreVerdict verdict = config::readGroup(link_, AgentAddress, group, config::store());
    if (verdict == StoreVerdict::Accepted)
        return true;
    // Earlier passes fail quietly; only the last retry tells the user why.
    if (ReadAttempt == 5) {
        const QString failure = config::readFailureText(group, verdict);
        if (!failure.isEmpty())
            setStatus(failure);
    }
    return false;
}

bool DeviceSession::GetHardConfStruct() { return readGroupReporting(Group::HardConf); }
bool DeviceSession::GetWirelessOperationalConf() { return readGroupReporting(Group::WirelessOperational); }
bool DeviceSession::GetIPSettingsConf() { return readGroupReporting(Group::IPSettings); }
bool DeviceSession::GetPrivacySettingsConf() { return readGroupReporting(Group::Privacy); }
bool DeviceSession::GetBridgeOperationalModeConf() { return readGroupReporting(Group::BridgeOperationalMode); }
bool DeviceSession::GetWirelessStatisticsConf() { return readGroupReporting(Group::WirelessStatistics); }
bool DeviceSession::GetEthernetStatisticsConf() { return readGroupReporting(Group::EthernetStatistics); }
bool DeviceSession::GetRadioConfiguration() { return readGroupReporting(Group::RadioConfiguration); }

bool DeviceSession::GetTrapsConf()
{
    if (!readGroupReporting(Group::Traps))
        return false;
    emit trapSwitchCheckedChanged(config::store().sysTrapSwitch == 1);
    return true;
}

void DeviceSession::ReadAllConfiguration()
{
    // Ticks and answers handled while a request waits must never start a
    // second pass inside this one.
    if (passRunning_)
        return;
    QPointer<DeviceSession> alive(this);
    passRunning_ = true;
    ReadingConfiguration = true;
    setStatus(text::reading);
    using Reader = bool (DeviceSession::*)();
    static const Reader readers[] = {
        &DeviceSession::GetHardConfStruct,         &DeviceSession::GetWirelessOperationalConf,
        &DeviceSession::GetIPSettingsConf,         &DeviceSession::GetPrivacySettingsConf,
        &DeviceSession::GetTrapsConf,              &DeviceSession::GetBridgeOperationalModeConf,
        &DeviceSession::GetWirelessStatisticsConf, &DeviceSession::GetEthernetStatisticsConf,
    };
    bool complete = true;
    for (Reader reader : readers) {
        complete = (this->*reader)();
        if (!alive)
            return;
        if (!complete)
            break;
    }
    passRunning_ = false;
    if (!complete) {
        ReadingConfiguration = false;
        return;
    }
    Timer2.stop();
    setStatus(text::allRetrieved);
    EnableDeviceMenus();
}

void DeviceSession::Timer2_Timer()
{
    if (!Manager1.Busy() && ReadAttempt < 5 && !ReadingConfiguration) {
        ++ReadAttempt;
        ReadAllConfiguration();
    } else if (ReadAttempt == 5) {
        Timer2.stop();
    }
}

// --- Download Changes -------------------------------------------------------------

void DeviceSession::mnuFileSave_Click()
{
    const bool yes = ask(QStringLiteral("Do you want to Change ?"), QStringLiteral("Download Changes"));
    UserConfirmed = false;
    if (!yes)
        return;
    UserConfirmed = true;
    DownloadAttempt = 0;
    SetTimer.start(100);
    DownloadChanges();
}

void DeviceSession::DownloadChanges()
{
    if (downloadRunning_)
        return;  // an attempt is still waiting for the device; it goes on
    QPointer<DeviceSession> alive(this);
    downloadRunning_ = true;
    setStatus(text::downloading);
    config::ConfigurationStore &s = config::store();
    // The bridge operational mode group goes too: otherwise an edit made in
    // its dialog would never reach the device.
    using Writer = bool (*)(config::DeviceLink &, const QString &, config::ConfigurationStore &);
    static const Writer writers[] = {
        config::SetWirelessOperationalConf,
        config::SetIPSettingsConf,
        config::SetPrivacySettingsConf,
        config::SetBridgeOperationalModeConf,
    };
    DownloadOK = true;
    for (Writer writer : writers) {
        DownloadOK = writer(link_, AgentAddress, s);
        if (!alive)
            return;
        if (!DownloadOK)
            break;
    }
    if (DownloadOK) {
        const bool reset = ResetDevise();
        if (!alive)
            return;
        if (reset) {
            setStatus(text::downloadDone);
            SetTimer.stop();
            AgentAddress = s.operIPAddress.trimmed();
            UserConfirmed = true;
        } else {
            DownloadOK = false;
            UserConfirmed = false;
        }
    }
    downloadRunning_ = false;
}

void DeviceSession::SetTimer_Timer()
{
    if (Manager1.Busy() || DownloadOK || downloadRunning_)
        return;
    if (DownloadAttempt < 5) {
        ++DownloadAttempt;
        DownloadChanges();
    } else if (DownloadAttempt == 5) {
        SetTimer.stop();
        setStatus(text::downloadFailed);
    }
}

// --- device commands ----------------------------------------------------------------

bool DeviceSession::ResetDevise() { return config::ResetDevise(link_, AgentAddress); }
bool DeviceSession::LoadDefaults() { return config::LoadDefaults(link_, AgentAddress); }

void DeviceSession::mnuCommandsReset_Click()
{
    if (!ask(QStringLiteral("Do you want to Reset Devise ?"), QStringLiteral("Reset")))
        return;
    setStatus(ResetDevise() ? QStringLiteral("Reset command issued....")
                            : QStringLiteral("Error - Reset command not issued..."));
}

void DeviceSession::mnuCommandsRestoreDefaults_Click()
{
    if (!ask(QStringLiteral("Do you want to Restore Defaults?"), QStringLiteral("Restore Defaults")))
        return;
    setStatus(LoadDefaults() ? QStringLiteral("Restore Defaults command issued....")
                             : QStringLiteral("Error - Restore Defaults command not issued..."));
}

}  // namespace agent
