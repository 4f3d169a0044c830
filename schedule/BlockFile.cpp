// SPDX-License-Identifier: GPL-3.0-or-later
#include "BlockFile.h"

#include "ConfigStore.h"
#include "Entry.h"
#include "EntryText.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextStream>

namespace {

// Texts of the ScheduleEdit context in the catalogue, wherever they are made.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(ScheduleEdit)
};

// Blocks 0 ... k - 1 of a set and the end line "tag k e 0 0".
void writeSet(QTextStream &out, const QString &tag, const BlockSet &set, int k,
              const QString &times)
{
    k = qBound(0, k, BlockSet::maxBlocks);
    for (int i = 0; i < k; ++i) {
        out << tag << ' ' << i << ' ' << EntryText::g6(set.displayValue(i)) << ' '
            << set.row(i).points() << ' ' << EntryText::g6(EntryText::measTimeFor(times, i))
            << '\n';
    }
    out << tag << ' ' << k << ' ' << EntryText::g6(set.displayValue(k)) << " 0 0\n";
}

struct SetRead
{
    QStringList starts;
    QList<int> points;
    QStringList times;
};

// A count line: 1 when the value is missing, 0 when it is not a number.
int countFrom(const QStringList &items)
{
    return items.size() > 1 ? toIntOr0(items.at(1)) : 1;
}

// "QB i s p t": the items after the block number i are the start, the
// points and the time, as the writer puts them.
void addBlockLine(SetRead &set, const QStringList &items)
{
    if (items.size() > 2)
        set.starts << items.at(2);
    if (items.size() > 3)
        set.points << toIntOr0(items.at(3));
    if (items.size() > 4)
        set.times << items.at(4);
}

// Start values in the file are in its unit; the rows take eV. "R" offsets
// are already in eV.
QStringList startsInEV(const QStringList &starts, int unit, double d)
{
    QStringList out;
    out.reserve(starts.size());
    for (const QString &s : starts) {
        if (!s.isEmpty() && s.at(0).toUpper() == QLatin1Char('R'))
            out << s;
        else
            out << QString::number(Units::toEV(toDoubleOr0(s), unit, d), 'g', 17);
    }
    return out;
}

} // namespace

namespace BlockFile {

Kind kindOf(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return Kind::Unreadable;
    QTextStream in(&f);
    return in.readLine().contains(QLatin1String("9809")) ? Kind::Format9809 : Kind::Normal;
}

Result write(const QString &fname, const Entry &e)
{
    QString path = fname;
    if (QFileInfo(fname).suffix().isEmpty())
        path += QLatin1String(".prm");
    Result r;
    r.path = QFileInfo(path).absoluteFilePath();
    QSaveFile f(r.path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text)) {
        r.error = Tr::tr("Cannot write the block file %1: %2").arg(r.path, f.errorString());
        return r;
    }
    QTextStream out(&f);
    out << "N " << e.blocks << '\n';
    out << "U " << e.blockUnit << '\n';
    const BlockSet &active = e.activeBlocks();
    writeSet(out, QStringLiteral("B"), active, active.shown(), e.measTimes);
    // The scan on show has its count and times in the entry's fields, the
    // other one in the remembered values; each section gets the ones that are
    // current, so that reading the file back restores both scans whichever
    // was shown.
    const bool quick = e.scanType != EntryRows::StepScan;
    const int qn = quick ? e.blocks : e.quickBlockCount;
    const int sn = quick ? e.stepBlockCount : e.blocks;
    out << "QN " << qn << '\n';
    writeSet(out, QStringLiteral("QB"), e.quickBlocks, qn, quick ? e.measTimes : e.quickTimes);
    out << "SN " << sn << '\n';
    writeSet(out, QStringLiteral("SB"), e.stepBlocks, sn, quick ? e.stepTimes : e.measTimes);
    out.flush();
    if (!f.commit()) {
        r.error = Tr::tr("Cannot write the block file %1: %2").arg(r.path, f.errorString());
        return r;
    }
    r.ok = true;
    return r;
}

Result load(const QString &path, Entry &e)
{
    Result r;
    r.path = path;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        r.error = Tr::tr("Cannot read the block file %1: %2").arg(path, f.errorString());
        return r;
    }
    QTextStream in(&f);
    const QString first = in.readLine();
    r.ok = true;
    if (first.contains(QLatin1String("9809")))
        return r; // recognised, and left to the target's own tools
    in.seek(0);

    SetRead quick;
    SetRead step;
    int fileUnit = Units::EV;
    static const QRegularExpression space(QStringLiteral("\\s"));
    while (!in.atEnd()) {
        const QStringList items = in.readLine().simplified().split(space);
        const QString &tag = items.at(0);
        if (tag == QLatin1String("U")) {
            const int u = items.size() > 1 ? toIntOr0(items.at(1)) : int(Units::EV);
            // A unit this program does not have would turn every start into 0.
            if (u >= 0 && u < Units::count())
                fileUnit = u;
        } else if (tag == QLatin1String("QN")) {
            const int n = countFrom(items);
            if (n >= 0 && n <= BlockSet::maxBlocks)
                e.quickBlockCount = n;
        } else if (tag == QLatin1String("SN")) {
            const int n = countFrom(items);
            if (n >= 0 && n <= BlockSet::maxBlocks)
                e.stepBlockCount = n;
        } else if (tag == QLatin1String("QB")) {
            addBlockLine(quick, items);
        } else if (tag == QLatin1String("SB")) {
            addBlockLine(step, items);
        }
    }
    // The rows keep showing the entry's own unit (the one its BlockUnit
    // selector names and the engine announces); the file's unit only says
    // how to read its numbers. Angles are read with the entry's own crystal.
    const double d = e.latticeSpacing();
    e.quickBlocks.setBlocks(e.quickBlockCount, startsInEV(quick.starts, fileUnit, d), quick.points,
                            {});
    // The end line of a section carries a time of 0 that belongs to no block.
    if (quick.times.size() > e.quickBlockCount)
        quick.times = quick.times.mid(0, qMax(e.quickBlockCount, 1));
    if (step.times.size() > e.stepBlockCount)
        step.times = step.times.mid(0, qMax(e.stepBlockCount, 1));
    e.quickTimes = quick.times.join(QLatin1String(", "));
    e.stepBlocks.setBlocks(e.stepBlockCount, startsInEV(step.starts, fileUnit, d), step.points, {});
    e.stepTimes = step.times.join(QLatin1String(", "));
    return r;
}

} // namespace BlockFile
