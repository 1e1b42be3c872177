#pragma once
// The device's MIB module (CORVANE-MIB) travels inside the program, so that
// a copy of the program without its files still knows every object. A
// CorvaneMIB.mib file given to the program takes its place: a newer module
// can be dropped beside the program without a rebuild.

#include <QString>

namespace config {

// The module compiled into the program, as a path QFile opens.
QString builtInMibPath();

// The MIB to load: `filePath` when a file is there (a file that cannot be
// read or parsed is reported, not silently replaced), else the built-in one.
QString mibToLoad(const QString &filePath);

}  // namespace config
