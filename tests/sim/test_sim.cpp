// The apsim program, the simulated access point as a process of its own:
// it answers on loopback, and SIGTERM ends it cleanly; its options take
// their ranges' ends and nothing beyond. (The faults the other suites
// inject are checked where they are used.)

#include "sim_test_support.h"

#include "sim/apsim_options.h"

#include <QProcess>

#include <csignal>

class TestSim : public QObject {
    Q_OBJECT

private slots:
    void optionRanges_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("accepted");
        const auto row = [](const char *option, const char *value, bool accepted) {
            QTest::addRow("%s %s", option, value) << QStringList{"apsim", QLatin1String(option), QLatin1String(value)}
                                                  << accepted;
        };
        row("--port", "65535", true);
        row("--port", "65536", false);
        row("--drop-ratio", "1", true);
        row("--drop-ratio", "1.01", false);
        row("--drop-ratio", "-0.1", false);
        row("--error-status", "5", true);
        row("--error-status", "6", false);
        row("--duplicates", "100", true);
        row("--duplicates", "101", false);
        row("--delay-ms", "600000", true);
        row("--delay-ms", "-1", false);
    }

    void optionRanges()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, accepted);
        const sim::ApsimCommandLine parsed = sim::parseApsimCommandLine(arguments);
        QCOMPARE(parsed.outcome == sim::ApsimCommandLine::Outcome::Run, accepted);
        QCOMPARE(parsed.error.isEmpty(), accepted);
    }

    void apsimRunsAnswersAndEndsOnSigterm()
    {
        QProcess apsim;
        apsim.start(QStringLiteral(CORVANE_BINARY_DIR "/bin/apsim"), {"--port", "0", "--community", "tst"});
        QVERIFY(apsim.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(apsim.canReadLine(), 5000);
        const QString line = QString::fromLatin1(apsim.readLine()).trimmed();
        QVERIFY2(line.startsWith(QLatin1String("listening on 127.0.0.1:")), qPrintable(line));
        const quint16 port = quint16(line.section(QLatin1Char(':'), -1).toUInt());
        const sim::SimulatedAccessPoint names;  // only for object identifiers
        QUdpSocket client;
        QVERIFY(client.bind(QHostAddress::LocalHost, 0));
        const snmp::VarBind essid{simtest::instanceOf(names, QStringLiteral("operESSID")), snmp::Value()};
        client.writeDatagram(simtest::request(snmp::PduType::GetRequest, 5, {essid}, "tst"), QHostAddress::LocalHost, port);
        QVERIFY(client.waitForReadyRead(5000));
        const snmp::Message answer = simtest::decoded(client.receiveDatagram().data());
        QCOMPARE(answer.pdu.varBinds.value(0).value, snmp::Value::octets("corvane"));
        ::kill(pid_t(apsim.processId()), SIGTERM);
        QVERIFY(apsim.waitForFinished(5000));
        QCOMPARE(apsim.exitStatus(), QProcess::NormalExit);
        QCOMPARE(apsim.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(TestSim)
#include "test_sim.moc"
