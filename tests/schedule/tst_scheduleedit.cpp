// The schedule entry: defaults, scan-type swap, checks, field lists, target
// and crystal handling, copying.
#include "EntryText.h"
#include "OneBlock.h"
#include "OneBlocks.h"
#include "ScheduleEdit.h"
#include "ScheduleTestEnv.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QtTest>

using ScheduleTestEnv::entryFields;
using ScheduleTestEnv::read;

namespace {
const QString kPink = QStringLiteral("background-color: rgb(255, 192, 192);");
const QString kHolderError = QStringLiteral("Holder No. or Sample ID must be specified.");
const QString kTargetError = QStringLiteral("Target Element must be specified.");
} // namespace

class TestScheduleEdit : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(ScheduleTestEnv::setUp()); }
    void init() { units().setD(3.13553); }
    void newEntryDefaults();
    void standardSets_data();
    void standardSets();
    void scanTypeSwapRemembers();
    void blockCountOutOfRangeIgnored_data();
    void blockCountOutOfRangeIgnored();
    void errorTexts_data();
    void errorTexts();
    void errorBoxesAndColours();
    void shortAndLongFieldLists();
    void selectorsByTable_data();
    void selectorsByTable();
    void targetByNumberAndBlankEdge();
    void readEntryMovesBlocksToItsEdge();
    void userBlocksRoundTrip_data();
    void userBlocksRoundTrip();
    void crystal_data();
    void crystal();
    void deletedWhileEditing();
};

void TestScheduleEdit::newEntryDefaults()
{
    ScheduleEdit e;
    QVERIFY(e.ui.Exec->isChecked());
    QCOMPARE(e.ui.SampleId->text(), QStringLiteral("S001"));
    QCOMPARE(e.ui.DataFile->text(), QStringLiteral("Cu-0001.dat"));
    QCOMPARE(e.ui.Comment->text(), QStringLiteral("Cu Reference"));
    QVERIFY(!e.ui.MeasMode->isEnabled());
    QCOMPARE(e.stepTimes, QStringLiteral("1,1,1,1"));
    QCOMPARE(e.stepBlockCount, 4);
    QCOMPARE(e.activeBlocks(), e.quickBlocks);
    QCOMPARE(e.ui.Errors->styleSheet(), QString());
    const QStringList f = e.toStringList();
    QCOMPARE(f.size(), 18 + 3);
    QCOMPARE(f.mid(5, 2), (QStringList{"Cu", "K"}));
    QCOMPARE(f.mid(14),
             (QStringList{"MyBlock.prm", "300", "1", "eV", "R-300", "4665", "0.300107"}));
}

void TestScheduleEdit::standardSets_data()
{
    QTest::addColumn<int>("stdType");
    QTest::addColumn<QStringList>("stepPoints");
    QTest::addColumn<QString>("quickEnd");
    QTest::newRow("XAFS") << 0 << QStringList{"40", "300", "180", "100"} << "R1100";
    QTest::newRow("XANES") << 1 << QStringList{"40", "300", "45"} << "R500";
    QTest::newRow("EXAFS") << 2 << QStringList{"40", "90", "180", "100"} << "R1100";
}

void TestScheduleEdit::standardSets()
{
    QFETCH(int, stdType);
    QFETCH(QStringList, stepPoints);
    QFETCH(QString, quickEnd);
    ScheduleEdit e;
    e.ui.StdBlockType->setCurrentIndex(stdType);
    e.newStdBlockTypeSelected(stdType);
    QStringList got;
    for (int i = 0; i < stepPoints.size(); ++i)
        got << e.stepBlocks->row(i)->pointsText();
    QCOMPARE(got, stepPoints);
    QCOMPARE(e.stepBlocks->shown, int(stepPoints.size()));
    QCOMPARE(e.quickBlocks->shown, 1);
    QCOMPARE(e.quickBlocks->row(0)->startText(), QStringLiteral("R-300"));
    QCOMPARE(e.quickBlocks->row(1)->startText(), quickEnd);
    QCOMPARE(e.stepBlocks->row(0)->pos, e.targetEdgeEnergy() - 300);
    QCOMPARE(e.ui.Blocks->value(), 1); // the spin box is left alone
}

