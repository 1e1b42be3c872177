#pragma once
// The quick-setup window: connects to the access point, shows its state at
// a glance ("Status"), edits the common settings on four tabs ("Basic
// Setting", "Advanced", "IP Setting", "WEP") and applies them through the
// main window's download, then connects again. The last tab is the about
// page. It keeps no device values of its own: it reads and writes the
// configuration store, connects through the main window's connect dialog
// and downloads through its host's SavePara() (the main window).
//
// Connection polling: Timer1 ticks once a second while a connection is
// awaited; the device counts as connected once the store holds a known
// regulation-domain code and the whole configuration has been read (the
// session is connected). The sixth tick without that ends in "Connection
// Timeout!!", or in the read's own failure text for a device that answered
// but could not be read; while that read still runs (a slow device), the
// window waits for its outcome.
//
// Apply: a refused download says why in the status field; a started one
// ends with the session's downloadFinished (also after the download's own
// repeats): success connects again, failure shows the failure text.
//
// Closing the window ends the program (the main window's placement is
// saved first, as on any other exit); during a download it ends once the
// download is through, and with edits waiting to be downloaded it asks.

#include "quicksetup/quick_setup_host.h"

#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>

class MaskedHexEdit;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class UpDownControl;

namespace dialogs {
struct WirelessOperationalControls;
struct WirelessPrivacyControls;
}

class FrmMain2 : public QWidget {
    Q_OBJECT
public:
    // Without a host (a window shown on its own) nothing reaches a device.
    explicit FrmMain2(QuickSetupHost *host = nullptr, QWidget *parent = nullptr);
    ~FrmMain2() override;

    // Tab indexes of SSTab1.
    enum Tab { StatusTab = 0, BasicTab, AdvancedTab, IPTab, WEPTab, AboutTab };
    static constexpr int kPollInterval = 1000;  // Timer1, ms
    static constexpr int kTicksBeforeTimeout = 6;

    // What ends the program when the window closes; tests put a recorder here.
    void setProgramEnd(std::function<void()> end) { programEnd_ = std::move(end); }

    // --- form state ------------------------------------------------------------
    qint32 ConnectTicks = 0;
    bool FirstConnect = true;
    QTimer Timer1;  // connection polling; tests shorten its interval

    // --- outside the tabs -----------------------------------------------------------
    QTabWidget *SSTab1 = nullptr;
    QPushButton *cmdConn = nullptr;    // "Reconnect"
    QPushButton *cmdOK = nullptr;      // "OK"
    QPushButton *cmdCancel = nullptr;  // "Close"
    QPushButton *cmdHelp = nullptr;    // "Help"

    // --- "Status" ---------------------------------------------------------------------
    QLineEdit *txtStatus = nullptr;
    QLineEdit *txtFirmVer = nullptr;
    QLineEdit *txtDomain = nullptr;
    QLineEdit *txtESSID = nullptr;
    QLineEdit *txtChannel = nullptr;
    QLineEdit *txtWEP = nullptr;
    MaskedHexEdit *EthernetAddressMaskEdBox = nullptr;
    QPushButton *DefaultCommand = nullptr;  // "Restore Defaults"

    // --- "Basic Setting" ----------------------------------------------------------------
    QLabel *Label30 = nullptr;
    QLabel *Label29 = nullptr;
    QComboBox *ChannelCombo = nullptr;
    QLineEdit *ESSIDtext = nullptr;
    QLineEdit *RTSThresholdText = nullptr;
    UpDownControl *UpDown2 = nullptr;  // RTS threshold
    QLineEdit *FragmentationThresholdText = nullptr;
    UpDownControl *UpDown1 = nullptr;  // fragmentation threshold
    QPushButton *BC_OKCommand = nullptr;
    QPushButton *BC_CancelCommand = nullptr;

    // --- "Advanced" ----------------------------------------------------------------------
    QLabel *Label28 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QRadioButton *ShortPreambleOption = nullptr;
    QRadioButton *LongPreambleOption = nullptr;
    QGroupBox *Frame2 = nullptr;
    QRadioButton *OpenSystemOption = nullptr;
    QRadioButton *SharedKeyOption = nullptr;
    QRadioButton *BothTypeOption = nullptr;
    QGroupBox *Frame3 = nullptr;
    QRadioButton *BasicRates125511Option = nullptr;
    QRadioButton *BasicRates12Option = nullptr;
    QCheckBox *AutoRateFallBackCheck = nullptr;
    QPushButton *BC1_OKCommand = nullptr;
    QPushButton *AC_CancelCommand = nullptr;

