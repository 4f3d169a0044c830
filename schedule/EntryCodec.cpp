#include "EntryCodec.h"

#include "ConfigStore.h"
#include "OptionTables.h"
#include "XrayDataBase.h"

#include <QCoreApplication>

#include <cmath>

namespace {

// Texts of the ScheduleEdit context in the catalogue, wherever they are made.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(ScheduleEdit)
};

// A row that the table has, else row 0 (an empty table leaves the value).
int rowOrFirst(int row, int count, int current)
{
    if (count == 0)
        return current;
    return row >= 0 && row < count ? row : 0;
}

// The end of the last block is not stored; its Points and Delta say how wide
// it was.
void restoreLastBlockEnd(BlockSet &set, int i, int points, double delta)
{
    if (points <= 0 || delta == 0 || i + 1 >= set.rowCount())
        return;
    const double d = set.latticeSpacing();
    const double s = Units::fromEV(set.row(i).pos, set.unit(), d);
    const double e = Units::toEV(s + points * delta, set.unit(), d);
    if (!std::isfinite(e) || (set.unit() == 3 && s == -1))
        return;
    set.setPos(i + 1, e, set.row(i).isRel);
}

} // namespace

namespace EntryCodec {

QStringList toFields(const Entry &e)
{
    const BlockSet &set = e.activeBlocks();
    const int n = e.blocks;
    const int crystal = e.crystal;
    QStringList f;
    f.reserve(18 + 3 * n);
    f << e.holder << e.sampleId << e.comment << e.refSample << e.dataFile << e.elementSymbol()
      << xrayDataBase().edgeName(e.edgeIndex()) << darkTable().labels().value(e.measDark)
      << tuneTable().labels().value(e.tuning)
      << (crystal >= 0 && crystal < crystalTable().count() ? crystalTable().at(crystal).name
                                                           : QStringLiteral("-"))
      << scanTypeTable().labels().value(e.scanType) << measModeTable().labels().value(e.measMode)
      << blkSetupTable().labels().value(e.blockDefType)
      << stdTypeTable().labels().value(e.stdBlockType) << e.blockDefFile << e.measTimes
      << QString::number(n) << Units::name(e.blockUnit);
    for (int i = 0; i < n && i < set.rowCount(); ++i)
        f << set.startText(i) << set.row(i).pointsText << set.row(i).deltaText;
    return f;
}

bool fromFields(const QStringList &fields, Entry &e, QStringList &errs, QStringList &warns)
{
    const int size = int(fields.size());
    auto has = [size](int i) { return i < size; };
    auto at = [&fields, size](int i) { return i < size ? fields.at(i) : QString(); };

    // 1. holder and sample
    if (has(0))
        e.holder = fields.at(0);
    if (has(1))
        e.sampleId = fields.at(1);
    if (at(0).isEmpty() && at(1).isEmpty())
        errs << Tr::tr("Holder No. or Sample ID must be specified.");

    // 2. texts
    if (has(2))
        e.comment = fields.at(2);
    if (has(3))
        e.refSample = fields.at(3);
    if (has(4))
        e.dataFile = fields.at(4);

    // 3., 4. target element and edge, then move the blocks to the new edge
    bool targetOk = false;
    if (has(5)) {
        const aAtom a = xrayDataBase().elementFor(fields.at(5));
        targetOk = a.z > 0;
        e.targetElm = targetOk ? a.symbol : QString();
    }
    if (!targetOk)
        errs << Tr::tr("Target Element must be specified.");
    if (has(6))
        e.targetCore = fields.at(6);
    e.updateTarget();

    // 5. selectors; a selection that does not change does not recompute
    // anything, as in the editor.
    if (has(7))
        e.measDark =
            rowOrFirst(darkTable().rowOf(fields.at(7)), darkTable().rowCount(), e.measDark);
    if (has(8))
        e.tuning = rowOrFirst(tuneTable().rowOf(fields.at(8)), tuneTable().rowCount(), e.tuning);
    if (has(9)) {
        const int r = crystalTable().rowByName(fields.at(9));
        if (r != e.crystal)
            e.selectCrystal(r);
    }
    if (has(10)) {
        const int r = rowOrFirst(scanTypeTable().rowOf(fields.at(10)), scanTypeTable().rowCount(),
                                 e.scanType);
        if (r != e.scanType)
            e.selectScanType(r);
    }
    if (has(11))
        e.measMode = rowOrFirst(measModeTable().rowOf(fields.at(11)), measModeTable().rowCount(),
                                e.measMode);
    if (has(12))
        e.blockDefType = rowOrFirst(blkSetupTable().rowOf(fields.at(12)),
                                    blkSetupTable().rowCount(), e.blockDefType);
    if (has(13)) {
        const int r = rowOrFirst(stdTypeTable().rowOf(fields.at(13)), stdTypeTable().rowCount(),
                                 e.stdBlockType);
        if (r != e.stdBlockType)
            e.selectStdBlockType(r);
    }

    // 6. file and times
    if (has(14))
        e.blockDefFile = fields.at(14);
    if (has(15))
        e.measTimes = fields.at(15);

    // 7. block count (out-of-range counts are ignored)
    if (has(16))
        e.requestBlocks(toIntOr0(fields.at(16)));

    // 8. unit by exact text
    if (has(17)) {
        for (int u = 0; u < Units::count(); ++u) {
            if (Units::name(u) == fields.at(17)) {
                if (u != e.blockUnit)
                    e.selectBlockUnit(u);
                break;
            }
        }
    }

    // 9. blocks of the active set. Every start is placed before any Points or
    // Delta is read: a block's values only mean something once both of its
    // ends are where the file says, otherwise Delta would be turned into
    // Points over a width the block does not have.
    BlockSet &set = e.activeBlocks();
    const int n = e.blocks;
    int complete = 0; // blocks with all three fields
    for (int i = 0; i < n; ++i) {
        const int base = 18 + 3 * i;
        if (i >= set.rowCount() || !has(base))
            break;
        set.typeStart(i, fields.at(base));
        set.startPosUpdated(i);
        if (has(base + 2))
            complete = i + 1;
    }
    if (complete == n && n > 0 && e.blockDefType != EntryRows::StandardBlocks)
        restoreLastBlockEnd(set, n - 1, toIntOr0(fields.at(18 + 3 * (n - 1) + 1)),
                            toDoubleOr0(fields.at(18 + 3 * (n - 1) + 2)));
    // Points are what the target measures: a block that has them keeps them
    // exactly and its Delta follows. Recomputing Points from a six-digit
    // Delta instead could lose a point (1.2 A / 100 read back as 99).
    // Only a block without Points takes them from its Delta.
    for (int i = 0; i < n; ++i) {
        const int base = 18 + 3 * i;
        if (i >= set.rowCount() || !has(base + 1))
            break;
        set.setPointsText(i, fields.at(base + 1));
        if (has(base + 2))
            set.setDeltaText(i, fields.at(base + 2));
        if (set.row(i).points() != 0)
            set.refreshDelta(i);
        else if (has(base + 2))
            set.deltaUpdated(i);
    }

    // 10. standard blocks replace what was read
    if (e.blockDefType == EntryRows::StandardBlocks)
        e.selectStdBlockType(e.stdBlockType);

    // 11. result
    e.errors = errs;
    e.warnings = warns;
    return e.errors.isEmpty();
}

Entry fromFields(const QStringList &fields)
{
    Entry e = Entry::defaults();
    QStringList errors;
    QStringList warnings;
    fromFields(fields, e, errors, warnings);
    return e;
}

} // namespace EntryCodec
