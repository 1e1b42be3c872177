// The main window: its menus and toolbar, the status line at load, its
// placement from one run to the next, the settings windows it hosts, and
// the statistics views' Refresh.

#include "app_test_support.h"

#include "dialogs/status_texts.h"
#include "app/message_history_window.h"
#include "app/single_mdi_child.h"
#include "app/status_line.h"
#include "app/status_panel.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QToolBar>
#include <QUdpSocket>
#include <QtTest>

using testing::ScratchSettings;

namespace {

std::unique_ptr<frmMain> loadedMainWindow(const agent::SessionOptions &options)
{
    auto window = std::make_unique<frmMain>(options);
    MainForm = window.get();
    window->MDIForm_Load();
    return window;
}

// "objectName|caption[|shortcut][|greyed]" per entry; a separator's caption is "-".
QStringList describeEntries(const QList<QAction *> &actions)
{
    QStringList list;
    for (const QAction *action : actions) {
        QString entry = action->objectName() + '|' + (action->isSeparator() ? QStringLiteral("-") : action->text());
        if (!action->shortcut().isEmpty())
            entry += '|' + action->shortcut().toString();
        list << entry + (action->isEnabled() ? "" : "|greyed");
    }
    return list;
}

const char *const kPlacementKeys[] = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};

// Pixels on the primary screen for a placement in twips (1440 an inch).
QRect pixelsOf(const QList<float> &twips)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const auto pixels = [](float value, qreal dpi) { return qRound(value * dpi / 1440); };
    return QRect(pixels(twips[0], screen->logicalDotsPerInchX()), pixels(twips[1], screen->logicalDotsPerInchY()),
                 pixels(twips[2], screen->logicalDotsPerInchX()), pixels(twips[3], screen->logicalDotsPerInchY()));
}
}  // namespace

class TestFrmMain : public QObject {
    Q_OBJECT

private slots:
    void menusAtLoad_data()
    {
        QTest::addColumn<QString>("menu");  // empty: the menu bar
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("bar") << "" << QStringList{"mnuFile|&File", "mnuSetup|&Setup", "mnuCommands|&Commands",
                                                  "mnuInfo|&Information", "mnuTraps|&Traps", "mnuRadio|&Radio",
                                                  "mnuHelp|&Help"};
        QTest::newRow("File") << "mnuFile"
                              << QStringList{"mnuFileOpen|&Connect AP-Bridge|Ctrl+C",
                                             "mnuFileSave|&Download Changes|Ctrl+D|greyed", "Sepa|-",
                                             "mnuFileFindDevices|Find De&vices...",
                                             "mnuFileSaveConfiguration|Save Configuration &As...",
                                             "mnuFileLoadConfiguration|&Load Configuration...",
                                             "mnuFileRecentFiles|Recent &Files", "SeparatorFiles|-",
                                             "mnuFileOptions|&Options...", "Separator2|-", "mnuFileExit|E&xit|Ctrl+E"};
        QTest::newRow("Setup") << "mnuSetup"
                               << QStringList{"mnuSetupBridge|&Bridge|greyed", "mnuSetupWireLess|&WireLess LAN|greyed",
                                              "Separator|-", "mnuSetupSNMPtraps|&Enable SNMP traps|greyed"};
        // Greyed as whole submenus; the children keep their own state.
        QTest::newRow("Bridge") << "mnuSetupBridge"
                                << QStringList{"mnuSetupBridgeIPsettings|&IP Settings",
                                               "mnuSetupBridgeOperationalMode|&Operational Mode"};
        QTest::newRow("WireLess LAN") << "mnuSetupWireLess"
                                      << QStringList{"mnuSetupWireLessPrivacy|P&rivacy Options",
                                                     "mnuSetupWireLessOperational|&Operational settings"};
        QTest::newRow("Commands") << "mnuCommands"
                                  << QStringList{"mnuCommandsReset|Re&set Device|greyed",
                                                 "mnuCommandsRestoreDefaults|&Restore Defaults|greyed"};
        QTest::newRow("Information") << "mnuInfo"
                                     << QStringList{"mnuInformationDeviceInfo|&Device Info|greyed", "Separator5|-",
                                                    "mnuInfoWireLessStatistics|&WireLess Statistics|greyed",
                                                    "mnuInfoEthernetStatistics|&Ethernet Statistics|greyed",
                                                    "mnuInfoLiveStatistics|&Live Statistics...|greyed"};
        QTest::newRow("Traps") << "mnuTraps" << QStringList{"mnuViewRecord|&View Record|greyed"};
        QTest::newRow("Radio") << "mnuRadio"
                               << QStringList{"mnuRadioConfiguration|&Configuration|greyed", "mnuRadioTests|&Tests|greyed"};
        QTest::newRow("Help") << "mnuHelp"
                              << QStringList{"mnuHelpTopic|Help &Topic", "sasa|-", "mnuHelpAbout|&About SNMP Manager"};
        // Tooltips only; never greyed.
        QTest::newRow("toolbar") << "tbToolBar" << QStringList{"Open|Connect AP-Bridge", "Save|Download Changes"};
    }

