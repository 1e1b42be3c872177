#pragma once
// What the console knows about one device: settings mirrored from MIB
// objects (named after them), the decoded identity and counter records,
// the radio test parameters and two options. Each device has its own
// (agent::Device); the windows read and assign it field by field.

#include <QString>
#include <QtGlobal>

namespace config {

using Integer = qint16;  // 16-bit signed, as every setting code and threshold
using Long = qint32;
// Device counters are unsigned 32-bit values; they are kept without loss.
using Counter = quint32;

struct DeviceInfoRecord {
    QString defaultMACAddress;  // 12 upper-case hex digits
    Integer regulationDomain = 0;
    QString manufactureName;  // 32 characters as received

    bool operator==(const DeviceInfoRecord &other) const;
};

struct WirelessStatisticsRecord {
    Counter unicastPacketsTx = 0;
    Counter broadcastPacketsTx = 0;
    Counter multicastPacketsTx = 0;
    Counter beaconTx = 0;
    Counter unicastPacketsRx = 0;
    Counter broadcastPacketsRx = 0;
    Counter multicastPacketsRx = 0;
    Counter beaconRx = 0;
    Counter ackPacketsTx = 0;
    Counter rtsPacketsTx = 0;
    Counter ctsPacketsTx = 0;
    Counter ackPacketsRx = 0;
    Counter rtsPacketsRx = 0;
    Counter ctsPacketsRx = 0;
    Counter ackFailure = 0;
    Counter ctsFailure = 0;
    Counter retryPackets = 0;
    Counter fcsError = 0;
    Counter receivedDuplicate = 0;
    Counter failedPackets = 0;
    Counter packetsAged = 0;
    Counter invalidPLCP = 0;

    static constexpr int kCount = 22;
    // Counter k (1-based) in the order the device sends them.
    Counter &at(int k);
    Counter at(int k) const { return const_cast<WirelessStatisticsRecord *>(this)->at(k); }
    bool operator==(const WirelessStatisticsRecord &other) const;
};

struct EthRxStatisticsRecord {
    Counter totalBytes = 0;
    Counter totalPackets = 0;
    Counter packetCRCErrors = 0;
    Counter multicastPackets = 0;
    Counter broadcastPackets = 0;
    Counter controlFrames = 0;
    Counter pauseFrames = 0;
    Counter unknownOPCode = 0;
    Counter alignmentErrors = 0;
    Counter lengthOutOfRange = 0;
    Counter codeErrors = 0;
    Counter falseCarrier = 0;
    Counter undersizePackets = 0;
    Counter oversizePackets = 0;
    Counter totalFragments = 0;
    Counter totalJabber = 0;

    static constexpr int kCount = 16;
    Counter &at(int k);
    Counter at(int k) const { return const_cast<EthRxStatisticsRecord *>(this)->at(k); }
    bool operator==(const EthRxStatisticsRecord &other) const;
};

struct EthTxStatisticsRecord {
    Counter totalBytes = 0;
    Counter totalPackets = 0;
    Counter packetCRCErrors = 0;
    Counter multicastPackets = 0;
    Counter broadcastPackets = 0;
    Counter unicastPackets = 0;
    Counter pauseFrames = 0;
    Counter singleDeferPackets = 0;
    Counter multiDeferPackets = 0;
    Counter singleCollisionPackets = 0;
    Counter multiCollisionPackets = 0;
    Counter lateCollisionPackets = 0;
    Counter excessiveCollisionPackets = 0;
    Counter totalCollisions = 0;

    static constexpr int kCount = 14;
    Counter &at(int k);
    Counter at(int k) const { return const_cast<EthTxStatisticsRecord *>(this)->at(k); }
    bool operator==(const EthTxStatisticsRecord &other) const;
};

struct ConfigurationStore {
    DeviceInfoRecord sysDeviceInfo;

    // Wireless operational group.
    Integer operChannelID = 0;
    QString operESSID;
    Integer operRTSThreshold = 0;
    Integer operFragmentationThreshold = 0;
    Integer operPreambleType = 0;        // 1 short, 2 long
    Integer operAuthenticationType = 0;  // 1 open, 2 shared key, 3 both
    QString operBasicRates;              // 8 hex digits
    Integer operAutoRateFallBack = 0;    // 1 on, 2 off

    // IP group.
    QString operIPAddress;
    QString operIPMask;
    QString operEthernetAddress;  // 12 hex digits

    // Privacy group.
    QString defaultWEPKey1;
    QString defaultWEPKey2;
    QString defaultWEPKey3;
    QString defaultWEPKey4;
    Integer privacyDefaultWEPKeyID = 0;
    Integer privacyWEPEnable = 0;  // 1 on, 2 off

    Integer sysTrapSwitch = 0;  // 1 on, 2 off

    // Bridge operational mode group.
    Integer bridgeOperationalMode = 0;  // 1 WB to WB, 2 access point, 3 wireless bridge
    QString bridgeRemoteBridgeBSSID;    // 12 hex digits

    QString TestModeRadioConfiguration;  // 28 hex digits, channel 1 first

    // Radio test parameters.
    QString testModeCR31;  // 2 hex digits
    Integer testModeAntenna = 0;
    Integer testModeTxFilter = 0;
    Integer testModeRate = 0;
    Integer testModeChannel = 0;

    // Options.
    Integer pollingInterval = 0;
    bool saveTraps = false;

    WirelessStatisticsRecord wirelessStatistics;
    EthRxStatisticsRecord EthRxStatistics;
    EthTxStatisticsRecord EthTxStatistics;

    // New device address typed in the quick-setup window before a download.
    QString pendingIPAddress;

    QString &defaultWEPKey(int index);  // 1..4
    const QString &defaultWEPKey(int index) const;
};

}  // namespace config
