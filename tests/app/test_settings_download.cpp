// The whole road of a change: open a settings dialog from its menu, edit,
// OK, Download Changes, and look at what the simulated access point got.

#include "app/frm_main.h"
#include "app_test_support.h"
#include "config/configuration_store.h"
#include "dialogs/frm_ip_address.h"
#include "dialogs/masked_hex_edit.h"
#include "sim/simulated_access_point.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QToolBar>
#include <QtTest>
#include <functional>

using snmp::Value;

namespace {
const QString kAllRetrieved = QStringLiteral("All values retrieved.");
const QString kDone = QStringLiteral("Download complete successfully");

// Types into a box the way a user does: select everything, then keys.
void retype(QLineEdit *box, const QString &text)
{
    QVERIFY(box);
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    box->home(false);
    QTest::keyClicks(box, text);
}

struct Edit {
    QString menu;  // objectName of the menu action
    std::function<void(QWidget *dialog)> edit;
    std::function<void(const sim::SimulatedAccessPoint &device)> check;
};
}  // namespace

Q_DECLARE_METATYPE(Edit)

class TestSettingsDownload : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void editThenDownload_data();
    void editThenDownload();
    void okWaitsWhileADownloadRuns();

private:
    void connectToDevice();
    QWidget *openFromMenu(const QString &action);

    std::unique_ptr<testing::ScratchSettings> settings_;
    std::unique_ptr<sim::SimulatedAccessPoint> device_;
    std::unique_ptr<frmMain> window_;
    std::unique_ptr<testing::ScriptedQuestioner> questioner_;
};

void TestSettingsDownload::init()
{
    config::resetStore();
    settings_ = std::make_unique<testing::ScratchSettings>();
    device_ = std::make_unique<sim::SimulatedAccessPoint>();
    QVERIFY(device_->start(QHostAddress::LocalHost, 0));
    window_ = std::make_unique<frmMain>(testing::loopbackOptions(device_->port()));
    MainForm = window_.get();
    questioner_ = std::make_unique<testing::ScriptedQuestioner>(true);
    window_->setQuestioner(questioner_.get());
    window_->MDIForm_Load();
    window_->show();
    connectToDevice();
}

void TestSettingsDownload::cleanup()
{
    window_.reset();
    MainForm = nullptr;
    device_.reset();
    settings_.reset();
}

void TestSettingsDownload::connectToDevice()
{
    frmIPAddress *dialog = window_->connectDialog();
    dialog->show();
    dialog->txtRemoteIP->setText(QStringLiteral("127.0.0.1"));
    dialog->txtReadWritePassword->setText(QStringLiteral("kavrel"));
    dialog->Command1->click();
    QTRY_COMPARE_WITH_TIMEOUT(window_->statusText(), kAllRetrieved, 10000);
}

QWidget *TestSettingsDownload::openFromMenu(const QString &action)
{
    QAction *item = window_->findChild<QAction *>(action);
    if (!item || !item->isEnabled())
        return nullptr;
    item->trigger();
    QMdiSubWindow *frame = window_->mdiArea()->activeSubWindow();
    return frame ? frame->widget() : nullptr;
}

