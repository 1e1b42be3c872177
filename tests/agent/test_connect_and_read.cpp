// Connecting, discovery and the full configuration read, end to end over
// the loopback interface against the simulated access point.

#include "session_fixture.h"

#include <QUdpSocket>

using snmp::Value;

namespace {
const QString kAttempting = QStringLiteral("Attempting to connect TARVO Wireless Network...");
const QString kFound = QStringLiteral("TARVO Wireless Network found ...");
const QString kReading = QStringLiteral("Reading configuration...");
const QString kAllRetrieved = QStringLiteral("All values retrieved.");
const QString kNotFound = QStringLiteral("TARVO Wireless Network not found...");
}  // namespace

class TestConnectAndRead : public QObject {
    Q_OBJECT
private slots:
    void fullReadOfAHealthyDevice();
    void eachGroupAsksForItsObjectsInOrder();
    void silentDeviceInfoGivesSixQuietPasses();
    void badValueShowsItsTextOnlyOnTheLastPass_data();
    void badValueShowsItsTextOnlyOnTheLastPass();
    void firmwareVersionText_data();
    void firmwareVersionText();
    void silentAddressGetsSixProbes();
    void sendErrorEndsTheAttempt();
    void errorStatusIsNotAnAnswer();
    void scanTakesTheFirstResponder();
    void duplicatesNeverStartASecondPass();
    void largeCountersAreKept();
    void missingMibLetsRequestsFail();
};

void TestConnectAndRead::fullReadOfAHealthyDevice()
{
    SessionFixture f;
    QCOMPARE(f.statuses, QStringList{QStringLiteral("Manager opened successfully.")});
    QVERIFY(!f.session->Connected);
    QSignalSpy enabled(f.session.get(), &agent::DeviceSession::deviceCommandsEnabledChanged);
    QSignalSpy trapMark(f.session.get(), &agent::DeviceSession::trapSwitchCheckedChanged);
    QVERIFY(f.connectAndRead());
    QCOMPARE(f.statuses.mid(1), (QStringList{kAttempting, kFound, kReading, kAllRetrieved}));
    QCOMPARE(enabled.count(), 1);
    QCOMPARE(enabled[0][0].toBool(), true);
    QCOMPARE(trapMark.count(), 1);
    QCOMPARE(trapMark[0][0].toBool(), true);
    QVERIFY(!f.session->Timer2.isActive());
    QCOMPARE(f.session->AgentAddress, QStringLiteral("127.0.0.1"));
    QVERIFY(f.session->UserConfirmed);

    const config::ConfigurationStore &s = config::store();
    QCOMPARE(s.operChannelID, qint16(6));
    QCOMPARE(s.operESSID, QStringLiteral("corvane"));
    QCOMPARE(s.operBasicRates, QStringLiteral("82848B96"));
    QCOMPARE(s.operRTSThreshold, qint16(2346));
    QCOMPARE(s.operPreambleType, qint16(2));
    QCOMPARE(s.operIPAddress, QStringLiteral("127.0.0.1"));  // a device on loopback reports where it listens
    QCOMPARE(s.sysDeviceInfo.regulationDomain, qint16(16));
    QCOMPARE(s.sysDeviceInfo.defaultMACAddress.size(), 12);
    QCOMPARE(s.sysDeviceInfo.manufactureName.size(), 32);
    QCOMPARE(s.sysTrapSwitch, qint16(1));
    QVERIFY(s.saveTraps);

    // One request id after the other, starting from the first.
    const QVector<snmp::Message> requests = f.ap.receivedRequests();
    QCOMPARE(requests.size(), 9);
    for (int i = 0; i < requests.size(); ++i)
        QCOMPARE(requests[i].pdu.requestId, qint32(i));
    QCOMPARE(f.session->RequestCounter, qint32(9));
    QCOMPARE(requests[0].community, QByteArray("kavrel"));
}

void TestConnectAndRead::eachGroupAsksForItsObjectsInOrder()
{
    SessionFixture f;
    QVERIFY(f.connectAndRead());
    const QList<QStringList> expected = {
        {"sysDescr"},
        {"sysDeviceInfo"},
        {"operChannelID", "operESSID", "operRTSThreshold", "operFragmentationThreshold", "operPreambleType",
         "operAuthenticationType", "operBasicRates", "operAutoRateFallBack"},
        {"operIPAddress", "operIPMask", "operEthernetAddress"},
        {"defaultWEPKey1", "defaultWEPKey2", "defaultWEPKey3", "defaultWEPKey4", "privacyDefaultWEPKeyID",
         "privacyWEPEnable"},
        {"sysTrapSwitch"},
        {"bridgeOperationalMode", "bridgeRemoteBridgeBSSID"},
        {"wirelessStatistics"},
        {"EthRxStatistics", "EthTxStatistics"},
    };
    const QVector<snmp::Message> requests = f.ap.receivedRequests();
    QCOMPARE(requests.size(), expected.size());
    for (int i = 0; i < requests.size(); ++i) {
        QCOMPARE(requests[i].pdu.type, snmp::PduType::GetRequest);
        QCOMPARE(f.namesOf(requests[i]), expected[i]);
    }
}

