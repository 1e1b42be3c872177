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

quint8 latin1Code(uint character)
{
    return character <= 0xFF ? quint8(character) : quint8('?');
}

}  // namespace

std::array<QString, 4> wepKeysFromPassPhrase(const QString &phrase)
{
    quint8 accumulator[4] = {0, 0, 0, 0};
    // Code points, not UTF-16 units: a character beyond the BMP is one "?".
    const QList<uint> characters = phrase.toUcs4();
    for (qsizetype i = 0; i < characters.size(); ++i)
        accumulator[i % 4] ^= latin1Code(characters.at(i));

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
