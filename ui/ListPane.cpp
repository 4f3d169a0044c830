// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListPane.h"

#include "EntryCheck.h"
#include "ListEdits.h"
#include "PlanView.h"
#include "ScheduleEdit.h"
#include "ScheduleHistory.h"
#include "ScheduleModel.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QScrollArea>
#include <QSettings>
#include <QTableView>

namespace {

ScheduleEdit::Mark markFor(EntryState state)
{
    switch (state) {
    case EntryState::Running:
        return ScheduleEdit::Mark::Running;
    case EntryState::Done:
    case EntryState::Stopped:
        return ScheduleEdit::Mark::Finished;
    case EntryState::Failed:
        return ScheduleEdit::Mark::Error;
    case EntryState::Pending:
    case EntryState::Skipped:
        break;
    }
    return ScheduleEdit::Mark::None;
}

QTableView *newTable(ScheduleModel *model)
{
    auto *view = new QTableView;
    view->setModel(model);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->horizontalHeader()->setStretchLastSection(true);
    view->horizontalHeader()->setSectionResizeMode(ScheduleModel::Status, QHeaderView::Stretch);
    return view;
}

QSettings settings()
{
    return QSettings(QStringLiteral("Skedra"), QStringLiteral("Skedra"));
}

} // namespace

ListPane::ListPane(ScheduleModel *list, ScheduleModel *cutBuffer, QScrollArea *editorArea,
                   QGridLayout *editorPlace, QWidget *parent)
    : QSplitter(Qt::Vertical, parent), m_list(list), m_cutBuffer(cutBuffer),
      m_history(new ScheduleHistory(list, cutBuffer, this)), m_editorPlace(editorPlace)
{
    setObjectName(QStringLiteral("OverviewSplitter"));
    setChildrenCollapsible(false);
    m_overview = newTable(m_list);
    m_overview->setObjectName(QStringLiteral("Overview"));
    // A spreadsheet: cells selected and edited in place.
    m_overview->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_overview->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_overview->setEditTriggers(QAbstractItemView::DoubleClicked |
                                QAbstractItemView::EditKeyPressed |
                                QAbstractItemView::AnyKeyPressed);
    m_overview->horizontalHeader()->setSectionResizeMode(ScheduleModel::Status,
                                                         QHeaderView::Interactive);
    addWidget(m_overview);
    addWidget(editorArea);
    setStretchFactor(0, 1);
    setStretchFactor(1, 2);
    m_cutBufferView = newTable(m_cutBuffer);
    m_cutBufferView->setObjectName(QStringLiteral("CutBufferList"));
    // Where the operator left the splitter and the columns.
    const QSettings s = settings();
    if (!restoreState(s.value(QStringLiteral("overview/splitter")).toByteArray()))
        setSizes({200, 400});
    m_overview->horizontalHeader()->restoreState(
        s.value(QStringLiteral("overview/columns")).toByteArray());

    connect(m_overview->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { setCurrentRow(current.row()); });
    connect(m_list, &ScheduleModel::edited, this, &ListPane::listChanged);
    connect(m_list, &ScheduleModel::dataChanged, this,
            [this](const QModelIndex &from, const QModelIndex &to) {
                if (m_currentRow >= from.row() && m_currentRow <= to.row())
                    showCurrent();
            });
    connect(m_list, &ScheduleModel::modelReset, this,
            [this] { setCurrentRow(qMax(0, m_currentRow)); });
    setupActions();
}

ListPane::~ListPane()
{
    QSettings s = settings();
    s.setValue(QStringLiteral("overview/splitter"), saveState());
    s.setValue(QStringLiteral("overview/columns"), m_overview->horizontalHeader()->saveState());
}

void ListPane::listChanged()
{
    if (m_currentRow >= m_list->count() || (m_currentRow < 0 && m_list->count() > 0))
        setCurrentRow(m_list->count() - 1);
    else
        showCurrent();
}

void ListPane::setCurrentRow(int row)
{
    row = m_list->count() == 0 ? -1 : qBound(0, row, m_list->count() - 1);
    m_currentRow = row;
    if (row >= 0 && m_overview->currentIndex().row() != row) {
        const int column = qMax(0, m_overview->currentIndex().column());
        m_overview->setCurrentIndex(m_list->index(row, column));
        m_overview->scrollTo(m_list->index(row, column));
    }
    showCurrent();
}

