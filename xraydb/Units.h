// SPDX-License-Identifier: GPL-3.0-or-later
// Display units for energies (eV, keV, A, deg) and the conversions between
// them. The Bragg angle depends on the lattice spacing d of a crystal; every
// conversion takes d explicitly, because each schedule entry has its own
// crystal and no entry may convert with another entry's spacing.
#pragma once

#include <QString>

class Units
{
public:
    static constexpr double pi = 3.14159265358979323846;
    static constexpr double hcKeVA = 12.398424360742055;
    // Si(111): the spacing used where no crystal is known.
    static constexpr double defaultD = 3.13553;

    // The display units, numbered as the unit selector's rows, the schedule
    // and block files and the target's SetBlockUnit number them. Positions
    // stay plain ints wherever they are stored or sent; these names are for
    // the code that compares or switches on them.
    enum Unit { EV = 0, KeV = 1, Angstrom = 2, Degree = 3 };

    static constexpr int count() { return Degree + 1; }
    // "eV", "keV", "A", "deg"; empty for an unknown index.
    static QString name(int unit);

    // e (eV) in a unit; an angle that does not exist gives -1, unit 0 for an
    // unknown unit.
    static double fromEV(double e, int unit, double d);
    static double toEV(double v, int unit, double d);
};
