// How the console fares on a link that loses requests: the simulated access
// point (apsim, a process of its own on 127.0.0.1) ignores a share of the
// requests it gets; the console connects to it again and again at the
// device's real pace and counts the connects that end in "All values
// retrieved.". Beside it, net-snmp's snmpget with five resends half a
// second apart (-r 5 -t 0.5) against the same agent: once for sysDescr.0
// alone, and once per request of a whole configuration read (a round
// counts when all nine got their answer).
//
//   bench_lossy_link [--drop-ratio R] [--connects N]
//
// Only 127.0.0.1 is ever addressed.

#include "agent/device_session.h"
#include "config/configuration_store.h"
#include "config/device_objects.h"
#include "snmp/loopback_guard.h"
#include "snmp/mib.h"
#include "snmp/snmp_manager.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <cstdio>

namespace {

QString argument(const QStringList &args, const QString &name, const QString &fallback)
{
    const int at = int(args.indexOf(name));
    return at >= 0 && at + 1 < args.size() ? args[at + 1] : fallback;
}

// One connect and its read to the end: succeeded, and how long it took.
std::pair<bool, qint64> connectOnce(agent::DeviceSession &session)
{
    QElapsedTimer clock;
    clock.start();
    session.confirmConnect(QStringLiteral("127.0.0.1"), QStringLiteral("kavrel"));
    // Ended: connected, or nothing runs any more (not found, or the last
    // pass failed). Two minutes is far beyond any ending.
    while (!session.Connected() && (session.deviceWorkRunning() || clock.elapsed() < 50) && clock.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return {session.Connected(), clock.elapsed()};
}

bool snmpget(const QString &tool, quint16 port, const QStringList &oids)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("MIBS"), QString());  // numeric identifiers only
    process.setProcessEnvironment(environment);
    process.start(tool, QStringList{"-v1", "-c", "kavrel", "-r", "5", "-t", "0.5",
                                    QStringLiteral("127.0.0.1:%1").arg(port)}
                            + oids);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString ratio = argument(args, QStringLiteral("--drop-ratio"), QStringLiteral("0.3"));
    const int connects = qMax(1, argument(args, QStringLiteral("--connects"), QStringLiteral("20")).toInt());
    snmp::loopback_guard::setOn(true);

    const QString dir = QCoreApplication::applicationDirPath();
    QProcess apsim;
    apsim.start(dir + QStringLiteral("/apsim"),
                {QStringLiteral("--address"), QStringLiteral("127.0.0.1"), QStringLiteral("--port"), QStringLiteral("0"),
                 QStringLiteral("--drop-ratio"), ratio});
    if (!apsim.waitForStarted(5000) || !apsim.waitForReadyRead(5000)) {
        std::fprintf(stderr, "bench_lossy_link: apsim did not start\n");
        return 1;
    }
    const quint16 port = quint16(apsim.readLine().trimmed().split(':').last().toUInt());  // "listening on 127.0.0.1:N"

    agent::SessionOptions options;
    options.agentPort = port;
    options.trapPort = 0;
    options.scanAddress = QStringLiteral("127.0.0.1");
    options.mibPath = dir + QStringLiteral("/CorvaneMIB.mib");
    agent::DeviceSession session(options);
    session.start();
    int connected = 0;
    qint64 slowest = 0, total = 0;
    for (int i = 0; i < connects; ++i) {
        const auto [ok, ms] = connectOnce(session);
        connected += ok;
        total += ms;
        slowest = qMax(slowest, ms);
    }
    std::printf("drop ratio %s, %d connects at the device's pace\n", qPrintable(ratio), connects);
    std::printf("  console: %d of %d connected (mean %.1f s, slowest %.1f s)\n", connected, connects,
                total / 1000.0 / connects, slowest / 1000.0);

    const QString tool = QStandardPaths::findExecutable(QStringLiteral("snmpget"));
    if (tool.isEmpty()) {
        std::printf("  snmpget: not installed (apt-get install snmp)\n");
    } else {
        QStringList whole;  // numeric identifiers of the nine requests, in order
        QVector<QStringList> requests{{session.mib().OidOf(QStringLiteral("sysDescr")) + QStringLiteral(".0")}};
        for (config::Group group : config::fullReadOrder()) {
            QStringList oids;
            for (const config::DeviceObject *object : config::describe(group).readOrder)
                oids << session.mib().OidOf(object->name) + QStringLiteral(".0");
            requests << oids;
        }
        int single = 0, rounds = 0;
        for (int i = 0; i < connects; ++i) {
            single += snmpget(tool, port, requests.first());
            bool all = true;
            for (const QStringList &oids : requests)
                all = snmpget(tool, port, oids) && all;
            rounds += all;
        }
        std::printf("  snmpget -r 5 -t 0.5: sysDescr.0 %d of %d, all nine requests %d of %d\n", single, connects,
                    rounds, connects);
    }
    apsim.terminate();
    apsim.waitForFinished(3000);
    return 0;
}
