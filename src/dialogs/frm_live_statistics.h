#pragma once
// Live statistics: the main counters as rates per second, charted as the
// readings come in. Every few seconds (5 by default, adjustable) the two
// statistics groups are read through the session, and nothing else; Pause
// stops the readings, Resume reads at once and goes on. "Export CSV..."
// writes every reading taken so far: the time, the counters as read and
// the rates. A counter that went backwards (the device was reset) starts a
// new line in its chart instead of a negative rate. Another device managed
// starts the readings again.

#include "config/statistics_history.h"

#include <QList>
#include <QPointer>
#include <QTimer>
#include <QVector>
#include <QWidget>

class QChart;
class QLabel;
class QLineSeries;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace agent {
class DeviceSession;
class ReadJob;
}  // namespace agent

class frmLiveStatistics : public QWidget {
    Q_OBJECT
public:
    static constexpr int kDefaultIntervalSeconds = 5;

    explicit frmLiveStatistics(agent::DeviceSession &session, QWidget *parent = nullptr);

    // What was read so far, in order.
    const config::StatisticsHistory &history() const { return history_; }
    // The lines the chart of `rate` draws, one per series (a reset starts one).
    QList<QLineSeries *> seriesOf(config::StatisticsHistory::Rate rate) const { return series_[rate]; }
    // Every reading so far as CSV to `path`; the reading label says how it went.
    bool exportCsv(const QString &path);

    QTabWidget *ChartTabs = nullptr;
    QSpinBox *IntervalSpin = nullptr;
    QPushButton *PauseCommand = nullptr;
    QPushButton *ExportCommand = nullptr;
    QPushButton *CloseCommand = nullptr;
    QLabel *ReadingLabel = nullptr;

public slots:
    // Reads the statistics now (unless a reading is still on its way).
    void readNow();
    void PauseCommand_Click();
    void ExportCommand_Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QChart *addChart(const QString &tab, const QString &title, const QString &unit);
    void plot(const config::StatisticsHistory::Reading &reading);
    void fitAxes(QChart *chart);
    void startAgain();
    bool paused() const { return !timer_.isActive(); }

    agent::DeviceSession &session_;
    config::StatisticsHistory history_;
    QTimer timer_;
    QPointer<agent::ReadJob> reading_;
    bool started_ = false;
    QVector<QChart *> charts_;                                 // frames, bytes, errors
    QList<QLineSeries *> series_[config::StatisticsHistory::kRateCount];
};
