// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScanPlan.h"

#include "EntryText.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace ScanPlan {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ScanPlan", text);
}

} // namespace

double kOf(double eAboveEdge)
{
    return eAboveEdge < 0 ? -1 : std::sqrt(eAboveEdge / kEvPerK2);
}

double eAboveEdgeOf(double k)
{
    return kEvPerK2 * k * k;
}

Plan of(const Entry &e)
{
    Plan p;
    p.edge = e.edgeEnergy();
    const BlockSet &set = e.activeBlocks();
    const int unit = set.unit();
    const double d = set.latticeSpacing();
    // The values the target is sent (six significant digits), back in eV.
    const auto sent = [&](int row) {
        return Units::toEV(EntryText::g6(set.displayValue(row)).toDouble(), unit, d);
    };
    const auto k = [&p](double eV) { return kOf(eV - p.edge); };
    for (int i = 0; i < set.shown() && i + 1 < set.rowCount(); ++i) {
        Block b;
        b.eFrom = sent(i);
        b.eTo = sent(i + 1);
        b.points = qMax(0, set.row(i).points());
        // A step scan's time is each point's; a quick scan's is the whole
        // block's, the points sharing it as the monochromator sweeps (as the
        // estimate and the target take it).
        const double time = e.timeFor(i);
        const bool quick = e.scanType == EntryRows::QuickScan;
        b.dwell = quick ? (b.points > 0 ? time / b.points : 0) : time;
        b.seconds = quick ? time : b.points * time;
        const double from = EntryText::g6(set.displayValue(i)).toDouble();
        const double to = EntryText::g6(set.displayValue(i + 1)).toDouble();
        for (int j = 0; j < b.points; ++j) {
            p.energies << Units::toEV(from + (to - from) * j / b.points, unit, d);
            p.dwells << b.dwell;
        }
        if (b.points > 0) {
            const double first = p.energies.at(p.energies.size() - b.points);
            const double second =
                b.points > 1 ? p.energies.at(p.energies.size() - b.points + 1) : b.eTo;
            const double beforeLast = b.points > 1 ? p.energies.at(p.energies.size() - 2) : first;
            b.stepFirst = second - first;
            b.stepLast = (b.points > 1 ? p.energies.last() : b.eTo) - beforeLast;
            if (b.points == 1)
                b.stepLast = b.stepFirst;
            if (k(first) >= 0 && k(second) >= 0)
                b.dkFirst = k(second) - k(first);
            const double lastE = p.energies.last();
            const double nextE = b.eTo;
            if (k(lastE) >= 0 && k(nextE) >= 0)
                b.dkLast = k(nextE) - k(lastE);
        }
        b.kFrom = k(b.eFrom);
        b.kTo = k(b.eTo);
        p.points += b.points;
        p.seconds += b.seconds;
        p.blocks << b;
    }
    return p;
}

QStringList warnings(const Plan &plan)
{
    QStringList out;
    int first = 0; // index of the block's first point
    for (int i = 0; i + 1 < plan.blocks.size(); ++i) {
        const Block &a = plan.blocks.at(i);
        const Block &b = plan.blocks.at(i + 1);
        first += a.points;
        if (a.points < 1 || b.points < 1)
            continue;
        // The first point of the next block against the last of this one:
        // the same energy (as sent) is measured twice.
        const double last = plan.energies.at(first - 1);
        const double next = plan.energies.at(first);
        const double tolerance = 1e-6 * qMax(1.0, std::abs(next));
        if (!(next - last > tolerance))
            out << tr("Blocks %1 and %2 both measure %3 eV: a point is measured twice where they "
                      "meet.")
                       .arg(i + 1)
                       .arg(i + 2)
                       .arg(EntryText::g6(next));
        // Above the edge the points should follow a smooth grid in k; below
        // it and across the edge, fine XANES steps after a coarse pre-edge
        // are the plan. A block of one point has no step to jump from.
        const double sa = std::abs(a.stepLast), sb = std::abs(b.stepFirst);
        if (a.kFrom >= 0 && a.points > 1 && b.points > 1 && qMax(sa, sb) > 3 * qMin(sa, sb))
            out << tr("The step jumps from %1 eV in block %2 to %3 eV in block %4 (more than a "
                      "factor 3).")
                       .arg(EntryText::g6(sa))
                       .arg(i + 1)
                       .arg(EntryText::g6(sb))
                       .arg(i + 2);
    }
    return out;
}

