// How long the console takes for a connect and the full configuration read
// against the simulated access point (run as its own process on the
// loopback interface), next to the same nine request/answer exchanges done
// with a bare UDP socket (the floor) and with net-snmp's synchronous
// library, in the same run, round after round in turn, so that a busy
// machine slows all three alike. Then the console's resident memory.
//
//   bench_full_read [--rounds N]
//
// Prints medians in microseconds and the ratios. Only 127.0.0.1 is ever
// addressed.

#include "agent/device_session.h"
#include "config/configuration_store.h"
#include "config/device_objects.h"
#include "snmp/loopback_guard.h"
#include "snmp/mib.h"
#include "snmp/snmp_manager.h"
#include "snmp/snmp_pdu.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QNetworkDatagram>
#include <QProcess>
#include <QUdpSocket>
#include <algorithm>
#include <cstdio>

#ifdef CORVANE_BENCH_WITH_WINDOWS
#include "app/frm_main.h"
#include <QApplication>
#endif
#ifdef CORVANE_BENCH_WITH_NETSNMP
#include "netsnmp_reader.h"
#endif

namespace {

const QHostAddress kLoopback(QStringLiteral("127.0.0.1"));

double median(QVector<qint64> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0.0 : double(values[values.size() / 2]) / 1000.0;
}

long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// The probe and the eight group requests, exactly as the console asks.
QVector<QStringList> requestNames()
{
    QVector<QStringList> requests = {{QStringLiteral("sysDescr")}};
    for (config::Group group : config::fullReadOrder()) {
        QStringList objects;
        for (const config::DeviceObject *object : config::describe(group).readOrder)
            objects << object->name;
        requests << objects;
    }
    return requests;
}

snmp::Oid scalarOid(const snmp::Mib &mib, const QString &name)
{
    snmp::Oid oid;
    snmp::oidFromText(mib.OidOf(name) + QStringLiteral(".0"), oid);
    return oid;
}

QVector<QByteArray> requestDatagrams(const snmp::Mib &mib)
{
    QVector<QByteArray> datagrams;
    qint32 id = 0;
    for (const QStringList &names : requestNames()) {
        snmp::Message message;
        message.community = "kavrel";
        message.pdu.requestId = id++;
        for (const QString &name : names)
            message.pdu.varBinds.append({scalarOid(mib, name), snmp::Value::null()});
        datagrams << snmp::encodeMessage(message);
    }
    return datagrams;
}

// One round of `datagrams` with a plain socket: send, wait, read, next.
qint64 bareRound(QUdpSocket &socket, quint16 port, const QVector<QByteArray> &datagrams, int from)
{
    QElapsedTimer clock;
    clock.start();
    for (int i = from; i < datagrams.size(); ++i) {
        socket.writeDatagram(datagrams[i], kLoopback, port);
        if (!socket.waitForReadyRead(1000))
            return -1;
        while (socket.hasPendingDatagrams())
            socket.receiveDatagram();
    }
    return clock.nsecsElapsed();
}

// OK pressed to "All values retrieved.", in nanoseconds; -1 if it never came.
qint64 consoleRound(agent::DeviceSession &session)
{
    qint64 elapsed = -1;
    QElapsedTimer clock;
    bool done = false;
    const auto connection = QObject::connect(&session, &agent::DeviceSession::reported, [&](const agent::SessionReport &report) {
        if (report.event == agent::SessionReport::AllRetrieved) {
            elapsed = clock.nsecsElapsed();
            done = true;
        }
    });
    clock.start();
    session.confirmConnect(QStringLiteral("127.0.0.1"), QStringLiteral("kavrel"));
    QElapsedTimer limit;
    limit.start();
    while (!done && limit.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QObject::disconnect(connection);
    return elapsed;
}

}  // namespace

int main(int argc, char *argv[])
{
#ifdef CORVANE_BENCH_WITH_WINDOWS
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    int rounds = 200;
    const QStringList args = app.arguments();
    const int at = int(args.indexOf(QStringLiteral("--rounds")));
    if (at > 0 && at + 1 < args.size())
        rounds = qMax(1, args[at + 1].toInt());

    const QString dir = QCoreApplication::applicationDirPath();
    QProcess apsim;
    apsim.start(dir + QStringLiteral("/apsim"), {QStringLiteral("--address"), QStringLiteral("127.0.0.1"),
                                                   QStringLiteral("--port"), QStringLiteral("0")});
    if (!apsim.waitForStarted(5000) || !apsim.waitForReadyRead(5000)) {
        std::fprintf(stderr, "bench_full_read: apsim did not start\n");
        return 1;
    }
    const QByteArray banner = apsim.readLine().trimmed();  // "listening on 127.0.0.1:N"
    const quint16 port = quint16(banner.mid(banner.lastIndexOf(':') + 1).toUInt());

    snmp::Mib mib;
    const QString mibPath = dir + QStringLiteral("/CorvaneMIB.mib");
    if (!mib.Load(mibPath).ok) {
        std::fprintf(stderr, "bench_full_read: cannot load %s\n", qPrintable(mibPath));
        return 1;
    }
    const QVector<QByteArray> datagrams = requestDatagrams(mib);

    QUdpSocket socket;
    socket.bind(kLoopback, 0);
#ifdef CORVANE_BENCH_WITH_NETSNMP
    QVector<QVector<NetSnmpReader::Oid>> oids;
    for (const QStringList &names : requestNames()) {
        QVector<NetSnmpReader::Oid> request;
        for (const QString &name : names) {
            const snmp::Oid oid = scalarOid(mib, name);
            request << NetSnmpReader::Oid(oid.begin(), oid.end());
        }
        oids << request;
    }
    NetSnmpReader netsnmp(port, "kavrel", oids);
    if (!netsnmp.ok() || !netsnmp.readAll()) {
        std::fprintf(stderr, "bench_full_read: net-snmp could not read from the simulated device\n");
        return 1;
    }
#endif

    snmp::loopback_guard::setOn(true);
    agent::SessionOptions options;
    options.agentPort = port;
    options.trapPort = 0;
    options.mibPath = mibPath;
#ifdef CORVANE_BENCH_WITH_WINDOWS
    // The real main window, with its menus and status bar following the read.
    frmMain window(options);
    window.MDIForm_Load();
    window.show();
    agent::DeviceSession &session = window.session();
#else
    agent::DeviceSession session(options);
    session.start();
#endif

    QVector<qint64> bare, netsnmpNine, console;
    for (int i = 0; i < rounds; ++i) {
        bare << bareRound(socket, port, datagrams, 0);
#ifdef CORVANE_BENCH_WITH_NETSNMP
        QElapsedTimer clock;
        clock.start();
        if (!netsnmp.readAll()) {
            std::fprintf(stderr, "bench_full_read: net-snmp round %d failed\n", i);
            return 1;
        }
        netsnmpNine << clock.nsecsElapsed();
#endif
        const qint64 round = consoleRound(session);
        if (round < 0) {
            std::fprintf(stderr, "bench_full_read: round %d did not complete\n", i);
            return 1;
        }
        console << round;
    }
    const long rss = residentKiB();

    const double floor = median(bare), consoleTime = median(console);
    std::printf("rounds: %d, each the 9 exchanges of a connect (probe + 8 groups)\n", rounds);
    std::printf("bare UDP socket (floor):            %8.1f us\n", floor);
    bool met = consoleTime <= 1.5 * floor;
#ifdef CORVANE_BENCH_WITH_NETSNMP
    const double netsnmpTime = median(netsnmpNine);
    std::printf("net-snmp synchronous library:       %8.1f us  %.2f x floor\n", netsnmpTime, netsnmpTime / floor);
    std::printf("console, OK to \"All values retrieved.\": %5.1f us  %.2f x floor, %.2f x net-snmp\n", consoleTime,
                consoleTime / floor, consoleTime / netsnmpTime);
    met = met && consoleTime <= 1.2 * netsnmpTime;
    std::printf("targets (at most 1.5 x floor and 1.2 x net-snmp): %s\n", met ? "met" : "NOT met");
#else
    std::printf("console, OK to \"All values retrieved.\": %5.1f us  %.2f x floor\n", consoleTime, consoleTime / floor);
    std::printf("net-snmp not built in (libsnmp-dev missing)\ntarget (at most 1.5 x floor): %s\n",
                met ? "met" : "NOT met");
#endif
    std::printf("resident memory after the reads: %.1f MiB (target < 40 MiB): %s\n", rss / 1024.0,
                rss < 40 * 1024 ? "met" : "NOT met");
    apsim.terminate();
    apsim.waitForFinished(3000);
    return 0;
}
