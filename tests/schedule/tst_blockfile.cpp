// Block-definition files: writing, reading in every unit, 9809 recognition,
// missing lines.
#include "EntryText.h"
#include "OneBlock.h"
#include "OneBlocks.h"
#include "ScheduleEdit.h"
#include "ScheduleTestEnv.h"

#include <QtTest>

using ScheduleTestEnv::writeText;

class TestBlockFile : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(ScheduleTestEnv::setUp() && m_dir.isValid()); }
    void init() { units().setD(3.13553); }
    void writtenLines();
    void saveThenLoad_data();
    void saveThenLoad();
    void is9809_data();
    void is9809();
    void readLines_data();
    void readLines();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

void TestBlockFile::writtenLines()
{
    ScheduleEdit e;
    e.saveBlockFile(path("new")); // ".prm" is added when the name has no suffix
    QFile f(path("new.prm"));
    QVERIFY(f.open(QIODevice::ReadOnly | QIODevice::Text));
    const double cu = e.targetEdgeEnergy();
    auto g = [cu](double offset) { return EntryText::g6(cu + offset); };
    QCOMPARE(QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts),
             (QStringList{"N 1", "U 0", "B 0 " + g(-300) + " 4665 300", "B 1 " + g(1100) + " 0 0",
                          "QN 1", "QB 0 " + g(-300) + " 4665 300", "QB 1 " + g(1100) + " 0 0",
                          "SN 4", "SB 0 " + g(-300) + " 40 1", "SB 1 " + g(-40) + " 300 1",
                          "SB 2 " + g(50) + " 180 1", "SB 3 " + g(500) + " 100 1",
                          "SB 4 " + g(1100) + " 0 0"}));
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
    QVERIFY(ScheduleTestEnv::read(
        a, ScheduleTestEnv::entryFields("Fe", "K", "User", "Step", 3, "eV",
                                        {"6900", "30", "", "7080", "120", "", "R40", "60", ""})));
    a.ui.MeasTimes->setText("2, 4, 8");
    a.ui.BlockUnit->setCurrentIndex(unit);
    const QString file = path(QString("unit%1.prm").arg(unit));
    a.saveBlockFile(file);

    ScheduleEdit b;
    b.ui.TargetElm->setText("Fe");
    b.newTargetSelected();
    b.ui.ScanType->setCurrentIndex(1);
    b.ui.BlockUnit->setCurrentIndex(unit);
    b.loadBlockFile(file);
    QCOMPARE(b.stepBlockCount, 3);
    QCOMPARE(b.stepTimes, QStringLiteral("2, 4, 8"));
    QCOMPARE(b.ui.MeasTimes->text(), QStringLiteral("1,1,1,1")); // the shown text stays
    QCOMPARE(b.stepBlocks->unit, unit);
    for (int i = 0; i <= 3; ++i) {
        const double want = a.stepBlocks->row(i)->pos;
        const double got = b.stepBlocks->row(i)->pos;
        QVERIFY2(std::abs(got - want) < 0.05, qPrintable(QString("row %1: %2").arg(i).arg(got)));
        QCOMPARE(EntryText::g6(b.stepBlocks->row(i)->displayValue()),
                 EntryText::g6(a.stepBlocks->row(i)->displayValue()));
        if (i < 3)
            QCOMPARE(b.stepBlocks->row(i)->pointsText(), a.stepBlocks->row(i)->pointsText());
    }
    QVERIFY(std::abs(b.quickBlocks->row(0)->pos - a.quickBlocks->row(0)->pos) < 0.05);
}

void TestBlockFile::is9809_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("result");
    QTest::newRow("prm") << QByteArray("N 1\nU 0\n") << 0;
    QTest::newRow("9809 at start")
        << QByteArray("9809\nQN 3\nQB 0 5000 10 1\nQB 1 6000 0 0\n") << 1;
    QTest::newRow("9809 inside first line") << QByteArray("  format x9809y\nQN 2\n") << 1;
    QTest::newRow("9809 on second line only") << QByteArray("head\n9809\n") << 0;
    QTest::newRow("no file") << QByteArray() << 2;
}

