// SPDX-License-Identifier: GPL-3.0-or-later
// How long an entry takes, before it is run: the model's parts. The run's
// estimate of an entry (RunEstimate.h) adds the moves, the dark and the
// calibration from the journal, and every place that shows a duration shows
// that one.
//
// A quick scan takes its measurement time (the sum of its blocks' times); a
// step scan takes, over its blocks, Points × the dwell time of the block (the
// rule the engine sends the times by: a block past the end of the times text
// takes the last one), plus a per-point overhead for each point. Moving the
// monochromator or the sample changer adds a fixed time each, counted by the
// dry run, which knows the entry's neighbour; waits on the operator's prompts
// are not in the figure and are counted apart. The constants come from the
// configuration (EST_POINT_OVERHEAD, EST_MOVE, EST_HOLDER_MOVE, EST_DARK,
// EST_ENTRY_OVERHEAD, in seconds).
#pragma once

#include <QString>

class ConfigStore;
struct Entry;

namespace Estimate {

struct Params
{
    double pointOverhead = 0.5; // s per point of a step scan
    double move = 30;           // s for a monochromator move
    double holderMove = 20;     // s for a sample-changer move
    double dark = 10;           // s for a dark measurement before the scan
    double entryOverhead = 0;   // s per entry: the commands and the target's start

    // The keys that are numbers of 0 or more replace the defaults.
    static Params fromConfig(const ConfigStore &store);
};

// The number of blocks of the entry's standard set (what the target measures
// for standard blocks, as far as this program knows it).
int standardBlockCount(const Entry &e);

// Seconds of the measurement itself, moves and prompts excluded. File blocks
// are read as the engine reads them.
double measurement(const Entry &e, const Params &p);

// "h:mm:ss", whole seconds rounded up.
QString format(double seconds);

// An entry's expected duration and how far the journal's history says it
// strays (spread < 0: not enough history to tell).
struct Figure
{
    double seconds = 0;
    double spread = -1;
    double model = 0; // the model's seconds, before the journal's calibration
    bool hasSpread() const { return spread >= 0; }
};

// "h:mm:ss", with " ± m:ss" when the figure has a spread.
QString format(const Figure &figure);

} // namespace Estimate
