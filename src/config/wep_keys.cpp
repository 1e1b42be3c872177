#include "config/wep_keys.h"

#include <QList>

namespace config {

QString GeneratedWepKey1;
QString GeneratedWepKey2;
QString GeneratedWepKey3;
QString GeneratedWepKey4;

namespace {

constexpr int kKeys = 4;
constexpr int kBytesPerKey = 5;
constexpr quint64 kModulus = quint64(1) << 31;

// The Western Windows code page (Windows-1252), which the stations' own
// key generators use: Latin-1, except that codes 0x80 to 0x9F hold these
// characters instead of control codes (0 where the code page has none).
constexpr char16_t kCodes80To9F[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88..8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98..9F
};

// A character outside the code page counts as "?", as the code page's
// conversion gives it.
quint8 windows1252Code(uint character)
{
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return quint8(character);
    for (int i = 0; i < 32; ++i) {
        if (kCodes80To9F[i] != 0 && kCodes80To9F[i] == character)
            return quint8(0x80 + i);
    }
    return quint8('?');
}

}  // namespace

std::array<QString, 4> wepKeysFromPassPhrase(const QString &phrase)
{
    quint8 accumulator[4] = {0, 0, 0, 0};
    // Code points, not UTF-16 units: a character beyond the BMP is one "?".
    const QList<uint> characters = phrase.toUcs4();
    for (qsizetype i = 0; i < characters.size(); ++i)
        accumulator[i % 4] ^= windows1252Code(characters.at(i));

    // The seed may be 2^31 or more; the first step takes it as it is.
    quint64 state = quint64(accumulator[0]) | quint64(accumulator[1]) << 8 | quint64(accumulator[2]) << 16
                    | quint64(accumulator[3]) << 24;
    std::array<QString, 4> keys;
    for (int k = 0; k < kKeys; ++k) {
        for (int j = 0; j < kBytesPerKey; ++j) {
            state = (state * 214013 + 2531011) % kModulus;  // exact: below 2^50 before the reduction
            const unsigned byte = unsigned(state >> 16) & 0xFF;
            keys[size_t(k)] += QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
        }
    }
    return keys;
}

void GenerateWepKeys(const QString &phrase)
{
    GeneratedWepKey1.clear();
    GeneratedWepKey2.clear();
    GeneratedWepKey3.clear();
    GeneratedWepKey4.clear();
    const std::array<QString, 4> keys = wepKeysFromPassPhrase(phrase);
    GeneratedWepKey1 = keys[0];
    GeneratedWepKey2 = keys[1];
    GeneratedWepKey3 = keys[2];
    GeneratedWepKey4 = keys[3];
}

}  // namespace config
