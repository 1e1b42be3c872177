#include "allow_list.h"

namespace exporter {

std::optional<QPair<QHostAddress, int>> AllowList::parseNetwork(const QString &text, QString *error)
{
    const QString trimmed = text.trimmed();
    const QString withLength = trimmed.contains(QLatin1Char('/')) ? trimmed : trimmed + QStringLiteral("/32");
    const QPair<QHostAddress, int> network = QHostAddress::parseSubnet(withLength);
    if (network.first.isNull() || network.first.protocol() != QAbstractSocket::IPv4Protocol) {
        if (error)
            *error = QStringLiteral("%1 is not an IPv4 network (like 10.0.0.0/8)").arg(trimmed);
        return std::nullopt;
    }
    return network;
}

bool AllowList::allows(const QHostAddress &address) const
{
    for (const auto &network : networks_) {
        if (address.isInSubnet(network))
            return true;
    }
    return false;
}

QStringList AllowList::texts() const
{
    QStringList out;
    for (const auto &network : networks_)
        out << QStringLiteral("%1/%2").arg(network.first.toString()).arg(network.second);
    return out;
}

}  // namespace exporter
