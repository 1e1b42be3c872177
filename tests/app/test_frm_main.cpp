// The main window: menu tree, toolbar, status bar, placement, the hosting
// of the settings dialogs and the wiring of its commands to the session.

#include "app_test_support.h"

#include "app/frm_main.h"
#include "app/single_mdi_child.h"
#include "app/window_placement.h"
#include "dialogs/frm_bridge_ip_settings.h"
#include "dialogs/frm_bridge_operational_mode.h"
#include "dialogs/frm_ip_address.h"
#include "dialogs/frm_wireless_operational_settings.h"
#include "dialogs/frm_wireless_privacy_options.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
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

// A menu item or a submenu, by the name the other windows know it by.
QAction *command(frmMain &window, const QString &name)
{
    if (auto *menu = window.findChild<QMenu *>(name))
        return menu->menuAction();
    return window.findChild<QAction *>(name);
}

QAction *toolbarButton(frmMain &window, const QString &key)
{
    for (QAction *button : window.tbToolBar->actions()) {
        if (button->data().toString() == key)
            return button;
    }
    return nullptr;
}

QRect expectedPixels(const app::PlacementTwips &twips)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return app::twipsToPixels(twips, screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY());
}

}  // namespace

class TestFrmMain : public QObject {
    Q_OBJECT

private slots:
    void menuOrder_data();
    void menuOrder();
    void menuItems_data();
    void menuItems();
    void onlyThreeShortcuts();
    void toolbarButtons();
    void statusBarAtLoad();
    void trapPortInUse();
    void placementRestored_data();
    void placementRestored();
    void placementSavedOnClose();
    void placementKeptWhenMinimised();
    void exitClosesWindow();
    void connectCommandsShowDialogModally_data();
    void connectCommandsShowDialogModally();
    void questionsBeforeDeviceCommands_data();
    void questionsBeforeDeviceCommands();
    void trapCheckMarkFollowsDevice();
    void busyCursorBalanced();
    void setupDialogsAreSingle_data();
    void setupDialogsAreSingle();
    void hostedWindowEnds_data();
    void hostedWindowEnds();
    void minimisedWindowComesBack();

private:
    agent::SessionOptions options_ = testing::loopbackOptions(testing::freeUdpPort());
};

void TestFrmMain::menuOrder_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("bar") << QString() << QStringList{"mnuFile", "mnuSetup", "mnuCommands", "mnuInfo", "mnuTraps",
                                                     "mnuRadio", "mnuHelp"};
    QTest::newRow("File") << "mnuFile"
                          << QStringList{"mnuFileOpen", "mnuFileSave", "Sepa", "mnuFileOptions", "Separator2",
                                         "mnuFileExit"};
    QTest::newRow("Setup") << "mnuSetup"
                           << QStringList{"mnuSetupBridge", "mnuSetupWireLess", "Separator", "mnuSetupSNMPtraps"};
    QTest::newRow("Bridge") << "mnuSetupBridge"
                            << QStringList{"mnuSetupBridgeIPsettings", "mnuSetupBridgeOperationalMode"};
    QTest::newRow("WireLess") << "mnuSetupWireLess"
                              << QStringList{"mnuSetupWireLessPrivacy", "mnuSetupWireLessOperational"};
    QTest::newRow("Commands") << "mnuCommands" << QStringList{"mnuCommandsReset", "mnuCommandsRestoreDefaults"};
    QTest::newRow("Information") << "mnuInfo"
                                 << QStringList{"mnuInformationDeviceInfo", "Separator5", "mnuInfoWireLessStatistics",
                                                "mnuInfoEthernetStatistics"};
    QTest::newRow("Traps") << "mnuTraps" << QStringList{"mnuViewRecord"};
    QTest::newRow("Radio") << "mnuRadio" << QStringList{"mnuRadioConfiguration", "mnuRadioTests"};
    QTest::newRow("Help") << "mnuHelp" << QStringList{"mnuHelpTopic", "sasa", "mnuHelpAbout"};
}

