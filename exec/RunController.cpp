#include "RunController.h"

#include "ConfigStore.h"
#include "EntryCheck.h"
#include "Estimate.h"
#include "ExecPlan.h"
#include "Notifier.h"
#include "RunEstimate.h"
#include "Watchdog.h"

#include <QThread>
#include <QTimer>

#include <climits>

namespace {

// Ids of the bus client's node command table (the bus session registers them).
namespace BusCmd {
enum : qint32 {
    Connected = 3,
    Disconnected = 4,
    EvChangerMoving = 5,
    EvMovingCurTh = 6,
    EvStartMeas = 7,
    EvEndMeas = 8,
    EvStartQMeas = 9,
    EvEndQMeas = 10,
    EvErrStartXAFSMeas = 11,
    EvErrRemote = 12,
    EvErrChangerMove = 13,
    ListNodes = 14,
    GetBlockNum = 16,
};
}

// A prompt that has waited this long tells someone away from the screen.
constexpr int kPromptNotifyMs = 5 * 60 * 1000;

// ISO 8601 with the offset, as the journal writes its times.
QDateTime now()
{
    const QDateTime t = QDateTime::currentDateTime();
    return t.toOffsetFromUtc(t.offsetFromUtc());
}

QString journalWord(EntryState state)
{
    switch (state) {
    case EntryState::Done:
        return QStringLiteral("done");
    case EntryState::Failed:
        return QStringLiteral("failed");
    case EntryState::Skipped:
        return QStringLiteral("skipped");
    case EntryState::Stopped:
        return QStringLiteral("stopped");
    case EntryState::Pending:
    case EntryState::Running:
        break;
    }
    return QString();
}

// NOTIFY_CMD's program and arguments, quotes removed.
QStringList commandFrom(const QString &rest)
{
    QStringList out;
    QString text = rest.trimmed();
    while (!text.isEmpty()) {
        QString remainder;
        const QString item = takeItem(text, &remainder);
        if (!item.isEmpty())
            out << item;
        if (remainder.trimmed() == text)
            break;
        text = remainder.trimmed();
    }
    return out;
}

QString numberList(const QList<int> &numbers)
{
    QStringList out;
    for (int n : numbers)
        out << QString::number(n);
    return out.join(QStringLiteral(", "));
}

QString oneLine(QString text)
{
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

bool isErrorEvent(qint32 id)
{
    return id == BusCmd::Disconnected || id == BusCmd::EvErrStartXAFSMeas ||
           id == BusCmd::EvErrRemote || id == BusCmd::EvErrChangerMove;
}

} // namespace

RunController::RunController(ScheduleModel *list, ScheduleModel *cutBuffer, QObject *parent)
    : QObject(parent), m_list(list), m_cutBuffer(cutBuffer)
{
    Exec::registerMetaTypes();
    m_exec = new Exec;
    m_thread = new QThread(this);
    m_exec->moveToThread(m_thread);
    m_thread->start();
    m_notifier = new Notifier(this);
    connect(m_notifier, &Notifier::failed, this,
            [this](const QString &msg) { log(msg, Severity::Error); });

    Exec *e = m_exec;
    connect(e, &Exec::sendCmd, this, &RunController::sendCmd);
    connect(e, &Exec::log, this, &RunController::logged);
    connect(e, &Exec::flagChanged, this, &RunController::flagChanged);
    connect(e, &Exec::errMsgChanged, this, &RunController::errMsgChanged);
    connect(e, &Exec::errRemoteMsgChanged, this, &RunController::errRemoteMsgChanged);
    connect(e, &Exec::runningChanged, this, &RunController::busyChanged);
    connect(e, &Exec::finished, this, &RunController::engineFinished);
    connect(e, &Exec::executing, this, &RunController::engineExecuting);
    connect(e, &Exec::stageShown, this, &RunController::engineStage);
    connect(e, &Exec::entryEnded, this, &RunController::engineEntryEnded);
    connect(e, &Exec::measuredAs, this, &RunController::engineMeasuredAs);
    connect(e, &Exec::goesOnAt, this, &RunController::engineGoesOnAt);
    connect(e, &Exec::stalled, this, &RunController::engineStalled);
    connect(e, &Exec::targetLost, this, &RunController::engineTargetLost);
    connect(e, &Exec::newPrompt, this, &RunController::enginePrompt);
    connect(this, &RunController::startExec, e, &Exec::start);
    connect(this, &RunController::updateExec, e, &Exec::updateEntry);
    connect(this, &RunController::stopExec, e, &Exec::stop);
    connect(this, &RunController::resumeExec, e, &Exec::resume);
    connect(this, &RunController::setTargetIsReady, e, &Exec::setTargetIsReady);
    connect(this, &RunController::setSHolderIsMoving, e, &Exec::setSHolderIsMoving);
    connect(this, &RunController::setMainThIsMoving, e, &Exec::setMainThIsMoving);
    connect(this, &RunController::setInXafsMeas, e, &Exec::setInXafsMeas);
    connect(this, &RunController::setErrStartingXAFSMeas, e, &Exec::setErrStartingXAFSMeas);
    connect(this, &RunController::setErrRemote, e, &Exec::setErrRemote);
    connect(this, &RunController::setErrSHolderMove, e, &Exec::setErrSHolderMove);
    connect(this, &RunController::setReceivedBlockNum, e, &Exec::setReceivedBlockNum);
    connect(this, &RunController::refusedByTarget, e, &Exec::noticedRefusal);
    connect(m_list, &ScheduleModel::entryChanged, this, &RunController::entryEdited);
    // The engine counts the prompts open: none so far.
    QMetaObject::invokeMethod(e, [e] { e->noticedPrompterStat(0); }, Qt::QueuedConnection);

    m_statusClock = new QTimer(this);
    m_statusClock->setInterval(1000);
    connect(m_statusClock, &QTimer::timeout, this, &RunController::updateRunStatus);
    m_promptClock = new QTimer(this);
    m_promptClock->setSingleShot(true);
    m_promptClock->setInterval(kPromptNotifyMs);
    connect(m_promptClock, &QTimer::timeout, this, &RunController::promptWaited);

    m_list->setEstimator([this](const Entry &entry) { return estimateOf(entry); });
}

RunController::~RunController()
{
    shutdown();
    // The night's last notification is on its way: it must not die with us.
    m_notifier->waitForRunning();
    delete m_exec; // its thread has finished: nothing runs in it any more
}

// The engine's timer has to be stopped in its own thread, so the stop is
// queued to the worker ahead of the request to end it. The engine never waits
// for the GUI thread, so joining cannot deadlock. Nothing the engine says from
// now on reaches anyone, who may be half destroyed.
void RunController::shutdown()
{
    if (!m_thread->isRunning())
        return;
    disconnect(m_exec, nullptr, nullptr, nullptr);
    Exec *e = m_exec;
    QMetaObject::invokeMethod(
        e,
        [e] {
            e->stop(true);
            QThread::currentThread()->quit();
        },
        Qt::QueuedConnection);
    Exec::stopThread(m_thread);
}

void RunController::configure(const ConfigStore &cfg)
{
    m_targetName = cfg.valueNoCase(QStringLiteral("TARGET_NAME_ON_TOLVA"), QStringLiteral("Dorvan"));
    m_remoteAddr = QStringLiteral("%1.remote").arg(m_targetName);
    m_initCmdsOnTolva = cfg.allRests(QStringLiteral("INIT_CMDS_ON_CONNECTED_TO_TOLVA"));
    m_initCmdsOnTarget = cfg.allRests(QStringLiteral("INIT_CMDS_ON_CONNECTED_TO_TARGET"));
    const QString remote = m_remoteAddr;
    Exec *e = m_exec;
    QMetaObject::invokeMethod(e, [e, remote] { e->setup(remote); }, Qt::QueuedConnection);

    double seconds = Watchdog::defaultLimitSeconds;
    const QString text = cfg.valueNoCase(QStringLiteral("WAIT_LIMIT"));
    if (!text.isEmpty()) {
        bool ok = false;
        const double v = text.trimmed().toDouble(&ok);
        if (ok && v > 0)
            seconds = v;
        else
            log(tr("WAIT_LIMIT %1 is not a number of seconds above 0; %2 s is used.")
                    .arg(text)
                    .arg(seconds),
                Severity::Error);
    }
    m_waitLimit = seconds;
    QMetaObject::invokeMethod(e, [e, seconds] { e->setWaitLimit(seconds); }, Qt::QueuedConnection);

    const QString onError =
        cfg.valueNoCase(QStringLiteral("ON_ENTRY_ERROR"), QStringLiteral("stop")).toLower();
    if (onError != QLatin1String("skip") && onError != QLatin1String("stop"))
        log(tr("ON_ENTRY_ERROR %1 is neither stop nor skip; stop is used.").arg(onError),
            Severity::Error);
    setSkipFailed(onError == QLatin1String("skip"));

    m_journal = cfg.valueNoCase(QStringLiteral("JOURNAL"), RunJournal::defaultPath());
    // A row torn by an earlier crash is named, once per start, and skipped.
    QStringList torn;
    m_durationRatios = RunJournal::durationRatios(RunJournal::read(m_journal, &torn));
    for (const QString &w : std::as_const(torn))
        log(w, Severity::Error);
    m_list->setEstimator([this](const Entry &entry) { return estimateOf(entry); });

    const QStringList notifyCmds = cfg.allRests(QStringLiteral("NOTIFY_CMD"));
    if (!notifyCmds.isEmpty())
        m_notifier->setCommand(commandFrom(notifyCmds.last()));
    updateRunStatus();
}

double RunController::estimateOf(const Entry &e) const
{
    return estimateEntries({e}, m_durationRatios, Estimate::Params::fromConfig(config()))
        .constFirst();
}

void RunController::log(const QString &line, Severity severity)
{
    emit logged(line, severity);
}

int RunController::runningRow() const
{
    return m_list->rowOf(m_runIds.value(m_runningIndex));
}

// ---- Operator's controls -------------------------------------------------------

bool RunController::start()
{
    // The run goes on unchanged: a second list handed over now would name
    // other entries than the ones the engine runs. Only a run held by a lost
    // target may begin anew.
    if (m_runGoing && m_stage != Stage::TargetLost) {
        log(tr("A run is going: Start does nothing. Stop it first, or use Resume."),
            Severity::Error);
        return false;
    }
    const QList<Entry> entries = m_list->entries();
    // An entry with errors would send garbage to the target (an empty
    // energy, a holder it cannot take): the run does not begin at all.
    int firstBad = -1;
    for (int i = 0; i < entries.size(); ++i) {
        if (!entries.at(i).exec)
            continue;
        const QStringList errors = EntryCheck::errorsAtStart(entries.at(i));
        if (errors.isEmpty())
            continue;
        if (firstBad < 0)
            firstBad = i;
        log(tr("Entry %1: %2").arg(i + 1).arg(errors.first()), Severity::Error);
    }
    if (firstBad >= 0) {
        log(tr("The run is not started: correct the entries above first."), Severity::Error);
        emit startRefused(firstBad);
        emit runFinished(false);
        return false;
    }

    m_runIds = m_list->ids();
    m_runTicked.clear();
    m_runNumbers.clear();
    m_unmeasured.clear();
    const bool resumedCopy = m_runIds == m_copyIds;
    for (int i = 0; i < entries.size(); ++i) {
        m_runTicked.append(entries.at(i).exec);
        m_runNumbers.append(resumedCopy ? m_copyNumbers.at(i) : i + 1);
    }
    int first = 0;
    while (first < entries.size() && !entries.at(first).exec)
        ++first;
    if (first < entries.size())
        log(tr("The run begins with entry %1.").arg(runNumber(first)));
    // The run this list was resumed from ends here; the new run carries on.
    if (m_resumedRun.isValid()) {
        appendJournal(RunRecovery::endedRow(m_resumedRun, QStringLiteral("resumed"),
                                            QDateTime::currentDateTime()));
        m_resumedRun = {};
    }
    beginRunRecord(entries);
    emit runStarted();
    emit startExec(entries);
    return true;
}

void RunController::stop()
{
    // Told apart from a run that finished by itself when the engine reports
    // the end.
    if (m_runGoing)
        m_stoppedByOperator = true;
    emit stopExec(true);
}

void RunController::resume(Exec::ResumeMode mode)
{
    // A run that had ended goes on: its journal says so, so that a crash
    // from here on is seen as one at the next start.
    if (!m_runGoing && m_runStart.isValid() && !m_runCopy.isEmpty())
        appendJournal(RunRecovery::startedRow(m_runStart, m_runCopy));
    if (!m_runGoing && m_runStart.isValid())
        m_statusClock->start();
    m_runGoing = true;
    m_stoppedByOperator = false;
    m_unmeasured.clear();
    updateRunStatus();
    emit resumeExec(mode);
}

void RunController::setStopAfterEntry(bool on)
{
    m_stopAfterEntry = on;
    Exec *e = m_exec;
    QMetaObject::invokeMethod(e, [e, on] { e->setStopAfterEntry(on); }, Qt::QueuedConnection);
}

void RunController::setSkipFailed(bool skip)
{
    m_skipFailed = skip;
    Exec *e = m_exec;
    QMetaObject::invokeMethod(e, [e, skip] { e->setSkipFailedEntries(skip); },
                              Qt::QueuedConnection);
}

void RunController::setEndRunOnPassedLimit(bool on)
{
    Exec *e = m_exec;
    QMetaObject::invokeMethod(e, [e, on] { e->setEndRunOnPassedLimit(on); },
                              Qt::QueuedConnection);
}

void RunController::close()
{
    // Closed on purpose: not a run for the next start to resume.
    if (m_runGoing && m_runStart.isValid())
        appendJournal(RunRecovery::endedRow(m_runStart, QStringLiteral("stopped"), now()));
    shutdown();
}

// ---- Prompts -------------------------------------------------------------------

void RunController::enginePrompt(const QString &msg, PromptType type)
{
    Prompt p{++m_lastPromptId, msg, type};
    m_prompts.append(p);
    log(tr("Prompt: %1").arg(oneLine(msg)));
    Exec *e = m_exec;
    const int count = int(m_prompts.size());
    QMetaObject::invokeMethod(e, [e, count] { e->noticedPrompterStat(count); },
                              Qt::QueuedConnection);
    if (!m_promptClock->isActive())
        m_promptClock->start();
    updateRunStatus();
    emit promptRaised(p.id, msg);
}

void RunController::confirmPrompt(int id)
{
    for (int i = 0; i < m_prompts.size(); ++i) {
        if (m_prompts.at(i).id != id)
            continue;
        const Prompt p = m_prompts.takeAt(i);
        log(tr("Prompt confirmed: %1").arg(oneLine(p.msg)));
        Exec *e = m_exec;
        const int count = int(m_prompts.size());
        const PromptType type = p.type;
        QMetaObject::invokeMethod(
            e,
            [e, type, count] {
                e->noticedPromptOk(type);
                e->noticedPrompterStat(count);
            },
            Qt::QueuedConnection);
        if (m_prompts.isEmpty())
            m_promptClock->stop();
        updateRunStatus();
        emit promptClosed(id);
        return;
    }
}

void RunController::promptWaited()
{
    if (m_prompts.isEmpty())
        return;
    const QString text =
        tr("A prompt has waited for the operator for 5 minutes; the run is held: %1")
            .arg(m_prompts.first().msg);
    m_notifier->notify(QStringLiteral("prompt"), text);
    emit promptWaitedLong();
}

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
    // Without the bus the target cannot be reached, and the server that would
    // report its departure is gone: "Target is Ready" must not stay lit. The
    // next login asks for the node list again and makes it ready anew.
    setTargetReady(false);
}

