#pragma once
// Who a device is, in one GET: its description (sysDescr), its factory
// identity block (sysDeviceInfo) and the radio's channel and network name.
// A monitor asks this now and then beside the counters; a full read would
// take eight exchanges for it.
//
// Nothing goes into the device's store: the channel and the ESSID belong
// to the wireless operational group, which goes into the store only whole.
// The values are checked as a full read checks them.

#include "agent/job.h"

namespace agent {

struct DeviceIdentity {
    QString description;        // sysDescr as single-byte text
    QString firmware;           // firmwareVersionText(description)
    QString defaultMACAddress;  // 12 upper-case hex digits
    QString manufactureName;    // trailing fill and blanks removed
    int channel = 0;            // 1 to 14
    QString essid;              // single-byte text
};

// What the windows show as the firmware version: "Corvane" and characters
// 6 to 35 of the device's description (its first five name the vendor).
QString firmwareVersionText(const QString &description);

class IdentityJob : public Job {
    Q_OBJECT
public:
    static constexpr int kTimeoutMs = 1000;
    static constexpr int kTries = 3;

    explicit IdentityJob(Device &device, int tries = kTries, QObject *parent = nullptr);

    // The objects the GET names, in order.
    static const QStringList &objectNames();
    // Filled once the job finished without error.
    const DeviceIdentity &identity() const { return identity_; }

protected:
    void run() override;

private:
    void take(const snmp::Reply &reply);

    int tries_;
    DeviceIdentity identity_;
};

}  // namespace agent
