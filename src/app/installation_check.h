#pragma once
// corvane-manager --check: what the console would use, found without a
// window: the MIB (a file, or the one built in), the help file, the trap
// log, and whether the trap
// port opens (on --trap-address and --trap-port, as the console would open
// it). One line each on standard output; exit status 0 when the console
// would have all of them, 1 otherwise. It answers "why no traps?" and "is
// the installation whole?" without starting the console.

#include "settings/command_line_options.h"

#include <QStringList>

namespace app {

struct InstallationCheck {
    QStringList lines;  // "What: where or why not"
    bool ok = true;
};

InstallationCheck checkInstallation(const settings::CommandLineOptions &options);

}  // namespace app
