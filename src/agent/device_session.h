#pragma once
// The console's session with the one device its windows show: the load
// (the request engine, the trap port, the MIB), the connect or scan and
// the full read that follows it, repeated by Timer2 when it fails, the
// periodic read, Download Changes, the device commands, the trap switch,
// the statistics refresh and the radio windows' steps. Each piece of work
// is a job on the device; the session decides when one may run (one at a
// time, never without a device, never after the user declined) and
// reports what happened as typed reports, which the windows turn into
// texts. The main window forwards its commands here.

#include "agent/device.h"
#include "agent/probe_job.h"
#include "agent/questioner.h"
#include "agent/radio_job.h"
#include "agent/session_report.h"
#include "snmp/mib.h"
#include "snmp/request_engine.h"
#include "snmp/snmp_manager.h"
#include "traps/trap_reception.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>
#include <optional>

namespace agent {

class DownloadJob;
class ReadJob;

struct SessionOptions {
    quint16 agentPort = 161;  // where every request goes
    quint16 trapPort = 162;   // local port of the trap instance
    QString scanAddress = QStringLiteral("255.255.255.255");
    QString mibPath;  // CorvaneMIB.mib beside the program; the built-in MIB when absent
    // Every timer interval and request time-out is multiplied by this:
    // tests run the device's timing faster, 1.0 is the real pace.
    double timeScale = 1.0;
    // Opens the trap instance on the trap port; empty: on all IPv4
    // addresses. Tests stand in a refusal here that only missing rights
    // would give, whoever runs them.
    std::function<snmp::OpenResult(snmp::SnmpManager &trapInstance, quint16 port)> openTrapPort;
};

class DeviceSession : public QObject {
    Q_OBJECT
public:
    explicit DeviceSession(const SessionOptions &options, QObject *parent = nullptr);
    ~DeviceSession() override;

    const SessionOptions &options() const { return options_; }
    void setQuestioner(Questioner *questioner) { questioner_ = questioner; }
    // Other windows ask their Yes/No questions through the same questioner.
    bool askUser(const QString &text, const QString &title);

    // The main window's load: trap saving on, device commands greyed, the
    // request engine and the trap instance opened, the MIB loaded.
    void start();

    // The device the windows show and edit.
    Device &device() { return device_; }
    const snmp::Mib &mib() const { return mib_; }
    // The engine every request goes through; other devices may share it
    // (a search for devices).
    snmp::RequestEngine &requestEngine() { return engine_; }
    bool mibLoaded() const { return mib_.hasModule(); }
    traps::TrapReception &trapReception() { return trapReception_; }

    // Where requests go: the device that answered the last connect or
    // scan, or the address a download gave it.
    QString AgentAddress() const { return device_.address(); }
    // The whole configuration was read since the last connect.
    bool Connected() const { return connected_; }
    // "Corvane" and characters 6 to 35 of the connected device's sysDescr
    // (a connect sets it, a scan does not).
    QString FirmwareVersionText() const { return firmwareVersionText_; }
    // The device the console manages: AgentAddress while connected, else
    // none (empty). A new connect or scan lets go of the previous device.
    QString managedDevice() const { return connected_ ? AgentAddress() : QString(); }
    // What the status line was last told.
    SessionReport lastReport() const { return lastReport_; }

    // Work with the device: a connect, a read pass or its retry to come, a
    // download, a command, a radio step, a statistics refresh. Device
    // commands and the settings dialogs' OK are refused meanwhile.
    bool deviceWorkRunning() const;
    // Why work may not start now (Busy, NoDevice); std::nullopt: it may.
    std::optional<SessionReport::Event> refusal() const;
    // Report the refusal when work is running / no device is managed; true when refused.
    bool refuseWhileBusy();
    bool refuseWithoutDevice();

    // --- connecting ------------------------------------------------------------
    // The connect dialog's OK: the typed address and community, probed.
    void confirmConnect(const QString &address, const QString &community);
    // The connect dialog's Scan: the first device that answers.
    void startScan();
    // The read after a connect still runs (a pass, or a retry to come).
    bool fullReadRunning() const;
    // Why the last full read that gave up failed; std::nullopt after one
    // that got through and at every new connect.
    std::optional<JobResult> readFailure() const { return readFailure_; }

    // --- reading -----------------------------------------------------------------
    // One pass of the full read, as a poll or Timer2 starts it.
    void ReadAllConfiguration();
    // The statistics views' Refresh: the two statistics groups read again
    // and nothing else; nullptr when refused (the status line says why).
    ReadJob *refreshStatistics();
    // The options dialog's OK: polling every `seconds` (0: off).
    void applyPolling(int seconds);

    // --- changing the device ---------------------------------------------------------
    // Refused (the status line says why: busy, no device, a group not read
    // since the connect, a value the device would refuse), declined by the
    // user, or started; a started download ends with downloadFinished.
    enum class DownloadStart { Refused, Declined, Started };
    DownloadStart SavePara();
    // An attempt or a repeat to come.
    bool downloadUnderWay() const;
    void mnuCommandsReset_Click();
    void mnuCommandsRestoreDefaults_Click();
    // The trap switch's SET; the outcome goes to the status line.
    void switchDeviceTraps(bool enable);
    // A radio window's action; nullptr when refused (refusal() says why).
    RadioJob *startRadioAction(RadioJob::Action action);

    void EnableDeviceMenus();
    void DisableDeviceMenus();

signals:
    void reported(const agent::SessionReport &report);
    void deviceCommandsEnabledChanged(bool enabled);
    void trapSwitchCheckedChanged(bool checked);
    void busyCursorChanged(bool busy);  // the hourglass while connecting
    void connectDialogCloseRequested();  // a scan found a device
    void managedDeviceChanged(const QString &address);  // empty: none
    // A confirmed download went through (after its reset) or gave up.
    void downloadFinished(bool ok);

private:
    void report(SessionReport::Event event, const JobResult &result = JobResult());
    void report(const SessionReport &report);
    void reportRefusal(const JobResult &result);
    bool openRequestEngine();
    bool openTrapInstance();
    void letGoOfDevice();
    void probe(ProbeJob *job, bool scan);
    void found(const ProbeJob::Responder &responder, bool scan);
    void Timer2_Timer();
    void PollingTimer_Timer();
    void passFinished(const JobResult &result);
    bool refuseDownload();
    void runCommand(Job *job, SessionReport::Event done, SessionReport::Event failed);
    // Starts `job`, remembers it until it finishes, then deletes it.
    template <typename J>
    J *track(J *job);

    SessionOptions options_;
    Questioner *questioner_ = nullptr;
    snmp::RequestEngine engine_;
    snmp::SnmpManager trapInstance_;
    snmp::Mib mib_;
    QString mibError_;
    Device device_{engine_, mib_};
    traps::TrapReception trapReception_;
    SessionReport lastReport_;
    bool connected_ = false;
    QString firmwareVersionText_;
    std::optional<JobResult> readFailure_;

    QPointer<ProbeJob> probe_;
    QPointer<ReadJob> pass_;
    QPointer<DownloadJob> download_;
    QPointer<Job> other_;  // a command, the trap switch, a radio step, a refresh
    QTimer Timer2;  // repeats a failed full read
    int ReadAttempt = 0;
    QTimer PollingTimer;
};

}  // namespace agent
