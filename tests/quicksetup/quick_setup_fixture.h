#pragma once
// The quick-setup window as the program starts it: the main window, then
// the quick-setup window, whose load answers the connect dialog the way
// the test says. The device is a simulated access point on 127.0.0.1;
// every request of the console goes to loopback addresses only.

#include "app/frm_main.h"
#include "app_test_support.h"
#include "config/configuration_store.h"
#include "dialogs/frm_ip_address.h"
#include "quicksetup/frm_main2.h"
#include "sim/simulated_access_point.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <memory>

// Answers every Yes/No question with `yes` and keeps the questions asked.
struct Answers : agent::Questioner {
    bool askYesNo(const QString &text, const QString &title) override
    {
        asked << title + QLatin1Char('|') + text;
        return yes;
    }
    bool yes = true;
    QStringList asked;
};

struct QuickSetupFixture {
    enum class Answer { Connect, Cancel };

    QuickSetupFixture()
    {
        config::resetStore();
        settings.setValue(QStringLiteral("BridgeSettings"), QStringLiteral("LastIPaddress"), QStringLiteral("127.0.0.1"));
        if (!device.start(QHostAddress::LocalHost, 0))
            qFatal("simulated access point did not start");
        agent::SessionOptions options = testing::loopbackOptions(device.port());
        options.timeScale = 0.05;  // a silent device gives up quickly
        main = std::make_unique<frmMain>(options);
        MainForm = main.get();
        main->setQuestioner(&questioner);
        main->MDIForm_Load();
        main->show();
    }

    ~QuickSetupFixture()
    {
        main.reset();
        MainForm = nullptr;
    }

    // The connect dialog, whenever it is next shown modally, answers so.
    void answerNextConnectDialog(Answer answer, int triesLeft = 100)
    {
        QTimer::singleShot(10, main.get(), [this, answer, triesLeft] {
            frmIPAddress *dialog = main->connectDialog();
            if (!dialog->isVisible()) {
                if (triesLeft > 0)
                    answerNextConnectDialog(answer, triesLeft - 1);
                return;
            }
            dialog->txtRemoteIP->setText(QStringLiteral("127.0.0.1"));
            (answer == Answer::Connect ? dialog->Command1 : dialog->Command2)->click();
        });
    }

    // Start-up: the window's load with the dialog answered; then Timer1
    // ticks every `tickMs`.
    FrmMain2 *load(Answer answer, int tickMs)
    {
        answerNextConnectDialog(answer);
        window = main->showQuickSetup();
        window->Timer1.setInterval(tickMs);
        window->setProgramEnd([this] { ++programEnds; });
        return window;
    }

    // Loaded and connected; `tickMs` long enough for a full read.
    bool loadConnected(int tickMs = 300)
    {
        load(Answer::Connect, tickMs);
        return QTest::qWaitFor([this] { return window->txtStatus->text() == QLatin1String("Connect OK"); }, 10000);
    }

    testing::ScratchSettings settings;
    sim::SimulatedAccessPoint device;
    Answers questioner;
    std::unique_ptr<frmMain> main;
    FrmMain2 *window = nullptr;
    int programEnds = 0;
};
