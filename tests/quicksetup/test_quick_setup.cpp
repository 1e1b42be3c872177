// The quick-setup window against a simulated access point: connection
// polling, the status fields and WEP status text, the change marks that
// enable each Apply, Apply and Restore Defaults on the wire and the new
// connection after them, and the window as its user meets it.

#include "quick_setup_fixture.h"

#include "dialogs/status_texts.h"
#include "config/value_rules.h"
#include "sim/sim_test_support.h"
#include "widgets/up_down_control.h"

#include <QAccessible>
#include <QLabel>
#include <QScreen>
#include <QToolButton>

using Answer = QuickSetupFixture::Answer;
using Action = std::function<void(FrmMain2 *)>;
using DeviceCheck = std::function<void(const sim::SimulatedAccessPoint &)>;
using snmp::Value;
Q_DECLARE_METATYPE(Action)
Q_DECLARE_METATYPE(DeviceCheck)

namespace {

const QString kConnectOK = QStringLiteral("Connect OK");
const QString kAskDownload = QStringLiteral("Download Changes|Do you want to Change ?");
const QString kFactoryAddress = QStringLiteral("192.168.1.250");
const QStringList kDownloadThenConnect{"SET operChannelID",         "SET operEthernetAddress", "SET privacyDefaultWEPKeyID",
                                       "SET bridgeOperationalMode", "SET sysReset",            "GET sysDescr"};
const QByteArray kKey1 = QByteArray::fromHex("0102030405");
// A device whose settings all differ from the factory's.
const std::pair<const char *, Value> kChanged[] = {
    {"operChannelID", Value::integer(3)},        {"operESSID", Value::octets("lab")},
    {"operRTSThreshold", Value::integer(100)},   {"operFragmentationThreshold", Value::integer(200)},
    {"operPreambleType", Value::integer(1)},     {"operAuthenticationType", Value::integer(1)},
    {"operAutoRateFallBack", Value::integer(2)}, {"operBasicRates", Value::octets(QByteArray::fromHex("82840B16"))},
    {"privacyWEPEnable", Value::integer(1)},     {"defaultWEPKey1", Value::octets(kKey1)},
    {"operIPMask", Value::ipAddress(QByteArray::fromHex("FF000000"))},
};

struct StatusRow {
    bool connect, deviceAnswers;  // OK in the connect dialog, else Cancel
    int code, codeAfterTick;      // regulation-domain code in the store, from the load (0) or after this tick
    QStringList statuses;         // every text txtStatus showed; the last only when one entry
    QStringList fields;
    bool tabsEnabled;
    int wepEnable = 2, keyID = 0;
    bool keysUsable = false;      // key boxes, key number, pass phrase, Done
};

void retype(QLineEdit *box, const QString &text)
{
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
}

QString firstObject(const sim::SimulatedAccessPoint &device, const snmp::Message &m)
{
    return simtest::objectNames(device, m).value(0);
}

// "SET operChannelID", "GET sysDescr": each request by its type and first object.
QStringList requestsSeen(const sim::SimulatedAccessPoint &device)
{
    QStringList seen;
    for (const snmp::Message &m : device.receivedRequests())
        seen << (m.pdu.type == snmp::PduType::SetRequest ? QStringLiteral("SET ") : QStringLiteral("GET "))
                    + firstObject(device, m);
    return seen;
}

// Connected without a read: a silent device, a known code in the store
// from the load on, and the session told the configuration is in.
FrmMain2 *connectedByCode(QuickSetupFixture &f)
{
    f.device.faults.silent = true;
    f.store().sysDeviceInfo.regulationDomain = 16;
    FrmMain2 *w = f.load(Answer::Connect, 20);
    f.window->EnableDeviceMenus();
    return testing::waitFor([w] { return w->txtStatus->text() == kConnectOK; }, 5000) ? w : nullptr;
}

DeviceCheck factorySettings(int channel)
{
    return [channel](const sim::SimulatedAccessPoint &ap) {
        const std::pair<const char *, Value> factory[] = {
            {"operChannelID", Value::integer(channel)},  {"operESSID", Value::octets("corvane")},
            {"operRTSThreshold", Value::integer(2346)},  {"operFragmentationThreshold", Value::integer(2346)},
            {"operPreambleType", Value::integer(2)},     {"operAuthenticationType", Value::integer(3)},
            {"operAutoRateFallBack", Value::integer(1)}, {"operBasicRates", Value::octets(QByteArray::fromHex("82848B96"))},
            {"privacyWEPEnable", Value::integer(2)},     {"defaultWEPKey1", Value::octets(kKey1)},  // kept
            {"operIPAddress", Value::ipAddress(QByteArray::fromHex("C0A801FA"))},                   // 192.168.1.250
            {"operIPMask", Value::ipAddress(QByteArray::fromHex("FFFFFF00"))},
        };
        for (const auto &[name, value] : factory)
            QCOMPARE(ap.value(QLatin1String(name)), value);
    };
}

// An Apply or Restore Defaults on a device with kChanged's settings.
struct ApplyRow {
    int code;  // the regulation domain the window saw on its last tick
    Action edit;  // ends with the click
    QStringList asked, requests;  // the first six requests the device saw
    DeviceCheck check;
    QString reconnectAddress;
};

}  // namespace

