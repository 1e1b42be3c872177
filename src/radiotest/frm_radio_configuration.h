#pragma once
// "Radio Configuration": the radio's CR31 register value for each of the
// 14 channels. Unlike the settings dialogs it talks to the device itself:
// it reads when it opens and on "Update values", and writes on "Set", each
// tried up to four times, with the outcome in its own status line. "Set"
// is offered once a read has shown the device's values, and sends only
// boxes of two hexadecimal digits: a box that is not is marked and nothing
// goes out.
//
// The window is never torn down while it waits for the device: closing it
// meanwhile takes effect once the request has returned.

#include <QDialog>
#include <QPointer>

class QLabel;
class QLineEdit;
class QPushButton;
class MaskedHexEdit;

namespace agent {
class DeviceSession;
}

class frmRadioConfiguration : public QDialog {
    Q_OBJECT
public:
    static constexpr int kChannels = 14;

    explicit frmRadioConfiguration(agent::DeviceSession &session, QWidget *parent = nullptr);

    MaskedHexEdit *CR31edit[kChannels];  // channel k + 1
    QLabel *ChannelLabel[kChannels];     // "Channel 1" ... "Channel 14"
    QPushButton *UpdateCommand;
    QPushButton *SetCommand;
    QPushButton *CancelCommand;
    QLineEdit *StatusBar;

    qint16 RetryCount = 0;

public slots:
    // Reads the device and shows what it holds; also "Update values".
    void Form_Load();
    void UpdateCommand_Click() { Form_Load(); }
    void SetCommand_Click();
    void CancelCommand_Click();
    void reject() override;  // Escape, and the frame's close box

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void ShowConf();
    void SaveConf();
    void closeIfDue();
    bool markRefusedBoxes();

    QPointer<agent::DeviceSession> session_;
    bool acting_ = false;     // a read or write is waiting on the network
    bool unloadDue_ = false;  // asked to close meanwhile
};
