// SNMPv1 messages: hand-derived reference datagrams of each PDU type, every
// class of malformed input a peer could send, and a random round trip.

#include "snmp/snmp_pdu.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
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

const Oid kEnterprise{1, 3, 6, 1, 4, 1, 4242};

// GetRequest for sysDescr.0, community "public", request id 1.
const QByteArray kGetSysDescr = h(
    "30 26"                                   // Message: SEQUENCE, 38 bytes
    "  02 01 00"                              //   version: 0 = SNMPv1
    "  04 06 70 75 62 6c 69 63"               //   community: "public"
    "  a0 19"                                 //   GetRequest-PDU, 25 bytes
    "    02 01 01"                            //     request-id: 1
    "    02 01 00"                            //     error-status: noError
    "    02 01 00"                            //     error-index: 0
    "    30 0e"                               //     variable-bindings: SEQUENCE, 14 bytes
    "      30 0c"                             //       VarBind: SEQUENCE, 12 bytes
    "        06 08 2b 06 01 02 01 01 01 00"   //         name: 1.3.6.1.2.1.1.1.0 (2b = 40*1 + 3)
    "        05 00");                         //         value: NULL

// SetRequest with an INTEGER, an OCTET STRING holding NUL and high bytes,
// and an IpAddress; enterprise arc 4242 takes two subidentifier bytes.
const QByteArray kSetThree = h(
    "30 54"                                   // Message: SEQUENCE, 84 bytes
    "  02 01 00"                              //   version: 0
    "  04 07 70 72 69 76 61 74 65"            //   community: "private"
    "  a3 46"                                 //   SetRequest-PDU, 70 bytes
    "    02 02 01 2c"                         //     request-id: 300
    "    02 01 00"                            //     error-status: noError
    "    02 01 00"                            //     error-index: 0
    "    30 3a"                               //     variable-bindings, 58 bytes
    "      30 0f"                             //       VarBind, 15 bytes
    "        06 0a 2b 06 01 04 01 a1 12 01 01 00" //       name: 1.3.6.1.4.1.4242.1.1.0 (4242 = a1 12)
    "        02 01 fe"                        //         value: INTEGER -2
    "      30 13"                             //       VarBind, 19 bytes
    "        06 0a 2b 06 01 04 01 a1 12 01 02 00" //       name: ....4242.1.2.0
    "        04 05 00 80 ff 41 00"            //         value: OCTET STRING 00 80 ff 'A' 00
    "      30 12"                             //       VarBind, 18 bytes
    "        06 0a 2b 06 01 04 01 a1 12 01 03 00" //       name: ....4242.1.3.0
    "        40 04 0a 00 00 fe");             //         value: IpAddress 10.0.0.254

// GetResponse with the three unsigned application types.
const QByteArray kResponseUnsigned = h(
    "30 4e"                                   // Message: SEQUENCE, 78 bytes
    "  02 01 00"                              //   version: 0
    "  04 06 70 75 62 6c 69 63"               //   community: "public"
    "  a2 41"                                 //   GetResponse-PDU, 65 bytes
    "    02 01 01"                            //     request-id: 1
    "    02 01 00"                            //     error-status: noError
    "    02 01 00"                            //     error-index: 0
    "    30 36"                               //     variable-bindings, 54 bytes
    "      30 13"                             //       VarBind, 19 bytes
    "        06 0a 2b 06 01 02 01 02 02 01 0a 01" //       name: ifInOctets.1
    "        41 05 00 ff ff ff ff"            //         value: Counter 2^32-1 (00: top bit set)
    "      30 10"                             //       VarBind, 16 bytes
    "        06 0a 2b 06 01 02 01 02 02 01 05 01" //       name: ifSpeed.1
    "        42 02 00 80"                     //         value: Gauge 128
    "      30 0d"                             //       VarBind, 13 bytes
    "        06 08 2b 06 01 02 01 01 03 00"   //         name: sysUpTime.0
    "        43 01 00");                      //         value: TimeTicks 0

// v1 Trap-PDU: enterprise-specific trap 7 with one variable.
const QByteArray kTrap = h(
    "30 39"                                   // Message: SEQUENCE, 57 bytes
    "  02 01 00"                              //   version: 0
    "  04 06 70 75 62 6c 69 63"               //   community: "public"
    "  a4 2c"                                 //   Trap-PDU, 44 bytes
    "    06 07 2b 06 01 04 01 a1 12"          //     enterprise: 1.3.6.1.4.1.4242
    "    40 04 7f 00 00 01"                   //     agent-addr: 127.0.0.1
    "    02 01 06"                            //     generic-trap: 6 = enterpriseSpecific
    "    02 01 07"                            //     specific-trap: 7
    "    43 02 30 39"                         //     time-stamp: 12345
    "    30 11"                               //     variable-bindings, 17 bytes
    "      30 0f"                             //       VarBind, 15 bytes
    "        06 0a 2b 06 01 04 01 a1 12 01 01 00" //       name: ....4242.1.1.0
    "        02 01 02");                      //         value: INTEGER 2

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
    void knownAnswers_data();
    void knownAnswers();
    void malformedInput_data();
    void malformedInput();
    void varBindLimit();
    void randomMessagesRoundTrip();
};

