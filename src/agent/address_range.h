#pragma once
// The addresses a user names to look for devices: one address
// (192.168.1.20), a network (192.168.1.0/24: its hosts, without the
// network's own address and its broadcast address) or a span
// (10.0.0.5-10.0.0.80, both ends included). Names are not looked up.

#include <QHostAddress>
#include <QString>
#include <QVector>

#include <optional>

namespace agent {

// Consecutive IPv4 addresses, first..last; a port only where one was given
// after a single address ("127.0.0.1:1161").
struct AddressSpan {
    quint32 first = 0;
    quint32 last = 0;
    quint16 port = 0;
    quint64 size() const { return quint64(last) - first + 1; }
};

// std::nullopt, with `error` saying which forms are taken, for anything
// else; `withPort` also takes ADDRESS:PORT and "localhost".
std::optional<AddressSpan> parseAddressSpan(const QString &text, QString &error, bool withPort = false);

struct AddressRange {
    QVector<QHostAddress> addresses;
    QString error;  // when not empty, no address is taken
};

// More than a person reads through in a list: a /20.
constexpr int kMaxRangeAddresses = 4096;

// One span, its addresses listed; refused past kMaxRangeAddresses.
AddressRange parseAddressRange(const QString &text);

}  // namespace agent
