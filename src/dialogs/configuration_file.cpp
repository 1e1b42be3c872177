#include "configuration_file.h"

#include "agent/device_session.h"
#include "config/device_objects.h"
#include "config/field_text.h"

#include <QDir>
#include <QFileInfo>

namespace dialogs {

namespace {

bool isAddressField(const QString &field)
{
    return field == QLatin1String("ip-address") || field == QLatin1String("ethernet-address");
}

// Settings a download does not send stay as the device has them: taken
// into the store they would only wait for a download that never sends them.
bool isDownloaded(const config::DeviceObject &object)
{
    return object.group && config::downloadedGroups().contains(*object.group);
}

QStringList keptFields(const config::SettingsFile &file, bool withAddresses)
{
    QStringList keep;
    for (auto it = file.settings.constBegin(); it != file.settings.constEnd(); ++it) {
        const config::DeviceObject *object = config::settingNamed(it.key());
        if (!object || !isDownloaded(*object) || (!withAddresses && isAddressField(it.key())))
            keep << it.key();
    }
    return keep;
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

}  // namespace

QString saveConfiguration(agent::DeviceSession &session, const QString &path, bool *ok)
{
    if (ok)
        *ok = false;
    if (!session.Connected())
        return text::notReadToSave;
    const agent::Device &device = session.device();
    const config::ConfigurationStore &store = device.store();
    const config::DeviceIdentity identity{device.address(), store.sysDeviceInfo.defaultMACAddress,
                                          session.FirmwareVersionText(),
                                          config::manufacturerText(store.sysDeviceInfo.manufactureName)};
    const QString failure = config::saveSettingsFile(path, config::settingsOf(identity, store));
    if (!failure.isEmpty())
        return text::notSaved.arg(shown(path), failure);
    if (ok)
        *ok = true;
    return (device.editsWaiting() ? text::savedWithEdits : text::saved).arg(shown(path));
}

LoadedConfiguration readConfiguration(const QString &path)
{
    LoadedConfiguration loaded;
    const config::SettingsFileLoad read = config::loadSettingsFile(path);
    if (!read.file)
        loaded.error = text::notLoaded.arg(shown(path), read.error);
    loaded.file = read.file;
    return loaded;
}

QVector<SettingDifference> differencesOf(const config::SettingsFile &file, const config::ConfigurationStore &store,
                                         bool withAddresses)
{
    config::ConfigurationStore everything = store;
    config::applySettings(file, everything);
    const QStringList keep = keptFields(file, withAddresses);
    QVector<SettingDifference> differences;
    for (const config::DeviceObject *object : config::settingObjects()) {
        if (!file.settings.contains(object->field) || !object->takesPart(everything))
            continue;
        const QString now = config::fieldText(*object, store);
        const QString then = config::fieldText(*object, everything);
        if (now == then)
            continue;
        SettingDifference difference;
        difference.field = object->field;
        difference.label = object->label;
        difference.deviceValue = now;
        difference.fileValue = then;
        if (keep.contains(object->field)) {
            difference.taken = false;
            difference.note = isAddressField(object->field) ? text::addressKept : text::trapSwitchKept;
        }
        differences.append(difference);
    }
    return differences;
}

QString applyConfiguration(agent::DeviceSession &session, const config::SettingsFile &file, const QString &path,
                           bool withAddresses)
{
    // Not under a download or a read that is going through the store; the
    // session says so on the status line itself.
    if (session.refuseWhileBusy())
        return QString();
    if (!session.Connected())
        return text::notReadToLoad;
    agent::Device &device = session.device();
    const config::ConfigurationStore before = device.store();
    int taken = 0;
    for (const SettingDifference &difference : differencesOf(file, before, withAddresses))
        taken += difference.taken ? 1 : 0;
    if (taken == 0)
        return text::nothingToLoad.arg(shown(path));
    config::applySettings(file, device.store(), keptFields(file, withAddresses));
    for (config::Group group : config::downloadedGroups())
        device.noteEdits(group, before);
    return text::loaded.arg(taken).arg(shown(path));
}

}  // namespace dialogs
