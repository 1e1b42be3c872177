#pragma once
// Access point, wireless bridge, or wireless bridge to wireless bridge; in
// the two bridge modes also the BSSID of the preferred partner, which is
// stored only while one of them is chosen.

#include "dialogs/settings_dialog.h"

namespace agent {
class Device;
}

class QLabel;
class QRadioButton;
class MaskedHexEdit;

class frmBridgeOperationalMode : public SettingsDialog {
    Q_OBJECT
    agent::Device &device_;  // the device the dialog shows


public:
    explicit frmBridgeOperationalMode(agent::Device &device, QWidget *parent = nullptr);

private slots:
    void OKCommand_Click();
    void CancelCommand_Click();
    void APOption_Click();
    void WirelessBridgeOption_Click();
    void WirelessBridgeToWirelessBridgeOption_Click();

private:
    void Form_Load();
    void ShowConf();
    bool SaveConf();
    void enablePartnerAddress(bool enabled);
    void showStoredPartnerIfEmpty();

    QRadioButton *APOption;
    QRadioButton *WirelessBridgeOption;
    QRadioButton *WirelessBridgeToWirelessBridgeOption;
    MaskedHexEdit *RemoteBridgeBSSIDMaskEdBox;
    QLabel *Label5 = nullptr;

};
