// The schedule entry: defaults, scan-type swap, checks, field lists, target
// and crystal handling, copying and list-editing signals.
#include "EntryText.h"
#include "OneBlock.h"
#include "OneBlocks.h"
#include "ScheduleEdit.h"
#include "ScheduleTestEnv.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QtTest>

namespace {

const QString kPink = QStringLiteral("background-color: rgb(255, 192, 192);");

// A full field list: user blocks unless told otherwise.
QStringList entryFields(const QString &target, const QString &edge, const QString &blkSetup,
                        const QString &scan, int blocks, const QString &unit,
                        const QStringList &blockFields)
{
    QStringList f{"1",
                  "S1",
                  "comment",
                  "",
                  "x.dat",
                  target,
                  edge,
                  "-",
                  "-",
                  "-",
                  scan,
                  "Trans",
                  blkSetup,
                  "XAFS",
                  "MyBlock.prm",
                  "1",
                  QString::number(blocks),
                  unit};
    return f + blockFields;
}

} // namespace

class TestScheduleEdit : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { units().setD(3.13553); }

    void newEntryDefaults();
    void standardSets_data();
    void standardSets();
    void scanTypeSwapRemembers();
    void requestedBlocks_data();
    void requestedBlocks();
    void blockDefTypeFrames_data();
    void blockDefTypeFrames();
    void errorTexts_data();
    void errorTexts();
    void errorBoxesAndColours();
    void shortListLeavesTheRest();
    void longListExtraFieldsIgnored();
    void selectorsByTable_data();
    void selectorsByTable();
    void targetByNumber();
    void blankEdgeComesBackAutomatic();
    void readEntryMovesBlocksToItsEdge();
    void readUserBlocksRelativeToItsEdge();
    void blocksFieldOutOfRangeKeepsCount_data();
    void blocksFieldOutOfRangeKeepsCount();
    void userBlocksRoundTrip_data();
    void userBlocksRoundTrip();
    void automaticCrystal_data();
    void automaticCrystal();
    void chosenCrystalSetsD();
    void copyFromChecksExec();
    void editingSignals();
    void measTimeFor_data();
    void measTimeFor();
    void relativeButtons();
    void hostileBlockFields_data();
    void hostileBlockFields();
    void emptyTables();
    void deletedWhileEditing();
};

void TestScheduleEdit::initTestCase()
{
    QVERIFY(ScheduleTestEnv::setUp());
}

void TestScheduleEdit::newEntryDefaults()
{
    ScheduleEdit e;
    QCOMPARE(e.windowTitle(), QStringLiteral("Schedule Editor"));
    QVERIFY(e.ui.Exec->isChecked());
    QCOMPARE(e.ui.HolderNo->text(), QString());
    QCOMPARE(e.ui.SampleId->text(), QStringLiteral("S001"));
    QCOMPARE(e.ui.TargetElm->text(), QStringLiteral("Cu"));
    QCOMPARE(e.ui.DataFile->text(), QStringLiteral("Cu-0001.dat"));
    QCOMPARE(e.ui.Comment->text(), QStringLiteral("Cu Reference"));
    QCOMPARE(e.ui.BlockDefFile->text(), QStringLiteral("MyBlock.prm"));
    QCOMPARE(e.ui.MeasTimes->text(), QStringLiteral("300"));
    QCOMPARE(e.ui.Blocks->value(), 1);
    QCOMPARE(e.ui.Blocks->maximum(), 10);
    QCOMPARE(e.ui.MeasMode->currentIndex(), 0);
    QVERIFY(!e.ui.MeasMode->isEnabled());
    QCOMPARE(e.ui.MonoCrystal->currentText(), QStringLiteral("-"));
    QCOMPARE(e.ui.MonoCrystal->count(), crystalTable().count() + 1);
    QCOMPARE(e.ui.ScanType->count(), scanTypeTable().rowCount());
    QCOMPARE(e.ui.BlockUnit->count(), 4);
    QCOMPARE(e.ui.BlockUnit->itemText(2), QStringLiteral("A"));
    QCOMPARE(e.stepTimes, QStringLiteral("1,1,1,1"));
    QCOMPARE(e.stepBlockCount, 4);
    QCOMPARE(e.activeBlocks(), e.quickBlocks);
    QVERIFY(e.quickBlocks->isVisibleTo(&e));
    QVERIFY(!e.stepBlocks->isVisibleTo(&e));
    QCOMPARE(e.quickBlocks->rowCount(), 11);
    QCOMPARE(e.ui.Errors->styleSheet(), QString());
    QCOMPARE(e.errorText(), QStringLiteral("No. Erros"));
    QCOMPARE(e.warningText(), QStringLiteral("No. Warnings"));
    QVERIFY(e.ui.Errors->maximumHeight() <= 17);
    const QStringList f = e.toStringList();
    QCOMPARE(f.size(), 18 + 3 * e.ui.Blocks->value());
    QCOMPARE(f.at(5), QStringLiteral("Cu"));
    QCOMPARE(f.at(16), QStringLiteral("1"));
    QCOMPARE(f.at(17), QStringLiteral("eV"));
    QCOMPARE(f.at(18), QStringLiteral("R-300"));
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
    // the spin box is left alone
    QCOMPARE(e.ui.Blocks->value(), 1);
}

