// The group store routines: every field from an answer whose values all
// differ, and each check at both ends of its range; a failing field is
// stored, the later ones keep their values.

#include "config/configuration_store.h"
#include "config/group_readers.h"

#include <QtTest>

using namespace config;

namespace {

using Values = QList<QByteArray>;
using Routine = StoreVerdict (*)(const snmp::SnmpVariables &, ConfigurationStore &);

snmp::SnmpVariables answerOf(const Values &values)
{
    snmp::SnmpVariables variables;
    for (const QByteArray &value : values) {
        snmp::SnmpVariable variable;
        variable.Name = QStringLiteral("1.3.6.1.4.1.49170.0");
        variable.Value = value;
        variables.Add(variable);
    }
    return variables;
}

QByteArray b(const char *hexText) { return QByteArray::fromHex(hexText); }

// The store before every row: recognisable "before" values in every field.
void fillBefore(ConfigurationStore &s)
{
    resetStore();
    s.operChannelID = 99;
    s.operESSID = QStringLiteral("before");
    s.operRTSThreshold = 99;
    s.operFragmentationThreshold = 98;
    s.operPreambleType = 97;
    s.operAuthenticationType = 96;
    s.operBasicRates = QStringLiteral("BEFORE");
    s.operAutoRateFallBack = 95;
    s.operIPAddress = QStringLiteral("ip before");
    s.operIPMask = QStringLiteral("mask before");
    s.operEthernetAddress = QStringLiteral("MAC BEFORE");
    for (int i = 1; i <= 4; ++i)
        s.defaultWEPKey(i) = QStringLiteral("KEY%1").arg(i);
    s.privacyDefaultWEPKeyID = 94;
    s.privacyWEPEnable = 93;
    s.sysTrapSwitch = 92;
    s.bridgeOperationalMode = 91;
    s.bridgeRemoteBridgeBSSID = QStringLiteral("BSSID BEFORE");
    s.TestModeRadioConfiguration = QStringLiteral("RADIO BEFORE");
}

// Runs the group's routine; `stored` gets every field of the group afterwards.
int storeGroup(const QString &name, const Values &answer, QString &stored)
{
    ConfigurationStore &s = store();
    const auto n = [](qint64 v) { return QString::number(v); };
    const QHash<QString, std::pair<Routine, std::function<QStringList()>>> groups{
        {"wireless", {StoreWirelessOperationalConf, [&] {
             return QStringList{n(s.operChannelID), s.operESSID, n(s.operRTSThreshold), n(s.operFragmentationThreshold),
                                n(s.operPreambleType), n(s.operAuthenticationType), s.operBasicRates,
                                n(s.operAutoRateFallBack)};
         }}},
        {"ip", {StoreIPSettingsConf, [&] { return QStringList{s.operIPAddress, s.operIPMask, s.operEthernetAddress}; }}},
        {"privacy", {StorePrivacySettingsConf, [&] {
             return QStringList{s.defaultWEPKey1, s.defaultWEPKey2, s.defaultWEPKey3, s.defaultWEPKey4,
                                n(s.privacyDefaultWEPKeyID), n(s.privacyWEPEnable)};
         }}},
        {"traps", {StoreTrapsConf, [&] { return QStringList{n(s.sysTrapSwitch)}; }}},
        {"bridge", {StoreBridgeOperationalModeConf, [&] {
             return QStringList{n(s.bridgeOperationalMode), s.bridgeRemoteBridgeBSSID};
         }}},
        {"device", {StoreHardConfStruct, [&] {
             const DeviceInfoRecord &d = s.sysDeviceInfo;
             return QStringList{d.defaultMACAddress, d.manufactureName.trimmed(), n(d.manufactureName.size()),
                                n(d.regulationDomain)};
         }}},
        {"radio", {StoreRadioConfiguration, [&] { return QStringList{s.TestModeRadioConfiguration}; }}},
    };
    const auto &group = groups[name];
    const int verdict = int(group.first(answerOf(answer), s));
    stored = group.second().join(QLatin1Char('|'));
    return verdict;
}

// A wireless answer with every value different from the factory ones.
Values wireless(int position = 0, const QByteArray &value = QByteArray())
{
    Values v = {"13", "lab net", "100", "200", "1", "2", b("82840B16"), "2"};
    if (position > 0)
        v[position - 1] = value;
    return v;
}

Values privacy(int position = 0, const QByteArray &value = QByteArray())
{
    Values v = {b("0102030405"), b("1112131415"), b("2122232425"), b("3132333435"), "3", "1"};
    if (position > 0)
        v[position - 1] = value;
    return v;
}

QByteArray deviceInfo(int length)
{
    QByteArray info(92, '\x01');
    info.replace(4, 6, b("00409600A0B0"));
    info.replace(20, 32, QByteArray("Corvane Networks").leftJustified(32, ' '));
    info[10] = char(0x30);  // whatever the device says there, the console assumes FCC
    return info.left(length);
}

}  // namespace

