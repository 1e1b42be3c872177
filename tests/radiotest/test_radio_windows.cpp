// The Radio menu's windows against the simulated access point at 5 % of
// the device's pace, message boxes answered by script: Start, the modes,
// the close timer and the CR31 check; the radio configuration read and Set.

#include "radiotest/radio_actions.h"
#include "app/app_test_support.h"
#include "widgets/masked_hex_edit.h"
#include "radiotest/frm_radio_configuration.h"
#include "radiotest/frm_test_mode.h"
#include "radiotest/message_boxes.h"
#include "sim/sim_test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

constexpr double kTimeScale = 0.05;  // a silent request costs 50 ms, the close timer 150 ms
const QString kIdleCommand = QStringLiteral("0101C00301040000");  // the test defaults, command 4
const QString kFactoryTable = QStringLiteral("B1B2B3B4B5B6B7B8B9BABBBCBDBE");  // the device's radio configuration
const QString kRetrieved = QStringLiteral("Radio configuration retrieved");
const QString kNotResponding = QStringLiteral("Device not responding..Try connect again");

class ScriptedBoxes : public radiotest::MessageBoxes {
public:
    void tell(QWidget *, const QString &text) override { told << text; }
    bool askYesNo(QWidget *, const QString &text, const QString &title) override
    {
        asked << title + QLatin1Char('|') + text;
        return answer;
    }
    QStringList told, asked;
    bool answer = true;
};

QStringList namesWhere(std::initializer_list<const QWidget *> controls, bool (QWidget::*test)() const)
{
    QStringList names;
    for (const QWidget *c : controls)
        if ((c->*test)())
            names << c->objectName();
    return names;
}
QStringList shown(const frmTestMode *w)
{
    return namesWhere({w->Frame1, w->StartCommand, w->CloseCommand, w->CancelCommand}, &QWidget::isVisible);
}
QStringList enabled(const frmTestMode *w)
{
    return namesWhere({w->ContinuousRxCheck, w->ContinuousTxWithoutModCheck, w->ContinuousTxWithModCheck, w->Frame2},
                      &QWidget::isEnabled);
}
const QStringList kSetup = {"StartCommand", "CancelCommand"};

QString boxesText(const frmRadioConfiguration *w)
{
    QString text;
    for (const MaskedHexEdit *box : w->CR31edit)
        text += box->placesText();
    return text;
}

void retype(QLineEdit *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    box->home(false);
    QTest::keyClicks(box, text);
}

struct SetRow {
    bool yes;
    QString fault;
    int sets;
    QString text, stored, device;  // the store field; the device's table, shown by Update values
};

}  // namespace

Q_DECLARE_METATYPE(SetRow)

