// Execution engine: runs a schedule against the target program.
//
// The main window creates one Exec (in the GUI thread), moves it into a
// QThread of its own and calls setup() with the bus client and the target's
// remote address. start(), stop() and resume() come from the main window's run
// buttons, the flag slots from its bus dispatch of the target's events; all of
// them arrive as queued calls. For each ticked entry the engine walks stages 0
// to 9 on a 10 ms timer (ticExec, ExecStages.cpp), sending one text command per
// line through the sendCmd signal, and waits whenever a flag of its status
// panel says something is moving, measuring, being asked or being changed by
// the operator (prompts go out through newPrompt to the Prompter).
//
// Threads: the panel (ExecCtrl) and the schedule entries are GUI widgets. The
// engine's flags live in the panel but are read and written only here, in the
// worker; indicator updates are queued to the GUI thread. Entry fields are
// read by one function, readEntryValues(), which the engine has run in the GUI
// thread while it waits (inGuiThread). That wait gives up when the worker is
// asked to stop (QThread::requestInterruption(), abandonGuiWaits(), or the
// application quitting), so joining the worker from the GUI thread can never
// deadlock. The main window stops the worker with Exec::stopThread().
//
// The bus client is reached only through signals: setup() connects sendCmd
// (and the other send signals) to any QObject that has slots of those names
// and signatures, so a test double can stand in for Tolva.
#pragma once

#include "AMsg.h"
#include "EntryValues.h"
#include "PromptType.h"
#include "ScheduleEdit.h"

#include <QColor>
#include <QList>
#include <QMap>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVector>

#include <atomic>
#include <functional>
#include <memory>

class ExecCtrl;
class QThread;
class QTimer;
class Tolva;

class Exec : public QObject
{
    Q_OBJECT
public:
    enum ResumeMode { FromHere = 0, FromInit = 1, FromNext = 2 };
    Q_ENUM(ResumeMode)

    // Build in the GUI thread: the status panel is created here.
    explicit Exec(QObject *parent = nullptr);
    ~Exec() override;

    // The status panel; the main window places it in its information area.
    ExecCtrl *statusPanel() const { return stat; }

    // Registers ResumeMode, PromptType, AMsg and the entry list types under
    // the names used in connections by signature text.
    static void registerMetaTypes();

    // Thread-safe. Makes every present and future wait on the GUI thread give
    // up at once; ticks that would need an entry read then do nothing.
    void abandonGuiWaits();
    // Thread-safe. True while the worker waits for a read in the GUI thread.
    bool isWaitingOnGui() const { return m_waitingOnGui.load(); }
    // Stops a worker thread from the GUI thread without the risk of waiting on
    // each other: interruption first, then quit and join.
    static bool stopThread(QThread *thread, unsigned long timeoutMs = ULONG_MAX);

signals:
    void execNext();
    void newPrompt(QString msg, PromptType pType);
    void finished(bool ok);
    void executing(int step);
    void log(QString msg, QColor color);
    void currentStage(QString stage);
    void sendOk(AMsg aMsg);
    void sendAns(AMsg aMsg, QString ans);
    void sendEvent(QString fromCh, QString event);
    void sendCmd(QString fromCh, QString to, QString cmd);
    void sendCmdV(QString fromCh, QString to, QString cmd, QString val);

public slots:
    void showExecStat(bool f);
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
    void setup(Tolva *s, QString targetCh);
    // The same for any bus stand-in with slots named like Tolva's.
    void setup(QObject *s, QString targetCh);
    void start(QList<ScheduleEdit *> ss);
    void stop(bool ok);
    void resume(Exec::ResumeMode mode);
    void noticedPrompterStat(int count);
    void noticedPromptOk(PromptType pType);

private slots:
    void startOneSchedule();
    void oneScheduleFinished();
    void changeSetupICGases(aAtom na, aAtom oa, int nCore, int oCore);
    void ICGasesChanged();
    void changeSetupHOCMMode(int nMode, int oMode);
    void HOCMModeChanged();
    void changeSetupMonoMode(int nMode, int oMode);
    void MonoModeChanged();
    void ticExec();

private:
    // ExecStages.cpp: one function per stage. Each returns true to fall
    // through into the next stage within the same tick.
    bool stageInitialize(const EntryValues &cur, const EntryValues &prev);
    bool stageSelectEdge(const EntryValues &cur);
    bool stageMove(const EntryValues &cur, const EntryValues &prev);
    bool stageScanMode(const EntryValues &cur);
    bool stageFileName(const EntryValues &cur);
    bool stageBlocks(const EntryValues &cur);
    bool stageMeasTime(const EntryValues &cur);
    bool stageDark(const EntryValues &cur);
    bool stageStart();
    void stageEnd();

    bool isHeld() const;
    bool flag(int f) const;
    void setFlag(int f, bool on);
    void clearErrStarting();
    void send(const QString &cmd);
    QString stageName(int key) const;
    void connectBus(QObject *s);

    // Runs work in the GUI thread and waits for it (GuiCall.h). Returns
    // false, leaving *out alone, when the wait was given up.
    template <typename R> bool inGuiThread(std::function<R()> work, R *out);
    bool giveUpWaiting() const;
    bool readEntries(EntryValues *cur, EntryValues *prev);
    bool readLoadedEntry(EntryValues *cur);

    QMap<int, QString> stageNames;
    QObject *tolva = nullptr; // not owned
    QString targetCh;
    bool running = false;
    int current = 0;
    QList<ScheduleEdit *> ss;
    QTimer *timer = nullptr;
    int stageNo = 0;
    ExecCtrl *stat = nullptr; // GUI thread; flags read and written here only
    QPointer<ExecCtrl> statGuard;
    int blockNum = 1;
    int prompterCount = 0;

    QList<QMetaObject::Connection> busConnections;
    std::atomic<bool> m_abandon{false};
    std::atomic<bool> m_waitingOnGui{false};
};
