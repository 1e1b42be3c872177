#pragma once
// The program's start once the application object exists: options applied,
// the main window made, loaded and shown, then the quick-setup window in
// front of it, whose load shows the connect dialog.

#include "settings/command_line_options.h"

namespace app {

// Runs the console until its last window closes; returns the exit code.
int runConsole(settings::CommandLineOptions options);

// The MIB file: beside the program, else in the installed data folder.
QString mibFilePath();

}  // namespace app
