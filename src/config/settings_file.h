#pragma once
// A device's settings in a file: what a backup writes and a restore reads,
// in the command-line tool and in the windows alike. JSON that people can
// read and edit:
//
//   {
//     "kind": "corvane-settings",
//     "format": 1,
//     "saved": "2024-05-02T03:00:01+02:00",
//     "device": { "address": "192.168.1.250", "mac-address": "0002A5112233",
//                 "firmware": "Corvane ...", "manufacturer": "..." },
//     "settings": { "channel": "6", "essid": "lab", "wep": "off", ... }
//   }
//
// "settings" holds each setting by its field name, in its text form
// (field_text.h); a file may hold only some of them. A file is taken whole
// or not at all: one that is not ours, from a newer format, with a field
// we do not know or a value the device would refuse is refused with one
// line that says why, before anything is sent.

#include "config/configuration_store.h"

#include <QByteArray>
#include <QDateTime>
#include <QMap>
#include <QString>
#include <optional>

namespace config {

struct DeviceIdentity {
    QString address;      // where the device was reached
    QString macAddress;   // its factory MAC address, 12 hexadecimal digits
    QString firmware;     // as the windows show it ("Corvane" and the version)
    QString manufacturer; // without the fill after it
};

struct SettingsFile {
    static constexpr int kFormat = 1;
    static constexpr qint64 kMaxBytes = 1 << 20;

    DeviceIdentity device;
    QDateTime saved;
    QMap<QString, QString> settings;  // field name -> text form
};

// The file's bytes: indented JSON, fields in name order, a final new line.
QByteArray writeSettingsFile(const SettingsFile &file);

struct SettingsFileRead {
    std::optional<SettingsFile> file;
    QString error;  // when refused: why, in one line
};
SettingsFileRead readSettingsFile(const QByteArray &bytes);

// The file at `path` read and checked; `opened` false when it could not be
// read at all (`error` then the system's reason). A file past kMaxBytes is
// refused as such, never read in part.
struct SettingsFileLoad : SettingsFileRead {
    bool opened = true;
};
SettingsFileLoad loadSettingsFile(const QString &path);
// Written whole or not at all (an earlier file is never left
// half-overwritten), readable by its owner only: it holds the WEP keys.
// Empty when saved, else the system's reason.
QString saveSettingsFile(const QString &path, const SettingsFile &file);

// The identity and every setting that takes part as `store` stands (no
// partner BSSID for an access point).
SettingsFile settingsOf(const DeviceIdentity &device, const ConfigurationStore &store,
                        const QDateTime &saved = QDateTime::currentDateTime());

// Puts the file's settings, but those named in `keep`, into `store`. The
// file was validated when read, so every value is taken.
void applySettings(const SettingsFile &file, ConfigurationStore &store, const QStringList &keep = {});

// The identity as the windows show it: the firmware text from the device's
// description, the manufacturer without its fill.
QString firmwareText(const QString &description);
QString manufacturerText(const QString &manufactureName);

}  // namespace config
