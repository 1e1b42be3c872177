// The faults the simulated access point applies to its answers without a
// network: silence, spoiled values, error status, wrong request id.

#include "sim_test_support.h"

#include "sim/value_faults.h"

#include <QTest>

using snmp::Value;
using snmp::ValueKind;
using namespace simtest;

class TestSimValueFaults : public QObject {
    Q_OBJECT

private slots:
    // The edges; ordinary values are covered through the handler below.
    void spoilingRules_data()
    {
        QTest::addColumn<Value>("value");
        QTest::addColumn<Value>("wrongEcho");
        QTest::addColumn<Value>("shortened");

        QTest::newRow("top integer wraps") << Value::integer(2147483647) << Value::integer(-2147483647 - 1)
                                           << Value::integer(214748364);
        QTest::newRow("empty text") << Value::octets("") << Value::octets("?") << Value::octets("");
        QTest::newRow("address") << Value::ipAddress(QByteArray::fromHex("C0A801FA"))
                                 << Value::ipAddress(QByteArray::fromHex("C0A801FB"))
                                 << Value::octets("192.168.1.25");
        QTest::newRow("counter") << Value::unsignedOf(ValueKind::Counter, 4294967295u)
                                 << Value::unsignedOf(ValueKind::Counter, 0)
                                 << Value::unsignedOf(ValueKind::Counter, 429496729);
    }

    void spoilingRules()
    {
        QFETCH(Value, value);
        QFETCH(Value, wrongEcho);
        QFETCH(Value, shortened);
        QCOMPARE(sim::wrongEchoOf(value), wrongEcho);
        QCOMPARE(sim::shortenedValue(value), shortened);
    }

    void answerFaults_data()
    {
        QTest::addColumn<QString>("fault");  // wrongEcho, short, bad
        QTest::addColumn<bool>("isSet");
        QTest::addColumn<QString>("name");
        QTest::addColumn<Value>("sent");      // SET value; ignored for GET
        QTest::addColumn<Value>("answered");  // value in the answer
        QTest::addColumn<Value>("stored");    // value the device holds afterwards

        const Value essid = Value::octets("lab");
        QTest::newRow("wrong echo of an integer") << "wrongEcho" << true << "operChannelID" << Value::integer(3)
                                                  << Value::integer(4) << Value::integer(3);
        QTest::newRow("wrong echo of text") << "wrongEcho" << true << "operESSID" << essid << Value::octets("mab")
                                            << essid;
        QTest::newRow("wrong echo of rates") << "wrongEcho" << true << "operBasicRates"
                                             << Value::octets(QByteArray::fromHex("82840B16"))
                                             << Value::octets(QByteArray::fromHex("83840B16"))
                                             << Value::octets(QByteArray::fromHex("82840B16"));
        QTest::newRow("wrong echo leaves GET alone") << "wrongEcho" << false << "operChannelID" << Value()
                                                     << Value::integer(6) << Value::integer(6);
        QTest::newRow("short ESSID") << "short" << false << "operESSID" << Value() << Value::octets("corvan")
                                     << Value::octets("corvane");
        QTest::newRow("short WEP key") << "short" << false << "defaultWEPKey2" << Value()
                                       << Value::octets(QByteArray(4, '\0')) << Value::octets(QByteArray(5, '\0'));
        QTest::newRow("short leaves SET alone") << "short" << true << "operESSID" << essid << essid << essid;
        QTest::newRow("bad value in GET") << "bad" << false << "sysTrapSwitch" << Value() << Value::octets("on")
                                          << Value::integer(1);
        QTest::newRow("bad value in SET echo") << "bad" << true << "sysTrapSwitch" << Value::integer(2)
                                               << Value::integer(1) << Value::integer(2);
    }

