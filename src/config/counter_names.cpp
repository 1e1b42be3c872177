#include "counter_names.h"

#include <iterator>

namespace config {

namespace {

const char *const kWireless[] = {
    "unicastPacketsTx", "broadcastPacketsTx", "multicastPacketsTx", "beaconTx",      "unicastPacketsRx",
    "broadcastPacketsRx", "multicastPacketsRx", "beaconRx",         "ackPacketsTx",  "rtsPacketsTx",
    "ctsPacketsTx",     "ackPacketsRx",       "rtsPacketsRx",       "ctsPacketsRx",  "ackFailure",
    "ctsFailure",       "retryPackets",       "fcsError",           "receivedDuplicate", "failedPackets",
    "packetsAged",      "invalidPLCP"};
const char *const kEthernetRx[] = {
    "totalBytes",      "totalPackets", "packetCRCErrors",  "multicastPackets", "broadcastPackets", "controlFrames",
    "pauseFrames",     "unknownOPCode", "alignmentErrors", "lengthOutOfRange", "codeErrors",       "falseCarrier",
    "undersizePackets", "oversizePackets", "totalFragments", "totalJabber"};
const char *const kEthernetTx[] = {
    "totalBytes",        "totalPackets",           "packetCRCErrors",       "multicastPackets",
    "broadcastPackets",  "unicastPackets",         "pauseFrames",           "singleDeferPackets",
    "multiDeferPackets", "singleCollisionPackets", "multiCollisionPackets", "lateCollisionPackets",
    "excessiveCollisionPackets", "totalCollisions"};

static_assert(std::size(kWireless) == WirelessStatisticsRecord::kCount);
static_assert(std::size(kEthernetRx) == EthRxStatisticsRecord::kCount);
static_assert(std::size(kEthernetTx) == EthTxStatisticsRecord::kCount);

template <typename Record, size_t N>
void addRecord(QVector<NamedCounter> &counters, const char *prefix, const Record &record, const char *const (&names)[N])
{
    for (size_t k = 0; k < N; ++k)
        counters.append({QLatin1String(prefix) + QLatin1Char('.') + QLatin1String(names[k]), record.at(int(k) + 1)});
}

}  // namespace

QVector<NamedCounter> countersOf(const ConfigurationStore &store)
{
    QVector<NamedCounter> counters;
    counters.reserve(WirelessStatisticsRecord::kCount + EthRxStatisticsRecord::kCount + EthTxStatisticsRecord::kCount);
    addRecord(counters, "wireless", store.wirelessStatistics, kWireless);
    addRecord(counters, "ethernet-rx", store.EthRxStatistics, kEthernetRx);
    addRecord(counters, "ethernet-tx", store.EthTxStatistics, kEthernetTx);
    return counters;
}

}  // namespace config
