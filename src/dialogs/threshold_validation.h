#pragma once
// Threshold boxes take any text, but only a whole number the device accepts
// (0..2346) may reach the store: a larger one would be downloaded and then
// make every later read of the device fail.

#include <QString>
#include <QtGlobal>
#include <optional>

namespace dialogs {

// The number in `text`: optional blanks around, an optional sign and
// decimal digits, within 0..2346. std::nullopt for anything else (empty,
// fractions, exponents, hexadecimal, out of range).
std::optional<qint16> thresholdFromText(const QString &text);

// The boxes' tooltip, and what a refused box shows.
QString thresholdHint();

}  // namespace dialogs
