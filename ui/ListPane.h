// The schedule on screen: the overview table of the list above one entry
// editor that shows and edits the overview's current entry, and the cut
// buffer's table. It works on the schedule model only; the main window puts
// it in place and answers its guard before the running entry leaves the
// list. One editor serves a list of any length.
#pragma once

#include <QSplitter>

#include <functional>

class QGridLayout;
class QScrollArea;
class QTableView;
class ScheduleEdit;
class ScheduleModel;

class ListPane : public QSplitter
{
    Q_OBJECT
public:
    // The editor is shown in editorPlace, inside editorArea (the window's
    // scrolling entry area), below the overview.
    ListPane(ScheduleModel *list, ScheduleModel *cutBuffer, QScrollArea *editorArea,
             QGridLayout *editorPlace, QWidget *parent = nullptr);

    QTableView *overview() const { return m_overview; }
    // The cut buffer's table, the latest entry on top, for its own window.
    QTableView *cutBufferView() const { return m_cutBufferView; }
    // None until the list first has an entry.
    ScheduleEdit *entryEditor() const { return m_editor; }
    int currentRow() const { return m_currentRow; }
    void setCurrentRow(int row);

    // Asked before entries leave the list: row is the entry cut, -1 every
    // entry (Clear). True to go on.
    using Guard = std::function<bool(int row)>;
    void setGuard(Guard guard) { m_guard = std::move(guard); }

    void newEntry(int row);
    // The cut buffer's latest entry into the list before row.
    void insertFromBuffer(int row);
    void comeBack();
    void copyCurrent();
    void cutCurrent();
    // Moves every entry to the cut buffer, the first one on top; false when
    // the guard said no.
    bool clear();

private:
    ScheduleEdit *editor();
    void listChanged();
    void showCurrent();

    ScheduleModel *m_list = nullptr;
    ScheduleModel *m_cutBuffer = nullptr;
    QTableView *m_overview = nullptr;
    QTableView *m_cutBufferView = nullptr;
    QGridLayout *m_editorPlace = nullptr;
    ScheduleEdit *m_editor = nullptr;
    int m_currentRow = -1;
    Guard m_guard;
};
