#include "device_link.h"

#include <QStringList>

namespace config {

int DeviceLink::scaled(int milliseconds) const
{
    return qMax(1, qRound(milliseconds * timeScale_));
}

void DeviceLink::prepare(const QString &host, int timeoutMs)
{
    manager_.RemoteHost = host;
    manager_.Timeout = scaled(timeoutMs);
    manager_.Message.Clear();
}

namespace {

bool sameObject(const QString &a, const QString &b)
{
    if (a == b)  // the usual case: the answer names the object as we did
        return true;
    snmp::Oid left;
    snmp::Oid right;
    return snmp::oidFromText(a, left) && snmp::oidFromText(b, right) && left == right;
}

}  // namespace

snmp::SendResult DeviceLink::send(int tries)
{
    QStringList asked;
    for (const snmp::SnmpVariable &variable : manager_.Message.Variables)
        asked << variable.Name;
    // Send() empties the message on a time-out, and events handled while it
    // waits may change the message and the host: the resend starts from
    // copies.
    const snmp::SnmpMessage request = manager_.Message;
    const QString host = manager_.RemoteHost;
    snmp::SendResult result = manager_.Send();
    for (int sent = 1; result.outcome == snmp::SendOutcome::TimedOut && sent < tries; ++sent) {
        manager_.Message = request;
        manager_.RemoteHost = host;
        result = manager_.Send();
    }
    if (!result.answered())
        return result;
    const snmp::SnmpMessage &answer = manager_.Message;
    if (answer.ErrorStatus != 0) {
        result.outcome = snmp::SendOutcome::Failed;
        result.description = QStringLiteral("The device refused the request (error status %1 at binding %2).")
                                 .arg(answer.ErrorStatus)
                                 .arg(answer.ErrorIndex);
        return result;
    }
    bool sameNames = answer.Variables.Count() == asked.size();
    for (int i = 0; sameNames && i < asked.size(); ++i)
        sameNames = sameObject(answer.Variables.Item(i + 1)->Name, asked[i]);
    if (!sameNames) {
        result.outcome = snmp::SendOutcome::Failed;
        result.description = QStringLiteral("The answer names other objects than the request.");
    }
    return result;
}

void DeviceLink::takeRequestId()
{
    manager_.Message.RequestId = requestCounter_;
    // The counter wraps like the device's 32-bit request id field.
    requestCounter_ = qint32(quint32(requestCounter_) + 1u);
}

QString DeviceLink::scalarOid(const QString &objectName) const
{
    const QString oid = mib_.OidOf(objectName);
    return oid.isEmpty() ? QString() : oid + QStringLiteral(".0");
}

bool DeviceLink::addVariable(const QString &objectName, int valueType, const QByteArray &value)
{
    const QString oid = scalarOid(objectName);
    if (oid.isEmpty())
        return false;
    snmp::SnmpVariable variable;
    variable.Name = oid;
    variable.ValueType = valueType;
    variable.Value = value;
    manager_.Message.Variables.Add(variable);
    return true;
}

bool DeviceLink::addGetVariable(const QString &objectName)
{
    return addVariable(objectName, snmp::value_type::Null, QByteArray());
}

bool DeviceLink::AddIntegerVariable(const QString &objectName, qint64 value)
{
    return addVariable(objectName, snmp::value_type::Integer, QByteArray::number(value));
}

bool DeviceLink::AddOctetStringVariable(const QString &objectName, const QByteArray &value)
{
    return addVariable(objectName, snmp::value_type::OctetString, value);
}

bool DeviceLink::AddIPAddressVariable(const QString &objectName, const QString &dottedText)
{
    return addVariable(objectName, snmp::value_type::IpAddress, dottedText.toLatin1());
}

}  // namespace config