void TestScheduleEdit::scanTypeSwapRemembers()
{
    ScheduleEdit e;
    e.ui.ScanType->setCurrentIndex(1);
    QCOMPARE(e.ui.MeasTimes->text(), QStringLiteral("1,1,1,1"));
    QCOMPARE(e.ui.Blocks->value(), 4);
    QVERIFY(e.ui.MeasMode->isEnabled());
    QCOMPARE(e.activeBlocks(), e.stepBlocks);
    QVERIFY(e.stepBlocks->isVisibleTo(&e));
    QVERIFY(!e.quickBlocks->isVisibleTo(&e));
    QCOMPARE(e.stepBlocks->shown, 4);
    e.ui.MeasMode->setCurrentIndex(1);
    e.ui.MeasTimes->setText("2, 5");
    e.ui.Blocks->setValue(3);
    QCOMPARE(e.stepBlocks->shown, 3);

    e.ui.ScanType->setCurrentIndex(0);
    QCOMPARE(e.ui.MeasTimes->text(), QStringLiteral("300"));
    QCOMPARE(e.ui.Blocks->value(), 1);
    QCOMPARE(e.ui.MeasMode->currentIndex(), 0);
    QVERIFY(!e.ui.MeasMode->isEnabled());
    QCOMPARE(e.stepTimes, QStringLiteral("2, 5"));
    QCOMPARE(e.stepBlockCount, 3);

    e.ui.MeasTimes->setText("100");
    e.ui.ScanType->setCurrentIndex(1);
    QCOMPARE(e.ui.MeasTimes->text(), QStringLiteral("2, 5"));
    QCOMPARE(e.ui.Blocks->value(), 3);
    QCOMPARE(e.quickTimes, QStringLiteral("100"));
    QCOMPARE(e.quickBlockCount, 1);
}

void TestScheduleEdit::requestedBlocks_data()
{
    QTest::addColumn<int>("request");
    QTest::addColumn<int>("blocks");
    QTest::newRow("10") << 10 << 10;
    QTest::newRow("11 ignored") << 11 << 4;
    QTest::newRow("0 ignored") << 0 << 4;
    QTest::newRow("negative ignored") << -3 << 4;
    QTest::newRow("1") << 1 << 1;
}

void TestScheduleEdit::requestedBlocks()
{
    QFETCH(int, request);
    QFETCH(int, blocks);
    ScheduleEdit e;
    e.ui.ScanType->setCurrentIndex(1);
    e.newRequestedBlocks(request);
    QCOMPARE(e.ui.Blocks->value(), blocks);
    QCOMPARE(e.stepBlocks->shown, blocks);
    QVERIFY(e.stepBlocks->row(blocks)->isVisibleTo(e.stepBlocks));
    QCOMPARE(e.stepBlocks->row(blocks)->mode(), 2);
}

void TestScheduleEdit::blockDefTypeFrames_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("stdEnabled");
    QTest::addColumn<bool>("fileShown");
    QTest::addColumn<bool>("userEnabled");
    QTest::newRow("standard") << 0 << true << false << false;
    QTest::newRow("file") << 1 << false << true << false;
    QTest::newRow("user") << 2 << true << false << true;
}

