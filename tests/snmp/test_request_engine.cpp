// The request engine on the wire: a raw UDP peer for everything a hostile
// or broken device may send back. (Devices read side by side on one
// engine, their answers out of order: test_jobs, test_exporter.)

#include "snmp/request_engine.h"

#include <QElapsedTimer>
#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QUdpSocket>
#include <QtTest>

#include <thread>
#include <unistd.h>

using namespace snmp;

Q_DECLARE_METATYPE(snmp::PduType)

namespace {

const Oid kSysDescr{1, 3, 6, 1, 2, 1, 1, 1, 0};
const Oid kSysName{1, 3, 6, 1, 2, 1, 1, 5, 0};

// What the raw peer sends back to one request, step by step.
enum Step {
    RightAnswer,
    WrongId,            // the right answer with another request id
    FromOtherAddress,   // the right answer from 127.0.0.2
    FromOtherPort,      // the right answer from another port of the same address
    Garbage,            // bytes that do not decode
    TrapPdu,            // a trap, which this socket ignores
    RequestPdu,         // the matching id, but a GetRequest
    Reordered,          // the bindings swapped
    BindingMissing,     // only the first binding
    OtherNames,         // instance .1 of each object instead
    Refused,            // error status noSuchName at index 2
};

struct RawPeer {
    RawPeer()
    {
        QVERIFY(socket.bind(QHostAddress::LocalHost, 0));
        QVERIFY(otherPort.bind(QHostAddress::LocalHost, 0));
        // Another host on the same port, as a second device would answer.
        QVERIFY(otherAddress.bind(QHostAddress(QStringLiteral("127.0.0.2")), socket.localPort()));
    }

    // The next request the engine sent, decoded; where it came from is kept.
    Message receive(int timeoutMs = 2000)
    {
        // The engine resends from its timers: the event loop must run meanwhile.
        if (!QTest::qWaitFor([this] { return socket.hasPendingDatagrams(); }, timeoutMs))
            return {};
        const QNetworkDatagram datagram = socket.receiveDatagram();
        lastBytes = datagram.data();
        engineAddress = datagram.senderAddress();
        enginePort = quint16(datagram.senderPort());
        return decodeMessage(lastBytes).message.value_or(Message{});
    }

    void play(const Message &request, const QList<int> &steps)
    {
        for (int step : steps) {
            Message answer = request;
            answer.pdu.type = PduType::GetResponse;
            for (VarBind &vb : answer.pdu.varBinds)
                vb.value = Value::octets("peer");
            QUdpSocket *from = &socket;
            QByteArray bytes;
            switch (Step(step)) {
            case RightAnswer: break;
            case WrongId: answer.pdu.requestId += 1; break;
            case FromOtherAddress: from = &otherAddress; break;
            case FromOtherPort: from = &otherPort; break;
            case Garbage: bytes = QByteArray("\x30\x84\xFF\xFF\xFF\xFF", 6); break;
            case TrapPdu:
                answer.pdu.type = PduType::Trap;
                answer.pdu.enterprise = kSysDescr;
                answer.pdu.agentAddress = QByteArray("\x7f\0\0\1", 4);
                break;
            case RequestPdu: answer.pdu.type = PduType::GetRequest; break;
            case Reordered: std::swap(answer.pdu.varBinds[0], answer.pdu.varBinds[1]); break;
            case BindingMissing: answer.pdu.varBinds.removeLast(); break;
            case OtherNames:
                for (VarBind &vb : answer.pdu.varBinds)
                    vb.name.last() = 1;
                break;
            case Refused:
                answer.pdu.errorStatus = error_status::NoSuchName;
                answer.pdu.errorIndex = 2;
                break;
            }
            if (bytes.isEmpty())
                bytes = encodeMessage(answer);
            from->writeDatagram(bytes, engineAddress, enginePort);
        }
    }

    int datagramsWaiting()
    {
        int count = 0;
        while (socket.hasPendingDatagrams()) {
            if (socket.receiveDatagram().data() == lastBytes)
                ++count;
        }
        return count;
    }

    QUdpSocket socket, otherPort, otherAddress;
    QByteArray lastBytes;
    QHostAddress engineAddress;
    quint16 enginePort = 0;
};

Request getFrom(const RawPeer &peer, int timeoutMs, int retries = 0)
{
    Request request = Request::get(QHostAddress::LocalHost, peer.socket.localPort(), "tst", {kSysDescr, kSysName});
    request.timeoutMs = timeoutMs;
    request.retries = retries;
    return request;
}

}  // namespace

