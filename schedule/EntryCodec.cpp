// SPDX-License-Identifier: GPL-3.0-or-later
#include "EntryCodec.h"

#include "ConfigStore.h"
#include "EntryCheck.h"
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

// The row a selector column names, else row 0, as such lines were always
// read; the text that names no row is kept on the entry (an empty text is a
// choice not made: row 0 without a word). An empty table leaves the value.
int readChoice(const SelectionTable &table, const QString &text, int current, Entry &e, int column)
{
    e.unknownChoices.remove(column);
    if (table.rowCount() == 0)
        return current;
    bool found = false;
    const int row = table.rowOf(text, &found);
    if (found)
        return row;
    if (!text.isEmpty())
        e.unknownChoices.insert(column, text);
    return 0;
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
    if (!std::isfinite(e) || (set.unit() == Units::Degree && s == -1))
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
    // What was read and named no choice goes back as it was read.
    auto choice = [&e](int column, const QString &label) {
        return e.unknownChoices.value(column, label);
    };
    // An element or edge that names nothing known is kept as typed: writing
    // the empty symbol, or the edge the automatic choice falls back on,
    // would lose what the operator meant.
    const QString element = e.z() > 0 ? e.elementSymbol() : e.targetElm;
    const QString edge = e.targetCore.isEmpty() || xrayDataBase().edgeNames().contains(e.targetCore)
                             ? xrayDataBase().edgeName(e.edgeIndex())
                             : e.targetCore;
    QStringList f;
    f.reserve(18 + 3 * n);
    f << e.holder << e.sampleId << e.comment << e.refSample << e.dataFile << element << edge
      << choice(EntryColumns::MeasDark, darkTable().labels().value(e.measDark))
      << choice(EntryColumns::Tuning, tuneTable().labels().value(e.tuning))
      << choice(EntryColumns::Crystal, crystal >= 0 && crystal < crystalTable().count()
                                           ? crystalTable().at(crystal).name
                                           : QStringLiteral("-"))
      << choice(EntryColumns::ScanType, scanTypeTable().labels().value(e.scanType))
      << choice(EntryColumns::MeasMode, measModeTable().labels().value(e.measMode))
      << choice(EntryColumns::BlockDef, blkSetupTable().labels().value(e.blockDefType))
      << choice(EntryColumns::StdType, stdTypeTable().labels().value(e.stdBlockType))
      << e.blockDefFile << e.measTimes << QString::number(n)
      << choice(EntryColumns::BlockUnit, Units::name(e.blockUnit));
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
    // A text that names no element stays as read; the check names it.
    if (has(5)) {
        const aAtom a = xrayDataBase().elementFor(fields.at(5));
        e.targetElm = a.z > 0 ? a.symbol : fields.at(5);
    }
    if (!has(5) || fields.at(5).isEmpty())
        errs << Tr::tr("Target Element must be specified.");
    if (has(6))
        e.targetCore = fields.at(6);
    e.updateTarget();

    // 5. selectors; a selection that does not change does not recompute
    // anything, as in the editor.
    using namespace EntryColumns;
    if (has(MeasDark))
        e.measDark = readChoice(darkTable(), fields.at(MeasDark), e.measDark, e, MeasDark);
    if (has(Tuning))
        e.tuning = readChoice(tuneTable(), fields.at(Tuning), e.tuning, e, Tuning);
    if (has(Crystal)) {
        // "-" (or nothing) is the automatic choice; a name no crystal has
        // falls back on it too, but is kept.
        const QString &text = fields.at(Crystal);
        const int r = crystalTable().rowByName(text);
        if (r != e.crystal)
            e.selectCrystal(r);
        e.unknownChoices.remove(Crystal);
        if (r < 0 && !text.isEmpty() && text != QLatin1String("-"))
            e.unknownChoices.insert(Crystal, text);
    }
    if (has(ScanType)) {
        const int r = readChoice(scanTypeTable(), fields.at(ScanType), e.scanType, e, ScanType);
        if (r != e.scanType)
            e.selectScanType(r);
    }
    if (has(MeasMode))
        e.measMode = readChoice(measModeTable(), fields.at(MeasMode), e.measMode, e, MeasMode);
    if (has(BlockDef))
        e.blockDefType =
            readChoice(blkSetupTable(), fields.at(BlockDef), e.blockDefType, e, BlockDef);
    if (has(StdType)) {
        const int r = readChoice(stdTypeTable(), fields.at(StdType), e.stdBlockType, e, StdType);
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
    if (has(BlockUnit)) {
        const QString &text = fields.at(BlockUnit);
        e.unknownChoices.remove(BlockUnit);
        int u = 0;
        while (u < Units::count() && Units::name(u) != text)
            ++u;
        if (u < Units::count() && u != e.blockUnit)
            e.selectBlockUnit(u);
        else if (u == Units::count() && !text.isEmpty())
            e.unknownChoices.insert(BlockUnit, text);
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

    // 11. result; values read that name nothing known are errors until the
    // operator picks those fields again (EntryCheck keeps them while they stay).
    for (const QString &err : EntryCheck::unknownTextErrors(e)) {
        if (!errs.contains(err))
            errs << err;
    }
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
