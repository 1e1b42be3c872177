#include "config/configuration_store.h"
#include "config/group_readers.h"

#include <QtTest>

using namespace config;

namespace {

snmp::SnmpVariables answerOf(const QList<QByteArray> &values)
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

// A device answer that every routine accepts, position by position.
QList<QByteArray> goodWireless()
{
    return {"6", "corvane", "2346", "2346", "2", "3", QByteArray("\x82\x84\x8B\x96", 4), "1"};
}

}  // namespace

class TestStoreRoutines : public QObject {
    Q_OBJECT
private slots:
    void init() { resetStore(); }

    void wirelessOperational_data();
    void wirelessOperational();
    void failedCheckKeepsLaterFields();
    void ipSettings_data();
    void ipSettings();
    void privacy_data();
    void privacy();
    void trapsAndBridge_data();
    void trapsAndBridge();
    void deviceInfo_data();
    void deviceInfo();
    void statistics();
};

void TestStoreRoutines::wirelessOperational_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("verdict");
    QTest::newRow("all good") << 0 << QByteArray() << int(StoreVerdict::Accepted);
    QTest::newRow("channel 15") << 1 << QByteArray("15") << int(StoreVerdict::Rejected);
    QTest::newRow("channel not a number") << 1 << QByteArray("six") << int(StoreVerdict::Failed);
    QTest::newRow("channel beyond 16 bits") << 1 << QByteArray("40000") << int(StoreVerdict::Failed);
    QTest::newRow("empty ESSID") << 2 << QByteArray() << int(StoreVerdict::Rejected);
    QTest::newRow("RTS 2347") << 3 << QByteArray("2347") << int(StoreVerdict::Rejected);
    QTest::newRow("fragmentation -1") << 4 << QByteArray("-1") << int(StoreVerdict::Rejected);
    QTest::newRow("preamble 0") << 5 << QByteArray("0") << int(StoreVerdict::Rejected);
    QTest::newRow("authentication 4") << 6 << QByteArray("4") << int(StoreVerdict::Rejected);
    QTest::newRow("other rate set") << 7 << QByteArray("\x02\x04\x0B\x16", 4) << int(StoreVerdict::Rejected);
    QTest::newRow("low rate set") << 7 << QByteArray("\x82\x84\x0B\x16", 4) << int(StoreVerdict::Accepted);
    QTest::newRow("rates too short") << 7 << QByteArray("\x82\x84\x8B", 3) << int(StoreVerdict::Failed);
}

void TestStoreRoutines::wirelessOperational()
{
    QFETCH(int, position);
    QFETCH(QByteArray, value);
    QFETCH(int, verdict);
    QList<QByteArray> values = goodWireless();
    if (position > 0)
        values[position - 1] = value;
    QCOMPARE(int(StoreWirelessOperationalConf(answerOf(values), store())), verdict);
}

void TestStoreRoutines::failedCheckKeepsLaterFields()
{
    // The failing field is stored, the fields after it keep their values.
    store().operESSID = QStringLiteral("before");
    store().operBasicRates = QStringLiteral("82840B16");
    QList<QByteArray> values = goodWireless();
    values[0] = "15";
    QCOMPARE(StoreWirelessOperationalConf(answerOf(values), store()), StoreVerdict::Rejected);
    QCOMPARE(store().operChannelID, qint16(15));
    QCOMPARE(store().operESSID, QStringLiteral("before"));
    QCOMPARE(store().operBasicRates, QStringLiteral("82840B16"));

    values = goodWireless();
    values[6] = QByteArray("\x02\x04\x0B\x16", 4);
    QCOMPARE(StoreWirelessOperationalConf(answerOf(values), store()), StoreVerdict::Rejected);
    QCOMPARE(store().operBasicRates, QStringLiteral("02040B16"));
    QCOMPARE(store().operESSID, QStringLiteral("corvane"));

    // An answer with fewer variables than asked for is a failure.
    QCOMPARE(StoreWirelessOperationalConf(answerOf(goodWireless().mid(0, 7)), store()), StoreVerdict::Failed);
}

