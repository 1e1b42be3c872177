#include "identity_job.h"

#include "config/encodings.h"

namespace agent {

QString firmwareVersionText(const QString &description)
{
    return QStringLiteral("Corvane") + description.mid(5, 30);
}

IdentityJob::IdentityJob(Device &device, int tries, QObject *parent) : Job(device, parent), tries_(qMax(1, tries)) {}

const QStringList &IdentityJob::objectNames()
{
    static const QStringList names = {QStringLiteral("sysDescr"), QStringLiteral("sysDeviceInfo"),
                                      QStringLiteral("operChannelID"), QStringLiteral("operESSID")};
    return names;
}

void IdentityJob::run()
{
    QVector<const config::DeviceObject *> objects;
    for (const QString &name : objectNames())
        objects << config::objectNamed(name);
    const auto bindings = objects.contains(nullptr) ? std::nullopt : bindingsOf(objects);
    if (!bindings) {
        finish(JobResult::failed(JobResult::NotSendable));
        return;
    }
    exchange(device().send(snmp::PduType::GetRequest, *bindings, kTimeoutMs, tries_ - 1),
             [this](const snmp::Reply &reply) { take(reply); });
}

void IdentityJob::take(const snmp::Reply &reply)
{
    const JobResult result = JobResult::of(reply);
    if (!result.ok()) {
        finish(result);
        return;
    }
    const QVector<snmp::VarBind> &answer = reply.response().pdu.varBinds;
    if (answer.size() != objectNames().size()) {
        finish(JobResult::failed(JobResult::Malformed));
        return;
    }
    // Each value through the object description's own checks, into a
    // scratch store that is thrown away.
    config::ConfigurationStore scratch;
    for (int i = 1; i < answer.size(); ++i) {
        const config::DeviceObject *object = config::objectNamed(objectNames()[i]);
        const config::StoreVerdict verdict = config::decodeObject(*object, answer[i].value, scratch);
        if (verdict != config::StoreVerdict::Accepted) {
            finish(JobResult::failed(verdict == config::StoreVerdict::Rejected ? JobResult::Rejected
                                                                                : JobResult::Malformed,
                                     object->group, object));
            return;
        }
    }
    identity_.description = config::textFromOctets(answer[0].value.bytes);
    identity_.firmware = firmwareVersionText(identity_.description);
    identity_.defaultMACAddress = scratch.sysDeviceInfo.defaultMACAddress;
    QString maker = scratch.sysDeviceInfo.manufactureName;
    while (!maker.isEmpty() && (maker.back() == QChar(0) || maker.back().isSpace()))
        maker.chop(1);
    identity_.manufactureName = maker;
    identity_.channel = scratch.operChannelID;
    identity_.essid = scratch.operESSID;
    finish(JobResult());
}

}  // namespace agent
