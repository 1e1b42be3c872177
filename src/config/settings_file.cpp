#include "settings_file.h"

#include "config/field_text.h"

#include <QFile>
#include <QSaveFile>

#include <QJsonDocument>
#include <QJsonObject>

namespace config {

namespace {

const QString kKind = QStringLiteral("corvane-settings");

}  // namespace

QString firmwareText(const QString &description)
{
    // The device's description begins with five characters of its own:
    // the console shows the rest after its own name.
    return QStringLiteral("Corvane") + description.mid(5, 30);
}

QString manufacturerText(const QString &manufactureName)
{
    QString name = manufactureName;
    while (!name.isEmpty() && (name.back() == QChar(0) || name.back().isSpace()))
        name.chop(1);
    return name;
}

QByteArray writeSettingsFile(const SettingsFile &file)
{
    QJsonObject device{{QStringLiteral("address"), file.device.address},
                       {QStringLiteral("mac-address"), file.device.macAddress},
                       {QStringLiteral("firmware"), file.device.firmware},
                       {QStringLiteral("manufacturer"), file.device.manufacturer}};
    QJsonObject settings;
    for (auto it = file.settings.constBegin(); it != file.settings.constEnd(); ++it)
        settings.insert(it.key(), it.value());
    const QJsonObject root{{QStringLiteral("kind"), kKind},
                           {QStringLiteral("format"), SettingsFile::kFormat},
                           {QStringLiteral("saved"), file.saved.toOffsetFromUtc(file.saved.offsetFromUtc())
                                                         .toString(Qt::ISODate)},
                           {QStringLiteral("device"), device},
                           {QStringLiteral("settings"), settings}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

SettingsFileRead readSettingsFile(const QByteArray &bytes)
{
    SettingsFileRead read;
    const auto refuse = [&read](const QString &why) {
        read.error = why;
        return read;
    };
    if (bytes.size() > SettingsFile::kMaxBytes)
        return refuse(QStringLiteral("not a settings file: larger than %1 bytes").arg(SettingsFile::kMaxBytes));
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (document.isNull())
        return refuse(QStringLiteral("not a settings file: not JSON (%1 at byte %2)")
                          .arg(parseError.errorString())
                          .arg(parseError.offset));
    const QJsonObject root = document.object();
    if (!document.isObject() || root.value(QStringLiteral("kind")).toString() != kKind)
        return refuse(QStringLiteral("not a settings file of this program (no \"kind\": \"%1\")").arg(kKind));
    const QJsonValue format = root.value(QStringLiteral("format"));
    const double number = format.toDouble(-1);
    if (!format.isDouble() || number != qint64(number) || number < 1)
        return refuse(QStringLiteral("damaged settings file: \"format\" is not a version number"));
    if (number > SettingsFile::kFormat)
        return refuse(QStringLiteral("settings file of a newer format (%1): this program reads format %2; "
                                     "use a newer version of it")
                          .arg(qint64(number))
                          .arg(SettingsFile::kFormat));

    SettingsFile file;
    const QJsonValue saved = root.value(QStringLiteral("saved"));
    file.saved = QDateTime::fromString(saved.toString(), Qt::ISODate);
    if (!file.saved.isValid())
        return refuse(QStringLiteral("damaged settings file: \"saved\" is not a date and time"));
    const QJsonValue device = root.value(QStringLiteral("device"));
    if (!device.isObject())
        return refuse(QStringLiteral("damaged settings file: no \"device\""));
    const QJsonObject identity = device.toObject();
    file.device.address = identity.value(QStringLiteral("address")).toString();
    file.device.macAddress = identity.value(QStringLiteral("mac-address")).toString();
    file.device.firmware = identity.value(QStringLiteral("firmware")).toString();
    file.device.manufacturer = identity.value(QStringLiteral("manufacturer")).toString();

    const QJsonValue settingsValue = root.value(QStringLiteral("settings"));
    if (!settingsValue.isObject() || settingsValue.toObject().isEmpty())
        return refuse(QStringLiteral("damaged settings file: no \"settings\""));
    const QJsonObject settings = settingsValue.toObject();
    ConfigurationStore scratch;
    for (auto it = settings.constBegin(); it != settings.constEnd(); ++it) {
        const DeviceObject *object = settingNamed(it.key());
        if (!object)
            return refuse(QStringLiteral("unknown setting \"%1\" in the settings file").arg(it.key()));
        QString text;
        if (it->isString())
            text = it->toString();
        else if (it->isDouble() && object->integer && it->toDouble() == qint64(it->toDouble()))
            text = QString::number(qint64(it->toDouble()));
        else
            return refuse(QStringLiteral("%1 in the settings file: not a text").arg(it.key()));
        const QString why = setFieldFromText(*object, text, scratch);
        if (!why.isEmpty())
            return refuse(QStringLiteral("%1 in the settings file: \"%2\" is not accepted (%3)")
                              .arg(it.key(), text, why));
        file.settings.insert(it.key(), fieldText(*object, scratch));
    }
    read.file = file;
    return read;
}

SettingsFile settingsOf(const DeviceIdentity &device, const ConfigurationStore &store, const QDateTime &saved)
{
    SettingsFile file;
    file.device = device;
    file.saved = saved;
    for (const DeviceObject *object : settingObjects()) {
        if (object->takesPart(store))
            file.settings.insert(object->field, fieldText(*object, store));
    }
    return file;
}

void applySettings(const SettingsFile &file, ConfigurationStore &store, const QStringList &keep)
{
    for (auto it = file.settings.constBegin(); it != file.settings.constEnd(); ++it) {
        if (keep.contains(it.key()))
            continue;
        if (const DeviceObject *object = settingNamed(it.key()))
            setFieldFromText(*object, it.value(), store);
    }
}

SettingsFileLoad loadSettingsFile(const QString &path)
{
    SettingsFileLoad load;
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        load.opened = false;
        load.error = in.errorString();
        return load;
    }
    static_cast<SettingsFileRead &>(load) = readSettingsFile(in.read(SettingsFile::kMaxBytes + 1));
    return load;
}

QString saveSettingsFile(const QString &path, const SettingsFile &file)
{
    const QByteArray bytes = writeSettingsFile(file);
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || !out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)
        || out.write(bytes) != bytes.size() || !out.commit())
        return out.errorString();
    return QString();
}

}  // namespace config
