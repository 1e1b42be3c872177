// How long the console takes for the full configuration read against the
// simulated access point (run as its own process on the loopback
// interface), next to the same request/answer exchanges done with a bare
// UDP socket, and how much memory the console holds afterwards.
//
//   bench_full_read [--rounds N]
//
// Prints medians in microseconds, the ratio to the floor, and the resident
// memory. Only 127.0.0.1 is ever addressed.

#include "agent/device_session.h"
#include "config/configuration_store.h"
#include "config/group_readers.h"
#include "snmp/mib.h"
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
QVector<QByteArray> requestDatagrams(const snmp::Mib &mib)
{
    QVector<QStringList> requests = {{QStringLiteral("sysDescr")}};
    for (config::Group group : config::fullReadOrder())
        requests << config::groupDefinition(group).objects;
    QVector<QByteArray> datagrams;
    qint32 id = 0;
    for (const QStringList &names : requests) {
        snmp::Message message;
        message.community = "kavrel";
        message.pdu.requestId = id++;
        for (const QString &name : names) {
            snmp::Oid oid;
            snmp::oidFromText(mib.OidOf(name) + QStringLiteral(".0"), oid);
            message.pdu.varBinds.append({oid, snmp::Value::null()});
        }
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

struct ConsoleRound {
    qint64 fromConnect = -1;  // OK pressed to "All values retrieved."
    qint64 fromAnswer = -1;   // connect answer to "All values retrieved."
};

ConsoleRound consoleRound(agent::DeviceSession &session)
{
    ConsoleRound round;
    QElapsedTimer clock;
    qint64 answerAt = -1;
    bool done = false;
    const auto connection = QObject::connect(&session, &agent::DeviceSession::statusChanged, [&](const QString &text) {
        if (text == QLatin1String("TARVO Wireless Network found ..."))
            answerAt = clock.nsecsElapsed();
        if (text == QLatin1String("All values retrieved.")) {
            round.fromConnect = clock.nsecsElapsed();
            round.fromAnswer = round.fromConnect - answerAt;
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
    return round;
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
    QVector<qint64> bareNine, bareEight;
    for (int i = 0; i < rounds; ++i) {
        bareNine << bareRound(socket, port, datagrams, 0);
        bareEight << bareRound(socket, port, datagrams, 1);
    }

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
    QVector<qint64> fromConnect, fromAnswer;
    for (int i = 0; i < rounds; ++i) {
        const ConsoleRound round = consoleRound(session);
        if (round.fromConnect < 0) {
            std::fprintf(stderr, "bench_full_read: round %d did not complete\n", i);
            return 1;
        }
        fromConnect << round.fromConnect;
        fromAnswer << round.fromAnswer;
    }
    const long rss = residentKiB();

    const double floor9 = median(bareNine), floor8 = median(bareEight);
    const double console9 = median(fromConnect), console8 = median(fromAnswer);
    std::printf("rounds: %d\n", rounds);
    std::printf("bare socket, 9 exchanges (probe + 8 groups): %.1f us\n", floor9);
    std::printf("console, OK to \"All values retrieved.\" (9 exchanges): %.1f us  ratio %.2f\n", console9,
                console9 / floor9);
    std::printf("bare socket, 8 group exchanges: %.1f us\n", floor8);
    std::printf("console, connect answer to \"All values retrieved.\" (8 exchanges): %.1f us  ratio %.2f\n",
                console8, console8 / floor8);
    std::printf("target: console <= 1.5 x floor + 2000 us: %s\n",
                console9 <= 1.5 * floor9 + 2000.0 ? "met" : "NOT met");
    std::printf("resident memory after the reads: %.1f MiB (target < 80 MiB)\n", rss / 1024.0);
    apsim.terminate();
    apsim.waitForFinished(3000);
    return 0;
}
