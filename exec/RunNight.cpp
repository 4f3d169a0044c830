// SPDX-License-Identifier: GPL-3.0-or-later
// The run controller's record of the whole night: the run's start and end
// in the journal and the run's copy, the one-line summary, the journal's rows
// for each entry, and the run status peers read.
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
    m_reportPath = writeReport(m_runStart);
    if (!m_reportPath.isEmpty())
        emit reportWritten(m_reportPath);
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

QString RunController::writeReport(const QDateTime &run)
{
    QString path, error;
    if (!NightReport::write(m_journal, run, &path, &error)) {
        log(error, Severity::Error);
        return QString();
    }
    log(tr("Night report: %1").arg(path));
    return path;
}
