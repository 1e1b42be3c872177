// The quick-setup window against a simulated access point: connection
// polling, the status fields, the WEP status text, the change marks that
// enable each Apply, Apply and Restore Defaults on the wire and the new
// connection after them, Applies that send nothing, and the window as its
// user meets it (size, names, Tab, about, closing).

#include "quick_setup_fixture.h"

#include "dialogs/up_down_control.h"

#include <QLabel>
#include <QToolButton>

using Answer = QuickSetupFixture::Answer;
using Action = std::function<void(FrmMain2 *)>;
using snmp::Value;
Q_DECLARE_METATYPE(Action)

namespace {

const QString kConnectOK = QStringLiteral("Connect OK");

QStringList growingDots(const QString &start, int ticks)
{
    QStringList texts{start};
    for (int i = 0; i < ticks; ++i)
        texts << texts.last() + QStringLiteral("..");
    return texts;
}

QStringList statusFields(const FrmMain2 *w)
{
    return {w->txtFirmVer->text(), w->txtDomain->text(), w->txtESSID->text(),
            w->txtChannel->text(), w->txtWEP->text(),    w->EthernetAddressMaskEdBox->displayText().remove('_').trimmed()};
}

QStringList enabledApplyButtons(const FrmMain2 *w)
{
    QStringList names;
    for (const QPushButton *b : {w->BC_OKCommand, w->BC1_OKCommand, w->AC_OKCommand, w->EN1_OKCommand})
        if (b->isEnabled())
            names << b->objectName();
    return names;
}

bool settingTabsEnabled(const FrmMain2 *w)
{
    for (int tab = FrmMain2::BasicTab; tab <= FrmMain2::WEPTab; ++tab)
        if (!w->SSTab1->isTabEnabled(tab))
            return false;
    return true;
}


using DeviceCheck = std::function<void(const sim::SimulatedAccessPoint &)>;

const QString kAskDownload = QStringLiteral("Download Changes|Do you want to Change ?");

void retype(QLineEdit *box, const QString &text)
{
    box->selectAll();
    QTest::keyClicks(box, text);
}

// "SET operChannelID", "GET sysDescr": each request by its type and first object.
QStringList requestsSeen(const sim::SimulatedAccessPoint &device)
{
    QStringList seen;
    for (const snmp::Message &m : device.receivedRequests()) {
        snmp::Oid object = m.pdu.varBinds.isEmpty() ? snmp::Oid() : m.pdu.varBinds.first().name;
        if (!object.isEmpty())
            object.removeLast();  // the instance ".0"
        seen << (m.pdu.type == snmp::PduType::SetRequest ? QStringLiteral("SET ") : QStringLiteral("GET "))
                    + device.mib().nameOf(snmp::oidToText(object));
    }
    return seen;
}

const QStringList kDownloadThenConnect{"SET operChannelID",         "SET operEthernetAddress", "SET privacyDefaultWEPKeyID",
                                       "SET bridgeOperationalMode", "SET sysReset",            "GET sysDescr"};

}  // namespace

Q_DECLARE_METATYPE(DeviceCheck)

class TestQuickSetup : public QObject {
    Q_OBJECT

private slots:
    void polling_data()
    {
        QTest::addColumn<bool>("connect");        // OK in the connect dialog, else Cancel
        QTest::addColumn<bool>("deviceAnswers");
        QTest::addColumn<int>("code");            // regulation-domain code in the store ...
        QTest::addColumn<int>("codeAfterTick");   // ... from the load (0) or after this tick
        QTest::addColumn<QStringList>("statuses");  // every text txtStatus showed; last only when one entry
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<bool>("tabsEnabled");

        const QString timeout = QStringLiteral("Connection Timeout!!");
        const QStringList timedOut = growingDots(QStringLiteral("Connecting ..."), 5) << timeout;
        const QStringList empty{"", "", "", "", "", ""};
        QTest::newRow("not connected") << false << false << 0 << 0 << QStringList{"Not Connect Access Point ..."}
                                       << empty << false;
        QTest::newRow("no answer") << true << false << 0 << 0 << timedOut << empty << false;
        QTest::newRow("code outside the table") << true << false << 17 << 0 << timedOut << empty << false;
        QTest::newRow("code on the timing-out tick")
            << true << false << 16 << 5 << (QStringList(timedOut) << kConnectOK)
            << QStringList{"", "FCC", "", "", "Disable", ""} << true;
        QTest::newRow("device answers") << true << true << 0 << 0 << QStringList{kConnectOK}
                                        << QStringList{"Corvane Access Point Firmware V2.1.07", "FCC", "corvane",
                                                       "Channel 6", "Disable", "02 C0 4A 10 2B 3C"}
                                        << true;
    }

