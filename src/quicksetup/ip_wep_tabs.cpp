// "IP Setting" and "WEP": the IP and privacy groups of the store, and the
// keys generated from a pass phrase.

#include "quicksetup/frm_main2.h"

#include "config/configuration_store.h"
#include "agent/device.h"
#include "config/value_rules.h"
#include "config/wep_keys.h"
#include "widgets/dialog_parts.h"
#include "widgets/masked_hex_edit.h"
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
    const config::ConfigurationStore &store = this->store();
    EthernetAddressMaskEdBox->setStoreText(store.operEthernetAddress);
    IPAddressText->setText(store.operIPAddress);
    IPMaskText->setText(store.operIPMask);
}

// Nothing when the device would refuse a box (the Ethernet address is the
// "Status" tab's).
bool FrmMain2::SaveIPConf()
{
    const QString ethernet = EthernetAddressMaskEdBox->storeText();
    if (showRefused(dialogparts::markRefusedBoxes(
            {{IPAddressText, config::dottedQuadFromText(IPAddressText->text()).has_value(), config::addressHint()},
             {IPMaskText, config::dottedQuadFromText(IPMaskText->text()).has_value(), config::maskHint()},
             {EthernetAddressMaskEdBox, config::isHexText(ethernet, 12), config::hexHint(12)}})))
        return false;
    config::ConfigurationStore &store = this->store();
    const config::ConfigurationStore before = store;
    store.operEthernetAddress = ethernet;
    store.operIPAddress = IPAddressText->text();
    store.operIPMask = IPMaskText->text();
    session().device().noteEdits(config::Group::IPSettings, before);
    return true;
}

dialogs::WirelessPrivacyControls FrmMain2::privacyControls() const
{
    return {WepEnableCombo, DefaultWepKeyIDCombo, wepKeyBoxes()};
}

void FrmMain2::ShowWEPConf()
{
    privacyControls().show(store());
    // The key controls follow the switch even when its selection did not change.
    WepEnableCombo_Click();
}

bool FrmMain2::SaveWEPConf()
{
    if (showRefused(privacyControls().markRefusedKeys()))
        return false;
    privacyControls().save(session().device());
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
