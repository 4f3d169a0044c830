// SPDX-License-Identifier: GPL-3.0-or-later
// The state of this client's bus connection: the session (TolvaSession)
// tracks it and the settings row (ConnectStat) shows it. Both derive from
// BusConnection so that the one enum is spelt through either class, as
// TolvaSession::Connected or ConnectStat::Connected.
#pragma once

struct BusConnection
{
    enum ConnState { Disconnected = 0, Connecting = 1, Connected = 2 };

    // A connection that dropped or an attempt that failed is tried again by
    // itself, after 1 s, 2 s, 4 s ... and then every 30 s: the delay in ms
    // before the retry that follows `failures` failures in a row (from 1).
    static int retryDelayMs(int failures)
    {
        constexpr int kFirstMs = 1000;
        constexpr int kMostMs = 30000;
        int ms = kFirstMs;
        for (int i = 1; i < failures && ms < kMostMs; ++i)
            ms *= 2;
        return ms < kMostMs ? ms : kMostMs;
    }
};
