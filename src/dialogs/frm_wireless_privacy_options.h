#pragma once
// WEP on or off, the four default WEP keys and the key the device sends
// with. "None" stands for no key number: choosing it keeps the stored one.

#include "dialogs/settings_dialog.h"

namespace agent {
class Device;
}

#include <array>

class QComboBox;
class MaskedHexEdit;

namespace dialogs {
struct WirelessPrivacyControls;
}

class frmWireLessPrivacyOptions : public SettingsDialog {
    Q_OBJECT
    agent::Device &device_;  // the device the dialog shows


public:
    explicit frmWireLessPrivacyOptions(agent::Device &device, QWidget *parent = nullptr);

private slots:
    void OKCommand_Click();
    void CancelCommand_Click();

private:
    void Form_Load();
    void ShowConf();
    void SaveConf();
    dialogs::WirelessPrivacyControls controls() const;

    QComboBox *WepEnableCombo;
    QComboBox *DefaultWepKeyIDCombo;
    std::array<MaskedHexEdit *, 4> DefaultWepKey;  // DefaultWepKey1 .. DefaultWepKey4

};