class TestStoreRoutines : public QObject {
    Q_OBJECT
private slots:
    void groups_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<Values>("answer");
        QTest::addColumn<int>("verdict");
        QTest::addColumn<QString>("stored");
        const int ok = int(StoreVerdict::Accepted), no = int(StoreVerdict::Rejected), fail = int(StoreVerdict::Failed);
        const QString wTail = QStringLiteral("lab net|100|200|1|2|82840B16|2");
        const QString before = QStringLiteral("before|99|98|97|96|BEFORE|95");

        QTest::newRow("wireless, every field") << "wireless" << wireless() << ok << "13|" + wTail;
        QTest::newRow("channel 0") << "wireless" << wireless(1, "0") << no << "0|" + before;
        QTest::newRow("channel 1") << "wireless" << wireless(1, "1") << ok << "1|" + wTail;
        QTest::newRow("channel 14") << "wireless" << wireless(1, "14") << ok << "14|" + wTail;
        QTest::newRow("channel 15") << "wireless" << wireless(1, "15") << no << "15|" + before;
        QTest::newRow("channel not a number") << "wireless" << wireless(1, "six") << fail << "99|" + before;
        QTest::newRow("channel beyond 16 bits") << "wireless" << wireless(1, "40000") << fail << "99|" + before;
        QTest::newRow("empty ESSID") << "wireless" << wireless(2, "") << no << "13||99|98|97|96|BEFORE|95";
        QTest::newRow("RTS -1") << "wireless" << wireless(3, "-1") << no << "13|lab net|-1|98|97|96|BEFORE|95";
        QTest::newRow("RTS 0, fragmentation 2346")
            << "wireless" << Values{"13", "lab net", "0", "2346", "1", "2", b("82840B16"), "2"} << ok
            << "13|lab net|0|2346|1|2|82840B16|2";
        QTest::newRow("RTS 2347") << "wireless" << wireless(3, "2347") << no << "13|lab net|2347|98|97|96|BEFORE|95";
        QTest::newRow("fragmentation 2347") << "wireless" << wireless(4, "2347") << no
                                            << "13|lab net|100|2347|97|96|BEFORE|95";
        QTest::newRow("preamble 0") << "wireless" << wireless(5, "0") << no << "13|lab net|100|200|0|96|BEFORE|95";
        QTest::newRow("preamble 3") << "wireless" << wireless(5, "3") << no << "13|lab net|100|200|3|96|BEFORE|95";
        QTest::newRow("authentication 0") << "wireless" << wireless(6, "0") << no
                                          << "13|lab net|100|200|1|0|BEFORE|95";
        QTest::newRow("authentication 3") << "wireless" << wireless(6, "3") << ok << "13|lab net|100|200|1|3|82840B16|2";
        QTest::newRow("authentication 4") << "wireless" << wireless(6, "4") << no
                                          << "13|lab net|100|200|1|4|BEFORE|95";
        QTest::newRow("all rates") << "wireless" << wireless(7, b("82848B96")) << ok << "13|lab net|100|200|1|2|82848B96|2";
        QTest::newRow("other rate set") << "wireless" << wireless(7, b("02040B16")) << no
                                        << "13|lab net|100|200|1|2|02040B16|95";
        QTest::newRow("rates of 3 bytes") << "wireless" << wireless(7, b("82848B")) << fail
                                          << "13|lab net|100|200|1|2|BEFORE|95";
        QTest::newRow("fall-back 0") << "wireless" << wireless(8, "0") << no << "13|lab net|100|200|1|2|82840B16|0";
        QTest::newRow("fall-back 1") << "wireless" << wireless(8, "1") << ok << "13|lab net|100|200|1|2|82840B16|1";
        QTest::newRow("fall-back 3") << "wireless" << wireless(8, "3") << no << "13|lab net|100|200|1|2|82840B16|3";
        QTest::newRow("answer one value short") << "wireless" << wireless().mid(0, 7) << fail
                                                << "13|lab net|100|200|1|2|82840B16|95";

