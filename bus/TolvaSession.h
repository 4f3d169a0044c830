// SPDX-License-Identifier: GPL-3.0-or-later
// The bus client's side of the Tolva protocol, without a socket or a widget:
// bytes in, actions out.
//
// The owner (Tolva) hands it every byte the socket reads and asks it for the
// lines to send; the session answers with what the owner must do, in order:
// bytes to write, lines to log, messages to hand on, the login accepted, the
// connection to close. It holds the login state (challenge → key reply →
// acceptance), the line framing with its length cap, the node command table
// and the built-in answers to Hello, Help and IsBusy. The key file is read at
// every challenge; nothing else touches the file system.
//
// Received lines must be handled one at a time, with the owner carrying out
// each line's actions before asking for the next: a handler of one message may
// send, change the busy flag or close the connection, and that must come
// before whatever the next line causes.
#pragma once

#include "AMsg.h"
#include "BusConnection.h"
#include "LineFramer.h"
#include "NodeCmdTable.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>

#include <optional>

class TolvaSession : public BusConnection
{
    // The operator's texts keep the client's translation context.
    Q_DECLARE_TR_FUNCTIONS(Tolva)
public:
    // The values ConnectStat shows.
    using State = ConnState;

    struct Action
    {
        enum Kind {
            Write,      // bytes: the key reply, written as it is
            Send,       // text: a built-in answer's line; bytes: what to write for it
            Log,        // text: a protocol log line
            Error,      // text: a failure the operator must see (logged in red)
            VerboseLog, // text: the verbose log line of a received line
            Ready,      // the login was accepted; the state is Connected already
            HandOn,     // msg: a message for the owner's handlers, by its kind
            Close,      // the login was refused: close the connection gracefully
            Abort,      // the stream lost its framing: drop the connection at once
        };
        Kind kind = Log;
        QString text;
        QByteArray bytes;
        AMsg msg;
    };
    using Actions = QList<Action>;

    // One line to send, as built by the send step.
    struct Outgoing
    {
        QString line;     // the line, without its line feed
        QByteArray bytes; // what to write; empty when not logged in
        // Characters of the line written as '?' because the bus carries
        // Latin-1 only; empty when the line went out as it was.
        QString lost;
        // What the sending signals carry: the line, or the not-ready text when
        // nothing is written.
        QString result() const;
        // The operator's red line when characters were lost, else empty.
        QString lossText() const;
    };

    explicit TolvaSession(qsizetype maxLineLength = LineFramer::DefaultMaxLineLength);

    // Own node name and key file path as the settings row shows them; both are
    // used at the moment of need, so an edit counts from the next line.
    void setName(const QString &name) { m_name = name; }
    QString name() const { return m_name; }
    void setKeyFile(const QString &path) { m_keyFile = path; }

    State state() const { return m_state; }
    bool busy() const { return m_busy; }
    // What GetRunStatus answers; peers follow the night without a screen.
    void setRunStatus(const QString &status) { m_runStatus = status; }
    QString runStatus() const { return m_runStatus; }
    const NodeCmdTable &nodeCmdTable() const { return m_table; }

    // A new TCP connection, or the end of one: logged out, input forgotten.
    void reset();
    // Forgets received bytes not yet handled (the connection is going away).
    void discardInput() { m_framer.clear(); }

    // Bytes read from the socket.
    void receive(const QByteArray &bytes);
    // Takes the next whole received line and returns its actions in *out;
    // false when no whole line is waiting. An over-long line gives a log line
    // and Abort; after Close or Abort nothing more is taken until reset().
    bool next(Actions *out);
    // One received line (line feed optional), by state: the key exchange, the
    // login answer, or the dispatch with its built-in answers.
    Actions handleLine(const QString &line);

    // The login did not complete in time: what to say and Abort; nothing
    // once logged in.
    Actions loginTimedOut(int seconds);

    // The send step: "from>to text", with CR and LF inside made blanks.
    Outgoing send(const QString &fromNode, const QString &fromCh, const QString &to,
                  const QString &text) const;
    Outgoing command(const QString &fromCh, const QString &to, const QString &cmd,
                     const QString &val) const;
    Outgoing event(const QString &fromCh, const QString &event) const;
    // From the address the question came to, to its sender as written.
    Outgoing answer(const AMsg &question, const QString &ans) const;
    // Stores the flag; when it changed, the ChangedIsBusy event to send.
    std::optional<Outgoing> setBusy(bool busy);

private:
    void exchangeKey(const QString &challenge, Actions *out);
    void dispatch(const QString &line, Actions *out);
    void reply(const AMsg &question, const QString &ans, Actions *out) const;
    QString helpAnswer(const AMsg &question) const;

    NodeCmdTable m_table;
    LineFramer m_framer;
    QString m_name;
    QString m_keyFile;
    State m_state = Disconnected;
    bool m_closing = false; // Close or Abort given: ignore input until reset()
    bool m_busy = false;
    QString m_runStatus = QStringLiteral("idle");
};
