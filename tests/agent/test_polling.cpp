// Polling: the full read repeated at the chosen interval, never started
// while the device is busy with something else, nothing before a connect,
// edits kept. The session runs at the tests' time scale.

#include "session_fixture.h"

#include "config/group_state.h"

namespace {
const QString kReading = QStringLiteral("Reading configuration...");
const QString kAllRetrieved = QStringLiteral("All values retrieved.");
}  // namespace

class TestPolling : public QObject {
    Q_OBJECT
private slots:
    void pollsAtTheInterval()
    {
        SessionFixture f;
        QVERIFY(f.connectAndRead());
        agent::Polling &polling = f.session->polling();
        f.session->ReadAttempt = 3;  // what the connect left: a poll does not renew it
        f.statuses.clear();
        f.ap.clearReceivedRequests();
        polling.apply(5);
        QCOMPARE(f.session->PollingTimer.interval(), scaledMs(5000));
        QVERIFY(QTest::qWaitFor([&] { return f.statuses.count(kAllRetrieved) >= 2; }, 10000));
        polling.apply(0);
        QVERIFY(!f.session->PollingTimer.isActive());

        QCOMPARE(f.statuses.mid(0, 4), (QStringList{kReading, kAllRetrieved, kReading, kAllRetrieved}));
        QCOMPARE(f.session->ReadAttempt, qint16(3));
        // Each pass asks for all eight groups, the first a whole interval after the last.
        const QVector<snmp::Message> passes = f.requestsNaming(QStringLiteral("sysDeviceInfo"));
        QCOMPARE(passes.size(), f.statuses.count(kReading));
        QCOMPARE(f.ap.receivedRequests().size(), 8 * passes.size());
    }

    void tickWhileTheDeviceIsBusyDoesNothing_data()
    {
        QTest::addColumn<QString>("busyWith");
        QTest::newRow("a request outstanding") << "reset request";
        QTest::newRow("a download waiting for its next attempt") << "download retry";
        QTest::newRow("a read waiting for its next pass") << "read retry";
    }

    void tickWhileTheDeviceIsBusyDoesNothing()
    {
        QFETCH(QString, busyWith);
        SessionFixture f;
        agent::DeviceSession &s = *f.session;
        QVERIFY(f.connectAndRead());
        f.statuses.clear();
        int ticksDuringRequests = 0;

        if (busyWith == QLatin1String("reset request")) {
            QObject::connect(&f.ap, &sim::SimulatedAccessPoint::requestReceived, &f.ap, [&](const snmp::Message &) {
                ++ticksDuringRequests;
                s.polling().PollingTimer_Timer();
            });
            s.mnuCommandsReset_Click();
            QCOMPARE(ticksDuringRequests, 1);
        } else if (busyWith == QLatin1String("download retry")) {
            f.ap.faults.wrongEchoObjects.insert(QStringLiteral("operChannelID"));
            s.mnuFileSave_Click();
            QVERIFY(s.SetTimer.isActive());
            s.polling().PollingTimer_Timer();
            s.SetTimer.stop();
        } else if (busyWith == QLatin1String("read retry")) {
            f.ap.faults.badValues.insert(QStringLiteral("sysTrapSwitch"), snmp::Value::integer(0));
            s.Timer2.start(scaledMs(100));
            s.ReadAllConfiguration();
            QVERIFY(s.Timer2.isActive());
            f.statuses.clear();
            s.polling().PollingTimer_Timer();
            QCOMPARE(s.Timer2.interval(), scaledMs(100));  // a poll would have set 200
            s.Timer2.stop();
        }
        QVERIFY2(!f.statuses.contains(kReading), qPrintable(f.statuses.join(QLatin1Char('|'))));

        // The next tick, with the device free again, reads.
        f.ap.faults = sim::Faults();
        QObject::disconnect(&f.ap, &sim::SimulatedAccessPoint::requestReceived, &f.ap, nullptr);
        s.AgentAddress = QStringLiteral("127.0.0.1");
        f.statuses.clear();
        s.polling().PollingTimer_Timer();
        QCOMPARE(f.statuses.value(0), kReading);
        QCOMPARE(s.Timer2.interval(), scaledMs(200));
    }

    // Only a connected device is polled, and a poll never takes back edits
    // that wait to be downloaded; the other groups are read as ever.
    void pollsOnlyTheConnectedDeviceAndKeepsEdits()
    {
        SessionFixture f;
        f.statuses.clear();
        f.session->polling().apply(1);
        QTest::qWait(scaledMs(2500));
        QCOMPARE(f.ap.receivedRequests().size(), 0);
        QCOMPARE(f.statuses, QStringList());

        QVERIFY(f.connectAndRead());
        config::ConfigurationStore &s = config::store();
        const config::ConfigurationStore before = s;
        s.operESSID = QStringLiteral("typed, not sent");
        config::noteEdits(config::Group::WirelessOperational, before);
        f.ap.setValue(QStringLiteral("operESSID"), snmp::Value::octets("changed on the device"));
        f.ap.setValue(QStringLiteral("operIPMask"), snmp::Value::ipAddress(QByteArray::fromHex("FF000000")));
        f.ap.clearReceivedRequests();
        f.statuses.clear();
        QVERIFY(QTest::qWaitFor([&] { return f.statuses.contains(kAllRetrieved); }, 5000));
        f.session->polling().apply(0);
        QCOMPARE(s.operESSID, QStringLiteral("typed, not sent"));
        QCOMPARE(s.operIPMask, QStringLiteral("255.0.0.0"));
        QCOMPARE(f.requestsNaming(QStringLiteral("operESSID")).size(), 0);
        QVERIFY(config::groupState().editsWaiting());
    }
};

QTEST_GUILESS_MAIN(TestPolling)
#include "test_polling.moc"
