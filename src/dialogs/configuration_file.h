#pragma once
// The device's settings to and from a settings file (the one corvanectl's
// backup writes and its restore reads), as the main window's File menu
// does it. Saving takes the store of a device whose whole configuration
// was read; loading checks the file whole, and what the file changes goes
// into the store as edits waiting to be downloaded, never straight to the
// device. Each step returns the text for the status line.

#include "config/settings_file.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace agent {
class DeviceSession;
}

namespace dialogs {

// Writes the session's device settings to `path`, replacing a file there
// only once the new one is complete. Returns the status text; `ok` says
// whether the file was written.
QString saveConfiguration(agent::DeviceSession &session, const QString &path, bool *ok = nullptr);

struct LoadedConfiguration {
    std::optional<config::SettingsFile> file;
    QString error;  // when refused: the status text
};
// The file at `path`, checked whole; nothing changes anywhere.
LoadedConfiguration readConfiguration(const QString &path);

// One setting the file would change.
struct SettingDifference {
    QString field;        // "essid"
    QString label;        // as the windows label it
    QString deviceValue;  // in its text form
    QString fileValue;
    bool taken = true;    // false: shown, but left as the device has it
    QString note;         // why it is left
};

// Where the file differs from the device's store. The device's own IP and
// Ethernet addresses are left unless `withAddresses` (the file may be
// another device's: two devices with one address disturb the network);
// the trap switch is left too, since Download Changes does not send it.
QVector<SettingDifference> differencesOf(const config::SettingsFile &file, const config::ConfigurationStore &store,
                                         bool withAddresses);

// Puts the taken differences of `file` (read from `path`) into the
// session's store as edits waiting to be downloaded. Returns the status
// text; empty when the session refused and said why itself (busy).
QString applyConfiguration(agent::DeviceSession &session, const config::SettingsFile &file, const QString &path,
                           bool withAddresses);

namespace text {
inline const QString notReadToSave = QStringLiteral(
    "Configuration not saved: the device's configuration has not been read completely. Connect (File, Connect "
    "AP-Bridge) and wait for \"All values retrieved.\", then try again.");
inline const QString notReadToLoad = QStringLiteral(
    "Configuration not loaded: the device's configuration has not been read completely. Connect (File, Connect "
    "AP-Bridge) and wait for \"All values retrieved.\", then try again.");
// %1: the file.
inline const QString saved = QStringLiteral("Configuration saved to %1");
inline const QString savedWithEdits = QStringLiteral("Configuration saved to %1, with the edits not yet downloaded");
// %1: the file, %2: why.
inline const QString notSaved = QStringLiteral("Configuration not saved to %1: %2");
inline const QString notLoaded = QStringLiteral("Configuration not loaded from %1: %2");
// %1: the file.
inline const QString nothingToLoad = QStringLiteral("%1: the device already holds these settings; nothing changed.");
// %1: the number of settings, %2: the file.
inline const QString loaded =
    QStringLiteral("%1 setting(s) from %2 are waiting to be downloaded: Download Changes sends them.");
inline const QString addressKept = QStringLiteral("the device keeps its own address");
inline const QString trapSwitchKept = QStringLiteral("Setup, Enable SNMP traps switches it");
}  // namespace text

}  // namespace dialogs
