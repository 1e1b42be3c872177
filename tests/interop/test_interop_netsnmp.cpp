// net-snmp's snmpget, snmpset, snmpwalk and snmptrap against our side:
// objects read and written by name through CorvaneMIB.mib on the
// simulated access point, and the bytes net-snmp puts on the wire decoded
// by our codec. Loopback only; skipped where net-snmp is not installed.

#include "interop_support.h"
#include "sim/sim_test_support.h"

#include "sim/device_objects.h"

#include <QTest>

using snmp::Value;
using namespace simtest;

namespace {

const QHostAddress kLoopback(QHostAddress::LocalHost);

QString endpoint(quint16 port)
{
    return QStringLiteral("127.0.0.1:%1").arg(port);
}

}  // namespace

class TestInteropNetSnmp : public QObject {
    Q_OBJECT

    interop::NetSnmp netSnmp;
    sim::SimulatedAccessPoint agent;

private:
    void needTool(const char *name)
    {
        if (interop::NetSnmp::tool(QString::fromLatin1(name)).isEmpty())
            QSKIP("net-snmp's command-line tools are not installed (Debian package snmp)");
        QVERIFY(netSnmp.ready);
    }

    // A datagram that a net-snmp tool sends to a plain socket, which never answers.
    QByteArray captureRequest(const QString &tool, const QStringList &arguments)
    {
        Client sink;
        const QString target = endpoint(sink.socket.localPort());
        QStringList withTarget = arguments;
        withTarget.replaceInStrings(QStringLiteral("TARGET"), target);
        netSnmp.run(tool, withTarget);
        const auto got = sink.receive(1, 3000);
        return got.isEmpty() ? QByteArray() : got.first().data();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(agent.start(kLoopback, 0));
    }

    void init()
    {
        agent.restoreFactoryValues();
        agent.faults = sim::Faults{};
    }

    void getByName_data()
    {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("expected");  // the line net-snmp prints

        QTest::newRow("ESSID") << "CORVANE-MIB::operESSID.0" << "CORVANE-MIB::operESSID.0 = STRING: \"corvane\"";
        QTest::newRow("channel") << "CORVANE-MIB::operChannelID.0" << "CORVANE-MIB::operChannelID.0 = INTEGER: 6";
        QTest::newRow("preamble") << "CORVANE-MIB::operPreambleType.0"
                                  << "CORVANE-MIB::operPreambleType.0 = INTEGER: longPreamble(2)";
        QTest::newRow("address") << "CORVANE-MIB::operIPAddress.0"
                                 << "CORVANE-MIB::operIPAddress.0 = IpAddress: 192.168.1.250";
        QTest::newRow("rates") << "CORVANE-MIB::operBasicRates.0"
                               << "CORVANE-MIB::operBasicRates.0 = Hex-STRING: 82 84 8B 96 ";
        QTest::newRow("trap switch") << "CORVANE-MIB::sysTrapSwitch.0"
                                     << "CORVANE-MIB::sysTrapSwitch.0 = INTEGER: enabled(1)";
        QTest::newRow("WEP key") << "CORVANE-MIB::defaultWEPKey1.0"
                                 << "CORVANE-MIB::defaultWEPKey1.0 = Hex-STRING: 00 00 00 00 00 ";
        QTest::newRow("identity") << "CORVANE-MIB::sysDeviceInfo.0"
                                  << "CORVANE-MIB::sysDeviceInfo.0 = Hex-STRING: 01 04 02 00 02 C0 4A 10 2B 3C 10 00 00 00 00 00 ";
        QTest::newRow("sysDescr") << "RFC1213-MIB::sysDescr.0"
                                  << "RFC1213-MIB::sysDescr.0 = STRING: \"TARVO Access Point Firmware V2.1.07 (802.11b, simulated)\"";
    }

    void getByName()
    {
        QFETCH(QString, object);
        QFETCH(QString, expected);
        needTool("snmpget");
        const interop::ToolRun run = netSnmp.run("snmpget", {"-v1", "-c", "kavrel", endpoint(agent.port()), object});
        QVERIFY2(run.finished && run.exitCode == 0, run.err.constData());
        QCOMPARE(QString::fromLatin1(run.out).split(QLatin1Char('\n')).first(), expected);
    }

