// The connect dialog against a simulated access point on 127.0.0.1: what it
// offers, what it remembers, and what the user sees in the status line
// after OK, Scan and Cancel.

#include "app_test_support.h"

#include "app/frm_main.h"
#include "dialogs/frm_ip_address.h"
#include "sim/simulated_access_point.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>
#include <memory>

using testing::ScratchSettings;

namespace {

const QString kAttempting = QStringLiteral("Attempting to connect TARVO Wireless Network...");
const QString kFound = QStringLiteral("TARVO Wireless Network found ...");
const QString kReading = QStringLiteral("Reading configuration...");
const QString kAllRetrieved = QStringLiteral("All values retrieved.");
const QString kNotFound = QStringLiteral("TARVO Wireless Network not found...");

const QStringList kDeviceCommands = {
    "mnuFileSave",       "mnuSetupBridge",          "mnuSetupWireLess",          "mnuSetupSNMPtraps",
    "mnuCommandsReset",  "mnuCommandsRestoreDefaults", "mnuInformationDeviceInfo", "mnuInfoWireLessStatistics",
    "mnuInfoEthernetStatistics", "mnuViewRecord",   "mnuRadioConfiguration",     "mnuRadioTests"};

int enabledDeviceCommands(frmMain &window)
{
    int enabled = 0;
    for (const QString &name : kDeviceCommands) {
        QAction *action = nullptr;
        if (auto *menu = window.findChild<QMenu *>(name))
            action = menu->menuAction();
        else
            action = window.findChild<QAction *>(name);
        enabled += action && action->isEnabled() ? 1 : 0;
    }
    return enabled;
}

QStringList texts(const QSignalSpy &spy)
{
    QStringList list;
    for (const QList<QVariant> &arguments : spy)
        list << arguments.constFirst().toString();
    return list;
}

}  // namespace

class TestConnectDialog : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void controls();
    void remembersTexts_data();
    void remembersTexts();
    void okReadsWholeDevice();
    void silentDeviceGetsSixProbes();
    void scanClosesDialogAndKeepsSettings();
    void cancelSendsNothing();

private:
    std::unique_ptr<ScratchSettings> settings_;
    std::unique_ptr<sim::SimulatedAccessPoint> device_;
    std::unique_ptr<frmMain> window_;
    frmIPAddress *dialog_ = nullptr;
};

void TestConnectDialog::init()
{
    settings_ = std::make_unique<ScratchSettings>();
    device_ = std::make_unique<sim::SimulatedAccessPoint>();
    QString error;
    QVERIFY2(device_->start(QHostAddress::LocalHost, 0, &error), qPrintable(error));
    window_ = std::make_unique<frmMain>(testing::loopbackOptions(device_->port()));
    MainForm = window_.get();
    window_->MDIForm_Load();
    window_->show();
    dialog_ = window_->connectDialog();
}

void TestConnectDialog::cleanup()
{
    window_.reset();
    device_.reset();
    settings_.reset();
}

void TestConnectDialog::controls()
{
    QCOMPARE(dialog_->windowTitle(), QStringLiteral("Enter Access Point IP Address"));
    QCOMPARE(dialog_->Label1->text(), QStringLiteral("IP Address"));
    QCOMPARE(dialog_->txtRemoteIP->toolTip(),
             QStringLiteral("Enter Access Point IP Address (Default address is 192.168.1.250)"));
    QCOMPARE(dialog_->Command1->text(), QStringLiteral("OK"));
    QCOMPARE(dialog_->Command2->text(), QStringLiteral("Cancel"));
    QCOMPARE(dialog_->Command3->text(), QStringLiteral("Scan"));
    QVERIFY(dialog_->Command1->isDefault());
    for (const char *name : {"Label1", "txtRemoteIP", "txtReadWritePassword", "Command1", "Command2", "Command3",
                             "Frame1"}) {
        QVERIFY2(dialog_->findChild<QWidget *>(name), name);
    }
}

void TestConnectDialog::remembersTexts_data()
{
    QTest::addColumn<QString>("storedAddress");  // empty: nothing stored
    QTest::addColumn<QString>("storedCommunity");
    QTest::addColumn<QString>("shownAddress");
    QTest::addColumn<QString>("shownCommunity");
    QTest::newRow("first start") << "" << "" << "192.168.1.250" << "kavrel";
    QTest::newRow("remembered") << "127.0.0.7" << "private" << "127.0.0.7" << "private";
}

