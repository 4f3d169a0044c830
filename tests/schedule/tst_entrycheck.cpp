// The checks of an entry before it is run, each rule with an entry that
// passes and one that fails; what only shows across the schedule; and the
// duration model on entries worked out by hand.
#include "BlockFile.h"
#include "ConfigStore.h"
#include "EntryCheck.h"
#include "EntryCodec.h"
#include "Estimate.h"
#include "ScheduleTestEnv.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// User blocks of a step scan: starts in eV, Points per block.
void userBlocks(Entry &e, const QStringList &starts, const QList<int> &points)
{
    e.selectScanType(EntryRows::StepScan);
    e.blockDefType = EntryRows::UserBlocks;
    e.requestBlocks(int(points.size()));
    e.activeBlocks().setBlocks(int(points.size()), starts, points, {});
}

} // namespace

class TestEntryCheck : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(ScheduleTestEnv::setUp());
        QVERIFY(m_dir.isValid());
        Entry e = Entry::defaults();
        userBlocks(e, {"8900", "9000", "9100"}, {10, 20});
        QVERIFY(BlockFile::write(m_dir.filePath("good.prm"), e).ok);
    }

    // field: what the row changes in a new (copper, quick, standard) entry.
    void rules_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("errors");
        QTest::addColumn<int>("warnings");
        auto row = [](const char *name, const char *field, const QString &value, int errors,
                      int warnings = 0) {
            QTest::newRow(name) << QString::fromLatin1(field) << value << errors << warnings;
        };
        row("holder number", "holder", "3", 0);
        row("holder not a number", "holder", "abc", 1);
        row("holder negative", "holder", "-1", 1);
        row("sample id alone", "holder+sample", "|S1", 0);
        row("neither holder nor sample", "holder+sample", "|", 1);
        row("element known", "element", "Fe", 0);
        row("element unknown", "element", "Xx", 1);
        row("element empty", "element", "", 1);
        row("edge name", "edge", "K", 0);
        row("edge not a name", "edge", "Q", 1);
        row("edge inside the crystal's range", "crystal", "Si311", 0);
        row("edge below the crystal's range", "edge", "L1", 1); // Cu L1, 1.1 keV
        row("chosen crystal does not reach", "element+crystal", "Ca|Si311", 1);
        row("times positive", "times", "1, 2.5", 0);
        row("time not a number", "times", "xyz", 1);
        row("time zero", "times", "1,0", 1);
        row("times empty", "times", "", 1);
        row("blocks with points", "blocks", "8900 9000 9100|10 20", 0);
        row("block without points", "blocks", "8900 9000 9100|0 20", 1);
        row("block of a single point", "blocks", "8900 9000 9100|1 20", 0);
        row("block ending below its start", "blocks", "9000 8900 9100|10 20", 1);
        row("blocks past the crystal's range", "blocks", "8900 9000 30000|10 20", 0, 1);
        row("block file that reads", "file", "good.prm", 0);
        row("block file missing", "file", "none.prm", 1);
        row("data file in Latin-1", "data", QStringLiteral("M\u00fcller.dat"), 0);
        row("data file beyond Latin-1", "data", QStringLiteral("\u8a66\u6599.dat"), 1);
        row("data file empty", "data", "", 1);
        row("sample id beyond Latin-1", "sample", QStringLiteral("\u9285"), 1);
        row("comment beyond Latin-1", "comment", QStringLiteral("\u9285\u7b94"), 0, 1);
    }

    void rules()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(int, errors);
        QFETCH(int, warnings);
        Entry e = Entry::defaults();
        const QStringList parts = value.split(QLatin1Char('|'));
        if (field == "holder") {
            e.holder = value;
        } else if (field == "holder+sample") {
            e.holder = parts.at(0);
            e.sampleId = parts.at(1);
        } else if (field == "element" || field == "element+crystal") {
            e.targetElm = parts.at(0);
            if (parts.size() > 1)
                e.selectCrystal(crystalTable().rowByName(parts.at(1)));
            e.updateTarget();
        } else if (field == "edge") {
            e.targetCore = value;
            e.updateTarget();
        } else if (field == "crystal") {
            e.selectCrystal(crystalTable().rowByName(value));
        } else if (field == "times") {
            e.measTimes = value;
        } else if (field == "blocks") {
            QList<int> points;
            for (const QString &p : parts.at(1).split(' '))
                points << p.toInt();
            userBlocks(e, parts.at(0).split(' '), points);
        } else if (field == "file") {
            e.blockDefType = EntryRows::FileBlocks;
            e.blockDefFile = m_dir.filePath(value);
        } else if (field == "data") {
            e.dataFile = value;
        } else if (field == "sample") {
            e.sampleId = value;
        } else if (field == "comment") {
            e.comment = value;
        } else {
            QFAIL("unknown field");
        }
        const EntryCheck::Findings f = EntryCheck::check(e);
        QVERIFY2(f.errors.size() == errors, qPrintable(f.errors.join("; ")));
        QVERIFY2(f.warnings.size() == warnings, qPrintable(f.warnings.join("; ")));
    }

    // A short schedule line leaves copper in place: the entry itself is
    // sound, the line was not, and Start must not run it as copper.
    void codecErrorsCountAtStart()
    {
        Entry e = EntryCodec::fromFields({"1"});
        QVERIFY(EntryCheck::check(e).errors.isEmpty());
        QCOMPARE(EntryCheck::errorsAtStart(e), e.errors);
        QVERIFY(!e.errors.isEmpty());
        EntryCheck::refresh(e); // once edited, the entry counts as it is
        QVERIFY(EntryCheck::errorsAtStart(e).isEmpty());
    }

    // The later of two ticked entries with one data file is warned; an
    // unticked entry writes nothing.
    void sameDataFileAcrossEntries()
    {
        Entry a = Entry::defaults();
        Entry b = a;
        Entry c = a;
        Entry off = a;
        off.exec = false;
        c.dataFile = "other.dat";
        const QList<QStringList> w = EntryCheck::checkSchedule({off, a, c, b});
        QCOMPARE(w.size(), 4);
        QVERIFY(w.at(0).isEmpty() && w.at(1).isEmpty() && w.at(2).isEmpty());
        QCOMPARE(w.at(3).size(), 1);
        QVERIFY(w.at(3).at(0).contains("2")); // names the entry it overwrites
    }

    // Seconds with 0.5 s per point: the standard step set of copper is
    // 40, 300, 180 and 100 points.
    void duration_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<double>("seconds");
        QTest::newRow("quick, its time") << 0 << 300.0;
        QTest::newRow("step, standard set") << 1 << 40 * 1.5 + 300 * 1.5 + 180 * 2.5 + 100 * 4.5;
        QTest::newRow("step, user blocks") << 2 << 10 * 2.5 + 20 * 3.5;
        QTest::newRow("quick, two user blocks") << 3 << 90.0;
    }

    void duration()
    {
        QFETCH(int, kind);
        QFETCH(double, seconds);
        Entry e = Entry::defaults(); // quick, "300"
        if (kind == 1) {
            e.selectScanType(EntryRows::StepScan);
            e.measTimes = "1, 1, 2, 4";
        } else if (kind == 2) {
            userBlocks(e, {"8900", "9000", "9100"}, {10, 20});
            e.measTimes = "2, 3";
        } else if (kind == 3) {
            e.blockDefType = EntryRows::UserBlocks;
            e.requestBlocks(2);
            e.measTimes = "60, 30";
        }
        QCOMPARE(Estimate::measurement(e, Estimate::Params{}), seconds);
    }

    // Keys that are numbers of 0 or more replace the defaults.
    void durationKeys()
    {
        ConfigStore store;
        store.readText("EST_POINT_OVERHEAD 0\nEST_MOVE abc\nEST_HOLDER_MOVE 7\n");
        const Estimate::Params p = Estimate::Params::fromConfig(store);
        QCOMPARE(p.pointOverhead, 0.0);
        QCOMPARE(p.move, Estimate::Params{}.move);
        QCOMPARE(p.holderMove, 7.0);
        QCOMPARE(Estimate::format(3725.2), QStringLiteral("1:02:06"));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestEntryCheck)
#include "tst_entrycheck.moc"
