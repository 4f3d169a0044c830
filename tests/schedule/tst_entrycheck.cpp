// The checks of an entry before it is run, each rule with an entry that passes
// and one that fails, and the duration model on entries worked out by hand.
#include "Entry.h"
#include "EntryCheck.h"
#include "Estimate.h"
#include "ScheduleTestEnv.h"

#include <QtTest>
#include <functional>

using Edit = std::function<void(Entry &)>;
Q_DECLARE_METATYPE(Edit)

namespace {
// User blocks of a step scan: starts in eV, Points per block.
Edit userBlocks(const QStringList &starts, const QList<int> &points, const QString &times = "1, 1")
{
    return [=](Entry &e) {
        e.selectScanType(EntryRows::StepScan);
        e.blockDefType = EntryRows::UserBlocks;
        e.requestBlocks(int(points.size()));
        e.activeBlocks().setBlocks(int(points.size()), starts, points, {});
        e.measTimes = times;
    };
}
} // namespace

class TestEntryCheck : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(ScheduleTestEnv::setUp()); }
    // Rows may change the configuration (holder range, crystals).
    void cleanup() { ScheduleTestEnv::buildTables(); }

    // Each row edits a new (copper, quick, standard, holder "1") entry, with
    // extra configuration lines.
    void rules_data()
    {
        QTest::addColumn<QString>("config");
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<int>("errors");
        QTest::addColumn<int>("warnings");
        auto row = [](const char *name, int errors, int warnings, const Edit &edit,
                      const QString &config = QString()) {
            QTest::newRow(name) << config << edit << errors << warnings;
        };
        const QStringList starts{"8900", "9000", "9100"};
        const QString range = "HOLDER_RANGE 1 48\n";
        row("holder as text, no range", 0, 0, [](Entry &e) { e.holder = "A1"; });
        row(
            "holder as text, range", 1, 0, [](Entry &e) { e.holder = "A1"; }, range);
        row(
            "holder past the range", 1, 0, [](Entry &e) { e.holder = "99"; }, range);
        row(
            "holder at the range's end", 0, 0, [](Entry &e) { e.holder = "48"; }, range);
        row(
            "range that does not read is ignored", 0, 0, [](Entry &e) { e.holder = "99"; },
            "HOLDER_RANGE 48 1\n");
        row("sample id without holder", 1, 0, [](Entry &e) { e.holder.clear(); });
        row("holder alone", 0, 0, [](Entry &e) { e.holder = "2", e.sampleId.clear(); });
        row("neither", 1, 0, [](Entry &e) { e.holder.clear(), e.sampleId.clear(); });
        row("sample id beyond Latin-1, never sent", 0, 0, [](Entry &e) { e.sampleId = "\u9285"; });
        row("holder beyond Latin-1", 1, 0, [](Entry &e) { e.holder = "\u9285"; });
        row("data file beyond Latin-1", 1, 0, [](Entry &e) { e.dataFile = "\u8a66\u6599.dat"; });
        row("no data file name", 0, 0, [](Entry &e) { e.dataFile.clear(); });
        row("time zero", 1, 0, [](Entry &e) { e.measTimes = "1,0"; });
        row("fewer times than standard blocks", 0, 1, [](Entry &e) {
            e.selectScanType(EntryRows::StepScan);
            e.measTimes = "1, 2";
        });
        row("a time for each XANES block", 0, 0, [](Entry &e) {
            e.selectStdBlockType(1);
            e.selectScanType(EntryRows::StepScan);
            e.measTimes = "1, 2, 3";
        });
        row("fewer times than user blocks", 0, 1, userBlocks(starts, {10, 20}, "1"));
        row("scan type read as unknown text", 1, 0,
            [](Entry &e) { e.unknownChoices.insert(EntryColumns::ScanType, "Quack"); });
        row("no crystal configured", 0, 1, [](Entry &e) {
            crystalTable().clear();
            e.updateTarget();
        });
        row("edge below the crystal's range", 1, 0, [](Entry &e) {
            e.targetCore = "L1"; // Cu L1, 1.1 keV
            e.updateTarget();
        });
        row("blocks with points", 0, 0, userBlocks(starts, {10, 20}));
        row("block without points", 1, 0, userBlocks(starts, {0, 20}));
        row("block of a single point", 0, 0, userBlocks(starts, {1, 20}));
        row("block of no width", 1, 0, userBlocks({"8900", "8900", "9100"}, {10, 20}));
        row("blocks past the crystal's range", 0, 1,
            userBlocks({"8900", "9000", "30000"}, {10, 2100}));
        row("blocks ending where the crystal's range ends", 0, 0,
            userBlocks({"8900", "9000", "28000"}, {10, 1900}));
        row("a step that jumps fivefold", 0, 1, userBlocks({"9000", "9100", "9600"}, {10, 10}));
    }
    void rules()
    {
        QFETCH(QString, config);
        QFETCH(Edit, edit);
        ScheduleTestEnv::buildTables(config);
        Entry e = Entry::defaults();
        e.holder = "1";
        edit(e);
        const EntryCheck::Findings f = EntryCheck::check(e);
        QTEST(int(f.errors.size()), "errors");
        QTEST(int(f.warnings.size()), "warnings");
    }

    // Only ticked entries with a data file name count; the later writer is warned.
    void sameDataFile_data()
    {
        QTest::addColumn<QStringList>("files"); // "-" in front: not ticked
        QTest::addColumn<QList<int>>("warnings");
        QTest::newRow("same file") << QStringList{"a.dat", "a.dat"} << QList<int>{0, 1};
        QTest::newRow("third repeats first")
            << QStringList{"a.dat", "b.dat", "a.dat"} << QList<int>{0, 0, 1};
        QTest::newRow("one not ticked") << QStringList{"a.dat", "-a.dat"} << QList<int>{0, 0};
        QTest::newRow("different files") << QStringList{"a.dat", "b.dat"} << QList<int>{0, 0};
        QTest::newRow("no names") << QStringList{"", ""} << QList<int>{0, 0};
    }
    void sameDataFile()
    {
        QFETCH(QStringList, files);
        QList<Entry> entries;
        for (const QString &f : files) {
            Entry e = Entry::defaults();
            e.exec = !f.startsWith('-');
            e.dataFile = e.exec ? f : f.mid(1);
            entries << e;
        }
        const QList<QStringList> found = EntryCheck::checkSchedule(entries);
        QList<int> counts;
        for (const QStringList &w : found)
            counts << int(w.size());
        QTEST(counts, "warnings");
    }

    // Seconds with 0.5 s per point: the standard step set of copper is
    // 40, 300, 180 and 100 points.
    void duration_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<double>("seconds");
        QTest::newRow("quick, its time") << Edit([](Entry &) {}) << 300.0;
        QTest::newRow("step, standard set") << Edit([](Entry &e) {
            e.selectScanType(EntryRows::StepScan);
            e.measTimes = "1, 1, 2, 4";
        }) << 40 * 1.5 + 300 * 1.5 + 180 * 2.5 + 100 * 4.5;
        QTest::newRow("step, user blocks")
            << userBlocks({"8900", "9000", "9100"}, {10, 20}, "2, 3") << 10 * 2.5 + 20 * 3.5;
    }
    void duration()
    {
        QFETCH(Edit, edit);
        Entry e = Entry::defaults();
        edit(e);
        QTEST(Estimate::measurement(e, Estimate::Params{}), "seconds");
    }
};

QTEST_GUILESS_MAIN(TestEntryCheck)
#include "tst_entrycheck.moc"
