// Live statistics on a simulated device whose counters the test sets:
// each chart's rates are the counters' growth over the time between two
// readings; a counter that goes backwards starts a new line, never a
// negative rate; the CSV holds every reading; Resume reads at once.

#include "app_test_support.h"

#include "dialogs/frm_live_statistics.h"

#include <QFile>
#include <QLabel>
#include <QLineSeries>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using config::StatisticsHistory;
using testing::WindowFixture;

namespace {

// Counters the test sets; every other counter reads 0.
struct Counters {
    quint32 unicastRx, broadcastRx, unicastTx, retries, fcsErrors, ethernetRxBytes, ethernetTxBytes;
};

QByteArray record(int count, const QMap<int, quint32> &values)
{
    QByteArray bytes(4 * count, '\0');
    for (auto it = values.constBegin(); it != values.constEnd(); ++it)
        qToLittleEndian(it.value(), bytes.data() + 4 * (it.key() - 1));
    return bytes;
}

void setCounters(sim::SimulatedAccessPoint &device, const Counters &c)
{
    device.setValue("wirelessStatistics",
                    snmp::Value::octets(record(22, {{5, c.unicastRx}, {6, c.broadcastRx}, {1, c.unicastTx},
                                                    {17, c.retries}, {18, c.fcsErrors}})));
    device.setValue("EthRxStatistics", snmp::Value::octets(record(16, {{1, c.ethernetRxBytes}})));
    device.setValue("EthTxStatistics", snmp::Value::octets(record(14, {{1, c.ethernetTxBytes}})));
}

// Growth per rate, in the order of StatisticsHistory::Rate.
QVector<double> growth(const Counters &a, const Counters &b)
{
    return {double(b.unicastRx - a.unicastRx) + double(b.broadcastRx - a.broadcastRx),
            double(b.unicastTx - a.unicastTx),
            double(b.ethernetRxBytes - a.ethernetRxBytes),
            double(b.ethernetTxBytes - a.ethernetTxBytes),
            double(b.fcsErrors - a.fcsErrors),
            double(b.retries - a.retries)};
}

}  // namespace

class TestLiveStatistics : public QObject {
    Q_OBJECT

private slots:
    void ratesResetsAndCsv()
    {
        WindowFixture f;
        QVERIFY(f.connectDevice());
        const Counters first{1000, 10, 500, 3, 1, 4000000000u, 20000};
        const Counters second{1600, 40, 800, 13, 2, 4000150000u, 26000};
        Counters third = second;
        third.unicastRx = 5;  // the device was reset: this counter starts again
        third.unicastTx = 900;
        setCounters(f.device, first);
        f.window->mnuInfoLiveStatistics->trigger();
        auto *window = qobject_cast<frmLiveStatistics *>(f.window->mdiArea()->activeSubWindow()->widget());
        QVERIFY(window);
        WAIT_COMPARE(window->history().readings().size(), 1);  // read as it opens

        QTest::qWait(40);
        setCounters(f.device, second);
        window->readNow();
        WAIT_COMPARE(window->history().readings().size(), 2);
        const QVector<StatisticsHistory::Reading> &readings = window->history().readings();
        const double seconds = readings[0].at.msecsTo(readings[1].at) / 1000.0;
        const QVector<double> grown = growth(first, second);
        for (int r = 0; r < StatisticsHistory::kRateCount; ++r) {
            const QList<QLineSeries *> lines = window->seriesOf(StatisticsHistory::Rate(r));
            QCOMPARE(lines.size(), 1);
            QCOMPARE(lines[0]->count(), 1);
            QCOMPARE(lines[0]->at(0).y(), grown[r] / seconds);
            QCOMPARE(qint64(lines[0]->at(0).x()), readings[1].at.toMSecsSinceEpoch());
        }

        QTest::qWait(40);
        setCounters(f.device, third);
        window->readNow();
        WAIT_COMPARE(window->history().readings().size(), 3);
        const QList<QLineSeries *> framesIn = window->seriesOf(StatisticsHistory::WirelessFramesIn);
        QCOMPARE(framesIn.size(), 2);  // a new line from the reset on, no point yet
        QCOMPARE(framesIn[1]->count(), 0);
        QCOMPARE(window->seriesOf(StatisticsHistory::WirelessFramesOut).constFirst()->count(), 2);

        // Pause, then Resume reads at once.
        window->PauseCommand->click();
        QCOMPARE(window->PauseCommand->text(), QStringLiteral("&Resume"));
        window->PauseCommand->click();
        WAIT_COMPARE(window->history().readings().size(), 4);

        // The CSV: a header and one line per reading, counters as read.
        const QString path = dir_.filePath("statistics.csv");
        QVERIFY(window->exportCsv(path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().trimmed().split('\n');
        QCOMPARE(lines.size(), 5);
        const QList<QByteArray> header = lines[0].split(',');
        QCOMPARE(header.size(), 1 + 52 + StatisticsHistory::kRateCount);
        const auto cell = [&](int line, const char *column) {
            return QString::fromLatin1(lines[line].split(',').value(int(header.indexOf(column))));
        };
        QCOMPARE(cell(1, "wireless.unicastPacketsRx"), QString::number(first.unicastRx));
        QCOMPARE(cell(2, "ethernet-rx.totalBytes"), QString::number(second.ethernetRxBytes));
        QCOMPARE(cell(3, "wireless.unicastPacketsRx"), QString::number(third.unicastRx));
        QCOMPARE(cell(1, "wireless-frames-in/s"), QString());  // no rate for the first
        // Written with three decimals.
        QVERIFY(qAbs(cell(2, "ethernet-bytes-in/s").toDouble() - grown[StatisticsHistory::EthernetBytesIn] / seconds)
                < 0.001);
        QCOMPARE(cell(3, "wireless-frames-in/s"), QString());  // nor across the reset
        QCOMPARE(QDateTime::fromString(cell(2, "time"), Qt::ISODateWithMs), readings[1].at);

        // Another connect: the readings start again, no rate across devices.
        QVERIFY(f.connectDevice());
        window->readNow();
        WAIT_COMPARE(window->history().readings().size(), 1);
        QCOMPARE(window->seriesOf(StatisticsHistory::WirelessFramesOut).size(), 1);
        QCOMPARE(window->seriesOf(StatisticsHistory::WirelessFramesOut).constFirst()->count(), 0);
    }

private:
    QTemporaryDir dir_;
};

QTEST_MAIN(TestLiveStatistics)
#include "test_live_statistics.moc"
