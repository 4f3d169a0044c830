// SPDX-License-Identifier: GPL-3.0-or-later
// The night, without a widget: what runs which entry, and what everyone is
// told about it.
//
// One RunController lives beside the schedule model for the program's life.
// It owns the engine (Exec) and its worker thread, and stands between them
// and the rest:
// - the bus: the owner hands it the bus client's readiness and every answer,
//   event and question received (busReady(), busLost(), answered(),
//   eventReceived(), asked()); it
//   sends the login's and the target's init commands, turns the target's
//   events into the engine's flags, and says what the bus must send
//   (sendCmd), answer (answer) and advertise (busyChanged, runStatusChanged);
// - the schedule: start() hands the ticked entries to the engine as values
//   and remembers them by id, so that an edit during the run (the model's
//   entryChanged) reaches the engine's copy of that entry, whatever moved in
//   the list meanwhile; outcomes go back into the model beside the entries;
// - the night's record: the journal's rows, the run's copy of the schedule
//   for a resume after a crash, notifications (NOTIFY_CMD), the watchdog's
//   stalls and the expected end, all from the one estimate (RunEstimate.h);
// - the clock of the night: a start held until a time (-start-at, the run
//   bar's field) and a deadline (END_BY, -end-by) past which no entry is
//   begun;
// - the operator: log lines with a severity (logged), alerts that need
//   someone (alert), prompts as requests (promptRaised/confirmPrompt) that a
//   window or an unattended run answers.
// Nothing here decides by looking at a widget: the window shows what it is
// told and forwards clicks; an unattended run does the same without a screen.
#pragma once

#include "AMsg.h"
#include "Exec.h"
#include "RunEstimate.h"
#include "RunEta.h"
#include "RunJournal.h"
#include "RunRecovery.h"
#include "ScheduleModel.h"
#include "Severity.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QStringList>

class ConfigStore;
class Notifier;
class QThread;
class QTimer;

class RunController : public QObject
{
    Q_OBJECT
public:
    // list: the schedule; cutBuffer: where a resumed run puts entries that
    // were in the list (never lost).
    RunController(ScheduleModel *list, ScheduleModel *cutBuffer, QObject *parent = nullptr);
    ~RunController() override;

    // Reads the bus names, init commands, WAIT_LIMIT, ON_ENTRY_ERROR,
    // ON_TARGET_RETURN, MAX_ENTRY_ATTEMPTS, PROMPT_NOTIFY_AFTER, JOURNAL,
    // NOTIFY_CMD, the EST_ keys, END_BY (or -end-by) and -start-at; a value
    // it cannot use is logged and the default is taken.
    void configure(const ConfigStore &cfg);
    // Stops the engine's thread; nothing the engine says reaches anyone
    // afterwards. Also done by the destructor.
    void shutdown();

    Exec *engine() const { return m_exec; }
    QString targetName() const { return m_targetName; }
    double waitLimitSeconds() const { return m_waitLimit; }
    bool skipFailed() const { return m_skipFailed; }
    // Whether a wait past its limit ends the run (unattended) or only holds it.
    bool endsRunOnPassedLimit() const { return m_endRunOnPassedLimit; }
    QString journalPath() const { return m_journal; }
    bool targetReady() const { return m_targetReady; }

    // A run is going (from Start or Resume until the engine reports its end).
    bool runGoing() const { return m_runGoing; }
    int stage() const { return m_stage; }
    // The list's row of the entry being run; -1 when none.
    int runningRow() const;
    // What the operator must be asked before these rows leave the list (all:
    // the whole list, Clear): the running entry, or entries this run has
    // measured. Empty: nothing to ask.
    QString questionBeforeRemoving(const QList<int> &rows, bool all) const;
    // Entries that failed in the current or last run.
    int failedEntries() const { return m_failedCount; }
    // Numbers (from 1) of the ticked entries of the last run that ended well
    // although they were neither measured, nor failed, nor skipped.
    QList<int> unmeasuredEntries() const { return m_unmeasured; }
    // Numbers of the entries that failed or were not measured in the runs of
    // this night before the one resumed (-resume-last).
    QList<int> failedEarlierInTheNight() const { return m_nightEarlier; }
    QString runStatus() const { return m_runStatus; }

