// apsim: a simulated Corvane access point on a loopback UDP port, for
// trying the console without hardware and for tests that run it as a
// separate process.

#include "sim/apsim_options.h"
#include "sim/simulated_access_point.h"
#include "sim/station_events.h"
#include "sim/termination_signals.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

QString endpoint(const QHostAddress &address, quint16 port)
{
    const QString host = address.protocol() == QAbstractSocket::IPv6Protocol
                             ? QStringLiteral("[%1]").arg(address.toString())
                             : address.toString();
    return QStringLiteral("%1:%2").arg(host).arg(port);
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("apsim"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(sim::kApsimVersion));
    QTextStream out(stdout);
    QTextStream err(stderr);

    const sim::ApsimCommandLine commandLine = sim::parseApsimCommandLine(QCoreApplication::arguments());
    switch (commandLine.outcome) {
    case sim::ApsimCommandLine::Outcome::ShowHelp:
        out << commandLine.helpText;
        return 0;
    case sim::ApsimCommandLine::Outcome::ShowVersion:
        out << "apsim " << sim::kApsimVersion << Qt::endl;
        return 0;
    case sim::ApsimCommandLine::Outcome::Error:
        err << "apsim: " << commandLine.error << "\nTry apsim --help." << Qt::endl;
        return 2;
    case sim::ApsimCommandLine::Outcome::Run:
        break;
    }
    const sim::ApsimOptions &options = commandLine.options;

    sim::SimulatedAccessPoint agent;
    sim::configure(agent, options);
    QString error;
    if (!agent.start(options.address, options.port, &error)) {
        err << "apsim: cannot listen on " << endpoint(options.address, options.port) << ": " << error << Qt::endl;
        return 1;
    }
    if (!quitOnTerminationSignals())
        err << "apsim: SIGINT, SIGTERM and SIGHUP will end it without clean-up" << Qt::endl;

    out << "listening on " << endpoint(agent.address(), agent.port()) << Qt::endl;
    QObject::connect(&agent, &sim::SimulatedAccessPoint::moved, &app, [&out, &agent](const QHostAddress &to) {
        out << "moved to " << endpoint(to, agent.port()) << Qt::endl;
    });

    sim::StationEventSchedule stations(agent);
    if (options.trapEverySeconds > 0)
        stations.start(options.trapEverySeconds * 1000);

    const int status = QCoreApplication::exec();
    agent.stop();
    return status;
}
