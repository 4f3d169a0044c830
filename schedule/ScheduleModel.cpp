// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScheduleModel.h"

#include "Estimate.h"
#include "ListEdits.h"

#include "OptionTables.h"
#include <QHash>
#include <QMimeData>

#include <algorithm>

#include <atomic>

ScheduleModel::ScheduleModel(QObject *parent) : QAbstractTableModel(parent) {}

ScheduleModel::Id ScheduleModel::nextId()
{
    // Shared by every model, so that an entry moved between the list and
    // the cut buffer can never meet another with its id.
    static std::atomic<Id> last{0};
    return ++last;
}

int ScheduleModel::rowOf(Id id) const
{
    for (int i = 0; i < m_items.size(); ++i) {
        if (m_items.at(i).id == id)
            return i;
    }
    return -1;
}

QList<Entry> ScheduleModel::entries() const
{
    QList<Entry> out;
    out.reserve(m_items.size());
    for (const Row &r : m_items)
        out.append(r.entry);
    return out;
}

QList<ScheduleModel::Id> ScheduleModel::ids() const
{
    QList<Id> out;
    out.reserve(m_items.size());
    for (const Row &r : m_items)
        out.append(r.id);
    return out;
}

ScheduleModel::Id ScheduleModel::insert(int row, const Entry &entry)
{
    Item item;
    item.id = nextId();
    item.entry = entry;
    put(row, item);
    return item.id;
}

void ScheduleModel::setEntries(const QList<Entry> &entries)
{
    beginResetModel();
    m_items.clear();
    m_items.reserve(entries.size());
    for (const Entry &e : entries) {
        Row r;
        r.id = nextId();
        r.entry = e;
        m_items.append(r);
    }
    endResetModel();
    emit edited();
}

ScheduleModel::Item ScheduleModel::take(int row)
{
    if (row < 0 || row >= m_items.size())
        return {};
    beginRemoveRows({}, row, row);
    const Item item = m_items.takeAt(row);
    endRemoveRows();
    estimatesChanged();
    // The numbers of the rows below changed.
    if (row < m_items.size())
        emit dataChanged(index(row, No), index(count() - 1, No));
    emit edited();
    return item;
}

void ScheduleModel::put(int row, const Item &item)
{
    row = qBound(0, row, count());
    beginInsertRows({}, row, row);
    Row r;
    static_cast<Item &>(r) = item;
    m_items.insert(row, r);
    endInsertRows();
    estimatesChanged();
    if (row + 1 < m_items.size())
        emit dataChanged(index(row + 1, No), index(count() - 1, No));
    emit edited();
}

bool ScheduleModel::replace(int row, const Entry &entry)
{
    if (row < 0 || row >= m_items.size() || m_items.at(row).entry == entry)
        return false;
    m_items[row].entry = entry;
    rowChanged(row, 0, ColumnCount - 1);
    estimatesChanged();
    return true;
}

void ScheduleModel::setEntry(int row, const Entry &entry)
{
    if (row < 0 || row >= m_items.size())
        return;
    const Entry before = m_items.at(row).entry;
    if (!replace(row, entry))
        return;
    emit entryChanged(m_items.at(row).id);
    emit entryEdited(m_items.at(row).id, before);
    emit edited();
}

void ScheduleModel::setEntries(const QList<int> &rows, const QList<Entry> &values)
{
    QList<Id> changed;
    for (int i = 0; i < rows.size() && i < values.size(); ++i) {
        const int row = rows.at(i);
        if (row < 0 || row >= m_items.size() || m_items.at(row).entry == values.at(i))
            continue;
        m_items[row].entry = values.at(i);
        m_items[row].estimate.reset();
        changed << m_items.at(row).id;
    }
    if (changed.isEmpty())
        return;
    emit dataChanged(index(0, 0), index(count() - 1, ColumnCount - 1));
    for (Id id : changed)
        emit entryChanged(id);
    emit edited();
}

