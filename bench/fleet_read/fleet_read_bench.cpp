// The fleet read: the nine exchanges of a connect (the sysDescr probe, then
// the eight GETs of the full read in order) with each of 200 simulated
// devices that answer after 20 ms, every device's nine in sequence and all
// devices at once, in one process on the device core alone: a Device object
// for each, its connect job and then its full-read job, on one request
// engine. In the same run: the same work with net-snmp's asynchronous
// library, and one device after another as an administrator's script would
// do it.
//
//   bench_fleet_read [--devices N] [--delay-ms MS] [--rounds R] [--sequential-devices M]
//
// The devices are one apsim process (apsim --count N) on 127.0.1.1 and up;
// nothing else is ever addressed. Prints times, the ratio to net-snmp's
// asynchronous run, the speed-up over the sequential run and the resident
// memory of our run (measured before net-snmp is loaded into the process).

#include "agent/probe_job.h"
#include "agent/read_job.h"
#include "config/device_mib.h"
#include "fleet_setup.h"
#include "snmp/loopback_guard.h"
#include "snmp/mib.h"
#include "snmp/request_engine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLoggingCategory>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#ifdef CORVANE_BENCH_WITH_NETSNMP
#include "netsnmp_async_fleet.h"
#endif

namespace {

const QByteArray kCommunity = "kavrel";
constexpr int kTimeoutMs = 1000;  // net-snmp's: the time-out of the console's reads
constexpr int kRetries = 1;

struct Run {
    double ms = 0;
    int failures = 0;
};

// Every device's connect and then its full read; all devices at once, or
// one device after another. A device whose connect fails is not read.
Run jobRun(snmp::RequestEngine &engine, const snmp::Mib &mib, const QVector<fleet::Device> &fleet, bool oneAtATime)
{
    QEventLoop loop;  // the benchmark waits here; the jobs and the engine never do
    Run run;
    std::vector<std::unique_ptr<agent::Device>> devices;
    for (const fleet::Device &member : fleet) {
        auto device = std::make_unique<agent::Device>(engine, mib);
        device->setAddress(member.address.toString());
        device->setPort(member.port);
        device->setCommunity(kCommunity);
        devices.push_back(std::move(device));
    }
    int devicesDone = 0;
    std::function<void(int)> connectAndRead;
    const auto deviceDone = [&](int index) {
        if (++devicesDone == int(devices.size()))
            loop.quit();
        else if (oneAtATime)
            connectAndRead(index + 1);
    };
    connectAndRead = [&](int index) {
        agent::Device &device = *devices[size_t(index)];
        agent::ProbeJob *probe = agent::ProbeJob::connectTo(device, device.address());
        QObject::connect(probe, &agent::Job::finished, &loop, [&, index, probe](const agent::JobResult &found) {
            probe->deleteLater();
            if (!found.ok()) {
                ++run.failures;
                deviceDone(index);
                return;
            }
            agent::ReadJob *read = agent::ReadJob::fullRead(*devices[size_t(index)]);
            QObject::connect(read, &agent::Job::finished, &loop, [&, index, read](const agent::JobResult &result) {
                read->deleteLater();
                if (!result.ok())
                    ++run.failures;
                deviceDone(index);
            });
            read->start();
        });
        probe->start();
    };
    QElapsedTimer clock;
    clock.start();
    for (int index = 0; index < (oneAtATime ? 1 : int(devices.size())); ++index)
        connectAndRead(index);
    loop.exec();
    run.ms = clock.nsecsElapsed() / 1e6;
    return run;
}

double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0.0 : values[values.size() / 2];
}

