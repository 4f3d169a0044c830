// SPDX-License-Identifier: GPL-3.0-or-later
#include "Watchdog.h"

#include "Entry.h"

#include <QCoreApplication>

namespace {

struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Exec)
};

} // namespace

QList<Watchdog::Wait> Watchdog::check(const Waits &on, bool promptOpen, const Limits &limitMs,
                                      qint64 nowMs)
{
    QList<Wait> passed;
    for (int i = 0; i < WaitCount; ++i) {
        if (!on[i]) {
            m_on[i] = false;
            m_reported[i] = false;
            continue;
        }
        if (!m_on[i] || promptOpen) {
            m_on[i] = true;
            m_since[i] = nowMs;
            continue;
        }
        if (!m_reported[i] && nowMs - m_since[i] > limitMs[i]) {
            m_reported[i] = true;
            passed.append(Wait(i));
        }
    }
    return passed;
}

double expectedMeasSeconds(const Entry &e)
{
    const BlockSet &set = e.activeBlocks();
    double total = 0;
    for (int i = 0; i < e.blocks; ++i) {
        const double dwell = qMax(0.0, e.timeFor(i));
        total += e.scanType == EntryRows::QuickScan ? dwell : dwell * qMax(0, set.row(i).points());
    }
    return total;
}

QString waitText(Watchdog::Wait w)
{
    switch (w) {
    case Watchdog::Target:
        return Tr::tr("the target to log in");
    case Watchdog::EnergyMove:
        return Tr::tr("the end of the energy move");
    case Watchdog::HolderMove:
        return Tr::tr("the end of the sample-holder move");
    case Watchdog::BlockCount:
        return Tr::tr("the block count");
    case Watchdog::Measurement:
    case Watchdog::WaitCount:
        break;
    }
    return Tr::tr("the end of the measurement");
}
