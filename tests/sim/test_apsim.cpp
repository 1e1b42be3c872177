// The apsim program: its command line, and one run as a separate process
// on a free loopback port, ended with SIGTERM.

#include "sim_test_support.h"

#include "sim/apsim_options.h"

#include <QProcess>
#include <QTest>

#include <csignal>

using Outcome = sim::ApsimCommandLine::Outcome;
Q_DECLARE_METATYPE(sim::ApsimCommandLine::Outcome)

class TestApsim : public QObject {
    Q_OBJECT

private slots:
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QString>("errorPart");

        QTest::newRow("defaults") << QStringList{} << Outcome::Run << "";
        QTest::newRow("help") << QStringList{"--help"} << Outcome::ShowHelp << "";
        QTest::newRow("version") << QStringList{"--version"} << Outcome::ShowVersion << "";
        QTest::newRow("every fault") << QStringList{"--drop-ratio", "0.25", "--delay-ms", "10", "--silent-object",
                                                    "sysDeviceInfo", "--wrong-echo", "operChannelID", "--wrong-echo",
                                                    "operESSID", "--short-value", "operESSID", "--error-status", "5",
                                                    "--duplicates", "2", "--late-duplicate-ms", "50",
                                                    "--wrong-request-id", "--silent"}
                                     << Outcome::Run << "";
        QTest::newRow("foreign address") << QStringList{"--address", "192.0.2.1"} << Outcome::Error << "loopback";
        QTest::newRow("foreign address allowed") << QStringList{"--address", "192.0.2.1", "--allow-any-address"}
                                                 << Outcome::Run << "";
        QTest::newRow("foreign trap destination") << QStringList{"--trap-destination", "10.1.1.1:162"}
                                                  << Outcome::Error << "loopback";
        QTest::newRow("trap destination without port") << QStringList{"--trap-destination", "127.0.0.1"}
                                                       << Outcome::Error << "ADDRESS:PORT";
        QTest::newRow("periodic trap without destination") << QStringList{"--trap-every", "5"} << Outcome::Error
                                                           << "--trap-destination";
        QTest::newRow("port too large") << QStringList{"--port", "65536"} << Outcome::Error << "--port";
        QTest::newRow("port not a number") << QStringList{"--port", "x"} << Outcome::Error << "--port";
        QTest::newRow("ratio above 1") << QStringList{"--drop-ratio", "1.5"} << Outcome::Error << "--drop-ratio";
        QTest::newRow("unknown object") << QStringList{"--wrong-echo", "operFoo"} << Outcome::Error << "operFoo";
        QTest::newRow("unknown option") << QStringList{"--frobnicate"} << Outcome::Error << "frobnicate";
        QTest::newRow("stray argument") << QStringList{"extra"} << Outcome::Error << "extra";
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(Outcome, outcome);
        QFETCH(QString, errorPart);
        const sim::ApsimCommandLine parsed = sim::parseApsimCommandLine(QStringList{"apsim"} + arguments);
        QCOMPARE(parsed.outcome, outcome);
        QVERIFY2(parsed.error.contains(errorPart), qPrintable(parsed.error));
    }

    void optionsReachTheAgent()
    {
        const sim::ApsimCommandLine parsed = sim::parseApsimCommandLine(
            {"apsim", "--community", "secret", "--trap-destination", "127.0.0.1:9162", "--trap-every", "3",
             "--move-on-reset", "--wrong-echo", "operChannelID", "--duplicates", "2", "--error-status", "3"});
        QCOMPARE(parsed.outcome, Outcome::Run);
        QCOMPARE(parsed.options.trapPort, quint16(9162));
        QCOMPARE(parsed.options.trapEverySeconds, 3);
        sim::SimulatedAccessPoint agent;
        sim::configure(agent, parsed.options);
        QCOMPARE(agent.community, QByteArray("secret"));
        QVERIFY(agent.moveOnReset);
        QVERIFY(agent.faults.wrongEchoObjects.contains(QStringLiteral("operChannelID")));
        QCOMPARE(agent.faults.duplicateAnswers, 2);
        QCOMPARE(agent.faults.errorStatus, 3);
    }

    void runsAnswersAndEndsOnSigterm()
    {
        QProcess apsim;
        apsim.setProgram(QStringLiteral(CORVANE_BINARY_DIR "/bin/apsim"));
        apsim.setArguments({"--port", "0", "--community", "tst"});
        apsim.start();
        QVERIFY(apsim.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(apsim.canReadLine(), 5000);
        const QString line = QString::fromLatin1(apsim.readLine()).trimmed();
        QVERIFY2(line.startsWith(QLatin1String("listening on 127.0.0.1:")), qPrintable(line));
        const quint16 port = quint16(line.section(QLatin1Char(':'), -1).toUInt());
        QVERIFY(port != 0);

        sim::SimulatedAccessPoint names;  // only for object identifiers
        simtest::Client client;
        client.send(simtest::request(snmp::PduType::GetRequest, 5,
                                     {{simtest::instanceOf(names, QStringLiteral("operESSID")), snmp::Value()}},
                                     "tst"),
                    QHostAddress(QHostAddress::LocalHost), port);
        const auto got = client.receive(1, 5000);
        QCOMPARE(got.size(), 1);
        QCOMPARE(simtest::decoded(got[0].data()).pdu.varBinds.first().value, snmp::Value::octets("corvane"));

        ::kill(pid_t(apsim.processId()), SIGTERM);
        QVERIFY(apsim.waitForFinished(5000));
        QCOMPARE(apsim.exitStatus(), QProcess::NormalExit);
        QCOMPARE(apsim.exitCode(), 0);
    }

    void refusesForeignAddressAtStart()
    {
        QProcess apsim;
        apsim.start(QStringLiteral(CORVANE_BINARY_DIR "/bin/apsim"), {"--address", "192.0.2.1"});
        QVERIFY(apsim.waitForFinished(5000));
        QCOMPARE(apsim.exitCode(), 2);
        QVERIFY(apsim.readAllStandardError().contains("loopback"));
    }
};

QTEST_GUILESS_MAIN(TestApsim)
#include "test_apsim.moc"
