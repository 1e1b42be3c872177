#pragma once
// Basic Encoding Rules primitives, as SNMPv1 uses them: definite lengths,
// single-byte tags, integers of at most 32 bits (plus a sign byte for the
// unsigned application types). Every read is bounds-checked; a reader that
// meets a fault stops and remembers the first error.

#include <QByteArray>
#include <QByteArrayView>
#include <QVector>
#include <cstdint>

namespace snmp {

namespace tag {
constexpr quint8 Integer = 0x02;
constexpr quint8 OctetString = 0x04;
constexpr quint8 Null = 0x05;
constexpr quint8 ObjectIdentifier = 0x06;
constexpr quint8 Sequence = 0x30;
constexpr quint8 IpAddress = 0x40;
constexpr quint8 Counter = 0x41;
constexpr quint8 Gauge = 0x42;
constexpr quint8 TimeTicks = 0x43;
constexpr quint8 Opaque = 0x44;
constexpr quint8 GetRequest = 0xA0;
constexpr quint8 GetNextRequest = 0xA1;
constexpr quint8 GetResponse = 0xA2;
constexpr quint8 SetRequest = 0xA3;
constexpr quint8 Trap = 0xA4;
}  // namespace tag

// Arcs beyond this are refused, by the codec and by the MIB loader: no real
// MIB comes near it, and it keeps a hostile OID from allocating without bound.
constexpr int kMaxOidArcs = 128;

enum class BerError {
    None,
    Truncated,          // the data ends inside a tag, length or content
    LengthPastEnd,      // a length points beyond its enclosing element
    IndefiniteLength,   // 0x80: not allowed in SNMP
    LengthTooLong,      // more than four length bytes
    UnexpectedTag,      // another type than the grammar asks for
    IntegerTooLarge,    // more content bytes than the type's range allows
    IntegerOutOfRange,  // a value outside the type's range (negative counter)
    BadObjectIdentifier,
    BadNull,
    BadIpAddress,
    TrailingBytes,      // bytes left over after a complete element
    UnsupportedVersion,
    TooManyVariables,
};

const char *berErrorText(BerError error);

using Oid = QVector<quint32>;

QString oidToText(const Oid &oid);
// Parses "1.3.6.1" (a leading dot is accepted). Returns false for empty
// text, non-digits, empty arcs, values above 2^32-1, and anything BER cannot
// encode (fewer than 2 or more than 128 arcs, first arc above 2, second arc
// above 39 under arcs 0 and 1).
bool oidFromText(QStringView text, Oid &oid);

class BerReader {
public:
    explicit BerReader(QByteArrayView data) : data_(data) {}

    bool atEnd() const { return pos_ >= data_.size(); }
    bool failed() const { return error_ != BerError::None; }
    BerError error() const { return error_; }
    // The first fault wins; later ones do not overwrite it.
    void fail(BerError error);

    // Reads a tag and a definite length whose content lies inside the data.
    bool readHeader(quint8 &tagOut, QByteArrayView &content);
    // Reads an element that must carry the given tag.
    bool readElement(quint8 expectedTag, QByteArrayView &content);

    bool readSignedInteger(qint32 &value, quint8 expectedTag = tag::Integer);
    bool readUnsignedInteger(quint32 &value, quint8 expectedTag);
    bool readOctetString(QByteArray &value, quint8 expectedTag = tag::OctetString);
    bool readObjectIdentifier(Oid &value);

    static bool decodeSigned(QByteArrayView content, qint32 &value, BerError &error);
    static bool decodeUnsigned(QByteArrayView content, quint32 &value, BerError &error);
    static bool decodeObjectIdentifier(QByteArrayView content, Oid &value, BerError &error);

private:
    QByteArrayView data_;
    qsizetype pos_ = 0;
    BerError error_ = BerError::None;
};

// Writes elements inside out: callers build the content of a constructed
// element first and wrap it with wrap().
namespace ber {
QByteArray wrap(quint8 tag, const QByteArray &content);
QByteArray encodeSignedInteger(qint32 value, quint8 tagByte = tag::Integer);
QByteArray encodeUnsignedInteger(quint32 value, quint8 tagByte);
QByteArray encodeOctetString(const QByteArray &value, quint8 tagByte = tag::OctetString);
// False for an OID that cannot be encoded: fewer than two or more than 128
// arcs, first arc above 2, second arc above 39 under arcs 0 and 1.
bool canEncodeObjectIdentifier(const Oid &oid);

// Builds a whole message in one buffer, from its last byte to its first:
// an element's length is known once its content has been written, so no
// element is ever copied into its parent. Elements go in in reverse order;
// a constructed one is closed with closeElement() after its content.
class BackwardWriter {
public:
    explicit BackwardWriter(qsizetype capacity = 256);
    qsizetype size() const { return buffer_.size() - start_; }
    void putBytes(const char *bytes, qsizetype count);
    void putElement(quint8 tagByte, const char *content, qsizetype count);
    void putSignedInteger(qint32 value, quint8 tagByte = tag::Integer);
    void putUnsignedInteger(quint32 value, quint8 tagByte);
    // An identifier BER cannot carry is written as 0.0.
    void putObjectIdentifier(const Oid &oid);
    // Closes the element whose content began when size() was `sizeBefore`.
    void closeElement(quint8 tagByte, qsizetype sizeBefore);
    QByteArray take() const;

private:
    void makeRoom(qsizetype count);
    QByteArray buffer_;
    qsizetype start_;
};
}  // namespace ber

}  // namespace snmp
