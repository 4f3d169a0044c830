// SPDX-License-Identifier: GPL-3.0-or-later
// The run journal: a row when a run starts and when it ends, and one row per
// entry the engine ran, appended to a CSV file (configuration key JOURNAL,
// default skedra-journal.csv in the working directory) and synced to disk as
// each is written, so that a crash of the program or of the PC loses at most
// the entry that was running, and the next start knows the run was cut
// short (RunRecovery.h).
//
// The main window appends a row when the engine reports an entry's end;
// estimates read the rows back (durationRatios) to learn how long each scan
// type really takes on this beamline.
#pragma once

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

struct JournalRow
{
    QDateTime run; // when the run started
    int entry = 0; // number in the list, from 1
    QString holder;
    QString sample;
    QString file;
    QString element;
    QString edge;
    QString scan;
    QDateTime started;
    QDateTime ended;
    double seconds = 0;
    double estimated = 0;
    // done, failed, skipped, stopped; a run's own rows (entry 0): started
    // (detail: the run's copy of the schedule), ended (detail: finished,
    // stopped, failed, incomplete, resumed, not resumed); episodes that cost
    // the night time, for the entry that was running (0: none): target-lost,
    // bus-lost, stalled, repeat (seconds: how long the target was away)
    QString outcome;
    QString detail; // why it failed; empty when done
    // Added later, at the end of the row (journals without them still read):
    // the model's seconds before calibration, and the seconds the entry
    // waited for the operator's prompts and for the target (away, not yet
    // logged in). The calibration learns from the rest, the machine's time.
    double model = 0;
    double operatorWait = 0;
    double targetWait = 0;
    double machineSeconds() const { return qMax(0.0, seconds - operatorWait - targetWait); }
};

namespace RunJournal {

QString defaultPath();
// target-lost, bus-lost, stalled, repeat: a row about an entry's night, not
// about how it ended.
bool isEpisode(const QString &outcome);
QStringList header();
QStringList fields(const JournalRow &row);

// Appends row to the journal at path (the header first when the file is new
// or empty), flushed and synced. On failure returns false and says why.
bool append(const QString &path, const JournalRow &row, QString *error);

// Every row of a journal. A line that does not read as a row (the torn last
// line of a crash) is skipped and named in *warnings.
QList<JournalRow> read(const QString &path, QStringList *warnings = nullptr);

// The rows an estimate learns from: entries done in the last `runs` runs,
// with a model figure.
QList<JournalRow> learnable(const QList<JournalRow> &rows, int runs = 5);
// The model's seconds of a row (its estimate in journals older than the column).
double modelOf(const JournalRow &row);
double median(QList<double> values);

// For each scan type, the median of machine time / model over the rows of
// the last `runs` runs that ended well and had an estimate.
QMap<QString, double> durationRatios(const QList<JournalRow> &rows, int runs = 5);

} // namespace RunJournal