void TestStoreRoutines::ipSettings_data()
{
    QTest::addColumn<QList<QByteArray>>("values");
    QTest::addColumn<int>("verdict");
    const QByteArray mac("\x00\x40\x96\x01\x02\x03", 6);
    QTest::newRow("good") << QList<QByteArray>{"127.0.0.2", "255.0.0.0", mac} << int(StoreVerdict::Accepted);
    QTest::newRow("address too short") << QList<QByteArray>{"1.2.3", "255.0.0.0", mac} << int(StoreVerdict::Rejected);
    QTest::newRow("mask too short") << QList<QByteArray>{"1.2.3.4", "255.0", mac} << int(StoreVerdict::Rejected);
    QTest::newRow("MAC of 5 bytes") << QList<QByteArray>{"1.2.3.4", "255.0.0.0", mac.left(5)}
                                    << int(StoreVerdict::Failed);
}

void TestStoreRoutines::ipSettings()
{
    QFETCH(QList<QByteArray>, values);
    QFETCH(int, verdict);
    QCOMPARE(int(StoreIPSettingsConf(answerOf(values), store())), verdict);
    if (verdict == int(StoreVerdict::Accepted))
        QCOMPARE(store().operEthernetAddress, QStringLiteral("004096010203"));
}

void TestStoreRoutines::privacy_data()
{
    QTest::addColumn<QList<QByteArray>>("values");
    QTest::addColumn<int>("verdict");
    const QByteArray key("\x01\x02\x03\x04\xFF", 5);
    QTest::newRow("key id 0") << QList<QByteArray>{key, key, key, key, "0", "1"} << int(StoreVerdict::Accepted);
    QTest::newRow("key id 4") << QList<QByteArray>{key, key, key, key, "4", "2"} << int(StoreVerdict::Accepted);
    QTest::newRow("key id 5") << QList<QByteArray>{key, key, key, key, "5", "2"} << int(StoreVerdict::Rejected);
    QTest::newRow("WEP enable 0") << QList<QByteArray>{key, key, key, key, "1", "0"} << int(StoreVerdict::Rejected);
    QTest::newRow("key of 4 bytes") << QList<QByteArray>{key, key.left(4), key, key, "1", "1"}
                                    << int(StoreVerdict::Failed);
}

void TestStoreRoutines::privacy()
{
    QFETCH(QList<QByteArray>, values);
    QFETCH(int, verdict);
    QCOMPARE(int(StorePrivacySettingsConf(answerOf(values), store())), verdict);
    QCOMPARE(store().defaultWEPKey1, QStringLiteral("01020304FF"));
}

void TestStoreRoutines::trapsAndBridge_data()
{
    QTest::addColumn<QString>("routine");
    QTest::addColumn<QList<QByteArray>>("values");
    QTest::addColumn<int>("verdict");
    QTest::addColumn<QString>("bssid");
    const QByteArray bssid("\x02\x00\x00\x00\x00\x09", 6);
    QTest::newRow("traps on") << "traps" << QList<QByteArray>{"1"} << int(StoreVerdict::Accepted) << "kept";
    QTest::newRow("traps 0") << "traps" << QList<QByteArray>{"0"} << int(StoreVerdict::Rejected) << "kept";
    QTest::newRow("AP mode ignores the BSSID") << "bridge" << QList<QByteArray>{"2", "x"} << int(StoreVerdict::Accepted)
                                             << "kept";
    QTest::newRow("AP mode without a BSSID") << "bridge" << QList<QByteArray>{"2"} << int(StoreVerdict::Accepted)
                                           << "kept";
    QTest::newRow("bridge mode") << "bridge" << QList<QByteArray>{"3", bssid} << int(StoreVerdict::Accepted)
                                 << "020000000009";
    QTest::newRow("WB to WB, 5-byte BSSID") << "bridge" << QList<QByteArray>{"1", bssid.left(5)}
                                            << int(StoreVerdict::Failed) << "kept";
    QTest::newRow("mode 4") << "bridge" << QList<QByteArray>{"4", bssid} << int(StoreVerdict::Rejected) << "kept";
}