void TestScheduleEdit::scanTypeSwapRemembers()
{
    ScheduleEdit e;
    e.ui.ScanType->setCurrentIndex(1);
    QCOMPARE(e.ui.MeasTimes->text(), QStringLiteral("1,1,1,1"));
    QCOMPARE(e.ui.Blocks->value(), 4);
    QVERIFY(e.ui.MeasMode->isEnabled());
    QCOMPARE(e.activeBlocks(), e.stepBlocks);
    QVERIFY(!e.quickBlocks->isVisibleTo(&e));
    e.ui.MeasMode->setCurrentIndex(1);
    e.ui.MeasTimes->setText("2, 5");
    e.ui.Blocks->setValue(3);
    QCOMPARE(e.stepBlocks->shown, 3);

    e.ui.ScanType->setCurrentIndex(0);
    QCOMPARE(e.ui.MeasTimes->text(), QStringLiteral("300"));
    QCOMPARE(e.ui.Blocks->value(), 1);
    QCOMPARE(e.ui.MeasMode->currentIndex(), 0);
    QVERIFY(!e.ui.MeasMode->isEnabled());

    e.ui.MeasTimes->setText("100");
    e.ui.ScanType->setCurrentIndex(1);
    QCOMPARE(e.ui.MeasTimes->text(), QStringLiteral("2, 5"));
    QCOMPARE(e.ui.Blocks->value(), 3);
    QCOMPARE(e.quickTimes, QStringLiteral("100"));
}

void TestScheduleEdit::blockCountOutOfRangeIgnored_data()
{
    QTest::addColumn<QString>("blocks");
    QTest::addColumn<int>("kept");
    QTest::newRow("10") << "10" << 10;
    QTest::newRow("1") << "1" << 1;
    QTest::newRow("zero") << "0" << 3;
    QTest::newRow("negative") << "-2" << 3;
    QTest::newRow("not a number") << "many" << 3;
    QTest::newRow("above the maximum") << "11" << 3;
}

// A count read from a file outside 1..10 leaves the entry's count as it was.
void TestScheduleEdit::blockCountOutOfRangeIgnored()
{
    QFETCH(QString, blocks);
    QFETCH(int, kept);
    ScheduleEdit e;
    e.ui.ScanType->setCurrentIndex(1);
    e.ui.Blocks->setValue(3);
    QStringList f = entryFields("Cu", "K", "User", "Step", 1, "eV");
    f[16] = blocks;
    QVERIFY(read(e, f));
    QCOMPARE(e.ui.Blocks->value(), kept);
    QCOMPARE(e.stepBlocks->shown, kept);
    QCOMPARE(e.stepBlocks->row(kept)->mode(), 2);
    QCOMPARE(e.toStringList().size(), 18 + 3 * kept);
}

void TestScheduleEdit::errorTexts_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QStringList>("errors");
    QTest::newRow("empty list") << QStringList() << QStringList{kHolderError, kTargetError};
    QTest::newRow("holder only") << QStringList{"H1"} << QStringList{kTargetError};
    QTest::newRow("holder, no sample") << QStringList{"H1", "", "", "", "", "Cu"} << QStringList();
    QTest::newRow("sample only") << QStringList{"", "S1", "", "", "", "Fe"} << QStringList();
    QTest::newRow("neither") << QStringList{"", "", "", "", "", "Fe"} << QStringList{kHolderError};
    for (const char *bad : {"Xx", "fe", "200", ""})
        QTest::addRow("element \"%s\"", bad)
            << QStringList{"1", "", "", "", "", bad} << QStringList{kTargetError};
}

void TestScheduleEdit::errorTexts()
{
    QFETCH(QStringList, fields);
    QFETCH(QStringList, errors);
    ScheduleEdit e;
    QStringList errs;
    QStringList warns{"kept"};
    QCOMPARE(e.fromStringList(fields, errs, warns), errors.isEmpty());
    QCOMPARE(e.errors, errors);
    QCOMPARE(errs, errors);
    QCOMPARE(e.warnings, QStringList{"kept"});
    QCOMPARE(e.ui.Errors->styleSheet(), errors.isEmpty() ? QString() : kPink);
    if (errors.contains(kTargetError) && fields.size() > 5)
        QCOMPARE(e.ui.TargetElm->text(), QString());
}

