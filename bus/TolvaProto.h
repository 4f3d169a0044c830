// SPDX-License-Identifier: GPL-3.0-or-later
// Outgoing line formats and the login key rules of the Tolva bus.
//
// Shared by the bus session (TolvaSession), the server stand-in and the target
// simulator, so that all three write and check exactly the same texts.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace TolvaProto {

// Own node name, plus "." and the channel when there is one.
QString senderAddress(const QString &node, const QString &ch);
// "%1>%2 %3": sender address, receiver, message text.
QString buildLine(const QString &fromNode, const QString &fromCh, const QString &to,
                  const QString &text);
// "@%1 %2": the word of the message answered and the answer text.
QString answerText(const QString &cmd, const QString &ans);
// "_%1": an event.
QString eventText(const QString &event);
// The command, followed by a blank and the value when there is one.
QString commandText(const QString &cmd, const QString &val);

// One line as written to the socket: every CR and LF inside becomes a blank
// (so one send is always exactly one line), Latin-1 (others become '?'), one LF.
QByteArray encodeLine(const QString &line);
// The characters of line that Latin-1 cannot carry, each once, in the order
// they first appear; empty when the line goes out as written.
QString unencodable(const QString &line);

// Reads a key file: one key per line, whitespace simplified; an empty line is
// an (empty) key of its own. *opened tells whether the file could be read.
QStringList loadKeys(const QString &path, bool *opened = nullptr);

// The index of the key answering a challenge line: the line read as a decimal
// integer (0 when it is not one) modulo the key count, made non-negative.
// -1 when there are no keys.
int keyIndexFor(const QString &challenge, qsizetype keyCount);

// The reply to a challenge: "name key" and a line feed.
QByteArray keyReply(const QString &name, const QString &key);

} // namespace TolvaProto
