#include "group_readers.h"

#include "config/counters.h"
#include "config/encodings.h"

namespace config {

std::optional<qint16> integerFromText(const QByteArray &text)
{
    const QByteArray trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    qsizetype i = (trimmed[0] == '-' || trimmed[0] == '+') ? 1 : 0;
    if (i == trimmed.size())
        return std::nullopt;
    for (qsizetype j = i; j < trimmed.size(); ++j) {
        if (trimmed[j] < '0' || trimmed[j] > '9')
            return std::nullopt;
    }
    bool ok = false;
    const qlonglong value = trimmed.toLongLong(&ok);
    if (!ok || value < -32768 || value > 32767)
        return std::nullopt;
    return qint16(value);
}

namespace {

// Reading the answer position by position; the first missing or
// unconvertible value ends the routine with StoreVerdict::Failed.
class AnswerReader {
public:
    explicit AnswerReader(const snmp::SnmpVariables &answer) : answer_(answer) {}

    const QByteArray *raw(int position) const
    {
        const snmp::SnmpVariable *variable = answer_.Item(position);
        return variable ? &variable->Value : nullptr;
    }
    std::optional<qint16> integer(int position) const
    {
        const QByteArray *value = raw(position);
        return value ? integerFromText(*value) : std::nullopt;
    }
    std::optional<QString> text(int position) const
    {
        const QByteArray *value = raw(position);
        return value ? std::optional<QString>(textFromOctets(*value)) : std::nullopt;
    }
    std::optional<QString> hex(int position, int n) const
    {
        const QByteArray *value = raw(position);
        return value ? BytesToHex(*value, n) : std::nullopt;
    }

private:
    const snmp::SnmpVariables &answer_;
};

bool inRange(int value, int low, int high) { return value >= low && value <= high; }

// Assigns a converted integer, then checks it: the store keeps what the
// device said even when it fails the check.
StoreVerdict storeInteger(const AnswerReader &reader, int position, qint16 &field, int low, int high)
{
    const auto value = reader.integer(position);
    if (!value)
        return StoreVerdict::Failed;
    field = *value;
    return inRange(field, low, high) ? StoreVerdict::Accepted : StoreVerdict::Rejected;
}

StoreVerdict storeHex(const AnswerReader &reader, int position, int n, QString &field)
{
    const auto value = reader.hex(position, n);
    if (!value)
        return StoreVerdict::Failed;
    field = *value;
    return field.size() == 2 * n ? StoreVerdict::Accepted : StoreVerdict::Rejected;
}

// Runs steps in order and stops at the first that does not accept.
template <typename... Steps>
StoreVerdict inOrder(Steps... steps)
{
    StoreVerdict verdict = StoreVerdict::Accepted;
    ((verdict == StoreVerdict::Accepted ? (verdict = steps(), 0) : 0), ...);
    return verdict;
}

template <typename Record>
StoreVerdict storeCounters(const QByteArray *value, Record &record)
{
    if (!value)
        return StoreVerdict::Failed;
    for (int k = 1; k <= Record::kCount; ++k) {
        const auto counter = CounterFromBytes(*value, k);
        if (!counter)
            return StoreVerdict::Failed;
        record.at(k) = *counter;
    }
    return StoreVerdict::Accepted;
}

}  // namespace

StoreVerdict StoreHardConfStruct(const snmp::SnmpVariables &answer, ConfigurationStore &target)
{
    const QByteArray *info = AnswerReader(answer).raw(1);
    if (!info)
        return StoreVerdict::Failed;
    // A wrong length fails the read; what can be decoded is decoded all the
    // same, but a failed read never reaches the store (readGroup).
    const bool rightLength = info->size() == 92;
    const auto mac = BytesToHex(info->mid(4, 6), 6);
    if (!mac)
        return StoreVerdict::Failed;
    target.sysDeviceInfo.defaultMACAddress = *mac;
    target.sysDeviceInfo.manufactureName = textFromOctets(info->mid(20, 32));
    // The device's identity block carries no usable domain code: every
    // device this console knows is an FCC unit.
    target.sysDeviceInfo.regulationDomain = 16;
    return rightLength ? StoreVerdict::Accepted : StoreVerdict::Rejected;
}

StoreVerdict StoreWirelessOperationalConf(const snmp::SnmpVariables &answer, ConfigurationStore &t)
{
    const AnswerReader r(answer);
    return inOrder(
        [&] { return storeInteger(r, 1, t.operChannelID, 1, 14); },
        [&] {
            const auto essid = r.text(2);
            if (!essid)
                return StoreVerdict::Failed;
            t.operESSID = *essid;
            return t.operESSID.isEmpty() ? StoreVerdict::Rejected : StoreVerdict::Accepted;
        },
        [&] { return storeInteger(r, 3, t.operRTSThreshold, kThresholdMinimum, kThresholdMaximum); },
        [&] { return storeInteger(r, 4, t.operFragmentationThreshold, kThresholdMinimum, kThresholdMaximum); },
        [&] { return storeInteger(r, 5, t.operPreambleType, 1, 2); },
        [&] { return storeInteger(r, 6, t.operAuthenticationType, 1, 3); },
        [&] {
            const auto rates = r.hex(7, 4);
            if (!rates)
                return StoreVerdict::Failed;
            t.operBasicRates = *rates;
            return isAcceptedBasicRates(t.operBasicRates) ? StoreVerdict::Accepted : StoreVerdict::Rejected;
        },
        [&] { return storeInteger(r, 8, t.operAutoRateFallBack, 1, 2); });
}

StoreVerdict StoreIPSettingsConf(const snmp::SnmpVariables &answer, ConfigurationStore &t)
{
    const AnswerReader r(answer);
    auto dotted = [&](int position, QString &field) {
        const auto text = r.text(position);
        if (!text)
            return StoreVerdict::Failed;
        field = *text;
        return field.size() >= 7 ? StoreVerdict::Accepted : StoreVerdict::Rejected;
    };
    return inOrder([&] { return dotted(1, t.operIPAddress); },
                   [&] { return dotted(2, t.operIPMask); },
                   [&] { return storeHex(r, 3, 6, t.operEthernetAddress); });
}

StoreVerdict StorePrivacySettingsConf(const snmp::SnmpVariables &answer, ConfigurationStore &t)
{
    const AnswerReader r(answer);
    return inOrder([&] { return storeHex(r, 1, 5, t.defaultWEPKey1); },
                   [&] { return storeHex(r, 2, 5, t.defaultWEPKey2); },
                   [&] { return storeHex(r, 3, 5, t.defaultWEPKey3); },
                   [&] { return storeHex(r, 4, 5, t.defaultWEPKey4); },
                   [&] { return storeInteger(r, 5, t.privacyDefaultWEPKeyID, 0, 4); },
                   [&] { return storeInteger(r, 6, t.privacyWEPEnable, 1, 2); });
}

StoreVerdict StoreTrapsConf(const snmp::SnmpVariables &answer, ConfigurationStore &t)
{
    return storeInteger(AnswerReader(answer), 1, t.sysTrapSwitch, 1, 2);
}

StoreVerdict StoreBridgeOperationalModeConf(const snmp::SnmpVariables &answer, ConfigurationStore &t)
{
    const AnswerReader r(answer);
    const StoreVerdict mode = storeInteger(r, 1, t.bridgeOperationalMode, 1, 3);
    if (mode != StoreVerdict::Accepted || t.bridgeOperationalMode == 2)
        return mode;  // an access point has no partner bridge
    return storeHex(r, 2, 6, t.bridgeRemoteBridgeBSSID);
}

StoreVerdict StoreWirelessStatistics(const snmp::SnmpVariables &answer, ConfigurationStore &t)
{
    return storeCounters(AnswerReader(answer).raw(1), t.wirelessStatistics);
}

StoreVerdict StoreEthernetStatistics(const snmp::SnmpVariables &answer, ConfigurationStore &t)
{
    const AnswerReader r(answer);
    return inOrder([&] { return storeCounters(r.raw(1), t.EthRxStatistics); },
                   [&] { return storeCounters(r.raw(2), t.EthTxStatistics); });
}

StoreVerdict StoreRadioConfiguration(const snmp::SnmpVariables &answer, ConfigurationStore &t)
{
    return storeHex(AnswerReader(answer), 1, 14, t.TestModeRadioConfiguration);
}

const GroupDefinition &groupDefinition(Group group)
{
    static const QVector<GroupDefinition> definitions = {
        // A read that fails here must still say so: "Reading configuration..."
        // would otherwise stand for ever.
        {Group::HardConf, {QStringLiteral("sysDeviceInfo")}, 1,
         QStringLiteral("Network Error-Not expected Device Information values.Try connect again."),
         StoreHardConfStruct},
        {Group::WirelessOperational,
         {QStringLiteral("operChannelID"), QStringLiteral("operESSID"), QStringLiteral("operRTSThreshold"),
          QStringLiteral("operFragmentationThreshold"), QStringLiteral("operPreambleType"),
          QStringLiteral("operAuthenticationType"), QStringLiteral("operBasicRates"),
          QStringLiteral("operAutoRateFallBack")},
         2, QStringLiteral("Network Error-Not expected Wireless Operational values.Try connect again."),
         StoreWirelessOperationalConf},
        {Group::IPSettings,
         {QStringLiteral("operIPAddress"), QStringLiteral("operIPMask"), QStringLiteral("operEthernetAddress")},
         3, QStringLiteral("Network Error-Not expected IP values.Try connect again."), StoreIPSettingsConf},
        {Group::Privacy,
         {QStringLiteral("defaultWEPKey1"), QStringLiteral("defaultWEPKey2"), QStringLiteral("defaultWEPKey3"),
          QStringLiteral("defaultWEPKey4"), QStringLiteral("privacyDefaultWEPKeyID"),
          QStringLiteral("privacyWEPEnable")},
         4, QStringLiteral("Network Error-Not expected Privacy values.Try connect again."),
         StorePrivacySettingsConf},
        {Group::Traps, {QStringLiteral("sysTrapSwitch")}, 5,
         QStringLiteral("Network Error-Not expected Traps values.Try connect again."), StoreTrapsConf},
        {Group::BridgeOperationalMode,
         {QStringLiteral("bridgeOperationalMode"), QStringLiteral("bridgeRemoteBridgeBSSID")}, 7,
         QStringLiteral("Network Error-Not expected Operational Mode values.Try connect again."),
         StoreBridgeOperationalModeConf},
        {Group::WirelessStatistics, {QStringLiteral("wirelessStatistics")}, 9, QString(),
         StoreWirelessStatistics},
        {Group::EthernetStatistics, {QStringLiteral("EthRxStatistics"), QStringLiteral("EthTxStatistics")}, 10,
         QString(), StoreEthernetStatistics},
        {Group::RadioConfiguration, {QStringLiteral("TestModeRadioConfiguration")}, 0, QString(),
         StoreRadioConfiguration},
    };
    return definitions[int(group)];
}

const QVector<Group> &fullReadOrder()
{
    static const QVector<Group> order = {
        Group::HardConf,      Group::WirelessOperational,   Group::IPSettings,         Group::Privacy,
        Group::Traps,         Group::BridgeOperationalMode, Group::WirelessStatistics, Group::EthernetStatistics,
    };
    return order;
}

StoreVerdict readGroup(DeviceLink &link, const QString &host, Group group, ConfigurationStore &target, int tries)
{
    const GroupDefinition &definition = groupDefinition(group);
    link.prepare(host, 1000);
    for (const QString &object : definition.objects) {
        if (!link.addGetVariable(object))
            return StoreVerdict::Failed;
    }
    link.setRequestType(snmp::request_type::Get);
    link.takeRequestId();
    if (!link.send(tries).answered())
        return StoreVerdict::Failed;
    ConfigurationStore scratch = target;
    const StoreVerdict verdict = definition.store(link.answer(), scratch);
    if (verdict == StoreVerdict::Accepted)
        copyGroup(group, scratch, target);
    return verdict;
}

QString readFailureText(Group group, StoreVerdict verdict)
{
    const GroupDefinition &definition = groupDefinition(group);
    if (definition.errorNumber == 0 || verdict == StoreVerdict::Accepted)
        return QString();
    if (verdict == StoreVerdict::Rejected && !definition.rejectedText.isEmpty())
        return definition.rejectedText;
    return QStringLiteral("Network Error%1-Not all values retrieved.").arg(definition.errorNumber);
}

}  // namespace config

