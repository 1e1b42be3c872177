// After the console downloads changed settings, an independent tool
// (net-snmp's snmpget, by name through CorvaneMIB.mib) reads the new values
// back from the simulated access point. Loopback only.

#include "agent/session_fixture.h"
#include "interop_support.h"

class TestInteropDownload : public QObject {
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
        config::ConfigurationStore &s = config::store();
        s.operChannelID = 3;
        s.operESSID = QStringLiteral("lab net");
        s.operFragmentationThreshold = 1024;
        s.operIPMask = QStringLiteral("255.255.0.0");
        s.defaultWEPKey4 = QStringLiteral("A1B2C3D4E5");
        s.privacyWEPEnable = 1;
        s.bridgeOperationalMode = 1;
        s.bridgeRemoteBridgeBSSID = QStringLiteral("02000000CAFE");
        f.session->SavePara();
        QCOMPARE(f.session->statusText(), QStringLiteral("Download complete successfully"));

        const QStringList printed{"operChannelID.0 = INTEGER: 3", "operESSID.0 = STRING: \"lab net\"",
                                  "operFragmentationThreshold.0 = INTEGER: 1024", "operIPMask.0 = IpAddress: 255.255.0.0",
                                  "defaultWEPKey4.0 = Hex-STRING: A1 B2 C3 D4 E5", "privacyWEPEnable.0 = INTEGER: enabled(1)",
                                  "bridgeOperationalMode.0 = INTEGER: wirelessBridgeToWirelessBridge(1)",
                                  "bridgeRemoteBridgeBSSID.0 = Hex-STRING: 02 00 00 00 CA FE"};
        QStringList objects;
        for (const QString &line : printed)
            objects << "CORVANE-MIB::" + line.section(' ', 0, 0);
        const interop::ToolRun run = netSnmp.run(
            QStringLiteral("snmpget"), QStringList{"-v1", "-c", "kavrel", "-r", "1", "-t", "2", "-Le",
                                                   QStringLiteral("127.0.0.1:%1").arg(f.ap.port())} + objects);
        QVERIFY2(run.finished && run.exitCode == 0, run.err.constData());
        QStringList lines = QString::fromLatin1(run.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (QString &line : lines)
            line = line.section("::", 1).trimmed();
        QCOMPARE(lines, printed);
    }
};

QTEST_GUILESS_MAIN(TestInteropDownload)
#include "test_interop_download.moc"
