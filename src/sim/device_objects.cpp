#include "device_objects.h"

#include <QHash>

namespace sim {

namespace {

using snmp::ValueKind;

DeviceObject integer(const QString &name, Access access = Access::ReadWrite)
{
    return DeviceObject{name, ValueKind::Integer, 0, 0, access, false};
}

DeviceObject command(const QString &name)
{
    return DeviceObject{name, ValueKind::Integer, 0, 0, Access::WriteOnly, true};
}

DeviceObject octets(const QString &name, int minLength, int maxLength, Access access = Access::ReadWrite)
{
    return DeviceObject{name, ValueKind::OctetString, minLength, maxLength, access, false};
}

DeviceObject fixedOctets(const QString &name, int length, Access access = Access::ReadWrite)
{
    return octets(name, length, length, access);
}

DeviceObject ipAddress(const QString &name)
{
    return DeviceObject{name, ValueKind::IpAddress, 4, 4, Access::ReadWrite, false};
}

QVector<DeviceObject> buildObjects()
{
    return {
        // The standard system group.
        octets(QStringLiteral("sysDescr"), 0, 255, Access::ReadOnly),
        DeviceObject{QStringLiteral("sysObjectID"), ValueKind::ObjectIdentifier, 0, 0, Access::ReadOnly, false},
        DeviceObject{QStringLiteral("sysUpTime"), ValueKind::TimeTicks, 0, 0, Access::ReadOnly, false},
        octets(QStringLiteral("sysContact"), 0, 255),
        octets(QStringLiteral("sysName"), 0, 255),
        octets(QStringLiteral("sysLocation"), 0, 255),
        integer(QStringLiteral("sysServices"), Access::ReadOnly),

        fixedOctets(QStringLiteral("sysDeviceInfo"), 92, Access::ReadOnly),
        command(QStringLiteral("sysReset")),
        command(QStringLiteral("sysLoadDefaults")),
        integer(QStringLiteral("sysTrapSwitch")),

        integer(QStringLiteral("operChannelID")),
        integer(QStringLiteral("operESSIDLength")),
        octets(QStringLiteral("operESSID"), 0, 32),
        integer(QStringLiteral("operRTSThreshold")),
        integer(QStringLiteral("operFragmentationThreshold")),
        integer(QStringLiteral("operPreambleType")),
        integer(QStringLiteral("operAuthenticationType")),
        fixedOctets(QStringLiteral("operBasicRates"), 4),
        integer(QStringLiteral("operAutoRateFallBack")),
        ipAddress(QStringLiteral("operIPAddress")),
        ipAddress(QStringLiteral("operIPMask")),
        fixedOctets(QStringLiteral("operEthernetAddress"), 6),

        fixedOctets(QStringLiteral("defaultWEPKey1"), 5),
        fixedOctets(QStringLiteral("defaultWEPKey2"), 5),
        fixedOctets(QStringLiteral("defaultWEPKey3"), 5),
        fixedOctets(QStringLiteral("defaultWEPKey4"), 5),
        integer(QStringLiteral("privacyDefaultWEPKeyID")),
        integer(QStringLiteral("privacyWEPEnable")),

        integer(QStringLiteral("bridgeOperationalMode")),
        fixedOctets(QStringLiteral("bridgeRemoteBridgeBSSID"), 6),

        fixedOctets(QStringLiteral("wirelessStatistics"), 88, Access::ReadOnly),
        fixedOctets(QStringLiteral("EthRxStatistics"), 64, Access::ReadOnly),
        fixedOctets(QStringLiteral("EthTxStatistics"), 56, Access::ReadOnly),

        fixedOctets(QStringLiteral("TestModeRadioConfiguration"), 14),
        command(QStringLiteral("TestModeOnOff")),
        fixedOctets(QStringLiteral("TestModeCommandStruct"), 8, Access::WriteOnly),

        fixedOctets(QStringLiteral("trapStationAddress"), 6, Access::ReadOnly),
    };
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
