#include "device_objects.h"

#include <QHash>

namespace sim {

namespace {

using snmp::ValueKind;

DeviceObject standard(const char *name, ValueKind kind, Access access = Access::ReadOnly)
{
    const bool text = kind == ValueKind::OctetString;
    return DeviceObject{QLatin1String(name), kind, 0, text ? 255 : 0, access, false};
}

QVector<DeviceObject> buildObjects()
{
    // The standard system group (sysDescr is among the device's own).
    QVector<DeviceObject> objects = {
        standard("sysObjectID", ValueKind::ObjectIdentifier),
        standard("sysUpTime", ValueKind::TimeTicks),
        standard("sysContact", ValueKind::OctetString, Access::ReadWrite),
        standard("sysName", ValueKind::OctetString, Access::ReadWrite),
        standard("sysLocation", ValueKind::OctetString, Access::ReadWrite),
        standard("sysServices", ValueKind::Integer),
    };
    for (const config::DeviceObject &o : config::deviceObjects())
        objects.append(DeviceObject{o.name, o.kind, o.minBytes, o.maxBytes, o.access, o.isCommand()});
    return objects;
}

QString kindName(ValueKind kind)
{
    switch (kind) {
    case ValueKind::Null: return QStringLiteral("NULL");
    case ValueKind::Integer: return QStringLiteral("INTEGER");
    case ValueKind::OctetString: return QStringLiteral("OCTET STRING");
    case ValueKind::ObjectIdentifier: return QStringLiteral("OBJECT IDENTIFIER");
    case ValueKind::IpAddress: return QStringLiteral("IpAddress");
    case ValueKind::Counter: return QStringLiteral("Counter");
    case ValueKind::Gauge: return QStringLiteral("Gauge");
    case ValueKind::TimeTicks: return QStringLiteral("TimeTicks");
    case ValueKind::Opaque: return QStringLiteral("Opaque");
    }
    return QStringLiteral("unknown");
}

}  // namespace

const QVector<DeviceObject> &deviceObjects()
{
    static const QVector<DeviceObject> objects = buildObjects();
    return objects;
}

const DeviceObject *findObject(const QString &name)
{
    static const QHash<QString, int> index = [] {
        QHash<QString, int> byName;
        const QVector<DeviceObject> &objects = deviceObjects();
        for (int i = 0; i < objects.size(); ++i)
            byName.insert(objects[i].name, i);
        return byName;
    }();
    const auto it = index.constFind(name);
    return it == index.constEnd() ? nullptr : &deviceObjects()[*it];
}

QString refusalFor(const DeviceObject &object, const snmp::Value &value)
{
    if (value.kind != object.kind)
        return QStringLiteral("%1 wants %2, got %3").arg(object.name, kindName(object.kind), kindName(value.kind));
    if (object.kind == ValueKind::OctetString) {
        const qsizetype size = value.bytes.size();
        if (size < object.minLength || size > object.maxLength) {
            return object.fixedSize()
                       ? QStringLiteral("%1 takes %2 bytes, got %3").arg(object.name).arg(object.minLength).arg(size)
                       : QStringLiteral("%1 takes %2 to %3 bytes, got %4")
                             .arg(object.name).arg(object.minLength).arg(object.maxLength).arg(size);
        }
    }
    if (object.kind == ValueKind::IpAddress && value.bytes.size() != 4)
        return QStringLiteral("%1 takes a 4-byte address").arg(object.name);
    if (object.command && value.number != 1)
        return QStringLiteral("%1 accepts only 1, got %2").arg(object.name).arg(value.number);
    return {};
}

}  // namespace sim
