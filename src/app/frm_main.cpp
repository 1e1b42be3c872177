#include "frm_main.h"

#include "app_logging.h"
#include "settings/app_settings.h"
#include "frm_options.h"
#include "help_window.h"
#include "message_box_questioner.h"
#include "message_history_window.h"
#include "paced_repaint.h"
#include "recent_files.h"
#include "status_panel.h"
#include "single_mdi_child.h"
#include "status_line.h"
#include "window_placement.h"

#include "widgets/accessibility.h"
#include "dialogs/frm_bridge_ip_settings.h"
#include "dialogs/configuration_file.h"
#include "dialogs/frm_bridge_operational_mode.h"
#include "dialogs/frm_configuration_differences.h"
#include "dialogs/frm_device_info.h"
#include "dialogs/frm_ethernet_statistics.h"
#include "dialogs/frm_find_devices.h"
#include "dialogs/frm_info_statistics.h"
#include "dialogs/frm_ip_address.h"
#include "dialogs/frm_live_statistics.h"
#include "dialogs/frm_trap_log.h"
#include "dialogs/frm_wireless_operational_settings.h"
#include "dialogs/frm_wireless_privacy_options.h"
#include "dialogs/settings_dialog.h"
#include "dialogs/status_texts.h"
#include "radiotest/frm_radio_configuration.h"
#include "radiotest/frm_test_mode.h"
#include "quicksetup/frm_main2.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScreen>

frmMain *MainForm = nullptr;

// The pictures are in a static library: nothing else would pull them in.
static void loadAppResources()
{
    Q_INIT_RESOURCE(app_resources);
}

namespace {
const QString kCaption = QStringLiteral("   TARVO SNMP Manager");
}

frmMain::frmMain(const agent::SessionOptions &options, QWidget *parent)
    : QMainWindow(parent),
      messageBoxQuestioner_(std::make_unique<app::MessageBoxQuestioner>(this)),
      session_(std::make_unique<agent::DeviceSession>(options))
{
    loadAppResources();
    widgets::installAccessibleInterfaces();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kCaption);
    // The dialogs inside the window take its icon too.
    setWindowIcon(QIcon(QStringLiteral(":/icons/app.png")));
    session_->setQuestioner(messageBoxQuestioner_.get());

    mdiArea_ = new QMdiArea(this);
    mdiArea_->setObjectName(QStringLiteral("mdiArea"));
    // A window larger than the area (the main window is small by default)
    // stays reachable.
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdiArea_);

    buildMenus();
    buildToolBar();
    buildStatusBar();
    connectSession();

    bridgeIPSettings_ = new app::SingleMdiChild(
        mdiArea_, [this] { return new frmBridgeIPSettings(session_->device()); }, this);
    bridgeOperationalMode_ = new app::SingleMdiChild(
        mdiArea_, [this] { return new frmBridgeOperationalMode(session_->device()); }, this);
    wirelessPrivacyOptions_ = new app::SingleMdiChild(
        mdiArea_, [this] { return new frmWireLessPrivacyOptions(session_->device()); }, this);
    wirelessOperationalSettings_ = new app::SingleMdiChild(
        mdiArea_, [this] { return new frmWireLessOperationalSettings(session_->device()); }, this);
    deviceInfo_ = new app::SingleMdiChild(mdiArea_, [this] { return new frmDeviceInfo(session_->device()); }, this);
    wirelessStatistics_ =
        new app::SingleMdiChild(mdiArea_, [this] { return new frmInfoStatistics(*session_); }, this);
    ethernetStatistics_ =
        new app::SingleMdiChild(mdiArea_, [this] { return new frmEthernetStatistics(*session_); }, this);
    liveStatistics_ =
        new app::SingleMdiChild(mdiArea_, [this] { return new frmLiveStatistics(*session_); }, this);
    findDevices_ = new app::SingleMdiChild(mdiArea_, [this] { return new frmFindDevices(*session_); }, this);
    setUpTraps();
    recentFiles_ = new app::RecentFiles(mnuFileRecentFiles, this);
    connect(recentFiles_, &app::RecentFiles::chosen, this, &frmMain::loadConfigurationFile);

    // A settings dialog's OK must not change the store under a download
    // that is reading it group by group.
    SettingsDialog::setStoreBusyCheck([this] { return session_->refuseWhileBusy(); });

    // Greyed from the start, whatever the session reports later.
    showDeviceCommandsEnabled(false);
}

