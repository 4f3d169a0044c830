// SPDX-License-Identifier: GPL-3.0-or-later
// Going on after a crash, with nothing but files.
//
// When a run starts, the main window writes the ticked entries beside the
// journal as the run's own copy (copyPath) and journals a `started` row that
// names it; when the run ends it journals an `ended` row saying how. A run
// whose last row is not `ended` was cut short: the program was killed or
// the PC went down. lastUnfinished() finds such a run in the journal and
// plan() works out, from the copy and the run's entry rows, which entries
// were done, which was running and what a resumed run must measure.
//
// The copy's first line is a comment with each entry's number in the list
// the run was started from, so that the journal's rows (which carry those
// numbers) find their entry in the copy even when unticked entries were
// left out of it.
#pragma once

#include "Entry.h"
#include "RunJournal.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace RunRecovery {

// "skedra-run-20261206T021500.csv" beside the journal; a name taken by an
// earlier run in the same second gets "-2", "-3" and so on.
QString copyPathFor(const QString &journalPath, const QDateTime &runStart);
// Entry numbers as the copy's comments (separator " ") and the log (", ")
// write them.
QString numberList(const QList<int> &numbers, const QString &separator = QStringLiteral(", "));
// Writes the run's copy: the entries whose numbers in the list (from 1) are
// given, atomically. earlier: the numbers of entries that failed or were not
// measured in the runs of the same night this one resumes (a second comment
// line), so that the night's verdict survives every resume. False and *error
// on failure.
bool writeCopy(const QString &path, const QList<Entry> &entries, const QList<int> &listNumbers,
               QString *error, const QList<int> &earlier = {});

// The last run of the journal when it has a `started` row and its last row
// is not `ended`. Runs journaled before copies were kept have no `started`
// row and are never offered.
struct Unfinished
{
    bool found = false;
    QDateTime run;
    QString copyPath;       // beside the journal
    QList<JournalRow> rows; // the run's entry rows, in the journal's order
};
Unfinished lastUnfinished(const QList<JournalRow> &rows, const QString &journalPath);

struct Plan
{
    bool ok = false;
    QString error;        // the copy cannot be read
    QList<Entry> entries; // the copy, entries before `start` unticked
    int lastDone = -1;    // index in entries of the last entry done, -1 for none
    int running = -1;     // the entry that was running, -1 when every entry had ended
    int start = -1;       // where the resumed run begins, -1 for nothing left
    QList<int> done;      // indexes of the entries done in that run
    QList<int> passed;    // indexes before start that ended without being done
    QList<int> numbers;   // each entry's number in the schedule the night began with
    // Numbers of the entries that failed or were not measured earlier in the
    // night: in the runs before, and in this one before start.
    QList<int> earlier;
};
// fromNext: begin after the entry that was running instead of repeating it.
Plan plan(const Unfinished &run, bool fromNext);

// The journal rows that open and close a run.
JournalRow startedRow(const QDateTime &run, const QString &copyPath);
JournalRow endedRow(const QDateTime &run, const QString &how, const QDateTime &at);

} // namespace RunRecovery
