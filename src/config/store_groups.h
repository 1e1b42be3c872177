#pragma once
// The groups of the configuration store: the objects one GET reads
// together, and the fields they fill. A group is copied from a scratch
// copy into the store whole, or compared with an earlier copy of itself;
// which fields belong to it comes from the object description
// (device_objects.h).

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
