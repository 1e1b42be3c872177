#include "set_job.h"

namespace agent {

SetJob::SetJob(Device &device, const QString &objectName, qint16 value, QObject *parent)
    : Job(device, parent), object_(config::objectNamed(objectName)), value_(value)
{
}

SetJob *SetJob::reset(Device &device, QObject *parent)
{
    return new SetJob(device, QStringLiteral("sysReset"), 1, parent);
}

SetJob *SetJob::restoreDefaults(Device &device, QObject *parent)
{
    return new SetJob(device, QStringLiteral("sysLoadDefaults"), 1, parent);
}

SetJob *SetJob::trapSwitch(Device &device, bool enable, QObject *parent)
{
    return new SetJob(device, QStringLiteral("sysTrapSwitch"), enable ? 1 : 2, parent);
}

void SetJob::run()
{
    if (object_->integer)
        device().store().*object_->integer = value_;
    const config::Binding sent{object_, snmp::Value::integer(value_)};
    const auto bindings = bindingsOf({object_}, {sent.value});
    if (!bindings) {
        finish(JobResult::failed(JobResult::NotSendable, object_->group, object_));
        return;
    }
    exchange(device().send(snmp::PduType::SetRequest, *bindings, kTimeoutMs), [this, sent](const snmp::Reply &reply) {
        JobResult result = JobResult::of(reply);
        result.group = object_->group;
        const QVector<snmp::VarBind> &echo = reply.response().pdu.varBinds;
        if (result.ok() && (echo.isEmpty() || !config::echoMatches(sent, echo.first().value)))
            result = JobResult::failed(JobResult::WrongEcho, object_->group, object_);
        finish(result);
    });
}

}  // namespace agent
