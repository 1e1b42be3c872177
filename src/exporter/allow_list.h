#pragma once
// The networks whose devices the exporter may ask: IPv4 networks in CIDR
// notation ("127.0.0.0/8", "10.20.0.0/16", "192.0.2.7/32" or a bare
// address). A target outside all of them is refused before anything is
// sent, so an exporter reachable from elsewhere cannot be used to probe
// other networks.

#include <QHostAddress>
#include <QPair>
#include <QString>
#include <QVector>
#include <optional>

namespace exporter {

class AllowList {
public:
    // std::nullopt, with `error`, for anything but an IPv4 network.
    static std::optional<QPair<QHostAddress, int>> parseNetwork(const QString &text, QString *error);

    void add(const QPair<QHostAddress, int> &network) { networks_.append(network); }
    bool isEmpty() const { return networks_.isEmpty(); }
    bool allows(const QHostAddress &address) const;
    QStringList texts() const;

private:
    QVector<QPair<QHostAddress, int>> networks_;
};

}  // namespace exporter