    void polling()
    {
        QFETCH(bool, connect);
        QFETCH(bool, deviceAnswers);
        QFETCH(int, code);
        QFETCH(int, codeAfterTick);
        QFETCH(QStringList, statuses);
        QFETCH(QStringList, fields);
        QFETCH(bool, tabsEnabled);

        QuickSetupFixture f;
        f.device.faults.silent = !deviceAnswers;
        if (codeAfterTick == 0)
            config::store().sysDeviceInfo.regulationDomain = config::Integer(code);
        QStringList seen;
        f.answerNextConnectDialog(connect ? Answer::Connect : Answer::Cancel);
        // The load's own texts are seen through the window's first change.
        FrmMain2 *w = f.window->showQuickSetup();
        seen << w->txtStatus->text();
        QObject::connect(w->txtStatus, &QLineEdit::textChanged, w, [&seen](const QString &t) { seen << t; });
        int ticks = 0;
        QObject::connect(&w->Timer1, &QTimer::timeout, w, [&] {
            if (++ticks == codeAfterTick)
                config::store().sysDeviceInfo.regulationDomain = config::Integer(code);
        });
        w->Timer1.setInterval(deviceAnswers ? 300 : 20);

        QTRY_VERIFY_WITH_TIMEOUT(!w->Timer1.isActive(), 10000);
        if (statuses.size() == 1)
            QCOMPARE(seen.last(), statuses.last());
        else
            QCOMPARE(seen, statuses);
        QCOMPARE(statusFields(w), fields);
        QCOMPARE(settingTabsEnabled(w), tabsEnabled);
        QCOMPARE(w->DefaultCommand->isEnabled(), tabsEnabled);
    }

    void wepStatus_data()
    {
        QTest::addColumn<int>("wepEnable");
        QTest::addColumn<int>("keyID");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("keysUsable");  // key boxes, key number, pass phrase, Done
        QTest::newRow("on, key 3") << 1 << 3 << "Enable Key=3" << true;
        QTest::newRow("on, no key number") << 1 << 0 << "Disable" << true;
        QTest::newRow("off") << 2 << 2 << "Disable" << false;
        QTest::newRow("unknown switch value") << 0 << 1 << "Disable" << false;
    }

    void wepStatus()
    {
        QFETCH(int, wepEnable);
        QFETCH(int, keyID);
        QFETCH(QString, shown);
        QFETCH(bool, keysUsable);
        QuickSetupFixture f;
        config::store().privacyWEPEnable = config::Integer(wepEnable);
        config::store().privacyDefaultWEPKeyID = config::Integer(keyID);
        FrmMain2 *w = connectedByCode(f);
        QVERIFY(w);
        QCOMPARE(w->txtWEP->text(), shown);
        for (QWidget *control : std::initializer_list<QWidget *>{w->DefaultWepKey1, w->DefaultWepKey4, w->DefaultWepKeyIDCombo,
                                                                 w->PassText, w->DoneCommand})
            QCOMPARE(control->isEnabled(), keysUsable);
    }

    void changeMarks_data()
    {
        QTest::addColumn<Action>("change");
        QTest::addColumn<QStringList>("enabled");
        const auto type = [](QLineEdit *FrmMain2::*box, const char *text) {
            return Action([box, text](FrmMain2 *w) { QTest::keyClicks(w->*box, QLatin1String(text)); });
        };
        QTest::newRow("nothing") << Action([](FrmMain2 *) {}) << QStringList{};
        QTest::newRow("channel") << Action([](FrmMain2 *w) { w->ChannelCombo->setCurrentIndex(2); })
                                 << QStringList{"BC_OKCommand"};
        QTest::newRow("fragmentation typed") << type(&FrmMain2::FragmentationThresholdText, "1")
                                             << QStringList{"BC_OKCommand"};
        QTest::newRow("RTS typed") << type(&FrmMain2::RTSThresholdText, "1") << QStringList{"BC1_OKCommand"};
        QTest::newRow("RTS arrow") << Action([](FrmMain2 *w) {
            w->UpDown2->findChild<QToolButton *>("upArrow")->click();
        }) << QStringList{"BC_OKCommand", "BC1_OKCommand"};
        QTest::newRow("preamble") << Action([](FrmMain2 *w) { w->ShortPreambleOption->click(); })
                                  << QStringList{"BC1_OKCommand"};
        QTest::newRow("IP mask") << type(&FrmMain2::IPMaskText, "0") << QStringList{"AC_OKCommand"};
        QTest::newRow("key number") << Action([](FrmMain2 *w) { w->DefaultWepKeyIDCombo->setCurrentIndex(1); })
                                    << QStringList{"EN1_OKCommand"};
        QTest::newRow("Done") << Action([](FrmMain2 *w) {
            w->WepEnableCombo->setCurrentIndex(0);
            w->EN1_OKCommand->setEnabled(false);
            w->DoneCommand->click();
            QCOMPARE(w->DefaultWepKey1->storeText(), QStringLiteral("591C93DF15"));  // the phrase "****"
        }) << QStringList{"EN1_OKCommand"};
    }

