// The settings dialogs: each shows the store's values, OK writes the controls
// back (unedited ones give back what they were shown), Cancel writes nothing,
// a refused threshold keeps the dialog open; and their masked hex box.

#include "config/configuration_store.h"
#include "config/value_rules.h"
#include "dialog_test_support.h"
#include "dialogs/frm_bridge_ip_settings.h"
#include "dialogs/frm_bridge_operational_mode.h"
#include "dialogs/frm_wireless_operational_settings.h"
#include "dialogs/frm_wireless_privacy_options.h"
#include "widgets/masked_hex_edit.h"
#include "widgets/up_down_control.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QTest>

// Every field the dialog may write: channel|preamble|authentication|rates|auto rate|ESSID|RTS|fragmentation.
static QString operationalGroup()
{
    const auto &s = testDevice().store();
    return QStringList{QString::number(s.operChannelID), QString::number(s.operPreambleType),
                       QString::number(s.operAuthenticationType), s.operBasicRates,
                       QString::number(s.operAutoRateFallBack), s.operESSID, QString::number(s.operRTSThreshold),
                       QString::number(s.operFragmentationThreshold)}
        .join('|');
}

struct PrivacyCase {
    QString codes;     // key id|WEP enable in the store
    QStringList keys;  // keys 1 to 4 in the store
    QString shown;     // key item|enable item at opening
    QString chosen;    // the same, chosen by the user; "": untouched
    QString typedKey3; // over the whole of key 3; "": untouched
    const char *button;
    QString stored;    // key id|WEP enable afterwards; "": refused, nothing stored
    QString key3;      // afterwards; the other keys stay as they were
};
struct BridgeModeCase {
    int mode;            // in the store; its BSSID is always 0040F4112233
    QString shown;       // in the BSSID box after loading
    const char *chosen;  // option clicked by the user, or none
    QString enabled;     // BSSID box and Label5 then, as "1 1"
    QString typed;       // into the box from its start
    const char *button;
    QString after;       // mode|BSSID in the store
};
struct HexBoxCase {
    int pairs;
    QString stored, display;  // given to the box, and what it shows then
    int cursor;
    QString typed;            // from the cursor on; "\b" is Backspace
    QString expected;         // what the box gives back
};
Q_DECLARE_METATYPE(PrivacyCase)
Q_DECLARE_METATYPE(BridgeModeCase)
Q_DECLARE_METATYPE(HexBoxCase)

