#pragma once
// Counters that grow while the simulated device runs. Each counter starts
// from a value of its own and grows at its own rate; they are computed
// from the time since the device started, so every read sees them move.
// Some start well above 32767 and one above 2^31, so a manager has to
// decode them as unsigned 32-bit numbers.

#include <QByteArray>

namespace sim {

enum class StatisticsGroup { Wireless, EthernetRx, EthernetTx };

// Number of 4-byte counters in the group (22, 16, 14).
int counterCount(StatisticsGroup group);

// Counter k (1-based) after `elapsedMs` milliseconds; wraps at 2^32.
quint32 counterValue(StatisticsGroup group, int k, qint64 elapsedMs);

// The whole octet string: each counter as 4 bytes, least significant first.
QByteArray statisticsBytes(StatisticsGroup group, qint64 elapsedMs);

}  // namespace sim
