// Download Changes and the device commands against the simulated access point.

#include "session_fixture.h"

#include <QUdpSocket>

using snmp::Value;

namespace {
const QString kDone = QStringLiteral("Download complete successfully");
const QString kFailed = QStringLiteral("Network Error-Download not complete successfully");
const QString kBusy =
    QStringLiteral("Busy - wait until the console has finished talking to the device, then try again.");

QVector<snmp::Message> setRequests(const SessionFixture &f)
{
    QVector<snmp::Message> sets;
    for (const snmp::Message &m : f.ap.receivedRequests()) {
        if (m.pdu.type == snmp::PduType::SetRequest)
            sets << m;
    }
    return sets;
}

// What one download writes, group by group, before the reset.
const QList<QStringList> kGroups = {
    {"operChannelID", "operESSIDLength", "operESSID", "operRTSThreshold", "operFragmentationThreshold",
     "operPreambleType", "operAuthenticationType", "operBasicRates", "operAutoRateFallBack"},
    {"operEthernetAddress", "operIPAddress", "operIPMask"},
    {"privacyDefaultWEPKeyID", "privacyWEPEnable", "defaultWEPKey1", "defaultWEPKey2", "defaultWEPKey3",
     "defaultWEPKey4"},
    {"bridgeOperationalMode", "bridgeRemoteBridgeBSSID"}};
}  // namespace

class TestDownload : public QObject {
    Q_OBJECT
private slots:
    void downloadSendsEveryGroupThenResets()
    {
        SessionFixture f;
        QVERIFY(f.connectAndRead());
        f.ap.clearReceivedRequests();
        config::ConfigurationStore &s = config::store();
        s.operChannelID = 11;
        s.operESSID = QStringLiteral("abc def");
        s.operBasicRates = QStringLiteral("82840B16");
        s.bridgeOperationalMode = 3;
        s.bridgeRemoteBridgeBSSID = QStringLiteral("0200000000AB");
        s.defaultWEPKey2 = QStringLiteral("11223344");  // 8 digits: 4 bytes and a zero byte
        s.operIPMask = QStringLiteral(" 255.255.0.0 ");  // as typed, blanks and all
        s.pendingIPAddress = QStringLiteral("127.0.0.1");
        const qint32 firstId = f.session->RequestCounter;
        f.session->SavePara();
        QCOMPARE(f.session->statusText(), kDone);
        QVERIFY(!f.session->SetTimer.isActive());
        QVERIFY(f.session->UserConfirmed);
        QCOMPARE(s.pendingIPAddress, QString());  // sent: a stale address never overrides a later edit

        const QVector<snmp::Message> sets = setRequests(f);
        QCOMPARE(sets.size(), kGroups.size() + 1);
        for (int i = 0; i < sets.size(); ++i) {
            QCOMPARE(f.namesOf(sets[i]), i < kGroups.size() ? kGroups[i] : QStringList{"sysReset"});
            QCOMPARE(sets[i].pdu.requestId, firstId + i);
        }

        const auto &wireless = sets[0].pdu.varBinds;
        QCOMPARE(wireless[0].value, Value::integer(11));
        QCOMPARE(wireless[1].value, Value::integer(3));  // the length stops at the blank
        QCOMPARE(wireless[2].value, Value::octets("abc def"));
        QCOMPARE(wireless[3].value, Value::integer(2346));
        QCOMPARE(wireless[7].value, Value::octets(QByteArray("\x82\x84\x0B\x16", 4)));
        QCOMPARE(sets[1].pdu.varBinds[1].value, Value::ipAddress(QByteArray("\x7F\x00\x00\x01", 4)));
        QCOMPARE(sets[1].pdu.varBinds[2].value, Value::ipAddress(QByteArray("\xFF\xFF\x00\x00", 4)));
        QCOMPARE(sets[2].pdu.varBinds[3].value, Value::octets(QByteArray("\x11\x22\x33\x44\x00", 5)));
        QCOMPARE(sets[3].pdu.varBinds[1].value, Value::octets(QByteArray("\x02\x00\x00\x00\x00\xAB", 6)));
        QCOMPARE(sets[4].pdu.varBinds[0].value, Value::integer(1));
        QCOMPARE(f.ap.value(QStringLiteral("operESSID")), Value::octets("abc def"));
    }