void ScheduleModel::insert(int row, const QList<Entry> &entries)
{
    if (entries.isEmpty())
        return;
    row = qBound(0, row, count());
    beginInsertRows({}, row, row + int(entries.size()) - 1);
    for (int i = 0; i < entries.size(); ++i) {
        Row r;
        r.id = nextId();
        r.entry = entries.at(i);
        m_items.insert(row + i, r);
    }
    endInsertRows();
    if (row + entries.size() < m_items.size())
        emit dataChanged(index(row + int(entries.size()), No), index(count() - 1, No));
    emit edited();
}

QList<ScheduleModel::Item> ScheduleModel::items() const
{
    QList<Item> out;
    out.reserve(m_items.size());
    for (const Row &r : m_items)
        out.append(r);
    return out;
}

void ScheduleModel::restore(const QList<Item> &items)
{
    QHash<Id, Entry> was;
    QHash<Id, Outcome> outcomes;
    for (const Row &r : m_items) {
        was.insert(r.id, r.entry);
        outcomes.insert(r.id, r.outcome);
    }
    beginResetModel();
    m_items.clear();
    m_items.reserve(items.size());
    for (const Item &item : items) {
        Row r;
        static_cast<Item &>(r) = item;
        // What the run made of an entry is the run's, not the list's: it
        // is not taken back with the list.
        r.outcome = outcomes.value(item.id, item.outcome);
        m_items.append(r);
    }
    endResetModel();
    // A run hears of its entries whose values came back changed.
    for (const Row &r : m_items) {
        const auto it = was.constFind(r.id);
        if (it != was.constEnd() && !(*it == r.entry))
            emit entryChanged(r.id);
    }
    emit edited();
}

void ScheduleModel::showEntry(int row, const Entry &entry)
{
    replace(row, entry);
}

void ScheduleModel::setOutcome(int row, const Outcome &outcome)
{
    if (row < 0 || row >= m_items.size())
        return;
    m_items[row].outcome = outcome;
    rowChanged(row, Status, End);
}

void ScheduleModel::clearOutcomes()
{
    if (m_items.isEmpty())
        return;
    for (Row &r : m_items)
        r.outcome = {};
    emit dataChanged(index(0, Status), index(count() - 1, End));
}

void ScheduleModel::rowChanged(int row, int first, int last)
{
    emit dataChanged(index(row, first), index(row, last));
}

void ScheduleModel::setEstimator(Estimator estimator)
{
    m_estimator = std::move(estimator);
    estimatesChanged();
}

void ScheduleModel::estimatesChanged()
{
    for (Row &r : m_items)
        r.estimate.reset();
    if (!m_items.isEmpty())
        emit dataChanged(index(0, Estimate), index(count() - 1, Estimate));
}

Estimate::Figure ScheduleModel::estimate(int row) const
{
    if (row < 0 || row >= m_items.size() || !m_estimator)
        return {};
    const Row &r = m_items.at(row);
    if (!r.estimate) {
        const Entry *prev = nullptr;
        for (int i = row - 1; i >= 0 && !prev; --i) {
            if (m_items.at(i).entry.exec)
                prev = &m_items.at(i).entry;
        }
        r.estimate = m_estimator(r.entry, prev);
    }
    return *r.estimate;
}

int ScheduleModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

int ScheduleModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString ScheduleModel::stateText(const Outcome &o)
{
    switch (o.state) {
    case EntryState::Pending:
        return tr("pending");
    case EntryState::Running:
        return o.text.isEmpty() ? tr("running") : tr("running: %1").arg(o.text);
    case EntryState::Done:
        return tr("done");
    case EntryState::Failed:
        return o.text.isEmpty() ? tr("failed") : tr("failed: %1").arg(o.text);
    case EntryState::Skipped:
        return tr("skipped");
    case EntryState::Stopped:
        return tr("stopped");
    }
    return QString();
}

