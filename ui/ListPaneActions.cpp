// SPDX-License-Identifier: GPL-3.0-or-later
// The overview as a spreadsheet: the in-place editors, and the actions on
// the selected rows. Every change goes through the history, one step each.
#include "ListEdits.h"
#include "ListPane.h"
#include "ScheduleHistory.h"
#include "ScheduleModel.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMetaProperty>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>
#include <QUndoStack>

#include <algorithm>

namespace {

// Drop-downs where a field is a choice; a value committed with several rows
// selected goes to all of them; entries with errors or warnings marked in
// their number.
class OverviewDelegate : public QStyledItemDelegate
{
public:
    OverviewDelegate(ListPane *pane) : QStyledItemDelegate(pane), m_pane(pane) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        const QStringList choices = index.data(ScheduleModel::ChoicesRole).toStringList();
        if (choices.isEmpty())
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto *box = new QComboBox(parent);
        box->addItems(choices);
        // An element may be typed by its number, and a text read from a
        // file that names no choice must still show.
        box->setEditable(index.column() == ScheduleModel::Element);
        return box;
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        if (auto *box = qobject_cast<QComboBox *>(editor)) {
            const QString text = index.data(Qt::EditRole).toString();
            if (box->findText(text) < 0)
                box->addItem(text);
            box->setCurrentText(text);
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override
    {
        const QList<int> rows = m_pane->selectedRows();
        if (rows.size() < 2 || !rows.contains(index.row()))
            return QStyledItemDelegate::setModelData(editor, model, index);
        // Typed with several rows selected: for all of them, one step.
        QString text;
        if (auto *box = qobject_cast<QComboBox *>(editor))
            text = box->currentText();
        else
            text = editor->property(editor->metaObject()->userProperty().name()).toString();
        m_pane->setField(index.column(), text);
    }
    // Enter commits the cell and goes one row down, as in a spreadsheet.
    bool eventFilter(QObject *object, QEvent *event) override
    {
        auto *editor = qobject_cast<QWidget *>(object);
        const auto *key =
            event->type() == QEvent::KeyPress ? static_cast<QKeyEvent *>(event) : nullptr;
        if (!editor || !key || (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            key->modifiers() != Qt::NoModifier)
            return QStyledItemDelegate::eventFilter(object, event);
        QTableView *view = m_pane->overview();
        const QModelIndex at = view->currentIndex();
        emit commitData(editor);
        emit closeEditor(editor, QAbstractItemDelegate::NoHint);
        const QModelIndex below = at.sibling(at.row() + 1, at.column());
        if (below.isValid())
            view->setCurrentIndex(below);
        return true;
    }
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        const int problem = index.column() == ScheduleModel::No
                                ? index.data(ScheduleModel::ProblemRole).toInt()
                                : 0;
        if (problem > 0)
            painter->fillRect(option.rect,
                              problem == 2 ? QColor(255, 170, 170) : QColor(255, 230, 150));
        QStyledItemDelegate::paint(painter, option, index);
    }

private:
    ListPane *m_pane;
};

} // namespace

void ListPane::setupActions()
{
    m_overview->setItemDelegate(new OverviewDelegate(this));
    // Rows dragged to another place; the move is a step to undo like any.
    m_overview->setDragEnabled(true);
    m_overview->setAcceptDrops(true);
    m_overview->setDropIndicatorShown(true);
    m_overview->setDragDropMode(QAbstractItemView::DragDrop);
    m_overview->setDefaultDropAction(Qt::MoveAction);
    connect(m_list, &ScheduleModel::rowsDropped, this, &ListPane::moveRowsTo);
    QUndoStack *stack = m_history->stack();
    const auto add = [this](QAction *a, const QKeySequence &keys) {
        if (!keys.isEmpty())
            a->setShortcut(keys);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        m_actions << a;
        addAction(a);
        return a;
    };
    // Undo and redo go through the guard: a step that would take the
    // running entry out of the list asks first.
    auto *undo = add(new QAction(tr("Undo"), this), QKeySequence::Undo);
    undo->setEnabled(false);
    connect(stack, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(undo, &QAction::triggered, this, [this] { undoOrRedo(false); });
    auto *redo = add(new QAction(tr("Redo"), this), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    redo->setEnabled(false);
    connect(stack, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    connect(redo, &QAction::triggered, this, [this] { undoOrRedo(true); });
    connect(add(new QAction(tr("Copy rows"), this), QKeySequence::Copy), &QAction::triggered, this,
            [this] { QApplication::clipboard()->setText(selectionAsText()); });
    connect(add(new QAction(tr("Paste rows"), this), QKeySequence::Paste), &QAction::triggered,
            this, [this] { paste(QApplication::clipboard()->text()); });
    connect(add(new QAction(tr("Cut rows"), this), QKeySequence::Cut), &QAction::triggered, this,
            &ListPane::cutSelection);
    connect(add(new QAction(tr("Fill down"), this), QKeySequence(Qt::CTRL | Qt::Key_D)),
            &QAction::triggered, this, [this] { fillDown(m_overview->currentIndex().column()); });
    connect(add(new QAction(tr("Duplicate"), this), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D)),
            &QAction::triggered, this, [this] { repeatSelection(1); });
    connect(add(new QAction(tr("Repeat ×N…"), this), QKeySequence()), &QAction::triggered, this,
            [this] {
                bool ok = false;
                const int n = QInputDialog::getInt(this, tr("Repeat"),
                                                   tr("Copies of the selected entries, their "
                                                      "data files numbered on:"),
                                                   2, 1, 999, 1, &ok);
                if (ok)
                    repeatSelection(n);
            });
    connect(add(new QAction(tr("Move up"), this), QKeySequence(Qt::ALT | Qt::Key_Up)),
            &QAction::triggered, this, [this] { moveSelection(-1); });
    connect(add(new QAction(tr("Move down"), this), QKeySequence(Qt::ALT | Qt::Key_Down)),
            &QAction::triggered, this, [this] { moveSelection(1); });
    connect(add(new QAction(tr("Tick"), this), QKeySequence()), &QAction::triggered, this,
            [this] { tickSelection(true); });
    connect(add(new QAction(tr("Untick"), this), QKeySequence()), &QAction::triggered, this,
            [this] { tickSelection(false); });
    connect(add(new QAction(tr("Tick what failed in the last run"), this), QKeySequence()),
            &QAction::triggered, this, &ListPane::tickWhatFailed);
    m_overview->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_overview->addActions(m_actions);
}

QWidget *ListPane::controls()
{
    auto *box = new QWidget;
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    auto *show = new QCheckBox(tr("Show Overview"));
    show->setObjectName(QStringLiteral("ShowOverview"));
    show->setChecked(true);
    connect(show, &QCheckBox::toggled, m_overview, &QTableView::setVisible);
    auto *edit = new QToolButton;
    edit->setText(tr("Edit"));
    edit->setPopupMode(QToolButton::InstantPopup);
    edit->addActions(m_actions);
    row->addWidget(show);
    row->addWidget(edit);
    return box;
}

QAction *ListPane::action(Action a) const
{
    return m_actions.value(int(a));
}

void ListPane::undoOrRedo(bool redo)
{
    QUndoStack *stack = m_history->stack();
    if (!(redo ? stack->canRedo() : stack->canUndo()))
        return;
    const QList<int> leaving = m_history->rowsRemovedBy(redo);
    if (!leaving.isEmpty() && !mayRemove(leaving, false))
        return;
    redo ? stack->redo() : stack->undo();
}

QList<int> ListPane::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &i : m_overview->selectionModel()->selectedIndexes())
        rows << i.row();
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.isEmpty() && m_currentRow >= 0)
        rows << m_currentRow;
    return rows;
}

