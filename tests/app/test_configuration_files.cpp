// File, Save Configuration As and Load Configuration on a simulated
// device: a saved file loads back into an equal store and Download
// Changes sends it; a file that is not ours, newer, damaged or holding a
// value the device would refuse changes nothing; the recent files follow.

#include "app_test_support.h"

#include "app/recent_files.h"
#include "config/field_text.h"
#include "config/settings_file.h"
#include "dialogs/configuration_file.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using testing::WindowFixture;

namespace {

// Every setting of the store in its text form, by field name.
QMap<QString, QString> settingsIn(const config::ConfigurationStore &store)
{
    return config::settingsOf({}, store).settings;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

}  // namespace

class TestConfigurationFiles : public QObject {
    Q_OBJECT

private slots:
    void loadBack_data()
    {
        QTest::addColumn<bool>("ok");            // the differences dialog's answer
        QTest::addColumn<QString>("fileAddress");  // ip-address in the file; empty: the device's own
        QTest::newRow("OK, own file") << true << QString();
        QTest::newRow("Cancel") << false << QString();
        QTest::newRow("another device's file keeps the address") << true << "127.0.0.77";
    }

    // Saved, the device changed, loaded back: OK puts the file's values in
    // the store (edits waiting) and Download Changes sends them.
    void loadBack()
    {
        QFETCH(bool, ok);
        QFETCH(QString, fileAddress);
        WindowFixture f;
        QVERIFY(f.connectDevice());
        const QString path = dir_.filePath("lab.json");
        QVERIFY(f.window->saveConfigurationFile(path));
        QCOMPARE(f.window->statusText(), dialogs::text::saved.arg(path));
        QCOMPARE(int(QFile::permissions(path) & (QFileDevice::ReadGroup | QFileDevice::ReadOther)), 0);  // WEP keys
        const QMap<QString, QString> saved = settingsIn(f.store());
        if (!fileAddress.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            config::SettingsFile edited = *config::readSettingsFile(file.readAll()).file;
            edited.settings["ip-address"] = fileAddress;
            file.close();
            writeFile(path, config::writeSettingsFile(edited));
        }

        // The device changes meanwhile; the console reads it again.
        f.device.setValue("operESSID", snmp::Value::octets("changed"));
        f.device.setValue("operChannelID", snmp::Value::integer(11));
        QVERIFY(f.connectDevice());
        const QMap<QString, QString> changed = settingsIn(f.store());
        QCOMPARE(changed.value("essid"), QStringLiteral("changed"));

        QDialog *dialog = f.window->loadConfigurationFile(path);
        QVERIFY(dialog);
        auto *table = dialog->findChild<QTableWidget *>("DifferencesTable");
        QStringList rows;
        for (int row = 0; row < table->rowCount(); ++row)
            rows << table->item(row, 0)->text() + '|' + table->item(row, 1)->text() + '|' + table->item(row, 2)->text();
        QStringList expected{"Channel|11|" + saved["channel"], "ESSID|changed|" + saved["essid"]};
        if (!fileAddress.isEmpty())
            expected.append("IP Address|127.0.0.1|127.0.0.77 (not taken: " + dialogs::text::addressKept + ")");
        QCOMPARE(rows, expected);
        QCOMPARE(f.store().operESSID, QStringLiteral("changed"));  // nothing taken before OK

        dialog->findChild<QAbstractButton *>(ok ? "OKCommand" : "CancelCommand")->click();
        auto *editsPanel = qobject_cast<QLabel *>(f.window->statusPanel(2));
        if (!ok) {
            QCOMPARE(settingsIn(f.store()), changed);
            QCOMPARE(editsPanel->text(), QString());
            return;
        }
        QCOMPARE(settingsIn(f.store()), saved);
        QCOMPARE(f.window->statusText(), dialogs::text::loaded.arg(2).arg(path));
        QVERIFY(!editsPanel->text().isEmpty());
        QCOMPARE(f.device.value("operESSID").bytes, QByteArray("changed"));  // nothing sent yet

        bool downloaded = false;
        connect(&f.window->session(), &agent::DeviceSession::downloadFinished, this,
                [&downloaded](bool done) { downloaded = done; });
        f.window->mnuFileSave->trigger();
        WAIT_VERIFY(downloaded);
        QCOMPARE(f.device.value("operESSID").bytes, saved["essid"].toLatin1());
        QCOMPARE(f.device.value("operChannelID").number, saved["channel"].toLongLong());
        QCOMPARE(f.device.value("operIPAddress").bytes, QByteArray::fromHex("7f000001"));

        // Both files are the newest in Recent Files; a chosen one loads again.
        QCOMPARE(app::RecentFiles::files().value(0), path);
        f.window->mnuFileRecentFiles->aboutToShow();
        QCOMPARE(f.window->mnuFileRecentFiles->actions().value(0)->text(), QStringLiteral("&1 lab.json"));
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("bytes");  // empty: no file there
        QTest::addColumn<QString>("why");       // the start of the reason shown
        const QByteArray good = config::writeSettingsFile(
            config::SettingsFile{{}, QDateTime::currentDateTime(), {{"essid", "fromfile"}, {"channel", "3"}}});
        QTest::newRow("missing") << QByteArray() << "";
        QTest::newRow("not ours") << QByteArray(R"({"kind": "something-else", "format": 1})")
                                  << "not a settings file of this program";
        QTest::newRow("newer format") << QByteArray(good).replace("\"format\": 1", "\"format\": 2")
                                      << "settings file of a newer format (2)";
        QTest::newRow("corrupt") << good.left(good.size() / 2) << "not a settings file: not JSON";
        QTest::newRow("unknown field") << QByteArray(good).replace("\"essid\"", "\"colour\"")
                                       << "unknown setting \"colour\"";
        QTest::newRow("refused value") << QByteArray(good).replace("\"3\"", "\"99\"") << "channel in the settings file";
    }

    // Refused with the reason on the status line; the store, the edits and
    // the device untouched, no dialog.
    void refused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, why);
        WindowFixture f;
        QVERIFY(f.connectDevice());
        const QString path = dir_.filePath(QString(QTest::currentDataTag()).replace(' ', '_') + ".json");
        if (!bytes.isEmpty())
            writeFile(path, bytes);
        const QMap<QString, QString> before = settingsIn(f.store());
        const int requests = int(f.device.receivedRequests().size());
        QCOMPARE(f.window->loadConfigurationFile(path), nullptr);
        QVERIFY2(f.window->statusText().startsWith("Configuration not loaded from " + path + ": " + why),
                 qPrintable(f.window->statusText()));
        QCOMPARE(settingsIn(f.store()), before);
        QVERIFY(!f.window->session().device().editsWaiting());
        QCOMPARE(int(f.device.receivedRequests().size()), requests);
    }

    // Before the whole configuration was read nothing is saved or loaded.
    void needsACompleteRead()
    {
        WindowFixture f;
        const QString path = dir_.filePath("early.json");
        QVERIFY(!f.window->saveConfigurationFile(path));
        QCOMPARE(f.window->statusText(), dialogs::text::notReadToSave);
        QVERIFY(!QFile::exists(path));
        QCOMPARE(f.window->loadConfigurationFile(path), nullptr);
        QCOMPARE(f.window->statusText(), dialogs::text::notReadToLoad);
    }

private:
    QTemporaryDir dir_;
};

QTEST_MAIN(TestConfigurationFiles)
#include "test_configuration_files.moc"
