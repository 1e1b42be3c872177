#pragma once
// The values the simulated device ships with, and its fixed identity.

#include "snmp/snmp_pdu.h"

#include <QByteArray>
#include <QHash>
#include <QString>

namespace sim {

namespace factory {
// The device's factory MAC address (also its Ethernet address).
QByteArray macAddress();
// Regulation domain code written at the factory (FCC).
constexpr quint8 kRegulationDomain = 0x10;
// Manufacturer name, 32 characters with trailing blanks.
QByteArray manufacturerName();
// 92 bytes: MAC at bytes 5..10, domain at byte 11, name at 21..52.
QByteArray deviceInfo();
// Text of sysDescr.
QByteArray description();
}  // namespace factory

// Every stored setting and fixed value by object name. Statistics and
// sysUpTime are not included: they follow the clock.
QHash<QString, snmp::Value> factoryValues(const snmp::Oid &enterprise);

}  // namespace sim
