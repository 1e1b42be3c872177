// The simulated access point's request handler, called directly: what
// each object answers, how GET and SET succeed or fail, the value faults,
// the datagrams it leaves unanswered and the device commands. No network.

#include "sim_test_support.h"

#include <QSignalSpy>

using snmp::PduType;
using snmp::Value;
using snmp::ValueKind;
using namespace simtest;

static Value octetsHex(const char *hex) { return Value::octets(QByteArray::fromHex(hex)); }
static Value address(const char *hex) { return Value::ipAddress(QByteArray::fromHex(hex)); }

class TestSimRequestHandler : public QObject {
    Q_OBJECT

private slots:
    // Each request carries a sound operRTSThreshold binding before the one
    // under test: an error or silence must leave it unapplied, a fault untouched.
    void answers_data()
    {
        QTest::addColumn<QString>("fault");   // "live": only type and size are compared
        QTest::addColumn<QString>("object");  // a name, or a dotted identifier
        QTest::addColumn<Value>("sent");      // NULL: a GET
        QTest::addColumn<int>("status");      // -1: no answer at all
        QTest::addColumn<Value>("answered");  // in the second binding; NULL: as sent
        auto row = [](const char *row, const char *fault, const char *object, const Value &sent, int status,
                      const Value &answered = Value()) {
            QTest::newRow(row) << QString::fromLatin1(fault) << QString::fromLatin1(object) << sent << status << answered;
        };
        auto get = [&row](const char *object, const Value &factory) { row(object, "", object, Value(), 0, factory); };
        auto live = [&row](const char *object, const Value &shape) { row(object, "live", object, Value(), 0, shape); };
        // Every readable object with its type, size and factory value.
        get("sysDescr", Value::octets("TARVO Access Point Firmware V2.1.07 (802.11b, simulated)"));
        get("sysObjectID", Value::objectId(oidOf(QStringLiteral("1.3.6.1.4.1.49170"))));
        live("sysUpTime", Value::unsignedOf(ValueKind::TimeTicks, 0));
        get("sysContact", Value::octets("network administrator"));
        get("sysName", Value::octets("corvane-ap"));
        get("sysLocation", Value::octets(""));
        get("sysServices", Value::integer(2));
        // Bytes 1..4 hardware revision, 5..10 factory MAC, 11 regulation domain (FCC), 21..52 manufacturer.
        get("sysDeviceInfo", Value::octets(QByteArray::fromHex("01040200" "02C04A102B3C" "10") + QByteArray(9, '\0')
                                           + QByteArray("Corvane Networks Ltd.").leftJustified(32, ' ') + QByteArray(40, '\0')));
        get("sysTrapSwitch", Value::integer(1));
        get("operChannelID", Value::integer(6));
        get("operESSIDLength", Value::integer(7));
        get("operESSID", Value::octets("corvane"));
        get("operRTSThreshold", Value::integer(2346));
        get("operFragmentationThreshold", Value::integer(2346));
        get("operPreambleType", Value::integer(2));        // long
        get("operAuthenticationType", Value::integer(3));  // both
        get("operBasicRates", octetsHex("82848B96"));      // 1, 2, 5.5, 11 Mbit/s, all basic
        get("operAutoRateFallBack", Value::integer(1));
        get("operIPAddress", address("C0A801FA"));  // 192.168.1.250, a stored value only
        get("operIPMask", address("FFFFFF00"));
        get("operEthernetAddress", octetsHex("02C04A102B3C"));
        get("defaultWEPKey1", octetsHex("0000000000"));
        get("defaultWEPKey2", octetsHex("0000000000"));
        get("defaultWEPKey3", octetsHex("0000000000"));
        get("defaultWEPKey4", octetsHex("0000000000"));
        get("privacyDefaultWEPKeyID", Value::integer(1));
        get("privacyWEPEnable", Value::integer(2));
        get("bridgeOperationalMode", Value::integer(2));  // access point
        get("bridgeRemoteBridgeBSSID", octetsHex("02C04A2051A0"));
        live("wirelessStatistics", Value::octets(QByteArray(88, '\0')));
        live("EthRxStatistics", Value::octets(QByteArray(64, '\0')));
        live("EthTxStatistics", Value::octets(QByteArray(56, '\0')));
        get("TestModeRadioConfiguration", octetsHex("B1B2B3B4B5B6B7B8B9BABBBCBDBE"));
        get("trapStationAddress", octetsHex("000000000000"));
        // GET refused, and spoiled by a fault.
        row("GET of an unknown object", "", "1.3.6.1.4.1.49170.9.9.0", Value(), 2);
        row("GET without instance", "", "1.3.6.1.4.1.49170.2.3", Value(), 2);
        row("GET of write-only sysReset", "", "sysReset", Value(), 2);
        row("short ESSID", "short", "operESSID", Value(), 0, Value::octets("corvan"));
        row("short address turns into text", "short", "operIPAddress", Value(), 0, Value::octets("192.168.1.25"));
        row("bad value in GET", "bad", "sysTrapSwitch", Value(), 0, Value::octets("on"));
        row("wrong echo leaves GET alone", "wrongEcho", "operChannelID", Value(), 0, Value::integer(6));
        // SET stored, refused, and spoiled by a fault: the device stores what
        // was sent but answers otherwise.
        row("channel", "", "operChannelID", Value::integer(11), 0);
        row("ESSID of 32", "", "operESSID", Value::octets(QByteArray(32, 'x')), 0);
        row("empty ESSID", "", "operESSID", Value::octets(""), 0);
        row("address", "", "operIPAddress", address("7F000002"), 0);
        row("WEP key", "", "defaultWEPKey3", octetsHex("0102030405"), 0);
        row("integer as text", "", "operChannelID", Value::octets("6"), 3);
        row("ESSID of 33", "", "operESSID", Value::octets(QByteArray(33, 'x')), 3);
        row("6-byte WEP key", "", "defaultWEPKey1", octetsHex("010203040506"), 3);
        row("reset with 2", "", "sysReset", Value::integer(2), 3);
        row("read-only identity", "", "sysDeviceInfo", Value::octets(QByteArray(92, '\0')), 2);
        row("SET of an unknown object", "", "1.3.6.1.4.1.49170.2.99.0", Value::integer(1), 2);
        row("wrong echo of an integer", "wrongEcho", "operChannelID", Value::integer(3), 0, Value::integer(4));
        row("wrong echo of text", "wrongEcho", "operESSID", Value::octets("lab"), 0, Value::octets("mab"));
        row("wrong echo of an address", "wrongEcho", "operIPAddress", address("7F000002"), 0, address("7F000003"));
        row("short leaves SET alone", "short", "operESSID", Value::octets("lab"), 0);
        row("bad value in the echo", "bad", "sysTrapSwitch", Value::integer(2), 0, Value::octets("on"));
        row("wrong request id", "wrongId", "operChannelID", Value::integer(3), 0);
        row("error status applies nothing", "error", "operChannelID", Value::integer(3), 5);
        // Heard but neither answered nor acted on.
        row("wrong community", "community", "operChannelID", Value::integer(3), -1);
        row("silent device", "silent", "operChannelID", Value::integer(3), -1);
        row("names a silent object", "silentObject", "operChannelID", Value::integer(3), -1);
    }

