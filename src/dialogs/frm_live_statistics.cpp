#include "frm_live_statistics.h"

#include "agent/device_session.h"
#include "agent/read_job.h"
#include "dialogs/status_texts.h"
#include "widgets/accessibility.h"

#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QTabWidget>
#include <QValueAxis>
#include <QVBoxLayout>

using config::StatisticsHistory;

namespace {

// The chart each rate is drawn in, and its colour there.
int chartOf(StatisticsHistory::Rate rate)
{
    return int(rate) / 2;
}
QColor colourOf(StatisticsHistory::Rate rate)
{
    return int(rate) % 2 == 0 ? QColor(0x1f, 0x77, 0xb4) : QColor(0xd6, 0x27, 0x28);
}

}  // namespace

frmLiveStatistics::frmLiveStatistics(agent::DeviceSession &session, QWidget *parent)
    : QWidget(parent), session_(session)
{
    widgets::makeAccessible(this);
    setObjectName(QStringLiteral("frmLiveStatistics"));
    setWindowTitle(QStringLiteral("Live Statistics"));
    setAttribute(Qt::WA_DeleteOnClose);

    ChartTabs = new QTabWidget(this);
    ChartTabs->setObjectName(QStringLiteral("ChartTabs"));
    addChart(QStringLiteral("&Frames"), QStringLiteral("Wireless frames per second"), QStringLiteral("frames/s"));
    addChart(QStringLiteral("&Bytes"), QStringLiteral("Ethernet bytes per second"), QStringLiteral("bytes/s"));
    addChart(QStringLiteral("E&rrors"), QStringLiteral("Errors and retries per second"), QStringLiteral("per s"));

    IntervalSpin = new QSpinBox(this);
    IntervalSpin->setObjectName(QStringLiteral("IntervalSpin"));
    IntervalSpin->setRange(1, 300);
    IntervalSpin->setValue(kDefaultIntervalSeconds);
    IntervalSpin->setSuffix(QStringLiteral(" s"));
    auto *intervalLabel = new QLabel(QStringLiteral("Read e&very"), this);
    intervalLabel->setBuddy(IntervalSpin);
    PauseCommand = new QPushButton(QStringLiteral("&Pause"), this);
    PauseCommand->setObjectName(QStringLiteral("PauseCommand"));
    ExportCommand = new QPushButton(QStringLiteral("E&xport CSV..."), this);
    ExportCommand->setObjectName(QStringLiteral("ExportCommand"));
    CloseCommand = new QPushButton(QStringLiteral("C&lose"), this);
    CloseCommand->setObjectName(QStringLiteral("CloseCommand"));
    ReadingLabel = new QLabel(this);
    ReadingLabel->setObjectName(QStringLiteral("ReadingLabel"));
    ReadingLabel->setWordWrap(true);

    auto *controls = new QHBoxLayout;
    controls->addWidget(intervalLabel);
    controls->addWidget(IntervalSpin);
    controls->addStretch();
    controls->addWidget(PauseCommand);
    controls->addWidget(ExportCommand);
    controls->addWidget(CloseCommand);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ChartTabs, 1);
    layout->addWidget(ReadingLabel);
    layout->addLayout(controls);
    // Fits in the main window at its default size.
    resize(410, 300);

    connect(&timer_, &QTimer::timeout, this, &frmLiveStatistics::readNow);
    connect(IntervalSpin, &QSpinBox::valueChanged, this, [this](int seconds) {
        if (!paused())
            timer_.start(seconds * 1000);
    });
    connect(PauseCommand, &QPushButton::clicked, this, &frmLiveStatistics::PauseCommand_Click);
    connect(ExportCommand, &QPushButton::clicked, this, &frmLiveStatistics::ExportCommand_Click);
    connect(CloseCommand, &QPushButton::clicked, this, &QWidget::close);
    // Another device's counters are no continuation of this one's.
    connect(&session_, &agent::DeviceSession::managedDeviceChanged, this, &frmLiveStatistics::startAgain);
}

void frmLiveStatistics::startAgain()
{
    history_.clear();
    for (auto &lines : series_) {
        for (QLineSeries *line : std::as_const(lines))
            delete line;  // a series deleted leaves its chart
        lines.clear();
    }
    ReadingLabel->setText(QStringLiteral("Readings start again with the device now managed."));
}

QChart *frmLiveStatistics::addChart(const QString &tab, const QString &title, const QString &unit)
{
    auto *chart = new QChart;
    chart->setTitle(title);
    chart->legend()->setAlignment(Qt::AlignTop);
    chart->setMargins(QMargins(2, 2, 2, 2));
    auto *time = new QDateTimeAxis(chart);
    time->setFormat(QStringLiteral("HH:mm:ss"));
    time->setTickCount(4);
    time->setTitleText(QStringLiteral("time"));
    chart->addAxis(time, Qt::AlignBottom);
    // A time axis shown before it has a range of its own stays hidden for good.
    const QDateTime now = QDateTime::currentDateTime();
    time->setRange(now, now.addSecs(10));
    auto *values = new QValueAxis(chart);
    values->setMin(0);
    values->setLabelFormat(QStringLiteral("%.0f"));
    values->setTitleText(unit);
    chart->addAxis(values, Qt::AlignLeft);
    auto *view = new QChartView(chart, ChartTabs);
    view->setObjectName(QStringLiteral("ChartView%1").arg(charts_.size() + 1));
    view->setRenderHint(QPainter::Antialiasing);
    view->setAccessibleName(title);
    ChartTabs->addTab(view, tab);
    charts_.append(chart);
    return chart;
}

