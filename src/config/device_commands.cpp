#include "device_commands.h"

#include "config/group_readers.h"

namespace config {

bool sendDeviceCommand(DeviceLink &link, const QString &host, const QString &objectName, int timeoutMs)
{
    link.prepare(host, timeoutMs);
    link.setRequestType(snmp::request_type::Set);
    link.takeRequestId();
    if (!link.AddIntegerVariable(objectName, 1) || !link.send().answered())
        return false;
    const snmp::SnmpVariable *first = link.answer().Item(1);
    const auto value = first ? integerFromText(first->Value) : std::nullopt;
    return value && *value == 1;
}

}  // namespace config
