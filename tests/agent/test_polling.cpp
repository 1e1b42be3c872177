// Polling: the full read repeated at the chosen interval, never started
// while the device is busy with something else, nothing before a connect,
// edits kept, and the retries left by the connect not renewed.

#include "session_fixture.h"

using R = agent::SessionReport;

class TestPolling : public QObject {
    Q_OBJECT
private slots:
    void pollsAtTheInterval()
    {
        SessionFixture f;
        QVERIFY(f.connectAndRead());
        f.reports.clear();
        f.ap.clearReceivedRequests();
        f.session->applyPolling(2);
        QTest::qWait(scaledMs(2000) - 60);
        QCOMPARE(f.ap.receivedRequests().size(), 0);  // a whole interval first
        QVERIFY(testing::waitFor([&] { return f.count(R::AllRetrieved) >= 2; }, 10000));
        f.session->applyPolling(0);
        QTest::qWait(scaledMs(2000) + 60);

        QCOMPARE(f.events().mid(0, 4), (Events{R::Reading, R::AllRetrieved, R::Reading, R::AllRetrieved}));
        // Each pass asks for all eight groups.
        const QVector<snmp::Message> passes = f.requestsNaming(QStringLiteral("sysDeviceInfo"));
        QCOMPARE(passes.size(), f.count(R::Reading));
        QCOMPARE(f.ap.receivedRequests().size(), 8 * passes.size());
    }

    // A tick while work runs does nothing; the next one reads.
    void tickWhileTheDeviceIsBusyDoesNothing()
    {
        SessionFixture f;
        QVERIFY(f.connectAndRead());
        f.ap.faults.slowObjects.insert(QStringLiteral("sysReset"), scaledMs(1500));
        f.session->mnuCommandsReset_Click();
        f.reports.clear();
        f.session->applyPolling(1);
        QTest::qWait(scaledMs(1300));
        QCOMPARE(f.count(R::Reading), 0);
        WAIT_COMPARE(f.count(R::ResetIssued), 1);
        WAIT_COMPARE_WITH_TIMEOUT(f.count(R::AllRetrieved), 1, 3000);
        f.session->applyPolling(0);
    }

    // Only a connected device is polled, and a poll never takes back edits
    // that wait to be downloaded; the other groups are read as ever.
    void pollsOnlyTheConnectedDeviceAndKeepsEdits()
    {
        SessionFixture f;
        f.reports.clear();
        f.session->applyPolling(1);
        QTest::qWait(scaledMs(2500));
        QCOMPARE(f.ap.receivedRequests().size(), 0);
        QCOMPARE(f.events(), Events{});

        QVERIFY(f.connectAndRead());
        config::ConfigurationStore &s = f.store();
        const config::ConfigurationStore before = s;
        s.operESSID = QStringLiteral("typed, not sent");
        f.session->device().noteEdits(config::Group::WirelessOperational, before);
        f.ap.setValue(QStringLiteral("operESSID"), snmp::Value::octets("changed on the device"));
        f.ap.setValue(QStringLiteral("operIPMask"), snmp::Value::ipAddress(QByteArray::fromHex("FF000000")));
        f.ap.clearReceivedRequests();
        f.reports.clear();
        QVERIFY(testing::waitFor([&] { return f.count(R::AllRetrieved) > 0; }, 5000));
        f.session->applyPolling(0);
        QCOMPARE(s.operESSID, QStringLiteral("typed, not sent"));
        QCOMPARE(s.operIPMask, QStringLiteral("255.0.0.0"));
        QCOMPARE(f.requestsNaming(QStringLiteral("operESSID")).size(), 0);
        QVERIFY(f.session->device().editsWaiting());
    }

    // A connect that needed retries leaves fewer to the polls after it: a
    // failing poll is passed again only as often as the connect's retries
    // allow, and once none are left it says why at once.
    void pollsShareTheRetriesOfTheConnect()
    {
        SessionFixture f;
        f.ap.faults.badValues.insert(QStringLiteral("sysTrapSwitch"), snmp::Value::integer(0));
        int passes = 0;
        QObject::connect(&f.ap, &sim::SimulatedAccessPoint::requestReceived, [&](const snmp::Message &request) {
            if (f.namesOf(request) == QStringList{"sysDeviceInfo"} && ++passes == 4)
                f.ap.faults.badValues.clear();  // the connect gets through on its fourth pass
        });
        QVERIFY(f.connectAndRead());
        f.ap.faults.badValues.insert(QStringLiteral("sysTrapSwitch"), snmp::Value::integer(0));
        f.reports.clear();
        f.session->applyPolling(1);
        WAIT_COMPARE_WITH_TIMEOUT(f.count(R::ReadFailed), 1, 5000);
        QCOMPARE(f.count(R::Reading), 3);  // the poll and the two retries left
        f.reports.clear();
        WAIT_COMPARE_WITH_TIMEOUT(f.count(R::ReadFailed), 1, 5000);
        f.session->applyPolling(0);
        QCOMPARE(f.events(), (Events{R::Reading, R::ReadFailed}));
    }
};

QTEST_GUILESS_MAIN(TestPolling)
#include "test_polling.moc"
