// How long each entry of a run takes, for the overview and the run bar's
// times: the duration model (Estimate.h) scaled by what the journal learned
// for the entry's scan type (RunJournal::durationRatios). Every estimate of a
// run comes from here.
#pragma once

#include "Entry.h"
#include "Estimate.h"

#include <QList>
#include <QMap>
#include <QString>

// The scan type's name as the journal and the overview write it.
QString scanName(const Entry &e);
// Every entry's estimate, scaled by ratios (scan name -> measured / estimated).
QList<double> estimateEntries(const QList<Entry> &entries, const QMap<QString, double> &ratios,
                              const Estimate::Params &params);
