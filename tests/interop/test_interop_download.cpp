// After the console downloads changed settings, an independent tool
// (net-snmp's snmpget, by name through CorvaneMIB.mib) reads the new values
// back from the simulated access point. Loopback only.

#include "interop_support.h"

#include "agent/device_session.h"
#include "config/configuration_store.h"
#include "sim/simulated_access_point.h"

#include <QtTest>

class YesQuestioner : public agent::Questioner {
public:
    bool askYesNo(const QString &, const QString &) override { return true; }
};

class TestInteropDownload : public QObject {
    Q_OBJECT
private slots:
    void netSnmpReadsWhatTheConsoleWrote();
};

void TestInteropDownload::netSnmpReadsWhatTheConsoleWrote()
{
    interop::NetSnmp netSnmp;
    if (interop::NetSnmp::tool(QStringLiteral("snmpget")).isEmpty())
        QSKIP("net-snmp's command-line tools are not installed (Debian package snmp)");
    QVERIFY(netSnmp.ready);

    config::resetStore();
    sim::SimulatedAccessPoint device;
    QVERIFY(device.start(QHostAddress::LocalHost, 0));
    agent::SessionOptions options;
    options.agentPort = device.port();
    options.trapPort = 0;
    options.mibPath = QStringLiteral(CORVANE_BINARY_DIR "/bin/CorvaneMIB.mib");
    agent::DeviceSession session(options);
    YesQuestioner yes;
    session.setQuestioner(&yes);
    session.start();
    session.confirmConnect(QStringLiteral("127.0.0.1"), QStringLiteral("kavrel"));
    QTRY_VERIFY_WITH_TIMEOUT(session.Connected, 5000);

    config::ConfigurationStore &s = config::store();
    s.operChannelID = 3;
    s.operESSID = QStringLiteral("lab net");
    s.operFragmentationThreshold = 1024;
    s.operIPMask = QStringLiteral("255.255.0.0");
    s.defaultWEPKey4 = QStringLiteral("A1B2C3D4E5");
    s.privacyWEPEnable = 1;
    s.bridgeOperationalMode = 1;
    s.bridgeRemoteBridgeBSSID = QStringLiteral("02000000CAFE");
    session.SavePara();
    QCOMPARE(session.statusText(), QStringLiteral("Download complete successfully"));

    const QString target = QStringLiteral("127.0.0.1:%1").arg(device.port());
    const interop::ToolRun run = netSnmp.run(
        QStringLiteral("snmpget"),
        {"-v1", "-c", "kavrel", "-r", "1", "-t", "2", "-Le", target, "CORVANE-MIB::operChannelID.0",
         "CORVANE-MIB::operESSID.0", "CORVANE-MIB::operFragmentationThreshold.0", "CORVANE-MIB::operIPMask.0",
         "CORVANE-MIB::defaultWEPKey4.0", "CORVANE-MIB::privacyWEPEnable.0", "CORVANE-MIB::bridgeOperationalMode.0",
         "CORVANE-MIB::bridgeRemoteBridgeBSSID.0"});
    QVERIFY2(run.finished && run.exitCode == 0, run.err.constData());
    const QStringList lines = QString::fromLatin1(run.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 8);
    QVERIFY2(lines[0].endsWith("INTEGER: 3"), qPrintable(lines[0]));
    QVERIFY2(lines[1].endsWith("STRING: \"lab net\""), qPrintable(lines[1]));
    QVERIFY2(lines[2].endsWith("INTEGER: 1024"), qPrintable(lines[2]));
    QVERIFY2(lines[3].endsWith("IpAddress: 255.255.0.0"), qPrintable(lines[3]));
    QVERIFY2(lines[4].contains("A1 B2 C3 D4 E5"), qPrintable(lines[4]));
    QVERIFY2(lines[5].contains("1"), qPrintable(lines[5]));
    QVERIFY2(lines[6].contains("1"), qPrintable(lines[6]));
    QVERIFY2(lines[7].contains("02 00 00 00 CA FE"), qPrintable(lines[7]));
}

QTEST_GUILESS_MAIN(TestInteropDownload)
#include "test_interop_download.moc"