void TestConnectAndRead::silentDeviceInfoGivesSixQuietPasses()
{
    SessionFixture f;
    f.ap.faults.silentObjects.insert(QStringLiteral("sysDeviceInfo"));
    f.session->confirmConnect(QStringLiteral("127.0.0.1"), QStringLiteral("kavrel"));
    QTRY_VERIFY_WITH_TIMEOUT(f.session->ReadAttempt == 5 && !f.session->Timer2.isActive(), 12000);
    QCOMPARE(f.requestsNaming(QStringLiteral("sysDeviceInfo")).size(), 6);
    QCOMPARE(f.session->ReadAttempt, qint16(5));
    QCOMPARE(f.session->statusText(), kReading);
    QVERIFY(!f.session->Connected);
    QCOMPARE(f.statuses.count(kReading), 6);
}

void TestConnectAndRead::badValueShowsItsTextOnlyOnTheLastPass_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<Value>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("traps 0") << "sysTrapSwitch" << Value::integer(0)
                             << "Network Error-Not expected Traps values.Try connect again.";
    QTest::newRow("channel 15") << "operChannelID" << Value::integer(15)
                                << "Network Error-Not expected Wireless Operational values.Try connect again.";
    QTest::newRow("WEP key of 4 bytes") << "defaultWEPKey3" << Value::octets(QByteArray(4, '\x11'))
                                        << "Network Error4-Not all values retrieved.";
    QTest::newRow("mode 1, short BSSID") << "bridgeRemoteBridgeBSSID" << Value::octets(QByteArray(5, '\x22'))
                                         << "Network Error7-Not all values retrieved.";
    QTest::newRow("short statistics") << "EthTxStatistics" << Value::octets(QByteArray(55, '\x01'))
                                      << "Network Error10-Not all values retrieved.";
}

void TestConnectAndRead::badValueShowsItsTextOnlyOnTheLastPass()
{
    QFETCH(QString, object);
    QFETCH(Value, value);
    QFETCH(QString, text);
    SessionFixture f;
    f.ap.setValue(object, value);
    if (object == QLatin1String("bridgeRemoteBridgeBSSID"))
        f.ap.setValue(QStringLiteral("bridgeOperationalMode"), Value::integer(1));
    f.session->confirmConnect(QStringLiteral("127.0.0.1"), QStringLiteral("kavrel"));
    QTRY_VERIFY_WITH_TIMEOUT(f.session->ReadAttempt == 5 && !f.session->Timer2.isActive(), 5000);
    QCOMPARE(f.statuses.count(kReading), 6);
    QCOMPARE(f.statuses.count(text), 1);
    QCOMPARE(f.statuses.last(), text);
    QVERIFY(!f.session->Connected);
}

void TestConnectAndRead::firmwareVersionText_data()
{
    QTest::addColumn<QByteArray>("description");
    QTest::addColumn<QString>("firmware");
    QTest::newRow("five characters dropped") << QByteArray("ABCDE Wireless AP v1.2") << "Corvane Wireless AP v1.2";
    QTest::newRow("five or fewer") << QByteArray("ABCDE") << "Corvane";
    QTest::newRow("thirty characters kept")
        << QByteArray("ABCDE123456789012345678901234567890XYZ") << "Corvane123456789012345678901234567890";
}

void TestConnectAndRead::firmwareVersionText()
{
    QFETCH(QByteArray, description);
    QFETCH(QString, firmware);
    SessionFixture f;
    f.ap.setValue(QStringLiteral("sysDescr"), Value::octets(description));
    QVERIFY(f.connectAndRead());
    QCOMPARE(f.session->FirmwareVersionText, firmware);
}

void TestConnectAndRead::silentAddressGetsSixProbes()
{
    SessionFixture f;
    f.ap.faults.silent = true;
    QSignalSpy cursor(f.session.get(), &agent::DeviceSession::busyCursorChanged);
    f.session->confirmConnect(QStringLiteral("127.0.0.1"), QStringLiteral("kavrel"));
    QTRY_COMPARE_WITH_TIMEOUT(f.session->statusText(), kNotFound, 10000);
    QCOMPARE(f.arrivals.size(), 6);
    for (int i = 1; i < f.arrivals.size(); ++i) {
        const qint64 gap = f.arrivals[i] - f.arrivals[i - 1];
        QVERIFY2(gap >= 1100 && gap <= 1500, qPrintable(QStringLiteral("gap %1 ms").arg(gap)));
    }
    QCOMPARE(cursor.count(), 2);
    QCOMPARE(cursor.last()[0].toBool(), false);
    QVERIFY(!f.session->Timer1.isActive());
    QTest::qWait(1500);
    QCOMPARE(f.arrivals.size(), 6);
}

