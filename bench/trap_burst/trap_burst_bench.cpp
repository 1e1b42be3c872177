// How many traps the console's trap handling takes, with file logging on,
// when another process sends bounded bursts at rising rates on the loopback
// interface, up to a flood of 100,000 at full speed; the same bursts go to
// net-snmp's snmptrapd logging to a file, for comparison (both with a
// receive buffer of the same size). While the console takes a burst, a
// 10 ms timer on the same event loop shows how late a window's tick would
// be; the kernel's count of datagrams it dropped for a full receive buffer
// tells the traps lost before any program saw them from those the program
// lost; the resident memory before and after shows what the flood leaves.
//
//   bench_trap_burst [--no-snmptrapd]
//
// Only 127.0.0.1 is ever addressed.

#include "agent/device_session.h"
#include "snmp/loopback_guard.h"
#include "config/configuration_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QUdpSocket>
#include <cstdio>

namespace {

struct Step {
    const char *label;
    int count;
    int rate;  // traps/s, 0: as fast as the sender can
};

const Step kSteps[] = {
    {"2,000 at full speed", 2000, 0},
    {"5,000/s for 1 s", 5000, 5000},
    {"10,000/s for 1 s", 10000, 10000},
    {"20,000/s for 1 s", 20000, 20000},
    {"100,000 at full speed", 100000, 0},
};

// Both receivers ask for this much (snmptrapd through its serverRecvBuf).
constexpr int kReceiveBufferBytes = 8 * 1024 * 1024;

struct Outcome {
    long sent = 0;
    double sendSeconds = 0;
    long kernelDropped = 0;  // the receive buffer was full
    long taken = 0;
    double takenPerSecond = 0;
    int worstLateMs = -1;
    double memoryGrowthMiB = 0;  // resident memory after the burst less before
};

// The kernel's count of datagrams dropped on the UDP socket bound to `port`.
long kernelDrops(quint16 port)
{
    QFile table(QStringLiteral("/proc/net/udp"));
    if (!table.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray portHex = QByteArray::number(port, 16).toUpper().rightJustified(4, '0');
    for (const QByteArray &line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() > 12 && fields[1].endsWith(":" + portHex))
            return fields.last().toLong();
    }
    return 0;
}

double residentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).simplified().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

quint16 freeUdpPort()
{
    QUdpSocket probe;
    return probe.bind(QHostAddress::LocalHost, 0) ? probe.localPort() : 0;
}

// Runs the sender to completion while the event loop keeps going.
bool runSender(const QString &program, quint16 port, const Step &step, Outcome &outcome)
{
    QProcess sender;
    QEventLoop loop;
    QObject::connect(&sender, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&sender, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    sender.start(program, {QString::number(port), QString::number(step.count), QString::number(step.rate)});
    if (sender.state() != QProcess::NotRunning)
        loop.exec();
    sender.waitForFinished(10000);
    const QList<QByteArray> words = sender.readAllStandardOutput().simplified().split(' ');
    if (words.size() < 6 || words[0] != "sent")
        return false;
    outcome.sent = words[1].toLong();
    outcome.sendSeconds = words[5].toDouble();
    return true;
}

// Waits until `count` stops changing for `quietMs` (at most 15 s); returns
// the ms, since `clock` started, of the last change.
template <typename Count>
qint64 waitUntilQuiet(Count count, const QElapsedTimer &clock, int quietMs)
{
    long last = count();
    qint64 lastChange = clock.elapsed();
    QElapsedTimer limit;
    limit.start();
    while (clock.elapsed() - lastChange < quietMs && limit.elapsed() < 15000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(500);
        const long now = count();
        if (now != last) {
            last = now;
            lastChange = clock.elapsed();
        }
    }
    return lastChange;
}

long countOf(const QByteArray &bytes, const QByteArray &marker)
{
    return bytes.count(marker);
}

QByteArray tail(const QString &path, qint64 from)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(from))
        return QByteArray();
    return file.readAll();
}

class Console {
public:
    Console(const QString &binDir, const QString &logPath)
    {
        agent::SessionOptions options;
        options.trapPort = freeUdpPort();
        options.mibPath = binDir + QStringLiteral("/CorvaneMIB.mib");
        session = std::make_unique<agent::DeviceSession>(options);
        session->trapReception().setLogFilePath(logPath);
        session->start();
        grantedBuffer = session->trapReception().enlargeReceiveBuffer(kReceiveBufferBytes);
        // A connected device on this machine: its traps are taken.
        session->device().setAddress(QStringLiteral("127.0.0.1"));
        session->EnableDeviceMenus();
        session->device().store().saveTraps = true;
        connect();
    }

