#pragma once
// "Test Settings": puts the radio into test mode and into one of its three
// test modes with the parameters chosen here, and back to normal operation
// on "Close Test". Modal; every device action is tried up to four times and
// reported in the window's own status line.
//
// States: Setup (parameters, Start, Cancel) -> Test after a successful
// Start (the mode check boxes and Close appear) -> Mode active while one
// mode is checked (the other modes and the parameters are greyed, whatever
// the device answered) -> Closing after "Close Test": the device goes idle
// and is reset, and Timer1 unloads the window 3 s after the click (when the
// device does not get back to normal, the window stays with the failure in
// sight, and the main status line says it too, until its close box). Nothing
// unloads the window while a device step runs: a tick, the close box or
// Escape that comes meanwhile takes effect once the step has returned.

#include "agent/radio_job.h"

#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QVector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class MaskedHexEdit;

namespace agent {
class DeviceSession;
}  // namespace agent

class frmTestMode : public QDialog {
    Q_OBJECT
public:
    enum class State { Setup, Test, ModeActive, Closing };

    explicit frmTestMode(agent::DeviceSession &session, QWidget *parent = nullptr);

    State state() const { return state_; }

    QLabel *Label1;
    QVector<QRadioButton *> AntennaOption;  // "A", "B"
    QLabel *Label2;
    QVector<QRadioButton *> TxFilterOption;  // "US", "JPN"
    QLabel *Label4;
    QVector<QRadioButton *> RateOption;  // "1", "2", "5.5", "11"
    QLabel *Label3;
    QComboBox *ChannelCombo;
    QLabel *Label20;
    MaskedHexEdit *CR31edit;
    QGroupBox *Frame2;  // the parameters
    QGroupBox *Frame1;  // the modes
    QCheckBox *ContinuousRxCheck;
    QCheckBox *ContinuousTxWithoutModCheck;
    QCheckBox *ContinuousTxWithModCheck;
    QPushButton *StartCommand;
    QPushButton *CloseCommand;
    QPushButton *CancelCommand;
    QLineEdit *StatusBar;
    QTimer Timer1;  // unloads the window after Close Test

    qint16 RetryCount = 0;

public slots:
    void StartCommand_Click();
    void CloseCommand_Click();
    void CancelCommand_Click();
    void ContinuousRxCheck_Click();
    void ContinuousTxWithModCheck_Click();
    void ContinuousTxWithoutModCheck_Click();
    void Timer1_Timer();
    // The CR31 check that runs when the focus leaves CR31edit (by a click:
    // that click is dropped when the check warns).
    void CR31edit_LostFocus(bool byClick = false);
    // The close box and Escape: Cancel before a successful Start, Close
    // Test after it (the radio must not stay in a test mode).
    void reject() override;

signals:
    // A failed "Close Test" is said in the main window's status line too.
    void statusForMainWindow(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void ShowTestDefaults();
    void SaveTestConf();
    void buildControls();
    void enterState(State state);
    bool runAction(agent::RadioJob::Action action);
    void modeCheckChanged(QCheckBox *box, agent::RadioJob::Action action);
    void unload();
    void unloadIfDue();

    QPointer<agent::DeviceSession> session_;
    State state_ = State::Setup;
    int acting_ = 0;          // handlers under way (they may wait on the network)
    bool unloadDue_ = false;  // asked to unload while acting
    QString warnedCR31_;      // the CR31 text the user was last warned about
    bool swallowingClick_ = false;
    class ActingScope;
};
