#pragma once
// Download Changes: every group a download writes, each as one SET with
// every echoed value compared against what was sent, then the reset that
// makes the device take them up. An attempt that fails is repeated on the
// next tick of a 100 ms watchdog, up to five times.
//
// Nothing is sent unless check() passes: every group was read from the
// device since the connect (a group not read would send values the user
// never saw) and holds only values the device accepts (one it refuses
// would fail every attempt or, taken, make the device unreadable).
//
// After the reset the device answers at the address it was given: the
// device's address follows it, and the groups sent no longer wait. A new
// address entered for this download (pendingIPAddress) is used up either
// way: it never rides along with a later one.

#include "agent/job.h"

#include <QTimer>

namespace agent {

class DownloadJob : public Job {
    Q_OBJECT
public:
    static constexpr int kRepeats = 5;
    static constexpr int kWatchdogMs = 100;
    static constexpr int kTimeoutMs = 1000;
    static constexpr int kResetTimeoutMs = 10000;

    explicit DownloadJob(Device &device, QObject *parent = nullptr);

    // Why a download must not start (NotRead with the group, InvalidValue
    // with the object); ok when it may.
    static JobResult check(const Device &device);

signals:
    void attemptStarted(int attempt);  // 0 for the first
    void attemptFailed(const agent::JobResult &result);

protected:
    void run() override;

private:
    void tick();
    void startAttempt();
    void writeGroup(int index);
    void reset();
    void attemptEnded(const JobResult &result);

    QTimer watchdog_;
    int attempts_ = 0;
    bool attemptRunning_ = false;
    JobResult lastFailure_;
};

}  // namespace agent
