// Download Changes and the device commands against the simulated access point.

#include "session_fixture.h"

#include "agent/session_texts.h"
#include "config/group_state.h"
#include "config/value_rules.h"

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
        QSignalSpy finished(f.session.get(), &agent::DeviceSession::downloadFinished);
        // Every field a value of its own, so that a value in the wrong place shows.
        config::ConfigurationStore &s = config::store();
        const config::ConfigurationStore before = s;
        s.operChannelID = 11;
        s.operESSID = QStringLiteral("abcd ef");
        s.operRTSThreshold = 500;
        s.operFragmentationThreshold = 600;
        s.operPreambleType = 1;
        s.operAuthenticationType = 3;
        s.operBasicRates = QStringLiteral("82840B16");
        s.operAutoRateFallBack = 2;
        s.operEthernetAddress = QStringLiteral("0240F4A1B2C3");
        s.operIPAddress = QStringLiteral("127.0.0.5");
        s.pendingIPAddress = QStringLiteral(" 127.0.0.1");  // entered in the quick-setup window: sent instead
        s.operIPMask = QStringLiteral(" 255.255.0.0 ");  // as typed, blanks and all
        s.privacyDefaultWEPKeyID = 2;
        s.privacyWEPEnable = 1;
        for (int i = 1; i <= 4; ++i)
            s.defaultWEPKey(i) = QString::number(i * 11).repeated(2) + QStringLiteral("223344");
        s.bridgeOperationalMode = 3;
        s.bridgeRemoteBridgeBSSID = QStringLiteral("0200000000AB");
        for (config::Group group : {config::Group::WirelessOperational, config::Group::Privacy})
            config::noteEdits(group, before);
        // The device may end the name differently: its last character is not compared.
        f.ap.faults.badValues.insert(QStringLiteral("operESSID"), Value::octets("abcd eX"));
        const qint32 firstId = f.session->RequestCounter;
        f.session->SavePara();
        QCOMPARE(f.session->statusText(), kDone);
        QVERIFY(!f.session->SetTimer.isActive());
        QVERIFY(f.session->UserConfirmed);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished[0][0].toBool(), true);
        QCOMPARE(s.pendingIPAddress, QString());  // sent: a stale address never overrides a later edit
        QCOMPARE(s.operIPAddress, QStringLiteral(" 127.0.0.1"));
        QVERIFY(!config::groupState().editsWaiting());

        const QVector<snmp::Message> sets = setRequests(f);
        QCOMPARE(sets.size(), kGroups.size() + 1);
        for (int i = 0; i < sets.size(); ++i) {
            QCOMPARE(f.namesOf(sets[i]), i < kGroups.size() ? kGroups[i] : QStringList{"sysReset"});
            QCOMPARE(sets[i].pdu.requestId, firstId + i);
        }
        const auto ip = [](const char *hex) { return Value::ipAddress(QByteArray::fromHex(hex)); };
        const auto key = [](const char *hex) { return Value::octets(QByteArray::fromHex(hex)); };
        const QList<QVector<Value>> sent = {
            {Value::integer(11), Value::integer(4), Value::octets("abcd ef"), Value::integer(500), Value::integer(600),
             Value::integer(1), Value::integer(3), key("82840B16"), Value::integer(2)},
            {key("0240F4A1B2C3"), ip("7F000001"), ip("FFFF0000")},
            {Value::integer(2), Value::integer(1), key("1111223344"), key("2222223344"), key("3333223344"),
             key("4444223344")},
            {Value::integer(3), key("0200000000AB")},
            {Value::integer(1)}};
        for (int i = 0; i < sets.size(); ++i) {
            QVector<Value> values;
            for (const snmp::VarBind &vb : sets[i].pdu.varBinds)
                values << vb.value;
            QCOMPARE(values, sent[i]);
        }
        QCOMPARE(f.ap.value(QStringLiteral("operESSID")), Value::octets("abcd ef"));
    }

    // A value the device would refuse, or a group that was not read from it,
    // is never sent: the download says which and why, and asks nothing.
    void refusedBeforeAnythingIsSent_data()
    {
        QTest::addColumn<QString>("field");  // of the store
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("text");
        const auto refused = [](const char *field, const QString &hint) {
            return agent::text::valueRefused.arg(QLatin1String(field), hint);
        };
        QTest::newRow("empty ESSID") << "operESSID" << "" << refused("ESSID", config::essidHint());
        QTest::newRow("channel 15") << "operChannelID" << "15" << refused("Channel", "Choose a channel from 1 to 14");
        QTest::newRow("address beyond 255") << "operIPAddress" << "192.168.1.300"
                                            << refused("IP Address", config::addressHint());
        QTest::newRow("new address beyond 255") << "pendingIPAddress" << "127.0.0.300"
                                                << refused("IP Address", config::addressHint());
        QTest::newRow("key not hexadecimal") << "defaultWEPKey1" << "1GAB000000" << refused("Key 1", config::hexHint(10));
        QTest::newRow("bridge partner short") << "bridgeRemoteBridgeBSSID" << "0200000000"
                                              << refused("BSSID", config::hexHint(12));
        QTest::newRow("a group not read since the connect")
            << "" << "" << agent::text::groupNotRead.arg(QStringLiteral("wireless operational settings"));
    }

    void refusedBeforeAnythingIsSent()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, text);
        SessionFixture f;
        f.ap.setValue(QStringLiteral("bridgeOperationalMode"), Value::integer(3));  // with a partner BSSID
        QVERIFY(f.connectAndRead());
        f.ap.clearReceivedRequests();
        config::ConfigurationStore &s = config::store();
        QHash<QString, QString *> texts{{"operESSID", &s.operESSID}, {"operIPAddress", &s.operIPAddress},
                                        {"pendingIPAddress", &s.pendingIPAddress},
                                        {"defaultWEPKey1", &s.defaultWEPKey1},
                                        {"bridgeRemoteBridgeBSSID", &s.bridgeRemoteBridgeBSSID}};
        if (field == QLatin1String("operChannelID"))
            s.operChannelID = config::Integer(value.toInt());
        else if (field.isEmpty())
            config::groupState().forgetAll();
        else
            *texts.value(field) = value;
        f.session->mnuFileSave_Click();
        QCOMPARE(f.session->statusText(), text);
        QCOMPARE(f.questioner.questions, QStringList());
        QVERIFY(!f.session->SetTimer.isActive());
        QTest::qWait(20);
        QCOMPARE(f.ap.receivedRequests().size(), 0);
    }

    void failedWriteStopsTheAttempt_data()
    {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("fault");  // a wrong echo or an error status
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
        else
            f.ap.faults.wrongEchoObjects.insert(object);
        config::store().pendingIPAddress = QStringLiteral("127.0.0.1");
        QSignalSpy finished(f.session.get(), &agent::DeviceSession::downloadFinished);
        f.session->SavePara();
        QVERIFY(f.settled());
        QCOMPARE(f.session->statusText(), kFailed);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished[0][0].toBool(), false);
        QCOMPARE(config::store().pendingIPAddress, QString());  // nothing of it is sent later
        QCOMPARE(f.statuses.count(kFailed), 1);
        QCOMPARE(f.statuses.count(kDone), 0);
        QVERIFY(!f.session->UserConfirmed);
        QCOMPARE(setRequests(f).size(), 6 * setsPerAttempt);
        if (setsPerAttempt < 5)
            QCOMPARE(f.requestsNaming(QStringLiteral("sysReset")).size(), 0);
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
