#pragma once
// What one scrape of one device found: whether the device answered, its
// counters when it did, its identity (read now or kept from an earlier
// scrape), and what the scrape cost.

#include "agent/identity_job.h"
#include "config/configuration_store.h"

#include <QString>
#include <optional>

namespace exporter {

struct DeviceCounters {
    config::WirelessStatisticsRecord wireless;
    config::EthRxStatisticsRecord ethernetRx;
    config::EthTxStatisticsRecord ethernetTx;
};

struct ScrapeOutcome {
    bool up = false;                   // every counter came back and decoded
    std::optional<DeviceCounters> counters;         // when up
    std::optional<agent::DeviceIdentity> identity;  // when known
    int exchanges = 0;                 // GET requests the read sent (resends not counted)
    double durationSeconds = 0;        // from the scrape's arrival to its answer
    QString problem;                   // why not up, for the log
};

}  // namespace exporter
