// The main window's menu tree, toolbar and status bar.

#include "frm_main.h"
#include "paced_repaint.h"
#include "status_line.h"
#include "status_panel.h"

#include <QAction>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>

namespace {

QMenu *addSubmenu(QWidget *parent, QMenuBar *bar, QMenu *inMenu, const char *name, const QString &caption)
{
    auto *menu = new QMenu(caption, parent);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    if (inMenu)
        inMenu->addMenu(menu);
    else
        bar->addMenu(menu);
    return menu;
}

QAction *addSeparator(QMenu *menu, const char *name)
{
    QAction *separator = menu->addSeparator();
    separator->setObjectName(QLatin1String(name));
    return separator;
}

}  // namespace

void frmMain::buildMenus()
{
    QMenuBar *bar = menuBar();
    auto command = [this](QMenu *menu, const char *name, const QString &caption, void (frmMain::*handler)()) {
        auto *action = new QAction(caption, this);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, handler);
        menu->addAction(action);
        return action;
    };

    mnuFile = addSubmenu(this, bar, nullptr, "mnuFile", QStringLiteral("&File"));
    mnuFileOpen = command(mnuFile, "mnuFileOpen", QStringLiteral("&Connect AP-Bridge"), &frmMain::mnuFileOpen_Click);
    mnuFileOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    mnuFileSave = command(mnuFile, "mnuFileSave", QStringLiteral("&Download Changes"), &frmMain::mnuFileSave_Click);
    mnuFileSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    Sepa = addSeparator(mnuFile, "Sepa");
    mnuFileFindDevices = command(mnuFile, "mnuFileFindDevices", QStringLiteral("Find De&vices..."),
                                 &frmMain::mnuFileFindDevices_Click);
    // Settings files: the device's settings kept, and put on it (or another) later.
    mnuFileSaveConfiguration = command(mnuFile, "mnuFileSaveConfiguration", QStringLiteral("Save Configuration &As..."),
                                       &frmMain::mnuFileSaveConfiguration_Click);
    mnuFileLoadConfiguration = command(mnuFile, "mnuFileLoadConfiguration", QStringLiteral("&Load Configuration..."),
                                       &frmMain::mnuFileLoadConfiguration_Click);
    mnuFileRecentFiles = addSubmenu(this, bar, mnuFile, "mnuFileRecentFiles", QStringLiteral("Recent &Files"));
    SeparatorFiles = addSeparator(mnuFile, "SeparatorFiles");
    mnuFileOptions = command(mnuFile, "mnuFileOptions", QStringLiteral("&Options..."), &frmMain::mnuFileOptions_Click);
    Separator2 = addSeparator(mnuFile, "Separator2");
    mnuFileExit = command(mnuFile, "mnuFileExit", QStringLiteral("E&xit"), &frmMain::mnuFileExit_Click);
    mnuFileExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));

    mnuSetup = addSubmenu(this, bar, nullptr, "mnuSetup", QStringLiteral("&Setup"));
    mnuSetupBridge = addSubmenu(this, bar, mnuSetup, "mnuSetupBridge", QStringLiteral("&Bridge"));
    mnuSetupBridgeIPsettings = command(mnuSetupBridge, "mnuSetupBridgeIPsettings", QStringLiteral("&IP Settings"),
                                       &frmMain::mnuSetupBridgeIPsettings_Click);
    mnuSetupBridgeOperationalMode =
        command(mnuSetupBridge, "mnuSetupBridgeOperationalMode", QStringLiteral("&Operational Mode"),
                &frmMain::mnuSetupBridgeOperationalMode_Click);
    mnuSetupWireLess = addSubmenu(this, bar, mnuSetup, "mnuSetupWireLess", QStringLiteral("&WireLess LAN"));
    mnuSetupWireLessPrivacy = command(mnuSetupWireLess, "mnuSetupWireLessPrivacy",
                                      QStringLiteral("P&rivacy Options"), &frmMain::mnuSetupWireLessPrivacy_Click);
    mnuSetupWireLessOperational =
        command(mnuSetupWireLess, "mnuSetupWireLessOperational", QStringLiteral("&Operational settings"),
                &frmMain::mnuSetupWireLessOperational_Click);
    Separator = addSeparator(mnuSetup, "Separator");
    mnuSetupSNMPtraps = command(mnuSetup, "mnuSetupSNMPtraps", QStringLiteral("&Enable SNMP traps"),
                                &frmMain::mnuSetupSNMPtraps_Click);
    mnuSetupSNMPtraps->setCheckable(true);

    mnuCommands = addSubmenu(this, bar, nullptr, "mnuCommands", QStringLiteral("&Commands"));
    mnuCommandsReset = command(mnuCommands, "mnuCommandsReset", QStringLiteral("Re&set Device"),
                               &frmMain::mnuCommandsReset_Click);
    mnuCommandsRestoreDefaults = command(mnuCommands, "mnuCommandsRestoreDefaults",
                                         QStringLiteral("&Restore Defaults"), &frmMain::mnuCommandsRestoreDefaults_Click);

    mnuInfo = addSubmenu(this, bar, nullptr, "mnuInfo", QStringLiteral("&Information"));
    mnuInformationDeviceInfo = command(mnuInfo, "mnuInformationDeviceInfo", QStringLiteral("&Device Info"),
                                       &frmMain::mnuInformationDeviceInfo_Click);
    Separator5 = addSeparator(mnuInfo, "Separator5");
    mnuInfoWireLessStatistics = command(mnuInfo, "mnuInfoWireLessStatistics", QStringLiteral("&WireLess Statistics"),
                                        &frmMain::mnuInfoWireLessStatistics_Click);
    mnuInfoEthernetStatistics = command(mnuInfo, "mnuInfoEthernetStatistics", QStringLiteral("&Ethernet Statistics"),
                                        &frmMain::mnuInfoEthernetStatistics_Click);
    mnuInfoLiveStatistics = command(mnuInfo, "mnuInfoLiveStatistics", QStringLiteral("&Live Statistics..."),
                                    &frmMain::mnuInfoLiveStatistics_Click);

    mnuTraps = addSubmenu(this, bar, nullptr, "mnuTraps", QStringLiteral("&Traps"));
    mnuViewRecord = command(mnuTraps, "mnuViewRecord", QStringLiteral("&View Record"), &frmMain::mnuViewRecord_Click);

    mnuRadio = addSubmenu(this, bar, nullptr, "mnuRadio", QStringLiteral("&Radio"));
    mnuRadioConfiguration = command(mnuRadio, "mnuRadioConfiguration", QStringLiteral("&Configuration"),
                                    &frmMain::mnuRadioConfiguration_Click);
    mnuRadioTests = command(mnuRadio, "mnuRadioTests", QStringLiteral("&Tests"), &frmMain::mnuRadioTests_Click);

    mnuHelp = addSubmenu(this, bar, nullptr, "mnuHelp", QStringLiteral("&Help"));
    mnuHelpTopic = command(mnuHelp, "mnuHelpTopic", QStringLiteral("Help &Topic"), &frmMain::mnuHelpTopic_Click);
    sasa = addSeparator(mnuHelp, "sasa");
    mnuHelpAbout = command(mnuHelp, "mnuHelpAbout", QStringLiteral("&About SNMP Manager"), &frmMain::mnuHelpAbout_Click);
}

