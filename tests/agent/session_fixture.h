#pragma once
// A device session wired to a simulated access point on the loopback
// interface, with a questioner that answers as the test says and a record
// of every status text.

#include "agent/device_session.h"
#include "config/configuration_store.h"
#include "sim/simulated_access_point.h"

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

// The device's timing at a fifth of its pace: every watchdog, retry timer
// and time-out keeps its proportions, the suite does not wait real seconds.
constexpr double kTestTimeScale = 0.2;
inline int scaledMs(int realMs) { return int(realMs * kTestTimeScale); }

struct SessionFixture {
    explicit SessionFixture(double timeScale = kTestTimeScale,
                            const QString &mibPath = QStringLiteral(CORVANE_BINARY_DIR "/bin/CorvaneMIB.mib"))
    {
        config::resetStore();
        QString error;
        if (!ap.start(QHostAddress(QStringLiteral("127.0.0.1")), 0, &error))
            qFatal("simulated access point did not start: %s", qPrintable(error));
        agent::SessionOptions options;
        options.agentPort = ap.port();
        options.trapPort = 0;  // any free port: tests run side by side
        options.scanAddress = QStringLiteral("127.0.0.1");
        options.mibPath = mibPath;
        options.timeScale = timeScale;
        options.directWaitMs = 0;  // the device answers from this process's event loop
        session = std::make_unique<agent::DeviceSession>(options);
        session->setQuestioner(&questioner);
        QObject::connect(session.get(), &agent::DeviceSession::statusChanged,
                         [this](const QString &text) { statuses << text; });
        QObject::connect(&ap, &sim::SimulatedAccessPoint::requestReceived, [this](const snmp::Message &) {
            arrivals << clock.elapsed();
        });
        clock.start();
        session->start();
    }

    // Connects and waits for the full read to succeed.
    bool connectAndRead()
    {
        session->confirmConnect(QStringLiteral("127.0.0.1"), QStringLiteral("kavrel"));
        return QTest::qWaitFor([this] { return session->Connected; }, 5000);
    }

    // Waits until nothing runs any more: no watchdog, retry or request.
    bool settled(int timeoutMs = 10000)
    {
        return QTest::qWaitFor([this] { return !session->deviceWorkRunning(); }, timeoutMs);
    }

    // Object names of a request's bindings, in order.
    QStringList namesOf(const snmp::Message &request) const
    {
        QStringList names;
        for (const snmp::VarBind &vb : request.pdu.varBinds) {
            snmp::Oid object = vb.name;
            if (!object.isEmpty() && object.last() == 0)
                object.removeLast();
            names << ap.mib().nameOf(snmp::oidToText(object));
        }
        return names;
    }

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
    QStringList statuses;
    QElapsedTimer clock;
    QVector<qint64> arrivals;  // ms since start, one per request the device saw
};
