#pragma once
// The device's objects, described once: the name in the MIB and on the
// command line, how a value travels between the wire and the store (the
// codec), what the device accepts, the group of the store it belongs to,
// the store field that holds it and whether a download writes it. The
// readers, the writers and their echo checks, the checks before anything
// is sent and the simulated device's own table are all made from it.

#include "config/configuration_store.h"
#include "config/store_groups.h"
#include "snmp/snmp_pdu.h"

#include <QString>
#include <QVector>
#include <optional>

namespace config {

enum class Codec {
    Integer,  // a 16-bit setting code or threshold
    Text,     // an octet string as single-byte text
    Hex,      // an octet string of `bytes()` octets as hexadecimal digits
    Address,  // an IPv4 address as dotted text
    Block,    // a read-only octet string decoded field by field (identity, counters)
    Command,  // write-only: setting it to 1 makes the device act
    Derived,  // written, never stored: made from other values as it is sent
};

enum class Access { ReadOnly, ReadWrite, WriteOnly };

// What the device accepts, checked on what it reports and before anything
// goes to it. A read is refused on the first check below; a value is not
// sent unless it passes the second.
enum class Rule {
    None,
    Range,       // minimum..maximum
    Essid,       // read: not empty; sent: 1 to 32 printable characters, not starting with a blank
    BasicRates,  // one of the two rate sets
    DottedQuad,  // read: 7 characters at least; sent: four numbers 0..255
    HexDigits,   // sent: exactly 2 x bytes() hexadecimal digits
};

// Accepted: every value arrived and passed its check. Rejected: a value
// arrived but failed its check. Failed: a value was missing or could not
// be converted.
enum class StoreVerdict { Accepted, Rejected, Failed };

struct DeviceObject {
    QString name;   // in the MIB; its scalar instance ".0" is what travels
    QString field;  // on the command line ("rts-threshold"); empty: not a field
    QString label;  // as the windows label it ("RTS Threshold")
    QString hint;   // what the device accepts, in words
    std::optional<Group> group;
    Codec codec = Codec::Integer;
    snmp::ValueKind kind = snmp::ValueKind::Integer;  // on the wire
    int minBytes = 0;  // octet strings: the sizes the device takes
    int maxBytes = 0;
    int minimum = 0;  // Rule::Range
    int maximum = 0;
    Rule rule = Rule::None;
    Access access = Access::ReadWrite;
    bool downloaded = false;  // a download writes it

    // The store field, by codec: Integer an Integer field; Text, Hex and
    // Address a text field; Block its own decoder.
    Integer ConfigurationStore::*integer = nullptr;
    QString ConfigurationStore::*text = nullptr;
    StoreVerdict (*decodeBlock)(const QByteArray &bytes, ConfigurationStore &store) = nullptr;
    // Derived: the value sent, from the store.
    snmp::Value (*derive)(const ConfigurationStore &store) = nullptr;
    // Text and Address: the text sent when it is not the field's own.
    QString (*textToSend)(const ConfigurationStore &store) = nullptr;
    // Copies and compares the store fields the object fills.
    void (*copy)(const ConfigurationStore &from, ConfigurationStore &to) = nullptr;
    bool (*same)(const ConfigurationStore &a, const ConfigurationStore &b) = nullptr;
    // False when the object does not take part as the store stands (a
    // partner's BSSID for an access point); nullptr: always.
    bool (*present)(const ConfigurationStore &store) = nullptr;

    int bytes() const { return maxBytes; }  // Hex: the fixed size
    bool readable() const { return access != Access::WriteOnly; }
    bool writable() const { return access != Access::ReadOnly; }
    bool isCommand() const { return codec == Codec::Command; }
    bool takesPart(const ConfigurationStore &store) const { return !present || present(store); }
};

// Every object of the device that the console knows of.
const QVector<DeviceObject> &deviceObjects();
// The object of that MIB name, or of that command-line field name; nullptr when none.
const DeviceObject *objectNamed(const QString &name);
const DeviceObject *objectWithField(const QString &field);

struct GroupDescription {
    Group group;
    QString title;          // "wireless operational settings", for texts that name the group
    int errorNumber = 0;    // of "Network Error<n>-Not all values retrieved."; 0: no text of its own
    QString rejectedText;   // shown when a value fails its check; empty: the number's text
    QVector<const DeviceObject *> readOrder;   // one GET asks for them in this order
    QVector<const DeviceObject *> writeOrder;  // one SET of a download, in this order; empty: not written
};
const GroupDescription &describe(Group group);

// The eight groups of a full read, in the order they are read.
const QVector<Group> &fullReadOrder();
// The groups a download writes, in this order, before the reset.
const QVector<Group> &downloadedGroups();

// --- values between the wire and the store ------------------------------------

// One GET answer of `group` (the values in readOrder) into `store`, object
// by object; the first value that is missing, unconvertible or refused
// ends it and is named. `store` may then hold a part of the answer: decode
// into a scratch copy and keep it only when accepted.
struct Decoded {
    StoreVerdict verdict = StoreVerdict::Accepted;
    const DeviceObject *object = nullptr;  // the one that ended it
};
Decoded decodeGroup(Group group, const QVector<snmp::Value> &answer, ConfigurationStore &store);

// One received value of a stored object (not a command, nor one without a
// store field) into `store`, checked as a group read checks it.
StoreVerdict decodeObject(const DeviceObject &object, const snmp::Value &value, ConfigurationStore &store);

// The value `object` is sent as; std::nullopt when the store's value
// cannot be put on the wire (an address that is not one).
std::optional<snmp::Value> encode(const DeviceObject &object, const ConfigurationStore &store);

// What a group's SET sends: its objects in writeOrder that take part,
// with their values. std::nullopt when a value cannot be encoded.
struct Binding {
    const DeviceObject *object = nullptr;
    snmp::Value value;
};
std::optional<QVector<Binding>> encodeGroup(Group group, const ConfigurationStore &store);

// Whether the device's echo of a SET shows that it took `sent`: numbers
// compare as numbers, the ESSID up to its last character (the device may
// end it differently), everything else byte for byte.
bool echoMatches(const Binding &sent, const snmp::Value &echo);

// A value's text as the device's 16-bit code; std::nullopt for anything
// that is not a whole number in -32768..32767.
std::optional<qint16> integerFromText(const QByteArray &text);

// --- checks before sending ------------------------------------------------------

// The first value of `group` in `store` that the device would refuse: the
// object, with its label and hint.
const DeviceObject *firstRefusedObject(Group group, const ConfigurationStore &store);
// Whether the device would refuse the value `object` has in `store`.
bool refusesValue(const DeviceObject &object, const ConfigurationStore &store);

// The address the IP group sends: the trimmed pendingIPAddress when one was
// entered and differs from operIPAddress, otherwise the trimmed operIPAddress.
QString addressToSend(const ConfigurationStore &store);

}  // namespace config
