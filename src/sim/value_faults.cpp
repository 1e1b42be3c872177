#include "value_faults.h"

#include <QHostAddress>
#include <QtEndian>

namespace sim {

using snmp::Value;
using snmp::ValueKind;

Value wrongEchoOf(const Value &value)
{
    Value out = value;
    switch (value.kind) {
    case ValueKind::Integer:
        out.number = qint32(quint32(qint32(value.number)) + 1u);  // wraps at the top
        break;
    case ValueKind::Counter:
    case ValueKind::Gauge:
    case ValueKind::TimeTicks:
        out.number = quint32(quint32(value.number) + 1u);
        break;
    case ValueKind::OctetString:
    case ValueKind::Opaque:
        if (out.bytes.isEmpty())
            out.bytes = QByteArrayLiteral("?");
        else
            out.bytes[0] = char(quint8(out.bytes[0]) ^ 0x01);
        break;
    case ValueKind::IpAddress:
        if (out.bytes.size() == 4)
            out.bytes[3] = char(quint8(out.bytes[3]) + 1);
        break;
    case ValueKind::ObjectIdentifier:
        out.oid.append(1);
        break;
    case ValueKind::Null:
        out = Value::integer(1);
        break;
    }
    return out;
}

Value shortenedValue(const Value &value)
{
    Value out = value;
    switch (value.kind) {
    case ValueKind::Integer:
    case ValueKind::Counter:
    case ValueKind::Gauge:
    case ValueKind::TimeTicks:
        out.number = value.number / 10;
        break;
    case ValueKind::OctetString:
    case ValueKind::Opaque:
        out.bytes.chop(1);
        break;
    case ValueKind::IpAddress: {
        const quint32 address = value.bytes.size() == 4 ? qFromBigEndian<quint32>(value.bytes.constData()) : 0;
        QByteArray text = QHostAddress(address).toString().toLatin1();
        text.chop(1);
        out = Value::octets(text);
        break;
    }
    case ValueKind::ObjectIdentifier:
        if (out.oid.size() > 2)
            out.oid.removeLast();
        break;
    case ValueKind::Null:
        break;
    }
    return out;
}

}  // namespace sim