frmMain::~frmMain()
{
    // Windows that talk to the device go before the session they use.
    delete quickSetup_.data();
    mdiArea_->closeAllSubWindows();
    qDeleteAll(mdiArea_->subWindowList());
    delete connectDialog_.data();
    session_->disconnect(this);
    SettingsDialog::setStoreBusyCheck(nullptr);
    if (MainForm == this)
        MainForm = nullptr;
}

void frmMain::setQuestioner(agent::Questioner *questioner)
{
    session_->setQuestioner(questioner ? questioner : messageBoxQuestioner_.get());
}

void frmMain::connectSession()
{
    agent::DeviceSession *s = session_.get();
    connect(s, &agent::DeviceSession::reported, this, &frmMain::showReport);
    connect(&settings::settingsEvents(), &settings::SettingsEvents::saveFailed, this, &frmMain::showStatus);
    connect(s, &agent::DeviceSession::deviceCommandsEnabledChanged, this, &frmMain::showDeviceCommandsEnabled);
    connect(s, &agent::DeviceSession::trapSwitchCheckedChanged, this, &frmMain::showTrapSwitch);
    connect(s, &agent::DeviceSession::busyCursorChanged, this, [this](bool busy) { busyCursor_.set(busy); });
    connect(s, &agent::DeviceSession::managedDeviceChanged, this, &frmMain::showManagedDevice);
    connect(&s->device(), &agent::Device::editsWaitingChanged, this, &frmMain::showEditsWaiting);
    showEditsWaiting(s->device().editsWaiting());
}

void frmMain::showManagedDevice(const QString &address)
{
    // Which device every command goes to, always in sight.
    setWindowTitle(address.isEmpty() ? kCaption : kCaption + QStringLiteral(" - ") + address);
}

void frmMain::showEditsWaiting(bool waiting)
{
    emptyPanel_->setText(waiting ? dialogs::text::editsWaiting : QString());
    emptyPanel_->setAccessibleName(waiting ? dialogs::text::editsWaiting : QString());
}

void frmMain::MDIForm_Load()
{
    restorePlacement();
    setTrapMarkVisible(false);
    session_->start();
    session_->trapReception().enlargeReceiveBuffer();
    // Settings that could not be saved before the window was there (the
    // demo's address and community).
    if (!settings::settingsSaveProblem().isEmpty())
        showStatus(settings::settingsSaveProblem());
    qCDebug(lcApp) << "main window loaded:" << messagePanel_->text();
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // The program ends with this window unless the quick-setup window stays.
    const bool programEnds = !quickSetup_ || !quickSetup_->isVisible();
    if (programEnds && !mayEndProgram()) {
        event->ignore();
        return;
    }
    savePlacement();
    // The help belongs to this window; left open it would keep the program running.
    if (helpWindow_)
        helpWindow_->close();
    QMainWindow::closeEvent(event);
}

void frmMain::restorePlacement()
{
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const qreal dpiX = screen ? screen->logicalDotsPerInchX() : 96.0;
    const qreal dpiY = screen ? screen->logicalDotsPerInchY() : 96.0;
    const QRect pixels = app::twipsToPixels(app::loadPlacement(), dpiX, dpiY);
    // On the screen that holds the middle of the stored placement, if any.
    const QScreen *target = QGuiApplication::screenAt(pixels.center());
    if (!target)
        target = screen;
    const QRect outer = frameGeometry(), inner = geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    const QRect placed = target ? app::keepOnScreen(pixels, target->availableGeometry(), frame) : pixels;
    move(placed.topLeft());
    resize(placed.size());
}