    void menusAtLoad()
    {
        QFETCH(QString, menu);
        QFETCH(QStringList, entries);
        ScratchSettings settings;
        auto window = loadedMainWindow(options_);
        const QWidget *holder = menu.isEmpty() ? window->menuBar() : window->findChild<QWidget *>(menu);
        QVERIFY(holder);
        QCOMPARE(describeEntries(holder->actions()), entries);
    }

    void statusAtLoad_data()
    {
        QTest::addColumn<QString>("trapPort");  // "free", "taken" (another manager), "refused" (no rights)
        QTest::addColumn<QString>("status");    // %1: the trap port
        QTest::newRow("both ports free") << "free" << "Manager opened successfully.";
        QTest::newRow("another manager") << "taken" << "Trap port(%1) is in use. Check to to see if another manager "
                                                       "is running, then restart this one.";
        QTest::newRow("ordinary user") << "refused" << "Traps cannot be received: port %1 needs administrator "
                                                       "rights; start with --trap-port 1162 and point the device's "
                                                       "trap destination there, or see Help";
    }

    void statusAtLoad()
    {
        QFETCH(QString, trapPort);
        QFETCH(QString, status);
        ScratchSettings settings;
        QUdpSocket otherManager;
        QVERIFY(otherManager.bind(QHostAddress::AnyIPv4, 0));
        agent::SessionOptions options = options_;
        if (trapPort == "taken")
            options.trapPort = otherManager.localPort();
        if (trapPort == "refused") {
            // What binding port 162 gives a user without administrator rights.
            options.trapPort = 162;
            options.openTrapPort = [](snmp::SnmpManager &, quint16) {
                return snmp::OpenResult{false, snmp::kErrorAccessDenied, QStringLiteral("Permission denied")};
            };
        }
        auto window = loadedMainWindow(options);
        QCOMPARE(window->statusText(), status.replace("%1", QString::number(options.trapPort)));
        // Whole in the tooltip, where the panel cuts it, and kept in the history.
        QCOMPARE(window->statusPanel(1)->toolTip(), status);
        QCOMPARE(window->statusLine().history().constLast().text, status);
        QVERIFY(window->statusPanel(3)->isHidden());  // the trap mark waits for a trap
    }

    // A trap's notice waits while a result is fresh (its mark does not);
    // the history keeps both, each with its time, and opens from panel 1;
    // a text too long for the panel ends in "…", whole in tooltip and history.
    void statusLine_data()
    {
        QTest::addColumn<QStringList>("posted");  // in order; "trap" for a trap's notice
        QTest::addColumn<QString>("shownAtOnce");
        QTest::addColumn<QString>("shownLater");
        const QString trap = dialogs::text::trapReceived, done = QStringLiteral("Download complete successfully");
        const QString longText = QStringLiteral("Network Error-Download not completed; the device did not answer "
                                                "the wireless operational group, try again after a reset");
        QTest::newRow("result, then a trap") << QStringList{done, trap} << done << trap;
        QTest::newRow("trap, then a result") << QStringList{trap, done} << done << done;
        QTest::newRow("two traps, just after load") << QStringList{trap, trap} << "Manager opened successfully." << trap;
        QTest::newRow("result, trap, newer result") << QStringList{done, trap, "Reading configuration..."}
                                                    << "Reading configuration..." << "Reading configuration...";
        QTest::newRow("long text") << QStringList{longText} << longText << longText;
    }

