// The run controller's record of the night: what the engine reports about
// each entry becomes the entry's outcome in the list, a journal row, a
// notification and the run status peers read; and a night cut short by a
// crash is taken up again from the journal and the run's copy.
#include "RunController.h"

#include "ConfigStore.h"
#include "Estimate.h"
#include "ExecPlan.h"
#include "NightReport.h"
#include "Notifier.h"
#include "RunEstimate.h"

#include <QTimer>

namespace {

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

} // namespace

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
    // Begun (again): its time and its waits count from now.
    m_operatorWait = 0;
    m_targetWait = 0;
    m_operatorSince = {};
    m_targetSince = {};
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
    noteWaits();
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
    noteWaits();
    ScheduleModel::Outcome o = outcomeOf(m_runningIndex);
    if (m_runningIndex >= 0 && o.state == EntryState::Running && m_prompts.isEmpty()) {
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
        if (m_endedByDeadline)
            log(tr("Run finished by the deadline %1.")
                    .arg(m_deadline.toString(QStringLiteral("HH:mm"))));
        else if (!m_unmeasured.isEmpty())
            log(tr("Run ended without measuring entries %1.")
                    .arg(RunRecovery::numberList(m_unmeasured)),
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
    // Skipped for a reason (the deadline), not merely unticked: the night's
    // record says why it was not measured.
    if (state != EntryState::Skipped || !detail.isEmpty())
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
    // The deadline is weighed with the entries as they are now.
    QList<Entry> run;
    for (int i = 0; i < m_runIds.size(); ++i) {
        const int r = m_list->rowOf(m_runIds.at(i));
        run << (r >= 0 ? m_list->entry(r) : m_runEntries.value(i));
    }
    m_runEstimates = RunEstimate::estimateList(run, m_estParams, m_calibration);
    for (int i = 0; i < run.size(); ++i) {
        if (!run.at(i).exec)
            m_runEstimates[i] = {};
    }
    sendDeadline();
}

// The engine has logged the line already: the operator is told once, and
// the journal keeps the episode for the night's record.
void RunController::engineStalled(const QString &why)
{
    m_stalled = true;
    updateRunStatus();
    journalEpisode(QStringLiteral("stalled"), m_runningIndex, why);
    alertOperator(QStringLiteral("stalled"), why);
}

void RunController::engineTargetLost(const QString &why)
{
    m_lostAt = QDateTime::currentDateTime();
    journalEpisode(QStringLiteral("target-lost"), m_runningIndex, why);
    alertOperator(QStringLiteral("target-lost"), why);
}

void RunController::engineRepeated(int idx, int attempt)
{
    const double away =
        m_lostAt.isValid() ? m_lostAt.msecsTo(QDateTime::currentDateTime()) / 1000.0 : 0;
    m_lostAt = {};
    JournalRow r = episodeRow(QStringLiteral("repeat"), idx,
                              tr("the target was back after %1 s; attempt %2")
                                  .arg(QString::number(away, 'f', 0))
                                  .arg(attempt));
    r.seconds = away;
    appendJournal(r);
}

void RunController::engineDeadline(int idx, const QString &detail)
{
    m_endedByDeadline = true;
    QList<int> numbers;
    for (int i = idx; i < m_runIds.size(); ++i) {
        if (m_runTicked.value(i))
            numbers << runNumber(i);
    }
    log(tr("Entry %1 (estimated %2) %3 (END_BY): entries %4 are not begun; the run ends.")
            .arg(runNumber(idx))
            .arg(Estimate::format(m_runEstimates.value(idx)), detail,
                 RunRecovery::numberList(numbers)));
}

void RunController::noteWaits()
{
    const QDateTime t = QDateTime::currentDateTime();
    const bool entry = m_runGoing && m_runningIndex >= 0;
    const bool operatorWaits = entry && !m_prompts.isEmpty();
    const bool targetWaits =
        entry && (m_stage == Stage::WaitingForTarget || m_stage == Stage::TargetLost);
    if (operatorWaits != m_operatorSince.isValid()) {
        m_operatorWait = waitedFor(m_operatorSince, m_operatorWait, t);
        m_operatorSince = operatorWaits ? t : QDateTime();
    }
    if (targetWaits != m_targetSince.isValid()) {
        m_targetWait = waitedFor(m_targetSince, m_targetWait, t);
        m_targetSince = targetWaits ? t : QDateTime();
    }
}

double RunController::waitedFor(const QDateTime &since, double before, const QDateTime &t) const
{
    return before + (since.isValid() ? qMax<qint64>(0, since.msecsTo(t)) / 1000.0 : 0);
}

JournalRow RunController::episodeRow(const QString &what, int idx, const QString &detail) const
{
    JournalRow r;
    r.run = m_runStart;
    r.entry = idx >= 0 ? runNumber(idx) : 0;
    r.ended = now();
    r.started = r.ended;
    r.outcome = what;
    r.detail = detail;
    return r;
}

void RunController::journalEpisode(const QString &what, int idx, const QString &detail)
{
    if (m_runStart.isValid())
        appendJournal(episodeRow(what, idx, detail));
}

void RunController::alertOperator(const QString &event, const QString &text,
                                  const QString &attachment)
{
    m_notifier->notify(event, text, attachment);
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
    m_endedByDeadline = false;
    // The journal of earlier nights tells how long each kind of entry really
    // takes.
    m_calibration = RunEstimate::Calibration::fromJournal(RunJournal::read(m_journal));
    m_list->setEstimator(
        [this](const Entry &cur, const Entry *prev) { return estimateOf(cur, prev); });
    m_runEstimates = RunEstimate::estimateList(entries, m_estParams, m_calibration);
    for (int i = 0; i < entries.size(); ++i) {
        if (!entries.at(i).exec)
            m_runEstimates[i] = {};
    }
    m_runStart = now();
    m_deadline = RunEstimate::nextAt(m_runStart, m_endBy);
    if (m_deadline.isValid())
        log(tr("The run ends by %1 (END_BY): no entry is begun that would end later.")
                .arg(m_deadline.toString(QStringLiteral("yyyy-MM-dd HH:mm"))));
    sendDeadline();
    writeRunCopy(entries);
    QList<double> seconds;
    for (const Estimate::Figure &f : std::as_const(m_runEstimates))
        seconds << f.seconds;
    m_eta.start(m_runStart, seconds);
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
                                        : m_endedByDeadline ? QStringLiteral("finished-by-deadline")
                                                            : QStringLiteral("finished"),
                                        now()));
    summarize(ok);
    // The night's report goes with the notification, for whoever reads it
    // away from the screen.
    QString error;
    m_reportPath.clear();
    if (NightReport::write(m_journal, m_runStart, &m_reportPath, &error)) {
        log(tr("Night report: %1").arg(m_reportPath));
        emit reportWritten(m_reportPath);
    } else {
        log(error, Severity::Error);
    }
    const QString took = Estimate::format(double(m_runStart.secsTo(now())));
    if (!ok) {
        alertOperator(QStringLiteral("failed"),
                      tr("The run ended on an error at entry %1.").arg(m_lastFailed), m_reportPath);
    } else if (!m_unmeasured.isEmpty()) {
        alertOperator(QStringLiteral("failed"),
                      tr("The run ended without measuring entries %1.")
                          .arg(RunRecovery::numberList(m_unmeasured)),
                      m_reportPath);
    } else if (m_endedByDeadline && !m_stoppedByOperator) {
        m_notifier->notify(QStringLiteral("finished"),
                           tr("Run finished by the deadline %1: %2 entries done, %3 failed, %4 not "
                              "begun (they would end after it), in %5.")
                               .arg(m_deadline.toString(QStringLiteral("HH:mm")))
                               .arg(m_summary.done)
                               .arg(m_summary.failed)
                               .arg(m_summary.skipped)
                               .arg(took),
                           m_reportPath);
    } else if (!m_stoppedByOperator) {
        m_notifier->notify(QStringLiteral("finished"),
                           tr("Run finished: %1 entries done, %2 failed, in %3.")
                               .arg(m_doneCount)
                               .arg(m_failedCount)
                               .arg(took),
                           m_reportPath);
    }
    updateRunStatus();
}

