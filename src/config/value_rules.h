#pragma once
// The device's rules for the values a window stores and a download sends:
// the same rules the readers check what the device reports against, so
// that nothing goes out that the device would refuse or that would make
// the next read of it fail. Each rule has a hint that says what is
// accepted: a window shows it on a refused box, a refused download names
// the value and gives it.


#include <QString>
#include <optional>

namespace config {

// RTS and fragmentation thresholds: optional blanks around, an optional
// sign and decimal digits, within 0..2346.
std::optional<qint16> thresholdFromText(const QString &text);
QString thresholdHint();

// 1 to 32 characters of printable ASCII (codes 32 to 126), the first not a
// blank: the device counts the name up to its first blank, so a name that
// starts with one would reach it empty.
bool isAcceptedEssid(const QString &text);
QString essidHint();

// A dotted IPv4 address or mask, four numbers 0..255, blanks around
// allowed: the text it is sent as (trimmed), or std::nullopt.
std::optional<QString> dottedQuadFromText(const QString &text);
QString addressHint();
QString maskHint();

// Exactly `digits` hexadecimal digits (either case), nothing else.
bool isHexText(const QString &text, int digits);
QString hexHint(int digits);

}  // namespace config
