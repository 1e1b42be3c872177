// The identity read: one GET of the description, the identity block, the
// channel and the ESSID, checked as a full read checks them, and nothing
// of it in the device's store.

#include "agent/identity_job.h"
#include "config/encodings.h"
#include "sim/simulated_access_point.h"
#include "snmp/request_engine.h"

#include <QtTest>

using agent::JobResult;
using snmp::Value;

class TestIdentityJob : public QObject {
    Q_OBJECT
private slots:
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
        QTest::newRow("refused") << "operESSID" << "refused" << int(JobResult::Refused) << "";
        QTest::newRow("silent") << "sysDescr" << "silent" << int(JobResult::Timeout) << "";
    }

    void identity()
    {
        QFETCH(QString, object);
        QFETCH(QString, fault);
        QFETCH(int, error);
        QFETCH(QString, at);
        snmp::RequestEngine engine;
        sim::SimulatedAccessPoint ap;
        QVERIFY(engine.open(QHostAddress::LocalHost).ok && ap.start(QHostAddress::LocalHost, 0));
        ap.setValue(QStringLiteral("operChannelID"), Value::integer(11));
        ap.setValue(QStringLiteral("operESSID"), Value::octets("lab \xe9"));
        if (fault == "short")
            ap.faults.shortValueObjects.insert(object);
        else if (fault == "4 bytes")
            ap.faults.badValues.insert(object, Value::octets(QByteArray("\x00\x01\x02\x03", 4)));
        else if (fault == "refused")
            ap.faults.refusedObjects.insert(object, snmp::error_status::GenErr);
        else if (fault == "silent")
            ap.faults.silentObjects.insert(object);
        else if (!fault.isEmpty())
            ap.faults.badValues.insert(object, Value::integer(fault.toInt()));

        agent::Device device(engine, ap.mib());
        device.setAddress(ap.address().toString());
        device.setPort(ap.port());
        device.setCommunity(ap.community);
        device.setTimeScale(0.1);
        agent::IdentityJob job(device);
        QSignalSpy done(&job, &agent::Job::finished);
        job.start();
        QVERIFY(done.wait(5000));
        QCOMPARE(int(job.result().error), error);
        QCOMPARE(job.result().object ? job.result().object->name : QString(), at);

        // One GET naming the four objects (sent again only when unanswered).
        const QVector<snmp::Message> requests = ap.receivedRequests();
        QCOMPARE(requests.size(), fault == "silent" ? agent::IdentityJob::kTries : 1);
        QStringList names;
        for (const snmp::VarBind &vb : requests[0].pdu.varBinds)
            names << ap.mib().nameOf(snmp::oidToText(vb.name.mid(0, vb.name.size() - 1)));
        QCOMPARE(names, agent::IdentityJob::objectNames());
        // The channel and the ESSID stay out of the store, read or not.
        QCOMPARE(device.store().operChannelID, config::Integer(0));
        QVERIFY(!device.isRead(config::Group::WirelessOperational));
        if (error != JobResult::NoError)
            return;

        const agent::DeviceIdentity &id = job.identity();
        QCOMPARE(id.description, config::textFromOctets(ap.value(QStringLiteral("sysDescr")).bytes));
        QCOMPARE(id.channel, 11);
        QCOMPARE(id.essid, QStringLiteral("lab \u00e9"));
        QCOMPARE(id.defaultMACAddress.size(), 12);
        QVERIFY(!id.manufactureName.isEmpty());
        QVERIFY(!id.manufactureName.endsWith(QChar(0)) && !id.manufactureName.endsWith(QLatin1Char(' ')));
    }
};

QTEST_GUILESS_MAIN(TestIdentityJob)
#include "test_identity_job.moc"