void RunController::setTargetReady(bool ready)
{
    if (ready) {
        emit sendCmd(QString(), m_remoteAddr, QStringLiteral("RemoteOn"));
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
    if (msg.cmdId == BusCmd::ListNodes) {
        if (msg.params.contains(m_targetName))
            setTargetReady(true);
    } else if (msg.cmdId == BusCmd::GetBlockNum && fromTarget) {
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
    case BusCmd::Connected:
        setTargetReady(true);
        return;
    case BusCmd::Disconnected:
        setTargetReady(false);
        return;
    case BusCmd::EvChangerMoving:
        emit setSHolderIsMoving(on);
        return;
    case BusCmd::EvMovingCurTh:
        emit setMainThIsMoving(on);
        return;
    case BusCmd::EvStartMeas:
    case BusCmd::EvStartQMeas:
        emit setInXafsMeas(true);
        return;
    case BusCmd::EvEndMeas:
    case BusCmd::EvEndQMeas:
        emit setInXafsMeas(false);
        return;
    case BusCmd::EvErrStartXAFSMeas:
        emit setErrStartingXAFSMeas(true, msg.paramText);
        return;
    case BusCmd::EvErrRemote:
        emit setErrRemote(true, msg.paramText);
        return;
    case BusCmd::EvErrChangerMove:
        emit setErrSHolderMove(true, msg.paramText);
        return;
    default:
        return;
    }
}

// ---- What the engine reports -----------------------------------------------------

ScheduleModel::Outcome RunController::outcomeOf(int idx) const
{
    const int row = m_list->rowOf(m_runIds.value(idx));
    return row < 0 ? ScheduleModel::Outcome() : m_list->outcome(row);
}

void RunController::setOutcome(int idx, const ScheduleModel::Outcome &o)
{
    // An entry cut from the list during the run keeps no outcome: the
    // journal still gets its row.
    m_list->setOutcome(m_list->rowOf(m_runIds.value(idx)), o);
}

void RunController::engineExecuting(int idx)
{
    // The entries before keep the outcomes of how they ended.
    if (idx >= 0 && idx < m_runIds.size()) {
        ScheduleModel::Outcome o;
        o.state = EntryState::Running;
        o.text = stageName(m_stage);
        o.started = QDateTime::currentDateTime();
        setOutcome(idx, o);
    }
    m_runningIndex = idx;
    m_stalled = false;
    m_eta.entryBegan(idx, QDateTime::currentDateTime());
    updateRunStatus();
    emit entryRunning(runningRow());
}

void RunController::engineStage(int stage)
{
    if (stage != m_stage)
        m_stalled = false; // the wait that passed its limit is over
    const bool changed = stage != m_stage;
    m_stage = stage;
    if (!changed)
        return;
    ScheduleModel::Outcome o = outcomeOf(m_runningIndex);
    if (m_runningIndex >= 0 && o.state == EntryState::Running) {
        o.text = stageName(stage);
        setOutcome(m_runningIndex, o);
    }
    updateRunStatus();
    emit stageChanged(stage);
}

void RunController::engineFinished(bool ok)
{
    const int idx = m_runningIndex;
    if (idx >= 0 && idx < m_runIds.size()) {
        // An entry that ended as the engine reported keeps that outcome.
        ScheduleModel::Outcome o = outcomeOf(idx);
        const EntryState was = m_states.value(m_runIds.at(idx), EntryState::Pending);
        if (was == EntryState::Pending || was == EntryState::Running) {
            o.state = ok ? EntryState::Done : EntryState::Failed;
            if (o.state == EntryState::Done)
                o.text.clear();
            setOutcome(idx, o);
        }
        if (!ok)
            log(tr("Run ended on an error at entry %1.").arg(runNumber(idx)), Severity::Error);
        else if (m_stoppedByOperator)
            log(tr("Run stopped by the operator at entry %1.").arg(runNumber(idx)));
    }
    // A run that ended by itself finished only when every ticked entry of it
    // was measured, failed or was skipped.
    m_unmeasured.clear();
    if (ok && !m_stoppedByOperator) {
        for (int i = 0; i < m_runIds.size(); ++i) {
            const EntryState st = m_states.value(m_runIds.at(i), EntryState::Pending);
            if (m_runTicked.value(i) && st != EntryState::Done && st != EntryState::Failed &&
                st != EntryState::Skipped)
                m_unmeasured.append(runNumber(i));
        }
        if (!m_unmeasured.isEmpty())
            log(tr("Run ended without measuring entries %1.").arg(numberList(m_unmeasured)),
                Severity::Error);
        else if (idx >= 0)
            log(tr("Run finished at entry %1.").arg(runNumber(idx)));
        else
            log(tr("Run finished."));
    }
    m_runningIndex = -1;
    endRunRecord(ok);
    emit runFinished(ok);
}

void RunController::engineEntryEnded(int idx, EntryState state, const QString &detail)
{
    if (idx < 0 || idx >= m_runIds.size())
        return;
    ScheduleModel::Outcome o = outcomeOf(idx);
    o.state = state;
    o.text = detail;
    if (state == EntryState::Skipped) {
        o.started = {};
        o.ended = {};
    } else {
        o.ended = QDateTime::currentDateTime();
    }
    m_states.insert(m_runIds.at(idx), state);
    const QDateTime started = o.started;
    setOutcome(idx, o);
    if (state == EntryState::Done)
        ++m_doneCount;
    if (state == EntryState::Failed) {
        ++m_failedCount;
        m_lastFailed = runNumber(idx);
        if (m_skipFailed)
            m_notifier->notify(QStringLiteral("failed"),
                               tr("Entry %1 failed: %2").arg(runNumber(idx)).arg(detail));
    }
    if (state != EntryState::Skipped)
        writeJournal(idx, state, detail, started);
    // The end moves with the entries that took longer than estimated.
    m_eta.entryBegan(-1, QDateTime::currentDateTime());
    updateRunStatus();
}

void RunController::engineMeasuredAs(int idx, const Entry &entry)
{
    // The list shows the blocks the target measures, read from the file;
    // the file itself stays what the entry names. Not an edit of the
    // schedule.
    const int row = m_list->rowOf(m_runIds.value(idx));
    if (row < 0)
        return;
    const Entry shown = m_list->entry(row);
    if (shown.blockDefType != EntryRows::FileBlocks || shown.blockDefFile != entry.blockDefFile)
        return;
    Entry updated = shown;
    updated.quickBlocks = entry.quickBlocks;
    updated.stepBlocks = entry.stepBlocks;
    m_list->showEntry(row, updated);
}

void RunController::engineGoesOnAt(int idx)
{
    if (idx < 0)
        log(tr("No ticked entry is left to measure; the run ends."));
    else
        log(tr("The run goes on with entry %1.").arg(runNumber(idx)));
}

void RunController::entryEdited(ScheduleModel::Id id)
{
    // An entry of the run that the operator edits counts from the next time
    // the engine begins it; entries added since the start are not the run's.
    const int idx = int(m_runIds.indexOf(id));
    const int row = m_list->rowOf(id);
    if (idx < 0 || row < 0)
        return;
    emit updateExec(idx, m_list->entry(row));
}

// The engine has logged the line already: the operator is told once.
void RunController::engineStalled(const QString &why)
{
    m_stalled = true;
    updateRunStatus();
    alertOperator(QStringLiteral("stalled"), why);
}

void RunController::engineTargetLost(const QString &why)
{
    alertOperator(QStringLiteral("target-lost"), why);
}

void RunController::alertOperator(const QString &event, const QString &text)
{
    m_notifier->notify(event, text);
    emit alert(text);
}

// ---- The night's record ------------------------------------------------------------

void RunController::beginRunRecord(const QList<Entry> &entries)
{
    m_list->clearOutcomes();
    m_states.clear();
    m_failedCount = 0;
    m_lastFailed = 0;
    m_doneCount = 0;
    m_runningIndex = -1;
    m_runGoing = true;
    m_stoppedByOperator = false;
    m_journalWarned = false;
    // The journal of earlier nights tells how long each scan type really takes.
    m_durationRatios = RunJournal::durationRatios(RunJournal::read(m_journal));
    m_list->setEstimator([this](const Entry &entry) { return estimateOf(entry); });
    m_runEstimates = estimateEntries(entries, m_durationRatios,
                                     Estimate::Params::fromConfig(config()));
    for (int i = 0; i < entries.size(); ++i) {
        if (!entries.at(i).exec)
            m_runEstimates[i] = 0;
    }
    m_runStart = now();
    writeRunCopy(entries);
    m_eta.start(m_runStart, m_runEstimates);
    m_statusClock->start();
    updateRunStatus();
}

void RunController::endRunRecord(bool ok)
{
    m_runGoing = false;
    m_statusClock->stop();
    m_runningIndex = -1;
    if (m_stopAfterEntry) {
        setStopAfterEntry(false); // it was for this run
        emit stopAfterEntryCleared();
    }
    appendJournal(RunRecovery::endedRow(m_runStart,
                                        !ok                       ? QStringLiteral("failed")
                                        : m_stoppedByOperator     ? QStringLiteral("stopped")
                                        : !m_unmeasured.isEmpty() ? QStringLiteral("incomplete")
                                                                  : QStringLiteral("finished"),
                                        now()));
    const QString took = Estimate::format(double(m_runStart.secsTo(now())));
    if (!ok) {
        alertOperator(QStringLiteral("failed"),
                      tr("The run ended on an error at entry %1.").arg(m_lastFailed));
    } else if (!m_unmeasured.isEmpty()) {
        alertOperator(
            QStringLiteral("failed"),
            tr("The run ended without measuring entries %1.").arg(numberList(m_unmeasured)));
    } else if (!m_stoppedByOperator) {
        m_notifier->notify(QStringLiteral("finished"),
                           tr("Run finished: %1 entries done, %2 failed, in %3.")
                               .arg(m_doneCount)
                               .arg(m_failedCount)
                               .arg(took));
    }
    updateRunStatus();
}

void RunController::writeJournal(int idx, EntryState state, const QString &detail,
                                 const QDateTime &started)
{
    const int row = m_list->rowOf(m_runIds.value(idx));
    const Entry entry = row >= 0 ? m_list->entry(row) : m_runEntries.value(idx);
    JournalRow r;
    r.run = m_runStart;
    r.entry = runNumber(idx);
    r.holder = entry.holder;
    r.sample = entry.sampleId;
    r.file = entry.dataFile;
    r.element = entry.elementSymbol();
    r.edge = entry.targetCore;
    r.scan = scanName(entry);
    r.ended = now();
    r.started = started.isValid() ? started.toOffsetFromUtc(r.ended.offsetFromUtc()) : r.ended;
    r.seconds = r.started.msecsTo(r.ended) / 1000.0;
    r.estimated = m_runEstimates.value(idx);
    r.outcome = journalWord(state);
    r.detail = detail;
    appendJournal(r);
}

void RunController::appendJournal(const JournalRow &row)
{
    QString error;
    if (RunJournal::append(m_journal, row, &error))
        return;
    // A journal that cannot be written never stops the night.
    log(error, Severity::Error);
    if (m_journalWarned)
        return;
    m_journalWarned = true;
    emit journalFailed(error);
}

void RunController::writeRunCopy(const QList<Entry> &entries)
{
    QList<Entry> ticked;
    QList<int> numbers;
    for (int i = 0; i < entries.size(); ++i) {
        if (entries.at(i).exec) {
            ticked << entries.at(i);
            numbers << runNumber(i);
        }
    }
    m_runEntries = entries;
    m_runCopy = RunRecovery::copyPathFor(m_journal, m_runStart);
    QString error;
    if (!RunRecovery::writeCopy(m_runCopy, ticked, numbers, &error, m_nightEarlier)) {
        // The night goes on; only a resume after a crash needs the copy.
        log(tr("%1; the run cannot be resumed after a crash.").arg(error), Severity::Error);
    }
    appendJournal(RunRecovery::startedRow(m_runStart, m_runCopy));
}

RunController::Times RunController::times(const QDateTime &t) const
{
    Times out;
    out.elapsed = m_eta.elapsed(t);
    out.entryLeft = m_eta.currentRemaining(t);
    out.end = m_eta.expectedEnd(t);
    return out;
}

void RunController::updateRunStatus()
{
    QString status = QStringLiteral("idle");
    // A run that cannot go on by itself says why: a peer watching the night
    // can tell a long scan from a run that needs someone.
    QString held;
    if (m_runGoing && !m_prompts.isEmpty())
        held = QStringLiteral("prompt");
    else if (m_runGoing && m_stage == Stage::TargetLost)
        held = QStringLiteral("target-lost");
    else if (m_runGoing && m_stage == Stage::WaitingForTarget)
        held = QStringLiteral("waiting-for-target");
    if (!held.isEmpty()) {
        status = QStringLiteral("held ") + held;
    } else if (m_runGoing) {
        // Words, not the window's stage names: peers parse this whatever
        // language the window speaks.
        status = QStringLiteral("%1 %2/%3 %4 ETA %5")
                     .arg(m_stalled ? QStringLiteral("stalled") : QStringLiteral("running"))
                     .arg(runNumber(m_runningIndex))
                     .arg(m_runNumbers.isEmpty() ? int(m_runIds.size()) : m_runNumbers.last())
                     .arg(stageWord(m_stage))
                     .arg(m_eta.expectedEnd(QDateTime::currentDateTime())
                              .toString(QStringLiteral("HH:mm")));
    } else if (m_failedCount > 0) {
        status = QStringLiteral("failed %1").arg(m_lastFailed);
    } else if (m_stoppedByOperator) {
        status = QStringLiteral("stopped");
    }
    if (status == m_runStatus)
        return;
    m_runStatus = status;
    emit runStatusChanged(status);
}

// ---- After a crash ---------------------------------------------------------------

RunRecovery::Unfinished RunController::unfinishedRun() const
{
    return RunRecovery::lastUnfinished(RunJournal::read(m_journal), m_journal);
}

RunController::Resumed RunController::resumeLastRun(bool fromNext)
{
    const RunRecovery::Unfinished run = unfinishedRun();
    if (!run.found)
        return Resumed::NothingToResume;
    return resumeRun(run, fromNext);
}

RunController::Resumed RunController::resumeRun(const RunRecovery::Unfinished &run, bool fromNext)
{
    const RunRecovery::Plan plan = RunRecovery::plan(run, fromNext);
    if (!plan.ok) {
        log(tr("The run of %1 cannot be resumed: %2")
                .arg(run.run.toString(Qt::ISODate), plan.error),
            Severity::Error);
        return Resumed::Failed;
    }
    if (plan.start < 0) {
        // Cut short after its last entry: nothing is left to measure.
        appendJournal(RunRecovery::endedRow(run.run, QStringLiteral("finished"),
                                            QDateTime::currentDateTime()));
        log(tr("The run of %1 had measured every entry; nothing is resumed.")
                .arg(run.run.toString(Qt::ISODate)));
        return Resumed::NothingToResume;
    }
    if (m_runGoing)
        return Resumed::Failed;
    // Whatever the list held is kept in the cut buffer, the latest on top.
    while (m_list->count() > 0)
        m_cutBuffer->put(0, m_list->take(m_list->count() - 1));
    m_list->setEntries(plan.entries);
    m_resumedRun = run.run;
    // Every record of the night keeps naming entries as the schedule did.
    m_copyIds = m_list->ids();
    m_copyNumbers = plan.numbers;
    m_nightEarlier = plan.earlier;
    QStringList done;
    for (int i : plan.done)
        done << QString::number(plan.numbers.value(i, i + 1));
    log(tr("Resuming the run of %1 from its copy %2: entries done and unticked: %3; "
           "the run goes on at entry %4.")
            .arg(run.run.toString(Qt::ISODate), run.copyPath,
                 done.isEmpty() ? tr("none") : done.join(QStringLiteral(", ")))
            .arg(plan.numbers.value(plan.start, plan.start + 1)));
    for (int i : plan.passed)
        log(tr("Entry %1 was not done in that run and is unticked; tick it to measure it again.")
                .arg(plan.numbers.value(i, i + 1)));
    return Resumed::Yes;
}

void RunController::declineRun(const RunRecovery::Unfinished &run)
{
    // Closed in the journal, so that it is not offered again.
    appendJournal(RunRecovery::endedRow(run.run, QStringLiteral("not resumed"),
                                        QDateTime::currentDateTime()));
    log(tr("The run of %1 is not resumed.").arg(run.run.toString(Qt::ISODate)));
}

void RunController::newNight()
{
    m_copyIds.clear();
    m_copyNumbers.clear();
    m_nightEarlier.clear();
}
