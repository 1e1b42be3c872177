#pragma once
// A device as show prints it: its identity (with the regulation domain's
// name), its settings by field name in their text forms, its counters; as
// a table for people or as JSON for scripts.

#include "config/configuration_store.h"
#include "config/settings_file.h"

#include <QJsonObject>
#include <QString>

namespace ctl {

QString reportTable(const QString &host, const config::DeviceIdentity &identity,
                    const config::ConfigurationStore &store);
QJsonObject reportJson(const QString &host, const config::DeviceIdentity &identity,
                       const config::ConfigurationStore &store);

// The counters alone, as a table.
QString countersTable(const config::ConfigurationStore &store);

}  // namespace ctl
