#pragma once
// A device's figures as Prometheus metrics: its 52 counters (22 of the
// radio, 16 Ethernet receive, 14 Ethernet transmit) with their units in
// their names, the channel, an info metric with its identity, and what the
// scrape itself found and cost.

#include "metrics_text.h"
#include "scrape_outcome.h"

#include <QVector>

namespace exporter {

struct CounterMetric {
    enum class Record { Wireless, EthernetRx, EthernetTx };
    QString name;  // corvane_..._total
    QString help;
    Record record;
    int k;  // 1-based, in the order the device sends them
};

// The 52 counters, in the device's order.
const QVector<CounterMetric> &counterMetrics();

quint32 counterValue(const DeviceCounters &counters, const CounterMetric &metric);

QByteArray deviceMetricsText(const ScrapeOutcome &outcome);

}  // namespace exporter
