// SPDX-License-Identifier: GPL-3.0-or-later
// The schedule file: one comma-separated line per schedule entry, no header.
// Each entry's fields come from the codec (EntryCodec.h); these functions only
// quote, split and move lines, and say what they read and why they failed.
// The main window calls write() and read() from its file dialog; the command
// line and the tests call them headless.
#pragma once

#include "Entry.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace Csv {

// A field as written: quotes doubled and the field wrapped in quotes when
// it holds a quote, wrapped when it holds the separator, else unchanged.
QString quote(const QString &field, QChar separator = QLatin1Char(','));
// Splits one line into fields (separated by commas in the schedule file, by
// tabs in what a spreadsheet copies).
QStringList splitLine(const QString &line, QChar separator = QLatin1Char(','));
// One line of fields as written, without the line end. Line breaks inside a
// field are written as blanks, so that a field never splits an entry.
// The same with tabs, for a spreadsheet.
QString joinLine(const QStringList &contents, QChar separator = QLatin1Char(','));

struct ReadResult
{
    bool ok = false;      // the file could be read
    QString error;        // why not, for the operator
    QList<Entry> entries; // one per line that is not empty or a comment
};

// Reads every line of a schedule file into entries (errors on the entries).
ReadResult read(const QString &path);
// The same from text already in memory.
QList<Entry> parse(const QString &text);

struct WriteResult
{
    bool ok = false;
    QString path; // the file written (or that could not be)
    QString error;
};

// Writes the entries, replacing the file only once everything is written and
// synced to disk: a failed save, or a power cut at any moment, leaves either
// the old file or the new one. ".csv" is added when the name has no suffix,
// so that the file dialog's filter finds it again. Comment lines (each
// starting with '#') go first.
WriteResult write(const QString &path, const QList<Entry> &entries,
                  const QStringList &comments = {});

// Syncs the folder that holds path, so that a file just created or renamed
// there survives a power cut.
void syncFolderOf(const QString &path);

} // namespace Csv
