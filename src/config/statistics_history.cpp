#include "statistics_history.h"

#include "config/counter_names.h"

namespace config {

namespace {

// The counters each rate adds up, by the names countersOf() gives them.
QStringList partsOf(StatisticsHistory::Rate rate)
{
    switch (rate) {
    case StatisticsHistory::WirelessFramesIn:
        return {"wireless.unicastPacketsRx", "wireless.broadcastPacketsRx", "wireless.multicastPacketsRx"};
    case StatisticsHistory::WirelessFramesOut:
        return {"wireless.unicastPacketsTx", "wireless.broadcastPacketsTx", "wireless.multicastPacketsTx"};
    case StatisticsHistory::EthernetBytesIn: return {"ethernet-rx.totalBytes"};
    case StatisticsHistory::EthernetBytesOut: return {"ethernet-tx.totalBytes"};
    case StatisticsHistory::Errors:
        return {"wireless.fcsError", "wireless.failedPackets", "ethernet-rx.packetCRCErrors",
                "ethernet-tx.packetCRCErrors"};
    case StatisticsHistory::Retries: return {"wireless.retryPackets"};
    }
    return {};
}

// Positions of each rate's counters in a reading.
const QVector<QVector<int>> &rateIndexes()
{
    static const QVector<QVector<int>> indexes = [] {
        QStringList names;
        for (const NamedCounter &counter : countersOf(ConfigurationStore()))
            names << counter.name;
        QVector<QVector<int>> all;
        for (int r = 0; r < StatisticsHistory::kRateCount; ++r) {
            QVector<int> positions;
            for (const QString &part : partsOf(StatisticsHistory::Rate(r)))
                positions << int(names.indexOf(part));
            all << positions;
        }
        return all;
    }();
    return indexes;
}

}  // namespace

QString StatisticsHistory::rateTitle(Rate rate)
{
    switch (rate) {
    case WirelessFramesIn: return QStringLiteral("Wireless frames in");
    case WirelessFramesOut: return QStringLiteral("Wireless frames out");
    case EthernetBytesIn: return QStringLiteral("Ethernet bytes in");
    case EthernetBytesOut: return QStringLiteral("Ethernet bytes out");
    case Errors: return QStringLiteral("Errors");
    case Retries: return QStringLiteral("Retries");
    }
    return QString();
}

QString StatisticsHistory::rateColumn(Rate rate)
{
    return rateTitle(rate).toLower().replace(QLatin1Char(' '), QLatin1Char('-')) + QStringLiteral("/s");
}

const StatisticsHistory::Reading &StatisticsHistory::add(const QDateTime &at, const ConfigurationStore &store)
{
    Reading reading;
    reading.at = at;
    for (const NamedCounter &counter : countersOf(store))
        reading.counters << counter.value;
    const Reading *previous = readings_.isEmpty() ? nullptr : &readings_.constLast();
    const qint64 elapsedMs = previous ? previous->at.msecsTo(at) : 0;
    for (int r = 0; r < kRateCount; ++r) {
        bool backwards = false;
        quint64 grown = 0;
        for (int index : rateIndexes()[r]) {
            if (!previous)
                break;
            if (reading.counters[index] < previous->counters[index])
                backwards = true;
            else
                grown += reading.counters[index] - previous->counters[index];
        }
        reading.startsSeries[r] = !previous || backwards;
        // Two readings in the same millisecond say nothing of a rate, but
        // do not break the series either.
        if (reading.startsSeries[r] || elapsedMs <= 0)
            continue;
        reading.rates[r] = double(grown) * 1000.0 / double(elapsedMs);
    }
    readings_.append(reading);
    return readings_.constLast();
}

QByteArray StatisticsHistory::csv() const
{
    QStringList header{QStringLiteral("time")};
    for (const NamedCounter &counter : countersOf(ConfigurationStore()))
        header << counter.name;
    for (int r = 0; r < kRateCount; ++r)
        header << rateColumn(Rate(r));
    QByteArray out = header.join(QLatin1Char(',')).toLatin1() + '\n';
    for (const Reading &reading : readings_) {
        QStringList cells{reading.at.toString(Qt::ISODateWithMs)};
        for (Counter value : reading.counters)
            cells << QString::number(value);
        for (int r = 0; r < kRateCount; ++r)
            cells << (reading.rates[r] ? QString::number(*reading.rates[r], 'f', 3) : QString());
        out += cells.join(QLatin1Char(',')).toLatin1() + '\n';
    }
    return out;
}

}  // namespace config
