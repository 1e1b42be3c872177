#include "job.h"

namespace agent {

JobResult JobResult::failed(Error error, std::optional<config::Group> group, const config::DeviceObject *object)
{
    JobResult result;
    result.error = error;
    result.group = group;
    result.object = object;
    return result;
}

JobResult JobResult::of(const snmp::Reply &reply)
{
    JobResult result;
    result.detail = reply.errorString();
    switch (reply.error()) {
    case snmp::Reply::NoError: break;
    case snmp::Reply::Timeout: result.error = Timeout; break;
    case snmp::Reply::ErrorStatus:
        result.error = Refused;
        result.errorStatus = reply.errorStatus();
        result.errorIndex = reply.errorIndex();
        break;
    case snmp::Reply::Malformed: result.error = Malformed; break;
    case snmp::Reply::NotAllowed: result.error = NotAllowed; break;
    case snmp::Reply::SocketError: result.error = SocketError; break;
    case snmp::Reply::InvalidRequest: result.error = NotSendable; break;
    case snmp::Reply::Aborted: result.error = Aborted; break;
    }
    return result;
}

Job::Job(Device &device, QObject *parent) : QObject(parent), device_(device)
{
    static const int registered = qRegisterMetaType<agent::JobResult>();
    Q_UNUSED(registered);
}

Job::~Job()
{
    // Requests still out are cancelled with the job.
    for (const QPointer<snmp::Reply> &reply : std::as_const(outstanding_))
        delete reply.data();
}

void Job::start()
{
    if (started_)
        return;
    started_ = true;
    starting_ = true;
    run();
    starting_ = false;
    // A job that ended at once (nothing to send) reports from the event
    // loop: whoever started it has not connected to it yet.
    if (finished_)
        QMetaObject::invokeMethod(
            this, [this] { emit finished(result_); }, Qt::QueuedConnection);
}

void Job::abort()
{
    JobResult aborted;
    aborted.error = JobResult::Aborted;
    finish(aborted);
}

void Job::finish(const JobResult &result)
{
    if (finished_)
        return;
    finished_ = true;
    started_ = true;
    result_ = result;
    const QList<QPointer<snmp::Reply>> replies = std::exchange(outstanding_, {});
    for (const QPointer<snmp::Reply> &reply : replies) {
        if (reply)
            reply->deleteLater();  // deleting it cancels the request
    }
    if (!starting_)
        emit finished(result_);
}

void Job::exchange(snmp::Reply *reply, std::function<void(const snmp::Reply &)> then)
{
    outstanding_.append(reply);
    connect(reply, &snmp::Reply::finished, this, [this, reply, then = std::move(then)] {
        outstanding_.removeAll(reply);
        reply->deleteLater();
        if (!finished_)
            then(*reply);
    });
}

std::optional<QVector<snmp::VarBind>> Job::bindingsOf(const QVector<const config::DeviceObject *> &objects,
                                                      const QVector<snmp::Value> &values) const
{
    QVector<snmp::VarBind> bindings;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        const std::optional<snmp::Oid> oid = device_.instanceOf(objects[i]->name);
        if (!oid)
            return std::nullopt;
        bindings.append(snmp::VarBind{*oid, i < values.size() ? values[i] : snmp::Value::null()});
    }
    return bindings;
}

}  // namespace agent
