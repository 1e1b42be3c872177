#include "config/configuration_store.h"
#include "dialog_test_support.h"
#include "dialogs/frm_wireless_operational_settings.h"
#include "dialogs/up_down_control.h"

#include <QComboBox>
#include <QTest>

// Every field the dialog may write: channel|preamble|authentication|rates|auto rate|ESSID|RTS|fragmentation.
static QString operationalGroup()
{
    const auto &s = config::store();
    return QStringList{QString::number(s.operChannelID), QString::number(s.operPreambleType),
                       QString::number(s.operAuthenticationType), s.operBasicRates,
                       QString::number(s.operAutoRateFallBack), s.operESSID, QString::number(s.operRTSThreshold),
                       QString::number(s.operFragmentationThreshold)}
        .join('|');
}

class TestFrmWireLessOperationalSettings : public QObject {
    Q_OBJECT

private slots:
    void init() { config::resetStore(); config::store().sysDeviceInfo.regulationDomain = 16; }
    void cleanup() { delete dialog_; }
    void choices_data();
    void choices();
    void textsAndButtons_data();
    void textsAndButtons();

private:
    QPointer<QWidget> dialog_;
};

void TestFrmWireLessOperationalSettings::choices_data()
{
    QTest::addColumn<int>("domain");
    QTest::addColumn<QString>("before");    // channel|preamble|authentication|rates|auto rate in the store
    QTest::addColumn<QString>("items");     // first..last channel offered
    QTest::addColumn<QStringList>("user");  // channel items chosen and buttons clicked before OK
    QTest::addColumn<QString>("after");     // as `before`
    const QString fcc = QStringLiteral("Channel 1..Channel 11"), spain = QStringLiteral("Channel 10..Channel 11");
    const QString codes = QStringLiteral("|1|1|82848B96|1");
    QTest::newRow("FCC, as read") << 16 << "6|1|3|82840B16|1" << fcc << QStringList{} << "6|1|3|82840B16|1";
    QTest::newRow("channel beyond, others as read") << 16 << "12|2|2|82848B96|2" << fcc << QStringList{}
                                                    << "12|2|2|82848B96|2";
    QTest::newRow("ETSI") << 48 << "13" + codes << "Channel 1..Channel 13" << QStringList{} << "13" + codes;
    QTest::newRow("SPAIN, not allowed") << 49 << "6" + codes << spain << QStringList{} << "6" + codes;
    QTest::newRow("SPAIN, picked") << 49 << "6" + codes << spain << QStringList{"Channel 11"} << "11" + codes;
    QTest::newRow("FRANCE") << 50 << "10" + codes << "Channel 10..Channel 13" << QStringList{} << "10" + codes;
    QTest::newRow("MKK") << 64 << "14" + codes << "Channel 14..Channel 14" << QStringList{} << "14" + codes;
    // Codes that select no button: preamble and auto rate get their "off" value, the others stay.
    QTest::newRow("unknown domain, nothing read yet") << 33 << "3|0|0||0" << ".." << QStringList{} << "3|2|0||2";
    QTest::newRow("unknown codes, lower-case rates") << 16 << "1|3|4|82848b96|3" << fcc << QStringList{}
                                                     << "1|2|4|82848b96|2";
    QTest::newRow("user picks") << 16 << "0|0|0|828|0" << fcc
                                << QStringList{"Channel 2", "ShortPreambleOption", "OpenSystemOption",
                                               "BasicRates125511Option", "AutoRateFallBackCheck"}
                                << "2|1|1|82848B96|1";
}

