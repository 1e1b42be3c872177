// The quick-setup window: its load, Reconnect, OK, Close, Help, the
// connection polling and the "Status" tab.

#include "quicksetup/frm_main2.h"
#include "widgets/accessibility.h"

#include "config/configuration_store.h"
#include "dialogs/status_texts.h"
#include "config/encodings.h"
#include "widgets/dialog_parts.h"
#include "dialogs/frm_ip_address.h"
#include "widgets/masked_hex_edit.h"
#include "widgets/up_down_control.h"
#include "dialogs/wireless_privacy_controls.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace {
const QString kConnecting = QStringLiteral("Connecting ...");
const QString kNotConnected = QStringLiteral("Not Connect Access Point ...");
const QString kConnectOK = QStringLiteral("Connect OK");
const QString kTimeout = QStringLiteral("Connection Timeout!!");
const QString kDownloadDone = QStringLiteral("Download complete successfully");
const QString kEndsAfterDownload = QStringLiteral("The program ends when the download has finished...");

using Privacy = dialogs::WirelessPrivacyControls;
}  // namespace

FrmMain2::FrmMain2(QuickSetupHost *host, QWidget *parent)
    : QWidget(parent, Qt::Window), host_(host), programEnd_([] { QCoreApplication::quit(); })
{
    widgets::makeAccessible(this);
    buildWindow();
    connectControls();
    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setInterval(kPollInterval);
    connect(&Timer1, &QTimer::timeout, this, &FrmMain2::Timer1_Timer);
    connect(cmdConn, &QPushButton::clicked, this, &FrmMain2::cmdConn_Click);
    connect(cmdOK, &QPushButton::clicked, this, &FrmMain2::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &FrmMain2::cmdCancel_Click);
    connect(cmdHelp, &QPushButton::clicked, this, &FrmMain2::cmdHelp_Click);
    connect(DefaultCommand, &QPushButton::clicked, this, &FrmMain2::DefaultCommand_Click);
    if (host_)
        connect(&session(), &agent::DeviceSession::downloadFinished, this, &FrmMain2::downloadFinished);
    // Nothing to change until a device has been read.
    setSettingTabsEnabled(false);
    DefaultCommand->setEnabled(false);
    disableApplyButtons();
}

FrmMain2::~FrmMain2() = default;

void FrmMain2::Form_Load()
{
    FirstConnect = true;
    ConnectTicks = 0;
    Timer1.stop();
    show();
    SSTab1->setCurrentIndex(StatusTab);

    // Accepted: OK, or a scan that found the device and closed the dialog
    // (its answer is being read just the same).
    if (host_->connectDialog()->exec() == QDialog::Accepted) {
        Timer1.start();
        txtStatus->setText(kConnecting);
    } else {
        Timer1.stop();
        txtStatus->setText(kNotConnected);
    }

    FillChannelList();
    ShowIPConf();
    ShowWEPConf();
    SSTab1->setCurrentIndex(StatusTab);
    setSettingTabsEnabled(false);
    DefaultCommand->setEnabled(false);
}

void FrmMain2::cmdConn_Click()
{
    // Accepted: OK, or a scan that found the device.
    if (host_->connectDialog()->exec() != QDialog::Accepted) {
        txtStatus->setText(kNotConnected);
        return;
    }
    SSTab1->setCurrentIndex(StatusTab);
    startPolling(kConnecting);
}

void FrmMain2::startPolling(const QString &statusText)
{
    ConnectTicks = 0;
    forgetDeviceIdentity();
    txtStatus->setText(statusText);
    Timer1.start();
}

void FrmMain2::forgetDeviceIdentity()
{
    // The code stays 0 until the read of the new attempt has stored it.
    config::DeviceInfoRecord &info = store().sysDeviceInfo;
    info.regulationDomain = 0;
    info.manufactureName.clear();
    info.defaultMACAddress.clear();
}

void FrmMain2::cmdOK_Click()
{
    if (refusedWhileBusy())
        return;
    agent::DeviceSession &s = session();
    config::ConfigurationStore &store = this->store();
    const QString pendingBefore = store.pendingIPAddress;
    store.pendingIPAddress = IPAddressText->text();
    addressBeforeDownload_ = s.AgentAddress();
    applying_ = true;
    const agent::DeviceSession::DownloadStart start = host_->SavePara();
    if (start == agent::DeviceSession::DownloadStart::Started) {
        // The outcome comes with downloadFinished: at once, or after the
        // download's watchdog has repeated a failed attempt.
        if (applying_)
            txtStatus->setText(dialogs::statusText(s.lastReport()));
        return;
    }
    applying_ = false;
    // Declined or refused: the address typed here must not ride along with
    // a later download from the main window.
    store.pendingIPAddress = pendingBefore;
    if (start == agent::DeviceSession::DownloadStart::Refused)
        txtStatus->setText(dialogs::statusText(s.lastReport()));  // why, where the user is looking
}