void TestFrmMain::menuOrder()
{
    QFETCH(QString, menu);
    QFETCH(QStringList, items);
    ScratchSettings settings;
    frmMain window(options_);
    const QList<QAction *> actions =
        menu.isEmpty() ? window.menuBar()->actions() : window.findChild<QMenu *>(menu)->actions();
    QStringList names;
    for (const QAction *action : actions)
        names << action->objectName();
    QCOMPARE(names, items);
}

void TestFrmMain::menuItems_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<bool>("enabledAtLoad");
    auto row = [](const char *name, const char *caption, const char *shortcut, bool enabled) {
        QTest::newRow(name) << name << caption << shortcut << enabled;
    };
    row("mnuFile", "&File", "", true);
    row("mnuFileOpen", "&Connect AP-Bridge", "Ctrl+C", true);
    row("mnuFileSave", "&Download Changes", "Ctrl+D", false);
    row("mnuFileOptions", "&Options...", "", true);
    row("mnuFileExit", "E&xit", "Ctrl+E", true);
    row("mnuSetup", "&Setup", "", true);
    row("mnuSetupBridge", "&Bridge", "", false);
    row("mnuSetupBridgeIPsettings", "&IP Settings", "", true);
    row("mnuSetupBridgeOperationalMode", "&Operational Mode", "", true);
    row("mnuSetupWireLess", "&WireLess LAN", "", false);
    row("mnuSetupWireLessPrivacy", "P&rivacy Options", "", true);
    row("mnuSetupWireLessOperational", "&Operational settings", "", true);
    row("mnuSetupSNMPtraps", "&Enable SNMP traps", "", false);
    row("mnuCommands", "&Commands", "", true);
    row("mnuCommandsReset", "Re&set Device", "", false);
    row("mnuCommandsRestoreDefaults", "&Restore Defaults", "", false);
    row("mnuInfo", "&Information", "", true);
    row("mnuInformationDeviceInfo", "&Device Info", "", false);
    row("mnuInfoWireLessStatistics", "&WireLess Statistics", "", false);
    row("mnuInfoEthernetStatistics", "&Ethernet Statistics", "", false);
    row("mnuTraps", "&Traps", "", true);
    row("mnuViewRecord", "&View Record", "", false);
    row("mnuRadio", "&Radio", "", true);
    row("mnuRadioConfiguration", "&Configuration", "", false);
    row("mnuRadioTests", "&Tests", "", false);
    row("mnuHelp", "&Help", "", true);
    row("mnuHelpTopic", "Help &Topic", "", true);
    row("mnuHelpAbout", "&About SNMP Manager", "", true);
}

void TestFrmMain::menuItems()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, shortcut);
    QFETCH(bool, enabledAtLoad);
    ScratchSettings settings;
    auto window = loadedMainWindow(options_);
    QAction *item = command(*window, name);
    QVERIFY(item);
    QCOMPARE(item->text(), caption);
    QCOMPARE(item->shortcut(), QKeySequence(shortcut));
    QCOMPARE(item->isEnabled(), enabledAtLoad);
    QCOMPARE(item->isCheckable(), name == QLatin1String("mnuSetupSNMPtraps"));
}

void TestFrmMain::onlyThreeShortcuts()
{
    ScratchSettings settings;
    frmMain window(options_);
    QStringList withShortcut;
    for (const QAction *action : window.findChildren<QAction *>()) {
        if (!action->shortcut().isEmpty())
            withShortcut << action->objectName();
    }
    withShortcut.sort();
    QCOMPARE(withShortcut, (QStringList{"mnuFileExit", "mnuFileOpen", "mnuFileSave"}));
}

void TestFrmMain::toolbarButtons()
{
    ScratchSettings settings;
    auto window = loadedMainWindow(options_);
    QCOMPARE(window->tbToolBar->objectName(), QStringLiteral("tbToolBar"));
    QCOMPARE(window->tbToolBar->actions().size(), 2);
    QAction *open = toolbarButton(*window, "Open");
    QAction *save = toolbarButton(*window, "Save");
    QVERIFY(open && save);
    QCOMPARE(open->toolTip(), QStringLiteral("Connect AP-Bridge"));
    QCOMPARE(save->toolTip(), QStringLiteral("Download Changes"));
    QVERIFY(!open->icon().isNull());
    QVERIFY(!save->icon().isNull());
    // Never greyed: Save works before any device is connected.
    QVERIFY(open->isEnabled());
    QVERIFY(save->isEnabled());
}

