// Download Changes: the four groups as SETs with their echoes checked, the
// reset that makes the device take them up, and the watchdog that repeats
// a failed attempt.

#include "device_session.h"

#include "agent/session_texts.h"
#include "config/configuration_store.h"
#include "config/group_writers.h"

#include <QPointer>

namespace agent {

void DeviceSession::mnuFileSave_Click()
{
    // A confirmation while a download waits for its next attempt starts it
    // over; a connect or a read pass must finish first.
    const bool otherWork = deviceWorkRunning() && !SetTimer.isActive() && !downloadRunning_;
    if (otherWork) {
        setStatus(text::busy);
        return;
    }
    const bool yes = ask(QStringLiteral("Do you want to Change ?"), QStringLiteral("Download Changes"));
    UserConfirmed = false;
    if (!yes)
        return;
    UserConfirmed = true;
    DownloadAttempt = 0;
    problem_.clear();
    SetTimer.start(scaled(interval::downloadRetry));
    DownloadChanges();
}

void DeviceSession::DownloadChanges()
{
    if (downloadRunning_)
        return;  // an attempt is still waiting for the device; it goes on
    QPointer<DeviceSession> alive(this);
    downloadRunning_ = true;
    setStatus(text::downloading);
    config::ConfigurationStore &s = config::store();
    // The bridge operational mode group goes too: otherwise an edit made in
    // its dialog would never reach the device.
    using Writer = bool (*)(config::DeviceLink &, const QString &, config::ConfigurationStore &);
    static const Writer writers[] = {
        config::SetWirelessOperationalConf,
        config::SetIPSettingsConf,
        config::SetPrivacySettingsConf,
        config::SetBridgeOperationalModeConf,
    };
    DownloadOK = true;
    for (Writer writer : writers) {
        DownloadOK = writer(link_, AgentAddress, s);
        if (!alive)
            return;
        if (!DownloadOK)
            break;
    }
    if (DownloadOK) {
        const bool reset = ResetDevise();
        if (!alive)
            return;
        if (reset) {
            setStatus(text::downloadDone);
            SetTimer.stop();
            AgentAddress = s.operIPAddress.trimmed();
            // The new address has been sent; a stale one must never
            // override a later edit.
            s.pendingIPAddress.clear();
            UserConfirmed = true;
        } else {
            DownloadOK = false;
        }
    }
    // Whoever asks right after (the quick-setup window) must not take a
    // failed attempt for a download that went through; a repeat that
    // succeeds sets the flag again.
    if (!DownloadOK)
        UserConfirmed = false;
    downloadRunning_ = false;
}

void DeviceSession::SetTimer_Timer()
{
    if (Manager1.Busy() || DownloadOK || downloadRunning_)
        return;
    if (DownloadAttempt < 5) {
        ++DownloadAttempt;
        DownloadChanges();
    } else if (DownloadAttempt == 5) {
        SetTimer.stop();
        setFailureStatus(text::downloadFailed);
    }
}

}  // namespace agent
