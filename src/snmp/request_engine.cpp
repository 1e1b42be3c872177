#include "request_engine.h"

#include "loopback_guard.h"

#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QTimerEvent>
#include <QUdpSocket>
#include <QVariant>

Q_LOGGING_CATEGORY(lcRequestEngine, "corvane.snmp.engine")

namespace snmp {

namespace {

// Senders on a socket bound to "any" address may show up IPv4-mapped.
QHostAddress plainIpv4(const QHostAddress &address)
{
    bool isIpv4 = false;
    const quint32 ip = address.toIPv4Address(&isIpv4);
    return isIpv4 ? QHostAddress(ip) : address;
}

QString endpointText(const QHostAddress &host, quint16 port)
{
    return QStringLiteral("%1:%2").arg(host.toString()).arg(port);
}

// An answer names the objects asked for, in the order asked; the answer to
// a GETNEXT names the objects after them, one for each.
bool namesAsAsked(PduType type, const QVector<VarBind> &asked, const QVector<VarBind> &answered)
{
    if (asked.size() != answered.size())
        return false;
    if (type == PduType::GetNextRequest)
        return true;
    for (qsizetype i = 0; i < asked.size(); ++i) {
        if (asked[i].name != answered[i].name)
            return false;
    }
    return true;
}

bool isRequestType(PduType type)
{
    return type == PduType::GetRequest || type == PduType::GetNextRequest || type == PduType::SetRequest;
}

constexpr int kMaxTimeoutMs = 24 * 3600 * 1000;
constexpr int kMaxRetries = 100;
constexpr int kReceiveBufferBytes = 65536;  // the largest UDP datagram
constexpr int kSocketBufferBytes = 1 << 20;

}  // namespace

RequestEngine::RequestEngine(QObject *parent)
    : QObject(parent),
      nextId_(qint32(QRandomGenerator::global()->bounded(1, 1 << 30))),
      dropReport_(new DropReport(lcRequestEngine(), DropReport::kPeriodMs, this))
{
    // A random first id: answers meant for an earlier engine on the same
    // port are not taken for ours.
}

RequestEngine::~RequestEngine()
{
    // Outstanding replies end as aborted. Their finished() is queued, so no
    // caller code runs inside this destructor; a reply deleted meanwhile
    // (the engine's children go right after this) never emits it.
    const QList<Reply *> outstanding = byTimer_.values();
    byTimer_.clear();
    byRequestId_.clear();
    for (Reply *reply : outstanding) {
        reply->engine_ = nullptr;
        reply->setOutcome(Reply::Aborted, QStringLiteral("The request engine was closed."));
        QMetaObject::invokeMethod(reply, [reply] { emit reply->finished(); }, Qt::QueuedConnection);
    }
}

OpenResult RequestEngine::open(const QHostAddress &address, quint16 port)
{
    OpenResult result;
    if (socket_) {
        result.ok = true;
        return result;
    }
    socket_ = bindUdpSocket(address, port, this, result);
    if (!socket_)
        return result;
    buffer_.resize(kReceiveBufferBytes);
    // Hundreds of devices may answer in the same millisecond; the system's
    // default buffer holds a few hundred small datagrams at most.
    socket_->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, kSocketBufferBytes);
    connect(socket_, &QUdpSocket::readyRead, this, &RequestEngine::readBatch);
    return result;
}

quint16 RequestEngine::localPort() const
{
    return socket_ ? socket_->localPort() : 0;
}

qint32 RequestEngine::nextRequestId()
{
    for (;;) {
        const qint32 id = nextId_;
        nextId_ = nextId_ == std::numeric_limits<qint32>::max() ? 1 : nextId_ + 1;
        if (!byRequestId_.contains(id))
            return id;
    }
}

