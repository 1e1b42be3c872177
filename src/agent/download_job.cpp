#include "download_job.h"

namespace agent {

using config::Group;

DownloadJob::DownloadJob(Device &device, QObject *parent) : Job(device, parent)
{
    connect(&watchdog_, &QTimer::timeout, this, &DownloadJob::tick);
}

JobResult DownloadJob::check(const Device &device)
{
    for (Group group : config::downloadedGroups()) {
        if (!device.isRead(group))
            return JobResult::failed(JobResult::NotRead, group);
        if (const config::DeviceObject *refused = config::firstRefusedObject(group, device.store()))
            return JobResult::failed(JobResult::InvalidValue, group, refused);
    }
    return JobResult();
}

void DownloadJob::run()
{
    const JobResult refused = check(device());
    if (!refused.ok()) {
        finish(refused);
        return;
    }
    watchdog_.start(device().scaled(kWatchdogMs));
    startAttempt();
}

void DownloadJob::tick()
{
    if (isFinished()) {  // aborted between two attempts
        watchdog_.stop();
        return;
    }
    if (attemptRunning_)
        return;
    if (attempts_ <= kRepeats) {
        startAttempt();
        return;
    }
    watchdog_.stop();
    device().store().pendingIPAddress.clear();
    finish(lastFailure_);
}

void DownloadJob::startAttempt()
{
    attemptRunning_ = true;
    emit attemptStarted(attempts_++);
    writeGroup(0);
}

void DownloadJob::writeGroup(int index)
{
    if (index == config::downloadedGroups().size()) {
        reset();
        return;
    }
    const Group group = config::downloadedGroups()[index];
    config::ConfigurationStore &store = device().store();
    // A new address entered for this download becomes the store's.
    if (group == Group::IPSettings && config::addressToSend(store) != store.operIPAddress.trimmed())
        store.operIPAddress = store.pendingIPAddress;
    const auto values = config::encodeGroup(group, store);
    QVector<const config::DeviceObject *> objects;
    QVector<snmp::Value> wire;
    for (const config::Binding &binding : values.value_or(QVector<config::Binding>())) {
        objects << binding.object;
        wire << binding.value;
    }
    const auto bindings = bindingsOf(objects, wire);
    if (!values || !bindings) {
        attemptEnded(JobResult::failed(JobResult::NotSendable, group));
        return;
    }
    exchange(device().send(snmp::PduType::SetRequest, *bindings, kTimeoutMs),
             [this, group, index, sent = *values](const snmp::Reply &reply) {
                 JobResult result = JobResult::of(reply);
                 result.group = group;
                 const QVector<snmp::VarBind> &echo = reply.response().pdu.varBinds;
                 for (qsizetype i = 0; result.ok() && i < sent.size(); ++i) {
                     if (i >= echo.size() || !config::echoMatches(sent[i], echo[i].value))
                         result = JobResult::failed(JobResult::WrongEcho, group, sent[i].object);
                 }
                 if (result.ok())
                     writeGroup(index + 1);
                 else
                     attemptEnded(result);
             });
}

void DownloadJob::reset()
{
    const config::DeviceObject *reset = config::objectNamed(QStringLiteral("sysReset"));
    const auto bindings = bindingsOf({reset}, {snmp::Value::integer(1)});
    if (!bindings) {
        attemptEnded(JobResult::failed(JobResult::NotSendable, std::nullopt, reset));
        return;
    }
    exchange(device().send(snmp::PduType::SetRequest, *bindings, kResetTimeoutMs), [this, reset](const snmp::Reply &reply) {
        JobResult result = JobResult::of(reply);
        const QVector<snmp::VarBind> &echo = reply.response().pdu.varBinds;
        if (result.ok() && (echo.isEmpty() || !config::echoMatches({reset, snmp::Value::integer(1)}, echo[0].value)))
            result = JobResult::failed(JobResult::WrongEcho, std::nullopt, reset);
        attemptEnded(result);
    });
}

void DownloadJob::attemptEnded(const JobResult &result)
{
    attemptRunning_ = false;
    if (!result.ok()) {
        lastFailure_ = result;
        emit attemptFailed(result);
        return;
    }
    watchdog_.stop();
    config::ConfigurationStore &store = device().store();
    // The device answers at its new address from now on; the address sent
    // must never override a later edit.
    device().setAddress(store.operIPAddress.trimmed());
    store.pendingIPAddress.clear();
    for (Group group : config::downloadedGroups())
        device().markSent(group);
    finish(JobResult());
}

}  // namespace agent
