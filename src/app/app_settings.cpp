#include "app_settings.h"

namespace app {

namespace {
QString &overrideFile()
{
    static QString path;
    return path;
}
}  // namespace

void useSettingsFile(const QString &path)
{
    overrideFile() = path;
}

QString settingsFile()
{
    return overrideFile();
}

std::unique_ptr<QSettings> openSettings()
{
    if (!overrideFile().isEmpty())
        return std::make_unique<QSettings>(overrideFile(), QSettings::IniFormat);
    return std::make_unique<QSettings>(QString::fromLatin1(kSettingsOrganisation),
                                       QString::fromLatin1(kSettingsApplication));
}

QString readSetting(const QString &section, const QString &key, const QString &fallback)
{
    auto settings = openSettings();
    settings->beginGroup(section);
    const QVariant value = settings->value(key);
    // Anything that is not plain text (a list written by another tool, say)
    // counts as missing.
    if (!value.isValid() || !value.canConvert<QString>() || value.userType() == QMetaType::QStringList)
        return fallback;
    return value.toString();
}

void writeSetting(const QString &section, const QString &key, const QString &value)
{
    auto settings = openSettings();
    settings->beginGroup(section);
    settings->setValue(key, value);
}

}  // namespace app
