// SNMPv1 messages: hand-derived reference datagrams of each PDU type, every
// class of malformed input a peer could send, and a round trip over
// pseudo-random messages.

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

// Tag, length, content, built here rather than by the encoder under test.
QByteArray tlv(quint8 tagByte, const QByteArray &content)
{
    QByteArray length;
    if (content.size() < 0x80) {
        length.append(char(content.size()));
    } else {
        for (qsizetype rest = content.size(); rest != 0; rest >>= 8)
            length.prepend(char(rest & 0xFF));
        length.prepend(char(0x80 | length.size()));
    }
    return char(tagByte) + length + content;
}

// One line per field, so that a failed comparison shows what differs.
QString describe(const Message &m)
{
    auto value = [](const Value &v) {
        return QStringLiteral("kind %1 number %2 bytes [%3] oid %4")
            .arg(int(v.kind)).arg(v.number).arg(QString::fromLatin1(v.bytes.toHex(' '))).arg(oidToText(v.oid));
    };
    const Pdu &p = m.pdu;
    QString text = QStringLiteral("version %1 community [%2] type %3\n")
                       .arg(m.version).arg(QString::fromLatin1(m.community.toHex(' '))).arg(int(p.type), 0, 16);
    text += QStringLiteral("request %1 status %2 index %3\n").arg(p.requestId).arg(p.errorStatus).arg(p.errorIndex);
    text += QStringLiteral("enterprise %1 agent [%2] generic %3 specific %4 time %5\n")
                .arg(oidToText(p.enterprise), QString::fromLatin1(p.agentAddress.toHex(' ')))
                .arg(p.genericTrap).arg(p.specificTrap).arg(p.timeStamp);
    for (const VarBind &vb : p.varBinds)
        text += oidToText(vb.name) + QStringLiteral(" = ") + value(vb.value) + QLatin1Char('\n');
    return text;
}

Message message(PduType type, const QByteArray &community, qint32 requestId, const QVector<VarBind> &varBinds)
{
    Message m;
    m.community = community;
    m.pdu.type = type;
    m.pdu.requestId = requestId;
    m.pdu.varBinds = varBinds;
    return m;
}

const Oid kSysDescr{1, 3, 6, 1, 2, 1, 1, 1, 0};
const Oid kEnterprise{1, 3, 6, 1, 4, 1, 4242};
Oid under(const Oid &base, std::initializer_list<quint32> arcs) { return base + Oid(arcs); }

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

Message trapMessage()
{
    Message m = message(PduType::Trap, "public", 0, {{under(kEnterprise, {1, 1, 0}), Value::integer(2)}});
    m.pdu.enterprise = kEnterprise;
    m.pdu.agentAddress = h("7f 00 00 01");
    m.pdu.genericTrap = 6;
    m.pdu.specificTrap = 7;
    m.pdu.timeStamp = 12345;
    return m;
}

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
QByteArray trapWith(const QByteArray &enterprise, const QByteArray &address, const QByteArray &time)
{
    return envelope(tlv(0xa4, enterprise + address + h("02 01 06  02 01 07") + time + h("30 00")));
}
const QByteArray kTrapEnterprise = h("06 07 2b 06 01 04 01 a1 12");
const QByteArray kTrapAddress = h("40 04 7f 00 00 01");
const QByteArray kTrapTime = h("43 02 30 39");

// `depth` SEQUENCE headers around `core`, each with a three-byte length.
QByteArray nestedSequences(int depth, const QByteArray &core)
{
    QByteArray out(qsizetype(depth) * 5 + core.size(), '\0');
    std::copy(core.begin(), core.end(), out.end() - core.size());
    qsizetype inner = core.size();
    for (qsizetype at = out.size() - core.size() - 5; at >= 0; at -= 5) {
        const char header[5] = {0x30, char(0x83), char(inner >> 16), char(inner >> 8), char(inner)};
        std::copy(header, header + 5, out.begin() + at);
        inner += 5;
    }
    return out;
}

}  // namespace

class TestSnmpPdu : public QObject {
    Q_OBJECT

private slots:
    void knownAnswers_data();
    void knownAnswers();
    void everyCutOrExtendedDatagramIsRefused_data() { knownAnswers_data(); }
    void everyCutOrExtendedDatagramIsRefused();
    void malformedInput_data();
    void malformedInput();
    void deepNestingIsRefusedQuickly_data();
    void deepNestingIsRefusedQuickly();
    void varBindLimit();
    void encoderOutputAlwaysDecodes_data();
    void encoderOutputAlwaysDecodes();
    void randomMessagesRoundTrip();
};

