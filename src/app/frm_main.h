#pragma once
// The main window: a multiple-document frame with the menus, the toolbar
// and the status line. It holds no device rules: commands go to the device
// session, and what the session reports (status text, enabled commands,
// the trap switch, the hourglass) is shown here. Other windows reach the
// device through the methods below, which keep the names they call.

#include "agent/device_session.h"
#include "busy_cursor.h"
#include "quicksetup/quick_setup_host.h"

#include <QMainWindow>
#include <QPointer>
#include <memory>

class QAction;
class QDialog;
class QLabel;
class QMdiArea;
class QMenu;
class QStatusBar;
class QToolBar;
class frmIPAddress;
class frmTestMode;
class FrmMain2;

namespace app {
class HelpWindow;
class MessageBoxQuestioner;
class MessageHistoryWindow;
class StatusLine;
class PacedRepaint;
class RecentFiles;
class StatusPanel;
class SingleMdiChild;
}  // namespace app

class frmMain : public QMainWindow, public QuickSetupHost {
    Q_OBJECT
public:
    explicit frmMain(const agent::SessionOptions &options, QWidget *parent = nullptr);
    ~frmMain() override;

    // The window's load: placement, trap mark hidden, device commands
    // greyed, both manager instances opened, the MIB loaded.
    void MDIForm_Load();

    agent::DeviceSession &session() override { return *session_; }
    // Who answers the Yes/No questions; nullptr: the user, in a message box.
    void setQuestioner(agent::Questioner *questioner);

    QMdiArea *mdiArea() const { return mdiArea_; }
    // The connect dialog, one instance for the window's life.
    frmIPAddress *connectDialog() override;
    // Panel 1 to 3 of the status bar, and the message panel 1 shows.
    QWidget *statusPanel(int number) const;
    QString statusText() const;
    // Panel 1's text replaced; its tooltip shows the whole text where the
    // panel is too narrow for it. Every status text goes through here. A
    // trap's "Trap Received" waits while a result is still fresh.
    void showStatus(const QString &text);
    // What the session reported, in words.
    void showReport(const agent::SessionReport &report);
    // Panel 1's messages and their history.
    app::StatusLine &statusLine() const { return *statusLine_; }
    // The history of the status line's messages (a click on panel 1).
    void showMessageHistory();
    app::MessageHistoryWindow *messageHistoryWindow() const;
    // Panel 3: shown when a trap arrives.
    void setTrapMarkVisible(bool visible);
    // The help collection "Help Topic" opens; by default the one beside
    // the program.
    void setHelpCollectionFile(const QString &file) { helpCollectionFile_ = file; }
    app::HelpWindow *helpWindow() const;

    // --- what other windows call -----------------------------------------
    QString AgentAddress() const { return session_->AgentAddress(); }
    bool Connected() const { return session_->Connected(); }
    agent::DeviceSession::DownloadStart SavePara() override { return session_->SavePara(); }
    void EnableDeviceMenus() { session_->EnableDeviceMenus(); }
    void DisableDeviceMenus() { session_->DisableDeviceMenus(); }

    // --- the trap log ------------------------------------------------------
    // Entries received since start-up or the last "Clear all".
    QString TrapLog() const { return session_->trapReception().TrapLog; }

    // --- settings files ------------------------------------------------------
    // The device's settings to `path`; the status line says how it went.
    bool saveConfigurationFile(const QString &path);
    // `path` checked; when it changes anything, the differences shown in a
    // window-modal dialog (returned; nullptr when refused or nothing
    // differs, the status line says why), whose OK takes them as edits.
    QDialog *loadConfigurationFile(const QString &path);

    // --- radio test ----------------------------------------------------------
    // The radio test window while it is open, else nullptr.
    frmTestMode *testModeWindow() const;

    // --- the quick-setup window ---------------------------------------------
    // Made and loaded on first use (at start-up); later calls bring it to
    // the front as it stands, its tab and state kept.
    FrmMain2 *showQuickSetup();
    FrmMain2 *quickSetupWindow() const;
    // The quick-setup window's Help: the Help menu's topics.
    void showHelpTopics() override { mnuHelpTopic_Click(); }
    // What the window's unload saves; for exits that end the program
    // without closing this window.
    void saveWindowPlacement() override { savePlacement(); }
    // Before the program ends: true when no edits wait to be downloaded or
    // the user lets them go (asked once per ending).
    bool mayEndProgram() override;

