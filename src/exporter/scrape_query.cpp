#include "scrape_query.h"

#include "agent/device.h"
#include "snmp/loopback_guard.h"

#include <cmath>

namespace exporter {

namespace {

ScrapeQuery refused(ScrapeQuery::Verdict verdict, const QString &reason)
{
    ScrapeQuery query;
    query.verdict = verdict;
    query.reason = reason;
    return query;
}

// Keeps control characters of a user's text out of the one-line reason.
QString shown(const QString &text)
{
    QString out = text.left(80);
    for (QChar &c : out) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = QLatin1Char('?');
    }
    return out;
}

std::optional<ScrapeTarget> parseTarget(const QString &text, quint16 defaultPort, QString *reason)
{
    QString host = text.trimmed();
    quint16 port = defaultPort;
    const qsizetype colon = host.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0 && host.indexOf(QLatin1Char(':')) == colon) {
        bool ok = false;
        const uint number = host.mid(colon + 1).toUInt(&ok);
        if (!ok || number < 1 || number > 65535) {
            *reason = QStringLiteral("target %1: the port must be a number from 1 to 65535").arg(shown(text));
            return std::nullopt;
        }
        port = quint16(number);
        host.truncate(colon);
    }
    const std::optional<QHostAddress> address = agent::addressFromText(host);
    if (!address) {
        *reason = QStringLiteral("target %1: not an IPv4 address (names are not looked up)").arg(shown(text));
        return std::nullopt;
    }
    return ScrapeTarget{*address, port};
}

}  // namespace

int scrapeBudgetMs(double timeoutSeconds, double offsetSeconds)
{
    // A short time-out keeps at least half of itself.
    const double seconds = qMax(timeoutSeconds - offsetSeconds, timeoutSeconds / 2);
    return int(qBound(1.0, seconds * 1000, 3600.0 * 1000));
}

ScrapeQuery ScrapeQuery::check(bool targetRequired, const QList<QPair<QString, QString>> &items,
                               const QByteArray &timeoutHeader, const ScrapeLimits &limits)
{
    std::optional<QString> targetText;
    for (const auto &[key, value] : items) {
        if (key != QLatin1String("target"))
            return refused(Verdict::BadRequest,
                           QStringLiteral("unknown parameter %1: only target is taken").arg(shown(key)));
        if (targetText)
            return refused(Verdict::BadRequest, QStringLiteral("target given more than once"));
        targetText = value;
    }
    if (!targetText) {
        if (targetRequired)
            return refused(Verdict::BadRequest, QStringLiteral("missing target: ask for ?target=ADDRESS[:PORT]"));
        ScrapeQuery own;
        own.verdict = Verdict::Exporter;
        return own;
    }
    if (targetText->trimmed().isEmpty())
        return refused(Verdict::BadRequest, QStringLiteral("target is empty"));

    double timeoutSeconds = limits.defaultTimeoutSeconds;
    if (!timeoutHeader.isEmpty()) {
        bool ok = false;
        timeoutSeconds = timeoutHeader.trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(timeoutSeconds) || timeoutSeconds <= 0)
            return refused(Verdict::BadRequest,
                           QStringLiteral("X-Prometheus-Scrape-Timeout-Seconds must be a positive number"));
    }

    QString reason;
    const std::optional<ScrapeTarget> target = parseTarget(*targetText, limits.agentPort, &reason);
    if (!target)
        return refused(Verdict::BadRequest, reason);
    if (!limits.allowed.allows(target->host))
        return refused(Verdict::Forbidden, QStringLiteral("target %1 is outside the allowed networks (%2)")
                                               .arg(target->host.toString(), limits.allowed.texts().join(QLatin1String(", "))));
    if (!snmp::loopback_guard::allows(target->host))
        return refused(Verdict::Forbidden,
                       QStringLiteral("target %1 refused: CORVANE_LOOPBACK_ONLY allows only 127.0.0.0/8")
                           .arg(target->host.toString()));

    ScrapeQuery query;
    query.verdict = Verdict::Device;
    query.target = *target;
    query.budgetMs = scrapeBudgetMs(timeoutSeconds, limits.timeoutOffsetSeconds);
    return query;
}

}  // namespace exporter