void TestSettingsDownload::editThenDownload_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::newRow("wireless operational") << Edit{
        "mnuSetupWireLessOperational",
        [](QWidget *d) {
            d->findChild<QComboBox *>("ChannelCombo")->setCurrentIndex(10);
            retype(d->findChild<QLineEdit *>("ESSIDtext"), "lab net");
            retype(d->findChild<QLineEdit *>("RTSThresholdText"), "500");
            d->findChild<QAbstractButton *>("ShortPreambleOption")->click();
            d->findChild<QAbstractButton *>("BasicRates12Option")->click();
        },
        [](const sim::SimulatedAccessPoint &ap) {
            QCOMPARE(ap.value("operChannelID"), Value::integer(11));
            QCOMPARE(ap.value("operESSID"), Value::octets("lab net"));
            QCOMPARE(ap.value("operESSIDLength"), Value::integer(3));
            QCOMPARE(ap.value("operRTSThreshold"), Value::integer(500));
            QCOMPARE(ap.value("operPreambleType"), Value::integer(1));
            QCOMPARE(ap.value("operBasicRates"), Value::octets(QByteArray("\x82\x84\x0B\x16", 4)));
        }};
    QTest::newRow("privacy") << Edit{
        "mnuSetupWireLessPrivacy",
        [](QWidget *d) {
            d->findChild<QComboBox *>("WepEnableCombo")->setCurrentIndex(0);
            d->findChild<QComboBox *>("DefaultWepKeyIDCombo")->setCurrentIndex(2);
            retype(d->findChild<MaskedHexEdit *>("DefaultWepKey2"), "11223344");
        },
        [](const sim::SimulatedAccessPoint &ap) {
            QCOMPARE(ap.value("privacyWEPEnable"), Value::integer(1));
            QCOMPARE(ap.value("privacyDefaultWEPKeyID"), Value::integer(3));
            // Eight digits: four bytes and a zero byte.
            QCOMPARE(ap.value("defaultWEPKey2"), Value::octets(QByteArray("\x11\x22\x33\x44\x00", 5)));
        }};
    QTest::newRow("bridge IP") << Edit{
        "mnuSetupBridgeIPsettings",
        [](QWidget *d) {
            retype(d->findChild<QLineEdit *>("IPMaskText"), " 255.255.0.0 ");
            retype(d->findChild<MaskedHexEdit *>("EthernetAddressMaskEdBox"), "0240960A0B0C");
        },
        [](const sim::SimulatedAccessPoint &ap) {
            QCOMPARE(ap.value("operIPMask"), Value::ipAddress(QByteArray("\xFF\xFF\x00\x00", 4)));
            QCOMPARE(ap.value("operEthernetAddress"), Value::octets(QByteArray("\x02\x40\x96\x0A\x0B\x0C", 6)));
        }};
    QTest::newRow("bridge operational mode") << Edit{
        "mnuSetupBridgeOperationalMode",
        [](QWidget *d) {
            d->findChild<QAbstractButton *>("WirelessBridgeOption")->click();
            retype(d->findChild<MaskedHexEdit *>("RemoteBridgeBSSIDMaskEdBox"), "020000000077");
        },
        [](const sim::SimulatedAccessPoint &ap) {
            QCOMPARE(ap.value("bridgeOperationalMode"), Value::integer(3));
            QCOMPARE(ap.value("bridgeRemoteBridgeBSSID"), Value::octets(QByteArray("\x02\x00\x00\x00\x00\x77", 6)));
        }};
}

void TestSettingsDownload::editThenDownload()
{
    QFETCH(Edit, edit);
    QWidget *dialog = openFromMenu(edit.menu);
    QVERIFY(dialog);
    edit.edit(dialog);
    QAbstractButton *ok = dialog->findChild<QAbstractButton *>("OKCommand");
    QVERIFY(ok);
    device_->clearReceivedRequests();
    ok->click();
    QTRY_COMPARE(window_->mdiArea()->subWindowList().size(), 0);
    QCOMPARE(device_->receivedRequests().size(), 0);  // OK only edits the store

    // The menu item and the toolbar's Save button run the same download.
    if (QTest::currentDataTag() == QByteArrayLiteral("privacy")) {
        for (QAction *button : window_->tbToolBar->actions()) {
            if (button->data().toString() == QLatin1String("Save"))
                button->trigger();
        }
    } else {
        window_->mnuFileSave->trigger();
    }
    QCOMPARE(questioner_->asked.size(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(window_->statusText(), kDone, 10000);
    edit.check(*device_);
}

void TestSettingsDownload::okWaitsWhileADownloadRuns()
{
    // A download reads the store group by group while it waits for slow
    // answers; OK in a dialog meanwhile must neither change the store nor
    // lose what was typed.
    QWidget *dialog = openFromMenu(QStringLiteral("mnuSetupWireLessOperational"));
    QVERIFY(dialog);
    retype(dialog->findChild<QLineEdit *>("ESSIDtext"), "typed");
    device_->faults.slowObjects.insert(QStringLiteral("operEthernetAddress"), 100);
    QString statusWhileBusy;
    QTimer::singleShot(30, dialog, [&] {
        dialog->findChild<QAbstractButton *>("OKCommand")->click();
        statusWhileBusy = window_->statusText();
    });
    window_->mnuFileSave->trigger();
    QCOMPARE(window_->statusText(), kDone);
    QVERIFY(statusWhileBusy.startsWith(QLatin1String("Busy")));
    QCOMPARE(config::store().operESSID, QStringLiteral("corvane"));
    QCOMPARE(window_->mdiArea()->subWindowList().size(), 1);  // still open, with the typed text
    QCOMPARE(dialog->findChild<QLineEdit *>("ESSIDtext")->text(), QStringLiteral("typed"));
}

QTEST_MAIN(TestSettingsDownload)
#include "test_settings_download.moc"