void TestScheduleEdit::blockDefTypeFrames()
{
    QFETCH(int, type);
    QFETCH(bool, stdEnabled);
    QFETCH(bool, fileShown);
    QFETCH(bool, userEnabled);
    ScheduleEdit e;
    e.ui.BlockDefType->setCurrentIndex(type);
    QCOMPARE(e.ui.BlockDefStdFrame->isEnabled(), stdEnabled);
    QCOMPARE(e.ui.BlockDefFileFrame->isVisibleTo(&e), fileShown);
    QCOMPARE(e.ui.BlockDefUserFrame->isEnabled(), userEnabled);
    e.newBlockDefTypeSelected(7); // unknown: nothing changes
    QCOMPARE(e.ui.BlockDefStdFrame->isEnabled(), stdEnabled);
    QCOMPARE(e.ui.BlockDefFileFrame->isVisibleTo(&e), fileShown);
    QCOMPARE(e.ui.BlockDefUserFrame->isEnabled(), userEnabled);
}

void TestScheduleEdit::errorTexts_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QStringList>("errors");
    const QString holder = QStringLiteral("Holder No. or Sample ID must be specified.");
    const QString target = QStringLiteral("Target Element must be specified.");
    QTest::newRow("empty list") << QStringList() << QStringList{holder, target};
    QTest::newRow("holder only") << QStringList{"H1"} << QStringList{target};
    QTest::newRow("holder, empty sample")
        << QStringList{"H1", "", "", "", "", "Cu"} << QStringList();
    QTest::newRow("sample only") << QStringList{"", "S1", "", "", "", "Fe"} << QStringList();
    QTest::newRow("neither") << QStringList{"", "", "", "", "", "Fe"} << QStringList{holder};
    QTest::newRow("unknown element")
        << QStringList{"1", "", "", "", "", "Xx"} << QStringList{target};
    QTest::newRow("lower-case symbol")
        << QStringList{"1", "", "", "", "", "fe"} << QStringList{target};
    QTest::newRow("number past the table")
        << QStringList{"1", "", "", "", "", "200"} << QStringList{target};
    QTest::newRow("empty element") << QStringList{"1", "", "", "", "", ""} << QStringList{target};
}

void TestScheduleEdit::errorTexts()
{
    QFETCH(QStringList, fields);
    QFETCH(QStringList, errors);
    ScheduleEdit e;
    QStringList errs;
    QStringList warns{"kept"};
    const bool ok = e.fromStringList(fields, errs, warns);
    QCOMPARE(ok, errors.isEmpty());
    QCOMPARE(e.errors, errors);
    QCOMPARE(errs, errors);
    QCOMPARE(e.warnings, QStringList{"kept"});
    QCOMPARE(e.ui.Errors->styleSheet(), errors.isEmpty() ? QString() : kPink);
    if (errors.contains("Target Element must be specified.") && fields.size() > 5)
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
    QTest::mouseClick(e.ui.Warns, Qt::LeftButton);
    QVERIFY(e.warningBox()->isVisible());
    QCOMPARE(e.warningBox()->text(), QStringLiteral("No. Warnings"));
    e.setErrorsAndWarnings({}, {"w"});
    QCOMPARE(e.ui.Errors->styleSheet(), QString());
    QCOMPARE(e.ui.Warns->styleSheet(), kPink);
    QCOMPARE(e.errorBox()->text(), QStringLiteral("No. Erros"));
    QCOMPARE(e.warningBox()->text(), QStringLiteral("w"));
    e.warningBox()->hide();
}

void TestScheduleEdit::shortListLeavesTheRest()
{
    ScheduleEdit e;
    e.ui.Comment->setText("untouched");
    QStringList errs;
    QStringList warns;
    e.fromStringList({"H9", "S9"}, errs, warns);
    QCOMPARE(e.ui.HolderNo->text(), QStringLiteral("H9"));
    QCOMPARE(e.ui.SampleId->text(), QStringLiteral("S9"));
    QCOMPARE(e.ui.Comment->text(), QStringLiteral("untouched"));
    QCOMPARE(e.ui.TargetElm->text(), QStringLiteral("Cu"));
    QCOMPARE(e.ui.MeasTimes->text(), QStringLiteral("300"));
    QCOMPARE(errs, QStringList{"Target Element must be specified."});
}

