#include "exporter_server.h"

#include "device_metrics.h"
#include "exporter_logging.h"
#include "metrics_text.h"

#include "config/device_mib.h"

#include <QDateTime>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

namespace exporter {

namespace {

using Status = QHttpServerResponder::StatusCode;

// Room for a few hundred scrapes arriving at once.
constexpr int kListenBacklog = 1024;

const QByteArray kTimeoutHeader = QByteArrayLiteral("X-Prometheus-Scrape-Timeout-Seconds");

const QByteArray kLandingPage = QByteArrayLiteral(
    "corvane-exporter: the counters of Corvane access points for Prometheus.\n"
    "\n"
    "  /metrics?target=ADDRESS[:PORT]   one device's counters, channel and identity\n"
    "  /snmp?target=ADDRESS[:PORT]      the same\n"
    "  /metrics                         the exporter's own figures\n");

void writeText(QHttpServerResponder &responder, const QByteArray &body, const QByteArray &type, Status status)
{
    responder.write(body, {{QByteArrayLiteral("Content-Type"), type}}, status);
}

}  // namespace

ExporterServer::ExporterServer(const Settings &settings, QObject *parent) : QObject(parent), settings_(settings)
{
    figures_.startTimeSeconds = QDateTime::currentMSecsSinceEpoch() / 1000.0;
    route();
}

ExporterServer::~ExporterServer() = default;

quint16 ExporterServer::start(const QHostAddress &address, quint16 port, QString *error)
{
    const QString mibPath = settings_.mibPath.isEmpty() ? config::builtInMibPath() : settings_.mibPath;
    const snmp::Mib::LoadResult loaded = mib_.Load(mibPath);
    if (!loaded.ok) {
        *error = QStringLiteral("the MIB %1 could not be read: %2").arg(mibPath, loaded.error);
        return 0;
    }
    const snmp::OpenResult opened = engine_.open();
    if (!opened.ok) {
        *error = QStringLiteral("no UDP socket for SNMP: %1").arg(opened.description);
        return 0;
    }
    pool_ = std::make_unique<TargetPool>(engine_, mib_, settings_.pool);

    auto *tcp = new QTcpServer(this);
    tcp->setListenBacklogSize(kListenBacklog);
    if (!tcp->listen(address, port)) {
        *error = QStringLiteral("cannot listen on %1 port %2: %3").arg(address.toString()).arg(port).arg(tcp->errorString());
        delete tcp;
        return 0;
    }
    http_.bind(tcp);
    return tcp->serverPort();
}

void ExporterServer::route()
{
    http_.route(QStringLiteral("/metrics"), QHttpServerRequest::Method::Get,
                [this](const QHttpServerRequest &request, QHttpServerResponder &&responder) {
                    handle(false, request, std::move(responder));
                });
    http_.route(QStringLiteral("/snmp"), QHttpServerRequest::Method::Get,
                [this](const QHttpServerRequest &request, QHttpServerResponder &&responder) {
                    handle(true, request, std::move(responder));
                });
    http_.route(QStringLiteral("/"), QHttpServerRequest::Method::Get,
                [](const QHttpServerRequest &, QHttpServerResponder &&responder) {
                    writeText(responder, kLandingPage, QByteArrayLiteral("text/plain; charset=utf-8"), Status::Ok);
                });
}

ExporterFigures ExporterServer::figures() const
{
    ExporterFigures figures = figures_;
    if (pool_) {
        figures.reads = pool_->readsStarted();
        figures.knownDevices = pool_->knownDevices();
    }
    figures.datagramsSent = quint64(engine_.sentDatagrams());
    figures.residentBytes = residentMemoryBytes();
    return figures;
}

void ExporterServer::handle(bool targetRequired, const QHttpServerRequest &request, QHttpServerResponder &&responder)
{
    const ScrapeQuery query = ScrapeQuery::check(targetRequired, request.query().queryItems(QUrl::FullyDecoded),
                                                 request.value(kTimeoutHeader), settings_.limits);
    switch (query.verdict) {
    case ScrapeQuery::Verdict::Exporter:
        writeText(responder, exporterMetricsText(figures()), kMetricsContentType, Status::Ok);
        return;
    case ScrapeQuery::Verdict::BadRequest:
    case ScrapeQuery::Verdict::Forbidden: {
        const bool forbidden = query.verdict == ScrapeQuery::Verdict::Forbidden;
        ++(forbidden ? figures_.forbidden : figures_.badRequests);
        qCInfo(lcExporter).noquote() << request.remoteAddress().toString() << (forbidden ? "403:" : "400:")
                                     << query.reason;
        writeText(responder, query.reason.toUtf8() + '\n', QByteArrayLiteral("text/plain; charset=utf-8"),
                  forbidden ? Status::Forbidden : Status::BadRequest);
        return;
    }
    case ScrapeQuery::Verdict::Device: break;
    }

    // The answer comes later: the responder waits beside the read. The
    // client may be gone by then; its socket is then gone too.
    ++figures_.inFlight;
    auto waiting = std::make_shared<QHttpServerResponder>(std::move(responder));
    const QPointer<QTcpSocket> socket = waiting->socket();
    const QString target = query.target.text();
    pool_->scrape(query.target, query.budgetMs, [this, waiting, socket, target](const ScrapeOutcome &outcome) {
        --figures_.inFlight;
        ++figures_.scrapes;
        if (!outcome.up) {
            ++figures_.scrapeFailures;
            qCDebug(lcExporter).noquote() << "scrape of" << target << "found it down:" << outcome.problem;
        }
        if (!socket || socket->state() != QAbstractSocket::ConnectedState) {
            qCDebug(lcExporter).noquote() << "scrape of" << target << "answered after its client left";
            return;
        }
        writeText(*waiting, deviceMetricsText(outcome), kMetricsContentType, Status::Ok);
    });
}

}  // namespace exporter
