// The jobs on the device core alone (no window, no session): what each
// reports as its typed result, what it leaves in the device's store, and
// what reaches the simulated access points on the wire. (The full read's
// requests and their order: test_connect_and_read.)

#include "agent/identity_job.h"
#include "agent/probe_job.h"
#include "agent/read_job.h"
#include "config/encodings.h"
#include "sim/sim_test_support.h"
#include "snmp/request_engine.h"
#include "support/event_wait.h"

#include <QNetworkDatagram>
#include <QUdpSocket>
#include <QtTest>
#include <memory>

using agent::JobResult;
using snmp::Value;

namespace {

// A device at `ap` on `engine`, at a fifth of the device's pace.
std::unique_ptr<agent::Device> deviceAt(snmp::RequestEngine &engine, const sim::SimulatedAccessPoint &ap)
{
    auto device = std::make_unique<agent::Device>(engine, ap.mib());
    device->setAddress(ap.address().toString());
    device->setPort(ap.port());
    device->setCommunity(ap.community);
    device->setTimeScale(0.2);
    return device;
}

// Runs the job to its end; its result.
JobResult finished(agent::Job &job, int timeoutMs = 10000)
{
    QSignalSpy done(&job, &agent::Job::finished);
    job.start();
    if (!done.wait(timeoutMs))
        qFatal("job did not finish");
    return done.first().first().value<JobResult>();
}

struct Fixture {
    Fixture()
    {
        if (!engine.open().ok || !ap.start(QHostAddress::LocalHost, 0))
            qFatal("engine or simulated access point did not start");
        device = deviceAt(engine, ap);
    }
    snmp::RequestEngine engine;
    sim::SimulatedAccessPoint ap;
    std::unique_ptr<agent::Device> device;
};

}  // namespace

class TestJobs : public QObject {
    Q_OBJECT
private slots:
    // Why a read failed, in terms a window, a script or an exporter can use;
    // the group that failed stays out of the store.
    void readFailures_data()
    {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("at");  // the object named by the result
        QTest::newRow("silent") << "operIPMask" << "silent" << int(JobResult::Timeout) << "";
        QTest::newRow("channel 15") << "operChannelID" << "15" << int(JobResult::Rejected) << "operChannelID";
        QTest::newRow("key of 4 bytes") << "defaultWEPKey3" << "short" << int(JobResult::Malformed) << "defaultWEPKey3";
        QTest::newRow("answer names another object") << "operIPMask" << "misnamed" << int(JobResult::Malformed) << "";
        QTest::newRow("error status") << "privacyWEPEnable" << "refused" << int(JobResult::Refused) << "";
    }

    void readFailures()
    {
        QFETCH(QString, object);
        QFETCH(QString, fault);
        QFETCH(int, error);
        QFETCH(QString, at);
        Fixture f;
        if (fault == "silent")
            f.ap.faults.silentObjects.insert(object);
        else if (fault == "misnamed")
            f.ap.faults.misnamedObjects.insert(object);
        else if (fault == "refused")
            f.ap.faults.refusedObjects.insert(object, snmp::error_status::GenErr);
        else if (fault == "short")
            f.ap.faults.badValues.insert(object, Value::octets(QByteArray(4, '\x11')));
        else
            f.ap.faults.badValues.insert(object, Value::integer(fault.toInt()));
        f.device->store().operChannelID = 99;
        std::unique_ptr<agent::ReadJob> read(agent::ReadJob::fullRead(*f.device));
        const JobResult result = finished(*read);
        QCOMPARE(int(result.error), error);
        const config::Group group = *config::objectNamed(object)->group;
        QCOMPARE(result.group, std::optional(group));
        QCOMPARE(result.object ? result.object->name : QString(), at);
        if (result.error == JobResult::Refused)
            QCOMPARE((QList<int>{result.errorStatus, result.errorIndex}), (QList<int>{5, 6}));
        QVERIFY(!f.device->isRead(group));
        QVERIFY(f.device->isRead(config::Group::HardConf));
        QCOMPARE(f.device->store().operChannelID, group == config::Group::WirelessOperational ? 99 : 6);
    }

    // Two devices on one engine, read at the same time: each store holds
    // its own device's values, each device counts its own request ids, and
    // an edit of one is no edit of the other.
    void twoDevicesShareNothing()
    {
        snmp::RequestEngine engine;
        QVERIFY(engine.open(QHostAddress::LocalHost).ok);
        sim::SimulatedAccessPoint first, second;
        QVERIFY(first.start(QHostAddress(QStringLiteral("127.0.0.1")), 0));
        QVERIFY(second.start(QHostAddress(QStringLiteral("127.0.0.2")), 0));
        second.setValue(QStringLiteral("operESSID"), Value::octets("second"));
        second.faults.delayMs = 20;
        const auto one = deviceAt(engine, first), two = deviceAt(engine, second);
        std::unique_ptr<agent::Job> reads[] = {std::unique_ptr<agent::Job>(agent::ReadJob::fullRead(*one)),
                                               std::unique_ptr<agent::Job>(agent::ReadJob::fullRead(*two))};
        reads[1]->start();
        QCOMPARE(finished(*reads[0]).ok(), true);
        WAIT_VERIFY(reads[1]->isFinished());
        QVERIFY(reads[1]->result().ok());
        QCOMPARE(one->store().operESSID, QStringLiteral("corvane"));
        QCOMPARE(two->store().operESSID, QStringLiteral("second"));
        QCOMPARE(two->store().operIPAddress, QStringLiteral("127.0.0.2"));
        QCOMPARE(first.receivedRequests().last().pdu.requestId, 7);
        QCOMPARE(second.receivedRequests().last().pdu.requestId, 7);

        const config::ConfigurationStore before = one->store();
        one->store().operChannelID = 3;
        one->noteEdits(config::Group::WirelessOperational, before);
        QVERIFY(one->editsWaiting());
        QVERIFY(!two->editsWaiting());
    }

