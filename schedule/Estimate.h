// How long an entry takes, before it is run: a small model the dry run and
// the editor share.
//
// A quick scan takes its measurement time (the sum of its blocks' times); a
// step scan takes, over its blocks, Points × the dwell time of the block (the
// rule the engine sends the times by: a block past the end of the times text
// takes the last one), plus a per-point overhead for each point. Moving the
// monochromator or the sample changer adds a fixed time each, counted by the
// dry run, which knows the entry's neighbour; waits on the operator's prompts
// are not in the figure and are counted apart. The constants come from the
// configuration (EST_POINT_OVERHEAD, EST_MOVE, EST_HOLDER_MOVE, in seconds).
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

} // namespace Estimate
