// SPDX-License-Identifier: GPL-3.0-or-later
// The schedule on screen: the overview table of the list above one entry
// editor that shows and edits the overview's current entry, and the cut
// buffer's table. It works on the schedule model only; the main window puts
// it in place and answers its guard before entries leave the list.
//
// The overview is edited as a spreadsheet: a field in place (a drop-down
// where the field is a choice, the tick as a check box), a value typed with
// several rows selected goes to all of them, and the pane's actions work on
// the selected rows: copy and paste as tab-separated rows, fill down,
// duplicate, repeat, move, tick, and undo/redo of every change. One editor
// serves a list of any length.
#pragma once

#include <QList>
#include <QSplitter>

#include <functional>

class QAction;
class QGridLayout;
class QScrollArea;
class PlanView;
class QTableView;
class ScheduleEdit;
class ScheduleHistory;
class ScheduleModel;

class ListPane : public QSplitter
{
    Q_OBJECT
public:
    // The editor is shown in editorPlace, inside editorArea (the window's
    // scrolling entry area), below the overview.
    ListPane(ScheduleModel *list, ScheduleModel *cutBuffer, QScrollArea *editorArea,
             QGridLayout *editorPlace, QWidget *parent = nullptr);
    ~ListPane() override;

    QTableView *overview() const { return m_overview; }
    // The cut buffer's table, the latest entry on top, for its own window.
    QTableView *cutBufferView() const { return m_cutBufferView; }
    // None until the list first has an entry.
    ScheduleEdit *entryEditor() const { return m_editor; }
    // The current entry's scan plan beside the editor (made with it).
    PlanView *planView() const { return m_planView; }
    int currentRow() const { return m_currentRow; }
    void setCurrentRow(int row);
    ScheduleHistory *history() const { return m_history; }

    // Asked before entries leave the list (their rows; Clear names them
    // all). True to go on.
    using Guard = std::function<bool(const QList<int> &rows, bool all)>;
    void setGuard(Guard guard) { m_guard = std::move(guard); }

    // A new entry before row: a copy of the current entry with its data file
    // numbered on (the defaults in an empty list), selected and in view.
    void newEntry(int row);
    // The cut buffer's latest entry into the list before row.
    void insertFromBuffer(int row);
    void comeBack();
    void copyCurrent();
    void cutCurrent();
    // Moves every entry to the cut buffer, the first one on top; false when
    // the guard said no.
    bool clear();

    // The selected rows in order (the current row when none is selected).
    QList<int> selectedRows() const;
    void selectRows(int first, int last);
    // What the actions do, on the selected rows; each is one step to undo.
    void setField(int column, const QString &text);
    void fillDown(int column);
    void repeatSelection(int times);
    void moveSelection(int by);
    // The rows before row `to` of the list as it is (drag and drop).
    void moveRowsTo(const QList<int> &rows, int to);
    void tickSelection(bool on);
    // Ticks the entries the last run did not measure well (failed or
    // stopped), unticks the ones it measured.
    void tickWhatFailed();
    void cutSelection();
    QString selectionAsText() const;
    // Rows from a spreadsheet, after the selection; false (and refused
    // says why) when a row could not be read.
    bool paste(const QString &text);

    enum class Action {
        Undo,
        Redo,
        Copy,
        Paste,
        Cut,
        FillDown,
        Duplicate,
        Repeat,
        MoveUp,
        MoveDown,
        Tick,
        Untick,
        TickFailed
    };
    QAction *action(Action a) const;
    // "Show Overview" and the Edit menu of these actions, for the window's
    // row of list buttons.
    QWidget *controls();
    QList<QAction *> editActions() const { return m_actions; }

signals:
    // Rows of a paste that could not be read, one line each.
    void refused(const QString &text);

private:
    ScheduleEdit *editor();
    void listChanged();
    void showCurrent();
    void setupActions();
    void undoOrRedo(bool redo);
    bool mayRemove(const QList<int> &rows, bool all) const;

    ScheduleModel *m_list = nullptr;
    ScheduleModel *m_cutBuffer = nullptr;
    ScheduleHistory *m_history = nullptr;
    QTableView *m_overview = nullptr;
    QTableView *m_cutBufferView = nullptr;
    QGridLayout *m_editorPlace = nullptr;
    ScheduleEdit *m_editor = nullptr;
    PlanView *m_planView = nullptr;
    int m_currentRow = -1;
    Guard m_guard;
    QList<QAction *> m_actions;
};
