#pragma once
// Everything the main window does with the device, without any widget:
// opening the two manager instances, the connect/scan watchdog, the
// response dispatcher, the full configuration read with its retries, the
// group readers, Download Changes with its watchdog, and the device
// commands. The main window forwards its menu commands here and shows what
// the signals report.

#include "agent/polling.h"
#include "agent/questioner.h"
#include "config/device_link.h"
#include "config/group_readers.h"
#include "config/radio_commands.h"
#include "snmp/mib.h"
#include "snmp/snmp_manager.h"
#include "traps/trap_reception.h"
#include "traps/trap_switch.h"

#include <QDateTime>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>
#include <functional>
#include <map>

namespace agent {

struct SessionOptions {
    quint16 agentPort = 161;  // RemotePort of every request
    quint16 trapPort = 162;   // local port of the trap instance
    QString scanAddress = QStringLiteral("255.255.255.255");
    QString mibPath;          // CorvaneMIB.mib beside the program; the built-in MIB when absent
    // Every timer interval and request time-out is multiplied by this:
    // tests run the device's timing ten times faster, 1.0 is the real pace.
    double timeScale = 1.0;
    // How long a request waits on its socket before the event loop runs
    // (see SnmpManager::setDirectWaitMs): 0 when the device lives in this
    // process, as the demo's and the tests' do.
    int directWaitMs = snmp::SnmpManager::kDefaultDirectWaitMs;
    // Opens the trap instance on the trap port; empty: on all IPv4
    // addresses. Tests stand in a refusal here that only missing rights
    // would give, whoever runs them.
    std::function<snmp::OpenResult(snmp::SnmpManager &trapInstance, quint16 port)> openTrapPort;
};

// The intervals and time-outs of the exchange with the device, in ms at
// the real pace.
namespace interval {
constexpr int connectTimeout = 800;
constexpr int connectWatchdog = 1200;
constexpr int scanTimeout = 1000;
constexpr int scanWatchdog = 1500;
constexpr int readRetry = 100;
constexpr int downloadRetry = 100;
}  // namespace interval

class DeviceSession : public QObject {
    Q_OBJECT
public:
    explicit DeviceSession(const SessionOptions &options, QObject *parent = nullptr);
    ~DeviceSession() override;

    const SessionOptions &options() const { return options_; }
    void setQuestioner(Questioner *questioner) { questioner_ = questioner; }
    // Other windows ask their Yes/No questions through the same questioner.
    bool askUser(const QString &text, const QString &title) { return ask(text, title); }

    // The main window's load: trap saving on, device commands greyed, both
    // manager instances opened, the MIB loaded.
    void start();

    // --- members the windows read -----------------------------------------
    snmp::SnmpManager Manager1;  // requests and responses
    snmp::SnmpManager Manager2;  // traps
    snmp::Mib Mib;
    QString AgentAddress;
    bool AgentFound = false;
    bool Connected = false;

    QTimer Timer1;        // connect/scan watchdog
    QTimer Timer2;        // full-read retries
    QTimer SetTimer;      // download retries
    QTimer PollingTimer;  // periodic full read (off until options turn it on)

    // Shared flags of the connection, the full read and the download.
    qint32 RequestCounter = 0;
    bool ConnectPending = false;
    bool ScanPending = false;
    qint16 ConnectRetries = 0;
    qint16 ScanRetries = 0;
    bool UserConfirmed = false;
    bool ReadingConfiguration = false;
    qint16 ReadAttempt = 0;
    QString FirmwareVersionText;
    bool DownloadOK = false;
    qint16 DownloadAttempt = 0;

    QString statusText() const { return statusText_; }
    bool mibLoaded() const { return Mib.hasModule(); }

    // The device the console manages: the one whose whole configuration was
    // read since the last connect (Connected), else none (empty). A new
    // connect or scan lets go of the previous device at once.
    QString managedDevice() const { return Connected ? AgentAddress : QString(); }
    // Refuses with noDevice when no device is managed; true when it refused.
    bool refuseWithoutDevice();
    // The read after a connect still runs (a pass, or a retry to come).
    bool fullReadRunning() const { return passRunning_ || passQueued_ || Timer2.isActive(); }
    // What the last pass that gave up showed; empty after a pass that got
    // through and at every new connect.
    QString readFailure() const { return readFailure_; }

    // A connect, a read pass (or its retries), a download (or its retries)
    // or any request is under way. Device commands and the settings
    // dialogs' OK are refused meanwhile: a nested wait lets menus run, and
    // a command sent inside a download would land between its groups.
    bool deviceWorkRunning() const;
    // Shows the refusal text when work is running; true when it refused.
    bool refuseWhileBusy();
    // A timer interval at the session's time scale.
    int scaled(int milliseconds) const { return link_.scaled(milliseconds); }
    config::DeviceLink &link() { return link_; }