    // --- "IP Setting" ---------------------------------------------------------------------
    QLabel *Label24 = nullptr;
    QGroupBox *Frame4 = nullptr;
    QLineEdit *IPAddressText = nullptr;
    QLineEdit *IPMaskText = nullptr;
    QPushButton *AC_OKCommand = nullptr;
    QPushButton *EN_CancelCommand = nullptr;

    // --- "WEP" -------------------------------------------------------------------------------
    QLabel *Label8 = nullptr;
    QComboBox *WepEnableCombo = nullptr;
    QGroupBox *Frame5 = nullptr;
    QComboBox *DefaultWepKeyIDCombo = nullptr;
    MaskedHexEdit *DefaultWepKey1 = nullptr;
    MaskedHexEdit *DefaultWepKey2 = nullptr;
    MaskedHexEdit *DefaultWepKey3 = nullptr;
    MaskedHexEdit *DefaultWepKey4 = nullptr;
    QLineEdit *PassText = nullptr;
    QPushButton *DoneCommand = nullptr;
    QLabel *Label23 = nullptr;
    QLabel *Label22 = nullptr;
    QPushButton *EN1_OKCommand = nullptr;

public slots:
    // The window's load: shows itself, asks for the device in the connect
    // dialog (modal) and starts polling when the user connected.
    void Form_Load();
    void cmdConn_Click();
    // Download what the store holds, then connect again. Every tab's Apply
    // and Restore Defaults end here.
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdHelp_Click();
    void Timer1_Timer();

    void BC_OKCommand_Click();
    void BC1_OKCommand_Click();
    void AC_OKCommand_Click();
    void EN1_OKCommand_Click();
    void DefaultCommand_Click();
    void DoneCommand_Click();
    void WepEnableCombo_Click();

private slots:
    void downloadFinished(bool ok);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Layout (frm_main2_layout.cpp).
    void buildWindow();
    QWidget *buildStatusTab();
    QWidget *buildBasicTab();
    QWidget *buildAdvancedTab();
    QWidget *buildIPTab();
    QWidget *buildWEPTab();
    QWidget *buildAboutTab();
    void connectControls();

    // Polling and the status fields.
    void startPolling(const QString &statusText);
    void forgetDeviceIdentity();
    bool deviceAnswered() const;
    void showConnected();
    void showTimedOut();
    QString wepStatusText() const;
    void setSettingTabsEnabled(bool enabled);
    void disableApplyButtons();
    bool refusedWhileBusy();
    // False when the program does not end now (a download runs, or the
    // user kept edits waiting).
    bool endProgram();
    // Brings a refused box's tab to the front and focuses it; false for
    // nullptr (nothing refused).
    bool showRefused(QLineEdit *box);

    // "Basic Setting" and "Advanced" (wireless_tabs.cpp).
    void FillChannelList();
    void ShowWirelessConf();
    bool SaveBasicConf();
    bool SaveWirelessConf();
    dialogs::WirelessOperationalControls wirelessControls() const;
    int restoreDefaultsChannelPosition() const;

    // "IP Setting" and "WEP" (ip_wep_tabs.cpp).
    void ShowIPConf();
    bool SaveIPConf();
    void ShowWEPConf();
    bool SaveWEPConf();
    std::array<MaskedHexEdit *, 4> wepKeyBoxes() const;
    dialogs::WirelessPrivacyControls privacyControls() const;

    // A tab's Apply: its store step, then cmdOK; nothing when the step
    // refuses what the tab holds.
    void apply(bool (FrmMain2::*storeStep)());

    agent::DeviceSession &session() const { return host_->session(); }
    config::ConfigurationStore &store() const { return host_->session().device().store(); }

    QuickSetupHost *host_;
    std::function<void()> programEnd_;
    bool ending_ = false;
    bool applying_ = false;  // this window started the download under way
    bool endDue_ = false;    // closed while a download ran
    QString addressBeforeDownload_;
};
