#include "status_line.h"

namespace app {

StatusLine::StatusLine(QObject *parent) : QObject(parent)
{
    release_.setSingleShot(true);
    connect(&release_, &QTimer::timeout, this, [this] {
        if (!waiting_.isEmpty())
            display(QString(waiting_), true);  // a copy: display() empties waiting_
    });
}

void StatusLine::post(const QString &text, bool passing)
{
    if (!text.isEmpty()) {
        history_.append({QTime::currentTime(), text});
        if (history_.size() > kKept)
            history_.removeFirst();
        emit historyChanged();
    }
    const qint64 stood = shownFor_.isValid() ? shownFor_.elapsed() : holdMs_;
    if (passing && !currentPassing_ && !current_.isEmpty() && stood < holdMs_) {
        waiting_ = text;
        if (!release_.isActive())
            release_.start(int(holdMs_ - stood));
        return;
    }
    display(text, passing);
}

void StatusLine::display(const QString &text, bool passing)
{
    waiting_.clear();
    release_.stop();
    current_ = text;
    currentPassing_ = passing;
    shownFor_.start();
    emit shown(text);
}

}  // namespace app
