// SNMPv1 messages: datagrams recorded from independent implementations,
// decoded and written back byte for byte; every class of malformed input a
// peer could send. (Round trips of arbitrary input: fuzz/fuzz_snmp_codec.)

#include "snmp/snmp_pdu.h"

#include <QElapsedTimer>
#include <QTest>

using namespace snmp;

Q_DECLARE_METATYPE(snmp::Message)
Q_DECLARE_METATYPE(snmp::BerError)

namespace snmp {
char *toString(BerError error) { return qstrdup(berErrorText(error)); }
}  // namespace snmp

namespace {

QByteArray h(const char *hexText) { return QByteArray::fromHex(hexText); }

// Tag and length octets, and whole elements, built here rather than by the
// encoder under test.
QByteArray header(quint8 tagByte, qsizetype size)
{
    QByteArray length;
    for (qsizetype rest = size; size >= 0x80 && rest != 0; rest >>= 8)
        length.prepend(char(rest & 0xFF));
    length.prepend(char(size >= 0x80 ? 0x80 | length.size() : size));
    return char(tagByte) + length;
}
QByteArray tlv(quint8 tagByte, const QByteArray &content) { return header(tagByte, content.size()) + content; }

// Every field in declaration order, a line per binding, so that a failed
// comparison shows where two messages differ.
QString describe(const Message &m)
{
    const Pdu &p = m.pdu;
    QString text;
    QDebug out(&text);
    out << m.version << m.community.toHex() << int(p.type) << p.requestId << p.errorStatus << p.errorIndex
        << p.enterprise << p.agentAddress.toHex() << p.genericTrap << p.specificTrap << p.timeStamp << "\n";
    for (const VarBind &vb : p.varBinds)
        out << vb.name << int(vb.value.kind) << vb.value.number << vb.value.bytes.toHex() << vb.value.oid << "\n";
    return text;
}

Oid o(const char *dotted) { Oid oid; oidFromText(QString::fromLatin1(dotted), oid); return oid; }

// Datagrams recorded from independent implementations, one per message kind:
// net-snmp 5.9 (snmpget, snmptrap to a local socket) and pysnmp 4.4 (its v1
// encoder). The fields they carry are spelled out in knownAnswers_data().
const QByteArray kNetSnmpGet = h("302c02010004066b617672656ca01f02046d7b9cee0201000201003011300f"
                                 "060b2b060104018380120203000500");  // arc 49170 = 83 80 12
const QByteArray kNetSnmpTrap = h("304002010004066b617672656ca43306082b0601040183801240047f000001020106020101"
                                  "430230393017" "3015060b2b06010401838012070100" "0406020000000001");
// INTEGER -2 in one byte, IpAddress, OCTET STRING with the top bit set.
const QByteArray kPysnmpSet = h("305402010004066b617672656ca34702014d020100020100303c"
                                "3010060b2b06010401838012020100" "0201fe"
                                "3013060b2b06010401838012020800" "040482848b96"
                                "3013060b2b06010401838012020b00" "4004ffffff00");
// The largest request-id; Counter 2^32-1 and TimeTicks 128 each with a 00
// before the top bit; an OID value.
const QByteArray kPysnmpResponse = h("305702010004066b617672656ca24a02047fffffff020102020101303c"
                                     "3014060b2b06010401838012050100" "410500ffffffff"
                                     "300e06082b06010201010300" "43020080"
                                     "301406082b06010201010200" "06082b06010401838012");

// Envelopes for malformed parts: the rest of the datagram stays valid.
const QByteArray kVersion0 = h("02 01 00");
const QByteArray kPublic = h("04 06 70 75 62 6c 69 63");
const QByteArray kRequestHead = h("02 01 01  02 01 00  02 01 00");  // id 1, noError, index 0
const QByteArray kSysDescrName = h("06 08 2b 06 01 02 01 01 01 00");
const QByteArray kNullVarBind = tlv(0x30, kSysDescrName + h("05 00"));

QByteArray envelope(const QByteArray &pdu) { return tlv(0x30, kVersion0 + kPublic + pdu); }
QByteArray getWithList(const QByteArray &list) { return envelope(tlv(0xa0, kRequestHead + list)); }
QByteArray responseWithValue(const QByteArray &value)
{
    return envelope(tlv(0xa2, kRequestHead + tlv(0x30, tlv(0x30, kSysDescrName + value))));
}

// `depth` SEQUENCEs around `core`.
QByteArray nestedSequences(int depth, QByteArray core)
{
    for (int i = 0; i < depth; ++i)
        core.prepend(header(0x30, core.size()));
    return core;
}

}  // namespace

