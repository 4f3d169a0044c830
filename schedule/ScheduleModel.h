// SPDX-License-Identifier: GPL-3.0-or-later
// The schedule: the one ordered list of entry values the night is built from.
//
// Every entry carries an id that stays with it for the program's life (moved
// to the cut buffer and back, edited, ticked), so that a run names its
// entries by id and an edit during the run reaches the entry it was meant
// for. Beside each entry the model keeps what the current run made of it
// (its outcome) and its estimated duration, worked out lazily by the
// estimator its owner sets (the journal's calibration lives above this
// library).
//
// The main window shows it in the overview table and edits the selected
// entry in one editor; the cut buffer is a second model, its latest entry on
// top. Load, save, the recovery file, the run's copy and the run controller
// read and change the list only through this class.
#pragma once

#include "Entry.h"
#include "EntryState.h"
#include "Estimate.h"

#include <QAbstractTableModel>
#include <QDateTime>
#include <QList>

#include <functional>
#include <optional>

class ScheduleModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using Id = quint64;
    // The fields of the schedule file an operator edits in place come
    // first; the columns after Blocks are the run's.
    enum Column {
        No,
        Exec,
        Holder,
        Sample,
        Comment,
        File,
        Element,
        Edge,
        Crystal,
        Scan,
        Mode,
        Dark,
        Tuning,
        BlockDef,
        Blocks,
        Estimate,
        Status,
        Start,
        End,
        ColumnCount
    };
    // The schedule file's field a column shows and edits, -1 for none.
    static int fieldOf(int column);
    // 0 no problem, 1 warnings, 2 errors: the entry's mark in the overview.
    static constexpr int ProblemRole = Qt::UserRole + 1;
    // The texts an in-place editor offers (QStringList; empty: free text).
    static constexpr int ChoicesRole = Qt::UserRole + 2;

    struct Outcome
    {
        EntryState state = EntryState::Pending;
        QString text; // the stage while running, the reason when failed
        QDateTime started;
        QDateTime ended;
    };

    // An entry with what belongs to it, as it moves between the list and the
    // cut buffer.
    struct Item
    {
        Id id = 0;
        Entry entry;
        Outcome outcome;
    };

    explicit ScheduleModel(QObject *parent = nullptr);

    int count() const { return int(m_items.size()); }
    const Entry &entry(int row) const { return m_items.at(row).entry; }
    Id id(int row) const { return m_items.at(row).id; }
    // -1 when no entry of this list has the id.
    int rowOf(Id id) const;
    QList<Entry> entries() const;
    QList<Id> ids() const;
    const Outcome &outcome(int row) const { return m_items.at(row).outcome; }

    // A new entry (a fresh id) before row (count() appends); its id.
    Id insert(int row, const Entry &entry);
    // New entries before row, in this order, in one change.
    void insert(int row, const QList<Entry> &entries);
    // The whole list anew, every entry with a fresh id (a file loaded).
    void setEntries(const QList<Entry> &entries);
    // Takes the item out of the list, and puts one in (with its id).
    Item take(int row);
    void put(int row, const Item &item);
    // An edit of one entry; edited() follows when the value changed.
    void setEntry(int row, const Entry &entry);
    // Edits of many entries (rows and values pair up) as one change.
    void setEntries(const QList<int> &rows, const QList<Entry> &values);
    // The list as it is (ids, values, outcomes), and the list put back as it
    // was: an entry keeps its id, so a run still knows its entries, and an
    // entry still in the list keeps the outcome the run gave it.
    QList<Item> items() const;
    void restore(const QList<Item> &items);
    // Shows a value the run found (the blocks read from the entry's file):
    // neither an edit of the schedule nor a change the run must hear of.
    void showEntry(int row, const Entry &entry);
    // The run's notes beside the entry; not an edit of the schedule.
    void setOutcome(int row, const Outcome &outcome);
    void clearOutcomes();

    // How long an entry takes after the ticked entry above it (null: none),
    // as a run takes them; without an estimator the column stays empty.
    using Estimator = std::function<Estimate::Figure(const Entry &cur, const Entry *prev)>;
    void setEstimator(Estimator estimator);
    Estimate::Figure estimate(int row) const;

    static QString stateText(const Outcome &o);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Rows dragged within the overview: the model only says where they were
    // dropped (rowsDropped); whoever owns the undo history moves them.
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                      const QModelIndex &parent) override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

signals:
    // The schedule itself changed (an entry added, removed, moved or edited);
    // outcomes and estimates do not count.
    void edited();
    // One entry's value changed (setEntry), whoever changed it.
    void entryChanged(ScheduleModel::Id id);
    // An edit of one entry by setEntry, with the value it had (for undo).
    void entryEdited(ScheduleModel::Id id, const Entry &before);
    // These rows were dragged and dropped before row `to` (count(): at the end).
    void rowsDropped(const QList<int> &rows, int to);

private:
    static Id nextId();
    void rowChanged(int row, int first, int last);
    // An entry's estimate depends on the ticked entry above it: any change
    // of the list may change those below.
    void estimatesChanged();
    // The value at row, shown; false when it was that already.
    bool replace(int row, const Entry &entry);

    struct Row : Item
    {
        mutable std::optional<Estimate::Figure> estimate;
    };
    QList<Row> m_items;
    Estimator m_estimator;
};