    // --- connecting --------------------------------------------------------
    // The connect dialog's OK: remembers the typed texts, sends the probe
    // and resets the retry counters.
    void confirmConnect(const QString &address, const QString &community);
    // The connect dialog's Cancel.
    void cancelConnect() { UserConfirmed = false; }
    // The connect dialog's Scan.
    void startScan();
    void OpenConf();
    void ScanAgent();
    void Timer1_Timer();
    void Manager1_Response();

    // --- the full read -----------------------------------------------------
    void ReadAllConfiguration();
    void Timer2_Timer();
    bool GetHardConfStruct();
    bool GetWirelessOperationalConf();
    bool GetIPSettingsConf();
    bool GetPrivacySettingsConf();
    bool GetTrapsConf();
    bool GetBridgeOperationalModeConf();
    bool GetWirelessStatisticsConf();
    bool GetEthernetStatisticsConf();
    bool GetRadioConfiguration();
    // When `group` was last read whole from the device; null before that.
    QDateTime lastRead(config::Group group) const;

    // --- the statistics views' Refresh ---------------------------------------
    // The wireless and Ethernet statistics groups read again, and nothing
    // else. False when other work is talking to the device or the device did
    // not give them; the status line says why.
    bool readStatistics();

    // --- changing the device -----------------------------------------------
    // Refused (with a status text saying why: busy, no device, a group not
    // read since the connect, a value the device would refuse), declined by
    // the user, or started. A started download ends with downloadFinished.
    enum class DownloadStart { Refused, Declined, Started };
    DownloadStart startDownload();
    void mnuFileSave_Click() { startDownload(); }  // asks, then downloads
    DownloadStart SavePara() { return startDownload(); }
    // An attempt or a repeat to come.
    bool downloadUnderWay() const { return downloadRunning_ || SetTimer.isActive(); }
    void DownloadChanges();
    void SetTimer_Timer();
    bool ResetDevise();
    bool LoadDefaults();
    void mnuCommandsReset_Click();
    void mnuCommandsRestoreDefaults_Click();

    // --- the radio windows' device steps (config/radio_commands) ---------
    bool SetTestMode() { return config::SetTestMode(link_, AgentAddress); }
    bool SetTestModeValues(qint16 command)
    {
        return config::SetTestModeValues(link_, AgentAddress, command, config::store());
    }
    bool SetRadioConfigurationValues()
    {
        return config::SetRadioConfigurationValues(link_, AgentAddress, config::store());
    }

    void EnableDeviceMenus();
    void DisableDeviceMenus();

    // --- traps -------------------------------------------------------------
    // Traps from the connected device into the trap log and its file.
    traps::TrapReception trapReception{Manager2, Mib, AgentAddress, Connected,
                                       [this](const QString &text) { setStatus(text); }};
    // The trap switch's SET and echo check; the outcome goes to the status line.
    void switchDeviceTraps(bool enable)
    {
        if (!refuseWithoutDevice())
            setStatus(traps::sendTrapSwitch(link_, AgentAddress, enable));
    }

    // The periodic full read.
    Polling &polling() { return polling_; }

signals:
    void statusChanged(const QString &text);
    void deviceCommandsEnabledChanged(bool enabled);
    void trapSwitchCheckedChanged(bool checked);
    void busyCursorChanged(bool busy);  // the hourglass while connecting
    void connectDialogCloseRequested();  // a scan found a device
    void managedDeviceChanged(const QString &address);  // empty: none
    // A confirmed download went through (after its reset) or gave up.
    void downloadFinished(bool ok);

public:
    // Panel 1 of the main window's status bar (other units report here too).
    void setStatus(const QString &text);

private:
    bool OpenRequestManager();
    bool OpenTrapManager();
    // A final failure text, unless the attempt was stopped by something the
    // user must hear about instead (the loopback guard, a missing MIB).
    void setFailureStatus(const QString &text);
    void startReadWhenIdle();
    bool answerComesFromDevice(const QString &responder) const;
    bool readGroupReporting(config::Group group);
    bool ask(const QString &text, const QString &title);
    void sendProbe(const QString &host, int timeoutMs, int watchdogMs, bool setCommunity);
    void letGoOfDevice();
    bool refuseDownload();

    SessionOptions options_;
    config::DeviceLink link_{Manager1, Mib, RequestCounter};
    Questioner *questioner_ = nullptr;
    QString statusText_;
    QString problem_;  // why the current attempt could not send, if it could not
    QString mibError_;
    QString connectAddress_;
    QString connectCommunity_;
    QString readFailure_;
    bool passRunning_ = false;
    bool passQueued_ = false;  // found while another request was still outstanding
    bool downloadRunning_ = false;
    // Request ids of the probes of the current connect or scan attempt: only
    // an answer to one of them shows that the device is there.
    QSet<qint32> probeIds_;
    std::map<config::Group, QDateTime> lastRead_;
    Polling polling_{*this};
};

}  // namespace agent
