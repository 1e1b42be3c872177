#pragma once
// --demo: a simulated access point inside the program, on the loopback
// interface only, and the console pointed at it.
//
// The simulated device listens on 127.0.0.1 at a free UDP port, which
// becomes the agent port. The scan goes to 127.0.0.1 as well (a loopback
// broadcast would reach only sockets bound to 0.0.0.0), the trap port is a
// free one and the device sends its traps there: for its own events (a
// changed setting, a new address, a reset, restored defaults) and for
// wireless stations coming and going every few seconds. The settings and
// the trap log live in a temporary folder unless --settings or --trap-log
// name files; either way the connect dialog offers 127.0.0.1 and the
// device's community. Nothing leaves the machine.

#include "settings/command_line_options.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace sim {
class SimulatedAccessPoint;
class StationEventSchedule;
}  // namespace sim

namespace app {

class DemoAccessPoint {
public:
    DemoAccessPoint();
    ~DemoAccessPoint();

    // Starts the device and rewrites `options` to use it. Returns false and
    // fills `error` when it cannot be started.
    bool start(settings::CommandLineOptions &options, QString *error);

    sim::SimulatedAccessPoint *device() const { return device_.get(); }

    // A station trap this often.
    static constexpr int kStationEventMs = 4000;

private:
    std::unique_ptr<sim::SimulatedAccessPoint> device_;
    std::unique_ptr<sim::StationEventSchedule> stations_;
    std::unique_ptr<QTemporaryDir> tempDir_;  // settings and trap log
};

// A UDP port nobody uses right now (0 when none could be found).
quint16 findFreeUdpPort();

}  // namespace app
