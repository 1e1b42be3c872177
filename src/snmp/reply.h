#pragma once
// The answer to one request of the request engine, as it comes in. The
// caller owns it and deletes it with deleteLater() once finished() has
// come; deleting it earlier simply cancels the request.
//
// Errors fall into two kinds, kept apart: protocol errors (the device
// answered, but refused or answered something else than was asked) and
// transport errors (no usable answer arrived, or nothing could be sent).

#include "request.h"

#include <QObject>
#include <QPointer>
#include <QString>

namespace snmp {

class RequestEngine;

class Reply : public QObject {
    Q_OBJECT
public:
    enum Error {
        NoError,
        Timeout,         // transport: no answer after every attempt
        ErrorStatus,     // protocol: the device refused (errorStatus(), errorIndex())
        Malformed,       // protocol: not a GetResponse, other objects than asked, or only undecodable datagrams
        NotAllowed,      // transport: the loopback-only guard refused the destination
        SocketError,     // transport: the socket could not send
        InvalidRequest,  // the request itself cannot be sent (no host, not a request type)
        Aborted,         // abort() or the engine went away
    };
    Q_ENUM(Error)

    // One answering host of an every-responder request.
    struct Answer {
        QHostAddress host;
        quint16 port = 0;
        Message message;
    };

    ~Reply() override;

    const Request &request() const { return request_; }
    qint32 requestId() const { return requestId_; }

    bool isFinished() const { return finished_; }
    Error error() const { return error_; }
    QString errorString() const { return errorString_; }
    bool isProtocolError() const { return error_ == ErrorStatus || error_ == Malformed; }
    bool isTransportError() const { return error_ == Timeout || error_ == NotAllowed || error_ == SocketError; }

    // From the answer when error() is ErrorStatus, 0 otherwise.
    int errorStatus() const { return error_ == ErrorStatus ? response_.pdu.errorStatus : 0; }
    int errorIndex() const { return error_ == ErrorStatus ? response_.pdu.errorIndex : 0; }

    // The matching answer (empty while none came); kept for protocol errors
    // too, so a caller can show what the device did send. For an
    // every-responder request it is the first answer.
    const Message &response() const { return response_; }
    QHostAddress responder() const { return responder_; }
    quint16 responderPort() const { return responderPort_; }
    // Every answering host, in the order they answered.
    const QVector<Answer> &answers() const { return answers_; }

    // Datagrams sent for this request: 1 + resends; 0 when nothing was sent.
    int attempts() const { return attempts_; }

    // Ends the request at once with Aborted; finished() is emitted. A late
    // answer is then dropped as unmatched.
    void abort();

    static QString errorStatusName(int status);

signals:
    void finished();
    // Every-responder requests: a host answered for the first time;
    // answers().last() holds what it sent.
    void responderFound(const QHostAddress &host, quint16 port);

private:
    friend class RequestEngine;
    Reply(RequestEngine *engine, const Request &request, qint32 requestId);
    void setOutcome(Error error, const QString &text);

    QPointer<RequestEngine> engine_;
    Request request_;
    qint32 requestId_ = 0;
    QHostAddress destination_;  // request_.host as IPv4, as senders are seen
    bool anyHost_ = false;
    QByteArray datagram_;
    bool finished_ = false;
    Error error_ = NoError;
    QString errorString_;
    Message response_;
    QHostAddress responder_;
    quint16 responderPort_ = 0;
    QVector<Answer> answers_;
    int attempts_ = 0;
    int timerId_ = 0;
    bool sawUndecodable_ = false;
};

}  // namespace snmp