void TestSnmpPdu::knownAnswers_data()
{
    QTest::addColumn<QByteArray>("wire");
    QTest::addColumn<Message>("fields");
    QTest::newRow("GetRequest sysDescr.0")
        << kGetSysDescr << message(PduType::GetRequest, "public", 1, {{kSysDescr, Value::null()}});
    QTest::newRow("SetRequest integer, octets, address")
        << kSetThree
        << message(PduType::SetRequest, "private", 300,
                   {{under(kEnterprise, {1, 1, 0}), Value::integer(-2)},
                    {under(kEnterprise, {1, 2, 0}), Value::octets(h("00 80 ff 41 00"))},
                    {under(kEnterprise, {1, 3, 0}), Value::ipAddress(h("0a 00 00 fe"))}});
    QTest::newRow("GetResponse counter, gauge, ticks")
        << kResponseUnsigned
        << message(PduType::GetResponse, "public", 1,
                   {{Oid{1, 3, 6, 1, 2, 1, 2, 2, 1, 10, 1}, Value::unsignedOf(ValueKind::Counter, 0xFFFFFFFFu)},
                    {Oid{1, 3, 6, 1, 2, 1, 2, 2, 1, 5, 1}, Value::unsignedOf(ValueKind::Gauge, 128)},
                    {Oid{1, 3, 6, 1, 2, 1, 1, 3, 0}, Value::unsignedOf(ValueKind::TimeTicks, 0)}});
    QTest::newRow("Trap enterprise-specific 7") << kTrap << trapMessage();
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
}

void TestSnmpPdu::everyCutOrExtendedDatagramIsRefused()
{
    QFETCH(QByteArray, wire);
    for (qsizetype size = 0; size < wire.size(); ++size) {
        const DecodeResult cut = decodeMessage(QByteArrayView(wire).first(size));
        QVERIFY2(!cut.ok(), qPrintable(QStringLiteral("accepted the first %1 bytes").arg(size)));
        QVERIFY(cut.error != BerError::None);
    }
    QCOMPARE(decodeMessage(wire + '\0').error, BerError::TrailingBytes);
}

