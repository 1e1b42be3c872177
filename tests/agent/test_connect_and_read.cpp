// The console's session: connecting, discovery and the full read with its
// retries, end to end over the loopback interface against the simulated
// access point, watched on the wire and in what the session reports.

#include "session_fixture.h"

#include <QFile>
#include <QNetworkDatagram>
#include <QTemporaryDir>
#include <QUdpSocket>

using snmp::Value;
using R = agent::SessionReport;

namespace {

// Answers every probe that reaches `listener` from another address, with the
// probe's own request id: a host that guesses the id.
struct ImpostorAnswers {
    ImpostorAnswers(const QHostAddress &listenOn, quint16 port, const QHostAddress &answerFrom)
    {
        QVERIFY(listener.bind(listenOn, port));
        QVERIFY(speaker.bind(answerFrom, port));
        QObject::connect(&listener, &QUdpSocket::readyRead, &listener, [this] {
            while (listener.hasPendingDatagrams()) {
                const QNetworkDatagram datagram = listener.receiveDatagram();
                const snmp::DecodeResult decoded = snmp::decodeMessage(datagram.data());
                if (!decoded.ok())
                    continue;
                snmp::Message answer = *decoded.message;
                answer.pdu.type = snmp::PduType::GetResponse;
                answer.pdu.varBinds[0].value = Value::octets("ABCDE impostor");
                speaker.writeDatagram(snmp::encodeMessage(answer), datagram.senderAddress(),
                                      quint16(datagram.senderPort()));
                ++answered;
            }
        });
    }
    QUdpSocket listener;
    QUdpSocket speaker;
    int answered = 0;
};

}  // namespace

class TestConnectAndRead : public QObject {
    Q_OBJECT
private slots:
    void fullReadOfAHealthyDevice()
    {
        SessionFixture f;
        QCOMPARE(f.events(), Events{R::ManagerOpened});
        QSignalSpy enabled(f.session.get(), &agent::DeviceSession::deviceCommandsEnabledChanged);
        QSignalSpy trapMark(f.session.get(), &agent::DeviceSession::trapSwitchCheckedChanged);
        f.ap.community = "lab-rw";  // a device whose community is not the factory one
        // The firmware text drops the first five characters and keeps thirty.
        f.ap.setValue(QStringLiteral("sysDescr"), Value::octets("ABCDE123456789012345678901234567890XYZ"));
        f.session->confirmConnect(QStringLiteral("127.0.0.1"), QStringLiteral("lab-rw"));
        WAIT_VERIFY(f.session->Connected());
        QCOMPARE(f.events().mid(1), (Events{R::Attempting, R::Found, R::Reading, R::AllRetrieved}));
        QCOMPARE(enabled.count(), 1);
        QCOMPARE(trapMark.count(), 1);
        QCOMPARE(trapMark[0][0].toBool(), true);
        QCOMPARE(f.session->AgentAddress(), QStringLiteral("127.0.0.1"));
        QCOMPARE(f.store().operIPAddress, QStringLiteral("127.0.0.1"));  // the device reports where it listens
        QCOMPARE(f.session->FirmwareVersionText(), QStringLiteral("Corvane123456789012345678901234567890"));

        // The probe and one GET per group, request ids one after the other,
        // every request with the community the user typed.
        const QVector<snmp::Message> requests = f.ap.receivedRequests();
        QCOMPARE(requests.size(), 9);
        for (int i = 0; i < requests.size(); ++i) {
            QCOMPARE(requests[i].pdu.requestId, qint32(i));
            QCOMPARE(requests[i].community, QByteArray("lab-rw"));
        }
        QTest::qWait(scaledMs(300));
        QCOMPARE(f.ap.receivedRequests().size(), 9);  // no retry follows a pass that got through
    }

    // A read that fails is passed again on Timer2, five times; only the last
    // pass says why, and nothing of the failed group stays in the store.
    void failedReadIsRepeatedAndSaysWhyOnce_data()
    {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("fault");  // "silent" or an integer value
        QTest::addColumn<int>("error");
        QTest::newRow("silent device info") << "sysDeviceInfo" << "silent" << int(agent::JobResult::Timeout);
        QTest::newRow("traps 0") << "sysTrapSwitch" << "0" << int(agent::JobResult::Rejected);
    }

