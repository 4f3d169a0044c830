// The state of this client's bus connection: the session (TolvaSession)
// tracks it and the settings row (ConnectStat) shows it. Both derive from
// BusConnection so that the one enum is spelt through either class, as
// TolvaSession::Connected or ConnectStat::Connected.
#pragma once

struct BusConnection
{
    enum ConnState { Disconnected = 0, Connecting = 1, Connected = 2 };
};
