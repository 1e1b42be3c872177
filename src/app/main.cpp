// corvane-manager: the management console of the TARVO access point.

#include "settings/app_version.h"
#include "settings/command_line_options.h"
#include "display_check.h"
#include "first_window_report.h"
#include "installation_check.h"
#include "startup.h"

#include <QApplication>
#include <cstdio>

namespace {

QStringList argumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

void print(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    if (!text.endsWith(QLatin1Char('\n')))
        std::fputc('\n', stream);
    std::fflush(stream);
}

// Help and version need no window; anything else ends the program here.
int finishWithoutRunning(const settings::CommandLineResult &result)
{
    if (result.action == settings::CommandLineResult::Action::Fail) {
        print(stderr, QStringLiteral("%1: %2\nTry '%1 --help' for more information.")
                          .arg(QLatin1String(settings::kProgramName), result.text));
        return 2;
    }
    print(stdout, result.text);
    return 0;
}

int runInstallationCheck(const settings::CommandLineOptions &options)
{
    const app::InstallationCheck check = app::checkInstallation(options);
    print(stdout, check.lines.join(QLatin1Char('\n')));
    return check.ok ? 0 : 1;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication::setApplicationName(QLatin1String(settings::kProgramName));
    QCoreApplication::setApplicationVersion(QLatin1String(settings::kProgramVersion));

    const QStringList rawArguments = argumentsOf(argc, argv);
    // The check needs no display: it runs before the windows' application object.
    const settings::CommandLineResult early = settings::parseCommandLine(rawArguments);
    if (early.action == settings::CommandLineResult::Action::Check) {
        QCoreApplication application(argc, argv);
        return runInstallationCheck(early.options);
    }
    if (!app::displayAvailable(rawArguments, [](const char *name) { return qgetenv(name); })) {
        if (early.action != settings::CommandLineResult::Action::Run)
            return finishWithoutRunning(early);
        print(stderr, app::noDisplayMessage());
        return 1;
    }

    QApplication application(argc, argv);
    // Wayland desktops match the windows to the installed menu entry (its name and icon).
    QGuiApplication::setDesktopFileName(QStringLiteral("corvane-manager"));
    app::reportFirstWindowIfAsked(application);
    // The application object has taken its own arguments (-platform ...).
    const settings::CommandLineResult result = settings::parseCommandLine(QCoreApplication::arguments());
    if (result.action == settings::CommandLineResult::Action::Check)
        return runInstallationCheck(result.options);
    if (result.action != settings::CommandLineResult::Action::Run)
        return finishWithoutRunning(result);
    return app::runConsole(result.options);
}
