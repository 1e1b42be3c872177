// Decoding a group's answer as the object description says: every field
// from an answer whose values all differ, each check at the ends of its
// range, and which object ends a refused or failed read.

#include "config/device_objects.h"

#include <QtTest>

using namespace config;
using snmp::Value;

namespace {

using Values = QVector<Value>;

Value b(const char *hexText) { return Value::octets(QByteArray::fromHex(hexText)); }
Value n(int number) { return Value::integer(number); }
Value t(const char *text) { return Value::octets(text); }

// Every field of the group as one line, to compare an accepted read.
QString fieldsOf(Group group, const ConfigurationStore &s)
{
    const auto num = [](qint64 v) { return QString::number(v); };
    switch (group) {
    case Group::WirelessOperational:
        return QStringList{num(s.operChannelID), s.operESSID, num(s.operRTSThreshold), num(s.operFragmentationThreshold),
                           num(s.operPreambleType), num(s.operAuthenticationType), s.operBasicRates,
                           num(s.operAutoRateFallBack)}
            .join('|');
    case Group::IPSettings: return QStringList{s.operIPAddress, s.operIPMask, s.operEthernetAddress}.join('|');
    case Group::Privacy:
        return QStringList{s.defaultWEPKey1, s.defaultWEPKey2, s.defaultWEPKey3, s.defaultWEPKey4,
                           num(s.privacyDefaultWEPKeyID), num(s.privacyWEPEnable)}
            .join('|');
    case Group::Traps: return num(s.sysTrapSwitch);
    case Group::BridgeOperationalMode: return num(s.bridgeOperationalMode) + '|' + s.bridgeRemoteBridgeBSSID;
    case Group::HardConf: {
        const DeviceInfoRecord &d = s.sysDeviceInfo;
        return QStringList{d.defaultMACAddress, d.manufactureName.trimmed(), num(d.manufactureName.size()),
                           num(d.regulationDomain)}
            .join('|');
    }
    case Group::RadioConfiguration: return s.TestModeRadioConfiguration;
    default: return QString();
    }
}

Values wireless(int position = 0, const Value &value = Value())
{
    Values v = {n(13), t("lab net"), n(100), n(200), n(1), n(2), b("82840B16"), n(2)};
    if (position > 0)
        v[position - 1] = value;
    return v;
}

Values privacy(int position = 0, const Value &value = Value())
{
    Values v = {b("0102030405"), b("1112131415"), b("2122232425"), b("3132333435"), n(3), n(1)};
    if (position > 0)
        v[position - 1] = value;
    return v;
}

Value deviceInfo(int length)
{
    QByteArray info(92, '\x01');
    info.replace(4, 6, QByteArray::fromHex("00409600A0B0"));
    info.replace(20, 32, QByteArray("Corvane Networks").leftJustified(32, ' '));
    info[10] = char(0x30);  // whatever the device says there, the console assumes FCC
    return Value::octets(info.left(length));
}

QByteArray counters(int count, quint32 (*valueOf)(int k))
{
    QByteArray bytes;
    for (int k = 1; k <= count; ++k) {
        const quint32 value = valueOf(k);
        for (int i = 0; i < 4; ++i)
            bytes.append(char(value >> (8 * i)));  // least significant first
    }
    return bytes;
}

}  // namespace

Q_DECLARE_METATYPE(Group)

