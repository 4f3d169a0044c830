// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScheduleHistory.h"

#include <QSet>
#include <QUndoStack>

namespace {

bool sameLists(const QList<ScheduleModel::Item> &a, const QList<ScheduleModel::Item> &b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        if (a.at(i).id != b.at(i).id || !(a.at(i).entry == b.at(i).entry))
            return false;
    }
    return true;
}

// Both lists before and after a change to many entries.
class ListsCommand : public QUndoCommand
{
public:
    using Items = QList<ScheduleModel::Item>;
    ListsCommand(ScheduleHistory *h, const QString &text, Items listBefore, Items bufferBefore,
                 Items listAfter, Items bufferAfter)
        : QUndoCommand(text), m_history(h), m_listBefore(std::move(listBefore)),
          m_bufferBefore(std::move(bufferBefore)), m_listAfter(std::move(listAfter)),
          m_bufferAfter(std::move(bufferAfter))
    {
    }
    void undo() override { m_history->apply(m_listBefore, m_bufferBefore); }
    void redo() override
    {
        if (m_done) // the change itself was already made when it was pushed
            m_history->apply(m_listAfter, m_bufferAfter);
        m_done = true;
    }
    const Items &listBefore() const { return m_listBefore; }
    const Items &listAfter() const { return m_listAfter; }

private:
    ScheduleHistory *m_history;
    Items m_listBefore, m_bufferBefore, m_listAfter, m_bufferAfter;
    bool m_done = false;
};

// One entry's value before and after; typing in one entry merges.
class EntryCommand : public QUndoCommand
{
public:
    EntryCommand(ScheduleHistory *h, const QString &text, ScheduleModel::Id id, Entry before,
                 Entry after)
        : QUndoCommand(text), m_history(h), m_id(id), m_before(std::move(before)),
          m_after(std::move(after))
    {
    }
    int id() const override { return 1; }
    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *o = static_cast<const EntryCommand *>(other);
        if (o->m_id != m_id)
            return false;
        m_after = o->m_after;
        return true;
    }
    void undo() override { m_history->applyEntry(m_id, m_before); }
    void redo() override
    {
        if (m_done)
            m_history->applyEntry(m_id, m_after);
        m_done = true;
    }

private:
    ScheduleHistory *m_history;
    ScheduleModel::Id m_id;
    Entry m_before, m_after;
    bool m_done = false;
};

QList<int> removedRows(const ScheduleModel *list, const QList<ScheduleModel::Item> &to)
{
    QSet<ScheduleModel::Id> kept;
    for (const ScheduleModel::Item &i : to)
        kept.insert(i.id);
    QList<int> rows;
    for (int r = 0; r < list->count(); ++r) {
        if (!kept.contains(list->id(r)))
            rows << r;
    }
    return rows;
}

} // namespace

ScheduleHistory::ScheduleHistory(ScheduleModel *list, ScheduleModel *cutBuffer, QObject *parent)
    : QObject(parent), m_list(list), m_cutBuffer(cutBuffer), m_stack(new QUndoStack(this))
{
    // Enough for an evening of editing; a step of a long list holds the lists
    // before and after it.
    m_stack->setUndoLimit(500);
    connect(m_list, &ScheduleModel::entryEdited, this,
            [this](ScheduleModel::Id id, const Entry &before) {
                if (m_quiet)
                    return;
                const int row = m_list->rowOf(id);
                m_stack->push(new EntryCommand(this, tr("Edit entry %1").arg(row + 1), id, before,
                                               m_list->entry(row)));
            });
    for (ScheduleModel *m : {m_list, m_cutBuffer}) {
        connect(m, &ScheduleModel::rowsInserted, this, &ScheduleHistory::structureChanged);
        connect(m, &ScheduleModel::rowsRemoved, this, &ScheduleHistory::structureChanged);
        connect(m, &ScheduleModel::modelReset, this, &ScheduleHistory::structureChanged);
    }
}

void ScheduleHistory::structureChanged()
{
    // Made past the history: its steps no longer fit the lists.
    if (!m_quiet)
        m_stack->clear();
}

void ScheduleHistory::change(const QString &text, const std::function<void()> &edit)
{
    auto listBefore = m_list->items();
    auto bufferBefore = m_cutBuffer->items();
    ++m_quiet;
    edit();
    --m_quiet;
    auto listAfter = m_list->items();
    auto bufferAfter = m_cutBuffer->items();
    if (sameLists(listBefore, listAfter) && sameLists(bufferBefore, bufferAfter))
        return;
    m_stack->push(new ListsCommand(this, text, std::move(listBefore), std::move(bufferBefore),
                                   std::move(listAfter), std::move(bufferAfter)));
}

QList<int> ScheduleHistory::rowsRemovedBy(bool redo) const
{
    const auto *c = dynamic_cast<const ListsCommand *>(
        m_stack->command(redo ? m_stack->index() : m_stack->index() - 1));
    if (!c)
        return {};
    return removedRows(m_list, redo ? c->listAfter() : c->listBefore());
}

void ScheduleHistory::apply(const QList<ScheduleModel::Item> &list,
                            const QList<ScheduleModel::Item> &buffer)
{
    ++m_quiet;
    m_list->restore(list);
    m_cutBuffer->restore(buffer);
    --m_quiet;
}

void ScheduleHistory::applyEntry(ScheduleModel::Id id, const Entry &entry)
{
    ++m_quiet;
    for (ScheduleModel *m : {m_list, m_cutBuffer}) {
        const int row = m->rowOf(id);
        if (row >= 0)
            m->setEntry(row, entry);
    }
    --m_quiet;
}