void frmMain::buildToolBar()
{
    tbToolBar = addToolBar(QStringLiteral("Toolbar"));
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setMovable(false);
    tbToolBar->setIconSize(QSize(16, 16));

    struct Button {
        const char *key;
        const char *tooltip;
        const char *icon;
    };
    const Button buttons[] = {
        {"Open", "Connect AP-Bridge", ":/icons/open.png"},
        {"Save", "Download Changes", ":/icons/save.png"},
    };
    for (const Button &b : buttons) {
        QAction *button = tbToolBar->addAction(QIcon(QLatin1String(b.icon)), QLatin1String(b.tooltip));
        button->setObjectName(QLatin1String(b.key));
        button->setData(QLatin1String(b.key));
        button->setToolTip(QLatin1String(b.tooltip));
    }
    connect(tbToolBar, &QToolBar::actionTriggered, this, &frmMain::tbToolBar_ButtonClick);
}

void frmMain::buildStatusBar()
{
    sbStatusBar = statusBar();
    sbStatusBar->setObjectName(QStringLiteral("sbStatusBar"));
    sbStatusBar->setSizeGripEnabled(true);

    messagePanel_ = new app::StatusPanel(sbStatusBar);
    emptyPanel_ = new QLabel(sbStatusBar);
    trapMark_ = new QLabel(sbStatusBar);
    const QList<QFrame *> panels = {messagePanel_, emptyPanel_, trapMark_};
    for (int i = 0; i < panels.size(); ++i) {
        panels[i]->setObjectName(QStringLiteral("sbStatusBarPanel%1").arg(i + 1));
        panels[i]->setFrameShape(QFrame::Panel);
        panels[i]->setFrameShadow(QFrame::Sunken);
    }
    // The received-trap mark: a fixed 108 x 23 picture.
    trapMark_->setPixmap(QPixmap(QStringLiteral(":/icons/trap_mark.png")));
    trapMark_->setFixedSize(108 + 2 * trapMark_->frameWidth(), 23 + 2 * trapMark_->frameWidth());
    trapMark_->setAccessibleName(QStringLiteral("Trap received"));
    trapMark_->setToolTip(QStringLiteral("A trap was received: Traps, View Record shows it"));
    statusRepaint_ = new app::PacedRepaint(messagePanel_);

    // Panel 1 shows what the status line decides; a click on it (or
    // Ctrl+M) lists the last messages.
    statusLine_ = new app::StatusLine(this);
    connect(statusLine_, &app::StatusLine::shown, this, [this](const QString &text) {
        statusRepaint_->aboutToChange();
        messagePanel_->setText(text);
        messagePanel_->setToolTip(text);
    });
    connect(messagePanel_, &app::StatusPanel::activated, this, &frmMain::showMessageHistory);
    auto *history = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_M), this);
    connect(history, &QShortcut::activated, this, &frmMain::showMessageHistory);

    showStatus(QStringLiteral("Status"));
    sbStatusBar->addWidget(messagePanel_, 3);
    sbStatusBar->addWidget(emptyPanel_, 1);
    sbStatusBar->addPermanentWidget(trapMark_);
}
