#pragma once
// The radio windows' device actions as the windows run them: through the
// session, each a job the window waits for (a nested event loop: only a
// window may wait like that, and the windows hold the user's input
// meanwhile), with the text the window's status line shows afterwards.

#include "agent/device_session.h"
#include "agent/radio_job.h"

#include <QString>

namespace radiotest {

using Action = agent::RadioJob::Action;

struct Outcome {
    bool ok = false;
    QString text;  // for the window's status line
};

// Refused with the busy text while the console is busy with the device (a
// connect, a read pass or a download would interleave with the steps), and
// with the no-device text while no device is connected. RetryCount gets
// the runs after the first.
Outcome runAndWait(agent::DeviceSession &session, Action action, qint16 &RetryCount);

// The test window closes this long after "Close Test" (ms, real pace).
constexpr int kTestWindowCloseDelayMs = 3000;

namespace text {
inline const QString pushStart = QStringLiteral("Push start Test Mode button...");
inline const QString wrongCR31 = QStringLiteral("Wrong CR31 value..");
inline const QString selectAntenna = QStringLiteral("Select Antenna");
inline const QString selectTxFilter = QStringLiteral("Select Tx Filter");
inline const QString selectRate = QStringLiteral("Select Rate");
inline const QString setQuestion = QStringLiteral("Do you want to Set these values?");
inline const QString setQuestionTitle = QStringLiteral("Reset");
inline const QString boxesRefused =
    QStringLiteral("Not set: every channel needs two hexadecimal digits (0 to 9, A to F).");
}  // namespace text

}  // namespace radiotest
