#pragma once
// Threshold boxes take any text, but the store keeps a threshold as a
// 16-bit signed whole number. A text that is not one must never be stored.

#include <QString>
#include <QtGlobal>
#include <optional>

namespace dialogs {

// The number in `text`: optional blanks around, an optional sign and
// decimal digits, within -32768..32767. std::nullopt for anything else
// (empty, fractions, exponents, hexadecimal, out of range).
std::optional<qint16> thresholdFromText(const QString &text);

// Shown on a box whose text was refused.
QString thresholdHint();

}  // namespace dialogs
