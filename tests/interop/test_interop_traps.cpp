// Traps sent by net-snmp's snmptrap (an independent encoder) into the
// console's trap instance of the manager component, read through its Trap
// event. Loopback only; skipped where snmptrap is not installed.

#include "interop_support.h"

#include "snmp/snmp_manager.h"

#include <QTest>

class TestInteropTraps : public QObject {
    Q_OBJECT

    interop::NetSnmp netSnmp;
    snmp::SnmpManager manager;
    snmp::SnmpMessage lastTrap;
    int traps = 0;

private slots:
    void initTestCase()
    {
        if (interop::NetSnmp::tool(QStringLiteral("snmptrap")).isEmpty())
            QSKIP("net-snmp's snmptrap is not installed (Debian package snmp)");
        QVERIFY(netSnmp.ready);
        const snmp::OpenResult opened = manager.Open(QHostAddress(QHostAddress::LocalHost), 0);
        QVERIFY2(opened.ok, qPrintable(opened.description));
        // The message is only valid while the event is handled.
        connect(&manager, &snmp::SnmpManager::Trap, this, [this] {
            lastTrap = manager.Message;
            ++traps;
        });
    }

    void snmptrapReachesTrapEvent_data()
    {
        QTest::addColumn<QStringList>("arguments");  // after the destination
        QTest::addColumn<int>("trapCode");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QList<int>>("types");
        QTest::addColumn<QList<QByteArray>>("values");

        QTest::newRow("station associated, by name")
            << QStringList{"CORVANE-MIB::corvane", "127.0.0.1", "6", "1", "100",
                           "CORVANE-MIB::trapStationAddress.0", "x", "020000000001"}
            << 1 << QStringList{"1.3.6.1.4.1.49170.7.1.0"} << QList<int>{snmp::value_type::OctetString}
            << QList<QByteArray>{QByteArray::fromHex("020000000001")};
        QTest::newRow("address changed")
            << QStringList{"CORVANE-MIB::corvane", "127.0.0.1", "6", "7", "100",
                           "CORVANE-MIB::operIPAddress.0", "a", "127.0.0.20"}
            << 7 << QStringList{"1.3.6.1.4.1.49170.2.10.0"} << QList<int>{snmp::value_type::IpAddress}
            << QList<QByteArray>{"127.0.0.20"};
        QTest::newRow("reset, two bindings")
            << QStringList{".1.3.6.1.4.1.49170", "127.0.0.1", "6", "8", "100",
                           ".1.3.6.1.4.1.49170.2.1.0", "i", "11", ".1.3.6.1.4.1.49170.2.3.0", "s", "lab"}
            << 8 << QStringList{"1.3.6.1.4.1.49170.2.1.0", "1.3.6.1.4.1.49170.2.3.0"}
            << QList<int>{snmp::value_type::Integer, snmp::value_type::OctetString} << QList<QByteArray>{"11", "lab"};
        QTest::newRow("generic link down") << QStringList{".1.3.6.1.4.1.49170", "127.0.0.1", "2", "0", "100"} << 2
                                           << QStringList{} << QList<int>{} << QList<QByteArray>{};
    }

    void snmptrapReachesTrapEvent()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, trapCode);
        QFETCH(QStringList, names);
        QFETCH(QList<int>, types);
        QFETCH(QList<QByteArray>, values);
        traps = 0;
        const QString destination = QStringLiteral("127.0.0.1:%1").arg(manager.LocalPort());
        const interop::ToolRun run = netSnmp.run("snmptrap", QStringList{"-v1", "-c", "kavrel", destination} + arguments);
        QVERIFY2(run.finished && run.exitCode == 0, run.err.constData());
        QTRY_COMPARE_WITH_TIMEOUT(traps, 1, 5000);

        QCOMPARE(lastTrap.RequestType, snmp::request_type::Trap);
        QCOMPARE(lastTrap.Community, QByteArray("kavrel"));
        QCOMPARE(lastTrap.TrapCode, trapCode);
        QCOMPARE(lastTrap.Enterprise, QStringLiteral("1.3.6.1.4.1.49170"));
        QCOMPARE(lastTrap.AgentAddress, QStringLiteral("127.0.0.1"));
        QCOMPARE(lastTrap.TimeStamp, 100u);
        QCOMPARE(lastTrap.Variables.Count(), int(names.size()));
        for (int i = 0; i < names.size(); ++i) {
            const snmp::SnmpVariable *variable = lastTrap.Variables.Item(i + 1);
            QVERIFY(variable);
            QCOMPARE(variable->Name, names[i]);
            QCOMPARE(variable->ValueType, types[i]);
            QCOMPARE(variable->Value, values[i]);
        }
    }
};

QTEST_GUILESS_MAIN(TestInteropTraps)
#include "test_interop_traps.moc"
