#pragma once
// A scrape request as Prometheus sends it: GET /metrics?target=HOST[:PORT]
// (or /snmp?target=..., the path of the usual SNMP exporter) with the
// scrape's time-out in X-Prometheus-Scrape-Timeout-Seconds. Checked whole
// before anything is sent: a bad request is answered 400 with a one-line
// reason, a target outside the allowed networks 403.

#include "allow_list.h"

#include <QHostAddress>
#include <QList>
#include <QPair>
#include <QString>
#include <optional>

namespace exporter {

struct ScrapeTarget {
    QHostAddress host;  // IPv4
    quint16 port = 161;
    QString text() const { return QStringLiteral("%1:%2").arg(host.toString()).arg(port); }
};

struct ScrapeLimits {
    double defaultTimeoutSeconds = 10;  // without the header
    double timeoutOffsetSeconds = 0.5;  // kept back for the answer to travel
    quint16 agentPort = 161;            // a target without a port
    AllowList allowed;
};

struct ScrapeQuery {
    enum class Verdict { Exporter, Device, BadRequest, Forbidden };
    Verdict verdict = Verdict::BadRequest;
    ScrapeTarget target;  // Device
    int budgetMs = 0;     // Device: when the answer must be out
    QString reason;       // BadRequest, Forbidden: one line

    static ScrapeQuery check(bool targetRequired, const QList<QPair<QString, QString>> &items,
                             const QByteArray &timeoutHeader, const ScrapeLimits &limits);
};

// The scrape's own time-out in seconds (header, else the default), and the
// time the exporter has to answer within it.
int scrapeBudgetMs(double timeoutSeconds, double offsetSeconds);

}  // namespace exporter
