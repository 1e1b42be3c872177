#include "station_events.h"

#include "simulated_access_point.h"

#include <iterator>

namespace sim {

namespace {
constexpr int kStations = 3;
// One station's visit: in, authenticated, roamed back, out.
constexpr int kVisit[] = {1, 4, 3, 5, 2};
constexpr int kVisitLength = int(std::size(kVisit));
}  // namespace

StationEventSchedule::StationEventSchedule(SimulatedAccessPoint &device, QObject *parent)
    : QObject(parent), device_(device)
{
    connect(&timer_, &QTimer::timeout, this, &StationEventSchedule::sendNext);
}

void StationEventSchedule::start(int intervalMs)
{
    timer_.start(intervalMs);
}

StationEventSchedule::Event StationEventSchedule::eventAt(int step)
{
    QByteArray station = QByteArray::fromHex("020000000000");
    station[5] = char(1 + (step / kVisitLength) % kStations);
    return {kVisit[step % kVisitLength], station};
}

bool StationEventSchedule::sendNext()
{
    const Event event = eventAt(step_);
    step_ = (step_ + 1) % (kVisitLength * kStations);
    return device_.sendStationTrap(event.code, event.station);
}

}  // namespace sim
