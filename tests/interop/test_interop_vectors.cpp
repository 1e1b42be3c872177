// Known-answer vectors: SNMPv1 datagrams recorded from net-snmp 5.9
// (snmpget and snmptrap, sent to a local socket) and from pysnmp 4.4 (its
// v1 message encoder), decoded by our codec and written back byte for
// byte by our encoder.

#include "sim/sim_test_support.h"

using snmp::Message;
using snmp::PduType;
using snmp::Value;
using simtest::oidOf;

Q_DECLARE_METATYPE(snmp::Message)

namespace {

Message message(PduType type, const QByteArray &community, qint32 id, const QVector<snmp::VarBind> &binds,
                qint32 status = 0, qint32 index = 0)
{
    Message m;
    m.community = community;
    m.pdu.type = type;
    m.pdu.requestId = id;
    m.pdu.errorStatus = status;
    m.pdu.errorIndex = index;
    m.pdu.varBinds = binds;
    return m;
}

}  // namespace

class TestInteropVectors : public QObject {
    Q_OBJECT

private slots:
    void recordedDatagrams_data()
    {
        QTest::addColumn<QByteArray>("datagram");
        QTest::addColumn<Message>("expected");

        QTest::newRow("net-snmp GET") << QByteArray::fromHex(
            "302c"                          // message SEQUENCE, 44 bytes
            "020100"                        // version 0: SNMPv1
            "04066b617672656c"              // community "kavrel"
            "a01f"                          // GetRequest-PDU, 31 bytes
            "02046d7b9cee"                  // request-id 1836817646
            "020100"                        // error-status 0
            "020100"                        // error-index 0
            "3011"                          // variable-bindings, 17 bytes
            "300f"                          // binding, 15 bytes
            "060b2b060104018380120203" "00" // name 1.3.6.1.4.1.49170.2.3.0 (49170 = 83 80 12)
            "0500")                         // value NULL
            << message(PduType::GetRequest, "kavrel", 1836817646, {{oidOf("1.3.6.1.4.1.49170.2.3.0"), Value::null()}});

        Message trap = message(PduType::Trap, "kavrel", 0,
                               {{oidOf("1.3.6.1.4.1.49170.7.1.0"), Value::octets(QByteArray::fromHex("020000000001"))}});
        trap.pdu.enterprise = oidOf("1.3.6.1.4.1.49170");
        trap.pdu.agentAddress = QByteArray::fromHex("7F000001");
        trap.pdu.genericTrap = 6;
        trap.pdu.specificTrap = 1;
        trap.pdu.timeStamp = 12345;
        QTest::newRow("net-snmp trap") << QByteArray::fromHex(
            "3040"                          // message, 64 bytes
            "020100"                        // SNMPv1
            "04066b617672656c"              // "kavrel"
            "a433"                          // Trap-PDU, 51 bytes
            "06082b06010401838012"          // enterprise 1.3.6.1.4.1.49170
            "40047f000001"                  // agent-addr 127.0.0.1
            "020106"                        // generic-trap 6: enterpriseSpecific
            "020101"                        // specific-trap 1
            "43023039"                      // time-stamp 12345
            "3017" "3015"                   // variable-bindings, one binding
            "060b2b0601040183801207" "0100" // trapStationAddress.0
            "0406020000000001")             // OCTET STRING 02 00 00 00 00 01
            << trap;

        QTest::newRow("pysnmp SET") << QByteArray::fromHex(
            "3054"                          // message, 84 bytes
            "020100"                        // SNMPv1
            "04066b617672656c"              // "kavrel"
            "a347"                          // SetRequest-PDU, 71 bytes
            "02014d"                        // request-id 77
            "020100" "020100"               // error-status 0, error-index 0
            "303c"                          // variable-bindings, 60 bytes
            "3010" "060b2b0601040183801202" "0100" // operChannelID.0
            "0201fe"                        //   INTEGER -2, one byte two's complement
            "3013" "060b2b0601040183801202" "0800" // operBasicRates.0
            "040482848b96"                  //   OCTET STRING 82 84 8B 96
            "3013" "060b2b0601040183801202" "0b00" // operIPMask.0
            "4004ffffff00")                 //   IpAddress 255.255.255.0
            << message(PduType::SetRequest, "kavrel", 77,
                       {{oidOf("1.3.6.1.4.1.49170.2.1.0"), Value::integer(-2)},
                        {oidOf("1.3.6.1.4.1.49170.2.8.0"), Value::octets(QByteArray::fromHex("82848B96"))},
                        {oidOf("1.3.6.1.4.1.49170.2.11.0"), Value::ipAddress(QByteArray::fromHex("FFFFFF00"))}});

        QTest::newRow("pysnmp response") << QByteArray::fromHex(
            "3057"                          // message, 87 bytes
            "020100"                        // SNMPv1
            "04066b617672656c"              // "kavrel"
            "a24a"                          // GetResponse-PDU, 74 bytes
            "02047fffffff"                  // request-id 2147483647, the largest
            "020102"                        // error-status 2: noSuchName
            "020101"                        // error-index 1
            "303c"                          // variable-bindings, 60 bytes
            "3014" "060b2b0601040183801205" "0100" // wirelessStatistics.0
            "410500ffffffff"                //   Counter 4294967295: zero byte before the top bit
            "300e" "06082b06010201010300"   // sysUpTime.0
            "43020080"                      //   TimeTicks 128, also with a zero byte
            "3014" "06082b06010201010200"   // sysObjectID.0
            "06082b06010401838012")         //   OBJECT IDENTIFIER 1.3.6.1.4.1.49170
            << message(PduType::GetResponse, "kavrel", 2147483647,
                       {{oidOf("1.3.6.1.4.1.49170.5.1.0"), Value::unsignedOf(snmp::ValueKind::Counter, 4294967295u)},
                        {oidOf("1.3.6.1.2.1.1.3.0"), Value::unsignedOf(snmp::ValueKind::TimeTicks, 128)},
                        {oidOf("1.3.6.1.2.1.1.2.0"), Value::objectId(oidOf("1.3.6.1.4.1.49170"))}},
                       2, 1);
    }

    void recordedDatagrams()
    {
        QFETCH(QByteArray, datagram);
        QFETCH(Message, expected);
        const snmp::DecodeResult result = snmp::decodeMessage(datagram);
        QVERIFY2(result.ok(), snmp::berErrorText(result.error));
        const snmp::Pdu &got = result.message->pdu;
        QCOMPARE(result.message->version, 0);
        QCOMPARE(result.message->community, expected.community);
        QCOMPARE(got.type, expected.pdu.type);
        QCOMPARE(got.requestId, expected.pdu.requestId);
        QCOMPARE(got.errorStatus, expected.pdu.errorStatus);
        QCOMPARE(got.errorIndex, expected.pdu.errorIndex);
        QCOMPARE(got.enterprise, expected.pdu.enterprise);
        QCOMPARE(got.agentAddress, expected.pdu.agentAddress);
        QCOMPARE(got.genericTrap, expected.pdu.genericTrap);
        QCOMPARE(got.specificTrap, expected.pdu.specificTrap);
        QCOMPARE(got.timeStamp, expected.pdu.timeStamp);
        QCOMPARE(got.varBinds, expected.pdu.varBinds);
        QCOMPARE(snmp::encodeMessage(expected), datagram);
    }
};

QTEST_GUILESS_MAIN(TestInteropVectors)
#include "test_interop_vectors.moc"
