// The main window and how the program's pieces meet.
//
// Body owns, for its whole life: the bus client (the form's TolvaCtrl), the log
// window (LogArea), the schedule (entries shown in MainScroll) and the cut
// buffer (shown in its own LayoutFrame window), the schedule file dialog and
// the operator prompter, and the execution engine Exec with its worker thread
// and its status panel. Start-up (app/main.cpp) creates one Body; closing it
// closes every other window.
//
// Bus side (BodyBus.cpp): the bus settings come from the configuration; login
// asks the server for its node list and to follow the target; when the target
// is there it gets "RemoteOn" and the configured commands; the target's events
// and answers become the engine's flags through the set...() signals below.
//
// Start checks the ticked entries first (EntryCheck.h) and refuses a run in
// which one has errors; Check shows the dry run (DryRun.h) in its own window.
// The entries' warnings across the list (one data file written twice) are
// worked out here whenever the list or an entry changes.
// The night's side (BodyRun.cpp): the overview table above the entries, the
// run bar's times and controls, the run journal, the notifications
// (NOTIFY_CMD) and the run status peers ask for with GetRunStatus.
// After a crash (BodyRecovery.cpp): the run's copy of the schedule and the
// journal's started/ended rows let the next start resume the night; unsaved
// edits are kept in a recovery file.
//
// Everything here runs in the GUI thread. The engine runs in execThread and is
// reached only through queued signals in both directions: the schedule goes
// to it as values when a run starts, and each entry the operator edits during
// the run goes again (updateExec). The engine's commands go straight to the
// bus client's sendCmd.
#pragma once

#include "AMsg.h"
#include "Exec.h"
#include "RunEta.h"
#include "RunJournal.h"
#include "RunOverview.h"
#include "RunRecovery.h"
#include "ui_Body.h"

#include <QDateTime>
#include <QFrame>
#include <QHash>
#include <QList>
#include <QMap>
#include <QPointer>
#include <QSet>
#include <QStringList>

#include <functional>

class DryRunWindow;
class ExecCtrl;
class LayoutFrame;
class LogArea;
class Prompt;
class Notifier;
class Prompter;
class QCheckBox;
class QComboBox;
class QFileDialog;
class QTableView;
class QThread;
class QTimer;
class ScheduleEdit;
class Tolva;

class Body : public QFrame
{
    Q_OBJECT
public:
    explicit Body(QWidget *parent = nullptr);
    ~Body() override;

    Ui::Body ui;

    const QList<ScheduleEdit *> &schedule() const { return ss; }
    const QList<ScheduleEdit *> &cutBufferEntries() const { return cutBuffer; }
    LayoutFrame *cutBufferWindow() const { return cutBufferFrame; }
    LogArea *logPanel() const { return logArea; }
    Prompter *prompterWindow() const { return prompter; }
    QFileDialog *scheduleFileDialog() const { return fileDialog; }
    Exec *engine() const { return exec; }
    ExecCtrl *statusPanel() const { return execStat; }
    Tolva *bus() const;
    QString targetNodeName() const { return targetName; }
    QString rootDirectory() const { return rootDir; }

    // Loads a schedule file as the Load button does once a file is chosen.
    // A file that cannot be read leaves the list as it was (Clear on Load
    // included) and says so in the log; false then.
    bool loadScheduleFrom(const QString &fname);
    // Starts a run as the Start button does.
    void startRun() { startMeas(); }
    // Stops the run as the Stop button does.
    void stopRun() { stopMeas(); }
    // Ticks exactly the entries with these numbers (from 1), unticks the others.
    void tickOnly(const QSet<int> &numbers);
    // WAIT_LIMIT in seconds: the bound of every wait on the bus and the target.
    double waitLimitSeconds() const { return m_waitLimit; }
    // The dry run's window, once the Check button has been used.
    DryRunWindow *dryRunView() const { return dryRunWindow; }

    // The window's yes/no questions (closing during a run or with unsaved
    // entries, Clear and Cut of the running entry during a run): true to go
    // on. A modal message box by default; tests and unattended runs answer
    // through their own function, so that nothing waits for an operator.
    using Ask = std::function<bool(const QString &question)>;
    void setAsk(Ask ask) { m_ask = std::move(ask); }
    // A run is going (from Start or Resume until the engine reports its end).
    bool runGoing() const { return m_runGoing; }
    // The list changed since it was last saved or loaded.
    bool entriesChanged() const { return m_entriesChanged; }

