#include "dialogs/frm_device_info.h"

#include "agent/device.h"
#include "config/configuration_store.h"
#include "config/encodings.h"
#include "widgets/dialog_parts.h"
#include "dialogs/information_view_parts.h"
#include "widgets/masked_hex_edit.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmDeviceInfo::frmDeviceInfo(agent::Device &device, QWidget *parent)
    : SettingsDialog(QStringLiteral(" Device Information"), parent), device_(device)
{
    setObjectName(QStringLiteral("frmDeviceInfo"));
    ManufactureNameText = viewparts::lockedBox(QStringLiteral("ManufactureNameText"), this);
    // The name is 32 characters, fill included.
    ManufactureNameText->setMinimumWidth(ManufactureNameText->fontMetrics().averageCharWidth() * 34);
    RegulationDomainText = viewparts::lockedBox(QStringLiteral("RegulationDomainText"), this);
    DefaultMACAddressMaskEdBox = new MaskedHexEdit(6, this);
    DefaultMACAddressMaskEdBox->setObjectName(QStringLiteral("DefaultMACAddressMaskEdBox"));
    DefaultMACAddressMaskEdBox->setReadOnly(true);
    QLabel *Label1 = dialogparts::label(QStringLiteral("Label1"), QStringLiteral("Manufacture Name"),
                                        ManufactureNameText, this);
    QLabel *Label2 = dialogparts::label(QStringLiteral("Label2"), QStringLiteral("Regulation Domain"),
                                        RegulationDomainText, this);
    QLabel *EthernetAddress = dialogparts::label(QStringLiteral("EthernetAddress"), QStringLiteral("Default MAC Address"),
                                                 DefaultMACAddressMaskEdBox, this);

    auto *grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(ManufactureNameText, 0, 1);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(RegulationDomainText, 1, 1);
    grid->addWidget(EthernetAddress, 2, 0);
    grid->addWidget(DefaultMACAddressMaskEdBox, 2, 1);
    auto *OKCommand = viewparts::okButton(this);
    connect(OKCommand, &QPushButton::clicked, this, &frmDeviceInfo::OKCommand_Click);
    grid->addWidget(OKCommand, 3, 1, Qt::AlignRight);
    // Nothing here is edited: OK takes the focus, not the first box.
    OKCommand->setFocus();

    Form_Load();
}

void frmDeviceInfo::Form_Load()
{
    const config::DeviceInfoRecord &info = device_.store().sysDeviceInfo;
    ManufactureNameText->setText(info.manufactureName);
    DefaultMACAddressMaskEdBox->setStoreText(info.defaultMACAddress);
    // A code the table does not list leaves the box empty.
    RegulationDomainText->setText(config::regulationDomainName(info.regulationDomain));
}

void frmDeviceInfo::OKCommand_Click() { accept(); }