    // The one estimate of an entry after the ticked entry above it.
    Estimate::Figure estimateOf(const Entry &cur, const Entry *prev) const;

    // The deadline's time of day (invalid: none); a run that starts takes
    // the next such time as its deadline.
    QTime endBy() const { return m_endBy; }
    void setEndBy(const QTime &time);
    // The deadline of the run going or last run (invalid: none).
    QDateTime deadline() const { return m_deadline; }

    // The time of day Start waits for (invalid: Start begins at once).
    QTime startTime() const { return m_startTime; }
    void setStartTime(const QTime &time);
    // When a held Start begins the run (invalid: no start is held).
    QDateTime startsAt() const { return m_startsAt; }
    // Holds the start until at; Stop cancels it. false when the schedule
    // has errors (as Start).
    bool startAt(const QDateTime &at);

    // How the last run ended, for its one-line summary.
    enum class Ending { None, Finished, FinishedByDeadline, Stopped, Failed };
    struct Summary
    {
        Ending ending = Ending::None;
        int done = 0;
        int failed = 0;
        int skipped = 0;      // not begun: the deadline
        int notMeasured = 0;  // ticked, and neither of the above
        qint64 took = 0;      // seconds from the start to the end
        double estimated = 0; // the estimates of the ticked entries
    };
    Summary summary() const { return m_summary; }
    // The night report of the last run (NightReport.h), written at its end.
    QString reportPath() const { return m_reportPath; }
    // Writes the night report of a run of the journal (null: its last run)
    // beside it and logs where; empty when it could not (the reason logged).
    QString writeReport(const QDateTime &run = QDateTime());
    struct Times
    {
        qint64 elapsed = 0;
        qint64 entryLeft = 0;
        QDateTime end;
    };
    Times times(const QDateTime &now) const;

    struct Prompt
    {
        int id = 0;
        QString msg;
        PromptType type = PromptNone;
        QDateTime raised;
        // The first line of the message, which names the change.
        QString title() const { return msg.section(QLatin1Char('\n'), 0, 0); }
    };
    const QList<Prompt> &openPrompts() const { return m_prompts; }

    // After a crash: the journal's last run if it did not end.
    RunRecovery::Unfinished unfinishedRun() const;
    enum class Resumed { Yes, NothingToResume, Failed };
    // Puts the run's copy in the list (entries that were there go to the
    // cut buffer), done entries unticked, ready for start().
    Resumed resumeRun(const RunRecovery::Unfinished &run, bool fromNext);
    // The list holds a resumed run's copy that no run has started from yet.
    bool holdsResumedRun() const { return m_resumedRun.isValid(); }
    // The question for an operator about an unfinished run: its text and
    // choices (from the running entry, from the next one when there is one,
    // do not resume). No choices: nothing to offer, and the log says why.
    struct Offer
    {
        QString text;
        QStringList choices;
    };
    Offer resumeOffer(const RunRecovery::Unfinished &run);
    // The operator's answer, the index of the choice taken (-1: none). A
    // run declined is closed in the journal, so that it is not offered again.
    Resumed answerOffer(const RunRecovery::Unfinished &run, const Offer &offer, int choice);
    // Nobody to ask (an unattended start): the log names it.
    void nameUnfinished(const RunRecovery::Unfinished &run);
    // A schedule loaded from a file begins a new night.
    void newNight();

public slots:
    // The operator's controls. start() refuses while a run is going (unless
    // the target was lost) and when a ticked entry has errors; false then.
    bool start();
    void stop();
    void resume(Exec::ResumeMode mode);
    void setStopAfterEntry(bool on);
    void setSkipFailed(bool skip);
    void setEndRunOnPassedLimit(bool on);
    void confirmPrompt(int id);
    // The program closes: a run going is journaled stopped, then the engine
    // ends.
    void close();