class TestRadioWindows : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        boxes_ = ScriptedBoxes();
        radiotest::setMessageBoxes(&boxes_);
        // Connected at the real pace (a read pass must not time out on a busy
        // machine), then sped up.
        f_ = std::make_unique<testing::WindowFixture>(1.0);
        device_ = &f_->device;
        window_ = f_->window.get();
        QVERIFY(f_->connectDevice());
        window_->session().device().setTimeScale(kTimeScale);
        device_->clearReceivedRequests();
    }

    void cleanup()
    {
        f_.reset();
        radiotest::setMessageBoxes(nullptr);
    }

    // A test from Start to Close: one mode on and off again, then Close.
    void testSession_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("silent");  // as the mode is switched on, and to Close's reset
        QTest::addColumn<QString>("command");  // on the device afterwards
        QTest::addColumn<QString>("text");
        QTest::newRow("Rx") << "ContinuousRxCheck" << false << "0101C00301020000" << "ContinuousRx State..";
        QTest::newRow("Tx with modulation") << "ContinuousTxWithModCheck" << false << "0101C00301010000"
                                            << "ContinuousTx State..";
        QTest::newRow("carrier accuracy") << "ContinuousTxWithoutModCheck" << false << "0101C00301030000"
                                          << "Carrier Accuracy State..";
        QTest::newRow("Rx, silent device locks all the same")
            << "ContinuousRxCheck" << true << kIdleCommand << "Error-The device is not at ContinuousRx State.Try again..";
    }

    void testSession()
    {
        QFETCH(QString, box);
        QFETCH(bool, silent);
        QFETCH(QString, command);
        QFETCH(QString, text);
        const bool resetUnanswered = silent;  // each run then waits out the reset's time-out
        QPointer<frmTestMode> w = testWindow();
        QVERIFY(w && w->isModal());
        QCOMPARE(w->windowTitle(), QStringLiteral("Test Settings"));
        QCOMPARE(w->StatusBar->text(), QStringLiteral("Push start Test Mode button..."));
        QCOMPARE(shown(w), kSetup);
        QVERIFY(w->AntennaOption[0]->isChecked() && w->TxFilterOption[0]->isChecked() && w->RateOption[3]->isChecked());
        QCOMPARE(w->ChannelCombo->currentText(), QStringLiteral("Channel 1"));
        const int setupHeight = w->height();
        QVector<bool> shownAtRequest;
        QObject::connect(device_, &sim::SimulatedAccessPoint::requestReceived, w,
                         [&] { shownAtRequest << w->isVisible(); });

        w->StartCommand->click();
        QCOMPARE(requestedObjects(), (QStringList{"TestModeOnOff", "TestModeCommandStruct"}));
        QCOMPARE(onDevice("TestModeCommandStruct"), kIdleCommand);  // 01 01 C0 03 01 04 00 00
        QCOMPARE(w->StatusBar->text(), QStringLiteral("Device is at Test mode.."));
        QCOMPARE(shown(w), (QStringList{"Frame1", "CloseCommand"}));
        WAIT_VERIFY(w->height() > setupHeight);  // enlarged to show the modes

        auto *mode = w->findChild<QCheckBox *>(box);
        if (silent)  // every silent request waits out its time-out: faster still
            window_->session().device().setTimeScale(kTimeScale / 5);
        device_->faults.silent = silent;
        mode->click();
        QCOMPARE(w->StatusBar->text(), text);
        QCOMPARE(onDevice("TestModeCommandStruct"), command);
        QCOMPARE(enabled(w), QStringList{box});
        device_->faults.silent = false;
        device_->clearReceivedRequests();
        mode->click();
        QCOMPARE(requestedObjects(), QStringList{"TestModeCommandStruct"});
        QCOMPARE(onDevice("TestModeCommandStruct"), kIdleCommand);
        QCOMPARE(w->StatusBar->text(), QStringLiteral("Idle State.."));
        QCOMPARE(enabled(w).size(), 4);

        mode->click();
        device_->clearReceivedRequests();
        shownAtRequest.clear();
        if (resetUnanswered)
            device_->faults.silentObjects = {QStringLiteral("sysReset")};
        w->CloseCommand->click();
        QCOMPARE(w->StatusBar->text(), resetUnanswered ? QStringLiteral("Error-The device is not at Normal mode")
                                                       : QStringLiteral("The device is at Normal mode"));
        QCOMPARE(requestedObjects().mid(0, 2), (QStringList{"TestModeCommandStruct", "sysReset"}));
        QCOMPARE(shownAtRequest, QVector<bool>(resetUnanswered ? 8 : 2, true));  // never closed under a step
        if (!resetUnanswered) {
            QCOMPARE(w->Timer1.interval(), qRound(3000 * kTimeScale));
            QVERIFY(w->Timer1.isActive());
            QCOMPARE(device_->value(QStringLiteral("TestModeOnOff")), snmp::Value::integer(0));
            QVERIFY(!w->Frame1->isEnabled() && !w->CloseCommand->isEnabled());  // nothing restarts a test
        } else {
            // The failure stays in sight, in the main window's status line
            // too, until the user closes the window.
            QTest::qWait(qRound(3000 * kTimeScale / 5) + 50);
            QVERIFY(w && w->isVisible());
            QCOMPARE(window_->statusText(), w->StatusBar->text());
            w->reject();
        }
        WAIT_VERIFY(w.isNull());
    }

    void cr31Check_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("byClick");  // the focus leaves for Start, pressed and released at once
        QTest::addColumn<bool>("warned");
        QTest::addColumn<QString>("command");  // Start afterwards: the text goes as it is
        QTest::newRow("7F") << "7F" << false << true << "01017F0301040000";
        QTest::newRow("80") << "80" << false << false << "0101800301040000";
        QTest::newRow("one empty place reads as C") << "C" << false << true << "01010C0301040000";
        // The warning comes before the click is handled; that click starts nothing.
        QTest::newRow("0C, a tap on Start") << "0C" << true << true << "01010C0301040000";
    }

    void cr31Check()
    {
        QFETCH(QString, typed);
        QFETCH(bool, byClick);
        QFETCH(bool, warned);
        QFETCH(QString, command);
        frmTestMode *w = testWindow();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        retype(w->CR31edit, typed);
        if (byClick)
            QTest::mouseClick(w->StartCommand, Qt::LeftButton);
        else
            QTest::keyClick(w->CR31edit, Qt::Key_Tab);
        QCoreApplication::processEvents();
        QCOMPARE(boxes_.told, warned ? QStringList{"Wrong CR31 value.."} : QStringList());
        QCOMPARE(QApplication::focusWidget() == w->CR31edit, warned);
        QCOMPARE(device_->receivedRequests().size(), 0);

        w->StartCommand->click();
        QCOMPARE(onDevice("TestModeCommandStruct"), command);
        if (typed.size() == 1)
            QCOMPARE(f_->store().testModeCR31, typed + QLatin1Char('_'));
    }

    void configurationSet_data()
    {
        QTest::addColumn<SetRow>("row");
        // Channels 1, 3 and 14 typed over.
        const QString typed = QStringLiteral("80B20CB4B5B6B7B8B9BABBBCBD00");
        QTest::newRow("yes") << SetRow{true, "", 1, "Radio configuration set", typed, typed};
        QTest::newRow("no sends nothing") << SetRow{false, "", 0, kRetrieved, kFactoryTable, kFactoryTable};
        // A box that is not two hexadecimal digits: marked, nothing asked or sent.
        QTest::newRow("an empty place") << SetRow{true, "C", 0, radiotest::text::boxesRefused, kFactoryTable, kFactoryTable};
        // The device stores what it got; only its answer differs.
        QTest::newRow("echo differs") << SetRow{true, "wrong echo", 4, kNotResponding, typed, typed};
        // A read refused too leaves the boxes as they were.
        QTest::newRow("refused") << SetRow{true, "refused", 4, kNotResponding, typed, kFactoryTable};
    }

    void configurationSet()
    {
        QFETCH(SetRow, row);
        const auto &[yes, fault, sets, text, stored, device] = row;
        frmRadioConfiguration *w = configurationWindow();
        QCOMPARE(w->windowTitle(), QStringLiteral("Radio Configuration"));
        WAIT_COMPARE(w->StatusBar->text(), kRetrieved);
        QCOMPARE(boxesText(w), kFactoryTable);
        QCOMPARE(requestedObjects(), QStringList{"TestModeRadioConfiguration"});
        QCOMPARE(configurationWindow(), w);  // one window, brought to the front again
        retype(w->CR31edit[0], QStringLiteral("80"));
        retype(w->CR31edit[2], fault == QLatin1String("C") ? fault : QStringLiteral("0C"));
        retype(w->CR31edit[13], QStringLiteral("00"));
        boxes_.answer = yes;
        if (fault == QLatin1String("wrong echo"))
            device_->faults.wrongEchoObjects = {QStringLiteral("TestModeRadioConfiguration")};
        device_->faults.errorStatus = fault == QLatin1String("refused") ? 5 : 0;
        device_->clearReceivedRequests();

        w->SetCommand->click();
        QCOMPARE(boxes_.asked, fault == QLatin1String("C") ? QStringList()
                                                           : QStringList{"Reset|Do you want to Set these values?"});
        QCOMPARE(w->CR31edit[2]->property("refused").toBool(), fault == QLatin1String("C"));
        QCOMPARE(device_->receivedRequests().size(), sets);
        QCOMPARE(w->StatusBar->text(), text);
        QCOMPARE(f_->store().TestModeRadioConfiguration, stored);
        QCOMPARE(onDevice("TestModeRadioConfiguration"), device);
        if (fault == QLatin1String("refused")) {
            w->UpdateCommand->click();
            QCOMPARE(w->StatusBar->text(), kNotResponding);
            QCOMPARE(boxesText(w), stored);
        }

        device_->faults = sim::Faults();
        w->UpdateCommand->click();
        QCOMPARE(w->StatusBar->text(), kRetrieved);
        QCOMPARE(boxesText(w), device);
    }

    // Nothing to set before the boxes show what the device holds.
    void configurationSetNeedsARead()
    {
        device_->faults.silent = true;
        frmRadioConfiguration *w = configurationWindow();
        WAIT_COMPARE(w->StatusBar->text(), kNotResponding);
        QCOMPARE(boxesText(w), QString(28, QLatin1Char('_')));
        QVERIFY(!w->SetCommand->isEnabled());
    }

    void configurationCloseWaitsForTheRead()
    {
        device_->faults.silent = true;
        QPointer<frmRadioConfiguration> w = configurationWindow();
        QPointer<QMdiSubWindow> frame = window_->mdiArea()->activeSubWindow();
        bool shownAfterClose = false;
        QObject::connect(device_, &sim::SimulatedAccessPoint::requestReceived, frame, [&] {
            if (device_->receivedRequests().size() == 1) {
                frame->close();  // in the middle of the first of four reads
                shownAfterClose = w && w->isVisible();
            }
        });
        WAIT_COMPARE(device_->receivedRequests().size(), 4);
        QVERIFY(shownAfterClose);
        WAIT_VERIFY(w.isNull() && frame.isNull());
    }

private:
    frmTestMode *testWindow()
    {
        window_->mnuRadioTests->trigger();
        frmTestMode *w = window_->testModeWindow();
        return w && QTest::qWaitForWindowExposed(w) ? w : nullptr;
    }

    frmRadioConfiguration *configurationWindow()
    {
        window_->mnuRadioConfiguration->trigger();
        QMdiSubWindow *frame = window_->mdiArea()->activeSubWindow();
        return frame ? qobject_cast<frmRadioConfiguration *>(frame->widget()) : nullptr;
    }
    QString onDevice(const char *object) const
    {
        return QString::fromLatin1(device_->value(QLatin1String(object)).bytes.toHex().toUpper());
    }

    QStringList requestedObjects() const
    {
        QStringList names;
        for (const snmp::Message &m : device_->receivedRequests())
            names << simtest::objectNames(*device_, m);
        return names;
    }

    ScriptedBoxes boxes_;
    std::unique_ptr<testing::WindowFixture> f_;
    sim::SimulatedAccessPoint *device_ = nullptr;
    frmMain *window_ = nullptr;
};

QTEST_MAIN(TestRadioWindows)
#include "test_radio_windows.moc"
