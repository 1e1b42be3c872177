#pragma once
// The request procedure every reader, writer and command shares: point the
// request instance at the device, take the next request id, add variables
// by object name (scalar instance ".0"), send and wait.

#include "snmp/mib.h"
#include "snmp/snmp_manager.h"

#include <QString>

namespace config {

class DeviceLink {
public:
    DeviceLink(snmp::SnmpManager &manager, const snmp::Mib &mib, qint32 &requestCounter)
        : manager_(manager), mib_(mib), requestCounter_(requestCounter)
    {
    }

    snmp::SnmpManager &manager() { return manager_; }
    const snmp::SnmpVariables &answer() const { return manager_.Message.Variables; }

    // RemoteHost, Timeout and an empty message.
    void prepare(const QString &host, int timeoutMs);
    void setRequestType(int requestType) { manager_.Message.RequestType = requestType; }
    // Request id from the shared counter, which then grows by one.
    void takeRequestId();

    // Each returns false when the name is not in the MIB: the variable is
    // not added and the request must not go out.
    bool addGetVariable(const QString &objectName);
    bool AddIntegerVariable(const QString &objectName, qint64 value);
    bool AddOctetStringVariable(const QString &objectName, const QByteArray &value);
    bool AddIPAddressVariable(const QString &objectName, const QString &dottedText);

    snmp::SendResult send() { return manager_.Send(); }

    // "<oid>.0", or empty when the name is unknown.
    QString scalarOid(const QString &objectName) const;

private:
    bool add(const QString &objectName, int valueType, const QByteArray &value);

    snmp::SnmpManager &manager_;
    const snmp::Mib &mib_;
    qint32 &requestCounter_;
};

}  // namespace config
