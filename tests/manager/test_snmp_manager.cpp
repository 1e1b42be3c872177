// The manager component against a scripted UDP peer on the loopback
// interface: what counts as an answer, time-outs, busy, bind errors,
// hostile datagrams, nested sends from event handlers, traps.

#include "snmp/snmp_manager.h"

#include <QElapsedTimer>
#include <QNetworkDatagram>
#include <QUdpSocket>
#include <QtTest>
#include <functional>

using namespace snmp;

namespace {

const QString kSysDescr = QStringLiteral("1.3.6.1.2.1.1.1.0");

// A peer that answers each request the way the test says.
class ScriptedPeer : public QObject {
public:
    explicit ScriptedPeer(const QHostAddress &address = QHostAddress::LocalHost)
    {
        QVERIFY(socket.bind(address, 0));
        connect(&socket, &QUdpSocket::readyRead, this, [this] {
            while (socket.hasPendingDatagrams()) {
                const QNetworkDatagram datagram = socket.receiveDatagram();
                const DecodeResult decoded = decodeMessage(datagram.data());
                if (!decoded.ok())
                    continue;
                requests.append(*decoded.message);
                if (script)
                    script(*decoded.message, datagram.senderAddress(), quint16(datagram.senderPort()));
            }
        });
    }

    void reply(const Message &request, const QHostAddress &to, quint16 port, qint32 requestId,
               const QVector<VarBind> &binds, int errorStatus = 0)
    {
        Message answer = request;
        answer.pdu.type = PduType::GetResponse;
        answer.pdu.requestId = requestId;
        answer.pdu.errorStatus = errorStatus;
        answer.pdu.varBinds = binds;
        socket.writeDatagram(encodeMessage(answer), to, port);
    }

    // Echoes the request's bindings, GET values replaced by a text.
    void echo(const Message &request, const QHostAddress &to, quint16 port)
    {
        QVector<VarBind> binds = request.pdu.varBinds;
        for (VarBind &vb : binds) {
            if (vb.value.kind == ValueKind::Null)
                vb.value = Value::octets("Corvane Wireless Access Point, firmware 1.0");
        }
        reply(request, to, port, request.pdu.requestId, binds);
    }

    QUdpSocket socket;
    QVector<Message> requests;
    std::function<void(const Message &, const QHostAddress &, quint16)> script;
};

void prepareGet(SnmpManager &manager, const ScriptedPeer &peer, qint32 id, int timeoutMs = 500)
{
    manager.RemoteHost = QStringLiteral("127.0.0.1");
    manager.RemotePort = peer.socket.localPort();
    manager.Timeout = timeoutMs;
    manager.Message.Clear();
    manager.Message.RequestId = id;
    SnmpVariable variable;
    variable.Name = kSysDescr;
    manager.Message.Variables.Add(variable);
}

}  // namespace

class TestSnmpManager : public QObject {
    Q_OBJECT
private slots:
    void answerFillsMessage();
    void timeoutLeavesNoVariables();
    void onlyMatchingAnswersCount_data();
    void onlyMatchingAnswersCount();
    void broadcastTakesAnyHost();
    void sendWhileBusyFailsAndLeavesRequest();
    void unencodableMessageFailsWithoutSending();
    void bindErrors();
    void garbageIsDroppedAndCounted();
    void octetsSurviveRoundTrip();
    void responseHandlerMaySendAgain();
    void trapsAreDelivered();
    void loopbackGuard_data();
    void loopbackGuard();
};

void TestSnmpManager::answerFillsMessage()
{
    ScriptedPeer peer;
    peer.script = [&](const Message &m, const QHostAddress &a, quint16 p) { peer.echo(m, a, p); };
    SnmpManager manager;
    QVERIFY(manager.Open().ok);
    QVERIFY(manager.LocalPort() != 0);
    manager.Message.Community = "kavrel";
    prepareGet(manager, peer, 41);
    QSignalSpy responses(&manager, &SnmpManager::Response);
    const SendResult result = manager.Send();
    QCOMPARE(result.outcome, SendOutcome::Answered);
    QVERIFY(!manager.Busy());
    QCOMPARE(manager.Message.RequestId, 41);
    QCOMPARE(manager.Message.Community, QByteArray("kavrel"));
    QCOMPARE(manager.Message.Variables.Count(), 1);
    QCOMPARE(manager.Message.Variables.Item(1)->ValueType, value_type::OctetString);
    QVERIFY(manager.Message.Variables.Item(1)->Value.startsWith("Corvane"));
    QCOMPARE(peer.requests.size(), 1);
    QCOMPARE(peer.requests[0].community, QByteArray("kavrel"));
    QCOMPARE(peer.requests[0].pdu.type, PduType::GetRequest);
    // Every response also raises the event, after Send() has returned.
    QTRY_COMPARE(responses.count(), 1);
    QCOMPARE(manager.RemoteHost, QStringLiteral("127.0.0.1"));
}

