#include "RunOverview.h"

#include "Estimate.h"
#include "OptionTables.h"

RunOverview::RunOverview(QObject *parent) : QAbstractTableModel(parent) {}

void RunOverview::setEntries(const QList<Entry> &entries, const QList<double> &estimates)
{
    beginResetModel();
    const bool sameCount = entries.size() == m_entries.size();
    m_entries = entries;
    m_estimates = estimates;
    if (!sameCount)
        m_outcomes = QList<Outcome>(entries.size());
    endResetModel();
}

void RunOverview::setEntry(int row, const Entry &entry, double estimate)
{
    if (row < 0 || row >= m_entries.size())
        return;
    m_entries[row] = entry;
    m_estimates[row] = estimate;
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void RunOverview::setOutcome(int row, const Outcome &outcome)
{
    if (row < 0 || row >= m_outcomes.size())
        return;
    m_outcomes[row] = outcome;
    emit dataChanged(index(row, Status), index(row, End));
}

void RunOverview::clearOutcomes()
{
    if (m_outcomes.isEmpty())
        return;
    m_outcomes = QList<Outcome>(m_entries.size());
    emit dataChanged(index(0, Status), index(int(m_outcomes.size()) - 1, End));
}

int RunOverview::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

int RunOverview::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString RunOverview::stateText(const Outcome &o)
{
    switch (o.state) {
    case State::Pending:
        return tr("pending");
    case State::Running:
        return o.text.isEmpty() ? tr("running") : tr("running: %1").arg(o.text);
    case State::Done:
        return tr("done");
    case State::Failed:
        return o.text.isEmpty() ? tr("failed") : tr("failed: %1").arg(o.text);
    case State::Skipped:
        return tr("skipped");
    case State::Stopped:
        return tr("stopped");
    }
    return QString();
}

QVariant RunOverview::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_entries.size())
        return {};
    const Entry &e = m_entries.at(index.row());
    const Outcome &o = m_outcomes.at(index.row());
    if (role == Qt::CheckStateRole && index.column() == Exec)
        return e.exec ? Qt::Checked : Qt::Unchecked;
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case No:
        return index.row() + 1;
    case Holder:
        return e.holder;
    case Sample:
        return e.sampleId;
    case Target:
        return e.elementSymbol() + QLatin1Char(' ') + e.targetCore;
    case Scan:
        return scanTypeTable().label(e.scanType);
    case Blocks:
        return e.blocks;
    case Estimate:
        return Estimate::format(m_estimates.value(index.row()));
    case Status:
        return stateText(o);
    case Start:
        return o.started.isValid() ? o.started.toString(QStringLiteral("HH:mm:ss")) : QString();
    case End:
        return o.ended.isValid() ? o.ended.toString(QStringLiteral("HH:mm:ss")) : QString();
    default:
        return {};
    }
}

QVariant RunOverview::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return {};
    switch (section) {
    case No:
        return tr("No");
    case Exec:
        return tr("Exec");
    case Holder:
        return tr("Holder");
    case Sample:
        return tr("Sample");
    case Target:
        return tr("Target");
    case Scan:
        return tr("Scan");
    case Blocks:
        return tr("Blocks");
    case Estimate:
        return tr("Estimate");
    case Status:
        return tr("Status");
    case Start:
        return tr("Start");
    case End:
        return tr("End");
    default:
        return {};
    }
}
