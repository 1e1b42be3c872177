#include "value_rules.h"

#include "config/encodings.h"

#include <QRegularExpression>
#include <limits>

namespace config {

std::optional<qint16> thresholdFromText(const QString &text)
{
    const QString trimmed = text.trimmed();
    int at = 0;
    bool negative = false;
    if (at < trimmed.size() && (trimmed.at(at) == QLatin1Char('-') || trimmed.at(at) == QLatin1Char('+'))) {
        negative = trimmed.at(at) == QLatin1Char('-');
        ++at;
    }
    if (at == trimmed.size())
        return std::nullopt;

    constexpr qint32 kLimit = qint32(std::numeric_limits<qint16>::max()) + 1;  // magnitude of the minimum
    qint32 magnitude = 0;
    for (; at < trimmed.size(); ++at) {
        const char16_t c = trimmed.at(at).unicode();
        if (c < '0' || c > '9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > kLimit)  // checked every digit, so it never overflows
            return std::nullopt;
    }
    const qint32 value = negative ? -magnitude : magnitude;
    if (value < kThresholdMinimum || value > kThresholdMaximum)
        return std::nullopt;
    return qint16(value);
}

QString thresholdHint()
{
    return QStringLiteral("Enter a whole number from %1 to %2").arg(kThresholdMinimum).arg(kThresholdMaximum);
}

bool isAcceptedEssid(const QString &text)
{
    if (text.isEmpty() || text.size() > 32 || text.at(0) == QLatin1Char(' '))
        return false;
    for (QChar c : text) {
        if (c.unicode() < 32 || c.unicode() > 126)
            return false;
    }
    return true;
}

QString essidHint()
{
    return QStringLiteral("Enter 1 to 32 characters (letters, digits, punctuation, blanks), not starting with a blank");
}

std::optional<QString> dottedQuadFromText(const QString &text)
{
    static const QRegularExpression dottedQuad(QStringLiteral("^(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})$"));
    const QString trimmed = text.trimmed();
    const QRegularExpressionMatch match = dottedQuad.match(trimmed);
    if (!match.hasMatch())
        return std::nullopt;
    for (int i = 1; i <= 4; ++i) {
        if (match.captured(i).toInt() > 255)
            return std::nullopt;
    }
    return trimmed;
}

QString addressHint()
{
    return QStringLiteral("Enter four numbers from 0 to 255 separated by dots, such as 192.168.1.250");
}

QString maskHint()
{
    return QStringLiteral("Enter four numbers from 0 to 255 separated by dots, such as 255.255.255.0");
}

bool isHexText(const QString &text, int digits)
{
    if (text.size() != digits)
        return false;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (!((u >= '0' && u <= '9') || (u >= 'A' && u <= 'F') || (u >= 'a' && u <= 'f')))
            return false;
    }
    return true;
}

QString hexHint(int digits)
{
    return QStringLiteral("Enter %1 hexadecimal digits (0 to 9, A to F)").arg(digits);
}

}  // namespace config
