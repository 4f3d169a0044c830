// SPDX-License-Identifier: GPL-3.0-or-later
#include "TolvaSession.h"

#include "BusCommandIds.h"
#include "TargetWords.h"
#include "TolvaProto.h"

#include <QFileInfo>

namespace {

using Action = TolvaSession::Action;

Action textAction(Action::Kind kind, const QString &text)
{
    Action a;
    a.kind = kind;
    a.text = text;
    return a;
}

Action bareAction(Action::Kind kind)
{
    return textAction(kind, QString());
}

} // namespace

QString TolvaSession::Outgoing::result() const
{
    return bytes.isEmpty() ? QStringLiteral("Tolva is not ready (%1)").arg(line) : line;
}

QString TolvaSession::Outgoing::lossText() const
{
    if (lost.isEmpty())
        return QString();
    return tr("The bus carries Latin-1 only: %1 sent as \"?\" in [%2]").arg(lost, line);
}

TolvaSession::TolvaSession(qsizetype maxLineLength) : m_framer(maxLineLength)
{
    m_table.addCommand(IdHello, QStringLiteral("Hello"), QStringLiteral("Answer greeting message"));
    m_table.addCommand(IdHelp, QStringLiteral("Help"), QStringLiteral("Show help message"));
    m_table.addCommand(IdIsBusy, QStringLiteral("IsBusy"),
                       QStringLiteral("Answer if Tarnix is busy"));
    m_table.addCommand(IdConnected, QStringLiteral("Connected"), QString());
    m_table.addCommand(IdDisconnected, QStringLiteral("Disconnected"), QString());
    m_table.addCommand(IdEvChangerMoving, QLatin1String(TargetWords::EvChangerMoving), QString());
    m_table.addCommand(IdEvMovingCurTh, QLatin1String(TargetWords::EvMovingCurTh), QString());
    m_table.addCommand(IdEvStartMeas, QLatin1String(TargetWords::EvStartMeas), QString());
    m_table.addCommand(IdEvEndMeas, QLatin1String(TargetWords::EvEndMeas), QString());
    m_table.addCommand(IdEvStartQMeas, QLatin1String(TargetWords::EvStartQMeas), QString());
    m_table.addCommand(IdEvEndQMeas, QLatin1String(TargetWords::EvEndQMeas), QString());
    m_table.addCommand(IdEvErrStartXAFSMeas, QLatin1String(TargetWords::EvErrStartXAFSMeas),
                       QString());
    m_table.addCommand(IdEvErrRemote, QLatin1String(TargetWords::EvErrRemote), QString());
    m_table.addCommand(IdEvErrChangerMove, QLatin1String(TargetWords::EvErrChangerMove), QString());
    m_table.addCommand(IdRemoteOn, QLatin1String(TargetWords::RemoteOn), QString());
    m_table.addCommand(IdListNodes, QStringLiteral("listnodes"), QString());
    m_table.addCommand(IdGetBlockNum, QLatin1String(TargetWords::GetBlockNum), QString());
    m_table.addCommand(IdGetRunStatus, QStringLiteral("GetRunStatus"),
                       QStringLiteral("Answer the state of the run: idle, running N/M STAGE ETA "
                                      "hh:mm, held REASON, stopped, failed N"));
}

void TolvaSession::reset()
{
    m_framer.clear();
    m_state = Disconnected;
    m_closing = false;
}

void TolvaSession::receive(const QByteArray &bytes)
{
    if (!m_closing)
        m_framer.append(bytes);
}

bool TolvaSession::next(Actions *out)
{
    out->clear();
    if (m_closing)
        return false;
    QByteArray raw;
    switch (m_framer.take(&raw)) {
    case LineFramer::NeedMore:
        return false;
    case LineFramer::Overflow:
        m_closing = true;
        out->append(textAction(
            Action::Log, tr("A line from Tolva is longer than %1 bytes; closing the connection.")
                             .arg(m_framer.maxLineLength())));
        out->append(bareAction(Action::Abort));
        m_framer.clear();
        return true;
    case LineFramer::Line:
        break;
    }
    *out = handleLine(QString::fromUtf8(raw));
    return true;
}

TolvaSession::Actions TolvaSession::handleLine(const QString &line)
{
    if (m_closing)
        return {};
    Actions out{textAction(Action::VerboseLog,
                           QStringLiteral("msg from tolva[%1]").arg(line.simplified()))};
    switch (m_state) {
    case Disconnected:
        // The first line of a connection is the server's challenge.
        exchangeKey(line, &out);
        m_state = Connecting;
        break;
    case Connecting:
        if (line.startsWith(QStringLiteral("System>%1 Ok:").arg(m_name))) {
            m_state = Connected;
            out.append(bareAction(Action::Ready));
            out.append(textAction(Action::Log, tr("Connected To Tolva")));
        } else {
            // Refused. The server says why (a node of this name is there
            // already...); what else it sent belongs to a connection that is
            // going away.
            m_closing = true;
            m_framer.clear();
            out.append(
                textAction(Action::Error, tr("The bus server refused the login: %1")
                                              .arg(line.section(QLatin1Char(' '), 1).trimmed())));
            out.append(bareAction(Action::Close));
        }
        break;
    case Connected:
        dispatch(line, &out);
        break;
    }
    return out;
}

