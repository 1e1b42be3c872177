#include "config/configuration_store.h"
#include "dialog_test_support.h"
#include "dialogs/frm_wireless_operational_settings.h"
#include "dialogs/threshold_validation.h"
#include "dialogs/up_down_control.h"

#include <QComboBox>
#include <QTest>
#include <tuple>

namespace {

// Every field the dialog may write.
auto operationalGroup()
{
    const auto &s = config::store();
    return std::make_tuple(s.operChannelID, s.operESSID, s.operRTSThreshold, s.operFragmentationThreshold,
                           s.operPreambleType, s.operAuthenticationType, s.operBasicRates, s.operAutoRateFallBack);
}

}  // namespace

class TestFrmWireLessOperationalSettings : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup() { delete dialog_; }
    void channelList_data();
    void channelList();
    void options_data();
    void options();
    void textsAsTypedAndUpDowns();
    void cancelKeepsTheStore();
    void refusedThresholdStoresNothing_data();
    void refusedThresholdStoresNothing();

private:
    QPointer<QWidget> dialog_;
};

void TestFrmWireLessOperationalSettings::init()
{
    config::resetStore();
    auto &s = config::store();
    s.sysDeviceInfo.regulationDomain = 16;
    s.operChannelID = 6;
    s.operESSID = QStringLiteral("corvane");
    s.operRTSThreshold = 2346;
    s.operFragmentationThreshold = 2000;
    s.operPreambleType = 2;
    s.operAuthenticationType = 1;
    s.operBasicRates = QStringLiteral("82848B96");
    s.operAutoRateFallBack = 1;
}

void TestFrmWireLessOperationalSettings::channelList_data()
{
    QTest::addColumn<int>("domain");
    QTest::addColumn<int>("channel");
    QTest::addColumn<QString>("items");  // first .. last
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("picked");  // position chosen before OK, -1 for none
    QTest::addColumn<int>("afterOk");
    QTest::newRow("FCC") << 16 << 6 << "Channel 1..Channel 11" << 5 << -1 << 6;
    QTest::newRow("DOC, picked") << 32 << 11 << "Channel 1..Channel 11" << 10 << 0 << 1;
    QTest::newRow("FCC, channel beyond") << 16 << 12 << "Channel 1..Channel 11" << -1 << -1 << 12;
    QTest::newRow("ETSI") << 48 << 13 << "Channel 1..Channel 13" << 12 << -1 << 13;
    QTest::newRow("SPAIN, not allowed") << 49 << 6 << "Channel 10..Channel 11" << -1 << -1 << 6;
    QTest::newRow("SPAIN, picked") << 49 << 6 << "Channel 10..Channel 11" << -1 << 1 << 11;
    QTest::newRow("FRANCE") << 50 << 10 << "Channel 10..Channel 13" << 0 << -1 << 10;
    QTest::newRow("MKK") << 64 << 14 << "Channel 14..Channel 14" << 0 << -1 << 14;
    QTest::newRow("unknown domain") << 33 << 3 << ".." << -1 << -1 << 3;
}

void TestFrmWireLessOperationalSettings::channelList()
{
    QFETCH(int, domain);
    QFETCH(int, channel);
    QFETCH(QString, items);
    QFETCH(int, selected);
    QFETCH(int, picked);
    QFETCH(int, afterOk);
    config::store().sysDeviceInfo.regulationDomain = config::Integer(domain);
    config::store().operChannelID = config::Integer(channel);
    auto *dialog = openDialog<frmWireLessOperationalSettings>(dialog_);
    auto *combo = control<QComboBox>(dialog, "ChannelCombo");
    QCOMPARE(combo->itemText(0) + ".." + combo->itemText(combo->count() - 1), items);
    QCOMPARE(combo->currentIndex(), selected);
    if (picked >= 0)
        combo->setCurrentIndex(picked);
    press(dialog, "OKCommand");
    QCOMPARE(int(config::store().operChannelID), afterOk);
}

