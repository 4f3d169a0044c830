// SPDX-License-Identifier: GPL-3.0-or-later
// Ends the event loop on SIGINT, SIGTERM or SIGHUP (a terminal closed, the
// session or the computer shutting down).
//
// A signal handler may do almost nothing safely, so it only writes one byte
// to a socket pair; the event loop sees the byte and runs onQuit (by default
// it just quits), which lets the program keep what it must and close its
// sockets and files on the way out.
#pragma once

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <functional>
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

inline bool install(
    QObject *context, std::function<void()> onQuit = [] { QCoreApplication::quit(); })
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, wakeFds) != 0)
        return false;
    auto *notifier = new QSocketNotifier(wakeFds[1], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [notifier, onQuit]() {
        char c = 0;
        const ssize_t r = ::read(wakeFds[1], &c, 1);
        (void)r;
        notifier->setEnabled(false);
        onQuit();
    });
    struct sigaction sa = {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
    return true;
}

} // namespace QuitOnSignal
