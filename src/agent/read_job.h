#pragma once
// Reading groups of the device's configuration, one GET per group in the
// order given, each group's values checked as the object description says.
// A group goes into the device's store whole, and counts as read, only
// when every value passed; the first group that fails ends the job with
// why. A group that holds edits not yet sent is not read: what the user
// typed stays.
//
// A GET unanswered within its time-out goes out again as it was (same
// request id), up to `tries` sends in all: a lossy link loses a request
// now and then, and a pass of nine exchanges would rarely get through
// without this.

#include "agent/job.h"

namespace agent {

class ReadJob : public Job {
    Q_OBJECT
public:
    static constexpr int kTimeoutMs = 1000;
    static constexpr int kTries = 3;

    ReadJob(Device &device, const QVector<config::Group> &groups, int tries = kTries, QObject *parent = nullptr);

    // The eight groups of a full read, in their order.
    static ReadJob *fullRead(Device &device, QObject *parent = nullptr);
    // The two statistics groups, and nothing else.
    static ReadJob *statistics(Device &device, QObject *parent = nullptr);

signals:
    // A group went into the store.
    void groupRead(config::Group group);

protected:
    void run() override;

private:
    void readNext();
    void take(config::Group group, const snmp::Reply &reply);

    QVector<config::Group> groups_;
    int tries_;
    int next_ = 0;
};

}  // namespace agent
