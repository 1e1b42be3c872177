#include "settings/app_settings.h"

#include "settings/settings_logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>

namespace settings {

namespace {

struct StoreState {
    QString overrideFile;
    QMap<QString, QString> unsaved;  // "section/key" -> value
    QString problem;
    // One handle for reading, kept: the file is parsed once, not once per
    // value (a large settings file would hold the window for seconds).
    // Handles made meanwhile share its parsed copy.
    std::unique_ptr<QSettings> handle;
};

StoreState &state()
{
    static StoreState s;
    return s;
}

QString pathOf(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}

// The store holds the community, the device's password: only its owner may
// read it. A new file is made private before anything is written to it, and
// an existing one that others could read is closed to them. The rewrite on
// saving keeps the mode of the file it replaces.
void keepPrivate(const QString &path)
{
    constexpr QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    QFile file(path);
    if (!file.exists()) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        file.open(QIODevice::WriteOnly | QIODevice::NewOnly, ownerOnly);
        return;
    }
    // Only the bits that let others in go; an owner-only mode stays as it is.
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
                                            | QFileDevice::ReadOther | QFileDevice::WriteOther
                                            | QFileDevice::ExeOther;
    const QFileDevice::Permissions mode = file.permissions();
    if (mode & others)
        file.setPermissions((mode & ~others) | ownerOnly);
}

}  // namespace

void useSettingsFile(const QString &path)
{
    state() = StoreState{path, {}, {}, nullptr};
}

QString settingsFile()
{
    return state().overrideFile;
}

std::unique_ptr<QSettings> openSettings()
{
    if (!state().overrideFile.isEmpty())
        return std::make_unique<QSettings>(state().overrideFile, QSettings::IniFormat);
    return std::make_unique<QSettings>(QString::fromLatin1(kSettingsOrganisation),
                                       QString::fromLatin1(kSettingsApplication));
}

// The store's handle. A file changed by someone else since is read again;
// unchanged, checking costs a look at its size and time.
static QSettings &sharedSettings()
{
    StoreState &s = state();
    if (!s.handle) {
        s.handle = openSettings();
        // Gone with the application, before Qt's own caches.
        static const bool released = (qAddPostRoutine([] { state().handle.reset(); }), true);
        Q_UNUSED(released);
    } else
        s.handle->sync();
    return *s.handle;
}

QString readSetting(const QString &section, const QString &key, const QString &fallback)
{
    const auto kept = state().unsaved.constFind(pathOf(section, key));
    if (kept != state().unsaved.cend())
        return *kept;
    const QVariant value = sharedSettings().value(pathOf(section, key));
    // Anything that is not plain text (a list written by another tool, say)
    // counts as missing.
    if (!value.isValid() || !value.canConvert<QString>() || value.userType() == QMetaType::QStringList)
        return fallback;
    return value.toString();
}

bool writeSetting(const QString &section, const QString &key, const QString &value)
{
    StoreState &s = state();
    s.unsaved.insert(pathOf(section, key), value);
    // A fresh handle, so that its status is this write's own; it shares the
    // parsed file with the reading handle, so nothing is read again.
    sharedSettings();
    auto settings = openSettings();
    keepPrivate(settings->fileName());
    for (auto it = s.unsaved.cbegin(); it != s.unsaved.cend(); ++it)
        settings->setValue(it.key(), it.value());
    settings->sync();
    if (settings->status() == QSettings::NoError) {
        s.unsaved.clear();
        s.problem.clear();
        return true;
    }
    if (s.problem.isEmpty()) {
        qCWarning(lcSettings).noquote() << "settings not saved to" << settings->fileName() << settings->status();
        s.problem = QStringLiteral("Settings could not be saved to %1: the address and community typed are kept "
                                   "for this run only.")
                        .arg(settings->fileName());
        emit settingsEvents().saveFailed(s.problem);
    }
    return false;
}

QString settingsSaveProblem()
{
    return state().problem;
}

SettingsEvents &settingsEvents()
{
    static SettingsEvents events;
    return events;
}

}  // namespace settings