Reply *RequestEngine::send(const Request &request)
{
    const qint32 id = request.requestId ? *request.requestId : nextRequestId();
    auto *reply = new Reply(this, request, id);
    reply->destination_ = plainIpv4(request.host);
    reply->request_.timeoutMs = qBound(0, request.timeoutMs, kMaxTimeoutMs);
    reply->request_.retries = qBound(0, request.retries, kMaxRetries);

    if (!isRequestType(request.type)) {
        refuseAtOnce(reply, Reply::InvalidRequest, QStringLiteral("Only GET, GETNEXT and SET requests can be sent."));
        return reply;
    }
    if (reply->destination_.protocol() != QAbstractSocket::IPv4Protocol) {
        refuseAtOnce(reply, Reply::InvalidRequest,
                     QStringLiteral("'%1' is not an IPv4 address.").arg(request.host.toString()));
        return reply;
    }
    if (!loopback_guard::allows(reply->destination_)) {
        const QString text = loopback_guard::refusal(reply->destination_.toString());
        qCWarning(lcRequestEngine).noquote() << text;
        refuseAtOnce(reply, Reply::NotAllowed, text);
        return reply;
    }
    if (!socket_) {
        refuseAtOnce(reply, Reply::SocketError, QStringLiteral("The request engine is not open."));
        return reply;
    }
    reply->anyHost_ = request.responders != Request::Responders::Host || isBroadcastAddress(reply->destination_);

    Message message;
    message.community = request.community;
    message.pdu.type = request.type;
    message.pdu.requestId = id;
    message.pdu.varBinds = request.bindings;
    reply->datagram_ = encodeMessage(message);

    if (!transmit(reply)) {
        refuseAtOnce(reply, Reply::SocketError, socket_->errorString());
        return reply;
    }
    byRequestId_.insert(id, reply);
    reply->timerId_ = startTimer(reply->request_.timeoutMs, Qt::PreciseTimer);
    byTimer_.insert(reply->timerId_, reply);
    return reply;
}

void RequestEngine::refuseAtOnce(Reply *reply, Reply::Error error, const QString &text)
{
    // The caller has not connected to the reply yet: finished() comes from
    // the event loop, and isFinished() tells at once.
    reply->setOutcome(error, text);
    QMetaObject::invokeMethod(reply, [reply] { emit reply->finished(); }, Qt::QueuedConnection);
}

bool RequestEngine::transmit(Reply *reply)
{
    const qint64 written = socket_->writeDatagram(reply->datagram_, reply->destination_, reply->request_.port);
    if (written != reply->datagram_.size()) {
        qCWarning(lcRequestEngine) << "sending to" << endpointText(reply->destination_, reply->request_.port)
                                   << "failed:" << socket_->errorString();
        return false;
    }
    ++reply->attempts_;
    ++sent_;
    return true;
}

void RequestEngine::timerEvent(QTimerEvent *event)
{
    Reply *reply = byTimer_.value(event->timerId());
    if (!reply) {
        QObject::timerEvent(event);
        return;
    }
    onTimeout(reply);
}

void RequestEngine::onTimeout(Reply *reply)
{
    const Request &request = reply->request_;
    if (request.responders == Request::Responders::EveryHost && !reply->answers_.isEmpty()) {
        complete(reply, Reply::NoError, QString());
        return;
    }
    if (reply->attempts_ <= request.retries) {
        // The same bytes again; the timer keeps running for this attempt.
        if (!loopback_guard::allows(reply->destination_)) {
            complete(reply, Reply::NotAllowed, loopback_guard::refusal(reply->destination_.toString()));
        } else if (!transmit(reply)) {
            complete(reply, Reply::SocketError, socket_->errorString());
        }
        return;
    }
    const QString peer = endpointText(reply->destination_, request.port);
    if (reply->sawUndecodable_) {
        complete(reply, Reply::Malformed, QStringLiteral("Only undecodable datagrams came from %1.").arg(peer));
        return;
    }
    complete(reply, Reply::Timeout,
             QStringLiteral("No answer from %1 after %2 attempt(s).").arg(peer).arg(reply->attempts_));
}

void RequestEngine::readBatch()
{
    // Only here, on readyRead: a bounded number of datagrams. The socket
    // reports readable again on the event loop's next turn while more wait,
    // so a flood is read batch by batch with timers and windows served in
    // between. The first read is made even when nothing seems to wait: Qt
    // emits readyRead once and then only after a read, so a notification
    // left unread would silence the socket for good.
    for (int i = 0; i < kMaxDatagramsPerTurn; ++i) {
        if (i > 0 && !socket_->hasPendingDatagrams())
            break;
        QHostAddress sender;
        quint16 senderPort = 0;
        const qint64 size = socket_->readDatagram(buffer_.data(), buffer_.size(), &sender, &senderPort);
        if (size < 0)
            break;
        inbox_.append(Incoming{QByteArray(buffer_.constData(), size), plainIpv4(sender), senderPort});
    }
    // Handled after this slot has returned: a handler of finished() may
    // wait for another answer on this socket, and readyRead is not emitted
    // again while its slot runs.
    if (!inbox_.isEmpty() && !handlingQueued_) {
        handlingQueued_ = true;
        QMetaObject::invokeMethod(this, &RequestEngine::handleInbox, Qt::QueuedConnection);
    }
}

