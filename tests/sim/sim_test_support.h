#pragma once
// Helpers for talking to the simulated access point from tests: building
// request datagrams, reading answers, and a loopback UDP client.

#include "sim/simulated_access_point.h"
#include "snmp/snmp_pdu.h"

#include <QElapsedTimer>
#include <QNetworkDatagram>
#include <QTest>
#include <QUdpSocket>

namespace snmp {
// Readable values in QCOMPARE failures.
inline char *toString(const Value &value)
{
    QByteArray text;
    switch (value.kind) {
    case ValueKind::Null: text = "NULL"; break;
    case ValueKind::Integer: text = "INTEGER " + QByteArray::number(value.number); break;
    case ValueKind::Counter: text = "Counter " + QByteArray::number(value.number); break;
    case ValueKind::Gauge: text = "Gauge " + QByteArray::number(value.number); break;
    case ValueKind::TimeTicks: text = "TimeTicks " + QByteArray::number(value.number); break;
    case ValueKind::OctetString: text = "OCTETS " + value.bytes.toHex(' '); break;
    case ValueKind::Opaque: text = "Opaque " + value.bytes.toHex(' '); break;
    case ValueKind::IpAddress: text = "IpAddress " + value.bytes.toHex('.'); break;
    case ValueKind::ObjectIdentifier: text = "OID " + oidToText(value.oid).toLatin1(); break;
    }
    return qstrdup(text.constData());
}
}  // namespace snmp

Q_DECLARE_METATYPE(snmp::Value)

namespace simtest {

inline snmp::Oid instanceOf(const sim::SimulatedAccessPoint &agent, const QString &name)
{
    snmp::Oid oid;
    if (snmp::oidFromText(agent.oidOf(name), oid))
        oid.append(0);
    return oid;
}

inline snmp::Oid oidOf(const char *dotted)
{
    snmp::Oid oid;
    snmp::oidFromText(QString::fromLatin1(dotted), oid);
    return oid;
}

inline QByteArray request(snmp::PduType type, qint32 id, const QVector<snmp::VarBind> &binds,
                          const QByteArray &community = "kavrel")
{
    snmp::Message message;
    message.community = community;
    message.pdu.type = type;
    message.pdu.requestId = id;
    message.pdu.varBinds = binds;
    return snmp::encodeMessage(message);
}

inline QByteArray getRequest(const sim::SimulatedAccessPoint &agent, const QStringList &names, qint32 id = 1)
{
    QVector<snmp::VarBind> binds;
    for (const QString &name : names)
        binds.append({instanceOf(agent, name), snmp::Value::null()});
    return request(snmp::PduType::GetRequest, id, binds);
}

inline QByteArray setRequest(const sim::SimulatedAccessPoint &agent,
                             const QVector<QPair<QString, snmp::Value>> &values, qint32 id = 1)
{
    QVector<snmp::VarBind> binds;
    for (const auto &entry : values)
        binds.append({instanceOf(agent, entry.first), entry.second});
    return request(snmp::PduType::SetRequest, id, binds);
}

// The decoded answer; a failed decode leaves the message empty.
inline snmp::Message decoded(const QByteArray &bytes)
{
    const snmp::DecodeResult result = snmp::decodeMessage(bytes);
    return result.message.value_or(snmp::Message{});
}

// A loopback UDP client that collects every datagram for a while.
class Client {
public:
    Client() { socket.bind(QHostAddress(QHostAddress::LocalHost), 0); }

    void send(const QByteArray &bytes, const QHostAddress &to, quint16 port)
    {
        socket.writeDatagram(bytes, to, port);
    }

    // Waits until `count` datagrams arrived or `timeoutMs` passed.
    QVector<QNetworkDatagram> receive(int count, int timeoutMs)
    {
        QElapsedTimer timer;
        timer.start();
        while (received.size() < count && timer.elapsed() < timeoutMs) {
            QTest::qWait(5);
            while (socket.hasPendingDatagrams())
                received.append(socket.receiveDatagram());
        }
        const QVector<QNetworkDatagram> out = received;
        received.clear();
        return out;
    }

    QUdpSocket socket;

private:
    QVector<QNetworkDatagram> received;
};

}  // namespace simtest