void TestFrmWireLessOperationalSettings::options_data()
{
    QTest::addColumn<int>("preamble");
    QTest::addColumn<int>("authentication");
    QTest::addColumn<QString>("rates");
    QTest::addColumn<int>("autoRate");
    QTest::addColumn<QStringList>("shown");   // checked buttons after loading
    QTest::addColumn<QStringList>("clicked"); // by the user before OK
    QTest::addColumn<QString>("stored");      // preamble, authentication, rates, auto rate after OK
    QTest::newRow("as read") << 1 << 3 << "82840B16" << 1
                             << QStringList{"ShortPreambleOption", "BothTypeOption", "BasicRates12Option",
                                            "AutoRateFallBackCheck"}
                             << QStringList{} << "1 3 82840B16 1";
    QTest::newRow("others as read") << 2 << 2 << "82848B96" << 2
                                    << QStringList{"LongPreambleOption", "SharedKeyOption", "BasicRates125511Option"}
                                    << QStringList{} << "2 2 82848B96 2";
    QTest::newRow("nothing read yet") << 0 << 0 << "" << 0 << QStringList{} << QStringList{} << "2 0  2";
    QTest::newRow("unknown codes, lower-case rates") << 3 << 4 << "82848b96" << 3 << QStringList{} << QStringList{}
                                                     << "2 4 82848b96 2";
    QTest::newRow("user picks") << 0 << 0 << "828" << 0 << QStringList{}
                                << QStringList{"ShortPreambleOption", "OpenSystemOption", "BasicRates125511Option",
                                               "AutoRateFallBackCheck"}
                                << "1 1 82848B96 1";
}

void TestFrmWireLessOperationalSettings::options()
{
    QFETCH(int, preamble);
    QFETCH(int, authentication);
    QFETCH(QString, rates);
    QFETCH(int, autoRate);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, clicked);
    QFETCH(QString, stored);
    auto &s = config::store();
    s.operPreambleType = config::Integer(preamble);
    s.operAuthenticationType = config::Integer(authentication);
    s.operBasicRates = rates;
    s.operAutoRateFallBack = config::Integer(autoRate);
    auto *dialog = openDialog<frmWireLessOperationalSettings>(dialog_);
    QStringList checked;
    for (auto *button : dialog->findChildren<QAbstractButton *>())
        if (button->isChecked())
            checked << button->objectName();
    checked.sort();
    shown.sort();
    QCOMPARE(checked, shown);
    for (const QString &name : clicked)
        control<QAbstractButton>(dialog, qPrintable(name))->click();
    press(dialog, "OKCommand");
    QCOMPARE(QStringLiteral("%1 %2 %3 %4")
                 .arg(s.operPreambleType)
                 .arg(s.operAuthenticationType)
                 .arg(s.operBasicRates)
                 .arg(s.operAutoRateFallBack),
             stored);
}

void TestFrmWireLessOperationalSettings::textsAsTypedAndUpDowns()
{
    auto *dialog = openDialog<frmWireLessOperationalSettings>(dialog_);
    QCOMPARE(control<QLineEdit>(dialog, "ESSIDtext")->text(), QStringLiteral("corvane"));
    QCOMPARE(control<QLineEdit>(dialog, "RTSThresholdText")->text(), QStringLiteral("2346"));
    for (const auto &[upDown, box] : {std::pair{"UpDown2", "RTSThresholdText"}, {"UpDown1", "FragmentationThresholdText"}}) {
        QCOMPARE(control<UpDownControl>(dialog, upDown)->buddy(), control<QLineEdit>(dialog, box));
        QCOMPARE(control<UpDownControl>(dialog, upDown)->maximum(), 2346);
    }
    control<UpDownControl>(dialog, "UpDown1")->stepBy(1);
    const QString essid = QStringLiteral(" my net ") + QString(40000, QLatin1Char('e'));  // no length limit
    setText(dialog, "ESSIDtext", essid);
    setText(dialog, "RTSThresholdText", QStringLiteral("-5"));
    press(dialog, "OKCommand");
    const auto &s = config::store();
    QCOMPARE(s.operESSID, essid);
    QCOMPARE(int(s.operRTSThreshold), -5);
    QCOMPARE(int(s.operFragmentationThreshold), 2001);
}

