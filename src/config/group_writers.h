#pragma once
// Writing the store's settings back to the device, one SET per group, with
// every echoed value compared against what was sent. Each writer returns
// false when the request could not be built or sent, was not answered, or
// any echo differs.

#include "config/configuration_store.h"
#include "config/device_link.h"

#include <optional>

namespace config {

bool SetWirelessOperationalConf(DeviceLink &link, const QString &host, ConfigurationStore &store);
// Sends the trimmed pendingIPAddress when one was entered and differs from
// operIPAddress (which then takes it), otherwise the trimmed operIPAddress.
bool SetIPSettingsConf(DeviceLink &link, const QString &host, ConfigurationStore &store);
bool SetPrivacySettingsConf(DeviceLink &link, const QString &host, ConfigurationStore &store);
bool SetBridgeOperationalModeConf(DeviceLink &link, const QString &host, ConfigurationStore &store);

// The address the IP group sends: the trimmed pendingIPAddress when one was
// entered and differs from operIPAddress, otherwise the trimmed operIPAddress.
QString addressToSend(const ConfigurationStore &store);

}  // namespace config
