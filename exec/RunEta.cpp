// SPDX-License-Identifier: GPL-3.0-or-later
#include "RunEta.h"

#include <cmath>

void RunEta::start(const QDateTime &now, const QList<double> &estimates)
{
    m_start = now;
    m_entryStart = now;
    m_current = -1;
    m_estimates = estimates;
}

void RunEta::entryBegan(int index, const QDateTime &now)
{
    m_current = index;
    m_entryStart = now;
}

qint64 RunEta::elapsed(const QDateTime &now) const
{
    return m_start.isValid() ? m_start.secsTo(now) : 0;
}

qint64 RunEta::currentRemaining(const QDateTime &now) const
{
    if (m_current < 0 || m_current >= m_estimates.size())
        return 0;
    const qint64 left = qint64(std::ceil(m_estimates.at(m_current))) - m_entryStart.secsTo(now);
    return qMax<qint64>(0, left);
}

QDateTime RunEta::expectedEnd(const QDateTime &now) const
{
    double after = 0;
    for (int i = qMax(m_current + 1, 0); i < m_estimates.size(); ++i)
        after += m_estimates.at(i);
    return now.addSecs(currentRemaining(now) + qint64(std::ceil(after)));
}
