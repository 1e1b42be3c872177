#include "dialogs/threshold_validation.h"

#include "config/encodings.h"

#include <limits>

namespace dialogs {

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
    if (value < config::kThresholdMinimum || value > config::kThresholdMaximum)
        return std::nullopt;
    return qint16(value);
}

QString thresholdHint()
{
    return QStringLiteral("Enter a whole number from %1 to %2").arg(config::kThresholdMinimum).arg(config::kThresholdMaximum);
}

}  // namespace dialogs
