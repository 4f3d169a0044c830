// SPDX-License-Identifier: GPL-3.0-or-later
#include "LineFramer.h"

void LineFramer::append(const QByteArray &data)
{
    if (m_overflow)
        return;
    // Drop what was taken before growing, so the buffer holds at most the
    // pending line plus one read.
    if (m_start > 0 && (m_start >= m_buf.size() / 2 || m_start > 64 * 1024)) {
        m_buf.remove(0, m_start);
        m_start = 0;
    }
    m_buf.append(data);
}

LineFramer::Result LineFramer::take(QByteArray *line)
{
    if (m_overflow)
        return Overflow;
    const qsizetype lf = m_buf.indexOf('\n', m_start + m_scanned);
    if (lf < 0) {
        m_scanned = m_buf.size() - m_start;
        if (m_scanned > m_max) {
            m_overflow = true;
            m_buf.clear();
            m_buf.squeeze();
            m_start = 0;
            m_scanned = 0;
            return Overflow;
        }
        return NeedMore;
    }
    const qsizetype len = lf + 1 - m_start;
    if (len - 1 > m_max) {
        m_overflow = true;
        m_buf.clear();
        m_buf.squeeze();
        m_start = 0;
        m_scanned = 0;
        return Overflow;
    }
    if (line)
        *line = m_buf.mid(m_start, len);
    m_start = lf + 1;
    m_scanned = 0;
    if (m_start == m_buf.size()) {
        m_buf.clear();
        m_start = 0;
    }
    return Line;
}

void LineFramer::clear()
{
    m_buf.clear();
    m_start = 0;
    m_scanned = 0;
    m_overflow = false;
}
