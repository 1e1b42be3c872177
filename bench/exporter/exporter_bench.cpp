// The exporter under load: 200 simulated devices that answer after 20 ms
// (one apsim process on 127.0.1.1 and up), the corvane-exporter program,
// and one scraper per device asking for its metrics again as soon as the
// last answer is in, all at once, for a few seconds. Prints the scrapes
// per second, the median and 99th percentile scrape time and the
// exporter's resident memory.
//
//   bench_exporter [--devices N] [--delay-ms MS] [--seconds S]
//
// Nothing but 127.0.0.0/8 is ever addressed.

#include "fleet_setup.h"
#include "scrape_client.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLoggingCategory>
#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

int fail(const QString &text)
{
    std::fprintf(stderr, "bench_exporter: %s\n", qPrintable(text));
    return 1;
}

double percentile(QVector<double> values, double p)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[qMin(values.size() - 1, qsizetype(p * values.size()))];
}

// VmRSS and VmHWM of another process, in MiB.
QPair<double, double> memoryOf(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    QPair<double, double> memory;
    if (!status.open(QIODevice::ReadOnly))
        return memory;
    for (const QByteArray &line : status.readAll().split('\n')) {
        const double mib = line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
        if (line.startsWith("VmRSS:"))
            memory.first = mib;
        else if (line.startsWith("VmHWM:"))
            memory.second = mib;
    }
    return memory;
}

struct Round {
    QVector<double> ms;
    int down = 0;
    double seconds = 0;
};

// Every scraper scrapes, again and again until `seconds` have passed (0:
// once each).
Round scrapeAll(const std::vector<std::unique_ptr<ScrapeClient>> &scrapers, double seconds)
{
    Round round;
    QEventLoop loop;
    QElapsedTimer clock;
    clock.start();
    int busy = int(scrapers.size());
    std::function<void(ScrapeClient *)> next = [&](ScrapeClient *scraper) {
        scraper->scrape([&, scraper](const ScrapeClient::Scrape &scrape) {
            round.ms << scrape.ms;
            round.down += !scrape.up;
            if (clock.elapsed() < seconds * 1000)
                next(scraper);
            else if (--busy == 0)
                loop.quit();
        });
    };
    for (const auto &scraper : scrapers)
        next(scraper.get());
    loop.exec();
    round.seconds = clock.nsecsElapsed() / 1e9;
    return round;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("corvane.*.debug=false"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Simulated devices scraped at once through corvane-exporter."));
    parser.addHelpOption();
    const QCommandLineOption devicesOption(QStringLiteral("devices"), QStringLiteral("Simulated devices (200)."),
                                           QStringLiteral("N"), QStringLiteral("200"));
    const QCommandLineOption delayOption(QStringLiteral("delay-ms"), QStringLiteral("Each answer's delay (20)."),
                                         QStringLiteral("MS"), QStringLiteral("20"));
    const QCommandLineOption secondsOption(QStringLiteral("seconds"), QStringLiteral("Time spent scraping (5)."),
                                           QStringLiteral("S"), QStringLiteral("5"));
    parser.addOptions({devicesOption, delayOption, secondsOption});
    parser.process(app);
    const int count = qBound(1, parser.value(devicesOption).toInt(), 250);  // one /24 from 127.0.1.1
    const int delayMs = qBound(0, parser.value(delayOption).toInt(), 1000);
    const double seconds = qBound(1.0, parser.value(secondsOption).toDouble(), 600.0);

    if (!fleet::allowOpenFiles(2 * count + 64))
        return fail(QStringLiteral("cannot open %1 files (ulimit -n)").arg(2 * count + 64));
    const QString dir = QCoreApplication::applicationDirPath();
    QString error;
    QProcess apsim;
    const QVector<fleet::Device> devices =
        fleet::startFleet(apsim, dir + QStringLiteral("/apsim"), count, delayMs, error);
    if (devices.isEmpty())
        return fail(error);

    QProcess exporter;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("CORVANE_COMMUNITY"), QStringLiteral("kavrel"));
    env.insert(QStringLiteral("CORVANE_LOOPBACK_ONLY"), QStringLiteral("1"));
    exporter.setProcessEnvironment(env);
    exporter.start(dir + QStringLiteral("/corvane-exporter"),
                   {QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--allow"),
                    QStringLiteral("127.0.1.0/24")});
    quint16 port = 0;
    while (port == 0 && exporter.waitForReadyRead(10000)) {
        const QByteArray line = exporter.readLine();
        const QByteArray prefix = "corvane-exporter listening on http://127.0.0.1:";
        if (line.startsWith(prefix))
            port = quint16(line.mid(prefix.size()).split('/').value(0).toUInt());
    }
    if (port == 0)
        return fail(QStringLiteral("the exporter did not start: %1").arg(QString::fromLocal8Bit(exporter.readAllStandardError())));
    const QPair<double, double> idle = memoryOf(exporter.processId());

    std::vector<std::unique_ptr<ScrapeClient>> scrapers;
    for (const fleet::Device &device : devices)
        scrapers.push_back(std::make_unique<ScrapeClient>(
            port, QStringLiteral("%1:%2").arg(device.address.toString()).arg(device.port).toLatin1(), 10));

    // The first scrape of each device also reads its identity.
    const Round first = scrapeAll(scrapers, 0);
    const Round steady = scrapeAll(scrapers, seconds);
    const QPair<double, double> loaded = memoryOf(exporter.processId());

    std::printf("exporter: %d simulated devices answering after %d ms, one scraper per device, all at once\n", count,
                delayMs);
    std::printf("floor of one scrape: 2 GETs one after the other = %d ms (the first: identity read beside them)\n",
                2 * delayMs);
    std::printf("first scrape of every device:  %.1f ms for all, p99 %.1f ms, %d down\n", first.seconds * 1000,
                percentile(first.ms, 0.99), first.down);
    std::printf("then for %.1f s:  %lld scrapes, %.0f scrapes/s, median %.1f ms, p99 %.1f ms, %d down\n",
                steady.seconds, qlonglong(steady.ms.size()), steady.ms.size() / steady.seconds,
                percentile(steady.ms, 0.5), percentile(steady.ms, 0.99), steady.down);
    std::printf("exporter resident memory: %.1f MiB idle, %.1f MiB after the run, peak %.1f MiB\n", idle.first,
                loaded.first, loaded.second);
    exporter.terminate();
    exporter.waitForFinished(3000);
    apsim.terminate();
    apsim.waitForFinished(3000);
    return first.down + steady.down == 0 ? 0 : 1;
}
