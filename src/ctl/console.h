#pragma once
// Where a command writes and what it may ask: the program's standard
// streams, or a test's buffers.

#include <QString>
#include <QTextStream>
#include <functional>
#include <optional>

namespace ctl {

struct Console {
    QTextStream &out;
    QTextStream &err;
    // One line from the user; std::nullopt at the end of input.
    std::function<std::optional<QString>()> readLine;
    // Standard input is a terminal: a question may be asked.
    bool interactive = false;

    // A yes/no question on stderr, answered on stdin: true only for "y" or "yes".
    bool confirm(const QString &question);
};

}  // namespace ctl
