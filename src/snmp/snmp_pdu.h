#pragma once
// SNMPv1 messages (RFC 1157) as plain values, and their encoding to and
// from bytes. Pure functions: no sockets, no global state.

#include "ber.h"

#include <QByteArray>
#include <QVector>
#include <optional>

namespace snmp {

enum class ValueKind : quint8 {
    Null,
    Integer,
    OctetString,
    ObjectIdentifier,
    IpAddress,
    Counter,
    Gauge,
    TimeTicks,
    Opaque,
};

struct Value {
    ValueKind kind = ValueKind::Null;
    qint64 number = 0;  // Integer (signed 32), Counter, Gauge, TimeTicks (unsigned 32)
    QByteArray bytes;   // OctetString, Opaque, IpAddress (exactly 4 bytes)
    Oid oid;            // ObjectIdentifier

    static Value null() { return {}; }
    static Value integer(qint32 v) { Value r; r.kind = ValueKind::Integer; r.number = v; return r; }
    static Value octets(const QByteArray &b) { Value r; r.kind = ValueKind::OctetString; r.bytes = b; return r; }
    static Value ipAddress(const QByteArray &four) { Value r; r.kind = ValueKind::IpAddress; r.bytes = four; return r; }
    static Value unsignedOf(ValueKind kind, quint32 v) { Value r; r.kind = kind; r.number = v; return r; }
    static Value objectId(const Oid &o) { Value r; r.kind = ValueKind::ObjectIdentifier; r.oid = o; return r; }
    static Value opaque(const QByteArray &b) { Value r; r.kind = ValueKind::Opaque; r.bytes = b; return r; }

    bool operator==(const Value &other) const;
    bool operator!=(const Value &other) const { return !(*this == other); }
};

struct VarBind {
    Oid name;
    Value value;
    bool operator==(const VarBind &o) const { return name == o.name && value == o.value; }
};

enum class PduType : quint8 {
    GetRequest = tag::GetRequest,
    GetNextRequest = tag::GetNextRequest,
    GetResponse = tag::GetResponse,
    SetRequest = tag::SetRequest,
    Trap = tag::Trap,
};

// Error status values of RFC 1157.
namespace error_status {
constexpr int NoError = 0;
constexpr int TooBig = 1;
constexpr int NoSuchName = 2;
constexpr int BadValue = 3;
constexpr int ReadOnly = 4;
constexpr int GenErr = 5;
}  // namespace error_status

struct Pdu {
    PduType type = PduType::GetRequest;
    // Request, response and set PDUs.
    qint32 requestId = 0;
    qint32 errorStatus = 0;
    qint32 errorIndex = 0;
    // Trap PDU.
    Oid enterprise;
    QByteArray agentAddress;  // 4 bytes
    qint32 genericTrap = 0;
    qint32 specificTrap = 0;
    quint32 timeStamp = 0;

    QVector<VarBind> varBinds;
};

struct Message {
    qint32 version = 0;  // 0 = SNMPv1
    QByteArray community;
    Pdu pdu;
};

struct DecodeResult {
    std::optional<Message> message;
    BerError error = BerError::None;
    bool ok() const { return message.has_value(); }
};

// Hard limit on bindings per message; a UDP datagram could not hold many more.
constexpr int kMaxVarBinds = 1024;

QByteArray encodeMessage(const Message &message);
DecodeResult decodeMessage(QByteArrayView datagram);

}  // namespace snmp