void FrmMain2::downloadFinished(bool ok)
{
    if (endDue_) {
        endDue_ = false;
        applying_ = false;
        endProgram();
        return;
    }
    if (!applying_)
        return;  // the main window's own download
    applying_ = false;
    agent::DeviceSession &s = session();
    if (!ok) {
        txtStatus->setText(dialogs::statusText(s.lastReport()));
        return;
    }
    SSTab1->setCurrentIndex(StatusTab);
    frmIPAddress *dialog = host_->connectDialog();
    // The device now answers at the address the download gave it.
    const QString address = s.AgentAddress().trimmed();
    if (address != addressBeforeDownload_.trimmed() && !address.isEmpty())
        dialog->txtRemoteIP->setText(address);
    forgetDeviceIdentity();
    txtStatus->setText(kDownloadDone);
    dialog->Command1_Click();
    ConnectTicks = 0;
    Timer1.start();
}

bool FrmMain2::showRefused(QLineEdit *box)
{
    if (!box)
        return false;
    // The box's tab comes to the front, so that the user sees its mark.
    for (int tab = 0; tab < SSTab1->count(); ++tab) {
        if (SSTab1->widget(tab)->isAncestorOf(box))
            SSTab1->setCurrentIndex(tab);
    }
    box->setFocus();
    box->selectAll();
    return true;
}

void FrmMain2::apply(bool (FrmMain2::*storeStep)())
{
    if (refusedWhileBusy() || !(this->*storeStep)())
        return;
    cmdOK_Click();
}

bool FrmMain2::refusedWhileBusy()
{
    // The store must not change under a download or a read that is using it.
    if (!session().refuseWhileBusy())
        return false;
    txtStatus->setText(dialogs::statusText(session().lastReport()));
    return true;
}

void FrmMain2::cmdCancel_Click() { endProgram(); }

void FrmMain2::cmdHelp_Click()
{
    // The help topics of the main window's Help menu.
    host_->showHelpTopics();
}

