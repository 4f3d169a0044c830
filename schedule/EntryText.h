// SPDX-License-Identifier: GPL-3.0-or-later
// Text rules shared by the block rows, the schedule entry, block-definition
// files and the schedule file. Pure functions, no widgets, so that they are
// easy to test on their own.
#pragma once

#include <QString>

namespace EntryText {

// A real number with the %g rule at 6 significant digits and a point as
// decimal separator ("0.300107", "8979", "1e+06"), as written on the bus and
// into files.
QString g6(double v);

// Dwell time of block i from a times text such as "1, 1, 5, 10": commas and
// blanks separate the items, a block past the end takes the last item, text
// that is not a number (an empty text included) gives 0.
double measTimeFor(const QString &text, int i);

// Parses a start text in a display unit: absolute ("8979", "9" in keV) or
// relative to origin when it begins with "R"/"r" ("R-40", "R+1100", "R50").
// Returns the absolute energy in eV; *relative tells which form it was. d is
// the lattice spacing of the entry's crystal (for angles).
double parseTypedStart(const QString &text, int unit, double origin, double d, bool *relative);

// The start text shown for a position pos (eV) in a display unit, absolute or
// as "R" and the offset from origin in that unit.
QString startTextFor(double pos, int unit, double origin, bool relative, double d);

} // namespace EntryText
