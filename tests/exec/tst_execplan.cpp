// SPDX-License-Identifier: GPL-3.0-or-later
// The command plan ("this entry after that one sends these lines"), watchdog and dry run.
#include "DryRun.h"
#include "EntryPlanEnv.h"
#include "Watchdog.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

StageResult plan(const QList<Entry> &list, int i, int blockNum = 3)
{
    return planEntry({list.at(i), i > 0 ? &list.at(i - 1) : nullptr, i, blockNum});
}

QList<PromptType> types(const StageResult &r)
{
    QList<PromptType> t;
    for (const PlanPrompt &p : r.prompts)
        t << p.type;
    return t;
}

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

} // namespace

class TstExecPlan : public QObject
{
    Q_OBJECT

    QTemporaryDir tmp;

private slots:
    void initTestCase() { QVERIFY(EntryPlanEnv::setUp()); }

    // A first entry's every line; a bad block count or unsendable blocks fail it before its blocks.
    void standardBlocks_data()
    {
        QTest::addColumn<int>("stdType");
        QTest::addColumn<int>("blockNum");
        QTest::addColumn<QString>("times");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<bool>("padded");    // a block gets a time the operator did not type
        QTest::addColumn<QString>("error");  // how the error begins, empty: none
        QTest::addColumn<QString>("blocks"); // not a standard set: a type number or a block file
        const QString none;
        QTest::newRow("XAFS, 3 blocks, the defaults")
            << 0 << 3 << "300, 300, 300"
            << QStringList{"SelectXafsMeasType 0", "GetBlockNum",       "SetMeasTime 0 300",
                           "SetMeasTime 1 300",    "SetMeasTime 2 300", "Start"}
            << false << none << none;
        QTest::newRow("EXAFS, times per block")
            << 2 << 3 << "2, 7.5"
            << QStringList{"SelectXafsMeasType 2", "GetBlockNum",       "SetMeasTime 0 2",
                           "SetMeasTime 1 7.5",    "SetMeasTime 2 7.5", "Start"}
            << true << none << none;
        const QStringList refused{"SelectXafsMeasType 0", "GetBlockNum"};
        const QString count = QStringLiteral("Entry 1:"); // names the entry
        QTest::newRow("answer not a number")
            << 0 << -1 << "300" << refused << false << count << none;
        // Measuring the entry's own blocks instead would be a silent wrong night.
        QTest::newRow("block file missing at run time")
            << 0 << 3 << "300" << QStringList() << false
            << "Entry 1: Cannot read the block file /nonexistent/tonight.prm"
            << "/nonexistent/tonight.prm";
    }

    void standardBlocks()
    {
        QFETCH(int, stdType);
        QFETCH(int, blockNum);
        QFETCH(QString, times);
        QFETCH(QStringList, expected);
        QFETCH(QString, error);
        QFETCH(QString, blocks);
        Entry e = EntryPlanEnv::entry("Cu", "1");
        e.selectStdBlockType(stdType);
        e.measTimes = times;
        if (!blocks.isEmpty()) {
            e.blockDefType = blocks.startsWith('/') ? int(EntryRows::FileBlocks) : blocks.toInt();
            e.blockDefFile = blocks;
        }
        const StageResult r = plan({e}, 0, blockNum);
        const double start = xrayDataBase().edgeEnergy("Cu", QString()) - 300;
        QCOMPARE(r.lines,
                 QStringList({"SelectAtom 29", "SelectEdge 0",
                              "SetCurrentEnergy " + EntryText::g6(start / 1000), "MoveSHolderTo 1",
                              "SetXafsMode 1", "SelectXafsMeasMode 1",
                              "SetXafsFileName Cu-0001.dat", "SetXafsMeasComment Cu Reference"}) +
                     expected);
        QCOMPARE(r.error.isEmpty(), error.isEmpty());
        QVERIFY2(r.error.startsWith(error), qPrintable(r.error));
        QTEST(!r.logs.filter("dwell times").isEmpty(), "padded");
        // Entry 0 is compared with itself: all three prompts.
        QCOMPARE(types(r), (QList<PromptType>{PromptICGases, PromptHOCM, PromptMono}));
    }