void TestFrmWireLessOperationalSettings::cancelKeepsTheStore()
{
    const auto before = operationalGroup();
    auto *dialog = openDialog<frmWireLessOperationalSettings>(dialog_);
    control<QComboBox>(dialog, "ChannelCombo")->setCurrentIndex(0);
    setText(dialog, "ESSIDtext", QStringLiteral("other"));
    setText(dialog, "RTSThresholdText", QStringLiteral("100"));
    for (const char *name : {"ShortPreambleOption", "BothTypeOption", "BasicRates12Option", "AutoRateFallBackCheck"})
        control<QAbstractButton>(dialog, name)->click();
    press(dialog, "CancelCommand");
    QVERIFY(dialog_.isNull());
    QVERIFY(operationalGroup() == before);
}

void TestFrmWireLessOperationalSettings::refusedThresholdStoresNothing_data()
{
    QTest::addColumn<QString>("rts");
    QTest::addColumn<QString>("fragmentation");
    QTest::addColumn<QByteArray>("focused");
    QTest::newRow("RTS empty") << "" << "2000" << QByteArray("RTSThresholdText");
    QTest::newRow("RTS not a number") << "abc" << "2000" << QByteArray("RTSThresholdText");
    QTest::newRow("RTS above 16 bits") << "32768" << "2000" << QByteArray("RTSThresholdText");
    QTest::newRow("fragmentation fraction") << "100" << "1.5" << QByteArray("FragmentationThresholdText");
    QTest::newRow("both refused") << "x" << "-32769" << QByteArray("RTSThresholdText");
}

void TestFrmWireLessOperationalSettings::refusedThresholdStoresNothing()
{
    QFETCH(QString, rts);
    QFETCH(QString, fragmentation);
    QFETCH(QByteArray, focused);
    const auto before = operationalGroup();
    auto *dialog = openDialog<frmWireLessOperationalSettings>(dialog_);
    setText(dialog, "ESSIDtext", QStringLiteral("changed"));
    control<QAbstractButton>(dialog, "ShortPreambleOption")->click();
    setText(dialog, "RTSThresholdText", rts);
    setText(dialog, "FragmentationThresholdText", fragmentation);
    press(dialog, "OKCommand");
    QVERIFY(dialog_ && dialog->isVisible());  // still open
    QVERIFY(operationalGroup() == before);
    QCOMPARE(dialog->focusWidget(), control<QWidget>(dialog, focused.constData()));
    for (const char *name : {"RTSThresholdText", "FragmentationThresholdText"}) {
        auto *box = control<QLineEdit>(dialog, name);
        const bool refused = !dialogs::thresholdFromText(box->text());
        QCOMPARE(box->property("refused").toBool(), refused);
        QCOMPARE(box->toolTip(), refused ? dialogs::thresholdHint() : QString());
    }

    // Mended, the marks go and the next OK stores the whole group.
    setText(dialog, "RTSThresholdText", QStringLiteral("1000"));
    setText(dialog, "FragmentationThresholdText", QStringLiteral("1500"));
    QCOMPARE(control<QLineEdit>(dialog, "RTSThresholdText")->property("refused").toBool(), false);
    QCOMPARE(control<QLineEdit>(dialog, "FragmentationThresholdText")->toolTip(), QString());
    press(dialog, "OKCommand");
    QVERIFY(dialog_.isNull());
    const auto &s = config::store();
    QCOMPARE(int(s.operRTSThreshold), 1000);
    QCOMPARE(int(s.operFragmentationThreshold), 1500);
    QCOMPARE(s.operESSID, QStringLiteral("changed"));
    QCOMPARE(int(s.operPreambleType), 1);
}

QTEST_MAIN(TestFrmWireLessOperationalSettings)
#include "tst_frm_wireless_operational_settings.moc"
