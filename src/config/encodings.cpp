#include "encodings.h"

namespace config {

std::optional<QString> BytesToHex(const QByteArray &data, int n)
{
    if (n < 0 || data.size() < n)
        return std::nullopt;
    static const char digits[] = "0123456789ABCDEF";
    QString text;
    text.reserve(2 * n);
    for (int i = 0; i < n; ++i) {
        const quint8 byte = quint8(data[i]);
        text += QLatin1Char(digits[byte >> 4]);
        text += QLatin1Char(digits[byte & 0x0F]);
    }
    return text;
}

namespace {
int hexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}
}  // namespace

QByteArray HexToBytes(const QString &text, int n)
{
    QByteArray bytes;
    for (int i = 0; i < n; ++i) {
        int value = 0;
        for (int j = 2 * i; j < 2 * i + 2 && j < text.size(); ++j) {
            const int digit = hexDigitValue(text[j]);
            if (digit < 0)
                break;
            value = value * 16 + digit;
        }
        bytes.append(char(value));
    }
    return bytes;
}

int EssidLength(const QString &essid)
{
    int count = 0;
    for (QChar c : essid) {
        if (c.unicode() < 33 || c.unicode() > 126)
            break;
        ++count;
    }
    return count;
}

bool isAcceptedBasicRates(const QString &text)
{
    return text == kBasicRatesAll || text == kBasicRatesLow;
}

QString regulationDomainName(int code)
{
    switch (code) {
    case 16: return QStringLiteral("FCC");
    case 32: return QStringLiteral("DOC");
    case 48: return QStringLiteral("ETSI");
    case 49: return QStringLiteral("SPAIN");
    case 50: return QStringLiteral("FRANCE");
    case 64: return QStringLiteral("MKK");
    default: return QString();
    }
}

std::optional<ChannelRange> channelRangeFor(int regulationDomain)
{
    switch (regulationDomain) {
    case 16:
    case 32: return ChannelRange{1, 11};
    case 48: return ChannelRange{1, 13};
    case 49: return ChannelRange{10, 11};
    case 50: return ChannelRange{10, 13};
    case 64: return ChannelRange{14, 14};
    default: return std::nullopt;
    }
}

QStringList channelItems(int regulationDomain)
{
    QStringList items;
    if (const auto range = channelRangeFor(regulationDomain)) {
        for (int channel = range->first; channel <= range->last; ++channel)
            items << QStringLiteral("Channel %1").arg(channel);
    }
    return items;
}

int positionOfChannel(int regulationDomain, int channel)
{
    const auto range = channelRangeFor(regulationDomain);
    if (!range || channel < range->first || channel > range->last)
        return -1;
    return channel - range->first;
}

std::optional<int> channelAtPosition(int regulationDomain, int position)
{
    const auto range = channelRangeFor(regulationDomain);
    if (!range || position < 0 || position > range->last - range->first)
        return std::nullopt;
    return range->first + position;
}

}  // namespace config