Q_DECLARE_METATYPE(StatusRow)
Q_DECLARE_METATYPE(ApplyRow)

class TestQuickSetup : public QObject {
    Q_OBJECT

private slots:
    void statusTab_data()
    {
        QTest::addColumn<StatusRow>("row");
        QStringList timedOut{"Connecting ..."};
        for (int tick = 1; tick < 6; ++tick)
            timedOut << timedOut.last() + QStringLiteral("..");
        timedOut << QStringLiteral("Connection Timeout!!");
        const QStringList empty{"", "", "", "", "", ""};
        const QStringList byCode{"", "FCC", "", "", "Disable", ""};
        QTest::newRow("not connected") << StatusRow{false, false, 0, 0, {"Not Connect Access Point ..."}, empty, false};
        QTest::newRow("code outside the table") << StatusRow{true, false, 17, 0, timedOut, empty, false};
        QTest::newRow("code on the timing-out tick, WEP key 3")
            << StatusRow{true, false, 16, 5, QStringList(timedOut) << kConnectOK, {"", "FCC", "", "", "Enable Key=3", ""},
                         true, 1, 3, true};
        QTest::newRow("WEP on, no key number") << StatusRow{true, false, 16, 0, {kConnectOK}, byCode, true, 1, 0, true};
        QTest::newRow("WEP off") << StatusRow{true, false, 16, 0, {kConnectOK}, byCode, true, 2, 2, false};
        QTest::newRow("unknown WEP switch value") << StatusRow{true, false, 16, 0, {kConnectOK}, byCode, true, 0, 1, false};
        QTest::newRow("device answers") << StatusRow{true, true, 0, 0, {kConnectOK},
                                                     {"Corvane Access Point Firmware V2.1.07", "FCC", "corvane", "Channel 6",
                                                      "Disable", "02 C0 4A 10 2B 3C"},
                                                     true};
    }

