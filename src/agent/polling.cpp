#include "polling.h"

#include "device_session.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcPolling, "corvane.agent.polling")

namespace agent {

namespace {
// Retries of a failed poll come slower than those after a connect.
constexpr int kPollRetryMs = 200;
}  // namespace

int pollingSecondsOfStep(int step)
{
    return step >= 0 && step < kPollingSteps ? step * kSecondsPerPollingStep : -1;
}

int pollingStepOfSeconds(int seconds)
{
    if (seconds < 0 || seconds % kSecondsPerPollingStep != 0)
        return -1;
    const int step = seconds / kSecondsPerPollingStep;
    return step < kPollingSteps ? step : -1;
}

Polling::Polling(DeviceSession &session) : session_(session)
{
    connect(&session_.PollingTimer, &QTimer::timeout, this, &Polling::PollingTimer_Timer);
}

void Polling::apply(int seconds)
{
    if (seconds <= 0) {
        session_.PollingTimer.stop();
        return;
    }
    session_.PollingTimer.start(session_.scaled(seconds * 1000));
}

void Polling::PollingTimer_Timer()
{
    // Only the device whose configuration was read is polled: before a
    // connect there is none, and after a connect to another address failed
    // the old one must not come back by itself.
    if (!session_.Connected)
        return;
    // A pass started now would interleave with the request that is waiting
    // (or, between a download's attempts, overwrite the store it is about
    // to send).
    if (session_.deviceWorkRunning()) {
        qCDebug(lcPolling) << "device busy; polling tick skipped";
        return;
    }
    session_.Timer2.start(session_.scaled(kPollRetryMs));
    session_.ReadAllConfiguration();
}

}  // namespace agent
