// The trap switch against the simulated access point: the SET on the wire,
// the store, the status texts for an echo, a wrong echo, a refusal, an
// answer about another object and silence, and the 10 s time-out.

#include "agent/session_fixture.h"

class TestTrapSwitch : public QObject {
    Q_OBJECT

private slots:
    void switchTraps_data()
    {
        QTest::addColumn<bool>("enable");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("deviceValue");  // the device's switch afterwards
        QTest::addColumn<QString>("status");
        QTest::newRow("enabled") << true << "" << 1 << "SNMP traps Enabled....";
        QTest::newRow("disabled") << false << "" << 2 << "SNMP traps Disabled....";
        QTest::newRow("echo differs") << false << "wrong echo" << 2 << "Network Error - SNMP traps Not Disabled....";
        QTest::newRow("device refuses") << true << "refused" << 2 << "Network Error - SNMP traps Not Enabled....";
        QTest::newRow("answer names another object")
            << false << "misnamed" << 2 << "Network Error - SNMP traps Not Disabled....";
        QTest::newRow("no answer") << true << "silent" << 2 << "Network Error - SNMP traps Not Enabled....";
    }

    void switchTraps()
    {
        QFETCH(bool, enable);
        QFETCH(QString, fault);
        QFETCH(int, deviceValue);
        QFETCH(QString, status);
        SessionFixture f(0.01);
        QVERIFY(f.connectAndRead());
        f.ap.setValue(QStringLiteral("sysTrapSwitch"), snmp::Value::integer(enable ? 2 : 1));
        if (fault == "wrong echo")
            f.ap.faults.wrongEchoObjects.insert(QStringLiteral("sysTrapSwitch"));
        if (fault == "refused")
            f.ap.faults.refusedObjects.insert(QStringLiteral("sysTrapSwitch"), snmp::error_status::BadValue);
        if (fault == "misnamed")
            f.ap.faults.misnamedObjects.insert(QStringLiteral("sysTrapSwitch"));
        if (fault == "silent")
            f.ap.faults.silent = true;
        f.ap.clearReceivedRequests();

        f.session->switchDeviceTraps(enable);
        QCOMPARE(f.statuses.last(), status);
        QCOMPARE(config::store().sysTrapSwitch, enable ? 1 : 2);  // kept whatever the device did
        QCOMPARE(f.session->Manager1.Timeout, f.session->scaled(10000));
        const QVector<snmp::Message> sent = f.ap.receivedRequests();
        QCOMPARE(sent.size(), 1);
        QCOMPARE(sent[0].pdu.type, snmp::PduType::SetRequest);
        QCOMPARE(f.namesOf(sent[0]), QStringList{"sysTrapSwitch"});
        QCOMPARE(sent[0].pdu.varBinds[0].value, snmp::Value::integer(enable ? 1 : 2));
        QCOMPARE(f.ap.value(QStringLiteral("sysTrapSwitch")).number, qint64(deviceValue));
    }
};

QTEST_GUILESS_MAIN(TestTrapSwitch)
#include "test_trap_switch.moc"
