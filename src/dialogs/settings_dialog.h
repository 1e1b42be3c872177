#pragma once
// Common frame of the settings dialogs. A dialog fills its controls from the
// configuration store when it is made, writes them back on OK and does
// nothing on Cancel; either way it is done and unloads: it closes, emits
// QDialog::finished (Accepted after OK, Rejected after Cancel or the title
// bar's close) and deletes itself. When it sits in a QMdiSubWindow it closes
// that frame too, so a host only has to add it to its MDI area and show it.

#include <QDialog>
#include <QLoggingCategory>
#include <functional>

Q_DECLARE_LOGGING_CATEGORY(lcSettingsDialogs)

class SettingsDialog : public QDialog {
    Q_OBJECT

public:
    explicit SettingsDialog(const QString &caption, QWidget *parent = nullptr);

    void done(int result) override;

    // Asked before OK writes the store: true while the console is busy with
    // the device (a download in progress reads the store group by group).
    // The host shows why; the dialog stays open with the user's edits.
    static void setStoreBusyCheck(std::function<bool()> check);

protected:
    static bool storeIsBusy();
};
