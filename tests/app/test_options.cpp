// The options dialog: the slider changes the stored interval as it moves,
// only OK starts or stops polling, and trap saving follows the check box;
// the command line's ports take their range's ends and nothing beyond.

#include "app_test_support.h"

#include "settings/command_line_options.h"
#include "app/frm_options.h"
#include "config/configuration_store.h"
#include "sim/simulated_access_point.h"
#include "dialogs/dialog_test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QSlider>
#include <QtTest>

namespace {

// "slider step|label|check box" as the dialog shows them.
QString shown(QWidget *dialog)
{
    return QStringLiteral("%1|%2|%3")
        .arg(control<QSlider>(dialog, "PollingSlider")->value())
        .arg(control<QLabel>(dialog, "PollingIntervalLabel")->text())
        .arg(control<QCheckBox>(dialog, "SaveTrapsCheck")->isChecked() ? "ticked" : "clear");
}

}  // namespace

class TestOptions : public QObject {
    Q_OBJECT
private slots:
    void commandLinePorts_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("agentPort");  // 0: refused
        QTest::newRow("agent port 1") << QStringList{"--agent-port", "1"} << 1;
        QTest::newRow("agent port 65535") << QStringList{"--agent-port", "65535"} << 65535;
        QTest::newRow("agent port 0") << QStringList{"--agent-port", "0"} << 0;
        QTest::newRow("agent port 65536") << QStringList{"--agent-port", "65536"} << 0;
        QTest::newRow("trap port 65535") << QStringList{"--trap-port", "65535"} << 161;
        QTest::newRow("trap port 65536") << QStringList{"--trap-port", "65536"} << 0;
    }

    void commandLinePorts()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, agentPort);
        const settings::CommandLineResult result = settings::parseCommandLine(QStringList{"corvane-manager"} + arguments);
        QCOMPARE(result.action == settings::CommandLineResult::Action::Run, agentPort != 0);
        if (agentPort != 0)
            QCOMPARE(int(result.options.session.agentPort), agentPort);
    }

    void menuOpensItModal()
    {
        testing::ScratchSettings settings;
        frmMain window(testing::loopbackOptions(testing::freeUdpPort()));
        window.MDIForm_Load();
        window.show();
        QString opened;
        QTimer::singleShot(0, &window, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            QVERIFY(modal);
            opened = QStringList{modal->objectName(), modal->windowTitle(), control<QLabel>(modal, "Label4")->text(),
                                 control<QCheckBox>(modal, "SaveTrapsCheck")->text(),
                                 control<QAbstractButton>(modal, "OKCommand")->text(),
                                 control<QAbstractButton>(modal, "CancelCommand")->text()}
                         .join('|')
                         .remove('&');  // the access keys' marks (checked in tst_dialog_usability)
            QCOMPARE(control<QLabel>(modal, "Label4")->buddy(), control<QSlider>(modal, "PollingSlider"));
            QCOMPARE(control<QSlider>(modal, "PollingSlider")->maximum(), 6);
            qobject_cast<QDialog *>(modal)->reject();
        });
        window.mnuFileOptions->trigger();  // returns when the dialog closes
        QCOMPARE(opened, QStringLiteral("frmOptions| Options|Polling Interval| Save Traps To File|OK|Cancel"));
    }

    void okAndCancel_data()
    {
        QTest::addColumn<int>("pollingBefore");  // seconds; 0: off
        QTest::addColumn<int>("moveTo");         // slider step; -1: not moved
        QTest::addColumn<bool>("untick");
        QTest::addColumn<QByteArray>("button");
        QTest::addColumn<int>("pollingAfter");  // PollingTimer interval in seconds; 0: off
        QTest::addColumn<QString>("atReopen");
        const QByteArray ok("OKCommand"), cancel("CancelCommand");
        QTest::newRow("fresh start, Cancel") << 0 << -1 << false << cancel << 0 << "0|0 seconds|ticked";
        QTest::newRow("slider 2, OK") << 0 << 2 << false << ok << 10 << "2|10 seconds|ticked";
        QTest::newRow("slider 3, Cancel") << 10 << 3 << false << cancel << 10 << "3|15 seconds|ticked";
        QTest::newRow("slider 0, OK stops") << 10 << 0 << false << ok << 0 << "0|0 seconds|ticked";
        QTest::newRow("slider 6, OK") << 5 << 6 << false << ok << 30 << "6|30 seconds|ticked";
        QTest::newRow("traps not saved, OK") << 0 << -1 << true << ok << 0 << "0|0 seconds|clear";
        QTest::newRow("traps not saved, Cancel") << 0 << -1 << true << cancel << 0 << "0|0 seconds|ticked";
    }

    void okAndCancel()
    {
        QFETCH(int, pollingBefore);
        QFETCH(int, moveTo);
        QFETCH(bool, untick);
        QFETCH(QByteArray, button);
        QFETCH(int, pollingAfter);
        QFETCH(QString, atReopen);
        // A connected device, at a fiftieth of the real pace: polling shows
        // on the wire, a full read every interval.
        constexpr double kScale = 0.02;
        sim::SimulatedAccessPoint device;
        QVERIFY(device.start(QHostAddress::LocalHost, 0));
        agent::DeviceSession session(testing::loopbackOptions(device.port(), kScale));
        session.start();  // trap saving on, as every start
        session.confirmConnect(QStringLiteral("127.0.0.1"), QStringLiteral("kavrel"));
        WAIT_VERIFY(session.Connected());
        config::ConfigurationStore &store = session.device().store();
        if (pollingBefore > 0) {  // an earlier OK
            store.pollingInterval = config::Integer(pollingBefore);
            session.applyPolling(pollingBefore);
        }

        QPointer<frmOptions> dialog = new frmOptions(session);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->show();
        QCOMPARE(shown(dialog), QStringLiteral("%1|%2 seconds|ticked").arg(pollingBefore / 5).arg(pollingBefore));
        if (moveTo >= 0) {
            control<QSlider>(dialog, "PollingSlider")->setValue(moveTo);
            // The store follows the slider at once, before OK.
            QCOMPARE(int(store.pollingInterval), 5 * moveTo);
        }
        if (untick)
            control<QCheckBox>(dialog, "SaveTrapsCheck")->setChecked(false);
        control<QAbstractButton>(dialog, button.constData())->click();
        WAIT_VERIFY(dialog.isNull());

        // Two passes the interval apart, or none at all.
        QVector<qint64> passes;
        QElapsedTimer clock;
        clock.start();
        const snmp::Oid deviceInfo = *session.device().instanceOf(QStringLiteral("sysDeviceInfo"));
        QObject::connect(&device, &sim::SimulatedAccessPoint::requestReceived, [&](const snmp::Message &request) {
            if (request.pdu.varBinds.value(0).name == deviceInfo)
                passes << clock.elapsed();
        });
        const int intervalMs = int(1000 * qMax(pollingAfter, 10) * kScale);
        if (pollingAfter > 0) {
            WAIT_VERIFY_WITH_TIMEOUT(passes.size() >= 2, 3 * intervalMs);
            const qint64 gap = passes[1] - passes[0];
            QVERIFY2(gap >= intervalMs * 0.9 && gap <= intervalMs * 1.5, qPrintable(QString::number(gap)));
        } else {
            QTest::qWait(intervalMs * 5 / 4);
            QCOMPARE(passes.size(), 0);
        }
        session.applyPolling(0);
        QCOMPARE(store.saveTraps, atReopen.endsWith("ticked"));
        frmOptions reopened(session);
        QCOMPARE(shown(&reopened), atReopen);
    }
};

QTEST_MAIN(TestOptions)
#include "test_options.moc"
