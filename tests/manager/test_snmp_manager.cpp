// The manager component against a scripted UDP peer on loopback: what
// counts as the answer, time-outs, busy, unsendable requests, the guard.

#include "snmp/snmp_manager.h"

#include <QNetworkDatagram>
#include <QUdpSocket>
#include <QtTest>

using namespace snmp;

namespace {

// A peer that answers each request as `reply` says; it first sends junk,
// a truncated answer and an empty datagram, which must change nothing.
struct ScriptedPeer {
    explicit ScriptedPeer(const QHostAddress &address = QHostAddress::LocalHost)
    {
        QVERIFY(socket.bind(address, 0));
        QObject::connect(&socket, &QUdpSocket::readyRead, &socket, [this] {
            while (socket.hasPendingDatagrams()) {
                const QNetworkDatagram datagram = socket.receiveDatagram();
                const DecodeResult decoded = decodeMessage(datagram.data());
                if (!decoded.ok())
                    continue;
                ++requests;
                if (!reply)
                    continue;
                Message answer = *decoded.message;
                answer.pdu.type = PduType::GetResponse;
                answer.pdu.varBinds[0].value = Value::integer(7);
                reply(answer);
                const QByteArray bytes = encodeMessage(answer);
                QUdpSocket &from = other ? *other : socket;
                for (const QByteArray &junk : {QByteArray("\x30\x84\xFF\xFF\xFF\xFF", 6), bytes.chopped(3), QByteArray()})
                    from.writeDatagram(junk, datagram.senderAddress(), quint16(datagram.senderPort()));
                from.writeDatagram(bytes, datagram.senderAddress(), quint16(datagram.senderPort()));
            }
        });
    }
    QUdpSocket socket;
    QUdpSocket *other = nullptr;  // answers from this socket instead
    std::function<void(Message &)> reply;
    int requests = 0;
};

void prepareGet(SnmpManager &manager, quint16 port, qint32 id, int timeoutMs = 400)
{
    manager.RemoteHost = QStringLiteral("127.0.0.1");
    manager.RemotePort = port;
    manager.Timeout = timeoutMs;
    manager.Message.Clear();
    manager.Message.RequestId = id;
    manager.Message.Variables.Add({QStringLiteral("1.3.6.1.2.1.1.1.0"), 0, {}});
}

}  // namespace