void frmMain::savePlacement()
{
    // A minimised window's edges say nothing about where the user wants it.
    if (isMinimized())
        return;
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const qreal dpiX = screen ? screen->logicalDotsPerInchX() : 96.0;
    const qreal dpiY = screen ? screen->logicalDotsPerInchY() : 96.0;
    app::savePlacement(app::pixelsToTwips(QRect(pos(), size()), dpiX, dpiY));
}

frmIPAddress *frmMain::connectDialog()
{
    if (!connectDialog_)
        connectDialog_ = new frmIPAddress(*session_, this);
    return connectDialog_;
}

QWidget *frmMain::statusPanel(int number) const
{
    switch (number) {
    case 1: return messagePanel_;
    case 2: return emptyPanel_;
    case 3: return trapMark_;
    default: return nullptr;
    }
}

QString frmMain::statusText() const
{
    return messagePanel_->text();
}

void frmMain::showStatus(const QString &text)
{
    statusLine_->post(text);
}

void frmMain::showReport(const agent::SessionReport &report)
{
    statusLine_->post(dialogs::statusText(report), report.event == agent::SessionReport::TrapReceived);
}

void frmMain::showMessageHistory()
{
    if (!messageHistory_) {
        messageHistory_ = new app::MessageHistoryWindow(*statusLine_, this);
        messageHistory_->setAttribute(Qt::WA_DeleteOnClose);
    }
    messageHistory_->show();
    messageHistory_->raise();
    messageHistory_->activateWindow();
}

app::MessageHistoryWindow *frmMain::messageHistoryWindow() const
{
    return messageHistory_.data();
}

void frmMain::setTrapMarkVisible(bool visible)
{
    trapMark_->setVisible(visible);
}

void frmMain::showDeviceCommandsEnabled(bool enabled)
{
    for (QAction *command : deviceCommands())
        command->setEnabled(enabled);
    // Not one of the device commands the session names, but as useless without a device.
    mnuInfoLiveStatistics->setEnabled(enabled);
}

void frmMain::showTrapSwitch(bool checked)
{
    trapSwitchChecked_ = checked;
    mnuSetupSNMPtraps->setChecked(checked);
}

QList<QAction *> frmMain::deviceCommands() const
{
    return {mnuFileSave,
            mnuSetupBridge->menuAction(),
            mnuSetupWireLess->menuAction(),
            mnuSetupSNMPtraps,
            mnuCommandsReset,
            mnuCommandsRestoreDefaults,
            mnuInformationDeviceInfo,
            mnuInfoWireLessStatistics,
            mnuInfoEthernetStatistics,
            mnuViewRecord,
            mnuRadioConfiguration,
            mnuRadioTests};
}

// --- command handlers --------------------------------------------------------

void frmMain::mnuFileOpen_Click()
{
    frmIPAddress *dialog = connectDialog();
    if (dialog->isVisible()) {
        dialog->raise();
        dialog->activateWindow();
        return;
    }
    dialog->exec();
}

void frmMain::mnuFileSave_Click()
{
    session_->SavePara();
}

// --- settings files ------------------------------------------------------------

namespace {
const QString kSettingsFilter = QStringLiteral("Settings files (*.json);;All files (*)");

QString lastFolder()
{
    const QStringList recent = app::RecentFiles::files();
    return recent.isEmpty() ? QString() : QFileInfo(recent.constFirst()).absolutePath();
}
}  // namespace

void frmMain::mnuFileFindDevices_Click()
{
    findDevices_->show();
}

