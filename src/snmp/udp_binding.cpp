#include "udp_binding.h"

#include <QElapsedTimer>
#include <QNetworkInterface>
#include <QUdpSocket>

namespace snmp {

QUdpSocket *bindUdpSocket(const QHostAddress &address, quint16 port, QObject *parent, OpenResult &result)
{
    auto *socket = new QUdpSocket(parent);
    // No address sharing: a second console must find the trap port taken.
    if (socket->bind(address, port, QAbstractSocket::DontShareAddress)) {
        result = OpenResult{true, 0, QString()};
        return socket;
    }
    switch (socket->error()) {
    case QAbstractSocket::AddressInUseError: result.errorNumber = kErrorAddressInUse; break;
    case QAbstractSocket::SocketAccessError: result.errorNumber = kErrorAccessDenied; break;
    default: result.errorNumber = kErrorOther; break;
    }
    result.ok = false;
    result.description = socket->errorString();
    delete socket;
    return nullptr;
}

bool isBroadcastAddress(const QHostAddress &address)
{
    if (address == QHostAddress(QHostAddress::Broadcast))
        return true;
    const quint32 ip = address.toIPv4Address();
    if (ip == 0x7FFFFFFFu)  // 127.255.255.255, the loopback network's broadcast
        return true;
    // The interfaces' directed broadcasts. Asking the system costs more than
    // a whole exchange with the device, so the answer is kept for a while.
    static QList<QHostAddress> broadcasts;
    static QElapsedTimer age;
    if (!age.isValid() || age.elapsed() > 10000) {
        broadcasts.clear();
        const auto interfaces = QNetworkInterface::allInterfaces();
        for (const QNetworkInterface &iface : interfaces) {
            for (const QNetworkAddressEntry &entry : iface.addressEntries()) {
                if (!entry.broadcast().isNull())
                    broadcasts.append(entry.broadcast());
            }
        }
        age.start();
    }
    return broadcasts.contains(address);
}

}  // namespace snmp