void ListPane::selectRows(int first, int last)
{
    if (m_list->count() == 0)
        return;
    first = qBound(0, first, m_list->count() - 1);
    last = qBound(first, last, m_list->count() - 1);
    const QItemSelection s(m_list->index(first, 0),
                           m_list->index(last, ScheduleModel::ColumnCount - 1));
    m_overview->selectionModel()->select(s, QItemSelectionModel::ClearAndSelect);
    m_overview->selectionModel()->setCurrentIndex(m_list->index(first, 0),
                                                  QItemSelectionModel::NoUpdate);
    setCurrentRow(first);
}

void ListPane::setField(int column, const QString &text)
{
    const int f = ScheduleModel::fieldOf(column);
    if (f < 0 && column != ScheduleModel::Exec)
        return;
    const QList<int> rows = selectedRows();
    QList<Entry> values;
    for (int r : rows) {
        Entry e = m_list->entry(r);
        if (column == ScheduleModel::Exec)
            e.exec = text == QLatin1String("1");
        else
            e = ListEdits::withField(e, f, text);
        values << e;
    }
    m_history->change(tr("Set %1").arg(m_list->headerData(column, Qt::Horizontal).toString()),
                      [&] { m_list->setEntries(rows, values); });
}

void ListPane::fillDown(int column)
{
    const QList<int> rows = selectedRows();
    if (rows.size() < 2)
        return;
    const int f = ScheduleModel::fieldOf(column);
    if (column == ScheduleModel::Exec)
        setField(column, m_list->entry(rows.first()).exec ? QStringLiteral("1") : QString());
    else if (f >= 0)
        setField(column, ListEdits::field(m_list->entry(rows.first()), f));
}

