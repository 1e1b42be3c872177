#include "exporter_metrics.h"

#include "metrics_text.h"

#include "settings/app_version.h"

#include <QFile>

#include <unistd.h>

namespace exporter {

QByteArray exporterMetricsText(const ExporterFigures &f)
{
    using Type = MetricsText::Type;
    MetricsText out;
    out.single(QStringLiteral("corvane_exporter_scrapes_total"), Type::Counter,
               QStringLiteral("Device scrapes answered."), double(f.scrapes));
    out.single(QStringLiteral("corvane_exporter_scrape_failures_total"), Type::Counter,
               QStringLiteral("Device scrapes answered with the device down (corvane_up 0)."), double(f.scrapeFailures));
    out.single(QStringLiteral("corvane_exporter_device_reads_total"), Type::Counter,
               QStringLiteral("Device reads started; scrapes of one device at the same time share one read."),
               double(f.reads));
    out.family(QStringLiteral("corvane_exporter_refused_requests_total"), Type::Counter,
               QStringLiteral("Requests refused before anything was sent, by HTTP status."));
    out.sample(QStringLiteral("corvane_exporter_refused_requests_total"), f.badRequests,
               {{QStringLiteral("code"), QStringLiteral("400")}});
    out.sample(QStringLiteral("corvane_exporter_refused_requests_total"), f.forbidden,
               {{QStringLiteral("code"), QStringLiteral("403")}});
    out.single(QStringLiteral("corvane_exporter_scrapes_in_flight"), Type::Gauge,
               QStringLiteral("Device scrapes not answered yet."), f.inFlight);
    out.single(QStringLiteral("corvane_exporter_known_devices"), Type::Gauge,
               QStringLiteral("Devices scraped lately, whose identity the exporter keeps."), f.knownDevices);
    out.single(QStringLiteral("corvane_exporter_snmp_datagrams_sent_total"), Type::Counter,
               QStringLiteral("SNMP request datagrams sent, resends included."), double(f.datagramsSent));
    out.single(QStringLiteral("corvane_exporter_build_info"), Type::Gauge,
               QStringLiteral("The exporter's version in its label; the value is always 1."), 1,
               {{QStringLiteral("version"), QLatin1String(settings::kProgramVersion)}});
    if (f.residentBytes > 0)
        out.single(QStringLiteral("process_resident_memory_bytes"), Type::Gauge,
                   QStringLiteral("Resident memory size in bytes."), double(f.residentBytes));
    out.single(QStringLiteral("process_start_time_seconds"), Type::Gauge,
               QStringLiteral("Start time of the process since unix epoch in seconds."), f.startTimeSeconds);
    return out.text();
}

qint64 residentMemoryBytes()
{
    // The second field of statm: resident pages.
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readLine(256).split(' ');
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (fields.size() < 2 || pageSize <= 0)
        return 0;
    return fields[1].toLongLong() * pageSize;
}

}  // namespace exporter
