// Connecting, discovery and the full configuration read, end to end over
// the loopback interface against the simulated access point.

#include "session_fixture.h"

#include "agent/session_texts.h"
#include "config/group_state.h"

#include <QFile>
#include <QNetworkDatagram>
#include <QTemporaryDir>
#include <QUdpSocket>

using snmp::Value;

namespace {
const QString kAttempting = QStringLiteral("Attempting to connect TARVO Wireless Network...");
const QString kFound = QStringLiteral("TARVO Wireless Network found ...");
const QString kReading = QStringLiteral("Reading configuration...");
const QString kAllRetrieved = QStringLiteral("All values retrieved.");
const QString kNotFound = QStringLiteral("TARVO Wireless Network not found...");

config::Group groupOf(const QString &object)
{
    for (config::Group group : config::fullReadOrder()) {
        for (const config::DeviceObject *o : config::describe(group).readOrder) {
            if (o->name == object)
                return group;
        }
    }
    qFatal("no group reads %s", qPrintable(object));
}

// Answers every probe that reaches `listener` from another address, with the
// probe's own request id: a host that guesses the id.
struct ImpostorAnswers {
    ImpostorAnswers(const QHostAddress &listenOn, quint16 port, const QHostAddress &answerFrom)
    {
        QVERIFY(listener.bind(listenOn, port));
        QVERIFY(speaker.bind(answerFrom, 0));
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
        QCOMPARE(f.statuses, QStringList{QStringLiteral("Manager opened successfully.")});
        QSignalSpy enabled(f.session.get(), &agent::DeviceSession::deviceCommandsEnabledChanged);
        QSignalSpy trapMark(f.session.get(), &agent::DeviceSession::trapSwitchCheckedChanged);
        f.ap.community = "lab-rw";  // a device whose community is not the factory one
        // The firmware text drops the first five characters and keeps thirty.
        f.ap.setValue(QStringLiteral("sysDescr"), Value::octets("ABCDE123456789012345678901234567890XYZ"));
        f.session->confirmConnect(QStringLiteral("127.0.0.1"), QStringLiteral("lab-rw"));
        QTRY_VERIFY(f.session->Connected);
        QCOMPARE(f.statuses.mid(1), (QStringList{kAttempting, kFound, kReading, kAllRetrieved}));
        QCOMPARE(enabled.count(), 1);
        QCOMPARE(trapMark.count(), 1);
        QCOMPARE(trapMark[0][0].toBool(), true);
        QVERIFY(!f.session->Timer2.isActive());
        QCOMPARE(f.session->AgentAddress, QStringLiteral("127.0.0.1"));
        QCOMPARE(f.session->ReadAttempt, qint16(0));
        QCOMPARE(config::store().operIPAddress, QStringLiteral("127.0.0.1"));  // the device reports where it listens
        QCOMPARE(f.session->FirmwareVersionText, QStringLiteral("Corvane123456789012345678901234567890"));

        // One GET per group, each naming its objects in order, request ids one
        // after the other, every request with the community the user typed.
        const QList<QStringList> expected = {{"sysDescr"}, {"sysDeviceInfo"},
            {"operChannelID", "operESSID", "operRTSThreshold", "operFragmentationThreshold", "operPreambleType",
             "operAuthenticationType", "operBasicRates", "operAutoRateFallBack"},
            {"operIPAddress", "operIPMask", "operEthernetAddress"},
            {"defaultWEPKey1", "defaultWEPKey2", "defaultWEPKey3", "defaultWEPKey4", "privacyDefaultWEPKeyID", "privacyWEPEnable"},
            {"sysTrapSwitch"}, {"bridgeOperationalMode", "bridgeRemoteBridgeBSSID"}, {"wirelessStatistics"},
            {"EthRxStatistics", "EthTxStatistics"}};
        const QVector<snmp::Message> requests = f.ap.receivedRequests();
        QCOMPARE(requests.size(), expected.size());
        for (int i = 0; i < requests.size(); ++i) {
            QCOMPARE(requests[i].pdu.type, snmp::PduType::GetRequest);
            QCOMPARE(f.namesOf(requests[i]), expected[i]);
            QCOMPARE(requests[i].pdu.requestId, qint32(i));
            QCOMPARE(requests[i].community, QByteArray("lab-rw"));
        }
    }

    void realIntervalsArePinned()
    {
        // At the device's own pace, with a device that answers at once: each
        // interval is read right after it was set, nothing waits for a timer.
        SessionFixture f(1.0);
        f.session->startScan();
        QCOMPARE(f.session->Timer1.interval(), 1500);
        QCOMPARE(f.session->Manager1.Timeout, 1000);
        QTRY_VERIFY(f.session->Connected);
        QCOMPARE(f.session->Timer2.interval(), 100);
        f.session->Timer1.stop();
        f.session->confirmConnect(QStringLiteral("127.0.0.1"), QStringLiteral("kavrel"));
        QCOMPARE(f.session->Timer1.interval(), 1200);
        QCOMPARE(f.session->Manager1.Timeout, 800);
        QVERIFY(f.settled());
        QCOMPARE(f.session->Manager1.Timeout, 1000);  // the readers'
        f.session->SavePara();
        QCOMPARE(f.session->SetTimer.interval(), 100);
        QCOMPARE(f.session->Manager1.Timeout, 10000);  // the reset's
    }

