// The manager component's text view of a message: what the console types in
// must either reach the wire exactly or be refused, and what comes back must
// read the way the console expects (decimal, dotted, raw bytes).

#include "snmp/snmp_message.h"

#include <QTest>

using namespace snmp;

Q_DECLARE_METATYPE(snmp::Value)

namespace {

SnmpVariable variable(const QString &name, int type, const QByteArray &text)
{
    SnmpVariable v;
    v.Name = name;
    v.ValueType = type;
    v.Value = text;
    return v;
}

QByteArray allByteValues()
{
    QByteArray out(256, '\0');
    for (int i = 0; i < 256; ++i)
        out[i] = char(i);
    return out;
}

}  // namespace

class TestSnmpMessage : public QObject {
    Q_OBJECT

private slots:
    void refusesWhatCannotTravel_data();
    void refusesWhatCannotTravel();
    void acceptedTexts_data();
    void acceptedTexts();
    void octetStringsStayBytes();
    void textOfReceivedValues_data();
    void textOfReceivedValues();
    void clearKeepsCommunity();
    void trapCode_data();
    void trapCode();
};

void TestSnmpMessage::refusesWhatCannotTravel_data()
{
    QTest::addColumn<SnmpVariable>("v");
    const QString name = QStringLiteral("1.3.6.1.4.1.4242.1.1.0");
    QTest::newRow("integer 12x") << variable(name, 1, "12x");
    QTest::newRow("integer empty") << variable(name, 1, "");
    QTest::newRow("integer 99999999999") << variable(name, 1, "99999999999");
    QTest::newRow("integer 2^31") << variable(name, 1, "2147483648");
    QTest::newRow("integer -2^31-1") << variable(name, 1, "-2147483649");
    QTest::newRow("integer 1 2") << variable(name, 1, "1 2");
    QTest::newRow("integer 12 NUL x") << variable(name, 1, QByteArray("12\0x", 4));
    QTest::newRow("counter -1") << variable(name, 5, "-1");
    QTest::newRow("counter 2^32") << variable(name, 5, "4294967296");
    QTest::newRow("ip 1.2.3") << variable(name, 4, "1.2.3");
    QTest::newRow("ip 256.1.1.1") << variable(name, 4, "256.1.1.1");
    QTest::newRow("ip a.b.c.d") << variable(name, 4, "a.b.c.d");
    QTest::newRow("ip 1.2.3.4.5") << variable(name, 4, "1.2.3.4.5");
    QTest::newRow("ip 1..3.4") << variable(name, 4, "1..3.4");
    // Blanks are not part of an address, on either side.
    QTest::newRow("ip leading blank") << variable(name, 4, " 1.2.3.4");
    QTest::newRow("ip trailing blank") << variable(name, 4, "1.2.3.4 ");
    QTest::newRow("name empty") << variable("", 0, "");
    QTest::newRow("name one arc") << variable("1", 0, "");
    QTest::newRow("name trailing dot") << variable("1.3.6.", 0, "");
    QTest::newRow("name empty arc") << variable("1..3", 0, "");
    QTest::newRow("name letter") << variable("1.3.x", 0, "");
    QTest::newRow("name arc 2^32") << variable("1.3.4294967296", 0, "");
    QTest::newRow("name 129 arcs") << variable("1.3" + QStringLiteral(".1").repeated(127), 0, "");
    QTest::newRow("name 1.40.1") << variable("1.40.1", 0, "");
    QTest::newRow("name 3.1") << variable("3.1", 0, "");
    QTest::newRow("OID value 1.40") << variable(name, 3, "1.40");
    QTest::newRow("unknown type 9") << variable(name, 9, "1");
}

void TestSnmpMessage::refusesWhatCannotTravel()
{
    QFETCH(SnmpVariable, v);
    VarBind out{Oid{1, 1}, Value::integer(77)};
    QString why;
    QVERIFY(!v.toVarBind(out, &why));
    QVERIFY(!why.isEmpty());
    QCOMPARE(out.name, (Oid{1, 1}));  // untouched
}

