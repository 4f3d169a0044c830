// The editor of one entry where the widget itself matters: what the operator
// types reaches the entry, a line read is shown, a typed block row shows its
// recomputed neighbours, an editor deleted mid-edit stays quiet, the wheel
// scrolls the list over boxes not being edited, and saved blocks name their file.
#include "OneBlock.h"
#include "OneBlocks.h"
#include "ScheduleEdit.h"
#include "ScheduleTestEnv.h"

#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QVBoxLayout>
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
        QSignalSpy changed(&e, &ScheduleEdit::entryChanged);
        type(e.ui.SampleId, "S7");
        QCOMPARE(e.entry().sampleId, QStringLiteral("S7"));
        type(e.ui.TargetElm, "Fe"); // the blocks follow the edge typed
        QCOMPARE(e.entry().quickBlocks.row(0).pos, xrayDataBase().edgeEnergy("Fe", "K") - 300);
        e.ui.ScanType->setCurrentIndex(1);
        QCOMPARE(e.entry().scanType, 1);
        e.ui.MeasDark->setCurrentIndex(1);
        e.ui.MeasDark->setCurrentIndex(0); // the first choice is one like any other
        QCOMPARE(e.entry().measDark, 0);
        QCOMPARE(e.ui.Blocks->value(), 4); // the step scan's own count, shown
        QVERIFY(changed.count() >= 4);
    }

    void readLineIsShown()
    {
        ScheduleEdit e;
        QStringList errs, warns;
        QVERIFY(e.fromStringList(ScheduleTestEnv::entryFields("Fe", "K", "User", "Step", 2, "keV",
                                                              {"R-0.2", "20", "", "R-0.02", "40"}),
                                 errs, warns));
        QCOMPARE(e.ui.TargetElm->text(), QStringLiteral("Fe"));
        QCOMPARE(e.ui.ScanType->currentIndex(), 1);
        QCOMPARE(e.ui.Blocks->value(), 2);
        QCOMPARE(e.activeBlocks(), e.stepBlocks);
        QCOMPARE(e.stepBlocks->row(0)->startText(), QStringLiteral("R-0.2"));
        QCOMPARE(e.stepBlocks->row(1)->pointsText(), QStringLiteral("40"));
        QCOMPARE(e.stepBlocks->row(0)->deltaText(), QStringLiteral("0.009")); // 0.18 keV / 20
    }

    // The default quick block is 1400 eV wide.
    void typedRowShowsNeighbours()
    {
        ScheduleEdit e;
        e.ui.BlockDefType->setCurrentIndex(2);
        e.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e));
        OneBlock *first = e.quickBlocks->row(0);
        type(first->deltaEdit(), "0.5");
        QCOMPARE(e.entry().quickBlocks.row(0).pointsText, QStringLiteral("2800"));
        QCOMPARE(first->pointsEdit()->text(), QStringLiteral("2800"));
        type(e.quickBlocks->row(1)->startPosEdit(), "R+700"); // the end row: 1000 eV wide
        QCOMPARE(e.entry().quickBlocks.row(1).pos, e.entry().edgeEnergy() + 700);
        const BlockRow &r = e.entry().quickBlocks.row(0);
        QCOMPARE(first->pointsEdit()->text() + ' ' + first->deltaEdit()->text(),
                 r.pointsText + ' ' + r.deltaText);
        QVERIFY(std::abs(r.points() * r.delta() - 1000) < 1);
    }

    // Deleting an entry whose field holds the focus ends that edit while the
    // entry is being destroyed; nothing of the entry may run then.
    void deletedWhileEditing()
    {
        for (const bool blockField : {true, false}) {
            auto *e = new ScheduleEdit;
            e->ui.ScanType->setCurrentIndex(1);
            e->ui.BlockDefType->setCurrentIndex(2);
            e->show();
            QVERIFY(QTest::qWaitForWindowActive(e, 10000));
            QLineEdit *edit = blockField ? e->stepBlocks->row(1)->pointsEdit() : e->ui.TargetElm;
            QObject watcher;
            int finished = 0;
            connect(edit, &QLineEdit::editingFinished, &watcher, [&finished] { ++finished; });
            edit->setFocus();
            QTRY_VERIFY_WITH_TIMEOUT(edit->hasFocus(), 10000);
            QTest::keyClicks(edit, blockField ? "7" : "Fe");
            delete e;
            QCOMPARE(finished, 1);
        }
    }

    void wheelTakenOnlyWhenFocused_data()
    {
        QTest::addColumn<bool>("spinBox");
        QTest::addColumn<bool>("focused");
        QTest::newRow("drop-down, not focused: the list scrolls") << false << false;
        QTest::newRow("spin box, not focused: the list scrolls") << true << false;
        QTest::newRow("drop-down being edited takes it") << false << true;
    }
    void wheelTakenOnlyWhenFocused()
    {
        QFETCH(bool, spinBox);
        QFETCH(bool, focused);
        QScrollArea area;
        auto *list = new QWidget;
        auto *layout = new QVBoxLayout(list);
        QList<ScheduleEdit *> entries;
        for (int i = 0; i < 4; ++i)
            layout->addWidget(entries.emplace_back(new ScheduleEdit));
        area.setWidget(list);
        area.resize(700, 250);
        area.show();
        QVERIFY(QTest::qWaitForWindowActive(&area, 10000));
        QScrollBar *bar = area.verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        ScheduleEdit *e = entries.at(1);
        QWidget *box = spinBox ? static_cast<QWidget *>(e->ui.Blocks) : e->ui.Tuning;
        e->ui.Tuning->setCurrentIndex(0);
        QVERIFY(e->ui.Tuning->count() > 1);
        if (focused) {
            box->setFocus();
            QTRY_VERIFY_WITH_TIMEOUT(box->hasFocus(), 10000);
        }
        const Entry before = e->entry();
        const int scrolled = bar->value();
        const QPoint at = box->rect().center();
        QWheelEvent wheel(at, box->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(box, &wheel);
        const bool entryChanged =
            e->entry().tuning != before.tuning || e->entry().blocks != before.blocks;
        QCOMPARE(entryChanged, focused);
        QCOMPARE(bar->value() > scrolled, !focused);
    }

    // Saved as "tonight", the blocks go to tonight.prm and the entry names
    // that file; a save that fails leaves the entry naming what it named.
    void savedBlocksNameTheWrittenFile()
    {
        QTemporaryDir dir;
        ScheduleEdit e;
        e.savingBlockFile = true;
        e.blockFileSelected(dir.filePath("tonight"));
        QCOMPARE(e.entry().blockDefFile, dir.filePath("tonight.prm"));
        QCOMPARE(e.ui.BlockDefFile->text(), dir.filePath("tonight.prm"));
        QVERIFY(QFile::exists(dir.filePath("tonight.prm")));
        e.blockFileSelected(dir.filePath("no/such/dir/other"));
        QCOMPARE(e.entry().blockDefFile, dir.filePath("tonight.prm"));
        QCOMPARE(e.ui.BlockDefFile->text(), dir.filePath("tonight.prm"));
    }
};

QTEST_MAIN(TestScheduleEditWidget)
#include "tst_scheduleedit_widget.moc"
