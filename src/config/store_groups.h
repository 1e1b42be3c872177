#pragma once
// The groups of the configuration store: the fields each group of MIB
// objects fills, so that a group can be copied from a scratch copy into
// the store whole, or compared with an earlier copy of itself.

#include "config/configuration_store.h"

#include <QString>

namespace config {

enum class Group {
    HardConf,
    WirelessOperational,
    IPSettings,
    Privacy,
    Traps,
    BridgeOperationalMode,
    WirelessStatistics,
    EthernetStatistics,
    RadioConfiguration,
};
constexpr int kGroupCount = int(Group::RadioConfiguration) + 1;

// Every field of `group` from `from` into `to`; nothing else changes.
void copyGroup(Group group, const ConfigurationStore &from, ConfigurationStore &to);
// True when every field of `group` is the same in both.
bool sameGroup(Group group, const ConfigurationStore &a, const ConfigurationStore &b);
// "the wireless operational settings", for the texts that name a group.
QString groupTitle(Group group);

}  // namespace config