void TestSnmpMessage::acceptedTexts_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<Value>("expected");
    QTest::newRow("integer min") << 1 << QByteArray("-2147483648") << Value::integer(INT32_MIN);
    QTest::newRow("integer max") << 1 << QByteArray("2147483647") << Value::integer(INT32_MAX);
    // Blanks around a number are tolerated, unlike around an address.
    QTest::newRow("integer with blanks") << 1 << QByteArray(" 12 ") << Value::integer(12);
    QTest::newRow("ip zeros") << 4 << QByteArray("0.0.0.0") << Value::ipAddress(QByteArray(4, '\0'));
    QTest::newRow("ip all ones") << 4 << QByteArray("255.255.255.255") << Value::ipAddress(QByteArray(4, '\xff'));
    QTest::newRow("ip leading zeros") << 4 << QByteArray("010.000.001.009") << Value::ipAddress(QByteArray::fromHex("0a000109"));
    QTest::newRow("counter max") << 5 << QByteArray("4294967295") << Value::unsignedOf(ValueKind::Counter, 0xFFFFFFFFu);
    QTest::newRow("octets empty") << 2 << QByteArray() << Value::octets({});
}

void TestSnmpMessage::acceptedTexts()
{
    QFETCH(int, type);
    QFETCH(QByteArray, text);
    QFETCH(Value, expected);
    VarBind vb;
    QVERIFY(variable("1.3.6.1.2.1.1.1.0", type, text).toVarBind(vb));
    QCOMPARE(vb.value.kind, expected.kind);
    QCOMPARE(vb.value.number, expected.number);
    QCOMPARE(vb.value.bytes.toHex(' '), expected.bytes.toHex(' '));
}

// Octets typed in go out and come back byte for byte, never through a text
// codec, across the whole wire path.
void TestSnmpMessage::octetStringsStayBytes()
{
    SnmpMessage request;
    request.Community = QByteArray("c\x00\xe9\xff", 4);
    request.RequestType = request_type::Set;
    request.RequestId = 41;
    request.Variables.Add(variable("1.3.6.1.4.1.4242.1.2.0", value_type::OctetString, allByteValues()));
    request.Variables.Add(variable("1.3.6.1.4.1.4242.1.1.0", value_type::Integer, "-7"));
    request.Variables.Add(variable("1.3.6.1.4.1.4242.1.3.0", value_type::IpAddress, "10.0.0.254"));

    Message wire;
    QVERIFY(request.toWire(wire));
    const DecodeResult decoded = decodeMessage(encodeMessage(wire));
    QVERIFY(decoded.ok());
    const SnmpMessage back = SnmpMessage::fromWire(*decoded.message);

    QCOMPARE(back.Community, request.Community);
    QCOMPARE(back.RequestType, request_type::Set);
    QCOMPARE(back.RequestId, 41);
    QCOMPARE(back.Variables.Count(), 3);
    for (int i = 1; i <= 3; ++i) {
        QCOMPARE(back.Variables.Item(i)->Name, request.Variables.Item(i)->Name);
        QCOMPARE(back.Variables.Item(i)->ValueType, request.Variables.Item(i)->ValueType);
        QCOMPARE(back.Variables.Item(i)->Value, request.Variables.Item(i)->Value);
    }
    QCOMPARE(back.Variables.Item(4), nullptr);
}

