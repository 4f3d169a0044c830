// SPDX-License-Identifier: GPL-3.0-or-later
#include "EntryText.h"

#include "ConfigStore.h"
#include "Units.h"

#include <QStringList>

namespace EntryText {

QString g6(double v)
{
    return QString::number(v, 'g', 6);
}

double measTimeFor(const QString &text, int i)
{
    QString t = text;
    t.replace(QLatin1Char(','), QLatin1Char(' '));
    const QStringList items = t.simplified().split(QLatin1Char(' '));
    // split() always yields at least one (possibly empty) item
    const int k = (i >= 0 && i < items.size()) ? i : (i < 0 ? 0 : int(items.size()) - 1);
    return toDoubleOr0(items.at(k));
}

double parseTypedStart(const QString &text, int unit, double origin, double d, bool *relative)
{
    if (!text.isEmpty() && text.at(0).toUpper() == QLatin1Char('R')) {
        const double v = toDoubleOr0(text.mid(1));
        if (relative)
            *relative = true;
        // In eV and keV an offset is linear. A wavelength or an angle is not:
        // there the offset is taken in the display unit from the edge's own
        // value, which is exactly how the row shows it again, so a relative
        // text read back gives the same position.
        if (unit == Units::Angstrom || unit == Units::Degree)
            return Units::toEV(Units::fromEV(origin, unit, d) + v, unit, d);
        return Units::toEV(v, unit, d) + origin;
    }
    if (relative)
        *relative = false;
    return Units::toEV(toDoubleOr0(text), unit, d);
}

QString startTextFor(double pos, int unit, double origin, bool relative, double d)
{
    double v = Units::fromEV(pos, unit, d);
    if (relative) {
        v -= Units::fromEV(origin, unit, d);
        return QLatin1String("R") + g6(v);
    }
    return g6(v);
}

} // namespace EntryText
