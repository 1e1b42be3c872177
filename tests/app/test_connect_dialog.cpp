// The connect dialog against a simulated access point: the texts it offers
// and remembers, OK and Scan, an unwritable settings file, then the
// toolbar's Download Changes with a settings dialog's OK inside it; the
// settings file readable by its owner only.

#include "app_test_support.h"

#include "settings/app_settings.h"
#include "config/configuration_store.h"
#include "dialogs/frm_ip_address.h"

#include <QMenu>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QToolBar>
#include <QElapsedTimer>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

class TestConnectDialog : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        f_ = std::make_unique<testing::WindowFixture>();
        dialog_ = f_->window->connectDialog();
    }
    void cleanup() { f_.reset(); }

    void remembersTexts_data()
    {
        QTest::addColumn<QString>("storedAddress");  // empty: nothing stored
        QTest::addColumn<QString>("storedCommunity");
        QTest::addColumn<QString>("shownAddress");
        QTest::addColumn<QString>("shownCommunity");
        QTest::newRow("first start") << "" << "" << "192.168.1.250" << "kavrel";
        QTest::newRow("remembered") << "127.0.0.7" << "private" << "127.0.0.7" << "private";
    }

    void remembersTexts()
    {
        QFETCH(QString, storedAddress);
        QFETCH(QString, storedCommunity);
        QFETCH(QString, shownAddress);
        QFETCH(QString, shownCommunity);
        if (!storedAddress.isEmpty()) {
            f_->settings.setValue("BridgeSettings", "LastIPaddress", storedAddress);
            f_->settings.setValue("BridgeSettings", "LastPassword", storedCommunity);
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
        QCOMPARE(f_->device.receivedRequests().size(), 0);
        QCOMPARE(f_->settings.value("BridgeSettings", "LastIPaddress"), storedAddress);
    }

    void findsDevice_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("typedAddress");
        QTest::addColumn<QStringList>("storedAfter");  // LastIPaddress, LastPassword
        QTest::newRow("OK") << "Command1" << "127.0.0.1" << QStringList{"127.0.0.1", "kavrel"};
        // A scan asks everyone (here 127.0.0.1) and leaves the texts alone.
        QTest::newRow("Scan") << "Command3" << "127.0.0.5" << QStringList{"127.0.0.9", "old"};
    }

    void findsDevice()
    {
        QFETCH(QString, button);
        QFETCH(QString, typedAddress);
        QFETCH(QStringList, storedAfter);
        f_->settings.setValue("BridgeSettings", "LastIPaddress", "127.0.0.9");
        f_->settings.setValue("BridgeSettings", "LastPassword", "old");
        dialog_->show();
        dialog_->txtRemoteIP->setText(typedAddress);
        dialog_->txtReadWritePassword->setText("kavrel");
        dialog_->findChild<QPushButton *>(button)->click();

        WAIT_COMPARE_WITH_TIMEOUT(f_->window->statusText(), QStringLiteral("All values retrieved."), 15000);
        QVERIFY(!dialog_->isVisible());
        QCOMPARE(f_->window->AgentAddress(), QStringLiteral("127.0.0.1"));
        for (const QAction *command : f_->window->findChildren<QAction *>()) {
            if (command->parent() != f_->window->mnuFileRecentFiles)  // files, no command
                QVERIFY2(command->isEnabled(), qPrintable(command->objectName()));
        }
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        QCOMPARE(f_->settings.value("BridgeSettings", "LastIPaddress"), storedAfter.at(0));
        QCOMPARE(f_->settings.value("BridgeSettings", "LastPassword"), storedAfter.at(1));

        // The toolbar's Save runs Download Changes, after its question. A
        // settings dialog's OK meanwhile must neither change the store the
        // download reads group by group nor lose what was typed.
        f_->window->mnuSetupWireLessOperational->trigger();
        QWidget *dialog = f_->window->mdiArea()->activeSubWindow()->widget();
        dialog->findChild<QLineEdit *>("ESSIDtext")->setText("typed");
        f_->device.faults.slowObjects.insert(QStringLiteral("operEthernetAddress"), 100);
        QString statusWhileBusy;
        QTimer::singleShot(30, dialog, [&] {
            dialog->findChild<QAbstractButton *>("OKCommand")->click();
            statusWhileBusy = f_->window->statusText();
        });
        for (QAction *tool : f_->window->tbToolBar->actions()) {
            if (tool->data().toString() == QLatin1String("Save"))
                tool->trigger();
        }
        QCOMPARE(f_->questioner.asked.size(), 1);
        WAIT_COMPARE(f_->window->statusText(), QStringLiteral("Download complete successfully"));
        QVERIFY(statusWhileBusy.startsWith(QLatin1String("Busy")));
        QCOMPARE(f_->store().operESSID, QStringLiteral("corvane"));
        QCOMPARE(f_->window->mdiArea()->subWindowList().size(), 1);  // still open, with the typed text
        QCOMPARE(dialog->findChild<QLineEdit *>("ESSIDtext")->text(), QStringLiteral("typed"));
    }

    void unsavedTextsKeptForTheRun_data()
    {
        QTest::addColumn<QString>("settingsFile");  // in a fresh folder
        QTest::addColumn<QString>("readOnly");      // made read-only there
        QTest::newRow("read-only file") << "settings.ini" << "settings.ini";
        QTest::newRow("read-only folder") << "folder/settings.ini" << "folder";
        QTest::newRow("folder is a file") << "file/settings.ini" << "";
    }

    void unsavedTextsKeptForTheRun()
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
        settings::useSettingsFile(path);

        f_->device.faults.silent = true;  // the status line then waits for the watchdog
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
            QCOMPARE(f_->window->statusText(),
                     attempt == 0 ? "Settings could not be saved to " + path +
                                        ": the address and community typed are kept for this run only."
                                  : QStringLiteral("Attempting to connect TARVO Wireless Network..."));
        }
        if (!readOnly.isEmpty())
            QFile::setPermissions(dir.filePath(readOnly), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // The file holds the community, the device's password.
    void settingsFileOwnerOnly_data()
    {
        QTest::addColumn<int>("modeBefore");  // -1: no file yet
        QTest::newRow("new file") << -1;
        QTest::newRow("readable by all") << 0644;
        QTest::newRow("writable by all") << 0666;
    }

    void settingsFileOwnerOnly()
    {
        QFETCH(int, modeBefore);
        QTemporaryDir dir;
        const QString path = dir.filePath("settings.ini");
        if (modeBefore >= 0) {
            QSettings(path, QSettings::IniFormat).setValue("Settings/MainLeft", "1500");
            QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode_t(modeBefore)), 0);
        }
        settings::useSettingsFile(path);
        dialog_->show();
        dialog_->txtRemoteIP->setText("127.0.0.1");
        dialog_->txtReadWritePassword->setText("secret");
        dialog_->Command1->click();
        struct stat file = {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &file), 0);
        QCOMPARE(file.st_mode & 0777, mode_t(0600));
        QCOMPARE(QSettings(path, QSettings::IniFormat).value("BridgeSettings/LastPassword").toString(), "secret");
    }

    // A large settings file is read once, not once per value (it held the
    // window for seconds at connect); a change made by someone else since
    // is still seen.
    void settingsFileReadOnce()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("settings.ini");
        const auto writeFile = [&](const QByteArray &address, int clutter) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[BridgeSettings]\nLastIPaddress=" + address + "\n");
            for (int i = 0; i < clutter; ++i)  // in the section read: it is parsed whole
                file.write("key" + QByteArray::number(i) + "=a value another tool left here\n");
        };
        writeFile("127.0.0.7", 20000);
        settings::useSettingsFile(path);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(settings::readSetting("BridgeSettings", "LastIPaddress", QString()), QStringLiteral("127.0.0.7"));
        const qint64 first = clock.nsecsElapsed();
        clock.restart();
        for (int i = 0; i < 20; ++i)
            settings::readSetting("BridgeSettings", "LastPassword", QString());
        const qint64 twentyMore = clock.nsecsElapsed();
        QVERIFY2(twentyMore < first / 4, qPrintable(QStringLiteral("%1 ns, then %2 ns").arg(first).arg(twentyMore)));
        writeFile("127.0.0.8", 0);
        QCOMPARE(settings::readSetting("BridgeSettings", "LastIPaddress", QString()), QStringLiteral("127.0.0.8"));
    }

private:
    std::unique_ptr<testing::WindowFixture> f_;
    frmIPAddress *dialog_ = nullptr;
};

QTEST_MAIN(TestConnectDialog)
#include "test_connect_dialog.moc"
