// Download Changes and the device commands against the simulated access
// point: what goes on the wire, the echo checks, the retries, the reset.

#include "session_fixture.h"

using snmp::Value;

namespace {
const QString kDone = QStringLiteral("Download complete successfully");
const QString kFailed = QStringLiteral("Network Error-Download not complete successfully");

QVector<snmp::Message> setRequests(const SessionFixture &f)
{
    QVector<snmp::Message> sets;
    for (const snmp::Message &m : f.ap.receivedRequests()) {
        if (m.pdu.type == snmp::PduType::SetRequest)
            sets << m;
    }
    return sets;
}
}  // namespace

class TestDownload : public QObject {
    Q_OBJECT
private slots:
    void answeringNoSendsNothing();
    void downloadSendsEveryGroupThenResets();
    void wirelessGroupOnTheWire();
    void echoMismatchStopsTheAttempt_data();
    void echoMismatchStopsTheAttempt();
    void unconfirmedResetFailsTheDownload();
    void malformedAddressIsNeverSent();
    void newAddressIsUsedAfterwards();
    void newConfirmationStartsOver();
    void deviceCommands_data();
    void deviceCommands();
};

void TestDownload::answeringNoSendsNothing()
{
    SessionFixture f;
    QVERIFY(f.connectAndRead());
    f.ap.clearReceivedRequests();
    f.questioner.answer = false;
    f.session->mnuFileSave_Click();
    QCOMPARE(f.questioner.questions, QStringList{QStringLiteral("Download Changes: Do you want to Change ?")});
    QVERIFY(!f.session->UserConfirmed);
    QVERIFY(!f.session->SetTimer.isActive());
    QTest::qWait(150);
    QCOMPARE(f.ap.receivedRequests().size(), 0);
}

void TestDownload::downloadSendsEveryGroupThenResets()
{
    SessionFixture f;
    QVERIFY(f.connectAndRead());
    f.ap.clearReceivedRequests();
    config::store().bridgeOperationalMode = 3;
    config::store().bridgeRemoteBridgeBSSID = QStringLiteral("0200000000AB");
    config::store().defaultWEPKey2 = QStringLiteral("11223344");  // 8 digits: 4 bytes and a zero byte
    const qint32 firstId = f.session->RequestCounter;
    f.session->SavePara();
    QCOMPARE(f.session->statusText(), kDone);
    QVERIFY(!f.session->SetTimer.isActive());
    QVERIFY(f.session->UserConfirmed);

    const QVector<snmp::Message> sets = setRequests(f);
    QCOMPARE(sets.size(), 5);
    QCOMPARE(f.namesOf(sets[1]), (QStringList{"operEthernetAddress", "operIPAddress", "operIPMask"}));
    QCOMPARE(f.namesOf(sets[2]), (QStringList{"privacyDefaultWEPKeyID", "privacyWEPEnable", "defaultWEPKey1",
                                             "defaultWEPKey2", "defaultWEPKey3", "defaultWEPKey4"}));
    QCOMPARE(f.namesOf(sets[3]), (QStringList{"bridgeOperationalMode", "bridgeRemoteBridgeBSSID"}));
    QCOMPARE(f.namesOf(sets[4]), QStringList{"sysReset"});
    for (int i = 0; i < sets.size(); ++i)
        QCOMPARE(sets[i].pdu.requestId, firstId + i);

    // Types and values as the device expects them.
    QCOMPARE(sets[1].pdu.varBinds[1].value.kind, snmp::ValueKind::IpAddress);
    QCOMPARE(sets[1].pdu.varBinds[1].value.bytes, QByteArray("\x7F\x00\x00\x01", 4));  // as read from the device
    QCOMPARE(sets[2].pdu.varBinds[3].value, Value::octets(QByteArray("\x11\x22\x33\x44\x00", 5)));
    QCOMPARE(sets[3].pdu.varBinds[1].value, Value::octets(QByteArray("\x02\x00\x00\x00\x00\xAB", 6)));
    QCOMPARE(sets[4].pdu.varBinds[0].value, Value::integer(1));
    QCOMPARE(f.ap.value(QStringLiteral("bridgeOperationalMode")), Value::integer(3));
}

