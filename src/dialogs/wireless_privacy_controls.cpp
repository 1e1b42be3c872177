#include "dialogs/wireless_privacy_controls.h"

#include "agent/device.h"

#include "config/configuration_store.h"
#include "config/value_rules.h"
#include "widgets/dialog_parts.h"
#include "widgets/masked_hex_edit.h"

#include <QComboBox>

namespace dialogs {

void WirelessPrivacyControls::show(const config::ConfigurationStore &store) const
{
    for (int i = 0; i < 4; ++i)
        keys[size_t(i)]->setStoreText(store.defaultWEPKey(i + 1));

    const int keyId = store.privacyDefaultWEPKeyID;
    defaultKeyId->setCurrentIndex(keyId >= 1 && keyId <= 4 ? keyId - 1 : kNonePosition);
    wepEnable->setCurrentIndex(store.privacyWEPEnable == 1 ? kEnablePosition : kDisablePosition);
}

QLineEdit *WirelessPrivacyControls::markRefusedKeys() const
{
    const auto key = [](MaskedHexEdit *box) {
        return dialogparts::BoxCheck{box, config::isHexText(box->storeText(), 10), config::hexHint(10)};
    };
    return dialogparts::markRefusedBoxes({key(keys[0]), key(keys[1]), key(keys[2]), key(keys[3])});
}

void WirelessPrivacyControls::save(agent::Device &device) const
{
    config::ConfigurationStore &store = device.store();
    const config::ConfigurationStore before = store;
    for (int i = 0; i < 4; ++i)
        store.defaultWEPKey(i + 1) = keys[size_t(i)]->storeText();

    const int keyPosition = defaultKeyId->currentIndex();
    if (keyPosition >= 0 && keyPosition < kNonePosition)
        store.privacyDefaultWEPKeyID = config::Integer(keyPosition + 1);

    store.privacyWEPEnable = wepEnable->currentIndex() == kEnablePosition ? 1 : 2;
    device.noteEdits(config::Group::Privacy, before);
}

}  // namespace dialogs