void TestConnectDialog::remembersTexts()
{
    QFETCH(QString, storedAddress);
    QFETCH(QString, storedCommunity);
    QFETCH(QString, shownAddress);
    QFETCH(QString, shownCommunity);
    if (!storedAddress.isEmpty()) {
        settings_->setValue("BridgeSettings", "LastIPaddress", storedAddress);
        settings_->setValue("BridgeSettings", "LastPassword", storedCommunity);
    }
    dialog_->show();
    QCOMPARE(dialog_->txtRemoteIP->text(), shownAddress);
    QCOMPARE(dialog_->txtReadWritePassword->text(), shownCommunity);
    // Typed and cancelled: the next opening shows the remembered texts again.
    dialog_->txtRemoteIP->setText("127.0.0.99");
    dialog_->Command2->click();
    dialog_->show();
    QCOMPARE(dialog_->txtRemoteIP->text(), shownAddress);
    dialog_->Command2->click();
}

void TestConnectDialog::okReadsWholeDevice()
{
    QSignalSpy status(&window_->session(), &agent::DeviceSession::statusChanged);
    dialog_->show();
    dialog_->txtRemoteIP->setText("127.0.0.1");
    dialog_->txtReadWritePassword->setText("kavrel");
    dialog_->Command1->click();

    QTRY_COMPARE_WITH_TIMEOUT(window_->statusPanel(1)->text(), kAllRetrieved, 15000);
    QCOMPARE(texts(status), (QStringList{kAttempting, kFound, kReading, kAllRetrieved}));
    QCOMPARE(enabledDeviceCommands(*window_), 12);
    QVERIFY(!dialog_->isVisible());
    QCOMPARE(window_->AgentAddress(), QStringLiteral("127.0.0.1"));
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QCOMPARE(settings_->value("BridgeSettings", "LastIPaddress"), QStringLiteral("127.0.0.1"));
    QCOMPARE(settings_->value("BridgeSettings", "LastPassword"), QStringLiteral("kavrel"));
}

void TestConnectDialog::silentDeviceGetsSixProbes()
{
    device_->faults.silent = true;
    QElapsedTimer clock;
    QVector<qint64> arrivals;
    connect(device_.get(), &sim::SimulatedAccessPoint::requestReceived, this,
            [&](const snmp::Message &) { arrivals << clock.elapsed(); });
    dialog_->show();
    dialog_->txtRemoteIP->setText("127.0.0.1");
    clock.start();
    dialog_->Command1->click();

    QTRY_COMPARE_WITH_TIMEOUT(window_->statusPanel(1)->text(), kNotFound, 15000);
    QCOMPARE(arrivals.size(), 6);
    for (int i = 1; i < arrivals.size(); ++i) {
        const qint64 gap = arrivals.at(i) - arrivals.at(i - 1);
        QVERIFY2(gap >= 1000 && gap <= 1600, qPrintable(QStringLiteral("gap %1: %2 ms").arg(i).arg(gap)));
    }
    // The watchdog gives up a tick after the last probe, and sends no more.
    QVERIFY(clock.elapsed() - arrivals.constLast() >= 1000);
    QTest::qWait(1500);
    QCOMPARE(arrivals.size(), 6);
    QCOMPARE(enabledDeviceCommands(*window_), 0);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void TestConnectDialog::scanClosesDialogAndKeepsSettings()
{
    settings_->setValue("BridgeSettings", "LastIPaddress", "127.0.0.9");
    settings_->setValue("BridgeSettings", "LastPassword", "kavrel");
    dialog_->show();
    dialog_->txtRemoteIP->setText("127.0.0.5");
    dialog_->Command3->click();

    QTRY_VERIFY_WITH_TIMEOUT(!dialog_->isVisible(), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(window_->statusPanel(1)->text(), kAllRetrieved, 15000);
    QCOMPARE(window_->AgentAddress(), QStringLiteral("127.0.0.1"));
    QCOMPARE(enabledDeviceCommands(*window_), 12);
    QCOMPARE(settings_->value("BridgeSettings", "LastIPaddress"), QStringLiteral("127.0.0.9"));
    QCOMPARE(settings_->value("BridgeSettings", "LastPassword"), QStringLiteral("kavrel"));
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void TestConnectDialog::cancelSendsNothing()
{
    dialog_->show();
    dialog_->txtRemoteIP->setText("127.0.0.1");
    dialog_->Command2->click();
    QTest::qWait(300);
    QVERIFY(!dialog_->isVisible());
    QCOMPARE(device_->receivedRequests().size(), 0);
    QVERIFY(!window_->session().UserConfirmed);
    QCOMPARE(settings_->value("BridgeSettings", "LastIPaddress"), QString());
}

QTEST_MAIN(TestConnectDialog)
#include "test_connect_dialog.moc"
