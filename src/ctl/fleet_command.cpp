#include "fleet_command.h"

namespace ctl {

int FleetCommand::takeTargets(const QStringList &arguments, QString &error)
{
    if (arguments.isEmpty()) {
        error = QStringLiteral("no HOST given");
        return BadInput;
    }
    const TargetList list = parseTargets(arguments, context_.options.force);
    if (!list.error.isEmpty()) {
        error = list.error;
        return BadInput;
    }
    targets_ = list.targets;
    return Success;
}

void FleetCommand::runFleet(Fleet::Work work, std::function<int(const Fleet &)> whenDone)
{
    auto *fleet = new Fleet(context_, targets_, this);
    connect(fleet, &Fleet::finished, this, [this, fleet, whenDone] {
        finish(whenDone ? whenDone(*fleet) : fleet->status().code());
    });
    fleet->start(std::move(work));
}

HostOutcome FleetCommand::failed(const agent::JobResult &result)
{
    HostOutcome outcome;
    outcome.code = exitCodeOf(result);
    outcome.failure = failureText(result);
    return outcome;
}

}  // namespace ctl
