#pragma once
// One piece of work for each of many devices, a bounded number at once.
// What each device's work prints comes out in the order the devices were
// given, as soon as every device before it is done; a failure is one line
// on stderr naming the device. The exit status sums up every device's.

#include "context.h"
#include "exit_codes.h"
#include "targets.h"

#include <QJsonObject>
#include <QObject>
#include <functional>

namespace ctl {

class HostSession;

struct HostOutcome {
    HostOutcome() = default;
    explicit HostOutcome(ExitCode code, const QString &out = QString(), const QString &failure = QString())
        : code(code), out(out), failure(failure)
    {
    }

    ExitCode code = Success;
    QString out;      // printed on stdout as it is
    QString failure;  // when not empty: "HOST: failure" on stderr
    bool counts = true;  // false: left out of the exit status (a scan's silent address)
    QJsonObject json;    // for commands that print JSON once all are done
};

class Fleet : public QObject {
    Q_OBJECT
public:
    using Done = std::function<void(const HostOutcome &)>;
    // The work for one device; it ends by calling `done` once.
    using Work = std::function<void(HostSession &session, Done done)>;

    Fleet(Context &context, const QVector<Target> &targets, QObject *parent = nullptr);

    void start(Work work);
    const ExitStatus &status() const { return status_; }
    // Outcomes in target order, once finished.
    const QVector<HostOutcome> &outcomes() const { return outcomes_; }
    // Print as the devices are done (default), or leave it to the caller.
    void setPrinting(bool on) { printing_ = on; }
    // Keep each device's session (and what it read) until the fleet goes.
    void setKeepSessions(bool on) { keepSessions_ = on; }

signals:
    void finished();

private:
    void startNext();
    void flush();

    Context &context_;
    QVector<Target> targets_;
    Work work_;
    QVector<HostOutcome> outcomes_;
    QVector<bool> done_;
    int next_ = 0;
    int running_ = 0;
    int printed_ = 0;
    bool printing_ = true;
    bool keepSessions_ = false;
    ExitStatus status_;
};

}  // namespace ctl