class TestSnmpManager : public QObject {
    Q_OBJECT
private slots:
    void onlyTheAwaitedAnswerCounts_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("outcome");
        QTest::newRow("the answer") << "" << int(SendOutcome::Answered);
        QTest::newRow("wrong request id") << "id" << int(SendOutcome::TimedOut);
        QTest::newRow("from another host") << "host" << int(SendOutcome::TimedOut);
        QTest::newRow("no answer") << "silent" << int(SendOutcome::TimedOut);
        // A scan: the loopback broadcast reaches sockets bound to the any-address.
        QTest::newRow("broadcast, any host") << "broadcast" << int(SendOutcome::Answered);
    }

    void onlyTheAwaitedAnswerCounts()
    {
        QFETCH(QString, fault);
        QFETCH(int, outcome);
        const bool answered = outcome == int(SendOutcome::Answered);
        ScriptedPeer peer(fault == "broadcast" ? QHostAddress(QHostAddress::AnyIPv4) : QHostAddress(QHostAddress::LocalHost));
        QUdpSocket otherHost;
        QVERIFY(otherHost.bind(QHostAddress(QStringLiteral("127.0.0.2")), 0));
        if (fault == "host")
            peer.other = &otherHost;
        if (fault != "silent")
            peer.reply = [&](Message &m) { m.pdu.requestId += fault == "id" ? 1000 : 0; };
        SnmpManager manager;
        QVERIFY(manager.Open().ok);
        manager.Message.Community = "kavrel";
        prepareGet(manager, peer.socket.localPort(), 41);
        if (fault == "broadcast")
            manager.RemoteHost = QStringLiteral("127.255.255.255");
        QSignalSpy responses(&manager, &SnmpManager::Response);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(int(manager.Send().outcome), outcome);
        QVERIFY(!manager.Busy());
        QCOMPARE(peer.requests, 1);
        QCOMPARE(manager.Message.Community, QByteArray("kavrel"));
        QCOMPARE(manager.Message.Variables.Count(), answered ? 1 : 0);  // a time-out leaves none to read
        if (answered) {
            QCOMPARE(manager.Message.Variables.Item(1)->Value, QByteArray("7"));
            QTRY_VERIFY(manager.droppedDatagrams() >= 2);
        } else {
            QVERIFY(clock.elapsed() >= 390 && clock.elapsed() < 1500);
        }
        // A stray answer is still an event, but never the answer.
        QTRY_COMPARE(responses.count(), fault == "silent" ? 0 : 1);
        QCOMPARE(manager.unmatchedResponses(), fault == "id" || fault == "host" ? 1 : 0);
    }

    void sendWhileBusyOrUnsendableFails()
    {
        ScriptedPeer peer;
        peer.reply = [](Message &) { QTest::qWait(150); };  // a slow answer
        SnmpManager manager;
        QVERIFY(manager.Open().ok);
        prepareGet(manager, peer.socket.localPort(), 100, 1000);
        SendResult nested;
        QTimer::singleShot(50, &manager, [&] {
            // What a careless caller does: rebuild the message and send.
            QVERIFY(manager.Busy());
            prepareGet(manager, peer.socket.localPort(), 200);
            nested = manager.Send();
        });
        QCOMPARE(manager.Send().outcome, SendOutcome::Answered);
        QCOMPARE(nested.outcome, SendOutcome::Failed);
        QVERIFY(!nested.description.isEmpty());
        QCOMPARE(manager.Message.RequestId, 100);

        // A value that cannot be encoded, a host that is no address, a closed socket.
        prepareGet(manager, peer.socket.localPort(), 1);
        manager.Message.Variables.Add({QStringLiteral("1.3.6.1.2.1.1.1.0"), value_type::IpAddress, "1.2.3"});
        QCOMPARE(manager.Send().outcome, SendOutcome::Failed);
        prepareGet(manager, peer.socket.localPort(), 1);
        manager.RemoteHost = QStringLiteral("no such host");
        QCOMPARE(manager.Send().outcome, SendOutcome::Failed);
        QCOMPARE(SnmpManager().Send().outcome, SendOutcome::Failed);
        QTest::qWait(50);
        QCOMPARE(peer.requests, 1);
    }

    void loopbackGuard_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<bool>("refused");
        QTest::newRow("the device's factory address") << "192.168.1.250" << true;
        QTest::newRow("loopback, another address") << "127.0.0.2" << false;
    }

    void loopbackGuard()
    {
        QFETCH(QString, host);
        QFETCH(bool, refused);
        QVERIFY(SnmpManager::loopbackOnly());  // every test runs with the guard on
        SnmpManager manager;
        QVERIFY(manager.Open().ok);
        QSignalSpy refusals(&manager, &SnmpManager::requestRefused);
        prepareGet(manager, 9, 1, 50);
        manager.RemoteHost = host;
        const SendResult result = manager.Send();
        QCOMPARE(result.failed(), refused);
        QCOMPARE(manager.sentDatagrams(), refused ? 0 : 1);
        QCOMPARE(manager.refusedByGuard(), refused ? 1 : 0);
        QCOMPARE(refusals.count(), refused ? 1 : 0);
        QCOMPARE(result.description.contains(host), refused);
    }

    // Garbage from anyone costs the log a few lines, then a count per period.
    void undecodableDatagramsAreCounted()
    {
        static QStringList lines;
        lines.clear();
        const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &context,
                                                                    const QString &text) {
            if (QByteArray(context.category).startsWith("corvane.snmp"))
                lines << text;
        });
        SnmpManager manager;
        QVERIFY(manager.Open(QHostAddress::LocalHost, 0).ok);
        QUdpSocket sender;
        for (int i = 0; i < 40; ++i)
            sender.writeDatagram(QByteArray("\x30\x84garbage", 9), QHostAddress::LocalHost, manager.LocalPort());
        QTRY_COMPARE(manager.droppedDatagrams(), 40);
        const QStringList fromManager = lines;
        // The count at the end of a period (a short one here).
        DropReport report(lcCounted(), 20);
        for (int i = 0; i < DropReport::kLoggedOneByOne + 7; ++i)
            report.dropped(QStringLiteral("127.0.0.9"), QStringLiteral("bad length"));
        QTRY_COMPARE(lines.size(), 2 * DropReport::kLoggedOneByOne + 1);
        qInstallMessageHandler(previous);
        QCOMPARE(fromManager.size(), DropReport::kLoggedOneByOne);
        QVERIFY2(fromManager.constFirst().contains(QLatin1String("127.0.0.1")), qPrintable(fromManager.constFirst()));
        QVERIFY2(lines.constLast().startsWith(QLatin1String("7 more")), qPrintable(lines.constLast()));
    }

private:
    static const QLoggingCategory &lcCounted()
    {
        static const QLoggingCategory category("corvane.snmp.test");
        return category;
    }
};

QTEST_GUILESS_MAIN(TestSnmpManager)
#include "test_snmp_manager.moc"
