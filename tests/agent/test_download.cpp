// Download Changes and the device commands through the console's session,
// against the simulated access point.

#include "session_fixture.h"

#include "snmp/loopback_guard.h"

using snmp::Value;
using R = agent::SessionReport;

namespace {

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

// Confirms a download and waits for its end; whether it went through.
bool download(SessionFixture &f)
{
    QSignalSpy finished(f.session.get(), &agent::DeviceSession::downloadFinished);
    if (f.session->SavePara() != agent::DeviceSession::DownloadStart::Started || !finished.wait(10000))
        return false;
    return finished.first().first().toBool();
}

}  // namespace

class TestDownload : public QObject {
    Q_OBJECT
private slots:
    void downloadSendsEveryGroupThenResets()
    {
        SessionFixture f;
        QVERIFY(f.connectAndRead());
        const qint32 firstId = f.ap.receivedRequests().last().pdu.requestId + 1;
        f.ap.clearReceivedRequests();
        // Every field a value of its own, so that a value in the wrong place shows.
        config::ConfigurationStore &s = f.store();
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
            f.session->device().noteEdits(group, before);
        // The device may end the name differently: its last character is not compared.
        f.ap.faults.badValues.insert(QStringLiteral("operESSID"), Value::octets("abcd eX"));
        QVERIFY(download(f));
        QCOMPARE(f.last().event, R::DownloadDone);
        QCOMPARE(s.pendingIPAddress, QString());  // sent: a stale address never overrides a later edit
        QCOMPARE(s.operIPAddress, QStringLiteral(" 127.0.0.1"));
        QVERIFY(!f.session->device().editsWaiting());

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
        QTest::addColumn<QString>("object");  // the one named; empty: the group not read
        QTest::newRow("empty ESSID") << "operESSID" << "" << "operESSID";
        QTest::newRow("channel 15") << "operChannelID" << "15" << "operChannelID";
        QTest::newRow("address beyond 255") << "operIPAddress" << "192.168.1.300" << "operIPAddress";
        QTest::newRow("new address beyond 255") << "pendingIPAddress" << "127.0.0.300" << "operIPAddress";
        QTest::newRow("key not hexadecimal") << "defaultWEPKey1" << "1GAB000000" << "defaultWEPKey1";
        QTest::newRow("bridge partner short") << "bridgeRemoteBridgeBSSID" << "0200000000" << "bridgeRemoteBridgeBSSID";
        QTest::newRow("a group not read since the connect") << "" << "" << "";
    }

