#pragma once
// corvanectl as a whole: the subcommand named first, its options, the
// engine and MIB it needs, its exit status. Runs inside an event loop the
// caller owns (the program's main, or a test).

#include "console.h"

#include <QObject>
#include <QStringList>
#include <memory>

namespace snmp {
class Mib;
class RequestEngine;
}  // namespace snmp

namespace ctl {

class Command;
struct Context;

inline constexpr const char kVersion[] = "1.0.0";

class Program : public QObject {
    Q_OBJECT
public:
    explicit Program(Console &console, QObject *parent = nullptr);
    ~Program() override;

    // `arguments` without the program's name. finished() follows from the
    // event loop, also when nothing was to be done.
    void start(const QStringList &arguments);

    static QString overallHelp();

signals:
    void finished(int exitCode);

private:
    void end(int exitCode);
    int begin(const QStringList &arguments);

    Console &console_;
    std::unique_ptr<snmp::RequestEngine> engine_;
    std::unique_ptr<snmp::Mib> mib_;
    std::unique_ptr<Context> context_;
    std::unique_ptr<Command> command_;
};

}  // namespace ctl
