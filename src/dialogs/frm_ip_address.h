#pragma once
// The connect dialog: the device's address and read/write community,
// remembered per user, with the last few devices to choose from. OK
// connects to the typed address, Scan looks for a device by a broadcast
// and closes the dialog when one answers.

#include <QDialog>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace agent {
class DeviceSession;
}

class frmIPAddress : public QDialog {
    Q_OBJECT
public:
    explicit frmIPAddress(agent::DeviceSession &session, QWidget *parent = nullptr);

    // What OK does with the texts: `address` probed with `community`, both
    // remembered, the address first among the last devices.
    static void confirmConnect(agent::DeviceSession &session, const QString &address, const QString &community);

    // Fills both boxes from the remembered texts; runs whenever the dialog
    // is shown.
    void Form_Load();

    QFrame *Frame1 = nullptr;
    QLabel *Label1 = nullptr;
    QComboBox *cboRemoteIP = nullptr;  // the last devices; its text box is txtRemoteIP
    QLineEdit *txtRemoteIP = nullptr;
    QLineEdit *txtReadWritePassword = nullptr;
    QPushButton *Command1 = nullptr;  // OK
    QPushButton *Command2 = nullptr;  // Cancel
    QPushButton *Command3 = nullptr;  // Scan

public slots:
    // OK; other windows run it to reconnect with the texts in the dialog.
    void Command1_Click();
    // Cancel.
    void Command2_Click();
    // Scan.
    void Command3_Click();
    // Escape and the close box answer like Cancel.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void closeAfterScan();

    agent::DeviceSession &session_;
    bool acting_ = false;  // a click is being handled (sending waits on the network)
};