    void refusedBeforeAnythingIsSent()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, object);
        SessionFixture f;
        f.ap.setValue(QStringLiteral("bridgeOperationalMode"), Value::integer(3));  // with a partner BSSID
        QVERIFY(f.connectAndRead());
        f.ap.clearReceivedRequests();
        config::ConfigurationStore &s = f.store();
        QHash<QString, QString *> texts{{"operESSID", &s.operESSID}, {"operIPAddress", &s.operIPAddress},
                                        {"pendingIPAddress", &s.pendingIPAddress},
                                        {"defaultWEPKey1", &s.defaultWEPKey1},
                                        {"bridgeRemoteBridgeBSSID", &s.bridgeRemoteBridgeBSSID}};
        if (field == QLatin1String("operChannelID"))
            s.operChannelID = config::Integer(value.toInt());
        else if (field.isEmpty())
            f.session->device().forget();
        else
            *texts.value(field) = value;
        QCOMPARE(f.session->SavePara(), agent::DeviceSession::DownloadStart::Refused);
        QCOMPARE(f.last().event, R::DownloadRefused);
        const agent::JobResult &why = f.last().result;
        QCOMPARE(why.object ? why.object->name : QString(), object);
        QCOMPARE(why.error, object.isEmpty() ? agent::JobResult::NotRead : agent::JobResult::InvalidValue);
        QCOMPARE(f.questioner.questions, QStringList());
        QTest::qWait(20);
        QCOMPARE(f.ap.receivedRequests().size(), 0);
    }

    // An echo that differs or an error status stops the attempt at that
    // group; the watchdog repeats it five times, then the download gives up
    // and the new address it carried goes with it.
    void failedWriteStopsTheAttempt_data()
    {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("fault");  // a wrong echo or an error status
        QTest::addColumn<int>("setsPerAttempt");  // the failing group's place, the reset last
        // One object of each kind of echo rule.
        for (const char *object : {"operChannelID", "operESSIDLength", "operESSID", "operBasicRates"})
            QTest::addRow("echo of %s", object) << object << "echo" << 1;
        QTest::newRow("echo of the address") << "operIPAddress" << "echo" << 2;
        QTest::newRow("echo of the BSSID") << "bridgeRemoteBridgeBSSID" << "echo" << 4;
        // A device that refuses a SET echoes the request's own bindings: the
        // error status alone tells that nothing was written.
        QTest::newRow("IP refused") << "operIPMask" << "refused" << 2;
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
        f.store().pendingIPAddress = QStringLiteral("127.0.0.1");
        QVERIFY(!download(f));
        QCOMPARE(f.last().event, R::DownloadFailed);
        const agent::JobResult &why = f.last().result;
        QCOMPARE(why.error, fault == "echo" ? agent::JobResult::WrongEcho : agent::JobResult::Refused);
        QCOMPARE(why.object ? why.object->name : object, object);
        QCOMPARE(f.store().pendingIPAddress, QString());  // nothing of it is sent later
        QCOMPARE(f.count(R::Downloading), 6);
        QCOMPARE(f.count(R::DownloadDone), 0);
        QCOMPARE(setRequests(f).size(), 6 * setsPerAttempt);
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
            QVERIFY(download(f));
            QCOMPARE(f.session->AgentAddress(), QStringLiteral("127.0.0.1"));
        }

        // A new address: the console follows the device there.
        f.ap.moveOnReset = true;
        f.store().operIPAddress = QStringLiteral(" 127.0.0.2 ");
        QSignalSpy managed(f.session.get(), &agent::DeviceSession::managedDeviceChanged);
        QVERIFY(download(f));
        QCOMPARE(f.session->AgentAddress(), QStringLiteral("127.0.0.2"));
        QCOMPARE(managed.value(0).value(0).toString(), QStringLiteral("127.0.0.2"));
        WAIT_COMPARE(f.ap.address(), QHostAddress(QStringLiteral("127.0.0.2")));
        f.ap.clearReceivedRequests();
        f.session->mnuCommandsReset_Click();
        WAIT_COMPARE(f.last().event, R::ResetIssued);
        QCOMPARE(f.ap.receivedRequests().size(), 1);

        // Told to move off the machine: the console follows its address, and
        // the guard stops every request before a byte leaves.
        f.ap.moveOnReset = false;
        QVERIFY(snmp::loopback_guard::isOn());
        f.store().operIPAddress = QStringLiteral("192.168.1.250");
        QVERIFY(download(f));
        QCOMPARE(f.session->AgentAddress(), QStringLiteral("192.168.1.250"));
        f.ap.clearReceivedRequests();
        f.reports.clear();
        QVERIFY(!download(f));
        QCOMPARE(f.ap.receivedRequests().size(), 0);
        QCOMPARE(f.count(R::RequestRefused), 6);
        QCOMPARE(f.last().result.error, agent::JobResult::NotAllowed);
        QVERIFY2(f.last().result.detail.contains(QLatin1String("192.168.1.250")), qPrintable(f.last().result.detail));
    }

    void newConfirmationStartsOver()
    {
        SessionFixture f;
        QVERIFY(f.connectAndRead());
        f.ap.faults.wrongEchoObjects.insert(QStringLiteral("operChannelID"));
        QSignalSpy finished(f.session.get(), &agent::DeviceSession::downloadFinished);
        QCOMPARE(f.session->SavePara(), agent::DeviceSession::DownloadStart::Started);
        WAIT_VERIFY(f.count(R::Downloading) >= 2);
        f.ap.faults.wrongEchoObjects.clear();
        QCOMPARE(f.session->SavePara(), agent::DeviceSession::DownloadStart::Started);
        WAIT_COMPARE(f.last().event, R::DownloadDone);
        QTest::qWait(scaledMs(300));
        QCOMPARE(f.last().event, R::DownloadDone);
        QCOMPARE(finished.size(), 1);
    }

    void nothingElseGetsIntoADownload()
    {
        // The download waits for a slow answer while the user picks the
        // device commands: they must neither send nor ask.
        SessionFixture f;
        QVERIFY(f.connectAndRead());
        f.ap.clearReceivedRequests();
        f.ap.faults.slowObjects.insert(QStringLiteral("operEthernetAddress"), 100);
        Events seenWhileBusy;
        QTimer::singleShot(30, [&] {
            f.session->mnuCommandsReset_Click();
            f.session->mnuCommandsRestoreDefaults_Click();
            f.session->switchDeviceTraps(false);
            seenWhileBusy << f.last().event;
        });
        QVERIFY(download(f));
        QCOMPARE(seenWhileBusy, Events{R::Busy});
        QCOMPARE(f.questioner.questions.size(), 1);  // only the download's
        QCOMPARE(f.requestsNaming(QStringLiteral("sysReset")).size(), 1);
        QCOMPARE(f.requestsNaming(QStringLiteral("sysLoadDefaults")).size(), 0);
        QCOMPARE(setRequests(f).size(), 5);
        for (const snmp::Message &request : f.ap.receivedRequests())
            QCOMPARE(request.community, QByteArray("kavrel"));
    }

    // The trap switch, which asks nothing: test_trap_recorder.
    void deviceCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("fault");  // "", "answers 0", "refused"
        QTest::addColumn<int>("event");
        QTest::newRow("reset") << "sysReset" << true << "" << int(R::ResetIssued);
        QTest::newRow("reset answered 0") << "sysReset" << true << "answers 0" << int(R::ResetFailed);
        QTest::newRow("reset refused") << "sysReset" << true << "refused" << int(R::ResetFailed);
        QTest::newRow("reset, No") << "sysReset" << false << "" << int(R::AllRetrieved);
        QTest::newRow("restore") << "sysLoadDefaults" << true << "" << int(R::RestoreIssued);
        QTest::newRow("restore refused") << "sysLoadDefaults" << true << "refused" << int(R::RestoreFailed);
        QTest::newRow("download, No") << "download" << false << "" << int(R::AllRetrieved);
    }

    void deviceCommands()
    {
        QFETCH(QString, command);
        QFETCH(bool, yes);
        QFETCH(QString, fault);
        QFETCH(int, event);
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
            f.session->SavePara();
        WAIT_COMPARE(int(f.last().event), event);
        QCOMPARE(f.last().result.ok(), fault.isEmpty());
        const QStringList questions = f.questioner.questions;
        QCOMPARE(questions.size(), 1);
        if (command == "sysReset" || command == "sysLoadDefaults")
            QVERIFY(questions[0].endsWith(command == "sysReset" ? "Do you want to Reset Devise ?"
                                                                : "Do you want to Restore Defaults?"));
        QTest::qWait(yes ? 0 : 50);
        QCOMPARE(f.ap.receivedRequests().size(), yes ? 1 : 0);
        QCOMPARE(f.requestsNaming(command).size(), yes ? 1 : 0);
        // A restore brings back the factory name; the console's store is untouched.
        if (command == "sysLoadDefaults" && yes && fault.isEmpty())
            QCOMPARE(f.ap.value(QStringLiteral("operESSID")), Value::octets("corvane"));
        QCOMPARE(f.store().operESSID, QStringLiteral("corvane"));
    }
};

QTEST_GUILESS_MAIN(TestDownload)
#include "test_download.moc"
