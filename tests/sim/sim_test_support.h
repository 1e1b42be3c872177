#pragma once
// Helpers for talking to the simulated access point from tests: request
// datagrams by object name, the names a request asked for, and decoded
// answers.

#include "sim/simulated_access_point.h"
#include "snmp/snmp_pdu.h"

#include <QNetworkDatagram>
#include <QTest>
#include <QUdpSocket>

namespace snmp {
// Readable values in QCOMPARE failures: the kind, then the number, bytes or identifier.
inline char *toString(const Value &value)
{
    return qstrdup(qPrintable(QStringLiteral("kind %1: %2 %3 %4").arg(int(value.kind)).arg(value.number)
                                  .arg(QString::fromLatin1(value.bytes.toHex(' ')), oidToText(value.oid))));
}
}  // namespace snmp

Q_DECLARE_METATYPE(snmp::Value)

namespace simtest {

inline snmp::Oid oidOf(const QString &dotted)
{
    snmp::Oid oid;
    snmp::oidFromText(dotted, oid);
    return oid;
}

// The scalar instance (".0") of one of the agent's objects.
inline snmp::Oid instanceOf(const sim::SimulatedAccessPoint &agent, const QString &name)
{
    snmp::Oid oid = oidOf(agent.oidOf(name));
    oid.append(0);
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

inline QByteArray setRequest(const sim::SimulatedAccessPoint &agent,
                             const QVector<QPair<QString, snmp::Value>> &values, qint32 id = 1)
{
    QVector<snmp::VarBind> binds;
    for (const auto &entry : values)
        binds.append({instanceOf(agent, entry.first), entry.second});
    return request(snmp::PduType::SetRequest, id, binds);
}

// Object names of a request's bindings, in order (the instance ".0" left off).
inline QStringList objectNames(const sim::SimulatedAccessPoint &agent, const snmp::Message &request)
{
    QStringList names;
    for (const snmp::VarBind &vb : request.pdu.varBinds)
        names << agent.mib().nameOf(snmp::oidToText(vb.name.mid(0, vb.name.size() - 1)));
    return names;
}

// The decoded message; a failed decode leaves it empty.
inline snmp::Message decoded(const QByteArray &bytes)
{
    return snmp::decodeMessage(bytes).message.value_or(snmp::Message{});
}

}  // namespace simtest