void TestSnmpManager::timeoutLeavesNoVariables()
{
    ScriptedPeer peer;  // never answers
    SnmpManager manager;
    QVERIFY(manager.Open().ok);
    prepareGet(manager, peer, 1, 300);
    QElapsedTimer clock;
    clock.start();
    const SendResult result = manager.Send();
    QCOMPARE(result.outcome, SendOutcome::TimedOut);
    QVERIFY(clock.elapsed() >= 290);
    QVERIFY(clock.elapsed() < 1500);
    QCOMPARE(manager.Message.Variables.Count(), 0);
    QVERIFY(manager.Message.Variables.Item(1) == nullptr);
    QVERIFY(!manager.Busy());
}

void TestSnmpManager::onlyMatchingAnswersCount_data()
{
    QTest::addColumn<int>("idOffset");
    QTest::addColumn<bool>("fromOtherHost");
    QTest::addColumn<bool>("answered");
    QTest::newRow("matching") << 0 << false << true;
    QTest::newRow("wrong request id") << 1000 << false << false;
    QTest::newRow("other host") << 0 << true << false;
}

void TestSnmpManager::onlyMatchingAnswersCount()
{
    QFETCH(int, idOffset);
    QFETCH(bool, fromOtherHost);
    QFETCH(bool, answered);
    ScriptedPeer peer;
    ScriptedPeer otherHost(QHostAddress(QStringLiteral("127.0.0.2")));
    peer.script = [&](const Message &m, const QHostAddress &a, quint16 p) {
        ScriptedPeer &from = fromOtherHost ? otherHost : peer;
        from.reply(m, a, p, m.pdu.requestId + idOffset, {VarBind{m.pdu.varBinds[0].name, Value::integer(7)}});
    };
    SnmpManager manager;
    QVERIFY(manager.Open().ok);
    prepareGet(manager, peer, 5, 400);
    QSignalSpy responses(&manager, &SnmpManager::Response);
    const SendResult result = manager.Send();
    QCOMPARE(result.answered(), answered);
    QCOMPARE(manager.Message.Variables.Count(), answered ? 1 : 0);
    // A stray answer is still reported as an event, but never as the answer.
    QTRY_COMPARE(responses.count(), 1);
    QCOMPARE(manager.unmatchedResponses(), answered ? 0 : 1);
}

void TestSnmpManager::broadcastTakesAnyHost()
{
    QVERIFY(SnmpManager::isBroadcast(QHostAddress(QStringLiteral("255.255.255.255"))));
    QVERIFY(SnmpManager::isBroadcast(QHostAddress(QStringLiteral("127.255.255.255"))));
    QVERIFY(!SnmpManager::isBroadcast(QHostAddress(QStringLiteral("127.0.0.1"))));

    // The loopback broadcast reaches only sockets bound to the any-address.
    ScriptedPeer peer(QHostAddress(QHostAddress::AnyIPv4));
    peer.script = [&](const Message &m, const QHostAddress &a, quint16 p) { peer.echo(m, a, p); };
    SnmpManager manager;
    QVERIFY(manager.Open().ok);
    prepareGet(manager, peer, 9);
    manager.RemoteHost = QStringLiteral("127.255.255.255");
    QCOMPARE(manager.Send().outcome, SendOutcome::Answered);
    QCOMPARE(manager.Message.Variables.Count(), 1);
}

