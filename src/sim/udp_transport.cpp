// The agent on the network: one UDP socket, the faults that need time or
// chance (drop, delay, duplicates, late duplicate), moving to a new
// address on reset, and traps. Nothing leaves for an address outside the
// loopback range unless allowNonLoopback is set.

#include "simulated_access_point.h"

#include "sim_logging.h"

#include <QNetworkDatagram>
#include <QPointer>
#include <QTimer>
#include <QUdpSocket>
#include <QtEndian>

namespace sim {

namespace {

// More copies than this would only flood the peer.
constexpr int kMaxDuplicates = 100;

QUdpSocket *bindSocket(QObject *parent, const QHostAddress &address, quint16 port, QString *error)
{
    auto *socket = new QUdpSocket(parent);
    // Exclusive: a port that someone else holds is a failure, not shared.
    if (!socket->bind(address, port, QAbstractSocket::DontShareAddress)) {
        if (error)
            *error = socket->errorString();
        delete socket;
        return nullptr;
    }
    return socket;
}

}  // namespace

bool SimulatedAccessPoint::mayReach(const QHostAddress &address) const
{
    return allowNonLoopback || address.isLoopback();
}

bool SimulatedAccessPoint::start(const QHostAddress &address, quint16 port, QString *error)
{
    stop();
    if (!mayReach(address)) {
        if (error)
            *error = QStringLiteral("%1 is not a loopback address").arg(address.toString());
        return false;
    }
    QUdpSocket *socket = bindSocket(this, address, port, error);
    if (!socket)
        return false;
    connect(socket, &QUdpSocket::readyRead, this, &SimulatedAccessPoint::readPendingDatagrams);
    socket_ = socket;
    address_ = address;
    port_ = socket->localPort();
    reportOwnAddress();
    qCInfo(lcSim) << "listening on" << address_.toString() << port_;
    return true;
}

void SimulatedAccessPoint::stop()
{
    if (!socket_)
        return;
    socket_->disconnect(this);
    socket_->close();
    socket_->deleteLater();
    socket_ = nullptr;
    port_ = 0;
}

void SimulatedAccessPoint::moveTo(const QHostAddress &newAddress)
{
    if (!socket_ || newAddress == address_)
        return;
    QString error;
    QUdpSocket *socket = bindSocket(this, newAddress, port_, &error);
    if (!socket) {
        qCWarning(lcSim) << "cannot move to" << newAddress.toString() << error;
        return;
    }
    QUdpSocket *old = socket_;
    old->disconnect(this);
    old->close();
    old->deleteLater();
    connect(socket, &QUdpSocket::readyRead, this, &SimulatedAccessPoint::readPendingDatagrams);
    socket_ = socket;
    address_ = newAddress;
    qCInfo(lcSim) << "moved to" << address_.toString() << port_;
    emit moved(address_);
}

void SimulatedAccessPoint::readPendingDatagrams()
{
    // A handler of one of our signals may stop or move the agent.
    const QPointer<QUdpSocket> socket = socket_;
    while (socket && socket == socket_ && socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket->receiveDatagram();
        if (!datagram.isValid())
            break;
        const QHostAddress from = datagram.senderAddress();
        const quint16 fromPort = quint16(datagram.senderPort());
        const std::optional<snmp::Message> request = acceptRequest(datagram.data());
        if (!request)
            continue;
        if (faults.dropRatio > 0 && random_.generateDouble() < faults.dropRatio) {
            qCDebug(lcSim) << "dropped request" << request->pdu.requestId;
            continue;
        }
        const std::optional<QByteArray> answer = answerAccepted(*request);
        if (!answer)
            continue;
        const int delay = qMax(0, faults.delayMs) + extraDelayFor(*request);
        const int copies = 1 + qBound(0, faults.duplicateAnswers, kMaxDuplicates);
        for (int i = 0; i < copies; ++i)
            sendLater(*answer, from, fromPort, delay);
        if (faults.lateDuplicateMs > 0)
            sendLater(*answer, from, fromPort, delay + faults.lateDuplicateMs);
    }
}

void SimulatedAccessPoint::sendLater(const QByteArray &answer, const QHostAddress &to, quint16 port, int delayMs)
{
    if (delayMs <= 0) {
        sendDatagram(answer, to, port);
        return;
    }
    QTimer::singleShot(delayMs, this, [this, answer, to, port] { sendDatagram(answer, to, port); });
}

bool SimulatedAccessPoint::sendDatagram(const QByteArray &bytes, const QHostAddress &to, quint16 port)
{
    if (!mayReach(to)) {
        qCWarning(lcSim) << "refused to send to" << to.toString() << "- not a loopback address";
        return false;
    }
    qint64 written = -1;
    if (socket_) {
        written = socket_->writeDatagram(bytes, to, port);
    } else {
        QUdpSocket transient;  // a stopped agent still sends its traps
        written = transient.writeDatagram(bytes, to, port);
    }
    if (written != bytes.size()) {
        qCWarning(lcSim) << "sending to" << to.toString() << port << "failed";
        return false;
    }
    return true;
}

void SimulatedAccessPoint::setTrapDestination(const QHostAddress &address, quint16 port)
{
    trapAddress_ = address;
    trapPort_ = port;
}

bool SimulatedAccessPoint::sendTrap(int specificCode, const QVector<snmp::VarBind> &bindings)
{
    if (trapAddress_.isNull() || trapPort_ == 0)
        return false;
    const snmp::Value trapSwitch = values_.value(QStringLiteral("sysTrapSwitch"));
    if (trapSwitch.kind == snmp::ValueKind::Integer && trapSwitch.number == 2) {
        qCDebug(lcSim) << "trap" << specificCode << "not sent: traps are switched off";
        return false;
    }
    snmp::Message trap;
    trap.version = 0;
    trap.community = community;
    snmp::Pdu &pdu = trap.pdu;
    pdu.type = snmp::PduType::Trap;
    pdu.enterprise = enterprise_;
    bool isIpv4 = false;
    const quint32 agent = address_.toIPv4Address(&isIpv4);
    pdu.agentAddress = QByteArray(4, '\0');
    if (isIpv4)
        qToBigEndian(agent, pdu.agentAddress.data());
    pdu.genericTrap = 6;  // enterpriseSpecific
    pdu.specificTrap = specificCode;
    pdu.timeStamp = quint32(uptime_.elapsed() / 10);
    pdu.varBinds = bindings;
    return sendDatagram(snmp::encodeMessage(trap), trapAddress_, trapPort_);
}

bool SimulatedAccessPoint::sendStationTrap(int specificCode, const QByteArray &stationMac)
{
    const QString name = QStringLiteral("trapStationAddress");
    snmp::Oid oid;
    if (stationMac.size() != 6 || !snmp::oidFromText(oidOf(name), oid))
        return false;
    oid.append(0);
    const snmp::Value mac = snmp::Value::octets(stationMac);
    values_.insert(name, mac);
    return sendTrap(specificCode, {snmp::VarBind{oid, mac}});
}

}  // namespace sim
