#pragma once
// Polling: the periodic full read that the options dialog switches on.
// Every tick of the session's PollingTimer starts one full configuration
// read with Timer2 retries, as after a connect but without a fresh retry
// budget. A tick finds the device busy more often than not on a slow link;
// it then does nothing and the next tick tries again. Ticks do nothing
// while no device is connected, and a poll never takes back edits that
// wait to be downloaded (those groups are not read).

#include <QObject>

namespace agent {

class DeviceSession;

// The options slider's steps: step p polls every 5 x p seconds, 0 is off.
constexpr int kPollingSteps = 7;
constexpr int kSecondsPerPollingStep = 5;
// Seconds of a step; -1 outside 0..6.
int pollingSecondsOfStep(int step);
// Step of an interval; -1 for an interval the slider cannot show.
int pollingStepOfSeconds(int seconds);

class Polling : public QObject {
    Q_OBJECT
public:
    explicit Polling(DeviceSession &session);

    // The options dialog's OK: 0 stops polling, any other number of seconds
    // (re)starts it at that interval (at the session's time scale).
    void apply(int seconds);
    // One tick of PollingTimer.
    void PollingTimer_Timer();

private:
    DeviceSession &session_;
};

}  // namespace agent