class TestDeviceObjects : public QObject {
    Q_OBJECT
private slots:
    void decode_data()
    {
        QTest::addColumn<Group>("group");
        QTest::addColumn<Values>("answer");
        QTest::addColumn<int>("verdict");
        QTest::addColumn<QString>("result");  // the fields when accepted, else the object that ended the read
        const int ok = int(StoreVerdict::Accepted), no = int(StoreVerdict::Rejected), fail = int(StoreVerdict::Failed);
        const Group w = Group::WirelessOperational;

        QTest::newRow("wireless, every field") << w << wireless() << ok << "13|lab net|100|200|1|2|82840B16|2";
        QTest::newRow("channel 0") << w << wireless(1, n(0)) << no << "operChannelID";
        QTest::newRow("channel 14") << w << wireless(1, n(14)) << ok << "14|lab net|100|200|1|2|82840B16|2";
        QTest::newRow("channel 15") << w << wireless(1, n(15)) << no << "operChannelID";
        QTest::newRow("channel not a number") << w << wireless(1, t("six")) << fail << "operChannelID";
        QTest::newRow("channel as digits in an octet string") << w << wireless(1, t(" 7")) << ok
                                                              << "7|lab net|100|200|1|2|82840B16|2";
        QTest::newRow("channel beyond 16 bits") << w << wireless(1, n(40000)) << fail << "operChannelID";
        QTest::newRow("empty ESSID") << w << wireless(2, t("")) << no << "operESSID";
        QTest::newRow("RTS 0, fragmentation 2346")
            << w << Values{n(13), t("lab net"), n(0), n(2346), n(1), n(2), b("82840B16"), n(2)} << ok
            << "13|lab net|0|2346|1|2|82840B16|2";
        QTest::newRow("RTS 2347") << w << wireless(3, n(2347)) << no << "operRTSThreshold";
        QTest::newRow("fragmentation 2347") << w << wireless(4, n(2347)) << no << "operFragmentationThreshold";
        QTest::newRow("preamble 3") << w << wireless(5, n(3)) << no << "operPreambleType";
        QTest::newRow("other rate set") << w << wireless(7, b("02040B16")) << no << "operBasicRates";
        QTest::newRow("rates of 3 bytes") << w << wireless(7, b("82848B")) << fail << "operBasicRates";
        QTest::newRow("answer one value short") << w << wireless().mid(0, 7) << fail << "operAutoRateFallBack";

        const Group ip = Group::IPSettings;
        const Value address = Value::ipAddress(QByteArray::fromHex("7F000002"));
        QTest::newRow("IP, every field") << ip << Values{address, Value::ipAddress(QByteArray::fromHex("FF000000")),
                                                         b("004096010203")}
                                         << ok << "127.0.0.2|255.0.0.0|004096010203";
        QTest::newRow("address of 6 characters") << ip << Values{t("1.2.34"), t("255.0.0.0"), b("004096010203")}
                                                 << no << "operIPAddress";
        QTest::newRow("MAC of 5 bytes") << ip << Values{address, address, b("0040960102")} << fail
                                        << "operEthernetAddress";
        QTest::newRow("MAC of 7 bytes: the first 6") << ip << Values{address, t("0.0.0.0"), b("00409601020304")} << ok
                                                     << "127.0.0.2|0.0.0.0|004096010203";

        const Group p = Group::Privacy;
        const QString keys = QStringLiteral("0102030405|1112131415|2122232425|3132333435");
        QTest::newRow("privacy, every field") << p << privacy() << ok << keys + "|3|1";
        QTest::newRow("key 4 of 4 bytes") << p << privacy(4, b("31323334")) << fail << "defaultWEPKey4";
        QTest::newRow("key 1 of 6 bytes: the first 5") << p << privacy(1, b("A1A2A3A4A5A6")) << ok
                                                       << "A1A2A3A4A5|1112131415|2122232425|3132333435|3|1";
        QTest::newRow("key id 0") << p << privacy(5, n(0)) << ok << keys + "|0|1";
        QTest::newRow("key id 5") << p << privacy(5, n(5)) << no << "privacyDefaultWEPKeyID";
        QTest::newRow("WEP enable 3") << p << privacy(6, n(3)) << no << "privacyWEPEnable";

        QTest::newRow("traps 0") << Group::Traps << Values{n(0)} << no << "sysTrapSwitch";
        QTest::newRow("traps 2") << Group::Traps << Values{n(2)} << ok << "2";

        const Group bridge = Group::BridgeOperationalMode;
        const Value bssid = b("020000000009");
        QTest::newRow("mode 0") << bridge << Values{n(0), bssid} << no << "bridgeOperationalMode";
        QTest::newRow("WB to WB") << bridge << Values{n(1), bssid} << ok << "1|020000000009";
        QTest::newRow("access point without a BSSID") << bridge << Values{n(2)} << ok << "2|";
        QTest::newRow("wireless bridge, 5-byte BSSID") << bridge << Values{n(3), b("0200000000")} << fail
                                                       << "bridgeRemoteBridgeBSSID";

        const Group device = Group::HardConf;
        QTest::newRow("device info of 92 bytes") << device << Values{deviceInfo(92)} << ok
                                                 << "00409600A0B0|Corvane Networks|32|16";
        QTest::newRow("device info of 91 bytes") << device << Values{deviceInfo(91)} << no << "sysDeviceInfo";
        QTest::newRow("too short for the MAC") << device << Values{deviceInfo(9)} << fail << "sysDeviceInfo";

        const Value radio = b("0102030405060708090A0B0C0D0E");
        QTest::newRow("radio of 14 bytes") << Group::RadioConfiguration << Values{radio} << ok
                                           << "0102030405060708090A0B0C0D0E";
        QTest::newRow("radio of 13 bytes") << Group::RadioConfiguration << Values{b("0102030405060708090A0B0C0D")}
                                           << fail << "TestModeRadioConfiguration";
    }

