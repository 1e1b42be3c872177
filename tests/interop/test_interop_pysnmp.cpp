// Bytes from our encoder decoded by pysnmp, an independent SNMP
// implementation, through pysnmp_tool.py. Skipped without python3-pysnmp4.

#include "interop_support.h"
#include "sim/sim_test_support.h"

#include <QJsonDocument>
#include <QJsonObject>

using snmp::Message;
using snmp::PduType;
using snmp::Value;
using snmp::ValueKind;
using simtest::oidOf;

Q_DECLARE_METATYPE(snmp::Message)


class TestInteropPysnmp : public QObject {
    Q_OBJECT

    QString python;

private slots:
    void initTestCase()
    {
        for (const QString &candidate : {QStandardPaths::findExecutable(QStringLiteral("python3")),
                                         QStringLiteral("/usr/bin/python3")}) {
            if (!candidate.isEmpty() && interop::runTool(candidate, {"-c", "import pysnmp"}).exitCode == 0) {
                python = candidate;
                break;
            }
        }
        if (python.isEmpty())
            QSKIP("no python3 with pysnmp (Debian package python3-pysnmp4)");
    }

    void ourBytesDecodedByPysnmp_data()
    {
        QTest::addColumn<Message>("sent");
        QTest::addColumn<QByteArray>("decoded");  // as pysnmp_tool.py prints it

        const QString essid = QStringLiteral("1.3.6.1.4.1.49170.2.3.0");
        QTest::newRow("GET") << Message{0, "kavrel", {PduType::GetRequest, 1, 0, 0, {}, {}, 0, 0, 0, {{oidOf(essid), Value()}}}}
                             << QByteArray(
            R"({"version":0,"community":"kavrel","pdu":"get","request_id":1,"error_status":0,"error_index":0,)"
            R"("bindings":[["1.3.6.1.4.1.49170.2.3.0","null",null]]})");
        QTest::newRow("SET of each type we send")
            << Message{0, "kavrel", {PduType::SetRequest, -5, 0, 0, {}, {}, 0, 0, 0,
                                     {{oidOf("1.3.6.1.4.1.49170.2.4.0"), Value::integer(-129)},
                                      {oidOf(essid), Value::octets(QByteArray::fromHex("00ff80"))},
                                      {oidOf("1.3.6.1.4.1.49170.2.10.0"), Value::ipAddress(QByteArray::fromHex("7F0000FE"))}}}}
            << QByteArray(
                   R"({"version":0,"community":"kavrel","pdu":"set","request_id":-5,"error_status":0,"error_index":0,)"
                   R"("bindings":[["1.3.6.1.4.1.49170.2.4.0","integer",-129],["1.3.6.1.4.1.49170.2.3.0","octets","00ff80"],)"
                   R"(["1.3.6.1.4.1.49170.2.10.0","ipaddress","127.0.0.254"]]})");
        QTest::newRow("response of every kind")
            << Message{0, "kavrel", {PduType::GetResponse, 2147483647, 5, 3, {}, {}, 0, 0, 0,
                                     {{oidOf(essid), Value::unsignedOf(ValueKind::Counter, 4294967295u)},
                                      {oidOf(essid), Value::unsignedOf(ValueKind::Gauge, 2147483648u)},
                                      {oidOf(essid), Value::unsignedOf(ValueKind::TimeTicks, 0)},
                                      {oidOf(essid), Value::objectId(oidOf("1.3.6.1.4.1.49170.1"))},
                                      {oidOf(essid), Value::opaque(QByteArray::fromHex("0401ff"))}}}}
            << QByteArray(
                   R"({"version":0,"community":"kavrel","pdu":"response","request_id":2147483647,"error_status":5,)"
                   R"("error_index":3,"bindings":[["1.3.6.1.4.1.49170.2.3.0","counter",4294967295],)"
                   R"(["1.3.6.1.4.1.49170.2.3.0","gauge",2147483648],["1.3.6.1.4.1.49170.2.3.0","timeticks",0],)"
                   R"(["1.3.6.1.4.1.49170.2.3.0","oid","1.3.6.1.4.1.49170.1"],["1.3.6.1.4.1.49170.2.3.0","opaque","0401ff"]]})");
        QTest::newRow("trap") << Message{0, "kavrel", {PduType::Trap, 0, 0, 0, oidOf("1.3.6.1.4.1.49170"),
                                                       QByteArray::fromHex("7F000001"), 6, 2, 4294967295u,
                                                       {{oidOf("1.3.6.1.4.1.49170.7.1.0"),
                                                         Value::octets(QByteArray::fromHex("02000000abcd"))}}}}
                              << QByteArray(
            R"({"version":0,"community":"kavrel","pdu":"trap","enterprise":"1.3.6.1.4.1.49170","agent_address":"127.0.0.1",)"
            R"("generic_trap":6,"specific_trap":2,"time_stamp":4294967295,)"
            R"("bindings":[["1.3.6.1.4.1.49170.7.1.0","octets","02000000abcd"]]})");
    }

    void ourBytesDecodedByPysnmp()
    {
        QFETCH(Message, sent);
        QFETCH(QByteArray, decoded);
        const QString tool = QStringLiteral(CORVANE_SOURCE_DIR "/tests/interop/pysnmp_tool.py");
        const QByteArray bytes = snmp::encodeMessage(sent);
        const interop::ToolRun run = interop::runTool(python, {tool, QString::fromLatin1(bytes.toHex())});
        QVERIFY2(run.finished && run.exitCode == 0, run.err.constData());
        QCOMPARE(QJsonDocument::fromJson(run.out).object(), QJsonDocument::fromJson(decoded).object());
    }
};

QTEST_GUILESS_MAIN(TestInteropPysnmp)
#include "test_interop_pysnmp.moc"