    void answers()
    {
        QFETCH(QString, fault);
        QFETCH(QString, object);
        QFETCH(Value, sent);
        QFETCH(int, status);
        QFETCH(Value, answered);
        sim::SimulatedAccessPoint agent;
        agent.community = fault == QLatin1String("community") ? "secret" : "kavrel";
        agent.faults.silent = fault == QLatin1String("silent");
        agent.faults.errorStatus = fault == QLatin1String("error") ? 5 : 0;
        agent.faults.wrongRequestId = fault == QLatin1String("wrongId");
        if (fault == QLatin1String("silentObject"))
            agent.faults.silentObjects.insert(object);
        if (fault == QLatin1String("short"))
            agent.faults.shortValueObjects.insert(object);
        if (fault == QLatin1String("wrongEcho"))
            agent.faults.wrongEchoObjects.insert(object);
        if (fault == QLatin1String("bad"))
            agent.faults.badValues.insert(object, Value::octets("on"));
        const Value before = agent.value(object);
        const bool isSet = sent.kind != ValueKind::Null;
        const Value neighbour = Value::integer(isSet ? 500 : 2346);
        const QVector<snmp::VarBind> binds{
            {instanceOf(agent, QStringLiteral("operRTSThreshold")), isSet ? neighbour : Value()},
            {object.front().isDigit() ? oidOf(object) : instanceOf(agent, object), sent}};

        const auto bytes = agent.handleRequest(request(isSet ? PduType::SetRequest : PduType::GetRequest, 7, binds));
        QCOMPARE(agent.receivedRequests().size(), 1);
        if (fault != QLatin1String("live"))  // counters and clock move on
            QCOMPARE(agent.value(object), isSet && status == 0 ? sent : before);
        QCOMPARE(agent.value(QStringLiteral("operRTSThreshold")), isSet && status == 0 ? neighbour : Value::integer(2346));
        QCOMPARE(bytes.has_value(), status >= 0);
        if (!bytes)
            return;
        const snmp::Message answer = decoded(*bytes);
        QCOMPARE(answer.pdu.type, PduType::GetResponse);
        QCOMPARE(answer.pdu.requestId, fault == QLatin1String("wrongId") ? 1007 : 7);
        QCOMPARE(answer.pdu.errorStatus, status);
        QCOMPARE(answer.pdu.errorIndex, status == 0 ? 0 : fault == QLatin1String("error") ? 1 : 2);
        QCOMPARE(answer.pdu.varBinds.size(), 2);
        QCOMPARE(answer.pdu.varBinds[0].value, status == 0 ? neighbour : binds[0].value);
        QCOMPARE(answer.pdu.varBinds[1].name, binds[1].name);
        const Value expected = answered.kind == ValueKind::Null ? sent : answered;
        const Value value = answer.pdu.varBinds[1].value;
        QCOMPARE(value.kind, expected.kind);
        QCOMPARE(value.bytes.size(), expected.bytes.size());
        if (fault != QLatin1String("live"))
            QCOMPARE(value, expected);
    }

