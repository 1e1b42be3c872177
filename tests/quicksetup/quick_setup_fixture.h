#pragma once
// The quick-setup window as the program starts it: the main window, then
// the quick-setup window, whose load answers the connect dialog the way
// the test says. The device is a simulated access point on 127.0.0.1.

#include "app_test_support.h"
#include "config/configuration_store.h"
#include "dialogs/frm_ip_address.h"
#include "widgets/masked_hex_edit.h"
#include "quicksetup/frm_main2.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

struct QuickSetupFixture : testing::WindowFixture {
    enum class Answer { Connect, Cancel };

    QuickSetupFixture() : WindowFixture(0.05)  // a silent device gives up quickly
    {
        settings.setValue(QStringLiteral("BridgeSettings"), QStringLiteral("LastIPaddress"), QStringLiteral("127.0.0.1"));
    }

    // The connect dialog, whenever it is next shown modally, answers so.
    void answerNextConnectDialog(Answer answer, int triesLeft = 100)
    {
        QTimer::singleShot(10, window.get(), [this, answer, triesLeft] {
            frmIPAddress *dialog = window->connectDialog();
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
        quick = window->showQuickSetup();
        quick->Timer1.setInterval(tickMs);
        quick->setProgramEnd([this] { ++programEnds; });
        return quick;
    }

    // Loaded and connected (the window waits while the read runs).
    bool loadConnected(int tickMs = 30)
    {
        load(Answer::Connect, tickMs);
        return testing::waitFor([this] { return quick->txtStatus->text() == QLatin1String("Connect OK"); }, 10000);
    }

    FrmMain2 *quick = nullptr;
    int programEnds = 0;
};