void TestScheduleEdit::errorBoxesAndColours()
{
    ScheduleEdit e;
    e.setErrorsAndWarnings({"first", "second"}, {});
    QCOMPARE(e.ui.Errors->styleSheet(), kPink);
    QCOMPARE(e.ui.Warns->styleSheet(), QString());
    QCOMPARE(e.errorBox()->text(), QStringLiteral("first\nsecond"));
    QVERIFY(!e.errorBox()->isModal());
    QCOMPARE(e.warningBox()->text(), QStringLiteral("No. Warnings"));
    e.setErrorsAndWarnings({}, {"w"});
    QCOMPARE(e.ui.Errors->styleSheet(), QString());
    QCOMPARE(e.ui.Warns->styleSheet(), kPink);
    QCOMPARE(e.errorBox()->text(), QStringLiteral("No. Erros"));
    QCOMPARE(e.warningBox()->text(), QStringLiteral("w"));
}

void TestScheduleEdit::shortAndLongFieldLists()
{
    ScheduleEdit e;
    e.ui.Comment->setText("untouched");
    QStringList errs;
    read(e, {"H9", "S9"}, &errs);
    QCOMPARE(e.ui.HolderNo->text(), QStringLiteral("H9"));
    QCOMPARE(e.ui.SampleId->text(), QStringLiteral("S9"));
    QCOMPARE(e.ui.Comment->text(), QStringLiteral("untouched"));
    QCOMPARE(e.ui.MeasTimes->text(), QStringLiteral("300"));
    QCOMPARE(errs, QStringList{kTargetError});

    QVERIFY(read(e, entryFields("Cu", "K", "User", "Quick", 1, "eV",
                                {"8700", "100", "1", "9000", "5", "7", "extra"})));
    QCOMPARE(e.toStringList().size(), 21);
    QCOMPARE(e.quickBlocks->row(0)->startText(), QStringLiteral("8700"));
    QCOMPARE(e.quickBlocks->row(0)->pointsText(), QStringLiteral("100"));
}

void TestScheduleEdit::selectorsByTable_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("selector");
    QTest::newRow("dark alias any case") << 7 << "yes" << 1 << "MeasDark";
    QTest::newRow("dark unknown") << 7 << "maybe" << 0 << "MeasDark";
    QTest::newRow("tune label") << 8 << "N" << 2 << "Tuning";
    QTest::newRow("crystal by alias") << 9 << "Si(311)" << 2 << "MonoCrystal";
    QTest::newRow("crystal by name") << 9 << "Si111" << 1 << "MonoCrystal";
    QTest::newRow("crystal case matters") << 9 << "si111" << 0 << "MonoCrystal";
    QTest::newRow("scan type alias") << 10 << "s" << 1 << "ScanType";
    QTest::newRow("block def file") << 12 << "f" << 1 << "BlockDefType";
    QTest::newRow("unit exact") << 17 << "keV" << 1 << "BlockUnit";
    QTest::newRow("unit other case stays") << 17 << "KEV" << 0 << "BlockUnit";
}

void TestScheduleEdit::selectorsByTable()
{
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(QString, selector);
    QFETCH(int, index);
    ScheduleEdit e;
    QStringList f = entryFields("Cu", "K", "Std", "Quick", 1, "eV");
    f[column] = text;
    read(e, f);
    auto *box = e.findChild<QComboBox *>(selector);
    QVERIFY(box);
    QCOMPARE(box->currentIndex(), index);
}

void TestScheduleEdit::targetByNumberAndBlankEdge()
{
    ScheduleEdit e;
    QVERIFY(read(e, {"1", "", "", "", "", "29"}));
    QCOMPARE(e.ui.TargetElm->text(), QStringLiteral("Cu"));
    e.ui.TargetElm->setText("26");
    QCOMPARE(e.toStringList().at(5), QStringLiteral("Fe"));
    e.ui.TargetElm->setText("29");
    e.ui.TargetCore->setText("");
    const int automatic = xrayDataBase().autoEdge("Cu");
    QCOMPARE(e.targetEdgeIndex(), automatic);
    QCOMPARE(e.toStringList().at(6), QStringLiteral("K")); // K is below 40 keV
    e.ui.TargetCore->setText("L3");
    QCOMPARE(e.targetEdgeIndex(), 3);
    e.ui.TargetCore->setText("l3");
    QCOMPARE(e.targetEdgeIndex(), automatic);
}

