#pragma once
// Binding a UDP socket for SNMP, with the outcome in the numbers the
// console reports (10048: the port is in use).

#include <QHostAddress>
#include <QString>

class QObject;
class QUdpSocket;

namespace snmp {

struct OpenResult {
    bool ok = false;
    int errorNumber = 0;  // 10048: the port is in use
    QString description;
};

constexpr int kErrorAddressInUse = 10048;
constexpr int kErrorAccessDenied = 10013;
constexpr int kErrorOther = 10022;

// A new socket bound exclusively to `address`:`port` (0: any free port),
// owned by `parent`; nullptr when binding failed, with `result` saying why.
QUdpSocket *bindUdpSocket(const QHostAddress &address, quint16 port, QObject *parent, OpenResult &result);

// Whether an answer to a request sent to `address` may come from any host:
// the limited broadcast, the loopback network's and the interfaces'
// directed broadcasts.
bool isBroadcastAddress(const QHostAddress &address);

}  // namespace snmp
