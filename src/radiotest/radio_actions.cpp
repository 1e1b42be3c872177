#include "radiotest/radio_actions.h"

#include "dialogs/status_texts.h"

#include <QEventLoop>
#include <QPointer>

namespace radiotest {

namespace {

Outcome textsOf(Action action, bool ok)
{
    const QString notResponding = QStringLiteral("Device not responding..Try connect again");
    const auto pick = [ok](const QString &success, const QString &failure) { return Outcome{ok, ok ? success : failure}; };
    switch (action) {
    case Action::StartTest:
        return pick(QStringLiteral("Device is at Test mode.."), QStringLiteral("Device not responding..Try again"));
    case Action::ContinuousRx:
        return pick(QStringLiteral("ContinuousRx State.."),
                    QStringLiteral("Error-The device is not at ContinuousRx State.Try again.."));
    case Action::ContinuousTxWithModulation:
        return pick(QStringLiteral("ContinuousTx State.."),
                    QStringLiteral("Error-The device is not at ContinuousTx State.Try again.."));
    case Action::ContinuousTxWithoutModulation:
        return pick(QStringLiteral("Carrier Accuracy State.."),
                    QStringLiteral("Error-The device is not at Carrier Accuracy State.Try again.."));
    case Action::Idle:
        return pick(QStringLiteral("Idle State.."), QStringLiteral("Error-The device is not at Idle State.Try again.."));
    case Action::CloseTest:
        return pick(QStringLiteral("The device is at Normal mode"), QStringLiteral("Error-The device is not at Normal mode"));
    case Action::ReadConfiguration: return pick(QStringLiteral("Radio configuration retrieved"), notResponding);
    case Action::WriteConfiguration: return pick(QStringLiteral("Radio configuration set"), notResponding);
    }
    return Outcome{};
}

}  // namespace

Outcome runAndWait(agent::DeviceSession &session, Action action, qint16 &RetryCount)
{
    if (const auto refused = session.refusal()) {
        agent::SessionReport report;
        report.event = *refused;
        return Outcome{false, dialogs::statusText(report)};
    }
    QPointer<agent::RadioJob> job = session.startRadioAction(action);
    if (!job)
        return textsOf(action, false);
    QEventLoop loop;
    bool ok = false;
    int retries = 0;
    QObject::connect(job, &agent::Job::finished, &loop, [&](const agent::JobResult &result) {
        ok = result.ok();
        retries = job ? job->retries() : 0;
        loop.quit();
    });
    // The session going away ends the job and the wait.
    QObject::connect(job, &QObject::destroyed, &loop, &QEventLoop::quit);
    loop.exec();
    RetryCount = qint16(retries);
    return textsOf(action, ok);
}

}  // namespace radiotest
