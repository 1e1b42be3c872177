// The radio windows' device actions against the simulated access point:
// what each action puts on the wire, the four runs of a failing action and
// the texts, the radio configuration round trip.

#include "agent/radio_test_steps.h"
#include "session_fixture.h"

using agent::TestModeAction;
using snmp::Value;

namespace {

// "object=value" for every binding of every SET the device saw: integers
// in decimal, octet strings in hex.
QStringList setsOnTheWire(const SessionFixture &f)
{
    QStringList sets;
    for (const snmp::Message &m : f.ap.receivedRequests()) {
        if (m.pdu.type != snmp::PduType::SetRequest)
            continue;
        const QStringList names = f.namesOf(m);
        for (int i = 0; i < names.size(); ++i) {
            const Value &v = m.pdu.varBinds[i].value;
            sets << names[i] + QLatin1Char('=')
                        + (v.kind == snmp::ValueKind::Integer ? QString::number(v.number)
                                                              : QString::fromLatin1(v.bytes.toHex().toUpper()));
        }
    }
    return sets;
}

void setTestDefaults()
{
    config::ConfigurationStore &s = config::store();
    s.testModeChannel = 1;
    s.testModeAntenna = 1;
    s.testModeCR31 = QStringLiteral("C0");
    s.testModeRate = 3;
    s.testModeTxFilter = 1;
}

using Run = std::function<agent::RadioOutcome(agent::DeviceSession &, qint16 &)>;
Run action(TestModeAction a)
{
    return [a](agent::DeviceSession &s, qint16 &retries) { return agent::runTestModeAction(s, a, retries); };
}

const QString kOnOff = QStringLiteral("TestModeOnOff=1");
QString command(const char *hex) { return QStringLiteral("TestModeCommandStruct=") + QLatin1String(hex); }
const QString kNotResponding = QStringLiteral("Device not responding..Try connect again");

}  // namespace

Q_DECLARE_METATYPE(Run)
Q_DECLARE_METATYPE(std::function<void(sim::Faults &)>)
using FaultSetter = std::function<void(sim::Faults &)>;

class TestRadioTestSteps : public QObject {
    Q_OBJECT
private slots:
    void actionsOnTheWire_data();
    void actionsOnTheWire();
    void failingActionRunsFourTimes_data();
    void failingActionRunsFourTimes();
    void radioConfigurationRoundTrip();
    void timeOutsAtTheRealPace();
};

void TestRadioTestSteps::actionsOnTheWire_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<QStringList>("sets");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("testModeAfter");  // TestModeOnOff as the device holds it afterwards
    const auto row = [](const char *name, TestModeAction a, const QStringList &sets, const char *text, int after) {
        QTest::newRow(name) << int(a) << sets << QString::fromLatin1(text) << after;
    };
    row("start", TestModeAction::Start, {kOnOff, command("0101C00301040000")}, "Device is at Test mode..", 1);
    row("continuous Rx", TestModeAction::ContinuousRx, {kOnOff, command("0101C00301020000")}, "ContinuousRx State..", 1);
    row("continuous Tx with modulation", TestModeAction::ContinuousTxWithMod, {kOnOff, command("0101C00301010000")},
        "ContinuousTx State..", 1);
    row("carrier accuracy", TestModeAction::ContinuousTxWithoutMod, {kOnOff, command("0101C00301030000")},
        "Carrier Accuracy State..", 1);
    row("mode cleared: only the idle command", TestModeAction::Idle, {command("0101C00301040000")}, "Idle State..", 1);
    row("close: idle, then reset", TestModeAction::Close, {command("0101C00301040000"), "sysReset=1"},
        "The device is at Normal mode", 0);
}

void TestRadioTestSteps::actionsOnTheWire()
{
    QFETCH(int, action);
    QFETCH(QStringList, sets);
    QFETCH(QString, text);
    QFETCH(int, testModeAfter);
    SessionFixture f;
    QVERIFY(f.connectAndRead());
    setTestDefaults();
    QVERIFY(f.session->SetTestMode());  // a mode is changed from within test mode
    f.ap.clearReceivedRequests();

    qint16 retries = -1;
    const agent::RadioOutcome outcome = agent::runTestModeAction(*f.session, TestModeAction(action), retries);
    QCOMPARE(outcome.text, text);
    QVERIFY(outcome.ok);
    QCOMPARE(retries, qint16(0));
    QCOMPARE(setsOnTheWire(f), sets);
    QCOMPARE(f.ap.value(QStringLiteral("TestModeOnOff")), Value::integer(testModeAfter));
    // The device holds the last command it was given.
    const QString lastCommand = sets.filter(QStringLiteral("TestModeCommandStruct")).last().section(QLatin1Char('='), 1);
    QCOMPARE(QString::fromLatin1(f.ap.value(QStringLiteral("TestModeCommandStruct")).bytes.toHex().toUpper()),
             lastCommand);
}

