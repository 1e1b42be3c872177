#pragma once
// A command that does the same work for each of the hosts it is given.

#include "command.h"
#include "fleet.h"
#include "host_session.h"

namespace ctl {

class FleetCommand : public Command {
public:
    using Command::Command;

protected:
    // The hosts among `arguments`; BadInput with `error` when one is not a
    // host or none is given.
    int takeTargets(const QStringList &arguments, QString &error);
    // Runs `work` for every host; `whenDone` gets the fleet before the
    // command ends with its exit status (nullptr: just end).
    void runFleet(Fleet::Work work, std::function<int(const Fleet &)> whenDone = nullptr);
    // A failed job as a device's outcome.
    static HostOutcome failed(const agent::JobResult &result);

    QVector<Target> targets_;
};

}  // namespace ctl