class TestRequestEngine : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        engine = std::make_unique<RequestEngine>();
        QVERIFY(engine->open(QHostAddress::LocalHost).ok);
    }
    void cleanup() { engine.reset(); }

    void aFloodOfAnswersIsReadBatchByBatch()
    {
        // Answers keep arriving, from another thread, while earlier ones
        // are handled, more at once than one turn of the event loop reads,
        // each behind a datagram that does not decode: every request
        // finishes, none waits for its time-out.
        RawPeer peer;
        QVector<Reply *> replies;
        QVector<QByteArray> answers;
        for (int i = 0; i < 400; ++i) {
            replies << engine->send(getFrom(peer, 3000));
            Message answer = peer.receive();
            answer.pdu.type = PduType::GetResponse;
            answers << encodeMessage(answer);
        }
        const QHostAddress to = peer.engineAddress;
        const quint16 port = peer.enginePort;
        std::thread sender([&answers, to, port, from = peer.socket.socketDescriptor()] {
            QUdpSocket socket;
            socket.setSocketDescriptor(::dup(from), QAbstractSocket::BoundState, QIODevice::WriteOnly);
            for (int i = 0; i < answers.size(); ++i) {
                socket.writeDatagram("\x30\x84", to, port);
                socket.writeDatagram(answers[i], to, port);
                if (i % 40 == 39)
                    QThread::usleep(3000);
            }
        });
        // A plain event loop, as a program runs: the test's own waiting
        // turns the loop differently and would hide a socket gone quiet.
        QEventLoop loop;
        int finished = 0;
        for (Reply *reply : std::as_const(replies))
            connect(reply, &Reply::finished, &loop, [&] {
                if (++finished == replies.size())
                    loop.quit();
            });
        QTimer::singleShot(2000, &loop, &QEventLoop::quit);
        loop.exec();
        sender.join();
        QCOMPARE(finished, replies.size());
        for (Reply *reply : std::as_const(replies))
            QCOMPARE(reply->error(), Reply::NoError);
    }

    void answers_data()
    {
        QTest::addColumn<PduType>("type");
        QTest::addColumn<QList<int>>("steps");
        QTest::addColumn<Reply::Error>("error");
        QTest::addColumn<int>("errorStatus");
        const PduType get = PduType::GetRequest;

        QTest::newRow("plain answer") << get << QList<int>{RightAnswer} << Reply::NoError << 0;
        QTest::newRow("wrong port ignored") << get << QList<int>{FromOtherPort, RightAnswer} << Reply::NoError << 0;
        QTest::newRow("garbage and traps ignored") << get
            << QList<int>{Garbage, TrapPdu, RightAnswer} << Reply::NoError << 0;
        QTest::newRow("refused") << get << QList<int>{Refused} << Reply::ErrorStatus << int(error_status::NoSuchName);
        QTest::newRow("not a response") << get << QList<int>{RequestPdu} << Reply::Malformed << 0;
        QTest::newRow("bindings reordered") << get << QList<int>{Reordered} << Reply::Malformed << 0;
        QTest::newRow("binding missing") << get << QList<int>{BindingMissing} << Reply::Malformed << 0;
        QTest::newRow("only garbage") << get << QList<int>{Garbage, Garbage} << Reply::Malformed << 0;
        QTest::newRow("other objects") << get << QList<int>{OtherNames} << Reply::Malformed << 0;
        QTest::newRow("GETNEXT: the objects after") << PduType::GetNextRequest << QList<int>{OtherNames}
                                                     << Reply::NoError << 0;
        // Neither another host nor another request id is the answer.
        QTest::newRow("only strangers") << get << QList<int>{FromOtherAddress, WrongId} << Reply::Timeout << 0;
    }

    void answers()
    {
        QFETCH(PduType, type);
        QFETCH(QList<int>, steps);
        QFETCH(Reply::Error, error);
        QFETCH(int, errorStatus);
        RawPeer peer;
        Request request = getFrom(peer, 200);
        request.type = type;
        Reply *reply = engine->send(request);
        const Message sent = peer.receive();
        QCOMPARE(sent.pdu.varBinds.size(), 2);
        QCOMPARE(sent.pdu.requestId, reply->requestId());
        peer.play(sent, steps);
        QSignalSpy finished(reply, &Reply::finished);
        QVERIFY(QTest::qWaitFor([reply] { return reply->isFinished(); }, 3000));
        QCOMPARE(reply->error(), error);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(reply->errorStatus(), errorStatus);
        QCOMPARE(reply->isProtocolError(), error == Reply::ErrorStatus || error == Reply::Malformed);
        QCOMPARE(reply->isTransportError(), error == Reply::Timeout);
        QCOMPARE(reply->errorString().isEmpty(), error == Reply::NoError);
        if (error == Reply::NoError) {
            QCOMPARE(reply->response().pdu.varBinds.value(1).value, Value::octets("peer"));
            QCOMPARE(reply->responderPort(), peer.socket.localPort());
        }
        if (error == Reply::ErrorStatus)
            QCOMPARE(reply->errorIndex(), 2);
        delete reply;
    }

    void resends_data()
    {
        QTest::addColumn<int>("answerAfter");  // datagrams; 0: never
        QTest::addColumn<Reply::Error>("error");
        QTest::addColumn<int>("attempts");
        QTest::newRow("no answer: three datagrams, then time-out") << 0 << Reply::Timeout << 3;
        QTest::newRow("answer to the resend") << 2 << Reply::NoError << 2;
    }

    void resends()
    {
        QFETCH(int, answerAfter);
        QFETCH(Reply::Error, error);
        QFETCH(int, attempts);
        RawPeer peer;
        Request request = getFrom(peer, 60, 2);
        request.requestId = 4242;  // a caller's own counter reaches the wire as given
        QElapsedTimer clock;
        clock.start();
        Reply *reply = engine->send(request);
        Message first = peer.receive();
        QCOMPARE(first.pdu.requestId, 4242);
        const QByteArray bytes = peer.lastBytes;
        int seen = 1;
        while (seen < attempts && peer.receive(1000).pdu.requestId == 4242) {
            QCOMPARE(peer.lastBytes, bytes);  // the very same datagram again
            ++seen;
        }
        if (answerAfter > 0)
            peer.play(first, {RightAnswer});
        QVERIFY(QTest::qWaitFor([reply] { return reply->isFinished(); }, 3000));
        QCOMPARE(reply->error(), error);
        QCOMPARE(reply->attempts(), attempts);
        QCOMPARE(seen + peer.datagramsWaiting(), attempts);
        if (error == Reply::Timeout)
            QVERIFY(clock.elapsed() >= 3 * 60);
    }

    void refusedBeforeSending_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("open");
        QTest::addColumn<Reply::Error>("error");
        QTest::newRow("off this machine") << "10.1.2.3" << int(PduType::GetRequest) << true << Reply::NotAllowed;
        QTest::newRow("not IPv4") << "::1" << int(PduType::GetRequest) << true << Reply::InvalidRequest;
        QTest::newRow("not a request") << "127.0.0.1" << int(PduType::Trap) << true << Reply::InvalidRequest;
        QTest::newRow("engine not open") << "127.0.0.1" << int(PduType::GetRequest) << false << Reply::SocketError;
    }

    void refusedBeforeSending()
    {
        QFETCH(QString, host);
        QFETCH(int, type);
        QFETCH(bool, open);
        QFETCH(Reply::Error, error);
        if (!open)
            engine = std::make_unique<RequestEngine>();
        if (error == Reply::NotAllowed)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("refused")));
        Request request = Request::get(QHostAddress(host), 161, "tst", {kSysDescr});
        request.type = PduType(type);
        Reply *reply = engine->send(request);
        QVERIFY(reply->isFinished());  // known at once, finished() follows
        QSignalSpy finished(reply, &Reply::finished);
        QVERIFY(finished.wait(1000));
        QCOMPARE(reply->error(), error);
        QCOMPARE(reply->attempts(), 0);
        QCOMPARE(engine->sentDatagrams(), 0);
        if (error == Reply::NotAllowed)
            QVERIFY(reply->errorString().contains(QLatin1String("127.0.0.0/8")));
    }

    void abortAndEarlyDelete_data()
    {
        QTest::addColumn<bool>("deleteIt");
        QTest::newRow("abort") << false;
        QTest::newRow("delete") << true;
    }

    void abortAndEarlyDelete()
    {
        // The first request goes away while its answer is on the way; the
        // second, to the same peer, is answered as usual.
        QFETCH(bool, deleteIt);
        RawPeer peer;
        QPointer<Reply> first = engine->send(getFrom(peer, 2000));
        const Message firstRequest = peer.receive();
        Reply *second = engine->send(getFrom(peer, 2000));
        const Message secondRequest = peer.receive();
        QSignalSpy finished(first.data(), &Reply::finished);
        if (deleteIt) {
            delete first;
        } else {
            first->abort();
            QCOMPARE(finished.count(), 1);
            QCOMPARE(first->error(), Reply::Aborted);
        }
        peer.play(firstRequest, {RightAnswer});
        peer.play(secondRequest, {RightAnswer});
        QVERIFY(QTest::qWaitFor([second] { return second->isFinished(); }, 3000));
        QCOMPARE(second->error(), Reply::NoError);
        QCOMPARE(engine->unmatchedResponses(), 1);
        if (!deleteIt) {
            QCOMPARE(finished.count(), 1);
            QCOMPARE(first->error(), Reply::Aborted);
        }
    }

    void everyResponderUntilTheTimeout()
    {
        RawPeer peer;
        Request request = getFrom(peer, 200);
        request.responders = Request::Responders::EveryHost;
        QElapsedTimer clock;
        clock.start();
        Reply *reply = engine->send(request);
        QSignalSpy found(reply, &Reply::responderFound);
        peer.play(peer.receive(), {RightAnswer, FromOtherAddress, RightAnswer, RequestPdu});
        QTRY_COMPARE_WITH_TIMEOUT(found.count(), 2, 2000);
        QVERIFY(!reply->isFinished());
        QVERIFY(QTest::qWaitFor([reply] { return reply->isFinished(); }, 2000));
        QVERIFY(clock.elapsed() >= 200);
        QCOMPARE(reply->error(), Reply::NoError);
        QCOMPARE(reply->attempts(), 1);
        QCOMPARE(reply->answers().size(), 2);
        QCOMPARE(reply->answers().at(1).host, QHostAddress(QStringLiteral("127.0.0.2")));
        QCOMPARE(reply->responder(), QHostAddress(QHostAddress::LocalHost));
    }

private:
    std::unique_ptr<RequestEngine> engine;
};

QTEST_GUILESS_MAIN(TestRequestEngine)
#include "test_request_engine.moc"
