#pragma once
// Wireless stations coming and going on a schedule, each event sent as the
// device's station trap: a few stations take turns to associate,
// authenticate, reassociate, deauthenticate and disassociate. The demo and
// apsim --trap-every use it so that a console sees traps arriving.

#include <QByteArray>
#include <QObject>
#include <QTimer>

namespace sim {

class SimulatedAccessPoint;

class StationEventSchedule : public QObject {
    Q_OBJECT
public:
    explicit StationEventSchedule(SimulatedAccessPoint &device, QObject *parent = nullptr);

    void start(int intervalMs);
    void stop() { timer_.stop(); }

    struct Event {
        int code;  // stationAssociated(1) ... stationDeauthenticated(5)
        QByteArray station;
    };
    // The event of step `step` (0, 1, 2, ...): the schedule repeats itself.
    static Event eventAt(int step);
    // Sends the next event; false when the device sent no trap (traps
    // switched off, no destination).
    bool sendNext();

private:
    SimulatedAccessPoint &device_;
    QTimer timer_;
    int step_ = 0;
};

}  // namespace sim
