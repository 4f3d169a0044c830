// SPDX-License-Identifier: GPL-3.0-or-later
// The scan as planned: k and E above the edge, the points and time of each
// block as sent, the plan's own warnings, and the k-space region helper.
#include "BlockFile.h"
#include "ScanPlan.h"
#include "ScheduleTestEnv.h"
#include "TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <functional>

namespace {

// Cu K, step scan, user blocks given relative to the edge, in eV.
Entry cuWith(const QStringList &starts, const QList<int> &points, const QString &times)
{
    Entry e = Entry::defaults();
    e.selectScanType(EntryRows::StepScan);
    ScheduleTestEnv::setUserBlocks(e, Units::EV, starts, points, times);
    return e;
}

} // namespace

class TestScanPlan : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(ScheduleTestEnv::setUp()); }

    // Points and time of each block as sent; k only above the edge.
    void blocksAsSent()
    {
        const Entry e = cuWith({"R-50", "R-10", "R30", "R130"}, {8, 20, 50}, "1, 2, 4");
        const ScanPlan::Plan p = ScanPlan::of(e);
        QCOMPARE(p.blocks.size(), 3);
        QCOMPARE(p.points, 78);
        QCOMPARE(p.energies.size(), 78);
        QCOMPARE(p.seconds, 8 * 1.0 + 20 * 2.0 + 50 * 4.0);
        // Two points: the first at the start, the second half way.
        const ScanPlan::Block near = ScanPlan::of(cuWith({"R0", "R2"}, {2}, "1")).blocks.at(0);
        QCOMPARE(QList<double>({near.stepFirst, near.stepLast}), QList<double>({1, 1}));
        QCOMPARE(p.blocks.at(0).stepFirst, 5.0);
        QCOMPARE(p.blocks.at(0).kFrom, -1.0);
        QVERIFY(p.blocks.at(1).kFrom < 0 && p.blocks.at(1).kTo > 0); // crosses the edge
        QVERIFY(std::abs(p.blocks.at(2).kTo - ScanPlan::kOf(130)) < 1e-6);
        // The k steps at both ends of a block, from the edge on; the last one
        // reaches the next block's start.
        const auto dk = [](double from, double to) {
            return ScanPlan::kOf(to) - ScanPlan::kOf(from);
        };
        const QList<double> steps{p.blocks.at(1).dkFirst, p.blocks.at(1).dkLast,
                                  p.blocks.at(2).dkFirst, p.blocks.at(2).dkLast,
                                  near.dkFirst,           near.dkLast};
        const QList<double> want{-1, dk(28, 30), dk(30, 32), dk(128, 130), dk(0, 1), dk(1, 2)};
        for (int i = 0; i < want.size(); ++i)
            QVERIFY2(std::abs(steps.at(i) - want.at(i)) < 1e-6, qPrintable(QString::number(i)));
        QCOMPARE(p.energies.first(), p.edge - 50);
        QCOMPARE(p.dwells.last(), 4.0);
        QVERIFY(ScanPlan::warnings(p).isEmpty());
        // A quick scan's time is the block's, shared by its points.
        Entry quick = Entry::defaults();
        ScheduleTestEnv::setUserBlocks(quick, Units::EV, {"R-50", "R50"}, {400}, "80");
        const ScanPlan::Plan q = ScanPlan::of(quick);
        QCOMPARE(QList<double>({q.seconds, q.blocks.at(0).seconds, q.dwells.first()}),
                 QList<double>({80, 80, 0.2}));
    }

    // A block file's "R" offsets are eV whatever its unit; absolute starts are in its unit. It
    // holds both scans, whichever is shown, and reads its counts as the format says.
    void blockFiles()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("rel.prm");
        // Unit 1 is keV (121 eV in 50 points); 4 is no unit.
        for (const auto &[unit, start, delta] :
             {std::tuple{"1", 9000.0, "2.42"}, {"4", 9.0, "-177.4"}}) {
            const QByteArray text = QByteArray("N 2\nU ") + unit +
                                    "\nB 0 R-100 50 1\nQN 2\nSN 0\n" +
                                    "QB 0 R-100 50 1\nQB 1 9.0 50 1\nQB 2 R200 0 0\n";
            QVERIFY(TestSupport::writeFile(path, text));
            Entry e = Entry::defaults();
            QVERIFY(BlockFile::load(path, e).ok);
            const BlockSet &set = e.quickBlocks;
            QCOMPARE(set.row(0).pos, e.edgeEnergy() - 100);
            QVERIFY(set.row(0).isRel);
            QCOMPARE(set.row(1).pos, start);
            QVERIFY(!set.row(1).isRel); // an absolute start stays where it is when the edge moves
            QCOMPARE(e.stepBlockCount, 0); // a file may hold no step blocks, or no quick ones
            QVERIFY(TestSupport::writeFile(path, "QN 0\nSN 2\n"));
            QVERIFY(BlockFile::load(path, e).ok);
            QCOMPARE(e.quickBlockCount, 0);
            QCOMPARE(set.row(2).pos, e.edgeEnergy() + 200);
            QCOMPARE(set.row(0).deltaText, QString(delta)); // as the file's Points measure it
        }
        const auto rows = [](const BlockSet &set, int n) {
            QStringList out;
            for (int i = 0; i <= n; ++i)
                out << QStringLiteral("%1/%2").arg(set.row(i).pos).arg(set.row(i).points());
            return out.join(' ');
        };
        for (int shown : {int(EntryRows::QuickScan), int(EntryRows::StepScan)}) {
            Entry e = Entry::defaults();
            for (int scan : {1 - shown, shown}) {
                e.selectScanType(scan);
                if (scan == EntryRows::QuickScan)
                    ScheduleTestEnv::setUserBlocks(e, Units::EV, {"8900", "9100"}, {400}, "30");
                else
                    ScheduleTestEnv::setUserBlocks(e, Units::EV, {"8800", "8900", "9000", "9400"},
                                                   {10, 50, 80}, "1, 2, 3");
            }
            QVERIFY(BlockFile::write(dir.filePath("both"), e).ok);
            Entry back = Entry::defaults();
            QVERIFY(BlockFile::load(dir.filePath("both.prm"), back).ok);
            QCOMPARE(QStringList({QString::number(back.quickBlockCount), back.quickTimes,
                                  rows(back.quickBlocks, 1), QString::number(back.stepBlockCount),
                                  back.stepTimes, rows(back.stepBlocks, 3)}),
                     QStringList({"1", "30", "8900/400 9100/0", "3", "1, 2, 3",
                                  "8800/10 8900/50 9000/80 9400/0"}));
        }
        // Past the limits the entry's count stays (1, 4); ten is the limit; none 1, no number 0.
        Entry back = Entry::defaults();
        const QList<std::pair<const char *, QList<int>>> counts{
            {"QN 11\nSN -1\n", {1, 4}}, {"QN 10\nSN 10\n", {10, 10}}, {"QN\nSN x\n", {1, 0}}};
        for (const auto &[text, want] : counts) {
            QVERIFY(TestSupport::writeFile(dir.filePath("n.prm"), text));
            QVERIFY(BlockFile::load(dir.filePath("n.prm"), back).ok);
            QCOMPARE(QList<int>({back.quickBlockCount, back.stepBlockCount}), want);
        }
    }

    // The plan's warnings: a boundary measured twice, a step that jumps more than threefold.
    void warnings_data()
    {
        QTest::addColumn<QStringList>("starts");
        QTest::addColumn<QList<int>>("points");
        QTest::addColumn<QStringList>("found"); // words of each warning
        const auto row = [](const char *name, const QStringList &starts, const QList<int> &points,
                            const QStringList &found) {
            QTest::newRow(name) << starts << points << found;
        };
        row("step jumps above the edge", {"R20", "R40", "R140"}, {20, 10}, {"in block 2 ("});
        row("step jumps from a block that begins at the edge", {"R0", "R40", "R140"}, {20, 10},
            {"in block 2 ("});
        row("fine XANES after a coarse pre-edge", {"R-100", "R-20", "R20"}, {10, 80}, {});
        row("same energy twice", {"R-20", "R0", "R0.000001", "R20"}, {20, 1, 20},
            {"Blocks 2 and 3"});
        // Block 1's last point is not compared across a block of no points.
        row("a block of no points between", {"R-20", "R0", "R-1", "R20"}, {20, 0, 20}, {});
    }
    void warnings()
    {
        QFETCH(QStringList, starts);
        QFETCH(QList<int>, points);
        QFETCH(QStringList, found);
        const QStringList w = ScanPlan::warnings(ScanPlan::of(cuWith(starts, points, "1")));
        QCOMPARE(w.size(), found.size());
        for (int i = 0; i < found.size(); ++i)
            QVERIFY2(w.at(i).contains(found.at(i)), qPrintable(w.join('\n')));
    }

    // The region k 3 -> 16, dk 0.05: block starts on the k grid, the pre-edge (and XANES) blocks
    // kept, each block's dwell from the law at its middle, and the steps close to dk.
    void region()
    {
        // Ten blocks in all leave eight for the region. The deviation and the time against the
        // law's at most; with one block, dk is far from the grid's.
        for (const auto &[n, maxBlocks, deviation, timeOff, kept] :
             {std::tuple{0, 10, 0.12, 0.01, 2}, {2, 1, 2.2, 0.2, 1}}) {
            const Entry before =
                kept == 2 ? cuWith({"R-150", "R-30", "R30", "R400"}, {40, 60, 100}, "1, 1, 2")
                          : cuWith({"R-150", "R30", "R400"}, {40, 100}, "1, 2");
            const ScanPlan::Region r{3, 16, 0.05, 1, 3, n, maxBlocks}; // k from, to, dk, t0, k0
            const ScanPlan::RegionResult res = ScanPlan::applyRegion(before, r);
            QVERIFY2(res.ok, qPrintable(res.error));
            QCOMPARE(res.blocksKept, kept); // the blocks below the region
            QCOMPARE(res.blocksWritten, qMin(maxBlocks, 10 - kept));
            const ScanPlan::Plan p = ScanPlan::of(res.entry);
            QCOMPARE(p.blocks.size(), kept + res.blocksWritten);
            QCOMPARE(p.blocks.at(0).points, 40); // kept as it was
            // The last block kept (the first one too) now ends where the region begins.
            const BlockSet &set = res.entry.activeBlocks();
            const BlockRow &last = set.row(kept - 1);
            QVERIFY(set.row(kept).pos > before.activeBlocks().row(kept).pos);
            QVERIFY(std::abs(last.delta() - (set.row(kept).pos - last.pos) / last.points()) < 1e-3);
            int regionPoints = 0;
            for (int b = kept; b < p.blocks.size(); ++b) {
                const ScanPlan::Block &blk = p.blocks.at(b);
                regionPoints += blk.points;
                // Starts on the k grid (as sent: six significant digits).
                const double steps = (blk.kFrom - r.kStart) / r.dk;
                QVERIFY2(std::abs(steps - std::round(steps)) < 0.01,
                         qPrintable(QString::number(steps)));
                const double kMid = (blk.kFrom + blk.kTo) / 2;
                QVERIFY(std::abs(blk.dwell - std::pow(kMid / r.k0, n)) < 1e-4 * blk.dwell);
            }
            QCOMPARE(regionPoints, 260);
            QVERIFY(std::abs(p.blocks.last().kTo - 16) < 1e-4);
            QVERIFY2(res.maxDeviation <= deviation, qPrintable(QString::number(res.maxDeviation)));
            QVERIFY(res.maxDeviation > 0);
            // The dwell time written against the law's own over the grid.
            QVERIFY(std::abs(res.seconds - res.lawSeconds) <= timeOff * res.lawSeconds);
            QCOMPARE(ScanPlan::warnings(p).size(), 0);
        }
        // A region that makes no sense is refused; the dialog's defaults are not.
        const Entry e = cuWith({"R-50", "R-10", "R30"}, {8, 20}, "1");
        const auto refused = [&e](const std::function<void(ScanPlan::Region &)> &edit) {
            ScanPlan::Region r;
            edit(r);
            return !ScanPlan::applyRegion(e, r).ok;
        };
        QVERIFY(!refused([](ScanPlan::Region &) {}));
        QVERIFY(refused([](ScanPlan::Region &r) { r.kStart = 0; }));
        QVERIFY(refused([](ScanPlan::Region &r) { r.kEnd = r.kStart; }));
        QVERIFY(refused([](ScanPlan::Region &r) { r.dk = 0; }));
        QVERIFY(refused([](ScanPlan::Region &r) { r.t0 = 0; }));
        QVERIFY(refused([](ScanPlan::Region &r) { r.k0 = 0; }));
        QVERIFY(refused([](ScanPlan::Region &r) { r.dk = (r.kEnd - r.kStart) * 3; }));
        // Every block an entry may have ends below the region: none is left for it.
        const QStringList starts = ScheduleTestEnv::fullStarts(-100, 10, QStringLiteral("R"));
        const Entry full = cuWith(starts, QList<int>(BlockSet::maxBlocks, 10), "1");
        QVERIFY(!ScanPlan::applyRegion(full, ScanPlan::Region()).ok);
    }
};

QTEST_GUILESS_MAIN(TestScanPlan)
#include "tst_scanplan.moc"
