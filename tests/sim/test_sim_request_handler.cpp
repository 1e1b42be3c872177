// The simulated access point's request handler, called directly: what
// each object holds, how GET, GETNEXT and SET answer, and the device
// commands. No network.

#include "sim_test_support.h"

#include "config/counters.h"
#include "sim/device_objects.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

using snmp::Value;
using snmp::ValueKind;
using namespace simtest;

Q_DECLARE_METATYPE(snmp::ValueKind)

namespace {

Value octetsHex(const char *hex) { return Value::octets(QByteArray::fromHex(hex)); }

}  // namespace

class TestSimRequestHandler : public QObject {
    Q_OBJECT

private:
    // One GET, answered without error; the value of its single binding.
    Value get(sim::SimulatedAccessPoint &agent, const QString &name)
    {
        const auto answer = agent.handleRequest(getRequest(agent, {name}));
        if (!answer)
            return Value::null();
        const snmp::Message message = decoded(*answer);
        if (message.pdu.errorStatus != 0 || message.pdu.varBinds.size() != 1)
            return Value::null();
        return message.pdu.varBinds.first().value;
    }

private slots:
    void everyObjectHasTheDeviceLayout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<ValueKind>("kind");
        QTest::addColumn<int>("length");  // octet strings; -1 for other kinds
        // The settings are checked value by value in factoryValues().