    RunOverview *overviewModel() const { return overview; }
    QTableView *overviewTable() const { return overviewView; }
    QCheckBox *overviewShown() const { return showOverview; }
    QCheckBox *stopAfterEntryBox() const { return stopAfterEntry; }
    QComboBox *onEntryErrorBox() const { return onEntryError; }
    QLabel *runTimesLabel() const { return runTimes; }
    QString journalPath() const { return journal; }

    // After a crash (BodyRecovery.cpp). The run the journal says was cut
    // short and the recovery file of unsaved edits: with askOperator they
    // are offered, otherwise (unattended starts) only named in the log.
    void recoverAtStartup(bool askOperator);
    enum class Resumed { Yes, NothingToResume, Failed };
    // Loads the copy of the journal's unfinished run, done entries unticked,
    // ready to resume from the entry that was running (or the next one).
    // The run itself begins with Start.
    Resumed resumeLastRun(bool fromNext = false);
    // The three-way choice of the resume offer: the index of the choice
    // taken, -1 for none. A message box by default; tests answer themselves.
    using Choose = std::function<int(const QString &text, const QStringList &choices)>;
    void setChoose(Choose choose) { m_choose = std::move(choose); }
    // Writes the list to the recovery file when it differs from the file
    // last saved or loaded; every 30 s and when the program is asked to quit.
    bool saveRecovery();
    QString recoveryPath() const { return m_recoveryPath; }
    // Entries that failed in the current or last run (going on under "skip").
    int failedEntries() const { return failedCount; }
    // Numbers (from 1) of the ticked entries of the last run that ended well
    // although they were neither measured, nor failed, nor skipped.
    QList<int> unmeasuredEntries() const { return m_unmeasured; }
    // Numbers of the entries that failed or were not measured in the runs of
    // this night before the one resumed (-resume-last).
    QList<int> failedEarlierInTheNight() const { return m_nightEarlier; }

public slots:
    // For the watchdog: the run waits past its limit, or the target is gone.
    // The operator is told at the screen and through NOTIFY_CMD.
    void noticedStall(const QString &why);
    void noticedTargetLost(const QString &why);

signals:
    void closed();
    void setupExec(QString targetCh);
    void startExec(QList<Entry> entries);
    void updateExec(int index, Entry entry);
    void stopExec(bool ok);
    void resumeExec(Exec::ResumeMode mode);
    void setTargetIsReady(bool f);
    void setSHolderIsMoving(bool f);
    void setMainThIsMoving(bool f);
    void setInXafsMeas(bool f);
    void setErrStartingXAFSMeas(bool f, QString msg);
    void setErrRemote(bool f, QString msg);
    void setErrSHolderMove(bool f, QString msg);
    // The target's answer to "GetBlockNum", for the engine: -1 when it is
    // not a number.
    void setReceivedBlockNum(int blockNum);
    // The word of a command answered with "Er:", for the engine.
    void refusedByTarget(QString cmd);
    // A run ended (after the entry marks are set); ok false on an error,
    // also when Start refused to begin because of entries with errors.
    void runFinished(bool ok);

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    void comeBackAtBottom();
    void newAtTop();
    void newAtBottom();
    void showSs();
    void clear();
    void insertUp();
    void insertDown();
    void copy();
    void cut();
    void saveSchedule();
    void loadSchedule();
    void scheduleFileSelected(const QString &fname);
    void tolvaIsReady();
    void targetIsReady();
    void anyAsk(AMsg msg);
    void anyAns(AMsg msg);
    void anyEvent(AMsg msg);
    void evConnected(AMsg msg);
    void evDisconnected(AMsg msg);
    void evChangerMoving(AMsg msg);
    void evMovingCurTh(AMsg msg);
    void evStartMeas(AMsg msg);
    void evEndMeas(AMsg msg);
    void evErrStartXAFSMeas(AMsg msg);
    void evErrRemote(AMsg msg);
    void evErrChangerMove(AMsg msg);
    void ansListNodes(AMsg msg);
    void ansGetBlockNum(AMsg msg);
    void startMeas();
    void checkSchedule();
    void stopMeas();
    void resumeMeas();
    void noticedExecFinished(bool ok);
    void noticedExecuting(int idx);
    void noticedCurrentExecStage(const QString &stage);
    void noticedStage(int stage);
    void noticedMeasuredAs(int idx, const Entry &entry);
    void noticedGoesOnAt(int idx);
    void tolvaIsNotReady();
    void noticedSendResult(const QString &result);
    void noticedEntryChanged();
    void noticedPromptsChanged();
    void noticedPromptOk();
    void noticedEntryEnded(int idx, EntryState state, const QString &detail);
    void showRunTimes();
    void showOverviewRow(const QModelIndex &index);
    void noticedPrompterStat(int count);
    void promptWaitedLong();

private:
    void setupTolva();
    void setupExecution();
    void setupTargetWatch();
    void setupPrompter();
    void sendInitCmds(const QStringList &cmds);
    ScheduleEdit *newEntry();
    void connectEntry(ScheduleEdit *entry);
    int senderIndex() const;
    int currentNo() const;
    void showCurrentNo(int i);
    void stopEngineThread();
    void showScheduleWarnings();
    bool ask(const QString &question) const;
    // Moves every entry to the cut buffer; during a run only if the operator
    // agrees. False when nothing was moved for that reason.
    bool clearList();
    void listEdited();
    void setupNightRun();
    void setupRecovery();
    void refreshOverview();
    void beginRunRecord(const QList<Entry> &entries);
    void endRunRecord(bool ok);
    void setOutcome(ScheduleEdit *e, const RunOverview::Outcome &o);
    RunOverview::Outcome outcomeOf(const ScheduleEdit *e) const { return outcomes.value(e); }
    void writeJournal(int idx, EntryState state, const QString &detail);
    // Appends a row to the journal; a failure is a red line and one warning.
    void appendJournal(const JournalRow &row);
    void writeRunCopy(const QList<Entry> &entries);
    // Puts entries in the list as Load does (after "Clear on Load").
    void showLoaded(const QList<Entry> &entries, const QString &fileShown);
    void removeRecovery();
    // True when the list now holds a resumed run.
    bool offerUnfinishedRun(bool askOperator);
    int choose(const QString &text, const QStringList &choices) const;
    Resumed resumeRun(const RunRecovery::Unfinished &run, bool fromNext);
    // Raises the window with a non-modal message and notifies.
    void alertOperator(const QString &event, const QString &text);
    void updateRunStatus();
    static QString numberList(const QList<int> &numbers);