void TestFrmMain::statusBarAtLoad()
{
    ScratchSettings settings;
    frmMain window(options_);
    QCOMPARE(window.windowTitle(), QStringLiteral("   TARVO SNMP Manager"));
    QCOMPARE(window.sbStatusBar->objectName(), QStringLiteral("sbStatusBar"));
    QCOMPARE(window.statusPanel(1)->text(), QStringLiteral("Status"));
    window.MDIForm_Load();
    window.show();
    QCOMPARE(window.statusPanel(1)->text(), QStringLiteral("Manager opened successfully."));
    QCOMPARE(window.statusPanel(2)->text(), QString());
    QVERIFY(window.statusPanel(3)->isHidden());
    QCOMPARE(window.statusPanel(3)->pixmap().size(), QSize(108, 23));
    window.setTrapMarkVisible(true);
    QVERIFY(window.statusPanel(3)->isVisible());
}

void TestFrmMain::trapPortInUse()
{
    ScratchSettings settings;
    QUdpSocket otherManager;
    QVERIFY(otherManager.bind(QHostAddress::AnyIPv4, 0));
    agent::SessionOptions options = options_;
    options.trapPort = otherManager.localPort();
    auto window = loadedMainWindow(options);
    QCOMPARE(window->statusPanel(1)->text(),
             QStringLiteral("Trap port(%1) is in use. Check to to see if another manager is running, then restart "
                            "this one.")
                 .arg(options.trapPort));
}

void TestFrmMain::placementRestored_data()
{
    QTest::addColumn<QStringList>("stored");  // left, top, width, height; empty: not stored
    QTest::addColumn<QList<float>>("twips");
    QTest::newRow("first start") << QStringList{"", "", "", ""} << QList<float>{1000, 1000, 6500, 6500};
    QTest::newRow("stored") << QStringList{"1500", "750", "9000", "7200"} << QList<float>{1500, 750, 9000, 7200};
    QTest::newRow("fraction") << QStringList{"1234.5", "99.75", "8000", "6000"}
                              << QList<float>{1234.5f, 99.75f, 8000, 6000};
    QTest::newRow("unreadable") << QStringList{"left", "1e99", "-300", "0"} << QList<float>{1000, 1000, 6500, 6500};
    QTest::newRow("negative edges") << QStringList{"-600", "-300", "7000", "7000"}
                                    << QList<float>{-600, -300, 7000, 7000};
}

void TestFrmMain::placementRestored()
{
    QFETCH(QStringList, stored);
    QFETCH(QList<float>, twips);
    ScratchSettings settings;
    const char *keys[] = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};
    for (int i = 0; i < 4; ++i) {
        if (!stored.at(i).isEmpty())
            settings.setValue("Settings", keys[i], stored.at(i));
    }
    auto window = loadedMainWindow(options_);
    const QRect expected = expectedPixels({twips[0], twips[1], twips[2], twips[3]});
    QCOMPARE(window->pos(), expected.topLeft());
    QCOMPARE(window->size(), expected.size());
}

void TestFrmMain::placementSavedOnClose()
{
    ScratchSettings settings;
    auto window = loadedMainWindow(options_);
    window->show();
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect pixels(120, 60, 720, 480);
    window->move(pixels.topLeft());
    window->resize(pixels.size());
    window->close();
    const app::PlacementTwips twips =
        app::pixelsToTwips(pixels, screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY());
    QCOMPARE(settings.value("Settings", "MainLeft"), app::twipsText(twips.left));
    QCOMPARE(settings.value("Settings", "MainTop"), app::twipsText(twips.top));
    QCOMPARE(settings.value("Settings", "MainWidth"), app::twipsText(twips.width));
    QCOMPARE(settings.value("Settings", "MainHeight"), app::twipsText(twips.height));

    // What was saved comes back on the next start.
    auto next = loadedMainWindow(options_);
    QCOMPARE(next->pos(), pixels.topLeft());
    QCOMPARE(next->size(), pixels.size());
}

