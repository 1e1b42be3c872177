// "IP Setting" and "WEP": the IP and privacy groups of the store, and the
// keys generated from a pass phrase.

#include "quicksetup/frm_main2.h"

#include "config/configuration_store.h"
#include "config/wep_keys.h"
#include "dialogs/masked_hex_edit.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr int kEnablePosition = 0;  // "Enable"; "Disable" follows
constexpr int kNonePosition = 4;    // "None", after "Key 1" .. "Key 4"
}  // namespace

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

void FrmMain2::ShowWEPConf()
{
    config::ConfigurationStore &store = config::store();
    const auto boxes = wepKeyBoxes();
    for (int i = 0; i < 4; ++i)
        boxes[size_t(i)]->setStoreText(store.defaultWEPKey(i + 1));

    DefaultWepKeyIDCombo->setCurrentIndex(kNonePosition);
    if (store.privacyDefaultWEPKeyID >= 1 && store.privacyDefaultWEPKeyID <= 4)
        DefaultWepKeyIDCombo->setCurrentIndex(store.privacyDefaultWEPKeyID - 1);

    // Anything but "on" shows as off; the key controls follow the choice
    // even when the selection did not change.
    WepEnableCombo->setCurrentIndex(store.privacyWEPEnable == 1 ? kEnablePosition : kEnablePosition + 1);
    WepEnableCombo_Click();
}

bool FrmMain2::SaveWEPConf()
{
    config::ConfigurationStore &store = config::store();
    const auto boxes = wepKeyBoxes();
    for (int i = 0; i < 4; ++i)
        store.defaultWEPKey(i + 1) = boxes[size_t(i)]->storeText();

    // "None" stands for no value: the key number stays as it was.
    const int keyPosition = DefaultWepKeyIDCombo->currentIndex();
    if (keyPosition >= 0 && keyPosition < kNonePosition)
        store.privacyDefaultWEPKeyID = config::Integer(keyPosition + 1);

    store.privacyWEPEnable = WepEnableCombo->currentIndex() == kEnablePosition ? 1 : 2;
    return true;
}

void FrmMain2::WepEnableCombo_Click()
{
    EN1_OKCommand->setEnabled(true);
    const bool enabled = WepEnableCombo->currentIndex() == kEnablePosition;
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
