// SPDX-License-Identifier: GPL-3.0-or-later
#include "Entry.h"

#include <tuple>

#include "ConfigStore.h"
#include "EntryText.h"
#include "OptionTables.h"
#include "XrayDataBase.h"

#include <climits>
#include <cmath>

namespace {

// Points for a width and a step: the quotient truncated toward zero. The
// quotient is first widened by a part in 10^9 so that floating-point noise
// (0.26 keV / 0.0065 keV computing as 39.9999999999) does not cost a point;
// the six-digit rounding of Delta is far larger and still counts.
int pointsFor(double width, double delta)
{
    const double q = width / delta * (1 + 1e-9);
    if (!std::isfinite(q))
        return 0;
    if (q >= double(INT_MAX))
        return INT_MAX;
    if (q <= double(INT_MIN))
        return INT_MIN;
    return int(std::trunc(q));
}

const BlockRow kNoRow;

// A standard block set: n blocks, the starts of its n + 1 rows relative to
// the edge, and the Delta of each block (eV).
struct StandardSet
{
    int n = 0;
    QStringList starts;
    QList<double> deltas;
};

// The standard set of a type for the quick scan (one sweep) or the step scan;
// n is 0 for a type that has none.
StandardSet standardSet(int type, bool step)
{
    const QString m300 = QStringLiteral("R-300");
    const QString m40 = QStringLiteral("R-40");
    const QString p50 = QStringLiteral("R+50");
    const QString p500 = QStringLiteral("R+500");
    const QString p1100 = QStringLiteral("R+1100");
    switch (type) {
    case 0: // XAFS
        return step ? StandardSet{4, {m300, m40, p50, p500, p1100}, {6.5, 0.3, 2.5, 6.0}}
                    : StandardSet{1, {m300, p1100}, {0.3}};
    case 1: // XANES
        return step ? StandardSet{3, {m300, m40, p50, p500}, {6.5, 0.3, 10.0}}
                    : StandardSet{1, {m300, p500}, {0.3}};
    case 2: // EXAFS
        return step ? StandardSet{4, {m300, m40, p50, p500, p1100}, {6.5, 1.0, 2.5, 6.0}}
                    : StandardSet{1, {m300, p1100}, {0.3}};
    default:
        return {};
    }
}

} // namespace

int BlockRow::points() const
{
    return toIntOr0(pointsText);
}

double BlockRow::delta() const
{
    return toDoubleOr0(deltaText);
}

// ---- BlockSet -------------------------------------------------------------

BlockSet::BlockSet() : m_rows(maxBlocks + 1) {}

const BlockRow &BlockSet::row(int i) const
{
    return has(i) ? m_rows.at(i) : kNoRow;
}

double BlockSet::displayValue(int i) const
{
    return Units::fromEV(row(i).pos, m_unit, m_d);
}

QString BlockSet::startText(int i) const
{
    const BlockRow &r = row(i);
    return EntryText::startTextFor(r.pos, m_unit, m_origin, r.isRel, m_d);
}

double BlockSet::width(int i) const
{
    if (i < 0 || i >= m_shown || i + 1 >= m_rows.size())
        return 0;
    return displayValue(i + 1) - displayValue(i);
}

void BlockSet::showBlocks(int n)
{
    if (n < 0 || n > maxBlocks)
        return;
    // A block shown again may have been hidden while the unit changed: its
    // Delta would still be in the old unit.
    const int was = m_shown;
    m_shown = n;
    for (int i = was; i < n; ++i)
        refreshDelta(i);
}

void BlockSet::setUnit(int u)
{
    m_unit = u;
    // A change of display unit only shows the blocks differently: the Delta
    // follows, but the Points the target measures must not move because the
    // new Delta is rounded to six digits. Hidden blocks follow when they are
    // shown again.
    for (int i = 0; i < m_shown && i < m_rows.size(); ++i)
        refreshDelta(i);
}

void BlockSet::setBlocks(int n, const QStringList &starts, const QList<int> &points,
                         const QList<double> &deltas)
{
    const int keptUnit = m_unit;
    setUnit(Units::EV);
    showBlocks(n);
    for (int i = 0; i < starts.size() && has(i); ++i)
        setStartText(i, starts.at(i));
    // Given Points are taken as they are and the Delta follows them (the
    // unit set back below refreshes it); the Delta-to-Points recomputation
    // would drop a point whenever the six-digit Delta rounds up.
    for (int i = 0; i < points.size() && has(i); ++i)
        m_rows[i].pointsText = QString::number(points.at(i));
    for (int i = 0; i < deltas.size() && has(i); ++i) {
        setDelta(i, deltas.at(i));
        if (deltas.at(i) != 0)
            setPoints(i, pointsFor(width(i), deltas.at(i)));
    }
    setUnit(keptUnit);
}

