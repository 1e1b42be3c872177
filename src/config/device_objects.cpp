#include "device_objects.h"

#include "config/counters.h"
#include "config/encodings.h"
#include "config/value_rules.h"
#include "snmp/snmp_message.h"

#include <QHash>

namespace config {

namespace {

using snmp::ValueKind;

template <auto Member>
void copyMember(const ConfigurationStore &from, ConfigurationStore &to)
{
    to.*Member = from.*Member;
}

template <auto Member>
bool sameMember(const ConfigurationStore &a, const ConfigurationStore &b)
{
    return a.*Member == b.*Member;
}

// What every row has: its names, codec, kind and access. Used alone for the
// objects the console has no store field for: what it only reads once (the
// description), commands, and values made from others as they are sent.
DeviceObject unstored(const char *name, const char *field, Codec codec, ValueKind kind, Access access,
                      int minBytes = 0, int maxBytes = 0)
{
    DeviceObject o;
    o.name = QLatin1String(name);
    o.field = QLatin1String(field);
    o.codec = codec;
    o.kind = kind;
    o.minBytes = minBytes;
    o.maxBytes = maxBytes;
    o.access = access;
    return o;
}

// A row kept in the store field `Member`: copied and compared with it.
template <auto Member>
DeviceObject stored(DeviceObject o)
{
    o.copy = copyMember<Member>;
    o.same = sameMember<Member>;
    return o;
}

// The table's rows, one helper per codec.
template <Integer ConfigurationStore::*Field>
DeviceObject integerObject(const char *name, const char *field, const char *label, const QString &hint, Group group,
                           int minimum, int maximum)
{
    DeviceObject o = unstored(name, field, Codec::Integer, ValueKind::Integer, Access::ReadWrite);
    o.label = QLatin1String(label);
    o.hint = hint;
    o.group = group;
    o.minimum = minimum;
    o.maximum = maximum;
    o.rule = Rule::Range;
    o.integer = Field;
    return stored<Field>(o);
}

template <QString ConfigurationStore::*Field>
DeviceObject textObject(const char *name, const char *field, const char *label, const QString &hint,
                        std::optional<Group> group, Codec codec, Rule rule, ValueKind kind, int minBytes, int maxBytes)
{
    DeviceObject o = unstored(name, field, codec, kind, Access::ReadWrite, minBytes, maxBytes);
    o.label = QLatin1String(label);
    o.hint = hint;
    o.group = group;
    o.rule = rule;
    o.text = Field;
    return stored<Field>(o);
}

template <QString ConfigurationStore::*Field>
DeviceObject hexObject(const char *name, const char *field, const char *label, Group group, int bytes,
                       Rule rule = Rule::HexDigits, const QString &hint = QString())
{
    return textObject<Field>(name, field, label, hint.isEmpty() ? hexHint(2 * bytes) : hint, group, Codec::Hex, rule,
                             ValueKind::OctetString, bytes, bytes);
}

template <auto Record>
DeviceObject blockObject(const char *name, const char *field, Group group, int bytes,
                         StoreVerdict (*decode)(const QByteArray &, ConfigurationStore &))
{
    DeviceObject o = unstored(name, field, Codec::Block, ValueKind::OctetString, Access::ReadOnly, bytes, bytes);
    o.group = group;
    o.decodeBlock = decode;
    return stored<Record>(o);
}

DeviceObject command(const char *name)
{
    return unstored(name, "", Codec::Command, ValueKind::Integer, Access::WriteOnly);
}

DeviceObject derived(const char *name, std::optional<Group> group, ValueKind kind, Access access,
                     snmp::Value (*derive)(const ConfigurationStore &), int bytes = 0)
{
    DeviceObject o = unstored(name, "", Codec::Derived, kind, access, bytes, bytes);
    o.group = group;
    o.derive = derive;
    return o;
}

DeviceObject sentAs(DeviceObject o, QString (*text)(const ConfigurationStore &))
{
    o.textToSend = text;
    return o;
}

DeviceObject onlyWhen(DeviceObject o, bool (*present)(const ConfigurationStore &))
{
    o.present = present;
    return o;
}

StoreVerdict decodeDeviceInfo(const QByteArray &info, ConfigurationStore &store)
{
    // A wrong length fails the read; what can be decoded is decoded all the
    // same, but a failed read never reaches the store.
    const auto mac = BytesToHex(info.mid(4, 6), 6);
    if (!mac)
        return StoreVerdict::Failed;
    store.sysDeviceInfo.defaultMACAddress = *mac;
    store.sysDeviceInfo.manufactureName = textFromOctets(info.mid(20, 32));
    // The device's identity block carries no usable domain code: every
    // device this console knows is an FCC unit.
    store.sysDeviceInfo.regulationDomain = 16;
    return info.size() == 92 ? StoreVerdict::Accepted : StoreVerdict::Rejected;
}

template <auto Record>
StoreVerdict decodeCounters(const QByteArray &bytes, ConfigurationStore &store)
{
    auto &record = store.*Record;
    for (int k = 1; k <= std::decay_t<decltype(record)>::kCount; ++k) {
        const auto counter = CounterFromBytes(bytes, k);
        if (!counter)
            return StoreVerdict::Failed;
        record.at(k) = *counter;
    }
    return StoreVerdict::Accepted;
}

snmp::Value essidLength(const ConfigurationStore &store)
{
    return snmp::Value::integer(EssidLength(store.operESSID));
}

bool withPartner(const ConfigurationStore &store)
{
    return store.bridgeOperationalMode == 1 || store.bridgeOperationalMode == 3;
}

const QString kChooseOne = QStringLiteral("Choose one of the options");

QVector<DeviceObject> buildObjects()
{
    using CS = ConfigurationStore;
    using G = Group;
    return {
        unstored("sysDescr", "description", Codec::Text, ValueKind::OctetString, Access::ReadOnly, 0, 255),
        blockObject<&CS::sysDeviceInfo>("sysDeviceInfo", "device-info", G::HardConf, 92, decodeDeviceInfo),
        command("sysReset"),
        command("sysLoadDefaults"),
        integerObject<&CS::sysTrapSwitch>("sysTrapSwitch", "traps", "SNMP Traps", kChooseOne, G::Traps, 1, 2),

        integerObject<&CS::operChannelID>("operChannelID", "channel", "Channel",
                                          QStringLiteral("Choose a channel from 1 to 14"), G::WirelessOperational, 1,
                                          14),
        derived("operESSIDLength", G::WirelessOperational, ValueKind::Integer, Access::ReadWrite, essidLength),
        textObject<&CS::operESSID>("operESSID", "essid", "ESSID", essidHint(), G::WirelessOperational, Codec::Text,
                                   Rule::Essid, ValueKind::OctetString, 0, 32),
        integerObject<&CS::operRTSThreshold>("operRTSThreshold", "rts-threshold", "RTS Threshold", thresholdHint(),
                                             G::WirelessOperational, kThresholdMinimum, kThresholdMaximum),
        integerObject<&CS::operFragmentationThreshold>("operFragmentationThreshold", "fragmentation-threshold",
                                                       "Fragmentation Threshold", thresholdHint(),
                                                       G::WirelessOperational, kThresholdMinimum, kThresholdMaximum),
        integerObject<&CS::operPreambleType>("operPreambleType", "preamble", "Preamble Type", kChooseOne,
                                             G::WirelessOperational, 1, 2),
        integerObject<&CS::operAuthenticationType>("operAuthenticationType", "authentication", "Authentication Type",
                                                   kChooseOne, G::WirelessOperational, 1, 3),
        hexObject<&CS::operBasicRates>("operBasicRates", "basic-rates", "Basic Rates", G::WirelessOperational, 4,
                                       Rule::BasicRates, kChooseOne),
        integerObject<&CS::operAutoRateFallBack>("operAutoRateFallBack", "auto-rate-fallback", "Auto Rate Fall Back",
                                                 kChooseOne, G::WirelessOperational, 1, 2),

        sentAs(textObject<&CS::operIPAddress>("operIPAddress", "ip-address", "IP Address", addressHint(),
                                              G::IPSettings, Codec::Address, Rule::DottedQuad, ValueKind::IpAddress,
                                              4, 4),
               addressToSend),
        textObject<&CS::operIPMask>("operIPMask", "ip-mask", "IP Mask", maskHint(), G::IPSettings, Codec::Address,
                                    Rule::DottedQuad, ValueKind::IpAddress, 4, 4),
        hexObject<&CS::operEthernetAddress>("operEthernetAddress", "ethernet-address", "Ethernet Address",
                                            G::IPSettings, 6),

        hexObject<&CS::defaultWEPKey1>("defaultWEPKey1", "wep-key1", "Key 1", G::Privacy, 5),
        hexObject<&CS::defaultWEPKey2>("defaultWEPKey2", "wep-key2", "Key 2", G::Privacy, 5),
        hexObject<&CS::defaultWEPKey3>("defaultWEPKey3", "wep-key3", "Key 3", G::Privacy, 5),
        hexObject<&CS::defaultWEPKey4>("defaultWEPKey4", "wep-key4", "Key 4", G::Privacy, 5),
        integerObject<&CS::privacyDefaultWEPKeyID>("privacyDefaultWEPKeyID", "wep-key-id", "Default key", kChooseOne,
                                                   G::Privacy, 0, 4),
        integerObject<&CS::privacyWEPEnable>("privacyWEPEnable", "wep", "WEP (ON/OFF)", kChooseOne, G::Privacy, 1, 2),

        integerObject<&CS::bridgeOperationalMode>("bridgeOperationalMode", "bridge-mode", "Operational Mode",
                                                  kChooseOne, G::BridgeOperationalMode, 1, 3),
        onlyWhen(hexObject<&CS::bridgeRemoteBridgeBSSID>("bridgeRemoteBridgeBSSID", "bssid", "BSSID",
                                                         G::BridgeOperationalMode, 6),
                 withPartner),

        blockObject<&CS::wirelessStatistics>("wirelessStatistics", "wireless-statistics", G::WirelessStatistics, 88,
                                             decodeCounters<&CS::wirelessStatistics>),
        blockObject<&CS::EthRxStatistics>("EthRxStatistics", "ethernet-rx-statistics", G::EthernetStatistics, 64,
                                          decodeCounters<&CS::EthRxStatistics>),
        blockObject<&CS::EthTxStatistics>("EthTxStatistics", "ethernet-tx-statistics", G::EthernetStatistics, 56,
                                          decodeCounters<&CS::EthTxStatistics>),

        hexObject<&CS::TestModeRadioConfiguration>("TestModeRadioConfiguration", "radio-configuration",
                                                   "Radio configuration", G::RadioConfiguration, 14),
        command("TestModeOnOff"),
        // Made by the radio test from its own fields and the command.
        derived("TestModeCommandStruct", std::nullopt, ValueKind::OctetString, Access::WriteOnly, nullptr, 8),

        // The station a trap names; no one reads it but a trap's receiver.
        unstored("trapStationAddress", "", Codec::Hex, ValueKind::OctetString, Access::ReadOnly, 6, 6),
    };
}

struct Tables {
    QVector<DeviceObject> objects = buildObjects();
    QHash<QString, int> byName;
    QHash<QString, int> byField;
    QVector<GroupDescription> groups;