    // A scan takes every device that answers, each once.
    void scanFindsEveryResponder()
    {
        Fixture f;
        // A second device at 127.0.0.2 answers every probe the first one sees.
        QUdpSocket second;
        QVERIFY(second.bind(QHostAddress(QStringLiteral("127.0.0.2")), f.ap.port()));
        QObject::connect(&f.ap, &sim::SimulatedAccessPoint::requestReceived, &second, [&](const snmp::Message &request) {
            snmp::Message answer = request;
            answer.pdu.type = snmp::PduType::GetResponse;
            answer.pdu.varBinds[0].value = Value::octets("ABCDE second device");
            second.writeDatagram(snmp::encodeMessage(answer), QHostAddress::LocalHost, f.engine.localPort());
        });
        std::unique_ptr<agent::ProbeJob> scan(agent::ProbeJob::scan(*f.device, QStringLiteral("127.0.0.1")));
        QVERIFY(finished(*scan).ok());
        QStringList found;
        for (const agent::ProbeJob::Responder &responder : scan->responders())
            found << responder.address.toString();
        found.sort();
        QCOMPARE(found, (QStringList{"127.0.0.1", "127.0.0.2"}));
        QCOMPARE(f.ap.receivedRequests().size(), 1);  // no more probes once devices answered
    }
    // The identity read: one GET of the description, the identity block, the
    // channel and the ESSID, checked as a full read checks them, and nothing
    // of it in the device's store.
    void identity_data()
    {
        QTest::addColumn<QString>("object");  // the object the device gets wrong
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("at");
        QTest::newRow("answered") << "" << "" << int(JobResult::NoError) << "";
        QTest::newRow("channel 15") << "operChannelID" << "15" << int(JobResult::Rejected) << "operChannelID";
        QTest::newRow("identity block a byte short") << "sysDeviceInfo" << "short" << int(JobResult::Rejected)
                                                     << "sysDeviceInfo";
        QTest::newRow("identity block of 4 bytes") << "sysDeviceInfo" << "4 bytes" << int(JobResult::Malformed)
                                                   << "sysDeviceInfo";
        QTest::newRow("silent") << "sysDescr" << "silent" << int(JobResult::Timeout) << "";
    }

    void identity()
    {
        QFETCH(QString, object);
        QFETCH(QString, fault);
        QFETCH(int, error);
        QFETCH(QString, at);
        Fixture f;
        f.ap.setValue(QStringLiteral("operChannelID"), Value::integer(11));
        f.ap.setValue(QStringLiteral("operESSID"), Value::octets("lab \xe9"));
        if (fault == "short")
            f.ap.faults.shortValueObjects.insert(object);
        else if (fault == "4 bytes")
            f.ap.faults.badValues.insert(object, Value::octets(QByteArray("\x00\x01\x02\x03", 4)));
        else if (fault == "silent")
            f.ap.faults.silentObjects.insert(object);
        else if (!fault.isEmpty())
            f.ap.faults.badValues.insert(object, Value::integer(fault.toInt()));
        f.device->setTimeScale(0.1);
        agent::IdentityJob job(*f.device);
        QCOMPARE(int(finished(job).error), error);
        QCOMPARE(job.result().object ? job.result().object->name : QString(), at);

        // One GET naming the four objects (sent again only when unanswered).
        const QVector<snmp::Message> requests = f.ap.receivedRequests();
        QCOMPARE(requests.size(), fault == "silent" ? agent::IdentityJob::kTries : 1);
        QCOMPARE(simtest::objectNames(f.ap, requests[0]), agent::IdentityJob::objectNames());
        // The channel and the ESSID stay out of the store, read or not.
        QCOMPARE(f.device->store().operChannelID, config::Integer(0));
        QVERIFY(!f.device->isRead(config::Group::WirelessOperational));
        if (error != JobResult::NoError)
            return;

        const agent::DeviceIdentity &id = job.identity();
        QCOMPARE(id.description, config::textFromOctets(f.ap.value(QStringLiteral("sysDescr")).bytes));
        QCOMPARE(id.channel, 11);
        QCOMPARE(id.essid, QStringLiteral("lab \u00e9"));
        QCOMPARE(id.defaultMACAddress.size(), 12);
        QVERIFY(!id.manufactureName.isEmpty());
        QVERIFY(!id.manufactureName.endsWith(QChar(0)) && !id.manufactureName.endsWith(QLatin1Char(' ')));
    }
};

QTEST_GUILESS_MAIN(TestJobs)
#include "test_jobs.moc"
