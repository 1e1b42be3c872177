#pragma once
// The wireless operational group: channel, ESSID, RTS and fragmentation
// thresholds, preamble, authentication, basic rates and auto rate fall-back.
//
// The text boxes take any text, but only what the device accepts may reach
// the store (config/value_rules): OK with an ESSID or a threshold the
// device would refuse stores nothing at all (no field of the group), keeps
// the dialog open, marks the offending box with a red frame and a tooltip
// that says what it takes, and puts the focus there. The mark goes as soon
// as the box's text changes.

#include "dialogs/settings_dialog.h"

namespace agent {
class Device;
}

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class UpDownControl;

namespace dialogs {
struct WirelessOperationalControls;
}

class frmWireLessOperationalSettings : public SettingsDialog {
    Q_OBJECT
    agent::Device &device_;  // the device the dialog shows


public:
    explicit frmWireLessOperationalSettings(agent::Device &device, QWidget *parent = nullptr);

private slots:
    void OKCommand_Click();
    void CancelCommand_Click();

private:
    void buildControls();
    void Form_Load();
    void ShowConf();
    bool SaveConf();
    dialogs::WirelessOperationalControls controls() const;

    QComboBox *ChannelCombo;
    QLineEdit *ESSIDtext;
    QLineEdit *RTSThresholdText;
    QLineEdit *FragmentationThresholdText;
    UpDownControl *UpDown1;  // fragmentation threshold
    UpDownControl *UpDown2;  // RTS threshold
    QRadioButton *ShortPreambleOption;
    QRadioButton *LongPreambleOption;
    QRadioButton *OpenSystemOption;
    QRadioButton *SharedKeyOption;
    QRadioButton *BothTypeOption;
    QRadioButton *BasicRates12Option;
    QRadioButton *BasicRates125511Option;
    QCheckBox *AutoRateFallBackCheck;

};