    Tables()
    {
        for (int i = 0; i < objects.size(); ++i) {
            byName.insert(objects[i].name, i);
            if (!objects[i].field.isEmpty())
                byField.insert(objects[i].field, i);
        }
        const auto list = [this](std::initializer_list<const char *> names) {
            QVector<const DeviceObject *> found;
            for (const char *name : names)
                found << &objects[byName.value(QLatin1String(name))];
            return found;
        };
        const auto notExpected = [](const char *what) {
            return QStringLiteral("Network Error-Not expected %1 values.Try connect again.").arg(QLatin1String(what));
        };
        using G = Group;
        // A read that fails at the device information must still say so:
        // "Reading configuration..." would otherwise stand for ever.
        groups = {
            {G::HardConf, QStringLiteral("device information"), 1, notExpected("Device Information"),
             list({"sysDeviceInfo"}), {}},
            {G::WirelessOperational, QStringLiteral("wireless operational settings"), 2,
             notExpected("Wireless Operational"),
             list({"operChannelID", "operESSID", "operRTSThreshold", "operFragmentationThreshold", "operPreambleType",
                   "operAuthenticationType", "operBasicRates", "operAutoRateFallBack"}),
             list({"operChannelID", "operESSIDLength", "operESSID", "operRTSThreshold", "operFragmentationThreshold",
                   "operPreambleType", "operAuthenticationType", "operBasicRates", "operAutoRateFallBack"})},
            {G::IPSettings, QStringLiteral("IP settings"), 3, notExpected("IP"),
             list({"operIPAddress", "operIPMask", "operEthernetAddress"}),
             list({"operEthernetAddress", "operIPAddress", "operIPMask"})},
            {G::Privacy, QStringLiteral("privacy settings"), 4, notExpected("Privacy"),
             list({"defaultWEPKey1", "defaultWEPKey2", "defaultWEPKey3", "defaultWEPKey4", "privacyDefaultWEPKeyID",
                   "privacyWEPEnable"}),
             list({"privacyDefaultWEPKeyID", "privacyWEPEnable", "defaultWEPKey1", "defaultWEPKey2", "defaultWEPKey3",
                   "defaultWEPKey4"})},
            {G::Traps, QStringLiteral("trap switch"), 5, notExpected("Traps"), list({"sysTrapSwitch"}), {}},
            {G::BridgeOperationalMode, QStringLiteral("bridge operational mode"), 7, notExpected("Operational Mode"),
             list({"bridgeOperationalMode", "bridgeRemoteBridgeBSSID"}),
             list({"bridgeOperationalMode", "bridgeRemoteBridgeBSSID"})},
            {G::WirelessStatistics, QStringLiteral("wireless statistics"), 9, QString(), list({"wirelessStatistics"}),
             {}},
            {G::EthernetStatistics, QStringLiteral("Ethernet statistics"), 10, QString(),
             list({"EthRxStatistics", "EthTxStatistics"}), {}},
            {G::RadioConfiguration, QStringLiteral("radio configuration"), 0, QString(),
             list({"TestModeRadioConfiguration"}), {}},
        };
        for (const GroupDescription &group : std::as_const(groups)) {
            for (const DeviceObject *o : group.writeOrder)
                objects[o - objects.constData()].downloaded = true;
        }
    }
};

const Tables &tables()
{
    static const Tables instance;
    return instance;
}

bool codeWithin(int value, int low, int high) { return value >= low && value <= high; }

QString sendText(const DeviceObject &o, const ConfigurationStore &store)
{
    return o.textToSend ? o.textToSend(store) : o.text ? store.*o.text : QString();
}

StoreVerdict decodeValue(const DeviceObject &o, const snmp::Value &value, ConfigurationStore &store)
{
    const QByteArray text = snmp::valueText(value);
    const auto checked = [](bool accepted) { return accepted ? StoreVerdict::Accepted : StoreVerdict::Rejected; };
    switch (o.codec) {
    case Codec::Integer: {
        const auto number = integerFromText(text);
        if (!number)
            return StoreVerdict::Failed;
        store.*o.integer = *number;
        return checked(codeWithin(*number, o.minimum, o.maximum));
    }
    case Codec::Text:
        store.*o.text = textFromOctets(text);
        return checked(o.rule != Rule::Essid || !text.isEmpty());
    case Codec::Hex: {
        const auto hex = BytesToHex(text, o.bytes());
        if (!hex)
            return StoreVerdict::Failed;
        store.*o.text = *hex;
        return checked(o.rule != Rule::BasicRates || isAcceptedBasicRates(*hex));
    }
    case Codec::Address:
        store.*o.text = textFromOctets(text);
        return checked(text.size() >= 7);
    case Codec::Block: return o.decodeBlock(text, store);
    case Codec::Command:
    case Codec::Derived: break;
    }
    return StoreVerdict::Failed;
}

bool refuses(const DeviceObject &o, const ConfigurationStore &store)
{
    switch (o.rule) {
    case Rule::None: return false;
    case Rule::Range: return !codeWithin(store.*o.integer, o.minimum, o.maximum);
    case Rule::Essid: return !isAcceptedEssid(sendText(o, store));
    case Rule::BasicRates: return !isAcceptedBasicRates(sendText(o, store));
    case Rule::DottedQuad: return !dottedQuadFromText(sendText(o, store));
    case Rule::HexDigits: return !isHexText(sendText(o, store), 2 * o.bytes());
    }
    return true;
}

}  // namespace

const QVector<DeviceObject> &deviceObjects() { return tables().objects; }

const DeviceObject *objectNamed(const QString &name)
{
    const auto it = tables().byName.constFind(name);
    return it == tables().byName.constEnd() ? nullptr : &tables().objects[*it];
}

const DeviceObject *objectWithField(const QString &field)
{
    const auto it = tables().byField.constFind(field);
    return it == tables().byField.constEnd() ? nullptr : &tables().objects[*it];
}

const GroupDescription &describe(Group group) { return tables().groups[int(group)]; }

const QVector<Group> &fullReadOrder()
{
    static const QVector<Group> order = {
        Group::HardConf,      Group::WirelessOperational,   Group::IPSettings,         Group::Privacy,
        Group::Traps,         Group::BridgeOperationalMode, Group::WirelessStatistics, Group::EthernetStatistics,
    };
    return order;
}

const QVector<Group> &downloadedGroups()
{
    // The bridge operational mode group goes too: otherwise an edit made in
    // its dialog would never reach the device.
    static const QVector<Group> groups = {Group::WirelessOperational, Group::IPSettings, Group::Privacy,
                                          Group::BridgeOperationalMode};
    return groups;
}

Decoded decodeGroup(Group group, const QVector<snmp::Value> &answer, ConfigurationStore &store)
{
    const QVector<const DeviceObject *> &objects = describe(group).readOrder;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        const DeviceObject &o = *objects[i];
        if (!o.takesPart(store))
            continue;
        const StoreVerdict verdict = i < answer.size() ? decodeValue(o, answer[i], store) : StoreVerdict::Failed;
        if (verdict != StoreVerdict::Accepted)
            return Decoded{verdict, &o};
    }
    return Decoded{};
}

