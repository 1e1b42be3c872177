// pysnmp against our side: bytes from our encoder (including what the
// simulated access point really sends) decoded by pysnmp, bytes from
// pysnmp's encoder decoded by ours, and pysnmp's manager talking to the
// simulated access point. Loopback only; skipped without python3-pysnmp4.

#include "interop_support.h"
#include "sim/sim_test_support.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QtEndian>

using snmp::Message;
using snmp::PduType;
using snmp::Value;
using snmp::ValueKind;
using namespace simtest;

namespace {

const QHostAddress kLoopback(QHostAddress::LocalHost);

QString pduName(PduType type)
{
    switch (type) {
    case PduType::GetRequest: return QStringLiteral("get");
    case PduType::GetNextRequest: return QStringLiteral("getnext");
    case PduType::GetResponse: return QStringLiteral("response");
    case PduType::SetRequest: return QStringLiteral("set");
    case PduType::Trap: return QStringLiteral("trap");
    }
    return QStringLiteral("unknown");
}

QJsonArray describe(const Value &value)
{
    auto hex = [](const QByteArray &bytes) { return QString::fromLatin1(bytes.toHex()); };
    switch (value.kind) {
    case ValueKind::Null: return {QStringLiteral("null"), QJsonValue()};
    case ValueKind::Integer: return {QStringLiteral("integer"), qint64(value.number)};
    case ValueKind::OctetString: return {QStringLiteral("octets"), hex(value.bytes)};
    case ValueKind::Opaque: return {QStringLiteral("opaque"), hex(value.bytes)};
    case ValueKind::ObjectIdentifier: return {QStringLiteral("oid"), snmp::oidToText(value.oid)};
    case ValueKind::IpAddress: return {QStringLiteral("ipaddress"), QHostAddress(qFromBigEndian<quint32>(value.bytes.constData())).toString()};
    case ValueKind::Counter: return {QStringLiteral("counter"), qint64(value.number)};
    case ValueKind::Gauge: return {QStringLiteral("gauge"), qint64(value.number)};
    case ValueKind::TimeTicks: return {QStringLiteral("timeticks"), qint64(value.number)};
    }
    return {};
}

// The same form pysnmp_tool.py prints for a decoded message.
QJsonObject describe(const Message &m)
{
    QJsonObject out{{"version", m.version},
                    {"community", QString::fromLatin1(m.community)},
                    {"pdu", pduName(m.pdu.type)},
                    {"trailing", 0}};
    if (m.pdu.type == PduType::Trap) {
        out.insert("enterprise", snmp::oidToText(m.pdu.enterprise));
        out.insert("agent_address", QHostAddress(qFromBigEndian<quint32>(m.pdu.agentAddress.constData())).toString());
        out.insert("generic_trap", m.pdu.genericTrap);
        out.insert("specific_trap", m.pdu.specificTrap);
        out.insert("time_stamp", qint64(m.pdu.timeStamp));
    } else {
        out.insert("request_id", m.pdu.requestId);
        out.insert("error_status", m.pdu.errorStatus);
        out.insert("error_index", m.pdu.errorIndex);
    }
    QJsonArray bindings;
    for (const snmp::VarBind &bind : m.pdu.varBinds) {
        QJsonArray entry{snmp::oidToText(bind.name)};
        for (const QJsonValue &part : describe(bind.value))
            entry.append(part);
        bindings.append(entry);
    }
    out.insert("bindings", bindings);
    return out;
}

Message message(PduType type, qint32 id, const QVector<snmp::VarBind> &binds, qint32 status = 0, qint32 index = 0)
{
    Message m;
    m.community = "kavrel";
    m.pdu.type = type;
    m.pdu.requestId = id;
    m.pdu.errorStatus = status;
    m.pdu.errorIndex = index;
    m.pdu.varBinds = binds;
    return m;
}

}  // namespace

class TestInteropPysnmp : public QObject {
    Q_OBJECT

    QString python;
    sim::SimulatedAccessPoint agent;

    QJsonObject runJson(const QStringList &arguments)
    {
        const interop::ToolRun run = interop::runTool(python, QStringList{interop::pysnmpTool()} + arguments);
        if (!run.finished || run.exitCode != 0) {
            qWarning("pysnmp_tool failed: %s", run.err.constData());
            return {};
        }
        return QJsonDocument::fromJson(run.out).object();
    }

    QByteArray runHex(const QStringList &arguments)
    {
        const interop::ToolRun run = interop::runTool(python, QStringList{interop::pysnmpTool()} + arguments);
        return run.finished && run.exitCode == 0 ? QByteArray::fromHex(run.out.trimmed()) : QByteArray();
    }

private slots:
    void initTestCase()
    {
        python = interop::pythonWithPysnmp();
        if (python.isEmpty())
            QSKIP("no python3 with pysnmp (Debian package python3-pysnmp4)");
        QVERIFY(agent.start(kLoopback, 0));
    }