    void badAnswerShowsItsTextOnlyOnTheLastPass_data()
    {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("fault");  // "value" (the next column), "silent", "misnamed" or "refused"
        QTest::addColumn<Value>("value");
        QTest::addColumn<QString>("text");
        const Value none;
        auto notAll = [](int group) { return QStringLiteral("Network Error%1-Not all values retrieved.").arg(group); };
        QTest::newRow("silent device info") << "sysDeviceInfo" << "silent" << none << notAll(1);
        QTest::newRow("device info of 91 bytes") << "sysDeviceInfo" << "value" << Value::octets(QByteArray(91, 'x'))
                                                 << "Network Error-Not expected Device Information values.Try connect again.";
        QTest::newRow("traps 0") << "sysTrapSwitch" << "value" << Value::integer(0)
                                 << "Network Error-Not expected Traps values.Try connect again.";
        QTest::newRow("channel 15") << "operChannelID" << "value" << Value::integer(15)
                                    << "Network Error-Not expected Wireless Operational values.Try connect again.";
        QTest::newRow("WEP key of 4 bytes") << "defaultWEPKey3" << "value" << Value::octets(QByteArray(4, '\x11'))
                                            << notAll(4);
        QTest::newRow("mode 1, short BSSID") << "bridgeRemoteBridgeBSSID" << "value"
                                             << Value::octets(QByteArray(5, '\x22')) << notAll(7);
        QTest::newRow("short statistics") << "EthTxStatistics" << "value" << Value::octets(QByteArray(55, '\x01'))
                                          << notAll(10);
        // Values are taken by position: an answer naming other objects, or one
        // with an error status, is no answer to the group.
        QTest::newRow("answer names another object") << "operIPMask" << "misnamed" << none << notAll(3);
        QTest::newRow("answer with an error status") << "privacyWEPEnable" << "refused" << none << notAll(4);
    }

