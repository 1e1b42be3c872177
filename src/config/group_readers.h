#pragma once
// Reading the device's configuration one group of MIB objects at a time:
// which objects each group asks for, how the answer is checked and stored,
// and which text a failure shows.

#include "config/configuration_store.h"
#include "config/device_link.h"
#include "snmp/snmp_message.h"

#include <QString>
#include <QStringList>

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

// Accepted: every value arrived and passed its check. Rejected: a value
// arrived but failed its check. Failed: a value was missing or could not
// be converted, or the request could not be sent or was not answered.
enum class StoreVerdict { Accepted, Rejected, Failed };

struct GroupDefinition {
    Group group;
    QStringList objects;  // asked for in this order
    int errorNumber;      // 0: the group shows no text of its own
    QString rejectedText;
    StoreVerdict (*store)(const snmp::SnmpVariables &answer, ConfigurationStore &target);
};

const GroupDefinition &groupDefinition(Group group);

// The eight groups of a full read, in the order they are read.
const QVector<Group> &fullReadOrder();

// One GET of the group's objects to `host`, then the group's store routine.
// Fields assigned before a failed check or conversion keep their new values.
StoreVerdict readGroup(DeviceLink &link, const QString &host, Group group, ConfigurationStore &target);

// What the status line shows when the group fails on the last attempt;
// empty for the groups that show nothing.
QString readFailureText(Group group, StoreVerdict verdict);

// Store routines: position k of the answer by its 1-based index.
StoreVerdict StoreHardConfStruct(const snmp::SnmpVariables &answer, ConfigurationStore &target);
StoreVerdict StoreWirelessOperationalConf(const snmp::SnmpVariables &answer, ConfigurationStore &target);
StoreVerdict StoreIPSettingsConf(const snmp::SnmpVariables &answer, ConfigurationStore &target);
StoreVerdict StorePrivacySettingsConf(const snmp::SnmpVariables &answer, ConfigurationStore &target);
StoreVerdict StoreTrapsConf(const snmp::SnmpVariables &answer, ConfigurationStore &target);
StoreVerdict StoreBridgeOperationalModeConf(const snmp::SnmpVariables &answer, ConfigurationStore &target);
StoreVerdict StoreWirelessStatistics(const snmp::SnmpVariables &answer, ConfigurationStore &target);
StoreVerdict StoreEthernetStatistics(const snmp::SnmpVariables &answer, ConfigurationStore &target);
StoreVerdict StoreRadioConfiguration(const snmp::SnmpVariables &answer, ConfigurationStore &target);

// A received integer as the device's 16-bit setting code; std::nullopt for
// text that is not a whole number in -32768..32767.
std::optional<qint16> integerFromText(const QByteArray &text);

}  // namespace config