StoreVerdict decodeObject(const DeviceObject &object, const snmp::Value &value, ConfigurationStore &store)
{
    const bool stored = object.integer || object.text || object.decodeBlock;
    return stored ? decodeValue(object, value, store) : StoreVerdict::Failed;
}

std::optional<snmp::Value> encode(const DeviceObject &o, const ConfigurationStore &store)
{
    switch (o.codec) {
    case Codec::Integer: return snmp::Value::integer(store.*o.integer);
    case Codec::Text: return snmp::Value::octets(octetsFromText(sendText(o, store)));
    case Codec::Hex: return snmp::Value::octets(HexToBytes(store.*o.text, o.bytes()));
    case Codec::Address: {
        const auto dotted = dottedQuadFromText(sendText(o, store));
        if (!dotted)
            return std::nullopt;
        QByteArray four;
        for (const QString &part : dotted->split(QLatin1Char('.')))
            four.append(char(part.toInt()));
        return snmp::Value::ipAddress(four);
    }
    case Codec::Command: return snmp::Value::integer(1);
    case Codec::Derived:
        if (o.derive)
            return o.derive(store);
        break;
    case Codec::Block: break;
    }
    return std::nullopt;
}

std::optional<QVector<Binding>> encodeGroup(Group group, const ConfigurationStore &store)
{
    QVector<Binding> bindings;
    for (const DeviceObject *o : describe(group).writeOrder) {
        if (!o->takesPart(store))
            continue;
        const std::optional<snmp::Value> value = encode(*o, store);
        if (!value)
            return std::nullopt;
        bindings.append(Binding{o, *value});
    }
    return bindings;
}

