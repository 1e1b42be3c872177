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
class Polling;
}

class frmOptions : public QDialog {
    Q_OBJECT

public:
    explicit frmOptions(agent::Polling &polling, QWidget *parent = nullptr);

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

    agent::Polling &polling_;
    QSlider *PollingSlider;
    QLabel *PollingIntervalLabel;
    QCheckBox *SaveTrapsCheck;
    qint16 step_ = 0;
};