void RequestEngine::handleInbox()
{
    handlingQueued_ = false;
    QVector<Incoming> batch;
    batch.swap(inbox_);
    const QPointer<RequestEngine> alive(this);
    for (const Incoming &datagram : std::as_const(batch)) {
        if (!alive)
            return;
        handleDatagram(datagram.bytes, datagram.sender, datagram.senderPort);
    }
}

void RequestEngine::handleDatagram(QByteArrayView bytes, const QHostAddress &sender, quint16 senderPort)
{
    DecodeResult decoded = decodeMessage(bytes);
    if (!decoded.ok()) {
        ++dropped_;
        dropReport_->dropped(endpointText(sender, senderPort), berErrorText(decoded.error));
        noteUndecodable(sender, senderPort);
        return;
    }
    Message &message = *decoded.message;
    if (message.pdu.type == PduType::Trap) {
        ++dropped_;  // the trap listener has its own socket
        return;
    }
    Reply *reply = findOutstanding(message.pdu.requestId, sender, senderPort);
    if (!reply) {
        ++unmatched_;
        qCDebug(lcRequestEngine) << "no request" << message.pdu.requestId << "outstanding for"
                                 << endpointText(sender, senderPort);
        return;
    }
    acceptAnswer(reply, std::move(message), sender, senderPort);
}

void RequestEngine::noteUndecodable(const QHostAddress &sender, quint16 senderPort)
{
    for (Reply *reply : std::as_const(byTimer_)) {
        if (!reply->anyHost_ && reply->destination_ == sender && reply->request_.port == senderPort)
            reply->sawUndecodable_ = true;
    }
}

Reply *RequestEngine::findOutstanding(qint32 requestId, const QHostAddress &sender, quint16 senderPort) const
{
    // Of two requests with one id (a caller's own numbering) the older one
    // gets the answer; the hash lists the newest first.
    Reply *found = nullptr;
    for (auto it = byRequestId_.constFind(requestId); it != byRequestId_.cend() && it.key() == requestId; ++it) {
        Reply *reply = it.value();
        if (reply->request_.port == senderPort && (reply->anyHost_ || reply->destination_ == sender))
            found = reply;
    }
    return found;
}

void RequestEngine::acceptAnswer(Reply *reply, Message &&message, const QHostAddress &sender, quint16 senderPort)
{
    const QString peer = endpointText(sender, senderPort);
    if (reply->request_.responders == Request::Responders::EveryHost) {
        if (message.pdu.type != PduType::GetResponse) {
            ++unmatched_;
            return;
        }
        for (const Reply::Answer &answer : std::as_const(reply->answers_)) {
            if (answer.host == sender && answer.port == senderPort)
                return;  // a copy of an answer already counted
        }
        if (reply->answers_.isEmpty()) {
            reply->response_ = message;
            reply->responder_ = sender;
            reply->responderPort_ = senderPort;
        }
        reply->answers_.append(Reply::Answer{sender, senderPort, std::move(message)});
        emit reply->responderFound(sender, senderPort);
        return;
    }

    Reply::Error error = Reply::NoError;
    QString text;
    if (message.pdu.type != PduType::GetResponse) {
        error = Reply::Malformed;
        text = QStringLiteral("%1 answered with PDU type 0x%2, not a GetResponse.")
                   .arg(peer)
                   .arg(quint8(message.pdu.type), 2, 16, QLatin1Char('0'));
    } else if (message.pdu.errorStatus != error_status::NoError) {
        error = Reply::ErrorStatus;
        text = QStringLiteral("%1 refused the request: %2 (error status %3) at variable %4.")
                   .arg(peer, Reply::errorStatusName(message.pdu.errorStatus))
                   .arg(message.pdu.errorStatus)
                   .arg(message.pdu.errorIndex);
    } else if (!namesAsAsked(reply->request_.type, reply->request_.bindings, message.pdu.varBinds)) {
        error = Reply::Malformed;
        text = QStringLiteral("The answer from %1 does not name the requested objects in the requested order.")
                   .arg(peer);
    }
    reply->response_ = std::move(message);
    reply->responder_ = sender;
    reply->responderPort_ = senderPort;
    complete(reply, error, text);
}

void RequestEngine::forget(Reply *reply)
{
    if (reply->timerId_) {
        killTimer(reply->timerId_);
        byTimer_.remove(reply->timerId_);
        reply->timerId_ = 0;
    }
    byRequestId_.remove(reply->requestId_, reply);
}

void RequestEngine::complete(Reply *reply, Reply::Error error, const QString &text)
{
    forget(reply);
    reply->setOutcome(error, text);
    if (error != Reply::NoError)
        qCDebug(lcRequestEngine).noquote() << "request" << reply->requestId_ << ":" << text;
    emit reply->finished();
}

}  // namespace snmp
