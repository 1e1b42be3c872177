#pragma once
// The devices the exporter has been asked about, each an agent::Device on
// the one request engine, and the reads in flight for them.
//
// - A scrape of a device starts its statistics read (the two counter
//   groups, nothing else) and, when the identity kept for it is older than
//   the identity TTL, an identity read beside it: two or three GETs in all.
// - A scrape of a device whose read is already under way waits for that
//   read instead of starting another: two Prometheus servers scraping the
//   same device cost the device one read.
// - Every scrape is answered within its own budget: a device that does not
//   answer in time gives an outcome that is not up. A read no scrape waits
//   for any more is dropped.
// - Reads of different devices run side by side; nothing here waits.
// - A device not scraped for a while is forgotten.

#include "scrape_outcome.h"
#include "scrape_query.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <functional>

namespace snmp {
class Mib;
class RequestEngine;
}  // namespace snmp

namespace exporter {

class TargetPool : public QObject {
    Q_OBJECT
public:
    struct Settings {
        QByteArray community;
        int identityTtlMs = 300 * 1000;  // 0: read with every scrape
        int forgetAfterMs = 30 * 60 * 1000;
    };
    using Done = std::function<void(const ScrapeOutcome &)>;

    TargetPool(snmp::RequestEngine &engine, const snmp::Mib &mib, const Settings &settings,
               QObject *parent = nullptr);
    ~TargetPool() override;

    // Calls `done` once, from the event loop, at most `budgetMs` later.
    void scrape(const ScrapeTarget &target, int budgetMs, Done done);

    // Reads started: fewer than the scrapes when scrapes shared a read.
    quint64 readsStarted() const { return readsStarted_; }
    int knownDevices() const { return int(targets_.size()); }

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    struct Target;
    struct Waiter;
    Target &targetFor(const ScrapeTarget &scrapeTarget);
    void startRead(Target &target, int budgetMs);
    void readPartDone(Target &target);
    void giveUp(Target &target, quint64 waiterId);
    void answer(Waiter &waiter, ScrapeOutcome outcome);
    void dropRead(Target &target);
    void forgetIdle();

    snmp::RequestEngine &engine_;
    const snmp::Mib &mib_;
    Settings settings_;
    QHash<QString, Target *> targets_;
    QElapsedTimer clock_;
    quint64 nextWaiterId_ = 1;
    quint64 readsStarted_ = 0;
    int sweepTimer_ = 0;
};

}  // namespace exporter
