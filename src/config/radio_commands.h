#pragma once
// The radio's test mode and its per-channel configuration on the wire: the
// test-mode switch, the 8-byte test command and the 14-byte table of CR31
// values, one per channel. Each write is one SET; a refused write (error
// status) or an answer naming other objects fails it (DeviceLink).

#include "config/configuration_store.h"
#include "config/device_link.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace config {

// Byte 5 of the test command.
enum TestModeCommand : Integer {
    kContinuousTxWithModulation = 1,
    kContinuousRx = 2,
    kContinuousTxWithoutModulation = 3,  // carrier accuracy
    kTestModeIdle = 4,                   // normal operation inside test mode
};

constexpr int kTestModeSwitchTimeoutMs = 2000;
constexpr int kTestModeCommandTimeoutMs = 1000;
constexpr int kRadioConfigurationTimeoutMs = 1000;
constexpr int kRadioConfigurationBytes = 14;  // one CR31 value per channel

// Channel, antenna, CR31, rate, Tx filter, command, 0, 0. std::nullopt when
// a field does not fit in its byte: nothing is sent then.
std::optional<QByteArray> testModeCommandStruct(const ConfigurationStore &store, Integer command);

// TestModeOnOff = 1. Done when the answer's value is a number.
bool SetTestMode(DeviceLink &link, const QString &host);
// TestModeCommandStruct = the command built from the store's test fields.
// The device's echo of a write-only object is not compared.
bool SetTestModeValues(DeviceLink &link, const QString &host, Integer command, const ConfigurationStore &store);
// TestModeRadioConfiguration = HexToBytes of the store text; done only when
// the device echoes the very bytes sent.
bool SetRadioConfigurationValues(DeviceLink &link, const QString &host, const ConfigurationStore &store);

// The value of the leading hexadecimal digits of `text` ("C_" is 12, "G0"
// and "" are 0); values beyond 0xFFFF read as 0xFFFF.
int leadingHexValue(const QString &text);
// CR31 register values the radio works with: 80 to FF.
bool isAcceptedCR31(const QString &text);

}  // namespace config