TolvaSession::Actions TolvaSession::loginTimedOut(int seconds)
{
    if (m_state == Connected)
        return {};
    // A server that never challenges, or never answers the key, would hold
    // the connection (and the Connect button) for good.
    const QString text =
        m_state == Disconnected
            ? tr("Tolva sent no challenge within %1 s; the connection is closed.").arg(seconds)
            : tr("Tolva did not answer the key within %1 s; the connection is closed.")
                  .arg(seconds);
    m_closing = true;
    m_framer.clear();
    return {textAction(Action::Error, text), bareAction(Action::Abort)};
}

void TolvaSession::exchangeKey(const QString &challenge, Actions *out)
{
    const QString path = m_keyFile.isEmpty() ? QString() : QFileInfo(m_keyFile).absoluteFilePath();
    out->append(textAction(Action::Log, tr("opening key file [%1]").arg(path)));
    bool opened = false;
    const QStringList keys = TolvaProto::loadKeys(path, &opened);
    if (!opened)
        out->append(textAction(Action::Log, tr("Can't open key file [%1]").arg(path)));
    if (keys.isEmpty()) {
        out->append(textAction(Action::Log, tr("I have no key to exchange with Tolva.")));
        return;
    }
    const int index = TolvaProto::keyIndexFor(challenge, keys.size());
    // The key itself is a secret and the log may go to a file: name its position.
    out->append(textAction(
        Action::Log,
        tr("sending key [%1][key %2 of %3]").arg(m_name).arg(index + 1).arg(keys.size())));
    Action write = bareAction(Action::Write);
    write.bytes = TolvaProto::keyReply(m_name, keys.at(index));
    out->append(write);
}

void TolvaSession::dispatch(const QString &line, Actions *out)
{
    AMsg msg;
    msg.parse(line);
    msg.cmdId = m_table.idOf(msg.cmd);
    if (!msg.valid)
        return;
    // The built-in words are recognised by the word alone, whatever the kind.
    switch (msg.cmdId) {
    case IdHello:
        reply(msg, QStringLiteral("Hello! I am %1. Nice to meet you!").arg(m_name), out);
        break;
    case IdHelp:
        reply(msg, helpAnswer(msg), out);
        break;
    case IdIsBusy:
        reply(msg, QStringLiteral("%1").arg(m_busy ? 1 : 0), out);
        break;
    case IdGetRunStatus:
        // Only a question is answered: another node's answer is handed on to
        // whoever asked, never answered back (two nodes would ping-pong).
        if (msg.kind == AMsgKind::Ask) {
            reply(msg, m_runStatus, out);
            break;
        }
        [[fallthrough]];
    default: {
        Action a = bareAction(Action::HandOn);
        a.msg = msg;
        out->append(a);
        break;
    }
    }
}

QString TolvaSession::helpAnswer(const AMsg &question) const
{
    if (question.params.isEmpty())
        return QStringLiteral("Commands : ") + m_table.commandList();
    if (m_table.idOf(question.firstParam) != NodeCmdTable::NotFoundId)
        return QStringLiteral(": ") + m_table.helpOf(question.firstParam);
    return QStringLiteral("Er: Command [%1] not found.").arg(question.firstParam);
}

void TolvaSession::reply(const AMsg &question, const QString &ans, Actions *out) const
{
    const Outgoing o = answer(question, ans);
    Action a = textAction(Action::Send, o.result());
    a.bytes = o.bytes;
    out->append(a);
    if (!o.lost.isEmpty())
        out->append(textAction(Action::Error, o.lossText()));
}

TolvaSession::Outgoing TolvaSession::send(const QString &fromNode, const QString &fromCh,
                                          const QString &to, const QString &text) const
{
    Outgoing o;
    o.line = TolvaProto::buildLine(fromNode, fromCh, to, text);
    // Entry fields go into commands as typed: a CR or LF inside would put a
    // second, forged line on the bus.
    o.line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    o.line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (m_state == Connected) {
        o.bytes = TolvaProto::encodeLine(o.line);
        o.lost = TolvaProto::unencodable(o.line);
    }
    return o;
}

TolvaSession::Outgoing TolvaSession::command(const QString &fromCh, const QString &to,
                                             const QString &cmd, const QString &val) const
{
    return send(m_name, fromCh, to, TolvaProto::commandText(cmd, val));
}

TolvaSession::Outgoing TolvaSession::event(const QString &fromCh, const QString &event) const
{
    return send(m_name, fromCh, QStringLiteral("System"), TolvaProto::eventText(event));
}

TolvaSession::Outgoing TolvaSession::answer(const AMsg &question, const QString &ans) const
{
    return send(question.toNode, question.toCh, question.from,
                TolvaProto::answerText(question.cmd, ans));
}

std::optional<TolvaSession::Outgoing> TolvaSession::setBusy(bool busy)
{
    if (busy == m_busy)
        return std::nullopt;
    m_busy = busy;
    return event(QString(), QStringLiteral("ChangedIsBusy %1").arg(busy ? 1 : 0));
}