    void changeMarks()
    {
        QFETCH(Action, change);
        QFETCH(QStringList, enabled);
        QuickSetupFixture f;
        FrmMain2 *w = connectedByCode(f);
        QVERIFY(w);
        change(w);
        QCOMPARE(enabledApplyButtons(w), enabled);
    }

    void fitsAndIsNamed()
    {
        QCOMPARE(FrmMain2().Timer1.interval(), 1000);  // polls once a second
        QuickSetupFixture f;
        FrmMain2 *w = f.load(Answer::Cancel, 20);
        QVERIFY(w->width() <= 433 && w->height() <= 433);
        QVERIFY2(w->minimumSizeHint().width() <= 433 && w->minimumSizeHint().height() <= 433,
                 qPrintable(QStringLiteral("%1 x %2").arg(w->minimumSizeHint().width()).arg(w->minimumSizeHint().height())));

        QSet<QWidget *> named;
        for (QLabel *label : w->findChildren<QLabel *>())
            named << label->buddy();
        QStringList unnamed;
        for (QWidget *input : w->findChildren<QWidget *>()) {
            const bool isInput = qobject_cast<QLineEdit *>(input) || qobject_cast<QComboBox *>(input);
            if (isInput && !input->objectName().isEmpty() && !named.contains(input))
                unnamed << input->objectName();
        }
        QCOMPARE(unnamed, QStringList{});
    }

    void tabLandsOnSelectedOption()
    {
        QuickSetupFixture f;
        config::store().operPreambleType = 2;
        config::store().operAuthenticationType = 2;
        FrmMain2 *w = connectedByCode(f);
        QVERIFY(w);
        w->SSTab1->setCurrentIndex(FrmMain2::AdvancedTab);
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->LongPreambleOption->setFocus();
        QWidget *focus = nullptr;
        for (int i = 0; i < 10 && (!focus || focus->parentWidget() != w->Frame2); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            focus = QApplication::focusWidget();
        }
        QCOMPARE(focus, w->SharedKeyOption);
    }

    void aboutBringsOpenWindowToFront()
    {
        QuickSetupFixture f;
        FrmMain2 *w = f.load(Answer::Cancel, 20);
        w->SSTab1->setCurrentIndex(FrmMain2::AboutTab);
        w->hide();
        QSignalSpy dialogClosed(f.window->connectDialog(), &QDialog::finished);
        f.answerNextConnectDialog(Answer::Cancel, 5);  // in case the load ran again
        f.window->mnuHelpAbout->trigger();
        QCOMPARE(f.window->quickSetupWindow(), w);
        QVERIFY(w->isVisible());
        QCOMPARE(w->SSTab1->currentIndex(), int(FrmMain2::AboutTab));
        QCOMPARE(dialogClosed.count(), 0);
    }

    // The main window's placement is saved first.
    void closingEndsProgram()
    {
        QuickSetupFixture f;
        FrmMain2 *w = f.load(Answer::Cancel, 20);
        w->cmdCancel->click();
        QCOMPARE(f.programEnds, 1);
        QVERIFY(!f.settings.value("Settings", "MainLeft").isEmpty());
        w->close();
        QCOMPARE(f.programEnds, 2);
    }

