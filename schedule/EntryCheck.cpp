// SPDX-License-Identifier: GPL-3.0-or-later
#include "EntryCheck.h"

#include "BlockFile.h"
#include "ConfigStore.h"
#include "Entry.h"
#include "EntryText.h"
#include "Estimate.h"
#include "OptionTables.h"
#include "ScanPlan.h"
#include "XrayDataBase.h"

#include <QCoreApplication>
#include <QHash>
#include <QRegularExpression>

#include <cmath>

namespace {

// Texts of the ScheduleEdit context in the catalogue, wherever they are made.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(ScheduleEdit)
};

bool isInteger(const QString &text)
{
    static const QRegularExpression digits(QStringLiteral("^-?[0-9]+$"));
    return digits.match(text).hasMatch();
}

QString unknownElement(const QString &text)
{
    return Tr::tr("Target element \"%1\" is not in the X-ray table.").arg(text);
}

// The holder goes to the sample changer as it is: it must be there, and be
// one of the changer's positions when the configuration names them.
void checkHolder(const Entry &e, QStringList &errors)
{
    if (e.holder.isEmpty()) {
        if (e.sampleId.isEmpty())
            errors << Tr::tr("Holder No. or Sample ID must be specified.");
        else
            errors << Tr::tr("Holder No. must be given: the sample changer would be sent an empty "
                             "position.");
        return;
    }
    const HolderRange &range = holderRange();
    if (range.set && !(isInteger(e.holder) && range.contains(e.holder.toInt()))) {
        errors << Tr::tr("Holder No. \"%1\" is not a position of the sample changer (%2 to %3).")
                      .arg(e.holder)
                      .arg(range.min)
                      .arg(range.max);
        return;
    }
    if (!EntryCheck::sendable(e.holder))
        errors << Tr::tr("Holder No. \"%1\" holds characters the bus cannot carry.").arg(e.holder);
}

// A choice and the texts of its selector, for naming what was read instead.
// The field titles are those of the editor's form (already in the catalogue).
QString unknownChoice(const Entry &e, int column)
{
    using namespace EntryColumns;
    const QString text = e.unknownChoices.value(column);
    QString field;
    QStringList choices;
    QString shown;
    auto fromTable = [&](const char *title, const SelectionTable &t, int row) {
        field = Tr::tr(title);
        choices = t.labels();
        shown = t.label(row);
    };
    switch (column) {
    case MeasDark:
        fromTable("M. Dark", darkTable(), e.measDark);
        break;
    case Tuning:
        fromTable("Tuning", tuneTable(), e.tuning);
        break;
    case ScanType:
        fromTable("Scan Type", scanTypeTable(), e.scanType);
        break;
    case MeasMode:
        fromTable("Meas. Mode", measModeTable(), e.measMode);
        break;
    case BlockDef:
        fromTable("Block Def. Type", blkSetupTable(), e.blockDefType);
        break;
    case StdType:
        fromTable("Std. Type", stdTypeTable(), e.stdBlockType);
        break;
    case Crystal:
        field = Tr::tr("Mono. Cryst.");
        choices << QStringLiteral("-");
        for (int i = 0; i < crystalTable().count(); ++i)
            choices << crystalTable().at(i).name;
        shown = QStringLiteral("-");
        break;
    case BlockUnit:
        field = Tr::tr("Unit");
        for (int u = 0; u < Units::count(); ++u)
            choices << Units::name(u);
        shown = Units::name(e.blockUnit);
        break;
    default:
        return QString();
    }
    return Tr::tr("%1: \"%2\" is not one of the choices (%3); \"%4\" stands in its place.")
        .arg(field, text, choices.join(QLatin1String(", ")), shown);
}

void addOnce(QStringList &to, const QStringList &from)
{
    for (const QString &s : from) {
        if (!to.contains(s))
            to << s;
    }
}

void checkTarget(const Entry &e, EntryCheck::Findings &f)
{
    QStringList &errors = f.errors;
    if (e.targetElm.isEmpty()) {
        errors << Tr::tr("Target Element must be specified.");
        return;
    }
    if (e.z() <= 0) {
        errors << unknownElement(e.targetElm);
        return;
    }
    const QStringList &edges = xrayDataBase().edgeNames();
    // Text that names no edge would silently select the automatic one.
    if (!e.targetCore.isEmpty() && !edges.contains(e.targetCore)) {
        errors << Tr::tr("\"%1\" is not an edge name (%2).")
                      .arg(e.targetCore, edges.join(QLatin1String(", ")));
        return;
    }
    const double energy = e.edgeEnergy();
    const QString edge = xrayDataBase().edgeName(e.edgeIndex());
    if (!(energy > 0)) {
        errors << Tr::tr("%1 has no %2 edge in the X-ray table.").arg(e.elementSymbol(), edge);
        return;
    }
    const int row = e.crystalRow();
    if (row < 0) {
        // Nothing sent depends on the crystal but the angles of the blocks.
        f.warnings << Tr::tr("No monochromator crystal is configured: angles are converted with "
                             "the default lattice spacing, %1 A.")
                          .arg(EntryText::g6(Units::defaultD));
        return;
    }
    const CrystalRow &c = crystalTable().at(row);
    if (!(c.eMin < energy && energy <= c.eMax))
        errors << Tr::tr("The %1 %2 edge (%3 eV) is outside the range of crystal %4 (%5 - %6 eV).")
                      .arg(e.elementSymbol(), edge, EntryText::g6(energy), c.name,
                           EntryText::g6(c.eMin), EntryText::g6(c.eMax));
}

