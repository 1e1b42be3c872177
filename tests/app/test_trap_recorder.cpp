// The main window's trap side: a trap from the connected device lights the
// trap mark and shows in the Trap Recorder; "Clear all" and closing the
// recorder; the recorder's layout; the trap switch's check mark.

#include "app/frm_main.h"
#include "app_test_support.h"
#include "config/configuration_store.h"
#include "dialogs/frm_trap_log.h"
#include "sim/simulated_access_point.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QByteArray kStation = QByteArray::fromHex("020000000001");

// The text box shows each CR LF as one line break.
QString asShown(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
}  // namespace

class TestTrapRecorder : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::ScratchSettings> settings;
    std::unique_ptr<sim::SimulatedAccessPoint> device;
    std::unique_ptr<frmMain> window;
    QTemporaryDir dir;
    QString logPath;

    QString panel1() const { return window->statusText(); }
    frmTrapLog *recorder() const { return window->findChild<frmTrapLog *>(); }

    bool deviceTrap()
    {
        const int before = window->session().trapReception.loggedTraps();
        return device->sendStationTrap(1, kStation)
               && QTest::qWaitFor([&] { return window->session().trapReception.loggedTraps() > before; }, 5000);
    }

private slots:
    void init()
    {
        config::resetStore();
        settings = std::make_unique<testing::ScratchSettings>();
        device = std::make_unique<sim::SimulatedAccessPoint>();
        QVERIFY(device->start(QHostAddress::LocalHost, 0));
        window = std::make_unique<frmMain>(testing::loopbackOptions(device->port()));
        MainForm = window.get();
        logPath = dir.filePath(QStringLiteral("TrapLog.txt"));
        QFile::remove(logPath);
        window->session().trapReception.setLogFilePath(logPath);
        window->MDIForm_Load();
        window->show();
        device->setTrapDestination(QHostAddress::LocalHost, window->session().options().trapPort);
        window->session().confirmConnect(QStringLiteral("127.0.0.1"), QStringLiteral("kavrel"));
        QTRY_COMPARE_WITH_TIMEOUT(panel1(), QStringLiteral("All values retrieved."), 10000);
    }

    void cleanup()
    {
        window.reset();
        MainForm = nullptr;
        device.reset();
        settings.reset();
    }

    void trapShowsInRecorder()
    {
        QVERIFY(window->statusPanel(3)->isHidden());
        QVERIFY(deviceTrap());
        QCOMPARE(panel1(), QStringLiteral("Trap Received"));
        QVERIFY(!window->statusPanel(3)->isHidden());
        const QString first = window->TrapLog();
        QVERIFY(first.contains(QStringLiteral("Station Mac Address :\r\n02 00 00 00 00 01\r\n")));

        window->mnuViewRecord->trigger();
        window->mnuViewRecord->trigger();
        QCOMPARE(window->findChildren<frmTrapLog *>().size(), 1);
        frmTrapLog *log = recorder();
        QCOMPARE(log->windowTitle(), QStringLiteral(" Trap Recorder"));
        QCOMPARE(log->txtTrapLog->toPlainText(), asShown(first));
        QVERIFY(log->txtTrapLog->toolTip().contains(logPath));
        QCOMPARE(log->Timer1.interval(), 1000);
        QVERIFY(log->Timer1.isActive());

        // The text box follows the log on the timer's tick, not per trap.
        QVERIFY(deviceTrap());
        QCOMPARE(log->txtTrapLog->toPlainText(), asShown(first));
        log->Timer1.setInterval(10);
        QTRY_COMPARE(log->txtTrapLog->toPlainText(), asShown(window->TrapLog()));
        QCOMPARE(window->TrapLog().size(), 2 * first.size());

        log->ClearCommand->click();
        QCOMPARE(log->txtTrapLog->toPlainText(), QString());
        QCOMPARE(window->TrapLog(), QString());
        QCOMPARE(readFile(logPath).size(), 2 * first.size());  // the file keeps every entry

        window->mdiArea()->activeSubWindow()->close();
        QTRY_VERIFY(!recorder());
        QVERIFY(window->statusPanel(3)->isHidden());
        QCOMPARE(panel1(), QString());
    }

    // Text box on top, "Clear all" in a band at the bottom, both as wide as
    // the window; a window too low for the band is left alone.
    void recorderLayout_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("laidOut");
        QTest::newRow("default") << QSize(400, 260) << true;
        QTest::newRow("wide") << QSize(600, 300) << true;
        QTest::newRow("lower than the band") << QSize(300, 10) << false;
    }

    void recorderLayout()
    {
        QFETCH(QSize, size);
        QFETCH(bool, laidOut);
        window->mnuViewRecord->trigger();
        frmTrapLog *log = recorder();
        const QRect textBefore = log->txtTrapLog->geometry();
        log->resize(size);
        const int band = log->ClearCommand->height();
        QVERIFY(band >= 20 && band >= log->ClearCommand->sizeHint().height());
        if (!laidOut) {
            QCOMPARE(log->txtTrapLog->geometry(), textBefore);
            return;
        }
        QCOMPARE(log->txtTrapLog->geometry(), QRect(0, 0, size.width(), size.height() - band));
        QCOMPARE(log->ClearCommand->geometry(), QRect(0, size.height() - band, size.width(), band));
    }

    void trapSwitch_data()
    {
        QTest::addColumn<bool>("busy");
        QTest::addColumn<QStringList>("statuses");   // after each of two clicks
        QTest::addColumn<QList<qint64>>("sent");      // values the device received
        QTest::newRow("two clicks") << false
                                    << QStringList{"SNMP traps Disabled....", "SNMP traps Enabled...."}
                                    << QList<qint64>{2, 1};
        QTest::newRow("busy with the device")
            << true
            << QStringList(2, "Busy - wait until the console has finished talking to the device, then try again.")
            << QList<qint64>{};
    }

    void trapSwitch()
    {
        QFETCH(bool, busy);
        QFETCH(QStringList, statuses);
        QFETCH(QList<qint64>, sent);
        QVERIFY(window->mnuSetupSNMPtraps->isChecked());  // the device's switch is on
        device->clearReceivedRequests();
        if (busy)
            window->session().Timer2.start(60000);
        QList<bool> marks;
        QStringList shown;
        for (int click = 0; click < 2; ++click) {
            window->mnuSetupSNMPtraps->trigger();
            marks << window->mnuSetupSNMPtraps->isChecked();
            shown << panel1();
        }
        QCOMPARE(shown, statuses);
        QCOMPARE(marks, busy ? (QList<bool>{true, true}) : (QList<bool>{false, true}));
        QList<qint64> values;
        QSet<qint32> ids;
        for (const snmp::Message &request : device->receivedRequests()) {
            values << request.pdu.varBinds.value(0).value.number;
            ids << request.pdu.requestId;
        }
        QCOMPARE(values, sent);
        QCOMPARE(ids.size(), sent.size());
    }
};

QTEST_MAIN(TestTrapRecorder)
#include "test_trap_recorder.moc"