    void ignoresWhatIsNoRequest()
    {
        sim::SimulatedAccessPoint agent;
        const QVector<QByteArray> datagrams{
            request(PduType::GetResponse, 1, {{instanceOf(agent, QStringLiteral("operChannelID")), Value::integer(1)}}),
            // 30 0B: message; 02 01 00: v1; 04 06 "kavrel"; the PDU is missing.
            QByteArray::fromHex("300b02010004066b617672656c"),
            QByteArray::fromHex("3029" "020101"                   // message, 41 bytes; version 1: SNMPv2c
                                "04066b617672656c" "a01c"         // "kavrel"; GetRequest-PDU
                                "020400000001" "020100" "020100"  // request-id 1, error-status 0, error-index 0
                                "3010300e06082b06010201010100"    // sysDescr.0
                                "0500")};                         // NULL
        for (const QByteArray &datagram : datagrams)
            QCOMPARE(agent.handleRequest(datagram).has_value(), false);
        QCOMPARE(agent.ignoredDatagrams(), 3);
        QCOMPARE(agent.receivedRequests().size(), 0);
        QCOMPARE(agent.value(QStringLiteral("operChannelID")), Value::integer(6));
    }

    void resetAndRestoreDefaults()
    {
        sim::SimulatedAccessPoint agent;
        QSignalSpy resets(&agent, &sim::SimulatedAccessPoint::resetPerformed);
        const QString command = QStringLiteral("TestModeCommandStruct");
        const Value receive = octetsHex("0101C00301020000");  // channel 1, A, C0, 11M, US, continuous Rx
        // The answer to a SET; an empty message when there is none.
        auto set = [&agent](const QVector<QPair<QString, Value>> &values) {
            return decoded(agent.handleRequest(setRequest(agent, values)).value_or(QByteArray()));
        };
        QCOMPARE(set({{QStringLiteral("operChannelID"), Value::integer(1)}, {QStringLiteral("TestModeOnOff"), Value::integer(1)},
                      {command, receive}}).pdu.errorStatus, 0);
        QCOMPARE(agent.value(command), receive);

        QCOMPARE(set({{QStringLiteral("sysReset"), Value::integer(1)}}).pdu.varBinds.value(0).value, Value::integer(1));
        QCOMPARE(resets.size(), 1);
        QCOMPARE(agent.value(QStringLiteral("operChannelID")), Value::integer(1));  // settings stay
        QCOMPARE(set({{command, receive}}).pdu.errorStatus, 5);                         // test mode ended

        QCOMPARE(set({{QStringLiteral("sysLoadDefaults"), Value::integer(1)}}).pdu.varBinds.value(0).value, Value::integer(1));
        QCOMPARE(agent.value(QStringLiteral("operChannelID")), Value::integer(6));
        QCOMPARE(resets.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestSimRequestHandler)
#include "test_sim_request_handler.moc"