    Outcome take(const QString &sender, const Step &step, const QString &logPath)
    {
        Outcome outcome;
        const qint64 fileBefore = QFileInfo(logPath).size();
        const int before = session->trapReception().loggedTraps();
        const long dropsBefore = kernelDrops(session->options().trapPort);
        const double memoryBefore = residentMiB();
        first = last = -1;
        clock.start();

        // A window's timer on the same loop: how late does its tick come?
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        qint64 previous = clock.elapsed();
        qint64 worst = 0;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 t = clock.elapsed();
            worst = qMax(worst, t - previous - 10);
            previous = t;
        });
        tick.start(10);

        if (!runSender(sender, session->options().trapPort, step, outcome))
            return outcome;
        waitUntilQuiet([&] { return long(session->trapReception().loggedTraps()); }, clock, 300);
        tick.stop();
        outcome.worstLateMs = int(worst);
        outcome.kernelDropped = kernelDrops(session->options().trapPort) - dropsBefore;
        outcome.memoryGrowthMiB = residentMiB() - memoryBefore;
        outcome.taken = countOf(tail(logPath, fileBefore), "Trap received @ ");
        if (outcome.taken != session->trapReception().loggedTraps() - before)
            std::fprintf(stderr, "bench_trap_burst: the file holds %ld new entries, the log took %d\n",
                         outcome.taken, session->trapReception().loggedTraps() - before);
        if (last > first && outcome.taken > 1)
            outcome.takenPerSecond = double(outcome.taken - 1) * 1e6 / double(last - first);
        return outcome;
    }

    std::unique_ptr<agent::DeviceSession> session;
    int grantedBuffer = 0;

private:
    void connect()
    {
        // Times the traps taken, as each goes into the log.
        QObject::connect(&session->trapReception(), &traps::TrapReception::entryLogged, [this] {
            const qint64 t = clock.nsecsElapsed() / 1000;
            if (first < 0)
                first = t;
            last = t;
        });
    }

    QElapsedTimer clock;
    qint64 first = -1;  // µs
    qint64 last = -1;
};

class Snmptrapd {
public:
    explicit Snmptrapd(const QString &folder) : folder_(folder) {}
    ~Snmptrapd()
    {
        process_.terminate();
        process_.waitForFinished(3000);
    }

    bool start()
    {
        program_ = QStandardPaths::findExecutable(QStringLiteral("snmptrapd"));
        if (program_.isEmpty())  // a user's PATH often lacks sbin
            program_ = QStandardPaths::findExecutable(QStringLiteral("snmptrapd"), {"/usr/sbin", "/sbin"});
        if (program_.isEmpty())
            return false;
        port = freeUdpPort();
        logPath = folder_ + QStringLiteral("/snmptrapd.log");
        const QString conf = folder_ + QStringLiteral("/snmptrapd.conf");
        QFile file(conf);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        // One line per trap: the same work as the console's, log a line.
        file.write("disableAuthorization yes\nformat1 TRAP %B %w %q %v\\n\n");
        file.write("[snmp] serverRecvBuf " + QByteArray::number(kReceiveBufferBytes) + "\n");
        file.close();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("SNMP_PERSISTENT_DIR"), folder_);
        environment.insert(QStringLiteral("HOME"), folder_);
        environment.insert(QStringLiteral("SNMPCONFPATH"), folder_);
        process_.setProcessEnvironment(environment);
        process_.start(program_, {"-f", "-Lf", logPath, "-C", "-c", conf, "-n", "-m", "", "-M", "/dev/null",
                                  QStringLiteral("udp:127.0.0.1:%1").arg(port)});
        if (!process_.waitForStarted(5000))
            return false;
        QElapsedTimer wait;
        wait.start();
        while (wait.elapsed() < 5000 && !tail(logPath, 0).contains("NET-SNMP version"))
            QThread::msleep(20);
        return process_.state() == QProcess::Running && tail(logPath, 0).contains("NET-SNMP version");
    }

    Outcome take(const QString &sender, const Step &step)
    {
        Outcome outcome;
        const qint64 before = QFileInfo(logPath).size();
        const long dropsBefore = kernelDrops(port);
        QElapsedTimer clock;
        clock.start();
        qint64 firstGrowth = -1;
        auto size = [&] {
            const qint64 now = QFileInfo(logPath).size();
            if (now != before && firstGrowth < 0)
                firstGrowth = clock.elapsed();
            return long(now);
        };
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] { size(); });
        poll.start(1);
        if (!runSender(sender, port, step, outcome))
            return outcome;
        poll.stop();
        const qint64 lastGrowth = waitUntilQuiet(size, clock, 500);
        outcome.taken = countOf(tail(logPath, before), "TRAP ");
        outcome.kernelDropped = kernelDrops(port) - dropsBefore;
        if (firstGrowth >= 0 && lastGrowth > firstGrowth && outcome.taken > 1)
            outcome.takenPerSecond = double(outcome.taken) * 1000.0 / double(lastGrowth - firstGrowth + 1);
        return outcome;
    }

    quint16 port = 0;
    QString logPath;