void frmMain::mnuFileSaveConfiguration_Click()
{
    if (!session_->Connected()) {
        showStatus(dialogs::text::notReadToSave);
        return;
    }
    // Named after the device, beside the last file.
    const QString suggested = QFileInfo(lastFolder(), session_->AgentAddress() + QStringLiteral(".json")).filePath();
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save Configuration As"), suggested,
                                                      kSettingsFilter);
    if (!path.isEmpty())
        saveConfigurationFile(path);
}

void frmMain::mnuFileLoadConfiguration_Click()
{
    if (!session_->Connected()) {
        showStatus(dialogs::text::notReadToLoad);
        return;
    }
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Load Configuration"), lastFolder(), kSettingsFilter);
    if (!path.isEmpty())
        loadConfigurationFile(path);
}

bool frmMain::saveConfigurationFile(const QString &path)
{
    bool ok = false;
    showStatus(dialogs::saveConfiguration(*session_, path, &ok));
    if (ok)
        app::RecentFiles::add(path);
    return ok;
}

QDialog *frmMain::loadConfigurationFile(const QString &path)
{
    if (!session_->Connected()) {
        showStatus(dialogs::text::notReadToLoad);
        return nullptr;
    }
    const dialogs::LoadedConfiguration loaded = dialogs::readConfiguration(path);
    if (!loaded.file) {
        // A file that is gone leaves the list; a refused one stays, to be mended.
        if (!QFileInfo::exists(path))
            app::RecentFiles::remove(path);
        showStatus(loaded.error);
        return nullptr;
    }
    app::RecentFiles::add(path);
    const config::ConfigurationStore &store = session_->device().store();
    const QVector<dialogs::SettingDifference> differences = dialogs::differencesOf(*loaded.file, store, true);
    if (differences.isEmpty()) {
        showStatus(dialogs::text::nothingToLoad.arg(QDir::toNativeSeparators(path)));
        return nullptr;
    }
    auto *dialog = new frmConfigurationDifferences(*loaded.file, path, store, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // The differences were those of this device: another one's store is not changed by them.
    connect(session_.get(), &agent::DeviceSession::managedDeviceChanged, dialog, &QDialog::reject);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        const QString text =
            dialogs::applyConfiguration(*session_, dialog->file(), dialog->path(), dialog->withAddresses());
        if (!text.isEmpty())
            showStatus(text);
    });
    dialog->open();
    return dialog;
}

void frmMain::mnuFileExit_Click()
{
    // Exit ends the program: the quick-setup window would otherwise stay
    // with no way back to this one. Closing this window saves the placement;
    // closing the quick-setup window ends the program. Edits waiting are
    // asked about first, once.
    if (!mayEndProgram())
        return;
    if (close() && quickSetup_)
        quickSetup_->close();
}

bool frmMain::mayEndProgram()
{
    if (endConfirmed_ || !session_->device().editsWaiting())
        return true;
    endConfirmed_ = session_->askUser(dialogs::text::closeWithEdits, dialogs::text::closeWithEditsTitle);
    return endConfirmed_;
}

void frmMain::mnuSetupBridgeIPsettings_Click()
{
    bridgeIPSettings_->show();
}

void frmMain::mnuSetupBridgeOperationalMode_Click()
{
    bridgeOperationalMode_->show();
}

void frmMain::mnuSetupWireLessPrivacy_Click()
{
    wirelessPrivacyOptions_->show();
}

void frmMain::mnuSetupWireLessOperational_Click()
{
    wirelessOperationalSettings_->show();
}

void frmMain::mnuCommandsReset_Click()
{
    session_->mnuCommandsReset_Click();
}

void frmMain::mnuCommandsRestoreDefaults_Click()
{
    session_->mnuCommandsRestoreDefaults_Click();
}

void frmMain::mnuFileOptions_Click()
{
    frmOptions options(*session_, this);
    options.exec();
}

void frmMain::mnuInformationDeviceInfo_Click()
{
    deviceInfo_->show();
}

void frmMain::mnuInfoWireLessStatistics_Click()
{
    wirelessStatistics_->show();
}