    void failedReadIsRepeatedAndSaysWhyOnce()
    {
        QFETCH(QString, object);
        QFETCH(QString, fault);
        QFETCH(int, error);
        // Each pass sends a silent group's request three times.
        SessionFixture f(fault == QLatin1String("silent") ? kTestTimeScale / 4 : kTestTimeScale);
        if (fault == QLatin1String("silent"))
            f.ap.faults.silentObjects.insert(object);
        else
            f.ap.faults.badValues.insert(object, Value::integer(fault.toInt()));
        f.session->confirmConnect(QStringLiteral("127.0.0.1"), QStringLiteral("kavrel"));
        QVERIFY(f.settled());
        QCOMPARE(f.count(R::Reading), 6);
        QCOMPARE(f.count(R::ReadFailed), 1);
        QCOMPARE(f.last().event, R::ReadFailed);
        QCOMPARE(int(f.last().result.error), error);
        QCOMPARE(f.last().result.group, config::objectNamed(object)->group);
        QCOMPARE(f.session->readFailure().has_value(), true);
        QVERIFY(!f.session->Connected());
        QCOMPARE(f.session->managedDevice(), QString());  // found, never read: none of its traps is heard
        QVERIFY(!f.session->device().isRead(*config::objectNamed(object)->group));
    }

    // A request lost on the way, or answered after its time-out, is sent
    // again within the pass, as it was: the connect gets through.
    void lossyLinkStillConnects_data()
    {
        QTest::addColumn<int>("lateMs");  // the device information answered this late (device's pace)
        QTest::addColumn<double>("dropRatio");
        QTest::newRow("answer after the time-out") << 1200 << 0.0;
        QTest::newRow("a third of the requests lost") << 0 << 0.33;
    }

    void lossyLinkStillConnects()
    {
        QFETCH(int, lateMs);
        QFETCH(double, dropRatio);
        SessionFixture f;
        f.ap.faults.slowObjects.insert(QStringLiteral("sysDeviceInfo"), scaledMs(lateMs));
        f.ap.faults.dropRatio = dropRatio;
        f.ap.seedRandom(17);
        f.session->confirmConnect(QStringLiteral("127.0.0.1"), QStringLiteral("kavrel"));
        QVERIFY(testing::waitFor([&] { return f.session->Connected(); }, 20000));
        QCOMPARE(f.count(R::Reading), 1);
        QHash<qint32, QStringList> sentWithId;
        int resent = 0;
        for (const snmp::Message &request : f.ap.receivedRequests()) {
            const QStringList names = f.namesOf(request);
            if (names == QStringList{"sysDescr"})
                continue;  // the probe's watchdog sends new requests
            resent += sentWithId.contains(request.pdu.requestId);
            QCOMPARE(sentWithId.value(request.pdu.requestId, names), names);
            sentWithId.insert(request.pdu.requestId, names);
        }
        QCOMPARE(sentWithId.size(), 8);
        QVERIFY(resent > 0);
    }

    // What one attempt leaves must not shape the next: its retries, and the
    // reason a send of it was refused.
    void secondAttemptStartsAfresh_data()
    {
        QTest::addColumn<QString>("firstAddress");
        QTest::addColumn<QString>("fault");  // of the device during both attempts
        QTest::addColumn<int>("event");      // how the second attempt ends
        QTest::addColumn<int>("requests");   // that reach the device during it
        QTest::newRow("after a refused send: six probes again, its text gone") << "192.168.1.250" << "silent" << int(R::NotFound) << 6;
        // The probe, then six passes that stop at the trap switch.
        QTest::newRow("after a failed read: six passes again")
            << "127.0.0.1" << "traps 0" << int(R::ReadFailed) << 1 + 6 * 5;
    }

