// The main window's trap side: a trap from the connected device lights the
// trap mark and shows in the Trap Recorder (its layout, "Clear all", closing
// it); the trap switch against the device.

#include "app_test_support.h"
#include "app/status_line.h"
#include "dialogs/frm_trap_log.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QtTest>

namespace {
// The text box shows each CR LF as one line break.
QString asShown(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}
}  // namespace

class TestTrapRecorder : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::WindowFixture> f;
    frmMain *window = nullptr;
    QTemporaryDir dir;
    QString logPath;

    QString panel1() const { return window->statusText(); }
    frmTrapLog *recorder() const { return window->findChild<frmTrapLog *>(); }

    bool deviceTrap()
    {
        const int before = window->session().trapReception().loggedTraps();
        return f->device.sendStationTrap(1, QByteArray::fromHex("020000000001"))
               && testing::waitFor([&] { return window->session().trapReception().loggedTraps() > before; }, 5000);
    }

private slots:
    void init()
    {
        f = std::make_unique<testing::WindowFixture>();
        window = f->window.get();
        logPath = dir.filePath(QStringLiteral("TrapLog.txt"));
        QFile::remove(logPath);
        window->session().trapReception().setLogFilePath(logPath);
        f->device.setTrapDestination(QHostAddress::LocalHost, window->session().options().trapPort);
        QVERIFY(f->connectDevice());
        window->statusLine().setHoldMs(0);  // "Trap Received" at once (its waiting: test_frm_main)
    }

    void cleanup() { f.reset(); }

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

        // Text box on top, "Clear all" in a band at the bottom, both as wide
        // as the window; a window too low for the band is left alone.
        const QRect opened = log->txtTrapLog->geometry();
        log->resize(300, 10);
        QCOMPARE(log->txtTrapLog->geometry(), opened);
        log->resize(600, 300);
        const int band = log->ClearCommand->height();
        QVERIFY(band >= 20 && band >= log->ClearCommand->sizeHint().height());
        QCOMPARE(log->txtTrapLog->geometry(), QRect(0, 0, 600, 300 - band));
        QCOMPARE(log->ClearCommand->geometry(), QRect(0, 300 - band, 600, band));

        // The text box follows the log on the timer's tick, not per trap.
        QVERIFY(deviceTrap());
        QCOMPARE(log->txtTrapLog->toPlainText(), asShown(first));
        log->Timer1.setInterval(10);
        WAIT_COMPARE(log->txtTrapLog->toPlainText(), asShown(window->TrapLog()));
        QCOMPARE(window->TrapLog().size(), 2 * first.size());

        log->ClearCommand->click();
        QCOMPARE(log->txtTrapLog->toPlainText(), QString());
        QCOMPARE(window->TrapLog(), QString());
        QCOMPARE(QFileInfo(logPath).size(), 2 * first.size());  // the file keeps every entry

        window->mdiArea()->activeSubWindow()->close();
        WAIT_VERIFY(!recorder());
        QVERIFY(window->statusPanel(3)->isHidden());
        QCOMPARE(panel1(), QString());
    }

    // Each refresh adds what came (a selection survives it), keeps the
    // reader's place unless at the bottom, and past the window's limit lets
    // the oldest whole entries go; the file keeps them all.
    void recorderFollowsTheLog()
    {
        window->mnuViewRecord->trigger();
        frmTrapLog *log = recorder();
        log->resize(400, 200);
        log->Timer1.setInterval(10);
        auto station = [](int i) { return QByteArray::fromHex("0200000000") + char(i); };
        auto sendTraps = [&](int from, int to) {
            const int before = window->session().trapReception().loggedTraps();
            for (int i = from; i < to; ++i)
                QVERIFY(f->device.sendStationTrap(3, station(i)));
            QVERIFY(testing::waitFor([&] { return window->session().trapReception().loggedTraps() == before + to - from; }, 5000));
        };
        QScrollBar *bar = log->txtTrapLog->verticalScrollBar();
        const auto topLine = [&] { return log->txtTrapLog->cursorForPosition(QPoint(2, 2)).block().text(); };
        const auto shown = [&] { return log->txtTrapLog->toPlainText(); };
        const QString lastLine = QStringLiteral("Station Mac Address :\n02 00 00 00 00 %1\n");

        sendTraps(1, 3);
        WAIT_VERIFY(shown().contains(lastLine.arg("02")));
        QTextCursor selection = log->txtTrapLog->textCursor();
        selection.setPosition(0);
        selection.setPosition(10, QTextCursor::KeepAnchor);
        log->txtTrapLog->setTextCursor(selection);
        sendTraps(3, 4);
        WAIT_VERIFY(shown().contains(lastLine.arg("03")));
        QCOMPARE(log->txtTrapLog->textCursor().selectedText(), QStringLiteral("Trap recei"));

        bar->setValue(bar->maximum());
        sendTraps(4, 200);  // far past the window's limit and the log's
        WAIT_VERIFY(shown().endsWith(lastLine.arg("C7") + QStringLiteral("==================================\n\n")));
        QVERIFY(shown().size() <= frmTrapLog::kShownLimit);
        QVERIFY(shown().size() > frmTrapLog::kShownLimit - 200);
        QVERIFY(shown().startsWith(QStringLiteral("Trap received @ ")));
        QCOMPARE(bar->value(), bar->maximum());  // it was at the bottom, and stays there

        bar->setValue(bar->maximum() / 2);
        const QString reading = topLine();
        sendTraps(200, 203);
        WAIT_VERIFY(shown().contains(lastLine.arg("CA")));
        QCOMPARE(topLine(), reading);
        QVERIFY(bar->value() < bar->maximum());
        QFile file(logPath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().count("Trap received @ "), 202);
    }

    // The check mark flips at once and keeps its new state; the status line
    // says whether the device followed. The SET waits up to 10 s.
    void trapSwitch_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QStringList>("statuses");  // after each of two clicks
        const QString busy = QStringLiteral(
            "Busy - wait until the console has finished talking to the device, then try again.");
        const QStringList failed{"Network Error - SNMP traps Not Disabled....", "Network Error - SNMP traps Not Enabled...."};
        QTest::newRow("two clicks") << "" << QStringList{"SNMP traps Disabled....", "SNMP traps Enabled...."};
        QTest::newRow("busy with the device") << "busy" << QStringList{busy, busy};
        QTest::newRow("echo differs") << "wrong echo" << failed;
        QTest::newRow("device refuses") << "refused" << failed;
        QTest::newRow("answer names another object") << "misnamed" << failed;
    }

    void trapSwitch()
    {
        QFETCH(QString, fault);
        QFETCH(QStringList, statuses);
        const bool busy = fault == "busy";
        QVERIFY(window->mnuSetupSNMPtraps->isChecked());  // the device's switch is on
        const QString object = QStringLiteral("sysTrapSwitch");
        if (fault == "wrong echo")
            f->device.faults.wrongEchoObjects.insert(object);
        if (fault == "refused")
            f->device.faults.refusedObjects.insert(object, snmp::error_status::BadValue);
        if (fault == "misnamed")
            f->device.faults.misnamedObjects.insert(object);
        if (busy) {  // a reset the device takes its time over
            f->device.faults.slowObjects.insert(QStringLiteral("sysReset"), 500);
            window->session().mnuCommandsReset_Click();
        }
        f->device.clearReceivedRequests();
        QList<bool> marks;
        QStringList shown;
        for (int click = 0; click < 2; ++click) {
            const QString before = panel1();
            window->mnuSetupSNMPtraps->trigger();
            marks << window->mnuSetupSNMPtraps->isChecked();
            if (!busy)
                WAIT_VERIFY(panel1() != before);
            shown << panel1();
            if (!busy)
                QCOMPARE(f->store().sysTrapSwitch, marks.last() ? 1 : 2);  // kept whatever the device did
        }
        QCOMPARE(shown, statuses);
        QCOMPARE(marks, busy ? (QList<bool>{true, true}) : (QList<bool>{false, true}));
        QList<qint64> values;  // the values the device received, each in a request of its own
        QSet<qint32> ids;
        for (const snmp::Message &request : f->device.receivedRequests()) {
            if (busy)
                break;  // only the reset was sent
            QCOMPARE(request.pdu.type, snmp::PduType::SetRequest);
            QCOMPARE(request.pdu.varBinds.size(), 1);
            values << request.pdu.varBinds.value(0).value.number;
            ids << request.pdu.requestId;
        }
        QCOMPARE(values, busy ? QList<qint64>() : (QList<qint64>{2, 1}));
        QCOMPARE(ids.size(), values.size());
    }
};

QTEST_MAIN(TestTrapRecorder)
#include "test_trap_recorder.moc"
