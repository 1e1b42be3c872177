#pragma once
// The 22 wireless counters of the last read, in two columns of eleven. A
// snapshot: the boxes are filled when the view opens and do not follow
// later reads; Refresh reads the statistics again and shows them, with the
// time of the reading below the boxes.

#include "config/configuration_store.h"
#include "dialogs/settings_dialog.h"

class QLineEdit;
class StatisticsRefresh;

namespace agent {
class Device;
class DeviceSession;
}

class frmInfoStatistics : public SettingsDialog {
    Q_OBJECT
    agent::Device &device_;  // the device the dialog shows


public:
    explicit frmInfoStatistics(agent::DeviceSession &session, QWidget *parent = nullptr);

private slots:
    void OKCommand_Click();

private:
    void Form_Load();
    void ShowStatistics();

    // By the counter's place in the device's record (1-based), which is not
    // the order of the screen.
    QLineEdit *counterBoxes_[config::WirelessStatisticsRecord::kCount + 1] = {};
    StatisticsRefresh *refresh_ = nullptr;
};
