#pragma once
// The wireless operational group: channel, ESSID, RTS and fragmentation
// thresholds, preamble, authentication, basic rates and auto rate fall-back.
//
// The threshold boxes take any text, but the store keeps 16-bit whole
// numbers. OK with a threshold that is empty, not a whole number or outside
// -32768..32767 stores nothing at all (no field of the group), keeps the
// dialog open, marks the offending box with a red frame and a tooltip that
// says what it takes, and puts the focus there. The mark goes as soon as
// the box's text changes.

#include "dialogs/settings_dialog.h"

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

public:
    explicit frmWireLessOperationalSettings(QWidget *parent = nullptr);

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
