#include "targets.h"

#include "agent/address_range.h"

#include <QSet>

namespace ctl {

QString Target::text() const
{
    const QString address = this->address.toString();
    return port == 0 ? address : QStringLiteral("%1:%2").arg(address).arg(port);
}

bool looksLikeTarget(const QString &text)
{
    QString ignored;
    return agent::parseAddressSpan(text, ignored, true).has_value();
}

TargetList parseTargets(const QStringList &arguments, bool force)
{
    TargetList list;
    QVector<agent::AddressSpan> spans;
    quint64 total = 0;
    for (const QString &argument : arguments) {
        const auto span = agent::parseAddressSpan(argument, list.error, true);
        if (!span)
            return list;
        total += span->size();
        if (total > kMaxTargets && !force) {
            list.error = QStringLiteral("%1 addresses are more than %2 (a /16); give --force to take them")
                             .arg(total)
                             .arg(kMaxTargets);
            return list;
        }
        if (total > kMaxForcedTargets) {
            list.error = QStringLiteral("%1 addresses are more than %2 (a /8), even with --force")
                             .arg(total)
                             .arg(kMaxForcedTargets);
            return list;
        }
        spans.append(*span);
    }
    QSet<QPair<quint32, quint16>> seen;
    for (const agent::AddressSpan &span : std::as_const(spans)) {
        for (quint64 a = span.first; a <= span.last; ++a) {
            if (seen.contains({quint32(a), span.port}))
                continue;
            seen.insert({quint32(a), span.port});
            list.targets.append(Target{QHostAddress(quint32(a)), span.port});
        }
    }
    return list;
}

}  // namespace ctl
