// SPDX-License-Identifier: GPL-3.0-or-later
// Configuration text: takeItem, the comment rule and the option tables built from it.
#include "ConfigStore.h"
#include "FuzzCommon.h"
#include "OptionTables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ConfigStore store;
    store.readText(fuzzText(data, size));
    for (const ConfigEntry &e : store.entries())
        for (QString rest = e.rest, next; !rest.isEmpty(); rest = next) {
            takeItem(rest, &next);
            check(next.size() < rest.size()); // takeItem always makes progress
        }
    CrystalTable crystals;
    crystals.build(store.allRests(QStringLiteral("Crystal")));
    crystals.rowForEnergy(8000);
    ModeRangeTable hoc;
    hoc.build(store.allRests(QStringLiteral("HOCMode")),
              store.valueNoCase(QStringLiteral("DefaultHOCMode")));
    if (const ModeRange *r = hoc.rowAt(hoc.indexForEnergy(9000)))
        (void)r->low;
    MeasModeMap q;
    q.build(store.allRests(QStringLiteral("Q_MEAS_MODE")));
    q.codeFor(1);
    return 0;
}
