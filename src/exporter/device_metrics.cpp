#include "device_metrics.h"

namespace exporter {

namespace {

using Record = CounterMetric::Record;

CounterMetric counter(Record record, int k, const char *name, const char *help)
{
    return CounterMetric{QStringLiteral("corvane_%1_total").arg(QLatin1String(name)), QLatin1String(help), record, k};
}

QVector<CounterMetric> buildCounterMetrics()
{
    const Record W = Record::Wireless;
    const Record R = Record::EthernetRx;
    const Record T = Record::EthernetTx;
    return {
        counter(W, 1, "wireless_unicast_tx_packets", "Unicast packets the radio transmitted."),
        counter(W, 2, "wireless_broadcast_tx_packets", "Broadcast packets the radio transmitted."),
        counter(W, 3, "wireless_multicast_tx_packets", "Multicast packets the radio transmitted."),
        counter(W, 4, "wireless_beacon_tx_frames", "Beacon frames the radio transmitted."),
        counter(W, 5, "wireless_unicast_rx_packets", "Unicast packets the radio received."),
        counter(W, 6, "wireless_broadcast_rx_packets", "Broadcast packets the radio received."),
        counter(W, 7, "wireless_multicast_rx_packets", "Multicast packets the radio received."),
        counter(W, 8, "wireless_beacon_rx_frames", "Beacon frames the radio received."),
        counter(W, 9, "wireless_ack_tx_frames", "ACK frames the radio transmitted."),
        counter(W, 10, "wireless_rts_tx_frames", "RTS frames the radio transmitted."),
        counter(W, 11, "wireless_cts_tx_frames", "CTS frames the radio transmitted."),
        counter(W, 12, "wireless_ack_rx_frames", "ACK frames the radio received."),
        counter(W, 13, "wireless_rts_rx_frames", "RTS frames the radio received."),
        counter(W, 14, "wireless_cts_rx_frames", "CTS frames the radio received."),
        counter(W, 15, "wireless_ack_failures", "Transmissions whose ACK never came."),
        counter(W, 16, "wireless_cts_failures", "RTS frames whose CTS never came."),
        counter(W, 17, "wireless_retry_packets", "Packets the radio transmitted again."),
        counter(W, 18, "wireless_fcs_error_frames", "Frames received with a frame check sequence error."),
        counter(W, 19, "wireless_duplicate_rx_frames", "Duplicate frames received."),
        counter(W, 20, "wireless_failed_packets", "Packets the radio failed to transmit."),
        counter(W, 21, "wireless_aged_packets", "Packets dropped for waiting too long to be sent."),
        counter(W, 22, "wireless_invalid_plcp_frames", "Frames received with an invalid PLCP header."),

        counter(R, 1, "ethernet_rx_bytes", "Bytes received on the Ethernet port."),
        counter(R, 2, "ethernet_rx_packets", "Packets received on the Ethernet port."),
        counter(R, 3, "ethernet_rx_crc_error_packets", "Packets received with a CRC error."),
        counter(R, 4, "ethernet_rx_multicast_packets", "Multicast packets received on the Ethernet port."),
        counter(R, 5, "ethernet_rx_broadcast_packets", "Broadcast packets received on the Ethernet port."),
        counter(R, 6, "ethernet_rx_control_frames", "Control frames received on the Ethernet port."),
        counter(R, 7, "ethernet_rx_pause_frames", "Pause frames received on the Ethernet port."),
        counter(R, 8, "ethernet_rx_unknown_opcode_frames", "Control frames received with an unknown opcode."),
        counter(R, 9, "ethernet_rx_alignment_error_packets", "Packets received with an alignment error."),
        counter(R, 10, "ethernet_rx_length_out_of_range_packets", "Packets received whose length field is out of range."),
        counter(R, 11, "ethernet_rx_code_error_packets", "Packets received with a code error."),
        counter(R, 12, "ethernet_rx_false_carrier_events", "False carrier events on the Ethernet port."),
        counter(R, 13, "ethernet_rx_undersize_packets", "Packets received shorter than the shortest frame."),
        counter(R, 14, "ethernet_rx_oversize_packets", "Packets received longer than the longest frame."),
        counter(R, 15, "ethernet_rx_fragments", "Fragments received on the Ethernet port."),
        counter(R, 16, "ethernet_rx_jabber_packets", "Jabber packets received on the Ethernet port."),

        counter(T, 1, "ethernet_tx_bytes", "Bytes transmitted on the Ethernet port."),
        counter(T, 2, "ethernet_tx_packets", "Packets transmitted on the Ethernet port."),
        counter(T, 3, "ethernet_tx_crc_error_packets", "Packets transmitted with a CRC error."),
        counter(T, 4, "ethernet_tx_multicast_packets", "Multicast packets transmitted on the Ethernet port."),
        counter(T, 5, "ethernet_tx_broadcast_packets", "Broadcast packets transmitted on the Ethernet port."),
        counter(T, 6, "ethernet_tx_unicast_packets", "Unicast packets transmitted on the Ethernet port."),
        counter(T, 7, "ethernet_tx_pause_frames", "Pause frames transmitted on the Ethernet port."),
        counter(T, 8, "ethernet_tx_single_deferred_packets", "Packets transmitted after one deferral."),
        counter(T, 9, "ethernet_tx_multiple_deferred_packets", "Packets transmitted after more than one deferral."),
        counter(T, 10, "ethernet_tx_single_collision_packets", "Packets transmitted after one collision."),
        counter(T, 11, "ethernet_tx_multiple_collision_packets", "Packets transmitted after more than one collision."),
        counter(T, 12, "ethernet_tx_late_collisions", "Late collisions on the Ethernet port."),
        counter(T, 13, "ethernet_tx_excessive_collisions", "Packets given up after excessive collisions."),
        counter(T, 14, "ethernet_tx_collisions", "Collisions on the Ethernet port."),
    };
}

}  // namespace

const QVector<CounterMetric> &counterMetrics()
{
    static const QVector<CounterMetric> metrics = buildCounterMetrics();
    return metrics;
}

quint32 counterValue(const DeviceCounters &counters, const CounterMetric &metric)
{
    switch (metric.record) {
    case Record::Wireless: return counters.wireless.at(metric.k);
    case Record::EthernetRx: return counters.ethernetRx.at(metric.k);
    case Record::EthernetTx: return counters.ethernetTx.at(metric.k);
    }
    return 0;
}

QByteArray deviceMetricsText(const ScrapeOutcome &outcome)
{
    using Type = MetricsText::Type;
    MetricsText out;
    out.single(QStringLiteral("corvane_up"), Type::Gauge,
               QStringLiteral("1 when the device answered this scrape with all its counters, 0 otherwise."),
               outcome.up ? 1 : 0);
    out.single(QStringLiteral("corvane_scrape_duration_seconds"), Type::Gauge,
               QStringLiteral("Time this scrape took, from the request to the answer."), outcome.durationSeconds);
    out.single(QStringLiteral("corvane_scrape_exchanges"), Type::Gauge,
               QStringLiteral("SNMP GET requests sent to the device for this scrape (resends not counted)."),
               outcome.exchanges);
    if (outcome.identity) {
        const agent::DeviceIdentity &id = *outcome.identity;
        out.single(QStringLiteral("corvane_device_info"), Type::Gauge,
                   QStringLiteral("The device's identity in its labels; the value is always 1."), 1,
                   {{QStringLiteral("essid"), id.essid},
                    {QStringLiteral("firmware"), id.firmware},
                    {QStringLiteral("mac"), id.defaultMACAddress},
                    {QStringLiteral("manufacturer"), id.manufactureName},
                    {QStringLiteral("description"), id.description}});
        out.single(QStringLiteral("corvane_wireless_channel"), Type::Gauge,
                   QStringLiteral("Radio channel (1 to 14) as of the last identity read."), id.channel);
    }
    if (outcome.counters) {
        for (const CounterMetric &metric : counterMetrics()) {
            out.family(metric.name, Type::Counter, metric.help);
            out.sample(metric.name, quint64(counterValue(*outcome.counters, metric)));
        }
    }
    return out.text();
}

}  // namespace exporter
