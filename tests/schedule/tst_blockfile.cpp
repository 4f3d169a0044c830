// Block-definition files: writing, reading, 9809 recognition, missing lines.
#include "EntryText.h"
#include "FileSelectDialog.h"
#include "OneBlock.h"
#include "OneBlocks.h"
#include "ScheduleEdit.h"
#include "ScheduleTestEnv.h"

#include <QtTest>

namespace {

void writeText(const QString &path, const QByteArray &text)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Text));
    f.write(text);
}

QStringList readLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList starts(const OneBlocks *set, int n)
{
    QStringList s;
    for (int i = 0; i <= n; ++i)
        s << set->row(i)->startText();
    return s;
}

} // namespace

class TestBlockFile : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { units().setD(3.13553); }

    void writtenSections();
    void saveThenLoad_data();
    void saveThenLoad();
    void suffixRule_data();
    void suffixRule();
    void unwritableTarget();
    void is9809_data();
    void is9809();
    void nineEightZeroNineNotRead();
    void missingFileNotRead();
    void unitWithoutValue();
    void countWithoutValue();
    void onlyNAndBLines();
    void timesJoined();
    void relativeStartsStayOffsets();
    void countsOutOfRangeIgnored();
    void unknownUnitIgnored();
    void dialogSetUp();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

void TestBlockFile::initTestCase()
{
    QVERIFY(ScheduleTestEnv::setUp());
    QVERIFY(m_dir.isValid());
}

void TestBlockFile::writtenSections()
{
    ScheduleEdit e;
    const QString file = path("new.prm");
    e.saveBlockFile(file);
    const QStringList lines = readLines(file);
    const double cu = e.targetEdgeEnergy();
    const QString g = EntryText::g6(cu - 300);
    QStringList expected{"N 1",
                         "U 0",
                         "B 0 " + g + " 4665 300",
                         "B 1 " + EntryText::g6(cu + 1100) + " 0 0",
                         "QN 1",
                         "QB 0 " + g + " 4665 300",
                         "QB 1 " + EntryText::g6(cu + 1100) + " 0 0",
                         "SN 4"};
    const QStringList stepPoints{"40", "300", "180", "100"};
    const QStringList stepStarts{EntryText::g6(cu - 300), EntryText::g6(cu - 40),
                                 EntryText::g6(cu + 50), EntryText::g6(cu + 500)};
    for (int i = 0; i < 4; ++i)
        expected << QString("SB %1 %2 %3 1").arg(i).arg(stepStarts.at(i), stepPoints.at(i));
    expected << "SB 4 " + EntryText::g6(cu + 1100) + " 0 0";
    QCOMPARE(lines, expected);
}

void TestBlockFile::saveThenLoad_data()
{
    QTest::addColumn<int>("unit");
    for (int u = 0; u < 4; ++u)
        QTest::newRow(qPrintable(Units::name(u))) << u;
}

// Saved in any unit and loaded again, the blocks are where they were.
void TestBlockFile::saveThenLoad()
{
    QFETCH(int, unit);
    ScheduleEdit a;
    QStringList errs;
    QStringList warns;
    QVERIFY(a.fromStringList({"1",     "S",       "",  "",     "",      "Fe",   "K",
                              "-",     "-",       "-", "Step", "Trans", "User", "XAFS",
                              "f.prm", "2, 4, 8", "3", "eV",   "6900",  "30",   "",
                              "7080",  "120",     "",  "R40",  "60",    "",     ""},
                             errs, warns));
    a.ui.BlockUnit->setCurrentIndex(unit);
    const QString file = path(QString("unit%1.prm").arg(unit));
    a.saveBlockFile(file);
    QVERIFY(readLines(file).contains(QString("U %1").arg(unit)));

    ScheduleEdit b;
    b.ui.TargetElm->setText("Fe");
    b.newTargetSelected();
    b.ui.ScanType->setCurrentIndex(1);
    b.ui.BlockUnit->setCurrentIndex(unit);
    const QString timesBefore = b.ui.MeasTimes->text();
    b.loadBlockFile(file);
    QCOMPARE(b.stepBlockCount, 3);
    QCOMPARE(b.stepTimes, QStringLiteral("2, 4, 8"));
    QCOMPARE(b.ui.MeasTimes->text(), timesBefore);
    QCOMPARE(b.ui.BlockUnit->currentIndex(), unit);
    QCOMPARE(b.stepBlocks->unit, unit);
    for (int i = 0; i <= 3; ++i) {
        const double want = a.stepBlocks->row(i)->pos;
        const double got = b.stepBlocks->row(i)->pos;
        QVERIFY2(std::abs(got - want) < 0.05,
                 qPrintable(QString("row %1: %2 vs %3").arg(i).arg(got).arg(want)));
        if (i < 3)
            QCOMPARE(b.stepBlocks->row(i)->pointsText(), a.stepBlocks->row(i)->pointsText());
    }
    // shown in the same unit with the same six digits (the file holds
    // absolute values, so a relative row comes back absolute)
    for (int i = 0; i <= 3; ++i)
        QCOMPARE(EntryText::g6(b.stepBlocks->row(i)->displayValue()),
                 EntryText::g6(a.stepBlocks->row(i)->displayValue()));
    QVERIFY(std::abs(b.quickBlocks->row(0)->pos - a.quickBlocks->row(0)->pos) < 0.05);
}

