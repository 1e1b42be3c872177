#include "configuration_store.h"


namespace config {

Counter &WirelessStatisticsRecord::at(int k)
{
    using R = WirelessStatisticsRecord;
    static constexpr Counter R::*fields[kCount] = {
        &R::unicastPacketsTx, &R::broadcastPacketsTx, &R::multicastPacketsTx, &R::beaconTx,
        &R::unicastPacketsRx, &R::broadcastPacketsRx, &R::multicastPacketsRx, &R::beaconRx,
        &R::ackPacketsTx,     &R::rtsPacketsTx,       &R::ctsPacketsTx,       &R::ackPacketsRx,
        &R::rtsPacketsRx,     &R::ctsPacketsRx,       &R::ackFailure,         &R::ctsFailure,
        &R::retryPackets,     &R::fcsError,           &R::receivedDuplicate,  &R::failedPackets,
        &R::packetsAged,      &R::invalidPLCP,
    };
    Q_ASSERT(k >= 1 && k <= kCount);
    return this->*fields[k - 1];
}

Counter &EthRxStatisticsRecord::at(int k)
{
    using R = EthRxStatisticsRecord;
    static constexpr Counter R::*fields[kCount] = {
        &R::totalBytes,      &R::totalPackets,     &R::packetCRCErrors,  &R::multicastPackets,
        &R::broadcastPackets, &R::controlFrames,   &R::pauseFrames,      &R::unknownOPCode,
        &R::alignmentErrors, &R::lengthOutOfRange, &R::codeErrors,       &R::falseCarrier,
        &R::undersizePackets, &R::oversizePackets, &R::totalFragments,   &R::totalJabber,
    };
    Q_ASSERT(k >= 1 && k <= kCount);
    return this->*fields[k - 1];
}

Counter &EthTxStatisticsRecord::at(int k)
{
    using R = EthTxStatisticsRecord;
    static constexpr Counter R::*fields[kCount] = {
        &R::totalBytes,          &R::totalPackets,           &R::packetCRCErrors,
        &R::multicastPackets,    &R::broadcastPackets,       &R::unicastPackets,
        &R::pauseFrames,         &R::singleDeferPackets,     &R::multiDeferPackets,
        &R::singleCollisionPackets, &R::multiCollisionPackets, &R::lateCollisionPackets,
        &R::excessiveCollisionPackets, &R::totalCollisions,
    };
    Q_ASSERT(k >= 1 && k <= kCount);
    return this->*fields[k - 1];
}

namespace {
template <typename Record>
bool sameCounters(const Record &a, const Record &b)
{
    for (int k = 1; k <= Record::kCount; ++k) {
        if (a.at(k) != b.at(k))
            return false;
    }
    return true;
}
}  // namespace

bool DeviceInfoRecord::operator==(const DeviceInfoRecord &o) const
{
    return defaultMACAddress == o.defaultMACAddress && regulationDomain == o.regulationDomain
           && manufactureName == o.manufactureName;
}

bool WirelessStatisticsRecord::operator==(const WirelessStatisticsRecord &o) const { return sameCounters(*this, o); }
bool EthRxStatisticsRecord::operator==(const EthRxStatisticsRecord &o) const { return sameCounters(*this, o); }
bool EthTxStatisticsRecord::operator==(const EthTxStatisticsRecord &o) const { return sameCounters(*this, o); }

QString &ConfigurationStore::defaultWEPKey(int index)
{
    switch (index) {
    case 1: return defaultWEPKey1;
    case 2: return defaultWEPKey2;
    case 3: return defaultWEPKey3;
    default: return defaultWEPKey4;
    }
}

const QString &ConfigurationStore::defaultWEPKey(int index) const
{
    return const_cast<ConfigurationStore *>(this)->defaultWEPKey(index);
}

}  // namespace config