        QTest::newRow("sysDescr") << "sysDescr" << ValueKind::OctetString << -1;
        QTest::newRow("sysObjectID") << "sysObjectID" << ValueKind::ObjectIdentifier << -1;
        QTest::newRow("sysUpTime") << "sysUpTime" << ValueKind::TimeTicks << -1;
        QTest::newRow("sysDeviceInfo") << "sysDeviceInfo" << ValueKind::OctetString << 92;
        QTest::newRow("operEthernetAddress") << "operEthernetAddress" << ValueKind::OctetString << 6;
        QTest::newRow("defaultWEPKey4") << "defaultWEPKey4" << ValueKind::OctetString << 5;
        QTest::newRow("bridgeRemoteBridgeBSSID") << "bridgeRemoteBridgeBSSID" << ValueKind::OctetString << 6;
        QTest::newRow("wirelessStatistics") << "wirelessStatistics" << ValueKind::OctetString << 88;
        QTest::newRow("EthRxStatistics") << "EthRxStatistics" << ValueKind::OctetString << 64;
        QTest::newRow("EthTxStatistics") << "EthTxStatistics" << ValueKind::OctetString << 56;
        QTest::newRow("TestModeRadioConfiguration") << "TestModeRadioConfiguration" << ValueKind::OctetString << 14;
        QTest::newRow("trapStationAddress") << "trapStationAddress" << ValueKind::OctetString << 6;
    }

    void everyObjectHasTheDeviceLayout()
    {
        QFETCH(QString, name);
        QFETCH(ValueKind, kind);
        QFETCH(int, length);
        sim::SimulatedAccessPoint agent;
        const Value value = get(agent, name);
        QCOMPARE(value.kind, kind);
        if (length >= 0)
            QCOMPARE(value.bytes.size(), length);
    }

    void factoryValues_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Value>("expected");

        QTest::newRow("channel 6") << "operChannelID" << Value::integer(6);
        QTest::newRow("ESSID") << "operESSID" << Value::octets("corvane");
        QTest::newRow("ESSID length") << "operESSIDLength" << Value::integer(7);
        QTest::newRow("WEP off") << "privacyWEPEnable" << Value::integer(2);
        QTest::newRow("key id") << "privacyDefaultWEPKeyID" << Value::integer(1);
        QTest::newRow("key 1") << "defaultWEPKey1" << octetsHex("0000000000");
        QTest::newRow("long preamble") << "operPreambleType" << Value::integer(2);
        QTest::newRow("both authentications") << "operAuthenticationType" << Value::integer(3);
        QTest::newRow("all rates basic") << "operBasicRates" << octetsHex("82848B96");
        QTest::newRow("fall-back on") << "operAutoRateFallBack" << Value::integer(1);
        QTest::newRow("RTS") << "operRTSThreshold" << Value::integer(2346);
        QTest::newRow("fragmentation") << "operFragmentationThreshold" << Value::integer(2346);
        QTest::newRow("address") << "operIPAddress" << Value::ipAddress(QByteArray::fromHex("C0A801FA"));
        QTest::newRow("mask") << "operIPMask" << Value::ipAddress(QByteArray::fromHex("FFFFFF00"));
        QTest::newRow("traps on") << "sysTrapSwitch" << Value::integer(1);
        QTest::newRow("access point") << "bridgeOperationalMode" << Value::integer(2);
    }

    void factoryValues()
    {
        QFETCH(QString, name);
        QFETCH(Value, expected);
        sim::SimulatedAccessPoint agent;
        QCOMPARE(get(agent, name), expected);
    }

    void identityLayout()
    {
        sim::SimulatedAccessPoint agent;
        const QByteArray info = get(agent, QStringLiteral("sysDeviceInfo")).bytes;
        QCOMPARE(info.size(), 92);
        // Bytes 5..10: the factory MAC, also the Ethernet address.
        QCOMPARE(info.mid(4, 6), get(agent, QStringLiteral("operEthernetAddress")).bytes);
        QCOMPARE(quint8(info[10]), quint8(0x10));  // byte 11: regulation domain FCC
        const QByteArray manufacturer = info.mid(20, 32);  // bytes 21..52
        QVERIFY(manufacturer.startsWith("Corvane"));
        QVERIFY(manufacturer.endsWith(' '));
        QVERIFY(get(agent, QStringLiteral("sysDescr")).bytes.size() > 35);
    }

    void countersGrowAndNeedUnsignedDecoding()
    {
        sim::SimulatedAccessPoint agent;
        const QByteArray before = get(agent, QStringLiteral("wirelessStatistics")).bytes;
        QTest::qWait(200);
        const QByteArray after = get(agent, QStringLiteral("wirelessStatistics")).bytes;
        QVERIFY(*config::CounterFromBytes(after, 1) > *config::CounterFromBytes(before, 1));
        QVERIFY(*config::CounterFromBytes(after, 4) > 32767u);  // beacons transmitted
        const QByteArray rx = get(agent, QStringLiteral("EthRxStatistics")).bytes;
        QVERIFY(*config::CounterFromBytes(rx, 1) > 0x80000000u);  // total bytes, top bit set
    }

    void pinnedCountersStay()
    {
        sim::SimulatedAccessPoint agent;
        const Value fixed = Value::octets(QByteArray(88, '\x01'));
        agent.setValue(QStringLiteral("wirelessStatistics"), fixed);
        QTest::qWait(20);
        QCOMPARE(get(agent, QStringLiteral("wirelessStatistics")), fixed);
        agent.restoreFactoryValues();
        QVERIFY(get(agent, QStringLiteral("wirelessStatistics")) != fixed);
    }

    void getErrors_data()
    {
        QTest::addColumn<QString>("second");  // dotted OID of the second binding
        QTest::addColumn<bool>("next");
        QTest::addColumn<int>("status");

        QTest::newRow("unknown object") << "1.3.6.1.4.1.49170.9.9.0" << false << 2;
        QTest::newRow("object without instance") << "1.3.6.1.4.1.49170.2.3" << false << 2;
        QTest::newRow("instance 1") << "1.3.6.1.4.1.49170.2.3.1" << false << 2;
        QTest::newRow("write-only sysReset") << "1.3.6.1.4.1.49170.1.2.0" << false << 2;
        QTest::newRow("GETNEXT past the end") << "1.3.6.1.4.1.49171" << true << 2;
    }

    void getErrors()
    {
        QFETCH(QString, second);
        QFETCH(bool, next);
        QFETCH(int, status);
        sim::SimulatedAccessPoint agent;
        const QVector<snmp::VarBind> binds{{instanceOf(agent, QStringLiteral("operChannelID")), Value::null()},
                                           {oidOf(second.toLatin1().constData()), Value::null()}};
        const auto type = next ? snmp::PduType::GetNextRequest : snmp::PduType::GetRequest;
        const auto answer = agent.handleRequest(request(type, 42, binds));
        QVERIFY(answer);
        const snmp::Message message = decoded(*answer);
        QCOMPARE(message.pdu.type, snmp::PduType::GetResponse);
        QCOMPARE(message.pdu.requestId, 42);
        QCOMPARE(message.pdu.errorStatus, status);
        QCOMPARE(message.pdu.errorIndex, 2);
        QCOMPARE(message.pdu.varBinds, binds);  // as sent
    }

    void getNextWalksEveryReadableObjectInOrder()
    {
        sim::SimulatedAccessPoint agent;
        snmp::Oid cursor = oidOf("1.3.6.1");
        QStringList names;
        for (int guard = 0; guard < 200; ++guard) {
            const auto answer = agent.handleRequest(request(snmp::PduType::GetNextRequest, guard, {{cursor, Value::null()}}));
            QVERIFY(answer);
            const snmp::Message message = decoded(*answer);
            if (message.pdu.errorStatus != 0)
                break;
            const snmp::Oid next = message.pdu.varBinds.first().name;
            QVERIFY(std::lexicographical_compare(cursor.begin(), cursor.end(), next.begin(), next.end()));
            cursor = next;
            names.append(agent.mib().nameOf(snmp::oidToText(next.mid(0, next.size() - 1))));
        }
        int readable = 0;
        for (const sim::DeviceObject &object : sim::deviceObjects())
            readable += object.readable() ? 1 : 0;
        QCOMPARE(names.size(), readable);
        QVERIFY(names.contains(QStringLiteral("operESSID")));
        QVERIFY(!names.contains(QStringLiteral("sysReset")));
    }

    void setStoresAndEchoes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Value>("value");

        QTest::newRow("channel") << "operChannelID" << Value::integer(11);
        QTest::newRow("ESSID") << "operESSID" << Value::octets("lab net");
        QTest::newRow("ESSID of 32") << "operESSID" << Value::octets(QByteArray(32, 'x'));
        QTest::newRow("empty ESSID") << "operESSID" << Value::octets("");
        QTest::newRow("ESSID length") << "operESSIDLength" << Value::integer(3);
        QTest::newRow("low rates") << "operBasicRates" << octetsHex("82840B16");
        QTest::newRow("address") << "operIPAddress" << Value::ipAddress(QByteArray::fromHex("7F000002"));
        QTest::newRow("Ethernet") << "operEthernetAddress" << octetsHex("020000ABCDEF");
        QTest::newRow("WEP key 3") << "defaultWEPKey3" << octetsHex("0102030405");
        QTest::newRow("WEP on") << "privacyWEPEnable" << Value::integer(1);
        QTest::newRow("traps off") << "sysTrapSwitch" << Value::integer(2);
        QTest::newRow("BSSID") << "bridgeRemoteBridgeBSSID" << octetsHex("0A0B0C0D0E0F");
        QTest::newRow("radio configuration") << "TestModeRadioConfiguration" << octetsHex("C0C1C2C3C4C5C6C7C8C9CACBCCCD");
        QTest::newRow("out-of-range channel kept") << "operChannelID" << Value::integer(15);
    }

    void setStoresAndEchoes()
    {
        QFETCH(QString, name);
        QFETCH(Value, value);
        sim::SimulatedAccessPoint agent;
        const auto answer = agent.handleRequest(setRequest(agent, {{name, value}}, 7));
        QVERIFY(answer);
        const snmp::Message message = decoded(*answer);
        QCOMPARE(message.pdu.errorStatus, 0);
        QCOMPARE(message.pdu.requestId, 7);
        QCOMPARE(message.pdu.varBinds.size(), 1);
        QCOMPARE(message.pdu.varBinds.first().value, value);
        QCOMPARE(agent.value(name), value);
        QCOMPARE(get(agent, name), value);
    }

    void setRefusedAppliesNothing_data()
    {
        QTest::addColumn<QString>("name");  // empty: an unknown object
        QTest::addColumn<Value>("value");
        QTest::addColumn<int>("status");

        QTest::newRow("integer as text") << "operChannelID" << Value::octets("6") << 3;
        QTest::newRow("text as integer") << "operESSID" << Value::integer(1) << 3;
        QTest::newRow("ESSID of 33") << "operESSID" << Value::octets(QByteArray(33, 'x')) << 3;
        QTest::newRow("3 rate bytes") << "operBasicRates" << octetsHex("828484") << 3;
        QTest::newRow("6-byte WEP key") << "defaultWEPKey1" << octetsHex("010203040506") << 3;
        QTest::newRow("address as text") << "operIPAddress" << Value::octets("127.0.0.2") << 3;
        QTest::newRow("5-byte BSSID") << "bridgeRemoteBridgeBSSID" << octetsHex("0102030405") << 3;
        QTest::newRow("reset with 2") << "sysReset" << Value::integer(2) << 3;
        QTest::newRow("counter as integer") << "sysTrapSwitch" << Value::unsignedOf(ValueKind::Counter, 1) << 3;
        QTest::newRow("read-only identity") << "sysDeviceInfo" << Value::octets(QByteArray(92, '\0')) << 2;
        QTest::newRow("read-only statistics") << "wirelessStatistics" << Value::octets(QByteArray(88, '\0')) << 2;
        QTest::newRow("unknown object") << "" << Value::integer(1) << 2;
        QTest::newRow("test command outside test mode") << "TestModeCommandStruct" << octetsHex("0101C00301040000") << 5;
    }

    void setRefusedAppliesNothing()
    {
        QFETCH(QString, name);
        QFETCH(Value, value);
        QFETCH(int, status);
        sim::SimulatedAccessPoint agent;
        const QVector<snmp::VarBind> binds{
            {instanceOf(agent, QStringLiteral("operChannelID")), Value::integer(9)},
            {name.isEmpty() ? oidOf("1.3.6.1.4.1.49170.2.99.0") : instanceOf(agent, name), value}};
        const auto answer = agent.handleRequest(request(snmp::PduType::SetRequest, 5, binds));
        QVERIFY(answer);
        const snmp::Message message = decoded(*answer);
        QCOMPARE(message.pdu.errorStatus, status);
        QCOMPARE(message.pdu.errorIndex, 2);
        QCOMPARE(message.pdu.varBinds, binds);
        QCOMPARE(agent.value(QStringLiteral("operChannelID")), Value::integer(6));  // the good binding too
    }

    void wrongCommunityGetsNoAnswer()
    {
        sim::SimulatedAccessPoint agent;
        const QByteArray wrong = request(snmp::PduType::SetRequest, 1,
                                         {{instanceOf(agent, QStringLiteral("operChannelID")), Value::integer(1)}},
                                         "public");
        QCOMPARE(agent.handleRequest(wrong).has_value(), false);
        QCOMPARE(agent.ignoredDatagrams(), 1);
        QCOMPARE(agent.receivedRequests().size(), 1);
        QCOMPARE(agent.value(QStringLiteral("operChannelID")), Value::integer(6));
    }

    void notARequest_data()
    {
        QTest::addColumn<QByteArray>("datagram");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("one byte") << QByteArray("\x30", 1);
        // 30 0B: message; 02 01 00: v1; 04 06 "kavrel" but the PDU is missing.
        QTest::newRow("truncated") << QByteArray::fromHex("300b02010004066b617672656c");
        // A well-formed SNMPv2c GET (version 1) for sysDescr.0.
        QTest::newRow("version 2c") << QByteArray::fromHex(
            "302902010104066b617672656ca01c0204000000010201000201003010300e06082b060102010101000500");
        QTest::newRow("text") << QByteArray("GET / HTTP/1.0\r\n\r\n");
    }

    void notARequest()
    {
        QFETCH(QByteArray, datagram);
        sim::SimulatedAccessPoint agent;
        QCOMPARE(agent.handleRequest(datagram).has_value(), false);
        QCOMPARE(agent.ignoredDatagrams(), 1);
        QCOMPARE(agent.receivedRequests().size(), 0);
    }

    void responsesAndTrapsAreNotAnswered()
    {
        sim::SimulatedAccessPoint agent;
        const QVector<snmp::VarBind> binds{{instanceOf(agent, QStringLiteral("operChannelID")), Value::null()}};
        QCOMPARE(agent.handleRequest(request(snmp::PduType::GetResponse, 1, binds)).has_value(), false);
        QCOMPARE(agent.handleRequest(request(snmp::PduType::Trap, 1, binds)).has_value(), false);
        QCOMPARE(agent.ignoredDatagrams(), 2);
    }

    void survivesMangledRequests()
    {
        // Every prefix and many single-byte corruptions of a real request.
        sim::SimulatedAccessPoint agent;
        const QByteArray good = setRequest(agent, {{QStringLiteral("operESSID"), Value::octets("abc")},
                                                   {QStringLiteral("operChannelID"), Value::integer(3)}});
        QRandomGenerator random(20261206);
        int answered = 0;
        for (int i = 0; i < good.size(); ++i)
            answered += agent.handleRequest(good.left(i)).has_value() ? 1 : 0;
        QCOMPARE(answered, 0);
        for (int i = 0; i < 3000; ++i) {
            QByteArray bad = good;
            bad[random.bounded(int(bad.size()))] = char(random.bounded(256));
            agent.handleRequest(bad);  // anything but a crash will do
        }
        QVERIFY(agent.ignoredDatagrams() > 0);
    }

    void resetAndRestoreDefaults()
    {
        sim::SimulatedAccessPoint agent;
        QSignalSpy resets(&agent, &sim::SimulatedAccessPoint::resetPerformed);
        agent.handleRequest(setRequest(agent, {{QStringLiteral("operChannelID"), Value::integer(1)},
                                               {QStringLiteral("TestModeOnOff"), Value::integer(1)}}));

        auto answer = agent.handleRequest(setRequest(agent, {{QStringLiteral("sysReset"), Value::integer(1)}}));
        QVERIFY(answer);
        QCOMPARE(decoded(*answer).pdu.varBinds.first().value, Value::integer(1));
        QCOMPARE(resets.size(), 1);
        QCOMPARE(agent.value(QStringLiteral("operChannelID")), Value::integer(1));  // settings stay
        QCOMPARE(agent.value(QStringLiteral("TestModeOnOff")), Value::integer(0));  // test mode ends

        answer = agent.handleRequest(setRequest(agent, {{QStringLiteral("sysLoadDefaults"), Value::integer(1)}}));
        QVERIFY(answer);
        QCOMPARE(decoded(*answer).pdu.varBinds.first().value, Value::integer(1));
        QCOMPARE(agent.value(QStringLiteral("operChannelID")), Value::integer(6));
        QCOMPARE(resets.size(), 1);
    }

    void testModeCommandsNeedTestMode()
    {
        sim::SimulatedAccessPoint agent;
        const Value command = octetsHex("0101C00301020000");  // channel 1, A, C0, 11M, US, continuous Rx
        const QString name = QStringLiteral("TestModeCommandStruct");
        auto answer = agent.handleRequest(setRequest(agent, {{QStringLiteral("TestModeOnOff"), Value::integer(1)},
                                                             {name, command}}));
        QCOMPARE(decoded(*answer).pdu.errorStatus, 0);
        QCOMPARE(agent.value(name), command);
        agent.reset();
        answer = agent.handleRequest(setRequest(agent, {{name, command}}));
        QCOMPARE(decoded(*answer).pdu.errorStatus, 5);
    }

    void objectTableAgreesWithTheMib()
    {
        sim::SimulatedAccessPoint agent;
        const snmp::Mib &mib = agent.mib();
        QVERIFY(mib.hasModule());
        static const QRegularExpression size(QStringLiteral("SIZE\\s*\\((\\d+)(?:\\.\\.(\\d+))?\\)"));
        for (const sim::DeviceObject &object : sim::deviceObjects()) {
            if (object.name.startsWith(QLatin1String("sys")) && !mib.object(object.name)) {
                QVERIFY2(!agent.oidOf(object.name).isEmpty(), qPrintable(object.name));  // the standard group
                continue;
            }
            const snmp::Mib::ObjectDefinition *definition = mib.object(object.name);
            QVERIFY2(definition, qPrintable(object.name));
            const QString &syntax = definition->syntax;
            const ValueKind kind = syntax.startsWith(QLatin1String("INTEGER")) ? ValueKind::Integer
                                   : syntax.startsWith(QLatin1String("IpAddress")) ? ValueKind::IpAddress
                                                                                   : ValueKind::OctetString;
            QCOMPARE(object.kind, kind);
            const QRegularExpressionMatch match = size.match(syntax);
            if (match.hasMatch()) {
                QCOMPARE(object.minLength, match.captured(1).toInt());
                QCOMPARE(object.maxLength, match.captured(2).isEmpty() ? object.minLength : match.captured(2).toInt());
            }
            const QString access = object.access == sim::Access::ReadOnly    ? QStringLiteral("read-only")
                                   : object.access == sim::Access::WriteOnly ? QStringLiteral("write-only")
                                                                           : QStringLiteral("read-write");
            QCOMPARE(definition->access, access);
        }
    }
};

QTEST_GUILESS_MAIN(TestSimRequestHandler)
#include "test_sim_request_handler.moc"