    void decode()
    {
        QFETCH(Group, group);
        QFETCH(Values, answer);
        QFETCH(int, verdict);
        QFETCH(QString, result);
        ConfigurationStore store;
        const Decoded decoded = decodeGroup(group, answer, store);
        QCOMPARE(int(decoded.verdict), verdict);
        if (decoded.verdict == StoreVerdict::Accepted)
            QCOMPARE(fieldsOf(group, store), result);
        else
            QCOMPARE(decoded.object ? decoded.object->name : QString(), result);
    }

    void statistics()
    {
        // The last wireless counter lies above 2^31, which a signed reading
        // would spoil; the named fields are written out here so that a
        // wrong mapping inside a record shows too.
        const QByteArray wirelessBytes = counters(22, [](int k) { return k == 22 ? 0x80000001u : quint32(k * 1000003); });
        ConfigurationStore s;
        QCOMPARE(decodeGroup(Group::WirelessStatistics, {Value::octets(wirelessBytes)}, s).verdict,
                 StoreVerdict::Accepted);
        const WirelessStatisticsRecord &w = s.wirelessStatistics;
        QCOMPARE((QVector<quint32>{w.unicastPacketsTx, w.beaconRx, w.ackPacketsTx, w.ctsFailure, w.packetsAged,
                                   w.invalidPLCP}),
                 (QVector<quint32>{1000003, 8000024, 9000027, 16000048, 21000063, 0x80000001u}));
        QCOMPARE(decodeGroup(Group::WirelessStatistics, {Value::octets(wirelessBytes.left(87))}, s).verdict,
                 StoreVerdict::Failed);

        const Value rx = Value::octets(counters(16, [](int k) { return quint32(k); }));
        const Value tx = Value::octets(counters(14, [](int k) { return quint32(100 + k); }));
        QCOMPARE(decodeGroup(Group::EthernetStatistics, {rx, tx}, s).verdict, StoreVerdict::Accepted);
        QCOMPARE((QVector<quint32>{s.EthRxStatistics.totalBytes, s.EthRxStatistics.controlFrames,
                                   s.EthRxStatistics.totalJabber, s.EthTxStatistics.totalBytes,
                                   s.EthTxStatistics.unicastPackets, s.EthTxStatistics.totalCollisions}),
                 (QVector<quint32>{1, 6, 16, 101, 106, 114}));
        QCOMPARE(decodeGroup(Group::EthernetStatistics, {rx}, s).object->name, QStringLiteral("EthTxStatistics"));
    }

    // Each field has its command-line name, and the names are those a
    // script uses.
    void fieldNames()
    {
        QStringList fields;
        for (const DeviceObject &object : deviceObjects()) {
            if (!object.field.isEmpty() && object.writable())
                fields << object.field;
        }
        QCOMPARE(fields, (QStringList{"traps", "channel", "essid", "rts-threshold", "fragmentation-threshold",
                                      "preamble", "authentication", "basic-rates", "auto-rate-fallback", "ip-address",
                                      "ip-mask", "ethernet-address", "wep-key1", "wep-key2", "wep-key3", "wep-key4",
                                      "wep-key-id", "wep", "bridge-mode", "bssid", "radio-configuration"}));
        QCOMPARE(objectWithField(QStringLiteral("rts-threshold"))->name, QStringLiteral("operRTSThreshold"));
    }
};

QTEST_GUILESS_MAIN(TestDeviceObjects)
#include "test_device_objects.moc"
