// SPDX-License-Identifier: GPL-3.0-or-later
// The X-ray table loader: any bytes load, and what is stored keeps its invariants.
#include "FuzzCommon.h"
#include "XrayDataBase.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly | QIODevice::Text);
    XrayDataBase db;
    db.loadFrom(buffer);
    for (auto it = db.byZ().constBegin(); it != db.byZ().constEnd(); ++it) {
        const aAtom &a = it.value();
        check(a.z == it.key() && a.edges[4].name.isEmpty() && a.lines[4].isEmpty());
        for (int k = 0; k < 4; ++k)
            for (const EmissionLine &l : a.lines[k])
                check(l.shell == db.edgeName(k) && l.energy > 0 && l.rate > 0);
    }
    (void)db.edgeEnergy(QStringLiteral("Fe"), QString());
    return 0;
}
