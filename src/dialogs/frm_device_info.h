#pragma once
// The connected device's identity as the last read left it: manufacturer,
// regulation domain and factory MAC address. A snapshot, filled once.

#include "dialogs/settings_dialog.h"

namespace agent {
class Device;
}

class QLineEdit;
class MaskedHexEdit;

class frmDeviceInfo : public SettingsDialog {
    Q_OBJECT
    agent::Device &device_;  // the device the dialog shows


public:
    explicit frmDeviceInfo(agent::Device &device, QWidget *parent = nullptr);

private slots:
    void OKCommand_Click();

private:
    void Form_Load();

    QLineEdit *ManufactureNameText;
    QLineEdit *RegulationDomainText;
    MaskedHexEdit *DefaultMACAddressMaskEdBox;

};
