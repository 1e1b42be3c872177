#include "device_session.h"

#include "agent/download_job.h"
#include "agent/probe_job.h"
#include "agent/read_job.h"
#include "agent/set_job.h"
#include "config/device_mib.h"
#include "config/encodings.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcSession, "corvane.agent.session")

namespace agent {

namespace {

// Timer2's interval after a first answer, and from a poll.
constexpr int kReadRetryMs = 100;
constexpr int kPollRetryMs = 200;
// Passes of a full read after the first, for a connect and the polls after it.
constexpr int kReadRetries = 5;

bool running(const Job *job) { return job && job->isRunning(); }

}  // namespace

DeviceSession::DeviceSession(const SessionOptions &options, QObject *parent)
    : QObject(parent),
      options_(options),
      trapReception_(
          trapInstance_, mib_, [this] { return managedDevice(); }, [this] { return device_.store().saveTraps; })
{
    qRegisterMetaType<agent::SessionReport>();
    device_.setPort(options.agentPort);
    device_.setTimeScale(options.timeScale);
    // A scan sends whatever community the last connect used; before any
    // connect that is the device's factory community.
    device_.setCommunity(config::octetsFromText(config::kFactoryCommunity));
    Timer2.setObjectName(QStringLiteral("Timer2"));
    PollingTimer.setObjectName(QStringLiteral("PollingTimer"));
    connect(&Timer2, &QTimer::timeout, this, &DeviceSession::Timer2_Timer);
    connect(&PollingTimer, &QTimer::timeout, this, &DeviceSession::PollingTimer_Timer);
    connect(&trapReception_, &traps::TrapReception::trapMarkShown, this, [this] { report(SessionReport::TrapReceived); });
    connect(&trapReception_, &traps::TrapReception::fileProblem, this, [this](const QString &why) {
        SessionReport problem;
        problem.event = SessionReport::TrapFileProblem;
        problem.detail = why;
        report(problem);
    });
}

DeviceSession::~DeviceSession()
{
    // Jobs go before the device and the engine they use.
    qDeleteAll(findChildren<Job *>(QString(), Qt::FindDirectChildrenOnly));
}

bool DeviceSession::askUser(const QString &text, const QString &title)
{
    return questioner_ && questioner_->askYesNo(text, title);
}

void DeviceSession::report(SessionReport::Event event, const JobResult &result)
{
    SessionReport r;
    r.event = event;
    r.result = result;
    report(r);
}

void DeviceSession::report(const SessionReport &r)
{
    lastReport_ = r;
    emit reported(r);
}

void DeviceSession::reportRefusal(const JobResult &result)
{
    // Where the loopback-only guard stopped a request, the user learns why
    // before anything else is said.
    if (result.error == JobResult::NotAllowed)
        report(SessionReport::RequestRefused, result);
}

template <typename J>
J *DeviceSession::track(J *job)
{
    connect(job, &Job::finished, job, &QObject::deleteLater);
    return job;
}

bool DeviceSession::deviceWorkRunning() const
{
    return running(probe_) || running(pass_) || running(download_) || running(other_) || Timer2.isActive();
}

std::optional<SessionReport::Event> DeviceSession::refusal() const
{
    if (deviceWorkRunning())
        return SessionReport::Busy;
    if (!connected_)
        return SessionReport::NoDevice;
    return std::nullopt;
}

bool DeviceSession::refuseWhileBusy()
{
    if (!deviceWorkRunning())
        return false;
    report(SessionReport::Busy);
    return true;
}

bool DeviceSession::refuseWithoutDevice()
{
    if (connected_)
        return false;
    report(SessionReport::NoDevice);
    return true;
}

// --- load ---------------------------------------------------------------------------

void DeviceSession::start()
{
    device_.store().saveTraps = true;
    DisableDeviceMenus();
    const bool requestOpen = openRequestEngine();
    const bool trapOpen = openTrapInstance();
    if (requestOpen && trapOpen)
        report(SessionReport::ManagerOpened);
    const snmp::Mib::LoadResult mib = mib_.Load(config::mibToLoad(options_.mibPath));
    if (!mib.ok) {
        mibError_ = mib.error;
        SessionReport missing;
        missing.event = SessionReport::MibMissing;
        missing.detail = mibError_;
        report(missing);
    }
}

bool DeviceSession::openRequestEngine()
{
    const snmp::OpenResult result = engine_.open();
    if (!result.ok) {
        SessionReport failed;
        failed.event = result.errorNumber == snmp::kErrorAddressInUse ? SessionReport::RequestPortInUse
                                                                      : SessionReport::PortNotOpened;
        failed.detail = result.description;
        report(failed);
    }
    return result.ok;
}

bool DeviceSession::openTrapInstance()
{
    if (trapInstance_.LocalPort() != 0)
        return true;
    const snmp::OpenResult result = options_.openTrapPort ? options_.openTrapPort(trapInstance_, options_.trapPort)
                                                          : trapInstance_.Open(options_.trapPort);
    if (!result.ok) {
        SessionReport failed;
        failed.port = options_.trapPort;
        failed.detail = result.description;
        switch (result.errorNumber) {
        case snmp::kErrorAddressInUse: failed.event = SessionReport::TrapPortInUse; break;
        // Ports below 1024 are for the administrator only: say what to do.
        case snmp::kErrorAccessDenied: failed.event = SessionReport::TrapPortNeedsRights; break;
        default: failed.event = SessionReport::PortNotOpened; break;
        }
        report(failed);
    }
    return result.ok;
}

void DeviceSession::EnableDeviceMenus()
{
    connected_ = true;
    emit deviceCommandsEnabledChanged(true);
    emit managedDeviceChanged(managedDevice());
}

void DeviceSession::DisableDeviceMenus()
{
    connected_ = false;
    emit deviceCommandsEnabledChanged(false);
    emit managedDeviceChanged(QString());
}

// --- connecting -----------------------------------------------------------------------

void DeviceSession::letGoOfDevice()
{
    // Until the new device's configuration has been read, nothing may go to
    // the old one (a command, a download, a read retry) nor be taken from
    // it (a poll): the user asked for another.
    if (connected_)
        DisableDeviceMenus();
    Timer2.stop();
    const bool downloading = running(download_);
    for (Job *job : {static_cast<Job *>(probe_), static_cast<Job *>(pass_), static_cast<Job *>(download_),
                     other_.data()}) {
        if (job)
            job->abort();
    }
    if (downloading)
        emit downloadFinished(false);
    // Nothing read from or edited for the old device may reach the new one.
    device_.forget();
    readFailure_.reset();
}

void DeviceSession::confirmConnect(const QString &address, const QString &community)
{
    letGoOfDevice();
    ReadAttempt = 0;
    emit busyCursorChanged(true);
    device_.setCommunity(config::octetsFromText(community));
    probe(ProbeJob::connectTo(device_, address, this), false);
}

void DeviceSession::startScan()
{
    letGoOfDevice();
    emit busyCursorChanged(true);
    probe(ProbeJob::scan(device_, options_.scanAddress, this), true);
}

void DeviceSession::probe(ProbeJob *job, bool scan)
{
    // Without the device's MIB nothing after the probe could be asked for:
    // say so now rather than find the device and fail every read.
    if (!mibLoaded()) {
        delete job;
        SessionReport missing;
        missing.event = SessionReport::MibMissing;
        missing.detail = mibError_;
        report(missing);
        emit busyCursorChanged(false);
        return;
    }
    probe_ = track(job);
    connect(job, &ProbeJob::probeSent, this, [this] { report(SessionReport::Attempting); });
    connect(job, &ProbeJob::responderFound, this, [this, job, scan](const ProbeJob::Responder &responder) {
        // The window takes the first device that answers a scan.
        if (scan)
            job->abort();
        found(responder, scan);
    });
    connect(job, &Job::finished, this, [this](const JobResult &result) {
        if (result.ok() || result.error == JobResult::Aborted)
            return;
        reportRefusal(result);
        report(SessionReport::NotFound, result);
        emit busyCursorChanged(false);
    });
    job->start();
}

void DeviceSession::found(const ProbeJob::Responder &responder, bool scan)
{
    report(SessionReport::Found);
    emit busyCursorChanged(false);
    if (!scan)
        firmwareVersionText_ = QStringLiteral("Corvane") + responder.description.mid(5, 30);
    device_.setAddress(responder.address.toString());
    if (scan)
        emit connectDialogCloseRequested();
    Timer2.start(device_.scaled(kReadRetryMs));
    ReadAllConfiguration();
}

bool DeviceSession::fullReadRunning() const
{
    return running(pass_) || Timer2.isActive();
}

// --- the full read --------------------------------------------------------------------

void DeviceSession::ReadAllConfiguration()
{
    if (running(pass_))
        return;
    report(SessionReport::Reading);
    pass_ = track(ReadJob::fullRead(device_, this));
    connect(pass_, &ReadJob::groupRead, this, [this](config::Group group) {
        if (group == config::Group::Traps)
            emit trapSwitchCheckedChanged(device_.store().sysTrapSwitch == 1);
    });
    connect(pass_, &Job::finished, this, &DeviceSession::passFinished);
    pass_->start();
}

void DeviceSession::passFinished(const JobResult &result)
{
    if (result.error == JobResult::Aborted)
        return;
    if (!result.ok()) {
        reportRefusal(result);
        // Earlier passes fail quietly; only the last retry tells the user why.
        if (ReadAttempt == kReadRetries) {
            readFailure_ = result;
            report(SessionReport::ReadFailed, result);
        }
        return;
    }
    Timer2.stop();
    readFailure_.reset();
    report(SessionReport::AllRetrieved);
    if (!connected_)
        EnableDeviceMenus();
}

void DeviceSession::Timer2_Timer()
{
    // A poll does not renew the retries: what the connect left applies.
    if (ReadAttempt >= kReadRetries) {
        Timer2.stop();
        return;
    }
    if (running(pass_))
        return;
    ++ReadAttempt;
    ReadAllConfiguration();
}

void DeviceSession::applyPolling(int seconds)
{
    if (seconds <= 0)
        PollingTimer.stop();
    else
        PollingTimer.start(device_.scaled(seconds * 1000));
}

void DeviceSession::PollingTimer_Timer()
{
    // Only the device whose configuration was read is polled: before a
    // connect there is none, and after a connect to another address failed
    // the old one must not come back by itself.
    if (!connected_)
        return;
    // A pass started now would interleave with the work that is running (or,
    // between a download's attempts, overwrite the store it is about to send).
    if (deviceWorkRunning()) {
        qCDebug(lcSession) << "device busy; polling tick skipped";
        return;
    }
    Timer2.start(device_.scaled(kPollRetryMs));
    ReadAllConfiguration();
}

ReadJob *DeviceSession::refreshStatistics()
{
    // Only the device whose configuration was read: after a connect to
    // another address failed, the old one is not read again behind it.
    if (refuseWhileBusy() || refuseWithoutDevice())
        return nullptr;
    ReadJob *job = track(ReadJob::statistics(device_, this));
    other_ = job;
    connect(job, &Job::finished, this, [this](const JobResult &result) {
        if (result.ok() || result.error == JobResult::Aborted)
            return;
        reportRefusal(result);
        report(SessionReport::ReadFailed, result);
    });
    job->start();
    return job;
}

// --- changing the device ------------------------------------------------------------------

bool DeviceSession::refuseDownload()
{
    // A connect or a read pass must finish first; a download waiting for its
    // next attempt is started over by a new confirmation.
    if (deviceWorkRunning() && !running(download_)) {
        report(SessionReport::Busy);
        return true;
    }
    if (refuseWithoutDevice())
        return true;
    const JobResult check = DownloadJob::check(device_);
    if (!check.ok()) {
        report(SessionReport::DownloadRefused, check);
        return true;
    }
    return false;
}

DeviceSession::DownloadStart DeviceSession::SavePara()
{
    if (refuseDownload())
        return DownloadStart::Refused;
    if (!askUser(QStringLiteral("Do you want to Change ?"), QStringLiteral("Download Changes")))
        return DownloadStart::Declined;
    if (refuseDownload())  // the question let timers and events run
        return DownloadStart::Refused;
    if (download_)
        download_->abort();
    const QString addressBefore = AgentAddress();
    download_ = track(new DownloadJob(device_, this));
    connect(download_, &DownloadJob::attemptStarted, this, [this] { report(SessionReport::Downloading); });
    connect(download_, &DownloadJob::attemptFailed, this, &DeviceSession::reportRefusal);
    connect(download_, &Job::finished, this, [this, addressBefore](const JobResult &result) {
        if (result.error == JobResult::Aborted)
            return;
        if (!result.ok()) {
            report(SessionReport::DownloadFailed, result);
            emit downloadFinished(false);
            return;
        }
        report(SessionReport::DownloadDone);
        if (AgentAddress() != addressBefore)
            emit managedDeviceChanged(managedDevice());
        emit downloadFinished(true);
    });
    download_->start();
    return DownloadStart::Started;
}

bool DeviceSession::downloadUnderWay() const { return running(download_); }

void DeviceSession::runCommand(Job *job, SessionReport::Event done, SessionReport::Event failed)
{
    other_ = track(job);
    connect(job, &Job::finished, this, [this, done, failed](const JobResult &result) {
        if (result.error == JobResult::Aborted)
            return;
        reportRefusal(result);
        report(result.ok() ? done : failed, result);
    });
    job->start();
}

void DeviceSession::mnuCommandsReset_Click()
{
    // Asked again after the question: the message box lets timers run.
    if (refuseWithoutDevice() || refuseWhileBusy()
        || !askUser(QStringLiteral("Do you want to Reset Devise ?"), QStringLiteral("Reset")) || refuseWhileBusy()
        || refuseWithoutDevice())
        return;
    runCommand(SetJob::reset(device_, this), SessionReport::ResetIssued, SessionReport::ResetFailed);
}

void DeviceSession::mnuCommandsRestoreDefaults_Click()
{
    if (refuseWithoutDevice() || refuseWhileBusy()
        || !askUser(QStringLiteral("Do you want to Restore Defaults?"), QStringLiteral("Restore Defaults"))
        || refuseWhileBusy() || refuseWithoutDevice())
        return;
    runCommand(SetJob::restoreDefaults(device_, this), SessionReport::RestoreIssued, SessionReport::RestoreFailed);
}

void DeviceSession::switchDeviceTraps(bool enable)
{
    if (refuseWithoutDevice() || refuseWhileBusy())
        return;
    Job *job = track(SetJob::trapSwitch(device_, enable, this));
    other_ = job;
    connect(job, &Job::finished, this, [this, enable](const JobResult &result) {
        if (result.error == JobResult::Aborted)
            return;
        reportRefusal(result);
        SessionReport switched;
        switched.event = SessionReport::TrapsSwitched;
        switched.result = result;
        switched.enable = enable;
        report(switched);
    });
    job->start();
}

RadioJob *DeviceSession::startRadioAction(RadioJob::Action action)
{
    if (refusal())
        return nullptr;
    RadioJob *job = track(new RadioJob(device_, action, this));
    other_ = job;
    job->start();
    return job;
}

}  // namespace agent
