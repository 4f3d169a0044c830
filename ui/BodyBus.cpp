// The main window's bus side: settings, the commands sent when the bus and the
// target become ready, and the target's events and answers turned into the
// execution engine's flags. Every event of the target and every "Er:" answer
// goes to the log window: the night's story is told there.
#include "Body.h"

#include "ConfigStore.h"
#include "ConnectStat.h"
#include "LogArea.h"
#include "NodeCmdTable.h"
#include "Tolva.h"
#include "Watchdog.h"

#include <QLabel>

#include <climits>

namespace {

// Ids of the node command table the dispatch below switches on.
enum : qint32 {
    IdConnected = 3,
    IdDisconnected = 4,
    IdEvChangerMoving = 5,
    IdEvMovingCurTh = 6,
    IdEvStartMeas = 7,
    IdEvEndMeas = 8,
    IdEvStartQMeas = 9,
    IdEvEndQMeas = 10,
    IdEvErrStartXAFSMeas = 11,
    IdEvErrRemote = 12,
    IdEvErrChangerMove = 13,
    IdListNodes = 14,
    IdGetBlockNum = 16,
};

const QColor kRed(255, 0, 0);

bool firstParamIsOne(const AMsg &msg)
{
    return toIntOr0(msg.firstParam) == 1;
}

bool isErrorEvent(qint32 id)
{
    return id == IdDisconnected || id == IdEvErrStartXAFSMeas || id == IdEvErrRemote ||
           id == IdEvErrChangerMove;
}

} // namespace

void Body::setupTolva()
{
    Tolva *tolva = ui.TolvaCtrl;
    logArea = new LogArea(nullptr, 2000);
    for (QLabel *l : tolva->headerLabels())
        l->hide();
    tolva->setLogSendingMsg(true);

    // Its first visibility is settled by the window once "Show Log" is known,
    // so that it does not flash up at start.
    connect(ui.ShowTolvaLog, &QCheckBox::toggled, logArea, &LogArea::setVisible);

    connect(tolva, &Tolva::log, logArea, qOverload<const QString &, const QColor &>(&LogArea::log));
    connect(tolva, &Tolva::anyAsk, this, &Body::anyAsk);
    connect(tolva, &Tolva::anyAns, this, &Body::anyAns);
    connect(tolva, &Tolva::anyEvent, this, &Body::anyEvent);
    connect(tolva, &Tolva::tolvaIsReady, this, &Body::tolvaIsReady);
    // Not part of the plain bus set-up: an operator has to see when the link is
    // gone and which commands never left.
    connect(tolva, &Tolva::tolvaIsNotReady, this, &Body::tolvaIsNotReady);
    connect(tolva, &Tolva::sendingAskToTolva, this, &Body::noticedSendResult);
    connect(tolva, &Tolva::sendingAnsToTolva, this, &Body::noticedSendResult);

    const ConfigStore &cfg = config();
    tolva->setHost(cfg.valueNoCase(QStringLiteral("TOLVA_IP"), QStringLiteral("localhost")));
    tolva->setPort(cfg.valueNoCase(QStringLiteral("TOLVA_PORT"), QStringLiteral("6057")));
    tolva->setNameOnTolva(
        cfg.valueNoCase(QStringLiteral("NAME_ON_TOLVA"), QStringLiteral("Tarnix")));
    tolva->setKeyFile(
        cfg.valueNoCase(QStringLiteral("KEY_ON_TOLVA"), QStringLiteral("Tarnix.key")));

    targetName = cfg.valueNoCase(QStringLiteral("TARGET_NAME_ON_TOLVA"), QStringLiteral("Dorvan"));
    remoteAddr = QStringLiteral("%1.remote").arg(targetName);

    initCmdsOnTolva = cfg.allRests(QStringLiteral("INIT_CMDS_ON_CONNECTED_TO_TOLVA"));
    initCmdsOnTarget = cfg.allRests(QStringLiteral("INIT_CMDS_ON_CONNECTED_TO_TARGET"));

    if (toIntOr0(cfg.valueNoCase(QStringLiteral("CONNECT_TO_TOLVA"), QStringLiteral("1"))) == 1)
        tolva->connectToTolva();
}

// The engine's watch on the target: its wait limit, the commands the target
// refuses, and the busy flag other nodes ask for (IsBusy) while a run goes.
void Body::setupTargetWatch()
{
    connect(this, &Body::refusedByTarget, exec, &Exec::noticedRefusal);
    connect(exec, &Exec::runningChanged, ui.TolvaCtrl, &Tolva::setBusy);

    double seconds = Watchdog::defaultLimitSeconds;
    const QString text = config().valueNoCase(QStringLiteral("WAIT_LIMIT"));
    if (!text.isEmpty()) {
        bool ok = false;
        const double v = text.trimmed().toDouble(&ok);
        if (ok && v > 0)
            seconds = v;
        else
            logArea->log(tr("WAIT_LIMIT %1 is not a number of seconds above 0; %2 s is used.")
                             .arg(text)
                             .arg(seconds),
                         kRed);
    }
    m_waitLimit = seconds;
    Exec *e = exec;
    QMetaObject::invokeMethod(
        exec, [e, seconds] { e->setWaitLimit(seconds); }, Qt::QueuedConnection);
}

void Body::sendInitCmds(const QStringList &cmds)
{
    for (const QString &text : cmds) {
        QString rest;
        const QString to = takeItem(text, &rest);
        ui.TolvaCtrl->sendCmd(QString(), to, rest);
    }
}

