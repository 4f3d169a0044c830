// SPDX-License-Identifier: GPL-3.0-or-later
// The run controller's side of the bus: the login's and the target's init
// commands, the target's presence, and its events and answers turned into the
// engine's flags. Only the target's own answers and events steer the run.
#include "RunController.h"

#include "BusCommandIds.h"
#include "ConfigStore.h"
#include "TargetWords.h"

namespace {

bool isErrorEvent(qint32 id)
{
    return id == IdDisconnected || id == IdEvErrStartXAFSMeas || id == IdEvErrRemote ||
           id == IdEvErrChangerMove;
}

} // namespace

// ---- The bus -----------------------------------------------------------------

void RunController::sendInitCmds(const QStringList &cmds)
{
    for (const QString &text : cmds) {
        QString rest;
        const QString to = takeItem(text, &rest);
        emit sendCmd(QString(), to, rest);
    }
}

void RunController::busReady()
{
    emit sendCmd(QString(), QStringLiteral("System"), QStringLiteral("listnodes"));
    emit sendCmd(QString(), QStringLiteral("System"), QStringLiteral("flgon %1").arg(m_targetName));
    sendInitCmds(m_initCmdsOnTolva);
}

void RunController::busLost()
{
    // The target may well be there: it is the bus that is gone, and the
    // operator must be told which.
    if (m_runGoing) {
        log(tr("The connection to the bus server was lost; the run waits for it and then for "
               "the target."),
            Severity::Error);
        journalEpisode(QStringLiteral("bus-lost"), m_runningIndex,
                       tr("the connection to the bus server was lost"));
    }
    // Without the bus the target cannot be reached, and the server that would
    // report its departure is gone: "Target is Ready" must not stay lit. The
    // next login asks for the node list again and makes it ready anew.
    setTargetReady(false);
}

void RunController::setTargetReady(bool ready)
{
    if (ready) {
        emit sendCmd(QString(), m_remoteAddr, TargetWords::line(TargetWords::RemoteOn));
        sendInitCmds(m_initCmdsOnTarget);
    }
    m_targetReady = ready;
    emit setTargetIsReady(ready);
    emit targetReadyChanged(ready);
}

void RunController::asked(const AMsg &msg)
{
    emit answer(msg, QStringLiteral("Er: Unknown Command"));
    log(QStringLiteral("**** Er: %1").arg(msg.cmd));
}

void RunController::answered(const AMsg &msg)
{
    // A refusal is logged whoever sends it: the target, or the server for a
    // target that is not there. Only the target's own answers steer the run:
    // any node can send a line that reads like one.
    const bool fromTarget = msg.fromNode == m_targetName;
    if (msg.paramText.trimmed().startsWith(QLatin1String("Er:"))) {
        log(tr("%1 refused %2:%3").arg(msg.from, msg.cmd, msg.paramText), Severity::Error);
        if (fromTarget) {
            emit refusedByTarget(msg.cmd);
        }
    }
    if (msg.cmdId == IdListNodes) {
        // The server's list of nodes; another node's would make a target
        // that is not there look ready.
        if (msg.fromNode == QLatin1String("System") && msg.params.contains(m_targetName))
            setTargetReady(true);
    } else if (msg.cmdId == IdGetBlockNum && fromTarget) {
        // Anything but a number is no count (the engine refuses -1); a huge
        // one stays huge so that the engine refuses it too.
        bool ok = false;
        const qlonglong n = msg.firstParam.toLongLong(&ok);
        if (!ok || n < 0)
            log(tr("%1 answered GetBlockNum with \"%2\", which is no number of blocks.")
                    .arg(msg.from, msg.paramText.trimmed()),
                Severity::Error);
        const int count = !ok || n < 0 ? -1 : int(qMin<qlonglong>(n, INT_MAX));
        emit setReceivedBlockNum(count);
    }
}

void RunController::eventReceived(const AMsg &msg)
{
    // Only the target's events steer the run.
    if (msg.from != m_targetName)
        return;
    log(tr("Event from %1: %2%3").arg(msg.from, msg.cmd, msg.paramText),
        isErrorEvent(msg.cmdId) ? Severity::Error : Severity::Info);
    const bool on = toIntOr0(msg.firstParam) == 1;
    switch (msg.cmdId) {
    case IdConnected:
        setTargetReady(true);
        return;
    case IdDisconnected:
        setTargetReady(false);
        return;
    case IdEvChangerMoving:
        emit setSHolderIsMoving(on);
        return;
    case IdEvMovingCurTh:
        emit setMainThIsMoving(on);
        return;
    case IdEvStartMeas:
    case IdEvStartQMeas:
        emit setInXafsMeas(true);
        return;
    case IdEvEndMeas:
    case IdEvEndQMeas:
        emit setInXafsMeas(false);
        return;
    case IdEvErrStartXAFSMeas:
        emit setErrStartingXAFSMeas(true, msg.paramText);
        return;
    case IdEvErrRemote:
        emit setErrRemote(true, msg.paramText);
        return;
    case IdEvErrChangerMove:
        emit setErrSHolderMove(true, msg.paramText);
        return;
    default:
        return;
    }
}
