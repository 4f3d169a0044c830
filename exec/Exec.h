// SPDX-License-Identifier: GPL-3.0-or-later
// Execution engine: runs a schedule against the target program.
//
// The main window creates one Exec, moves it into a QThread of its own and
// calls setup() with the target's remote address. start() hands it the
// schedule as values; updateEntry() hands over an entry the operator edited
// during the run (it counts from the next time that entry begins). stop() and
// resume() come from the run buttons, the flag slots from the main window's
// dispatch of the target's events; all of them arrive as queued calls.
//
// For each ticked entry the engine walks the stages of the command plan
// (ExecPlan.h) on a 10 ms timer. The entry is compared with the last entry
// this run measured (none after Start, Resume, a failed entry or a lost
// target: then every move is sent and every change asked for); its values are
// taken as they are once its prompts are confirmed, and every stage's
// commands, prompts and log lines come from runStage() on those values. Commands go out through
// sendCmd, prompts through newPrompt. Between stages it waits while a flag
// says something is moving, measuring, being asked or being changed by the
// operator. The flags are the engine's own; flagChanged() reports each change
// so that the status panel (ExecCtrl) can show it.
//
// The target itself is waited for like any event: while it is not logged in
// the engine sends nothing and the stage name says it waits for it. When the
// target goes away in the middle of an entry, the waits only it could end are
// cleared and the run holds as "Target lost"; when the target logs in again
// the entry begins again from its start by itself (or, with resume on return
// off, the operator resumes in any mode or starts anew). An entry whose
// measurement has ended is done, whatever happens after its end event. A watchdog (Watchdog.h)
// bounds every wait on the target; past a limit it logs (stalled()), and in an unattended run the
// entry fails. runningChanged() tells the bus client whether a run is going
// (IsBusy).
//
// With a deadline (setDeadline), an entry whose estimate and spread would end
// past it is not begun: it and every entry after it end as skipped with the
// reason, deadlineReached() says so, and the run ends well.
//
// How an entry ends is reported once by entryEnded(): done, failed (with the
// reason), skipped (not ticked) or stopped (by Stop). Every failure of an
// entry goes through failEntry(), which either ends the run (the default) or,
// with setSkipFailedEntries(true), goes on with the next ticked entry once
// the target is ready.
//
// The engine never touches a widget and never waits for the GUI thread:
// stopping its thread can always join it.
#pragma once

#include "Entry.h"
#include "Estimate.h"
#include "ExecFlags.h"
#include "PromptType.h"
#include "Severity.h"
#include "Watchdog.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>

#include <array>
#include <climits>
#include <optional>

class QThread;
class QTimer;

Q_DECLARE_METATYPE(Entry)
Q_DECLARE_METATYPE(EntryState)

class Exec : public QObject
{
    Q_OBJECT
public:
    enum ResumeMode { FromHere = 0, FromInit = 1, FromNext = 2 };
    Q_ENUM(ResumeMode)

    explicit Exec(QObject *parent = nullptr);
    ~Exec() override;

    // How many times an entry is begun at most unless configured otherwise.
    static constexpr int defaultMaxAttempts = 3;

    // Registers ResumeMode, PromptType and Entry for queued connections.
    static void registerMetaTypes();
    // Stops a worker thread from the GUI thread: interruption first, then
    // quit and join.
    static bool stopThread(QThread *thread, unsigned long timeoutMs = ULONG_MAX);

