// Download Changes: the four groups as SETs with their echoes checked, the
// reset that makes the device take them up, and the watchdog that repeats
// a failed attempt.

#include "device_session.h"

#include "agent/session_texts.h"
#include "config/configuration_store.h"
#include "config/group_state.h"
#include "config/group_writers.h"
#include "config/device_objects.h"

#include <QPointer>

namespace agent {

using config::Group;

bool DeviceSession::refuseDownload()
{
    // A connect or a read pass must finish first; a download waiting for its
    // next attempt is started over by a new confirmation.
    const bool otherWork = deviceWorkRunning() && !SetTimer.isActive() && !downloadRunning_;
    if (otherWork) {
        setStatus(text::busy);
        return true;
    }
    if (refuseWithoutDevice())
        return true;
    // Every group goes out whole: a group that was not read from this device
    // would send values the user never saw, and a value the device refuses
    // would fail every attempt (or, taken, make the device unreadable).
    const config::ConfigurationStore &s = config::store();
    for (Group group : config::downloadedGroups()) {
        if (!config::groupState().isRead(group)) {
            setStatus(text::groupNotRead.arg(config::groupTitle(group)));
            return true;
        }
        if (const config::DeviceObject *refused = config::firstRefusedObject(group, s)) {
            setStatus(text::valueRefused.arg(refused->label, refused->hint));
            return true;
        }
    }
    return false;
}

DeviceSession::DownloadStart DeviceSession::startDownload()
{
    if (refuseDownload())
        return DownloadStart::Refused;
    const bool yes = ask(QStringLiteral("Do you want to Change ?"), QStringLiteral("Download Changes"));
    UserConfirmed = false;
    if (!yes)
        return DownloadStart::Declined;
    if (refuseDownload())  // the question let timers and events run
        return DownloadStart::Refused;
    UserConfirmed = true;
    DownloadAttempt = 0;
    problem_.clear();
    SetTimer.start(scaled(interval::downloadRetry));
    DownloadChanges();
    return DownloadStart::Started;
}

void DeviceSession::DownloadChanges()
{
    if (downloadRunning_)
        return;  // an attempt is still waiting for the device; it goes on
    QPointer<DeviceSession> alive(this);
    downloadRunning_ = true;
    setStatus(text::downloading);
    config::ConfigurationStore &s = config::store();
    DownloadOK = true;
    for (Group group : config::downloadedGroups()) {
        DownloadOK = config::writeGroup(link_, AgentAddress, group, s);
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
            const QString before = AgentAddress;
            AgentAddress = s.operIPAddress.trimmed();
            // The new address has been sent; a stale one must never
            // override a later edit.
            s.pendingIPAddress.clear();
            for (Group group : config::downloadedGroups())
                config::groupState().markSent(group);
            UserConfirmed = true;
            if (AgentAddress != before)
                emit managedDeviceChanged(managedDevice());
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
    if (DownloadOK)
        emit downloadFinished(true);
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
        // A new address that never reached the device must not ride along
        // with a later download.
        config::store().pendingIPAddress.clear();
        setFailureStatus(text::downloadFailed);
        emit downloadFinished(false);
    }
}

}  // namespace agent
