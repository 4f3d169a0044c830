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

    static int count() { return 4; }
    // "eV", "keV", "A", "deg"; empty for an unknown index.
    static QString name(int unit);
    // "% 8.2f" for eV, "% 8.5f" for the others.
    static QString format(int unit);
    // value printed with the unit's format
    static QString print(double value, int unit);

    // e (eV) in a unit; an angle that does not exist gives -1, unit 0 for an
    // unknown unit.
    static double fromEV(double e, int unit, double d);
    static double toEV(double v, int unit, double d);
};
