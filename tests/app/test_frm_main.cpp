// The main window: its menus and toolbar, the status line at load, its
// placement from one run to the next, and the settings windows it hosts.

#include "app_test_support.h"

#include "app/frm_main.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QToolBar>
#include <QUdpSocket>
#include <QtTest>
#include <memory>

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

}  // namespace

class TestFrmMain : public QObject {
    Q_OBJECT

private slots:
    void menusAtLoad_data();
    void menusAtLoad();
    void toolbarNeverGreyed();
    void statusAtLoad_data();
    void statusAtLoad();
    void placement_data();
    void placement();
    void setupWindowIsSingle_data();
    void setupWindowIsSingle();

private:
    agent::SessionOptions options_ = testing::loopbackOptions(testing::freeUdpPort());
};

void TestFrmMain::menusAtLoad_data()
{
    QTest::addColumn<QString>("menu");  // empty: the menu bar
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("bar") << "" << QStringList{"mnuFile|&File", "mnuSetup|&Setup", "mnuCommands|&Commands",
                                              "mnuInfo|&Information", "mnuTraps|&Traps", "mnuRadio|&Radio",
                                              "mnuHelp|&Help"};
    QTest::newRow("File") << "mnuFile"
                          << QStringList{"mnuFileOpen|&Connect AP-Bridge|Ctrl+C",
                                         "mnuFileSave|&Download Changes|Ctrl+D|greyed", "Sepa|-",
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
                                                "mnuInfoEthernetStatistics|&Ethernet Statistics|greyed"};
    QTest::newRow("Traps") << "mnuTraps" << QStringList{"mnuViewRecord|&View Record|greyed"};
    QTest::newRow("Radio") << "mnuRadio"
                           << QStringList{"mnuRadioConfiguration|&Configuration|greyed", "mnuRadioTests|&Tests|greyed"};
    QTest::newRow("Help") << "mnuHelp"
                          << QStringList{"mnuHelpTopic|Help &Topic", "sasa|-", "mnuHelpAbout|&About SNMP Manager"};
}

void TestFrmMain::menusAtLoad()
{
    QFETCH(QString, menu);
    QFETCH(QStringList, entries);
    ScratchSettings settings;
    auto window = loadedMainWindow(options_);
    const QMenu *submenu = window->findChild<QMenu *>(menu);
    QVERIFY(menu.isEmpty() || submenu);
    QCOMPARE(describeEntries(menu.isEmpty() ? window->menuBar()->actions() : submenu->actions()), entries);
}

void TestFrmMain::toolbarNeverGreyed()
{
    ScratchSettings settings;
    auto window = loadedMainWindow(options_);
    QStringList buttons;
    for (const QAction *button : window->tbToolBar->actions())
        buttons << button->data().toString() + '|' + button->toolTip() + (button->icon().isNull() ? "|no icon" : "") +
                       (button->isEnabled() ? "" : "|greyed");
    QCOMPARE(buttons, (QStringList{"Open|Connect AP-Bridge", "Save|Download Changes"}));
}

void TestFrmMain::statusAtLoad_data()
{
    QTest::addColumn<bool>("trapPortTaken");
    QTest::addColumn<QString>("status");  // %1: the trap port
    QTest::newRow("both ports free") << false << "Manager opened successfully.";
    QTest::newRow("another manager") << true << "Trap port(%1) is in use. Check to to see if another manager is "
                                                "running, then restart this one.";
}

void TestFrmMain::statusAtLoad()
{
    QFETCH(bool, trapPortTaken);
    QFETCH(QString, status);
    ScratchSettings settings;
    QUdpSocket otherManager;
    QVERIFY(otherManager.bind(QHostAddress::AnyIPv4, 0));
    agent::SessionOptions options = options_;
    if (trapPortTaken)
        options.trapPort = otherManager.localPort();
    auto window = loadedMainWindow(options);
    QCOMPARE(window->statusPanel(1)->text(), status.replace("%1", QString::number(options.trapPort)));
    QVERIFY(window->statusPanel(3)->isHidden());  // the trap mark waits for a trap
}

void TestFrmMain::placement_data()
{
    QTest::addColumn<QStringList>("stored");  // MainLeft, MainTop, MainWidth, MainHeight; "": none
    QTest::addColumn<QList<float>>("twips");  // where the window opens
    QTest::addColumn<bool>("minimised");      // when it is closed
    QTest::newRow("first start") << QStringList{"", "", "", ""} << QList<float>{1000, 1000, 6500, 6500} << false;
    QTest::newRow("stored") << QStringList{"1500", "750.5", "9000", "7200"} << QList<float>{1500, 750.5f, 9000, 7200}
                            << false;
    QTest::newRow("unreadable") << QStringList{"left", "1e99", "-300", "0"} << QList<float>{1000, 1000, 6500, 6500}
                                << false;
    QTest::newRow("closed minimised") << QStringList{"2000", "", "", ""} << QList<float>{2000, 1000, 6500, 6500}
                                      << true;
}

