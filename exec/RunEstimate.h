// How long an entry takes, for the overview and the run bar's times. The
// entry's own measuring time (quick: its first measurement time; step: the
// points of each block times its dwell time) is scaled by what the journal
// learned for its scan type (RunJournal::durationRatios). Every estimate of
// the program comes from here.
#pragma once

#include "Entry.h"

#include <QList>
#include <QMap>
#include <QString>

// The scan type's name as the journal and the overview write it.
QString scanName(const Entry &e);
// Seconds the entry measures, without the journal's correction.
double estimateSeconds(const Entry &e);
// Every entry's estimate, scaled by ratios (scan name -> measured / estimated).
QList<double> estimateEntries(const QList<Entry> &entries, const QMap<QString, double> &ratios);
