#include "snmp_manager.h"

#include "loopback_guard.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QLoggingCategory>
#include <QNetworkDatagram>
#include <QTimer>
#include <QUdpSocket>
#include <QVariant>

Q_LOGGING_CATEGORY(lcSnmpManager, "corvane.snmp.manager")


namespace snmp {

// One Send() call's state. It lives on the caller's stack, so a Send()
// started from an event handler while an earlier Send() is still unwinding
// never shares state with it.
struct SnmpManager::PendingRequest {
    qint32 requestId = 0;
    QHostAddress host;
    bool anyHost = false;
    bool done = false;
    bool answered = false;
    SnmpMessage answer;
    QEventLoop *loop = nullptr;
};

SnmpManager::SnmpManager(QObject *parent)
    : QObject(parent), dropReport_(new DropReport(lcSnmpManager(), DropReport::kPeriodMs, this))
{
}

SnmpManager::~SnmpManager()
{
    // A Send() still waiting higher up the stack must not touch us again.
    if (pending_ && pending_->loop)
        pending_->loop->quit();
}

OpenResult SnmpManager::Open(quint16 port)
{
    return Open(QHostAddress(QHostAddress::AnyIPv4), port);
}

OpenResult SnmpManager::Open(const QHostAddress &address, quint16 port)
{
    OpenResult result;
    if (localPort_ != 0) {
        result.ok = true;
        return result;
    }
    QUdpSocket *socket = bindUdpSocket(address, port, this, result);
    if (!socket)
        return result;
    socket_ = socket;
    localPort_ = socket->localPort();
    connect(socket_, &QUdpSocket::readyRead, this, &SnmpManager::readPendingDatagrams);
    return result;
}

int SnmpManager::setReceiveBufferSize(int bytes)
{
    if (!socket_)
        return 0;
    socket_->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, bytes);
    return socket_->socketOption(QAbstractSocket::ReceiveBufferSizeSocketOption).toInt();
}

bool SnmpManager::isBroadcast(const QHostAddress &address)
{
    return isBroadcastAddress(address);
}

void SnmpManager::setLoopbackOnly(bool on)
{
    loopback_guard::setOn(on);
}

bool SnmpManager::loopbackOnly()
{
    return loopback_guard::isOn();
}

QString SnmpManager::loopbackRefusal(const QString &host)
{
    return loopback_guard::refusal(host);
}

bool SnmpManager::resolveHost(const QString &text, QHostAddress &address)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0) {
        address = QHostAddress(QHostAddress::LocalHost);
        return true;
    }
    QHostAddress parsed;
    if (!parsed.setAddress(trimmed) || parsed.protocol() != QAbstractSocket::IPv4Protocol)
        return false;
    address = parsed;
    return true;
}

SendResult SnmpManager::Send()
{
    SendResult result;
    if (!socket_) {
        result.description = QStringLiteral("The manager is not open.");
        return result;
    }
    if (busy_) {
        result.description = QStringLiteral("A request is already outstanding.");
        return result;
    }
    snmp::Message wire;
    QString why;
    if (!Message.toWire(wire, &why)) {
        result.description = why;
        return result;
    }
    QHostAddress host;
    if (!RemoteHost.isEmpty() && RemoteHost == resolvedText_) {
        host = resolvedHost_;  // parsing the same text for every request costs more than the rest
    } else if (resolveHost(RemoteHost, host)) {
        resolvedText_ = RemoteHost;
        resolvedHost_ = host;
    } else {
        result.description = QStringLiteral("'%1' is not an IPv4 address.").arg(RemoteHost);
        return result;
    }
    if (!loopback_guard::allows(host)) {
        ++refused_;
        result.description = loopbackRefusal(RemoteHost);
        qCWarning(lcSnmpManager).noquote() << result.description;
        emit requestRefused(result.description);
        return result;
    }
    const QByteArray datagram = encodeMessage(wire);
    if (socket_->writeDatagram(datagram, host, RemotePort) != datagram.size()) {
        result.description = socket_->errorString();
        return result;
    }
    ++sent_;

    PendingRequest request;
    request.requestId = Message.RequestId;
    request.host = host;
    request.anyHost = isBroadcast(host);
    pending_ = &request;
    busy_ = true;
    const QByteArray community = Message.Community;
    QPointer<SnmpManager> alive(this);

    // A device nearby answers within a fraction of a millisecond. Waiting
    // for that on the socket itself costs far less than turns of the event
    // loop, each of which may repaint the windows; the window cannot notice
    // a wait this short. A slower answer is awaited in the event loop.
    QElapsedTimer waited;
    waited.start();
    const int directWaitMs = qMin(qMax(0, Timeout), qMax(0, directWaitMs_));
    while (!request.done && alive && waited.elapsed() < directWaitMs) {
        if (!socket_->waitForReadyRead(int(directWaitMs - waited.elapsed())))
            break;
    }
    if (!request.done && alive) {
        QEventLoop loop;
        request.loop = &loop;
        QTimer timer;
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);  // a watchdog counts on the full time-out
        connect(&timer, &QTimer::timeout, &loop, [this, &request] { finish(request); });
        timer.start(int(qMax<qint64>(0, Timeout - waited.elapsed())));
        loop.exec();
        request.loop = nullptr;
    }
    if (!alive) {
        result.description = QStringLiteral("The manager was closed while waiting.");
        return result;
    }
    finish(request);  // a quit from outside (application exit) ends the wait too

    if (request.answered) {
        Message = request.answer;
        Message.Community = community;
        result.outcome = SendOutcome::Answered;
    } else {
        Message.Variables.clear();
        Message.ErrorStatus = 0;
        Message.ErrorIndex = 0;
        result.outcome = SendOutcome::TimedOut;
    }
    return result;
}