    void badAnswerShowsItsTextOnlyOnTheLastPass()
    {
        QFETCH(QString, object);
        QFETCH(QString, fault);
        QFETCH(Value, value);
        QFETCH(QString, text);
        // Each pass sends a silent group's request three times.
        SessionFixture f(fault == QLatin1String("silent") ? kTestTimeScale / 4 : kTestTimeScale);
        if (fault == QLatin1String("silent"))
            f.ap.faults.silentObjects.insert(object);
        else if (fault == QLatin1String("misnamed"))
            f.ap.faults.misnamedObjects.insert(object);
        else if (fault == QLatin1String("refused"))
            f.ap.faults.refusedObjects.insert(object, snmp::error_status::GenErr);
        else
            f.ap.setValue(object, value);
        if (object == QLatin1String("bridgeRemoteBridgeBSSID"))
            f.ap.setValue(QStringLiteral("bridgeOperationalMode"), Value::integer(1));
        f.session->confirmConnect(QStringLiteral("127.0.0.1"), QStringLiteral("kavrel"));
        QVERIFY(f.settled());
        QCOMPARE(f.statuses.count(kReading), 6);
        QCOMPARE(f.statuses.count(text), 1);
        QCOMPARE(f.statuses.last(), text);
        QCOMPARE(f.session->ReadAttempt, qint16(5));
        QVERIFY(!f.session->Connected);
        // Nothing of the refused answer stays in the store as if read.
        const config::Group group = groupOf(object);
        QVERIFY(config::sameGroup(group, config::store(), config::ConfigurationStore()));
        QVERIFY(!config::groupState().isRead(group));
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
        QVERIFY(QTest::qWaitFor([&] { return f.session->Connected; }, 20000));
        QCOMPARE(f.statuses.count(kReading), 1);
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

    // What one attempt leaves must not shape the next: its counters, and the
    // reason a send of it was refused.
    void secondAttemptStartsAfresh_data()
    {
        QTest::addColumn<QString>("firstAddress");
        QTest::addColumn<QString>("fault");  // of the device during both attempts
        QTest::addColumn<QString>("text");   // how the second attempt ends
        QTest::addColumn<int>("requests");   // that reach the device during it
        QTest::newRow("after no answer: six probes again") << "127.0.0.1" << "silent" << kNotFound << 6;
        QTest::newRow("after a refused send: its text goes") << "192.168.1.250" << "silent" << kNotFound << 6;
        // The probe, then six passes that stop at the trap switch.
        QTest::newRow("after a failed read: six passes again")
            << "127.0.0.1" << "traps 0" << "Network Error-Not expected Traps values.Try connect again." << 1 + 6 * 5;
    }

    void secondAttemptStartsAfresh()
    {
        QFETCH(QString, firstAddress);
        QFETCH(QString, fault);
        QFETCH(QString, text);
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
        QCOMPARE(f.session->statusText(), text);
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
        QCOMPARE(f.session->statusText(), kNotFound);
        f.ap.clearReceivedRequests();
        f.session->mnuCommandsReset_Click();
        QCOMPARE(f.session->statusText(), agent::text::noDevice);
        f.session->mnuFileSave_Click();
        QCOMPARE(f.session->statusText(), agent::text::noDevice);
        f.session->polling().PollingTimer_Timer();
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
        QTRY_COMPARE_WITH_TIMEOUT(f.session->statusText(), kNotFound, 10000);
        QCOMPARE(f.arrivals.size(), probes);
        for (int i = 1; i < f.arrivals.size(); ++i) {
            const qint64 gap = f.arrivals[i] - f.arrivals[i - 1];
            QVERIFY2(gap >= watchdogMs * scale * 0.9 && gap <= watchdogMs * scale + 150,
                     qPrintable(QStringLiteral("gap %1 ms").arg(gap)));
        }
        QVERIFY(!f.session->AgentFound);
        QCOMPARE(cursor.last()[0].toBool(), false);
        QVERIFY(!f.session->Timer1.isActive());
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
        QTRY_COMPARE_WITH_TIMEOUT(f.session->statusText(), kNotFound, 10000);
        QCOMPARE(impostor.answered, 6);
        QVERIFY(!f.session->AgentFound);
        QCOMPARE(f.session->AgentAddress, QString());
    }

    void lateProbeAnswerWaitsForTheOutstandingOne()
    {
        // The first probe's answer arrives after its time-out, while the
        // watchdog's second probe is still waiting: the device is found, and
        // the first pass must not fail on a manager that is still busy.
        SessionFixture f;
        f.ap.faults.slowObjects.insert(QStringLiteral("sysDescr"), scaledMs(1300));
        QVERIFY(f.connectAndRead());
        QCOMPARE(f.session->ReadAttempt, qint16(0));
        QCOMPARE(f.statuses.count(kReading), 1);
        QCOMPARE(f.requestsNaming(QStringLiteral("sysDeviceInfo")).size(), 1);
        QCOMPARE(f.requestsNaming(QStringLiteral("sysDescr")).size(), 2);  // the watchdog did probe again
    }

    void scanTakesTheFirstResponder()
    {
        SessionFixture f;
        QSignalSpy closeDialog(f.session.get(), &agent::DeviceSession::connectDialogCloseRequested);
        // A second "device" answers every probe too, a little later.
        QUdpSocket second;
        QVERIFY(second.bind(QHostAddress(QStringLiteral("127.0.0.2")), 0));
        QObject::connect(&f.ap, &sim::SimulatedAccessPoint::requestReceived, &second, [&](const snmp::Message &request) {
            if (f.namesOf(request) != QStringList{QStringLiteral("sysDescr")})
                return;
            snmp::Message answer = request;
            answer.pdu.type = snmp::PduType::GetResponse;
            answer.pdu.varBinds[0].value = Value::octets("Other device, somewhere else");
            const QByteArray bytes = snmp::encodeMessage(answer);
            QTimer::singleShot(20, &second, [&second, bytes, &f] {
                second.writeDatagram(bytes, QHostAddress::LocalHost, f.session->Manager1.LocalPort());
            });
        });
        f.session->startScan();
        QTRY_VERIFY_WITH_TIMEOUT(f.session->Connected, 5000);
        QCOMPARE(closeDialog.count(), 1);
        QTest::qWait(100);
        QCOMPARE(f.session->AgentAddress, QStringLiteral("127.0.0.1"));
        QCOMPARE(f.session->FirmwareVersionText, QString());  // only a connect sets it
        QCOMPARE(f.statuses.count(kFound), 1);
        QCOMPARE(f.statuses.last(), kAllRetrieved);
        QCOMPARE(f.ap.receivedRequests().first().community, QByteArray("kavrel"));  // the factory one
    }

    void duplicatesNeverStartASecondPass()
    {
        SessionFixture f;
        f.ap.faults.duplicateAnswers = 2;
        f.ap.faults.lateDuplicateMs = 30;
        f.ap.setValue(QStringLiteral("sysDescr"), Value::octets("ABCDE"));
        QVERIFY(f.connectAndRead());
        QCOMPARE(f.session->FirmwareVersionText, QStringLiteral("Corvane"));  // five characters or fewer
        QTest::qWait(300);
        QCOMPARE(f.ap.receivedRequests().size(), 9);
        QTRY_COMPARE(f.session->Manager1.unmatchedResponses(), 27);  // the copies did arrive
        QCOMPARE(f.statuses.count(kReading), 1);
        QCOMPARE(f.statuses.count(kFound), 1);
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
        QVERIFY(f.session->statusText().contains(path));
        f.session->confirmConnect(QStringLiteral("127.0.0.1"), QStringLiteral("kavrel"));
        QVERIFY(f.settled());
        QVERIFY(f.session->statusText().contains(QLatin1String("MIB")));  // not "not found", not "Reading..."
        QCOMPARE(f.ap.receivedRequests().size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestConnectAndRead)
#include "test_connect_and_read.moc"
