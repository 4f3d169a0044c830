// Block-definition files: whatever a .prm file holds, reading it must not
// crash and must leave the entry's block rows consistent.
#include "FuzzWidgets.h"
#include "OneBlocks.h"
#include "ScheduleEdit.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    startWidgetHarness();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    static ScheduleEdit *entry = new ScheduleEdit;
    const QString path = dir.filePath(QStringLiteral("fuzz.prm"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    entry->loadBlockFile(path);
    const int blocks = entry->ui.Blocks->value();
    if (blocks < 1 || blocks > 10)
        __builtin_trap();
    entry->toStringList();
    return 0;
}
