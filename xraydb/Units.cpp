// SPDX-License-Identifier: GPL-3.0-or-later
#include "Units.h"

#include <cmath>

QString Units::name(int unit)
{
    switch (unit) {
    case EV:
        return QStringLiteral("eV");
    case KeV:
        return QStringLiteral("keV");
    case Angstrom:
        return QStringLiteral("A");
    case Degree:
        return QStringLiteral("deg");
    default:
        return QString();
    }
}

// A zero wavelength or angle has no energy (and a zero energy no wavelength);
// such results are reported as -1, the mark for an unreachable angle, rather
// than as an infinity that would end up in blocks, files and commands.
static double finiteOrUnreachable(double v)
{
    return std::isfinite(v) ? v : -1;
}

double Units::fromEV(double e, int unit, double d)
{
    const double eK = e / 1000;
    switch (unit) {
    case EV:
        return e;
    case KeV:
        return eK;
    case Angstrom:
        return finiteOrUnreachable(hcKeVA / eK);
    case Degree: {
        const double x = hcKeVA / eK / (2 * d);
        if (!(std::fabs(x) <= 1))
            return -1;
        return std::asin(x) * 180 / pi;
    }
    default:
        return 0;
    }
}

double Units::toEV(double v, int unit, double d)
{
    switch (unit) {
    case EV:
        return v;
    case KeV:
        return v * 1000;
    case Angstrom:
        return finiteOrUnreachable(hcKeVA / v * 1000);
    case Degree:
        return finiteOrUnreachable(hcKeVA / (2 * d * std::sin(v * pi / 180)) * 1000);
    default:
        return 0;
    }
}
