#include "ber.h"

#include <QString>

namespace snmp {

namespace {
// Arcs beyond this are refused: no real MIB comes near it, and it keeps a
// hostile OID from allocating without bound.
constexpr int kMaxOidArcs = 128;
}  // namespace

const char *berErrorText(BerError error)
{
    switch (error) {
    case BerError::None: return "no error";
    case BerError::Truncated: return "data ends inside an element";
    case BerError::LengthPastEnd: return "length points past the end of its element";
    case BerError::IndefiniteLength: return "indefinite length";
    case BerError::LengthTooLong: return "length field longer than four bytes";
    case BerError::UnexpectedTag: return "unexpected tag";
    case BerError::IntegerTooLarge: return "integer too large for its type";
    case BerError::IntegerOutOfRange: return "integer outside the range of its type";
    case BerError::BadObjectIdentifier: return "malformed object identifier";
    case BerError::BadNull: return "NULL with content";
    case BerError::BadIpAddress: return "IpAddress not four bytes long";
    case BerError::TrailingBytes: return "bytes after the end of an element";
    case BerError::UnsupportedVersion: return "not an SNMPv1 message";
    case BerError::TooManyVariables: return "too many variable bindings";
    }
    return "unknown error";
}

QString oidToText(const Oid &oid)
{
    QString text;
    for (int i = 0; i < oid.size(); ++i) {
        if (i > 0)
            text += QLatin1Char('.');
        text += QString::number(oid[i]);
    }
    return text;
}

bool oidFromText(QStringView text, Oid &oid)
{
    oid.clear();
    if (text.startsWith(QLatin1Char('.')))
        text = text.mid(1);
    if (text.isEmpty())
        return false;
    quint64 arc = 0;
    bool haveDigit = false;
    for (QChar c : text) {
        if (c == QLatin1Char('.')) {
            if (!haveDigit || oid.size() >= kMaxOidArcs)
                return false;
            oid.append(quint32(arc));
            arc = 0;
            haveDigit = false;
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            arc = arc * 10 + quint64(c.unicode() - '0');
            if (arc > 0xFFFFFFFFull)
                return false;
            haveDigit = true;
        } else {
            return false;
        }
    }
    if (!haveDigit || oid.size() >= kMaxOidArcs)
        return false;
    oid.append(quint32(arc));
    // Only what BER can carry: the first two arcs share one subidentifier.
    return !ber::encodeObjectIdentifier(oid).isEmpty();
}

void BerReader::fail(BerError error)
{
    if (error_ == BerError::None)
        error_ = error;
}

bool BerReader::peekTag(quint8 &tagOut) const
{
    if (failed() || pos_ >= data_.size())
        return false;
    tagOut = quint8(data_[pos_]);
    return true;
}

bool BerReader::readHeader(quint8 &tagOut, QByteArrayView &content)
{
    if (failed())
        return false;
    if (pos_ >= data_.size()) {
        fail(BerError::Truncated);
        return false;
    }
    tagOut = quint8(data_[pos_++]);
    if ((tagOut & 0x1F) == 0x1F) {
        // High tag numbers never occur in SNMPv1.
        fail(BerError::UnexpectedTag);
        return false;
    }
    if (pos_ >= data_.size()) {
        fail(BerError::Truncated);
        return false;
    }
    const quint8 first = quint8(data_[pos_++]);
    qsizetype length = 0;
    if (first < 0x80) {
        length = first;
    } else if (first == 0x80) {
        fail(BerError::IndefiniteLength);
        return false;
    } else {
        const int count = first & 0x7F;
        if (count > 4) {
            fail(BerError::LengthTooLong);
            return false;
        }
        if (data_.size() - pos_ < count) {
            fail(BerError::Truncated);
            return false;
        }
        quint64 value = 0;
        for (int i = 0; i < count; ++i)
            value = (value << 8) | quint8(data_[pos_++]);
        if (value > quint64(data_.size())) {
            fail(BerError::LengthPastEnd);
            return false;
        }
        length = qsizetype(value);
    }
    if (length > data_.size() - pos_) {
        fail(BerError::LengthPastEnd);
        return false;
    }
    content = data_.sliced(pos_, length);
    pos_ += length;
    return true;
}

bool BerReader::readElement(quint8 expectedTag, QByteArrayView &content)
{
    quint8 actual = 0;
    if (!readHeader(actual, content))
        return false;
    if (actual != expectedTag) {
        fail(BerError::UnexpectedTag);
        return false;
    }
    return true;
}

bool BerReader::decodeSigned(QByteArrayView content, qint32 &value, BerError &error)
{
    if (content.isEmpty() || content.size() > 4) {
        error = content.isEmpty() ? BerError::Truncated : BerError::IntegerTooLarge;
        return false;
    }
    qint64 result = qint8(content[0]);  // sign-extends the first byte
    for (qsizetype i = 1; i < content.size(); ++i)
        result = result * 256 + quint8(content[i]);
    value = qint32(result);
    return true;
}

bool BerReader::decodeUnsigned(QByteArrayView content, quint32 &value, BerError &error)
{
    if (content.isEmpty()) {
        error = BerError::Truncated;
        return false;
    }
    if (content.size() > 5 || (content.size() == 5 && content[0] != 0)) {
        error = BerError::IntegerTooLarge;
        return false;
    }
    if (quint8(content[0]) & 0x80) {
        error = BerError::IntegerOutOfRange;
        return false;
    }
    quint64 result = 0;
    for (char c : content)
        result = (result << 8) | quint8(c);
    value = quint32(result);
    return true;
}

bool BerReader::decodeObjectIdentifier(QByteArrayView content, Oid &value, BerError &error)
{
    value.clear();
    if (content.isEmpty()) {
        error = BerError::BadObjectIdentifier;
        return false;
    }
    quint64 arc = 0;
    bool inArc = false;
    for (char ch : content) {
        const quint8 byte = quint8(ch);
        if (!inArc && byte == 0x80) {
            // A leading 0x80 pads a subidentifier: not a valid encoding.
            error = BerError::BadObjectIdentifier;
            return false;
        }
        arc = (arc << 7) | (byte & 0x7F);
        if (arc > 0xFFFFFFFFull) {
            error = BerError::BadObjectIdentifier;
            return false;
        }
        inArc = true;
        if ((byte & 0x80) == 0) {
            if (value.isEmpty()) {
                const quint32 first = arc < 40 ? 0 : arc < 80 ? 1 : 2;
                value.append(first);
                value.append(quint32(arc - 40 * first));
            } else {
                value.append(quint32(arc));
            }
            if (value.size() > kMaxOidArcs) {
                error = BerError::BadObjectIdentifier;
                return false;
            }
            arc = 0;
            inArc = false;
        }
    }
    if (inArc) {  // the last subidentifier still expects a continuation byte
        error = BerError::BadObjectIdentifier;
        return false;
    }
    return true;
}

bool BerReader::readSignedInteger(qint32 &value, quint8 expectedTag)
{
    QByteArrayView content;
    if (!readElement(expectedTag, content))
        return false;
    BerError error = BerError::None;
    if (!decodeSigned(content, value, error)) {
        fail(error);
        return false;
    }
    return true;
}

bool BerReader::readUnsignedInteger(quint32 &value, quint8 expectedTag)
{
    QByteArrayView content;
    if (!readElement(expectedTag, content))
        return false;
    BerError error = BerError::None;
    if (!decodeUnsigned(content, value, error)) {
        fail(error);
        return false;
    }
    return true;
}

bool BerReader::readOctetString(QByteArray &value, quint8 expectedTag)
{
    QByteArrayView content;
    if (!readElement(expectedTag, content))
        return false;
    value = content.toByteArray();
    return true;
}

bool BerReader::readNull()
{
    QByteArrayView content;
    if (!readElement(tag::Null, content))
        return false;
    if (!content.isEmpty()) {
        fail(BerError::BadNull);
        return false;
    }
    return true;
}

bool BerReader::readObjectIdentifier(Oid &value)
{
    QByteArrayView content;
    if (!readElement(tag::ObjectIdentifier, content))
        return false;
    BerError error = BerError::None;
    if (!decodeObjectIdentifier(content, value, error)) {
        fail(error);
        return false;
    }
    return true;
}

namespace ber {

QByteArray encodeLength(qsizetype length)
{
    QByteArray out;
    if (length < 0x80) {
        out.append(char(length));
        return out;
    }
    QByteArray digits;
    for (quint64 rest = quint64(length); rest != 0; rest >>= 8)
        digits.prepend(char(rest & 0xFF));
    out.append(char(0x80 | digits.size()));
    out.append(digits);
    return out;
}

QByteArray wrap(quint8 tagByte, const QByteArray &content)
{
    QByteArray out;
    out.reserve(content.size() + 6);
    out.append(char(tagByte));
    out.append(encodeLength(content.size()));
    out.append(content);
    return out;
}

QByteArray encodeSignedInteger(qint32 value, quint8 tagByte)
{
    QByteArray content;
    qint64 v = value;
    // Emit bytes from the least significant end until the rest is pure sign.
    do {
        content.prepend(char(v & 0xFF));
        v >>= 8;
    } while (!((v == 0 && !(quint8(content[0]) & 0x80)) || (v == -1 && (quint8(content[0]) & 0x80))));
    return wrap(tagByte, content);
}

QByteArray encodeUnsignedInteger(quint32 value, quint8 tagByte)
{
    QByteArray content;
    quint64 v = value;
    do {
        content.prepend(char(v & 0xFF));
        v >>= 8;
    } while (v != 0);
    if (quint8(content[0]) & 0x80)
        content.prepend('\0');
    return wrap(tagByte, content);
}

QByteArray encodeOctetString(const QByteArray &value, quint8 tagByte)
{
    return wrap(tagByte, value);
}

QByteArray encodeNull()
{
    return QByteArray("\x05\x00", 2);
}

QByteArray encodeObjectIdentifier(const Oid &oid)
{
    if (oid.size() < 2 || oid.size() > kMaxOidArcs || oid[0] > 2 || (oid[0] < 2 && oid[1] > 39))
        return {};
    const quint64 first = quint64(oid[0]) * 40 + oid[1];
    if (first > 0xFFFFFFFFull)
        return {};
    QByteArray content;
    auto appendArc = [&content](quint64 arc) {
        QByteArray groups;
        groups.prepend(char(arc & 0x7F));
        for (arc >>= 7; arc != 0; arc >>= 7)
            groups.prepend(char(0x80 | (arc & 0x7F)));
        content.append(groups);
    };
    appendArc(first);
    for (int i = 2; i < oid.size(); ++i)
        appendArc(oid[i]);
    return wrap(tag::ObjectIdentifier, content);
}

}  // namespace ber
}  // namespace snmp
