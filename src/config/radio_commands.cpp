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
