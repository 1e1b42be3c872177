#pragma once
// The device's settings by the names a user types and reads: on a command
// line, in a settings file, in a script. Each setting is an object of the
// object description that has a field name and that a download or the
// trap switch writes; its value has one text form (choices by name, such
// as "on" or "short", numbers as digits, keys and addresses as hexadecimal
// digits, IP addresses dotted, the ESSID as it is). A text is taken only
// when it is a value the device accepts, by the description's own rules.

#include "config/device_objects.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace config {

// Every setting, in the order of the groups that hold them.
const QVector<const DeviceObject *> &settingObjects();
// The setting of that field name; nullptr when there is none.
const DeviceObject *settingNamed(const QString &field);

// The value of `object` in `store` in its text form.
QString fieldText(const DeviceObject &object, const ConfigurationStore &store);

// Puts the value `text` stands for into `store`. Returns why it was not
// taken ("one of: on, off", the rule's hint), or an empty string when it
// was. `store` changes only when the value is taken.
QString setFieldFromText(const DeviceObject &object, const QString &text, ConfigurationStore &store);

// The names a choice setting takes ("on", "off"); empty for the others.
QStringList choicesOf(const DeviceObject &object);
// What the setting accepts, in words, for help texts and refusals.
QString acceptedText(const DeviceObject &object);

}  // namespace config