    void ourBytesDecodedByPysnmp_data()
    {
        QTest::addColumn<QByteArray>("datagram");

        const snmp::Oid essid = instanceOf(agent, QStringLiteral("operESSID"));
        QTest::newRow("GET") << snmp::encodeMessage(message(
            PduType::GetRequest, 1, {{essid, Value()}, {instanceOf(agent, QStringLiteral("sysDescr")), Value()}}));
        QTest::newRow("SET of each type we send") << snmp::encodeMessage(message(
            PduType::SetRequest, -5,
            {{instanceOf(agent, QStringLiteral("operRTSThreshold")), Value::integer(-32768)},
             {essid, Value::octets(QByteArray::fromHex("00ff80"))},
             {instanceOf(agent, QStringLiteral("operIPAddress")), Value::ipAddress(QByteArray::fromHex("7F0000FE"))}}));
        QTest::newRow("response of every kind") << snmp::encodeMessage(message(
            PduType::GetResponse, 2147483647,
            {{essid, Value::unsignedOf(ValueKind::Counter, 4294967295u)},
             {essid, Value::unsignedOf(ValueKind::Gauge, 2147483648u)},
             {essid, Value::unsignedOf(ValueKind::TimeTicks, 0)},
             {essid, Value::objectId(simtest::oidOf("1.3.6.1.4.1.49170.1"))},
             {essid, Value::opaque(QByteArray::fromHex("0401ff"))}},
            5, 3));

        // What the simulated access point really answers and sends.
        QTest::newRow("device answer") << *agent.handleRequest(getRequest(
            agent, {"sysDeviceInfo", "wirelessStatistics", "sysUpTime", "sysObjectID", "operIPMask", "operChannelID"}, 99));
        QTest::newRow("device error answer") << *agent.handleRequest(setRequest(agent, {{"sysDeviceInfo", Value::octets("x")}}, 100));
        Client receiver;
        agent.setTrapDestination(kLoopback, receiver.socket.localPort());
        agent.sendStationTrap(2, QByteArray::fromHex("02000000ABCD"));
        const auto traps = receiver.receive(1, 2000);
        QTest::newRow("device trap") << (traps.isEmpty() ? QByteArray() : traps.first().data());
    }

    void ourBytesDecodedByPysnmp()
    {
        QFETCH(QByteArray, datagram);
        const snmp::DecodeResult ours = snmp::decodeMessage(datagram);
        QVERIFY(ours.ok());
        const QJsonObject theirs = runJson({"decode", QString::fromLatin1(datagram.toHex())});
        QCOMPARE(theirs, describe(*ours.message));
    }

    void pysnmpBytesDecodedByUs_data()
    {
        QTest::addColumn<QString>("fields");  // pysnmp_tool.py encode form
        QTest::newRow("GET") << R"({"community":"kavrel","pdu":"get","request_id":1,"bindings":[["1.3.6.1.4.1.49170.2.3.0","null",null]]})";
        QTest::newRow("SET") << R"({"community":"kavrel","pdu":"set","request_id":-1,"bindings":[["1.3.6.1.4.1.49170.2.1.0","integer",-129],["1.3.6.1.4.1.49170.2.3.0","octets","ff00"],["1.3.6.1.4.1.49170.2.10.0","ipaddress","127.0.0.1"]]})";
        QTest::newRow("response") << R"({"community":"c","pdu":"response","request_id":65536,"error_status":3,"error_index":2,"bindings":[["1.3.6.1.2.1.1.3.0","timeticks",4294967295],["1.3.6.1.4.1.49170.5.1.0","gauge",0],["1.3.6.1.4.1.49170.5.2.0","counter",128],["1.3.6.1.2.1.1.2.0","oid","1.3.6.1.4.1.49170"],["1.3.6.1.4.1.49170.1.1.0","opaque","00"]]})";
        QTest::newRow("trap") << R"({"community":"kavrel","pdu":"trap","enterprise":"1.3.6.1.4.1.49170","agent_address":"127.0.0.1","generic_trap":6,"specific_trap":9,"time_stamp":4294967295,"bindings":[]})";
    }

    void pysnmpBytesDecodedByUs()
    {
        QFETCH(QString, fields);
        const QByteArray datagram = runHex({"encode", fields});
        QVERIFY(!datagram.isEmpty());
        const snmp::DecodeResult ours = snmp::decodeMessage(datagram);
        QVERIFY2(ours.ok(), snmp::berErrorText(ours.error));
        QCOMPARE(describe(*ours.message), runJson({"decode", QString::fromLatin1(datagram.toHex())}));
        QCOMPARE(snmp::encodeMessage(*ours.message), datagram);
    }

    void pysnmpManagerReadsAndWritesTheDevice()
    {
        const QString port = QString::number(agent.port());
        const QString essid = agent.oidOf(QStringLiteral("operESSID")) + QStringLiteral(".0");
        const QString channel = agent.oidOf(QStringLiteral("operChannelID")) + QStringLiteral(".0");

        QJsonObject answer = runJson({"set", port, "kavrel", essid, "octets", "6c6162", channel, "integer", "13"});
        QCOMPARE(answer.value("error"), QJsonValue());
        QCOMPARE(answer.value("error_status").toInt(), 0);
        QCOMPARE(agent.value(QStringLiteral("operESSID")), Value::octets("lab"));
        QCOMPARE(agent.value(QStringLiteral("operChannelID")), Value::integer(13));

        answer = runJson({"get", port, "kavrel", essid, channel});
        QCOMPARE(answer.value("bindings").toArray(),
                 (QJsonArray{QJsonArray{essid, "octets", "6c6162"}, QJsonArray{channel, "integer", 13}}));

        answer = runJson({"set", port, "kavrel", channel, "octets", "31"});
        QCOMPARE(answer.value("error_status").toInt(), 3);  // badValue
        QCOMPARE(answer.value("error_index").toInt(), 1);

        answer = runJson({"get", port, "public", essid});
        QVERIFY(answer.value("error").toString().contains(QLatin1String("timeout")));
    }
};

QTEST_GUILESS_MAIN(TestInteropPysnmp)
#include "test_interop_pysnmp.moc"