void frmMain::mnuInfoEthernetStatistics_Click()
{
    ethernetStatistics_->show();
}

void frmMain::mnuInfoLiveStatistics_Click()
{
    liveStatistics_->show();
}

app::HelpWindow *frmMain::helpWindow() const
{
    return helpWindow_.data();
}

void frmMain::mnuHelpTopic_Click()
{
    if (!helpWindow_) {
        const QString file = helpCollectionFile_.isEmpty() ? app::helpCollectionFile() : helpCollectionFile_;
        // No help window without a help file to show; the status line says why.
        QString why;
        helpWindow_ = app::HelpWindow::open(file, this, &why);
        if (!helpWindow_) {
            showStatus(why);
            return;
        }
    }
    helpWindow_->show();
    helpWindow_->raise();
    helpWindow_->activateWindow();
}

// --- the quick-setup window ----------------------------------------------------

FrmMain2 *frmMain::showQuickSetup()
{
    if (!quickSetup_) {
        // A window of its own beside this one, not inside it.
        quickSetup_ = new FrmMain2(this);
        quickSetup_->Form_Load();
        return quickSetup_;
    }
    if (quickSetup_->isMinimized())
        quickSetup_->showNormal();
    quickSetup_->show();
    quickSetup_->raise();
    quickSetup_->activateWindow();
    return quickSetup_;
}

FrmMain2 *frmMain::quickSetupWindow() const
{
    return quickSetup_;
}

// Its last tab is the about page.
void frmMain::mnuHelpAbout_Click()
{
    showQuickSetup();
}

// --- radio test windows -------------------------------------------------------

frmTestMode *frmMain::testModeWindow() const
{
    return testMode_.data();
}

void frmMain::mnuRadioConfiguration_Click()
{
    if (!radioConfiguration_) {
        radioConfiguration_ = new app::SingleMdiChild(
            mdiArea_, [this] { return new frmRadioConfiguration(*session_); }, this);
    }
    radioConfiguration_->show();
}

void frmMain::mnuRadioTests_Click()
{
    // A window of its own beside the document area: it is modal.
    if (!testMode_) {
        testMode_ = new frmTestMode(*session_, this);
        connect(testMode_, &frmTestMode::statusForMainWindow, this, &frmMain::showStatus);
    }
    testMode_->show();
    testMode_->raise();
    testMode_->activateWindow();
}

void frmMain::tbToolBar_ButtonClick(QAction *button)
{
    const QString key = button ? button->data().toString() : QString();
    if (key == QLatin1String("Open"))
        mnuFileOpen_Click();
    else if (key == QLatin1String("Save"))
        mnuFileSave_Click();
}

// --- traps: the Trap Recorder, the trap mark, the trap switch ------------------

void frmMain::setUpTraps()
{
    agent::DeviceSession *s = session_.get();
    trapRecorder_ = new app::SingleMdiChild(
        mdiArea_,
        [this] {
            auto *recorder = new frmTrapLog(session_->trapReception());
            connect(recorder, &frmTrapLog::unloaded, this, [this] {
                setTrapMarkVisible(false);
                showStatus(QString());
            });
            return recorder;
        },
        this);
    connect(&s->trapReception(), &traps::TrapReception::trapMarkShown, this, [this] { setTrapMarkVisible(true); });
}

void frmMain::mnuViewRecord_Click()
{
    trapRecorder_->show();
}

void frmMain::mnuSetupSNMPtraps_Click()
{
    // While other work talks to the device the click is refused, and the
    // check mark stays as the device has it.
    if (session_->refuseWhileBusy()) {
        mnuSetupSNMPtraps->setChecked(trapSwitchChecked_);
        return;
    }
    // The mark flips at once and keeps its new state whatever the device
    // answers; the status line tells whether the device followed.
    showTrapSwitch(!trapSwitchChecked_);
    session_->switchDeviceTraps(trapSwitchChecked_);
}
