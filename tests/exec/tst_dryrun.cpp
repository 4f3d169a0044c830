// The dry run's listing: entries with errors are listed without commands and
// counted, the assumed block count decides the dwell-time lines, and the
// estimate adds the moves to each entry's measurement. (That the listed lines
// are exactly what a target receives is checked end to end.)
#include "DryRun.h"
#include "EntryPlanEnv.h"

#include <QtTest>

namespace {

// The listing's lines from the header of entry n up to the next header.
QStringList entryLines(const QStringList &listing, int n)
{
    const QString head = QStringLiteral("# Entry %1:").arg(n);
    QStringList out;
    bool in = false;
    for (const QString &line : listing) {
        if (line.startsWith("# Entry "))
            in = line.startsWith(head);
        if (in)
            out << line;
    }
    return out;
}

int count(const QStringList &lines, const QString &part)
{
    int n = 0;
    for (const QString &l : lines)
        n += l.contains(part) ? 1 : 0;
    return n;
}

} // namespace

class TestDryRun : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(EntryPlanEnv::setUp()); }

    void blockCount_data()
    {
        QTest::addColumn<int>("configured");
        QTest::addColumn<int>("timeLines");
        QTest::newRow("the standard set's") << 0 << 1; // a quick scan has one block
        QTest::newRow("DRYRUN_BLOCK_NUM") << 5 << 5;
    }

    void blockCount()
    {
        QFETCH(int, configured);
        QFETCH(int, timeLines);
        DryRun::Setup setup;
        setup.blockNum = configured;
        const DryRun::Result r =
            DryRun::run({EntryPlanEnv::entry("Cu", "1")}, setup, QDateTime::currentDateTime());
        QCOMPARE(count(entryLines(r.lines, 1), "Dorvan.remote SetMeasTime "), timeLines);
        QCOMPARE(r.entriesWithErrors, 0);
    }

    // The plan of each entry, a line a block of what the target measures,
    // and the entry's points.
    void planLines()
    {
        Entry e = EntryPlanEnv::entry("Cu", "1");
        e.selectScanType(EntryRows::StepScan);
        EntryPlanEnv::setUserBlocks(e, 0, {"8900", "8980", "9000", "9300"}, {8, 20, 50}, "1");
        const QStringList lines =
            entryLines(DryRun::run({e}, DryRun::Setup(), QDateTime::currentDateTime()).lines, 1);
        QCOMPARE(count(lines, "# Block "), 3);
        QCOMPARE(count(lines, " 78 "), 1); // the entry's points, once
    }

    // Entry 2 cannot be run: it is listed with its error and sends nothing,
    // and the others are still planned after it. Each of the others moves
    // the monochromator and the changer: 300 s + 30 s + 20 s.
    void errorsAndTotals()
    {
        Entry bad = EntryPlanEnv::entry("Xx", "2");
        Entry off = EntryPlanEnv::entry("Cu", "4", false);
        Entry third = EntryPlanEnv::entry("Cu", "3");
        third.dataFile = "third.dat";
        DryRun::Setup setup;
        setup.node = "Node";
        setup.target = "Far.remote";
        const QDateTime now(QDate(2030, 1, 2), QTime(3, 4, 5));
        const DryRun::Result r =
            DryRun::run({EntryPlanEnv::entry("Cu", "1"), bad, third, off}, setup, now);
        QCOMPARE(r.entriesWithErrors, 1);
        QCOMPARE(count(r.lines, "Start refuses"), 1); // said at the end, for one entry too
        const QStringList second = entryLines(r.lines, 2);
        QVERIFY(second.size() >= 2);
        QCOMPARE(count(second, "Node>Far.remote "), 0);
        QCOMPARE(count(entryLines(r.lines, 3), "Node>Far.remote MoveSHolderTo 3"), 1);
        QVERIFY(entryLines(r.lines, 4).isEmpty()); // not ticked
        QCOMPARE(r.seconds, 2 * (300.0 + 30 + 20));
        QCOMPARE(r.prompts, count(r.lines, "PROMPT "));
        QCOMPARE(count(r.lines, "2030-01-02 03:15:45"), 1); // the expected end, 700 s on
    }

    // Which ticked entries a run begins before the deadline: 650 s, then
    // 620 s and 21 s (a holder move each); the run ends at the first that
    // does not fit, so a short one after it is not begun either.
    void deadline_data()
    {
        QTest::addColumn<QTime>("endBy");
        QTest::addColumn<int>("fitting");
        QTest::newRow("all fit") << QTime(4, 0) << 3;
        QTest::newRow("the second does not") << QTime(3, 20) << 1;
        QTest::newRow("none") << QTime(3, 5) << 0;
        QTest::newRow("no deadline") << QTime() << -1;
    }
    void deadline()
    {
        QFETCH(QTime, endBy);
        QList<Entry> list{EntryPlanEnv::entry("Cu", "1"), EntryPlanEnv::entry("Cu", "2"),
                          EntryPlanEnv::entry("Cu", "3")};
        list[0].measTimes = list[1].measTimes = QStringLiteral("600");
        list[2].measTimes = QStringLiteral("1");
        DryRun::Setup setup;
        setup.endBy = endBy;
        const DryRun::Result r =
            DryRun::run(list, setup, QDateTime(QDate(2030, 1, 2), QTime(3, 0)));
        QTEST(r.fitting, "fitting");
    }
};

QTEST_GUILESS_MAIN(TestDryRun)
#include "tst_dryrun.moc"
