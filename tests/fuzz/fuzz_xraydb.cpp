// libFuzzer harness for the X-ray table loader: any bytes must load without
// a crash, and what is stored must keep the table's invariants.
#include "FuzzCommon.h"
#include "XrayDataBase.h"

#include <QBuffer>

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    silenceQtMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly | QIODevice::Text);
    XrayDataBase db;
    db.loadFrom(buffer);
    for (auto it = db.byZ().constBegin(); it != db.byZ().constEnd(); ++it) {
        const aAtom &a = it.value();
        check(a.z == it.key());
        for (int k = 0; k < 5; ++k) {
            for (const EmissionLine &l : a.lines[k])
                check(l.shell == db.edgeName(k) && l.energy > 0 && l.rate > 0);
        }
        check(a.edges[4].name.isEmpty() && a.lines[4].isEmpty());
    }
    (void)db.edgeEnergy(QStringLiteral("Fe"), QString());
    (void)db.zFor(QStringLiteral("26"));
    return 0;
}