ScheduleEdit *ListPane::editor()
{
    // Made for the first entry shown: a window opened on an empty list
    // starts without the editor's cost.
    if (m_editor)
        return m_editor;
    m_editor = new ScheduleEdit;
    m_editorPlace->addWidget(m_editor, 0, 0);
    // The plan of the entry beside its block rows; a region written from k
    // is an edit of the entry like any other.
    m_planView = new PlanView;
    m_planView->setMinimumWidth(360);
    m_editorPlace->addWidget(m_planView, 0, 1, Qt::AlignTop);
    connect(m_planView, &PlanView::regionChosen, this, [this](const ScanPlan::Region &r) {
        if (m_currentRow < 0)
            return;
        const ScanPlan::RegionResult res = ScanPlan::applyRegion(m_list->entry(m_currentRow), r);
        if (res.ok)
            m_list->setEntry(m_currentRow, res.entry);
    });
    connect(m_editor, &ScheduleEdit::insertUp, this, [this] { insertFromBuffer(m_currentRow); });
    connect(m_editor, &ScheduleEdit::insertDown, this,
            [this] { insertFromBuffer(m_currentRow + 1); });
    connect(m_editor, &ScheduleEdit::copy, this, &ListPane::copyCurrent);
    connect(m_editor, &ScheduleEdit::cut, this, &ListPane::cutCurrent);
    connect(m_editor, &ScheduleEdit::entryChanged, this, [this] {
        if (m_currentRow >= 0)
            m_list->setEntry(m_currentRow, m_editor->entry());
    });
    return m_editor;
}

void ListPane::showCurrent()
{
    const int row = m_currentRow;
    if (m_editor) {
        m_editor->setVisible(row >= 0);
        m_planView->setVisible(row >= 0);
    }
    if (row < 0)
        return;
    editor()->show();
    m_planView->show();
    m_planView->setEntry(m_list->entry(row));
    // Only what changed is shown again: the field being typed in keeps its
    // cursor.
    if (m_editor->entry() != m_list->entry(row)) {
        const QSignalBlocker quiet(m_editor);
        m_editor->setEntry(m_list->entry(row));
    }
    m_editor->setNumber(row + 1);
    m_editor->setEstimate(m_list->data(m_list->index(row, ScheduleModel::Estimate)).toString());
    const ScheduleModel::Outcome &o = m_list->outcome(row);
    m_editor->setMark(markFor(o.state));
    m_editor->setStatus(o.state == EntryState::Pending || o.state == EntryState::Running
                            ? QString()
                            : ScheduleModel::stateText({o.state, {}, {}, {}}),
                        o.text);
    m_editor->setScheduleWarnings(EntryCheck::checkSchedule(m_list->entries()).value(row));
}

bool ListPane::mayRemove(const QList<int> &rows, bool all) const
{
    return !m_guard || m_guard(rows, all);
}

void ListPane::newEntry(int row)
{
    Entry e = Entry::defaults();
    if (m_currentRow >= 0) {
        e = m_list->entry(m_currentRow);
        e.dataFile = ListEdits::numberedOn(e.dataFile, 1);
    }
    m_history->change(tr("New entry"), [&] { m_list->insert(row, e); });
    setCurrentRow(row);
}

void ListPane::insertFromBuffer(int row)
{
    if (m_cutBuffer->count() == 0 || m_currentRow < 0)
        return;
    m_history->change(tr("Insert"), [&] { m_list->put(row, m_cutBuffer->take(0)); });
    setCurrentRow(row);
}

void ListPane::comeBack()
{
    if (m_cutBuffer->count() == 0)
        return;
    m_history->change(tr("Come back"), [&] { m_list->put(m_list->count(), m_cutBuffer->take(0)); });
    setCurrentRow(m_list->count() - 1);
}

void ListPane::copyCurrent()
{
    if (m_currentRow >= 0)
        m_history->change(tr("Copy"), [&] { m_cutBuffer->insert(0, m_list->entry(m_currentRow)); });
}

void ListPane::cutCurrent()
{
    const int row = m_currentRow;
    if (row < 0 || !mayRemove({row}, false))
        return;
    m_history->change(tr("Cut"), [&] { m_cutBuffer->put(0, m_list->take(row)); });
}

bool ListPane::clear()
{
    if (m_list->count() == 0)
        return true;
    QList<int> all;
    for (int i = 0; i < m_list->count(); ++i)
        all << i;
    if (!mayRemove(all, true))
        return false;
    // The first entry ends up latest, on top of the buffer.
    m_history->change(tr("Clear"), [&] {
        while (m_list->count() > 0)
            m_cutBuffer->put(0, m_list->take(m_list->count() - 1));
    });
    return true;
}
