#pragma once
// The radio windows' tests: a main window connected to a simulated access
// point on the loopback interface, device time-outs and timers at a small
// fraction of the real pace, and message boxes answered by script.

#include "app/app_test_support.h"
#include "app/frm_main.h"
#include "radiotest/message_boxes.h"
#include "sim/simulated_access_point.h"

#include <QLabel>
#include <QtTest>
#include <memory>

class ScriptedBoxes : public radiotest::MessageBoxes {
public:
    void tell(QWidget *, const QString &text) override { told << text; }
    bool askYesNo(QWidget *, const QString &text, const QString &title) override
    {
        asked << title + QLatin1Char('|') + text;
        return answer;
    }
    QStringList told;   // the notes, in order
    QStringList asked;  // "title|text"
    bool answer = true;
};

struct RadioWindowFixture {
    // Time-outs and timers at 5 %: a silent request costs 50 ms, the
    // close timer 150 ms.
    static constexpr double kTimeScale = 0.05;

    RadioWindowFixture()
    {
        config::resetStore();
        radiotest::setMessageBoxes(&boxes);
        if (!device.start(QHostAddress::LocalHost, 0))
            qFatal("simulated access point did not start");
        window = std::make_unique<frmMain>(testing::loopbackOptions(device.port()));
        MainForm = window.get();
        window->MDIForm_Load();
        window->show();
    }
    ~RadioWindowFixture()
    {
        window.reset();
        MainForm = nullptr;
        radiotest::setMessageBoxes(nullptr);
    }

    // Connects at the real pace (a read pass must not time out on a busy
    // machine), then speeds the device's timing up.
    bool connect()
    {
        window->session().confirmConnect(QStringLiteral("127.0.0.1"), QStringLiteral("kavrel"));
        const bool read = QTest::qWaitFor([this] { return window->Connected(); }, 10000);
        window->session().link().setTimeScale(kTimeScale);
        device.clearReceivedRequests();
        return read;
    }

    // Objects named by the device's requests, in order, one entry each.
    QStringList requestedObjects() const
    {
        QStringList names;
        for (const snmp::Message &m : device.receivedRequests()) {
            for (const snmp::VarBind &vb : m.pdu.varBinds) {
                snmp::Oid object = vb.name;
                object.removeLast();
                names << device.mib().nameOf(snmp::oidToText(object));
            }
        }
        return names;
    }

    testing::ScratchSettings settings;
    ScriptedBoxes boxes;
    sim::SimulatedAccessPoint device;
    std::unique_ptr<frmMain> window;
};
