#include "snmp_message.h"

namespace snmp {

namespace {

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

}  // namespace

QByteArray valueText(const Value &value)
{
    switch (value.kind) {
    case ValueKind::Null: break;
    case ValueKind::Integer:
    case ValueKind::Counter:
    case ValueKind::Gauge:
    case ValueKind::TimeTicks: return QByteArray::number(value.number);
    case ValueKind::OctetString:
    case ValueKind::Opaque: return value.bytes;
    case ValueKind::IpAddress: return dotted(value.bytes);
    case ValueKind::ObjectIdentifier: return oidToText(value.oid).toLatin1();
    }
    return QByteArray();
}

SnmpVariable SnmpVariable::fromVarBind(const VarBind &vb)
{
    SnmpVariable variable;
    variable.Name = oidToText(vb.name);
    variable.ValueType = valueTypeOf(vb.value.kind);
    variable.Value = valueText(vb.value);
    return variable;
}

SnmpMessage SnmpMessage::fromWire(const Message &message)
{
    SnmpMessage result;
    result.Community = message.community;
    const Pdu &pdu = message.pdu;
    if (pdu.type == PduType::Trap) {
        result.GenericTrap = pdu.genericTrap;
        result.SpecificTrap = pdu.specificTrap;
        result.TrapCode = pdu.genericTrap == 6 ? pdu.specificTrap : pdu.genericTrap;
        result.Enterprise = oidToText(pdu.enterprise);
        result.AgentAddress = QString::fromLatin1(dotted(pdu.agentAddress));
        result.TimeStamp = pdu.timeStamp;
    }
    for (const VarBind &vb : pdu.varBinds)
        result.Variables.Add(SnmpVariable::fromVarBind(vb));
    return result;
}

}  // namespace snmp