void TestFrmMain::placement()
{
    QFETCH(QStringList, stored);
    QFETCH(QList<float>, twips);
    QFETCH(bool, minimised);
    ScratchSettings settings;
    const char *keys[] = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};
    for (int i = 0; i < 4; ++i) {
        if (!stored.at(i).isEmpty())
            settings.setValue("Settings", keys[i], stored.at(i));
    }
    auto window = loadedMainWindow(options_);
    const QScreen *screen = QGuiApplication::primaryScreen();
    const qreal dpiX = screen->logicalDotsPerInchX(), dpiY = screen->logicalDotsPerInchY();
    const auto pixels = [](float value, qreal dpi) { return qRound(value * dpi / 1440); };  // 1440 twips an inch
    QCOMPARE(QRect(window->pos(), window->size()), QRect(pixels(twips[0], dpiX), pixels(twips[1], dpiY),
                                                         pixels(twips[2], dpiX), pixels(twips[3], dpiY)));

    window->show();
    window->move(120, 60);  // the frame's corner, as the placement keeps it
    window->resize(720, 480);
    if (minimised) {
        window->showMinimized();
        QTRY_VERIFY(window->isMinimized());
    }
    window->close();
    window.reset();
    if (minimised) {
        for (int i = 0; i < 4; ++i)
            QCOMPARE(settings.value("Settings", keys[i]), stored.at(i));
        return;
    }
    auto next = loadedMainWindow(options_);
    QCOMPARE(QRect(next->pos(), next->size()), QRect(120, 60, 720, 480));
}

void TestFrmMain::setupWindowIsSingle_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("dialogClass");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("closeButton");
    QTest::newRow("IP settings") << "mnuSetupBridgeIPsettings" << "frmBridgeIPSettings"
                                 << "Bridge IP Configuration" << "CancelCommand";
    QTest::newRow("operational mode") << "mnuSetupBridgeOperationalMode" << "frmBridgeOperationalMode"
                                      << "Bridge Operational Mode" << "CancelCommand";
    QTest::newRow("privacy") << "mnuSetupWireLessPrivacy" << "frmWireLessPrivacyOptions"
                             << "WireLess Privacy Options" << "CancelCommand";
    QTest::newRow("wireless operational") << "mnuSetupWireLessOperational" << "frmWireLessOperationalSettings"
                                          << "WireLess Operational Settings" << "CancelCommand";
    QTest::newRow("device info") << "mnuInformationDeviceInfo" << "frmDeviceInfo" << " Device Information"
                                 << "OKCommand";
    QTest::newRow("wireless statistics") << "mnuInfoWireLessStatistics" << "frmInfoStatistics"
                                         << " Wireless Statistics" << "OKCommand";
    QTest::newRow("Ethernet statistics") << "mnuInfoEthernetStatistics" << "frmEthernetStatistics"
                                         << " Ethernet Statistics" << "OKCommand";
}

void TestFrmMain::setupWindowIsSingle()
{
    QFETCH(QString, item);
    QFETCH(QString, dialogClass);
    QFETCH(QString, caption);
    QFETCH(QString, closeButton);
    ScratchSettings settings;
    auto window = loadedMainWindow(options_);
    window->show();
    window->EnableDeviceMenus();
    QAction *action = window->findChild<QAction *>(item);
    QVERIFY(action);
    action->trigger();
    action->trigger();
    QCOMPARE(window->mdiArea()->subWindowList().size(), 1);
    QMdiSubWindow *frame = window->mdiArea()->subWindowList().constFirst();
    QCOMPARE(window->mdiArea()->activeSubWindow(), frame);
    QCOMPARE(QString::fromLatin1(frame->widget()->metaObject()->className()), dialogClass);
    QCOMPARE(frame->windowTitle(), caption);
    // Whole at the main window's default size (433 x 433 pixels).
    QVERIFY2(frame->width() <= 433 && frame->height() <= 433, qPrintable(QStringLiteral("%1 x %2").arg(frame->width()).arg(frame->height())));

    // Its Cancel (a view's OK) takes the frame with it; the next choice makes a new one.
    frame->widget()->findChild<QAbstractButton *>(closeButton)->click();
    QTRY_COMPARE(window->mdiArea()->subWindowList().size(), 0);
    action->trigger();
    QCOMPARE(window->mdiArea()->subWindowList().size(), 1);
}

QTEST_MAIN(TestFrmMain)
#include "test_frm_main.moc"
