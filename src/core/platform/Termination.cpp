#include "core/platform/Termination.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace platform {

#if defined(Q_OS_UNIX)

namespace {

// The handler may only do what is safe in a signal: it writes one byte,
// which the event loop reads.
int wakeUp[2] = {-1, -1};

void onSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(wakeUp[0], &byte, 1);
    errno = saved;
}

} // namespace

void quitOnTermination(QCoreApplication *app)
{
    if (wakeUp[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, wakeUp) != 0)
        return;
    ::fcntl(wakeUp[0], F_SETFL, O_NONBLOCK);
    auto *notifier = new QSocketNotifier(wakeUp[1], QSocketNotifier::Read, app);
    QObject::connect(notifier, &QSocketNotifier::activated, app, [notifier] {
        char bytes[16];
        [[maybe_unused]] const ssize_t n = ::read(int(notifier->socket()), bytes, sizeof bytes);
        QCoreApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(signal, &action, nullptr);
}

#else

void quitOnTermination(QCoreApplication *) {}

#endif

} // namespace platform
