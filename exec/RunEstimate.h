// SPDX-License-Identifier: GPL-3.0-or-later
// The one estimate of how long an entry takes, for every place that shows
// one: the editor and the overview (through the schedule model's
// estimator), the dry run (Check), the run bar's countdown and expected end,
// the journal's `estimated` column and the run status peers read.
//
// model() is the duration model: the measurement (Estimate.h) with the
// blocks the engine will send, the monochromator and sample-changer moves
// the command plan sends after the entry above (ExecPlan.h's move stage), the
// dark measurement and the per-entry overhead. estimate() scales it by what
// the journal learned (Calibration): the machine's time of entries done,
// with the waits for the operator and for the target left out, by kind of
// entry (scan type, element, edge) where there is enough history and by
// scan type otherwise; the kind's history also gives the spread.
//
// The deadline rule lives here too: an entry is begun only when its
// estimate and its spread end by the deadline (fits()).
#pragma once

#include "Entry.h"
#include "Estimate.h"

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>

struct JournalRow;

// The scan type's name as the journal and the overview write it.
QString scanName(const Entry &e);

namespace RunEstimate {

// Entries done of one kind before its history counts on its own and gives
// a spread.
constexpr int kEnoughHistory = 3;

struct Calibration
{
    QMap<QString, double> byScan; // scan name -> machine time / model
    struct Kind
    {
        double ratio = 1;  // median of machine time / model
        double spread = 0; // standard deviation of those ratios
    };
    QMap<QString, Kind> byKind; // kindOf() -> its history, when enough

    // From the rows of the last `runs` runs of a journal.
    static Calibration fromJournal(const QList<JournalRow> &rows, int runs = 5);
};

QString kindOf(const QString &scan, const QString &element, const QString &edge);
QString kindOf(const Entry &e);

// The model's seconds of cur measured after prev (null: the first entry of
// a run, every move sent). prev is taken as the engine leaves it: with its
// block file's blocks.
double model(const Entry &cur, const Entry *prev, const Estimate::Params &params);

Estimate::Figure estimate(const Entry &cur, const Entry *prev, const Estimate::Params &params,
                          const Calibration &calibration);

// Every entry of a list, each after the ticked entry above it, as a run
// takes them (an unticked entry changes nothing at the beamline).
QList<Estimate::Figure> estimateList(const QList<Entry> &entries, const Estimate::Params &params,
                                     const Calibration &calibration);

// The entry begun at now ends by the deadline, its spread included.
bool fits(const QDateTime &now, const Estimate::Figure &figure, const QDateTime &deadline);

// "hh:mm" as a time of day; invalid when it is not one.
QTime clockTime(const QString &text);
// The first moment at that time of day after now (today, or tomorrow).
QDateTime nextAt(const QDateTime &now, const QTime &time);

} // namespace RunEstimate
