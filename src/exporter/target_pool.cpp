#include "target_pool.h"

#include "exporter_logging.h"

#include "agent/identity_job.h"
#include "agent/read_job.h"

#include <QTimer>
#include <QTimerEvent>
#include <memory>

namespace exporter {

namespace {

// A statistics read is two GETs in a row. Each is sent up to
// ReadJob::kTries times, at most ReadJob::kTimeoutMs apart (the device's
// own pace); a scrape's budget that is shorter gets fewer sends before it
// gets shorter waits, so a slow device still has time to answer.
constexpr int kStatisticsGets = 2;
constexpr int kShortestWaitMs = 500;

struct ReadPace {
    int tries = agent::ReadJob::kTries;
    double timeScale = 1.0;
};

ReadPace paceFor(int budgetMs)
{
    ReadPace pace;
    pace.tries = qBound(1, budgetMs / (kStatisticsGets * kShortestWaitMs), int(agent::ReadJob::kTries));
    pace.timeScale =
        qBound(0.01, double(budgetMs) / (kStatisticsGets * pace.tries * agent::ReadJob::kTimeoutMs), 1.0);
    return pace;
}

constexpr int kSweepIntervalMs = 60 * 1000;

// A job done with: it says nothing more to `receiver`, sends nothing more,
// and goes once the handler that may be running for it has returned.
template <typename JobType>
void dispose(std::unique_ptr<JobType> &job, QObject *receiver)
{
    if (!job)
        return;
    QObject::disconnect(job.get(), nullptr, receiver, nullptr);
    job->abort();  // nothing when it has ended
    job.release()->deleteLater();
}

QString problemOf(const agent::JobResult &result)
{
    switch (result.error) {
    case agent::JobResult::NoError: return QString();
    case agent::JobResult::Timeout: return QStringLiteral("no answer");
    case agent::JobResult::Refused: return QStringLiteral("refused with error status %1").arg(result.errorStatus);
    case agent::JobResult::Rejected:
    case agent::JobResult::Malformed:
        return QStringLiteral("an answer that does not decode%1")
            .arg(result.object ? QStringLiteral(" (%1)").arg(result.object->name) : QString());
    default: return result.detail.isEmpty() ? QStringLiteral("nothing could be sent") : result.detail;
    }
}

}  // namespace

struct TargetPool::Waiter {
    quint64 id = 0;
    Done done;
    QElapsedTimer clock;
    std::unique_ptr<QTimer> deadline;
};

struct TargetPool::Target {
    QString key;
    std::unique_ptr<agent::Device> device;
    std::optional<agent::DeviceIdentity> identity;
    qint64 identityReadAtMs = 0;
    qint64 lastScrapeMs = 0;

    // The read in flight, if any.
    std::unique_ptr<agent::ReadJob> statistics;
    std::unique_ptr<agent::IdentityJob> identityRead;
    int exchanges = 0;
    std::vector<std::unique_ptr<Waiter>> waiters;