    void secondAttemptStartsAfresh()
    {
        QFETCH(QString, firstAddress);
        QFETCH(QString, fault);
        QFETCH(int, event);
        QFETCH(int, requests);
        SessionFixture f(kTestTimeScale / 4);
        f.ap.faults.silent = fault == QLatin1String("silent");
        if (fault == QLatin1String("traps 0"))
            f.ap.faults.badValues.insert(QStringLiteral("sysTrapSwitch"), Value::integer(0));
        f.session->confirmConnect(firstAddress, QStringLiteral("kavrel"));
        QVERIFY(f.settled());
        f.ap.clearReceivedRequests();
        f.session->confirmConnect(QStringLiteral("127.0.0.1"), QStringLiteral("kavrel"));
        QVERIFY(f.settled());
        QCOMPARE(int(f.last().event), event);
        QVERIFY(f.last().result.error != agent::JobResult::NotAllowed);
        QCOMPARE(f.ap.receivedRequests().size(), requests);
    }

    // After a connect to another address failed, nothing goes to the device
    // managed before: it is let go of as the connect starts.
    void failedConnectLetsGoOfTheDevice()
    {
        SessionFixture f(kTestTimeScale / 4);
        QVERIFY(f.connectAndRead());
        QCOMPARE(f.session->managedDevice(), QStringLiteral("127.0.0.1"));
        QSignalSpy managed(f.session.get(), &agent::DeviceSession::managedDeviceChanged);
        f.session->confirmConnect(QStringLiteral("127.0.0.9"), QStringLiteral("kavrel"));
        QCOMPARE(managed.value(0).value(0).toString(), QString());
        QVERIFY(f.settled());
        QCOMPARE(f.last().event, R::NotFound);
        f.ap.clearReceivedRequests();
        f.session->mnuCommandsReset_Click();
        QCOMPARE(f.last().event, R::NoDevice);
        f.session->SavePara();
        QCOMPARE(f.last().event, R::NoDevice);
        f.session->applyPolling(1);
        QTest::qWait(250);  // five ticks at this pace
        QCOMPARE(f.ap.receivedRequests().size(), 0);
        QCOMPARE(f.questioner.questions, QStringList());
    }

    void noAnswerGivesSixProbes_data()
    {
        QTest::addColumn<QString>("address");  // empty: a scan
        QTest::addColumn<int>("errorStatus");
        QTest::addColumn<int>("probes");  // that reach the device
        QTest::addColumn<int>("watchdogMs");
        QTest::newRow("silent device") << "127.0.0.1" << 0 << 6 << 1200;
        QTest::newRow("silent device, scan") << "" << 0 << 6 << 1500;
        QTest::newRow("error status is no answer") << "127.0.0.1" << 5 << 6 << 1200;
        QTest::newRow("not an address: the attempt ends") << "not an address" << 0 << 0 << 0;
    }

    void noAnswerGivesSixProbes()
    {
        QFETCH(QString, address);
        QFETCH(int, errorStatus);
        QFETCH(int, probes);
        QFETCH(int, watchdogMs);
        const double scale = kTestTimeScale / 4;  // nothing answers: nothing to wait for
        SessionFixture f(scale);
        f.ap.faults.silent = errorStatus == 0;
        f.ap.faults.errorStatus = errorStatus;
        QSignalSpy cursor(f.session.get(), &agent::DeviceSession::busyCursorChanged);
        if (address.isEmpty())
            f.session->startScan();
        else
            f.session->confirmConnect(address, QStringLiteral("kavrel"));
        WAIT_COMPARE_WITH_TIMEOUT(f.last().event, R::NotFound, 10000);
        QCOMPARE(f.arrivals.size(), probes);
        for (int i = 1; i < f.arrivals.size(); ++i) {
            const qint64 gap = f.arrivals[i] - f.arrivals[i - 1];
            QVERIFY2(gap >= watchdogMs * scale * 0.9 && gap <= watchdogMs * scale + 150,
                     qPrintable(QStringLiteral("gap %1 ms").arg(gap)));
        }
        QCOMPARE(cursor.last()[0].toBool(), false);
        QVERIFY(!f.session->deviceWorkRunning());
        QTest::qWait(int(2 * watchdogMs * scale));
        QCOMPARE(f.arrivals.size(), probes);
    }

