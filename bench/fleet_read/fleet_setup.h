#pragma once
// What the fleet benchmark needs around the measurement: the simulated
// fleet as a process of its own, the nine requests of a connect as object
// identifiers, the process's memory and file limits.

#include "snmp/ber.h"

#include <QHostAddress>
#include <QProcess>
#include <QVector>

namespace fleet {

struct Device {
    QHostAddress address;
    quint16 port = 0;
};

// apsim --count `count` from 127.0.1.1, each device answering after
// `delayMs`; the devices as it reports them. Empty on failure, with `error`.
QVector<Device> startFleet(QProcess &apsim, const QString &program, int count, int delayMs, QString &error);

// The sysDescr probe, then the eight groups of the full read in order:
// each entry the scalar instances one GET asks for.
QVector<QVector<snmp::Oid>> connectRequests(const QString &mibPath, QString &error);

struct Memory {
    double residentMiB = 0;  // VmRSS
    double peakMiB = 0;      // VmHWM
};
Memory memoryNow();

// Makes room for `files` open files (the soft limit up to the hard one).
bool allowOpenFiles(int files);

}  // namespace fleet
