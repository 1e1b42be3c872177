#include "radiotest/frm_test_mode.h"
#include "widgets/accessibility.h"

#include "agent/device_session.h"
#include "radiotest/radio_actions.h"
#include "config/configuration_store.h"
#include "config/radio_commands.h"
#include "widgets/masked_hex_edit.h"
#include "radiotest/input_hold.h"
#include "radiotest/message_boxes.h"
#include "radiotest/radio_window_parts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using radiotest::Action;

// Counts a handler that may wait on the network; the window is unloaded
// only when none is under way.
class frmTestMode::ActingScope {
public:
    explicit ActingScope(frmTestMode &window) : window_(window) { ++window_.acting_; }
    ~ActingScope() { --window_.acting_; }
    ActingScope(const ActingScope &) = delete;
    ActingScope &operator=(const ActingScope &) = delete;

private:
    frmTestMode &window_;
};

namespace {

QLabel *label(const QString &objectName, const QString &caption, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(objectName);
    return label;
}

QCheckBox *checkBox(const QString &objectName, const QString &caption, QWidget *parent)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(objectName);
    return box;
}


// A row of option buttons after their label.
void addOptionRow(QGridLayout *grid, int row, QLabel *label, const QVector<QRadioButton *> &options)
{
    grid->addWidget(label, row, 0);
    for (int i = 0; i < options.size(); ++i)
        grid->addWidget(options[i], row, 1 + i);
}

}  // namespace

frmTestMode::frmTestMode(agent::DeviceSession &session, QWidget *parent) : QDialog(parent), session_(&session)
{
    widgets::makeAccessible(this);
    setObjectName(QStringLiteral("frmTestMode"));
    setWindowTitle(QStringLiteral("Test Settings"));
    setModal(true);
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();

    Timer1.setObjectName(QStringLiteral("Timer1"));
    connect(&Timer1, &QTimer::timeout, this, &frmTestMode::Timer1_Timer);
    connect(StartCommand, &QPushButton::clicked, this, &frmTestMode::StartCommand_Click);
    connect(CloseCommand, &QPushButton::clicked, this, &frmTestMode::CloseCommand_Click);
    connect(CancelCommand, &QPushButton::clicked, this, &frmTestMode::CancelCommand_Click);
    connect(ContinuousRxCheck, &QCheckBox::toggled, this, &frmTestMode::ContinuousRxCheck_Click);
    connect(ContinuousTxWithModCheck, &QCheckBox::toggled, this, &frmTestMode::ContinuousTxWithModCheck_Click);
    connect(ContinuousTxWithoutModCheck, &QCheckBox::toggled, this,
            &frmTestMode::ContinuousTxWithoutModCheck_Click);
    CR31edit->installEventFilter(this);

    Form_Load();
}

