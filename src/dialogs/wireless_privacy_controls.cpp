#include "dialogs/wireless_privacy_controls.h"

#include "config/configuration_store.h"
#include "dialogs/masked_hex_edit.h"

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

void WirelessPrivacyControls::save(config::ConfigurationStore &store) const
{
    for (int i = 0; i < 4; ++i)
        store.defaultWEPKey(i + 1) = keys[size_t(i)]->storeText();

    const int keyPosition = defaultKeyId->currentIndex();
    if (keyPosition >= 0 && keyPosition < kNonePosition)
        store.privacyDefaultWEPKeyID = config::Integer(keyPosition + 1);

    store.privacyWEPEnable = wepEnable->currentIndex() == kEnablePosition ? 1 : 2;
}

}  // namespace dialogs