void BlockSet::setOrigin(double e)
{
    for (BlockRow &r : m_rows)
        r.pos = r.pos - m_origin + e;
    m_origin = e;
}

void BlockSet::setRelative(bool f)
{
    for (BlockRow &r : m_rows)
        r.isRel = f;
}

void BlockSet::refreshDelta(int i)
{
    if (!has(i))
        return;
    const int p = m_rows.at(i).points();
    // A block without points has no step width; dividing would write
    // "inf" or "nan" into the Delta field and from there into files.
    if (p != 0 && std::isfinite(width(i) / p))
        m_rows[i].deltaText = EntryText::g6(width(i) / p);
}

void BlockSet::startPosUpdated(int i)
{
    pointsUpdated(i);
    if (i >= 1)
        pointsUpdated(i - 1);
}

void BlockSet::pointsUpdated(int i)
{
    if (!has(i))
        return;
    const int p = m_rows.at(i).points();
    // Starts far outside any energy can make the width overflow; an infinite
    // step is no step.
    if (p != 0 && std::isfinite(width(i) / p))
        setDelta(i, width(i) / p);
}

void BlockSet::deltaUpdated(int i)
{
    if (!has(i))
        return;
    const double d = m_rows.at(i).delta();
    if (d != 0)
        setPoints(i, pointsFor(width(i), d));
}

// A Points or Delta that changed makes the block's other value follow, as long
// as the block is shown; the exchange stops when a value comes out unchanged.
void BlockSet::setPoints(int i, int n)
{
    const QString t = QString::number(n);
    if (t == m_rows.at(i).pointsText)
        return;
    m_rows[i].pointsText = t;
    if (i < m_shown)
        pointsUpdated(i);
}

void BlockSet::setDelta(int i, double d)
{
    const QString t = EntryText::g6(d);
    if (t == m_rows.at(i).deltaText)
        return;
    m_rows[i].deltaText = t;
    if (i < m_shown)
        deltaUpdated(i);
}

void BlockSet::noticedNewStartPos(int i)
{
    if (i == 0) {
        pointsUpdated(0);
    } else if (i < m_shown) {
        pointsUpdated(i);
        pointsUpdated(i - 1);
    } else if (i == m_shown) {
        pointsUpdated(i - 1);
    }
}

void BlockSet::editStart(int i, const QString &text)
{
    if (!has(i))
        return;
    BlockRow &r = m_rows[i];
    r.pos = EntryText::parseTypedStart(text, m_unit, m_origin, m_d, &r.isRel);
    noticedNewStartPos(i);
}

void BlockSet::editPoints(int i, const QString &text)
{
    if (!has(i))
        return;
    m_rows[i].pointsText = text;
    if (i < m_shown)
        pointsUpdated(i);
}

void BlockSet::editDelta(int i, const QString &text)
{
    if (!has(i))
        return;
    m_rows[i].deltaText = text;
    if (i < m_shown)
        deltaUpdated(i);
}

void BlockSet::typeStart(int i, const QString &text)
{
    if (has(i) && text != startText(i))
        editStart(i, text);
}

void BlockSet::setPointsText(int i, const QString &text)
{
    if (has(i))
        m_rows[i].pointsText = text;
}

void BlockSet::setDeltaText(int i, const QString &text)
{
    if (has(i))
        m_rows[i].deltaText = text;
}

void BlockSet::setStartText(int i, const QString &text)
{
    if (!has(i))
        return;
    BlockRow &r = m_rows[i];
    if (!text.isEmpty() && text.at(0).toUpper() == QLatin1Char('R')) {
        r.isRel = true;
        r.pos = m_origin + toDoubleOr0(text.mid(1));
    } else {
        r.isRel = false;
        r.pos = toDoubleOr0(text);
    }
}

void BlockSet::setPos(int i, double pos, bool isRel)
{
    if (!has(i))
        return;
    m_rows[i].pos = pos;
    m_rows[i].isRel = isRel;
}

// ---- Entry ------------------------------------------------------------------

Entry Entry::defaults()
{
    // The same steps, in the same order, as a new editor takes: the standard
    // blocks are placed around the edge of the target (copper), then the
    // quick scan with one block is shown.
    Entry e;
    e.updateTarget();
    e.selectScanType(EntryRows::QuickScan);
    e.selectStdBlockType(0);
    e.selectBlockUnit(Units::EV);
    e.requestBlocks(e.blocks);
    return e;
}

const BlockSet &Entry::activeBlocks() const
{
    return scanType == EntryRows::StepScan ? stepBlocks : quickBlocks;
}

BlockSet &Entry::activeBlocks()
{
    return scanType == EntryRows::StepScan ? stepBlocks : quickBlocks;
}

aAtom Entry::element() const
{
    return xrayDataBase().elementFor(targetElm);
}

