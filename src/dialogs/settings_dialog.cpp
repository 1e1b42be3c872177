#include "dialogs/settings_dialog.h"
#include "widgets/accessibility.h"

#include <QMdiSubWindow>
#include <QPointer>

Q_LOGGING_CATEGORY(lcSettingsDialogs, "corvane.dialogs")

SettingsDialog::SettingsDialog(const QString &caption, QWidget *parent) : QDialog(parent)
{
    widgets::makeAccessible(this);
    setWindowTitle(caption);
    // Unloading means the next opening starts from the store again.
    setAttribute(Qt::WA_DeleteOnClose);
}

namespace {
std::function<bool()> &storeBusyCheck()
{
    static std::function<bool()> check;
    return check;
}
}  // namespace

void SettingsDialog::setStoreBusyCheck(std::function<bool()> check)
{
    storeBusyCheck() = std::move(check);
}

bool SettingsDialog::storeIsBusy()
{
    return storeBusyCheck() && storeBusyCheck()();
}

void SettingsDialog::done(int result)
{
    // The frame is looked up before the dialog closes: a closed dialog may
    // already be on its way out of the frame.
    const QPointer<QMdiSubWindow> frame = qobject_cast<QMdiSubWindow *>(parentWidget());
    QDialog::done(result);
    if (frame)
        frame->close();
}