void SnmpManager::finish(PendingRequest &request)
{
    if (request.done)
        return;
    request.done = true;
    if (pending_ == &request) {
        pending_ = nullptr;
        busy_ = false;
    }
    if (request.loop)
        request.loop->quit();
}

void SnmpManager::readPendingDatagrams()
{
    // One read per datagram into a buffer that outlives the call: asking the
    // system for the size first would cost a call of its own every time.
    receiveBuffer_.resize(65536);
    // Under a flood the socket never runs dry: a bounded share per turn.
    // The socket's notifier fires again on the next turn while datagrams
    // wait, so timers and the window's events come in between. (Reads only
    // from here: a readyRead that found nothing to read would leave the
    // socket believing a datagram still waits, and it would stop telling.)
    for (int taken = 0; taken < kDatagramsPerTurn; ++taken) {
        if (!socket_ || !socket_->hasPendingDatagrams())
            return;
        QHostAddress sender;
        const qint64 read = socket_->readDatagram(receiveBuffer_.data(), receiveBuffer_.size(), &sender);
        if (read < 0)
            continue;
        handleDatagram(QByteArrayView(receiveBuffer_.constData(), read), sender);
    }
}

void SnmpManager::handleDatagram(QByteArrayView data, const QHostAddress &sender)
{
    const DecodeResult decoded = decodeMessage(data);
    if (!decoded.ok()) {
        ++dropped_;
        dropReport_->dropped(sender.toString(), berErrorText(decoded.error));
        return;
    }
    const snmp::Message &message = *decoded.message;
    const QHostAddress from(sender.toIPv4Address());
    if (from != lastSender_) {  // the text of an address is made once, not per datagram
        lastSender_ = from;
        lastSenderText_ = from.toString();
    }
    if (message.pdu.type == PduType::Trap) {
        if (dropsTraps)
            ++dropped_;
        else
            deliver(SnmpMessage::fromWire(message), lastSenderText_, true);
        return;
    }
    if (message.pdu.type != PduType::GetResponse) {
        ++dropped_;
        return;
    }
    SnmpMessage response = SnmpMessage::fromWire(message);
    PendingRequest *request = pending_;
    if (request && !request->done && message.pdu.requestId == request->requestId
        && (request->anyHost || from == request->host)) {
        request->answer = response;
        request->answered = true;
        finish(*request);
    } else {
        ++unmatched_;
    }
    deliver(response, lastSenderText_, false);
}

void SnmpManager::deliver(const SnmpMessage &message, const QString &sender, bool isTrap)
{
    // Queued: handlers may Send(), which needs this socket's readyRead again.
    // One queued call takes every event that arrived meanwhile, in order, so
    // a burst does not wake the event loop once per datagram.
    deliveries_.append(Delivery{message, sender, isTrap});
    if (deliveryPosted_)
        return;
    deliveryPosted_ = true;
    QMetaObject::invokeMethod(this, &SnmpManager::deliverQueued, Qt::QueuedConnection);
}

void SnmpManager::deliverQueued()
{
    deliveryPosted_ = false;
    QPointer<SnmpManager> alive(this);
    while (alive && !deliveries_.isEmpty()) {
        const Delivery delivery = deliveries_.takeFirst();
        const QByteArray community = Message.Community;
        Message = delivery.message;
        if (!delivery.isTrap)
            Message.Community = community;
        RemoteHost = delivery.sender;
        if (delivery.isTrap)
            emit Trap();
        else
            emit Response();
    }
}

}  // namespace snmp
