// SPDX-License-Identifier: GPL-3.0-or-later
// "-entries 1,3-5": which entries of a loaded schedule a script measures or
// checks. Numbers are the list's, from 1; the others are unticked, so that
// the run's journal and copy keep every entry's place in the schedule.
#pragma once

#include "Entry.h"

#include <QList>
#include <QSet>
#include <QString>

namespace EntrySelection {

struct Result
{
    bool ok = false;
    QString error; // names the part of the list that is wrong
    QSet<int> numbers;
};

// count: the entries the schedule has; a number past it is an error.
Result parse(const QString &text, int count);

// The entries with exactly the selected ones ticked.
QList<Entry> apply(QList<Entry> entries, const QSet<int> &numbers);

} // namespace EntrySelection
