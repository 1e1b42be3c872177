// How long the console takes from its start to its first window on the
// screen, next to a bare Qt window measured the same way in the same run,
// the two started in turn. Both run with CORVANE_REPORT_FIRST_WINDOW, which
// makes them say when their first window is exposed.
//
//   bench_startup [--runs N]
//
// The console runs with its own settings file, ports on 127.0.0.1 only and
// no demo device: the start-up a user sees, without the demo's extras.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <algorithm>
#include <cstdio>

namespace {

quint16 freePort()
{
    QUdpSocket probe;
    return probe.bind(QHostAddress::AnyIPv4, 0) ? probe.localPort() : 0;
}

// Milliseconds from start to "first window shown"; -1 when it never came.
double timeToFirstWindow(const QString &program, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("CORVANE_REPORT_FIRST_WINDOW"), QStringLiteral("1"));
    environment.insert(QStringLiteral("CORVANE_LOOPBACK_ONLY"), QStringLiteral("1"));
    if (!environment.contains(QStringLiteral("QT_QPA_PLATFORM")))
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("*=false"));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    double elapsed = -1;
    while (process.waitForReadyRead(10000)) {
        if (process.readAllStandardOutput().contains("first window shown")) {
            elapsed = clock.nsecsElapsed() / 1e6;
            break;
        }
    }
    process.kill();
    process.waitForFinished(3000);
    return elapsed;
}

double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0.0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    int runs = 20;
    const QStringList args = application.arguments();
    const int at = int(args.indexOf(QStringLiteral("--runs")));
    if (at > 0 && at + 1 < args.size())
        runs = qMax(1, args[at + 1].toInt());

    const QString dir = QCoreApplication::applicationDirPath();
    QTemporaryDir settings;
    const QStringList consoleArguments = {
        QStringLiteral("--settings"),   settings.filePath(QStringLiteral("settings.ini")),
        QStringLiteral("--trap-port"),  QString::number(freePort()),
        QStringLiteral("--agent-port"), QString::number(freePort()),
        QStringLiteral("--scan-address"), QStringLiteral("127.0.0.1")};
    QVector<double> bare, withText, console;
    for (int i = 0; i < runs; ++i) {
        const double b = timeToFirstWindow(dir + QStringLiteral("/bare_qt_window"), {});
        const double t = timeToFirstWindow(dir + QStringLiteral("/bare_qt_window"), {QStringLiteral("--text")});
        const double c = timeToFirstWindow(dir + QStringLiteral("/corvane-manager"), consoleArguments);
        if (b < 0 || t < 0 || c < 0) {
            std::fprintf(stderr, "bench_startup: a program did not show its window\n");
            return 1;
        }
        bare << b;
        withText << t;
        console << c;
    }
    const double bareTime = median(bare), textTime = median(withText), consoleTime = median(console);
    std::printf("start-up to the first window shown, median of %d runs each:\n", runs);
    std::printf("bare Qt window:                      %7.1f ms\n", bareTime);
    std::printf("bare Qt window with a menu and text: %7.1f ms\n", textTime);
    std::printf("console:                             %7.1f ms  %.2f x the bare window, %.2f x the one with text\n",
                consoleTime, consoleTime / bareTime, consoleTime / textTime);
    std::printf("target (at most 1.3 x the bare window): %s\n", consoleTime <= 1.3 * bareTime ? "met" : "NOT met");
    return 0;
}