void frmLiveStatistics::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The first reading as the window opens, then at the interval.
    if (!started_) {
        started_ = true;
        timer_.start(IntervalSpin->value() * 1000);
        readNow();
    }
}

void frmLiveStatistics::readNow()
{
    if (reading_)
        return;  // the last one is still on its way
    const QString at = QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
    // Work under way (a download, a poll) goes first: this reading is
    // skipped, the next tick tries again.
    if (const auto refusal = session_.refusal()) {
        ReadingLabel->setText(*refusal == agent::SessionReport::NoDevice
                                  ? QStringLiteral("Not read at %1: no device is connected.").arg(at)
                                  : QStringLiteral("Not read at %1: the console is busy with the device.").arg(at));
        return;
    }
    reading_ = session_.refreshStatistics();
    if (!reading_)
        return;
    connect(reading_, &agent::Job::finished, this, [this](const agent::JobResult &result) {
        const QString at = QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
        if (!result.ok()) {
            ReadingLabel->setText(QStringLiteral("Reading at %1 failed: %2").arg(at, dialogs::readFailureText(result)));
            return;
        }
        plot(history_.add(QDateTime::currentDateTime(), session_.device().store()));
        ReadingLabel->setText(QStringLiteral("%1 reading(s), the last at %2%3.")
                                  .arg(history_.readings().size())
                                  .arg(at, paused() ? QStringLiteral("; paused") : QString()));
    });
}

void frmLiveStatistics::plot(const StatisticsHistory::Reading &reading)
{
    const qreal x = qreal(reading.at.toMSecsSinceEpoch());
    for (int r = 0; r < StatisticsHistory::kRateCount; ++r) {
        const auto rate = StatisticsHistory::Rate(r);
        QChart *chart = charts_[chartOf(rate)];
        if (reading.startsSeries[r]) {
            auto *line = new QLineSeries(chart);
            line->setName(StatisticsHistory::rateTitle(rate));
            line->setColor(colourOf(rate));
            chart->addSeries(line);
            for (QAbstractAxis *axis : chart->axes())
                line->attachAxis(axis);
            // One legend entry per rate, however many lines it has.
            if (!series_[r].isEmpty()) {
                for (QLegendMarker *marker : chart->legend()->markers(line))
                    marker->setVisible(false);
            }
            series_[r].append(line);
        }
        if (reading.rates[r] && !series_[r].isEmpty())
            series_[r].constLast()->append(x, *reading.rates[r]);
    }
    for (QChart *chart : std::as_const(charts_))
        fitAxes(chart);
}

void frmLiveStatistics::fitAxes(QChart *chart)
{
    const QVector<StatisticsHistory::Reading> &readings = history_.readings();
    if (readings.isEmpty())
        return;
    QDateTime first = readings.constFirst().at, last = readings.constLast().at;
    if (first.secsTo(last) < 10)
        last = first.addSecs(10);
    qreal top = 1;
    for (int r = 0; r < StatisticsHistory::kRateCount; ++r) {
        if (charts_[chartOf(StatisticsHistory::Rate(r))] != chart)
            continue;
        for (const QLineSeries *line : series_[r]) {
            for (const QPointF &point : line->points())
                top = qMax(top, point.y());
        }
    }
    for (QAbstractAxis *axis : chart->axes(Qt::Horizontal))
        static_cast<QDateTimeAxis *>(axis)->setRange(first, last);
    for (QAbstractAxis *axis : chart->axes(Qt::Vertical)) {
        auto *values = static_cast<QValueAxis *>(axis);
        values->setRange(0.0, top * 1.1);
        values->applyNiceNumbers();
    }
}

void frmLiveStatistics::PauseCommand_Click()
{
    if (paused()) {
        timer_.start(IntervalSpin->value() * 1000);
        PauseCommand->setText(QStringLiteral("&Pause"));
        readNow();
    } else {
        timer_.stop();
        PauseCommand->setText(QStringLiteral("&Resume"));
        ReadingLabel->setText(QStringLiteral("%1 reading(s); paused.").arg(history_.readings().size()));
    }
}

void frmLiveStatistics::ExportCommand_Click()
{
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export CSV"),
                                                      QStringLiteral("statistics.csv"),
                                                      QStringLiteral("CSV files (*.csv);;All files (*)"));
    if (!path.isEmpty())
        exportCsv(path);
}

bool frmLiveStatistics::exportCsv(const QString &path)
{
    const QByteArray bytes = history_.csv();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        ReadingLabel->setText(
            QStringLiteral("Not exported to %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
        return false;
    }
    ReadingLabel->setText(QStringLiteral("%1 reading(s) exported to %2")
                              .arg(history_.readings().size())
                              .arg(QDir::toNativeSeparators(path)));
    return true;
}
