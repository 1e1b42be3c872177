#pragma once
// The statistics counters read one after another, and the main ones as
// rates per second between two readings: wireless frames in and out,
// Ethernet bytes in and out, errors, retries. A rate made of a counter
// that went backwards (the device was reset, or the counter wrapped) is
// no rate: the next reading starts a new series instead of a negative or
// enormous value. The readings go out as CSV: the time, every counter as
// read, and the rates.

#include "config/configuration_store.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace config {

class StatisticsHistory {
public:
    enum Rate { WirelessFramesIn, WirelessFramesOut, EthernetBytesIn, EthernetBytesOut, Errors, Retries };
    static constexpr int kRateCount = Retries + 1;
    // "Wireless frames in", as a chart's legend shows it.
    static QString rateTitle(Rate rate);
    // "wireless-frames-in/s", as a CSV column.
    static QString rateColumn(Rate rate);

    struct Reading {
        QDateTime at;
        QVector<Counter> counters;  // every counter, in the order countersOf() names them
        std::optional<double> rates[kRateCount];  // none for the first reading of a series
        bool startsSeries[kRateCount] = {};        // the first, or after a counter went backwards
    };

    // The store's counters as read at `at`.
    const Reading &add(const QDateTime &at, const ConfigurationStore &store);
    const QVector<Reading> &readings() const { return readings_; }
    void clear() { readings_.clear(); }

    // time,<each counter>,<each rate>: one line per reading, rates empty
    // where there is none; times in ISO 8601 with milliseconds and offset.
    QByteArray csv() const;

private:
    QVector<Reading> readings_;
};

}  // namespace config
