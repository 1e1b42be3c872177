#include "targets.h"

#include <QSet>

namespace ctl {

namespace {

std::optional<quint32> ipv4(const QString &text)
{
    if (text.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return QHostAddress(QHostAddress::LocalHost).toIPv4Address();
    // Four decimal numbers only: QHostAddress would also take "10.1" or hex.
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return std::nullopt;
    quint32 value = 0;
    for (const QString &part : parts) {
        bool ok = false;
        const uint number = part.toUInt(&ok, 10);
        if (!ok || part.isEmpty() || part.size() > 3 || number > 255)
            return std::nullopt;
        value = (value << 8) | number;
    }
    return value;
}

struct Span {
    quint32 first = 0;
    quint32 last = 0;
    quint16 port = 0;
};

std::optional<Span> spanOf(const QString &text, QString &error)
{
    Span span;
    QString address = text.trimmed();
    const qsizetype slash = address.indexOf(QLatin1Char('/'));
    const qsizetype dash = address.indexOf(QLatin1Char('-'));
    if (slash >= 0) {
        bool ok = false;
        const int bits = address.mid(slash + 1).toInt(&ok);
        const auto base = ipv4(address.left(slash));
        if (!ok || !base || bits < 0 || bits > 32) {
            error = QStringLiteral("\"%1\" is not a network such as 192.168.1.0/24").arg(text);
            return std::nullopt;
        }
        const quint32 mask = bits == 0 ? 0 : ~quint32(0) << (32 - bits);
        span.first = *base & mask;
        span.last = span.first | ~mask;
        return span;
    }
    if (dash >= 0) {
        const auto first = ipv4(address.left(dash));
        const auto last = ipv4(address.mid(dash + 1));
        if (!first || !last || *last < *first) {
            error = QStringLiteral("\"%1\" is not a span such as 10.0.0.5-10.0.0.80").arg(text);
            return std::nullopt;
        }
        span.first = *first;
        span.last = *last;
        return span;
    }
    const qsizetype colon = address.indexOf(QLatin1Char(':'));
    if (colon >= 0) {
        bool ok = false;
        const uint port = address.mid(colon + 1).toUInt(&ok);
        if (!ok || port == 0 || port > 65535) {
            error = QStringLiteral("\"%1\": the port is not a number from 1 to 65535").arg(text);
            return std::nullopt;
        }
        span.port = quint16(port);
        address = address.left(colon);
    }
    const auto single = ipv4(address);
    if (!single) {
        error = QStringLiteral("\"%1\" is not an IPv4 address (names are not looked up)").arg(text);
        return std::nullopt;
    }
    span.first = span.last = *single;
    return span;
}

}  // namespace

QString Target::text() const
{
    const QString address = this->address.toString();
    return port == 0 ? address : QStringLiteral("%1:%2").arg(address).arg(port);
}

bool looksLikeTarget(const QString &text)
{
    QString ignored;
    return spanOf(text, ignored).has_value();
}

TargetList parseTargets(const QStringList &arguments, bool force)
{
    TargetList list;
    QVector<Span> spans;
    quint64 total = 0;
    for (const QString &argument : arguments) {
        const auto span = spanOf(argument, list.error);
        if (!span)
            return list;
        total += quint64(span->last) - span->first + 1;
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
    for (const Span &span : std::as_const(spans)) {
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
