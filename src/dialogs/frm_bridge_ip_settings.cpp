#include "dialogs/frm_bridge_ip_settings.h"

#include "config/configuration_store.h"
#include "agent/device.h"
#include "config/value_rules.h"
#include "widgets/dialog_parts.h"
#include "widgets/masked_hex_edit.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmBridgeIPSettings::frmBridgeIPSettings(agent::Device &device, QWidget *parent)
    : SettingsDialog(QStringLiteral("Bridge IP Configuration"), parent), device_(device),
      IPAddressText(dialogparts::unlimitedTextBox(QStringLiteral("IPAddressText"), this)),
      IPMaskText(dialogparts::unlimitedTextBox(QStringLiteral("IPMaskText"), this)),
      EthernetAddressMaskEdBox(new MaskedHexEdit(6, this))
{
    EthernetAddressMaskEdBox->setObjectName(QStringLiteral("EthernetAddressMaskEdBox"));

    auto *grid = new QGridLayout(this);
    grid->addWidget(dialogparts::label(QStringLiteral("Label4"), QStringLiteral("IP Address"), IPAddressText, this), 0, 0);
    grid->addWidget(IPAddressText, 0, 1);
    grid->addWidget(dialogparts::label(QStringLiteral("Label5"), QStringLiteral("IP Mask"), IPMaskText, this), 1, 0);
    grid->addWidget(IPMaskText, 1, 1);
    grid->addWidget(dialogparts::label(QStringLiteral("EthernetAddress"), QStringLiteral("Ethernet Address"),
                                       EthernetAddressMaskEdBox, this),
                    2, 0);
    grid->addWidget(EthernetAddressMaskEdBox, 2, 1);

    const auto buttons = dialogparts::okCancelButtons(this);
    grid->addLayout(buttons.row, 3, 0, 1, 2);
    connect(buttons.ok, &QPushButton::clicked, this, &frmBridgeIPSettings::OKCommand_Click);
    connect(buttons.cancel, &QPushButton::clicked, this, &frmBridgeIPSettings::CancelCommand_Click);

    Form_Load();
}

void frmBridgeIPSettings::Form_Load() { ShowConf(); }

void frmBridgeIPSettings::ShowConf()
{
    const auto &store = device_.store();
    EthernetAddressMaskEdBox->setStoreText(store.operEthernetAddress);
    IPAddressText->setText(store.operIPAddress);
    IPMaskText->setText(store.operIPMask);
}

bool frmBridgeIPSettings::SaveConf()
{
    const QString ethernet = EthernetAddressMaskEdBox->storeText();
    if (dialogparts::markRefusedBoxes(
            {{IPAddressText, config::dottedQuadFromText(IPAddressText->text()).has_value(), config::addressHint()},
             {IPMaskText, config::dottedQuadFromText(IPMaskText->text()).has_value(), config::maskHint()},
             {EthernetAddressMaskEdBox, config::isHexText(ethernet, 12), config::hexHint(12)}}))
        return false;
    auto &store = device_.store();
    const config::ConfigurationStore before = store;
    store.operEthernetAddress = ethernet;
    // Exactly as typed: blanks and all.
    store.operIPAddress = IPAddressText->text();
    store.operIPMask = IPMaskText->text();
    device_.noteEdits(config::Group::IPSettings, before);
    return true;
}

void frmBridgeIPSettings::OKCommand_Click()
{
    if (!storeIsBusy() && SaveConf())
        accept();
}

void frmBridgeIPSettings::CancelCommand_Click() { reject(); }
