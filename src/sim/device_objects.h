#pragma once
// What the simulated device knows about each of its objects: the value
// type it holds, the sizes it accepts and whether a manager may read or
// write it. The device's own objects come from the console's description
// of them (config/device_objects.h), the standard system group is added
// here; the MIB file only supplies the object identifiers.

#include "config/device_objects.h"
#include "snmp/snmp_pdu.h"

#include <QString>
#include <QVector>

namespace sim {

using config::Access;

struct DeviceObject {
    QString name;
    snmp::ValueKind kind = snmp::ValueKind::Integer;
    // Octet strings: the accepted sizes. A fixed-size object has
    // minLength == maxLength.
    int minLength = 0;
    int maxLength = 0;
    Access access = Access::ReadWrite;
    // A command: writing 1 makes the device act; other values are refused.
    bool command = false;

    bool readable() const { return access != Access::WriteOnly; }
    bool writable() const { return access != Access::ReadOnly; }
    bool fixedSize() const { return minLength == maxLength; }
};

// Every object of the device, standard system group first.
const QVector<DeviceObject> &deviceObjects();
// nullptr for a name the device does not hold.
const DeviceObject *findObject(const QString &name);

// Why a value cannot be stored in an object; empty when it can.
QString refusalFor(const DeviceObject &object, const snmp::Value &value);

}  // namespace sim