    void setByName_data()
    {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("name");
        QTest::addColumn<Value>("stored");

        QTest::newRow("ESSID") << "CORVANE-MIB::operESSID.0" << "s" << "lab net" << "operESSID" << Value::octets("lab net");
        QTest::newRow("channel") << "CORVANE-MIB::operChannelID.0" << "i" << "11" << "operChannelID" << Value::integer(11);
        QTest::newRow("enumeration label") << "CORVANE-MIB::privacyWEPEnable.0" << "i" << "enabled"
                                           << "privacyWEPEnable" << Value::integer(1);
        QTest::newRow("address") << "CORVANE-MIB::operIPAddress.0" << "a" << "127.0.0.9" << "operIPAddress"
                                 << Value::ipAddress(QByteArray::fromHex("7F000009"));
        QTest::newRow("rates") << "CORVANE-MIB::operBasicRates.0" << "x" << "82840B16" << "operBasicRates"
                               << Value::octets(QByteArray::fromHex("82840B16"));
        QTest::newRow("WEP key") << "CORVANE-MIB::defaultWEPKey2.0" << "x" << "0102030405" << "defaultWEPKey2"
                                 << Value::octets(QByteArray::fromHex("0102030405"));
        QTest::newRow("radio configuration") << "CORVANE-MIB::TestModeRadioConfiguration.0" << "x"
                                             << "C0C1C2C3C4C5C6C7C8C9CACBCCCD" << "TestModeRadioConfiguration"
                                             << Value::octets(QByteArray::fromHex("C0C1C2C3C4C5C6C7C8C9CACBCCCD"));
    }

    void setByName()
    {
        QFETCH(QString, object);
        QFETCH(QString, type);
        QFETCH(QString, text);
        QFETCH(QString, name);
        QFETCH(Value, stored);
        needTool("snmpset");
        const interop::ToolRun run =
            netSnmp.run("snmpset", {"-v1", "-c", "kavrel", endpoint(agent.port()), object, type, text});
        QVERIFY2(run.finished && run.exitCode == 0, run.err.constData());
        QVERIFY(run.out.startsWith(object.toLatin1() + " = "));
        QCOMPARE(agent.value(name), stored);
    }

    void refusedSetsReportTheirReason_data()
    {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reason");

        QTest::newRow("text for an integer") << "CORVANE-MIB::operChannelID.0" << "s" << "6" << "(badValue)";
        QTest::newRow("3 rate bytes") << "CORVANE-MIB::operBasicRates.0" << "x" << "828484" << "(badValue)";
        QTest::newRow("read-only identity") << "CORVANE-MIB::sysDeviceInfo.0" << "x" << "00" << "(noSuchName)";
        QTest::newRow("test command outside test mode") << "CORVANE-MIB::TestModeCommandStruct.0" << "x"
                                                        << "0101C00301040000" << "(genError)";
    }

    void refusedSetsReportTheirReason()
    {
        QFETCH(QString, object);
        QFETCH(QString, type);
        QFETCH(QString, text);
        QFETCH(QString, reason);
        needTool("snmpset");
        // -Ir: no checks on net-snmp's side, so the agent has to refuse.
        const interop::ToolRun run =
            netSnmp.run("snmpset", {"-v1", "-c", "kavrel", "-Ir", endpoint(agent.port()), object, type, text});
        QVERIFY(run.finished);
        QVERIFY(run.exitCode != 0);
        QVERIFY2(run.err.contains(reason.toLatin1()), run.err.constData());
        QVERIFY(run.err.contains("Failed object: " + object.toLatin1()));
    }

    void walkListsEveryReadableObject()
    {
        needTool("snmpwalk");
        const interop::ToolRun run =
            netSnmp.run("snmpwalk", {"-v1", "-c", "kavrel", "-Oq", endpoint(agent.port()), ".1.3.6.1"});
        QVERIFY2(run.finished && run.exitCode == 0, run.err.constData());
        QStringList objects;
        for (const QByteArray &line : run.out.split('\n')) {
            if (line.contains("::"))
                objects.append(QString::fromLatin1(line).section(QLatin1Char(' '), 0, 0));
        }
        int readable = 0;
        for (const sim::DeviceObject &object : sim::deviceObjects())
            readable += object.readable() ? 1 : 0;
        QCOMPARE(objects.size(), readable);
        QVERIFY(objects.contains(QStringLiteral("CORVANE-MIB::EthTxStatistics.0")));
        QVERIFY(!objects.contains(QStringLiteral("CORVANE-MIB::sysReset.0")));
    }

    void wrongCommunityTimesOut()
    {
        needTool("snmpget");
        const interop::ToolRun run = netSnmp.run(
            "snmpget", {"-v1", "-c", "public", "-t", "0.3", "-r", "0", endpoint(agent.port()), "RFC1213-MIB::sysDescr.0"});
        QVERIFY(run.finished);
        QVERIFY(run.exitCode != 0);
        QVERIFY(run.err.contains("Timeout"));
    }

