#pragma once
// Command line of the apsim program, parsed into the settings of one
// simulated access point. Kept apart from main() so tests can parse.

#include "simulated_access_point.h"

#include <QHostAddress>
#include <QString>
#include <QStringList>
#include <QVector>

namespace sim {

struct ApsimOptions {
    QHostAddress address = QHostAddress(QHostAddress::LocalHost);  // the first device's
    int count = 1;  // devices, on consecutive addresses from `address`
    quint16 port = 1161;
    QByteArray community = "kavrel";
    bool allowAnyAddress = false;
    QHostAddress trapAddress;  // null: no traps
    quint16 trapPort = 0;
    int trapEverySeconds = 0;  // 0: no periodic trap
    bool moveOnReset = false;
    bool eventTraps = false;
    Faults faults;
};

struct ApsimCommandLine {
    enum class Outcome { Run, ShowHelp, ShowVersion, Error };
    Outcome outcome = Outcome::Error;
    ApsimOptions options;
    QString error;     // for Outcome::Error
    QString helpText;  // always filled
};

// `arguments` includes the program name first, as QCoreApplication gives it.
ApsimCommandLine parseApsimCommandLine(const QStringList &arguments);

// Where each device listens: `count` consecutive addresses from `address`.
QVector<QHostAddress> deviceAddresses(const ApsimOptions &options);

// The most devices one process serves.
inline constexpr int kMaxDevices = 4096;

// Applies the options to an agent that has not been started yet.
void configure(SimulatedAccessPoint &agent, const ApsimOptions &options);

inline constexpr const char *kApsimVersion = "1.0.0";

}  // namespace sim
