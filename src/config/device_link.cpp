#include "device_link.h"

namespace config {

void DeviceLink::prepare(const QString &host, int timeoutMs)
{
    manager_.RemoteHost = host;
    manager_.Timeout = timeoutMs;
    manager_.Message.Clear();
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

bool DeviceLink::add(const QString &objectName, int valueType, const QByteArray &value)
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
    return add(objectName, snmp::value_type::Null, QByteArray());
}

bool DeviceLink::AddIntegerVariable(const QString &objectName, qint64 value)
{
    return add(objectName, snmp::value_type::Integer, QByteArray::number(value));
}

bool DeviceLink::AddOctetStringVariable(const QString &objectName, const QByteArray &value)
{
    return add(objectName, snmp::value_type::OctetString, value);
}

bool DeviceLink::AddIPAddressVariable(const QString &objectName, const QString &dottedText)
{
    return add(objectName, snmp::value_type::IpAddress, dottedText.toLatin1());
}

}  // namespace config
