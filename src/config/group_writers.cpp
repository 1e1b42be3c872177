#include "group_writers.h"

#include "config/device_objects.h"

namespace config {

bool writeGroup(DeviceLink &link, const QString &host, Group group, ConfigurationStore &s)
{
    link.prepare(host, 1000);
    link.setRequestType(snmp::request_type::Set);
    link.takeRequestId();
    if (group == Group::IPSettings && addressToSend(s) != s.operIPAddress.trimmed())
        s.operIPAddress = s.pendingIPAddress;
    const std::optional<QVector<Binding>> bindings = encodeGroup(group, s);
    if (!bindings)
        return false;
    for (const Binding &binding : *bindings) {
        snmp::SnmpVariable variable = snmp::SnmpVariable::fromVarBind(snmp::VarBind{{}, binding.value});
        if (!link.addVariable(binding.object->name, variable.ValueType, variable.Value))
            return false;
    }
    if (!link.send().answered())
        return false;
    const snmp::SnmpVariables &answer = link.answer();
    bool ok = true;
    for (int i = 0; i < bindings->size(); ++i) {
        const snmp::SnmpVariable *echo = answer.Item(i + 1);
        snmp::VarBind bind;
        if (!echo || !echo->toVarBind(bind) || !echoMatches(bindings->at(i), bind.value))
            ok = false;
    }
    return ok;
}

}  // namespace config
