// SPDX-License-Identifier: GPL-3.0-or-later
// Splits a byte stream into lines ended by a line feed.
//
// A socket's readyRead says nothing about line boundaries: one read may hold
// half a line or many lines. The bus session, the server stand-in and the target
// simulator all append what they read here and take whole lines out. A peer
// that never sends a line feed must not make the pending line grow without
// bound, so a pending line longer than maxLineLength() is reported as an
// overflow; the owner then closes the connection.
#pragma once

#include <QByteArray>

class LineFramer
{
public:
    enum Result { NeedMore, Line, Overflow };

    static constexpr qsizetype DefaultMaxLineLength = 1024 * 1024;

    explicit LineFramer(qsizetype maxLineLength = DefaultMaxLineLength) : m_max(maxLineLength) {}

    void append(const QByteArray &data);
    // Takes the next complete line, its line feed included, into *line.
    // Overflow is sticky until clear(): the stream has lost its framing.
    Result take(QByteArray *line);
    void clear();

    qsizetype maxLineLength() const { return m_max; }
    qsizetype pendingBytes() const { return m_buf.size() - m_start; }
    bool overflowed() const { return m_overflow; }

private:
    QByteArray m_buf;
    qsizetype m_start = 0;   // first byte not yet taken
    qsizetype m_scanned = 0; // bytes after m_start known to hold no line feed
    qsizetype m_max = DefaultMaxLineLength;
    bool m_overflow = false;
};
