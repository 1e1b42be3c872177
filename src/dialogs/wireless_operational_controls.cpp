#include "dialogs/wireless_operational_controls.h"

#include "config/configuration_store.h"
#include "config/encodings.h"
#include "widgets/dialog_parts.h"
#include "config/value_rules.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace dialogs {

void WirelessOperationalControls::fillChannelList(int regulationDomain) const
{
    channel->clear();
    channel->addItems(config::channelItems(regulationDomain));
    // A combo box selects its first item by itself; the store decides here.
    channel->setCurrentIndex(-1);
}

void WirelessOperationalControls::show(const config::ConfigurationStore &store) const
{
    const int position = config::positionOfChannel(store.sysDeviceInfo.regulationDomain, store.operChannelID);
    if (position >= 0)
        channel->setCurrentIndex(position);

    essid->setText(store.operESSID);
    rtsThreshold->setText(QString::number(store.operRTSThreshold));
    fragmentationThreshold->setText(QString::number(store.operFragmentationThreshold));

    if (store.operPreambleType == 1)
        shortPreamble->setChecked(true);
    else if (store.operPreambleType == 2)
        longPreamble->setChecked(true);

    if (store.operAuthenticationType == 1)
        openSystem->setChecked(true);
    else if (store.operAuthenticationType == 2)
        sharedKey->setChecked(true);
    else if (store.operAuthenticationType == 3)
        bothTypes->setChecked(true);

    if (store.operBasicRates == config::kBasicRatesLow)
        basicRates12->setChecked(true);
    else if (store.operBasicRates == config::kBasicRatesAll)
        basicRates125511->setChecked(true);

    if (store.operAutoRateFallBack == 1)
        autoRateFallBack->setCheckState(Qt::Checked);
    else if (store.operAutoRateFallBack == 2)
        autoRateFallBack->setCheckState(Qt::Unchecked);
}

void WirelessOperationalControls::saveChannel(config::ConfigurationStore &store) const
{
    if (const auto selected = config::channelAtPosition(store.sysDeviceInfo.regulationDomain, channel->currentIndex()))
        store.operChannelID = config::Integer(*selected);
}

QLineEdit *WirelessOperationalControls::markRefused(bool thresholds) const
{
    const auto threshold = [thresholds](QLineEdit *box) {
        return dialogparts::BoxCheck{box, !thresholds || config::thresholdFromText(box->text()).has_value(),
                                     config::thresholdHint()};
    };
    return dialogparts::markRefusedBoxes({{essid, config::isAcceptedEssid(essid->text()), config::essidHint()},
                                          threshold(rtsThreshold), threshold(fragmentationThreshold)});
}

bool WirelessOperationalControls::saveThresholds(config::ConfigurationStore &store) const
{
    const auto rts = config::thresholdFromText(rtsThreshold->text());
    const auto fragmentation = config::thresholdFromText(fragmentationThreshold->text());
    if (!rts || !fragmentation)
        return false;
    store.operRTSThreshold = *rts;
    store.operFragmentationThreshold = *fragmentation;
    return true;
}

void WirelessOperationalControls::saveOptions(config::ConfigurationStore &store) const
{
    store.operPreambleType = shortPreamble->isChecked() ? 1 : 2;

    if (openSystem->isChecked())
        store.operAuthenticationType = 1;
    else if (sharedKey->isChecked())
        store.operAuthenticationType = 2;
    else if (bothTypes->isChecked())
        store.operAuthenticationType = 3;

    if (basicRates12->isChecked())
        store.operBasicRates = config::kBasicRatesLow;
    else if (basicRates125511->isChecked())
        store.operBasicRates = config::kBasicRatesAll;

    if (autoRateFallBack->checkState() == Qt::Checked)
        store.operAutoRateFallBack = 1;
    else if (autoRateFallBack->checkState() == Qt::Unchecked)
        store.operAutoRateFallBack = 2;
}

}  // namespace dialogs
