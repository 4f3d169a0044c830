// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: it shows the schedule and the night, and forwards the
// operator's clicks. It decides nothing about a run.
//
// What it holds: the schedule (ScheduleModel, the one list of entries) and
// the cut buffer (a second model, in its own LayoutFrame window); the run
// controller (RunController: engine, target events, journal, notifications,
// run status); the bus client (the form's TolvaCtrl), the log window, the
// prompter and the engine's status panel.
//
// The list is shown and edited by ListPane (the overview above one entry
// editor). Schedule files, the recovery file of unsaved edits and the offer to resume
// a night cut short are in BodyFiles.cpp.
#pragma once

#include "RunController.h"
#include "ScheduleModel.h"

#include <QFrame>
#include <QStringList>

#include <functional>
#include <memory>

class DryRunWindow;
class ExecCtrl;
class LayoutFrame;
class ListPane;
class LogArea;
class Prompter;
class RunBar;
class ScheduleDocument;
class QFileDialog;
class QTableView;
class ScheduleEdit;
class Tolva;

namespace Ui {
class Body;
}

class Body : public QFrame
{
    Q_OBJECT
public:
    explicit Body(QWidget *parent = nullptr);
    ~Body() override;

    ScheduleModel *scheduleModel() const { return m_list; }
    ScheduleModel *cutBufferModel() const { return m_cutBuffer; }
    RunController *controller() const { return m_run; }
    // The editor of the overview's current entry (none until the list first
    // has one; hidden while it is empty), and that entry's row (-1: none).
    ScheduleEdit *entryEditor() const;
    int currentRow() const;
    void setCurrentRow(int row);

    LayoutFrame *cutBufferWindow() const { return cutBufferFrame; }
    LogArea *logPanel() const { return logArea; }
    Prompter *prompterWindow() const { return prompter; }
    QFileDialog *scheduleFileDialog();
    ExecCtrl *statusPanel() const { return execStat; }
    Tolva *bus() const;
    QTableView *overviewTable() const;
    ListPane *listPane() const { return m_pane; }
    RunBar *runBar() const { return m_runBar; }
    DryRunWindow *dryRunView() const { return dryRunWindow; }

    // The window's own controls, by what they do, for scripts and tests.
    enum class Button { // the form's buttons in this order, then the editor's
        NewAtTop,
        NewAtBottom,
        Clear,
        ComeBack,
        Save,
        Load,
        Start,
        Stop,
        Resume,
        Check,
        Report,
        InsertUp, // the editor's buttons, on the current entry
        InsertDown,
        Copy,
        Cut,
    };
    void click(Button button);
    enum class Option { ClearOnLoad, ShowTolvaStat };
    void setOption(Option option, bool on);
    void setResumeMode(Exec::ResumeMode mode);
    QString scheduleFileShown() const;
    QString stageShown() const;

    // Loads a schedule file as the Load button does once a file is chosen.
    // A file that cannot be read leaves the list as it was (Clear on Load
    // included) and says so in the log; false then.
    bool loadScheduleFrom(const QString &fname);
    // Starts a run as the Start button does.
    void startRun();
    void stopRun() { m_run->stop(); }

    // The window's yes/no questions (closing during a run or with unsaved
    // entries, Clear and Cut of the running entry during a run): true to go
    // on. A modal message box by default; tests and unattended runs answer
    // through their own function, so that nothing waits for an operator.
    using Ask = std::function<bool(const QString &question)>;
    void setAsk(Ask ask) { m_ask = std::move(ask); }
    bool runGoing() const { return m_run->runGoing(); }
    // Its file, whether it changed since saved or loaded, its recovery file.
    ScheduleDocument *document() const { return m_doc; }

    // After a crash (BodyFiles.cpp). The run the journal says was cut short
    // and the recovery file of unsaved edits: with askOperator they are
    // offered, otherwise (unattended starts) only named in the log.
    void recoverAtStartup(bool askOperator);
    // The three-way choice of the resume offer: the index of the choice
    // taken, -1 for none. A message box by default; tests answer themselves.
    using Choose = std::function<int(const QString &text, const QStringList &choices)>;
    void setChoose(Choose choose) { m_choose = std::move(choose); }
    // Loads the journal's unfinished run (RunController::resumeRun) and holds its copy.
    RunController::Resumed resumeLastRun(bool fromNext = false);
    // Writes the list to the recovery file when it differs from the file
    // last saved or loaded; every 30 s and when the program is asked to quit.
    bool saveRecovery();

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void setupBus();
    void setupRun();
    void setupList();
    void setupFiles();
    void resumeClicked();
    void entryRunning(int row);
    void runFinished();
    void showMessage(const QString &title, const QString &text);
    void alertOperator(const QString &text);
    bool ask(const QString &question) const;
    int choose(const QString &text, const QStringList &choices) const;
    void saveSchedule();
    void loadSchedule();

    std::unique_ptr<Ui::Body> ui;
    ScheduleModel *m_list = nullptr;
    ScheduleModel *m_cutBuffer = nullptr;
    ListPane *m_pane = nullptr;
    ScheduleDocument *m_doc = nullptr;
    RunBar *m_runBar = nullptr;
    RunController *m_run = nullptr;
    LayoutFrame *cutBufferFrame = nullptr;
    QFileDialog *fileDialog = nullptr;
    ExecCtrl *execStat = nullptr;
    Prompter *prompter = nullptr;
    LogArea *logArea = nullptr;
    DryRunWindow *dryRunWindow = nullptr;
    Ask m_ask;
    Choose m_choose;
    QString rootDir;
};