    // The bus client's side.
    void busReady();
    void busLost();
    // The target logged in to the bus (its Connected event, or its name in
    // the node list) or left it.
    void setTargetReady(bool ready);
    void answered(const AMsg &msg);
    void eventReceived(const AMsg &msg);
    void asked(const AMsg &msg);

signals:
    void logged(const QString &line, Severity severity);
    // Something needs the operator: the window raises itself and says it;
    // the notification has gone out already.
    void alert(const QString &text);
    // The journal cannot be written (said once a run).
    void journalFailed(const QString &error);
    // The night report of the run that ended was written there.
    void reportWritten(const QString &path);

    void sendCmd(const QString &fromCh, const QString &to, const QString &cmd);
    void answer(const AMsg &question, const QString &text);
    void busyChanged(bool busy);
    void runStatusChanged(const QString &status);
    void targetReadyChanged(bool ready);

    // A run began: Start, or Resume of a run that had ended or held.
    void runStarted();
    // A start is held until startsAt(), or no longer (cancelled, begun).
    void startHeld(bool held);

    // To the engine, connected to Exec's slots of the same meaning (queued,
    // so they arrive in the order given).
    void startExec(const QList<Entry> &entries);
    void updateExec(int index, const Entry &entry);
    void stopExec(bool ok);
    void resumeExec(Exec::ResumeMode mode);
    void setTargetIsReady(bool f);
    void setSHolderIsMoving(bool f);
    void setMainThIsMoving(bool f);
    void setInXafsMeas(bool f);
    void setErrStartingXAFSMeas(bool f, const QString &msg);
    void setErrRemote(bool f, const QString &msg);
    void setErrSHolderMove(bool f, const QString &msg);
    // The target's answer to "GetBlockNum": -1 when it is not a number.
    void setReceivedBlockNum(int blockNum);
    // The word of a command the target answered with "Er:".
    void refusedByTarget(const QString &cmd);
    // A run ended; ok false on an error, also when Start refused to begin.
    void runFinished(bool ok);
    // The row of the first ticked entry with errors when Start refused.
    void startRefused(int row);
    void entryRunning(int row);
    void stageChanged(int stage);
    // The run is over: "stop after this entry" was for it.
    void stopAfterEntryCleared();
    void flagChanged(int flag, bool on);
    void errMsgChanged(const QString &msg);
    void errRemoteMsgChanged(const QString &msg);

    void promptRaised(int id, const QString &msg);
    void promptClosed(int id);
    // A prompt has waited long: whoever shows prompts brings them forward.
    void promptWaitedLong();

private:
    // What the engine reports, by run index.
    void engineExecuting(int idx);
    void engineFinished(bool ok);
    void engineStage(int stage);
    void engineEntryEnded(int idx, EntryState state, const QString &detail);
    void engineMeasuredAs(int idx, const Entry &entry);
    void engineGoesOnAt(int idx);
    void engineStalled(const QString &why);
    void engineTargetLost(const QString &why);
    void engineRepeated(int idx, int attempt);
    void engineDeadline(int idx, const QString &detail);
    // Starts the run now, whatever start time is set.
    bool startNow();
    // Hands the deadline and the run's estimates to the engine.
    void sendDeadline();
    // The waits of the running entry for the operator and the target begin
    // or end (their seconds go to its journal row).
    void noteWaits();
    double waitedFor(const QDateTime &since, double before, const QDateTime &now) const;
    void
    summarize(bool ok); // A row for an episode that cost the night time (target-lost, bus-lost,
    // stalled, repeat), for the entry at idx.
    JournalRow episodeRow(const QString &what, int idx, const QString &detail) const;
    void journalEpisode(const QString &what, int idx, const QString &detail);
    void enginePrompt(const QString &msg, PromptType type);
    void entryEdited(ScheduleModel::Id id);
    void promptWaited();
    // The running entry's line in the list says what it waits for: the
    // operator while a prompt is open, the stage otherwise.
    void showWaitingForOperator();

