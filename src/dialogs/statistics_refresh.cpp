#include "dialogs/statistics_refresh.h"

#include "agent/device_session.h"
#include "agent/read_job.h"
#include "dialogs/status_texts.h"

#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QWidget>

namespace {

QString timeText(const QDateTime &read)
{
    const QString time = read.time().toString(QStringLiteral("HH:mm:ss"));
    if (read.date() == QDate::currentDate())
        return time;
    return QStringLiteral("%1 %2").arg(QLocale().toString(read.date(), QLocale::ShortFormat), time);
}

}  // namespace

StatisticsRefresh::StatisticsRefresh(agent::DeviceSession &session, config::Group group,
                                     std::function<void()> show, QWidget *view)
    : QObject(view), session_(&session), group_(group), show_(std::move(show))
{
    ReadingTimeLabel = new QLabel(view);
    ReadingTimeLabel->setObjectName(QStringLiteral("ReadingTimeLabel"));
    ReadingTimeLabel->setWordWrap(true);
    RefreshCommand = new QPushButton(QStringLiteral("&Refresh"), view);
    RefreshCommand->setObjectName(QStringLiteral("RefreshCommand"));
    RefreshCommand->setToolTip(QStringLiteral("Read the statistics from the device again"));
    connect(RefreshCommand, &QPushButton::clicked, this, &StatisticsRefresh::refresh);
    showReadingTime();
}

void StatisticsRefresh::showReadingTime()
{
    shownReadAt_ = session_ ? session_->device().readAt(group_) : QDateTime();
    ReadingTimeLabel->setToolTip(QString());
    ReadingTimeLabel->setText(shownReadAt_.isValid()
                                  ? QStringLiteral("Read from the device at %1").arg(timeText(shownReadAt_))
                                  : QStringLiteral("Not read from the device yet"));
}

void StatisticsRefresh::refresh()
{
    if (!session_)
        return;
    agent::ReadJob *job = session_->refreshStatistics();
    if (!job) {
        showFailure(dialogs::statusText(session_->lastReport()));
        return;
    }
    RefreshCommand->setEnabled(false);
    connect(job, &agent::Job::finished, this, [this](const agent::JobResult &result) {
        RefreshCommand->setEnabled(true);
        if (result.ok()) {
            show_();
            showReadingTime();
        } else {
            showFailure(dialogs::readFailureText(result));
        }
    });
}

void StatisticsRefresh::showFailure(const QString &why)
{
    // The boxes keep what they showed, and the label says how old it is;
    // why the reading failed is in the status line and the label's tooltip.
    ReadingTimeLabel->setText(shownReadAt_.isValid()
                                  ? QStringLiteral("Refresh failed; these values were read at %1")
                                        .arg(timeText(shownReadAt_))
                                  : QStringLiteral("Refresh failed; not read from the device yet"));
    ReadingTimeLabel->setToolTip(why);
}