    bool reading() const { return statistics || identityRead; }
};

TargetPool::TargetPool(snmp::RequestEngine &engine, const snmp::Mib &mib, const Settings &settings, QObject *parent)
    : QObject(parent), engine_(engine), mib_(mib), settings_(settings)
{
    clock_.start();
    sweepTimer_ = startTimer(kSweepIntervalMs);
}

TargetPool::~TargetPool()
{
    // Jobs first: they hold their device.
    for (Target *target : std::as_const(targets_)) {
        target->statistics.reset();
        target->identityRead.reset();
        delete target;
    }
}

TargetPool::Target &TargetPool::targetFor(const ScrapeTarget &scrapeTarget)
{
    const QString key = scrapeTarget.text();
    Target *&target = targets_[key];
    if (!target) {
        target = new Target;
        target->key = key;
        target->device = std::make_unique<agent::Device>(engine_, mib_);
        target->device->setAddress(scrapeTarget.host.toString());
        target->device->setPort(scrapeTarget.port);
        target->device->setCommunity(settings_.community);
    }
    return *target;
}

void TargetPool::scrape(const ScrapeTarget &scrapeTarget, int budgetMs, Done done)
{
    Target &target = targetFor(scrapeTarget);
    target.lastScrapeMs = clock_.elapsed();

    auto waiter = std::make_unique<Waiter>();
    waiter->id = nextWaiterId_++;
    waiter->done = std::move(done);
    waiter->clock.start();
    waiter->deadline = std::make_unique<QTimer>();
    waiter->deadline->setSingleShot(true);
    const QString key = target.key;
    const quint64 id = waiter->id;
    connect(waiter->deadline.get(), &QTimer::timeout, this, [this, key, id] {
        if (Target *t = targets_.value(key))
            giveUp(*t, id);
    });
    waiter->deadline->start(qMax(1, budgetMs));
    target.waiters.push_back(std::move(waiter));

    if (target.reading()) {
        qCDebug(lcExporter) << "scrape of" << key << "waits for the read under way";
        return;
    }
    startRead(target, budgetMs);
}

void TargetPool::startRead(Target &target, int budgetMs)
{
    ++readsStarted_;
    target.exchanges = 0;
    const ReadPace pace = paceFor(budgetMs);
    target.device->setTimeScale(pace.timeScale);

    const QString key = target.key;
    target.statistics = std::make_unique<agent::ReadJob>(
        *target.device, QVector<config::Group>{config::Group::WirelessStatistics, config::Group::EthernetStatistics},
        pace.tries);
    connect(target.statistics.get(), &agent::ReadJob::groupRead, this, [this, key] {
        if (Target *t = targets_.value(key))
            ++t->exchanges;
    });
    connect(target.statistics.get(), &agent::Job::finished, this, [this, key] {
        if (Target *t = targets_.value(key))
            readPartDone(*t);
    });

    const bool identityStale = !target.identity || settings_.identityTtlMs <= 0 ||
                               clock_.elapsed() - target.identityReadAtMs >= settings_.identityTtlMs;
    if (identityStale) {
        target.identityRead = std::make_unique<agent::IdentityJob>(*target.device, pace.tries);
        ++target.exchanges;
        connect(target.identityRead.get(), &agent::Job::finished, this, [this, key] {
            if (Target *t = targets_.value(key))
                readPartDone(*t);
        });
    }
    target.statistics->start();
    if (target.identityRead)
        target.identityRead->start();
}

void TargetPool::readPartDone(Target &target)
{
    // Either job may end first; the read ends with the later one.
    if (!target.statistics || !target.statistics->isFinished() ||
        (target.identityRead && !target.identityRead->isFinished()))
        return;

    if (target.identityRead && target.identityRead->result().ok()) {
        target.identity = target.identityRead->identity();
        target.identityReadAtMs = clock_.elapsed();
    } else if (target.identityRead) {
        qCDebug(lcExporter) << "identity of" << target.key << "not read:" << problemOf(target.identityRead->result());
    }

    const agent::JobResult &result = target.statistics->result();
    // The GET that failed went out as well, unless nothing could be sent.
    if (!result.ok() && result.error != agent::JobResult::NotAllowed && result.error != agent::JobResult::NotSendable &&
        result.error != agent::JobResult::SocketError)
        ++target.exchanges;
    ScrapeOutcome outcome;
    outcome.exchanges = target.exchanges;
    outcome.up = result.ok();
    if (outcome.up) {
        const config::ConfigurationStore &store = target.device->store();
        outcome.counters = DeviceCounters{store.wirelessStatistics, store.EthRxStatistics, store.EthTxStatistics};
        outcome.identity = target.identity;
    } else {
        outcome.problem = problemOf(result);
    }
    dispose(target.statistics, this);
    dispose(target.identityRead, this);

    const std::vector<std::unique_ptr<Waiter>> waiters = std::exchange(target.waiters, {});
    for (const std::unique_ptr<Waiter> &waiter : waiters)
        answer(*waiter, outcome);
}

void TargetPool::giveUp(Target &target, quint64 waiterId)
{
    auto it = std::find_if(target.waiters.begin(), target.waiters.end(),
                           [waiterId](const std::unique_ptr<Waiter> &w) { return w->id == waiterId; });
    if (it == target.waiters.end())
        return;
    std::unique_ptr<Waiter> waiter = std::move(*it);
    target.waiters.erase(it);
    ScrapeOutcome outcome;
    // The statistics GET under way counts too.
    outcome.exchanges = target.exchanges + (target.statistics && !target.statistics->isFinished() ? 1 : 0);
    outcome.problem = QStringLiteral("no answer within the scrape's time-out");
    if (target.waiters.empty())
        dropRead(target);
    // The timer is the sender: it goes once this handler has returned.
    waiter->deadline.release()->deleteLater();
    answer(*waiter, outcome);
}

void TargetPool::answer(Waiter &waiter, ScrapeOutcome outcome)
{
    if (waiter.deadline)
        waiter.deadline->stop();
    outcome.durationSeconds = waiter.clock.nsecsElapsed() / 1e9;
    waiter.done(outcome);
}

void TargetPool::dropRead(Target &target)
{
    // Nobody waits for it: no more resends to a device that is not there.
    dispose(target.statistics, this);
    dispose(target.identityRead, this);
}

void TargetPool::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == sweepTimer_)
        forgetIdle();
    else
        QObject::timerEvent(event);
}

void TargetPool::forgetIdle()
{
    const qint64 now = clock_.elapsed();
    for (auto it = targets_.begin(); it != targets_.end();) {
        Target *target = it.value();
        if (!target->reading() && target->waiters.empty() && now - target->lastScrapeMs >= settings_.forgetAfterMs) {
            delete target;
            it = targets_.erase(it);
        } else {
            ++it;
        }
    }
}

}  // namespace exporter
