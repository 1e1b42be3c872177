// BER primitives: the shortest integer encodings and long-form lengths, each
// checked in both directions.

#include "snmp/ber.h"

#include <QTest>

using namespace snmp;

static QByteArray h(const char *hexText) { return QByteArray::fromHex(hexText); }

class TestBer : public QObject {
    Q_OBJECT

private slots:
    // INTEGER rows are signed; Counter, Gauge and TimeTicks rows unsigned.
    void minimalIntegers_data()
    {
        QTest::addColumn<qint64>("value");
        QTest::addColumn<QByteArray>("wire");
        // A sign byte is added only when the top bit would otherwise lie.
        QTest::newRow("0") << qint64(0) << h("02 01 00");
        QTest::newRow("127") << qint64(127) << h("02 01 7f");
        QTest::newRow("128") << qint64(128) << h("02 02 00 80");  // 00: keeps it positive
        QTest::newRow("-128") << qint64(-128) << h("02 01 80");
        QTest::newRow("-129") << qint64(-129) << h("02 02 ff 7f");  // ff: keeps it negative
        QTest::newRow("INT32_MIN") << qint64(INT32_MIN) << h("02 04 80 00 00 00");
        QTest::newRow("INT32_MAX") << qint64(INT32_MAX) << h("02 04 7f ff ff ff");
        QTest::newRow("Gauge 255") << qint64(255) << h("42 02 00 ff");  // 00: an unsigned top bit
        QTest::newRow("TimeTicks 2^31") << qint64(0x80000000u) << h("43 05 00 80 00 00 00");
        QTest::newRow("Counter 2^32-1") << qint64(0xFFFFFFFFu) << h("41 05 00 ff ff ff ff");
    }

    void minimalIntegers()
    {
        QFETCH(qint64, value);
        QFETCH(QByteArray, wire);
        const quint8 tagByte = quint8(wire.at(0));
        BerReader reader(wire);
        if (tagByte == tag::Integer) {
            QCOMPARE(ber::encodeSignedInteger(qint32(value)).toHex(' '), wire.toHex(' '));
            qint32 decoded = 0;
            QVERIFY(reader.readSignedInteger(decoded));
            QCOMPARE(qint64(decoded), value);
        } else {
            QCOMPARE(ber::encodeUnsignedInteger(quint32(value), tagByte).toHex(' '), wire.toHex(' '));
            quint32 decoded = 0;
            QVERIFY(reader.readUnsignedInteger(decoded, tagByte));
            QCOMPARE(qint64(decoded), value);
        }
        QVERIFY(reader.atEnd());
    }

    void longFormLengths_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QByteArray>("header");  // tag and length of an OCTET STRING
        QTest::newRow("127") << 127 << h("04 7f");
        QTest::newRow("128") << 128 << h("04 81 80");
        QTest::newRow("256") << 256 << h("04 82 01 00");
        QTest::newRow("65536") << 65536 << h("04 83 01 00 00");
    }

    void longFormLengths()
    {
        QFETCH(int, size);
        QFETCH(QByteArray, header);
        const QByteArray payload(size, '\x5a');
        const QByteArray wire = ber::encodeOctetString(payload);
        QCOMPARE(wire.left(header.size()).toHex(' '), header.toHex(' '));
        QCOMPARE(wire.size(), header.size() + size);

        BerReader reader(wire);
        QByteArray decoded;
        QVERIFY(reader.readOctetString(decoded));
        QCOMPARE(decoded, payload);
        QVERIFY(reader.atEnd());
    }

    // What a peer may send: every definite form up to four length bytes, also
    // the ones we would not write ourselves (leading zero bytes).
    void lengthFormsWeRead_data()
    {
        QTest::addColumn<QByteArray>("header");  // tag and length of an OCTET STRING of 5 bytes
        QTest::addColumn<bool>("ok");
        QTest::newRow("short form") << h("04 05") << true;
        QTest::newRow("one length byte") << h("04 81 05") << true;
        QTest::newRow("four length bytes") << h("04 84 00 00 00 05") << true;
        QTest::newRow("five length bytes") << h("04 85 00 00 00 00 05") << false;
        QTest::newRow("indefinite") << h("04 80") << false;
        QTest::newRow("one past the end") << h("04 06") << false;
        QTest::newRow("four bytes, past the end") << h("04 84 00 00 01 00") << false;
    }

    void lengthFormsWeRead()
    {
        QFETCH(QByteArray, header);
        QFETCH(bool, ok);
        const QByteArray wire = header + QByteArray(5, 'x');  // the reader only looks at it
        BerReader reader(wire);
        QByteArray decoded;
        QCOMPARE(reader.readOctetString(decoded), ok);
        if (ok)
            QCOMPARE(decoded, QByteArray(5, 'x'));
    }
};

QTEST_GUILESS_MAIN(TestBer)
#include "test_ber.moc"