void TestFrmWireLessOperationalSettings::choices()
{
    QFETCH(int, domain);
    QFETCH(QString, before);
    QFETCH(QString, items);
    QFETCH(QStringList, user);
    QFETCH(QString, after);
    auto &s = config::store();
    s.sysDeviceInfo.regulationDomain = config::Integer(domain);
    s.operChannelID = config::Integer(before.section('|', 0, 0).toInt());
    s.operPreambleType = config::Integer(before.section('|', 1, 1).toInt());
    s.operAuthenticationType = config::Integer(before.section('|', 2, 2).toInt());
    s.operBasicRates = before.section('|', 3, 3);
    s.operAutoRateFallBack = config::Integer(before.section('|', 4, 4).toInt());
    auto *dialog = openDialog<frmWireLessOperationalSettings>(dialog_);
    auto *combo = control<QComboBox>(dialog, "ChannelCombo");
    QCOMPARE(combo->itemText(0) + ".." + combo->itemText(combo->count() - 1), items);
    for (const QString &choice : user) {
        if (choice.startsWith(QLatin1String("Channel ")))
            combo->setCurrentText(choice);
        else
            control<QAbstractButton>(dialog, qPrintable(choice))->click();
    }
    press(dialog, "OKCommand");  // unedited controls give back what they were shown
    QCOMPARE(operationalGroup().section('|', 0, 4), after);
}

void TestFrmWireLessOperationalSettings::textsAndButtons_data()
{
    QTest::addColumn<QString>("rts");
    QTest::addColumn<QString>("fragmentation");
    QTest::addColumn<int>("arrowUp");  // clicks on the fragmentation arrow after typing
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QString>("stored");  // RTS|fragmentation; "": refused, nothing stored
    const QByteArray ok("OKCommand");
    QTest::newRow("range ends, blanks around") << " 0" << "+2346 " << 0 << ok << "0|2346";
    QTest::newRow("arrow up") << "0" << "2000" << 1 << ok << "0|2001";
    QTest::newRow("arrow at the top") << "0" << "2346" << 1 << ok << "0|2346";
    QTest::newRow("RTS empty") << "" << "2000" << 0 << ok << "";
    QTest::newRow("RTS not a number") << "abc" << "2000" << 0 << ok << "";
    QTest::newRow("RTS one above the device's range") << "2347" << "2000" << 0 << ok << "";
    QTest::newRow("fragmentation one below") << "100" << "-1" << 0 << ok << "";
    QTest::newRow("RTS above 16 bits") << "32768" << "2000" << 0 << ok << "";
    QTest::newRow("hexadecimal") << "0x10" << "100" << 0 << ok << "";
    QTest::newRow("Cancel") << "100" << "200" << 0 << QByteArray("CancelCommand") << "";
}

void TestFrmWireLessOperationalSettings::textsAndButtons()
{
    QFETCH(QString, rts);
    QFETCH(QString, fragmentation);
    QFETCH(int, arrowUp);
    QFETCH(QByteArray, button);
    QFETCH(QString, stored);
    const QString before = operationalGroup();
    auto *dialog = openDialog<frmWireLessOperationalSettings>(dialog_);
    control<QComboBox>(dialog, "ChannelCombo")->setCurrentIndex(0);
    for (const char *name : {"ShortPreambleOption", "BothTypeOption", "BasicRates12Option", "AutoRateFallBackCheck"})
        control<QAbstractButton>(dialog, name)->click();
    setText(dialog, "ESSIDtext", QStringLiteral(" lab net "));
    setText(dialog, "RTSThresholdText", rts);
    setText(dialog, "FragmentationThresholdText", fragmentation);
    if (arrowUp)
        control<UpDownControl>(dialog, "UpDown1")->stepBy(arrowUp);
    press(dialog, button.constData());
    if (stored.isEmpty()) {
        QCOMPARE(operationalGroup(), before);
        QCOMPARE(dialog_.isNull(), button == "CancelCommand");  // a refused text keeps it open...
        if (!dialog_)
            return;
        setText(dialog, "RTSThresholdText", QStringLiteral("1000"));  // ...until mended
        setText(dialog, "FragmentationThresholdText", QStringLiteral("1500"));
        press(dialog, "OKCommand");
        stored = QStringLiteral("1000|1500");
    }
    QVERIFY(dialog_.isNull());
    QCOMPARE(operationalGroup(), "1|1|3|82840B16|1| lab net |" + stored);
}

QTEST_MAIN(TestFrmWireLessOperationalSettings)
#include "tst_frm_wireless_operational_settings.moc"
