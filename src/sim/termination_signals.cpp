#include "termination_signals.h"

#include "sim_logging.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalSockets[2] = {-1, -1};
bool terminationSignalArrived = false;
const int kTerminationSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void onTerminationSignal(int)
{
    const char byte = 1;
    // Only async-signal-safe calls here; a full pipe just loses the byte.
    [[maybe_unused]] const ssize_t written = ::write(signalSockets[0], &byte, 1);
}

}  // namespace

bool quitOnTerminationSignals()
{
    if (signalSockets[0] != -1)
        return true;
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalSockets) != 0) {
        qCWarning(lcSim) << "no socket pair for signal handling";
        return false;
    }
    auto *notifier = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier] {
        char byte = 0;
        [[maybe_unused]] const ssize_t got = ::read(signalSockets[1], &byte, 1);
        notifier->setEnabled(false);
        terminationSignalArrived = true;
        // Every event loop ends, a modal dialog's too, whatever the windows
        // would say to being closed.
        QCoreApplication::exit(0);
    });

    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    // A program that does not end after the first signal ends at the next.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    bool installed = true;
    for (const int number : kTerminationSignals)
        installed = ::sigaction(number, &action, nullptr) == 0 && installed;
    return installed;
}

bool terminationRequested()
{
    return terminationSignalArrived;
}
