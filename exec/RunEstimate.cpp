// SPDX-License-Identifier: GPL-3.0-or-later
#include "RunEstimate.h"

#include "BlockFile.h"
#include "ExecPlan.h"
#include "OptionTables.h"
#include "RunJournal.h"

#include <cmath>

QString scanName(const Entry &e)
{
    return scanTypeTable().label(e.scanType);
}

namespace RunEstimate {

Calibration Calibration::fromJournal(const QList<JournalRow> &rows, int runs)
{
    Calibration c;
    c.byScan = RunJournal::durationRatios(rows, runs);
    QMap<QString, QList<double>> kinds;
    for (const JournalRow &r : RunJournal::learnable(rows, runs))
        kinds[kindOf(r.scan, r.element, r.edge)] << r.machineSeconds() / RunJournal::modelOf(r);
    for (auto it = kinds.cbegin(); it != kinds.cend(); ++it) {
        const QList<double> &v = it.value();
        if (v.size() < kEnoughHistory)
            continue;
        double mean = 0;
        for (double x : v)
            mean += x;
        mean /= double(v.size());
        double sq = 0;
        for (double x : v)
            sq += (x - mean) * (x - mean);
        c.byKind.insert(it.key(), {RunJournal::median(v), std::sqrt(sq / double(v.size() - 1))});
    }
    return c;
}

QString kindOf(const QString &scan, const QString &element, const QString &edge)
{
    return scan + QLatin1Char('|') + element + QLatin1Char('|') + edge;
}

QString kindOf(const Entry &e)
{
    return kindOf(scanName(e), e.elementSymbol(), e.targetCore);
}

double model(const Entry &cur, const Entry *prev, const Estimate::Params &p)
{
    // The engine compares with the entry as it measured it: a block file's
    // blocks in place of the entry's own.
    std::optional<Entry> measured;
    if (prev && prev->blockDefType == EntryRows::FileBlocks) {
        measured = *prev;
        BlockFile::load(prev->blockDefFile, *measured);
        prev = &*measured;
    }
    double seconds = Estimate::measurement(cur, p) + p.entryOverhead;
    const StageResult moves = runStage(Stage::Move, {cur, prev, 0, 0});
    if (moves.hold.contains(ExecFlags::MainThMoving))
        seconds += p.move;
    if (moves.hold.contains(ExecFlags::SHolderMoving))
        seconds += p.holderMove;
    if (cur.measDark == 1)
        seconds += p.dark;
    return seconds;
}

Estimate::Figure estimate(const Entry &cur, const Entry *prev, const Estimate::Params &params,
                          const Calibration &calibration)
{
    Estimate::Figure f;
    f.model = model(cur, prev, params);
    const auto kind = calibration.byKind.constFind(kindOf(cur));
    if (kind != calibration.byKind.cend()) {
        f.seconds = f.model * kind->ratio;
        f.spread = f.model * kind->spread;
    } else {
        f.seconds = f.model * calibration.byScan.value(scanName(cur), 1.0);
    }
    return f;
}

QList<Estimate::Figure> estimateList(const QList<Entry> &entries, const Estimate::Params &params,
                                     const Calibration &calibration)
{
    QList<Estimate::Figure> out;
    out.reserve(entries.size());
    const Entry *prev = nullptr;
    for (const Entry &e : entries) {
        out << estimate(e, prev, params, calibration);
        if (e.exec)
            prev = &e;
    }
    return out;
}

bool fits(const QDateTime &now, const Estimate::Figure &f, const QDateTime &deadline)
{
    if (!deadline.isValid())
        return true;
    const double seconds = f.seconds + qMax(0.0, f.spread);
    return std::isfinite(seconds) && now.addMSecs(qint64(std::ceil(seconds * 1000))) <= deadline;
}

QTime clockTime(const QString &text)
{
    return QTime::fromString(text.trimmed(), QStringLiteral("H:mm"));
}

QDateTime nextAt(const QDateTime &now, const QTime &time)
{
    if (!time.isValid())
        return {};
    QDateTime at = now; // the same zone or offset
    at.setTime(time);
    if (at <= now)
        at = at.addDays(1);
    return at;
}

} // namespace RunEstimate
