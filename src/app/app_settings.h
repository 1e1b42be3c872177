#pragma once
// The per-user settings store of the console: string values by section and
// key under the application name "CorvaneManager". A settings file can
// stand in for the user's store (command line, demo, tests), so that
// nothing a test or a demo does touches the user's own settings.

#include <QSettings>
#include <QString>
#include <memory>

namespace app {

inline constexpr const char kSettingsOrganisation[] = "CorvaneManager";
inline constexpr const char kSettingsApplication[] = "CorvaneManager";

// An INI file used instead of the user's store from now on; an empty path
// goes back to the user's store.
void useSettingsFile(const QString &path);
QString settingsFile();

// A fresh handle on the store in use; values written through it are
// flushed when it is destroyed.
std::unique_ptr<QSettings> openSettings();

// Text of `section`/`key`, or `fallback` when the key is missing.
QString readSetting(const QString &section, const QString &key, const QString &fallback);
void writeSetting(const QString &section, const QString &key, const QString &value);

}  // namespace app