void TestDownload::wirelessGroupOnTheWire()
{
    SessionFixture f;
    QVERIFY(f.connectAndRead());
    f.ap.clearReceivedRequests();
    config::ConfigurationStore &s = config::store();
    s.operChannelID = 11;
    s.operESSID = QStringLiteral("abc def");
    s.operBasicRates = QStringLiteral("82840B16");
    f.session->SavePara();
    QCOMPARE(f.session->statusText(), kDone);
    const snmp::Message wireless = setRequests(f).first();
    QCOMPARE(f.namesOf(wireless),
             (QStringList{"operChannelID", "operESSIDLength", "operESSID", "operRTSThreshold",
                          "operFragmentationThreshold", "operPreambleType", "operAuthenticationType",
                          "operBasicRates", "operAutoRateFallBack"}));
    const auto &binds = wireless.pdu.varBinds;
    QCOMPARE(binds[0].value, Value::integer(11));
    QCOMPARE(binds[1].value, Value::integer(3));  // stops at the blank
    QCOMPARE(binds[2].value, Value::octets("abc def"));
    QCOMPARE(binds[3].value, Value::integer(2346));
    QCOMPARE(binds[7].value, Value::octets(QByteArray("\x82\x84\x0B\x16", 4)));
    QCOMPARE(f.ap.value(QStringLiteral("operESSID")), Value::octets("abc def"));
}

void TestDownload::echoMismatchStopsTheAttempt_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<int>("setsPerAttempt");
    QTest::newRow("channel") << "operChannelID" << 1;
    QTest::newRow("basic rates") << "operBasicRates" << 1;
    QTest::newRow("Ethernet address") << "operEthernetAddress" << 2;
    QTest::newRow("IP mask") << "operIPMask" << 2;
    QTest::newRow("WEP key 2") << "defaultWEPKey2" << 3;
    QTest::newRow("bridge mode") << "bridgeOperationalMode" << 4;
}

void TestDownload::echoMismatchStopsTheAttempt()
{
    QFETCH(QString, object);
    QFETCH(int, setsPerAttempt);
    SessionFixture f;
    QVERIFY(f.connectAndRead());
    f.ap.clearReceivedRequests();
    f.arrivals.clear();
    f.ap.faults.wrongEchoObjects.insert(object);
    f.session->SavePara();
    QTRY_COMPARE_WITH_TIMEOUT(f.session->statusText(), kFailed, 5000);
    QVERIFY(!f.session->SetTimer.isActive());
    const QVector<snmp::Message> sets = setRequests(f);
    QCOMPARE(sets.size(), 6 * setsPerAttempt);
    QCOMPARE(f.requestsNaming(QStringLiteral("sysReset")).size(), 0);
    // Each repeat waits for a tick of the 100 ms watchdog.
    for (int attempt = 1; attempt < 6; ++attempt) {
        const qint64 gap = f.arrivals[attempt * setsPerAttempt] - f.arrivals[attempt * setsPerAttempt - 1];
        QVERIFY2(gap >= 50, qPrintable(QStringLiteral("gap %1 ms").arg(gap)));
    }
    QCOMPARE(f.statuses.count(kFailed), 1);
}

void TestDownload::unconfirmedResetFailsTheDownload()
{
    SessionFixture f;
    QVERIFY(f.connectAndRead());
    f.ap.clearReceivedRequests();
    f.ap.faults.badValues.insert(QStringLiteral("sysReset"), Value::integer(0));
    f.session->SavePara();
    QTRY_COMPARE_WITH_TIMEOUT(f.session->statusText(), kFailed, 5000);
    QCOMPARE(f.requestsNaming(QStringLiteral("sysReset")).size(), 6);
    QVERIFY(!f.session->UserConfirmed);
    QVERIFY(!f.session->DownloadOK);
}

