// The simulated access point (test infrastructure and the demo's device):
// the duplicate answers the console's tests rely on, and the apsim program.

#include "sim_test_support.h"

#include <QProcess>

#include <csignal>

using snmp::Value;
using namespace simtest;

const QHostAddress kLoopback(QHostAddress::LocalHost);

class TestSim : public QObject {
    Q_OBJECT

private slots:
    // The copies the duplicate-answer tests of the console rely on.
    void duplicateAnswers_data()
    {
        QTest::addColumn<int>("duplicates");
        QTest::addColumn<int>("lateMs");
        QTest::addColumn<int>("atOnce");  // copies inside the first 300 ms
        QTest::addColumn<int>("inAll");
        QTest::newRow("two extra copies") << 2 << 0 << 3 << 3;
        QTest::newRow("late copy") << 0 << 1000 << 1 << 2;
    }

    void duplicateAnswers()
    {
        QFETCH(int, duplicates);
        QFETCH(int, lateMs);
        QFETCH(int, atOnce);
        QFETCH(int, inAll);
        sim::SimulatedAccessPoint agent;
        agent.faults.duplicateAnswers = duplicates;
        agent.faults.lateDuplicateMs = lateMs;
        QVERIFY(agent.start(kLoopback, 0));
        Client client;
        client.socket.writeDatagram(setRequest(agent, {{QStringLiteral("operChannelID"), Value::integer(11)}}, 77),
                                    kLoopback, agent.port());
        QVector<QNetworkDatagram> got = client.receive(inAll + 1, 300);
        QCOMPARE(got.size(), atOnce);
        got += client.receive(inAll - atOnce, 3000);
        QCOMPARE(got.size(), inAll);
        for (const QNetworkDatagram &copy : got)
            QCOMPARE(decoded(copy.data()).pdu.requestId, 77);
        QCOMPARE(agent.receivedRequests().size(), 1);
    }

    // The apsim program as a separate process: it answers, and SIGTERM ends it cleanly.
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
        Client client;
        client.socket.writeDatagram(
            request(snmp::PduType::GetRequest, 5, {{instanceOf(names, QStringLiteral("operESSID")), Value()}}, "tst"),
            kLoopback, port);
        const auto got = client.receive(1, 5000);
        QCOMPARE(got.size(), 1);
        QCOMPARE(decoded(got[0].data()).pdu.varBinds.value(0).value, Value::octets("corvane"));
        ::kill(pid_t(apsim.processId()), SIGTERM);
        QVERIFY(apsim.waitForFinished(5000));
        QCOMPARE(apsim.exitStatus(), QProcess::NormalExit);
        QCOMPARE(apsim.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(TestSim)
#include "test_sim.moc"
