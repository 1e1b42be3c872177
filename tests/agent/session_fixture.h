#pragma once
// A device session wired to a simulated access point on the loopback
// interface, with a questioner that answers as the test says and a record
// of every report.

#include "agent/device_session.h"
#include "sim/sim_test_support.h"
#include "support/event_wait.h"

#include <QtTest>
#include <memory>

class ScriptedQuestioner : public agent::Questioner {
public:
    bool askYesNo(const QString &text, const QString &title) override
    {
        questions << title + QStringLiteral(": ") + text;
        return answer;
    }
    bool answer = true;
    QStringList questions;
};

using Event = agent::SessionReport::Event;
using Events = QList<Event>;

// The device's timing at a fifth of its pace: every watchdog, retry timer
// and time-out keeps its proportions, the suite does not wait real seconds.
constexpr double kTestTimeScale = 0.2;
inline int scaledMs(int realMs) { return int(realMs * kTestTimeScale); }

struct SessionFixture {
    explicit SessionFixture(double timeScale = kTestTimeScale, const QString &mibPath = QString())
    {
        QString error;
        if (!ap.start(QHostAddress(QStringLiteral("127.0.0.1")), 0, &error))
            qFatal("simulated access point did not start: %s", qPrintable(error));
        agent::SessionOptions options;
        options.agentPort = ap.port();
        options.trapPort = 0;  // any free port: tests run side by side
        options.scanAddress = QStringLiteral("127.0.0.1");
        options.mibPath = mibPath;
        options.timeScale = timeScale;
        session = std::make_unique<agent::DeviceSession>(options);
        session->setQuestioner(&questioner);
        QObject::connect(session.get(), &agent::DeviceSession::reported,
                         [this](const agent::SessionReport &report) { reports << report; });
        QObject::connect(&ap, &sim::SimulatedAccessPoint::requestReceived, [this](const snmp::Message &) {
            arrivals << clock.elapsed();
        });
        clock.start();
        session->start();
    }

    Events events() const
    {
        Events seen;
        for (const agent::SessionReport &report : reports)
            seen << report.event;
        return seen;
    }
    int count(Event event) const { return int(events().count(event)); }
    agent::SessionReport last() const { return reports.isEmpty() ? agent::SessionReport() : reports.last(); }
    config::ConfigurationStore &store() { return session->device().store(); }

    // Connects and waits for the full read to succeed.
    bool connectAndRead()
    {
        session->confirmConnect(QStringLiteral("127.0.0.1"), QStringLiteral("kavrel"));
        return testing::waitFor([this] { return session->Connected(); }, 5000);
    }

    // Waits until nothing runs any more: no watchdog, retry or request.
    bool settled(int timeoutMs = 10000)
    {
        return testing::waitFor([this] { return !session->deviceWorkRunning(); }, timeoutMs);
    }

    // Object names of a request's bindings, in order.
    QStringList namesOf(const snmp::Message &request) const { return simtest::objectNames(ap, request); }

    QVector<snmp::Message> requestsNaming(const QString &name) const
    {
        QVector<snmp::Message> found;
        for (const snmp::Message &m : ap.receivedRequests()) {
            if (namesOf(m).contains(name))
                found << m;
        }
        return found;
    }

    sim::SimulatedAccessPoint ap;
    ScriptedQuestioner questioner;
    std::unique_ptr<agent::DeviceSession> session;
    QList<agent::SessionReport> reports;
    QElapsedTimer clock;
    QVector<qint64> arrivals;  // ms since start, one per request the device saw
};