    // --- menus, toolbar, status bar ----------------------------------------
    QMenu *mnuFile = nullptr;
    QAction *mnuFileOpen = nullptr;
    QAction *mnuFileSave = nullptr;
    QAction *Sepa = nullptr;
    QAction *mnuFileFindDevices = nullptr;
    QAction *mnuFileSaveConfiguration = nullptr;
    QAction *mnuFileLoadConfiguration = nullptr;
    QMenu *mnuFileRecentFiles = nullptr;
    QAction *SeparatorFiles = nullptr;
    QAction *mnuFileOptions = nullptr;
    QAction *Separator2 = nullptr;
    QAction *mnuFileExit = nullptr;
    QMenu *mnuSetup = nullptr;
    QMenu *mnuSetupBridge = nullptr;
    QAction *mnuSetupBridgeIPsettings = nullptr;
    QAction *mnuSetupBridgeOperationalMode = nullptr;
    QMenu *mnuSetupWireLess = nullptr;
    QAction *mnuSetupWireLessPrivacy = nullptr;
    QAction *mnuSetupWireLessOperational = nullptr;
    QAction *Separator = nullptr;
    QAction *mnuSetupSNMPtraps = nullptr;
    QMenu *mnuCommands = nullptr;
    QAction *mnuCommandsReset = nullptr;
    QAction *mnuCommandsRestoreDefaults = nullptr;
    QMenu *mnuInfo = nullptr;
    QAction *mnuInformationDeviceInfo = nullptr;
    QAction *Separator5 = nullptr;
    QAction *mnuInfoWireLessStatistics = nullptr;
    QAction *mnuInfoEthernetStatistics = nullptr;
    QAction *mnuInfoLiveStatistics = nullptr;
    QMenu *mnuTraps = nullptr;
    QAction *mnuViewRecord = nullptr;
    QMenu *mnuRadio = nullptr;
    QAction *mnuRadioConfiguration = nullptr;
    QAction *mnuRadioTests = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *mnuHelpTopic = nullptr;
    QAction *sasa = nullptr;
    QAction *mnuHelpAbout = nullptr;

    QToolBar *tbToolBar = nullptr;
    QStatusBar *sbStatusBar = nullptr;

public slots:
    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    void mnuFileFindDevices_Click();
    void mnuFileSaveConfiguration_Click();
    void mnuFileLoadConfiguration_Click();
    void mnuFileOptions_Click();
    void mnuFileExit_Click();
    void mnuSetupBridgeIPsettings_Click();
    void mnuSetupBridgeOperationalMode_Click();
    void mnuSetupWireLessPrivacy_Click();
    void mnuSetupWireLessOperational_Click();
    void mnuSetupSNMPtraps_Click();
    void mnuCommandsReset_Click();
    void mnuCommandsRestoreDefaults_Click();
    void mnuInformationDeviceInfo_Click();
    void mnuInfoWireLessStatistics_Click();
    void mnuInfoEthernetStatistics_Click();
    void mnuInfoLiveStatistics_Click();
    void mnuViewRecord_Click();
    void mnuRadioConfiguration_Click();
    void mnuRadioTests_Click();
    void mnuHelpTopic_Click();
    void mnuHelpAbout_Click();
    // Dispatches on the button's key, "Open" or "Save".
    void tbToolBar_ButtonClick(QAction *button);

protected:
    // The window's unload: remembers the placement unless minimised.
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    void connectSession();
    void restorePlacement();
    void savePlacement();
    void showDeviceCommandsEnabled(bool enabled);
    void showManagedDevice(const QString &address);
    void showEditsWaiting(bool waiting);
    void showTrapSwitch(bool checked);
    QList<QAction *> deviceCommands() const;

    // The questioner outlives the session that points to it.
    std::unique_ptr<app::MessageBoxQuestioner> messageBoxQuestioner_;
    std::unique_ptr<agent::DeviceSession> session_;
    QMdiArea *mdiArea_ = nullptr;
    app::StatusPanel *messagePanel_ = nullptr;  // panel 1
    app::StatusLine *statusLine_ = nullptr;     // what panel 1 shows
    QPointer<app::MessageHistoryWindow> messageHistory_;
    QLabel *emptyPanel_ = nullptr;              // panel 2
    QLabel *trapMark_ = nullptr;                // panel 3
    app::PacedRepaint *statusRepaint_ = nullptr;
    QPointer<frmIPAddress> connectDialog_;
    app::BusyCursor busyCursor_;
    bool trapSwitchChecked_ = false;
    bool endConfirmed_ = false;

    app::SingleMdiChild *bridgeIPSettings_ = nullptr;
    app::SingleMdiChild *bridgeOperationalMode_ = nullptr;
    app::SingleMdiChild *wirelessPrivacyOptions_ = nullptr;
    app::SingleMdiChild *wirelessOperationalSettings_ = nullptr;
    app::SingleMdiChild *deviceInfo_ = nullptr;
    app::SingleMdiChild *wirelessStatistics_ = nullptr;
    app::SingleMdiChild *ethernetStatistics_ = nullptr;
    app::RecentFiles *recentFiles_ = nullptr;
    app::SingleMdiChild *findDevices_ = nullptr;
    app::SingleMdiChild *liveStatistics_ = nullptr;
    QString helpCollectionFile_;
    QPointer<app::HelpWindow> helpWindow_;

    // The Trap Recorder, and the trap mark and status line it looks after.
    void setUpTraps();
    app::SingleMdiChild *trapRecorder_ = nullptr;

    // Radio test windows.
    app::SingleMdiChild *radioConfiguration_ = nullptr;
    QPointer<frmTestMode> testMode_;
    QPointer<FrmMain2> quickSetup_;
};

// The one main window; every other window reaches the device through it.
extern frmMain *MainForm;