void TestSnmpMessage::textOfReceivedValues_data()
{
    QTest::addColumn<Value>("value");
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("integer negative") << Value::integer(-5) << 1 << QByteArray("-5");
    QTest::newRow("integer min") << Value::integer(INT32_MIN) << 1 << QByteArray("-2147483648");
    QTest::newRow("ip") << Value::ipAddress(QByteArray::fromHex("c0a801fa")) << 4 << QByteArray("192.168.1.250");
    QTest::newRow("ip with zero") << Value::ipAddress(QByteArray::fromHex("0a000001")) << 4 << QByteArray("10.0.0.1");
    QTest::newRow("counter max") << Value::unsignedOf(ValueKind::Counter, 0xFFFFFFFFu) << 5 << QByteArray("4294967295");
    QTest::newRow("gauge 2^31") << Value::unsignedOf(ValueKind::Gauge, 0x80000000u) << 6 << QByteArray("2147483648");
    QTest::newRow("ticks 0") << Value::unsignedOf(ValueKind::TimeTicks, 0) << 7 << QByteArray("0");
    QTest::newRow("oid") << Value::objectId(Oid{1, 3, 6, 1, 4294967295u}) << 3 << QByteArray("1.3.6.1.4294967295");
    QTest::newRow("null") << Value::null() << 0 << QByteArray();
    QTest::newRow("octets") << Value::octets(allByteValues()) << 2 << allByteValues();
}

void TestSnmpMessage::textOfReceivedValues()
{
    QFETCH(Value, value);
    QFETCH(int, type);
    QFETCH(QByteArray, text);
    const SnmpVariable v = SnmpVariable::fromVarBind({Oid{1, 3, 6, 1, 2, 1, 1, 5, 0}, value});
    QCOMPARE(v.Name, QStringLiteral("1.3.6.1.2.1.1.5.0"));
    QCOMPARE(v.ValueType, type);
    QCOMPARE(v.Value, text);

    VarBind again;  // and the text reads back as the same value
    QVERIFY(v.toVarBind(again));
    QVERIFY(again.value == value);
}

void TestSnmpMessage::clearKeepsCommunity()
{
    SnmpMessage m;
    m.Community = "secret";
    m.RequestType = request_type::Set;
    m.ErrorStatus = error_status::NoSuchName;
    m.Variables.Add(variable("1.3.6.1.2.1.1.1.0", 0, ""));
    m.Clear();
    QCOMPARE(m.Community, QByteArray("secret"));
    QCOMPARE(m.RequestType, 32);
    QCOMPARE(m.Variables.Count(), 0);
    QCOMPARE(m.ErrorStatus, 0);
}

void TestSnmpMessage::trapCode_data()
{
    QTest::addColumn<int>("generic");
    QTest::addColumn<int>("specific");
    QTest::addColumn<int>("code");
    QTest::newRow("coldStart") << 0 << 0 << 0;
    QTest::newRow("linkDown, stray specific") << 2 << 9 << 2;
    QTest::newRow("authenticationFailure") << 4 << 0 << 4;
    QTest::newRow("enterprise-specific 7") << 6 << 7 << 7;
    QTest::newRow("enterprise-specific 0") << 6 << 0 << 0;
}

void TestSnmpMessage::trapCode()
{
    QFETCH(int, generic);
    QFETCH(int, specific);
    QFETCH(int, code);
    Message m;
    m.community = "public";
    m.pdu.type = PduType::Trap;
    m.pdu.enterprise = Oid{1, 3, 6, 1, 4, 1, 4242};
    m.pdu.agentAddress = QByteArray::fromHex("7f000001");
    m.pdu.genericTrap = generic;
    m.pdu.specificTrap = specific;
    m.pdu.timeStamp = 4000000000u;
    const SnmpMessage trap = SnmpMessage::fromWire(m);
    QCOMPARE(trap.RequestType, request_type::Trap);
    QCOMPARE(trap.TrapCode, code);
    QCOMPARE(trap.GenericTrap, generic);
    QCOMPARE(trap.SpecificTrap, specific);
    QCOMPARE(trap.Enterprise, QStringLiteral("1.3.6.1.4.1.4242"));
    QCOMPARE(trap.AgentAddress, QStringLiteral("127.0.0.1"));
    QCOMPARE(trap.TimeStamp, 4000000000u);
}

QTEST_GUILESS_MAIN(TestSnmpMessage)
#include "test_snmp_message.moc"