    void applySendsEveryGroupAndReconnects_data()
    {
        QTest::addColumn<Action>("edit");  // ends with the Apply click
        QTest::addColumn<DeviceCheck>("check");
        QTest::addColumn<QString>("reconnectAddress");

        QTest::newRow("Basic Setting") << Action([](FrmMain2 *w) {
            w->ChannelCombo->setCurrentIndex(10);
            retype(w->ESSIDtext, "lab net");
            retype(w->FragmentationThresholdText, "500");  // not this tab's to store
            w->BC_OKCommand->click();
        }) << DeviceCheck([](const sim::SimulatedAccessPoint &ap) {
            QCOMPARE(ap.value("operChannelID"), Value::integer(11));
            QCOMPARE(ap.value("operESSID"), Value::octets("lab net"));
            QCOMPARE(ap.value("operFragmentationThreshold"), Value::integer(2346));
        }) << "127.0.0.1";
        QTest::newRow("Advanced") << Action([](FrmMain2 *w) {
            retype(w->RTSThresholdText, "500");
            w->ShortPreambleOption->click();
            w->BasicRates12Option->click();
            w->AutoRateFallBackCheck->click();
            w->BC1_OKCommand->click();
        }) << DeviceCheck([](const sim::SimulatedAccessPoint &ap) {
            QCOMPARE(ap.value("operRTSThreshold"), Value::integer(500));
            QCOMPARE(ap.value("operPreambleType"), Value::integer(1));
            QCOMPARE(ap.value("operBasicRates"), Value::octets(QByteArray::fromHex("82840B16")));
            QCOMPARE(ap.value("operAutoRateFallBack"), Value::integer(2));
        }) << "127.0.0.1";
        // The device moves to its new address; the new connection follows it.
        QTest::newRow("IP Setting") << Action([](FrmMain2 *w) {
            retype(w->IPAddressText, "127.0.0.2");
            retype(w->IPMaskText, "255.0.0.0");
            w->AC_OKCommand->click();
        }) << DeviceCheck([](const sim::SimulatedAccessPoint &ap) {
            QCOMPARE(ap.value("operIPMask"), Value::ipAddress(QByteArray::fromHex("FF000000")));
            QCOMPARE(ap.address(), QHostAddress("127.0.0.2"));
        }) << "127.0.0.2";
        QTest::newRow("WEP") << Action([](FrmMain2 *w) {
            w->WepEnableCombo->setCurrentIndex(0);
            w->DefaultWepKeyIDCombo->setCurrentIndex(1);
            retype(w->PassText, "corvane");
            w->DoneCommand->click();
            w->EN1_OKCommand->click();
        }) << DeviceCheck([](const sim::SimulatedAccessPoint &ap) {
            QCOMPARE(ap.value("privacyWEPEnable"), Value::integer(1));
            QCOMPARE(ap.value("privacyDefaultWEPKeyID"), Value::integer(2));
            QCOMPARE(ap.value("defaultWEPKey1"), Value::octets(QByteArray::fromHex("2C57451BEA")));
            QCOMPARE(ap.value("defaultWEPKey4"), Value::octets(QByteArray::fromHex("93EE680DD4")));
        }) << "127.0.0.1";
    }

    void applySendsEveryGroupAndReconnects()
    {
        QFETCH(Action, edit);
        QFETCH(DeviceCheck, check);
        QFETCH(QString, reconnectAddress);
        QuickSetupFixture f;
        f.device.moveOnReset = true;
        QVERIFY(f.loadConnected());
        FrmMain2 *w = f.quick;
        QStringList statuses;
        QObject::connect(w->txtStatus, &QLineEdit::textChanged, w, [&statuses](const QString &t) { statuses << t; });
        f.device.clearReceivedRequests();

        edit(w);
        QCOMPARE(f.questioner.asked, QStringList{kAskDownload});
        QCOMPARE(requestsSeen(f.device).mid(0, kDownloadThenConnect.size()), kDownloadThenConnect);
        QCOMPARE(statuses.value(0), QStringLiteral("Download complete successfully"));
        QCOMPARE(w->SSTab1->currentIndex(), int(FrmMain2::StatusTab));
        QCOMPARE(f.window->connectDialog()->txtRemoteIP->text(), reconnectAddress);
        check(f.device);
        QTRY_COMPARE_WITH_TIMEOUT(w->txtStatus->text(), kConnectOK, 10000);
        QCOMPARE(f.window->session().AgentAddress, reconnectAddress);
        QCOMPARE(config::store().pendingIPAddress, QString());
    }

    void restoreDefaults_data()
    {
        QTest::addColumn<int>("regulationDomain");
        QTest::addColumn<int>("channel");
        QTest::newRow("FCC: channel 6") << 16 << 6;
        // Lists too short for channel 6 take their first channel.
        QTest::newRow("SPAIN") << 49 << 10;
        QTest::newRow("MKK") << 64 << 14;
    }

