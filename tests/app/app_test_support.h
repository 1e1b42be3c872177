#pragma once
// What the window tests share: settings in a throw-away file, a questioner
// that answers by script, and session options that keep every datagram on
// the loopback interface.

#include "agent/device_session.h"
#include "agent/questioner.h"

#include <QStringList>
#include <QTemporaryDir>

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

class ScriptedQuestioner : public agent::Questioner {
public:
    explicit ScriptedQuestioner(bool answer) : answer_(answer) {}
    bool askYesNo(const QString &text, const QString &title) override
    {
        asked << title + QLatin1Char('|') + text;
        return answer_;
    }
    QStringList asked;  // "title|text" in order

private:
    bool answer_;
};

// A UDP port that is free on all IPv4 addresses right now.
quint16 freeUdpPort();

// Agent port as given, scans to 127.0.0.1, a free trap port, the MIB built
// beside the programs, the device's timing at a fifth of its pace.
agent::SessionOptions loopbackOptions(quint16 agentPort);

}  // namespace testing
