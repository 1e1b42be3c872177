#include "probe_job.h"

#include "config/encodings.h"
#include "snmp/snmp_message.h"

namespace agent {

ProbeJob *ProbeJob::connectTo(Device &device, const QString &address, QObject *parent)
{
    return new ProbeJob(device, address, false, parent);
}

ProbeJob *ProbeJob::scan(Device &device, const QString &address, QObject *parent)
{
    return new ProbeJob(device, address, true, parent);
}

ProbeJob::ProbeJob(Device &device, const QString &address, bool scanning, QObject *parent)
    : Job(device, parent), address_(address), scanning_(scanning)
{
    watchdog_.setTimerType(Qt::PreciseTimer);
    connect(&watchdog_, &QTimer::timeout, this, &ProbeJob::tick);
    lastProblem_.error = JobResult::Timeout;
}

void ProbeJob::run()
{
    watchdog_.start(device().scaled(scanning_ ? kScanWatchdogMs : kConnectWatchdogMs));
    sendProbe();
}

void ProbeJob::tick()
{
    if (isFinished()) {  // found, or aborted
        watchdog_.stop();
        return;
    }
    if (!responders_.isEmpty()) {  // a scan: every answer of this interval is in
        finish(JobResult());
        return;
    }
    if (stopped_ || sent_ == probes_) {
        finish(lastProblem_);
        return;
    }
    sendProbe();
}

void ProbeJob::sendProbe()
{
    const config::DeviceObject *descr = config::objectNamed(QStringLiteral("sysDescr"));
    const auto bindings = bindingsOf({descr});
    if (!bindings) {
        lastProblem_ = JobResult::failed(JobResult::NotSendable, std::nullopt, descr);
        stopped_ = true;
        return;
    }
    // Each probe waits for its answer until the last interval has passed.
    const int timeout = (probes_ - sent_) * (scanning_ ? kScanWatchdogMs : kConnectWatchdogMs);
    emit probeSent(sent_++);
    snmp::Reply *reply =
        device().send(snmp::PduType::GetRequest, *bindings, timeout, 0, address_,
                      scanning_ ? snmp::Request::Responders::EveryHost : snmp::Request::Responders::Host);
    if (scanning_) {
        connect(reply, &snmp::Reply::responderFound, this, [this, reply] { found(reply->answers().constLast()); });
    }
    exchange(reply, [this](const snmp::Reply &finished) { take(finished); });
}

void ProbeJob::take(const snmp::Reply &reply)
{
    const JobResult result = JobResult::of(reply);
    switch (result.error) {
    case JobResult::NoError:
        if (!scanning_)  // a scan has taken its answers as they came
            found(snmp::Reply::Answer{reply.responder(), reply.responderPort(), reply.response()});
        break;
    case JobResult::NotAllowed:
    case JobResult::SocketError:
    case JobResult::NotSendable:
        // Nothing went out: nothing more will.
        lastProblem_ = result;
        stopped_ = true;
        break;
    case JobResult::Refused:
    case JobResult::Malformed:
        lastProblem_ = result;  // no answer; the probing goes on
        break;
    default: break;
    }
}

void ProbeJob::found(const snmp::Reply::Answer &answer)
{
    if (isFinished())
        return;
    if (answer.message.pdu.errorStatus != 0) {
        lastProblem_ = JobResult::failed(JobResult::Refused);
        lastProblem_.errorStatus = answer.message.pdu.errorStatus;
        lastProblem_.errorIndex = answer.message.pdu.errorIndex;
        return;
    }
    const bool known = std::any_of(responders_.begin(), responders_.end(),
                                   [&](const Responder &r) { return r.address == answer.host; });
    if (known)
        return;
    const QVector<snmp::VarBind> &binds = answer.message.pdu.varBinds;
    const Responder responder{
        answer.host, config::textFromOctets(binds.isEmpty() ? QByteArray() : snmp::valueText(binds.first().value))};
    responders_.append(responder);
    emit responderFound(responder);
    if (!scanning_)
        finish(JobResult());
    else
        stopped_ = true;  // a scan that found a device probes no further
}

}  // namespace agent