void TestBlockFile::suffixRule_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("written");
    QTest::newRow("no suffix") << "blocks"
                               << "blocks.prm";
    QTest::newRow("prm") << "b2.prm"
                         << "b2.prm";
    QTest::newRow("other suffix kept") << "b3.txt"
                                       << "b3.txt";
}

void TestBlockFile::suffixRule()
{
    QFETCH(QString, given);
    QFETCH(QString, written);
    ScheduleEdit e;
    e.saveBlockFile(path(given));
    QVERIFY(QFile::exists(path(written)));
    if (given != written)
        QVERIFY(!QFile::exists(path(given)));
}

void TestBlockFile::unwritableTarget()
{
    ScheduleEdit e;
    const QString bad = path("missing-dir/x.prm");
    QTest::ignoreMessage(QtDebugMsg, qPrintable(QString("Can't open block-file \"%1\"").arg(bad)));
    e.saveBlockFile(bad);
    QVERIFY(!QFile::exists(bad));
}

void TestBlockFile::is9809_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("result");
    QTest::newRow("prm") << QByteArray("N 1\nU 0\n") << 0;
    QTest::newRow("9809 at start") << QByteArray("9809 data\n1 2 3\n") << 1;
    QTest::newRow("9809 inside first line") << QByteArray("  format x9809y\n") << 1;
    QTest::newRow("9809 on second line only") << QByteArray("head\n9809\n") << 0;
    QTest::newRow("empty") << QByteArray() << 0;
}

void TestBlockFile::is9809()
{
    QFETCH(QByteArray, content);
    QFETCH(int, result);
    const QString file = path(QString("r%1.dat").arg(QTest::currentDataTag()).replace(' ', '_'));
    writeText(file, content);
    QCOMPARE(ScheduleEdit::is9809(file), result);
}

void TestBlockFile::nineEightZeroNineNotRead()
{
    ScheduleEdit e;
    const QString file = path("nine.dat");
    writeText(file, "9809\nQN 3\nQB 0 5000 10 1\nQB 1 6000 0 0\n");
    const QStringList before = starts(e.quickBlocks, 1);
    e.loadBlockFile(file);
    QCOMPARE(e.quickBlockCount, 1);
    QCOMPARE(starts(e.quickBlocks, 1), before);
    e.blockFileSelected(file);
    QCOMPARE(e.ui.BlockDefFile->text(), file);
    QCOMPARE(e.quickBlockCount, 1);
}

void TestBlockFile::missingFileNotRead()
{
    ScheduleEdit e;
    const QString file = path("none.prm");
    QCOMPARE(ScheduleEdit::is9809(file), 2);
    const QString times = e.quickTimes;
    e.loadBlockFile(file);
    e.readBlockFromNormal(file);
    QCOMPARE(e.quickTimes, times);
    QCOMPARE(e.stepBlockCount, 4);
}

void TestBlockFile::unitWithoutValue()
{
    ScheduleEdit e;
    e.ui.BlockUnit->setCurrentIndex(1);
    const QString file = path("u.prm");
    writeText(file, "U\nQN 1\nQB 0 7000 10 1\nQB 1 7100 0 0\n");
    e.loadBlockFile(file);
    // read as eV, shown in the entry's unit
    QCOMPARE(e.quickBlocks->row(0)->pos, 7000.0);
    QCOMPARE(e.quickBlocks->row(0)->startText(), QStringLiteral("7"));
    QCOMPARE(e.quickBlocks->row(0)->deltaText(), QStringLiteral("0.01"));
}

void TestBlockFile::countWithoutValue()
{
    ScheduleEdit e;
    e.quickBlockCount = 3;
    e.stepBlockCount = 2;
    const QString file = path("qn.prm");
    writeText(file, "QN\nSN x\n");
    e.loadBlockFile(file);
    QCOMPARE(e.quickBlockCount, 1);
    QCOMPARE(e.stepBlockCount, 0);
}

