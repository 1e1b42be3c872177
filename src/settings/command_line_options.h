#pragma once
// The program's command line: the device's ports and the scan address can
// be moved (so the console runs without privileges and side by side with
// tests), the per-user settings can be replaced by a file, and --demo runs
// the console against a simulated access point on the loopback interface.

#include "agent/device_session.h"

#include <QString>
#include <QStringList>

namespace settings {

struct CommandLineOptions {
    agent::SessionOptions session;  // mibPath is left empty here
    QString settingsFile;            // empty: the user's own settings
    QString trapLogFile;             // empty: TrapLog.txt where the program keeps it
    QString trapAddress;             // local address of the trap port; empty: all IPv4 addresses
    bool demo = false;
    bool trapPortGiven = false;
};

struct CommandLineResult {
    enum class Action { Run, Check, ShowHelp, ShowVersion, Fail };
    Action action = Action::Fail;
    CommandLineOptions options;
    QString text;  // help or version text, or the error for Fail
};

// `arguments` includes the program name first, as QCoreApplication gives it.
CommandLineResult parseCommandLine(const QStringList &arguments);

}  // namespace settings