// Only a ".prm" file is read; a 9809 file or a missing one changes nothing.
void TestBlockFile::is9809()
{
    QFETCH(QByteArray, content);
    QFETCH(int, result);
    const QString file = path(QString("r%1.dat").arg(QTest::currentDataTag()).replace(' ', '_'));
    if (result != 2)
        QVERIFY(writeText(file, content));
    QCOMPARE(ScheduleEdit::is9809(file), result);
    ScheduleEdit e;
    const QStringList before = e.toStringList();
    e.blockFileSelected(file);
    QCOMPARE(e.ui.BlockDefFile->text(), file);
    if (result != 0) {
        QCOMPARE(e.quickBlockCount, 1);
        QCOMPARE(e.toStringList().mid(15), before.mid(15));
    }
}

void TestBlockFile::readLines_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("quickCount"); // before: 3
    QTest::addColumn<int>("stepCount");  // before: 2
    QTest::addColumn<QString>("stepTimes");
    QTest::addColumn<double>("offset"); // quick row 0 from the copper edge; 1 unchecked
    QTest::addColumn<QString>("text");  // quick row 0 shown in keV
    const double cu = xrayDataBase().edgeEnergy("Cu", "K");
    const QByteArray q = "QN 1\nQB 0 7000 10 1\nQB 1 7100 0 0\n";
    QTest::newRow("unit without value") << "U\n" + q << 1 << 2 << "" << 7000 - cu << "7";
    QTest::newRow("unknown unit") << "U 9\n" + q << 1 << 2 << "" << 7000 - cu << "7";
    QTest::newRow("keV file") << QByteArray("U 1\nQN 1\nQB 0 7 10 1\nQB 1 7.1 0 0\n") << 1 << 2
                              << "" << 7000 - cu << "7";
    QTest::newRow("relative start stays an offset")
        << QByteArray("U 1\nQN 1\nQB 0 R-100 10 1\nQB 1 9.5 0 0\n") << 1 << 2 << "" << -100.0
        << "R-0.1";
    QTest::newRow("counts without value") << QByteArray("QN\nSN x\n") << 1 << 0 << "" << 1.0 << "";
    QTest::newRow("counts out of range")
        << QByteArray("QN 50\nSN -4\n") << 3 << 2 << "" << 1.0 << "";
    QTest::newRow("only N and B lines")
        << QByteArray("N 3\nB 0 1000 5 1\nB 1 2000 5 1\nB 2 3000 0 0\n") << 3 << 2 << "" << -300.0
        << "R-0.3";
    QTest::newRow("times joined")
        << QByteArray("SN 2\nSB 0 7000 10 1\nSB   1\t7100  20 5\nSB 2 7300 0 0\n") << 3 << 2
        << "1, 5" << -300.0 << "R-0.3";
}

void TestBlockFile::readLines()
{
    QFETCH(QByteArray, content);
    QFETCH(int, quickCount);
    QFETCH(int, stepCount);
    QFETCH(QString, stepTimes);
    QFETCH(double, offset);
    QFETCH(QString, text);
    ScheduleEdit e;
    e.ui.BlockUnit->setCurrentIndex(1);
    e.quickBlockCount = 3;
    e.stepBlockCount = 2;
    const QString file = path(QString("%1.prm").arg(QTest::currentDataTag()).replace(' ', '_'));
    QVERIFY(writeText(file, content));
    e.loadBlockFile(file);
    QCOMPARE(e.quickBlockCount, quickCount);
    QCOMPARE(e.stepBlockCount, stepCount);
    QCOMPARE(e.stepTimes, stepTimes);
    if (offset != 1.0) {
        QVERIFY(std::abs(e.quickBlocks->row(0)->pos - e.targetEdgeEnergy() - offset) < 1e-6);
        QCOMPARE(e.quickBlocks->row(0)->startText(), text);
    }
    if (stepTimes == "1, 5") {
        QCOMPARE(e.stepBlocks->row(1)->deltaText(), QStringLiteral("0.01")); // keV
        QCOMPARE(e.stepBlocks->row(2)->pos, 7300.0);
    }
}

QTEST_MAIN(TestBlockFile)
#include "tst_blockfile.moc"
