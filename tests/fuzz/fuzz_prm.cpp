// SPDX-License-Identifier: GPL-3.0-or-later
// Block-definition files: loading any bytes keeps the block counts within limits.
#define FUZZ_SCHEDULE
#include "BlockFile.h"
#include "Entry.h"
#include "EntryCodec.h"
#include "FuzzCommon.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    static Entry entry = Entry::defaults();
    const QString path = dir.filePath(QStringLiteral("fuzz.prm"));
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(reinterpret_cast<const char *>(data), qint64(size));
    f.close();
    BlockFile::load(path, entry);
    for (int n : {entry.blocks, entry.quickBlockCount, entry.stepBlockCount,
                  entry.quickBlocks.shown(), entry.stepBlocks.shown()})
        check(n >= 0 && n <= BlockSet::maxBlocks);
    EntryCodec::toFields(entry);
    entry.selectScanType(1 - entry.scanType);
    return 0;
}
