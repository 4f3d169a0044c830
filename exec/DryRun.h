// SPDX-License-Identifier: GPL-3.0-or-later
// The dry run: the exact commands a schedule would send, the prompts the
// operator would answer and how long it would take, without a bus.
//
// run() walks the ticked entries as the engine does (each entry after its
// list neighbour above) and calls the command plan (ExecPlan.h) against a
// target that answers at once: every move ends, the block count is the
// configured DRYRUN_BLOCK_NUM (or the entry's standard set), every
// measurement ends. Each entry's duration is the run's one estimate
// (RunEstimate.h), calibrated by the journal; with a deadline (END_BY,
// -end-by) each entry says whether it fits before it, as the run decides.
// Each line is written as the bus client writes it, from
// the own node name to the target's remote address. Entries with errors
// (EntryCheck.h) are listed with their errors and no commands. The Check
// button shows the listing in a window; "skedra -check" prints it.
#pragma once

#include "Entry.h"
#include "Estimate.h"
#include "RunEstimate.h"

#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class ConfigStore;
class QTextStream;

namespace DryRun {

struct Setup
{
    QString node = QStringLiteral("Tarnix");          // own name on the bus
    QString target = QStringLiteral("Dorvan.remote"); // the target's remote address
    // (receiver, text) of the configured commands sent when the target logs in.
    QList<QPair<QString, QString>> onTargetReady;
    int blockNum = 0; // the answer to GetBlockNum; 0: the entry's standard set
    Estimate::Params est;
    RunEstimate::Calibration calibration;
    QTime endBy; // the deadline's time of day; invalid: none

    // NAME_ON_TOLVA, TARGET_NAME_ON_TOLVA, INIT_CMDS_ON_CONNECTED_TO_TARGET,
    // DRYRUN_BLOCK_NUM, the EST_ keys, the JOURNAL's calibration and END_BY
    // (or -end-by), with the bus client's defaults.
    static Setup fromConfig(const ConfigStore &store);
};

struct Result
{
    QStringList lines;         // the listing
    int entriesWithErrors = 0; // ticked entries that Start would refuse
    double seconds = 0;        // estimated duration of the ticked entries
    int prompts = 0;           // operator prompts, their waits not counted
    int fitting = -1;          // ticked entries begun before the deadline; -1: none set
};

// now: when the run would start (for the expected end).
Result run(const QList<Entry> &entries, const Setup &setup, const QDateTime &now);

// The bus line as the client writes it: line breaks as blanks, characters
// beyond Latin-1 as '?'.
QString busLine(const Setup &setup, const QString &to, const QString &text);

// "skedra -check [-load FILE]": the listing of the schedule file (none: an
// empty schedule) on out. Returns the exit status: 0 when no ticked entry
// has errors, 1 when one has or the file cannot be read (said on err).
int checkCommand(const ConfigStore &store, QTextStream &out, QTextStream &err,
                 const QDateTime &now);

} // namespace DryRun
