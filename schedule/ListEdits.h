// SPDX-License-Identifier: GPL-3.0-or-later
// Changes to many entries at once, as a spreadsheet makes them: one field
// set for a selection, the first value filled down, a block of entries
// repeated with its data files numbered on, rows pasted from a spreadsheet
// and copied back to one. Everything here works on entry values and the
// schedule file's fields, so a pasted or bulk-edited entry is read and
// checked exactly as a loaded line is; the overview and the tests call these
// functions, the undo history records what they changed.
#pragma once

#include "Entry.h"

#include <QList>
#include <QStringList>

namespace ListEdits {

// The schedule file's column names, in the file's order (the fields after
// the block unit repeat start, points and delta for each block).
QStringList fieldNames();

// The entry with one field of the schedule file set to text, read as a
// loaded line would be (errors and warnings anew).
Entry withField(const Entry &e, int field, const QString &text);
QString field(const Entry &e, int field);
// The texts a field offers (the option tables, elements and edges); empty:
// free text.
QStringList choices(int field);

// The data-file name `steps` further on: "Cu-0001.dat" → "Cu-0002.dat",
// "a-0009.dat" → "a-0010.dat" (width kept, widened when needed), a name
// without a number after '-', '_' or a blank counts as its own first:
// "a.dat" → "a-0002.dat", "Fe2O3.dat" → "Fe2O3-0002.dat". An empty name
// stays empty (the target makes one).
QString numberedOn(const QString &file, int steps);
// times copies of the entries after each other, data files numbered on.
QList<Entry> repeated(const QList<Entry> &entries, int times);

// Rows as a spreadsheet copies them: tab-separated, quoted where a field
// holds a tab or a quote; a line break in a field is a blank, as in the
// schedule file, so that a row never splits. A header line naming the columns,
// '#' lines and empty lines are passed over; a row without an element is
// refused and named in refused ("row 3: …").
struct Pasted
{
    QList<Entry> entries;
    QStringList refused;
};
Pasted fromTsv(const QString &text);
// The entries as tab-separated rows after a header line, for a spreadsheet.
QString toTsv(const QList<Entry> &entries);

} // namespace ListEdits