void frmTestMode::buildControls()
{
    Frame2 = new QGroupBox(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Label1 = label(QStringLiteral("Label1"), QStringLiteral("Antenna"), Frame2);
    AntennaOption = radiotest::optionArray(QStringLiteral("AntennaOption"), Label1->text(),
                                           {QStringLiteral("A"), QStringLiteral("B")}, Frame2);
    Label2 = label(QStringLiteral("Label2"), QStringLiteral("Tx Filter"), Frame2);
    TxFilterOption = radiotest::optionArray(QStringLiteral("TxFilterOption"), Label2->text(),
                                            {QStringLiteral("US"), QStringLiteral("JPN")}, Frame2);
    Label4 = label(QStringLiteral("Label4"), QStringLiteral("Rate"), Frame2);
    RateOption = radiotest::optionArray(
        QStringLiteral("RateOption"), Label4->text(),
        {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("5.5"), QStringLiteral("11")}, Frame2);
    Label3 = label(QStringLiteral("Label3"), QStringLiteral("Channel"), Frame2);
    ChannelCombo = new QComboBox(Frame2);
    ChannelCombo->setObjectName(QStringLiteral("ChannelCombo"));
    for (int channel = 1; channel <= 14; ++channel)
        ChannelCombo->addItem(QStringLiteral("Channel %1").arg(channel));
    Label3->setBuddy(ChannelCombo);
    Label20 = label(QStringLiteral("Label20"), QStringLiteral("Reg CR31"), Frame2);
    CR31edit = new MaskedHexEdit(1, Frame2);
    CR31edit->setObjectName(QStringLiteral("CR31edit"));
    CR31edit->setFixedWidth(CR31edit->minimumWidth());  // two places, no more
    Label20->setBuddy(CR31edit);

    auto *parameters = new QGridLayout(Frame2);
    addOptionRow(parameters, 0, Label1, AntennaOption);
    addOptionRow(parameters, 1, Label2, TxFilterOption);
    addOptionRow(parameters, 2, Label4, RateOption);
    parameters->addWidget(Label3, 3, 0);
    parameters->addWidget(ChannelCombo, 3, 1, 1, 3);
    parameters->addWidget(Label20, 4, 0);
    parameters->addWidget(CR31edit, 4, 1, 1, 2, Qt::AlignLeft);

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    ContinuousRxCheck = checkBox(QStringLiteral("ContinuousRxCheck"), QStringLiteral("Continuous Rx"), Frame1);
    ContinuousTxWithoutModCheck = checkBox(QStringLiteral("ContinuousTxWithoutModCheck"),
                                           QStringLiteral("Continuous Tx     (without modulation)"), Frame1);
    ContinuousTxWithModCheck = checkBox(QStringLiteral("ContinuousTxWithModCheck"),
                                        QStringLiteral("Continuous Tx          (with modulation)"), Frame1);
    auto *modes = new QVBoxLayout(Frame1);
    modes->addWidget(ContinuousRxCheck);
    modes->addWidget(ContinuousTxWithoutModCheck);
    modes->addWidget(ContinuousTxWithModCheck);

    StartCommand = radiotest::commandButton(QStringLiteral("StartCommand"), QStringLiteral("Start Test"), this);
    CloseCommand = radiotest::commandButton(QStringLiteral("CloseCommand"), QStringLiteral("Close Test"), this);
    CancelCommand = radiotest::commandButton(QStringLiteral("CancelCommand"), QStringLiteral("Cancel"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(StartCommand);
    buttons->addWidget(CloseCommand);
    buttons->addWidget(CancelCommand);

    StatusBar = radiotest::statusLine(this);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Frame2);
    layout->addWidget(Frame1);
    layout->addLayout(buttons);
    layout->addWidget(StatusBar);
    // The window grows when the modes appear and stays as small as its
    // contents otherwise.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void frmTestMode::Form_Load()
{
    enterState(State::Setup);
    ShowTestDefaults();
    radiotest::showStatus(StatusBar, radiotest::text::pushStart);
}

void frmTestMode::ShowTestDefaults()
{
    CR31edit->setStoreText(QStringLiteral("C0"));
    AntennaOption[0]->setChecked(true);
    TxFilterOption[0]->setChecked(true);
    RateOption[3]->setChecked(true);
    ChannelCombo->setCurrentIndex(0);
}

void frmTestMode::SaveTestConf()
{
    config::ConfigurationStore &store = session_->device().store();
    // Empty places go to the store as the prompt "_" (read as no digit).
    store.testModeCR31 = CR31edit->placesText();
    const struct {
        const QVector<QRadioButton *> &options;
        config::Integer &field;
        int firstCode;
        const QString &missing;
    } arrays[] = {
        {AntennaOption, store.testModeAntenna, 1, radiotest::text::selectAntenna},
        {TxFilterOption, store.testModeTxFilter, 1, radiotest::text::selectTxFilter},
        {RateOption, store.testModeRate, 0, radiotest::text::selectRate},
    };
    for (const auto &array : arrays) {
        const int selected = radiotest::selectedIndex(array.options);
        if (selected < 0)
            radiotest::messageBoxes().tell(this, array.missing);
        else
            array.field = config::Integer(array.firstCode + selected);
    }
    if (ChannelCombo->currentIndex() >= 0)
        store.testModeChannel = config::Integer(ChannelCombo->currentIndex() + 1);
}

void frmTestMode::enterState(State state)
{
    state_ = state;
    const bool setup = state == State::Setup;
    Frame1->setVisible(!setup);
    CloseCommand->setVisible(!setup);
    StartCommand->setVisible(setup);
    CancelCommand->setVisible(setup);
    if (state == State::Closing) {
        // Once the device is on its way back to normal operation, nothing
        // here may start a test again before the window goes.
        Frame1->setEnabled(false);
        Frame2->setEnabled(false);
        CloseCommand->setEnabled(false);
    }
}

bool frmTestMode::runAction(Action action)
{
    if (!session_)
        return false;
    const radiotest::InputHold hold(this);
    const radiotest::Outcome outcome = radiotest::runAndWait(*session_, action, RetryCount);
    radiotest::showStatus(StatusBar, outcome.text);
    return outcome.ok;
}

void frmTestMode::StartCommand_Click()
{
    if (state_ != State::Setup || acting_)
        return;
    {
        const ActingScope acting(*this);
        SaveTestConf();
        if (runAction(Action::StartTest))
            enterState(State::Test);
    }
    unloadIfDue();
}

void frmTestMode::modeCheckChanged(QCheckBox *box, Action action)
{
    if (state_ != State::Test && state_ != State::ModeActive)
        return;
    const bool checked = box->isChecked();
    {
        const ActingScope acting(*this);
        SaveTestConf();
        runAction(checked ? action : Action::Idle);
        // Whatever the device answered, one mode at a time.
        for (QCheckBox *other : {ContinuousRxCheck, ContinuousTxWithModCheck, ContinuousTxWithoutModCheck}) {
            if (other != box)
                other->setEnabled(!checked);
        }
        Frame2->setEnabled(!checked);
        state_ = checked ? State::ModeActive : State::Test;
    }
    unloadIfDue();
}

void frmTestMode::ContinuousRxCheck_Click() { modeCheckChanged(ContinuousRxCheck, Action::ContinuousRx); }

void frmTestMode::ContinuousTxWithModCheck_Click()
{
    modeCheckChanged(ContinuousTxWithModCheck, Action::ContinuousTxWithModulation);
}

void frmTestMode::ContinuousTxWithoutModCheck_Click()
{
    modeCheckChanged(ContinuousTxWithoutModCheck, Action::ContinuousTxWithoutModulation);
}

void frmTestMode::CloseCommand_Click()
{
    if ((state_ != State::Test && state_ != State::ModeActive) || acting_)
        return;
    // The countdown starts before the device is asked: the window goes
    // even when the device never answers.
    Timer1.start(session_ ? session_->device().scaled(radiotest::kTestWindowCloseDelayMs)
                          : radiotest::kTestWindowCloseDelayMs);
    enterState(State::Closing);
    bool normal = false;
    {
        const ActingScope acting(*this);
        SaveTestConf();
        normal = runAction(Action::CloseTest);
    }
    if (!normal) {
        // The window stays with the failure in sight (its close box ends
        // it), and the main window's status line says it too.
        Timer1.stop();
        unloadDue_ = false;
        emit statusForMainWindow(StatusBar->text());
        return;
    }
    unloadIfDue();
}

void frmTestMode::CancelCommand_Click()
{
    if (state_ == State::Setup)
        unload();
}

void frmTestMode::Timer1_Timer()
{
    Timer1.stop();
    unload();
}

void frmTestMode::reject()
{
    if (acting_)
        return;
    if (state_ == State::Setup)
        CancelCommand_Click();
    else if (state_ == State::Test || state_ == State::ModeActive)
        CloseCommand_Click();
    else if (!Timer1.isActive())  // Close Test failed: the window waited for this
        unload();
}

void frmTestMode::unload()
{
    if (acting_) {
        unloadDue_ = true;
        return;
    }
    Timer1.stop();
    done(QDialog::Rejected);
}

void frmTestMode::unloadIfDue()
{
    if (unloadDue_ && !acting_) {
        unloadDue_ = false;
        unload();
    }
}

bool frmTestMode::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == CR31edit && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        // Another window taking the focus (the warning itself among them)
        // is no leaving of the box.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            CR31edit_LostFocus(reason == Qt::MouseFocusReason);
        return QDialog::eventFilter(watched, event);
    }
    // The click that took the focus from a refused CR31 text: the user has
    // not seen the warning yet, so it must not start anything.
    if (swallowingClick_ && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease
                             || event->type() == QEvent::MouseButtonDblClick)) {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && isAncestorOf(widget))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmTestMode::CR31edit_LostFocus(bool byClick)
{
    // Checked right here, before the click that moved the focus is handled:
    // a click whose press and release come together must not send the
    // value before the warning. The check only warns: once the user has
    // seen the warning for a text, the next action sends it as it is.
    if (acting_ || state_ == State::Closing || !isVisible())
        return;
    const QString text = CR31edit->placesText();
    if (config::isAcceptedCR31(text)) {
        warnedCR31_.clear();
        return;
    }
    if (text == warnedCR31_)
        return;
    warnedCR31_ = text;
    if (byClick && !swallowingClick_) {
        swallowingClick_ = true;
        qApp->installEventFilter(this);
        QMetaObject::invokeMethod(
            this,
            [this] {
                qApp->removeEventFilter(this);
                swallowingClick_ = false;
            },
            Qt::QueuedConnection);
    }
    // After the focus change has finished: the message box takes the focus
    // itself, and the box gets it back afterwards.
    QMetaObject::invokeMethod(
        this,
        [this] {
            radiotest::messageBoxes().tell(this, radiotest::text::wrongCR31);
            CR31edit->setFocus();
        },
        Qt::QueuedConnection);
}
