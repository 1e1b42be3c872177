#pragma once
// An asynchronous SNMPv1 request engine on one UDP socket: send() returns
// a Reply at once and many requests may be outstanding together, to one
// host or to hundreds. Answers are matched by request id and by the
// responder's address and port; each request has its own time-out and
// resends (the same id and bytes again, so a late answer to an earlier
// attempt still counts).
//
// Nothing here waits: no nested event loop, no blocking socket call. A
// caller that must block (a window's synchronous Send) waits on one Reply
// in its own layer.
//
// Datagrams are read a bounded number per turn of the event loop, so a
// flood cannot starve timers or windows, and handled in a queued call, so
// handlers of finished() may start new requests or run an event loop of
// their own. Datagrams that do not decode, answers that match nothing and
// traps are counted and dropped (traps have a listener of their own).
//
// The loopback-only guard (loopback_guard.h) is checked before a byte of a
// request is sent.

#include "drop_report.h"
#include "reply.h"
#include "udp_binding.h"

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QObject>

class QUdpSocket;

namespace snmp {

class RequestEngine : public QObject {
    Q_OBJECT
public:
    explicit RequestEngine(QObject *parent = nullptr);
    ~RequestEngine() override;

    // Binds the socket (port 0: any free port). Opening an open engine
    // succeeds and keeps the socket it has.
    OpenResult open(const QHostAddress &address = QHostAddress(QHostAddress::AnyIPv4), quint16 port = 0);
    bool isOpen() const { return socket_ != nullptr; }
    quint16 localPort() const;

    // Starts a request. The reply is never null; it may already be
    // finished (refused by the guard, engine not open, invalid request),
    // in which case finished() still follows from the event loop. The
    // engine is the reply's parent until the caller deletes it.
    Reply *send(const Request &request);

    // Datagrams put on the wire (first sends and resends).
    int sentDatagrams() const { return sent_; }
    // Datagrams that did not decode, and traps; they were dropped.
    int droppedDatagrams() const { return dropped_; }
    // Decoded answers that matched no outstanding request.
    int unmatchedResponses() const { return unmatched_; }

    // Datagrams read in one turn of the event loop; the rest wait for the
    // next turn.
    static constexpr int kMaxDatagramsPerTurn = 64;

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    friend class Reply;
    qint32 nextRequestId();
    void refuseAtOnce(Reply *reply, Reply::Error error, const QString &text);
    bool transmit(Reply *reply);
    void readBatch();
    void handleInbox();
    void handleDatagram(QByteArrayView bytes, const QHostAddress &sender, quint16 senderPort);
    void noteUndecodable(const QHostAddress &sender, quint16 senderPort);
    Reply *findOutstanding(qint32 requestId, const QHostAddress &sender, quint16 senderPort) const;
    void acceptAnswer(Reply *reply, Message &&message, const QHostAddress &sender, quint16 senderPort);
    void onTimeout(Reply *reply);
    void forget(Reply *reply);
    void complete(Reply *reply, Reply::Error error, const QString &text);

    QUdpSocket *socket_ = nullptr;
    QMultiHash<qint32, Reply *> byRequestId_;
    QHash<int, Reply *> byTimer_;
    qint32 nextId_ = 1;
    DropReport *dropReport_ = nullptr;
    struct Incoming {
        QByteArray bytes;
        QHostAddress sender;
        quint16 senderPort = 0;
    };
    QVector<Incoming> inbox_;  // read, not yet handled
    bool handlingQueued_ = false;
    QByteArray buffer_;
    int sent_ = 0;
    int dropped_ = 0;
    int unmatched_ = 0;
};

}  // namespace snmp