void TestDownload::malformedAddressIsNeverSent()
{
    SessionFixture f;
    QVERIFY(f.connectAndRead());
    f.ap.clearReceivedRequests();
    config::store().operIPAddress = QStringLiteral("127.0.0");
    f.session->SavePara();
    QTRY_COMPARE_WITH_TIMEOUT(f.session->statusText(), kFailed, 5000);
    QCOMPARE(f.requestsNaming(QStringLiteral("operIPAddress")).size(), 0);
    QCOMPARE(setRequests(f).size(), 6);  // the wireless group, six times
    QCOMPARE(f.ap.value(QStringLiteral("operIPAddress")).bytes, QByteArray("\x7F\x00\x00\x01", 4));
}

void TestDownload::newAddressIsUsedAfterwards()
{
    SessionFixture f;
    f.ap.moveOnReset = true;
    QVERIFY(f.connectAndRead());
    config::store().operIPAddress = QStringLiteral(" 127.0.0.2 ");
    f.session->SavePara();
    QCOMPARE(f.session->statusText(), kDone);
    QCOMPARE(f.session->AgentAddress, QStringLiteral("127.0.0.2"));
    QTRY_COMPARE(f.ap.address(), QHostAddress(QStringLiteral("127.0.0.2")));
    f.ap.clearReceivedRequests();
    QVERIFY(f.session->GetTrapsConf());
    QCOMPARE(f.ap.receivedRequests().size(), 1);
}

void TestDownload::newConfirmationStartsOver()
{
    SessionFixture f;
    QVERIFY(f.connectAndRead());
    f.ap.faults.wrongEchoObjects.insert(QStringLiteral("operChannelID"));
    f.session->SavePara();
    QTRY_VERIFY(f.session->DownloadAttempt >= 2);
    f.ap.faults.wrongEchoObjects.clear();
    f.session->SavePara();
    QCOMPARE(f.session->DownloadAttempt, qint16(0));
    QCOMPARE(f.session->statusText(), kDone);
    QTest::qWait(300);
    QCOMPARE(f.session->statusText(), kDone);
}

void TestDownload::deviceCommands_data()
{
    QTest::addColumn<bool>("restore");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("deviceAgrees");
    QTest::addColumn<QString>("text");
    QTest::newRow("reset") << false << true << true << "Reset command issued....";
    QTest::newRow("reset refused") << false << true << false << "Error - Reset command not issued...";
    QTest::newRow("reset, No") << false << false << true << "All values retrieved.";
    QTest::newRow("restore") << true << true << true << "Restore Defaults command issued....";
    QTest::newRow("restore refused") << true << true << false << "Error - Restore Defaults command not issued...";
    QTest::newRow("restore, No") << true << false << true << "All values retrieved.";
}

void TestDownload::deviceCommands()
{
    QFETCH(bool, restore);
    QFETCH(bool, yes);
    QFETCH(bool, deviceAgrees);
    QFETCH(QString, text);
    SessionFixture f;
    QVERIFY(f.connectAndRead());
    f.ap.clearReceivedRequests();
    f.ap.setValue(QStringLiteral("operESSID"), Value::octets("changed"));
    const QString object = restore ? QStringLiteral("sysLoadDefaults") : QStringLiteral("sysReset");
    if (!deviceAgrees)
        f.ap.faults.badValues.insert(object, Value::integer(0));
    f.questioner.answer = yes;
    if (restore)
        f.session->mnuCommandsRestoreDefaults_Click();
    else
        f.session->mnuCommandsReset_Click();
    QCOMPARE(f.session->statusText(), text);
    QCOMPARE(f.requestsNaming(object).size(), yes ? 1 : 0);
    QCOMPARE(f.questioner.questions.size(), 1);
    QVERIFY(f.questioner.questions[0].endsWith(restore ? "Do you want to Restore Defaults?"
                                                       : "Do you want to Reset Devise ?"));
    // A restore brings back the factory name; the console's store is untouched.
    if (restore && yes && deviceAgrees)
        QCOMPARE(f.ap.value(QStringLiteral("operESSID")), Value::octets("corvane"));
    QCOMPARE(config::store().operESSID, QStringLiteral("corvane"));
}

QTEST_GUILESS_MAIN(TestDownload)
#include "test_download.moc"
