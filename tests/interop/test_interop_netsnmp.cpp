// net-snmp's tools against the console and the simulated access point:
// snmpget reads back what the console downloaded; snmpset writes, and a
// value of the wrong type is refused. Skipped without net-snmp.

#include "agent/session_fixture.h"
#include "interop_support.h"

class TestInteropNetSnmp : public QObject {
    Q_OBJECT
private slots:
    void netSnmpReadsWhatTheConsoleWrote()
    {
        interop::NetSnmp netSnmp;
        if (interop::NetSnmp::tool(QStringLiteral("snmpget")).isEmpty())
            QSKIP("net-snmp's command-line tools are not installed (Debian package snmp)");
        QVERIFY(netSnmp.ready);
        SessionFixture f(1.0);
        QVERIFY(f.connectAndRead());
        config::ConfigurationStore &s = f.store();
        s.operChannelID = 3;
        s.operESSID = QStringLiteral("lab net");
        s.operFragmentationThreshold = 1024;
        s.operIPMask = QStringLiteral("255.255.0.0");
        s.defaultWEPKey4 = QStringLiteral("A1B2C3D4E5");
        s.privacyWEPEnable = 1;
        s.bridgeOperationalMode = 1;
        s.bridgeRemoteBridgeBSSID = QStringLiteral("02000000CAFE");
        f.session->SavePara();
        WAIT_COMPARE(f.last().event, agent::SessionReport::DownloadDone);

        const QStringList printed{"operChannelID.0 = INTEGER: 3", "operESSID.0 = STRING: \"lab net\"",
                                  "operFragmentationThreshold.0 = INTEGER: 1024", "operIPMask.0 = IpAddress: 255.255.0.0",
                                  "defaultWEPKey4.0 = Hex-STRING: A1 B2 C3 D4 E5", "privacyWEPEnable.0 = INTEGER: enabled(1)",
                                  "bridgeOperationalMode.0 = INTEGER: wirelessBridgeToWirelessBridge(1)",
                                  "bridgeRemoteBridgeBSSID.0 = Hex-STRING: 02 00 00 00 CA FE"};
        QStringList objects;
        for (const QString &line : printed)
            objects << "CORVANE-MIB::" + line.section(' ', 0, 0);
        // -Ir: no checks on net-snmp's side, so the device has to refuse what is wrong.
        const QStringList common{"-v1", "-c", "kavrel", "-r", "1", "-t", "2", "-Le", "-Ir",
                                 QStringLiteral("127.0.0.1:%1").arg(f.ap.port())};
        interop::ToolRun run = netSnmp.run(QStringLiteral("snmpget"), common + objects);
        QVERIFY2(run.finished && run.exitCode == 0, run.err.constData());
        QStringList lines = QString::fromLatin1(run.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (QString &line : lines)
            line = line.section("::", 1).trimmed();
        QCOMPARE(lines, printed);

        run = netSnmp.run(QStringLiteral("snmpset"), common + QStringList{"CORVANE-MIB::operESSID.0", "s", "set by net-snmp"});
        QVERIFY2(run.finished && run.exitCode == 0, run.err.constData());
        QCOMPARE(f.ap.value(QStringLiteral("operESSID")), snmp::Value::octets("set by net-snmp"));
        run = netSnmp.run(QStringLiteral("snmpset"), common + QStringList{"CORVANE-MIB::operChannelID.0", "s", "6"});
        QVERIFY(run.finished && run.exitCode != 0);
        QVERIFY2(run.err.contains("(badValue)") && run.err.contains("Failed object: CORVANE-MIB::operChannelID.0"),
                 run.err.constData());
        QCOMPARE(f.ap.value(QStringLiteral("operChannelID")), snmp::Value::integer(3));
    }
};

QTEST_GUILESS_MAIN(TestInteropNetSnmp)
#include "test_interop_netsnmp.moc"
