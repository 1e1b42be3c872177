#pragma once
// The addresses a user names to look for devices: one address
// (192.168.1.20), a network (192.168.1.0/24: its hosts, without the
// network's own address and its broadcast address) or a span
// (10.0.0.5-10.0.0.80, both ends included). Names are not looked up.

#include <QHostAddress>
#include <QString>
#include <QVector>

namespace agent {

struct AddressRange {
    QVector<QHostAddress> addresses;
    QString error;  // when not empty, no address is taken
};

// More than a person reads through in a list: a /20.
constexpr int kMaxRangeAddresses = 4096;

AddressRange parseAddressRange(const QString &text);

}  // namespace agent
