#include "frm_ip_address.h"
#include "widgets/accessibility.h"

#include "agent/device_session.h"
#include "settings/app_settings.h"
#include "config/encodings.h"
#include "dialogs/recent_devices.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {
const QString kSection = QStringLiteral("BridgeSettings");
const QString kAddressKey = QStringLiteral("LastIPaddress");
const QString kCommunityKey = QStringLiteral("LastPassword");
}  // namespace

frmIPAddress::frmIPAddress(agent::DeviceSession &session, QWidget *parent)
    : QDialog(parent), session_(session)
{
    widgets::makeAccessible(this);
    setObjectName(QStringLiteral("frmIPAddress"));
    setWindowTitle(QStringLiteral("Enter Access Point IP Address"));

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::Box);
    Frame1->setFrameShadow(QFrame::Sunken);

    Label1 = new QLabel(QStringLiteral("IP Address"), Frame1);
    Label1->setObjectName(QStringLiteral("Label1"));

    // The address box is the text of a list of the last devices connected to.
    cboRemoteIP = new QComboBox(Frame1);
    cboRemoteIP->setObjectName(QStringLiteral("cboRemoteIP"));
    cboRemoteIP->setEditable(true);
    cboRemoteIP->setInsertPolicy(QComboBox::NoInsert);
    txtRemoteIP = new QLineEdit(cboRemoteIP);
    txtRemoteIP->setObjectName(QStringLiteral("txtRemoteIP"));
    txtRemoteIP->setToolTip(QStringLiteral("Enter Access Point IP Address (Default address is 192.168.1.250)"));
    txtRemoteIP->setAccessibleName(QStringLiteral("IP Address"));
    cboRemoteIP->setLineEdit(txtRemoteIP);
    cboRemoteIP->setToolTip(txtRemoteIP->toolTip());
    Label1->setBuddy(cboRemoteIP);

    txtReadWritePassword = new QLineEdit(Frame1);
    txtReadWritePassword->setObjectName(QStringLiteral("txtReadWritePassword"));
    // No label of its own: a screen reader still has to say what it holds.
    txtReadWritePassword->setAccessibleName(QStringLiteral("Read/write community"));

    auto *frameLayout = new QGridLayout(Frame1);
    frameLayout->addWidget(Label1, 0, 0);
    frameLayout->addWidget(cboRemoteIP, 0, 1);
    frameLayout->addWidget(txtReadWritePassword, 1, 1);
    frameLayout->setColumnMinimumWidth(1, 150);

    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    Command2 = new QPushButton(QStringLiteral("Cancel"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setAutoDefault(false);
    Command3 = new QPushButton(QStringLiteral("Scan"), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setAutoDefault(false);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    buttons->addWidget(Command3);
    buttons->addStretch();

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(Frame1, 1);
    layout->addLayout(buttons);
    setSizeGripEnabled(false);

    connect(Command1, &QPushButton::clicked, this, &frmIPAddress::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmIPAddress::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmIPAddress::Command3_Click);
    connect(&session_, &agent::DeviceSession::connectDialogCloseRequested, this, &frmIPAddress::closeAfterScan);

    Form_Load();
}

void frmIPAddress::Form_Load()
{
    cboRemoteIP->clear();
    cboRemoteIP->addItems(dialogs::recentDevices());
    txtRemoteIP->setText(settings::readSetting(kSection, kAddressKey, config::kFactoryIPAddress));
    txtReadWritePassword->setText(settings::readSetting(kSection, kCommunityKey, config::kFactoryCommunity));
}

void frmIPAddress::showEvent(QShowEvent *event)
{
    // Each opening starts from the remembered texts, as a freshly loaded
    // dialog would; texts typed before a Cancel or a scan are not kept.
    if (!event->spontaneous())
        Form_Load();
    QDialog::showEvent(event);
}

void frmIPAddress::Command1_Click()
{
    if (acting_)
        return;
    acting_ = true;
    const QString address = txtRemoteIP->text();
    const QString community = txtReadWritePassword->text();
    confirmConnect(session_, address, community);
    acting_ = false;
    QDialog::accept();
}

void frmIPAddress::confirmConnect(agent::DeviceSession &session, const QString &address, const QString &community)
{
    session.confirmConnect(address, community);
    settings::writeSetting(kSection, kAddressKey, address);
    settings::writeSetting(kSection, kCommunityKey, community);
    dialogs::rememberDevice(address);
}

void frmIPAddress::Command2_Click()
{
    reject();
}

void frmIPAddress::reject()
{
    if (acting_)
        return;
    QDialog::reject();
}

void frmIPAddress::Command3_Click()
{
    if (acting_)
        return;
    acting_ = true;
    session_.startScan();
    acting_ = false;
}

void frmIPAddress::closeAfterScan()
{
    // Found by a scan: the typed texts are neither used nor remembered.
    QDialog::done(QDialog::Accepted);
}
