// Ends the event loop of a command-line tool on SIGINT or SIGTERM.
//
// A signal handler may do almost nothing safely, so it only writes one byte
// to a socket pair; the event loop sees the byte and quits normally, which
// lets the tool close its sockets and files on the way out.
#pragma once

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace QuitOnSignal {

inline int wakeFds[2] = {-1, -1};

inline void onSignal(int)
{
    const char c = 1;
    const ssize_t r = ::write(wakeFds[0], &c, 1);
    (void)r;
}

inline bool install(QCoreApplication *app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, wakeFds) != 0)
        return false;
    auto *notifier = new QSocketNotifier(wakeFds[1], QSocketNotifier::Read, app);
    QObject::connect(notifier, &QSocketNotifier::activated, app, [notifier]() {
        char c = 0;
        const ssize_t r = ::read(wakeFds[1], &c, 1);
        (void)r;
        notifier->setEnabled(false);
        QCoreApplication::quit();
    });
    struct sigaction sa = {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    return true;
}

} // namespace QuitOnSignal
