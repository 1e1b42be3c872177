// The connect dialog against a simulated access point on 127.0.0.1: the
// texts it offers and remembers, and what the user sees after OK and Scan
// with a device that answers and with one that stays silent.

#include "app_test_support.h"

#include "app/app_settings.h"
#include "app/frm_main.h"
#include "dialogs/frm_ip_address.h"
#include "sim/simulated_access_point.h"

#include <QFile>
#include <QTemporaryDir>
#include <unistd.h>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

using testing::ScratchSettings;

namespace {

const QString kAllRetrieved = QStringLiteral("All values retrieved.");

// The names of all commands of the window that are greyed now.
QStringList greyedCommands(const frmMain &window)
{
    QStringList names;
    for (const QAction *action : window.findChildren<QAction *>()) {
        if (!action->isEnabled())
            names << action->objectName();
    }
    return names;
}

}  // namespace

class TestConnectDialog : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void remembersTexts_data();
    void remembersTexts();
    void findsDevice_data();
    void findsDevice();
    void unsavedTextsKeptForTheRun_data();
    void unsavedTextsKeptForTheRun();

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
    for (int opening = 0; opening < 2; ++opening) {
        dialog_->show();
        QCOMPARE(dialog_->txtRemoteIP->text(), shownAddress);
        QCOMPARE(dialog_->txtReadWritePassword->text(), shownCommunity);
        // Typed and cancelled: nothing is sent or kept.
        dialog_->txtRemoteIP->setText("127.0.0.99");
        dialog_->Command2->click();
    }
    QTest::qWait(300);
    QCOMPARE(device_->receivedRequests().size(), 0);
    QCOMPARE(settings_->value("BridgeSettings", "LastIPaddress"), storedAddress);
}

void TestConnectDialog::findsDevice_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("typedAddress");
    QTest::addColumn<QStringList>("storedAfter");  // LastIPaddress, LastPassword
    QTest::newRow("OK") << "Command1" << "127.0.0.1" << QStringList{"127.0.0.1", "kavrel"};
    // A scan asks everyone (here 127.0.0.1) and leaves the texts alone.
    QTest::newRow("Scan") << "Command3" << "127.0.0.5" << QStringList{"127.0.0.9", "old"};
}

void TestConnectDialog::findsDevice()
{
    QFETCH(QString, button);
    QFETCH(QString, typedAddress);
    QFETCH(QStringList, storedAfter);
    settings_->setValue("BridgeSettings", "LastIPaddress", "127.0.0.9");
    settings_->setValue("BridgeSettings", "LastPassword", "old");
    QSignalSpy status(&window_->session(), &agent::DeviceSession::statusChanged);
    dialog_->show();
    dialog_->txtRemoteIP->setText(typedAddress);
    dialog_->txtReadWritePassword->setText("kavrel");
    dialog_->findChild<QPushButton *>(button)->click();

    QTRY_COMPARE_WITH_TIMEOUT(window_->statusText(), kAllRetrieved, 15000);
    QStringList texts;
    for (const QList<QVariant> &arguments : status)
        texts << arguments.constFirst().toString();
    QCOMPARE(texts, (QStringList{"Attempting to connect TARVO Wireless Network...", "TARVO Wireless Network found ...",
                                 "Reading configuration...", kAllRetrieved}));
    QVERIFY(!dialog_->isVisible());
    QCOMPARE(window_->AgentAddress(), QStringLiteral("127.0.0.1"));
    QCOMPARE(greyedCommands(*window_), QStringList());
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QCOMPARE(settings_->value("BridgeSettings", "LastIPaddress"), storedAfter.at(0));
    QCOMPARE(settings_->value("BridgeSettings", "LastPassword"), storedAfter.at(1));
}

void TestConnectDialog::unsavedTextsKeptForTheRun_data()
{
    QTest::addColumn<QString>("settingsFile");  // in a fresh folder
    QTest::addColumn<QString>("readOnly");      // made read-only there
    QTest::newRow("read-only file") << "settings.ini" << "settings.ini";
    QTest::newRow("read-only folder") << "folder/settings.ini" << "folder";
    QTest::newRow("folder is a file") << "file/settings.ini" << "";
}

void TestConnectDialog::unsavedTextsKeptForTheRun()
{
    QFETCH(QString, settingsFile);
    QFETCH(QString, readOnly);
    if (!readOnly.isEmpty() && geteuid() == 0)
        QSKIP("permissions do not bind the superuser");
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("folder"));
    QFile file(dir.filePath("file"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const QString path = dir.filePath(settingsFile);
    QSettings(path, QSettings::IniFormat).setValue("BridgeSettings/LastIPaddress", "127.0.0.9");
    if (!readOnly.isEmpty())
        QVERIFY(QFile::setPermissions(dir.filePath(readOnly), QFile::ReadOwner | QFile::ExeOwner));
    app::useSettingsFile(path);

    device_->faults.silent = true;  // the status line then waits for the watchdog
    for (int attempt = 0; attempt < 2; ++attempt) {
        dialog_->show();
        if (attempt > 0) {
            QCOMPARE(dialog_->txtRemoteIP->text(), QStringLiteral("127.0.0.1"));
            QCOMPARE(dialog_->txtReadWritePassword->text(), QStringLiteral("typed"));
        }
        dialog_->txtRemoteIP->setText("127.0.0.1");
        dialog_->txtReadWritePassword->setText("typed");
        dialog_->Command1->click();
        // Said once, not with every write.
        QCOMPARE(window_->statusText(),
                 attempt == 0 ? "Settings could not be saved to " + path +
                                    ": the address and community typed are kept for this run only."
                              : QStringLiteral("Attempting to connect TARVO Wireless Network..."));
    }
    if (!readOnly.isEmpty())
        QFile::setPermissions(dir.filePath(readOnly), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QTEST_MAIN(TestConnectDialog)
#include "test_connect_dialog.moc"
