// Connecting and discovery: the probe of sysDescr.0, the watchdog that
// resends it, and the response dispatcher that recognises the device's
// first answer and starts the full read.

#include "device_session.h"

#include "agent/session_texts.h"
#include "config/configuration_store.h"
#include "config/encodings.h"
#include "config/group_state.h"

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcSession)

namespace agent {

void DeviceSession::letGoOfDevice()
{
    // Until the new device's configuration has been read, nothing may go to
    // the old one (a command, a download) nor be taken from it (a poll):
    // the user asked for another.
    if (Connected)
        DisableDeviceMenus();
    // Nor may a read retry or a download repeat still waiting for its turn
    // go to it later.
    Timer2.stop();
    if (SetTimer.isActive()) {
        SetTimer.stop();
        emit downloadFinished(false);
    }
    // Nothing read from or edited for the old device may reach the new one.
    config::groupState().forgetAll();
    config::store().pendingIPAddress.clear();
    readFailure_.clear();
}

void DeviceSession::confirmConnect(const QString &address, const QString &community)
{
    letGoOfDevice();
    ConnectPending = true;
    emit busyCursorChanged(true);
    connectAddress_ = address;
    connectCommunity_ = community;
    probeIds_.clear();
    problem_.clear();
    OpenConf();
    UserConfirmed = true;
    ReadAttempt = 0;
    ConnectRetries = 0;
    ScanRetries = 0;
}

void DeviceSession::startScan()
{
    letGoOfDevice();
    ScanPending = true;
    emit busyCursorChanged(true);
    probeIds_.clear();
    problem_.clear();
    ScanAgent();
    ScanRetries = 0;
}

void DeviceSession::sendProbe(const QString &host, int timeoutMs, int watchdogMs, bool setCommunity)
{
    AgentFound = false;
    setStatus(text::attempting);
    link_.prepare(host, timeoutMs);
    Timer1.start(scaled(watchdogMs));
    if (setCommunity)
        Manager1.Message.Community = config::octetsFromText(connectCommunity_);
    bool sent = false;
    // Without the device's MIB nothing after the probe could be asked for:
    // say so now rather than find the device and fail every read.
    if (!mibLoaded() || !link_.addGetVariable(QStringLiteral("sysDescr"))) {
        problem_ = text::mibMissing.arg(mibError_);
        setStatus(problem_);
    } else {
        probeIds_.insert(RequestCounter);
        link_.takeRequestId();
        Manager1.RemotePort = options_.agentPort;
        // The probe's own answer is not awaited here: the device counts as
        // found when the answer arrives as a Response event, even after this
        // request's time-out (the watchdog resends meanwhile).
        const snmp::SendResult result = Manager1.Send();
        sent = !result.failed();
        if (!sent)
            qCDebug(lcSession) << "probe to" << host << "failed:" << result.description;
    }
    if (!sent) {
        if (setCommunity)
            ConnectPending = false;
        else
            ScanPending = false;
    }
}

void DeviceSession::OpenConf()
{
    Manager2.RemoteHost = connectAddress_;
    sendProbe(connectAddress_, interval::connectTimeout, interval::connectWatchdog, true);
}

void DeviceSession::ScanAgent()
{
    sendProbe(options_.scanAddress, interval::scanTimeout, interval::scanWatchdog, false);
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
    setFailureStatus(text::notFound);
    emit busyCursorChanged(false);
}

bool DeviceSession::answerComesFromDevice(const QString &responder) const
{
    QHostAddress asked;
    if (!snmp::SnmpManager::resolveHost(connectAddress_, asked))
        return false;
    return snmp::SnmpManager::isBroadcast(asked) || QHostAddress(responder) == asked;
}

void DeviceSession::Manager1_Response()
{
    // Copies: the full read started below reuses the manager's message.
    const snmp::SnmpMessage message = Manager1.Message;
    const QString responder = Manager1.RemoteHost;
    if (message.ErrorStatus != 0 || AgentFound || !probeIds_.contains(message.RequestId))
        return;

    // A directed connect takes only the addressed device's answer; a scan
    // takes the first device that answers.
    if (ConnectPending && answerComesFromDevice(responder)) {
        ConnectPending = false;
        AgentFound = true;
        setStatus(text::found);
        emit busyCursorChanged(false);
        const snmp::SnmpVariable *descr = message.Variables.Item(1);
        const QString description = descr ? config::textFromOctets(descr->Value) : QString();
        FirmwareVersionText = QStringLiteral("Corvane") + description.mid(5, 30);
        AgentAddress = responder;
        Timer2.start(scaled(interval::readRetry));
        startReadWhenIdle();
    } else if (ScanPending) {
        AgentFound = true;
        ScanPending = false;
        setStatus(text::found);
        emit busyCursorChanged(false);
        AgentAddress = responder;
        emit connectDialogCloseRequested();
        Timer2.start(scaled(interval::readRetry));
        startReadWhenIdle();
    }
}

void DeviceSession::startReadWhenIdle()
{
    // An answer to an earlier probe can arrive while a later one is still
    // outstanding; the pass starts once that request has returned, instead
    // of failing its first read on a busy manager.
    if (Manager1.Busy()) {
        passQueued_ = true;
        ReadingConfiguration = true;  // the retry timer must not start a pass meanwhile
        QTimer::singleShot(5, this, &DeviceSession::startReadWhenIdle);
        return;
    }
    passQueued_ = false;
    ReadAllConfiguration();
}

}  // namespace agent
