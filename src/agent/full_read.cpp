// The full configuration read: eight group readers in a fixed order, the
// first failure ends the pass, Timer2 repeats it.

#include "device_session.h"

#include "agent/session_texts.h"
#include "config/configuration_store.h"
#include "config/group_state.h"

#include <QPointer>

namespace agent {

using config::Group;
using config::StoreVerdict;

bool DeviceSession::readGroupReporting(Group group)
{
    config::GroupState &state = config::groupState();
    // Edits the user stored and has not downloaded yet stay as they are:
    // a poll must not take them back.
    if (state.isEdited(group))
        return true;
    // The radio window repeats its own read; the full read's groups are
    // sent again within the pass when the link loses a request.
    const int tries = group == Group::RadioConfiguration ? 1 : config::kReadTries;
    const StoreVerdict verdict = config::readGroup(link_, AgentAddress, group, config::store(), tries);
    if (verdict == StoreVerdict::Accepted) {
        state.markRead(group);
        lastRead_[group] = QDateTime::currentDateTime();
        return true;
    }
    // Earlier passes fail quietly; only the last retry tells the user why.
    if (ReadAttempt == 5) {
        const QString failure = config::readFailureText(group, verdict);
        if (!failure.isEmpty()) {
            setFailureStatus(failure);
            readFailure_ = statusText_;
        }
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

QDateTime DeviceSession::lastRead(Group group) const
{
    const auto found = lastRead_.find(group);
    return found == lastRead_.end() ? QDateTime() : found->second;
}

bool DeviceSession::readStatistics()
{
    // Only the device whose configuration was read: after a connect to
    // another address failed, the old one is not read again behind it.
    if (refuseWhileBusy() || refuseWithoutDevice())
        return false;
    problem_.clear();
    for (const Group group : {Group::WirelessStatistics, Group::EthernetStatistics}) {
        const StoreVerdict verdict =
            config::readGroup(link_, AgentAddress, group, config::store(), config::kReadTries);
        if (verdict != StoreVerdict::Accepted) {
            setFailureStatus(config::readFailureText(group, verdict));
            return false;
        }
        config::groupState().markRead(group);
        lastRead_[group] = QDateTime::currentDateTime();
    }
    return true;
}

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
    problem_.clear();
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
    readFailure_.clear();
    setStatus(text::allRetrieved);
    if (!Connected)
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

}  // namespace agent
