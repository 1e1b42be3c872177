// The simulated access point on loopback UDP: answers, the faults that
// need time or chance, moving on reset, and traps.

#include "sim_test_support.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

using snmp::Value;
using namespace simtest;

namespace {

const QHostAddress kLoopback(QHostAddress::LocalHost);

}  // namespace

class TestSimNetwork : public QObject {
    Q_OBJECT

private slots:
    void answersFromItsPort()
    {
        sim::SimulatedAccessPoint agent;
        QString error;
        QVERIFY2(agent.start(kLoopback, 0, &error), qPrintable(error));
        QVERIFY(agent.port() != 0);
        Client client;
        client.send(getRequest(agent, {QStringLiteral("operESSID")}, 31), kLoopback, agent.port());
        const auto got = client.receive(1, 2000);
        QCOMPARE(got.size(), 1);
        QCOMPARE(got[0].senderAddress(), kLoopback);
        QCOMPARE(got[0].senderPort(), int(agent.port()));
        const snmp::Message answer = decoded(got[0].data());
        QCOMPARE(answer.pdu.requestId, 31);
        QCOMPARE(answer.pdu.varBinds.first().value, Value::octets("corvane"));
    }

    void refusesBusyPortAndForeignAddress()
    {
        sim::SimulatedAccessPoint first;
        QVERIFY(first.start(kLoopback, 0));
        sim::SimulatedAccessPoint second;
        QString error;
        QVERIFY(!second.start(kLoopback, first.port(), &error));
        QVERIFY(!error.isEmpty());
        // Binding only; nothing is sent.
        QVERIFY(!second.start(QHostAddress(QStringLiteral("192.0.2.1")), 0, &error));
        QVERIFY(error.contains(QLatin1String("loopback")));
    }

    void stoppedAgentIsQuiet()
    {
        sim::SimulatedAccessPoint agent;
        QVERIFY(agent.start(kLoopback, 0));
        const quint16 port = agent.port();
        agent.stop();
        QCOMPARE(agent.port(), quint16(0));
        Client client;
        client.send(getRequest(agent, {QStringLiteral("sysDescr")}), kLoopback, port);
        QCOMPARE(client.receive(1, 200).size(), 0);
    }

    void dropRatio_data()
    {
        QTest::addColumn<double>("ratio");
        QTest::addColumn<int>("minAnswers");
        QTest::addColumn<int>("maxAnswers");
        QTest::newRow("none") << 0.0 << 40 << 40;
        QTest::newRow("half") << 0.5 << 8 << 32;
        QTest::newRow("all") << 1.0 << 0 << 0;
    }

    void dropRatio()
    {
        QFETCH(double, ratio);
        QFETCH(int, minAnswers);
        QFETCH(int, maxAnswers);
        sim::SimulatedAccessPoint agent;
        agent.seedRandom(7);
        agent.faults.dropRatio = ratio;
        QVERIFY(agent.start(kLoopback, 0));
        Client client;
        for (int id = 1; id <= 40; ++id)
            client.send(setRequest(agent, {{QStringLiteral("operChannelID"), Value::integer(id % 14 + 1)}}, id),
                        kLoopback, agent.port());
        const int answers = int(client.receive(40, maxAnswers == 40 ? 3000 : 500).size());
        QVERIFY2(answers >= minAnswers && answers <= maxAnswers, qPrintable(QString::number(answers)));
        QTRY_COMPARE(agent.receivedRequests().size(), 40);  // all heard
        if (ratio == 1.0)  // a dropped SET is not applied
            QCOMPARE(agent.value(QStringLiteral("operChannelID")), Value::integer(6));
    }

    void delayedAnswer()
    {
        sim::SimulatedAccessPoint agent;
        agent.faults.delayMs = 400;
        QVERIFY(agent.start(kLoopback, 0));
        Client client;
        QElapsedTimer timer;
        timer.start();
        client.send(getRequest(agent, {QStringLiteral("sysDescr")}), kLoopback, agent.port());
        QCOMPARE(client.receive(1, 200).size(), 0);
        QCOMPARE(client.receive(1, 3000).size(), 1);
        QVERIFY(timer.elapsed() >= 390);
    }

    void duplicates_data()
    {
        QTest::addColumn<int>("duplicates");
        QTest::addColumn<int>("lateMs");
        QTest::addColumn<int>("atOnce");
        QTest::addColumn<int>("inAll");
        QTest::newRow("two extra copies") << 2 << 0 << 3 << 3;
        QTest::newRow("late copy") << 0 << 1000 << 1 << 2;
        QTest::newRow("both") << 1 << 1000 << 2 << 3;
    }

