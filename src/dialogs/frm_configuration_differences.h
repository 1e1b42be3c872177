#pragma once
// What a settings file would change on the device, before anything is
// taken: one row per setting (its name, the device's value, the file's
// value), the settings the device keeps marked as such. OK puts the
// file's values into the store as edits waiting to be downloaded; Cancel
// leaves everything as it was.

#include "dialogs/configuration_file.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QTableWidget;

class frmConfigurationDifferences : public QDialog {
    Q_OBJECT
public:
    frmConfigurationDifferences(const config::SettingsFile &file, const QString &path,
                                const config::ConfigurationStore &device, QWidget *parent = nullptr);

    // Also the IP and Ethernet addresses of the file (a device brought back
    // to its own file), not only its settings.
    bool withAddresses() const;
    const config::SettingsFile &file() const { return file_; }
    QString path() const { return path_; }

    QLabel *SummaryLabel = nullptr;
    QTableWidget *DifferencesTable = nullptr;
    QCheckBox *WithAddressesCheck = nullptr;

private:
    void showDifferences();

    config::SettingsFile file_;
    QString path_;
    config::ConfigurationStore device_;
};
