#include "snmp_message.h"

#include <QHash>
#include <QHostAddress>

namespace snmp {

namespace {

// An optional sign and decimal digits, blanks around them allowed.
bool parseDecimal(const QByteArray &text, qint64 low, qint64 high, qint64 &out)
{
    const QByteArray trimmed = text.trimmed();
    const qsizetype digitsFrom = trimmed.startsWith('-') || trimmed.startsWith('+') ? 1 : 0;
    if (trimmed.size() == digitsFrom)
        return false;
    for (qsizetype i = digitsFrom; i < trimmed.size(); ++i) {
        if (trimmed[i] < '0' || trimmed[i] > '9')
            return false;
    }
    bool ok = false;
    const qlonglong value = trimmed.toLongLong(&ok, 10);
    if (!ok || value < low || value > high)
        return false;
    out = value;
    return true;
}

// Strict dotted-quad: four decimal numbers 0..255, nothing else.
bool parseIpv4(const QByteArray &text, QByteArray &four)
{
    const QList<QByteArray> parts = text.split('.');
    if (parts.size() != 4)
        return false;
    QByteArray bytes;
    for (const QByteArray &part : parts) {
        if (part.isEmpty() || part.size() > 3)
            return false;
        for (char c : part) {
            if (c < '0' || c > '9')
                return false;
        }
        const int value = part.toInt();
        if (value > 255)
            return false;
        bytes.append(char(value));
    }
    four = bytes;
    return true;
}

int valueTypeOf(ValueKind kind)
{
    switch (kind) {
    case ValueKind::Null: return value_type::Null;
    case ValueKind::Integer: return value_type::Integer;
    case ValueKind::OctetString: return value_type::OctetString;
    case ValueKind::ObjectIdentifier: return value_type::ObjectIdentifier;
    case ValueKind::IpAddress: return value_type::IpAddress;
    case ValueKind::Counter: return value_type::Counter;
    case ValueKind::Gauge: return value_type::Gauge;
    case ValueKind::TimeTicks: return value_type::TimeTicks;
    case ValueKind::Opaque: return value_type::Opaque;
    }
    return value_type::Null;
}

QByteArray dotted(const QByteArray &four)
{
    QByteArray text;
    for (int i = 0; i < four.size(); ++i) {
        if (i > 0)
            text.append('.');
        text.append(QByteArray::number(quint8(four[i])));
    }
    return text;
}

// The console asks for the same few dozen objects over and over: each
// name is parsed once and kept (a bounded table, emptied when full).
bool parsedName(const QString &name, Oid &oid)
{
    thread_local QHash<QString, Oid> parsed;
    const auto known = parsed.constFind(name);
    if (known != parsed.constEnd()) {
        oid = *known;
        return true;
    }
    if (!oidFromText(name, oid))
        return false;
    if (parsed.size() >= 512)
        parsed.clear();
    parsed.insert(name, oid);
    return true;
}

}  // namespace

bool SnmpVariable::toVarBind(VarBind &out, QString *why) const
{
    auto refuse = [why](const QString &reason) {
        if (why)
            *why = reason;
        return false;
    };
    VarBind vb;
    if (!parsedName(Name, vb.name))
        return refuse(QStringLiteral("'%1' is not an object identifier").arg(Name));
    qint64 number = 0;
    switch (ValueType) {
    case value_type::Null:
        vb.value = Value::null();
        break;
    case value_type::Integer:
        if (!parseDecimal(Value, INT32_MIN, INT32_MAX, number))
            return refuse(QStringLiteral("'%1' is not a 32-bit integer").arg(QString::fromLatin1(Value)));
        vb.value = Value::integer(qint32(number));
        break;
    case value_type::OctetString:
        vb.value = Value::octets(Value);
        break;
    case value_type::Opaque:
        vb.value = Value::opaque(Value);
        break;
    case value_type::IpAddress: {
        QByteArray four;
        if (!parseIpv4(Value, four))
            return refuse(QStringLiteral("'%1' is not an IPv4 address").arg(QString::fromLatin1(Value)));
        vb.value = Value::ipAddress(four);
        break;
    }
    case value_type::ObjectIdentifier: {
        Oid oid;
        if (!oidFromText(QString::fromLatin1(Value), oid))
            return refuse(QStringLiteral("'%1' is not an object identifier").arg(QString::fromLatin1(Value)));
        vb.value = Value::objectId(oid);
        break;
    }
    case value_type::Counter:
    case value_type::Gauge:
    case value_type::TimeTicks: {
        if (!parseDecimal(Value, 0, UINT32_MAX, number))
            return refuse(QStringLiteral("'%1' is not an unsigned 32-bit number").arg(QString::fromLatin1(Value)));
        const ValueKind kind = ValueType == value_type::Counter ? ValueKind::Counter
                               : ValueType == value_type::Gauge ? ValueKind::Gauge
                                                                : ValueKind::TimeTicks;
        vb.value = Value::unsignedOf(kind, quint32(number));
        break;
    }
    default:
        return refuse(QStringLiteral("unknown value type %1").arg(ValueType));
    }
    out = vb;
    return true;
}

SnmpVariable SnmpVariable::fromVarBind(const VarBind &vb)
{
    SnmpVariable variable;
    variable.Name = oidToText(vb.name);
    variable.ValueType = valueTypeOf(vb.value.kind);
    switch (vb.value.kind) {
    case ValueKind::Null: break;
    case ValueKind::Integer:
    case ValueKind::Counter:
    case ValueKind::Gauge:
    case ValueKind::TimeTicks: variable.Value = QByteArray::number(vb.value.number); break;
    case ValueKind::OctetString:
    case ValueKind::Opaque: variable.Value = vb.value.bytes; break;
    case ValueKind::IpAddress: variable.Value = dotted(vb.value.bytes); break;
    case ValueKind::ObjectIdentifier: variable.Value = oidToText(vb.value.oid).toLatin1(); break;
    }
    return variable;
}

const SnmpVariable *SnmpVariables::Item(int index) const
{
    if (index < 1 || index > items_.size())
        return nullptr;
    return &items_[index - 1];
}

void SnmpMessage::Clear()
{
    Variables.clear();
    RequestType = request_type::Get;
    ErrorStatus = 0;
    ErrorIndex = 0;
}

bool SnmpMessage::toWire(Message &out, QString *why) const
{
    Message message;
    message.community = Community;
    switch (RequestType) {
    case request_type::Get: message.pdu.type = PduType::GetRequest; break;
    case request_type::GetNext: message.pdu.type = PduType::GetNextRequest; break;
    case request_type::Response: message.pdu.type = PduType::GetResponse; break;
    case request_type::Set: message.pdu.type = PduType::SetRequest; break;
    default:
        if (why)
            *why = QStringLiteral("unsupported request type %1").arg(RequestType);
        return false;
    }
    message.pdu.requestId = RequestId;
    message.pdu.errorStatus = ErrorStatus;
    message.pdu.errorIndex = ErrorIndex;
    for (const SnmpVariable &variable : Variables) {
        VarBind vb;
        if (!variable.toVarBind(vb, why))
            return false;
        message.pdu.varBinds.append(vb);
    }
    out = message;
    return true;
}

SnmpMessage SnmpMessage::fromWire(const Message &message)
{
    SnmpMessage result;
    result.Community = message.community;
    result.RequestType = quint8(message.pdu.type) & 0x3F;
    const Pdu &pdu = message.pdu;
    if (pdu.type == PduType::Trap) {
        result.GenericTrap = pdu.genericTrap;
        result.SpecificTrap = pdu.specificTrap;
        result.TrapCode = pdu.genericTrap == 6 ? pdu.specificTrap : pdu.genericTrap;
        result.Enterprise = oidToText(pdu.enterprise);
        result.AgentAddress = QString::fromLatin1(dotted(pdu.agentAddress));
        result.TimeStamp = pdu.timeStamp;
    } else {
        result.RequestId = pdu.requestId;
        result.ErrorStatus = pdu.errorStatus;
        result.ErrorIndex = pdu.errorIndex;
    }
    for (const VarBind &vb : pdu.varBinds)
        result.Variables.Add(SnmpVariable::fromVarBind(vb));
    return result;
}

}  // namespace snmp
