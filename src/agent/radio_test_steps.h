#pragma once
// What the two radio windows do with the device: the actions of the test
// window (start, the three modes, back to idle, close) and the read and
// write of the radio configuration, each run up to four times until it
// succeeds, with the text the window's status line shows afterwards.

#include <QString>
#include <functional>

namespace agent {

class DeviceSession;

// RetryCount runs from 0 to this: four runs in all, with no pause between
// them other than the requests' own time-outs.
constexpr int kRadioRetryLimit = 3;

// Runs `steps` until it returns true or has run four times; RetryCount
// counts the runs after the first. True when a run succeeded.
bool runWithRetries(qint16 &RetryCount, const std::function<bool()> &steps);

enum class TestModeAction {
    Start,                   // into test mode, idle
    ContinuousRx,            // the three test modes
    ContinuousTxWithMod,
    ContinuousTxWithoutMod,
    Idle,                    // a mode cleared
    Close,                   // idle, then reset: the device leaves test mode
};

struct RadioOutcome {
    bool ok = false;
    QString text;  // for the window's status line
};

// Refused with the busy text while the console is busy with the device (a
// connect, a read pass or a download would interleave with the steps), and
// with the no-device text while no device is connected.
RadioOutcome runTestModeAction(DeviceSession &session, TestModeAction action, qint16 &RetryCount);
// GetRadioConfiguration until the store holds 28 digits.
RadioOutcome readRadioConfiguration(DeviceSession &session, qint16 &RetryCount);
// SetRadioConfigurationValues of the store's text until the echo matches.
RadioOutcome writeRadioConfiguration(DeviceSession &session, qint16 &RetryCount);

// The test window closes this long after "Close Test" (ms, real pace).
constexpr int kTestWindowCloseDelayMs = 3000;

namespace radiotext {
inline const QString pushStart = QStringLiteral("Push start Test Mode button...");
inline const QString wrongCR31 = QStringLiteral("Wrong CR31 value..");
inline const QString selectAntenna = QStringLiteral("Select Antenna");
inline const QString selectTxFilter = QStringLiteral("Select Tx Filter");
inline const QString selectRate = QStringLiteral("Select Rate");
inline const QString setQuestion = QStringLiteral("Do you want to Set these values?");
inline const QString setQuestionTitle = QStringLiteral("Reset");
inline const QString boxesRefused =
    QStringLiteral("Not set: every channel needs two hexadecimal digits (0 to 9, A to F).");
}  // namespace radiotext

}  // namespace agent