QVariant ScheduleModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_items.size())
        return {};
    const Entry &e = m_items.at(index.row()).entry;
    const Outcome &o = m_items.at(index.row()).outcome;
    const int column = index.column();
    if (role == Qt::CheckStateRole && column == Exec)
        return e.exec ? Qt::Checked : Qt::Unchecked;
    if (role == ProblemRole)
        return !e.errors.isEmpty() ? 2 : !e.warnings.isEmpty() ? 1 : 0;
    if (role == Qt::ToolTipRole && column == No)
        return !e.errors.isEmpty() ? e.errors.first() : e.warnings.value(0);
    if (role == ChoicesRole)
        return ListEdits::choices(fieldOf(column));
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    if (fieldOf(column) >= 0)
        return ListEdits::field(e, fieldOf(column));
    if (role != Qt::DisplayRole)
        return {};
    switch (column) {
    case No:
        return index.row() + 1;
    case Blocks:
        return e.blocks;
    case Estimate:
        return m_estimator ? Estimate::format(estimate(index.row())) : QString();
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

QVariant ScheduleModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation == Qt::Vertical)
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
    case Comment:
        return tr("Comment");
    case File:
        return tr("Data file");
    case Element:
        return tr("Element");
    case Edge:
        return tr("Edge");
    case Crystal:
        return tr("Crystal");
    case Scan:
        return tr("Scan");
    case Mode:
        return tr("Mode");
    case Dark:
        return tr("Dark");
    case Tuning:
        return tr("Tuning");
    case BlockDef:
        return tr("Blocks by");
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

int ScheduleModel::fieldOf(int column)
{
    switch (column) {
    case Holder:
        return 0;
    case Sample:
        return 1;
    case Comment:
        return 2;
    case File:
        return 4;
    case Element:
        return EntryColumns::Element;
    case Edge:
        return EntryColumns::Edge;
    case Crystal:
        return EntryColumns::Crystal;
    case Scan:
        return EntryColumns::ScanType;
    case Mode:
        return EntryColumns::MeasMode;
    case Dark:
        return EntryColumns::MeasDark;
    case Tuning:
        return EntryColumns::Tuning;
    case BlockDef:
        return EntryColumns::BlockDef;
    default:
        return -1;
    }
}

Qt::ItemFlags ScheduleModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (!index.isValid())
        return f | Qt::ItemIsDropEnabled; // between rows, or below the last
    f |= Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    if (index.column() == Exec)
        f |= Qt::ItemIsUserCheckable;
    if (fieldOf(index.column()) >= 0)
        f |= Qt::ItemIsEditable;
    return f;
}

bool ScheduleModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.row() >= m_items.size())
        return false;
    const int row = index.row();
    Entry e = m_items.at(row).entry;
    if (role == Qt::CheckStateRole && index.column() == Exec) {
        e.exec = value.toInt() == Qt::Checked;
    } else if (role == Qt::EditRole && fieldOf(index.column()) >= 0) {
        e = ListEdits::withField(e, fieldOf(index.column()), value.toString());
    } else {
        return false;
    }
    setEntry(row, e);
    return true;
}

namespace {
const char kRowsMime[] = "application/x-skedra-rows";
}

QStringList ScheduleModel::mimeTypes() const
{
    return {QString::fromLatin1(kRowsMime)};
}

QMimeData *ScheduleModel::mimeData(const QModelIndexList &indexes) const
{
    QList<int> rows;
    for (const QModelIndex &i : indexes)
        if (!rows.contains(i.row()))
            rows << i.row();
    std::sort(rows.begin(), rows.end());
    QStringList text;
    for (int r : rows)
        text << QString::number(r);
    auto *data = new QMimeData;
    data->setData(QString::fromLatin1(kRowsMime), text.join(QLatin1Char(',')).toLatin1());
    return data;
}

bool ScheduleModel::dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int,
                                 const QModelIndex &parent)
{
    if (action != Qt::MoveAction || !data || !data->hasFormat(QString::fromLatin1(kRowsMime)))
        return false;
    QList<int> rows;
    for (const QByteArray &r : data->data(QString::fromLatin1(kRowsMime)).split(',')) {
        bool ok = false;
        const int n = r.toInt(&ok);
        if (ok && n >= 0 && n < count())
            rows << n;
    }
    const int to = row >= 0 ? row : parent.isValid() ? parent.row() : count();
    if (!rows.isEmpty())
        emit rowsDropped(rows, qBound(0, to, count()));
    // The view must not remove the rows itself: they are moved, not copied.
    return false;
}
