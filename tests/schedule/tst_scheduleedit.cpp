// SPDX-License-Identifier: GPL-3.0-or-later
// Schedule entries as values, without any widget: the codec, the coupling of starts, Points
// and Delta in the block rows, the checks before a run and the duration model.
#include "EntryCheck.h"
#include "EntryCodec.h"
#include "Estimate.h"
#include "ScheduleTestEnv.h"

#include <QtTest>
#include <cmath>
#include <functional>

using ScheduleTestEnv::entryFields;
using Edit = std::function<void(Entry &)>;
Q_DECLARE_METATYPE(Edit)

namespace {
// User blocks of a step scan: starts in eV, Points per block.
Edit userBlocks(const QStringList &starts, const QList<int> &points, const QString &times = "1, 1")
{
    return [=](Entry &e) {
        e.selectScanType(EntryRows::StepScan);
        ScheduleTestEnv::setUserBlocks(e, Units::EV, starts, points, times);
    };
}
} // namespace

class TestEntry : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(ScheduleTestEnv::setUp()); }
    // Rows may change the configuration (holder range, crystals).
    void cleanup() { ScheduleTestEnv::buildTables(); }

    // Missing fields keep the entry's values; warnings are kept as given.
    void errors_data()
    {
        const QString holder = "Holder No. or Sample ID must be specified.";
        const QString target = "Target Element must be specified.";
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QStringList>("errors");
        QTest::newRow("empty list") << QStringList() << QStringList{holder, target};
        QTest::newRow("holder and comment") << QStringList{"H1", "", "note"} << QStringList{target};
        QTest::newRow("sample only") << QStringList{"", "S1", "", "", "", "Fe"} << QStringList();
    }
    void errors()
    {
        QFETCH(QStringList, fields);
        QFETCH(QStringList, errors);
        Entry e = Entry::defaults();
        QStringList errs, warns{"kept"};
        QCOMPARE(EntryCodec::fromFields(fields, e, errs, warns), errors.isEmpty());
        QCOMPARE(errs, errors);
        QCOMPARE(e.errors, errors);
        QCOMPARE(e.warnings, QStringList{"kept"});
        QCOMPARE(e.comment, fields.size() > 2 ? fields.at(2) : Entry::defaults().comment);
    }

    // One field read into a step entry that shows 3 blocks, and written back.
    void fields_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("written");
        QTest::newRow("element by number") << 5 << QString("26") << QString("Fe");
        QTest::newRow("crystal by alias") << 9 << QString("Si(311)") << QString("Si311");
        QTest::newRow("scan type alias") << 10 << QString("q") << QString("Quick");
        QTest::newRow("10 blocks") << 16 << QString("10") << QString("10");
        QTest::newRow("11 blocks") << 16 << QString("11") << QString("3");
    }
    void fields()
    {
        QFETCH(int, column);
        QFETCH(QString, text);
        Entry e = Entry::defaults();
        e.selectScanType(EntryRows::StepScan);
        e.requestBlocks(3);
        QStringList f = entryFields("Cu", "K", "User", "Step", 3, "eV");
        f[column] = text;
        QStringList errs, warns;
        QVERIFY(EntryCodec::fromFields(f, e, errs, warns));
        const QStringList out = EntryCodec::toFields(e);
        QTEST(out.at(column), "written");
        QCOMPARE(out.size(), 18 + 3 * e.blocks);
    }

    // Written and read back, user blocks keep every field, the last block's Delta included.
    void roundTrip_data()
    {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QStringList>("blocks");
        QTest::newRow("eV") << "eV" << QStringList{"8600", "30",  "10", "R-50", "200",
                                                   "0.5",  "R50", "40", "5"};
        QTest::newRow("keV") << "keV"
                             << QStringList{"R-0.3", "26", "0.01", "R-0.04", "300", "0.0003"};
        QTest::newRow("deg") << "deg"
                             << QStringList{"R0.7", "40", "-0.02", "R0.1", "100", "-0.003"};
    }
    void roundTrip()
    {
        QFETCH(QString, unit);
        QFETCH(QStringList, blocks);
        const int n = int(blocks.size()) / 3;
        const Entry a =
            EntryCodec::fromFields(entryFields("Cu", "K", "User", "Step", n, unit, blocks));
        QVERIFY(a.errors.isEmpty());
        const QStringList first = EntryCodec::toFields(a);
        for (int i = 0; i < n; ++i)
            QCOMPARE(first.mid(18 + 3 * i, 2), blocks.mid(3 * i, 2));
        QCOMPARE(EntryCodec::toFields(EntryCodec::fromFields(first)), first);
        QCOMPARE(first.mid(first.size() - 3), blocks.mid(blocks.size() - 3)); // the last Delta too
    }

    // An unknown text acts as the fallback, cannot start and is written back as read.
    void unknownTexts_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fallback");
        QTest::addColumn<QString>("chosen");
        auto row = [](const char *name, int column, const char *text, const char *fallback,
                      const char *chosen = nullptr) {
            QTest::newRow(name) << column << QString(text) << QString(fallback)
                                << QString(chosen ? chosen : fallback);
        };
        row("element", 5, "Xx", "");
        row("edge", 6, "K9", "", "K");
        row("dark", 7, "maybe", "-");
        row("crystal", 9, "Ge111", "-");
        row("scan type", 10, "Quack", "Quick");
        row("measurement mode", 11, "Tran", "Trans");
        row("block definition", 12, "Usr", "Std");
        row("standard type", 13, "XANESS", "XAFS");
        row("unit", 17, "ev", "eV");
    }
    void unknownTexts()
    {
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(QString, fallback);
        QStringList f = entryFields("Cu", "K", "User", "Step", 2, "eV",
                                    {"8800", "10", "20", "R-40", "20", "5"});
        f[column] = fallback;
        const Entry plain = EntryCodec::fromFields(f);
        QTEST(EntryCodec::toFields(plain).at(column), "chosen");
        f[column] = text;
        const Entry read = EntryCodec::fromFields(f);
        const QStringList errors = EntryCheck::errorsAtStart(read);
        QVERIFY2(errors.filter(text).size() == 1, qPrintable(errors.join('\n')));
        QStringList written = EntryCodec::toFields(read);
        QCOMPARE(written.at(column), text);
        QCOMPARE(EntryCodec::toFields(EntryCodec::fromFields(written)).at(column), text);
        written[column] = EntryCodec::toFields(plain).at(column);
        QCOMPARE(written, EntryCodec::toFields(plain));
        // An empty field is no choice made: the fallback, without an error.
        f[column].clear();
        const Entry empty = EntryCodec::fromFields(f);
        QVERIFY(EntryCheck::unknownTextErrors(empty).isEmpty());
        QTEST(EntryCodec::toFields(empty).at(column), "chosen");
    }

    // The blocks shown are those sent: standard blocks are the target's set, whatever the count.
    void standardBlocksShown_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<int>("blocks");
        auto row = [](const char *name, int blocks, const Edit &edit) {
            QTest::newRow(name) << edit << blocks;
        };
        row("step XANES", 3, [](Entry &e) {
            e.selectStdBlockType(1);
            e.selectScanType(EntryRows::StepScan);
        });
        row("XANES chosen on a step scan", 3, [](Entry &e) {
            e.selectScanType(EntryRows::StepScan);
            e.selectStdBlockType(1);
        });
        // A quick scan is one sweep: a standard type gives it a single block.
        row("quick XANES", 1, [](Entry &e) { e.selectStdBlockType(1); });
        row("XANES read with 4 blocks", 3, [](Entry &e) {
            QStringList f = entryFields("Cu", "K", "Std", "Step", 4, "eV");
            f[13] = "XANES";
            e = EntryCodec::fromFields(f);
        });
        row("user blocks back to standard", 4, [](Entry &e) {
            e.selectScanType(EntryRows::StepScan);
            e.selectBlockDefType(EntryRows::UserBlocks);
            e.requestBlocks(7);
            e.selectBlockDefType(EntryRows::StandardBlocks);
        });
    }
    void standardBlocksShown()
    {
        QFETCH(Edit, edit);
        QFETCH(int, blocks);
        Entry e = Entry::defaults();
        edit(e);
        QCOMPARE(e.blocks, blocks);
        QCOMPARE(e.activeBlocks().shown(), blocks);
        QCOMPARE(EntryCodec::toFields(e).size(), 18 + 3 * blocks);
        // Each standard block's Points follow from its width and step.
        const BlockSet &set = e.activeBlocks();
        for (int i = 0; i < blocks; ++i) {
            const BlockRow &r = set.row(i);
            QVERIFY(r.points() > 0 && r.delta() > 0);
            QVERIFY(qAbs(set.width(i) - r.points() * r.delta()) < r.delta());
        }
    }

    // Each entry converts angles with its own crystal, whatever entry was read after it. A block
    // read without Points takes them from its Delta; the last end follows from both.
    void blocksRead()
    {
        const Entry d = EntryCodec::fromFields(
            entryFields("Cu", "K", "User", "Step", 2, "eV", {"8900", "", "20", "9000", "12", "5"}));
        QCOMPARE(d.stepBlocks.row(0).points(), 5);
        QCOMPARE(d.stepBlocks.row(1).points(), 12);
        QCOMPARE(d.stepBlocks.row(2).pos, 9060.0);
        auto read = [](const QString &c) {
            QStringList f = entryFields("Cu", "K", "User", "Step", 1, "eV", {"9000", "10", "10"});
            f[9] = c;
            Entry e = EntryCodec::fromFields(f);
            e.selectBlockUnit(3);
            return e;
        };
        const QList<std::pair<QString, double>> spacings{{"Si111", 3.13553}, {"Si311", 1.63747}};
        for (int i = 0; i < 2; ++i) { // each read before the other
            const Entry e = read(spacings.at(i).first);
            const Entry later = read(spacings.at(1 - i).first);
            const double bragg =
                std::asin(12.39842 / 9.0 / (2 * spacings.at(i).second)) * 180 / M_PI;
            QVERIFY(std::abs(e.activeBlocks().displayValue(0) - bragg) < 1e-3);
            QVERIFY(std::abs(later.activeBlocks().displayValue(0) - bragg) > 1);
        }
    }

    // Ops "<op><row> <text>" (S/T edit/type start, P Points, D Delta, X Points text alone,
    // U<unit>, N<blocks shown>), then "Points Delta" of rows 0...
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
        const auto row = [](const char *name, int shown, const QStringList &starts,
                            const QStringList &ops, const QStringList &rows) {
            QTest::newRow(name) << shown << starts << ops << rows;
        };
        // 1400 / 0.3 truncates to 4666, whose six-digit Delta gives 4665.
        row("Delta settles", 1, one, {"D0 0.3"}, {"4665 0.300107"});
        row("end row start", 2, two, pts + QStringList{"S2 8500"}, {"10 10", "100 4"});
        row("inner row start", 2, two, pts + QStringList{"S1 8200"}, {"10 20", "100 1"});
        row("first row start", 2, two, pts + QStringList{"S0 7900"}, {"10 20", "100 2"});
        row("start edited: recomputed", 1, one, {"X0 7", "S0 8000"}, {"7 200"});
        row("a single point: its step is the block's width, in the unit shown", 1, one,
            {"P0 1", "U1"}, {"1 1.4"});
        row("no Points: Delta stays a number in every unit", 2, three,
            {"D0 10", "P0 0", "U1", "U2", "U3", "U0"}, {"0 10"});
        row("a unit changed while a block is hidden: shown again, it follows", 2, three,
            {"P1 100", "N1", "U1", "N2"}, {" ", "100 0.004"});
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
            else if (op.at(0) == 'N')
                s.showBlocks(op.mid(1).toInt());
            else
                (s.*apply.value(op.at(0)))(op.mid(1, 1).toInt(), op.mid(3));
        }
        for (int i = 0; i < rows.size(); ++i)
            QCOMPARE(s.row(i).pointsText + ' ' + s.row(i).deltaText, rows.at(i));
    }

    // Each row edits a new (copper, quick, standard, holder "1") entry, with extra config lines.
    void rules_data()
    {
        QTest::addColumn<QString>("config");
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<int>("errors");
        QTest::addColumn<int>("warnings");
        QTest::addColumn<QString>("said"); // in a finding, when given
        auto row = [](const char *name, int errors, int warnings, const Edit &edit,
                      const QString &config = QString(), const char *said = "") {
            QTest::newRow(name) << config << edit << errors << warnings << QString(said);
        };
        const QStringList starts{"8900", "9000", "9100"};
        const QString range = "HOLDER_RANGE 1 48\n";
        const auto holder = [](const char *h) { return Edit([h](Entry &e) { e.holder = h; }); };
        const auto times = [](const char *t) { return Edit([t](Entry &e) { e.measTimes = t; }); };
        const auto target = [](const char *element, const char *edge) {
            return Edit([=](Entry &e) {
                e.targetElm = element;
                e.targetCore = edge;
                e.updateTarget();
            });
        };
        row("holder as text, no range", 0, 0, holder("A1"));
        row("holder as text, range", 1, 0, holder("A1"), range);
        row("holder past the range", 1, 0, holder("99"), range);
        row("holder at the range's end", 0, 0, holder("48"), range);
        row("range that does not read is ignored", 0, 0, holder("99"), "HOLDER_RANGE 48 1\n");
        row("sample id without holder", 1, 0, [](Entry &e) { e.holder.clear(); });
        row("neither", 1, 0, [](Entry &e) { e.holder.clear(), e.sampleId.clear(); });
        row("sample id beyond Latin-1, never sent", 0, 0, [](Entry &e) { e.sampleId = "\u9285"; });
        row("holder beyond Latin-1", 1, 0, holder("\u9285"));
        row("data file beyond Latin-1", 1, 0, [](Entry &e) { e.dataFile = "\u8a66\u6599.dat"; });
        row("no data file name", 0, 0, [](Entry &e) { e.dataFile.clear(); });
        row("time zero", 1, 0, times("1,0"));
        row("edge the element has not", 1, 0, target("H", "L3"), {}, "no L3 edge");
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
        row(
            "a standard type without a set: its blocks as shown", 0, 1,
            [](Entry &e) {
                e.selectScanType(EntryRows::StepScan);
                e.stdBlockType = 3;
                e.measTimes = "1";
            },
            "STD_TYPE Custom C\n", "for 4 blocks");
        row("no crystal configured", 0, 1, [](Entry &e) {
            crystalTable().clear();
            e.updateTarget();
        });
        row("edge below the crystal's range", 1, 0, target("Cu", "L1")); // 1.1 keV
        row("block without points", 1, 0, userBlocks(starts, {0, 20}));
        row("the last of ten blocks without points", 1, 1,
            userBlocks(ScheduleTestEnv::fullStarts(8900, 10),
                       {10, 10, 10, 10, 10, 10, 10, 10, 10, 0}, "1"));
        row("block of no width", 1, 0, userBlocks({"8900", "9000", "9000"}, {10, 20}), {},
            "Block 2 ");
        // Blocks in error are not weighed against the crystal as well.
        row("a block backwards after one past the crystal's range", 1, 0,
            userBlocks({"8900", "30000", "9000"}, {10, 20}), {}, "Block 2 ");
        row("a block without points after one past the crystal's range", 1, 0,
            userBlocks({"8900", "30000", "30100"}, {10, 0}), {}, "Block 2:");
        row("blocks past the crystal's range", 0, 1,
            userBlocks({"8900", "9000", "30000"}, {10, 2100}), {}, "Block 2 reaches 30000 eV");
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
        QFETCH(QString, said);
        QVERIFY2((f.errors + f.warnings).join('\n').contains(said),
                 qPrintable((f.errors + f.warnings).join('\n')));
    }

    // Only ticked entries with a data file name count; the later writer is warned. The duration.
    void sameDataFileAndDuration()
    {
        const QStringList files{"a.dat", "b.dat", "b.dat", "-a.dat",
                                "a.dat", "",      ""}; // "-": unticked
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
        QCOMPARE(counts, (QList<int>{0, 0, 1, 0, 1, 0, 0}));
        // Seconds with 0.5 s per point; copper's standard step set is 40, 300, 180 and 100 points.
        Entry e = Entry::defaults();
        e.selectScanType(EntryRows::StepScan);
        e.measTimes = "1, 1, 2, 4";
        QCOMPARE(Estimate::measurement(e, Estimate::Params{}),
                 40 * 1.5 + 300 * 1.5 + 180 * 2.5 + 100 * 4.5);
        userBlocks({"8900", "9000", "9100"}, {0, 20}, "2, 3")(e); // a block of no points
        QCOMPARE(Estimate::measurement(e, Estimate::Params{}), 20 * 3.5);
    }
};

QTEST_GUILESS_MAIN(TestEntry)
#include "tst_scheduleedit.moc"