bool echoMatches(const Binding &sent, const snmp::Value &echo)
{
    const QByteArray echoed = snmp::valueText(echo);
    if (sent.value.kind == ValueKind::Integer) {
        const auto number = integerFromText(echoed);
        return number && *number == sent.value.number;
    }
    if (sent.object->codec == Codec::Text) {
        const QByteArray &bytes = sent.value.bytes;
        return !bytes.isEmpty() && echoed.left(bytes.size() - 1) == bytes.left(bytes.size() - 1);
    }
    return echoed == snmp::valueText(sent.value);
}

std::optional<qint16> integerFromText(const QByteArray &text)
{
    const QByteArray trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    const qsizetype digitsFrom = (trimmed[0] == '-' || trimmed[0] == '+') ? 1 : 0;
    if (digitsFrom == trimmed.size())
        return std::nullopt;
    for (qsizetype j = digitsFrom; j < trimmed.size(); ++j) {
        if (trimmed[j] < '0' || trimmed[j] > '9')
            return std::nullopt;
    }
    bool ok = false;
    const qlonglong value = trimmed.toLongLong(&ok);
    if (!ok || value < -32768 || value > 32767)
        return std::nullopt;
    return qint16(value);
}

const DeviceObject *firstRefusedObject(Group group, const ConfigurationStore &store)
{
    for (const DeviceObject *o : describe(group).readOrder) {
        if (o->takesPart(store) && refuses(*o, store))
            return o;
    }
    return nullptr;
}

bool refusesValue(const DeviceObject &object, const ConfigurationStore &store) { return refuses(object, store); }

QString addressToSend(const ConfigurationStore &s)
{
    // The quick-setup window enters a new address in pendingIPAddress; the
    // main window's own dialog edits operIPAddress directly and leaves it
    // empty, in which case the address in the store is what goes out.
    const QString current = s.operIPAddress.trimmed();
    const QString pending = s.pendingIPAddress.trimmed();
    return !pending.isEmpty() && pending != current ? pending : current;
}

// --- the groups of the store, from their objects -----------------------------------

void copyGroup(Group group, const ConfigurationStore &from, ConfigurationStore &to)
{
    for (const DeviceObject *o : describe(group).readOrder)
        o->copy(from, to);
}

bool sameGroup(Group group, const ConfigurationStore &a, const ConfigurationStore &b)
{
    for (const DeviceObject *o : describe(group).readOrder) {
        if (!o->same(a, b))
            return false;
    }
    return true;
}

QString groupTitle(Group group) { return describe(group).title; }

}  // namespace config