    // The engine's own values; read them in the engine's thread.
    bool flag(ExecFlags::Flag f) const { return f >= 0 && f < ExecFlags::FlagCount && m_flags[f]; }
    bool isRunning() const { return running; }

signals:
    void execNext();
    void newPrompt(QString msg, PromptType pType);
    void finished(bool ok);
    void executing(int step);
    void log(QString msg, Severity severity);
    void currentStage(QString stage);
    // The same stage as an id (Stage::...), for whatever must not read a
    // translated name.
    void stageShown(int stage);
    // The blocks stage read the entry's block file: the entry as measured.
    void measuredAs(int index, Entry entry);
    // Resume takes the run up again at this entry (-1: none is left).
    void goesOnAt(int index);
    void sendCmd(QString fromCh, QString to, QString cmd);
    void flagChanged(int flag, bool on);
    void errMsgChanged(QString msg);
    void errRemoteMsgChanged(QString msg);
    // A run began (Start, Resume) or ended.
    void runningChanged(bool running);
    // The entry at index ended in this run; detail says why it failed.
    void entryEnded(int index, EntryState state, QString detail);
    // A wait passed its limit, or the target went away during a run: the
    // line the log got, for whoever must be told.
    void stalled(QString line);
    void targetLost(QString line);
    // The target came back and the entry at index begins again (attempt
    // is the how-manieth time it is begun).
    void repeated(int index, int attempt);
    // The entry at index would end after the deadline: the run ends here,
    // every entry from it on skipped with detail as the reason.
    void deadlineReached(int index, QString detail);

public slots:
    void setTargetIsReady(bool f);
    void setMainThIsMoving(bool f);
    void setSHolderIsMoving(bool f);
    void setICGasesChanging(bool f);
    void setHOCMModeChanging(bool f);
    void setMonoModeChanging(bool f);
    void setInXafsMeas(bool f);
    void setErrStartingXAFSMeas(bool f, QString msg);
    void setErrRemote(bool f, QString msg);
    void setErrSHolderMove(bool f, QString msg);
    void setBusyAskingBlockNum(bool f);
    void setReceivedBlockNum(int blockNum);
    void setup(QString targetCh);
    void start(QList<Entry> entries);
    void updateEntry(int index, Entry entry);
    void stop(bool ok);
    void resume(Exec::ResumeMode mode);
    void noticedPrompterStat(int count);
    void noticedPromptOk(PromptType pType);
    // The target answered "Er:" to one of the engine's commands (its word).
    void noticedRefusal(QString cmd);
    // WAIT_LIMIT: the bound of every wait on the target, in seconds.
    void setWaitLimit(double seconds);
    // Unattended runs end on a passed limit instead of waiting for the operator.
    void setEndRunOnPassedLimit(bool f) { endRunOnPassedLimit = f; }
    // The run ends well once the current entry's measurement has ended.
    void setStopAfterEntry(bool on);
    // On a failed entry: go on with the next one (true) or end the run.
    void setSkipFailedEntries(bool skip);
    // A target that logs in again during a run: the entry it left begins
    // again from its start by itself (true), or the run holds until the
    // operator resumes. An entry is begun at most maxAttempts times in all;
    // cut short once more, it fails.
    void setResumeOnReturn(bool on, int maxAttempts);
    // No entry is begun that would end after deadline (invalid: none), by
    // the estimates of the run's entries, by index.
    void setDeadline(const QDateTime &deadline, const QList<Estimate::Figure> &estimates);

private slots:
    void startOneSchedule();
    void ticExec();

private:
    bool isHeld() const;
    void setRunning(bool on);
    void showStage(int stage);
    void watch();
    void setFlag(ExecFlags::Flag f, bool on);
    void clearErrStarting();
    void send(const QString &cmd);
    void endEntry(EntryState state, const QString &detail = QString());
    // The current entry is done: on with the next one, or stop after it.
    void finishEntry();
    // The target is back after it was lost: the entry begins again, or fails
    // once it has been begun maxAttempts times.
    void takeUpAgain();
    // The one way an entry fails, whatever failed: it is reported, then the
    // run ends or goes on as the operator chose.
    void failEntry(const QString &reason);
    // The entry at current would end after the deadline: it and the rest are
    // skipped and the run ends well.
    void endByDeadline();

    QString targetCh;
    bool running = false;
    // The target went away during the entry: held until Resume or Start.
    bool lost = false;
    int current = 0;
    QList<Entry> entries;
    // The entry being run, as it was when its commands began, and the last
    // entry this run measured (none when the beamline's state is unknown).
    Entry cur;
    std::optional<Entry> lastMeasured;
    // The entry at current has begun in this run; after it ended, current
    // already names the next one.
    bool currentBegun = false;
    // A command of the current entry has gone out to the target.
    bool entrySent = false;
    QTimer *timer = nullptr;
    int stageNo = Stage::Initialize;
    int blockNum = 1;
    int prompterCount = 0;
    int shownStage = -1;
    Watchdog watchdog;
    QElapsedTimer clock;
    qint64 waitLimitMs = qint64(Watchdog::defaultLimitSeconds * 1000);
    bool endRunOnPassedLimit = false;
    bool stopAfterEntry = false;
    bool skipFailed = false;
    bool resumeOnReturn = true;
    int maxAttempts = defaultMaxAttempts;
    int attempt = 1; // how many times the entry at attemptIndex has been begun
    int attemptIndex = -1;
    bool entryOpen = false;     // the current entry began and has not ended
    bool awaitingReady = false; // the next entry waits for the target
    std::array<bool, ExecFlags::FlagCount> m_flags{};
    QDateTime deadline;
    QList<Estimate::Figure> estimates;
};
