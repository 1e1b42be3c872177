#include "group_readers.h"

namespace config {

StoreVerdict readGroup(DeviceLink &link, const QString &host, Group group, ConfigurationStore &target, int tries)
{
    link.prepare(host, 1000);
    for (const DeviceObject *object : describe(group).readOrder) {
        if (!link.addGetVariable(object->name))
            return StoreVerdict::Failed;
    }
    link.setRequestType(snmp::request_type::Get);
    link.takeRequestId();
    if (!link.send(tries).answered())
        return StoreVerdict::Failed;
    QVector<snmp::Value> answer;
    for (const snmp::SnmpVariable &variable : link.answer()) {
        snmp::VarBind bind;
        if (!variable.toVarBind(bind))
            break;
        answer << bind.value;
    }
    ConfigurationStore scratch = target;
    const StoreVerdict verdict = decodeGroup(group, answer, scratch).verdict;
    if (verdict == StoreVerdict::Accepted)
        copyGroup(group, scratch, target);
    return verdict;
}

QString readFailureText(Group group, StoreVerdict verdict)
{
    const GroupDescription &description = describe(group);
    if (description.errorNumber == 0 || verdict == StoreVerdict::Accepted)
        return QString();
    if (verdict == StoreVerdict::Rejected && !description.rejectedText.isEmpty())
        return description.rejectedText;
    return QStringLiteral("Network Error%1-Not all values retrieved.").arg(description.errorNumber);
}

}  // namespace config