    void statusTab()
    {
        QFETCH(StatusRow, row);
        QuickSetupFixture f;
        f.device.faults.silent = !row.deviceAnswers;
        f.store().privacyWEPEnable = config::Integer(row.wepEnable);
        f.store().privacyDefaultWEPKeyID = config::Integer(row.keyID);
        if (row.codeAfterTick == 0)
            f.store().sysDeviceInfo.regulationDomain = config::Integer(row.code);
        f.answerNextConnectDialog(row.connect ? Answer::Connect : Answer::Cancel);
        // The load's own texts are seen through the window's first change.
        FrmMain2 *w = f.window->showQuickSetup();
        if (!row.deviceAnswers)  // the code stands for a whole read
            f.window->EnableDeviceMenus();
        QStringList seen{w->txtStatus->text()};
        QObject::connect(w->txtStatus, &QLineEdit::textChanged, w, [&seen](const QString &t) { seen << t; });
        int ticks = 0;
        QObject::connect(&w->Timer1, &QTimer::timeout, w, [&] {
            if (++ticks == row.codeAfterTick)
                f.store().sysDeviceInfo.regulationDomain = config::Integer(row.code);
        });
        w->Timer1.setInterval(row.deviceAnswers ? 30 : 20);

        WAIT_VERIFY_WITH_TIMEOUT(!w->Timer1.isActive(), 10000);
        QCOMPARE(row.statuses.size() == 1 ? QStringList{seen.last()} : seen, row.statuses);
        QCOMPARE((QStringList{w->txtFirmVer->text(), w->txtDomain->text(), w->txtESSID->text(), w->txtChannel->text(),
                              w->txtWEP->text(), w->EthernetAddressMaskEdBox->displayText().remove('_').trimmed()}),
                 row.fields);
        for (int tab = FrmMain2::BasicTab; tab <= FrmMain2::WEPTab; ++tab)
            QCOMPARE(w->SSTab1->isTabEnabled(tab), row.tabsEnabled);
        QCOMPARE(w->DefaultCommand->isEnabled(), row.tabsEnabled);
        for (QWidget *control : std::initializer_list<QWidget *>{w->DefaultWepKey1, w->DefaultWepKey4, w->DefaultWepKeyIDCombo,
                                                                 w->PassText, w->DoneCommand})
            QCOMPARE(control->isEnabled(), row.keysUsable);
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
        // A screen reader's toggle action chooses without a click.
        QTest::newRow("authentication, toggled by a screen reader") << Action([](FrmMain2 *w) {
            QRadioButton *other = w->OpenSystemOption->isChecked() ? w->SharedKeyOption : w->OpenSystemOption;
            QAccessibleInterface *option = QAccessible::queryAccessibleInterface(other);
            QVERIFY(option && option->actionInterface());
            option->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
            QVERIFY(other->isChecked());
        }) << QStringList{"BC1_OKCommand"};
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
        QStringList marked;
        for (const QPushButton *b : {w->BC_OKCommand, w->BC1_OKCommand, w->AC_OKCommand, w->EN1_OKCommand})
            if (b->isEnabled())
                marked << b->objectName();
        QCOMPARE(marked, enabled);
    }

    // (Every box's spoken name: tst_dialog_usability.)
    void asItsUserMeetsIt()
    {
        QuickSetupFixture f;
        f.store().operPreambleType = 2;
        f.store().operAuthenticationType = 2;
        FrmMain2 *w = connectedByCode(f);
        QVERIFY(w);
        const QSize hint = w->minimumSizeHint();
        QVERIFY2(w->width() <= 433 && w->height() <= 433 && hint.width() <= 433 && hint.height() <= 433,
                 qPrintable(QStringLiteral("%1 x %2").arg(hint.width()).arg(hint.height())));

        // Tab into the authentication options lands on the selected one.
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

        // About brings the open window to the front, with no new load.
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

    void endsTheProgram_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Close") << "cmdCancel";
        QTest::newRow("close box") << "close";
        // From the main window: nothing is left behind without a way back.
        QTest::newRow("File, Exit") << "mnuFileExit";
    }

    // Once, with the main window's placement saved first.
    void endsTheProgram()
    {
        QFETCH(QString, how);
        QuickSetupFixture f;
        FrmMain2 *w = f.load(Answer::Cancel, 1000);
        f.window->move(150, 90);
        if (how == "cmdCancel")
            w->cmdCancel->click();
        else if (how == "close")
            w->close();
        else
            f.window->mnuFileExit->trigger();
        QCOMPARE(f.programEnds, 1);
        const qreal dpi = f.window->screen()->logicalDotsPerInchX();
        QCOMPARE(f.settings.value("Settings", "MainLeft").toFloat(), float(150 * 1440 / dpi));
    }

