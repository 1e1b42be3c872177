// Settings by name and in files: each setting's text forms going in and
// coming out, and a settings file taken whole or refused with why.

#include "config/field_text.h"
#include "config/settings_file.h"

#include <QtTest>

using config::ConfigurationStore;

namespace {

ConfigurationStore readDevice()
{
    ConfigurationStore s;
    s.operChannelID = 6;
    s.operESSID = QStringLiteral("lab net");
    s.operRTSThreshold = 2346;
    s.operFragmentationThreshold = 1024;
    s.operPreambleType = 2;
    s.operAuthenticationType = 3;
    s.operBasicRates = QStringLiteral("82840B16");
    s.operAutoRateFallBack = 1;
    s.operIPAddress = QStringLiteral("192.168.1.250");
    s.operIPMask = QStringLiteral("255.255.255.0");
    s.operEthernetAddress = QStringLiteral("0002A5000001");
    for (int k = 1; k <= 4; ++k)
        s.defaultWEPKey(k) = QStringLiteral("A1B2C3D4E%1").arg(k);
    s.privacyDefaultWEPKeyID = 2;
    s.privacyWEPEnable = 2;
    s.sysTrapSwitch = 1;
    s.bridgeOperationalMode = 2;
    s.bridgeRemoteBridgeBSSID = QStringLiteral("");  // an access point has no partner
    return s;
}

QByteArray fileWith(const char *replace, const char *with)
{
    const config::SettingsFile file = config::settingsOf({"127.0.0.1", "0002A5000001", "Corvane V2", "Tarvo"},
                                                         readDevice(), QDateTime::fromSecsSinceEpoch(1700000000));
    return config::writeSettingsFile(file).replace(replace, with);
}

}  // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT
private slots:
    // What a user types for a setting, and what it becomes (empty: refused).
    void fieldTexts_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("choice by name") << "preamble" << "short" << "short";
        QTest::newRow("choice by the MIB's name") << "traps" << "disabled" << "off";
        QTest::newRow("choice by code") << "bridge-mode" << "3" << "bridge";
        QTest::newRow("unknown choice") << "wep" << "maybe" << "";
        QTest::newRow("channel in range") << "channel" << "14" << "14";
        QTest::newRow("channel out of range") << "channel" << "15" << "";
        QTest::newRow("threshold not a number") << "rts-threshold" << "12a" << "";
        QTest::newRow("rates by name") << "basic-rates" << "1-2-5.5-11" << "1-2-5.5-11";
        QTest::newRow("rates by bytes") << "basic-rates" << "82840B16" << "1-2";
        QTest::newRow("other rates") << "basic-rates" << "02040B16" << "";
        QTest::newRow("key with separators") << "wep-key3" << "a1:b2:c3:d4:e5" << "A1B2C3D4E5";
        QTest::newRow("key too short") << "wep-key1" << "A1B2C3D4" << "";
        QTest::newRow("address trimmed") << "ip-address" << " 10.0.0.5 " << "10.0.0.5";
        QTest::newRow("address out of range") << "ip-mask" << "255.255.256.0" << "";
        QTest::newRow("ESSID starting with a blank") << "essid" << " lab" << "";
        QTest::newRow("ESSID of 33 characters") << "essid" << QString(33, 'x') << "";
        QTest::newRow("ESSID not ASCII") << "essid" << QStringLiteral("caf\u00e9") << "";
    }

    void fieldTexts()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        const config::DeviceObject *object = config::settingNamed(field);
        QVERIFY(object);
        ConfigurationStore store = readDevice();
        const ConfigurationStore before = store;
        const QString why = config::setFieldFromText(*object, typed, store);
        QCOMPARE(why.isEmpty(), !shown.isEmpty());
        QCOMPARE(config::fieldText(*object, store), shown.isEmpty() ? config::fieldText(*object, before) : shown);
    }

    // Written, read back and applied to a factory store: the same settings;
    // the fields kept are the target's own.
    void roundTrip()
    {
        const auto read = config::readSettingsFile(fileWith("", ""));
        QVERIFY2(read.file, qPrintable(read.error));
        QCOMPARE(read.file->device.firmware, QStringLiteral("Corvane V2"));
        QCOMPARE(read.file->saved, QDateTime::fromSecsSinceEpoch(1700000000));
        QVERIFY(!read.file->settings.contains(QStringLiteral("bssid")));
        ConfigurationStore target;
        target.operIPAddress = QStringLiteral("10.0.0.9");
        config::applySettings(*read.file, target, {QStringLiteral("ip-address")});
        const ConfigurationStore device = readDevice();
        for (const config::DeviceObject *object : config::settingObjects()) {
            if (object->field == QLatin1String("ip-address"))
                QCOMPARE(target.operIPAddress, QStringLiteral("10.0.0.9"));
            else if (object->field != QLatin1String("bssid"))
                QCOMPARE(config::fieldText(*object, target), config::fieldText(*object, device));
        }
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error");
        QTest::newRow("cut short") << fileWith("", "").left(200) << "not a settings file: not JSON";
        QTest::newRow("another program's JSON") << QByteArray("{\"format\": 1, \"settings\": {}}")
                                                << "not a settings file of this program";
        QTest::newRow("newer format") << fileWith("\"format\": 1", "\"format\": 2")
                                      << "settings file of a newer format (2)";
        QTest::newRow("format not a number") << fileWith("\"format\": 1", "\"format\": \"1\"")
                                             << "damaged settings file: \"format\"";
        QTest::newRow("unknown setting") << fileWith("\"channel\"", "\"chanel\"") << "unknown setting \"chanel\"";
        QTest::newRow("value the device refuses") << fileWith("\"channel\": \"6\"", "\"channel\": \"0\"")
                                                  << "channel in the settings file: \"0\" is not accepted";
        QTest::newRow("value not a text") << fileWith("\"essid\": \"lab net\"", "\"essid\": [1]")
                                          << "essid in the settings file: not a text";
        QTest::newRow("no time") << fileWith("\"saved\"", "\"when\"") << "damaged settings file: \"saved\"";
        QTest::newRow("too large") << QByteArray(config::SettingsFile::kMaxBytes + 1, ' ') << "larger than";
    }

    void refused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        const auto read = config::readSettingsFile(bytes);
        QVERIFY(!read.file);
        QVERIFY2(read.error.startsWith(error) || read.error.contains(error), qPrintable(read.error));
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "test_settings_file.moc"
