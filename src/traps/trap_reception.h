#pragma once
// What happens when the trap instance receives a trap: a trap from the
// connected device becomes an entry of the in-memory trap log and, while
// saving is on, of the trap log file; the status line says "Trap Received"
// and the trap mark comes on. Traps from anyone else, or before a device is
// connected, are dropped without a word.
//
// Per trap the work is small and fixed: no MIB lookup by name, the entry
// built in one buffer. Traps that arrive together (the trap instance hands
// over what one turn of the event loop read) are a burst: the clock is read
// and the status line told once per burst, and the burst's entries go to
// the file, which stays open, in one write once the burst is handled.
// Windows that show the log read it on their own timer, not per trap.

#include "time_of_day.h"
#include "trap_log_file.h"

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
    // The trap instance and the MIB; the address of the device the console
    // manages (empty: none), and whether traps go to the file too.
    TrapReception(snmp::SnmpManager &trapManager, const snmp::Mib &mib, std::function<QString()> managedDevice,
                  std::function<bool()> savingToFile, QObject *parent = nullptr);

    // Entries since start-up or the last "Clear all", oldest first. Other
    // windows read and assign it.
    QString TrapLog;
    // Longer than this when a trap arrives: emptied before the entry goes in.
    static constexpr int kTrapLogLimit = 20000;

    // The log file; until one is set, beside the program or in the user's
    // data folder (defaultTrapLogPath).
    void setLogFilePath(const QString &path);
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
    // The end of a burst: its entries go to the file. Runs by itself once
    // the burst is handled; here for whoever must have the file now.
    void flush();
    ~TrapReception() override;

    // Traps taken into the log (and, while saving is on, offered to the
    // file) and traps dropped as not from the connected device.
    int loggedTraps() const { return logged_; }
    int droppedTraps() const { return dropped_; }

signals:
    // A burst of traps from the device began: the status line says so and
    // the trap mark goes on.
    void trapMarkShown();
    // Entries could not be written to the file (they stay in memory): why.
    void fileProblem(const QString &why);
    // Each entry as it goes into TrapLog (the Trap Recorder keeps its own
    // view, which outlives the log's size rule).
    void entryLogged(const QString &entry);

private:
    const QByteArray *mibTextOf(qint32 code);

    snmp::SnmpManager &manager_;
    const snmp::Mib &mib_;
    std::function<QString()> managedDevice_;
    std::function<bool()> savingToFile_;
    std::function<QString()> timeText_;
    mutable TrapLogFile file_;
    // The burst being handled: its time of day, its entries for the file
    // and where each ends, how many it took.
    bool burstOpen_ = false;
    QString burstTime_;
    QByteArray pendingFile_;
    QList<qsizetype> pendingEnds_;
    int burstEntries_ = 0;
    // Each code's text as the entry writes it, made on its first trap;
    // a code the MIB does not define is remembered as absent.
    QHash<qint32, std::optional<QByteArray>> mibTexts_;
    QString lastFileError_;
    int logged_ = 0;
    int dropped_ = 0;
};

}  // namespace traps
