#include "fleet.h"

#include "host_session.h"

namespace ctl {

Fleet::Fleet(Context &context, const QVector<Target> &targets, QObject *parent)
    : QObject(parent), context_(context), targets_(targets), outcomes_(targets.size()), done_(targets.size(), false)
{
}

void Fleet::start(Work work)
{
    work_ = std::move(work);
    if (targets_.isEmpty()) {
        QMetaObject::invokeMethod(this, &Fleet::finished, Qt::QueuedConnection);
        return;
    }
    startNext();
}

void Fleet::startNext()
{
    while (running_ < context_.options.concurrency && next_ < targets_.size()) {
        const int index = next_++;
        ++running_;
        auto *session = new HostSession(context_, targets_[index], this);
        work_(*session, [this, index, session](const HostOutcome &outcome) {
            if (done_[index])
                return;
            done_[index] = true;
            outcomes_[index] = outcome;
            if (!keepSessions_)
                session->deleteLater();
            --running_;
            if (outcome.counts)
                status_.add(outcome.code);
            flush();
            // From the event loop: a device's work may end inside start().
            QMetaObject::invokeMethod(this, &Fleet::startNext, Qt::QueuedConnection);
            if (printed_ == targets_.size() && running_ == 0)
                QMetaObject::invokeMethod(this, &Fleet::finished, Qt::QueuedConnection);
        });
    }
}

void Fleet::flush()
{
    while (printed_ < targets_.size() && done_[printed_]) {
        const HostOutcome &outcome = outcomes_[printed_];
        if (printing_) {
            context_.console.out << outcome.out;
            if (!outcome.failure.isEmpty())
                context_.console.err << targets_[printed_].text() << ": " << outcome.failure << '\n';
        }
        ++printed_;
    }
    context_.console.out.flush();
    context_.console.err.flush();
}

}  // namespace ctl
