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
#include "snmp/mib.h"
#include "snmp/snmp_manager.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

namespace agent {

struct SessionOptions {
    quint16 agentPort = 161;  // RemotePort of every request
    quint16 trapPort = 162;   // local port of the trap instance
    QString scanAddress = QStringLiteral("255.255.255.255");
    QString mibPath;          // CorvaneMIB.mib beside the program
};

class DeviceSession : public QObject {
    Q_OBJECT
public:
    explicit DeviceSession(const SessionOptions &options, QObject *parent = nullptr);
    ~DeviceSession() override;

    const SessionOptions &options() const { return options_; }
    void setQuestioner(Questioner *questioner) { questioner_ = questioner; }

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

    // --- changing the device -----------------------------------------------
    void mnuFileSave_Click();  // asks, then downloads
    void SavePara() { mnuFileSave_Click(); }
    void DownloadChanges();
    void SetTimer_Timer();
    bool ResetDevise();
    bool LoadDefaults();
    void mnuCommandsReset_Click();
    void mnuCommandsRestoreDefaults_Click();

    void EnableDeviceMenus();
    void DisableDeviceMenus();

    // A connect, a full read or a download is under way (or waiting for its
    // next attempt).
    bool deviceWorkRunning() const
    {
        const bool connecting = (ConnectPending || ScanPending) && Timer1.isActive();
        return connecting || passRunning_ || downloadRunning_ || Timer2.isActive() || SetTimer.isActive();
    }
    // The periodic full read.
    Polling &polling() { return polling_; }

signals:
    void statusChanged(const QString &text);
    void deviceCommandsEnabledChanged(bool enabled);
    void trapSwitchCheckedChanged(bool checked);
    void busyCursorChanged(bool busy);  // the hourglass while connecting
    void connectDialogCloseRequested();  // a scan found a device

private:
    bool OpenRequestManager();
    bool OpenTrapManager();
    void setStatus(const QString &text);
    bool readGroupReporting(config::Group group);
    bool ask(const QString &text, const QString &title);
    void sendProbe(const QString &host, int timeoutMs, int watchdogMs, bool setCommunity);

    SessionOptions options_;
    config::DeviceLink link_{Manager1, Mib, RequestCounter};
    Questioner *questioner_ = nullptr;
    QString statusText_;
    QString connectAddress_;
    QString connectCommunity_;
    bool passRunning_ = false;
    bool downloadRunning_ = false;
    // Request ids of the probes of the current connect or scan attempt: only
    // an answer to one of them shows that the device is there.
    QSet<qint32> probeIds_;
    Polling polling_{*this};
};

}  // namespace agent
