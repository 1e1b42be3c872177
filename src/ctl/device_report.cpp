#include "device_report.h"

#include "config/counter_names.h"
#include "config/encodings.h"
#include "config/field_text.h"

#include <QJsonArray>

namespace ctl {

namespace {

constexpr int kNameWidth = 36;

QString row(const QString &name, const QString &value)
{
    return QStringLiteral("    %1 %2\n").arg(name, -kNameWidth).arg(value);
}

QString heading(const QString &title)
{
    return QStringLiteral("  ") + title.left(1).toUpper() + title.mid(1) + QLatin1Char('\n');
}

QString domainText(int code)
{
    const QString name = config::regulationDomainName(code);
    return name.isEmpty() ? QString::number(code) : QStringLiteral("%1 %2").arg(code).arg(name);
}

}  // namespace

QString countersTable(const config::ConfigurationStore &store)
{
    QString text;
    QString group;
    for (const config::NamedCounter &counter : config::countersOf(store)) {
        const QString prefix = counter.name.section(QLatin1Char('.'), 0, 0);
        if (prefix != group) {
            group = prefix;
            text += heading(prefix == QLatin1String("wireless") ? config::groupTitle(config::Group::WirelessStatistics)
                            : prefix == QLatin1String("ethernet-rx") ? QStringLiteral("Ethernet received")
                                                                     : QStringLiteral("Ethernet transmitted"));
        }
        text += row(counter.name, QString::number(counter.value));
    }
    return text;
}

QString reportTable(const QString &host, const config::DeviceIdentity &identity,
                    const config::ConfigurationStore &store)
{
    QString text = host + QLatin1Char('\n');
    text += heading(config::groupTitle(config::Group::HardConf));
    text += row(QStringLiteral("firmware"), identity.firmware);
    text += row(QStringLiteral("manufacturer"), identity.manufacturer);
    text += row(QStringLiteral("mac-address"), identity.macAddress);
    text += row(QStringLiteral("regulation-domain"), domainText(store.sysDeviceInfo.regulationDomain));
    std::optional<config::Group> group;
    for (const config::DeviceObject *object : config::settingObjects()) {
        if (object->group != group) {
            group = object->group;
            text += heading(config::groupTitle(*group));
        }
        if (object->takesPart(store))
            text += row(object->field, config::fieldText(*object, store));
    }
    return text + countersTable(store);
}

QJsonObject reportJson(const QString &host, const config::DeviceIdentity &identity,
                       const config::ConfigurationStore &store)
{
    const int domain = store.sysDeviceInfo.regulationDomain;
    QJsonObject device{{QStringLiteral("firmware"), identity.firmware},
                       {QStringLiteral("manufacturer"), identity.manufacturer},
                       {QStringLiteral("mac-address"), identity.macAddress},
                       {QStringLiteral("regulation-domain"), domain},
                       {QStringLiteral("regulation-domain-name"), config::regulationDomainName(domain)}};
    QJsonObject settings;
    for (const config::DeviceObject *object : config::settingObjects()) {
        if (object->takesPart(store))
            settings.insert(object->field, config::fieldText(*object, store));
    }
    QJsonObject counters;
    for (const config::NamedCounter &counter : config::countersOf(store))
        counters.insert(counter.name, qint64(counter.value));
    return {{QStringLiteral("host"), host},
            {QStringLiteral("device"), device},
            {QStringLiteral("settings"), settings},
            {QStringLiteral("counters"), counters}};
}

}  // namespace ctl
