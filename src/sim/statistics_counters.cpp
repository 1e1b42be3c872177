#include "statistics_counters.h"

#include <QtEndian>
#include <array>

namespace sim {

namespace {

struct CounterRule {
    quint32 start;
    quint32 perSecond;
};

// Order as the device sends them.
constexpr std::array<CounterRule, 22> kWireless{{
    {15230, 37},   // unicast packets transmitted
    {4100, 3},     // broadcast packets transmitted
    {820, 1},      // multicast packets transmitted
    {40960, 10},   // beacons transmitted: above 32767 from the start
    {14890, 35},   // unicast packets received
    {5120, 4},     // broadcast packets received
    {640, 1},      // multicast packets received
    {1200, 2},     // beacons received
    {14800, 35},   // ACK frames transmitted
    {310, 1},      // RTS frames transmitted
    {300, 1},      // CTS frames transmitted
    {15100, 36},   // ACK frames received
    {290, 1},      // RTS frames received
    {305, 1},      // CTS frames received
    {42, 0},       // ACK failures
    {7, 0},        // CTS failures
    {913, 2},      // retried packets
    {58, 0},       // FCS errors
    {21, 0},       // duplicates received
    {3, 0},        // failed packets
    {1, 0},        // packets aged out
    {12, 0},       // invalid PLCP headers
}};

constexpr std::array<CounterRule, 16> kEthernetRx{{
    {3000000000u, 12000},  // total bytes: above 2^31
    {2750000, 20},         // total packets
    {4, 0},                // CRC errors
    {18300, 1},            // multicast packets
    {96500, 3},            // broadcast packets
    {0, 0},                // control frames
    {0, 0},                // pause frames
    {0, 0},                // unknown opcodes
    {2, 0},                // alignment errors
    {0, 0},                // length out of range
    {0, 0},                // code errors
    {1, 0},                // false carrier
    {9, 0},                // undersize packets
    {0, 0},                // oversize packets
    {5, 0},                // fragments
    {0, 0},                // jabber
}};

constexpr std::array<CounterRule, 14> kEthernetTx{{
    {1850000000u, 9000},  // total bytes
    {2410000, 16},        // total packets
    {0, 0},               // CRC errors
    {5200, 1},            // multicast packets
    {1300, 1},            // broadcast packets
    {2403500, 14},        // unicast packets
    {0, 0},               // pause frames
    {310, 0},             // deferred once
    {45, 0},              // deferred more than once
    {120, 0},             // single collisions
    {33, 0},              // multiple collisions
    {0, 0},               // late collisions
    {0, 0},               // excessive collisions
    {186, 0},             // total collisions
}};

const CounterRule *rulesOf(StatisticsGroup group, int &count)
{
    switch (group) {
    case StatisticsGroup::Wireless: count = int(kWireless.size()); return kWireless.data();
    case StatisticsGroup::EthernetRx: count = int(kEthernetRx.size()); return kEthernetRx.data();
    case StatisticsGroup::EthernetTx: count = int(kEthernetTx.size()); return kEthernetTx.data();
    }
    count = 0;
    return nullptr;
}

}  // namespace

int counterCount(StatisticsGroup group)
{
    int count = 0;
    rulesOf(group, count);
    return count;
}

quint32 counterValue(StatisticsGroup group, int k, qint64 elapsedMs)
{
    int count = 0;
    const CounterRule *rules = rulesOf(group, count);
    if (k < 1 || k > count)
        return 0;
    const CounterRule &rule = rules[k - 1];
    const quint64 elapsed = elapsedMs > 0 ? quint64(elapsedMs) : 0;
    // 64-bit arithmetic, truncated to the 32 bits the device counts in.
    return quint32(rule.start + rule.perSecond * elapsed / 1000);
}

QByteArray statisticsBytes(StatisticsGroup group, qint64 elapsedMs)
{
    const int count = counterCount(group);
    QByteArray bytes(4 * count, '\0');
    for (int k = 1; k <= count; ++k)
        qToLittleEndian(counterValue(group, k, elapsedMs), bytes.data() + 4 * (k - 1));
    return bytes;
}

}  // namespace sim