    QList<ScheduleEdit *> ss;
    QList<ScheduleEdit *> cutBuffer;
    LayoutFrame *cutBufferFrame = nullptr;
    QGridLayout *cutBufferLayout = nullptr;
    QFileDialog *fileDialog = nullptr;
    Exec *exec = nullptr;
    ExecCtrl *execStat = nullptr;
    // The entries of the run, in the order the engine was given them.
    QList<QPointer<ScheduleEdit>> runList;
    QThread *execThread = nullptr;
    Prompter *prompter = nullptr;
    LogArea *logArea = nullptr;
    DryRunWindow *dryRunWindow = nullptr;
    bool savingSchedule = false;
    Ask m_ask;
    bool m_runGoing = false;
    bool m_entriesChanged = false;
    int m_runningIndex = -1; // in runList
    // The open operator prompts as last logged, with their texts.
    QHash<const Prompt *, QString> m_shownPrompts;
    QString rootDir;
    QString targetName;
    QString remoteAddr;
    QStringList initCmdsOnTolva;
    QStringList initCmdsOnTarget;

    // The night's side (BodyRun.cpp).
    RunOverview *overview = nullptr;
    QTableView *overviewView = nullptr;
    QCheckBox *showOverview = nullptr;
    QCheckBox *stopAfterEntry = nullptr;
    QComboBox *onEntryError = nullptr;
    QLabel *runTimes = nullptr;
    QTimer *runClock = nullptr;
    QTimer *promptClock = nullptr;
    Notifier *notifier = nullptr;
    RunEta eta;
    QDateTime runStart;
    QMap<QString, double> durationRatios; // from the journal, by scan type
    QList<double> runEstimates;           // by run index; 0 for entries not ticked
    QHash<const ScheduleEdit *, RunOverview::Outcome> outcomes;
    QString journal;
    bool journalWarned = false;
    QString runCopy;      // this run's copy of the schedule
    QDateTime resumedRun; // the cut-short run the list was loaded from
    QString m_recoveryPath;
    QTimer *recoveryClock = nullptr;
    bool recoveryWarned = false;
    Choose m_choose;
    bool stoppedByOperator = false;
    int failedCount = 0;
    int lastFailed = 0; // number of the last entry that failed
    int doneCount = 0;
    QString stageText;
    int m_stage = Stage::NotInExec;
    double m_waitLimit = 0;
    // The watchdog fired on the running entry's current wait.
    bool m_stalled = false;
    // The run's entries that were ticked when it started.
    QList<bool> runTicked;
    QList<int> m_unmeasured;
    // The list's entries by their number in the schedule the night began
    // with, when the list is a resumed run's copy (empty otherwise); the
    // run's own entries likewise, fixed at its start.
    QList<int> m_listNumbers;
    QList<int> runNumbers;
    QList<int> m_nightEarlier;
    int runNumber(int idx) const { return runNumbers.value(idx, idx + 1); }
};