    void applyAndRestore_data()
    {
        QTest::addColumn<ApplyRow>("row");
        QTest::newRow("Basic Setting") << ApplyRow{16, Action([](FrmMain2 *w) {
            w->ChannelCombo->setCurrentIndex(10);
            retype(w->ESSIDtext, "lab net");
            retype(w->FragmentationThresholdText, "500");  // not this tab's to store
            w->BC_OKCommand->click();
        }), {kAskDownload}, kDownloadThenConnect, DeviceCheck([](const sim::SimulatedAccessPoint &ap) {
            QCOMPARE(ap.value("operChannelID"), Value::integer(11));
            QCOMPARE(ap.value("operESSID"), Value::octets("lab net"));
            QCOMPARE(ap.value("operFragmentationThreshold"), Value::integer(200));
        }), "127.0.0.1"};
        QTest::newRow("Advanced") << ApplyRow{16, Action([](FrmMain2 *w) {
            retype(w->RTSThresholdText, "500");
            w->LongPreambleOption->click();
            w->BasicRates125511Option->click();
            w->AutoRateFallBackCheck->click();
            w->BC1_OKCommand->click();
        }), {kAskDownload}, kDownloadThenConnect, DeviceCheck([](const sim::SimulatedAccessPoint &ap) {
            QCOMPARE(ap.value("operRTSThreshold"), Value::integer(500));
            QCOMPARE(ap.value("operPreambleType"), Value::integer(2));
            QCOMPARE(ap.value("operBasicRates"), Value::octets(QByteArray::fromHex("82848B96")));
            QCOMPARE(ap.value("operAutoRateFallBack"), Value::integer(1));
        }), "127.0.0.1"};
        // The device moves to its new address; the new connection follows it.
        QTest::newRow("IP Setting") << ApplyRow{16, Action([](FrmMain2 *w) {
            retype(w->IPAddressText, "127.0.0.2");
            retype(w->IPMaskText, "255.255.0.0");
            w->AC_OKCommand->click();
        }), {kAskDownload}, kDownloadThenConnect, DeviceCheck([](const sim::SimulatedAccessPoint &ap) {
            QCOMPARE(ap.value("operIPMask"), Value::ipAddress(QByteArray::fromHex("FFFF0000")));
            QCOMPARE(ap.address(), QHostAddress("127.0.0.2"));
        }), "127.0.0.2"};
        QTest::newRow("WEP") << ApplyRow{16, Action([](FrmMain2 *w) {
            w->DefaultWepKeyIDCombo->setCurrentIndex(1);
            retype(w->PassText, "corvane");
            w->DoneCommand->click();
            w->EN1_OKCommand->click();
        }), {kAskDownload}, kDownloadThenConnect, DeviceCheck([](const sim::SimulatedAccessPoint &ap) {
            QCOMPARE(ap.value("privacyDefaultWEPKeyID"), Value::integer(2));
            QCOMPARE(ap.value("defaultWEPKey1"), Value::octets(QByteArray::fromHex("2C57451BEA")));
            QCOMPARE(ap.value("defaultWEPKey4"), Value::octets(QByteArray::fromHex("93EE680DD4")));
        }), "127.0.0.1"};
        // The console follows the device to the factory address, where the
        // guard refuses it: nothing more reaches any device.
        const QStringList restore{"Restore Defaults|Do you want to restore to factory defaults ?", kAskDownload};
        const Action clickRestore = [](FrmMain2 *w) { w->DefaultCommand->click(); };
        const QStringList download = kDownloadThenConnect.mid(0, 5);
        QTest::newRow("Restore Defaults, FCC")
            << ApplyRow{16, clickRestore, restore, download, factorySettings(6), kFactoryAddress};
        // Lists too short for channel 6 take their first channel.
        QTest::newRow("Restore Defaults, SPAIN")
            << ApplyRow{49, clickRestore, restore, download, factorySettings(10), kFactoryAddress};
        QTest::newRow("download declined") << ApplyRow{16, Action([](FrmMain2 *w) {
            retype(w->IPAddressText, "127.0.0.3");
            w->AC_OKCommand->click();
        }), {kAskDownload}, {}, DeviceCheck(), "127.0.0.1"};
        // A box the device would refuse is marked on its tab, and nothing goes out.
        QTest::newRow("refused boxes") << ApplyRow{16, Action([](FrmMain2 *w) {
            const struct {
                QLineEdit *box;
                const char *text;
                QPushButton *apply;
                int tab;
                QString hint;
            } refusals[] = {
                {w->RTSThresholdText, "2347", w->BC1_OKCommand, FrmMain2::BasicTab, config::thresholdHint()},
                {w->ESSIDtext, "", w->BC_OKCommand, FrmMain2::BasicTab, config::essidHint()},
                {w->IPAddressText, "127.0.0.300", w->AC_OKCommand, FrmMain2::IPTab, config::addressHint()},
                {w->DefaultWepKey1, "01020304", w->EN1_OKCommand, FrmMain2::WEPTab, config::hexHint(10)},
            };
            for (const auto &r : refusals) {
                w->SSTab1->setCurrentIndex(FrmMain2::StatusTab);
                retype(r.box, QLatin1String(r.text));
                r.apply->click();
                QCOMPARE(r.box->property("refused").toBool(), true);
                QCOMPARE(r.box->toolTip(), r.hint);
                QCOMPARE(w->SSTab1->currentIndex(), r.tab);
                retype(r.box, QLatin1String("1"));
            }
        }), {}, {}, DeviceCheck(), "127.0.0.1"};
    }