private:
    QString folder_;
    QString program_;
    QProcess process_;
};

void printRow(const char *who, const Step &step, const Outcome &o)
{
    const double sendRate = o.sendSeconds > 0 ? double(o.sent) / o.sendSeconds : 0;
    std::printf("%-10s %-22s %8ld %10.0f %8ld %8ld %8ld %10.0f", who, step.label, o.sent, sendRate, o.kernelDropped,
                o.taken, o.sent - o.taken, o.takenPerSecond);
    if (o.worstLateMs >= 0)
        std::printf(" %8d %8.1f", o.worstLateMs, o.memoryGrowthMiB);
    std::printf("\n");
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    snmp::loopback_guard::setOn(true);
    const bool withSnmptrapd = !app.arguments().contains(QStringLiteral("--no-snmptrapd"));
    const QString binDir = QCoreApplication::applicationDirPath();
    const QString sender = binDir + QStringLiteral("/trap_burst_sender");
    QTemporaryDir folder;
    if (!folder.isValid() || !QFile::exists(sender)) {
        std::fprintf(stderr, "bench_trap_burst: no temporary folder or no %s\n", qPrintable(sender));
        return 1;
    }

    Console console(binDir, folder.filePath(QStringLiteral("TrapLog.txt")));
    std::printf("console trap socket: receive buffer asked %d bytes, granted %d bytes\n",
                kReceiveBufferBytes, console.grantedBuffer);
    Snmptrapd snmptrapd(folder.path());
    const bool haveSnmptrapd = withSnmptrapd && snmptrapd.start();
    if (withSnmptrapd && !haveSnmptrapd)
        std::printf("snmptrapd not available: the console alone\n");

    std::printf("\n%-10s %-22s %8s %10s %8s %8s %8s %10s %8s %8s\n", "receiver", "burst", "sent", "sent/s",
                "kernel", "taken", "lost", "taken/s", "late ms", "RSS MiB");
    bool allDelivered = true;
    int worstLate = 0;
    double worstGrowth = 0;
    for (const Step &step : kSteps) {
        const Outcome mine = console.take(sender, step, folder.filePath(QStringLiteral("TrapLog.txt")));
        printRow("console", step, mine);
        worstLate = qMax(worstLate, mine.worstLateMs);
        worstGrowth = qMax(worstGrowth, mine.memoryGrowthMiB);
        // Every trap the kernel handed over is in the log.
        if (mine.taken != mine.sent - mine.kernelDropped)
            allDelivered = false;
        if (haveSnmptrapd)
            printRow("snmptrapd", step, snmptrapd.take(sender, step));
    }
    std::printf("\n(kernel: dropped by the kernel, receive buffer full; lost: sent but not in the log file; "
                "late ms: worst lateness of a 10 ms tick; RSS MiB: resident memory after less before)\n");
    std::printf("aims: every trap the kernel delivered logged: %s; worst tick lateness %d ms (aim <= 100 ms): %s; "
                "memory after a burst within 5 MiB of before (worst %+.1f MiB): %s\n",
                allDelivered ? "met" : "NOT met", worstLate, worstLate <= 100 ? "met" : "NOT met", worstGrowth,
                worstGrowth <= 5 ? "met" : "NOT met");
    return 0;
}