void TestScheduleEdit::longListExtraFieldsIgnored()
{
    ScheduleEdit e;
    QStringList errs;
    QStringList warns;
    QStringList f = entryFields("Cu", "K", "User", "Quick", 1, "eV",
                                {"8700", "100", "1", "9000", "5", "7", "extra"});
    QVERIFY(e.fromStringList(f, errs, warns));
    QCOMPARE(e.ui.Blocks->value(), 1);
    QCOMPARE(e.toStringList().size(), 21);
    QCOMPARE(e.quickBlocks->row(0)->startText(), QStringLiteral("8700"));
    QCOMPARE(e.quickBlocks->row(0)->pointsText(), QStringLiteral("100"));
}

void TestScheduleEdit::selectorsByTable_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("selector");
    QTest::addColumn<int>("index");
    QTest::newRow("dark alias any case") << 7 << "yes"
                                         << "MeasDark" << 1;
    QTest::newRow("dark unknown") << 7 << "maybe"
                                  << "MeasDark" << 0;
    QTest::newRow("tune label") << 8 << "N"
                                << "Tuning" << 2;
    QTest::newRow("crystal by alias") << 9 << "Si(311)"
                                      << "MonoCrystal" << 2;
    QTest::newRow("crystal by name") << 9 << "Si111"
                                     << "MonoCrystal" << 1;
    QTest::newRow("crystal case matters") << 9 << "si111"
                                          << "MonoCrystal" << 0;
    QTest::newRow("crystal unknown") << 9 << "Ge"
                                     << "MonoCrystal" << 0;
    QTest::newRow("scan type alias") << 10 << "s"
                                     << "ScanType" << 1;
    QTest::newRow("scan type unknown") << 10 << "fast"
                                       << "ScanType" << 0;
    QTest::newRow("block def file") << 12 << "f"
                                    << "BlockDefType" << 1;
    QTest::newRow("std type") << 13 << "EXAFS"
                              << "StdBlockType" << 2;
    QTest::newRow("unit exact") << 17 << "keV"
                                << "BlockUnit" << 1;
    QTest::newRow("unit other case stays") << 17 << "KEV"
                                           << "BlockUnit" << 0;
}

void TestScheduleEdit::selectorsByTable()
{
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(QString, selector);
    QFETCH(int, index);
    ScheduleEdit e;
    QStringList f = entryFields("Cu", "K", "Std", "Quick", 1, "eV", {});
    f[column] = text;
    QStringList errs;
    QStringList warns;
    e.fromStringList(f, errs, warns);
    auto *box = e.findChild<QComboBox *>(selector);
    QVERIFY(box);
    QCOMPARE(box->currentIndex(), index);
}

void TestScheduleEdit::targetByNumber()
{
    ScheduleEdit e;
    QStringList errs;
    QStringList warns;
    QVERIFY(e.fromStringList({"1", "", "", "", "", "29"}, errs, warns));
    QCOMPARE(e.ui.TargetElm->text(), QStringLiteral("Cu"));
    e.ui.TargetElm->setText("26");
    QCOMPARE(e.elementSymbol(), QStringLiteral("Fe"));
    QCOMPARE(e.toStringList().at(5), QStringLiteral("Fe"));
    e.ui.TargetElm->setText("200");
    QCOMPARE(e.elementSymbol(), QString());
}

void TestScheduleEdit::blankEdgeComesBackAutomatic()
{
    ScheduleEdit e;
    e.ui.TargetCore->setText("");
    const int automatic = xrayDataBase().autoEdge("Cu");
    QCOMPARE(e.targetEdgeIndex(), automatic);
    QCOMPARE(e.toStringList().at(6), xrayDataBase().edgeName(automatic));
    QCOMPARE(e.toStringList().at(6), QStringLiteral("K")); // K is below 40 keV
    e.ui.TargetCore->setText("L3");
    QCOMPARE(e.targetEdgeIndex(), 3);
    e.ui.TargetCore->setText("l3");
    QCOMPARE(e.targetEdgeIndex(), automatic);
    QCOMPARE(e.targetEdgeEnergy(), xrayDataBase().edgeEnergy("Cu", "K"));
}

