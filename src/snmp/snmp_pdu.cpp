#include "snmp_pdu.h"

namespace snmp {

bool Value::operator==(const Value &other) const
{
    if (kind != other.kind)
        return false;
    switch (kind) {
    case ValueKind::Null: return true;
    case ValueKind::Integer:
    case ValueKind::Counter:
    case ValueKind::Gauge:
    case ValueKind::TimeTicks: return number == other.number;
    case ValueKind::OctetString:
    case ValueKind::Opaque:
    case ValueKind::IpAddress: return bytes == other.bytes;
    case ValueKind::ObjectIdentifier: return oid == other.oid;
    }
    return false;
}

namespace {

bool decodeValue(BerReader &reader, Value &value)
{
    quint8 tagByte = 0;
    QByteArrayView content;
    if (!reader.readHeader(tagByte, content))
        return false;
    BerError error = BerError::None;
    switch (tagByte) {
    case tag::Null:
        if (!content.isEmpty()) {
            reader.fail(BerError::BadNull);
            return false;
        }
        value = Value::null();
        return true;
    case tag::Integer: {
        qint32 v = 0;
        if (!BerReader::decodeSigned(content, v, error))
            break;
        value = Value::integer(v);
        return true;
    }
    case tag::OctetString:
        value = Value::octets(content.toByteArray());
        return true;
    case tag::Opaque:
        value = Value::opaque(content.toByteArray());
        return true;
    case tag::IpAddress:
        if (content.size() != 4) {
            error = BerError::BadIpAddress;
            break;
        }
        value = Value::ipAddress(content.toByteArray());
        return true;
    case tag::ObjectIdentifier: {
        Oid oid;
        if (!BerReader::decodeObjectIdentifier(content, oid, error))
            break;
        value = Value::objectId(oid);
        return true;
    }
    case tag::Counter:
    case tag::Gauge:
    case tag::TimeTicks: {
        quint32 v = 0;
        if (!BerReader::decodeUnsigned(content, v, error))
            break;
        const ValueKind kind = tagByte == tag::Counter ? ValueKind::Counter
                               : tagByte == tag::Gauge ? ValueKind::Gauge
                                                       : ValueKind::TimeTicks;
        value = Value::unsignedOf(kind, v);
        return true;
    }
    default:
        error = BerError::UnexpectedTag;
        break;
    }
    reader.fail(error);
    return false;
}

// A constructed element must be consumed exactly; anything left is a fault.
bool finish(BerReader &inner, BerReader &outer)
{
    if (inner.failed()) {
        outer.fail(inner.error());
        return false;
    }
    if (!inner.atEnd()) {
        outer.fail(BerError::TrailingBytes);
        return false;
    }
    return true;
}

bool decodeVarBinds(BerReader &reader, QVector<VarBind> &varBinds)
{
    QByteArrayView listContent;
    if (!reader.readElement(tag::Sequence, listContent))
        return false;
    BerReader list(listContent);
    while (!list.atEnd()) {
        if (varBinds.size() >= kMaxVarBinds) {
            reader.fail(BerError::TooManyVariables);
            return false;
        }
        QByteArrayView bindContent;
        if (!list.readElement(tag::Sequence, bindContent))
            break;
        BerReader bind(bindContent);
        VarBind vb;
        if (bind.readObjectIdentifier(vb.name))
            decodeValue(bind, vb.value);
        if (!finish(bind, list))
            break;
        varBinds.append(std::move(vb));
    }
    return finish(list, reader);
}

}  // namespace

namespace {

// An identifier BER cannot carry travels as 0.0 (BackwardWriter), so that
// every datagram we write stays well-formed; the component's text path
// refuses such names before they get here.
void putValue(ber::BackwardWriter &out, const Value &value)
{
    switch (value.kind) {
    case ValueKind::Null: out.putElement(tag::Null, nullptr, 0); return;
    case ValueKind::Integer: out.putSignedInteger(qint32(value.number)); return;
    case ValueKind::OctetString: out.putElement(tag::OctetString, value.bytes.constData(), value.bytes.size()); return;
    case ValueKind::ObjectIdentifier: out.putObjectIdentifier(value.oid); return;
    case ValueKind::IpAddress: {
        const QByteArray four = value.bytes.left(4).leftJustified(4, '\0');
        out.putElement(tag::IpAddress, four.constData(), 4);
        return;
    }
    case ValueKind::Counter: out.putUnsignedInteger(quint32(value.number), tag::Counter); return;
    case ValueKind::Gauge: out.putUnsignedInteger(quint32(value.number), tag::Gauge); return;
    case ValueKind::TimeTicks: out.putUnsignedInteger(quint32(value.number), tag::TimeTicks); return;
    case ValueKind::Opaque: out.putElement(tag::Opaque, value.bytes.constData(), value.bytes.size()); return;
    }
    out.putElement(tag::Null, nullptr, 0);
}

}  // namespace

QByteArray encodeMessage(const Message &message)
{
    const Pdu &pdu = message.pdu;
    qsizetype estimate = 64 + message.community.size();
    for (const VarBind &vb : pdu.varBinds)
        estimate += 8 + 5 * vb.name.size() + vb.value.bytes.size() + 5 * vb.value.oid.size();
    // Back to front: the variable bindings, the PDU's fields, the message's.
    ber::BackwardWriter out(estimate);
    const qsizetype messageEnd = out.size();
    const qsizetype listEnd = out.size();
    for (qsizetype i = pdu.varBinds.size() - 1; i >= 0; --i) {
        const qsizetype bindEnd = out.size();
        putValue(out, pdu.varBinds[i].value);
        out.putObjectIdentifier(pdu.varBinds[i].name);
        out.closeElement(tag::Sequence, bindEnd);
    }
    out.closeElement(tag::Sequence, listEnd);
    if (pdu.type == PduType::Trap) {
        out.putUnsignedInteger(pdu.timeStamp, tag::TimeTicks);
        out.putSignedInteger(pdu.specificTrap);
        out.putSignedInteger(pdu.genericTrap);
        const QByteArray agent = pdu.agentAddress.left(4).leftJustified(4, '\0');
        out.putElement(tag::IpAddress, agent.constData(), 4);
        out.putObjectIdentifier(pdu.enterprise);
    } else {
        out.putSignedInteger(pdu.errorIndex);
        out.putSignedInteger(pdu.errorStatus);
        out.putSignedInteger(pdu.requestId);
    }
    out.closeElement(quint8(pdu.type), messageEnd);
    out.putElement(tag::OctetString, message.community.constData(), message.community.size());
    out.putSignedInteger(message.version);
    out.closeElement(tag::Sequence, messageEnd);
    return out.take();
}

DecodeResult decodeMessage(QByteArrayView datagram)
{
    DecodeResult result;
    BerReader top(datagram);
    QByteArrayView messageContent;
    if (!top.readElement(tag::Sequence, messageContent)) {
        result.error = top.error();
        return result;
    }
    if (!top.atEnd()) {
        result.error = BerError::TrailingBytes;
        return result;
    }

    BerReader reader(messageContent);
    Message message;
    if (!reader.readSignedInteger(message.version)) {
        result.error = reader.error();
        return result;
    }
    if (message.version != 0) {
        result.error = BerError::UnsupportedVersion;
        return result;
    }
    reader.readOctetString(message.community);

    quint8 pduTag = 0;
    QByteArrayView pduContent;
    if (reader.readHeader(pduTag, pduContent)) {
        switch (pduTag) {
        case tag::GetRequest:
        case tag::GetNextRequest:
        case tag::GetResponse:
        case tag::SetRequest:
        case tag::Trap:
            break;
        default:
            reader.fail(BerError::UnexpectedTag);
        }
    }
    if (!reader.failed()) {
        Pdu &pdu = message.pdu;
        pdu.type = PduType(pduTag);
        BerReader body(pduContent);
        if (pdu.type == PduType::Trap) {
            body.readObjectIdentifier(pdu.enterprise);
            QByteArray address;
            if (body.readOctetString(address, tag::IpAddress) && address.size() != 4)
                body.fail(BerError::BadIpAddress);
            pdu.agentAddress = address;
            body.readSignedInteger(pdu.genericTrap);
            body.readSignedInteger(pdu.specificTrap);
            body.readUnsignedInteger(pdu.timeStamp, tag::TimeTicks);
        } else {
            body.readSignedInteger(pdu.requestId);
            body.readSignedInteger(pdu.errorStatus);
            body.readSignedInteger(pdu.errorIndex);
        }
        if (!body.failed())
            decodeVarBinds(body, pdu.varBinds);
        finish(body, reader);
    }
    if (!reader.failed() && !reader.atEnd())
        reader.fail(BerError::TrailingBytes);
    if (reader.failed()) {
        result.error = reader.error();
        return result;
    }
    result.message = message;
    return result;
}

}  // namespace snmp
