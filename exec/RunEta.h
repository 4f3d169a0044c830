// SPDX-License-Identifier: GPL-3.0-or-later
// The times of the run bar: how long the run has gone, the countdown of the
// entry being measured (from its estimate) and the expected end of the run.
// The end is worked out again from the clock each time it is asked: an entry
// that takes longer than its estimate pushes the end back.
#pragma once

#include <QDateTime>
#include <QList>

class RunEta
{
public:
    // estimates: seconds for each entry of the run, by index (0 for entries
    // that are not run).
    void start(const QDateTime &now, const QList<double> &estimates);
    void entryBegan(int index, const QDateTime &now);

    qint64 elapsed(const QDateTime &now) const;
    // Seconds left of the current entry's estimate; 0 once it is overdue.
    qint64 currentRemaining(const QDateTime &now) const;
    QDateTime expectedEnd(const QDateTime &now) const;

private:
    QDateTime m_start;
    QDateTime m_entryStart;
    int m_current = -1;
    QList<double> m_estimates;
};