void Body::tolvaIsReady()
{
    ui.TolvaCtrl->sendCmd(QString(), QStringLiteral("System"), QStringLiteral("listnodes"));
    ui.TolvaCtrl->sendCmd(QString(), QStringLiteral("System"),
                          QStringLiteral("flgon %1").arg(targetName));
    sendInitCmds(initCmdsOnTolva);
}

void Body::targetIsReady()
{
    ui.TolvaCtrl->sendCmd(QString(), remoteAddr, QStringLiteral("RemoteOn"));
    sendInitCmds(initCmdsOnTarget);
    emit setTargetIsReady(true);
}

void Body::tolvaIsNotReady()
{
    logArea->log(tr("Tolva: %1").arg(ui.TolvaCtrl->statusText()), kRed);
    // Without the bus the target cannot be reached, and the server that would
    // report its departure is gone: "Target is Ready" must not stay lit. The
    // next login asks for the node list again and makes it ready anew.
    emit setTargetIsReady(false);
}

void Body::noticedSendResult(const QString &result)
{
    // The client's result of a send that found no connection; the line itself
    // went nowhere, so this is the only trace of it.
    if (result.startsWith(QLatin1String("Tolva is not ready (")))
        logArea->log(result, kRed);
}

void Body::anyAsk(AMsg msg)
{
    ui.TolvaCtrl->sendAns(msg, QStringLiteral("Er: Unknown Command"));
    logArea->log(QStringLiteral("**** Er: %1").arg(msg.cmd), Qt::black);
}

void Body::anyAns(AMsg msg)
{
    // A refusal is logged whoever sends it: the target, or the server for a
    // target that is not there. Only the target's own answers steer the run:
    // any node can send a line that reads like one.
    const bool fromTarget = msg.fromNode == targetName;
    if (msg.paramText.trimmed().startsWith(QLatin1String("Er:"))) {
        logArea->log(tr("%1 refused %2:%3").arg(msg.from, msg.cmd, msg.paramText), kRed);
        if (fromTarget)
            emit refusedByTarget(msg.cmd);
    }
    switch (msg.cmdId) {
    case IdGetBlockNum:
        if (fromTarget)
            ansGetBlockNum(msg);
        break;
    case IdListNodes:
        ansListNodes(msg);
        break;
    default:
        break;
    }
}

void Body::anyEvent(AMsg msg)
{
    if (msg.from == targetName)
        logArea->log(tr("Event from %1: %2%3").arg(msg.from, msg.cmd, msg.paramText),
                     isErrorEvent(msg.cmdId) ? kRed : QColor(Qt::black));
    switch (msg.cmdId) {
    case IdConnected:
        evConnected(msg);
        break;
    case IdDisconnected:
        evDisconnected(msg);
        break;
    case IdEvChangerMoving:
        evChangerMoving(msg);
        break;
    case IdEvMovingCurTh:
        evMovingCurTh(msg);
        break;
    case IdEvStartMeas:
    case IdEvStartQMeas:
        evStartMeas(msg);
        break;
    case IdEvEndMeas:
    case IdEvEndQMeas:
        evEndMeas(msg);
        break;
    case IdEvErrStartXAFSMeas:
        evErrStartXAFSMeas(msg);
        break;
    case IdEvErrRemote:
        evErrRemote(msg);
        break;
    case IdEvErrChangerMove:
        evErrChangerMove(msg);
        break;
    default:
        break;
    }
}

void Body::evConnected(AMsg msg)
{
    if (msg.from == targetName)
        targetIsReady();
}

void Body::evDisconnected(AMsg msg)
{
    if (msg.from == targetName)
        emit setTargetIsReady(false);
}

void Body::evChangerMoving(AMsg msg)
{
    if (msg.from == targetName)
        emit setSHolderIsMoving(firstParamIsOne(msg));
}

void Body::evMovingCurTh(AMsg msg)
{
    if (msg.from == targetName)
        emit setMainThIsMoving(firstParamIsOne(msg));
}

void Body::evStartMeas(AMsg msg)
{
    if (msg.from == targetName)
        emit setInXafsMeas(true);
}

void Body::evEndMeas(AMsg msg)
{
    if (msg.from == targetName)
        emit setInXafsMeas(false);
}

void Body::evErrStartXAFSMeas(AMsg msg)
{
    if (msg.from == targetName)
        emit setErrStartingXAFSMeas(true, msg.paramText);
}

void Body::evErrRemote(AMsg msg)
{
    if (msg.from == targetName)
        emit setErrRemote(true, msg.paramText);
}

void Body::evErrChangerMove(AMsg msg)
{
    if (msg.from == targetName)
        emit setErrSHolderMove(true, msg.paramText);
}

void Body::ansListNodes(AMsg msg)
{
    for (const QString &p : std::as_const(msg.params)) {
        if (p == targetName)
            targetIsReady();
    }
}

void Body::ansGetBlockNum(AMsg msg)
{
    // Anything but a number is no count (the engine refuses -1); a huge one
    // stays huge so that the engine refuses it too.
    bool ok = false;
    const qlonglong n = msg.firstParam.toLongLong(&ok);
    if (!ok || n < 0)
        logArea->log(tr("%1 answered GetBlockNum with \"%2\", which is no number of blocks.")
                         .arg(msg.from, msg.paramText.trimmed()),
                     kRed);
    emit setReceivedBlockNum(!ok || n < 0 ? -1 : int(qMin<qlonglong>(n, INT_MAX)));
}
