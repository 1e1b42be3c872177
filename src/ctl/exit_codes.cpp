#include "exit_codes.h"

#include "config/field_text.h"
#include "snmp/reply.h"

namespace ctl {

using agent::JobResult;

ExitCode exitCodeOf(const JobResult &result)
{
    switch (result.error) {
    case JobResult::NoError: return Success;
    case JobResult::Timeout: return NoAnswer;
    case JobResult::Refused:
    case JobResult::Rejected:
    case JobResult::Malformed:
    case JobResult::WrongEcho: return RefusedByDevice;
    case JobResult::NotRead:
    case JobResult::InvalidValue: return BadInput;
    case JobResult::NotAllowed:
    case JobResult::SocketError:
    case JobResult::NotSendable:
    case JobResult::Aborted: break;
    }
    return NotDone;
}

QString failureText(const JobResult &result)
{
    const QString object = result.object ? (result.object->field.isEmpty() ? result.object->name : result.object->field)
                                         : QString();
    const QString at = object.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(object);
    const QString group = result.group ? config::groupTitle(*result.group) : QStringLiteral("the device");
    switch (result.error) {
    case JobResult::NoError: return QString();
    case JobResult::Timeout:
        return result.group ? QStringLiteral("no answer (%1)").arg(group) : QStringLiteral("no answer");
    case JobResult::Refused:
        return QStringLiteral("refused by the device: %1 at value %2 of %3")
            .arg(snmp::Reply::errorStatusName(result.errorStatus))
            .arg(result.errorIndex)
            .arg(group);
    case JobResult::Rejected: return QStringLiteral("the device reports a value it should not hold%1").arg(at);
    case JobResult::Malformed: return QStringLiteral("the device answered something else than asked%1").arg(at);
    case JobResult::WrongEcho:
        return QStringLiteral("the device did not take the value%1: its answer differs from what was sent").arg(at);
    case JobResult::NotAllowed:
    case JobResult::SocketError: return result.detail.isEmpty() ? QStringLiteral("nothing could be sent") : result.detail;
    case JobResult::NotSendable: return QStringLiteral("the request could not be built%1").arg(at);
    case JobResult::NotRead: return QStringLiteral("%1 not read from the device").arg(group);
    case JobResult::InvalidValue:
        return result.object ? QStringLiteral("%1: %2").arg(object, config::acceptedText(*result.object))
                             : QStringLiteral("a value the device would refuse");
    case JobResult::Aborted: return QStringLiteral("stopped");
    }
    return QString();
}

void ExitStatus::add(ExitCode code)
{
    if (hosts_ > 0 && code != first_)
        mixed_ = true;
    if (hosts_ == 0)
        first_ = code;
    ++hosts_;
    if (code != Success)
        ++failures_;
}

int ExitStatus::code() const
{
    if (failures_ == 0)
        return Success;
    return mixed_ ? SomeHostsFailed : first_;
}

}  // namespace ctl