// An entry read from a file names its own element: every block set must be
// placed around that element's edge, not the edge of a new entry.
void TestScheduleEdit::readEntryMovesBlocksToItsEdge()
{
    ScheduleEdit e;
    const double fe = xrayDataBase().edgeEnergy("Fe", "K");
    QVERIFY(std::abs(fe - e.targetEdgeEnergy()) > 1000);
    QVERIFY(read(e, entryFields("Fe", "K", "Std", "Step", 4, "eV")));
    QCOMPARE(e.targetEdgeEnergy(), fe);
    e.ui.Exec->setChecked(false);
    ScheduleEdit c;
    c.copyFrom(e); // the same through a copy, ticked
    QVERIFY(c.ui.Exec->isChecked());
    for (ScheduleEdit *x : {&e, &c}) {
        QCOMPARE(x->stepBlocks->origin, fe);
        QCOMPARE(x->stepBlocks->row(0)->pos, fe - 300);
        QCOMPARE(x->stepBlocks->row(4)->pos, fe + 1100);
        QCOMPARE(x->quickBlocks->row(0)->pos, fe - 300);
        QCOMPARE(x->quickBlocks->row(1)->pos, fe + 1100);
    }
    // user blocks given relative to the edge; the end follows Points and Delta
    QVERIFY(read(e, entryFields("Fe", "", "User", "Step", 2, "eV",
                                {"R-200", "20", "10", "R-20", "40", "1"})));
    QCOMPARE(e.stepBlocks->row(0)->pos, fe - 200);
    QCOMPARE(e.stepBlocks->row(1)->pos, fe - 20);
    QCOMPARE(e.stepBlocks->row(2)->pos, fe + 20);
    QCOMPARE(e.stepBlocks->row(0)->deltaText(), QStringLiteral("9"));
}

void TestScheduleEdit::userBlocksRoundTrip_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QStringList>("blocks");
    QTest::newRow("eV") << "eV"
                        << QStringList{"8600", "30", "10", "R-50", "200", "0.5", "R50", "40", "5"};
    QTest::newRow("keV") << "keV" << QStringList{"R-0.3", "26", "0.01", "R-0.04", "300", "0.0003"};
    QTest::newRow("A") << "A" << QStringList{"1.45", "50", "-0.001", "R-0.02", "100", "-0.0002"};
    QTest::newRow("deg") << "deg" << QStringList{"R0.7", "40", "-0.02", "R0.1", "100", "-0.003"};
}

// Written and read back, user blocks keep every field, the last block's
// width included.
void TestScheduleEdit::userBlocksRoundTrip()
{
    QFETCH(QString, unit);
    QFETCH(QStringList, blocks);
    const int n = int(blocks.size()) / 3;
    ScheduleEdit a;
    QVERIFY(read(a, entryFields("Cu", "K", "User", "Step", n, unit, blocks)));
    const QStringList first = a.toStringList();
    QCOMPARE(first.size(), 18 + 3 * n);
    QCOMPARE(first.at(17), unit);
    ScheduleEdit b; // a new entry: its rows sit elsewhere
    QVERIFY(read(b, first));
    QCOMPARE(b.toStringList(), first);
    QVERIFY(std::abs(b.stepBlocks->row(n)->pos - a.stepBlocks->row(n)->pos) < 0.01);
    for (int i = 0; i < n; ++i)
        QVERIFY(std::abs(b.stepBlocks->row(i)->pos - a.stepBlocks->row(i)->pos) < 1e-6);
}

void TestScheduleEdit::crystal_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("chosen"); // selector index, 0 automatic
    QTest::addColumn<int>("row");
    QTest::newRow("Fe K in the first crystal") << "Fe" << 0 << 0;
    QTest::newRow("Sn K only in the second") << "Sn" << 0 << 1;
    QTest::newRow("second chosen for Cu") << "Cu" << 2 << 1;
}

void TestScheduleEdit::crystal()
{
    QFETCH(QString, target);
    QFETCH(int, chosen);
    QFETCH(int, row);
    ScheduleEdit e;
    units().setD(99);
    e.ui.TargetElm->setText(target);
    e.newTargetSelected();
    e.ui.MonoCrystal->setCurrentIndex(chosen);
    QCOMPARE(units().d(), crystalTable().at(row).d);
}

// Deleting an entry whose field holds the focus ends that edit while the
// entry is being destroyed; nothing of the entry may run then.
void TestScheduleEdit::deletedWhileEditing()
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

QTEST_MAIN(TestScheduleEdit)
#include "tst_scheduleedit.moc"
