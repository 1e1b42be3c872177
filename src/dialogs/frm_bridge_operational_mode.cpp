#include "dialogs/frm_bridge_operational_mode.h"

#include "config/configuration_store.h"
#include "agent/device.h"
#include "config/value_rules.h"
#include "widgets/dialog_parts.h"
#include "widgets/masked_hex_edit.h"
#include "widgets/option_group_tab_stop.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

enum BridgeMode : config::Integer {
    kWirelessBridgeToWirelessBridge = 1,
    kAccessPoint = 2,
    kWirelessBridge = 3,
};

bool hasPartner(config::Integer mode) { return mode == kWirelessBridgeToWirelessBridge || mode == kWirelessBridge; }


}  // namespace

frmBridgeOperationalMode::frmBridgeOperationalMode(agent::Device &device, QWidget *parent)
    : SettingsDialog(QStringLiteral("Bridge Operational Mode"), parent), device_(device),
      APOption(dialogparts::option(QStringLiteral("APOption"), QStringLiteral("Access Point"), this)),
      WirelessBridgeOption(dialogparts::option(QStringLiteral("WirelessBridgeOption"), QStringLiteral("Wireless Bridge"), this)),
      WirelessBridgeToWirelessBridgeOption(
          dialogparts::option(QStringLiteral("WirelessBridgeToWirelessBridgeOption"), QStringLiteral("WB to WB"), this)),
      RemoteBridgeBSSIDMaskEdBox(new MaskedHexEdit(6, this))
{
    RemoteBridgeBSSIDMaskEdBox->setObjectName(QStringLiteral("RemoteBridgeBSSIDMaskEdBox"));
    Label5 = dialogparts::label(QStringLiteral("Label5"), QStringLiteral("Prefered AP-Bridge BSSID"),
                                RemoteBridgeBSSIDMaskEdBox, this);
    widgets::OptionGroupTabStop::install({APOption, WirelessBridgeOption, WirelessBridgeToWirelessBridgeOption});

    auto *grid = new QGridLayout(this);
    grid->addWidget(APOption, 0, 0, 1, 2);
    grid->addWidget(WirelessBridgeOption, 1, 0, 1, 2);
    grid->addWidget(WirelessBridgeToWirelessBridgeOption, 2, 0, 1, 2);
    grid->addWidget(Label5, 3, 0);
    grid->addWidget(RemoteBridgeBSSIDMaskEdBox, 3, 1);

    const auto buttons = dialogparts::okCancelButtons(this);
    grid->addLayout(buttons.row, 4, 0, 1, 2);
    connect(buttons.ok, &QPushButton::clicked, this, &frmBridgeOperationalMode::OKCommand_Click);
    connect(buttons.cancel, &QPushButton::clicked, this, &frmBridgeOperationalMode::CancelCommand_Click);

    // The enable rule follows every selection, by the user or by ShowConf.
    const auto onSelected = [this](QRadioButton *button, void (frmBridgeOperationalMode::*handler)()) {
        connect(button, &QRadioButton::toggled, this, [this, handler](bool checked) {
            if (checked)
                (this->*handler)();
        });
    };
    onSelected(APOption, &frmBridgeOperationalMode::APOption_Click);
    onSelected(WirelessBridgeOption, &frmBridgeOperationalMode::WirelessBridgeOption_Click);
    onSelected(WirelessBridgeToWirelessBridgeOption,
               &frmBridgeOperationalMode::WirelessBridgeToWirelessBridgeOption_Click);

    Form_Load();
}

void frmBridgeOperationalMode::Form_Load() { ShowConf(); }

void frmBridgeOperationalMode::enablePartnerAddress(bool enabled)
{
    RemoteBridgeBSSIDMaskEdBox->setEnabled(enabled);
    Label5->setEnabled(enabled);
}

void frmBridgeOperationalMode::showStoredPartnerIfEmpty()
{
    // Switching from access point to a bridge mode would otherwise offer an
    // empty box, and OK would send 00 00 00 00 00 00 over the partner the
    // device has: what is sent must be what the user sees.
    if (RemoteBridgeBSSIDMaskEdBox->storeText().isEmpty())
        RemoteBridgeBSSIDMaskEdBox->setStoreText(device_.store().bridgeRemoteBridgeBSSID);
}

void frmBridgeOperationalMode::APOption_Click() { enablePartnerAddress(false); }

void frmBridgeOperationalMode::WirelessBridgeOption_Click()
{
    enablePartnerAddress(true);
    showStoredPartnerIfEmpty();
}

void frmBridgeOperationalMode::WirelessBridgeToWirelessBridgeOption_Click()
{
    enablePartnerAddress(true);
    showStoredPartnerIfEmpty();
}

void frmBridgeOperationalMode::ShowConf()
{
    const auto &store = device_.store();
    switch (store.bridgeOperationalMode) {
    case kWirelessBridgeToWirelessBridge: WirelessBridgeToWirelessBridgeOption->setChecked(true); break;
    case kAccessPoint: APOption->setChecked(true); break;
    case kWirelessBridge: WirelessBridgeOption->setChecked(true); break;
    default: break;
    }
    if (hasPartner(store.bridgeOperationalMode)) {
        RemoteBridgeBSSIDMaskEdBox->setStoreText(store.bridgeRemoteBridgeBSSID);
    } else {
        // Without a known bridge mode the box shows only its mask; the label
        // is left as the enable rule (if any option ran it) set it.
        RemoteBridgeBSSIDMaskEdBox->setEnabled(false);
    }
}

bool frmBridgeOperationalMode::SaveConf()
{
    // The partner's address counts only in the two bridge modes.
    const bool partner = WirelessBridgeToWirelessBridgeOption->isChecked() || WirelessBridgeOption->isChecked();
    const QString bssid = RemoteBridgeBSSIDMaskEdBox->storeText();
    if (dialogparts::markRefusedBoxes(
            {{RemoteBridgeBSSIDMaskEdBox, !partner || config::isHexText(bssid, 12), config::hexHint(12)}}))
        return false;
    auto &store = device_.store();
    const config::ConfigurationStore before = store;
    if (WirelessBridgeToWirelessBridgeOption->isChecked())
        store.bridgeOperationalMode = kWirelessBridgeToWirelessBridge;
    else if (APOption->isChecked())
        store.bridgeOperationalMode = kAccessPoint;
    else if (WirelessBridgeOption->isChecked())
        store.bridgeOperationalMode = kWirelessBridge;

    if (hasPartner(store.bridgeOperationalMode))
        store.bridgeRemoteBridgeBSSID = bssid;
    device_.noteEdits(config::Group::BridgeOperationalMode, before);
    return true;
}

void frmBridgeOperationalMode::OKCommand_Click()
{
    if (!storeIsBusy() && SaveConf())
        accept();
}

void frmBridgeOperationalMode::CancelCommand_Click() { reject(); }