int fail(const QString &text)
{
    std::fprintf(stderr, "bench_fleet_read: %s\n", qPrintable(text));
    return 1;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("corvane.*.debug=false"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A connect's nine exchanges with a fleet of simulated devices."));
    parser.addHelpOption();
    const QCommandLineOption devicesOption(QStringLiteral("devices"), QStringLiteral("Simulated devices (200)."),
                                           QStringLiteral("N"), QStringLiteral("200"));
    const QCommandLineOption delayOption(QStringLiteral("delay-ms"), QStringLiteral("Each answer's delay (20)."),
                                         QStringLiteral("MS"), QStringLiteral("20"));
    const QCommandLineOption roundsOption(QStringLiteral("rounds"), QStringLiteral("Concurrent rounds of each (5)."),
                                          QStringLiteral("R"), QStringLiteral("5"));
    const QCommandLineOption sequentialOption(QStringLiteral("sequential-devices"),
                                              QStringLiteral("Devices the sequential run reads (all)."),
                                              QStringLiteral("M"));
    parser.addOptions({devicesOption, delayOption, roundsOption, sequentialOption});
    parser.process(app);
    const int count = qBound(1, parser.value(devicesOption).toInt(), 1000);
    const int delayMs = qBound(0, parser.value(delayOption).toInt(), 1000);
    const int rounds = qBound(1, parser.value(roundsOption).toInt(), 100);
    const int sequentialCount =
        parser.isSet(sequentialOption) ? qBound(1, parser.value(sequentialOption).toInt(), count) : count;

    snmp::loopback_guard::setOn(true);
    if (!fleet::allowOpenFiles(count + 64))
        return fail(QStringLiteral("cannot open %1 files (ulimit -n)").arg(count + 64));

    const QString dir = QCoreApplication::applicationDirPath();
    QString error;
    const QVector<QVector<snmp::Oid>> requests = fleet::connectRequests(dir + QStringLiteral("/CorvaneMIB.mib"), error);
    if (requests.isEmpty())
        return fail(error);
    QProcess apsim;
    const QVector<fleet::Device> devices =
        fleet::startFleet(apsim, dir + QStringLiteral("/apsim"), count, delayMs, error);
    if (devices.isEmpty())
        return fail(error);

    snmp::Mib mib;
    const snmp::Mib::LoadResult loaded = mib.Load(config::builtInMibPath());
    if (!loaded.ok)
        return fail(loaded.error);
    snmp::RequestEngine engine;
    const snmp::OpenResult opened = engine.open(QHostAddress::LocalHost);
    if (!opened.ok)
        return fail(opened.description);

    // Our first round before net-snmp is loaded, so that the memory figures
    // are ours alone.
    QVector<double> ours;
    int ourFailures = 0;
    Run run = jobRun(engine, mib, devices, false);
    ours << run.ms;
    ourFailures += run.failures;
    const fleet::Memory memory = fleet::memoryNow();

#ifdef CORVANE_BENCH_WITH_NETSNMP
    NetSnmpAsyncFleet netsnmp(devices, kCommunity, requests, kTimeoutMs, kRetries);
    if (!netsnmp.ok())
        return fail(QStringLiteral("net-snmp could not open its sessions"));
    QVector<double> theirs;
    int theirFailures = 0;
#endif
    for (int round = 0; round < rounds; ++round) {
#ifdef CORVANE_BENCH_WITH_NETSNMP
        QElapsedTimer clock;
        clock.start();
        theirFailures += netsnmp.readAll();
        theirs << clock.nsecsElapsed() / 1e6;
#endif
        if (round > 0) {
            run = jobRun(engine, mib, devices, false);
            ours << run.ms;
            ourFailures += run.failures;
        }
    }
    const Run sequential = jobRun(engine, mib, devices.mid(0, sequentialCount), true);

    const double oursMs = median(ours);
    const double sequentialMs = sequential.ms * count / sequentialCount;
    std::printf("fleet read: %d simulated devices answering after %d ms, %lld exchanges each (probe + full read), "
                "%lld requests\n",
                count, delayMs, qlonglong(requests.size()), qlonglong(requests.size()) * count);
    std::printf("floor (each device's exchanges one after another): %lld x %d ms = %lld ms\n",
                qlonglong(requests.size()), delayMs, qlonglong(requests.size()) * delayMs);
    std::printf("our jobs, all devices at once:        %8.1f ms  (median of %d, %d failed devices)\n", oursMs,
                rounds, ourFailures);
    bool met = ourFailures == 0;
#ifdef CORVANE_BENCH_WITH_NETSNMP
    const double theirsMs = median(theirs);
    std::printf("net-snmp asynchronous library:        %8.1f ms  (median of %d, %d failed requests)\n", theirsMs,
                rounds, theirFailures);
    std::printf("ours / net-snmp asynchronous: %.2f x (target at most 1.2 x)\n", oursMs / theirsMs);
    met = met && oursMs <= 1.2 * theirsMs;
#else
    std::printf("net-snmp asynchronous library: not built in (libsnmp-dev missing)\n");
#endif
    std::printf("one device after another (our jobs):   %8.1f ms%s  (%d failed devices)\n", sequentialMs,
                sequentialCount < count ? qPrintable(QStringLiteral(", scaled from %1 devices").arg(sequentialCount))
                                        : "",
                sequential.failures);
    std::printf("speed-up of all at once over one after another: %.1f x\n", sequentialMs / oursMs);
    std::printf("resident memory of our run: %.1f MiB, peak %.1f MiB (target < 60 MiB)\n", memory.residentMiB,
                memory.peakMiB);
    met = met && memory.peakMiB < 60;
    std::printf("targets: %s\n", met ? "met" : "NOT met");
    apsim.terminate();
    apsim.waitForFinished(3000);
    return 0;
}
