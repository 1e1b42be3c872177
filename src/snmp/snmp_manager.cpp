#include "snmp_manager.h"

#include <QLoggingCategory>
#include <QPointer>
#include <QUdpSocket>
#include <QVariant>

Q_LOGGING_CATEGORY(lcSnmpManager, "corvane.snmp.manager")

namespace snmp {

SnmpManager::SnmpManager(QObject *parent)
    : QObject(parent), dropReport_(new DropReport(lcSnmpManager(), DropReport::kPeriodMs, this))
{
}

SnmpManager::~SnmpManager() = default;

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
        dropReport_->dropped(sender.toString(), berErrorText(decoded.error));
        return;
    }
    if (decoded.message->pdu.type != PduType::Trap)
        return;  // only traps come here
    const QHostAddress from(sender.toIPv4Address());
    if (from != lastSender_) {  // the text of an address is made once, not per datagram
        lastSender_ = from;
        lastSenderText_ = from.toString();
    }
    // Queued: a handler may run an event loop of its own, which needs this
    // socket's readyRead again. One queued call takes every trap that
    // arrived meanwhile, in order, so a burst does not wake the event loop
    // once per datagram.
    deliveries_.append(Delivery{SnmpMessage::fromWire(*decoded.message), lastSenderText_});
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
        Message = delivery.message;
        RemoteHost = delivery.sender;
        emit Trap();
    }
}

}  // namespace snmp
