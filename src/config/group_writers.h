#pragma once
// Writing the store's settings back to the device, one SET per group, with
// every echoed value compared against what was sent.

#include "config/configuration_store.h"
#include "config/device_link.h"
#include "config/store_groups.h"

namespace config {

// False when the request could not be built or sent, was not answered, or
// any echo differs. The IP group first takes a new address entered in
// pendingIPAddress into operIPAddress.
bool writeGroup(DeviceLink &link, const QString &host, Group group, ConfigurationStore &store);

}  // namespace config