    void userAndFileBlocks_data()
    {
        QTest::addColumn<QStringList>("starts");
        QTest::addColumn<QList<int>>("points");
        QTest::addColumn<QString>("times");
        QTest::addColumn<QByteArray>("file"); // empty: user blocks
        QTest::addColumn<QStringList>("blocks");
        QTest::addColumn<bool>("padded"); // the log says a block got a time nobody typed
        QTest::newRow("user, 6 blocks, 4 times")
            << QStringList{"8000", "8100", "8200", "8300", "8400", "8500", "8600"}
            << QList<int>{1, 2, 3, 4, 5, 6} << "1, 1, 5, 10" << QByteArray()
            << QStringList{"SetBlock 0 8000 8100 0 1 1",  "SetBlock 1 8100 8200 0 1 2",
                           "SetBlock 2 8200 8300 0 5 3",  "SetBlock 3 8300 8400 0 10 4",
                           "SetBlock 4 8400 8500 0 10 5", "SetBlock 5 8500 8600 0 10 6"}
            << true;
        // The file is read before sending; the monochromator still goes to the entry's own start.
        QTest::newRow("file") << QStringList{"8000", "8100", "8200"} << QList<int>{7, 7} << "2, 4"
                              << QByteArray("N 2\nU 0\nB 0 1 1 1\nQN 2\nQB 0 9000 100 1\n"
                                            "QB 1 9100 50 2\nQB 2 9500 0 0\nSN 4\n")
                              << QStringList{"SetBlock 0 9000 9100 0 2 100",
                                             "SetBlock 1 9100 9500 0 4 50"}
                              << false;
    }

