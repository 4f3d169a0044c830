// Block-definition files: whatever a .prm file holds, loading it must not
// crash and must leave the entry's block counts where an editor can show them.
#include "BlockFile.h"
#include "Entry.h"
#include "EntryCodec.h"
#include "FuzzTables.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    startScheduleHarness();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    static Entry entry = Entry::defaults();
    const QString path = dir.filePath(QStringLiteral("fuzz.prm"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    BlockFile::load(path, entry);
    for (int n : {entry.blocks, entry.quickBlockCount, entry.stepBlockCount,
                  entry.quickBlocks.shown(), entry.stepBlocks.shown()}) {
        if (n < 0 || n > BlockSet::maxBlocks)
            __builtin_trap();
    }
    EntryCodec::toFields(entry);
    entry.selectScanType(1 - entry.scanType);
    return 0;
}
