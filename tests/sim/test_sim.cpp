// The apsim program, the simulated access point as a process of its own:
// its command line (each option's range, its ends and nothing beyond), a
// fleet of devices each answering on its own loopback address, and SIGTERM
// ending it cleanly. (The faults the other suites
// inject are checked where they are used.)

#include "sim/apsim_options.h"
#include "sim_test_support.h"

#include <QProcess>

#include <csignal>

class TestSim : public QObject {
    Q_OBJECT

private slots:
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("addresses");  // empty: refused
        QTest::newRow("one device by default") << QStringList{} << QStringList{"127.0.0.1"};
        QTest::newRow("a fleet on consecutive addresses")
            << QStringList{"--count", "3", "--address", "127.0.1.254"}
            << QStringList{"127.0.1.254", "127.0.1.255", "127.0.2.0"};
        QTest::newRow("no devices") << QStringList{"--count", "0"} << QStringList{};
        QTest::newRow("past the loopback range")
            << QStringList{"--count", "2", "--address", "127.255.255.255"} << QStringList{};
        QTest::newRow("IPv6 has no next address") << QStringList{"--count", "2", "--address", "::1"} << QStringList{};
        const QStringList one{"127.0.0.1"};
        const auto ends = [&one](const char *option, const char *last, const char *beyond) {
            QTest::addRow("%s %s", option, last) << QStringList{QLatin1String(option), QLatin1String(last)} << one;
            QTest::addRow("%s %s", option, beyond) << QStringList{QLatin1String(option), QLatin1String(beyond)}
                                                   << QStringList{};
        };
        ends("--port", "65535", "65536");
        ends("--drop-ratio", "1", "1.01");
        ends("--error-status", "5", "6");
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, addresses);
        const sim::ApsimCommandLine parsed = sim::parseApsimCommandLine(QStringList{"apsim"} + arguments);
        QCOMPARE(parsed.outcome == sim::ApsimCommandLine::Outcome::Run, !addresses.isEmpty());
        QCOMPARE(parsed.error.isEmpty(), !addresses.isEmpty());
        if (addresses.isEmpty())
            return;
        QStringList got;
        for (const QHostAddress &address : sim::deviceAddresses(parsed.options))
            got << address.toString();
        QCOMPARE(got, addresses);
    }

    void fleetAnswersEachFromItsOwnAddressAndEndsOnSigterm()
    {
        QProcess apsim;
        apsim.start(QStringLiteral(CORVANE_BINARY_DIR "/bin/apsim"),
                    {"--count", "2", "--address", "127.0.3.1", "--port", "0", "--community", "tst"});
        QVERIFY(apsim.waitForStarted(5000));
        const sim::SimulatedAccessPoint names;  // only for object identifiers
        const snmp::VarBind ownAddress{simtest::instanceOf(names, QStringLiteral("operIPAddress")), snmp::Value()};
        QUdpSocket client;
        QVERIFY(client.bind(QHostAddress::LocalHost, 0));
        for (const char last : {1, 2}) {
            const QByteArray expected = QByteArray("\x7f\x00\x03", 3) + last;
            const QString host = QStringLiteral("127.0.3.%1").arg(int(last));
            QTRY_VERIFY_WITH_TIMEOUT(apsim.canReadLine(), 5000);
            const QString line = QString::fromLatin1(apsim.readLine()).trimmed();
            QVERIFY2(line.startsWith(QStringLiteral("listening on %1:").arg(host)), qPrintable(line));
            const quint16 port = quint16(line.section(QLatin1Char(':'), -1).toUInt());
            client.writeDatagram(simtest::request(snmp::PduType::GetRequest, 5, {ownAddress}, "tst"), QHostAddress(host),
                                 port);
            QVERIFY(client.waitForReadyRead(5000));
            const QNetworkDatagram datagram = client.receiveDatagram();
            QCOMPARE(datagram.senderAddress().toString(), host);
            QCOMPARE(simtest::decoded(datagram.data()).pdu.varBinds.value(0).value, snmp::Value::ipAddress(expected));
        }
        ::kill(pid_t(apsim.processId()), SIGTERM);
        QVERIFY(apsim.waitForFinished(5000));
        QCOMPARE(apsim.exitStatus(), QProcess::NormalExit);
        QCOMPARE(apsim.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(TestSim)
#include "test_sim.moc"
