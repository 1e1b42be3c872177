// "Basic Setting" and "Advanced": the wireless operational group of the
// store, and "Restore Defaults" of the "Status" tab, which puts factory
// values into all four setting tabs and applies them.

#include "quicksetup/frm_main2.h"

#include "app/frm_main.h"
#include "config/configuration_store.h"
#include "config/encodings.h"
#include "dialogs/dialog_parts.h"
#include "dialogs/threshold_validation.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

namespace {
// "Channel 6" in the 11- and 13-channel lists.
constexpr int kFactoryChannelPosition = 5;
const QString kFactoryESSID = QStringLiteral("corvane");
const QString kFactoryThreshold = QStringLiteral("2346");
const QString kFactoryIPAddress = QStringLiteral("192.168.1.250");
const QString kFactoryIPMask = QStringLiteral("255.255.255.0");
constexpr int kWepDisablePosition = 1;
}  // namespace

void FrmMain2::FillChannelList()
{
    ChannelCombo->clear();
    ChannelCombo->addItems(config::channelItems(config::store().sysDeviceInfo.regulationDomain));
    // A combo box selects its first item by itself; the store decides here.
    ChannelCombo->setCurrentIndex(-1);
    ShowWirelessConf();
}

void FrmMain2::ShowWirelessConf()
{
    const config::ConfigurationStore &store = config::store();
    const int position = config::positionOfChannel(store.sysDeviceInfo.regulationDomain, store.operChannelID);
    if (position >= 0)
        ChannelCombo->setCurrentIndex(position);

    ESSIDtext->setText(store.operESSID);
    RTSThresholdText->setText(QString::number(store.operRTSThreshold));
    FragmentationThresholdText->setText(QString::number(store.operFragmentationThreshold));

    if (store.operPreambleType == 1)
        ShortPreambleOption->setChecked(true);
    else if (store.operPreambleType == 2)
        LongPreambleOption->setChecked(true);

    if (store.operAuthenticationType == 1)
        OpenSystemOption->setChecked(true);
    else if (store.operAuthenticationType == 2)
        SharedKeyOption->setChecked(true);
    else if (store.operAuthenticationType == 3)
        BothTypeOption->setChecked(true);

    if (store.operBasicRates == config::kBasicRatesLow)
        BasicRates12Option->setChecked(true);
    else if (store.operBasicRates == config::kBasicRatesAll)
        BasicRates125511Option->setChecked(true);

    if (store.operAutoRateFallBack == 1)
        AutoRateFallBackCheck->setCheckState(Qt::Checked);
    else if (store.operAutoRateFallBack == 2)
        AutoRateFallBackCheck->setCheckState(Qt::Unchecked);
}

// Channel and ESSID only: the thresholds of this tab reach the store
// through "Advanced".
bool FrmMain2::SaveBasicConf()
{
    config::ConfigurationStore &store = config::store();
    if (const auto channel = config::channelAtPosition(store.sysDeviceInfo.regulationDomain, ChannelCombo->currentIndex()))
        store.operChannelID = config::Integer(*channel);
    store.operESSID = ESSIDtext->text();
    return true;
}

bool FrmMain2::thresholdsAreStorable()
{
    QLineEdit *firstRefused = nullptr;
    for (QLineEdit *box : {RTSThresholdText, FragmentationThresholdText}) {
        if (dialogs::thresholdFromText(box->text()))
            continue;
        dialogparts::markRefused(box, dialogs::thresholdHint());
        if (!firstRefused)
            firstRefused = box;
    }
    if (firstRefused) {
        // The thresholds are edited on "Basic Setting".
        SSTab1->setCurrentIndex(BasicTab);
        firstRefused->setFocus();
        firstRefused->selectAll();
    }
    return firstRefused == nullptr;
}

// Every field of the tab, or nothing when a threshold is not a whole
// number the device accepts.
bool FrmMain2::SaveWirelessConf()
{
    if (!thresholdsAreStorable())
        return false;
    config::ConfigurationStore &store = config::store();
    store.operESSID = ESSIDtext->text();
    store.operRTSThreshold = *dialogs::thresholdFromText(RTSThresholdText->text());
    store.operFragmentationThreshold = *dialogs::thresholdFromText(FragmentationThresholdText->text());
    store.operPreambleType = ShortPreambleOption->isChecked() ? 1 : 2;

    if (OpenSystemOption->isChecked())
        store.operAuthenticationType = 1;
    else if (SharedKeyOption->isChecked())
        store.operAuthenticationType = 2;
    else if (BothTypeOption->isChecked())
        store.operAuthenticationType = 3;

    if (BasicRates12Option->isChecked())
        store.operBasicRates = config::kBasicRatesLow;
    else if (BasicRates125511Option->isChecked())
        store.operBasicRates = config::kBasicRatesAll;

    if (AutoRateFallBackCheck->checkState() == Qt::Checked)
        store.operAutoRateFallBack = 1;
    else if (AutoRateFallBackCheck->checkState() == Qt::Unchecked)
        store.operAutoRateFallBack = 2;
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
        || !MainForm->session().askUser(QStringLiteral("Do you want to restore to factory defaults ?"),
                                        QStringLiteral("Restore Defaults"))
        || refusedWhileBusy())
        return;

    ChannelCombo->setCurrentIndex(restoreDefaultsChannelPosition());
    ESSIDtext->setText(kFactoryESSID);
    SaveBasicConf();

    // The keys and the key number stay as the WEP tab shows them.
    WepEnableCombo->setCurrentIndex(kWepDisablePosition);
    SaveWEPConf();

    LongPreambleOption->setChecked(true);
    BothTypeOption->setChecked(true);
    BasicRates125511Option->setChecked(true);
    AutoRateFallBackCheck->setCheckState(Qt::Checked);
    RTSThresholdText->setText(kFactoryThreshold);
    FragmentationThresholdText->setText(kFactoryThreshold);
    SaveWirelessConf();

    IPAddressText->setText(kFactoryIPAddress);
    IPMaskText->setText(kFactoryIPMask);
    SaveIPConf();

    cmdOK_Click();
}