    void applyAndRestore()
    {
        QFETCH(ApplyRow, row);
        const auto &[code, edit, asked, requests, check, reconnectAddress] = row;
        QuickSetupFixture f;
        f.device.moveOnReset = true;
        for (const auto &[name, value] : kChanged)
            f.device.setValue(QLatin1String(name), value);
        QVERIFY(f.loadConnected());
        FrmMain2 *w = f.quick;
        f.store().sysDeviceInfo.regulationDomain = config::Integer(code);
        w->Timer1_Timer();
        f.questioner.answer = !requests.isEmpty();  // a row that sends nothing declines, if asked
        QStringList statuses;
        QObject::connect(w->txtStatus, &QLineEdit::textChanged, w, [&statuses](const QString &t) { statuses << t; });
        f.device.clearReceivedRequests();

        edit(w);
        if (requests.isEmpty())
            QTest::qWait(50);
        QCOMPARE(f.questioner.asked, asked);
        WAIT_COMPARE(requestsSeen(f.device).mid(0, 6), requests);
        WAIT_COMPARE(f.window->connectDialog()->txtRemoteIP->text(), reconnectAddress);
        if (reconnectAddress == kFactoryAddress)  // the guard refuses the new connection
            WAIT_COMPARE(f.window->session().lastReport().result.error, agent::JobResult::NotAllowed);
        if (check)
            check(f.device);
        if (requests.isEmpty()) {  // still connected, nothing stored, and no new connection started
            QCOMPARE(f.store().operRTSThreshold, config::Integer(100));
            QCOMPARE(f.store().operESSID, QStringLiteral("lab"));
            QCOMPARE(w->txtStatus->text(), kConnectOK);
            QCOMPARE(w->Timer1.isActive(), false);
        } else {
            QCOMPARE(statuses.mid(0, 2),
                     (QStringList{"Downloading changes...", "Download complete successfully"}));
            QCOMPARE(w->SSTab1->currentIndex(), int(FrmMain2::StatusTab));
        }
        if (requests == kDownloadThenConnect) {
            WAIT_COMPARE_WITH_TIMEOUT(w->txtStatus->text(), kConnectOK, 10000);
            QCOMPARE(f.window->session().AgentAddress(), reconnectAddress);
        }
        // No new address is left behind for a later download.
        QCOMPARE(f.store().pendingIPAddress, QString());
    }

    // How a connect ended, where the user looks: a read that failed in its
    // own words (never "Connect OK" with the tabs open on a half-read
    // store), and a slow device's read waited for.
    void connectOutcome_data()
    {
        QTest::addColumn<QString>("object");  // answered with `value`; empty: every answer late
        QTest::addColumn<Value>("value");
        QTest::addColumn<QString>("status");
        QTest::newRow("WEP key of 4 bytes") << "defaultWEPKey1" << Value::octets(QByteArray(4, '\x01'))
                                            << "Network Error4-Not all values retrieved.";
        QTest::newRow("answers late, well within their time-out") << "" << Value() << kConnectOK;
    }

