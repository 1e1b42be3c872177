#pragma once
// corvanectl's commands in the test's process: three simulated devices on
// 127.0.3.1 to .3 (one port), a run of the program with its output caught
// and the user's answers given.

#include "ctl/program.h"
#include "sim/simulated_access_point.h"

#include <QSignalSpy>
#include <QtTest>
#include <memory>

struct CtlRun {
    int code = -1;
    QString out;
    QString err;
};

class CtlFixture {
public:
    static constexpr int kDevices = 3;

    CtlFixture()
    {
        for (int i = 0; i < kDevices; ++i) {
            aps.push_back(std::make_unique<sim::SimulatedAccessPoint>());
            if (!aps.back()->start(QHostAddress(QStringLiteral("127.0.3.%1").arg(i + 1)), port))
                qFatal("simulated device did not start");
            port = aps.back()->port();
        }
    }

    QString host(int i) const { return QStringLiteral("127.0.3.%1").arg(i + 1); }
    sim::SimulatedAccessPoint &ap(int i) { return *aps[size_t(i)]; }

    // The program with `arguments` and the fixture's port and short waits.
    CtlRun run(const QStringList &arguments, QStringList answers = {}, bool interactive = false)
    {
        CtlRun result;
        QTextStream out(&result.out);
        QTextStream err(&result.err);
        ctl::Console console{out, err,
                             [&answers]() -> std::optional<QString> {
                                 if (answers.isEmpty())
                                     return std::nullopt;
                                 return answers.takeFirst();
                             },
                             interactive};
        ctl::Program program(console);
        QSignalSpy done(&program, &ctl::Program::finished);
        QStringList all = arguments;
        if (!arguments.isEmpty() && arguments.first() != QLatin1String("wep-keys")
            && arguments.first() != QLatin1String("traps") && !arguments.first().startsWith(QLatin1Char('-')))
            all << QStringLiteral("--port") << QString::number(port) << QStringLiteral("--timeout")
                << QStringLiteral("100") << QStringLiteral("--retries") << QStringLiteral("1");
        program.start(all);
        if (!done.wait(30000))
            qFatal("corvanectl did not finish");
        out.flush();
        err.flush();
        result.code = done.first().first().toInt();
        return result;
    }

    // SET requests the devices received (GETs only read).
    int setsReceived()
    {
        int sets = 0;
        for (const auto &ap : aps) {
            for (const snmp::Message &m : ap->receivedRequests())
                sets += m.pdu.type == snmp::PduType::SetRequest;
        }
        return sets;
    }
    int requestsReceived()
    {
        int all = 0;
        for (const auto &ap : aps)
            all += int(ap->receivedRequests().size());
        return all;
    }

    quint16 port = 0;
    std::vector<std::unique_ptr<sim::SimulatedAccessPoint>> aps;
};