    void failedWriteStopsTheAttempt_data()
    {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("fault");  // a wrong echo, an error status, or no valid address to send
        QTest::addColumn<int>("setsPerAttempt");  // the failing group's place, the reset last
        for (int place = 1; place <= kGroups.size(); ++place) {
            for (const QString &object : kGroups[place - 1])
                QTest::addRow("echo of %s", qPrintable(object)) << object << "echo" << place;
        }
        // A device that refuses a SET echoes the request's own bindings: the
        // error status alone tells that nothing was written.
        QTest::newRow("wireless refused") << "operESSID" << "refused" << 1;
        QTest::newRow("IP refused") << "operIPMask" << "refused" << 2;
        QTest::newRow("privacy refused") << "defaultWEPKey4" << "refused" << 3;
        QTest::newRow("bridge refused") << "bridgeRemoteBridgeBSSID" << "refused" << 4;
        QTest::newRow("reset refused") << "sysReset" << "refused" << 5;
        QTest::newRow("malformed address is never sent") << "operIPAddress" << "malformed" << 1;
    }

    void failedWriteStopsTheAttempt()
    {
        QFETCH(QString, object);
        QFETCH(QString, fault);
        QFETCH(int, setsPerAttempt);
        SessionFixture f;
        f.ap.setValue(QStringLiteral("bridgeOperationalMode"), Value::integer(3));  // with a partner BSSID
        QVERIFY(f.connectAndRead());
        f.ap.clearReceivedRequests();
        f.arrivals.clear();
        if (fault == "refused")
            f.ap.faults.refusedObjects.insert(object, snmp::error_status::BadValue);
        else if (fault == "echo")
            f.ap.faults.wrongEchoObjects.insert(object);
        else
            config::store().operIPAddress = QStringLiteral("127.0.0");
        f.session->SavePara();
        QVERIFY(f.settled());
        QCOMPARE(f.session->statusText(), kFailed);
        QCOMPARE(f.statuses.count(kFailed), 1);
        QCOMPARE(f.statuses.count(kDone), 0);
        QVERIFY(!f.session->UserConfirmed);
        QCOMPARE(setRequests(f).size(), 6 * setsPerAttempt);
        if (setsPerAttempt < 5)
            QCOMPARE(f.requestsNaming(QStringLiteral("sysReset")).size(), 0);
        if (fault == "malformed")
            QCOMPARE(f.requestsNaming(object).size(), 0);
        // Each repeat waits for a tick of the watchdog.
        for (int attempt = 1; attempt < 6; ++attempt) {
            const qint64 gap = f.arrivals[attempt * setsPerAttempt] - f.arrivals[attempt * setsPerAttempt - 1];
            QVERIFY2(gap >= scaledMs(100) / 2, qPrintable(QStringLiteral("gap %1 ms").arg(gap)));
        }
    }

    void consoleFollowsTheDeviceOnLoopbackOnly()
    {
        // Two downloads in a row, as a demo user does: the device reports its
        // own loopback address, so the console stays with it.
        SessionFixture f;
        QVERIFY(f.connectAndRead());
        for (int i = 0; i < 2; ++i) {
            f.session->SavePara();
            QCOMPARE(f.session->statusText(), kDone);
            QCOMPARE(f.session->AgentAddress, QStringLiteral("127.0.0.1"));
        }
        QCOMPARE(f.session->Manager1.refusedByGuard(), 0);

        // A new address: the console follows the device there.
        f.ap.moveOnReset = true;
        config::store().operIPAddress = QStringLiteral(" 127.0.0.2 ");
        f.session->SavePara();
        QCOMPARE(f.session->statusText(), kDone);
        QCOMPARE(f.session->AgentAddress, QStringLiteral("127.0.0.2"));
        QTRY_COMPARE(f.ap.address(), QHostAddress(QStringLiteral("127.0.0.2")));
        f.ap.clearReceivedRequests();
        QVERIFY(f.session->GetTrapsConf());
        QCOMPARE(f.ap.receivedRequests().size(), 1);

        // Told to move off the machine: the console follows its address, and
        // the guard stops every request before a byte leaves.
        f.ap.moveOnReset = false;
        QVERIFY(snmp::SnmpManager::loopbackOnly());
        config::store().operIPAddress = QStringLiteral("192.168.1.250");
        f.session->SavePara();
        QCOMPARE(f.session->AgentAddress, QStringLiteral("192.168.1.250"));
        const int sent = f.session->Manager1.sentDatagrams();
        f.session->SavePara();
        QVERIFY(f.settled());
        QCOMPARE(f.session->Manager1.sentDatagrams(), sent);
        QCOMPARE(f.session->Manager1.refusedByGuard(), 6);
        QVERIFY2(f.session->statusText().contains(QLatin1String("refused")), qPrintable(f.session->statusText()));
    }

