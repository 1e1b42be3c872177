#include "console.h"

namespace ctl {

bool Console::confirm(const QString &question)
{
    err << question << " [y/N] " << Qt::flush;
    const std::optional<QString> answer = readLine ? readLine() : std::nullopt;
    if (!answer) {
        err << Qt::endl;
        return false;
    }
    const QString word = answer->trimmed().toLower();
    return word == QLatin1String("y") || word == QLatin1String("yes");
}

}  // namespace ctl
