// The block rows of one scan as values: the coupling of starts, Points and
// Delta, display units with a crystal's spacing, origin and relative display;
// and the text rules of starts and dwell times.
#include "Entry.h"
#include "EntryText.h"
#include "ScheduleTestEnv.h"

#include <QtTest>

using ScheduleTestEnv::braggDeg;
using ScheduleTestEnv::hc;

namespace {
constexpr double kCu = 8979; // origin of every set here
constexpr double kD = 1.63747;

BlockSet blockSet(int shown, const QStringList &starts)
{
    BlockSet s;
    s.setOrigin(kCu);
    s.showBlocks(shown);
    for (int i = 0; i < starts.size(); ++i)
        s.setStartText(i, starts.at(i));
    return s;
}

double energyAtDeg(double deg, double d)
{
    return hc / (2 * d * std::sin(deg * std::atan(1.0) / 45));
}

bool near(double got, double want, double rel)
{
    return std::abs(got - want) <= rel * std::abs(want);
}
} // namespace

class TestOneBlocks : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(ScheduleTestEnv::setUp()); }

    // Operations "<op><row> <text>" (S edit start, T type start, P Points,
    // D Delta, X Points text alone, U<unit>), then "Points Delta" of rows 0...
    void edits_data()
    {
        QTest::addColumn<int>("shown");
        QTest::addColumn<QStringList>("starts");
        QTest::addColumn<QStringList>("ops");
        QTest::addColumn<QStringList>("rows");
        const QStringList one{"8000", "9400"}; // exactly 1400 eV
        const QStringList two{"8000", "8100", "8300"};
        const QStringList three{"8000", "9000", "9400"};
        const QStringList pts{"P0 10", "P1 100"};
        // 1400 / 0.3 truncates to 4666, whose six-digit Delta gives 4665.
        const QStringList settled{"4665 0.300107"};
        QTest::newRow("Delta settles") << 1 << one << QStringList{"D0 0.3"} << settled;
        QTest::newRow("Points after Delta")
            << 1 << one << QStringList{"D0 0.3", "P0 4666"} << settled;
        QTest::newRow("Points alone") << 1 << one << QStringList{"P0 4666"} << settled;
        QTest::newRow("end row start")
            << 2 << two << pts + QStringList{"S2 8500"} << QStringList{"10 10", "100 4"};
        QTest::newRow("inner row start")
            << 2 << two << pts + QStringList{"S1 8200"} << QStringList{"10 20", "100 1"};
        QTest::newRow("first row start")
            << 2 << two << pts + QStringList{"S0 7900"} << QStringList{"10 20", "100 2"};
        QTest::newRow("start typed unchanged: nothing")
            << 1 << one << QStringList{"X0 7", "T0 8000"} << QStringList{"7 "};
        QTest::newRow("start edited: recomputed")
            << 1 << one << QStringList{"X0 7", "S0 8000"} << QStringList{"7 200"};
        QTest::newRow("no Points: Delta stays a number in every unit")
            << 2 << three << QStringList{"D0 10", "P0 0", "U1", "U2", "U3", "U0"}
            << QStringList{"0 10"};
        QTest::newRow("row past the shown blocks")
            << 1 << three << QStringList{"P1 5"} << QStringList{" ", "5 "};
    }
    void edits()
    {
        QFETCH(int, shown);
        QFETCH(QStringList, starts);
        QFETCH(QStringList, ops);
        QFETCH(QStringList, rows);
        using Op = void (BlockSet::*)(int, const QString &);
        const QHash<QChar, Op> apply{{'S', &BlockSet::editStart},
                                     {'T', &BlockSet::typeStart},
                                     {'P', &BlockSet::editPoints},
                                     {'D', &BlockSet::editDelta},
                                     {'X', &BlockSet::setPointsText}};
        BlockSet s = blockSet(shown, starts);
        for (const QString &op : ops) {
            if (op.at(0) == 'U')
                s.setUnit(op.mid(1).toInt());
            else
                (s.*apply.value(op.at(0)))(op.mid(1, 1).toInt(), op.mid(3));
        }
        for (int i = 0; i < rows.size(); ++i)
            QCOMPARE(s.row(i).pointsText + ' ' + s.row(i).deltaText, rows.at(i));
    }

    // A change of unit keeps the Points and shows start and Delta in the new
    // unit, angles with the set's own spacing.
    void units_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("width");
        const double l8 = hc / 8000, l94 = hc / 9400;
        QTest::newRow("eV") << 0 << 8000.0 << 1400.0;
        QTest::newRow("keV") << 1 << 8.0 << 1.4;
        QTest::newRow("A") << 2 << l8 << l94 - l8;
        QTest::newRow("deg") << 3 << braggDeg(8000, kD) << braggDeg(9400, kD) - braggDeg(8000, kD);
    }
    void units()
    {
        QFETCH(int, unit);
        QFETCH(double, start);
        QFETCH(double, width);
        BlockSet s = blockSet(1, {"8000", "9400"});
        s.setLatticeSpacing(kD);
        s.editPoints(0, "100");
        s.setUnit(unit);
        QCOMPARE(s.row(0).pointsText, QStringLiteral("100"));
        QVERIFY2(near(s.displayValue(0), start, 1e-6), qPrintable(s.startText(0)));
        QVERIFY(near(s.width(0), width, 1e-5));
        QVERIFY2(near(s.row(0).delta(), width / 100, 2e-5), qPrintable(s.row(0).deltaText));
    }

    void outOfReachAndOrigin()
    {
        BlockSet s = blockSet(3, {"1000", "8939", "10079", "R-40"});
        s.setUnit(3);
        QCOMPARE(s.displayValue(0), -1.0); // below the crystal's reach
        QCOMPARE(s.startText(0), QStringLiteral("-1"));
        QCOMPARE(s.width(3), 0.0); // the end row starts no block
        s.showBlocks(11);
        QCOMPARE(s.shown(), 3);
        s.setUnit(0);
        s.setRelative(true);
        QCOMPARE(s.startText(2), QStringLiteral("R1100"));
        s.setOrigin(7112); // every row keeps its offset from the edge
        QCOMPARE(s.row(2).pos, 8212.0);
        QCOMPARE(s.startText(3), QStringLiteral("R-40"));
        s.setRelative(false);
        QCOMPARE(s.startText(3), QStringLiteral("7072"));
    }

    void measTimeFor_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<double>>("times");
        QTest::newRow("last repeats") << "1, 1, 5, 10" << QList<double>{1, 1, 5, 10, 10, 10};
        QTest::newRow("empty") << "" << QList<double>{0, 0};
        QTest::newRow("blanks only") << "1 2   3" << QList<double>{1, 2, 3};
        QTest::newRow("not a number") << "abc, 2" << QList<double>{0, 2};
    }
    void measTimeFor()
    {
        QFETCH(QString, text);
        QFETCH(QList<double>, times);
        for (int i = 0; i < times.size(); ++i)
            QCOMPARE(EntryText::measTimeFor(text, i), times.at(i));
        QCOMPARE(EntryText::measTimeFor(text, -1), times.at(0));
    }

    void parseTypedStart_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("unit");
        QTest::addColumn<double>("pos");
        QTest::addColumn<bool>("relative");
        QTest::newRow("eV lower-case r") << "r-40" << 0 << 8939.0 << true;
        QTest::newRow("eV R without sign") << "R1100" << 0 << 10079.0 << true;
        QTest::newRow("keV relative") << "R-0.04" << 1 << 8939.0 << true;
        QTest::newRow("A relative") << "R0.01" << 2 << hc / (hc / kCu + 0.01) << true;
        QTest::newRow("A absolute") << "1.5" << 2 << hc / 1.5 << false;
        QTest::newRow("deg relative")
            << "R-0.5" << 3 << energyAtDeg(braggDeg(kCu, kD) - 0.5, kD) << true;
        QTest::newRow("deg absolute") << "34" << 3 << energyAtDeg(34, kD) << false;
        QTest::newRow("not a number") << "abc" << 0 << 0.0 << false;
        QTest::newRow("R alone") << "R" << 0 << kCu << true;
    }
    void parseTypedStart()
    {
        QFETCH(QString, text);
        QFETCH(int, unit);
        QFETCH(double, pos);
        QFETCH(bool, relative);
        bool rel = !relative;
        const double got = EntryText::parseTypedStart(text, unit, kCu, kD, &rel);
        QVERIFY2(std::abs(got - pos) <= 1e-6 * pos, qPrintable(QString::number(got, 'g', 12)));
        QCOMPARE(rel, relative);
    }
};

QTEST_GUILESS_MAIN(TestOneBlocks)
#include "tst_oneblocks.moc"
