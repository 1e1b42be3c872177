#pragma once
// " Options": how often the console re-reads the device, and whether
// received traps also go to the log file. Moving the slider changes the
// stored interval at once; only OK starts or stops polling at that
// interval. Nothing here is kept between runs.

#include <QDialog>

class QCheckBox;
class QLabel;
class QSlider;

namespace agent {
class DeviceSession;
}

class frmOptions : public QDialog {
    Q_OBJECT

public:
    explicit frmOptions(agent::DeviceSession &session, QWidget *parent = nullptr);

    // The slider's steps: step p polls every 5 x p seconds, 0 is off.
    static constexpr int kPollingSteps = 7;
    static constexpr int kSecondsPerPollingStep = 5;
    // Seconds of a step; -1 outside 0..6.
    static int pollingSecondsOfStep(int step);
    // Step of an interval; -1 for an interval the slider cannot show.
    static int pollingStepOfSeconds(int seconds);

private slots:
    void OKCommand_Click();
    void CancelCommand_Click();
    // The slider's change handler; OK runs it once more.
    void PollingSlider_Change();

private:
    void Form_Load();
    // Label text of the stored interval; sets step_ from it. "" and step_
    // unchanged for an interval the slider cannot show.
    QString intervalText();

    agent::DeviceSession &session_;
    QSlider *PollingSlider;
    QLabel *PollingIntervalLabel;
    QCheckBox *SaveTrapsCheck;
    qint16 step_ = 0;
};
