#include "loopback_guard.h"

#include <atomic>

namespace snmp::loopback_guard {

namespace {
std::atomic<bool> &flag()
{
    static std::atomic<bool> on = [] {
        const QByteArray value = qgetenv("CORVANE_LOOPBACK_ONLY");
        return !value.isEmpty() && value != "0";
    }();
    return on;
}
}  // namespace

void setOn(bool on)
{
    flag() = on;
}

bool isOn()
{
    return flag();
}

bool allows(const QHostAddress &address)
{
    if (!isOn())
        return true;
    bool isIpv4 = false;
    const quint32 ip = address.toIPv4Address(&isIpv4);
    return isIpv4 && (ip >> 24) == 127;
}

QString refusal(const QString &host)
{
    return QStringLiteral("Request to %1 refused: in this mode the console only talks to this machine "
                          "(127.0.0.0/8).")
        .arg(host.trimmed());
}

}  // namespace snmp::loopback_guard
