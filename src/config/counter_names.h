#pragma once
// The device's counters by name, for front ends that list them (a script's
// table, an exporter's metrics): "wireless.unicastPacketsTx",
// "ethernet-rx.totalBytes", "ethernet-tx.totalCollisions", in the order the
// device sends them: the wireless record, then Ethernet receive and transmit.

#include "config/configuration_store.h"

#include <QString>
#include <QVector>

namespace config {

struct NamedCounter {
    QString name;
    Counter value = 0;
};

QVector<NamedCounter> countersOf(const ConfigurationStore &store);

}  // namespace config
