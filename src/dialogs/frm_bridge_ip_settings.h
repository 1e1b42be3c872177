#pragma once
// The device's own IP address, IP mask and Ethernet address as the store
// holds them. The dialog checks nothing: whatever is typed is stored as
// text, and Download Changes encodes it for the device.

#include "dialogs/settings_dialog.h"

namespace agent {
class Device;
}

class QLineEdit;
class MaskedHexEdit;

class frmBridgeIPSettings : public SettingsDialog {
    Q_OBJECT
    agent::Device &device_;  // the device the dialog shows


public:
    explicit frmBridgeIPSettings(agent::Device &device, QWidget *parent = nullptr);

private slots:
    void OKCommand_Click();
    void CancelCommand_Click();

private:
    void Form_Load();
    void ShowConf();
    bool SaveConf();

    QLineEdit *IPAddressText;
    QLineEdit *IPMaskText;
    MaskedHexEdit *EthernetAddressMaskEdBox;

};