int Entry::z() const
{
    return xrayDataBase().zFor(targetElm);
}

QString Entry::elementSymbol() const
{
    const aAtom a = element();
    return a.z > 0 ? a.symbol : QString();
}

int Entry::edgeIndex() const
{
    return xrayDataBase().edgeIndexFor(targetCore, targetElm);
}

double Entry::edgeEnergy() const
{
    return xrayDataBase().edgeEnergy(targetElm, targetCore);
}

int Entry::crystalRow() const
{
    const CrystalTable &crystals = crystalTable();
    if (crystal >= 0)
        return crystal < crystals.count() ? crystal : -1;
    return crystals.count() > 0 ? crystals.rowForEnergy(edgeEnergy()) : -1;
}

double Entry::timeFor(int i) const
{
    return EntryText::measTimeFor(measTimes, i);
}

// The spacing follows the crystal; without one (no crystal configured) the
// angles are those of the default spacing, whatever the entry had before.
void Entry::applyCrystal()
{
    const int row = crystalRow();
    const double d = row >= 0 ? crystalTable().at(row).d : Units::defaultD;
    quickBlocks.setLatticeSpacing(d);
    stepBlocks.setLatticeSpacing(d);
    // The angles depend on d: let each block's Delta follow its Points again.
    quickBlocks.setUnit(quickBlocks.unit());
    stepBlocks.setUnit(stepBlocks.unit());
}

void Entry::updateTarget()
{
    const double e = edgeEnergy();
    quickBlocks.setOrigin(e);
    stepBlocks.setOrigin(e);
    applyCrystal();
}

void Entry::selectCrystal(int row)
{
    crystal = row < 0 ? -1 : row;
    applyCrystal();
}

void Entry::selectScanType(int idx)
{
    scanType = idx;
    if (idx == EntryRows::StepScan) {
        quickBlockCount = blocks;
        requestBlocks(stepBlockCount);
        quickTimes = measTimes;
        measTimes = stepTimes;
    } else if (idx == EntryRows::QuickScan) {
        // A quick scan measures in transmission, whatever was read for it.
        measMode = 0;
        unknownChoices.remove(EntryColumns::MeasMode);
        stepBlockCount = blocks;
        requestBlocks(1);
        stepTimes = measTimes;
        measTimes = quickTimes;
    }
    followStandardCount();
}

void Entry::selectBlockDefType(int idx)
{
    blockDefType = idx;
    // What is shown is what is sent: the target's standard set, not the
    // blocks the entry had.
    if (idx == EntryRows::StandardBlocks)
        selectStdBlockType(stdBlockType);
}

void Entry::requestBlocks(int n)
{
    // Counts outside the editor's range would show a negative number of
    // blocks or rows that do not exist: the entry keeps its count.
    if (n > BlockSet::maxBlocks || n < 1)
        return;
    blocks = n;
    quickBlocks.showBlocks(n);
    stepBlocks.showBlocks(n);
}

void Entry::selectStdBlockType(int idx)
{
    stdBlockType = idx;
    const StandardSet quick = standardSet(idx, false);
    const StandardSet step = standardSet(idx, true);
    if (quick.n == 0 || step.n == 0)
        return;
    quickBlocks.setBlocks(quick.n, quick.starts, {}, quick.deltas);
    stepBlocks.setBlocks(step.n, step.starts, {}, step.deltas);
    followStandardCount();
}

int Entry::standardBlockCount(int scanType, int stdType)
{
    return standardSet(stdType, scanType == EntryRows::StepScan).n;
}

void Entry::followStandardCount()
{
    if (blockDefType != EntryRows::StandardBlocks)
        return;
    const int n = standardBlockCount(scanType, stdBlockType);
    if (n > 0)
        requestBlocks(n);
}

void Entry::selectBlockUnit(int u)
{
    if (u < 0)
        return;
    blockUnit = u;
    quickBlocks.setUnit(u);
    stepBlocks.setUnit(u);
}

void Entry::setRelative(bool f)
{
    quickBlocks.setRelative(f);
    stepBlocks.setRelative(f);
}

bool Entry::operator==(const Entry &o) const
{
    const auto fields = [](const Entry &e) {
        return std::tie(e.exec, e.holder, e.sampleId, e.comment, e.refSample, e.dataFile,
                        e.targetElm, e.targetCore, e.measDark, e.tuning, e.crystal, e.scanType,
                        e.measMode, e.blockDefType, e.stdBlockType, e.blockDefFile, e.measTimes,
                        e.blocks, e.blockUnit, e.quickBlocks, e.stepBlocks, e.stepBlockCount,
                        e.quickBlockCount, e.stepTimes, e.quickTimes, e.unknownChoices, e.errors,
                        e.warnings);
    };
    return fields(*this) == fields(o);
}
