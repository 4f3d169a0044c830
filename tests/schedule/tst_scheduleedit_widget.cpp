// SPDX-License-Identifier: GPL-3.0-or-later
// The editor of one entry where the widget itself matters: what the operator
// types or picks reaches the entry, and saved blocks name their file and load back.
#include "EntryCodec.h"
#include "FileSelectDialog.h"
#include "OneBlock.h"
#include "OneBlocks.h"
#include "PlanView.h"
#include "ScanPlan.h"
#include "ScheduleEdit.h"
#include "ScheduleTestEnv.h"
#include "TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>

namespace {
void type(QLineEdit *field, const QString &text)
{
    field->selectAll();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}
} // namespace

class TestScheduleEditWidget : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(ScheduleTestEnv::setUp()); }

    void typingChangesTheEntry()
    {
        ScheduleEdit e;
        type(e.sampleIdField(), "S7");
        QCOMPARE(e.entry().sampleId, QStringLiteral("S7"));
        type(e.targetField(), "Fe"); // the blocks follow the edge typed
        QCOMPARE(e.entry().quickBlocks.row(0).pos, xrayDataBase().edgeEnergy("Fe", "K") - 300);
        e.selector(EntryColumns::ScanType)->setCurrentIndex(1);
        e.selector(EntryColumns::Crystal)->setCurrentIndex(2); // row 0 is "-"
        QCOMPARE(e.entry().crystal, 1);
        // The first choice of a drop-down is one like any other; the standard type's (on a step
        // scan) shows the blocks sent, their end row, nothing past them.
        const QList<std::pair<EntryColumns::Column, int Entry::*>> boxes{
            {EntryColumns::MeasDark, &Entry::measDark},
            {EntryColumns::Tuning, &Entry::tuning},
            {EntryColumns::MeasMode, &Entry::measMode},
            {EntryColumns::ScanType, &Entry::scanType},
            {EntryColumns::BlockUnit, &Entry::blockUnit}};
        for (int row : {1, 0}) {
            e.selector(EntryColumns::StdType)->setCurrentIndex(row);
            QCOMPARE(e.entry().stdBlockType, row);
            QCOMPARE(e.blocksField()->value(), 4 - row);
            for (int i = 0; i <= 5; ++i)
                QCOMPARE(e.stepBlocks->row(i)->isVisibleTo(&e), i <= 4 - row);
            for (const auto &[column, field] : boxes) {
                e.selector(column)->setCurrentIndex(row);
                QCOMPARE(e.entry().*field, row);
            }
        }
        e.selector(EntryColumns::ScanType)->setCurrentIndex(1); // the step scan again
        e.selector(EntryColumns::BlockDef)->setCurrentIndex(2);
        QCOMPARE(e.entry().blockDefType, 2);
        e.blocksField()->setValue(BlockSet::maxBlocks); // as many blocks as an entry may have
        for (int i = 0; i <= BlockSet::maxBlocks; ++i)
            QVERIFY(e.stepBlocks->row(i)->isVisibleTo(&e));
        // A start typed into a user block reaches the entry.
        type(e.stepBlocks->row(1)->startPosEdit(), "9000");
        QCOMPARE(e.entry().stepBlocks.row(1).pos, 9000.0);
        // Points and Delta typed make each other follow over the block's width.
        type(e.stepBlocks->row(1)->pointsEdit(), "50");
        QCOMPARE(e.entry().stepBlocks.row(1).points(), 50);
        const double delta = e.entry().stepBlocks.row(1).delta();
        QVERIFY(delta != 0);
        type(e.stepBlocks->row(1)->deltaEdit(), QString::number(delta * 2));
        QCOMPARE(e.entry().stepBlocks.row(1).points(), 25);
        QCOMPARE(e.stepBlocks->row(1)->pointsEdit()->text(), QStringLiteral("25")); // and shows it
        // Starts shown relative to the edge and back, in both scan types' blocks.
        for (auto [button, relative] :
             {std::pair{e.relativeButton(), true}, {e.absoluteButton(), false}}) {
            button->click();
            QCOMPARE(e.entry().stepBlocks.row(1).isRel, relative);
            QCOMPARE(e.entry().quickBlocks.row(0).isRel, relative);
            QCOMPARE(e.stepBlocks->row(1)->startPosEdit()->text().startsWith('R'), relative);
        }
    }

    // Showing an entry, in a new editor or a used one, changes nothing in it.
    void showingChangesNothing()
    {
        QList<Entry> entries;
        Entry e = Entry::defaults();
        e.selectScanType(EntryRows::StepScan);
        e.selectStdBlockType(1);
        e.selectCrystal(1);
        e.measDark = e.tuning = e.measMode = 1;
        entries << e; // step, XANES, second crystal
        e.holder = QStringLiteral("4");
        ScheduleTestEnv::setUserBlocks(e, 1, {"R-50", "R-10", "R40", "R300"}, {8, 25, 60}, "1 2 3");
        e.setRelative(true);
        entries << e; // user blocks in keV, relative
        e.targetElm = QStringLiteral("Xx");
        e.unknownChoices.insert(EntryColumns::ScanType, QStringLiteral("Quack"));
        e.unknownChoices.insert(EntryColumns::Crystal, QStringLiteral("Ge111"));
        entries << e; // texts that name nothing
        // The editor adds the entry's findings; everything else stays.
        const auto same = [](Entry a, Entry b) {
            a.errors = b.errors;
            a.warnings = b.warnings;
            return a == b && EntryCodec::toFields(a) == EntryCodec::toFields(b);
        };
        for (const Entry &entry : entries) {
            ScheduleEdit fresh(entry);
            QVERIFY(same(fresh.entry(), entry));
            ScheduleEdit reused;
            for (const Entry &shown : {entry, Entry::defaults(), entry}) {
                reused.setEntry(shown);
                QVERIFY(same(reused.entry(), shown));
            }
        }
        // A text read stands on the fallback row; picking that row drops the text and its error.
        for (const auto &[column, read] :
             {std::pair{EntryColumns::ScanType, "Quack"}, {EntryColumns::Crystal, "Ge111"}}) {
            // Shown after an entry on other rows: none of the moves made in showing it is a pick.
            QStringList f = ScheduleTestEnv::entryFields("Cu", "K", "Std", "Step", 1, "keV");
            f[EntryColumns::Crystal] = "Si311";
            f[EntryColumns::StdType] = stdTypeTable().labels().value(1);
            ScheduleEdit edit(EntryCodec::fromFields(f));
            f = ScheduleTestEnv::entryFields("Cu", "K", "Std", "Quick", 1, "eV");
            f[column] = read;
            edit.setEntry(EntryCodec::fromFields(f));
            QCOMPARE(edit.toStringList().at(column), read);
            QCOMPARE(edit.entry().errors.filter(read).size(), 1);
            QComboBox *box = edit.selector(column);
            emit box->activated(0);
            QCOMPARE(edit.toStringList().at(column), box->itemText(0));
            QVERIFY(edit.entry().errors.filter(read).isEmpty());
        }
    }

    // The wheel over a box that is not focused scrolls the list, never the value.
    void wheelLeavesUnfocusedBoxes()
    {
        for (int column : {int(EntryColumns::Crystal), -1}) { // a choice; -1: the block count
            // In the window's list of entries, where the wheel scrolls the list.
            QScrollArea area;
            ScheduleEdit &e = *new ScheduleEdit; // the area's, then alone's
            area.setWidget(&e);
            area.resize(400, 150);
            area.show();
            // User blocks: Blocks is enabled.
            e.selector(EntryColumns::BlockDef)->setCurrentIndex(2);
            e.blocksField()->setValue(5);
            e.selector(EntryColumns::Crystal)->setCurrentIndex(1);
            QWidget *w = column < 0 ? static_cast<QWidget *>(e.blocksField())
                                    : e.selector(EntryColumns::Column(column));
            QVERIFY(w && w->isEnabled() && !w->hasFocus());
            auto value = [w] {
                if (auto *c = qobject_cast<QComboBox *>(w))
                    return c->currentIndex();
                return qobject_cast<QSpinBox *>(w)->value();
            };
            const auto roll = [w] {
                for (int delta : {120, -120, -120}) {
                    QWheelEvent wheel(QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), QPoint(),
                                      QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                                      Qt::NoScrollPhase, false);
                    QApplication::sendEvent(w, &wheel);
                }
            };
            const int before = value();
            roll();
            QCOMPARE(value(), before);
            QVERIFY(area.verticalScrollBar()->value() > 0);
            // Alone, outside any list, the wheel is not the box's either.
            const std::unique_ptr<QWidget> alone(area.takeWidget());
            roll();
            QCOMPARE(value(), before);
        }
    }

    // Saved blocks name the file written (not after a failed save); another editor reads them.
    void savedBlocksNameTheWrittenFile()
    {
        QTemporaryDir dir;
        ScheduleEdit e;
        e.selector(EntryColumns::BlockDef)->setCurrentIndex(2);
        type(e.quickBlocks->row(0)->deltaEdit(), "0.5");
        e.saveBlockDefFile(); // the dialog, as Save opens it
        FileSelectDialog *dialog = e.blockFileDialog();
        QVERIFY(dialog->isVisible());
        emit dialog->fileSelected(dir.filePath("tonight"));
        QCOMPARE(e.entry().blockDefFile, dir.filePath("tonight.prm"));
        QVERIFY(QFile::exists(dir.filePath("tonight.prm")));
        emit dialog->fileSelected(dir.filePath("no/such/dir/other"));
        QCOMPARE(e.entry().blockDefFile, dir.filePath("tonight.prm"));
        // Opened to read, in the same dialog.
        ScheduleEdit other;
        other.selectBlockDefFile();
        QSignalSpy told(&other, &ScheduleEdit::entryChanged);
        emit other.blockFileDialog()->fileSelected(dir.filePath("tonight.prm"));
        QCOMPARE(other.entry().quickBlocks.row(0).pointsText, QStringLiteral("2800"));
        QCOMPARE(told.count(), 2); // the list is told the file named, then what was read
        e.selectBlockDefFile();
        emit dialog->fileSelected(dir.filePath("unwritten.prm")); // to read: nothing is written
        QVERIFY(!QFile::exists(dir.filePath("unwritten.prm")));
        // A 9809 file is the target's own tools' to read; a missing one reads nothing.
        QVERIFY(TestSupport::writeFile(dir.filePath("old.dat"), "9809 QXAFS\nN 1\n"));
        QList<int> kinds;
        for (const char *name : {"tonight.prm", "old.dat", "gone"})
            kinds << ScheduleEdit::is9809(dir.filePath(name));
        QCOMPARE(kinds, (QList<int>{0, 1, 2}));
    }

    // The plot draws the plan: points, block boundaries, dwell steps, k above the edge only;
    // the table beside it was worked out by hand (k from 0 where a block crosses the edge).
    void planPlotDrawsThePlan()
    {
        Entry e = Entry::defaults();
        e.selectScanType(EntryRows::StepScan);
        ScheduleTestEnv::setUserBlocks(e, Units::EV, {"R-50", "R-10", "R30", "R400"}, {8, 20, 60},
                                       "1, 2, 4");
        PlanView view;
        view.setEntry(e);
        const PlanSeries &s = view.plot()->series();
        QCOMPARE(s.points.size(), 88);
        QCOMPARE(s.boundaries, (QList<double>{-50, -10, 30, 400}));
        QCOMPARE(s.dwellSteps.size(), 6);
        QCOMPARE(s.dwellSteps.last(), QPointF(400, 4));
        QVERIFY(!s.kTicks.isEmpty());
        for (const auto &t : s.kTicks)
            QVERIFY(t.first > 0 && t.first <= 400 &&
                    std::abs(ScanPlan::kOf(t.first) - t.second) < 1e-9);
        QStringList rows;
        for (int r = 0; r < view.table()->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < 7; ++c)
                cells << view.table()->item(r, c)->text();
            rows << cells.join(" | ");
        }
        QCOMPARE(rows,
                 (QStringList{"-50 - -10 | - | 8 | 5 | - | 1 | 8",
                              "-10 - 30 | 0.00 - 2.81 | 20 | 2 | - | 2 | 40",
                              "30 - 400 | 2.81 - 10.25 | 60 | 6.16667 | 0.275 - 0.079 | 4 | 240",
                              "Total |  | 88 |  |  |  | 288"}));
    }
};

QTEST_MAIN(TestScheduleEditWidget)
#include "tst_scheduleedit_widget.moc"
