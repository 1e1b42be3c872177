// The manager component's text view of a message: what the console types in
// must either reach the wire exactly or be refused, and what comes back must
// read the way the console expects (decimal, dotted, raw bytes).

#include "snmp/snmp_message.h"

#include <QTest>

using namespace snmp;

Q_DECLARE_METATYPE(snmp::Value)

class TestSnmpMessage : public QObject {
    Q_OBJECT

private slots:
    void refusesWhatCannotTravel_data()
    {
        QTest::addColumn<SnmpVariable>("v");
        const QString name = QStringLiteral("1.3.6.1.4.1.4242.1.1.0");
        QTest::newRow("integer 12x") << SnmpVariable{name, 1, "12x"};
        QTest::newRow("integer 12 NUL x") << SnmpVariable{name, 1, QByteArray("12\0x", 4)};
        QTest::newRow("integer 2^31") << SnmpVariable{name, 1, "2147483648"};
        QTest::newRow("counter -1") << SnmpVariable{name, 5, "-1"};
        QTest::newRow("ip 1.2.3") << SnmpVariable{name, 4, "1.2.3"};
        QTest::newRow("ip 256.1.1.1") << SnmpVariable{name, 4, "256.1.1.1"};
        QTest::newRow("name arc 2^32") << SnmpVariable{"1.3.4294967296", 0, ""};
        // BER joins the first two arcs into one subidentifier, 40 * first + second.
        QTest::newRow("name 1.40.1") << SnmpVariable{"1.40.1", 0, ""};
        QTest::newRow("unknown type 9") << SnmpVariable{name, 9, "1"};
    }

    void refusesWhatCannotTravel()
    {
        QFETCH(SnmpVariable, v);
        VarBind out{Oid{1, 1}, Value::integer(77)};
        QString why;
        QVERIFY(!v.toVarBind(out, &why));
        QVERIFY(!why.isEmpty());
        QCOMPARE(out.name, (Oid{1, 1}));  // untouched
    }

    // A received value reads as `text`, and that text goes back out as the same value.
    void textView_data()
    {
        QTest::addColumn<Value>("value");
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("integer min") << Value::integer(INT32_MIN) << 1 << QByteArray("-2147483648");
        QTest::newRow("ip") << Value::ipAddress(QByteArray::fromHex("c0a801fa")) << 4 << QByteArray("192.168.1.250");
        QTest::newRow("counter max") << Value::unsignedOf(ValueKind::Counter, 0xFFFFFFFFu) << 5 << QByteArray("4294967295");
        QTest::newRow("oid") << Value::objectId(Oid{1, 3, 6, 1, 4294967295u}) << 3 << QByteArray("1.3.6.1.4294967295");
    }

    void textView()
    {
        QFETCH(Value, value);
        QFETCH(int, type);
        QFETCH(QByteArray, text);
        const SnmpVariable v = SnmpVariable::fromVarBind({Oid{1, 3, 6, 1, 2, 1, 1, 5, 0}, value});
        QCOMPARE(v.Name, QStringLiteral("1.3.6.1.2.1.1.5.0"));
        QCOMPARE(v.ValueType, type);
        QCOMPARE(v.Value, text);
        VarBind out;
        QVERIFY((SnmpVariable{v.Name, type, text}.toVarBind(out)));
        QVERIFY(out.value == value);
    }

    // Octets go out and come back byte for byte, never through a text codec;
    // Clear readies the next request but keeps the community; a trap's code
    // is its specific number when enterprise-specific, else the generic one.
    void octetStringsStayBytes()
    {
        QByteArray allBytes(256, '\0');
        for (int i = 0; i < 256; ++i)
            allBytes[i] = char(i);
        SnmpMessage request;
        request.Community = QByteArray("c\x00\xe9\xff", 4);
        request.RequestType = request_type::Set;
        request.Variables.Add({"1.3.6.1.4.1.4242.1.2.0", value_type::OctetString, allBytes});
        request.Variables.Add({"1.3.6.1.4.1.4242.1.3.0", value_type::IpAddress, "010.000.008.254"});  // decimal, not octal
        Message wire;
        QVERIFY(request.toWire(wire));
        request.Clear();
        QCOMPARE(request.Community, QByteArray("c\x00\xe9\xff", 4));
        QCOMPARE(request.RequestType, request_type::Get);
        QCOMPARE(request.Variables.Count(), 0);
        const SnmpMessage back = SnmpMessage::fromWire(*decodeMessage(encodeMessage(wire)).message);
        QCOMPARE(back.Community, QByteArray("c\x00\xe9\xff", 4));
        QCOMPARE(back.RequestType, request_type::Set);
        QCOMPARE(back.Variables.Count(), 2);
        QCOMPARE(back.Variables.Item(1)->Value, allBytes);
        QCOMPARE(back.Variables.Item(2)->Value, QByteArray("10.0.8.254"));

        Message trap;
        trap.pdu.type = PduType::Trap;
        trap.pdu.genericTrap = 2;  // linkDown, with a stray specific number
        trap.pdu.specificTrap = 9;
        QCOMPARE(SnmpMessage::fromWire(trap).TrapCode, 2);
        trap.pdu.genericTrap = 6;
        QCOMPARE(SnmpMessage::fromWire(trap).TrapCode, 9);
        QCOMPARE(SnmpMessage::fromWire(trap).RequestType, request_type::Trap);
    }
};

QTEST_GUILESS_MAIN(TestSnmpMessage)
#include "test_snmp_message.moc"