void TestStoreRoutines::trapsAndBridge()
{
    QFETCH(QString, routine);
    QFETCH(QList<QByteArray>, values);
    QFETCH(int, verdict);
    QFETCH(QString, bssid);
    store().bridgeRemoteBridgeBSSID = QStringLiteral("kept");
    const auto store_ = routine == "traps" ? StoreTrapsConf : StoreBridgeOperationalModeConf;
    QCOMPARE(int(store_(answerOf(values), store())), verdict);
    QCOMPARE(store().bridgeRemoteBridgeBSSID, bssid);
}

void TestStoreRoutines::deviceInfo_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("verdict");
    QTest::addColumn<QString>("mac");
    QTest::newRow("92 bytes") << 92 << int(StoreVerdict::Accepted) << "0040960A0B0C";
    QTest::newRow("91 bytes still decoded") << 91 << int(StoreVerdict::Rejected) << "0040960A0B0C";
    QTest::newRow("too short for the MAC") << 9 << int(StoreVerdict::Failed) << "";
}

void TestStoreRoutines::deviceInfo()
{
    QFETCH(int, length);
    QFETCH(int, verdict);
    QFETCH(QString, mac);
    QByteArray info(92, '\0');
    info.replace(4, 6, QByteArray("\x00\x40\x96\x0A\x0B\x0C", 6));
    info.replace(20, 32, QByteArray("Corvane Networks").leftJustified(32, ' '));
    info[10] = char(0x30);  // whatever the device says, the console assumes FCC
    QCOMPARE(int(StoreHardConfStruct(answerOf({info.left(length)}), store())), verdict);
    QCOMPARE(store().sysDeviceInfo.defaultMACAddress, mac);
    if (!mac.isEmpty()) {
        QCOMPARE(store().sysDeviceInfo.regulationDomain, qint16(16));
        QCOMPARE(store().sysDeviceInfo.manufactureName.size(), 32);
        QVERIFY(store().sysDeviceInfo.manufactureName.startsWith("Corvane Networks  "));
    }
}

void TestStoreRoutines::statistics()
{
    QByteArray wireless;
    for (int k = 1; k <= 22; ++k)
        wireless.append(QByteArray::fromHex(QByteArray::number(k * 1000003, 16).rightJustified(8, '0')));
    // Counters travel least significant byte first.
    for (int k = 0; k < 22; ++k)
        std::reverse(wireless.begin() + 4 * k, wireless.begin() + 4 * k + 4);
    QCOMPARE(StoreWirelessStatistics(answerOf({wireless}), store()), StoreVerdict::Accepted);
    QCOMPARE(store().wirelessStatistics.unicastPacketsTx, quint32(1000003));
    QCOMPARE(store().wirelessStatistics.invalidPLCP, quint32(22 * 1000003));

    // A short string fails the group but keeps the counters read before.
    resetStore();
    QCOMPARE(StoreWirelessStatistics(answerOf({wireless.left(10)}), store()), StoreVerdict::Failed);
    QCOMPARE(store().wirelessStatistics.unicastPacketsTx, quint32(1000003));
    QCOMPARE(store().wirelessStatistics.multicastPacketsTx, quint32(0));

    QByteArray rx(64, '\xFF'), tx(56, '\0');
    tx[52] = 5;  // last counter, totalCollisions
    QCOMPARE(StoreEthernetStatistics(answerOf({rx, tx}), store()), StoreVerdict::Accepted);
    QCOMPARE(store().EthRxStatistics.totalJabber, quint32(0xFFFFFFFF));
    QCOMPARE(store().EthTxStatistics.totalCollisions, quint32(5));
    QCOMPARE(StoreEthernetStatistics(answerOf({rx}), store()), StoreVerdict::Failed);
}

QTEST_GUILESS_MAIN(TestStoreRoutines)
#include "test_store_routines.moc"
