// SPDX-License-Identifier: GPL-3.0-or-later
// The checks of schedule entries before they reach the target: what would be
// sent as garbage (errors) and what is certain to go wrong without stopping
// the run (warnings).
//
// How the pieces fit: check() looks at one entry as a value; checkSchedule()
// adds what only shows across the list (two ticked entries writing the same
// data file). The editor (ScheduleEdit) shows the findings on its E./W.
// buttons as fields change; Start refuses a run while a ticked entry has
// errors; the dry run and the command line's -check list them. The codec's
// two errors (EntryCodec.h) concern the schedule line itself and are kept on
// the entry until it is edited; errorsAtStart() joins both.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct Entry;

namespace EntryCheck {

struct Findings
{
    QStringList errors;
    QStringList warnings;
};

// The rules of one entry. A block-definition file is read (as the engine
// reads it, relative to the working directory) to check its blocks.
Findings check(const Entry &e);

// Warnings that concern several entries, one list per entry of the schedule
// (empty for most). Only ticked entries count.
QList<QStringList> checkSchedule(const QList<Entry> &entries);

// Values read that name nothing known and are kept as read (an element, a
// choice of an option table): one error each, naming the field and the text.
QStringList unknownTextErrors(const Entry &e);

// The entry's own errors (from the codec or an earlier check) together with
// those of a fresh check, each once.
QStringList errorsAtStart(const Entry &e);

// Sets the entry's errors and warnings to those of a fresh check.
void refresh(Entry &e);
// Adds the findings of a fresh check to those the entry already has (the
// codec's, when it was just read).
void addFindings(Entry &e);

// Whether every character of text can go out on the bus (Latin-1).
bool sendable(const QString &text);

} // namespace EntryCheck
