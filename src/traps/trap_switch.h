#pragma once
// The device's trap switch, sysTrapSwitch: 1 sends traps, 2 keeps them
// back. The new value goes into the store and to the device at once, in one
// SET; the device has taken it when its answer echoes the value.

#include "config/device_link.h"

#include <QString>

namespace traps {

constexpr int kTrapSwitchTimeoutMs = 10000;

// Stores and sends the switch; returns the status text of the outcome
// ("SNMP traps Enabled....", "Network Error - SNMP traps Not Disabled....").
QString sendTrapSwitch(config::DeviceLink &link, const QString &agentAddress, bool enable);

}  // namespace traps