// Pdu fields in order: type, request-id, error-status, error-index, then the
// trap's enterprise, agent-addr, generic-trap, specific-trap, time-stamp, and
// the variable bindings.
void TestSnmpPdu::knownAnswers_data()
{
    QTest::addColumn<QByteArray>("wire");
    QTest::addColumn<Message>("fields");
    const Oid sysDescr{1, 3, 6, 1, 2, 1, 1, 1, 0};
    QTest::newRow("GetRequest sysDescr.0")
        << kGetSysDescr << Message{0, "public", {PduType::GetRequest, 1, 0, 0, {}, {}, 0, 0, 0, {{sysDescr, Value::null()}}}};
    QTest::newRow("SetRequest integer, octets, address")
        << kSetThree << Message{0, "private", {PduType::SetRequest, 300, 0, 0, {}, {}, 0, 0, 0,
                                               {{kEnterprise + Oid{1, 1, 0}, Value::integer(-2)},
                                                {kEnterprise + Oid{1, 2, 0}, Value::octets(h("00 80 ff 41 00"))},
                                                {kEnterprise + Oid{1, 3, 0}, Value::ipAddress(h("0a 00 00 fe"))}}}};
    QTest::newRow("GetResponse counter, gauge, ticks")
        << kResponseUnsigned
        << Message{0, "public", {PduType::GetResponse, 1, 0, 0, {}, {}, 0, 0, 0,
                                 {{Oid{1, 3, 6, 1, 2, 1, 2, 2, 1, 10, 1}, Value::unsignedOf(ValueKind::Counter, 0xFFFFFFFFu)},
                                  {Oid{1, 3, 6, 1, 2, 1, 2, 2, 1, 5, 1}, Value::unsignedOf(ValueKind::Gauge, 128)},
                                  {Oid{1, 3, 6, 1, 2, 1, 1, 3, 0}, Value::unsignedOf(ValueKind::TimeTicks, 0)}}}};
    QTest::newRow("Trap enterprise-specific 7")
        << kTrap << Message{0, "public", {PduType::Trap, 0, 0, 0, kEnterprise, h("7f 00 00 01"), 6, 7, 12345,
                                          {{kEnterprise + Oid{1, 1, 0}, Value::integer(2)}}}};
}

void TestSnmpPdu::knownAnswers()
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
void TestSnmpPdu::malformedInput_data()
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

void TestSnmpPdu::malformedInput()
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

void TestSnmpPdu::varBindLimit()
{
    const QByteArray list = kNullVarBind.repeated(kMaxVarBinds);
    const DecodeResult atLimit = decodeMessage(getWithList(tlv(0x30, list)));
    QCOMPARE(atLimit.error, BerError::None);
    QCOMPARE(atLimit.message->pdu.varBinds.size(), kMaxVarBinds);
    QCOMPARE(decodeMessage(getWithList(tlv(0x30, list + kNullVarBind))).error, BerError::TooManyVariables);
}

void TestSnmpPdu::randomMessagesRoundTrip()
{
    QRandomGenerator random(20240611);
    // Edge values turn up far more often than a uniform draw would give them.
    const quint32 edges[] = {0, 1, 127, 128, 255, 256, 32767, 32768, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
    auto number = [&]() -> quint32 {
        return random.bounded(3) == 0 ? edges[random.bounded(int(std::size(edges)))] : random.generate() >> random.bounded(32);
    };
    auto bytes = [&random](int minSize, int maxSize) {
        QByteArray out(random.bounded(minSize, maxSize + 1), '\0');
        for (char &c : out)
            c = char(random.bounded(256));
        return out;
    };
    auto oid = [&](int maxArcs) {
        const quint32 first = random.bounded(3);
        Oid out{first, first < 2 ? quint32(random.bounded(40)) : number() % (0xFFFFFFFFu - 80)};
        for (int n = random.bounded(maxArcs - 1); n > 0; --n)
            out.append(number());
        return out;
    };
    const ValueKind unsignedKinds[] = {ValueKind::Counter, ValueKind::Gauge, ValueKind::TimeTicks};
    auto value = [&]() -> Value {
        switch (random.bounded(7)) {
        case 0: return Value::null();
        case 1: return Value::integer(qint32(number()));
        case 2: return Value::octets(bytes(0, 300));
        case 3: return Value::objectId(oid(128));
        case 4: return Value::ipAddress(bytes(4, 4));
        case 5: return Value::opaque(bytes(0, 20));
        default: return Value::unsignedOf(unsignedKinds[random.bounded(3)], number());
        }
    };
    for (int round = 0; round < 400; ++round) {
        Message m;
        m.community = bytes(0, 40);
        m.pdu.type = PduType(tag::GetRequest + random.bounded(5));  // GetRequest to Trap
        if (m.pdu.type == PduType::Trap) {
            m.pdu.enterprise = oid(20);
            m.pdu.agentAddress = bytes(4, 4);
            m.pdu.genericTrap = qint32(number());
            m.pdu.specificTrap = qint32(number());
            m.pdu.timeStamp = number();
        } else {
            m.pdu.requestId = qint32(number());
            m.pdu.errorStatus = qint32(number() % 6);
            m.pdu.errorIndex = qint32(number());
        }
        for (int n = random.bounded(12); n > 0; --n)
            m.pdu.varBinds.append({oid(30), value()});

        const QByteArray wire = encodeMessage(m);
        const DecodeResult decoded = decodeMessage(wire);
        QCOMPARE(decoded.error, BerError::None);
        QCOMPARE(describe(*decoded.message), describe(m));
        QCOMPARE(encodeMessage(*decoded.message), wire);
    }
}

QTEST_GUILESS_MAIN(TestSnmpPdu)
#include "test_snmp_pdu.moc"
