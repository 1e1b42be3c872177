#include "read_job.h"

namespace agent {

using config::Group;

ReadJob::ReadJob(Device &device, const QVector<Group> &groups, int tries, QObject *parent)
    : Job(device, parent), groups_(groups), tries_(qMax(1, tries))
{
}

ReadJob *ReadJob::fullRead(Device &device, QObject *parent)
{
    return new ReadJob(device, config::fullReadOrder(), kTries, parent);
}

ReadJob *ReadJob::statistics(Device &device, QObject *parent)
{
    return new ReadJob(device, {Group::WirelessStatistics, Group::EthernetStatistics}, kTries, parent);
}

void ReadJob::run() { readNext(); }

void ReadJob::readNext()
{
    while (next_ < groups_.size() && device().isEdited(groups_[next_]))
        ++next_;
    if (next_ == groups_.size()) {
        finish(JobResult());
        return;
    }
    const Group group = groups_[next_];
    const auto bindings = bindingsOf(config::describe(group).readOrder);
    if (!bindings) {
        finish(JobResult::failed(JobResult::NotSendable, group));
        return;
    }
    exchange(device().send(snmp::PduType::GetRequest, *bindings, kTimeoutMs, tries_ - 1),
             [this, group](const snmp::Reply &reply) { take(group, reply); });
}

void ReadJob::take(Group group, const snmp::Reply &reply)
{
    JobResult result = JobResult::of(reply);
    if (!result.ok()) {
        result.group = group;
        finish(result);
        return;
    }
    QVector<snmp::Value> answer;
    for (const snmp::VarBind &bind : reply.response().pdu.varBinds)
        answer.append(bind.value);
    config::ConfigurationStore scratch = device().store();
    const config::Decoded decoded = config::decodeGroup(group, answer, scratch);
    if (decoded.verdict != config::StoreVerdict::Accepted) {
        finish(JobResult::failed(decoded.verdict == config::StoreVerdict::Rejected ? JobResult::Rejected
                                                                                  : JobResult::Malformed,
                                 group, decoded.object));
        return;
    }
    config::copyGroup(group, scratch, device().store());
    device().markRead(group);
    emit groupRead(group);
    if (isFinished())
        return;
    ++next_;
    readNext();
}

}  // namespace agent
