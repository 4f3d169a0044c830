// SPDX-License-Identifier: GPL-3.0-or-later
#include "NodeCmdTable.h"

#include "AMsg.h"

#include <QDebug>
#include <QStringList>

namespace {

QString wrongCount(int n)
{
    return QStringLiteral("Er: Number of Params shuld be %1").arg(n);
}

} // namespace

bool NodeCmdTable::addCommand(qint32 id, const QString &msg, const QString &help)
{
    for (const CmdEntry &row : std::as_const(m_rows)) {
        if (row.id == id) {
            qDebug() << "Duplicated id" << id << msg << help;
            return false;
        }
        if (row.msg == msg) {
            qDebug() << "Duplicated msg" << id << msg << help;
            return false;
        }
    }
    m_rows.append(CmdEntry{id, msg, help});
    return true;
}

qint32 NodeCmdTable::idOf(const QString &word) const
{
    for (const CmdEntry &row : m_rows) {
        if (row.msg == word)
            return row.id;
    }
    return NotFoundId;
}

QString NodeCmdTable::helpOf(const QString &word) const
{
    for (const CmdEntry &row : m_rows) {
        if (row.msg == word)
            return row.help;
    }
    return QString();
}

QString NodeCmdTable::commandList() const
{
    QStringList words;
    for (const CmdEntry &row : m_rows) {
        if (!row.msg.isEmpty() && !row.msg.startsWith(QLatin1Char('@')) &&
            !row.msg.startsWith(QLatin1Char('_')))
            words.append(row.msg);
    }
    return words.join(QLatin1Char(' '));
}

bool NodeCmdTable::checkParamsEq(const AMsg &msg, int n, const Answer &answer)
{
    if (msg.params.size() == n)
        return true;
    if (answer)
        answer(msg, wrongCount(n));
    return false;
}

int NodeCmdTable::checkParamsMax(const AMsg &msg, int n, const Answer &answer)
{
    if (msg.params.size() <= n)
        return int(msg.params.size());
    if (answer)
        answer(msg, wrongCount(n));
    return -1;
}

int NodeCmdTable::checkParamsMin(const AMsg &msg, int n, const Answer &answer)
{
    if (msg.params.size() >= n)
        return int(msg.params.size());
    if (answer)
        answer(msg, wrongCount(n));
    return -1;
}