RegionResult applyRegion(const Entry &e, const Region &r)
{
    RegionResult out;
    if (!(r.kStart > 0) || !(r.kEnd > r.kStart) || !(r.dk > 0) || !(r.t0 > 0) || !(r.k0 > 0) ||
        r.n < 0 || r.maxBlocks < 1) {
        out.error = tr("The region needs 0 < k start < k end, dk > 0, t0 > 0 and k0 > 0.");
        return out;
    }
    const int steps = int(std::lround((r.kEnd - r.kStart) / r.dk));
    if (steps < 1) {
        out.error = tr("The region holds no step of dk.");
        return out;
    }
    Entry en = e;
    // A constant step in eV is what the k grid is fitted with.
    en.selectBlockUnit(Units::EV);
    BlockSet &set = en.activeBlocks();
    const double edge = en.edgeEnergy();
    const double regionStart = edge + eAboveEdgeOf(r.kStart);
    // The blocks that end below the region stay (pre-edge, XANES); the last
    // of them now reaches to where the region begins.
    int kept = 0;
    while (kept < set.shown() && set.row(kept + 1).pos <= regionStart + 1e-9)
        ++kept;
    const int blocks = qMin(qMin(r.maxBlocks, BlockSet::maxBlocks - kept), steps);
    if (blocks < 1) {
        out.error = tr("No block is left for the region: %1 blocks end below it.").arg(kept);
        return out;
    }
    // Boundaries on the k grid, spaced evenly in log k: the eV step a k step
    // takes grows with k, so equal ratios keep every block's error alike.
    QList<int> at{0};
    for (int b = 1; b < blocks; ++b) {
        const double kb = r.kStart * std::pow(r.kEnd / r.kStart, double(b) / blocks);
        const int j = int(std::lround((kb - r.kStart) / r.dk));
        at << qBound(at.last() + 1, j, steps - (blocks - b));
    }
    at << steps;
    const auto kAt = [&r](int j) { return r.kStart + j * r.dk; };
    const auto law = [&r](double k) { return r.t0 * std::pow(k / r.k0, r.n); };
    QStringList times;
    for (int i = 0; i < kept; ++i)
        times << EntryText::g6(e.timeFor(i));
    en.requestBlocks(kept + blocks);
    for (int b = 0; b < blocks; ++b) {
        const double k0 = kAt(at.at(b)), k1 = kAt(at.at(b + 1));
        const int points = at.at(b + 1) - at.at(b);
        const int row = kept + b;
        set.setPos(row, edge + eAboveEdgeOf(k0), true);
        set.setPointsText(row, QString::number(points));
        times << EntryText::g6(law((k0 + k1) / 2));
        // The k steps this block's constant eV step gives, at both ends.
        const double step = (eAboveEdgeOf(k1) - eAboveEdgeOf(k0)) / points;
        const double dkFirst = kOf(eAboveEdgeOf(k0) + step) - k0;
        const double dkLast = k1 - kOf(eAboveEdgeOf(k1) - step);
        out.maxDeviation =
            qMax(out.maxDeviation, qMax(std::abs(dkFirst - r.dk), std::abs(dkLast - r.dk)) / r.dk);
        out.seconds += points * law((k0 + k1) / 2);
    }
    set.setPos(kept + blocks, edge + eAboveEdgeOf(kAt(steps)), true);
    // The last block kept now ends where the region begins.
    for (int i = qMax(0, kept - 1); i < kept + blocks; ++i)
        set.refreshDelta(i);
    for (int j = 0; j < steps; ++j)
        out.lawSeconds += law(kAt(j));
    en.measTimes = times.join(QStringLiteral(", "));
    en.blockDefType = EntryRows::UserBlocks;
    out.ok = true;
    out.entry = en;
    out.blocksKept = kept;
    out.blocksWritten = blocks;
    return out;
}

} // namespace ScanPlan
