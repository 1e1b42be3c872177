#include "radio_test_steps.h"

#include "agent/device_session.h"
#include "agent/session_texts.h"
#include "config/radio_commands.h"

namespace agent {

namespace {

struct ActionTexts {
    QString success;
    QString failure;
};

ActionTexts textsOf(TestModeAction action)
{
    switch (action) {
    case TestModeAction::Start:
        return {QStringLiteral("Device is at Test mode.."), QStringLiteral("Device not responding..Try again")};
    case TestModeAction::ContinuousRx:
        return {QStringLiteral("ContinuousRx State.."),
                QStringLiteral("Error-The device is not at ContinuousRx State.Try again..")};
    case TestModeAction::ContinuousTxWithMod:
        return {QStringLiteral("ContinuousTx State.."),
                QStringLiteral("Error-The device is not at ContinuousTx State.Try again..")};
    case TestModeAction::ContinuousTxWithoutMod:
        return {QStringLiteral("Carrier Accuracy State.."),
                QStringLiteral("Error-The device is not at Carrier Accuracy State.Try again..")};
    case TestModeAction::Idle:
        return {QStringLiteral("Idle State.."), QStringLiteral("Error-The device is not at Idle State.Try again..")};
    case TestModeAction::Close:
        return {QStringLiteral("The device is at Normal mode"), QStringLiteral("Error-The device is not at Normal mode")};
    }
    return {};
}

// One run of the action's steps. Every step runs even when an earlier one
// failed; the run succeeds only when all did.
bool runStepsOnce(DeviceSession &session, TestModeAction action)
{
    const auto switchOnThen = [&session](config::Integer command) {
        const bool on = session.SetTestMode();
        const bool commanded = session.SetTestModeValues(command);
        return on && commanded;
    };
    switch (action) {
    case TestModeAction::Start: return switchOnThen(config::kTestModeIdle);
    case TestModeAction::ContinuousRx: return switchOnThen(config::kContinuousRx);
    case TestModeAction::ContinuousTxWithMod: return switchOnThen(config::kContinuousTxWithModulation);
    case TestModeAction::ContinuousTxWithoutMod: return switchOnThen(config::kContinuousTxWithoutModulation);
    case TestModeAction::Idle: return session.SetTestModeValues(config::kTestModeIdle);
    case TestModeAction::Close: {
        const bool idle = session.SetTestModeValues(config::kTestModeIdle);
        const bool reset = session.ResetDevise();
        return idle && reset;
    }
    }
    return false;
}

const QString kNotResponding = QStringLiteral("Device not responding..Try connect again");

RadioOutcome retried(DeviceSession &session, qint16 &RetryCount, const std::function<bool()> &steps,
                     const QString &success, const QString &failure)
{
    if (session.deviceWorkRunning())
        return {false, text::busy};
    if (!session.Connected)
        return {false, text::noDevice};
    const bool ok = runWithRetries(RetryCount, steps);
    return {ok, ok ? success : failure};
}

}  // namespace

bool runWithRetries(qint16 &RetryCount, const std::function<bool()> &steps)
{
    RetryCount = 0;
    while (!steps()) {
        if (RetryCount >= kRadioRetryLimit)
            return false;
        ++RetryCount;
    }
    return true;
}

RadioOutcome runTestModeAction(DeviceSession &session, TestModeAction action, qint16 &RetryCount)
{
    const ActionTexts texts = textsOf(action);
    return retried(session, RetryCount, [&session, action] { return runStepsOnce(session, action); },
                   texts.success, texts.failure);
}

RadioOutcome readRadioConfiguration(DeviceSession &session, qint16 &RetryCount)
{
    return retried(session, RetryCount, [&session] { return session.GetRadioConfiguration(); },
                   QStringLiteral("Radio configuration retrieved"), kNotResponding);
}

RadioOutcome writeRadioConfiguration(DeviceSession &session, qint16 &RetryCount)
{
    return retried(session, RetryCount, [&session] { return session.SetRadioConfigurationValues(); },
                   QStringLiteral("Radio configuration set"), kNotResponding);
}

}  // namespace agent
