#pragma once
// Four 40-bit WEP keys derived from a pass phrase, so that a user can give
// every station the same keys by typing the same phrase.
//
// Derivation: each character's code in the Western Windows code page
// (Windows-1252; a character outside it counts as "?") is XORed into one of four byte accumulators, by position
// modulo 4; the accumulators, first one lowest, form a 32-bit seed; the
// linear congruential step X = (X * 214013 + 2531011) mod 2^31 then gives
// twenty bytes (bits 16..23 of each new X), five per key, each written as
// two upper-case hexadecimal digits. The same phrase always gives the same
// keys; phrases that cancel out in the accumulators give the same keys.

#include <QString>
#include <array>

namespace config {

// The keys of `phrase`, key 1 first, ten hexadecimal digits each.
std::array<QString, 4> wepKeysFromPassPhrase(const QString &phrase);

// The last generated keys; empty until the first generation.
extern QString GeneratedWepKey1;
extern QString GeneratedWepKey2;
extern QString GeneratedWepKey3;
extern QString GeneratedWepKey4;

// Empties the four keys above, then fills them from `phrase`.
void GenerateWepKeys(const QString &phrase);

}  // namespace config
