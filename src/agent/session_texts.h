#pragma once
// The status texts of the connection, the full read and the download.

#include <QString>

namespace agent::text {
inline const QString managerOpened = QStringLiteral("Manager opened successfully.");
inline const QString requestPortInUse = QStringLiteral("Current port is in use. Try again.");
inline const QString trapPortInUse =
    QStringLiteral("Trap port(%1) is in use. Check to to see if another manager is running, then restart this one.");
inline const QString trapPortNeedsRights =
    QStringLiteral("Traps cannot be received: port %1 needs administrator rights; start with --trap-port 1162 and "
                   "point the device's trap destination there, or see Help");
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
// Panel 2 of the main window while edits wait to be downloaded.
inline const QString editsWaiting = QStringLiteral("Edits waiting to be downloaded");
// Asked before the program ends with edits waiting.
inline const QString closeWithEdits =
    QStringLiteral("Some changes have not been downloaded to the device. Close anyway?");
inline const QString closeWithEditsTitle = QStringLiteral("Close");
inline const QString mibMissing =
    QStringLiteral("The MIB file could not be loaded (%1): nothing can be sent to the device.");
}  // namespace agent::text
