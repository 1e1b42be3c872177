#pragma once
// What the radio windows do with the device: the actions of the test
// window (into test mode, the three test modes, back to idle, out of test
// mode) and the read and write of the per-channel radio configuration.
// Each action is a few steps; a run does every step, even after one
// failed, and succeeds only when all did. A failed run is run again, four
// runs in all, with no pause but the requests' own time-outs.
//
// The steps: the test-mode switch (TestModeOnOff = 1, done when the answer
// is a number), a test command built from the store's test fields
// (TestModeCommandStruct; the device's echo of it is not compared, and a
// field that does not fit its byte sends nothing), the reset, and the
// radio configuration (TestModeRadioConfiguration: read into the store, or
// written from it and done when the device echoes the very bytes sent).

#include "agent/job.h"

namespace agent {

class RadioJob : public Job {
    Q_OBJECT
public:
    enum class Action {
        StartTest,               // into test mode, idle
        ContinuousRx,            // the three test modes
        ContinuousTxWithModulation,
        ContinuousTxWithoutModulation,
        Idle,                    // a mode cleared
        CloseTest,               // idle, then reset: the device leaves test mode
        ReadConfiguration,
        WriteConfiguration,
    };
    static constexpr int kRuns = 4;

    RadioJob(Device &device, Action action, QObject *parent = nullptr);

    Action action() const { return action_; }
    // The runs after the first (0 when the first one succeeded).
    int retries() const { return qMax(0, runs_ - 1); }

protected:
    void run() override;

private:
    enum class Step { SwitchOn, Command, Reset, Read, Write };
    void startRun();
    void nextStep();
    void stepDone(bool ok);

    Action action_;
    QVector<Step> steps_;
    int step_ = 0;
    int runs_ = 0;
    bool runOk_ = true;
    JobResult lastFailure_;
};

}  // namespace agent