    void statusLine()
    {
        QFETCH(QStringList, posted);
        QFETCH(QString, shownAtOnce);
        QFETCH(QString, shownLater);
        ScratchSettings settings;
        auto window = loadedMainWindow(options_);
        window->resize(433, 433);
        window->show();
        window->statusLine().setHoldMs(100);
        for (const QString &text : posted) {
            if (text == dialogs::text::trapReceived) {
                agent::SessionReport received;
                received.event = agent::SessionReport::TrapReceived;
                window->showReport(received);
            } else {
                window->showStatus(text);
            }
        }
        QCOMPARE(window->statusText(), shownAtOnce);
        QTest::qWait(160);
        QCOMPARE(window->statusText(), shownLater);
        const auto *panel = qobject_cast<app::StatusPanel *>(window->statusPanel(1));
        QCOMPARE(panel->toolTip(), shownLater);
        const bool cut = panel->fontMetrics().horizontalAdvance(shownLater) > panel->contentsRect().width() - 4;
        QCOMPARE(panel->shownText().endsWith(QChar(0x2026)), cut);
        QCOMPARE(cut, shownLater.size() > 100);

        QTest::mouseClick(window->statusPanel(1), Qt::LeftButton);
        app::MessageHistoryWindow *history = window->messageHistoryWindow();
        QVERIFY(history && history->isVisible());
        QStringList listed;
        for (int i = 0; i < history->list()->count(); ++i)
            listed << history->list()->item(i)->text().section(QStringLiteral("  "), 1);
        QCOMPARE(listed.mid(listed.size() - posted.size()), posted);
        QVERIFY(QTime::fromString(history->list()->item(0)->text().left(8), QStringLiteral("HH:mm:ss")).isValid());
        // The last hundred only.
        for (int i = 0; i < 150; ++i)
            window->showStatus(QString::number(i));
        QCOMPARE(history->list()->count(), app::StatusLine::kKept);
        QCOMPARE(history->list()->item(0)->text().section(QStringLiteral("  "), 1), QStringLiteral("50"));
    }

    void placement_data()
    {
        QTest::addColumn<QString>("stored");  // MainLeft,MainTop,MainWidth,MainHeight; empty: none
        QTest::addColumn<QRect>("opensAt");
        QTest::addColumn<QString>("closed");  // "moved", "as opened" or "minimised"
        const QRect byDefault = pixelsOf({1000, 1000, 6500, 6500});
        QTest::newRow("first start") << ",,," << byDefault << "moved";
        QTest::newRow("stored") << "1500,750.5,9000,7200" << pixelsOf({1500, 750.5f, 9000, 7200}) << "moved";
        QTest::newRow("unreadable") << "left,1e99,-300,0" << byDefault << "moved";
        QTest::newRow("closed minimised") << "2000,,," << pixelsOf({2000, 1000, 6500, 6500}) << "minimised";
        // Brought onto the screen, and remembered there.
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QTest::newRow("out of sight, too large") << "-9000000,9000000,9000000,9000000" << screen << "as opened";
        const QRect fits = pixelsOf({0, 1000, 6500, 6500});
        QTest::newRow("beyond the right edge") << "900000,1000,6500,6500"
                                               << fits.translated(screen.right() + 1 - fits.width(), 0) << "as opened";
    }

    void placement()
    {
        QFETCH(QString, stored);
        QFETCH(QRect, opensAt);
        QFETCH(QString, closed);
        ScratchSettings settings;
        for (int i = 0; i < 4; ++i) {
            if (!stored.section(',', i, i).isEmpty())
                settings.setValue("Settings", kPlacementKeys[i], stored.section(',', i, i));
        }
        auto window = loadedMainWindow(options_);
        QCOMPARE(QRect(window->pos(), window->size()), opensAt);

        window->show();
        QRect closedAt = opensAt;
        if (closed == "moved") {
            closedAt = QRect(120, 60, 560, 400);
            window->move(closedAt.topLeft());  // the frame's corner, as the placement keeps it
            window->resize(closedAt.size());
        } else if (closed == "minimised") {
            window->showMinimized();
            WAIT_VERIFY(window->isMinimized());
        }
        window->close();
        window.reset();
        QStringList saved;
        for (const char *key : kPlacementKeys)
            saved << settings.value("Settings", key);
        if (closed == "minimised") {
            QCOMPARE(saved.join(','), stored);
            return;
        }
        QCOMPARE(pixelsOf({saved[0].toFloat(), saved[1].toFloat(), saved[2].toFloat(), saved[3].toFloat()}), closedAt);
        auto next = loadedMainWindow(options_);
        QCOMPARE(QRect(next->pos(), next->size()), closedAt);
    }