void ListPane::repeatSelection(int times)
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty() || times < 1)
        return;
    QList<Entry> block;
    for (int r : rows)
        block << m_list->entry(r);
    const int at = rows.last() + 1;
    const QList<Entry> copies = ListEdits::repeated(block, times);
    m_history->change(times == 1 ? tr("Duplicate") : tr("Repeat ×%1").arg(times),
                      [&] { m_list->insert(at, copies); });
    selectRows(at, at + int(copies.size()) - 1);
}

void ListPane::moveSelection(int by)
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty() || rows.first() + by < 0 || rows.last() + by >= m_list->count())
        return;
    // Before the row that ends up after them.
    moveRowsTo(rows, by < 0 ? rows.first() + by : rows.last() + by + 1);
}

void ListPane::moveRowsTo(const QList<int> &rows, int to)
{
    QList<ScheduleModel::Item> items = m_list->items();
    QList<ScheduleModel::Item> moved;
    int at = to;
    for (int i = int(rows.size()) - 1; i >= 0; --i) {
        moved.prepend(items.takeAt(rows.at(i)));
        if (rows.at(i) < to)
            --at; // the rows above the place it goes to move up with it
    }
    for (int i = 0; i < moved.size(); ++i)
        items.insert(at + i, moved.at(i));
    m_history->change(tr("Move"), [&] { m_list->restore(items); });
    selectRows(at, at + int(moved.size()) - 1);
}

void ListPane::tickSelection(bool on)
{
    setField(ScheduleModel::Exec, on ? QStringLiteral("1") : QString());
}

void ListPane::tickWhatFailed()
{
    QList<int> rows;
    QList<Entry> values;
    for (int r = 0; r < m_list->count(); ++r) {
        const EntryState s = m_list->outcome(r).state;
        if (s == EntryState::Pending || s == EntryState::Skipped)
            continue;
        Entry e = m_list->entry(r);
        e.exec = s == EntryState::Failed || s == EntryState::Stopped;
        rows << r;
        values << e;
    }
    m_history->change(tr("Tick what failed"), [&] { m_list->setEntries(rows, values); });
}

void ListPane::cutSelection()
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty() || !mayRemove(rows, false))
        return;
    m_history->change(tr("Cut"), [&] {
        // The first row selected ends up latest, on top of the buffer.
        for (int i = int(rows.size()) - 1; i >= 0; --i)
            m_cutBuffer->put(0, m_list->take(rows.at(i)));
    });
}

QString ListPane::selectionAsText() const
{
    QList<Entry> entries;
    for (int r : selectedRows())
        entries << m_list->entry(r);
    return ListEdits::toTsv(entries);
}

bool ListPane::paste(const QString &text)
{
    const ListEdits::Pasted p = ListEdits::fromTsv(text);
    if (!p.refused.isEmpty())
        emit refused(tr("Rows not pasted: %1").arg(p.refused.join(QStringLiteral("; "))));
    if (p.entries.isEmpty())
        return p.refused.isEmpty();
    const QList<int> rows = selectedRows();
    const int at = rows.isEmpty() ? m_list->count() : rows.last() + 1;
    m_history->change(tr("Paste"), [&] { m_list->insert(at, p.entries); });
    selectRows(at, at + int(p.entries.size()) - 1);
    return p.refused.isEmpty();
}
