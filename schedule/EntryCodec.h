// SPDX-License-Identifier: GPL-3.0-or-later
// Schedule lines ⇄ entries: the fields of one line of a schedule file, in
// column order, and the Entry they describe.
//
// Columns: 0 holder, 1 sample id, 2 comment, 3 reference sample, 4 data file,
// 5 element, 6 edge, 7 dark, 8 tuning, 9 crystal ("-" for the automatic
// choice), 10 scan type, 11 measurement mode, 12 block definition, 13
// standard type, 14 block-definition file, 15 measurement times, 16 block
// count, 17 block unit, then start, Points and Delta of each block of the
// active scan. Selectors are written as the labels of their option tables.
#pragma once

#include "Entry.h"

#include <QStringList>

namespace EntryCodec {

QStringList toFields(const Entry &e);

// Sets e from fields in the column order above, as the editor does when a
// line is pasted into it: columns that are missing keep e's values. Errors
// are appended to errors; e.errors and e.warnings become the two lists.
// Returns true when no error was found.
bool fromFields(const QStringList &fields, Entry &e, QStringList &errors, QStringList &warnings);

// A new entry read from fields; its errors and warnings are in the entry.
Entry fromFields(const QStringList &fields);

} // namespace EntryCodec
