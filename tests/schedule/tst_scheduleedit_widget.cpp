// The editor of one entry where the widget itself matters: what the operator
// types or picks reaches the entry, and saved blocks name their file and load back.
#include "EntryCodec.h"
#include "OneBlock.h"
#include "OneBlocks.h"
#include "ScheduleEdit.h"
#include "ScheduleTestEnv.h"

#include <QLineEdit>
#include <QSpinBox>
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
        QSignalSpy changed(&e, &ScheduleEdit::entryChanged);
        type(e.ui.SampleId, "S7");
        QCOMPARE(e.entry().sampleId, QStringLiteral("S7"));
        type(e.ui.TargetElm, "Fe"); // the blocks follow the edge typed
        QCOMPARE(e.entry().quickBlocks.row(0).pos, xrayDataBase().edgeEnergy("Fe", "K") - 300);
        e.ui.ScanType->setCurrentIndex(1);
        QCOMPARE(e.entry().scanType, 1);
        QCOMPARE(e.ui.Blocks->value(), 4); // the step scan's own count, shown
        for (int i = 0; i <= 5; ++i)       // its four blocks and their end row, nothing past them
            QCOMPARE(e.stepBlocks->row(i)->isVisibleTo(&e), i <= 4);
        // The first choice of a drop-down is one like any other.
        for (QComboBox *box : {e.ui.MeasDark, e.ui.Tuning}) {
            box->setCurrentIndex(1);
            box->setCurrentIndex(0);
        }
        QCOMPARE(e.entry().measDark, 0);
        QCOMPARE(e.entry().tuning, 0);
        e.ui.BlockDefType->setCurrentIndex(2);
        QCOMPARE(e.entry().blockDefType, 2);
        e.ui.Blocks->setValue(BlockSet::maxBlocks); // as many blocks as an entry may have
        for (int i = 0; i <= BlockSet::maxBlocks; ++i)
            QVERIFY(e.stepBlocks->row(i)->isVisibleTo(&e));
        QVERIFY(changed.count() >= 7);
    }

    // An editor given an entry shows its choices.
    void showsTheEntryGiven()
    {
        Entry step = Entry::defaults();
        step.selectScanType(EntryRows::StepScan);
        step.measDark = 1;
        ScheduleEdit e(step);
        QCOMPARE(e.ui.ScanType->currentIndex(), int(EntryRows::StepScan));
        QCOMPARE(e.ui.MeasDark->currentIndex(), 1);
    }

    // The standard XANES step set is three blocks: three are shown.
    void standardBlocksShown()
    {
        ScheduleEdit e;
        e.ui.StdBlockType->setCurrentIndex(1);
        e.ui.ScanType->setCurrentIndex(1);
        QCOMPARE(e.ui.Blocks->value(), 3);
        for (int i = 0; i <= 4; ++i)
            QCOMPARE(e.stepBlocks->row(i)->isVisibleTo(&e), i <= 3);
    }

    // A scan type read as "Quack" stands on Quick; picking Quick is a choice:
    // the text and its error go.
    void pickingTheFallbackRowReplacesTheTextRead()
    {
        QStringList f = ScheduleTestEnv::entryFields("Cu", "K", "Std", "Quack", 1, "eV");
        ScheduleEdit e(EntryCodec::fromFields(f));
        QCOMPARE(e.toStringList().at(10), QStringLiteral("Quack"));
        QCOMPARE(e.entry().errors.filter("Quack").size(), 1);
        emit e.ui.ScanType->activated(0);
        QCOMPARE(e.toStringList().at(10), QStringLiteral("Quick"));
        QVERIFY(e.entry().errors.filter("Quack").isEmpty());
    }

    // The wheel over a box that is not focused scrolls the list, never the value.
    void wheelLeavesUnfocusedBoxes_data()
    {
        QTest::addColumn<QString>("box");
        QTest::newRow("Tuning") << "Tuning";
        QTest::newRow("ScanType") << "ScanType";
        QTest::newRow("MonoCrystal") << "MonoCrystal";
        QTest::newRow("Blocks") << "Blocks";
    }
    void wheelLeavesUnfocusedBoxes()
    {
        QFETCH(QString, box);
        ScheduleEdit e;
        e.ui.BlockDefType->setCurrentIndex(2); // user blocks: Blocks is enabled
        e.ui.Blocks->setValue(5);
        e.ui.Tuning->setCurrentIndex(1);
        e.ui.MonoCrystal->setCurrentIndex(1);
        QWidget *w = e.findChild<QWidget *>(box);
        QVERIFY(w && w->isEnabled() && !w->hasFocus());
        auto value = [w] {
            if (auto *c = qobject_cast<QComboBox *>(w))
                return c->currentIndex();
            return qobject_cast<QSpinBox *>(w)->value();
        };
        const int before = value();
        for (int delta : {120, -120, -120}) {
            QWheelEvent wheel(QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), QPoint(),
                              QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                              false);
            QApplication::sendEvent(w, &wheel);
        }
        QCOMPARE(value(), before);
    }

    // Saved as "tonight", the blocks go to tonight.prm and the entry names
    // that file; a save that fails leaves the entry naming what it named.
    // Chosen in another editor, the file's blocks are read into it.
    void savedBlocksNameTheWrittenFile()
    {
        QTemporaryDir dir;
        ScheduleEdit e;
        e.ui.BlockDefType->setCurrentIndex(2);
        type(e.quickBlocks->row(0)->deltaEdit(), "0.5");
        e.savingBlockFile = true;
        e.blockFileSelected(dir.filePath("tonight"));
        QCOMPARE(e.entry().blockDefFile, dir.filePath("tonight.prm"));
        QVERIFY(QFile::exists(dir.filePath("tonight.prm")));
        e.blockFileSelected(dir.filePath("no/such/dir/other"));
        QCOMPARE(e.entry().blockDefFile, dir.filePath("tonight.prm"));
        ScheduleEdit other;
        other.blockFileSelected(dir.filePath("tonight.prm"));
        QCOMPARE(other.entry().quickBlocks.row(0).pointsText, QStringLiteral("2800"));
    }
};

QTEST_MAIN(TestScheduleEditWidget)
#include "tst_scheduleedit_widget.moc"
