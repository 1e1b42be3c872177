#pragma once
// The fleet read with net-snmp's asynchronous library, the way its
// asynchronous demo does it: one session per device, snmp_async_send with a
// callback that sends the device's next request, and a select() loop
// around snmp_select_info, snmp_read and snmp_timeout.

#include "fleet_setup.h"

#include <QByteArray>
#include <QVector>
#include <memory>

class NetSnmpAsyncFleet {
public:
    NetSnmpAsyncFleet(const QVector<fleet::Device> &devices, const QByteArray &community,
                      const QVector<QVector<snmp::Oid>> &requests, int timeoutMs, int retries);
    ~NetSnmpAsyncFleet();
    bool ok() const { return opened_; }

    // Every device's requests in order, all devices at once; the number of
    // requests that failed (time-out or error status).
    int readAll();

    struct DeviceState;

private:
    bool opened_ = false;
    QVector<QVector<QVector<unsigned long>>> names_;  // net-snmp's form of each request's objects
    std::vector<std::unique_ptr<DeviceState>> devices_;
};
