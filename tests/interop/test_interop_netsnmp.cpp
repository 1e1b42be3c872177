// net-snmp's snmpget and snmpset read and write the simulated access
// point's objects by name through CorvaneMIB.mib. Loopback only; skipped
// where net-snmp is not installed.

#include "interop_support.h"
#include "sim/sim_test_support.h"

using snmp::Value;

class TestInteropNetSnmp : public QObject {
    Q_OBJECT

    interop::NetSnmp netSnmp;
    sim::SimulatedAccessPoint agent;

    // -Ir: no checks on net-snmp's side, so the agent has to refuse what is wrong.
    interop::ToolRun run(const QString &tool, const QStringList &arguments)
    {
        const QString target = QStringLiteral("127.0.0.1:%1").arg(agent.port());
        return netSnmp.run(tool, QStringList{"-v1", "-c", "kavrel", "-Ir", "-t", "1", "-r", "1", target} + arguments);
    }

private slots:
    void initTestCase()
    {
        if (interop::NetSnmp::tool(QStringLiteral("snmpget")).isEmpty()
            || interop::NetSnmp::tool(QStringLiteral("snmpset")).isEmpty())
            QSKIP("net-snmp's command-line tools are not installed (Debian package snmp)");
        QVERIFY(netSnmp.ready);
        QVERIFY(agent.start(QHostAddress::LocalHost, 0));
    }

    void getByName_data()
    {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("printed");  // what net-snmp prints after "object = "
        QTest::newRow("integer") << "CORVANE-MIB::operChannelID.0" << "INTEGER: 6";
        QTest::newRow("enumeration") << "CORVANE-MIB::operPreambleType.0" << "INTEGER: longPreamble(2)";
        QTest::newRow("string") << "CORVANE-MIB::operESSID.0" << "STRING: \"corvane\"";
        QTest::newRow("IpAddress") << "CORVANE-MIB::operIPAddress.0" << "IpAddress: 127.0.0.1";
        QTest::newRow("hex string") << "CORVANE-MIB::operBasicRates.0" << "Hex-STRING: 82 84 8B 96";
    }

    void getByName()
    {
        QFETCH(QString, object);
        QFETCH(QString, printed);
        const interop::ToolRun got = run(QStringLiteral("snmpget"), {object});
        QVERIFY2(got.finished && got.exitCode == 0, got.err.constData());
        QCOMPARE(QString::fromLatin1(got.out).trimmed(), object + " = " + printed);
    }

    void setAndReadBack()
    {
        const QString essid = QStringLiteral("CORVANE-MIB::operESSID.0");
        const interop::ToolRun set = run(QStringLiteral("snmpset"), {essid, "s", "lab net"});
        QVERIFY2(set.finished && set.exitCode == 0, set.err.constData());
        QCOMPARE(agent.value(QStringLiteral("operESSID")), Value::octets("lab net"));
        const interop::ToolRun get = run(QStringLiteral("snmpget"), {essid});
        QCOMPARE(QString::fromLatin1(get.out).trimmed(), essid + " = STRING: \"lab net\"");
    }

    void refusedSetReportsBadValue()
    {
        const interop::ToolRun set = run(QStringLiteral("snmpset"), {"CORVANE-MIB::operChannelID.0", "s", "6"});
        QVERIFY(set.finished);
        QVERIFY(set.exitCode != 0);
        QVERIFY2(set.err.contains("(badValue)"), set.err.constData());
        QVERIFY(set.err.contains("Failed object: CORVANE-MIB::operChannelID.0"));
        QCOMPARE(agent.value(QStringLiteral("operChannelID")), Value::integer(6));
    }
};

QTEST_GUILESS_MAIN(TestInteropNetSnmp)
#include "test_interop_netsnmp.moc"
