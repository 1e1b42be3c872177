#pragma once
// One SNMPv1 manager endpoint on one UDP socket: the console's request
// instance sends GET/SET requests and waits for their answers, its trap
// instance listens for traps.
//
// Send() blocks its caller until the matching answer arrives or Timeout
// passes: first a short wait on the socket itself (an answer from nearby
// comes in well under a millisecond), then a nested event loop, so timers
// and window events keep running while a slow device thinks. A time-out does not raise: Send() returns
// SendOutcome::TimedOut and leaves Message with no variables, so a caller
// that reads an answer variable finds none. Only faults (busy, bad value,
// unknown host, socket error) come back as SendOutcome::Failed.
//
// Events: Response() for every decoded response datagram, Trap() for every
// decoded trap. They are delivered by a queued call, never from inside the
// socket's own handler, so a handler may Send() again. While an event is
// handled, Message holds the received message (a response keeps the
// community of the request instance: nothing received may change what the
// next request carries) and RemoteHost its sender.
//
// Loopback-only guard: when it is on (the demo, every test), a request to
// any address outside 127.0.0.0/8 fails before a byte is sent.

#include "drop_report.h"
#include "snmp_message.h"
#include "udp_binding.h"

#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QString>

class QUdpSocket;
class QEventLoop;

namespace snmp {

enum class SendOutcome { Answered, TimedOut, Failed };

struct SendResult {
    SendOutcome outcome = SendOutcome::Failed;
    QString description;  // empty when answered
    bool answered() const { return outcome == SendOutcome::Answered; }
    bool failed() const { return outcome == SendOutcome::Failed; }
};

class SnmpManager : public QObject {
    Q_OBJECT
public:
    explicit SnmpManager(QObject *parent = nullptr);
    ~SnmpManager() override;

    QString RemoteHost;
    quint16 RemotePort = 161;
    int Timeout = 1000;  // milliseconds
    SnmpMessage Message;

    quint16 LocalPort() const { return localPort_; }
    bool Busy() const { return busy_; }

    // Binds the socket to `port` (0: any free port) on all IPv4 addresses.
    OpenResult Open(quint16 port = 0);
    // Binds to one address only (the simulated access point, tests).
    OpenResult Open(const QHostAddress &address, quint16 port);

    SendResult Send();

    // Asks the system for a receive buffer of `bytes` on the open socket;
    // returns the size granted (0 when not open).
    int setReceiveBufferSize(int bytes);

    // An instance that only sends requests has no use for traps: with this
    // on, one arriving on its port is dropped instead of raising Trap().
    bool dropsTraps = false;

    // How long Send() waits on the socket itself before it turns to the
    // event loop: a device nearby answers within a fraction of a
    // millisecond, and waiting for that directly costs far less than turns
    // of the event loop (which may repaint windows). A device in this very
    // process (the demo's) can only answer from the event loop: 0 there.
    void setDirectWaitMs(int milliseconds) { directWaitMs_ = milliseconds; }
    static constexpr int kDefaultDirectWaitMs = 2;

    // The process-wide loopback-only guard (loopback_guard.h), which the
    // request engine honours too.
    static void setLoopbackOnly(bool on);
    static bool loopbackOnly();
    // The text a refused destination gets.
    static QString loopbackRefusal(const QString &host);

    // Parses the text a user gives as a device address: a dotted IPv4
    // address or "localhost". No name lookup: it would freeze the window.
    static bool resolveHost(const QString &text, QHostAddress &address);

    // Datagrams this instance has sent, and requests the guard refused.
    int sentDatagrams() const { return sent_; }
    int refusedByGuard() const { return refused_; }

    // Datagrams that did not decode as SNMPv1; they are dropped.
    int droppedDatagrams() const { return dropped_; }

    // Datagrams read from the socket in one turn of the event loop, at
    // most: a flood must leave the window its turns.
    static constexpr int kDatagramsPerTurn = 128;
    // Decoded responses that did not match the outstanding request.
    int unmatchedResponses() const { return unmatched_; }

    // Broadcast destinations accept an answer from any host.
    static bool isBroadcast(const QHostAddress &address);

signals:
    void Response();
    void Trap();
    // The loopback-only guard refused a request; the text says why.
    void requestRefused(const QString &description);

private:
    struct PendingRequest;
    void readPendingDatagrams();
    void handleDatagram(QByteArrayView data, const QHostAddress &sender);
    void deliver(const SnmpMessage &message, const QString &sender, bool isTrap);
    void deliverQueued();
    void finish(PendingRequest &request);

    QUdpSocket *socket_ = nullptr;
    quint16 localPort_ = 0;
    bool busy_ = false;
    // The outstanding request, kept apart from Message so that nothing a
    // caller does with Message while it waits can change what matches.
    PendingRequest *pending_ = nullptr;

    int dropped_ = 0;
    int unmatched_ = 0;
    int sent_ = 0;
    int refused_ = 0;
    QString resolvedText_;  // the last RemoteHost text and its address
    QHostAddress resolvedHost_;
    int directWaitMs_ = kDefaultDirectWaitMs;
    QHostAddress lastSender_;
    QString lastSenderText_;
    QByteArray receiveBuffer_;
    struct Delivery {
        SnmpMessage message;
        QString sender;
        bool isTrap = false;
    };
    QList<Delivery> deliveries_;
    bool deliveryPosted_ = false;
    DropReport *dropReport_ = nullptr;
};

}  // namespace snmp
