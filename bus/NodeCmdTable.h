// SPDX-License-Identifier: GPL-3.0-or-later
// The words this node understands, with their ids and help texts.
//
// The bus session (TolvaSession) registers the client's table at construction
// and looks up the word of every received message (idOf) so that the main
// window can switch on ids.
// The target simulator keeps a table of its own for its Help answer.
#pragma once

#include <QList>
#include <QString>

#include <functional>

struct AMsg;

struct CmdEntry
{
    qint32 id = 0;
    QString msg;
    QString help;
};

class NodeCmdTable
{
public:
    static constexpr qint32 NotFoundId = 18;

    // Called with the message to answer and the answer text.
    using Answer = std::function<void(const AMsg &, const QString &)>;

    // Appends a row unless its id or its word is already registered; a refused
    // registration is reported on the debug channel and the first one stays.
    bool addCommand(qint32 id, const QString &msg, const QString &help);
    qint32 idOf(const QString &word) const;
    QString helpOf(const QString &word) const;
    QString commandList() const;

    qsizetype size() const { return m_rows.size(); }

    // Parameter-count checks for command handlers. When the count is wrong
    // they answer the message through `answer` themselves.
    static bool checkParamsEq(const AMsg &msg, int n, const Answer &answer);
    // Max and Min complete the handlers' interface; no handler needs them yet.
    static int checkParamsMax(const AMsg &msg, int n, const Answer &answer);
    static int checkParamsMin(const AMsg &msg, int n, const Answer &answer);

private:
    QList<CmdEntry> m_rows;
};
