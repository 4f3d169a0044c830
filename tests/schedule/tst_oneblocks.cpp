// The block rows of one scan as values: the coupling of starts, Points and Delta.
#include "Entry.h"
#include "EntryText.h"
#include "ScheduleTestEnv.h"

#include <QtTest>

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
        QTest::newRow("Points alone") << 1 << one << QStringList{"P0 4666"} << settled;
        QTest::newRow("end row start")
            << 2 << two << pts + QStringList{"S2 8500"} << QStringList{"10 10", "100 4"};
        QTest::newRow("inner row start")
            << 2 << two << pts + QStringList{"S1 8200"} << QStringList{"10 20", "100 1"};
        QTest::newRow("first row start")
            << 2 << two << pts + QStringList{"S0 7900"} << QStringList{"10 20", "100 2"};
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
        BlockSet s;
        s.setOrigin(8979); // copper
        s.showBlocks(shown);
        for (int i = 0; i < starts.size(); ++i)
            s.setStartText(i, starts.at(i));
        for (const QString &op : ops) {
            if (op.at(0) == 'U')
                s.setUnit(op.mid(1).toInt());
            else
                (s.*apply.value(op.at(0)))(op.mid(1, 1).toInt(), op.mid(3));
        }
        for (int i = 0; i < rows.size(); ++i)
            QCOMPARE(s.row(i).pointsText + ' ' + s.row(i).deltaText, rows.at(i));
    }

    // Dwell times by block: commas or blanks between them, the last repeats.
    void measTimeFor()
    {
        QList<double> got;
        for (int i = -1; i < 5; ++i)
            got << EntryText::measTimeFor("1, 2   5,10", i);
        QCOMPARE(got, (QList<double>{1, 1, 2, 5, 10, 10}));
    }
};

QTEST_GUILESS_MAIN(TestOneBlocks)
#include "tst_oneblocks.moc"
