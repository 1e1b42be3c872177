#include "dialogs/frm_wireless_privacy_options.h"

#include "agent/device.h"
#include "config/configuration_store.h"
#include "widgets/dialog_parts.h"
#include "widgets/masked_hex_edit.h"
#include "dialogs/wireless_privacy_controls.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr int kKeyPairs = 5;        // a 40-bit key

const char *const kKeyLabelNames[] = {"Label1", "Label3", "Label4", "Label5"};

QComboBox *comboBox(const QString &objectName, const QStringList &items, QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(objectName);
    combo->addItems(items);
    return combo;
}

}  // namespace

frmWireLessPrivacyOptions::frmWireLessPrivacyOptions(agent::Device &device, QWidget *parent)
    : SettingsDialog(QStringLiteral("WireLess Privacy Options"), parent), device_(device),
      WepEnableCombo(comboBox(QStringLiteral("WepEnableCombo"), {QStringLiteral("Enable"), QStringLiteral("Disable")}, this)),
      DefaultWepKeyIDCombo(comboBox(QStringLiteral("DefaultWepKeyIDCombo"),
                                    {QStringLiteral("Key 1"), QStringLiteral("Key 2"), QStringLiteral("Key 3"),
                                     QStringLiteral("Key 4"), QStringLiteral("None")},
                                    this))
{
    auto *grid = new QGridLayout(this);
    grid->addWidget(dialogparts::label(QStringLiteral("Label8"), QStringLiteral("WEP (ON/OFF)"), WepEnableCombo, this), 0, 0);
    grid->addWidget(WepEnableCombo, 0, 1);
    grid->addWidget(dialogparts::label(QStringLiteral("Label9"), QStringLiteral("Default key"), DefaultWepKeyIDCombo, this), 1, 0);
    grid->addWidget(DefaultWepKeyIDCombo, 1, 1);
    for (int i = 0; i < 4; ++i) {
        DefaultWepKey[i] = new MaskedHexEdit(kKeyPairs, this);
        DefaultWepKey[i]->setObjectName(QStringLiteral("DefaultWepKey%1").arg(i + 1));
        const QString caption = QStringLiteral("Key %1").arg(i + 1);
        grid->addWidget(dialogparts::label(QLatin1String(kKeyLabelNames[i]), caption, DefaultWepKey[i], this), 2 + i, 0);
        grid->addWidget(DefaultWepKey[i], 2 + i, 1);
    }

    const auto buttons = dialogparts::okCancelButtons(this);
    grid->addLayout(buttons.row, 6, 0, 1, 2);
    connect(buttons.ok, &QPushButton::clicked, this, &frmWireLessPrivacyOptions::OKCommand_Click);
    connect(buttons.cancel, &QPushButton::clicked, this, &frmWireLessPrivacyOptions::CancelCommand_Click);

    Form_Load();
}

void frmWireLessPrivacyOptions::Form_Load() { ShowConf(); }

dialogs::WirelessPrivacyControls frmWireLessPrivacyOptions::controls() const
{
    return {WepEnableCombo, DefaultWepKeyIDCombo, DefaultWepKey};
}

void frmWireLessPrivacyOptions::ShowConf() { controls().show(device_.store()); }

// Writes the controls back and unloads the dialog; with a key the device
// would refuse, stores nothing and stays.
void frmWireLessPrivacyOptions::SaveConf()
{
    if (controls().markRefusedKeys())
        return;
    controls().save(device_);
    accept();
}

void frmWireLessPrivacyOptions::OKCommand_Click()
{
    if (!storeIsBusy())
        SaveConf();
}

void frmWireLessPrivacyOptions::CancelCommand_Click() { reject(); }
