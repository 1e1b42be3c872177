#pragma once
// Reading the device's configuration one group of MIB objects at a time:
// which objects each group asks for, how the answer is checked and stored,
// and which text a failure shows.

#include "config/configuration_store.h"
#include "config/device_link.h"
#include "config/store_groups.h"
#include "snmp/snmp_message.h"

#include <QString>
#include <QStringList>

namespace config {

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

// How often a full read sends a GET that goes unanswered within its
// time-out: the same request again (same request id), so that an answer to
// any of the tries counts. A lossy link loses a request now and then; a
// pass of nine exchanges would rarely get through without this.
constexpr int kReadTries = 3;

// One GET of the group's objects to `host` (sent up to `tries` times while
// unanswered), then the group's store routine on a scratch copy of
// `target`. The group goes into `target` whole when every value passed its
// checks; a rejected or missing value leaves `target` as it was.
StoreVerdict readGroup(DeviceLink &link, const QString &host, Group group, ConfigurationStore &target,
                       int tries = 1);

// What the status line shows when the group fails on the last attempt;
// empty for the groups that show nothing.
QString readFailureText(Group group, StoreVerdict verdict);

// Store routines: position k of the answer by its 1-based index. Each
// assigns its fields in order and stops at the first failed check, so the
// copy it worked on may hold a part of the answer: readGroup never lets
// such a copy into the store.
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
