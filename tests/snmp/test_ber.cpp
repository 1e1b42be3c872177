// BER primitives: the shortest integer encodings, long-form lengths and
// object identifier subidentifiers, each checked in both directions.

#include "snmp/ber.h"

#include <QTest>

using namespace snmp;

namespace {

QByteArray h(const char *hexText) { return QByteArray::fromHex(hexText); }

}  // namespace

class TestBer : public QObject {
    Q_OBJECT

private slots:
    void signedIntegers_data();
    void signedIntegers();
    void unsignedIntegers_data();
    void unsignedIntegers();
    void longFormLengths_data();
    void longFormLengths();
    void objectIdentifiers_data();
    void objectIdentifiers();
};

void TestBer::signedIntegers_data()
{
    QTest::addColumn<qint32>("value");
    QTest::addColumn<QByteArray>("wire");
    // A sign byte is added only when the top bit would otherwise lie.
    QTest::newRow("0") << 0 << h("02 01 00");
    QTest::newRow("127") << 127 << h("02 01 7f");
    QTest::newRow("128") << 128 << h("02 02 00 80");  // 00: keeps it positive
    QTest::newRow("256") << 256 << h("02 02 01 00");
    QTest::newRow("-1") << -1 << h("02 01 ff");
    QTest::newRow("-128") << -128 << h("02 01 80");
    QTest::newRow("-129") << -129 << h("02 02 ff 7f");  // ff: keeps it negative
    QTest::newRow("32767") << 32767 << h("02 02 7f ff");
    QTest::newRow("32768") << 32768 << h("02 03 00 80 00");
    QTest::newRow("-32769") << -32769 << h("02 03 ff 7f ff");
    QTest::newRow("INT32_MIN") << INT32_MIN << h("02 04 80 00 00 00");
    QTest::newRow("INT32_MAX") << INT32_MAX << h("02 04 7f ff ff ff");
}

void TestBer::signedIntegers()
{
    QFETCH(qint32, value);
    QFETCH(QByteArray, wire);
    QCOMPARE(ber::encodeSignedInteger(value).toHex(' '), wire.toHex(' '));

    BerReader reader(wire);
    qint32 decoded = 0;
    QVERIFY(reader.readSignedInteger(decoded));
    QCOMPARE(decoded, value);
    QVERIFY(reader.atEnd());
}

void TestBer::unsignedIntegers_data()
{
    QTest::addColumn<quint32>("value");
    QTest::addColumn<QByteArray>("content");  // without tag and length
    QTest::newRow("0") << 0u << h("00");
    QTest::newRow("127") << 127u << h("7f");
    QTest::newRow("128") << 128u << h("00 80");
    QTest::newRow("255") << 255u << h("00 ff");
    QTest::newRow("256") << 256u << h("01 00");
    QTest::newRow("2^31") << 0x80000000u << h("00 80 00 00 00");
    QTest::newRow("2^32-1") << 0xFFFFFFFFu << h("00 ff ff ff ff");
}

void TestBer::unsignedIntegers()
{
    QFETCH(quint32, value);
    QFETCH(QByteArray, content);
    for (const quint8 tagByte : {tag::Counter, tag::Gauge, tag::TimeTicks}) {
        const QByteArray wire = char(tagByte) + QByteArray(1, char(content.size())) + content;
        QCOMPARE(ber::encodeUnsignedInteger(value, tagByte).toHex(' '), wire.toHex(' '));

        BerReader reader(wire);
        quint32 decoded = 0;
        QVERIFY(reader.readUnsignedInteger(decoded, tagByte));
        QCOMPARE(decoded, value);
    }
}

void TestBer::longFormLengths_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QByteArray>("header");  // tag and length of an OCTET STRING
    QTest::newRow("127") << 127 << h("04 7f");
    QTest::newRow("128") << 128 << h("04 81 80");
    QTest::newRow("255") << 255 << h("04 81 ff");
    QTest::newRow("256") << 256 << h("04 82 01 00");
    QTest::newRow("65535") << 65535 << h("04 82 ff ff");
    QTest::newRow("65536") << 65536 << h("04 83 01 00 00");
}

void TestBer::longFormLengths()
{
    QFETCH(int, size);
    QFETCH(QByteArray, header);
    QByteArray payload(size, '\0');
    for (int i = 0; i < size; ++i)
        payload[i] = char(i * 7);

    const QByteArray wire = ber::encodeOctetString(payload);
    QCOMPARE(wire.left(header.size()).toHex(' '), header.toHex(' '));
    QCOMPARE(wire.size(), header.size() + size);

    BerReader reader(wire);
    QByteArray decoded;
    QVERIFY(reader.readOctetString(decoded));
    QCOMPARE(decoded, payload);
    QVERIFY(reader.atEnd());
}

void TestBer::objectIdentifiers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("content");  // empty: cannot be encoded
    // The first two arcs share one subidentifier, 40 * first + second.
    QTest::newRow("0.0") << "0.0" << h("00");
    QTest::newRow("0.39") << "0.39" << h("27");
    QTest::newRow("1.0") << "1.0" << h("28");
    QTest::newRow("1.3") << "1.3" << h("2b");
    QTest::newRow("2.0") << "2.0" << h("50");
    QTest::newRow("2.999") << "2.999" << h("88 37");  // 1079 = 8*128 + 55
    QTest::newRow("2.(2^32-81)") << "2.4294967215" << h("8f ff ff ff 7f");
    // Seven bits per byte, continuation bit on all but the last.
    QTest::newRow("arc 127") << "1.3.127" << h("2b 7f");
    QTest::newRow("arc 128") << "1.3.128" << h("2b 81 00");
    QTest::newRow("arc 16383") << "1.3.16383" << h("2b ff 7f");
    QTest::newRow("arc 16384") << "1.3.16384" << h("2b 81 80 00");
    QTest::newRow("arc 2^32-1") << "1.3.4294967295" << h("2b 8f ff ff ff 7f");
    QTest::newRow("first arc 3") << "3.1" << QByteArray();
    QTest::newRow("1.40") << "1.40" << QByteArray();
    QTest::newRow("0.40") << "0.40" << QByteArray();
    QTest::newRow("2.(2^32-80)") << "2.4294967216" << QByteArray();
}

void TestBer::objectIdentifiers()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, content);
    Oid oid;
    // Text that BER cannot carry is refused already when it is parsed.
    QCOMPARE(oidFromText(text, oid), !content.isEmpty());
    if (content.isEmpty())
        return;
    QCOMPARE(oidToText(oid), text);

    const QByteArray encoded = ber::encodeObjectIdentifier(oid);
    QCOMPARE(encoded.toHex(' '), (char(tag::ObjectIdentifier) + QByteArray(1, char(content.size())) + content).toHex(' '));

    Oid decoded;
    BerError error = BerError::None;
    QVERIFY(BerReader::decodeObjectIdentifier(content, decoded, error));
    QCOMPARE(decoded, oid);
}

QTEST_GUILESS_MAIN(TestBer)
#include "test_ber.moc"