// An entry read from a file names its own element: every block set must be
// placed around that element's edge, not the edge of a new entry.
void TestScheduleEdit::readEntryMovesBlocksToItsEdge()
{
    ScheduleEdit e;
    const double cu = e.targetEdgeEnergy();
    QStringList errs;
    QStringList warns;
    QVERIFY(e.fromStringList(entryFields("Fe", "K", "Std", "Step", 4, "eV", {}), errs, warns));
    const double fe = xrayDataBase().edgeEnergy("Fe", "K");
    QVERIFY(std::abs(fe - cu) > 1000);
    QCOMPARE(e.targetEdgeEnergy(), fe);
    QCOMPARE(e.stepBlocks->origin, fe);
    QCOMPARE(e.quickBlocks->origin, fe);
    QCOMPARE(e.stepBlocks->row(0)->pos, fe - 300);
    QCOMPARE(e.stepBlocks->row(4)->pos, fe + 1100);
    QCOMPARE(e.quickBlocks->row(0)->pos, fe - 300);
    QCOMPARE(e.quickBlocks->row(1)->pos, fe + 1100);
    QCOMPARE(e.stepBlocks->row(0)->displayValue(), fe - 300);

    // the same through a copy
    ScheduleEdit c;
    c.copyFrom(e);
    QCOMPARE(c.stepBlocks->row(0)->pos, fe - 300);
    QCOMPARE(c.quickBlocks->row(1)->pos, fe + 1100);
}

void TestScheduleEdit::readUserBlocksRelativeToItsEdge()
{
    ScheduleEdit e;
    QStringList errs;
    QStringList warns;
    QVERIFY(e.fromStringList(
        entryFields("Fe", "", "User", "Step", 2, "eV", {"R-200", "20", "10", "R-20", "40", "1"}),
        errs, warns));
    const double fe = xrayDataBase().edgeEnergy("Fe", "K");
    QCOMPARE(e.stepBlocks->row(0)->pos, fe - 200);
    QCOMPARE(e.stepBlocks->row(1)->pos, fe - 20);
    // the end of the last block follows from its Points and Delta
    QCOMPARE(e.stepBlocks->row(2)->pos, fe + 20);
    QCOMPARE(e.stepBlocks->row(0)->pointsText(), QStringLiteral("20"));
    QCOMPARE(e.stepBlocks->row(0)->deltaText(), QStringLiteral("9"));
    QCOMPARE(e.stepBlocks->row(1)->deltaText(), QStringLiteral("1"));
}

void TestScheduleEdit::blocksFieldOutOfRangeKeepsCount_data()
{
    QTest::addColumn<QString>("blocks");
    QTest::newRow("zero") << "0";
    QTest::newRow("negative") << "-2";
    QTest::newRow("not a number") << "many";
    QTest::newRow("above the maximum") << "11";
}

void TestScheduleEdit::blocksFieldOutOfRangeKeepsCount()
{
    QFETCH(QString, blocks);
    ScheduleEdit e;
    e.ui.ScanType->setCurrentIndex(1);
    e.ui.Blocks->setValue(3);
    QStringList f = entryFields("Cu", "K", "User", "Step", 1, "eV", {});
    f[16] = blocks;
    QStringList errs;
    QStringList warns;
    QVERIFY(e.fromStringList(f, errs, warns));
    QCOMPARE(e.ui.Blocks->value(), 3);
    QCOMPARE(e.stepBlocks->shown, 3);
    QCOMPARE(e.toStringList().size(), 18 + 9);
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
    QStringList errs;
    QStringList warns;
    QVERIFY(a.fromStringList(entryFields("Cu", "K", "User", "Step", n, unit, blocks), errs, warns));
    const QStringList first = a.toStringList();
    QCOMPARE(first.size(), 18 + 3 * n);
    QCOMPARE(first.at(17), unit);
    const double end = a.stepBlocks->row(n)->pos;

    ScheduleEdit b; // a new entry: its rows sit elsewhere
    QVERIFY(b.fromStringList(first, errs, warns));
    QCOMPARE(b.toStringList(), first);
    QVERIFY(std::abs(b.stepBlocks->row(n)->pos - end) < 0.01);
    for (int i = 0; i < n; ++i)
        QVERIFY(std::abs(b.stepBlocks->row(i)->pos - a.stepBlocks->row(i)->pos) < 1e-6);
}

void TestScheduleEdit::automaticCrystal_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("row");
    QTest::newRow("Fe K in the first crystal") << "Fe" << 0;
    QTest::newRow("Sn K only in the second") << "Sn" << 1;
}

void TestScheduleEdit::automaticCrystal()
{
    QFETCH(QString, target);
    QFETCH(int, row);
    ScheduleEdit e;
    units().setD(99);
    e.ui.TargetElm->setText(target);
    e.ui.TargetCore->setText("K");
    e.newTargetSelected();
    QCOMPARE(crystalTable().rowForEnergy(e.targetEdgeEnergy()), row);
    QCOMPARE(units().d(), crystalTable().at(row).d);
    QCOMPARE(e.ui.MonoCrystal->currentIndex(), 0);
}

