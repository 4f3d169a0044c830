// SPDX-License-Identifier: GPL-3.0-or-later
// The night as a report: one self-contained HTML file per run, beside the
// journal, written at the end of each run by the run controller, on demand by
// the window's Report button and by "skedra -report JOURNAL [RUN]".
//
// html() is a pure function of the run's journal rows: a timeline (one bar
// per entry from its start to its end, coloured by how it ended, its estimate
// as an outline, the waits for the operator and the periods the target was
// away marked on it), a table of the entries and the totals (the machine's
// time, the time waiting for the operator, the time lost to faults). Inline
// SVG and CSS only, no script and nothing fetched, so that it opens in any
// browser, mailed or attached to a logbook; it is well-formed XML too.
#pragma once

#include "RunJournal.h"

#include <QDateTime>
#include <QList>
#include <QString>

class ConfigStore;
class QTextStream;

namespace NightReport {

// The rows of the run that started at run (invalid: the journal's last run).
QList<JournalRow> rowsOf(const QList<JournalRow> &rows, const QDateTime &run = QDateTime());

struct Totals
{
    double machine = 0;      // the entries' seconds, waits left out
    double operatorWait = 0; // waiting for the operator's prompts
    double lost = 0;         // the target away, and entries that failed
    int done = 0;
    int failed = 0;
    int skipped = 0;
    int stopped = 0;
};
Totals totals(const QList<JournalRow> &runRows);

QString html(const QList<JournalRow> &runRows);

// skedra-report-<run's start>.html beside the journal.
QString pathFor(const QString &journal, const QDateTime &run);

// Reads the journal and writes the report of run (invalid: the last run);
// *path names the file written. On failure returns false and says why.
bool write(const QString &journal, const QDateTime &run, QString *path, QString *error);

// "skedra -report JOURNAL [RUN]": RUN is the start of a run as the journal
// writes it, or its beginning ("2026-12-06T22"). Prints the report's path;
// 0 when it was written, 1 otherwise (said on err).
int reportCommand(const ConfigStore &store, QTextStream &out, QTextStream &err);

} // namespace NightReport