void TestFrmMain::placementKeptWhenMinimised()
{
    ScratchSettings settings;
    settings.setValue("Settings", "MainLeft", "2000");
    auto window = loadedMainWindow(options_);
    window->show();
    window->move(300, 300);
    window->showMinimized();
    QTRY_VERIFY(window->isMinimized());
    window->close();
    QCOMPARE(settings.value("Settings", "MainLeft"), QStringLiteral("2000"));
    QCOMPARE(settings.value("Settings", "MainWidth"), QString());
}

void TestFrmMain::exitClosesWindow()
{
    ScratchSettings settings;
    auto window = loadedMainWindow(options_);
    window->show();
    window->mnuFileExit->trigger();
    QVERIFY(!window->isVisible());
    QVERIFY(!settings.value("Settings", "MainWidth").isEmpty());
}

void TestFrmMain::connectCommandsShowDialogModally_data()
{
    QTest::addColumn<bool>("fromToolbar");
    QTest::newRow("menu") << false;
    QTest::newRow("toolbar Open") << true;
}

void TestFrmMain::connectCommandsShowDialogModally()
{
    QFETCH(bool, fromToolbar);
    ScratchSettings settings;
    auto window = loadedMainWindow(options_);
    window->show();
    QPointer<QWidget> seen;
    QTimer::singleShot(0, [&] {
        seen = QApplication::activeModalWidget();
        // Cancel: nothing is sent anywhere.
        if (auto *dialog = qobject_cast<frmIPAddress *>(seen.data()))
            dialog->Command2->click();
    });
    if (fromToolbar)
        toolbarButton(*window, "Open")->trigger();
    else
        window->mnuFileOpen->trigger();
    QVERIFY(qobject_cast<frmIPAddress *>(seen.data()));
    QCOMPARE(seen.data(), static_cast<QWidget *>(window->connectDialog()));
    QVERIFY(!window->connectDialog()->isVisible());
    QVERIFY(!window->session().UserConfirmed);
}

void TestFrmMain::questionsBeforeDeviceCommands_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<QString>("question");
    QTest::newRow("menu Download") << "mnuFileSave" << "Download Changes|Do you want to Change ?";
    QTest::newRow("toolbar Save") << "Save" << "Download Changes|Do you want to Change ?";
    QTest::newRow("Reset") << "mnuCommandsReset" << "Reset|Do you want to Reset Devise ?";
    QTest::newRow("Restore") << "mnuCommandsRestoreDefaults" << "Restore Defaults|Do you want to Restore Defaults?";
}

void TestFrmMain::questionsBeforeDeviceCommands()
{
    QFETCH(QString, trigger);
    QFETCH(QString, question);
    ScratchSettings settings;
    auto window = loadedMainWindow(options_);
    testing::ScriptedQuestioner questioner(false);
    window->setQuestioner(&questioner);
    window->EnableDeviceMenus();
    const QString statusBefore = window->statusPanel(1)->text();
    const qint32 requestsBefore = window->session().RequestCounter;
    QAction *action = trigger == QLatin1String("Save") ? toolbarButton(*window, trigger) : command(*window, trigger);
    action->trigger();
    QCOMPARE(questioner.asked, QStringList{question});
    // "No": nothing sent, nothing reported.
    QCOMPARE(window->session().RequestCounter, requestsBefore);
    QCOMPARE(window->statusPanel(1)->text(), statusBefore);
}

void TestFrmMain::trapCheckMarkFollowsDevice()
{
    ScratchSettings settings;
    auto window = loadedMainWindow(options_);
    window->EnableDeviceMenus();
    emit window->session().trapSwitchCheckedChanged(true);
    QVERIFY(window->mnuSetupSNMPtraps->isChecked());
    // A click alone does not move the mark; the device's switch does.
    window->mnuSetupSNMPtraps->trigger();
    QVERIFY(window->mnuSetupSNMPtraps->isChecked());
    emit window->session().trapSwitchCheckedChanged(false);
    QVERIFY(!window->mnuSetupSNMPtraps->isChecked());
}

