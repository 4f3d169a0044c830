#include "Units.h"

#include <cmath>

QString Units::name(int unit)
{
    switch (unit) {
    case 0:
        return QStringLiteral("eV");
    case 1:
        return QStringLiteral("keV");
    case 2:
        return QStringLiteral("A");
    case 3:
        return QStringLiteral("deg");
    default:
        return QString();
    }
}

QString Units::format(int unit)
{
    if (unit == 0)
        return QStringLiteral("% 8.2f");
    if (unit >= 1 && unit < count())
        return QStringLiteral("% 8.5f");
    return QString();
}

QString Units::print(double value, int unit)
{
    if (unit == 0)
        return QString::asprintf("% 8.2f", value);
    if (unit >= 1 && unit < count())
        return QString::asprintf("% 8.5f", value);
    return QString();
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
    case 0:
        return e;
    case 1:
        return eK;
    case 2:
        return finiteOrUnreachable(hcKeVA / eK);
    case 3: {
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
    case 0:
        return v;
    case 1:
        return v * 1000;
    case 2:
        return finiteOrUnreachable(hcKeVA / v * 1000);
    case 3:
        return finiteOrUnreachable(hcKeVA / (2 * d * std::sin(v * pi / 180)) * 1000);
    default:
        return 0;
    }
}
