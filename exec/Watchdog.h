// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's watchdog: how long it has waited on the target, and when a
// wait has passed its limit.
//
// The engine (Exec) calls check() on every tick with what it waits for now:
// the target itself (absent or lost), the end of an energy move, of a holder
// move, the block count, the end of a measurement. Each wait has its own clock,
// started when the wait begins; a wait that passes its limit is reported once,
// and again only after it has ended and begun anew. An open operator prompt
// is the operator's time, not the target's: while one is open nothing is
// reported and the clocks of the waits start again when it is confirmed.
// The engine logs what check() reports and, in an unattended run, ends the
// run on it.
#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

#include <array>

struct Entry;

class Watchdog
{
public:
    enum Wait { Target, EnergyMove, HolderMove, BlockCount, Measurement, WaitCount };
    using Waits = std::array<bool, WaitCount>;
    using Limits = std::array<qint64, WaitCount>; // milliseconds

    // One look at the waits at nowMs; returns the waits that passed their
    // limit just now.
    QList<Wait> check(const Waits &on, bool promptOpen, const Limits &limitMs, qint64 nowMs);
    // Forgets every wait (a new run or a resumed one).
    void reset() { *this = Watchdog(); }

    // The default of WAIT_LIMIT, in seconds.
    static constexpr double defaultLimitSeconds = 900;

private:
    std::array<qint64, WaitCount> m_since{};
    Waits m_on{};
    Waits m_reported{};
};

// What one measurement of the entry is expected to take, in seconds: a quick
// scan its time, a step scan Points × dwell time summed over its blocks. With
// standard or file blocks the entry's own rows stand in for the target's, so
// this is an estimate; the watchdog adds WAIT_LIMIT to it.
double expectedMeasSeconds(const Entry &e);

// What the engine waits for, as the operator reads it in the log.
QString waitText(Watchdog::Wait w);