void TestRadioTestSteps::failingActionRunsFourTimes_data()
{
    QTest::addColumn<FaultSetter>("fault");
    QTest::addColumn<Run>("run");
    QTest::addColumn<int>("requests");  // every run sends all of its requests
    QTest::addColumn<QString>("text");
    const FaultSetter silent = [](sim::Faults &f) { f.silent = true; };
    const FaultSetter refused = [](sim::Faults &f) { f.errorStatus = 5; };
    QTest::newRow("start, silent device") << silent << action(TestModeAction::Start) << 8
                                          << "Device not responding..Try again";
    QTest::newRow("start, refused writes") << refused << action(TestModeAction::Start) << 8
                                           << "Device not responding..Try again";
    QTest::newRow("Rx, silent device") << silent << action(TestModeAction::ContinuousRx) << 8
                                       << "Error-The device is not at ContinuousRx State.Try again..";
    QTest::newRow("idle, refused") << refused << action(TestModeAction::Idle) << 4
                                   << "Error-The device is not at Idle State.Try again..";
    QTest::newRow("close, reset unanswered")
        << FaultSetter([](sim::Faults &f) { f.silentObjects = {QStringLiteral("sysReset")}; })
        << action(TestModeAction::Close) << 8 << "Error-The device is not at Normal mode";
    QTest::newRow("configuration read, silent") << silent << Run(agent::readRadioConfiguration) << 4 << kNotResponding;
    QTest::newRow("configuration write, echo differs")
        << FaultSetter([](sim::Faults &f) { f.wrongEchoObjects = {QStringLiteral("TestModeRadioConfiguration")}; })
        << Run(agent::writeRadioConfiguration) << 4 << kNotResponding;
    QTest::newRow("configuration write, refused") << refused << Run(agent::writeRadioConfiguration) << 4
                                                  << kNotResponding;
}

void TestRadioTestSteps::failingActionRunsFourTimes()
{
    QFETCH(FaultSetter, fault);
    QFETCH(Run, run);
    QFETCH(int, requests);
    QFETCH(QString, text);
    SessionFixture f;
    QVERIFY(f.connectAndRead());
    setTestDefaults();
    config::store().TestModeRadioConfiguration = QStringLiteral("8081828384858687888990919293");
    QVERIFY(f.session->SetTestMode());
    f.session->link().setTimeScale(0.02);  // a silent device costs 20 ms a request
    fault(f.ap.faults);
    f.ap.clearReceivedRequests();

    qint16 retries = -1;
    const agent::RadioOutcome outcome = run(*f.session, retries);
    QCOMPARE(outcome.text, text);
    QVERIFY(!outcome.ok);
    QCOMPARE(retries, qint16(agent::kRadioRetryLimit));
    QCOMPARE(f.ap.receivedRequests().size(), requests);
}

void TestRadioTestSteps::radioConfigurationRoundTrip()
{
    SessionFixture f;
    QVERIFY(f.connectAndRead());
    // Channel 2 left with one empty place, channel 3 with two: they go as
    // the byte of their leading digits, and come back as such.
    config::store().TestModeRadioConfiguration = QStringLiteral("80C___838485868788898A8B8C8D");
    qint16 retries = -1;
    QCOMPARE(agent::writeRadioConfiguration(*f.session, retries).text, QStringLiteral("Radio configuration set"));
    QCOMPARE(f.ap.value(QStringLiteral("TestModeRadioConfiguration")),
             Value::octets(QByteArray::fromHex("800C00838485868788898A8B8C8D")));
    config::store().TestModeRadioConfiguration.clear();
    QCOMPARE(agent::readRadioConfiguration(*f.session, retries).text, QStringLiteral("Radio configuration retrieved"));
    QCOMPARE(config::store().TestModeRadioConfiguration, QStringLiteral("800C00838485868788898A8B8C8D"));
}

void TestRadioTestSteps::timeOutsAtTheRealPace()
{
    SessionFixture f;
    QVERIFY(f.connectAndRead());
    setTestDefaults();
    const struct {
        std::function<bool()> step;
        int timeoutMs;
    } steps[] = {
        {[&f] { return f.session->SetTestMode(); }, 2000},
        {[&f] { return f.session->SetTestModeValues(4); }, 1000},
        {[&f] { return f.session->SetRadioConfigurationValues(); }, 1000},
    };
    for (const auto &s : steps) {
        s.step();
        QCOMPARE(f.session->Manager1.Timeout, s.timeoutMs);
    }
}

QTEST_GUILESS_MAIN(TestRadioTestSteps)
#include "test_radio_test_steps.moc"