void TestSnmpManager::sendWhileBusyFailsAndLeavesRequest()
{
    ScriptedPeer peer;
    // Answer late, so that a timer fires while the first request waits.
    peer.script = [&](const Message &m, const QHostAddress &a, quint16 p) {
        QTimer::singleShot(150, &peer, [&peer, m, a, p] { peer.echo(m, a, p); });
    };
    SnmpManager manager;
    QVERIFY(manager.Open().ok);
    prepareGet(manager, peer, 100, 1000);
    SendResult nested;
    bool sawBusy = false;
    QTimer::singleShot(50, &manager, [&] {
        sawBusy = manager.Busy();
        // What a careless caller does: rebuild the message and send.
        manager.Message.Clear();
        manager.Message.RequestId = 200;
        nested = manager.Send();
    });
    const SendResult first = manager.Send();
    QVERIFY(sawBusy);
    QCOMPARE(nested.outcome, SendOutcome::Failed);
    QVERIFY(!nested.description.isEmpty());
    QCOMPARE(first.outcome, SendOutcome::Answered);
    QCOMPARE(manager.Message.RequestId, 100);
    QCOMPARE(peer.requests.size(), 1);
}

void TestSnmpManager::unencodableMessageFailsWithoutSending()
{
    ScriptedPeer peer;
    SnmpManager manager;
    QVERIFY(manager.Open().ok);
    prepareGet(manager, peer, 1);
    SnmpVariable variable;
    variable.Name = kSysDescr;
    variable.ValueType = value_type::IpAddress;
    variable.Value = "1.2.3";
    manager.Message.Variables.Add(variable);
    QCOMPARE(manager.Send().outcome, SendOutcome::Failed);
    prepareGet(manager, peer, 1);
    manager.RemoteHost = QStringLiteral("no such host");
    QCOMPARE(manager.Send().outcome, SendOutcome::Failed);
    QTest::qWait(50);
    QCOMPARE(peer.requests.size(), 0);

    SnmpManager closed;
    QCOMPARE(closed.Send().outcome, SendOutcome::Failed);
}

void TestSnmpManager::bindErrors()
{
    QUdpSocket holder;
    QVERIFY(holder.bind(QHostAddress::AnyIPv4, 0));
    SnmpManager manager;
    const OpenResult taken = manager.Open(holder.localPort());
    QVERIFY(!taken.ok);
    QCOMPARE(taken.errorNumber, kErrorAddressInUse);
    QVERIFY(!taken.description.isEmpty());
    QCOMPARE(manager.LocalPort(), quint16(0));
    // Still usable afterwards on a free port; opening twice is harmless.
    QVERIFY(manager.Open().ok);
    const quint16 port = manager.LocalPort();
    QVERIFY(manager.Open(holder.localPort()).ok);
    QCOMPARE(manager.LocalPort(), port);

    SnmpManager foreign;
    const OpenResult notHere = foreign.Open(QHostAddress(QStringLiteral("192.0.2.1")), 0);
    QVERIFY(!notHere.ok);
    QVERIFY(notHere.errorNumber != kErrorAddressInUse);
    QVERIFY(!notHere.description.isEmpty());
}

void TestSnmpManager::garbageIsDroppedAndCounted()
{
    ScriptedPeer peer;
    peer.script = [&](const Message &m, const QHostAddress &a, quint16 p) {
        // Junk first, then a truncated answer, then the real one.
        peer.socket.writeDatagram(QByteArray("\x30\x84\xFF\xFF\xFF\xFF", 6), a, p);
        QByteArray real = encodeMessage([&] {
            Message r = m;
            r.pdu.type = PduType::GetResponse;
            return r;
        }());
        peer.socket.writeDatagram(real.left(real.size() - 3), a, p);
        peer.socket.writeDatagram(QByteArray(), a, p);
        peer.echo(m, a, p);
    };
    SnmpManager manager;
    QVERIFY(manager.Open().ok);
    prepareGet(manager, peer, 3);
    QCOMPARE(manager.Send().outcome, SendOutcome::Answered);
    QTRY_VERIFY(manager.droppedDatagrams() >= 2);
    prepareGet(manager, peer, 4);
    QCOMPARE(manager.Send().outcome, SendOutcome::Answered);
}