    void retriesGetPastDroppedRequests()
    {
        needTool("snmpget");
        agent.faults.silentObjects.insert(QStringLiteral("operESSID"));
        const int before = int(agent.receivedRequests().size());
        const interop::ToolRun run = netSnmp.run("snmpget", {"-v1", "-c", "kavrel", "-t", "0.2", "-r", "2",
                                                             endpoint(agent.port()), "CORVANE-MIB::operESSID.0"});
        QVERIFY(run.finished);
        QVERIFY(run.err.contains("Timeout"));
        QCOMPARE(int(agent.receivedRequests().size()) - before, 3);  // the first try and two retries
    }

    void requestsDecodeWithOurCodec_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("pduTag");
        QTest::addColumn<QString>("firstName");
        QTest::addColumn<Value>("firstValue");

        QTest::newRow("GET by name") << "snmpget" << QStringList{"-v1", "-c", "kavrel", "-t", "0.3", "-r", "0", "TARGET", "CORVANE-MIB::operESSID.0"}
                                     << 0xA0 << "operESSID" << Value::null();
        QTest::newRow("GETNEXT") << "snmpgetnext" << QStringList{"-v1", "-c", "kavrel", "-t", "0.3", "-r", "0", "TARGET", "CORVANE-MIB::operESSID.0"}
                                 << 0xA1 << "operESSID" << Value::null();
        QTest::newRow("SET integer") << "snmpset" << QStringList{"-v1", "-c", "kavrel", "-Ir", "-t", "0.3", "-r", "0", "TARGET", "CORVANE-MIB::operRTSThreshold.0", "i", "65535"}
                                     << 0xA3 << "operRTSThreshold" << Value::integer(65535);
        QTest::newRow("SET address") << "snmpset" << QStringList{"-v1", "-c", "kavrel", "-t", "0.3", "-r", "0", "TARGET", "CORVANE-MIB::operIPMask.0", "a", "255.255.255.0"}
                                     << 0xA3 << "operIPMask" << Value::ipAddress(QByteArray::fromHex("FFFFFF00"));
        QTest::newRow("SET bytes") << "snmpset" << QStringList{"-v1", "-c", "kavrel", "-t", "0.3", "-r", "0", "TARGET", "CORVANE-MIB::operEthernetAddress.0", "x", "0080FF000001"}
                                   << 0xA3 << "operEthernetAddress" << Value::octets(QByteArray::fromHex("0080FF000001"));
    }

    void requestsDecodeWithOurCodec()
    {
        QFETCH(QString, tool);
        QFETCH(QStringList, arguments);
        QFETCH(int, pduTag);
        QFETCH(QString, firstName);
        QFETCH(Value, firstValue);
        needTool(tool.toLatin1().constData());
        const QByteArray datagram = captureRequest(tool, arguments);
        QVERIFY(!datagram.isEmpty());
        const snmp::DecodeResult result = snmp::decodeMessage(datagram);
        QVERIFY2(result.ok(), snmp::berErrorText(result.error));
        const snmp::Message &message = *result.message;
        QCOMPARE(message.version, 0);
        QCOMPARE(message.community, QByteArray("kavrel"));
        QCOMPARE(int(message.pdu.type), pduTag);
        QCOMPARE(message.pdu.errorStatus, 0);
        QCOMPARE(message.pdu.varBinds.size(), 1);
        QCOMPARE(message.pdu.varBinds[0].name, instanceOf(agent, firstName));
        QCOMPARE(message.pdu.varBinds[0].value, firstValue);
        QCOMPARE(snmp::encodeMessage(message), datagram);  // and we write the same bytes
    }

    void trapDecodesWithOurCodec()
    {
        needTool("snmptrap");
        const QByteArray datagram = captureRequest(
            "snmptrap", {"-v1", "-c", "kavrel", "TARGET", "CORVANE-MIB::corvane", "127.0.0.1", "6", "3", "4242",
                         "CORVANE-MIB::trapStationAddress.0", "x", "020000000003"});
        const snmp::DecodeResult result = snmp::decodeMessage(datagram);
        QVERIFY2(result.ok(), snmp::berErrorText(result.error));
        const snmp::Pdu &pdu = result.message->pdu;
        QCOMPARE(pdu.type, snmp::PduType::Trap);
        QCOMPARE(snmp::oidToText(pdu.enterprise), agent.oidOf(QStringLiteral("corvane")));
        QCOMPARE(pdu.agentAddress, QByteArray::fromHex("7F000001"));
        QCOMPARE(pdu.genericTrap, 6);
        QCOMPARE(pdu.specificTrap, 3);
        QCOMPARE(pdu.timeStamp, 4242u);
        QCOMPARE(pdu.varBinds.size(), 1);
        QCOMPARE(pdu.varBinds[0].value, Value::octets(QByteArray::fromHex("020000000003")));
    }
};

QTEST_GUILESS_MAIN(TestInteropNetSnmp)
#include "test_interop_netsnmp.moc"