void TestSnmpPdu::malformedInput_data()
{
    QTest::addColumn<QByteArray>("wire");
    QTest::addColumn<BerError>("error");
    using E = BerError;
    const QByteArray getBody = kVersion0 + kPublic + tlv(0xa0, kRequestHead + tlv(0x30, kNullVarBind));

    QTest::newRow("empty") << QByteArray() << E::Truncated;
    QTest::newRow("tag only") << h("30") << E::Truncated;
    QTest::newRow("cut inside long length") << h("30 82 01") << E::Truncated;
    QTest::newRow("cut inside content") << kGetSysDescr.left(30) << E::LengthPastEnd;
    QTest::newRow("outer length past end") << h("30 27") + kGetSysDescr.mid(2) << E::LengthPastEnd;
    QTest::newRow("inner length past element") << tlv(0x30, kVersion0 + h("04 40 70 75 62")) << E::LengthPastEnd;
    QTest::newRow("PDU missing") << tlv(0x30, kVersion0 + kPublic) << E::Truncated;
    QTest::newRow("value missing") << getWithList(tlv(0x30, tlv(0x30, kSysDescrName))) << E::Truncated;
    QTest::newRow("indefinite length") << h("30 80") + getBody + h("00 00") << E::IndefiniteLength;
    QTest::newRow("five length bytes") << h("30 85 00 00 00 00 26") + getBody << E::LengthTooLong;
    QTest::newRow("high tag number") << h("1f 01 00") << E::UnexpectedTag;
    QTest::newRow("high tag number value") << responseWithValue(h("5f 1f 01 00")) << E::UnexpectedTag;

    QTest::newRow("message not SEQUENCE") << tlv(0x31, getBody) << E::UnexpectedTag;
    QTest::newRow("version not INTEGER") << tlv(0x30, h("04 01 00") + getBody.mid(3)) << E::UnexpectedTag;
    QTest::newRow("community not OCTET STRING")
        << tlv(0x30, kVersion0 + h("02 01 00") + tlv(0xa0, kRequestHead + h("30 00"))) << E::UnexpectedTag;
    for (const int pduTag : {0xa5, 0xa6, 0xa7, 0x30})  // GetBulk, Inform, v2 Trap, SEQUENCE
        QTest::newRow(qPrintable(QStringLiteral("PDU tag %1").arg(pduTag, 0, 16)))
            << envelope(tlv(pduTag, kRequestHead + h("30 00"))) << E::UnexpectedTag;
    QTest::newRow("request id not INTEGER") << envelope(tlv(0xa0, h("04 01 01 02 01 00 02 01 00 30 00"))) << E::UnexpectedTag;
    QTest::newRow("list not SEQUENCE") << getWithList(tlv(0x31, kNullVarBind)) << E::UnexpectedTag;
    QTest::newRow("varbind not SEQUENCE") << getWithList(tlv(0x30, tlv(0x31, kSysDescrName + h("05 00")))) << E::UnexpectedTag;
    QTest::newRow("name not OID") << getWithList(tlv(0x30, tlv(0x30, h("04 01 2b 05 00")))) << E::UnexpectedTag;
    QTest::newRow("v2 exception as value") << responseWithValue(h("80 00")) << E::UnexpectedTag;

    QTest::newRow("INTEGER empty") << responseWithValue(h("02 00")) << E::Truncated;
    QTest::newRow("INTEGER 5 bytes") << responseWithValue(h("02 05 00 ff ff ff ff")) << E::IntegerTooLarge;
    QTest::newRow("request id 5 bytes")
        << envelope(tlv(0xa0, h("02 05 00 00 00 00 01  02 01 00  02 01 00  30 00"))) << E::IntegerTooLarge;
    QTest::newRow("Counter 6 bytes") << responseWithValue(h("41 06 00 00 00 00 00 01")) << E::IntegerTooLarge;
    QTest::newRow("Gauge 5 bytes, first not 00") << responseWithValue(h("42 05 01 00 00 00 00")) << E::IntegerTooLarge;
    QTest::newRow("TimeTicks negative") << responseWithValue(h("43 01 80")) << E::IntegerOutOfRange;

    QTest::newRow("OID empty") << responseWithValue(h("06 00")) << E::BadObjectIdentifier;
    QTest::newRow("name OID empty") << getWithList(tlv(0x30, tlv(0x30, h("06 00 05 00")))) << E::BadObjectIdentifier;
    QTest::newRow("OID ends in continuation") << responseWithValue(h("06 02 2b 86")) << E::BadObjectIdentifier;
    QTest::newRow("OID 0x80 padding") << responseWithValue(h("06 03 2b 80 01")) << E::BadObjectIdentifier;
    QTest::newRow("OID arc 2^32") << responseWithValue(h("06 06 2b 90 80 80 80 00")) << E::BadObjectIdentifier;
    QTest::newRow("OID first subidentifier 2^32") << responseWithValue(h("06 05 90 80 80 80 00")) << E::BadObjectIdentifier;
    QTest::newRow("OID 129 arcs") << responseWithValue(tlv(0x06, QByteArray(128, '\x01'))) << E::BadObjectIdentifier;
    QTest::newRow("NULL with content") << responseWithValue(h("05 01 00")) << E::BadNull;
    QTest::newRow("IpAddress 3 bytes") << responseWithValue(h("40 03 7f 00 01")) << E::BadIpAddress;
    QTest::newRow("IpAddress 5 bytes") << responseWithValue(h("40 05 7f 00 00 01 00")) << E::BadIpAddress;

    QTest::newRow("trap enterprise not OID") << trapWith(h("04 01 2b"), kTrapAddress, kTrapTime) << E::UnexpectedTag;
    QTest::newRow("trap agent 3 bytes") << trapWith(kTrapEnterprise, h("40 03 7f 00 01"), kTrapTime) << E::BadIpAddress;
    QTest::newRow("trap time negative") << trapWith(kTrapEnterprise, kTrapAddress, h("43 01 ff")) << E::IntegerOutOfRange;

    QTest::newRow("garbage after message") << kGetSysDescr + h("05 00") << E::TrailingBytes;
    QTest::newRow("bytes after PDU") << envelope(tlv(0xa0, kRequestHead + h("30 00")) + h("05 00")) << E::TrailingBytes;
    QTest::newRow("bytes after list in PDU") << envelope(tlv(0xa0, kRequestHead + h("30 00 05 00"))) << E::TrailingBytes;
    QTest::newRow("bytes after value in varbind")
        << getWithList(tlv(0x30, tlv(0x30, kSysDescrName + h("05 00 05 00")))) << E::TrailingBytes;
    QTest::newRow("stray byte after last varbind") << getWithList(tlv(0x30, kNullVarBind + h("00"))) << E::Truncated;
    QTest::newRow("version 1 (v2c)") << tlv(0x30, h("02 01 01") + getBody.mid(3)) << E::UnsupportedVersion;
    QTest::newRow("version 3") << tlv(0x30, h("02 01 03") + getBody.mid(3)) << E::UnsupportedVersion;
}

