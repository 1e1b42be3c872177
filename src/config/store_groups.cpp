#include "store_groups.h"

#include <tuple>

namespace config {

namespace {

// The fields of a group as one tuple of references: assigning one tuple to
// another copies the group, comparing them compares it.
template <typename Store>
auto wirelessOperationalFields(Store &s)
{
    return std::tie(s.operChannelID, s.operESSID, s.operRTSThreshold, s.operFragmentationThreshold,
                    s.operPreambleType, s.operAuthenticationType, s.operBasicRates, s.operAutoRateFallBack);
}
template <typename Store>
auto ipSettingsFields(Store &s)
{
    return std::tie(s.operIPAddress, s.operIPMask, s.operEthernetAddress);
}
template <typename Store>
auto privacyFields(Store &s)
{
    return std::tie(s.defaultWEPKey1, s.defaultWEPKey2, s.defaultWEPKey3, s.defaultWEPKey4,
                    s.privacyDefaultWEPKeyID, s.privacyWEPEnable);
}
template <typename Store>
auto bridgeModeFields(Store &s)
{
    return std::tie(s.bridgeOperationalMode, s.bridgeRemoteBridgeBSSID);
}
template <typename Store>
auto deviceInfoFields(Store &s)
{
    return std::tie(s.sysDeviceInfo.defaultMACAddress, s.sysDeviceInfo.regulationDomain,
                    s.sysDeviceInfo.manufactureName);
}

template <typename Record>
bool sameGroupCounters(const Record &a, const Record &b)
{
    for (int k = 1; k <= Record::kCount; ++k) {
        if (a.at(k) != b.at(k))
            return false;
    }
    return true;
}

}  // namespace

void copyGroup(Group group, const ConfigurationStore &from, ConfigurationStore &to)
{
    switch (group) {
    case Group::HardConf: deviceInfoFields(to) = deviceInfoFields(from); break;
    case Group::WirelessOperational: wirelessOperationalFields(to) = wirelessOperationalFields(from); break;
    case Group::IPSettings: ipSettingsFields(to) = ipSettingsFields(from); break;
    case Group::Privacy: privacyFields(to) = privacyFields(from); break;
    case Group::Traps: to.sysTrapSwitch = from.sysTrapSwitch; break;
    case Group::BridgeOperationalMode: bridgeModeFields(to) = bridgeModeFields(from); break;
    case Group::WirelessStatistics: to.wirelessStatistics = from.wirelessStatistics; break;
    case Group::EthernetStatistics:
        to.EthRxStatistics = from.EthRxStatistics;
        to.EthTxStatistics = from.EthTxStatistics;
        break;
    case Group::RadioConfiguration: to.TestModeRadioConfiguration = from.TestModeRadioConfiguration; break;
    }
}

bool sameGroup(Group group, const ConfigurationStore &a, const ConfigurationStore &b)
{
    switch (group) {
    case Group::HardConf: return deviceInfoFields(a) == deviceInfoFields(b);
    case Group::WirelessOperational: return wirelessOperationalFields(a) == wirelessOperationalFields(b);
    case Group::IPSettings: return ipSettingsFields(a) == ipSettingsFields(b);
    case Group::Privacy: return privacyFields(a) == privacyFields(b);
    case Group::Traps: return a.sysTrapSwitch == b.sysTrapSwitch;
    case Group::BridgeOperationalMode: return bridgeModeFields(a) == bridgeModeFields(b);
    case Group::WirelessStatistics: return sameGroupCounters(a.wirelessStatistics, b.wirelessStatistics);
    case Group::EthernetStatistics:
        return sameGroupCounters(a.EthRxStatistics, b.EthRxStatistics) && sameGroupCounters(a.EthTxStatistics, b.EthTxStatistics);
    case Group::RadioConfiguration: return a.TestModeRadioConfiguration == b.TestModeRadioConfiguration;
    }
    return true;
}

QString groupTitle(Group group)
{
    switch (group) {
    case Group::HardConf: return QStringLiteral("device information");
    case Group::WirelessOperational: return QStringLiteral("wireless operational settings");
    case Group::IPSettings: return QStringLiteral("IP settings");
    case Group::Privacy: return QStringLiteral("privacy settings");
    case Group::Traps: return QStringLiteral("trap switch");
    case Group::BridgeOperationalMode: return QStringLiteral("bridge operational mode");
    case Group::WirelessStatistics: return QStringLiteral("wireless statistics");
    case Group::EthernetStatistics: return QStringLiteral("Ethernet statistics");
    case Group::RadioConfiguration: return QStringLiteral("radio configuration");
    }
    return QString();
}

}  // namespace config
