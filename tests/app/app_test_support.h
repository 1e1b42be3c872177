#pragma once
// What the window tests share: settings in a throw-away file, a questioner
// that answers by script, session options that keep every datagram on the
// loopback interface, and the main window on a simulated access point.

#include "agent/device_session.h"
#include "agent/questioner.h"
#include "app/frm_main.h"
#include "sim/simulated_access_point.h"
#include "support/event_wait.h"

#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace testing {

// The console's settings live in a fresh INI file for the object's life.
class ScratchSettings {
public:
    ScratchSettings();
    ~ScratchSettings();
    QString path() const;
    QString value(const QString &section, const QString &key) const;
    void setValue(const QString &section, const QString &key, const QString &value);

private:
    QTemporaryDir dir_;
};

struct ScriptedQuestioner : agent::Questioner {
    explicit ScriptedQuestioner(bool yes) : answer(yes) {}
    bool askYesNo(const QString &text, const QString &title) override
    {
        asked << title + QLatin1Char('|') + text;
        return answer;
    }
    bool answer;
    QStringList asked;  // "title|text" in order
};

// A UDP port that is free on all IPv4 addresses right now.
quint16 freeUdpPort();

// Agent port as given, scans to 127.0.0.1, a free trap port, the MIB built
// beside the programs, the device's timing at `timeScale` of its pace.
agent::SessionOptions loopbackOptions(quint16 agentPort, double timeScale = 0.2);

// The main window, loaded and shown, on a simulated access point at
// 127.0.0.1; every question answered Yes unless the test says otherwise.
struct WindowFixture {
    explicit WindowFixture(double timeScale = 0.2);
    ~WindowFixture();
    // Connects as the connect dialog's OK does and waits for the full read.
    bool connectDevice();
    // The store of the device the window shows.
    config::ConfigurationStore &store() { return window->session().device().store(); }

    ScratchSettings settings;
    sim::SimulatedAccessPoint device;
    ScriptedQuestioner questioner{true};
    std::unique_ptr<frmMain> window;
};

}  // namespace testing
