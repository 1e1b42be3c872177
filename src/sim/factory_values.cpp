#include "factory_values.h"

namespace sim {

namespace factory {

QByteArray macAddress()
{
    // Locally administered (second bit of the first byte set), so it can
    // never collide with a real vendor's address.
    return QByteArray::fromHex("02C04A102B3C");
}

QByteArray manufacturerName()
{
    return QByteArray("Corvane Networks Ltd.").leftJustified(32, ' ');
}

QByteArray deviceInfo()
{
    QByteArray info(92, '\0');
    info.replace(0, 4, QByteArray::fromHex("01040200"));  // bytes 1..4: hardware revision
    info.replace(4, 6, macAddress());                      // bytes 5..10
    info[10] = char(kRegulationDomain);                    // byte 11
    info.replace(20, 32, manufacturerName());              // bytes 21..52
    return info;
}

QByteArray description()
{
    // A manager shows characters 6 to 35 as the firmware version.
    return QByteArrayLiteral("TARVO Access Point Firmware V2.1.07 (802.11b, simulated)");
}

}  // namespace factory

QHash<QString, snmp::Value> factoryValues(const snmp::Oid &enterprise)
{
    using snmp::Value;
    const QByteArray noKey(5, '\0');
    QHash<QString, Value> values{
        {QStringLiteral("sysDescr"), Value::octets(factory::description())},
        {QStringLiteral("sysObjectID"), Value::objectId(enterprise)},
        {QStringLiteral("sysContact"), Value::octets(QByteArrayLiteral("network administrator"))},
        {QStringLiteral("sysName"), Value::octets(QByteArrayLiteral("corvane-ap"))},
        {QStringLiteral("sysLocation"), Value::octets(QByteArray())},
        {QStringLiteral("sysServices"), Value::integer(2)},  // a bridge: data link layer

        {QStringLiteral("sysDeviceInfo"), Value::octets(factory::deviceInfo())},
        {QStringLiteral("sysReset"), Value::integer(0)},
        {QStringLiteral("sysLoadDefaults"), Value::integer(0)},
        {QStringLiteral("sysTrapSwitch"), Value::integer(1)},

        {QStringLiteral("operChannelID"), Value::integer(6)},
        {QStringLiteral("operESSIDLength"), Value::integer(7)},
        {QStringLiteral("operESSID"), Value::octets(QByteArrayLiteral("corvane"))},
        {QStringLiteral("operRTSThreshold"), Value::integer(2346)},
        {QStringLiteral("operFragmentationThreshold"), Value::integer(2346)},
        {QStringLiteral("operPreambleType"), Value::integer(2)},
        {QStringLiteral("operAuthenticationType"), Value::integer(3)},
        {QStringLiteral("operBasicRates"), Value::octets(QByteArray::fromHex("82848B96"))},
        {QStringLiteral("operAutoRateFallBack"), Value::integer(1)},
        // The device's own stored address: a value, never a destination.
        {QStringLiteral("operIPAddress"), Value::ipAddress(QByteArray::fromHex("C0A801FA"))},  // 192.168.1.250
        {QStringLiteral("operIPMask"), Value::ipAddress(QByteArray::fromHex("FFFFFF00"))},     // 255.255.255.0
        {QStringLiteral("operEthernetAddress"), Value::octets(factory::macAddress())},

        {QStringLiteral("defaultWEPKey1"), Value::octets(noKey)},
        {QStringLiteral("defaultWEPKey2"), Value::octets(noKey)},
        {QStringLiteral("defaultWEPKey3"), Value::octets(noKey)},
        {QStringLiteral("defaultWEPKey4"), Value::octets(noKey)},
        {QStringLiteral("privacyDefaultWEPKeyID"), Value::integer(1)},
        {QStringLiteral("privacyWEPEnable"), Value::integer(2)},

        {QStringLiteral("bridgeOperationalMode"), Value::integer(2)},
        {QStringLiteral("bridgeRemoteBridgeBSSID"), Value::octets(QByteArray::fromHex("02C04A2051A0"))},

        // CR31 per channel 1..14.
        {QStringLiteral("TestModeRadioConfiguration"),
         Value::octets(QByteArray::fromHex("B1B2B3B4B5B6B7B8B9BABBBCBDBE"))},
        {QStringLiteral("TestModeOnOff"), Value::integer(0)},  // 1 while in test mode
        // Channel 6, antenna A, CR31 C0, 11 Mbit/s, US filter, idle.
        {QStringLiteral("TestModeCommandStruct"), Value::octets(QByteArray::fromHex("0601C00301040000"))},

        {QStringLiteral("trapStationAddress"), Value::octets(QByteArray(6, '\0'))},
    };
    return values;
}

}  // namespace sim