void TestConnectAndRead::sendErrorEndsTheAttempt()
{
    SessionFixture f;
    f.session->confirmConnect(QStringLiteral("not an address"), QStringLiteral("kavrel"));
    QVERIFY(!f.session->ConnectPending);
    QTRY_COMPARE_WITH_TIMEOUT(f.session->statusText(), kNotFound, 3000);
    QCOMPARE(f.ap.receivedRequests().size(), 0);
    QCOMPARE(f.statuses.count(kAttempting), 1);
}

void TestConnectAndRead::errorStatusIsNotAnAnswer()
{
    SessionFixture f;
    f.ap.faults.errorStatus = 5;
    f.session->confirmConnect(QStringLiteral("127.0.0.1"), QStringLiteral("kavrel"));
    QTRY_COMPARE_WITH_TIMEOUT(f.session->statusText(), kNotFound, 10000);
    QVERIFY(!f.session->AgentFound);
    QCOMPARE(f.ap.receivedRequests().size(), 6);
}

void TestConnectAndRead::scanTakesTheFirstResponder()
{
    SessionFixture f;
    QSignalSpy closeDialog(f.session.get(), &agent::DeviceSession::connectDialogCloseRequested);
    // A second "device" answers every probe too, a little later.
    QUdpSocket second;
    QVERIFY(second.bind(QHostAddress(QStringLiteral("127.0.0.2")), 0));
    QObject::connect(&f.ap, &sim::SimulatedAccessPoint::requestReceived, &second, [&](const snmp::Message &request) {
        if (f.namesOf(request) != QStringList{QStringLiteral("sysDescr")})
            return;
        snmp::Message answer = request;
        answer.pdu.type = snmp::PduType::GetResponse;
        answer.pdu.varBinds[0].value = Value::octets("Other device, somewhere else");
        const QByteArray bytes = snmp::encodeMessage(answer);
        QTimer::singleShot(20, &second, [&second, bytes, &f] {
            second.writeDatagram(bytes, QHostAddress::LocalHost, f.session->Manager1.LocalPort());
        });
    });
    f.session->startScan();
    QTRY_VERIFY_WITH_TIMEOUT(f.session->Connected, 5000);
    QCOMPARE(closeDialog.count(), 1);
    QTest::qWait(100);
    QCOMPARE(f.session->AgentAddress, QStringLiteral("127.0.0.1"));
    QCOMPARE(f.session->FirmwareVersionText, QString());  // only a connect sets it
    QCOMPARE(f.statuses.count(kFound), 1);
    QCOMPARE(f.statuses.last(), kAllRetrieved);
}

void TestConnectAndRead::duplicatesNeverStartASecondPass()
{
    SessionFixture f;
    f.ap.faults.duplicateAnswers = 2;
    f.ap.faults.lateDuplicateMs = 30;
    QVERIFY(f.connectAndRead());
    QTest::qWait(300);
    QCOMPARE(f.ap.receivedRequests().size(), 9);
    QCOMPARE(f.statuses.count(kReading), 1);
    QCOMPARE(f.statuses.count(kFound), 1);
}

void TestConnectAndRead::largeCountersAreKept()
{
    SessionFixture f;
    QByteArray counters(88, '\0');
    counters.replace(0, 4, QByteArray("\x00\x00\x00\x21", 4));  // 0x21000000, far above 32767
    counters.replace(84, 4, QByteArray("\xFF\xFF\xFF\xFF", 4));
    f.ap.setValue(QStringLiteral("wirelessStatistics"), Value::octets(counters));
    QVERIFY(f.connectAndRead());
    QCOMPARE(config::store().wirelessStatistics.unicastPacketsTx, quint32(0x21000000));
    QCOMPARE(config::store().wirelessStatistics.invalidPLCP, quint32(0xFFFFFFFF));
}

void TestConnectAndRead::missingMibLetsRequestsFail()
{
    config::resetStore();
    sim::SimulatedAccessPoint ap;
    QVERIFY(ap.start(QHostAddress(QStringLiteral("127.0.0.1")), 0));
    agent::SessionOptions options;
    options.agentPort = ap.port();
    options.trapPort = 0;
    options.mibPath = QStringLiteral("/nonexistent/CorvaneMIB.mib");
    agent::DeviceSession session(options);
    session.start();
    QVERIFY(session.statusText().contains(QLatin1String("MIB")));
    QVERIFY(!session.mibLoaded());
    // The probe needs only the standard system group; the groups fail.
    session.confirmConnect(QStringLiteral("127.0.0.1"), QStringLiteral("kavrel"));
    QTRY_VERIFY_WITH_TIMEOUT(!session.Timer2.isActive() && session.ReadAttempt == 5, 5000);
    QVERIFY(!session.Connected);
    QCOMPARE(ap.receivedRequests().size(), 1);
}

QTEST_GUILESS_MAIN(TestConnectAndRead)
#include "test_connect_and_read.moc"
