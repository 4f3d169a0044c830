// The overview of the schedule: one row per entry with what it measures, its
// estimated duration and what the current run made of it. A table model over
// entry values, shown in a QTableView beside the entry editors; the main
// window keeps the entries and the run's outcomes in it.
#pragma once

#include "Entry.h"
#include "ExecFlags.h"

#include <QAbstractTableModel>
#include <QDateTime>
#include <QList>

class RunOverview : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column {
        No,
        Exec,
        Holder,
        Sample,
        Target,
        Scan,
        Blocks,
        Estimate,
        Status,
        Start,
        End,
        ColumnCount
    };
    using State = EntryState;

    struct Outcome
    {
        State state = State::Pending;
        QString text; // the stage while running, the reason when failed
        QDateTime started;
        QDateTime ended;
    };

    explicit RunOverview(QObject *parent = nullptr);

    // The whole list anew (entries added, moved or removed); outcomes are kept
    // by position only when the count is unchanged.
    void setEntries(const QList<Entry> &entries, const QList<double> &estimates);
    void setEntry(int row, const Entry &entry, double estimate);
    void setOutcome(int row, const Outcome &outcome);
    // Every row back to pending: a new run begins.
    void clearOutcomes();
    Outcome outcome(int row) const { return m_outcomes.value(row); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    static QString stateText(const Outcome &o);

private:
    QList<Entry> m_entries;
    QList<double> m_estimates;
    QList<Outcome> m_outcomes;
};
