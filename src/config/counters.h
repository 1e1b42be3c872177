#pragma once
#include <QByteArray>
#include <optional>

namespace config {

// Counter k (1-based) of a statistics octet string: four bytes at
// 4k-3 .. 4k, least significant first, read as an unsigned 32-bit number.
// std::nullopt when the string is too short to hold counter k.
std::optional<quint32> CounterFromBytes(const QByteArray &data, int k);

}  // namespace config
