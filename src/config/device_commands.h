#pragma once
// One-shot commands to the whole device: each sets one integer object to 1
// and counts as done when the device answers with 1.

#include "config/device_link.h"

namespace config {

constexpr int kDeviceCommandTimeoutMs = 10000;

bool sendDeviceCommand(DeviceLink &link, const QString &host, const QString &objectName,
                       int timeoutMs = kDeviceCommandTimeoutMs);
inline bool ResetDevise(DeviceLink &link, const QString &host)
{
    return sendDeviceCommand(link, host, QStringLiteral("sysReset"));
}
inline bool LoadDefaults(DeviceLink &link, const QString &host)
{
    return sendDeviceCommand(link, host, QStringLiteral("sysLoadDefaults"));
}

}  // namespace config
