#include "radiotest/frm_radio_configuration.h"
#include "widgets/accessibility.h"

#include "agent/device_session.h"
#include "radiotest/radio_actions.h"
#include "config/configuration_store.h"
#include "config/value_rules.h"
#include "widgets/dialog_parts.h"
#include "widgets/masked_hex_edit.h"
#include "radiotest/input_hold.h"
#include "radiotest/message_boxes.h"
#include "radiotest/radio_window_parts.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kRowsPerColumn = 7;


// Sets a flag for the life of a handler that waits on the network.
class Acting {
public:
    explicit Acting(bool &flag) : flag_(flag) { flag_ = true; }
    ~Acting() { flag_ = false; }
    Acting(const Acting &) = delete;
    Acting &operator=(const Acting &) = delete;

private:
    bool &flag_;
};

}  // namespace

frmRadioConfiguration::frmRadioConfiguration(agent::DeviceSession &session, QWidget *parent)
    : QDialog(parent), session_(&session)
{
    widgets::makeAccessible(this);
    setObjectName(QStringLiteral("frmRadioConfiguration"));
    setWindowTitle(QStringLiteral("Radio Configuration"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    connect(UpdateCommand, &QPushButton::clicked, this, &frmRadioConfiguration::UpdateCommand_Click);
    connect(SetCommand, &QPushButton::clicked, this, &frmRadioConfiguration::SetCommand_Click);
    connect(CancelCommand, &QPushButton::clicked, this, &frmRadioConfiguration::CancelCommand_Click);
    // The read waits on the network: the window is on screen (and its
    // frame in place) before it starts.
    QMetaObject::invokeMethod(this, &frmRadioConfiguration::Form_Load, Qt::QueuedConnection);
}

void frmRadioConfiguration::buildControls()
{
    auto *grid = new QGridLayout;
    for (int column = 0; column < kChannels / kRowsPerColumn; ++column) {
        auto *heading = new QLabel(QStringLiteral("CR31"), this);
        heading->setObjectName(QStringLiteral("CR31Heading(%1)").arg(column));
        grid->addWidget(heading, 0, 3 * column + 1);
    }
    for (int k = 0; k < kChannels; ++k) {
        const int row = 1 + k % kRowsPerColumn;
        const int column = 3 * (k / kRowsPerColumn);
        ChannelLabel[k] = new QLabel(QStringLiteral("Channel %1").arg(k + 1), this);
        ChannelLabel[k]->setObjectName(QStringLiteral("ChannelLabel(%1)").arg(k));
        CR31edit[k] = new MaskedHexEdit(1, this);
        CR31edit[k]->setObjectName(QStringLiteral("CR31edit(%1)").arg(k));
        CR31edit[k]->setFixedWidth(CR31edit[k]->minimumWidth());  // two places, no more
        ChannelLabel[k]->setBuddy(CR31edit[k]);
        CR31edit[k]->setAccessibleName(ChannelLabel[k]->text() + QStringLiteral(" CR31"));
        grid->addWidget(ChannelLabel[k], row, column);
        grid->addWidget(CR31edit[k], row, column + 1);
    }
    grid->setColumnMinimumWidth(2, 24);  // between the two columns of channels
    grid->setColumnStretch(5, 1);        // the boxes stay next to their labels

    UpdateCommand = radiotest::commandButton(QStringLiteral("UpdateCommand"), QStringLiteral("Update values"), this);
    SetCommand = radiotest::commandButton(QStringLiteral("SetCommand"), QStringLiteral("Set"), this);
    CancelCommand = radiotest::commandButton(QStringLiteral("CancelCommand"), QStringLiteral("Close"), this);
    // Nothing to set before the boxes show what the device holds.
    SetCommand->setEnabled(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(UpdateCommand);
    buttons->addWidget(SetCommand);
    buttons->addStretch();
    buttons->addWidget(CancelCommand);

    StatusBar = radiotest::statusLine(this);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->addWidget(StatusBar);
}

void frmRadioConfiguration::ShowConf()
{
    const QString &text = session_->device().store().TestModeRadioConfiguration;
    for (int k = 0; k < kChannels; ++k)
        CR31edit[k]->setStoreText(text.mid(2 * k, 2));
}

void frmRadioConfiguration::SaveConf()
{
    QString text;
    for (MaskedHexEdit *box : CR31edit)
        text += box->placesText();
    session_->device().store().TestModeRadioConfiguration = text;
}

void frmRadioConfiguration::Form_Load()
{
    // Closed before its first read began: it is on its way out.
    if (acting_ || !session_ || !isVisible())
        return;
    {
        const Acting acting(acting_);
        const radiotest::InputHold hold(this);
        const radiotest::Outcome outcome =
            radiotest::runAndWait(*session_, radiotest::Action::ReadConfiguration, RetryCount);
        // A failed read leaves the boxes as they were.
        if (outcome.ok) {
            ShowConf();
            for (MaskedHexEdit *box : CR31edit)
                dialogparts::clearRefusedMark(box);
            SetCommand->setEnabled(true);
        }
        radiotest::showStatus(StatusBar, outcome.text);
    }
    closeIfDue();
}

void frmRadioConfiguration::SetCommand_Click()
{
    if (acting_ || !session_)
        return;
    if (markRefusedBoxes()) {
        radiotest::showStatus(StatusBar, radiotest::text::boxesRefused);
        return;
    }
    {
        const Acting acting(acting_);
        if (radiotest::messageBoxes().askYesNo(this, radiotest::text::setQuestion,
                                               radiotest::text::setQuestionTitle)) {
            SaveConf();
            const radiotest::InputHold hold(this);
            const radiotest::Outcome outcome =
                radiotest::runAndWait(*session_, radiotest::Action::WriteConfiguration, RetryCount);
            radiotest::showStatus(StatusBar, outcome.text);
        }
    }
    closeIfDue();
}

bool frmRadioConfiguration::markRefusedBoxes()
{
    bool refused = false;
    for (MaskedHexEdit *box : CR31edit) {
        if (config::isHexText(box->placesText(), 2)) {
            dialogparts::clearRefusedMark(box);
        } else {
            dialogparts::markRefused(box, config::hexHint(2));
            refused = true;
        }
    }
    return refused;
}

void frmRadioConfiguration::CancelCommand_Click()
{
    close();
}

void frmRadioConfiguration::reject()
{
    if (acting_) {
        unloadDue_ = true;
        return;
    }
    QDialog::reject();
}

void frmRadioConfiguration::closeEvent(QCloseEvent *event)
{
    if (acting_) {
        unloadDue_ = true;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void frmRadioConfiguration::closeIfDue()
{
    if (unloadDue_ && !acting_) {
        unloadDue_ = false;
        reject();
    }
}
