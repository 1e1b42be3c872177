#pragma once
// The texts of the about page.

#include "settings/app_version.h"

#include <QString>

namespace quicksetup::about {

inline const QString product = QStringLiteral("SNMP Manager v1.3a");
inline const QString date = QStringLiteral("2000.11.11");

inline QString legalNotice()
{
    return QStringLiteral(
               "%1 %2, the Corvane Manager console. Copyright the Corvane Manager developers. "
               "This program is provided as is, without warranty of any kind, to the extent "
               "permitted by law; you may use, copy and share it under the terms of the licence "
               "that comes with its source code.")
        .arg(QLatin1String(settings::kProgramName), QLatin1String(settings::kProgramVersion));
}

inline const QString support = QStringLiteral(
    "To report a problem, open an issue in the project's issue tracker: say what you did, "
    "what you expected, what the console showed, and give the version that "
    "\"corvane-manager --version\" prints.");

}  // namespace quicksetup::about
