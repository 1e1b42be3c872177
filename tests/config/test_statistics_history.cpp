// Rates between two readings of the counters: the growth over the time
// between them, none for a first reading, none and a new series where a
// counter of the rate went backwards, none (but the series goes on) for two
// readings in the same millisecond.

#include "config/statistics_history.h"

#include <QTest>

using config::StatisticsHistory;

class TestStatisticsHistory : public QObject {
    Q_OBJECT

private slots:
    void rates_data()
    {
        QTest::addColumn<quint32>("unicastBefore");
        QTest::addColumn<quint32>("broadcastBefore");
        QTest::addColumn<quint32>("unicastAfter");
        QTest::addColumn<quint32>("broadcastAfter");
        QTest::addColumn<int>("elapsedMs");
        QTest::addColumn<double>("rate");  // wireless frames in; negative: none
        QTest::addColumn<bool>("newSeries");
        QTest::newRow("growth") << 100u << 10u << 700u << 30u << 2000 << 310.0 << false;
        QTest::newRow("high counters") << 4294967000u << 0u << 4294967295u << 5u << 1000 << 300.0 << false;
        QTest::newRow("standing still") << 100u << 10u << 100u << 10u << 5000 << 0.0 << false;
        QTest::newRow("one part went back") << 100u << 10u << 5000u << 3u << 1000 << -1.0 << true;
        QTest::newRow("same millisecond") << 100u << 10u << 200u << 10u << 0 << -1.0 << false;
    }

    void rates()
    {
        QFETCH(quint32, unicastBefore);
        QFETCH(quint32, broadcastBefore);
        QFETCH(quint32, unicastAfter);
        QFETCH(quint32, broadcastAfter);
        QFETCH(int, elapsedMs);
        QFETCH(double, rate);
        QFETCH(bool, newSeries);
        StatisticsHistory history;
        config::ConfigurationStore store;
        const QDateTime start = QDateTime::fromString("2026-05-02T10:00:00.000+02:00", Qt::ISODateWithMs);
        store.wirelessStatistics.unicastPacketsRx = unicastBefore;
        store.wirelessStatistics.broadcastPacketsRx = broadcastBefore;
        const StatisticsHistory::Reading first = history.add(start, store);
        QVERIFY(first.startsSeries[StatisticsHistory::WirelessFramesIn]);
        QVERIFY(!first.rates[StatisticsHistory::WirelessFramesIn]);

        store.wirelessStatistics.unicastPacketsRx = unicastAfter;
        store.wirelessStatistics.broadcastPacketsRx = broadcastAfter;
        store.EthRxStatistics.totalBytes = 1000;
        const StatisticsHistory::Reading second = history.add(start.addMSecs(elapsedMs), store);
        const auto &framesIn = second.rates[StatisticsHistory::WirelessFramesIn];
        QCOMPARE(framesIn.has_value(), rate >= 0);
        if (framesIn)
            QCOMPARE(*framesIn, rate);
        QCOMPARE(second.startsSeries[StatisticsHistory::WirelessFramesIn], newSeries);
        // A rate of other counters goes on whatever this one did.
        QVERIFY(!second.startsSeries[StatisticsHistory::EthernetBytesIn]);

        // The CSV: a header, one line per reading, the counters as read.
        const QList<QByteArray> lines = history.csv().trimmed().split('\n');
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[1].split(',').value(0), QByteArray("2026-05-02T10:00:00.000+02:00"));
        QCOMPARE(lines[2].split(',').value(lines[0].split(',').indexOf("wireless.unicastPacketsRx")),
                 QByteArray::number(unicastAfter));
    }
};

QTEST_GUILESS_MAIN(TestStatisticsHistory)
#include "test_statistics_history.moc"