    void onlyTheAddressedDeviceConnects()
    {
        // Nothing answers at 127.0.0.2; a host at 127.0.0.3 answers every probe
        // sent there with the right request id.
        SessionFixture f(kTestTimeScale / 2);
        ImpostorAnswers impostor(QHostAddress(QStringLiteral("127.0.0.2")), f.ap.port(),
                                 QHostAddress(QStringLiteral("127.0.0.3")));
        f.session->confirmConnect(QStringLiteral("127.0.0.2"), QStringLiteral("kavrel"));
        WAIT_COMPARE_WITH_TIMEOUT(f.last().event, R::NotFound, 10000);
        QCOMPARE(impostor.answered, 6);
        QCOMPARE(f.session->AgentAddress(), QString());
    }

    void lateProbeAnswerStillConnects()
    {
        // The first probe's answer arrives after the watchdog sent the second:
        // the device is found, and read once.
        SessionFixture f;
        f.ap.faults.slowObjects.insert(QStringLiteral("sysDescr"), scaledMs(1300));
        QVERIFY(f.connectAndRead());
        QCOMPARE(f.count(R::Reading), 1);
        QCOMPARE(f.requestsNaming(QStringLiteral("sysDeviceInfo")).size(), 1);
        QCOMPARE(f.requestsNaming(QStringLiteral("sysDescr")).size(), 2);  // the watchdog did probe again
    }

    void scanTakesTheDeviceThatAnswers()
    {
        SessionFixture f;
        QSignalSpy closeDialog(f.session.get(), &agent::DeviceSession::connectDialogCloseRequested);
        f.session->startScan();
        WAIT_VERIFY_WITH_TIMEOUT(f.session->Connected(), 5000);
        QCOMPARE(closeDialog.count(), 1);
        QCOMPARE(f.session->AgentAddress(), QStringLiteral("127.0.0.1"));
        QCOMPARE(f.session->FirmwareVersionText(), QString());  // only a connect sets it
        QCOMPARE(f.count(R::Found), 1);
        QCOMPARE(f.last().event, R::AllRetrieved);
        QCOMPARE(f.ap.receivedRequests().first().community, QByteArray("kavrel"));  // the factory one
    }

    void duplicatesNeverStartASecondPass()
    {
        SessionFixture f;
        f.ap.faults.duplicateAnswers = 2;
        f.ap.faults.lateDuplicateMs = 30;
        f.ap.setValue(QStringLiteral("sysDescr"), Value::octets("ABCDE"));
        QVERIFY(f.connectAndRead());
        QCOMPARE(f.session->FirmwareVersionText(), QStringLiteral("Corvane"));  // five characters or fewer
        QTest::qWait(300);
        QCOMPARE(f.ap.receivedRequests().size(), 9);
        QCOMPARE(f.count(R::Reading), 1);
        QCOMPARE(f.count(R::Found), 1);
    }

    // The MIB travels inside the program; a CorvaneMIB.mib file beside it
    // is read instead, even one that cannot be used (then nothing is sent).
    void mibFileOrBuiltIn_data()
    {
        QTest::addColumn<QByteArray>("fileText");  // null: no file
        QTest::newRow("no file: the built-in MIB") << QByteArray();
        QTest::newRow("a file beside the program wins") << QByteArray("BROKEN-MIB DEFINITIONS ::= BEGIN\n");
    }

    void mibFileOrBuiltIn()
    {
        QFETCH(QByteArray, fileText);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("CorvaneMIB.mib"));
        if (!fileText.isNull()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(fileText);
        }
        SessionFixture f(kTestTimeScale, path);
        if (fileText.isNull()) {
            QVERIFY(f.connectAndRead());
            return;
        }
        QCOMPARE(f.last().event, R::MibMissing);
        QVERIFY(f.last().detail.contains(path));
        f.session->confirmConnect(QStringLiteral("127.0.0.1"), QStringLiteral("kavrel"));
        QVERIFY(f.settled());
        QCOMPARE(f.last().event, R::MibMissing);  // not "not found", not "Reading..."
        QCOMPARE(f.ap.receivedRequests().size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestConnectAndRead)
#include "test_connect_and_read.moc"
