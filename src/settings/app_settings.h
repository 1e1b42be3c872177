#pragma once
// The per-user settings store of the console: string values by section and
// key under the application name "CorvaneManager". A settings file can
// stand in for the user's store (command line, demo, tests), so that
// nothing a test or a demo does touches the user's own settings.
//
// A store that cannot be written (a read-only file or folder) loses
// nothing the user typed during the run: a value that could not be saved
// is kept in memory, read back in its key's place, and tried again with
// every later write.

#include <QObject>
#include <QSettings>
#include <QString>
#include <memory>

namespace settings {

inline constexpr const char kSettingsOrganisation[] = "CorvaneManager";
inline constexpr const char kSettingsApplication[] = "CorvaneManager";

// An INI file used instead of the user's store from now on; an empty path
// goes back to the user's store. Values kept for the previous store go.
void useSettingsFile(const QString &path);
QString settingsFile();

// A fresh handle on the store in use; values written through it are
// flushed when it is destroyed.
std::unique_ptr<QSettings> openSettings();

// Text of `section`/`key`, or `fallback` when the key is missing.
QString readSetting(const QString &section, const QString &key, const QString &fallback);
// False when the store could not keep the value (it is kept for this run).
bool writeSetting(const QString &section, const QString &key, const QString &value);

// What to tell the user while values wait unsaved; empty when all is saved.
QString settingsSaveProblem();

class SettingsEvents : public QObject {
    Q_OBJECT
signals:
    // Once, when writes start to fail; again only after a write that saved
    // everything, or after a change of store.
    void saveFailed(const QString &text);
};
SettingsEvents &settingsEvents();

}  // namespace settings