void checkTimes(const Entry &e, EntryCheck::Findings &f)
{
    QStringList &errors = f.errors;
    QString t = e.measTimes;
    t.replace(QLatin1Char(','), QLatin1Char(' '));
    const QStringList items = t.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (items.isEmpty()) {
        errors << Tr::tr("Measurement times must be given.");
        return;
    }
    for (const QString &item : items) {
        const double v = toDoubleOr0(item);
        if (!(v > 0) || !std::isfinite(v)) {
            errors << Tr::tr("Measurement time \"%1\" is not a positive number.").arg(item);
            return;
        }
    }
    // The blocks the target is given times for: its standard set, or the
    // entry's own count (a block file keeps the entry's count too).
    const int blocks =
        e.blockDefType == EntryRows::StandardBlocks ? Estimate::standardBlockCount(e) : e.blocks;
    if (items.size() < blocks)
        f.warnings << Tr::tr("Meas. Time(s) gives %1 dwell times for %2 blocks; the last one, %3 "
                             "s, is used for the blocks after it.")
                          .arg(items.size())
                          .arg(blocks)
                          .arg(items.last());
}

// File and user blocks go to the target one by one; standard blocks are the
// target's own.
void checkBlocks(const Entry &e, EntryCheck::Findings &f)
{
    if (e.blockDefType == EntryRows::StandardBlocks)
        return;
    // The engine reads the file when the entry begins and takes its starts
    // and Points; the count stays the entry's own.
    Entry loaded = e;
    if (e.blockDefType == EntryRows::FileBlocks) {
        const BlockFile::Result r = BlockFile::load(e.blockDefFile, loaded);
        if (!r.ok) {
            f.errors << r.error;
            return;
        }
    }
    const BlockSet &set = loaded.activeBlocks();
    bool shapeOk = true;
    for (int i = 0; i < e.blocks && i + 1 < set.rowCount(); ++i) {
        if (set.row(i).points() < 1) {
            f.errors << Tr::tr("Block %1: Points must be 1 or more.").arg(i + 1);
            shapeOk = false;
        }
        const double width = set.row(i + 1).pos - set.row(i).pos;
        if (!(width > 0) || !std::isfinite(width)) {
            f.errors << Tr::tr("Block %1 does not end above its start.").arg(i + 1);
            shapeOk = false;
        }
    }
    const int row = e.crystalRow();
    if (!shapeOk || row < 0 || e.blocks < 1 || e.blocks >= set.rowCount())
        return;
    const CrystalRow &c = crystalTable().at(row);
    for (int i = 0; i < e.blocks; ++i) {
        const double from = set.row(i).pos, to = set.row(i + 1).pos;
        if (from < c.eMin || to > c.eMax)
            f.warnings << Tr::tr("Block %1 reaches %2 eV, past the range of crystal %3 (%4 - %5 "
                                 "eV).")
                              .arg(i + 1)
                              .arg(EntryText::g6(from < c.eMin ? from : to))
                              .arg(c.name, EntryText::g6(c.eMin), EntryText::g6(c.eMax));
    }
    f.warnings << ScanPlan::warnings(ScanPlan::of(loaded));
}

} // namespace

namespace EntryCheck {

bool sendable(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0xff)
            return false;
    }
    return true;
}

QStringList unknownTextErrors(const Entry &e)
{
    QStringList errors;
    if (!e.targetElm.isEmpty() && e.z() <= 0)
        errors << unknownElement(e.targetElm);
    for (auto it = e.unknownChoices.cbegin(); it != e.unknownChoices.cend(); ++it) {
        const QString text = unknownChoice(e, it.key());
        if (!text.isEmpty())
            errors << text;
    }
    return errors;
}

Findings check(const Entry &e)
{
    Findings f;
    // Only what goes on the bus must fit Latin-1: the holder, the data file
    // and the comment. The sample ID stays in the schedule. An empty data
    // file name is passed on: the target names the file itself.
    checkHolder(e, f.errors);
    if (!sendable(e.dataFile))
        f.errors << Tr::tr("The data file name \"%1\" holds characters the bus cannot carry.")
                        .arg(e.dataFile);
    if (!sendable(e.comment))
        f.warnings << Tr::tr("The comment holds characters the bus cannot carry; the target "
                             "receives \"?\" in their place.");
    checkTarget(e, f);
    addOnce(f.errors, unknownTextErrors(e));
    checkTimes(e, f);
    checkBlocks(e, f);
    return f;
}

QList<QStringList> checkSchedule(const QList<Entry> &entries)
{
    QList<QStringList> out(entries.size());
    QHash<QString, int> firstWriter;
    for (int i = 0; i < entries.size(); ++i) {
        const Entry &e = entries.at(i);
        if (!e.exec || e.dataFile.isEmpty())
            continue;
        const auto it = firstWriter.constFind(e.dataFile);
        if (it == firstWriter.cend()) {
            firstWriter.insert(e.dataFile, i);
            continue;
        }
        out[i] << Tr::tr("Entry %1 above writes the same data file %2; this entry overwrites it.")
                      .arg(it.value() + 1)
                      .arg(e.dataFile);
    }
    return out;
}

QStringList errorsAtStart(const Entry &e)
{
    QStringList errors = e.errors;
    addOnce(errors, check(e).errors);
    return errors;
}

void refresh(Entry &e)
{
    const Findings f = check(e);
    e.errors = f.errors;
    e.warnings = f.warnings;
}

void addFindings(Entry &e)
{
    const Findings f = check(e);
    addOnce(e.errors, f.errors);
    addOnce(e.warnings, f.warnings);
}

} // namespace EntryCheck