void TestBlockFile::onlyNAndBLines()
{
    ScheduleEdit e;
    e.stepBlockCount = 2;
    const QStringList quickBefore = starts(e.quickBlocks, 1);
    const QString pointsBefore = e.stepBlocks->row(1)->pointsText();
    const QString file = path("nb.prm");
    writeText(file, "N 3\nB 0 1000 5 1\nB 1 2000 5 1\nB 2 3000 0 0\n");
    e.loadBlockFile(file);
    QCOMPARE(starts(e.quickBlocks, 1), quickBefore);
    QCOMPARE(e.stepBlocks->row(1)->pointsText(), pointsBefore);
    QCOMPARE(e.quickBlocks->shown, 1);
    QCOMPARE(e.stepBlocks->shown, 2);
    QCOMPARE(e.quickTimes, QString());
    QCOMPARE(e.stepTimes, QString());
    QCOMPARE(e.ui.Blocks->value(), 1);
}

void TestBlockFile::timesJoined()
{
    ScheduleEdit e;
    const QString file = path("times.prm");
    writeText(file, "SN 2\nSB 0 7000 10 1\nSB   1\t7100  20 5\nSB 2 7300 0 0\n");
    e.loadBlockFile(file);
    QCOMPARE(e.stepTimes, QStringLiteral("1, 5"));
    QCOMPARE(e.stepBlocks->row(1)->pointsText(), QStringLiteral("20"));
    QCOMPARE(e.stepBlocks->row(1)->deltaText(), QStringLiteral("10"));
    QCOMPARE(e.stepBlocks->row(2)->pos, 7300.0);
}

void TestBlockFile::relativeStartsStayOffsets()
{
    ScheduleEdit e;
    const double cu = e.targetEdgeEnergy();
    const QString file = path("rel.prm");
    writeText(file, "U 1\nQN 1\nQB 0 R-100 10 1\nQB 1 9.5 0 0\n");
    e.loadBlockFile(file);
    QCOMPARE(e.quickBlocks->row(0)->pos, cu - 100);
    QVERIFY(e.quickBlocks->row(0)->isRel);
    QCOMPARE(e.quickBlocks->row(1)->pos, 9500.0);
}

void TestBlockFile::countsOutOfRangeIgnored()
{
    ScheduleEdit e;
    const QString file = path("big.prm");
    writeText(file, "QN 50\nSN -4\n");
    e.loadBlockFile(file);
    QCOMPARE(e.quickBlockCount, 1);
    QCOMPARE(e.stepBlockCount, 4);
    QCOMPARE(e.stepBlocks->shown, 4);
}

void TestBlockFile::unknownUnitIgnored()
{
    ScheduleEdit e;
    const QString file = path("unit9.prm");
    writeText(file, "U 9\nQN 1\nQB 0 7000 10 1\nQB 1 7100 0 0\n");
    e.loadBlockFile(file);
    QCOMPARE(e.quickBlocks->row(0)->pos, 7000.0);
    QCOMPARE(e.quickBlocks->row(0)->startText(), QStringLiteral("7000"));
}

void TestBlockFile::dialogSetUp()
{
    config().readText(QStringLiteral("ROOT_DIR \"%1\"\n").arg(m_dir.path()));
    ScheduleEdit e;
    FileSelectDialog *d = e.blockFileDialog();
    QCOMPARE(d->nameFilters(), (QStringList{"Block Def (*.prm)", "9809 (*.dat)", "any (*, *.*)"}));
    QCOMPARE(QDir(d->directory()).canonicalPath(), QDir(m_dir.path()).canonicalPath());
    QCOMPARE(d->fileMode(), QFileDialog::ExistingFile);
    QCOMPARE(d->acceptMode(), QFileDialog::AcceptOpen);
    QCOMPARE(e.blockFileDialog(), d);

    e.saveBlockDefFile();
    QVERIFY(e.savingBlockFile);
    QCOMPARE(d->acceptMode(), QFileDialog::AcceptSave);
    QCOMPARE(d->fileMode(), QFileDialog::AnyFile);
    const QString saved = path("chosen");
    emit d->fileSelected(saved);
    QCOMPARE(e.ui.BlockDefFile->text(), saved);
    QVERIFY(QFile::exists(saved + ".prm"));

    e.selectBlockDefFile();
    QVERIFY(!e.savingBlockFile);
    QCOMPARE(d->acceptMode(), QFileDialog::AcceptOpen);
    QCOMPARE(d->fileMode(), QFileDialog::ExistingFile);
    const QString other = path("other.prm");
    writeText(other, "QN 2\nQB 0 7000 10 1\nQB 1 7100 20 2\nQB 2 7300 0 0\n");
    emit d->fileSelected(other);
    QCOMPARE(e.ui.BlockDefFile->text(), other);
    QCOMPARE(e.quickBlockCount, 2);
    QCOMPARE(e.quickTimes, QStringLiteral("1, 2"));
    d->hide();
}

QTEST_MAIN(TestBlockFile)
#include "tst_blockfile.moc"
