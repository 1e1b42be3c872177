#pragma once
// What corvanectl's exit status tells a script, and a job's failure in a
// line a person can read.

#include "agent/job.h"

#include <QString>

namespace ctl {

enum ExitCode {
    Success = 0,
    NotDone = 1,          // nothing went wrong with a device: declined, no socket, the loopback-only guard
    BadInput = 2,         // usage, a value the device would refuse, a range too large
    NoAnswer = 3,         // a device did not answer (a scan found nothing)
    RefusedByDevice = 4,  // a device answered but refused, or did not take a value
    FileError = 5,        // a file could not be read or written, or is no settings file we take
    SomeHostsFailed = 6,  // several hosts, not all done alike: one line on stderr for each that failed
};

ExitCode exitCodeOf(const agent::JobResult &result);
// "no answer (3 tries of 1000 ms)", "refused by the device (noSuchName) at operChannelID", ...
QString failureText(const agent::JobResult &result);

// The exit status of work done for many hosts: Success when every host
// succeeded, a host's own code when only one was asked or all failed
// alike, otherwise SomeHostsFailed.
class ExitStatus {
public:
    void add(ExitCode code);
    int code() const;
    int hosts() const { return hosts_; }
    int failures() const { return failures_; }

private:
    int hosts_ = 0;
    int failures_ = 0;
    bool mixed_ = false;
    ExitCode first_ = Success;
};

}  // namespace ctl