void TestScheduleEdit::chosenCrystalSetsD()
{
    ScheduleEdit e;
    e.ui.BlockUnit->setCurrentIndex(3);
    const QString before = e.quickBlocks->row(0)->startText();
    e.ui.MonoCrystal->setCurrentIndex(2);
    QCOMPARE(units().d(), crystalTable().at(1).d);
    // angles are shown again for the new spacing
    QVERIFY(e.quickBlocks->row(0)->startText() != before);
    e.ui.MonoCrystal->setCurrentIndex(0);
    QCOMPARE(units().d(), crystalTable().at(0).d);
    QCOMPARE(e.quickBlocks->row(0)->startText(), before);
}

void TestScheduleEdit::copyFromChecksExec()
{
    ScheduleEdit a;
    a.ui.Exec->setChecked(false);
    a.ui.HolderNo->setText("5");
    a.ui.TargetElm->setText("Pt");
    a.ui.TargetCore->setText("L3");
    a.newTargetSelected();
    ScheduleEdit b;
    b.copyFrom(a);
    QVERIFY(b.ui.Exec->isChecked());
    QCOMPARE(b.toStringList(), a.toStringList());
    QCOMPARE(b.targetEdgeIndex(), 3);
    ScheduleEdit c;
    c.copyFrom(&b);
    QCOMPARE(c.toStringList(), a.toStringList());
    c.copyFrom(nullptr); // nothing to copy: unchanged
    QCOMPARE(c.toStringList(), a.toStringList());
}

void TestScheduleEdit::editingSignals()
{
    ScheduleEdit e;
    QSignalSpy up(&e, &ScheduleEdit::insertUp);
    QSignalSpy down(&e, &ScheduleEdit::insertDown);
    QSignalSpy copy(&e, &ScheduleEdit::copy);
    QSignalSpy cut(&e, &ScheduleEdit::cut);
    QTest::mouseClick(e.ui.InsertUp, Qt::LeftButton);
    QTest::mouseClick(e.ui.Cut, Qt::LeftButton);
    QTest::mouseClick(e.ui.Cut, Qt::LeftButton);
    QCOMPARE(up.count(), 1);
    QCOMPARE(down.count(), 0);
    QCOMPARE(copy.count(), 0);
    QCOMPARE(cut.count(), 2);
    QTest::mouseClick(e.ui.InsertDown, Qt::LeftButton);
    QTest::mouseClick(e.ui.Copy, Qt::LeftButton);
    QCOMPARE(down.count(), 1);
    QCOMPARE(copy.count(), 1);
}

void TestScheduleEdit::measTimeFor_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<double>>("times");
    QTest::newRow("list") << "1, 1, 5, 10" << QList<double>{1, 1, 5, 10, 10, 10};
    QTest::newRow("empty") << "" << QList<double>{0, 0, 0};
    QTest::newRow("single") << "300" << QList<double>{300, 300};
}

void TestScheduleEdit::measTimeFor()
{
    QFETCH(QString, text);
    QFETCH(QList<double>, times);
    for (int i = 0; i < times.size(); ++i)
        QCOMPARE(ScheduleEdit::measTimeFor(text, i), times.at(i));
}

void TestScheduleEdit::relativeButtons()
{
    ScheduleEdit e;
    e.ui.ScanType->setCurrentIndex(1);
    const double edge = e.targetEdgeEnergy();
    // the buttons belong to the user blocks, disabled for standard blocks
    QVERIFY(!e.ui.ToAbs->isEnabled());
    e.ui.BlockDefType->setCurrentIndex(2);
    QTest::mouseClick(e.ui.ToAbs, Qt::LeftButton);
    QCOMPARE(e.stepBlocks->row(1)->startText(), EntryText::g6(edge - 40));
    QCOMPARE(e.quickBlocks->row(0)->startText(), EntryText::g6(edge - 300));
    QCOMPARE(e.toStringList().at(18), EntryText::g6(edge - 300));
    QTest::mouseClick(e.ui.ToRel, Qt::LeftButton);
    QCOMPARE(e.stepBlocks->row(1)->startText(), QStringLiteral("R-40"));
    QCOMPARE(e.quickBlocks->row(1)->startText(), QStringLiteral("R1100"));
}

