#include "ber.h"

#include <QString>

#include <cstring>

namespace snmp {

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
    // Built in one buffer: names are turned to text for every answer.
    char buffer[kMaxOidArcs * 11];
    qsizetype used = 0;
    for (int i = 0; i < oid.size(); ++i) {
        if (i > 0)
            buffer[used++] = '.';
        char digits[10];
        int count = 0;
        quint32 arc = oid[i];
        do {
            digits[count++] = char('0' + arc % 10);
            arc /= 10;
        } while (arc != 0);
        while (count > 0)
            buffer[used++] = digits[--count];
    }
    return QString::fromLatin1(buffer, used);
}

bool oidFromText(QStringView text, Oid &oid)
{
    oid.clear();
    if (text.startsWith(QLatin1Char('.')))
        text = text.mid(1);
    if (text.isEmpty())
        return false;
    oid.reserve(text.size() / 2 + 1);
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
    return ber::canEncodeObjectIdentifier(oid);
}

void BerReader::fail(BerError error)
{
    if (error_ == BerError::None)
        error_ = error;
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
    value.reserve(qMin<qsizetype>(content.size() + 1, kMaxOidArcs + 1));
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

namespace {

// The length octets of `length` into `out` (at most 9 bytes).
int writeLength(qsizetype length, char *out)
{
    if (length < 0x80) {
        out[0] = char(length);
        return 1;
    }
    char digits[8];
    int count = 0;
    for (quint64 rest = quint64(length); rest != 0; rest >>= 8)
        digits[count++] = char(rest & 0xFF);
    out[0] = char(0x80 | count);
    for (int i = 0; i < count; ++i)
        out[1 + i] = digits[count - 1 - i];
    return 1 + count;
}

// Tag, length and the `size` bytes of `content`, in one allocation.
QByteArray element(quint8 tagByte, const char *content, qsizetype size)
{
    char header[10];
    header[0] = char(tagByte);
    const int headerSize = 1 + writeLength(size, header + 1);
    QByteArray out(headerSize + size, Qt::Uninitialized);
    std::memcpy(out.data(), header, size_t(headerSize));
    if (size > 0)
        std::memcpy(out.data() + headerSize, content, size_t(size));
    return out;
}

// The content octets of an identifier that canEncodeObjectIdentifier()
// accepts; `content` holds kMaxOidArcs * 5 bytes.
qsizetype objectIdentifierContent(const Oid &oid, char *content)
{
    qsizetype used = 0;
    auto appendArc = [&](quint64 arc) {
        char groups[5];
        int count = 0;
        groups[count++] = char(arc & 0x7F);
        for (arc >>= 7; arc != 0; arc >>= 7)
            groups[count++] = char(0x80 | (arc & 0x7F));
        while (count > 0)
            content[used++] = groups[--count];
    };
    appendArc(quint64(oid[0]) * 40 + oid[1]);
    for (int i = 2; i < oid.size(); ++i)
        appendArc(oid[i]);
    return used;
}

// The shortest two's-complement (signed) or unsigned big-endian bytes of
// `value`, at the end of `bytes` (5 bytes); returns how many.
int integerBytes(qint64 value, bool isSigned, char *bytes)
{
    int count = 0;
    qint64 v = value;
    do {
        bytes[4 - count++] = char(v & 0xFF);
        v >>= 8;
    } while (isSigned ? !((v == 0 && !(quint8(bytes[5 - count]) & 0x80)) || (v == -1 && (quint8(bytes[5 - count]) & 0x80)))
                      : v != 0);
    if (!isSigned && (quint8(bytes[5 - count]) & 0x80))
        bytes[4 - count++] = '\0';
    return count;
}


}  // namespace

QByteArray wrap(quint8 tagByte, const QByteArray &content)
{
    return element(tagByte, content.constData(), content.size());
}

QByteArray encodeSignedInteger(qint32 value, quint8 tagByte)
{
    char bytes[5];
    const int count = integerBytes(value, true, bytes);
    return element(tagByte, bytes + 5 - count, count);
}

QByteArray encodeUnsignedInteger(quint32 value, quint8 tagByte)
{
    char bytes[5];
    const int count = integerBytes(value, false, bytes);
    return element(tagByte, bytes + 5 - count, count);
}

QByteArray encodeOctetString(const QByteArray &value, quint8 tagByte)
{
    return wrap(tagByte, value);
}

bool canEncodeObjectIdentifier(const Oid &oid)
{
    return oid.size() >= 2 && oid.size() <= kMaxOidArcs && oid[0] <= 2 && (oid[0] == 2 || oid[1] <= 39)
           && quint64(oid[0]) * 40 + oid[1] <= 0xFFFFFFFFull;
}

BackwardWriter::BackwardWriter(qsizetype capacity) : buffer_(qMax<qsizetype>(capacity, 16), Qt::Uninitialized)
{
    start_ = buffer_.size();
}

void BackwardWriter::makeRoom(qsizetype count)
{
    if (start_ >= count)
        return;
    const qsizetype used = size();
    QByteArray larger(qMax(2 * buffer_.size(), used + count + 64), Qt::Uninitialized);
    std::memcpy(larger.data() + larger.size() - used, buffer_.constData() + start_, size_t(used));
    start_ = larger.size() - used;
    buffer_ = larger;
}

void BackwardWriter::putBytes(const char *bytes, qsizetype count)
{
    makeRoom(count);
    start_ -= count;
    if (count > 0)
        std::memcpy(buffer_.data() + start_, bytes, size_t(count));
}

void BackwardWriter::closeElement(quint8 tagByte, qsizetype sizeBefore)
{
    char header[10];
    header[0] = char(tagByte);
    putBytes(header, 1 + writeLength(size() - sizeBefore, header + 1));
}

void BackwardWriter::putElement(quint8 tagByte, const char *content, qsizetype count)
{
    const qsizetype before = size();
    putBytes(content, count);
    closeElement(tagByte, before);
}

void BackwardWriter::putSignedInteger(qint32 value, quint8 tagByte)
{
    char bytes[5];
    const int count = integerBytes(value, true, bytes);
    putElement(tagByte, bytes + 5 - count, count);
}

void BackwardWriter::putUnsignedInteger(quint32 value, quint8 tagByte)
{
    char bytes[5];
    const int count = integerBytes(value, false, bytes);
    putElement(tagByte, bytes + 5 - count, count);
}

void BackwardWriter::putObjectIdentifier(const Oid &oid)
{
    char content[kMaxOidArcs * 5];
    const qsizetype count = canEncodeObjectIdentifier(oid) ? objectIdentifierContent(oid, content)
                                                           : objectIdentifierContent(Oid{0, 0}, content);
    putElement(tag::ObjectIdentifier, content, count);
}

QByteArray BackwardWriter::take() const
{
    return buffer_.sliced(start_);
}

}  // namespace ber
}  // namespace snmp
