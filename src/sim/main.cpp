// apsim: a simulated Corvane access point on a loopback UDP port, for
// trying the console without hardware and for tests that run it as a
// separate process; with --count, a fleet of them in one process.

#include "sim/apsim_options.h"
#include "sim/factory_values.h"
#include "sim/simulated_access_point.h"
#include "sim/station_events.h"
#include "sim/termination_signals.h"

#include <QCoreApplication>
#include <QTextStream>

#include <memory>
#include <sys/resource.h>
#include <vector>

namespace {

// Sockets and files apsim needs besides one socket per device.
constexpr int kFilesBesideDevices = 64;

// A few hundred devices need more sockets than some systems allow a
// process by default: the soft limit goes up as far as the hard one.
bool raiseOpenFileLimit(int needed, QString *error)
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= rlim_t(needed))
        return true;
    const rlim_t wanted = limit.rlim_max == RLIM_INFINITY ? rlim_t(needed) : qMin(rlim_t(needed), limit.rlim_max);
    limit.rlim_cur = wanted;
    if (::setrlimit(RLIMIT_NOFILE, &limit) != 0 || wanted < rlim_t(needed)) {
        *error = QStringLiteral("only %1 open files allowed, %2 devices may not all start")
                     .arg(qulonglong(wanted)).arg(needed - kFilesBesideDevices);
        return false;
    }
    return true;
}

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

    const QVector<QHostAddress> addresses = sim::deviceAddresses(options);
    QString error;
    if (!raiseOpenFileLimit(addresses.size() + kFilesBesideDevices, &error))
        err << "apsim: " << error << Qt::endl;

    // Each device its own agent, store and socket; they share only the event loop.
    std::vector<std::unique_ptr<sim::SimulatedAccessPoint>> devices;
    std::vector<std::unique_ptr<sim::StationEventSchedule>> stations;
    devices.reserve(size_t(addresses.size()));
    for (const QHostAddress &address : addresses) {
        auto agent = std::make_unique<sim::SimulatedAccessPoint>();
        sim::configure(*agent, options);
        // A fleet's devices tell themselves apart by their Ethernet address,
        // as real ones do: the first keeps the factory address, each next
        // one counts up from it.
        if (const quint32 index = quint32(devices.size()); index > 0) {
            QByteArray mac = sim::factory::macAddress();
            const quint32 low = (quint32(quint8(mac[3])) << 16 | quint32(quint8(mac[4])) << 8 | quint8(mac[5])) + index;
            mac[3] = char(low >> 16);
            mac[4] = char(low >> 8);
            mac[5] = char(low);
            agent->setValue(QStringLiteral("operEthernetAddress"), snmp::Value::octets(mac));
        }
        if (!agent->start(address, options.port, &error)) {
            err << "apsim: cannot listen on " << endpoint(address, options.port) << ": " << error << Qt::endl;
            return 1;
        }
        devices.push_back(std::move(agent));
    }
    if (!quitOnTerminationSignals())
        err << "apsim: SIGINT, SIGTERM and SIGHUP will end it without clean-up" << Qt::endl;

    for (const auto &agent : devices) {
        sim::SimulatedAccessPoint *device = agent.get();
        out << "listening on " << endpoint(device->address(), device->port()) << Qt::endl;
        QObject::connect(device, &sim::SimulatedAccessPoint::moved, &app, [&out, device](const QHostAddress &to) {
            out << "moved to " << endpoint(to, device->port()) << Qt::endl;
        });
        if (options.trapEverySeconds > 0) {
            stations.push_back(std::make_unique<sim::StationEventSchedule>(*device));
            stations.back()->start(options.trapEverySeconds * 1000);
        }
    }

    const int status = QCoreApplication::exec();
    stations.clear();
    for (const auto &agent : devices)
        agent->stop();
    return status;
}
