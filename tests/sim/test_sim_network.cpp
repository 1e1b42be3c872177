// The simulated access point on loopback UDP: the faults that need time
// or chance, moving on reset, traps, and the apsim program.

#include "sim_test_support.h"

#include <QProcess>
#include <QSignalSpy>

#include <csignal>

using snmp::Value;
using namespace simtest;

const QHostAddress kLoopback(QHostAddress::LocalHost);

class TestSimNetwork : public QObject {
    Q_OBJECT

private slots:
    void answerTiming_data()
    {
        QTest::addColumn<double>("dropRatio");
        QTest::addColumn<int>("delayMs");
        QTest::addColumn<int>("duplicates");
        QTest::addColumn<int>("lateMs");
        QTest::addColumn<int>("atOnce");  // copies inside the first 300 ms
        QTest::addColumn<int>("inAll");
        QTest::newRow("no fault") << 0.0 << 0 << 0 << 0 << 1 << 1;
        QTest::newRow("dropped") << 1.0 << 0 << 0 << 0 << 0 << 0;
        QTest::newRow("delayed") << 0.0 << 700 << 0 << 0 << 0 << 1;
        QTest::newRow("two extra copies") << 0.0 << 0 << 2 << 0 << 3 << 3;
        QTest::newRow("late copy") << 0.0 << 0 << 0 << 1000 << 1 << 2;
    }

    void answerTiming()
    {
        QFETCH(double, dropRatio);
        QFETCH(int, delayMs);
        QFETCH(int, duplicates);
        QFETCH(int, lateMs);
        QFETCH(int, atOnce);
        QFETCH(int, inAll);
        sim::SimulatedAccessPoint agent;
        agent.faults.dropRatio = dropRatio;
        agent.faults.delayMs = delayMs;
        agent.faults.duplicateAnswers = duplicates;
        agent.faults.lateDuplicateMs = lateMs;
        QVERIFY(agent.start(kLoopback, 0));
        Client client;
        const QByteArray set = setRequest(agent, {{QStringLiteral("operChannelID"), Value::integer(11)}}, 77);
        client.socket.writeDatagram(set, kLoopback, agent.port());
        QVector<QNetworkDatagram> got = client.receive(inAll + 1, 300);
        QCOMPARE(got.size(), atOnce);
        got += client.receive(inAll - atOnce, 3000);
        QCOMPARE(got.size(), inAll);
        for (const QNetworkDatagram &copy : got) {
            QCOMPARE(copy.senderPort(), int(agent.port()));
            QCOMPARE(copy.data(), got.first().data());
        }
        if (inAll > 0)
            QCOMPARE(decoded(got.first().data()).pdu.requestId, 77);
        QCOMPARE(agent.receivedRequests().size(), 1);  // heard, answered or not
        QCOMPARE(agent.value(QStringLiteral("operChannelID")), Value::integer(inAll > 0 ? 11 : 6));
    }

    void movesOnResetOnlyToLoopback()
    {
        sim::SimulatedAccessPoint agent;
        agent.moveOnReset = true;
        QVERIFY(agent.start(kLoopback, 0));
        QSignalSpy moved(&agent, &sim::SimulatedAccessPoint::moved);
        agent.setValue(QStringLiteral("operIPAddress"), Value::ipAddress(QByteArray::fromHex("C0A801FA")));
        agent.reset();  // 192.168.1.250, off this machine, is no place to go
        QTest::qWait(100);
        QCOMPARE(moved.size(), 0);

        const QHostAddress target(QStringLiteral("127.0.0.2"));
        Client client;
        const Value stored = Value::ipAddress(QByteArray::fromHex("7F000002"));  // 127.0.0.2
        const QByteArray set = setRequest(agent, {{QStringLiteral("operIPAddress"), stored}, {QStringLiteral("sysReset"), Value::integer(1)}});
        client.socket.writeDatagram(set, kLoopback, agent.port());
        const auto echo = client.receive(1, 2000);
        QCOMPARE(echo.size(), 1);
        QCOMPARE(echo[0].senderAddress(), kLoopback);  // the answer leaves before the move
        QTRY_COMPARE_WITH_TIMEOUT(moved.size(), 1, 2000);
        QCOMPARE(agent.address(), target);

        const QByteArray get = request(snmp::PduType::GetRequest, 2, {{instanceOf(agent, QStringLiteral("sysDescr")), {}}});
        client.socket.writeDatagram(get, target, agent.port());
        const auto fromNew = client.receive(1, 2000);
        QCOMPARE(fromNew.size(), 1);
        QCOMPARE(fromNew[0].senderAddress(), target);
        client.socket.writeDatagram(get, kLoopback, agent.port());
        QCOMPARE(client.receive(1, 200).size(), 0);
    }

    void trapReachesLocalSocketUnlessSwitchedOff()
    {
        sim::SimulatedAccessPoint agent;
        QVERIFY(agent.start(kLoopback, 0));
        Client receiver;
        agent.setTrapDestination(kLoopback, receiver.socket.localPort());
        const QByteArray station = QByteArray::fromHex("020000000007");
        QVERIFY(agent.sendStationTrap(1, station));
        const auto got = receiver.receive(1, 2000);
        QCOMPARE(got.size(), 1);
        const snmp::Message trap = decoded(got[0].data());
        QCOMPARE(trap.community, QByteArray("kavrel"));
        QCOMPARE(trap.pdu.type, snmp::PduType::Trap);
        QCOMPARE(snmp::oidToText(trap.pdu.enterprise), QStringLiteral("1.3.6.1.4.1.49170"));
        QCOMPARE(trap.pdu.agentAddress, QByteArray::fromHex("7F000001"));
        QCOMPARE(trap.pdu.genericTrap, 6);
        QCOMPARE(trap.pdu.specificTrap, 1);
        const QVector<snmp::VarBind> binds{{instanceOf(agent, QStringLiteral("trapStationAddress")), Value::octets(station)}};
        QCOMPARE(trap.pdu.varBinds, binds);

        agent.handleRequest(setRequest(agent, {{QStringLiteral("sysTrapSwitch"), Value::integer(2)}}));
        QCOMPARE(agent.sendStationTrap(1, station), false);
        QCOMPARE(receiver.receive(1, 300).size(), 0);
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
        QVERIFY(port != 0);

        const sim::SimulatedAccessPoint names;  // only for object identifiers
        const snmp::VarBind essid{instanceOf(names, QStringLiteral("operESSID")), snmp::Value()};
        Client client;
        client.socket.writeDatagram(request(snmp::PduType::GetRequest, 5, {essid}, "tst"), kLoopback, port);
        const auto got = client.receive(1, 5000);
        QCOMPARE(got.size(), 1);
        QCOMPARE(decoded(got[0].data()).pdu.varBinds.value(0).value, snmp::Value::octets("corvane"));

        ::kill(pid_t(apsim.processId()), SIGTERM);
        QVERIFY(apsim.waitForFinished(5000));
        QCOMPARE(apsim.exitStatus(), QProcess::NormalExit);
        QCOMPARE(apsim.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(TestSimNetwork)
#include "test_sim_network.moc"
