#include "trap_switch.h"

#include "config/configuration_store.h"
#include "config/group_readers.h"

namespace traps {

QString sendTrapSwitch(config::DeviceLink &link, const QString &agentAddress, bool enable)
{
    const qint16 value = enable ? 1 : 2;
    config::store().sysTrapSwitch = value;

    link.prepare(agentAddress, kTrapSwitchTimeoutMs);
    link.setRequestType(snmp::request_type::Set);
    link.takeRequestId();
    // A refusal (error status) or an answer naming another object fails the
    // send, so only the device's own echo of the value counts.
    bool echoed = false;
    if (link.AddIntegerVariable(QStringLiteral("sysTrapSwitch"), value) && link.send().answered()) {
        const snmp::SnmpVariable *first = link.answer().Item(1);
        const auto answer = first ? config::integerFromText(first->Value) : std::nullopt;
        echoed = answer && *answer == value;
    }
    if (echoed)
        return enable ? QStringLiteral("SNMP traps Enabled....") : QStringLiteral("SNMP traps Disabled....");
    return enable ? QStringLiteral("Network Error - SNMP traps Not Enabled....")
                  : QStringLiteral("Network Error - SNMP traps Not Disabled....");
}

}  // namespace traps