void TestSnmpManager::octetsSurviveRoundTrip()
{
    ScriptedPeer peer;
    peer.script = [&](const Message &m, const QHostAddress &a, quint16 p) {
        peer.reply(m, a, p, m.pdu.requestId, m.pdu.varBinds);
    };
    SnmpManager manager;
    QVERIFY(manager.Open().ok);
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    prepareGet(manager, peer, 8);
    manager.Message.Clear();
    manager.Message.RequestType = request_type::Set;
    manager.Message.RequestId = 8;
    SnmpVariable variable;
    variable.Name = kSysDescr;
    variable.ValueType = value_type::OctetString;
    variable.Value = all;
    manager.Message.Variables.Add(variable);
    variable.ValueType = value_type::IpAddress;
    variable.Value = "127.0.0.200";
    manager.Message.Variables.Add(variable);
    QCOMPARE(manager.Send().outcome, SendOutcome::Answered);
    QCOMPARE(peer.requests[0].pdu.type, PduType::SetRequest);
    QCOMPARE(peer.requests[0].pdu.varBinds[0].value.bytes, all);
    QCOMPARE(manager.Message.Variables.Item(1)->Value, all);
    QCOMPARE(manager.Message.Variables.Item(2)->Value, QByteArray("127.0.0.200"));
}

void TestSnmpManager::responseHandlerMaySendAgain()
{
    ScriptedPeer peer;
    peer.script = [&](const Message &m, const QHostAddress &a, quint16 p) { peer.echo(m, a, p); };
    SnmpManager manager;
    QVERIFY(manager.Open().ok);
    int nestedAnswers = 0;
    bool first = true;
    connect(&manager, &SnmpManager::Response, this, [&] {
        if (!first)
            return;
        first = false;
        for (int i = 0; i < 3; ++i) {
            prepareGet(manager, peer, 500 + i);
            if (manager.Send().answered())
                ++nestedAnswers;
        }
    });
    prepareGet(manager, peer, 1);
    QVERIFY(manager.Send().answered());
    QTRY_COMPARE(nestedAnswers, 3);
}

void TestSnmpManager::trapsAreDelivered()
{
    SnmpManager trapManager;
    QVERIFY(trapManager.Open(QHostAddress::LocalHost, 0).ok);
    QSignalSpy traps(&trapManager, &SnmpManager::Trap);
    Message trap;
    trap.community = "public";
    trap.pdu.type = PduType::Trap;
    trap.pdu.enterprise = {1, 3, 6, 1, 4, 1, 49170};
    trap.pdu.agentAddress = QByteArray("\x7F\x00\x00\x01", 4);
    trap.pdu.genericTrap = 6;
    trap.pdu.specificTrap = 3;
    trap.pdu.varBinds = {VarBind{{1, 3, 6, 1, 4, 1, 49170, 1}, Value::octets(QByteArray("\x02\x00\x00\x00\x00\x01", 6))}};
    QUdpSocket sender;
    QVERIFY(sender.bind(QHostAddress::LocalHost, 0));
    sender.writeDatagram(encodeMessage(trap), QHostAddress::LocalHost, trapManager.LocalPort());
    QTRY_COMPARE(traps.count(), 1);
    QCOMPARE(trapManager.Message.TrapCode, 3);
    QCOMPARE(trapManager.RemoteHost, QStringLiteral("127.0.0.1"));
    QCOMPARE(trapManager.Message.Variables.Item(1)->Value, QByteArray("\x02\x00\x00\x00\x00\x01", 6));
}

void TestSnmpManager::loopbackGuard_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<bool>("refused");
    QTest::newRow("the device's factory address") << "192.168.1.250" << true;
    QTest::newRow("broadcast") << "255.255.255.255" << true;
    QTest::newRow("private network") << "10.1.2.3" << true;
    QTest::newRow("loopback, another address") << "127.0.0.2" << false;
}

void TestSnmpManager::loopbackGuard()
{
    QFETCH(QString, host);
    QFETCH(bool, refused);
    QVERIFY(SnmpManager::loopbackOnly());  // every test runs with the guard on
    ScriptedPeer peer;
    SnmpManager manager;
    QVERIFY(manager.Open().ok);
    QSignalSpy refusals(&manager, &SnmpManager::requestRefused);
    prepareGet(manager, peer, 1, 50);
    manager.RemoteHost = host;
    const SendResult result = manager.Send();
    QCOMPARE(result.failed(), refused);
    QCOMPARE(manager.sentDatagrams(), refused ? 0 : 1);
    QCOMPARE(manager.refusedByGuard(), refused ? 1 : 0);
    QCOMPARE(refusals.count(), refused ? 1 : 0);
    if (refused)
        QVERIFY(result.description.contains(host));
}

QTEST_GUILESS_MAIN(TestSnmpManager)
#include "test_snmp_manager.moc"
