#include "demo_access_point.h"

#include "app_logging.h"
#include "settings/app_settings.h"
#include "sim/simulated_access_point.h"
#include "sim/station_events.h"

#include <QHostAddress>
#include <QUdpSocket>

namespace app {

DemoAccessPoint::DemoAccessPoint() = default;
DemoAccessPoint::~DemoAccessPoint() = default;

quint16 findFreeUdpPort()
{
    // The trap instance binds all IPv4 addresses; the port must be free there.
    QUdpSocket probe;
    if (!probe.bind(QHostAddress::AnyIPv4, 0))
        return 0;
    return probe.localPort();
}

bool DemoAccessPoint::start(settings::CommandLineOptions &options, QString *error)
{
    const QHostAddress loopback(QHostAddress::LocalHost);
    device_ = std::make_unique<sim::SimulatedAccessPoint>();
    if (!device_->start(loopback, 0, error))
        return false;

    options.session.agentPort = device_->port();
    options.session.scanAddress = loopback.toString();
    if (!options.trapPortGiven) {
        const quint16 trapPort = findFreeUdpPort();
        if (trapPort == 0) {
            if (error)
                *error = QStringLiteral("no free UDP port for traps");
            return false;
        }
        options.session.trapPort = trapPort;
    }
    device_->setTrapDestination(loopback, options.session.trapPort);
    device_->eventTraps = true;
    stations_ = std::make_unique<sim::StationEventSchedule>(*device_);
    stations_->start(kStationEventMs);

    tempDir_ = std::make_unique<QTemporaryDir>();
    if (!tempDir_->isValid()) {
        if (error)
            *error = QStringLiteral("cannot make a temporary folder: %1").arg(tempDir_->errorString());
        return false;
    }
    if (options.settingsFile.isEmpty())
        options.settingsFile = tempDir_->filePath(QStringLiteral("demo-settings.ini"));
    if (options.trapLogFile.isEmpty())
        options.trapLogFile = tempDir_->filePath(QStringLiteral("TrapLog.txt"));
    settings::useSettingsFile(options.settingsFile);
    settings::writeSetting(QStringLiteral("BridgeSettings"), QStringLiteral("LastIPaddress"), loopback.toString());
    settings::writeSetting(QStringLiteral("BridgeSettings"), QStringLiteral("LastPassword"),
                 QString::fromLatin1(device_->community));

    qCInfo(lcApp).nospace() << "demo device on " << loopback.toString() << ':' << device_->port()
                            << ", traps to port " << options.session.trapPort << ", trap log "
                            << options.trapLogFile;
    return true;
}

}  // namespace app
