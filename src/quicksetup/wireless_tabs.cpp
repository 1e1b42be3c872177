// "Basic Setting" and "Advanced": the wireless operational group of the
// store, and "Restore Defaults" of the "Status" tab, which puts factory
// values into all four setting tabs and applies them.

#include "quicksetup/frm_main2.h"

#include "config/configuration_store.h"
#include "config/encodings.h"
#include "agent/device.h"
#include "dialogs/wireless_operational_controls.h"
#include "dialogs/wireless_privacy_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

namespace {
// "Channel 6" in the 11- and 13-channel lists.
constexpr int kFactoryChannelPosition = 5;
}  // namespace

dialogs::WirelessOperationalControls FrmMain2::wirelessControls() const
{
    return {ChannelCombo,           ESSIDtext,       RTSThresholdText,  FragmentationThresholdText,
            ShortPreambleOption,    LongPreambleOption, OpenSystemOption, SharedKeyOption,
            BothTypeOption,         BasicRates12Option, BasicRates125511Option, AutoRateFallBackCheck};
}

void FrmMain2::FillChannelList()
{
    wirelessControls().fillChannelList(store().sysDeviceInfo.regulationDomain);
    ShowWirelessConf();
}

void FrmMain2::ShowWirelessConf()
{
    wirelessControls().show(store());
}

// Channel and ESSID only: the thresholds of this tab reach the store
// through "Advanced". Nothing when the device would refuse the ESSID.
bool FrmMain2::SaveBasicConf()
{
    if (showRefused(wirelessControls().markRefused(false)))
        return false;
    config::ConfigurationStore &store = this->store();
    const config::ConfigurationStore before = store;
    wirelessControls().saveChannel(store);
    store.operESSID = ESSIDtext->text();
    session().device().noteEdits(config::Group::WirelessOperational, before);
    return true;
}

// Every field of the tab, or nothing when the device would refuse the
// ESSID or a threshold (both are edited on "Basic Setting").
bool FrmMain2::SaveWirelessConf()
{
    const dialogs::WirelessOperationalControls boxes = wirelessControls();
    if (showRefused(boxes.markRefused(true)))
        return false;
    config::ConfigurationStore &store = this->store();
    const config::ConfigurationStore before = store;
    store.operESSID = ESSIDtext->text();
    boxes.saveThresholds(store);
    boxes.saveOptions(store);
    session().device().noteEdits(config::Group::WirelessOperational, before);
    return true;
}

void FrmMain2::BC_OKCommand_Click() { apply(&FrmMain2::SaveBasicConf); }

void FrmMain2::BC1_OKCommand_Click() { apply(&FrmMain2::SaveWirelessConf); }

int FrmMain2::restoreDefaultsChannelPosition() const
{
    // Lists too short for channel 6 (regulation domains 49, 50 and 64)
    // take their first channel.
    return ChannelCombo->count() > kFactoryChannelPosition ? kFactoryChannelPosition
                                                           : (ChannelCombo->count() > 0 ? 0 : -1);
}

void FrmMain2::DefaultCommand_Click()
{
    // Asked again after the question: the message box lets timers run.
    if (refusedWhileBusy()
        || !session().askUser(QStringLiteral("Do you want to restore to factory defaults ?"),
                                        QStringLiteral("Restore Defaults"))
        || refusedWhileBusy())
        return;

    ChannelCombo->setCurrentIndex(restoreDefaultsChannelPosition());
    ESSIDtext->setText(config::kFactoryESSID);
    if (!SaveBasicConf())
        return;

    // The keys and the key number stay as the WEP tab shows them (a key
    // the device would refuse stops here, its box marked).
    WepEnableCombo->setCurrentIndex(dialogs::WirelessPrivacyControls::kDisablePosition);
    if (!SaveWEPConf())
        return;

    LongPreambleOption->setChecked(true);
    BothTypeOption->setChecked(true);
    BasicRates125511Option->setChecked(true);
    AutoRateFallBackCheck->setCheckState(Qt::Checked);
    const QString factoryThreshold = QString::number(config::kThresholdMaximum);
    RTSThresholdText->setText(factoryThreshold);
    FragmentationThresholdText->setText(factoryThreshold);
    if (!SaveWirelessConf())
        return;

    IPAddressText->setText(config::kFactoryIPAddress);
    IPMaskText->setText(config::kFactoryIPMask);
    if (!SaveIPConf())
        return;

    cmdOK_Click();
}