class TestSettingsDialogs : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        config::ConfigurationStore &store = freshStore();
        store.sysDeviceInfo.regulationDomain = 16;
        store.operESSID = QStringLiteral("corvane");
    }
    void cleanup() { delete dialog_; }

    void choices_data()
    {
        QTest::addColumn<int>("domain");
        QTest::addColumn<QString>("before");    // channel|preamble|authentication|rates|auto rate in the store
        QTest::addColumn<QString>("items");     // first..last channel offered
        QTest::addColumn<QStringList>("user");  // channel items chosen and buttons clicked before OK
        QTest::addColumn<QString>("after");     // as `before`
        const QString fcc = QStringLiteral("Channel 1..Channel 11");
        QTest::newRow("FCC, as read") << 16 << "6|1|3|82840B16|1" << fcc << QStringList{} << "6|1|3|82840B16|1";
        QTest::newRow("channel beyond, others as read") << 16 << "12|2|2|82848B96|2" << fcc << QStringList{}
                                                        << "12|2|2|82848B96|2";
        QTest::newRow("SPAIN, picked") << 49 << "6|1|1|82848B96|1" << "Channel 10..Channel 11" << QStringList{"Channel 11"}
                                       << "11|1|1|82848B96|1";
        // Codes that select no button: preamble and auto rate get their "off" value, the others stay.
        QTest::newRow("unknown domain, nothing read yet") << 33 << "3|0|0||0" << ".." << QStringList{} << "3|2|0||2";
        QTest::newRow("unknown codes, lower-case rates") << 16 << "1|3|4|82848b96|3" << fcc << QStringList{}
                                                         << "1|2|4|82848b96|2";
        QTest::newRow("user picks") << 16 << "0|0|0|828|0" << fcc
                                    << QStringList{"Channel 2", "ShortPreambleOption", "OpenSystemOption",
                                                   "BasicRates125511Option", "AutoRateFallBackCheck"}
                                    << "2|1|1|82848B96|1";
    }

    void choices()
    {
        QFETCH(int, domain);
        QFETCH(QString, before);
        QFETCH(QString, items);
        QFETCH(QStringList, user);
        QFETCH(QString, after);
        auto &s = testDevice().store();
        const QStringList b = before.split('|');
        s.sysDeviceInfo.regulationDomain = config::Integer(domain);
        s.operChannelID = config::Integer(b[0].toInt());
        s.operPreambleType = config::Integer(b[1].toInt());
        s.operAuthenticationType = config::Integer(b[2].toInt());
        s.operBasicRates = b[3];
        s.operAutoRateFallBack = config::Integer(b[4].toInt());
        auto *dialog = openDialog<frmWireLessOperationalSettings>(dialog_, testDevice());
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
        // Only a change leaves edits waiting to be downloaded.
        QCOMPARE(testDevice().isEdited(config::Group::WirelessOperational), after != before);
    }

    void textsAndButtons_data()
    {
        QTest::addColumn<QString>("essid");
        QTest::addColumn<QString>("rts");
        QTest::addColumn<QString>("fragmentation");
        QTest::addColumn<int>("arrowUp");  // clicks on the fragmentation arrow after typing
        QTest::addColumn<QByteArray>("button");
        QTest::addColumn<QString>("stored");  // RTS|fragmentation; else the box refused, nothing stored
        const QByteArray ok("OKCommand");
        const QString net = QStringLiteral("lab net ");  // a trailing blank is kept
        QTest::newRow("range ends, blanks around") << net << " 0" << "+2346 " << 0 << ok << "0|2346";
        QTest::newRow("arrow up") << net << "0" << "2000" << 1 << ok << "0|2001";
        QTest::newRow("arrow at the top") << net << "0" << "2346" << 1 << ok << "0|2346";
        QTest::newRow("RTS not a number") << net << "abc" << "2000" << 0 << ok << "RTSThresholdText";
        QTest::newRow("RTS one above the device's range") << net << "2347" << "2000" << 0 << ok << "RTSThresholdText";
        QTest::newRow("fragmentation one below") << net << "100" << "-1" << 0 << ok << "FragmentationThresholdText";
        // The ESSID's other rules: test_settings_file (the same rules).
        QTest::newRow("ESSID empty") << "" << "100" << "200" << 0 << ok << "ESSIDtext";
        QTest::newRow("Cancel") << net << "100" << "200" << 0 << QByteArray("CancelCommand") << "";
    }

    void textsAndButtons()
    {
        QFETCH(QString, essid);
        QFETCH(QString, rts);
        QFETCH(QString, fragmentation);
        QFETCH(int, arrowUp);
        QFETCH(QByteArray, button);
        QFETCH(QString, stored);
        const QString before = operationalGroup();
        auto *dialog = openDialog<frmWireLessOperationalSettings>(dialog_, testDevice());
        control<QComboBox>(dialog, "ChannelCombo")->setCurrentIndex(0);
        for (const char *name : {"ShortPreambleOption", "BothTypeOption", "BasicRates12Option", "AutoRateFallBackCheck"})
            control<QAbstractButton>(dialog, name)->click();
        setText(dialog, "ESSIDtext", essid);
        setText(dialog, "RTSThresholdText", rts);
        setText(dialog, "FragmentationThresholdText", fragmentation);
        if (arrowUp)
            control<UpDownControl>(dialog, "UpDown1")->stepBy(arrowUp);
        press(dialog, button.constData());
        if (!stored.contains('|')) {
            QCOMPARE(operationalGroup(), before);
            QCOMPARE(dialog_.isNull(), button == "CancelCommand");  // a refused text keeps it open...
            if (!dialog_)
                return;
            // ...its box marked, the tooltip saying what it takes...
            auto *refused = control<QLineEdit>(dialog, qPrintable(stored));
            QCOMPARE(refused->property("refused").toBool(), true);
            QCOMPARE(refused->toolTip(), stored == "ESSIDtext" ? config::essidHint() : config::thresholdHint());
            QCOMPARE(QApplication::focusWidget(), refused);
            setText(dialog, "ESSIDtext", QStringLiteral("lab net "));  // ...until mended
            setText(dialog, "RTSThresholdText", QStringLiteral("1000"));
            setText(dialog, "FragmentationThresholdText", QStringLiteral("1500"));
            QCOMPARE(refused->property("refused").toBool(), false);
            press(dialog, "OKCommand");
            stored = QStringLiteral("1000|1500");
        }
        QVERIFY(dialog_.isNull());
        QCOMPARE(operationalGroup(), "1|1|3|82840B16|1|lab net |" + stored);
    }

    void privacy_data()
    {
        QTest::addColumn<PrivacyCase>("c");
        const QStringList read{"0102030405", "A1A2A3A4A5", "B1B2B3B4B5", "C1C2C3C4C5"};
        const QStringList odd{"0", "zz zz zz z", "a1 b2_c3", "0102030405060708"};  // short, not hex, too long
        const char *ok = "OKCommand", *none = "None|Disable";
        // Keys the device would refuse (never read from it) are never stored:
        // the dialog stays open with the boxes marked.
        QTest::newRow("keys not ten digits") << PrivacyCase{"1|1", odd, "Key 1|Enable", "Key 2|Disable", "", ok, "", odd[2]};
        // Unedited, OK gives back what the combos were shown: "None" keeps the id, "Disable" is 2.
        QTest::newRow("key 4 as read") << PrivacyCase{"4|1", read, "Key 4|Enable", "|", "", ok, "4|1", read[2]};
        QTest::newRow("unknown codes") << PrivacyCase{"5|7", read, none, "|", "", ok, "5|2", read[2]};
        QTest::newRow("None chosen keeps the id") << PrivacyCase{"2|1", read, "Key 2|Enable", "None|", "", ok, "2|1", read[2]};
        QTest::newRow("key 3 chosen, disabled") << PrivacyCase{"0|2", read, none, "Key 3|", "", ok, "3|2", read[2]};
        QTest::newRow("key typed") << PrivacyCase{"2|0", read, "Key 2|Disable", "Key 4|Enable", "1a2b3c4d5e", ok, "4|1", "1A2B3C4D5E"};
        QTest::newRow("Cancel after edits")
            << PrivacyCase{"2|0", read, "Key 2|Disable", "Key 4|Enable", "1a2b3c4d5e", "CancelCommand", "2|0", read[2]};
    }

    void privacy()
    {
        QFETCH(PrivacyCase, c);
        auto &s = testDevice().store();
        s.privacyDefaultWEPKeyID = config::Integer(c.codes.section('|', 0, 0).toInt());
        s.privacyWEPEnable = config::Integer(c.codes.section('|', 1, 1).toInt());
        for (int i = 0; i < 4; ++i)
            s.defaultWEPKey(i + 1) = c.keys.at(i);
        auto *dialog = openDialog<frmWireLessPrivacyOptions>(dialog_, testDevice());
        const char *combos[] = {"DefaultWepKeyIDCombo", "WepEnableCombo"};
        QCOMPARE(control<QComboBox>(dialog, combos[0])->currentText() + '|' + control<QComboBox>(dialog, combos[1])->currentText(),
                 c.shown);
        for (int i = 0; i < 2; ++i) {
            if (!c.chosen.section('|', i, i).isEmpty())
                control<QComboBox>(dialog, combos[i])->setCurrentText(c.chosen.section('|', i, i));
        }
        if (!c.typedKey3.isEmpty()) {
            auto *box = control<MaskedHexEdit>(dialog, "DefaultWepKey3");
            box->selectAll();
            QTest::keyClick(box, Qt::Key_Backspace);
            QTest::keyClicks(box, c.typedKey3);
        }
        press(dialog, c.button);
        QCOMPARE(dialog_.isNull(), !c.stored.isEmpty());
        if (c.stored.isEmpty()) {  // refused: the first refused key box marked, nothing stored
            auto *refused = qobject_cast<QLineEdit *>(QApplication::focusWidget());
            QVERIFY(refused && refused->property("refused").toBool());
            QCOMPARE(refused->toolTip(), config::hexHint(10));
            c.stored = c.codes;
        }
        QCOMPARE(QStringLiteral("%1|%2").arg(s.privacyDefaultWEPKeyID).arg(s.privacyWEPEnable), c.stored);
        c.keys[2] = c.key3;
        QCOMPARE((QStringList{s.defaultWEPKey1, s.defaultWEPKey2, s.defaultWEPKey3, s.defaultWEPKey4}), c.keys);
    }

    void bridgeIP_data()
    {
        QTest::addColumn<QStringList>("stored");  // address, mask, Ethernet address
        QTest::addColumn<QStringList>("typed");   // the same (Ethernet: keys from its start); empty: untouched
        QTest::addColumn<QByteArray>("button");
        QTest::addColumn<QStringList>("after");   // empty: refused, the dialog stays and nothing is stored
        const QStringList read{"10.20.30.40", "255.255.255.0", "0040F4A1B2C3"};
        const QStringList typed{"  127.0.0.2 ", "255.255.0.0", "de"};
        const QByteArray ok("OKCommand");
        QTest::newRow("as read") << read << QStringList{} << ok << read;
        QTest::newRow("typed, blanks kept") << read << typed << ok
                                            << QStringList{"  127.0.0.2 ", "255.255.0.0", "DE40F4A1B2C3"};
        QTest::newRow("address beyond 255") << read << QStringList{"192.168.1.300", "255.255.0.0", ""} << ok
                                            << QStringList{};
        QTest::newRow("mask not a mask") << read << QStringList{"10.0.0.1", "255.0.0.0x", ""} << ok << QStringList{};
        QTest::newRow("Ethernet address not hexadecimal") << QStringList{"10.0.0.1", "255.0.0.0", "0G4_F 1B2C"}
                                                          << QStringList{} << ok << QStringList{};
        QTest::newRow("Cancel after edits") << read << typed << QByteArray("CancelCommand") << read;
    }

    void bridgeIP()
    {
        QFETCH(QStringList, stored);
        QFETCH(QStringList, typed);
        QFETCH(QByteArray, button);
        QFETCH(QStringList, after);
        auto &store = testDevice().store();
        store.operIPAddress = stored.at(0);
        store.operIPMask = stored.at(1);
        store.operEthernetAddress = stored.at(2);
        auto *dialog = openDialog<frmBridgeIPSettings>(dialog_, testDevice());
        if (!typed.isEmpty()) {
            setText(dialog, "IPAddressText", typed.at(0));
            setText(dialog, "IPMaskText", typed.at(1));
            auto *ethernet = control<MaskedHexEdit>(dialog, "EthernetAddressMaskEdBox");
            ethernet->setCursorPosition(0);
            QTest::keyClicks(ethernet, typed.at(2));
        }
        press(dialog, button.constData());
        QCOMPARE(dialog_.isNull(), !after.isEmpty());
        QCOMPARE((QStringList{store.operIPAddress, store.operIPMask, store.operEthernetAddress}),
                 after.isEmpty() ? stored : after);
        QCOMPARE(testDevice().isEdited(config::Group::IPSettings), !after.isEmpty() && after != stored);
    }

    void bridgeMode_data()
    {
        QTest::addColumn<BridgeModeCase>("c");
        const QString address = QStringLiteral("00 40 F4 11 22 33"), maskOnly = QStringLiteral("__ __ __ __ __ __");
        const char *ok = "OKCommand", *wb = "WirelessBridgeOption";
        // Unedited, OK gives back the mode whose option was shown selected.
        QTest::newRow("WB to WB") << BridgeModeCase{1, address, nullptr, "1 1", "", ok, "1|0040F4112233"};
        QTest::newRow("access point") << BridgeModeCase{2, maskOnly, nullptr, "0 0", "", ok, "2|0040F4112233"};
        QTest::newRow("nothing read yet") << BridgeModeCase{0, maskOnly, nullptr, "0 1", "", ok, "0|0040F4112233"};
        QTest::newRow("bridge to access point") << BridgeModeCase{3, address, "APOption", "0 0", "", ok, "2|0040F4112233"};
        QTest::newRow("access point to WB to WB, typed") << BridgeModeCase{
            2, maskOnly, "WirelessBridgeToWirelessBridgeOption", "1 1", "0a0b0c0d0e0f", ok, "1|0A0B0C0D0E0F"};
        // A bridge mode chosen over an empty box shows the stored partner, so
        // what OK sends is what the user sees.
        QTest::newRow("no mode to bridge, typed over the stored partner")
            << BridgeModeCase{0, maskOnly, wb, "1 1", "aabb", ok, "3|AABBF4112233"};
        QTest::newRow("Cancel after switching") << BridgeModeCase{2, maskOnly, wb, "1 1", "ff", "CancelCommand", "2|0040F4112233"};
    }

    void bridgeMode()
    {
        QFETCH(BridgeModeCase, c);
        auto &store = testDevice().store();
        store.bridgeOperationalMode = config::Integer(c.mode);
        store.bridgeRemoteBridgeBSSID = QStringLiteral("0040F4112233");
        auto *dialog = openDialog<frmBridgeOperationalMode>(dialog_, testDevice());
        auto *box = control<MaskedHexEdit>(dialog, "RemoteBridgeBSSIDMaskEdBox");
        QCOMPARE(box->displayText(), c.shown);
        if (c.chosen)
            control<QAbstractButton>(dialog, c.chosen)->click();
        QCOMPARE(QStringLiteral("%1 %2").arg(box->isEnabled()).arg(control<QLabel>(dialog, "Label5")->isEnabled()),
                 c.enabled);
        box->setCursorPosition(0);
        QTest::keyClicks(box, c.typed);
        press(dialog, c.button);
        QCOMPARE(QStringLiteral("%1|%2").arg(store.bridgeOperationalMode).arg(store.bridgeRemoteBridgeBSSID), c.after);
    }

    // What the masked hex box gives back, edited or not.
    void storeText_data()
    {
        QTest::addColumn<HexBoxCase>("c");
        const QString address = QStringLiteral("0040F4A1B2C3"), shown = QStringLiteral("00 40 F4 A1 B2 C3"),
                      empty = QStringLiteral("__ __ __ __ __ __"), longer = QStringLiteral("0123456789ABCDEF");
        // Unedited: every byte comes back as it was given; what is not a
        // hexadecimal digit shows as an empty position.
        QTest::newRow("longer than the box") << HexBoxCase{5, longer, "01 23 45 67 89", 0, "", longer};
        QTest::newRow("lower case, blank, prompt") << HexBoxCase{6, "00 0f_A1", "00 _0 F_ A1 __ __", 0, "", "00 0f_A1"};
        QTest::newRow("not hexadecimal") << HexBoxCase{5, "ZZ-GH!x\x01yq", "__ __ __ __ __", 0, "", "ZZ-GH!x\x01yq"};
        // Edited: the places from the left, upper case, "_" where a position is empty.
        QTest::newRow("typing skips the blanks") << HexBoxCase{6, address, shown, 1, "123", "0123F4A1B2C3"};
        QTest::newRow("empty places around a typed one") << HexBoxCase{6, "", empty, 6, "ab", "____AB______"};
        QTest::newRow("only hexadecimal digits go in") << HexBoxCase{6, "FF40F4A1B2C3", "FF 40 F4 A1 B2 C3", 0, "G", "FF40F4A1B2C3"};
        QTest::newRow("last place cleared") << HexBoxCase{6, address, shown, 17, "\b\b", "0040F4A1B2__"};
        QTest::newRow("all cleared") << HexBoxCase{6, address, shown, 17, QString(17, QLatin1Char('\b')), ""};
    }

    void storeText()
    {
        QFETCH(HexBoxCase, c);
        MaskedHexEdit edit(c.pairs);
        edit.setStoreText(QStringLiteral("FFFFFFFFFFFF"));  // an earlier value must not linger
        edit.setStoreText(c.stored);
        QCOMPARE(edit.displayText(), c.display);
        edit.setCursorPosition(c.cursor);
        for (const QChar ch : c.typed) {
            if (ch == QLatin1Char('\b'))
                QTest::keyClick(&edit, Qt::Key_Backspace);
            else
                QTest::keyClicks(&edit, QString(ch));
        }
        QCOMPARE(edit.storeText(), c.expected);
    }


private:
    QPointer<QWidget> dialog_;
};

QTEST_MAIN(TestSettingsDialogs)
#include "tst_settings_dialogs.moc"
