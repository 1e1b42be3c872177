#pragma once
// The exporter's own figures, at /metrics without a target: how many
// scrapes it answered and how many of them found the device down, what is
// in flight, what it refused, and the process's memory.

#include <QByteArray>
#include <QtGlobal>

namespace exporter {

struct ExporterFigures {
    quint64 scrapes = 0;          // device scrapes answered
    quint64 scrapeFailures = 0;   // of them, with the device not up
    quint64 reads = 0;            // device reads started (scrapes that shared one count once)
    quint64 badRequests = 0;      // answered 400
    quint64 forbidden = 0;        // answered 403
    int inFlight = 0;             // device scrapes not answered yet
    int knownDevices = 0;
    quint64 datagramsSent = 0;    // SNMP datagrams, resends included
    qint64 residentBytes = 0;     // 0: not known on this system
    double startTimeSeconds = 0;  // since the epoch
};

QByteArray exporterMetricsText(const ExporterFigures &figures);

// The process's resident memory in bytes; 0 when the system does not say.
qint64 residentMemoryBytes();

}  // namespace exporter