void RunController::summarize(bool ok)
{
    Summary s;
    s.ending = !ok                   ? Ending::Failed
               : m_stoppedByOperator ? Ending::Stopped
               : m_endedByDeadline   ? Ending::FinishedByDeadline
                                     : Ending::Finished;
    for (int i = 0; i < m_runIds.size(); ++i) {
        if (!m_runTicked.value(i))
            continue;
        s.estimated += m_runEstimates.value(i).seconds;
        switch (m_states.value(m_runIds.at(i), EntryState::Pending)) {
        case EntryState::Done:
            ++s.done;
            break;
        case EntryState::Failed:
            ++s.failed;
            break;
        case EntryState::Skipped: // a ticked entry is skipped only by the deadline
            ++s.skipped;
            break;
        default:
            ++s.notMeasured;
            break;
        }
    }
    s.took = m_runStart.secsTo(now());
    m_summary = s;
}

void RunController::sendDeadline()
{
    Exec *e = m_exec;
    const QDateTime at = m_deadline;
    const QList<Estimate::Figure> figures = m_runEstimates;
    QMetaObject::invokeMethod(
        e, [e, at, figures] { e->setDeadline(at, figures); }, Qt::QueuedConnection);
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
    r.estimated = m_runEstimates.value(idx).seconds;
    r.model = m_runEstimates.value(idx).model;
    // Waits still going on end with the entry.
    if (idx == m_runningIndex) {
        const QDateTime t = QDateTime::currentDateTime();
        r.operatorWait = waitedFor(m_operatorSince, m_operatorWait, t);
        r.targetWait = waitedFor(m_targetSince, m_targetWait, t);
    }
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
    if (!m_runGoing && m_startsAt.isValid())
        status = QStringLiteral("held start-at ") + m_startsAt.toString(QStringLiteral("HH:mm"));
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
    } else if (m_startsAt.isValid()) {
        // held until its start time, said above
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
