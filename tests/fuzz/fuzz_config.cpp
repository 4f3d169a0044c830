// Configuration lines: takeItem, the comment rule and the option tables built
// from whatever the lines hold.
#include "ConfigStore.h"
#include "FuzzCommon.h"
#include "OptionTables.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    silenceQtMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = fuzzText(data, size);
    ConfigStore store;
    store.readText(text);
    for (const ConfigEntry &e : store.entries()) {
        QString rest = e.rest;
        while (!rest.isEmpty()) {
            QString next;
            takeItem(rest, &next);
            if (next.size() >= rest.size())
                __builtin_trap(); // takeItem must always make progress
            rest = next;
        }
    }
    CrystalTable crystals;
    crystals.build(store.allRests(QStringLiteral("Crystal")));
    crystals.rowForEnergy(8000);
    SelectionTable dark;
    dark.build(store.allRests(QStringLiteral("DARK")));
    dark.rowOf(QStringLiteral("y"));
    ModeRangeTable hoc;
    hoc.build(store.allRests(QStringLiteral("HOCMode")),
              store.valueNoCase(QStringLiteral("DefaultHOCMode")));
    const int idx = hoc.indexForEnergy(9000);
    if (const ModeRange *r = hoc.rowAt(idx))
        (void)r->low;
    MeasModeMap q;
    q.build(store.allRests(QStringLiteral("Q_MEAS_MODE")));
    q.codeFor(1);
    return 0;
}
