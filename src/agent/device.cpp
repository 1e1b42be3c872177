#include "device.h"

#include "config/device_objects.h"
#include "snmp/mib.h"
#include "snmp/request_engine.h"

namespace agent {

std::optional<QHostAddress> addressFromText(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return QHostAddress(QHostAddress::LocalHost);
    QHostAddress parsed;
    if (!parsed.setAddress(trimmed) || parsed.protocol() != QAbstractSocket::IPv4Protocol)
        return std::nullopt;
    return parsed;
}

Device::Device(snmp::RequestEngine &engine, const snmp::Mib &mib, QObject *parent)
    : QObject(parent), engine_(engine), mib_(mib)
{
}

void Device::setAddress(const QString &address)
{
    address_ = address;
    host_ = addressFromText(address).value_or(QHostAddress());
}

void Device::markRead(config::Group group) { readAt_[size_t(group)] = QDateTime::currentDateTime(); }

void Device::markEdited(config::Group group) { setEdited(edited_ | bit(group)); }

void Device::markSent(config::Group group) { setEdited(edited_ & ~bit(group)); }

void Device::noteEdits(config::Group group, const config::ConfigurationStore &before)
{
    if (!config::sameGroup(group, before, store_))
        markEdited(group);
}

void Device::forget()
{
    readAt_.fill(QDateTime());
    setEdited(0);
    store_.pendingIPAddress.clear();
}

void Device::setEdited(quint32 edited)
{
    const bool wasWaiting = editsWaiting();
    edited_ = edited;
    if (wasWaiting != editsWaiting())
        emit editsWaitingChanged(editsWaiting());
}

int Device::scaled(int milliseconds) const { return qMax(1, qRound(milliseconds * timeScale_)); }

std::optional<snmp::Oid> Device::instanceOf(const QString &objectName) const
{
    snmp::Oid oid;
    if (!snmp::oidFromText(mib_.OidOf(objectName), oid))
        return std::nullopt;
    oid.append(0);
    return oid;
}

snmp::Reply *Device::send(snmp::PduType type, const QVector<snmp::VarBind> &bindings, int timeoutMs, int retries,
                          const QString &to, snmp::Request::Responders responders)
{
    snmp::Request request;
    request.host = to.isEmpty() ? host_ : addressFromText(to).value_or(QHostAddress());
    request.port = port_;
    request.community = community_;
    request.type = type;
    request.bindings = bindings;
    request.requestId = requestCounter_;
    // The counter wraps like the device's 32-bit request id field.
    requestCounter_ = qint32(quint32(requestCounter_) + 1u);
    request.timeoutMs = scaled(timeoutMs);
    request.retries = retries;
    request.responders = responders;
    return engine_.send(request);
}

}  // namespace agent
