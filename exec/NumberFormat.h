// Real numbers sent on the bus and shown in prompts: the %g rule with six
// significant digits, trailing zeros dropped, a point as decimal separator and
// at least two exponent digits (8779, 8.77912, 1e-05), whatever the locale.
#pragma once

#include <QString>

inline QString formatG(double v)
{
    return QString::number(v, 'g', 6);
}
