#include "host_session.h"

#include "agent/probe_job.h"
#include "agent/read_job.h"

namespace ctl {

HostSession::HostSession(const Context &context, const Target &target, QObject *parent)
    : QObject(parent), context_(context), target_(target), device_(context.engine, context.mib)
{
    device_.setAddress(target.address.toString());
    device_.setPort(target.port ? target.port : context.options.port);
    device_.setCommunity(context.options.community);
    // Every wait of the device's own pace grows or shrinks with --timeout.
    device_.setTimeScale(context.options.timeoutMs / 1000.0);
}

void HostSession::run(agent::Job *job, Then then)
{
    job->setParent(this);
    connect(job, &agent::Job::finished, this, [then = std::move(then)](const agent::JobResult &result) {
        then(result);
    });
    job->start();
}

void HostSession::connectAndRead(const QVector<config::Group> &groups, Then then)
{
    auto *probe = agent::ProbeJob::connectTo(device_, device_.address());
    probe->setProbes(context_.options.retries + 1);
    run(probe, [this, probe, groups, then](const agent::JobResult &result) {
        if (!result.ok()) {
            then(result);
            return;
        }
        description_ = probe->responders().value(0).description;
        if (groups.isEmpty()) {
            then(result);
            return;
        }
        run(new agent::ReadJob(device_, groups, context_.options.retries + 1), then);
    });
}

config::DeviceIdentity HostSession::identity() const
{
    const config::ConfigurationStore &store = device_.store();
    return {device_.address(), store.sysDeviceInfo.defaultMACAddress, config::firmwareText(description_),
            config::manufacturerText(store.sysDeviceInfo.manufactureName)};
}

}  // namespace ctl
