// SPDX-License-Identifier: GPL-3.0-or-later
// The run controller and what the engine reports about each entry: the
// entry's outcome in the list, its journal row, the episodes that cost time
// (a stall, a lost target, a repeat, the deadline) and the notifications.
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
            m_states.insert(m_runIds.at(idx), o.state); // the list and the night agree
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
