#pragma once
// The 22 wireless counters of the last read, in two columns of eleven. A
// snapshot: the boxes are filled once when the view opens and do not
// follow later reads; opening it again shows the store as it is then.

#include "config/configuration_store.h"
#include "dialogs/settings_dialog.h"

class QLineEdit;

class frmInfoStatistics : public SettingsDialog {
    Q_OBJECT

public:
    explicit frmInfoStatistics(QWidget *parent = nullptr);

private slots:
    void OKCommand_Click();

private:
    void Form_Load();
    void ShowStatistics();

    // By the counter's place in the device's record (1-based), which is not
    // the order of the screen.
    QLineEdit *counterBoxes_[config::WirelessStatisticsRecord::kCount + 1] = {};
};
