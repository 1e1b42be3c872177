#pragma once
// The console's trap instance: one UDP socket that takes SNMPv1 traps and
// raises Trap() for each, with Message holding the trap (its variables as
// the console reads them) and RemoteHost its sender. Requests go through
// the request engine (request_engine.h), never through here.
//
// Traps are delivered by a queued call, never from inside the socket's own
// handler, and a flood is read a bounded share per turn of the event loop.

#include "drop_report.h"
#include "snmp_message.h"
#include "udp_binding.h"

#include <QHostAddress>
#include <QObject>
#include <QString>

class QUdpSocket;

namespace snmp {

class SnmpManager : public QObject {
    Q_OBJECT
public:
    explicit SnmpManager(QObject *parent = nullptr);
    ~SnmpManager() override;

    QString RemoteHost;   // the sender of the trap being handled
    SnmpMessage Message;  // the trap being handled

    quint16 LocalPort() const { return localPort_; }

    // Binds the socket to `port` (0: any free port) on all IPv4 addresses.
    OpenResult Open(quint16 port = 0);
    // Binds to one address only.
    OpenResult Open(const QHostAddress &address, quint16 port);

    // Asks the system for a receive buffer of `bytes` on the open socket;
    // returns the size granted (0 when not open).
    int setReceiveBufferSize(int bytes);

    // Datagrams read from the socket in one turn of the event loop, at
    // most: a flood must leave the window its turns.
    static constexpr int kDatagramsPerTurn = 128;

signals:
    void Trap();

private:
    void readPendingDatagrams();
    void handleDatagram(QByteArrayView data, const QHostAddress &sender);
    void deliverQueued();

    QUdpSocket *socket_ = nullptr;
    quint16 localPort_ = 0;
    QHostAddress lastSender_;
    QString lastSenderText_;
    QByteArray receiveBuffer_;
    struct Delivery {
        SnmpMessage message;
        QString sender;
    };
    QList<Delivery> deliveries_;
    bool deliveryPosted_ = false;
    DropReport *dropReport_ = nullptr;
};

}  // namespace snmp
