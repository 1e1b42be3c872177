#pragma once
// One SET of one object whose echo tells whether the device took it: the
// device commands (reset, restore defaults: the value 1) and the trap
// switch (1 sends traps, 2 keeps them back; the store takes the new value
// at once, whatever the device answers).

#include "agent/job.h"

namespace agent {

class SetJob : public Job {
    Q_OBJECT
public:
    static constexpr int kTimeoutMs = 10000;

    static SetJob *reset(Device &device, QObject *parent = nullptr);
    static SetJob *restoreDefaults(Device &device, QObject *parent = nullptr);
    static SetJob *trapSwitch(Device &device, bool enable, QObject *parent = nullptr);

protected:
    void run() override;

private:
    SetJob(Device &device, const QString &objectName, qint16 value, QObject *parent);

    const config::DeviceObject *object_;
    qint16 value_;
};

}  // namespace agent
