// The console's text view of a received message: values read the way the
// console expects (decimal, dotted, raw bytes, never through a text codec),
// and a trap's code is its specific number when enterprise-specific, else
// the generic one.

#include "snmp/snmp_message.h"

#include <QTest>

using namespace snmp;

Q_DECLARE_METATYPE(snmp::Value)

class TestSnmpMessage : public QObject {
    Q_OBJECT

private slots:
    void textView_data()
    {
        QByteArray allBytes(256, '\0');
        for (int i = 0; i < 256; ++i)
            allBytes[i] = char(i);
        QTest::addColumn<Value>("value");
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("integer min") << Value::integer(INT32_MIN) << 1 << QByteArray("-2147483648");
        QTest::newRow("ip") << Value::ipAddress(QByteArray::fromHex("0a0008fe")) << 4 << QByteArray("10.0.8.254");
        QTest::newRow("counter max") << Value::unsignedOf(ValueKind::Counter, 0xFFFFFFFFu) << 5 << QByteArray("4294967295");
        QTest::newRow("oid") << Value::objectId(Oid{1, 3, 6, 1, 4294967295u}) << 3 << QByteArray("1.3.6.1.4294967295");
        QTest::newRow("every byte") << Value::octets(allBytes) << 2 << allBytes;
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
    }

    void trapCode()
    {
        Message trap;
        trap.community = QByteArray("c\x00\xe9\xff", 4);
        trap.pdu.type = PduType::Trap;
        trap.pdu.genericTrap = 2;  // linkDown, with a stray specific number
        trap.pdu.specificTrap = 9;
        QCOMPARE(SnmpMessage::fromWire(trap).TrapCode, 2);
        trap.pdu.genericTrap = 6;
        QCOMPARE(SnmpMessage::fromWire(trap).TrapCode, 9);
        QCOMPARE(SnmpMessage::fromWire(trap).Community, QByteArray("c\x00\xe9\xff", 4));
    }
};

QTEST_GUILESS_MAIN(TestSnmpMessage)
#include "test_snmp_message.moc"
