// "IP Setting" and "WEP": the IP and privacy groups of the store, and the
// keys generated from a pass phrase.

#include "quicksetup/frm_main2.h"

#include "config/configuration_store.h"
#include "config/wep_keys.h"
#include "dialogs/masked_hex_edit.h"
#include "dialogs/wireless_privacy_controls.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

std::array<MaskedHexEdit *, 4> FrmMain2::wepKeyBoxes() const
{
    return {DefaultWepKey1, DefaultWepKey2, DefaultWepKey3, DefaultWepKey4};
}

void FrmMain2::ShowIPConf()
{
    const config::ConfigurationStore &store = config::store();
    EthernetAddressMaskEdBox->setStoreText(store.operEthernetAddress);
    IPAddressText->setText(store.operIPAddress);
    IPMaskText->setText(store.operIPMask);
}

bool FrmMain2::SaveIPConf()
{
    config::ConfigurationStore &store = config::store();
    store.operEthernetAddress = EthernetAddressMaskEdBox->storeText();
    store.operIPAddress = IPAddressText->text();
    store.operIPMask = IPMaskText->text();
    return true;
}

dialogs::WirelessPrivacyControls FrmMain2::privacyControls() const
{
    return {WepEnableCombo, DefaultWepKeyIDCombo, wepKeyBoxes()};
}

void FrmMain2::ShowWEPConf()
{
    privacyControls().show(config::store());
    // The key controls follow the switch even when its selection did not change.
    WepEnableCombo_Click();
}

bool FrmMain2::SaveWEPConf()
{
    privacyControls().save(config::store());
    return true;
}

void FrmMain2::WepEnableCombo_Click()
{
    EN1_OKCommand->setEnabled(true);
    const bool enabled = WepEnableCombo->currentIndex() == dialogs::WirelessPrivacyControls::kEnablePosition;
    for (MaskedHexEdit *box : wepKeyBoxes())
        box->setEnabled(enabled);
    DefaultWepKeyIDCombo->setEnabled(enabled);
    PassText->setEnabled(enabled);
    DoneCommand->setEnabled(enabled);
}

void FrmMain2::DoneCommand_Click()
{
    config::GenerateWepKeys(PassText->text());
    const QString generated[] = {config::GeneratedWepKey1, config::GeneratedWepKey2, config::GeneratedWepKey3,
                                 config::GeneratedWepKey4};
    const auto boxes = wepKeyBoxes();
    for (int i = 0; i < 4; ++i)
        boxes[size_t(i)]->setStoreText(generated[i]);
}

void FrmMain2::AC_OKCommand_Click() { apply(&FrmMain2::SaveIPConf); }

void FrmMain2::EN1_OKCommand_Click() { apply(&FrmMain2::SaveWEPConf); }
