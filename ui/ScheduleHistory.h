// SPDX-License-Identifier: GPL-3.0-or-later
// Undo and redo for the schedule: every change to the list and to the cut
// buffer, whoever made it in the window. An edit of one entry is one step
// (typing in one entry merges into one step until another entry is edited);
// a change to many entries at once (Clear, Cut, paste, a field set for a
// selection, Repeat) is recorded as the lists before and after, so undo
// gives back exactly the list that was. Entries keep their ids through
// undo and redo, so a run still follows its entries.
//
// A change to the lists that is not made through change() nor by setEntry
// (a resumed run's copy, recovered edits) cannot be undone across: the
// history is cleared then.
#pragma once

#include "ScheduleModel.h"

#include <QObject>

#include <functional>

class QUndoStack;

class ScheduleHistory : public QObject
{
    Q_OBJECT
public:
    ScheduleHistory(ScheduleModel *list, ScheduleModel *cutBuffer, QObject *parent = nullptr);

    QUndoStack *stack() const { return m_stack; }
    // Runs edit and records what it changed in both lists as one step.
    void change(const QString &text, const std::function<void()> &edit);
    // The entries of the list that undoing (redo false) or redoing the next
    // step would take out of it, by row; empty for an edit of values only.
    QList<int> rowsRemovedBy(bool redo) const;

    // Internal: the commands put the lists back through these.
    void apply(const QList<ScheduleModel::Item> &list, const QList<ScheduleModel::Item> &buffer);
    void applyEntry(ScheduleModel::Id id, const Entry &entry);

private:
    void structureChanged();

    ScheduleModel *m_list = nullptr;
    ScheduleModel *m_cutBuffer = nullptr;
    QUndoStack *m_stack = nullptr;
    int m_quiet = 0; // changes made by the history itself or inside change()
};
