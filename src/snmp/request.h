#pragma once
// One request for the request engine: a GET or SET to one host (or to
// whoever answers a broadcast), with its own time-out and resends.

#include "snmp_pdu.h"

#include <QHostAddress>
#include <optional>

namespace snmp {

struct Request {
    // Who may answer.
    enum class Responders {
        Host,       // only host:port; a broadcast destination accepts any host
        AnyHost,    // the first answer from any host
        EveryHost,  // every host that answers until the time-out (a scan)
    };

    QHostAddress host;
    quint16 port = 161;
    QByteArray community = "public";
    PduType type = PduType::GetRequest;  // GET, GETNEXT or SET
    QVector<VarBind> bindings;
    // The id on the wire. Unset: the engine numbers the request itself. A
    // caller that keeps its own counter sets it so its bytes stay its own.
    std::optional<qint32> requestId;
    int timeoutMs = 1000;  // for each attempt
    int retries = 0;       // resends after the first datagram, each the same bytes
    Responders responders = Responders::Host;

    // A GET of `names` (scalar instances included), values null.
    static Request get(const QHostAddress &host, quint16 port, const QByteArray &community,
                       const QVector<Oid> &names)
    {
        Request request;
        request.host = host;
        request.port = port;
        request.community = community;
        for (const Oid &name : names)
            request.bindings.append(VarBind{name, Value::null()});
        return request;
    }
};

}  // namespace snmp
