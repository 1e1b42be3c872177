#pragma once
// The request procedure every reader, writer and command shares: point the
// request instance at the device, take the next request id, add variables
// by object name (scalar instance ".0"), send and wait.
//
// What counts as the device's answer: a response with error status 0 whose
// bindings name the requested objects in the requested order. A device that
// refuses a SET answers with an error status and echoes the request's own
// bindings, so without this rule a refused write would look like a good
// echo; and values are taken by position, so an answer naming other objects
// would land in the wrong fields.

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

    // RemoteHost, Timeout (times the time scale) and an empty message.
    void prepare(const QString &host, int timeoutMs);
    // Tests run the device's time-outs faster; 1.0 is the device's pace.
    void setTimeScale(double scale) { timeScale_ = scale; }
    double timeScale() const { return timeScale_; }
    int scaled(int milliseconds) const;
    void setRequestType(int requestType) { manager_.Message.RequestType = requestType; }
    // Request id from the shared counter, which then grows by one.
    void takeRequestId();

    // Each returns false when the name is not in the MIB: the variable is
    // not added and the request must not go out.
    bool addGetVariable(const QString &objectName);
    bool AddIntegerVariable(const QString &objectName, qint64 value);
    bool AddOctetStringVariable(const QString &objectName, const QByteArray &value);
    bool AddIPAddressVariable(const QString &objectName, const QString &dottedText);

    // Answered only for the device's answer as defined above; a refusal or
    // an answer naming other objects comes back as Failed with the reason.
    // A request unanswered within its time-out goes out again as it was
    // (same request id), until `tries` sends in all; an answer to any of
    // them counts.
    snmp::SendResult send(int tries = 1);

    // A variable of any value type (snmp::value_type), its value as text.
    bool addVariable(const QString &objectName, int valueType, const QByteArray &value);

    // "<oid>.0", or empty when the name is unknown.
    QString scalarOid(const QString &objectName) const;

private:

    snmp::SnmpManager &manager_;
    const snmp::Mib &mib_;
    qint32 &requestCounter_;
    double timeScale_ = 1.0;
};

}  // namespace config
