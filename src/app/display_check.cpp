#include "display_check.h"

#include <QString>

namespace app {

namespace {

QString requestedPlatform(const QStringList &arguments, const EnvironmentLookup &environment)
{
    for (int i = 1; i + 1 < arguments.size(); ++i) {
        if (arguments.at(i) == QLatin1String("-platform") || arguments.at(i) == QLatin1String("--platform"))
            return arguments.at(i + 1);
    }
    return QString::fromLocal8Bit(environment("QT_QPA_PLATFORM"));
}

}  // namespace

bool displayAvailable(const QStringList &arguments, const EnvironmentLookup &environment)
{
    const bool hasX11 = !environment("DISPLAY").isEmpty();
    const bool hasWayland = !environment("WAYLAND_DISPLAY").isEmpty();
    const QString requested = requestedPlatform(arguments, environment).trimmed();
    if (requested.isEmpty())
        return hasX11 || hasWayland;
    // "wayland;xcb" lists fall-backs; "offscreen:fontengine=freetype" carries
    // options after the colon.
    const QStringList candidates = requested.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString &candidate : candidates) {
        const QString platform = candidate.section(QLatin1Char(':'), 0, 0).trimmed();
        if (platform == QLatin1String("xcb")) {
            if (hasX11)
                return true;
        } else if (platform.startsWith(QLatin1String("wayland"))) {
            if (hasWayland)
                return true;
        } else if (!platform.isEmpty()) {
            // offscreen, minimal, vnc, eglfs, linuxfb...: no display server needed.
            return true;
        }
    }
    return false;
}

QString noDisplayMessage()
{
    return QStringLiteral("corvane-manager: no display available (set DISPLAY, or QT_QPA_PLATFORM=offscreen)");
}

}  // namespace app