    void setupWindowIsSingle_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("closer");  // the button that closes it; empty: the frame's close box
        QTest::newRow("IP settings") << "mnuSetupBridgeIPsettings" << "Bridge IP Configuration" << "CancelCommand";
        QTest::newRow("operational mode") << "mnuSetupBridgeOperationalMode" << "Bridge Operational Mode"
                                          << "CancelCommand";
        QTest::newRow("privacy") << "mnuSetupWireLessPrivacy" << "WireLess Privacy Options" << "CancelCommand";
        QTest::newRow("wireless operational") << "mnuSetupWireLessOperational" << "WireLess Operational Settings"
                                              << "CancelCommand";
        QTest::newRow("device info") << "mnuInformationDeviceInfo" << " Device Information" << "OKCommand";
        QTest::newRow("wireless statistics") << "mnuInfoWireLessStatistics" << " Wireless Statistics" << "OKCommand";
        QTest::newRow("Ethernet statistics") << "mnuInfoEthernetStatistics" << " Ethernet Statistics" << "OKCommand";
        QTest::newRow("trap recorder") << "mnuViewRecord" << " Trap Recorder" << "";
        QTest::newRow("radio configuration") << "mnuRadioConfiguration" << "Radio Configuration" << "CancelCommand";
        QTest::newRow("find devices") << "mnuFileFindDevices" << "Find Devices" << "CloseCommand";
        QTest::newRow("live statistics") << "mnuInfoLiveStatistics" << "Live Statistics" << "CloseCommand";
    }

    // Opened twice, one window, which at the main window's default size
    // (433 x 433 pixels) shows whole, its caption and its buttons, with no
    // scrolling. Its Cancel (a view's OK) takes the frame with it; the next
    // choice makes a new one.
    void setupWindowIsSingle()
    {
        QFETCH(QString, item);
        QFETCH(QString, caption);
        QFETCH(QString, closer);
        ScratchSettings settings;
        auto window = loadedMainWindow(options_);
        window->show();
        QCOMPARE(window->size(), QSize(433, 433));
        window->EnableDeviceMenus();
        QAction *action = window->findChild<QAction *>(item);
        QVERIFY(action);
        action->trigger();
        action->trigger();
        QMdiArea *area = window->mdiArea();
        QCOMPARE(area->subWindowList().size(), 1);
        QMdiSubWindow *frame = area->subWindowList().constFirst();
        QCOMPARE(area->activeSubWindow(), frame);
        QCOMPARE(frame->windowTitle(), caption);
        QCOMPARE(app::captionShortfall(frame), 0);
        // Whole: the frame inside the area's visible part, hence no scroll bar.
        QVERIFY2(area->viewport()->rect().contains(frame->geometry()),
                 qPrintable(QStringLiteral("%1x%2 in %3x%4").arg(frame->width()).arg(frame->height())
                                .arg(area->viewport()->width()).arg(area->viewport()->height())));
        QCOMPARE(area->verticalScrollBar()->maximum(), 0);
        QCOMPARE(area->horizontalScrollBar()->maximum(), 0);
        if (closer.isEmpty())
            frame->close();
        else
            frame->widget()->findChild<QAbstractButton *>(closer)->click();
        WAIT_COMPARE(area->subWindowList().size(), 0);
        action->trigger();
        QCOMPARE(area->subWindowList().size(), 1);
    }

    // The device every command goes to is named in the caption; edits that
    // wait to be downloaded show in panel 2, and closing asks about them.
    void managedDeviceAndEditsWaiting()
    {
        testing::WindowFixture f;
        const QString caption = QStringLiteral("   TARVO SNMP Manager");
        QCOMPARE(f.window->windowTitle(), caption);
        QVERIFY(f.connectDevice());
        QCOMPARE(f.window->windowTitle(), caption + QStringLiteral(" - 127.0.0.1"));
        auto *panel = qobject_cast<QLabel *>(f.window->statusPanel(2));
        QCOMPARE(panel->text(), QString());

        f.window->mnuSetupWireLessOperational->trigger();
        QWidget *dialog = f.window->mdiArea()->activeSubWindow()->widget();
        dialog->findChild<QLineEdit *>(QStringLiteral("ESSIDtext"))->setText(QStringLiteral("edited"));
        dialog->findChild<QAbstractButton *>(QStringLiteral("OKCommand"))->click();
        QCOMPARE(panel->text(), dialogs::text::editsWaiting);
        QCOMPARE(panel->accessibleName(), dialogs::text::editsWaiting);
        f.questioner.answer = false;
        f.window->close();
        QVERIFY(f.window->isVisible());
        QCOMPARE(f.questioner.asked.last(), dialogs::text::closeWithEditsTitle + '|' + dialogs::text::closeWithEdits);

        // A connect to another device lets go of this one and of its edits.
        f.window->session().confirmConnect(QStringLiteral("127.0.0.9"), QStringLiteral("kavrel"));
        QCOMPARE(f.window->windowTitle(), caption);
        QCOMPARE(panel->text(), QString());
        QVERIFY(!f.window->mnuCommandsReset->isEnabled());
    }

    void refreshReadsStatistics_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("box");  // a counter that grows with time
        QTest::addColumn<bool>("answers");
        QTest::newRow("wireless") << "mnuInfoWireLessStatistics" << "UnicastPacketsTxtxt" << true;
        QTest::newRow("Ethernet") << "mnuInfoEthernetStatistics" << "TotalBytesRxtxt" << true;
        QTest::newRow("silent device") << "mnuInfoWireLessStatistics" << "UnicastPacketsTxtxt" << false;
    }

    // Refresh reads the two statistics groups, no other, and shows the
    // new counters with the time of the reading; a failed reading keeps
    // the old counters and says so.
    void refreshReadsStatistics()
    {
        QFETCH(QString, item);
        QFETCH(QString, box);
        QFETCH(bool, answers);
        testing::WindowFixture f;
        QVERIFY(f.connectDevice());
        f.window->findChild<QAction *>(item)->trigger();
        QWidget *view = f.window->mdiArea()->activeSubWindow()->widget();
        const QLineEdit *counter = view->findChild<QLineEdit *>(box);
        const QLabel *readAt = view->findChild<QLabel *>("ReadingTimeLabel");
        const QString shown = counter->text(), shownReadAt = readAt->text();
        QVERIFY2(shownReadAt.startsWith("Read from the device at "), qPrintable(shownReadAt));

        f.device.faults.silent = !answers;
        QTest::qWait(150);  // the device counts on
        const int before = int(f.device.receivedRequests().size());
        const QString at = QTime::currentTime().toString("HH:mm:ss");
        auto *refresh = view->findChild<QAbstractButton *>("RefreshCommand");
        refresh->click();
        QVERIFY(!refresh->isEnabled());  // until the reading is in
        WAIT_VERIFY(refresh->isEnabled());
        const QString until = QTime::currentTime().toString("HH:mm:ss");
        QStringList asked;
        for (const snmp::Message &m : f.device.receivedRequests().mid(before)) {
            snmp::Oid object = m.pdu.varBinds.value(0).name;
            object.removeLast();  // the instance ".0"
            asked << f.device.mib().nameOf(snmp::oidToText(object));
        }
        if (answers) {
            QCOMPARE(asked, (QStringList{"wirelessStatistics", "EthRxStatistics"}));
            QVERIFY2(counter->text().toUInt() > shown.toUInt(), qPrintable(counter->text()));
            QVERIFY2(readAt->text() == "Read from the device at " + at ||
                         readAt->text() == "Read from the device at " + until,
                     qPrintable(readAt->text()));
        } else {
            QCOMPARE(counter->text(), shown);
            QCOMPARE(f.window->statusText(), "Network Error9-Not all values retrieved.");
            QCOMPARE(readAt->text(), "Refresh failed; these values were read at " + shownReadAt.section(' ', -1));
            QCOMPARE(readAt->toolTip(), f.window->statusText());
        }
    }

private:
    agent::SessionOptions options_ = testing::loopbackOptions(testing::freeUdpPort());
};

QTEST_MAIN(TestFrmMain)
#include "test_frm_main.moc"