void TestScheduleEdit::hostileBlockFields_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QStringList>("blocks");
    QTest::newRow("huge numbers") << "eV" << QStringList{"1e308",  "2147483647",  "1e-320",
                                                         "-1e308", "99999999999", "1e308"};
    QTest::newRow("not numbers") << "keV" << QStringList{"nan", "abc", "?", "Rinf", "-", "x"};
    QTest::newRow("zero widths") << "eV" << QStringList{"7000", "0", "0", "7000", "5", "0"};
    QTest::newRow("unreachable angles")
        << "deg" << QStringList{"95", "10", "1", "R-200", "10", "2"};
    QTest::newRow("wavelength zero") << "A" << QStringList{"0", "10", "0.1", "R0", "-5", "-1"};
}

// Whatever a file holds, the entry stays usable: its count in range, every
// Delta a finite number, and what it writes reads back the same.
void TestScheduleEdit::hostileBlockFields()
{
    QFETCH(QString, unit);
    QFETCH(QStringList, blocks);
    ScheduleEdit e;
    QStringList errs;
    QStringList warns;
    e.fromStringList(entryFields("Cu", "K", "User", "Step", 2, unit, blocks), errs, warns);
    QCOMPARE(e.ui.Blocks->value(), 2);
    const QStringList f = e.toStringList();
    QCOMPARE(f.size(), 18 + 6);
    for (int i = 18; i < f.size(); ++i) {
        QVERIFY2(!f.at(i).contains("inf") && !f.at(i).contains("nan"), qPrintable(f.at(i)));
    }
    ScheduleEdit again;
    again.fromStringList(f, errs, warns);
    QCOMPARE(again.ui.Blocks->value(), 2);
    QCOMPARE(again.toStringList().size(), f.size());
}

// Without option tables the entry still works: its selectors are empty.
void TestScheduleEdit::emptyTables()
{
    buildOptionTables(ConfigStore());
    {
        ScheduleEdit e;
        QCOMPARE(e.ui.ScanType->count(), 0);
        QCOMPARE(e.ui.MonoCrystal->count(), 1);
        QCOMPARE(e.activeBlocks(), e.quickBlocks);
        QStringList errs;
        QStringList warns;
        QVERIFY(e.fromStringList(
            entryFields("Fe", "", "User", "Step", 2, "eV", {"7000", "10", "", "7100", "10", ""}),
            errs, warns));
        QCOMPARE(e.toStringList().size(), 18 + 3 * e.ui.Blocks->value());
        QCOMPARE(e.toStringList().at(10), QString());
        QCOMPARE(e.quickBlocks->row(0)->pos, 7000.0);
    }
    QVERIFY(ScheduleTestEnv::setUp());
    QCOMPARE(crystalTable().count(), 2);
}

// Deleting an entry whose field holds the focus ends that edit while the
// entry is being destroyed; nothing of the entry may run then.
void TestScheduleEdit::deletedWhileEditing()
{
    auto *e = new ScheduleEdit;
    e->ui.ScanType->setCurrentIndex(1);
    e->ui.BlockDefType->setCurrentIndex(2);
    e->show();
    QVERIFY(QTest::qWaitForWindowActive(e, 10000));
    QObject watcher;
    int finished = 0;
    QLineEdit *points = e->stepBlocks->row(1)->pointsEdit();
    connect(points, &QLineEdit::editingFinished, &watcher, [&finished] { ++finished; });
    points->setFocus();
    QTRY_VERIFY_WITH_TIMEOUT(points->hasFocus(), 10000);
    QTest::keyClicks(points, "7");
    delete e;
    QCOMPARE(finished, 1);

    e = new ScheduleEdit;
    e->show();
    QVERIFY(QTest::qWaitForWindowActive(e, 10000));
    finished = 0;
    connect(e->ui.TargetElm, &QLineEdit::editingFinished, &watcher, [&finished] { ++finished; });
    e->ui.TargetElm->setFocus();
    QTRY_VERIFY_WITH_TIMEOUT(e->ui.TargetElm->hasFocus(), 10000);
    QTest::keyClicks(e->ui.TargetElm, "Fe");
    delete e;
    QCOMPARE(finished, 1);
}

QTEST_MAIN(TestScheduleEdit)
#include "tst_scheduleedit.moc"