    void userAndFileBlocks()
    {
        QFETCH(QStringList, starts);
        QFETCH(QList<int>, points);
        QFETCH(QString, times);
        QFETCH(QByteArray, file);
        QFETCH(QStringList, blocks);
        Entry e = EntryPlanEnv::entry("Cu", "1");
        EntryPlanEnv::setUserBlocks(e, 0, starts, points, times);
        if (!file.isEmpty()) {
            const QString path = tmp.filePath("blocks.prm");
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(file) == file.size());
            f.close();
            e.blockDefType = EntryRows::FileBlocks;
            e.blockDefFile = path;
        }
        const StageResult planned = plan({e}, 0);
        QTEST(!planned.logs.filter("dwell times").isEmpty(), "padded");
        // The file's blocks are what is measured and the next entry compared with.
        QCOMPARE(planned.measured.has_value(), !file.isEmpty());
        if (planned.measured) {
            QCOMPARE(planned.measured->quickBlocks.shown(), 2);
            QCOMPARE(planned.measured->startEnergy(), 9000.0);
        }
        QCOMPARE(planned.lines.at(2),
                 QString("SetCurrentEnergy " + EntryText::g6(starts.at(0).toDouble() / 1000)));
        const QStringList expected =
            QStringList{"SetBlockUnit 0", QString("SetBlockNum %1").arg(blocks.size())} + blocks +
            QStringList{"SetXafsFileName Cu-0001.dat", "Start"};
        QCOMPARE(planned.lines.mid(planned.lines.indexOf("SetXafsMeasComment Cu Reference") + 1),
                 expected);
    }

    // The second entry against the first: what moves and what is asked.

    void neighbours_data()
    {
        QTest::addColumn<QString>("first"); // element[:edge] and holder
        QTest::addColumn<QString>("second");
        QTest::addColumn<QStringList>("moves");
        QTest::addColumn<QList<PromptType>>("prompts");
        const auto row = [](const char *tag, const char *first, const char *second,
                            const QStringList &moves, const QList<PromptType> &prompts) {
            QTest::newRow(tag) << first << second << moves << prompts;
        };
        row("same", "Fe 2", "Fe 2", {}, {});
        row("holder 3 then 03", "Cu 3", "Cu 03", {"MoveSHolderTo 03"}, {});
        // Fe K lies in mirror mode 0, Cu K in mode 1; both in monochromator mode 0.
        const double feStart = xrayDataBase().edgeEnergy("Fe", QString()) - 300;
        row("Cu then Fe", "Cu 1", "Fe 1", {"SetCurrentEnergy " + EntryText::g6(feStart / 1000)},
            {PromptICGases, PromptHOCM});
        // Another edge in the same modes asks for the gases alone.
        const auto startAt = [](const char *elm, const char *edge) {
            return QStringList{"SetCurrentEnergy " +
                               EntryText::g6((xrayDataBase().edgeEnergy(elm, edge) - 300) / 1000)};
        };
        row("W L3 then W L2", "W:L3 1", "W:L2 1", startAt("W", "L2"), {PromptICGases});
        // Past 28 keV the monochromator's mode changes too: the operator is asked for it.
        row("Zn then Sn", "Zn 1", "Sn 1", startAt("Sn", "K"),
            {PromptICGases, PromptHOCM, PromptMono});
    }

    void neighbours()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        const auto make = [](const QString &text) {
            const QString elm = text.section(' ', 0, 0);
            Entry e = EntryPlanEnv::entry(elm.section(':', 0, 0), text.section(' ', 1));
            e.targetCore = elm.section(':', 1);
            e.updateTarget();
            return e;
        };
        const QList<Entry> list{make(first), make(second)};
        const StageResult r = plan(list, 1);
        QStringList moves = r.lines.filter("SetCurrentEnergy") + r.lines.filter("MoveSHolderTo");
        QTEST(moves, "moves");
        QTEST(types(r), "prompts");
        QCOMPARE(r.lines.first(),
                 QString("SelectAtom %1").arg(xrayDataBase().zFor(list[1].targetElm)));
    }

    // Each look "ms:waits on:waits reported" ("*": a prompt open); T target, E energy, H holder,
    // B block count, M measurement (limit 300 ms, the others 100 ms).
    void watchdog_data()
    {
        QTest::addColumn<QString>("script");
        QTest::newRow("once per wait, each its own clock")
            << "0:EH: 60:EHB: 101:EHB:EH 161:EB:B 500:E:";
        QTest::newRow("measurement has its own limit") << "0:MT: 150:MT:T 301:M:M";
        QTest::newRow("never during a prompt, counted from its end")
            << "0:T: 500*:T: 550:T: 601:T:T 651:T:";
    }

    void watchdog()
    {
        QFETCH(QString, script);
        const QString letters = QStringLiteral("TEHBM");
        Watchdog::Limits limits;
        limits.fill(100);
        limits[Watchdog::Measurement] = 300;
        Watchdog w;
        for (const QString &look : script.split(' ')) {
            const QStringList f = look.split(':');
            const bool prompt = f.at(0).endsWith('*');
            Watchdog::Waits waits{};
            for (QChar c : f.at(1))
                waits[letters.indexOf(c)] = true;
            QString got;
            for (Watchdog::Wait x : w.check(waits, prompt, limits, f.at(0).chopped(prompt).toInt()))
                got += letters.at(x);
            QCOMPARE(got, f.at(2));
        }
    }

    // A mixed list's dry run: counts, errors named, unticked not listed, totals, expected end; an
    // entry whose blocks cannot be sent fails part way, so the next, same holder, moves.
    void errorsAndTotals()
    {
        Entry third = EntryPlanEnv::entry("Cu", "3");
        third.dataFile = "third.dat";
        DryRun::Setup setup;
        setup.node = "Node";
        setup.target = "Far.remote";
        const QDateTime now(QDate(2030, 1, 2), QTime(3, 4, 5));
        const DryRun::Result r =
            DryRun::run({EntryPlanEnv::entry("Cu", "1"), EntryPlanEnv::entry("Xx", "2"), third,
                         EntryPlanEnv::entry("Cu", "4", false)},
                        setup, now);
        QCOMPARE(r.entriesWithErrors, 1);
        QCOMPARE(r.lines.filter("3 ticked entries of 4").size(), 1);
        QCOMPARE(r.lines.filter("Start refuses").size(), 1);
        QVERIFY(entryLines(r.lines, 2).size() >= 2);
        QCOMPARE(entryLines(r.lines, 2).filter("Node>Far.remote ").size(), 0);
        QCOMPARE(entryLines(r.lines, 3).filter("Node>Far.remote MoveSHolderTo 3").size(), 1);
        QVERIFY(entryLines(r.lines, 4).isEmpty());
        QCOMPARE(r.seconds, 2 * (300.0 + 30 + 20));
        QCOMPARE(r.prompts, r.lines.filter("PROMPT ").size());
        QCOMPARE(r.lines.filter("2030-01-02 03:15:45").size(), 1); // the expected end, 700 s on

        Entry unsendable = EntryPlanEnv::entry("Cu", "1");
        unsendable.blockDefType = 3; // a definition the engine does not know
        const DryRun::Result failing = DryRun::run(
            {EntryPlanEnv::entry("Cu", "1"), unsendable, EntryPlanEnv::entry("Cu", "1")}, setup,
            now);
        QCOMPARE(failing.entriesWithErrors, 1);
        QCOMPARE(entryLines(failing.lines, 3).filter("Node>Far.remote MoveSHolderTo 1").size(), 1);
    }

    // Entries of 650 s, 620 s, 21 s: the dry run stops at the first that does not fit the deadline.
    void deadline()
    {
        const QList<std::pair<QTime, int>> rows{
            {QTime(4, 0), 3}, {QTime(3, 20), 1}, {QTime(3, 5), 0}, {QTime(), -1}};
        for (const auto &[endBy, fitting] : rows) {
            QList<Entry> list{EntryPlanEnv::entry("Cu", "1"), EntryPlanEnv::entry("Cu", "2"),
                              EntryPlanEnv::entry("Cu", "3")};
            list[0].measTimes = list[1].measTimes = QStringLiteral("600");
            list[2].measTimes = QStringLiteral("1");
            DryRun::Setup setup;
            setup.endBy = endBy;
            const DryRun::Result r =
                DryRun::run(list, setup, QDateTime(QDate(2030, 1, 2), QTime(3, 0)));
            QCOMPARE(r.fitting, fitting);
            // How many fit is said, none included, whenever there is a deadline.
            QCOMPARE(r.lines.filter("fit before the deadline").size(), int(endBy.isValid()));
        }
    }
};

QTEST_GUILESS_MAIN(TstExecPlan)
#include "tst_execplan.moc"