void TestFrmMain::busyCursorBalanced()
{
    ScratchSettings settings;
    {
        auto window = loadedMainWindow(options_);
        agent::DeviceSession &session = window->session();
        emit session.busyCursorChanged(true);
        emit session.busyCursorChanged(true);  // a scan after a connect
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        emit session.busyCursorChanged(false);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        emit session.busyCursorChanged(false);
        emit session.busyCursorChanged(true);
    }
    // A window that goes while waiting leaves no hourglass behind.
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void TestFrmMain::setupDialogsAreSingle_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("dialogClass");
    QTest::newRow("IP settings") << "mnuSetupBridgeIPsettings" << "frmBridgeIPSettings";
    QTest::newRow("operational mode") << "mnuSetupBridgeOperationalMode" << "frmBridgeOperationalMode";
    QTest::newRow("privacy") << "mnuSetupWireLessPrivacy" << "frmWireLessPrivacyOptions";
    QTest::newRow("wireless operational") << "mnuSetupWireLessOperational" << "frmWireLessOperationalSettings";
}

void TestFrmMain::setupDialogsAreSingle()
{
    QFETCH(QString, item);
    QFETCH(QString, dialogClass);
    ScratchSettings settings;
    auto window = loadedMainWindow(options_);
    window->show();
    window->EnableDeviceMenus();
    QAction *action = command(*window, item);

    action->trigger();
    QCOMPARE(window->mdiArea()->subWindowList().size(), 1);
    QMdiSubWindow *first = window->mdiArea()->subWindowList().constFirst();
    QCOMPARE(QString::fromLatin1(first->widget()->metaObject()->className()), dialogClass);
    action->trigger();
    QCOMPARE(window->mdiArea()->subWindowList().size(), 1);
    QCOMPARE(window->mdiArea()->activeSubWindow(), first);

    // Its own close takes the frame with it; the next choice makes a new one.
    first->widget()->close();
    QTRY_COMPARE(window->mdiArea()->subWindowList().size(), 0);
    action->trigger();
    QCOMPARE(window->mdiArea()->subWindowList().size(), 1);
}

void TestFrmMain::hostedWindowEnds_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("close") << "close";
    QTest::newRow("accept") << "accept";
    QTest::newRow("reject") << "reject";
    QTest::newRow("deleted") << "delete";
    QTest::newRow("frame's close box") << "frame";
}

void TestFrmMain::hostedWindowEnds()
{
    QFETCH(QString, how);
    QMdiArea area;
    area.show();
    int made = 0;
    app::SingleMdiChild host(&area, [&] {
        ++made;
        return new QDialog;
    });
    QPointer<QMdiSubWindow> frame = host.show();
    auto *dialog = qobject_cast<QDialog *>(host.widget());
    QVERIFY(frame && dialog);
    if (how == QLatin1String("close"))
        dialog->close();
    else if (how == QLatin1String("accept"))
        dialog->accept();
    else if (how == QLatin1String("reject"))
        dialog->reject();
    else if (how == QLatin1String("delete"))
        delete dialog;
    else
        frame->close();
    QVERIFY(!host.isOpen());
    // Asked for again at once, before the old frame is gone: a new one.
    QMdiSubWindow *next = host.show();
    QVERIFY(next != frame.data());
    QCOMPARE(made, 2);
    QTRY_VERIFY(!frame);
    QCOMPARE(area.subWindowList().size(), 1);
}

void TestFrmMain::minimisedWindowComesBack()
{
    QMdiArea area;
    area.show();
    app::SingleMdiChild host(&area, [] { return new QDialog; });
    QMdiSubWindow *frame = host.show();
    frame->showMinimized();
    QCoreApplication::processEvents();
    QVERIFY(host.isOpen());
    QCOMPARE(host.show(), frame);
    QVERIFY(!frame->isMinimized());
    QVERIFY(host.widget()->isVisible());
}

QTEST_MAIN(TestFrmMain)
#include "test_frm_main.moc"