    void connectOutcome()
    {
        QFETCH(QString, object);
        QFETCH(Value, value);
        QFETCH(QString, status);
        QuickSetupFixture f;
        if (object.isEmpty())
            f.device.faults.delayMs = 35;  // a request waits 50 ms: the read takes about 30 ticks
        else
            f.device.faults.badValues.insert(object, value);
        FrmMain2 *w = f.load(Answer::Connect, 10);
        WAIT_VERIFY_WITH_TIMEOUT(!w->Timer1.isActive(), 10000);
        QCOMPARE(w->txtStatus->text(), status);
        QCOMPARE(w->SSTab1->isTabEnabled(FrmMain2::BasicTab), status == kConnectOK);
        QCOMPARE(f.window->statusText(), status == kConnectOK ? QStringLiteral("All values retrieved.") : status);
    }

    // Apply's outcome in the status field: a download that gives up says so;
    // one that gets through on a repeat connects again, at the device's new
    // address; closing the window meanwhile lets the download finish first.
    void applyOutcome_data()
    {
        QTest::addColumn<int>("refusedAttempts");  // before the device takes the download
        QTest::addColumn<bool>("closeMeanwhile");
        QTest::addColumn<QString>("status");  // once it is over
        QTest::newRow("refused every time") << 6 << false << "Network Error-Download not complete successfully";
        QTest::newRow("through on a repeat") << 2 << false << kConnectOK;
        QTest::newRow("closed meanwhile") << 2 << true << "The program ends when the download has finished...";
    }

    void applyOutcome()
    {
        QFETCH(int, refusedAttempts);
        QFETCH(bool, closeMeanwhile);
        QFETCH(QString, status);
        QuickSetupFixture f;
        f.device.moveOnReset = true;
        QVERIFY(f.loadConnected());
        FrmMain2 *w = f.quick;
        int attempts = 0;
        QObject::connect(&f.device, &sim::SimulatedAccessPoint::requestReceived, w, [&](const snmp::Message &m) {
            if (firstObject(f.device, m) != QLatin1String("operChannelID"))
                return;
            f.device.faults.refusedObjects.clear();
            if (++attempts <= refusedAttempts)
                f.device.faults.refusedObjects.insert(QStringLiteral("operESSID"), snmp::error_status::BadValue);
        });
        f.device.clearReceivedRequests();
        retype(w->IPAddressText, "127.0.0.2");
        w->AC_OKCommand->click();
        if (closeMeanwhile) {
            w->close();
            QVERIFY(w->isVisible());
        }
        WAIT_VERIFY_WITH_TIMEOUT(!f.window->session().downloadUnderWay(), 5000);
        WAIT_COMPARE_WITH_TIMEOUT(w->txtStatus->text(), status, 5000);
        const QStringList seen = requestsSeen(f.device);
        QCOMPARE(seen.contains(QStringLiteral("SET sysReset")), refusedAttempts < 6);
        QCOMPARE(f.programEnds, closeMeanwhile ? 1 : 0);
        if (status == kConnectOK)
            QCOMPARE(f.window->session().AgentAddress(), QStringLiteral("127.0.0.2"));
        if (refusedAttempts == 6) {
            QVERIFY(!seen.contains(QStringLiteral("GET sysDescr")));
            // The address stays an edit waiting, shown in the main window and
            // asked about before the program ends.
            QCOMPARE(qobject_cast<QLabel *>(f.window->statusPanel(2))->text(), dialogs::text::editsWaiting);
            f.questioner.answer = false;
            w->close();
            QCOMPARE(f.questioner.asked.last(), dialogs::text::closeWithEditsTitle + '|' + dialogs::text::closeWithEdits);
            QCOMPARE(f.programEnds, 0);
        }
    }
};

QTEST_MAIN(TestQuickSetup)
#include "test_quick_setup.moc"