    void answerFaults()
    {
        QFETCH(QString, fault);
        QFETCH(bool, isSet);
        QFETCH(QString, name);
        QFETCH(Value, sent);
        QFETCH(Value, answered);
        QFETCH(Value, stored);
        sim::SimulatedAccessPoint agent;
        if (fault == QLatin1String("wrongEcho"))
            agent.faults.wrongEchoObjects.insert(name);
        else if (fault == QLatin1String("short"))
            agent.faults.shortValueObjects.insert(name);
        else
            agent.faults.badValues.insert(name, answered);

        const QByteArray datagram = isSet ? setRequest(agent, {{name, sent}}) : getRequest(agent, {name});
        const auto answer = agent.handleRequest(datagram);
        QVERIFY(answer);
        const snmp::Message message = decoded(*answer);
        QCOMPARE(message.pdu.errorStatus, 0);
        QCOMPARE(message.pdu.varBinds.first().value, answered);
        QCOMPARE(agent.value(name), stored);
    }

    void faultsTouchOnlyTheirObject()
    {
        sim::SimulatedAccessPoint agent;
        agent.faults.shortValueObjects.insert(QStringLiteral("operESSID"));
        const auto answer = agent.handleRequest(getRequest(agent, {QStringLiteral("operChannelID"), QStringLiteral("operESSID")}));
        const snmp::Message message = decoded(*answer);
        QCOMPARE(message.pdu.varBinds[0].value, Value::integer(6));
        QCOMPARE(message.pdu.varBinds[1].value, Value::octets("corvan"));
    }

    void silence_data()
    {
        QTest::addColumn<bool>("silent");
        QTest::addColumn<QString>("silentObject");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<bool>("answered");

        QTest::newRow("all silent") << true << "" << QStringList{"sysDescr"} << false;
        QTest::newRow("names the silent object") << false << "sysDeviceInfo"
                                                 << QStringList{"sysDescr", "sysDeviceInfo"} << false;
        QTest::newRow("another object") << false << "sysDeviceInfo" << QStringList{"sysDescr"} << true;
    }

    void silence()
    {
        QFETCH(bool, silent);
        QFETCH(QString, silentObject);
        QFETCH(QStringList, asked);
        QFETCH(bool, answered);
        sim::SimulatedAccessPoint agent;
        agent.faults.silent = silent;
        if (!silentObject.isEmpty())
            agent.faults.silentObjects.insert(silentObject);
        QCOMPARE(agent.handleRequest(getRequest(agent, asked)).has_value(), answered);
        QCOMPARE(agent.receivedRequests().size(), 1);  // heard, whatever the answer
    }

    void silentObjectAlsoForGetNext()
    {
        sim::SimulatedAccessPoint agent;
        agent.faults.silentObjects.insert(QStringLiteral("operESSID"));
        snmp::Oid object;
        snmp::oidFromText(agent.oidOf(QStringLiteral("operESSID")), object);
        const auto answer = agent.handleRequest(request(snmp::PduType::GetNextRequest, 1, {{object, Value()}}));
        QCOMPARE(answer.has_value(), false);
    }

    void errorStatusAppliesNothing()
    {
        sim::SimulatedAccessPoint agent;
        agent.faults.errorStatus = 5;
        const QByteArray datagram = setRequest(agent, {{QStringLiteral("operChannelID"), Value::integer(2)},
                                                       {QStringLiteral("sysLoadDefaults"), Value::integer(1)}}, 9);
        const auto answer = agent.handleRequest(datagram);
        QVERIFY(answer);
        const snmp::Message message = decoded(*answer);
        QCOMPARE(message.pdu.errorStatus, 5);
        QCOMPARE(message.pdu.errorIndex, 1);
        QCOMPARE(message.pdu.varBinds, decoded(datagram).pdu.varBinds);
        QCOMPARE(agent.value(QStringLiteral("operChannelID")), Value::integer(6));
    }

    void wrongRequestId_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("answeredId");
        QTest::newRow("small") << 17 << 1017;
        QTest::newRow("wraps at the top") << 2147483647 << -2147482649;
    }

    void wrongRequestId()
    {
        QFETCH(int, id);
        QFETCH(int, answeredId);
        sim::SimulatedAccessPoint agent;
        agent.faults.wrongRequestId = true;
        const auto answer = agent.handleRequest(getRequest(agent, {QStringLiteral("sysDescr")}, id));
        QCOMPARE(decoded(*answer).pdu.requestId, answeredId);
    }
};

QTEST_GUILESS_MAIN(TestSimValueFaults)
#include "test_sim_value_faults.moc"