        QTest::newRow("IP, every field") << "ip" << Values{"127.0.0.2", "255.0.0.0", b("004096010203")} << ok
                                         << "127.0.0.2|255.0.0.0|004096010203";
        QTest::newRow("address of 6 characters") << "ip" << Values{"1.2.34", "255.0.0.0", b("004096010203")} << no
                                                 << "1.2.34|mask before|MAC BEFORE";
        QTest::newRow("address and mask of 7") << "ip" << Values{"1.2.3.4", "0.0.0.0", b("004096010203")} << ok
                                               << "1.2.3.4|0.0.0.0|004096010203";
        QTest::newRow("mask of 6") << "ip" << Values{"1.2.3.4", "255.00", b("004096010203")} << no
                                   << "1.2.3.4|255.00|MAC BEFORE";
        QTest::newRow("MAC of 5 bytes") << "ip" << Values{"1.2.3.4", "255.0.0.0", b("0040960102")} << fail
                                        << "1.2.3.4|255.0.0.0|MAC BEFORE";
        QTest::newRow("MAC of 7 bytes: the first 6") << "ip" << Values{"1.2.3.4", "255.0.0.0", b("00409601020304")}
                                                     << ok << "1.2.3.4|255.0.0.0|004096010203";

        const QString keys = QStringLiteral("0102030405|1112131415|2122232425|3132333435");
        QTest::newRow("privacy, every field") << "privacy" << privacy() << ok << keys + "|3|1";
        QTest::newRow("key 4 of 4 bytes") << "privacy" << privacy(4, b("31323334")) << fail
                                          << "0102030405|1112131415|2122232425|KEY4|94|93";
        QTest::newRow("key 1 of 6 bytes: the first 5") << "privacy" << privacy(1, b("A1A2A3A4A5A6")) << ok
                                                       << "A1A2A3A4A5|1112131415|2122232425|3132333435|3|1";
        QTest::newRow("key id -1") << "privacy" << privacy(5, "-1") << no << keys + "|-1|93";
        QTest::newRow("key id 0") << "privacy" << privacy(5, "0") << ok << keys + "|0|1";
        QTest::newRow("key id 4") << "privacy" << privacy(5, "4") << ok << keys + "|4|1";
        QTest::newRow("key id 5") << "privacy" << privacy(5, "5") << no << keys + "|5|93";
        QTest::newRow("WEP enable 0") << "privacy" << privacy(6, "0") << no << keys + "|3|0";
        QTest::newRow("WEP enable 2") << "privacy" << privacy(6, "2") << ok << keys + "|3|2";
        QTest::newRow("WEP enable 3") << "privacy" << privacy(6, "3") << no << keys + "|3|3";

        QTest::newRow("traps 0") << "traps" << Values{"0"} << no << "0";
        QTest::newRow("traps 1") << "traps" << Values{"1"} << ok << "1";
        QTest::newRow("traps 2") << "traps" << Values{"2"} << ok << "2";
        QTest::newRow("traps 3") << "traps" << Values{"3"} << no << "3";

        const QByteArray bssid = b("020000000009");
        QTest::newRow("mode 0") << "bridge" << Values{"0", bssid} << no << "0|BSSID BEFORE";
        QTest::newRow("WB to WB") << "bridge" << Values{"1", bssid} << ok << "1|020000000009";
        QTest::newRow("access point ignores the BSSID") << "bridge" << Values{"2", "x"} << ok << "2|BSSID BEFORE";
        QTest::newRow("access point without a BSSID") << "bridge" << Values{"2"} << ok << "2|BSSID BEFORE";
        QTest::newRow("wireless bridge") << "bridge" << Values{"3", bssid} << ok << "3|020000000009";
        QTest::newRow("mode 4") << "bridge" << Values{"4", bssid} << no << "4|BSSID BEFORE";
        QTest::newRow("WB to WB, 5-byte BSSID") << "bridge" << Values{"1", bssid.left(5)} << fail << "1|BSSID BEFORE";

        const QString identity = QStringLiteral("00409600A0B0|Corvane Networks|32|16");
        QTest::newRow("device info of 92 bytes") << "device" << Values{deviceInfo(92)} << ok << identity;
        QTest::newRow("91 bytes: decoded, refused") << "device" << Values{deviceInfo(91)} << no << identity;
        QTest::newRow("93 bytes: decoded, refused") << "device" << Values{deviceInfo(93) + "x"} << no << identity;
        QTest::newRow("too short for the MAC") << "device" << Values{deviceInfo(9)} << fail << "||0|0";

