#pragma once
// The radio's test command: the 8-byte structure the test mode takes,
// built from the store's test fields, and the CR31 register values the
// radio works with.

#include "config/configuration_store.h"

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

// Channel, antenna, CR31, rate, Tx filter, command, 0, 0. std::nullopt when
// a field does not fit in its byte: nothing is sent then.
std::optional<QByteArray> testModeCommandStruct(const ConfigurationStore &store, Integer command);

// The value of the leading hexadecimal digits of `text` ("C_" is 12, "G0"
// and "" are 0); values beyond 0xFFFF read as 0xFFFF.
int leadingHexValue(const QString &text);
// CR31 register values the radio works with: 80 to FF.
bool isAcceptedCR31(const QString &text);

}  // namespace config
