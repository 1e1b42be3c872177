#pragma once
// The work with one device: the device object, the jobs run one after the
// other, and what a probe learned of it. Each job's result goes to the
// step that started it; a job is deleted with the session.

#include "context.h"
#include "targets.h"

#include "agent/job.h"
#include "config/settings_file.h"

#include <QObject>
#include <functional>

namespace ctl {

class HostSession : public QObject {
    Q_OBJECT
public:
    HostSession(const Context &context, const Target &target, QObject *parent = nullptr);

    agent::Device &device() { return device_; }
    const Target &target() const { return target_; }
    QString name() const { return target_.text(); }

    using Then = std::function<void(const agent::JobResult &)>;
    // Starts `job` (the session owns it); `then` gets its result.
    void run(agent::Job *job, Then then);
    // The probe (the device's description), then one read of `groups`.
    void connectAndRead(const QVector<config::Group> &groups, Then then);

    QString description() const { return description_; }
    void setDescription(const QString &description) { description_ = description; }
    config::DeviceIdentity identity() const;

private:
    const Context &context_;
    Target target_;
    agent::Device device_;
    QString description_;
};

}  // namespace ctl