void FrmMain2::closeEvent(QCloseEvent *event)
{
    if (!endProgram()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

bool FrmMain2::endProgram()
{
    if (ending_)
        return true;
    if (host_) {
        // A download cut off between two groups would leave the device half
        // written and not reset: the program ends once it is through.
        if (session().downloadUnderWay()) {
            endDue_ = true;
            txtStatus->setText(kEndsAfterDownload);
            return false;
        }
        if (!host_->mayEndProgram())
            return false;
    }
    ending_ = true;
    Timer1.stop();
    // As on any other exit, the user's layout of the main window is kept.
    if (host_)
        host_->saveWindowPlacement();
    if (programEnd_)
        programEnd_();
    ending_ = false;
    return true;
}

// --- connection polling ----------------------------------------------------------

void FrmMain2::Timer1_Timer()
{
    ++ConnectTicks;
    if (ConnectTicks < kTicksBeforeTimeout)
        txtStatus->setText(txtStatus->text() + QStringLiteral(".."));
    else if (!session().fullReadRunning())  // a slow device is still being read: no time-out yet
        showTimedOut();
    // A device that answers on the timing-out tick still counts.
    if (deviceAnswered())
        showConnected();
}

bool FrmMain2::deviceAnswered() const
{
    if (config::regulationDomainName(store().sysDeviceInfo.regulationDomain).isEmpty())
        return false;
    // The code is the first group of the read; the tabs are filled once the
    // whole configuration has been read (the device is connected), never
    // from a half-read store.
    return session().Connected();
}

void FrmMain2::showTimedOut()
{
    // A device that answered but whose configuration could not be read says
    // why; one that never answered timed out.
    const std::optional<agent::JobResult> failure = session().readFailure();
    txtStatus->setText(failure ? dialogs::readFailureText(*failure) : kTimeout);
    setSettingTabsEnabled(false);
    DefaultCommand->setEnabled(false);
    for (QLineEdit *box : {txtFirmVer, txtDomain, txtESSID, txtChannel, txtWEP})
        box->clear();
    EthernetAddressMaskEdBox->setStoreText(QString());
    Timer1.stop();
}

void FrmMain2::showConnected()
{
    if (FirstConnect) {
        show();
        raise();
        activateWindow();
    }
    FirstConnect = false;

    FillChannelList();
    ShowIPConf();
    ShowWEPConf();

    txtFirmVer->setText(session().FirmwareVersionText());
    txtStatus->setText(kConnectOK);
    txtDomain->setText(config::regulationDomainName(store().sysDeviceInfo.regulationDomain));
    txtESSID->setText(ESSIDtext->text());
    txtChannel->setText(ChannelCombo->currentText());
    txtWEP->setText(wepStatusText());

    // Filling the tabs marked them changed; nothing is changed yet.
    disableApplyButtons();
    setSettingTabsEnabled(true);
    DefaultCommand->setEnabled(true);
    Timer1.stop();
}

QString FrmMain2::wepStatusText() const
{
    const int key = DefaultWepKeyIDCombo->currentIndex();
    if (WepEnableCombo->currentIndex() == Privacy::kDisablePosition || key == Privacy::kNonePosition)
        return QStringLiteral("Disable");
    return QStringLiteral("Enable Key=%1").arg(key + 1);
}

void FrmMain2::setSettingTabsEnabled(bool enabled)
{
    for (int tab : {BasicTab, AdvancedTab, IPTab, WEPTab})
        SSTab1->setTabEnabled(tab, enabled);
}

void FrmMain2::disableApplyButtons()
{
    for (QPushButton *apply : {BC_OKCommand, BC1_OKCommand, AC_OKCommand, EN1_OKCommand})
        apply->setEnabled(false);
}

// --- change marks and the tabs' buttons --------------------------------------------

void FrmMain2::connectControls()
{
    const auto marks = [](QPushButton *apply) { return [apply] { apply->setEnabled(true); }; };

    // "Basic Setting" (the fragmentation threshold and both arrows too,
    // although this tab's Apply does not store the thresholds).
    connect(ChannelCombo, &QComboBox::currentIndexChanged, this, marks(BC_OKCommand));
    connect(ChannelCombo, &QComboBox::activated, this, marks(BC_OKCommand));
    connect(ESSIDtext, &QLineEdit::textChanged, this, marks(BC_OKCommand));
    connect(FragmentationThresholdText, &QLineEdit::textChanged, this, marks(BC_OKCommand));
    connect(UpDown1, &UpDownControl::stepped, this, marks(BC_OKCommand));
    connect(UpDown2, &UpDownControl::stepped, this, marks(BC_OKCommand));
    // "Advanced". A choice made any way counts: a click, the keyboard, or a
    // screen reader's toggle action (which does not click).
    connect(RTSThresholdText, &QLineEdit::textChanged, this, marks(BC1_OKCommand));
    for (QRadioButton *option : {ShortPreambleOption, LongPreambleOption, OpenSystemOption, SharedKeyOption,
                                 BothTypeOption, BasicRates125511Option, BasicRates12Option})
        connect(option, &QRadioButton::toggled, this, marks(BC1_OKCommand));
    connect(AutoRateFallBackCheck, &QCheckBox::toggled, this, marks(BC1_OKCommand));
    // "IP Setting".
    connect(IPAddressText, &QLineEdit::textChanged, this, marks(AC_OKCommand));
    connect(IPMaskText, &QLineEdit::textChanged, this, marks(AC_OKCommand));
    // "WEP".
    for (MaskedHexEdit *box : wepKeyBoxes())
        connect(box, &QLineEdit::textChanged, this, marks(EN1_OKCommand));
    connect(DefaultWepKeyIDCombo, &QComboBox::currentIndexChanged, this, marks(EN1_OKCommand));
    connect(DefaultWepKeyIDCombo, &QComboBox::activated, this, marks(EN1_OKCommand));
    connect(WepEnableCombo, &QComboBox::currentIndexChanged, this, &FrmMain2::WepEnableCombo_Click);

    // A threshold box's refusal mark goes as soon as its text changes.
    for (QLineEdit *box : {RTSThresholdText, FragmentationThresholdText})
        connect(box, &QLineEdit::textChanged, box, [box] { dialogparts::clearRefusedMark(box); });

    connect(BC_OKCommand, &QPushButton::clicked, this, &FrmMain2::BC_OKCommand_Click);
    connect(BC1_OKCommand, &QPushButton::clicked, this, &FrmMain2::BC1_OKCommand_Click);
    connect(AC_OKCommand, &QPushButton::clicked, this, &FrmMain2::AC_OKCommand_Click);
    connect(EN1_OKCommand, &QPushButton::clicked, this, &FrmMain2::EN1_OKCommand_Click);
    connect(DoneCommand, &QPushButton::clicked, this, &FrmMain2::DoneCommand_Click);
    // The Cancel buttons of the tabs have no action.
}