    void duplicates()
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
        client.send(getRequest(agent, {QStringLiteral("operChannelID")}, 77), kLoopback, agent.port());
        // Copies sent at once arrive well inside this window, the late one well after it.
        QVector<QNetworkDatagram> got = client.receive(inAll, 400);
        QCOMPARE(got.size(), atOnce);
        got += client.receive(inAll - atOnce, 3000);
        QCOMPARE(got.size(), inAll);
        for (const QNetworkDatagram &copy : got)
            QCOMPARE(copy.data(), got.first().data());
        QCOMPARE(decoded(got.first().data()).pdu.requestId, 77);
        QCOMPARE(agent.receivedRequests().size(), 1);
    }

    void movesOnResetToStoredLoopbackAddress()
    {
        sim::SimulatedAccessPoint agent;
        agent.moveOnReset = true;
        QVERIFY(agent.start(kLoopback, 0));
        QSignalSpy moved(&agent, &sim::SimulatedAccessPoint::moved);
        const QHostAddress target(QStringLiteral("127.0.0.2"));
        Client client;
        client.send(setRequest(agent, {{QStringLiteral("operIPAddress"), Value::ipAddress(QByteArray::fromHex("7F000002"))},
                                       {QStringLiteral("sysReset"), Value::integer(1)}}, 3),
                    kLoopback, agent.port());
        const auto echo = client.receive(1, 2000);
        QCOMPARE(echo.size(), 1);
        QCOMPARE(echo[0].senderAddress(), kLoopback);  // the answer leaves before the move
        QTRY_COMPARE_WITH_TIMEOUT(moved.size(), 1, 2000);
        QCOMPARE(moved.first().first().value<QHostAddress>(), target);
        QCOMPARE(agent.address(), target);

        client.send(getRequest(agent, {QStringLiteral("sysDescr")}), target, agent.port());
        const auto fromNew = client.receive(1, 2000);
        QCOMPARE(fromNew.size(), 1);
        QCOMPARE(fromNew[0].senderAddress(), target);
        client.send(getRequest(agent, {QStringLiteral("sysDescr")}), kLoopback, agent.port());
        QCOMPARE(client.receive(1, 200).size(), 0);
    }

    void staysWhenStoredAddressIsNotLoopback()
    {
        sim::SimulatedAccessPoint agent;  // stores 192.168.1.250
        agent.moveOnReset = true;
        QVERIFY(agent.start(kLoopback, 0));
        QSignalSpy moved(&agent, &sim::SimulatedAccessPoint::moved);
        agent.reset();
        QTest::qWait(100);
        QCOMPARE(moved.size(), 0);
        QCOMPARE(agent.address(), kLoopback);
    }

    void trapReachesDestination()
    {
        sim::SimulatedAccessPoint agent;
        QVERIFY(agent.start(kLoopback, 0));
        Client receiver;
        agent.setTrapDestination(kLoopback, receiver.socket.localPort());
        const QByteArray station = QByteArray::fromHex("020000000007");
        QVERIFY(agent.sendStationTrap(1, station));
        const auto got = receiver.receive(1, 2000);
        QCOMPARE(got.size(), 1);
        QCOMPARE(got[0].senderPort(), int(agent.port()));
        const snmp::Message trap = decoded(got[0].data());
        QCOMPARE(trap.community, QByteArray("kavrel"));
        QCOMPARE(trap.pdu.type, snmp::PduType::Trap);
        QCOMPARE(snmp::oidToText(trap.pdu.enterprise), agent.oidOf(QStringLiteral("corvane")));
        QCOMPARE(trap.pdu.agentAddress, QByteArray::fromHex("7F000001"));
        QCOMPARE(trap.pdu.genericTrap, 6);
        QCOMPARE(trap.pdu.specificTrap, 1);
        QVERIFY(trap.pdu.timeStamp < 60000);  // centiseconds since start
        QCOMPARE(trap.pdu.varBinds.size(), 1);
        QCOMPARE(trap.pdu.varBinds[0].name, instanceOf(agent, QStringLiteral("trapStationAddress")));
        QCOMPARE(trap.pdu.varBinds[0].value, Value::octets(station));
        QCOMPARE(agent.value(QStringLiteral("trapStationAddress")), Value::octets(station));
    }

    void trapSwitchAndDestinationGate()
    {
        sim::SimulatedAccessPoint agent;
        QVERIFY(agent.start(kLoopback, 0));
        QVERIFY(!agent.sendTrap(6, {}));  // no destination yet
        Client receiver;
        agent.setTrapDestination(kLoopback, receiver.socket.localPort());
        agent.handleRequest(setRequest(agent, {{QStringLiteral("sysTrapSwitch"), Value::integer(2)}}));
        QVERIFY(!agent.sendTrap(6, {}));
        QCOMPARE(receiver.receive(1, 200).size(), 0);
        agent.handleRequest(setRequest(agent, {{QStringLiteral("sysTrapSwitch"), Value::integer(1)}}));
        QVERIFY(agent.sendTrap(6, {}));
        QCOMPARE(receiver.receive(1, 2000).size(), 1);
    }

    void eventTraps()
    {
        sim::SimulatedAccessPoint agent;
        agent.eventTraps = true;
        QVERIFY(agent.start(kLoopback, 0));
        Client receiver;
        agent.setTrapDestination(kLoopback, receiver.socket.localPort());
        agent.handleRequest(setRequest(agent, {{QStringLiteral("operIPAddress"), Value::ipAddress(QByteArray::fromHex("7F000005"))},
                                               {QStringLiteral("operChannelID"), Value::integer(2)},
                                               {QStringLiteral("sysReset"), Value::integer(1)}}));
        QVector<int> codes;
        for (const QNetworkDatagram &datagram : receiver.receive(3, 2000))
            codes.append(decoded(datagram.data()).pdu.specificTrap);
        QCOMPARE(codes, (QVector<int>{7, 6, 8}));  // address changed, configuration changed, reset
    }
};

QTEST_GUILESS_MAIN(TestSimNetwork)
#include "test_sim_network.moc"
