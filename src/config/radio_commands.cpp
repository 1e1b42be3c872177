#include "radio_commands.h"

#include "config/encodings.h"

namespace config {

namespace {

std::optional<char> byteOf(Integer value)
{
    if (value < 0 || value > 255)
        return std::nullopt;
    return char(quint8(value));
}

void prepareSet(DeviceLink &link, const QString &host, int timeoutMs)
{
    link.prepare(host, timeoutMs);
    link.setRequestType(snmp::request_type::Set);
    link.takeRequestId();
}

// The value of the answer's first variable, when the device answered.
const QByteArray *sendAndTakeAnswer(DeviceLink &link)
{
    if (!link.send().answered())
        return nullptr;
    const snmp::SnmpVariable *first = link.answer().Item(1);
    return first ? &first->Value : nullptr;
}

bool isNumber(const QByteArray &text)
{
    bool ok = false;
    text.trimmed().toDouble(&ok);
    return ok;
}

}  // namespace

std::optional<QByteArray> testModeCommandStruct(const ConfigurationStore &store, Integer command)
{
    const std::optional<char> fields[] = {
        byteOf(store.testModeChannel),
        byteOf(store.testModeAntenna),
        HexToBytes(store.testModeCR31, 1).at(0),
        byteOf(store.testModeRate),
        byteOf(store.testModeTxFilter),
        byteOf(command),
    };
    QByteArray bytes;
    for (const std::optional<char> &field : fields) {
        if (!field)
            return std::nullopt;
        bytes.append(*field);
    }
    bytes.append(2, '\0');
    return bytes;
}

bool SetTestMode(DeviceLink &link, const QString &host)
{
    prepareSet(link, host, kTestModeSwitchTimeoutMs);
    if (!link.AddIntegerVariable(QStringLiteral("TestModeOnOff"), 1))
        return false;
    const QByteArray *value = sendAndTakeAnswer(link);
    return value && isNumber(*value);
}

bool SetTestModeValues(DeviceLink &link, const QString &host, Integer command, const ConfigurationStore &store)
{
    prepareSet(link, host, kTestModeCommandTimeoutMs);
    const std::optional<QByteArray> bytes = testModeCommandStruct(store, command);
    if (!bytes || !link.AddOctetStringVariable(QStringLiteral("TestModeCommandStruct"), *bytes))
        return false;
    return sendAndTakeAnswer(link) != nullptr;
}

bool SetRadioConfigurationValues(DeviceLink &link, const QString &host, const ConfigurationStore &store)
{
    prepareSet(link, host, kRadioConfigurationTimeoutMs);
    const QByteArray bytes = HexToBytes(store.TestModeRadioConfiguration, kRadioConfigurationBytes);
    if (!link.AddOctetStringVariable(QStringLiteral("TestModeRadioConfiguration"), bytes))
        return false;
    const QByteArray *echo = sendAndTakeAnswer(link);
    return echo && *echo == bytes;
}

int leadingHexValue(const QString &text)
{
    int value = 0;
    for (QChar c : text) {
        const int digit = c.unicode() < 128 ? QStringLiteral("0123456789ABCDEF").indexOf(c.toUpper()) : -1;
        if (digit < 0)
            break;
        value = qMin(0xFFFF, value * 16 + digit);
    }
    return value;
}

bool isAcceptedCR31(const QString &text)
{
    const int value = leadingHexValue(text);
    return value >= 128 && value <= 255;
}

}  // namespace config