    void restoreDefaults()
    {
        QFETCH(int, regulationDomain);
        QFETCH(int, channel);
        QuickSetupFixture f;
        const QByteArray key1 = QByteArray::fromHex("0102030405");
        const std::pair<const char *, Value> changed[] = {
            {"operChannelID", Value::integer(3)},          {"operESSID", Value::octets("lab")},
            {"operRTSThreshold", Value::integer(100)},     {"operFragmentationThreshold", Value::integer(200)},
            {"operPreambleType", Value::integer(1)},       {"operAuthenticationType", Value::integer(1)},
            {"operAutoRateFallBack", Value::integer(2)},   {"operBasicRates", Value::octets(QByteArray::fromHex("82840B16"))},
            {"privacyWEPEnable", Value::integer(1)},       {"defaultWEPKey1", Value::octets(key1)},
            {"operIPMask", Value::ipAddress(QByteArray::fromHex("FF000000"))},
        };
        for (const auto &[name, value] : changed)
            f.device.setValue(QLatin1String(name), value);
        QVERIFY(f.loadConnected());
        FrmMain2 *w = f.quick;
        // The device's code as the window would see it on a tick.
        config::store().sysDeviceInfo.regulationDomain = config::Integer(regulationDomain);
        w->Timer1_Timer();
        f.device.clearReceivedRequests();
        const int refusedBefore = f.window->session().Manager1.refusedByGuard();

        w->DefaultCommand->click();
        QCOMPARE(f.questioner.asked,
                 (QStringList{"Restore Defaults|Do you want to restore to factory defaults ?", kAskDownload}));
        const std::pair<const char *, Value> factory[] = {
            {"operChannelID", Value::integer(channel)},     {"operESSID", Value::octets("corvane")},
            {"operRTSThreshold", Value::integer(2346)},     {"operFragmentationThreshold", Value::integer(2346)},
            {"operPreambleType", Value::integer(2)},        {"operAuthenticationType", Value::integer(3)},
            {"operAutoRateFallBack", Value::integer(1)},    {"operBasicRates", Value::octets(QByteArray::fromHex("82848B96"))},
            {"privacyWEPEnable", Value::integer(2)},        {"defaultWEPKey1", Value::octets(key1)},  // kept
            {"operIPAddress", Value::ipAddress(QByteArray::fromHex("C0A801FA"))},                     // 192.168.1.250
            {"operIPMask", Value::ipAddress(QByteArray::fromHex("FFFFFF00"))},
        };
        for (const auto &[name, value] : factory)
            QCOMPARE(f.device.value(QLatin1String(name)), value);
        // The console follows the device to the factory address: the guard
        // refuses it there, and nothing more reaches any device.
        QCOMPARE(requestsSeen(f.device).last(), QStringLiteral("SET sysReset"));
        QVERIFY(f.window->session().Manager1.refusedByGuard() > refusedBefore);
        QCOMPARE(f.window->connectDialog()->txtRemoteIP->text(), QStringLiteral("192.168.1.250"));
    }

    void applyThatSendsNothing_data()
    {
        QTest::addColumn<bool>("confirm");  // the answer to "Do you want to Change ?"
        QTest::addColumn<Action>("edit");
        QTest::addColumn<QStringList>("asked");
        QTest::newRow("download declined") << false << Action([](FrmMain2 *w) {
            retype(w->IPAddressText, "127.0.0.3");
            w->AC_OKCommand->click();
        }) << QStringList{kAskDownload};
        QTest::newRow("threshold out of range") << true << Action([](FrmMain2 *w) {
            retype(w->RTSThresholdText, "2347");
            w->BC1_OKCommand->click();
            QCOMPARE(w->RTSThresholdText->property("refused").toBool(), true);
            QCOMPARE(config::store().operRTSThreshold, config::Integer(2346));
        }) << QStringList{};
    }

    void applyThatSendsNothing()
    {
        QFETCH(bool, confirm);
        QFETCH(Action, edit);
        QFETCH(QStringList, asked);
        QuickSetupFixture f;
        QVERIFY(f.loadConnected());
        f.questioner.answer = confirm;
        f.device.clearReceivedRequests();
        edit(f.quick);
        QCOMPARE(f.questioner.asked, asked);
        QTest::qWait(50);
        QCOMPARE(requestsSeen(f.device), QStringList{});
        QCOMPARE(f.quick->txtStatus->text(), kConnectOK);
        QCOMPARE(f.quick->Timer1.isActive(), false);
        // No new address is left behind for a later download.
        QCOMPARE(config::store().pendingIPAddress, QString());
    }

private:
    // Connected through the store alone: a silent device, and a known code
    // in the store from the load on.
    FrmMain2 *connectedByCode(QuickSetupFixture &f)
    {
        f.device.faults.silent = true;
        config::store().sysDeviceInfo.regulationDomain = 16;
        FrmMain2 *w = f.load(Answer::Connect, 20);
        return QTest::qWaitFor([w] { return w->txtStatus->text() == kConnectOK; }, 5000) ? w : nullptr;
    }
};

QTEST_MAIN(TestQuickSetup)
#include "test_quick_setup.moc"
