// SPDX-License-Identifier: GPL-3.0-or-later
// The scan an entry plans, as the target will measure it: each block's
// points along the energy, in eV and, above the edge, in photoelectron
// wavenumber k; the dwell per point; the time. The plan plot, the editor's
// k-space region helper, the plan's checks and the dry run read it.
//
// k [1/A] = sqrt((E - E0) / 3.80998 eV): the value of hbar^2/2m_e the
// XAFS community plans with. The target lays a block's points evenly in the
// block's own unit from its start, Points of them, the block's end being the
// next block's start (which is what the estimate counts).
#pragma once

#include "Entry.h"

#include <QList>
#include <QStringList>

namespace ScanPlan {

constexpr double kEvPerK2 = 3.80998; // E - E0 = kEvPerK2 * k^2
// k above the edge; -1 below it (k is not defined there).
double kOf(double eAboveEdge);
double eAboveEdgeOf(double k);

struct Block
{
    double eFrom = 0, eTo = 0; // eV, absolute, as sent
    int points = 0;
    double stepFirst = 0, stepLast = 0; // eV between the first two and the last two points
    double kFrom = -1, kTo = -1;        // -1: below the edge
    double dkFirst = -1, dkLast = -1;   // k steps at both ends; -1 below the edge
    double dwell = 0;                   // s a point
    double seconds = 0;                 // points * dwell
};

struct Plan
{
    double edge = 0; // E0, eV
    QList<Block> blocks;
    QList<double> energies; // every point, eV absolute, in order of measurement
    QList<double> dwells;   // the dwell of each point
    int points = 0;
    double seconds = 0; // dwell time only
};

// The plan of the entry's blocks as they are sent (the standard set, a
// block file's blocks already read into the entry, or its own).
Plan of(const Entry &e);

// What the plan itself says is likely wrong: a point measured twice where
// blocks meet, a step that jumps by more than a factor 3 between
// neighbouring blocks above the edge.
QStringList warnings(const Plan &plan);

// The EXAFS region in k, with a dwell time growing with k:
// t(k) = t0 * (k / k0)^n.
struct Region
{
    double kStart = 3, kEnd = 14, dk = 0.05;
    double t0 = 1, k0 = 3;
    int n = 0;
    int maxBlocks = 6;
};

struct RegionResult
{
    bool ok = false;
    QString error;
    Entry entry;        // the entry with its region's blocks
    int blocksKept = 0; // pre-edge and XANES blocks left as they were
    int blocksWritten = 0;
    double maxDeviation = 0; // largest |dk of a point - dk| / dk
    double seconds = 0;      // dwell time of the region as written
    double lawSeconds = 0;   // the law's ideal: sum of t(k) over the k grid
};

// Writes the region as eV blocks of the entry (user blocks, starts relative
// to the edge), keeping the blocks that end below the region: block
// boundaries fall on the k grid, spaced so that every block's constant step
// strays as little as the blocks allow from dk; each block's dwell is the
// law's at its middle.
RegionResult applyRegion(const Entry &e, const Region &region);

} // namespace ScanPlan