        const QByteArray radio = b("0102030405060708090A0B0C0D0E");
        QTest::newRow("radio of 14 bytes") << "radio" << Values{radio} << ok << "0102030405060708090A0B0C0D0E";
        QTest::newRow("radio of 13 bytes") << "radio" << Values{radio.left(13)} << fail << "RADIO BEFORE";
    }

    void groups()
    {
        QFETCH(QString, group);
        QFETCH(Values, answer);
        QFETCH(int, verdict);
        QFETCH(QString, stored);
        fillBefore(store());
        QString after;
        QCOMPARE(storeGroup(group, answer, after), verdict);
        QCOMPARE(after, stored);
    }

    void statistics()
    {
        // Counter k holds k * 1000003, least significant byte first; the last
        // one lies above 2^31, which a signed reading would spoil.
        QByteArray wirelessCounters;
        for (int k = 1; k <= 22; ++k) {
            const quint32 value = k == 22 ? 0x80000001u : quint32(k * 1000003);
            for (int i = 0; i < 4; ++i)
                wirelessCounters.append(char(value >> (8 * i)));
        }
        // The named fields in the device's order, written out here so that a
        // wrong mapping inside the record shows too.
        using W = WirelessStatisticsRecord;
        const Counter W::*wirelessFields[] = {
            &W::unicastPacketsTx, &W::broadcastPacketsTx, &W::multicastPacketsTx, &W::beaconTx, &W::unicastPacketsRx,
            &W::broadcastPacketsRx, &W::multicastPacketsRx, &W::beaconRx, &W::ackPacketsTx, &W::rtsPacketsTx,
            &W::ctsPacketsTx, &W::ackPacketsRx, &W::rtsPacketsRx, &W::ctsPacketsRx, &W::ackFailure, &W::ctsFailure,
            &W::retryPackets, &W::fcsError, &W::receivedDuplicate, &W::failedPackets, &W::packetsAged,
            &W::invalidPLCP};
        resetStore();
        QCOMPARE(StoreWirelessStatistics(answerOf({wirelessCounters}), store()), StoreVerdict::Accepted);
        for (int k = 1; k < 22; ++k)
            QCOMPARE(store().wirelessStatistics.*wirelessFields[k - 1], quint32(k * 1000003));
        QCOMPARE(store().wirelessStatistics.invalidPLCP, 0x80000001u);

        // A short string fails the group but keeps the counters read before.
        resetStore();
        QCOMPARE(StoreWirelessStatistics(answerOf({wirelessCounters.left(10)}), store()), StoreVerdict::Failed);
        QCOMPARE(store().wirelessStatistics.at(2), quint32(2000006));
        QCOMPARE(store().wirelessStatistics.at(3), quint32(0));

        QByteArray rx, tx;
        for (int k = 1; k <= 16; ++k)
            rx.append(char(k)).append(3, '\0');
        for (int k = 1; k <= 14; ++k)
            tx.append(char(100 + k)).append(3, '\0');
        using R = EthRxStatisticsRecord;
        const Counter R::*rxFields[] = {
            &R::totalBytes,       &R::totalPackets,   &R::packetCRCErrors, &R::multicastPackets,
            &R::broadcastPackets, &R::controlFrames,  &R::pauseFrames,     &R::unknownOPCode,
            &R::alignmentErrors,  &R::lengthOutOfRange, &R::codeErrors,    &R::falseCarrier,
            &R::undersizePackets, &R::oversizePackets, &R::totalFragments, &R::totalJabber};
        using T = EthTxStatisticsRecord;
        const Counter T::*txFields[] = {
            &T::totalBytes,          &T::totalPackets,           &T::packetCRCErrors,      &T::multicastPackets,
            &T::broadcastPackets,    &T::unicastPackets,         &T::pauseFrames,          &T::singleDeferPackets,
            &T::multiDeferPackets,   &T::singleCollisionPackets, &T::multiCollisionPackets, &T::lateCollisionPackets,
            &T::excessiveCollisionPackets, &T::totalCollisions};
        QCOMPARE(StoreEthernetStatistics(answerOf({rx, tx}), store()), StoreVerdict::Accepted);
        for (int k = 1; k <= 16; ++k)
            QCOMPARE(store().EthRxStatistics.*rxFields[k - 1], quint32(k));
        for (int k = 1; k <= 14; ++k)
            QCOMPARE(store().EthTxStatistics.*txFields[k - 1], quint32(100 + k));
        QCOMPARE(StoreEthernetStatistics(answerOf({rx}), store()), StoreVerdict::Failed);
    }
};

QTEST_GUILESS_MAIN(TestStoreRoutines)
#include "test_store_routines.moc"
