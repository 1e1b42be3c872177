#include "frm_configuration_differences.h"

#include "widgets/accessibility.h"
#include "widgets/dialog_parts.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

frmConfigurationDifferences::frmConfigurationDifferences(const config::SettingsFile &file, const QString &path,
                                                         const config::ConfigurationStore &device, QWidget *parent)
    : QDialog(parent), file_(file), path_(path), device_(device)
{
    widgets::makeAccessible(this);
    setObjectName(QStringLiteral("frmConfigurationDifferences"));
    setWindowTitle(QStringLiteral("Load Configuration"));

    SummaryLabel = new QLabel(this);
    SummaryLabel->setObjectName(QStringLiteral("SummaryLabel"));
    SummaryLabel->setWordWrap(true);

    DifferencesTable = new QTableWidget(0, 3, this);
    DifferencesTable->setObjectName(QStringLiteral("DifferencesTable"));
    DifferencesTable->setHorizontalHeaderLabels(
        {QStringLiteral("Setting"), QStringLiteral("Device value"), QStringLiteral("File value")});
    DifferencesTable->setAccessibleName(QStringLiteral("Settings that differ"));
    DifferencesTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DifferencesTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    DifferencesTable->verticalHeader()->hide();
    DifferencesTable->setCornerButtonEnabled(false);
    // Qt's corner button stays a control a screen reader meets.
    if (auto *corner = DifferencesTable->findChild<QAbstractButton *>())
        corner->setAccessibleName(QStringLiteral("Select all"));
    DifferencesTable->horizontalHeader()->setStretchLastSection(true);
    SummaryLabel->setBuddy(DifferencesTable);

    WithAddressesCheck = new QCheckBox(QStringLiteral("Also take the &IP and Ethernet addresses from the file"), this);
    WithAddressesCheck->setObjectName(QStringLiteral("WithAddressesCheck"));
    WithAddressesCheck->setToolTip(QStringLiteral(
        "Only for a device brought back to its own file: two devices with one address disturb the network."));
    connect(WithAddressesCheck, &QCheckBox::toggled, this, &frmConfigurationDifferences::showDifferences);

    const dialogparts::OkCancelRow buttons = dialogparts::okCancelButtons(this);
    connect(buttons.ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SummaryLabel);
    layout->addWidget(DifferencesTable, 1);
    layout->addWidget(WithAddressesCheck);
    layout->addLayout(buttons.row);
    // Fits beside the main window at its default size.
    resize(420, 320);
    showDifferences();
}

bool frmConfigurationDifferences::withAddresses() const
{
    return WithAddressesCheck->isChecked();
}

void frmConfigurationDifferences::showDifferences()
{
    const QVector<dialogs::SettingDifference> differences = dialogs::differencesOf(file_, device_, withAddresses());
    DifferencesTable->setRowCount(int(differences.size()));
    int taken = 0;
    for (int row = 0; row < differences.size(); ++row) {
        const dialogs::SettingDifference &d = differences[row];
        const QString fileValue = d.taken ? d.fileValue : QStringLiteral("%1 (not taken: %2)").arg(d.fileValue, d.note);
        const QStringList cells{d.label, d.deviceValue, fileValue};
        for (int column = 0; column < cells.size(); ++column)
            DifferencesTable->setItem(row, column, new QTableWidgetItem(cells[column]));
        taken += d.taken ? 1 : 0;
    }
    DifferencesTable->resizeColumnsToContents();
    const QString from = QDir::toNativeSeparators(path_);
    SummaryLabel->setText(
        taken == 0 ? QStringLiteral("%1 changes nothing the device would take. &Differences:").arg(from)
                   : QStringLiteral("OK takes %1 setting(s) of %2 as edits to download. &Differences:")
                         .arg(taken)
                         .arg(from));
}