void TestSnmpPdu::malformedInput()
{
    QFETCH(QByteArray, wire);
    QFETCH(BerError, error);
    const DecodeResult result = decodeMessage(wire);
    QVERIFY(!result.ok());
    QCOMPARE(result.error, error);
}

void TestSnmpPdu::deepNestingIsRefusedQuickly_data()
{
    QTest::addColumn<QByteArray>("wire");
    const int depth = 100000;  // far deeper than any call stack would survive
    QTest::newRow("as the message") << nestedSequences(depth, h("05 00"));
    QTest::newRow("as a value") << responseWithValue(nestedSequences(depth, h("05 00")));
    QTest::newRow("as a varbind") << getWithList(tlv(0x30, nestedSequences(depth, kNullVarBind)));
}

void TestSnmpPdu::deepNestingIsRefusedQuickly()
{
    QFETCH(QByteArray, wire);
    QElapsedTimer clock;
    clock.start();
    const DecodeResult result = decodeMessage(wire);
    QCOMPARE(result.error, BerError::UnexpectedTag);
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QStringLiteral("%1 ms").arg(clock.elapsed())));
}

void TestSnmpPdu::varBindLimit()
{
    QByteArray list;
    for (int i = 0; i < kMaxVarBinds; ++i)
        list += kNullVarBind;
    const DecodeResult atLimit = decodeMessage(getWithList(tlv(0x30, list)));
    QCOMPARE(atLimit.error, BerError::None);
    QCOMPARE(atLimit.message->pdu.varBinds.size(), kMaxVarBinds);

    const DecodeResult overLimit = decodeMessage(getWithList(tlv(0x30, list + kNullVarBind)));
    QVERIFY(!overLimit.ok());
    QCOMPARE(overLimit.error, BerError::TooManyVariables);
}

// Whatever the encoder accepts must come out as a datagram that a peer (and
// this decoder) can parse: a value must never vanish from its varbind.
void TestSnmpPdu::encoderOutputAlwaysDecodes_data()
{
    QTest::addColumn<Message>("fields");
    Oid longOid{1, 3};
    while (longOid.size() < 129)
        longOid.append(quint32(longOid.size()));
    auto withValue = [](const Value &v) { return message(PduType::SetRequest, "private", 9, {{kSysDescr, v}}); };
    QTest::newRow("name 1.40.1") << message(PduType::GetRequest, "public", 9, {{Oid{1, 40, 1}, Value::null()}});
    QTest::newRow("OID value 1.40") << withValue(Value::objectId(Oid{1, 40}));
    QTest::newRow("OID value 3.1") << withValue(Value::objectId(Oid{3, 1}));
    QTest::newRow("OID value empty") << withValue(Value::objectId(Oid{}));
    QTest::newRow("OID value 129 arcs") << withValue(Value::objectId(longOid));
    QTest::newRow("name 129 arcs") << message(PduType::GetRequest, "public", 9, {{longOid, Value::null()}});
}

void TestSnmpPdu::encoderOutputAlwaysDecodes()
{
    QFETCH(Message, fields);
    const QByteArray wire = encodeMessage(fields);
    QCOMPARE(decodeMessage(wire).error, BerError::None);
}

void TestSnmpPdu::randomMessagesRoundTrip()
{
    QRandomGenerator random(20240611);
    // Edge values turn up far more often than a uniform draw would give them.
    auto number = [&random]() -> quint32 {
        static const quint32 edges[] = {0, 1, 127, 128, 255, 256, 32767, 32768, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
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
    auto value = [&]() -> Value {
        switch (random.bounded(9)) {
        case 0: return Value::null();
        case 1: return Value::integer(qint32(number()));
        case 2: return Value::octets(bytes(0, 300));
        case 3: return Value::objectId(oid(128));
        case 4: return Value::ipAddress(bytes(4, 4));
        case 5: return Value::unsignedOf(ValueKind::Counter, number());
        case 6: return Value::unsignedOf(ValueKind::Gauge, number());
        case 7: return Value::unsignedOf(ValueKind::TimeTicks, number());
        default: return Value::opaque(bytes(0, 20));
        }
    };
    const PduType types[] = {PduType::GetRequest, PduType::GetNextRequest, PduType::GetResponse,
                             PduType::SetRequest, PduType::Trap};
    for (int round = 0; round < 400; ++round) {
        Message m;
        m.community = bytes(0, 40);
        m.pdu.type = types[random.bounded(5)];
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
