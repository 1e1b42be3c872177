#include "dialogs/frm_wireless_operational_settings.h"

#include "config/configuration_store.h"
#include "config/encodings.h"
#include "agent/device.h"
#include "config/value_rules.h"
#include "widgets/dialog_parts.h"
#include "widgets/up_down_control.h"
#include "dialogs/wireless_operational_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

frmWireLessOperationalSettings::frmWireLessOperationalSettings(agent::Device &device, QWidget *parent)
    : SettingsDialog(QStringLiteral("WireLess Operational Settings"), parent), device_(device)
{
    buildControls();
    Form_Load();
}

void frmWireLessOperationalSettings::buildControls()
{
    ChannelCombo = new QComboBox(this);
    ChannelCombo->setObjectName(QStringLiteral("ChannelCombo"));
    ESSIDtext = dialogparts::unlimitedTextBox(QStringLiteral("ESSIDtext"), this);
    RTSThresholdText = dialogparts::unlimitedTextBox(QStringLiteral("RTSThresholdText"), this);
    FragmentationThresholdText = dialogparts::unlimitedTextBox(QStringLiteral("FragmentationThresholdText"), this);
    UpDown2 = new UpDownControl(RTSThresholdText, config::kThresholdMinimum, config::kThresholdMaximum, this);
    UpDown2->setObjectName(QStringLiteral("UpDown2"));
    UpDown1 = new UpDownControl(FragmentationThresholdText, config::kThresholdMinimum, config::kThresholdMaximum, this);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    for (QLineEdit *box : {RTSThresholdText, FragmentationThresholdText}) {
        box->setToolTip(config::thresholdHint());
    }

    ShortPreambleOption = dialogparts::option(QStringLiteral("ShortPreambleOption"), QStringLiteral("Short Preamble"), this);
    LongPreambleOption = dialogparts::option(QStringLiteral("LongPreambleOption"), QStringLiteral("Long Preamble"), this);
    OpenSystemOption = dialogparts::option(QStringLiteral("OpenSystemOption"), QStringLiteral("Open System"), this);
    SharedKeyOption = dialogparts::option(QStringLiteral("SharedKeyOption"), QStringLiteral("Shared Key"), this);
    BothTypeOption = dialogparts::option(QStringLiteral("BothTypeOption"), QStringLiteral("Both"), this);
    BasicRates12Option = dialogparts::option(QStringLiteral("BasicRates12Option"), QStringLiteral("1 - 2 (Mbps)"), this);
    BasicRates125511Option =
        dialogparts::option(QStringLiteral("BasicRates125511Option"), QStringLiteral("1 - 2 - 5.5 - 11(Mbps)"), this);
    AutoRateFallBackCheck = new QCheckBox(QStringLiteral("Auto Rate Fall Back"), this);
    AutoRateFallBackCheck->setObjectName(QStringLiteral("AutoRateFallBackCheck"));

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setVerticalSpacing(4);
    grid->addWidget(dialogparts::label(QStringLiteral("Label3"), QStringLiteral("Channel"), ChannelCombo, this), 0, 0);
    grid->addWidget(ChannelCombo, 0, 1);
    grid->addWidget(dialogparts::label(QStringLiteral("Label4"), QStringLiteral("ESSID"), ESSIDtext, this), 1, 0);
    grid->addWidget(ESSIDtext, 1, 1);
    grid->addWidget(dialogparts::label(QStringLiteral("Label1"), QStringLiteral("RTS Threshold"), RTSThresholdText, this), 2, 0);
    grid->addLayout(dialogparts::withUpDown(RTSThresholdText, UpDown2), 2, 1);
    grid->addWidget(dialogparts::label(QStringLiteral("Label2"), QStringLiteral("Fragmentation Threshold"),
                                       FragmentationThresholdText, this),
                    3, 0);
    grid->addLayout(dialogparts::withUpDown(FragmentationThresholdText, UpDown1), 3, 1);
    grid->addWidget(dialogparts::optionFrame(QStringLiteral("Frame1"), QStringLiteral("Preamble Type"),
                          {ShortPreambleOption, LongPreambleOption}, this),
                    4, 0);
    grid->addWidget(dialogparts::optionFrame(QStringLiteral("Frame2"), QStringLiteral("Authentication Type"),
                          {OpenSystemOption, SharedKeyOption, BothTypeOption}, this),
                    4, 1);
    grid->addWidget(dialogparts::optionFrame(QStringLiteral("Frame3"), QStringLiteral("Basic Rates"),
                          {BasicRates12Option, BasicRates125511Option}, this),
                    5, 0);
    // OK and Cancel below the check box, beside the basic rates: the whole
    // dialog fits the main window's default size.
    const auto buttons = dialogparts::okCancelButtons(this);
    auto *lastColumn = new QVBoxLayout;
    lastColumn->addWidget(AutoRateFallBackCheck);
    lastColumn->addStretch(1);
    lastColumn->addLayout(buttons.row);
    grid->addLayout(lastColumn, 5, 1);
    connect(buttons.ok, &QPushButton::clicked, this, &frmWireLessOperationalSettings::OKCommand_Click);
    connect(buttons.cancel, &QPushButton::clicked, this, &frmWireLessOperationalSettings::CancelCommand_Click);
}

dialogs::WirelessOperationalControls frmWireLessOperationalSettings::controls() const
{
    return {ChannelCombo,           ESSIDtext,       RTSThresholdText,  FragmentationThresholdText,
            ShortPreambleOption,    LongPreambleOption, OpenSystemOption, SharedKeyOption,
            BothTypeOption,         BasicRates12Option, BasicRates125511Option, AutoRateFallBackCheck};
}

void frmWireLessOperationalSettings::Form_Load()
{
    controls().fillChannelList(device_.store().sysDeviceInfo.regulationDomain);
    ShowConf();
}

void frmWireLessOperationalSettings::ShowConf()
{
    controls().show(device_.store());
}

// Stores every control, or nothing when the device would refuse a text.
bool frmWireLessOperationalSettings::SaveConf()
{
    const dialogs::WirelessOperationalControls boxes = controls();
    if (QLineEdit *refused = boxes.markRefused(true)) {
        qCDebug(lcSettingsDialogs) << "text refused:" << refused->objectName();
        return false;
    }
    auto &store = device_.store();
    const config::ConfigurationStore before = store;
    boxes.saveChannel(store);
    store.operESSID = ESSIDtext->text();
    boxes.saveThresholds(store);
    boxes.saveOptions(store);
    device_.noteEdits(config::Group::WirelessOperational, before);
    return true;
}

void frmWireLessOperationalSettings::OKCommand_Click()
{
    if (!storeIsBusy() && SaveConf())
        accept();
}

void frmWireLessOperationalSettings::CancelCommand_Click() { reject(); }
