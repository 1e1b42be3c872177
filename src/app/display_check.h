#pragma once
// Whether a window system is there to show the console on. Checked before
// the application object exists: without a display Qt would abort with a
// platform-plugin error, and a plain message serves the user better.

#include <QByteArray>
#include <QStringList>
#include <functional>

namespace app {

using EnvironmentLookup = std::function<QByteArray(const char *name)>;

// `arguments` are the program's arguments (a -platform argument chooses
// the platform as QT_QPA_PLATFORM does); `environment` reads a variable.
bool displayAvailable(const QStringList &arguments, const EnvironmentLookup &environment);

QString noDisplayMessage();

}  // namespace app
