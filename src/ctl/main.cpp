// corvanectl: every device job from the command line.

#include "program.h"

#include <QCoreApplication>
#include <QFile>
#include <QLoggingCategory>
#include <unistd.h>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvanectl"));
    QCoreApplication::setApplicationVersion(QLatin1String(ctl::kVersion));

    // The tool says itself what went wrong, once, in its own words: the
    // core's own reports stay for whoever asks for them (QT_LOGGING_RULES).
    if (!qEnvironmentVariableIsSet("QT_LOGGING_RULES"))
        QLoggingCategory::setFilterRules(QStringLiteral("corvane.*.debug=false\ncorvane.*.info=false\n"
                                                        "corvane.*.warning=false"));

    QFile in;
    in.open(stdin, QIODevice::ReadOnly);
    QTextStream out(stdout);
    QTextStream err(stderr);
    ctl::Console console{out, err,
                         [&in]() -> std::optional<QString> {
                             const QByteArray line = in.readLine();
                             if (line.isEmpty())
                                 return std::nullopt;
                             return QString::fromLocal8Bit(line);
                         },
                         isatty(STDIN_FILENO) == 1};
    ctl::Program program(console);
    QObject::connect(&program, &ctl::Program::finished, &app, &QCoreApplication::exit);
    program.start(app.arguments().mid(1));
    return app.exec();
}
