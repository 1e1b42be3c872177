#pragma once
// What happens when the trap instance receives a trap: a trap from the
// connected device becomes an entry of the in-memory trap log and, while
// saving is on, of the trap log file; the status line says "Trap Received"
// and the trap mark comes on. Traps from anyone else, or before a device is
// connected, are dropped without a word.
//
// Per trap the work is small and fixed: no MIB lookup by name, the entry
// built in one buffer, the file opened, written once and closed. Windows
// that show the log read it on their own timer, not per trap.

#include "time_of_day.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

namespace snmp {
class Mib;
class SnmpManager;
}  // namespace snmp

namespace traps {

class TrapReception : public QObject {
    Q_OBJECT
public:
    using StatusSink = std::function<void(const QString &)>;

    // The references are the session's shared state: the trap instance, the
    // MIB, the connected device's address and the connected flag.
    TrapReception(snmp::SnmpManager &trapManager, const snmp::Mib &mib, const QString &agentAddress,
                  const bool &connected, StatusSink showStatus, QObject *parent = nullptr);

    // Entries since start-up or the last "Clear all", oldest first. Other
    // windows read and assign it.
    QString TrapLog;
    // Longer than this when a trap arrives: emptied before the entry goes in.
    static constexpr int kTrapLogLimit = 20000;

    // The log file; until one is set, beside the program or in the user's
    // data folder (defaultTrapLogPath).
    void setLogFilePath(const QString &path) { logFilePath_ = path; }
    QString logFilePath() const;

    // The time of day written into each entry (tests fix it).
    void setTimeSource(std::function<QString()> timeText) { timeText_ = std::move(timeText); }

    // A burst of traps must wait in the system's queue while the window is
    // busy; asks for a receive buffer of `bytes` and returns what the
    // system granted (0 when the trap instance is not open).
    static constexpr int kReceiveBufferBytes = 8 * 1024 * 1024;
    int enlargeReceiveBuffer(int bytes = kReceiveBufferBytes);

    // The handler of the trap instance's Trap event.
    void Manager2_Trap();

    int loggedTraps() const { return logged_; }
    int droppedTraps() const { return dropped_; }

signals:
    // A trap from the device was taken: the trap mark goes on.
    void trapMarkShown();

private:
    const QByteArray *mibTextOf(qint32 code);

    snmp::SnmpManager &manager_;
    const snmp::Mib &mib_;
    const QString &agentAddress_;
    const bool &connected_;
    StatusSink showStatus_;
    std::function<QString()> timeText_;
    mutable QString logFilePath_;
    // Each code's text as the entry writes it, made on its first trap;
    // a code the MIB does not define is remembered as absent.
    QHash<qint32, std::optional<QByteArray>> mibTexts_;
    QString lastFileError_;
    int logged_ = 0;
    int dropped_ = 0;
};

}  // namespace traps