class TestSnmpPdu : public QObject {
    Q_OBJECT

private slots:
    // Pdu fields: type, request-id, error-status, error-index, enterprise,
    // agent-addr, generic-trap, specific-trap, time-stamp, bindings.
    void knownAnswers_data()
    {
        QTest::addColumn<QByteArray>("wire");
        QTest::addColumn<Message>("fields");
        QTest::newRow("net-snmp GET") << kNetSnmpGet << Message{0, "kavrel", {PduType::GetRequest, 1836817646, 0, 0, {},
            {}, 0, 0, 0, {{o("1.3.6.1.4.1.49170.2.3.0"), Value::null()}}}};
        QTest::newRow("net-snmp trap") << kNetSnmpTrap << Message{0, "kavrel", {PduType::Trap, 0, 0, 0,
            o("1.3.6.1.4.1.49170"), h("7f000001"), 6, 1, 12345,
            {{o("1.3.6.1.4.1.49170.7.1.0"), Value::octets(h("020000000001"))}}}};
        QTest::newRow("pysnmp SET") << kPysnmpSet << Message{0, "kavrel", {PduType::SetRequest, 77, 0, 0, {}, {}, 0, 0, 0,
            {{o("1.3.6.1.4.1.49170.2.1.0"), Value::integer(-2)},
             {o("1.3.6.1.4.1.49170.2.8.0"), Value::octets(h("82848B96"))},
             {o("1.3.6.1.4.1.49170.2.11.0"), Value::ipAddress(h("FFFFFF00"))}}}};
        QTest::newRow("pysnmp response") << kPysnmpResponse << Message{0, "kavrel", {PduType::GetResponse, 2147483647, 2, 1,
            {}, {}, 0, 0, 0,
            {{o("1.3.6.1.4.1.49170.5.1.0"), Value::unsignedOf(ValueKind::Counter, 4294967295u)},
             {o("1.3.6.1.2.1.1.3.0"), Value::unsignedOf(ValueKind::TimeTicks, 128)},
             {o("1.3.6.1.2.1.1.2.0"), Value::objectId(o("1.3.6.1.4.1.49170"))}}}};
    }

    void knownAnswers()
    {
        QFETCH(QByteArray, wire);
        QFETCH(Message, fields);
        QCOMPARE(encodeMessage(fields).toHex(' '), wire.toHex(' '));

        const DecodeResult decoded = decodeMessage(wire);
        QCOMPARE(decoded.error, BerError::None);
        QVERIFY(decoded.ok());
        QCOMPARE(describe(*decoded.message), describe(fields));

        // Every shorter prefix, and the datagram with one byte more, is refused.
        for (qsizetype size = 0; size < wire.size(); ++size) {
            const DecodeResult cut = decodeMessage(QByteArrayView(wire).first(size));
            QVERIFY2(!cut.ok() && cut.error != BerError::None, qPrintable(QStringLiteral("accepted %1 bytes").arg(size)));
        }
        QCOMPARE(decodeMessage(wire + '\0').error, BerError::TrailingBytes);
    }

    // One row per class of fault.
    void malformedInput_data()
    {
        QTest::addColumn<QByteArray>("wire");
        QTest::addColumn<BerError>("error");
        using E = BerError;
        const QByteArray getBody = kVersion0 + kPublic + tlv(0xa0, kRequestHead + tlv(0x30, kNullVarBind));

        QTest::newRow("length past its element") << tlv(0x30, kVersion0 + h("04 40 70 75 62")) << E::LengthPastEnd;
        QTest::newRow("indefinite length") << h("30 80") + getBody + h("00 00") << E::IndefiniteLength;
        QTest::newRow("five length bytes") << h("30 85 00 00 00 00 26") + getBody << E::LengthTooLong;
        QTest::newRow("high tag number form") << responseWithValue(h("5f 1f 01 00")) << E::UnexpectedTag;
        QTest::newRow("request-id not INTEGER") << envelope(tlv(0xa0, h("04 01 01 02 01 00 02 01 00 30 00"))) << E::UnexpectedTag;
        QTest::newRow("SNMPv2 PDU (GetBulk)") << envelope(tlv(0xa5, kRequestHead + h("30 00"))) << E::UnexpectedTag;
        QTest::newRow("SNMPv2 exception as value") << responseWithValue(h("80 00")) << E::UnexpectedTag;
        // Far deeper than any call stack would survive a recursive descent.
        QTest::newRow("100000 nested SEQUENCEs") << responseWithValue(nestedSequences(100000, h("05 00"))) << E::UnexpectedTag;
        QTest::newRow("INTEGER of 5 bytes") << responseWithValue(h("02 05 00 ff ff ff ff")) << E::IntegerTooLarge;
        QTest::newRow("TimeTicks negative") << responseWithValue(h("43 01 80")) << E::IntegerOutOfRange;
        QTest::newRow("OID arc 2^32") << responseWithValue(h("06 06 2b 90 80 80 80 00")) << E::BadObjectIdentifier;
        QTest::newRow("NULL with content") << responseWithValue(h("05 01 00")) << E::BadNull;
        QTest::newRow("IpAddress of 3 bytes") << responseWithValue(h("40 03 7f 00 01")) << E::BadIpAddress;
        QTest::newRow("bytes after a value") << responseWithValue(h("05 00 05 00")) << E::TrailingBytes;
        QTest::newRow("version 1 (SNMPv2c)") << tlv(0x30, h("02 01 01") + getBody.mid(3)) << E::UnsupportedVersion;
    }

    void malformedInput()
    {
        QFETCH(QByteArray, wire);
        QFETCH(BerError, error);
        QElapsedTimer clock;
        clock.start();
        const DecodeResult result = decodeMessage(wire);
        QVERIFY(!result.ok());
        QCOMPARE(result.error, error);
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QStringLiteral("%1 ms").arg(clock.elapsed())));
    }

    void varBindLimit()
    {
        const QByteArray list = kNullVarBind.repeated(kMaxVarBinds);
        const DecodeResult atLimit = decodeMessage(getWithList(tlv(0x30, list)));
        QCOMPARE(atLimit.error, BerError::None);
        QCOMPARE(atLimit.message->pdu.varBinds.size(), kMaxVarBinds);
        QCOMPARE(decodeMessage(getWithList(tlv(0x30, list + kNullVarBind))).error, BerError::TooManyVariables);
    }
};

QTEST_GUILESS_MAIN(TestSnmpPdu)
#include "test_snmp_pdu.moc"