    void log(const QString &line, Severity severity = Severity::Info);
    void alertOperator(const QString &event, const QString &text,
                       const QString &attachment = QString());
    void sendInitCmds(const QStringList &cmds);
    void setOutcome(int idx, const ScheduleModel::Outcome &o);
    ScheduleModel::Outcome outcomeOf(int idx) const;
    void beginRunRecord(const QList<Entry> &entries);
    void endRunRecord(bool ok);
    void writeJournal(int idx, EntryState state, const QString &detail, const QDateTime &started);
    void appendJournal(const JournalRow &row);
    void writeRunCopy(const QList<Entry> &entries);
    void updateRunStatus();
    int runNumber(int idx) const { return m_runNumbers.value(idx, idx + 1); }

    ScheduleModel *m_list = nullptr;
    ScheduleModel *m_cutBuffer = nullptr;
    Exec *m_exec = nullptr;
    QThread *m_thread = nullptr;
    Notifier *m_notifier = nullptr;
    QTimer *m_statusClock = nullptr;
    QTimer *m_promptClock = nullptr;

    QString m_targetName = QStringLiteral("Dorvan");
    QString m_remoteAddr = QStringLiteral("Dorvan.remote");
    QStringList m_initCmdsOnTolva;
    QStringList m_initCmdsOnTarget;
    double m_waitLimit = 0;
    bool m_skipFailed = false;
    bool m_endRunOnPassedLimit = false;
    bool m_stopAfterEntry = false;
    QString m_journal;
    bool m_journalWarned = false;
    RunEstimate::Calibration m_calibration; // from the journal
    Estimate::Params m_estParams;
    QTime m_endBy;
    QDateTime m_deadline;
    bool m_endedByDeadline = false;
    QTime m_startTime;
    // -start-at given but not a time: no run starts until a start time is set.
    bool m_startAtBad = false;
    QString m_startAtText;
    QDateTime m_startsAt;
    QTimer *m_startClock = nullptr;
    Summary m_summary;
    QString m_reportPath;
    // The running entry's waits: seconds so far, and since when the one
    // going on has lasted (invalid: none).
    double m_operatorWait = 0;
    double m_targetWait = 0;
    QDateTime m_operatorSince;
    QDateTime m_targetSince;
    bool m_targetReady = false;

    // The run: its entries by id in the order the engine was given them,
    // which were ticked, their numbers in the night's schedule.
    QList<ScheduleModel::Id> m_runIds;
    QList<bool> m_runTicked;
    QList<int> m_runNumbers;
    QList<Estimate::Figure> m_runEstimates; // 0 for entries not ticked
    // The entries as the run began, for the journal of an entry cut from
    // the list meanwhile.
    QList<Entry> m_runEntries;
    // How the run's entries ended, whatever became of their place in the
    // list (an entry may be cut during the run).
    QHash<ScheduleModel::Id, EntryState> m_states;
    int m_runningIndex = -1;
    bool m_runGoing = false;
    bool m_stoppedByOperator = false;
    int m_failedCount = 0;
    int m_lastFailed = 0; // number of the last entry that failed
    int m_doneCount = 0;
    int m_stage = Stage::NotInExec;
    bool m_stalled = false; // the watchdog fired on the current wait
    QList<int> m_unmeasured;
    RunEta m_eta;
    QDateTime m_runStart;
    QDateTime m_lostAt; // when the target went away during the run
    QString m_runCopy;
    QString m_runStatus = QStringLiteral("idle");

    // When the list is a resumed run's copy: its entries' ids and their
    // numbers in the schedule the night began with, and the run it was
    // cut short in (closed in the journal when the new run starts).
    QList<ScheduleModel::Id> m_copyIds;
    QList<int> m_copyNumbers;
    QList<int> m_nightEarlier;
    QDateTime m_resumedRun;

    QList<Prompt> m_prompts;
    int m_lastPromptId = 0;
};