    void newConfirmationStartsOver()
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
        QTest::qWait(scaledMs(300));
        QCOMPARE(f.session->statusText(), kDone);
    }

    void nothingElseGetsIntoADownload()
    {
        // A stranger's trap on the request port is dropped unread; then the
        // download waits for a slow answer while the user picks the device
        // commands: they must neither send nor ask.
        SessionFixture f;
        QVERIFY(f.connectAndRead());
        snmp::Message trap;
        trap.community = "evil-community";
        trap.pdu.type = snmp::PduType::Trap;
        trap.pdu.agentAddress = QByteArray("\x7F\x00\x00\x01", 4);
        trap.pdu.genericTrap = 6;
        trap.pdu.specificTrap = 1;
        QUdpSocket sender;
        sender.writeDatagram(snmp::encodeMessage(trap), QHostAddress::LocalHost, f.session->Manager1.LocalPort());
        QTRY_COMPARE(f.session->Manager1.droppedDatagrams(), 1);
        f.ap.clearReceivedRequests();
        f.ap.faults.slowObjects.insert(QStringLiteral("operEthernetAddress"), 100);
        QStringList seenWhileBusy;
        QTimer::singleShot(30, [&] {
            f.session->mnuCommandsReset_Click();
            f.session->mnuCommandsRestoreDefaults_Click();
            seenWhileBusy << f.session->statusText();
        });
        f.session->SavePara();
        QCOMPARE(f.session->statusText(), kDone);
        QCOMPARE(seenWhileBusy, QStringList{kBusy});
        QCOMPARE(f.questioner.questions.size(), 1);  // only the download's
        QCOMPARE(f.requestsNaming(QStringLiteral("sysReset")).size(), 1);
        QCOMPARE(f.requestsNaming(QStringLiteral("sysLoadDefaults")).size(), 0);
        QCOMPARE(setRequests(f).size(), 5);
        for (const snmp::Message &request : f.ap.receivedRequests())
            QCOMPARE(request.community, QByteArray("kavrel"));
    }

    void deviceCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("fault");  // "", "answers 0", "refused"
        QTest::addColumn<QString>("text");
        QTest::newRow("reset") << "sysReset" << true << "" << "Reset command issued....";
        QTest::newRow("reset answered 0") << "sysReset" << true << "answers 0" << "Error - Reset command not issued...";
        QTest::newRow("reset refused") << "sysReset" << true << "refused" << "Error - Reset command not issued...";
        QTest::newRow("reset, No") << "sysReset" << false << "" << "All values retrieved.";
        QTest::newRow("restore") << "sysLoadDefaults" << true << "" << "Restore Defaults command issued....";
        QTest::newRow("restore refused") << "sysLoadDefaults" << true << "refused"
                                         << "Error - Restore Defaults command not issued...";
        QTest::newRow("restore, No") << "sysLoadDefaults" << false << "" << "All values retrieved.";
        QTest::newRow("download, No") << "download" << false << "" << "All values retrieved.";
    }

    void deviceCommands()
    {
        QFETCH(QString, command);
        QFETCH(bool, yes);
        QFETCH(QString, fault);
        QFETCH(QString, text);
        SessionFixture f;
        QVERIFY(f.connectAndRead());
        f.ap.clearReceivedRequests();
        f.ap.setValue(QStringLiteral("operESSID"), Value::octets("changed"));
        if (fault == QLatin1String("answers 0"))
            f.ap.faults.badValues.insert(command, Value::integer(0));
        else if (fault == QLatin1String("refused"))
            f.ap.faults.refusedObjects.insert(command, snmp::error_status::GenErr);
        f.questioner.answer = yes;
        if (command == "sysLoadDefaults")
            f.session->mnuCommandsRestoreDefaults_Click();
        else if (command == "sysReset")
            f.session->mnuCommandsReset_Click();
        else
            f.session->mnuFileSave_Click();
        QCOMPARE(f.session->statusText(), text);
        QCOMPARE(f.questioner.questions.size(), 1);
        QVERIFY(f.questioner.questions[0].endsWith(command == "sysLoadDefaults" ? "Do you want to Restore Defaults?"
                                                   : command == "sysReset"      ? "Do you want to Reset Devise ?"
                                                                                : "Do you want to Change ?"));
        QVERIFY(!f.session->SetTimer.isActive());
        QVERIFY(command != "download" || !f.session->UserConfirmed);
        QTest::qWait(yes ? 0 : 50);
        QCOMPARE(f.ap.receivedRequests().size(), yes ? 1 : 0);
        QCOMPARE(f.requestsNaming(command).size(), yes ? 1 : 0);
        // A restore brings back the factory name; the console's store is untouched.
        if (command == "sysLoadDefaults" && yes && fault.isEmpty())
            QCOMPARE(f.ap.value(QStringLiteral("operESSID")), Value::octets("corvane"));
        QCOMPARE(config::store().operESSID, QStringLiteral("corvane"));
    }
};

QTEST_GUILESS_MAIN(TestDownload)
#include "test_download.moc"
