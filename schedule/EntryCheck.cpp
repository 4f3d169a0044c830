#include "EntryCheck.h"

#include "BlockFile.h"
#include "ConfigStore.h"
#include "Entry.h"
#include "EntryText.h"
#include "OptionTables.h"
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

bool isCount(const QString &text)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    return digits.match(text).hasMatch();
}

void addOnce(QStringList &to, const QStringList &from)
{
    for (const QString &s : from) {
        if (!to.contains(s))
            to << s;
    }
}

void checkTarget(const Entry &e, QStringList &errors)
{
    if (e.targetElm.isEmpty()) {
        errors << Tr::tr("Target Element must be specified.");
        return;
    }
    if (e.z() <= 0) {
        errors << Tr::tr("Target element \"%1\" is not in the X-ray table.").arg(e.targetElm);
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
        errors << Tr::tr("No monochromator crystal is configured for this entry.");
        return;
    }
    const CrystalRow &c = crystalTable().at(row);
    if (!(c.eMin < energy && energy <= c.eMax))
        errors << Tr::tr("The %1 %2 edge (%3 eV) is outside the range of crystal %4 (%5 - %6 eV).")
                      .arg(e.elementSymbol(), edge, EntryText::g6(energy), c.name,
                           EntryText::g6(c.eMin), EntryText::g6(c.eMax));
}

void checkTimes(const Entry &e, QStringList &errors)
{
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
    if (set.row(0).pos < c.eMin || set.row(e.blocks).pos > c.eMax)
        f.warnings << Tr::tr("The blocks reach past the range of crystal %1 (%2 - %3 eV).")
                          .arg(c.name, EntryText::g6(c.eMin), EntryText::g6(c.eMax));
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

Findings check(const Entry &e)
{
    Findings f;
    if (e.holder.isEmpty() && e.sampleId.isEmpty())
        f.errors << Tr::tr("Holder No. or Sample ID must be specified.");
    if (!e.holder.isEmpty() && !isCount(e.holder))
        f.errors << Tr::tr("Holder No. \"%1\" is not a position the sample changer can take (0, "
                           "1, 2 ...).")
                        .arg(e.holder);
    if (!sendable(e.sampleId))
        f.errors << Tr::tr("The sample ID \"%1\" holds characters the bus cannot carry.")
                        .arg(e.sampleId);
    if (e.dataFile.trimmed().isEmpty())
        f.errors << Tr::tr("The data file name must be given.");
    else if (!sendable(e.dataFile))
        f.errors << Tr::tr("The data file name \"%1\" holds characters the bus cannot carry.")
                        .arg(e.dataFile);
    if (!sendable(e.comment))
        f.warnings << Tr::tr("The comment holds characters the bus cannot carry; the target "
                             "receives \"?\" in their place.");
    checkTarget(e, f.errors);
    checkTimes(e, f.errors);
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
