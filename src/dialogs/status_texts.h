#pragma once
// The texts the windows show for what the session reports: the main
// window's status line, the quick-setup window's status field, a
// statistics view's note on a failed refresh. This is the one place they
// are made from the session's typed reports and the jobs' results.

#include "agent/session_report.h"

#include <QString>

namespace dialogs {

QString statusText(const agent::SessionReport &report);
// What a read that gave up shows, by its group: the group's own words for
// a value the device should not have, its number otherwise.
QString readFailureText(const agent::JobResult &result);

namespace text {
inline const QString managerOpened = QStringLiteral("Manager opened successfully.");
inline const QString attempting = QStringLiteral("Attempting to connect TARVO Wireless Network...");
inline const QString notFound = QStringLiteral("TARVO Wireless Network not found...");
inline const QString found = QStringLiteral("TARVO Wireless Network found ...");
inline const QString reading = QStringLiteral("Reading configuration...");
inline const QString allRetrieved = QStringLiteral("All values retrieved.");
inline const QString downloading = QStringLiteral("Downloading changes...");
inline const QString downloadDone = QStringLiteral("Download complete successfully");
inline const QString downloadFailed = QStringLiteral("Network Error-Download not complete successfully");
inline const QString busy =
    QStringLiteral("Busy - wait until the console has finished talking to the device, then try again.");
inline const QString noDevice =
    QStringLiteral("No device is connected: connect to one (File, Connect AP-Bridge), then try again.");
// %1: the group, as config::groupTitle names it.
inline const QString groupNotRead =
    QStringLiteral("Download refused: %1 not read from the device since the last connect. Connect again, then try again.");
// %1: the field as the windows label it, %2: what it accepts.
inline const QString valueRefused = QStringLiteral("Download refused: %1 - %2.");
inline const QString trapReceived = QStringLiteral("Trap Received");
// Panel 2 of the main window while edits wait to be downloaded.
inline const QString editsWaiting = QStringLiteral("Edits waiting to be downloaded");
// Asked before the program ends with edits waiting.
inline const QString closeWithEdits =
    QStringLiteral("Some changes have not been downloaded to the device. Close anyway?");
inline const QString closeWithEditsTitle = QStringLiteral("Close");
}  // namespace text

}  // namespace dialogs
