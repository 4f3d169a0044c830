// SPDX-License-Identifier: GPL-3.0-or-later
#include "Estimate.h"

#include "BlockFile.h"
#include "ConfigStore.h"
#include "Entry.h"

#include <cmath>

namespace {

void readKey(const ConfigStore &store, const char *key, double &value)
{
    const QString text = store.valueNoCase(QString::fromLatin1(key));
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (ok && v >= 0 && std::isfinite(v))
        value = v;
}

} // namespace

namespace Estimate {

Params Params::fromConfig(const ConfigStore &store)
{
    Params p;
    readKey(store, "EST_POINT_OVERHEAD", p.pointOverhead);
    readKey(store, "EST_MOVE", p.move);
    readKey(store, "EST_HOLDER_MOVE", p.holderMove);
    readKey(store, "EST_DARK", p.dark);
    readKey(store, "EST_ENTRY_OVERHEAD", p.entryOverhead);
    return p;
}

int standardBlockCount(const Entry &e)
{
    // A type without a standard set leaves the entry's blocks as they are.
    const int n = Entry::standardBlockCount(e.scanType, e.stdBlockType);
    return n > 0 ? n : e.activeBlocks().shown();
}

double measurement(const Entry &e, const Params &p)
{
    // The blocks the target measures: its standard set, the file's blocks
    // with the entry's count, or the entry's own.
    Entry blocks = e;
    int n = e.blocks;
    if (e.blockDefType == EntryRows::StandardBlocks) {
        blocks.selectStdBlockType(e.stdBlockType);
        n = blocks.activeBlocks().shown();
    } else if (e.blockDefType == EntryRows::FileBlocks) {
        BlockFile::load(e.blockDefFile, blocks);
    }
    const BlockSet &set = blocks.activeBlocks();
    double total = 0;
    // A block of the entry's own or a file's runs from its row to the next:
    // the engine sends no block past the last row, whatever the count says.
    const int rows =
        e.blockDefType == EntryRows::StandardBlocks ? set.rowCount() : set.rowCount() - 1;
    for (int i = 0; i < n && i < rows; ++i) {
        const double t = e.timeFor(i);
        if (e.scanType == EntryRows::QuickScan) {
            total += t;
        } else {
            const int points = qMax(0, set.row(i).points());
            total += points * (t + p.pointOverhead);
        }
    }
    return std::isfinite(total) && total > 0 ? total : 0;
}

QString format(double seconds)
{
    // A nonsense figure must not overflow the conversion: cap it at 1e12 s.
    const qint64 s =
        std::isfinite(seconds) && seconds > 0 ? qint64(std::ceil(qMin(seconds, 1e12))) : 0;
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600)
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

QString format(const Figure &f)
{
    if (!f.hasSpread())
        return format(f.seconds);
    const qint64 s = std::isfinite(f.spread) ? qint64(std::ceil(qMin(f.spread, 1e12))) : 0;
    return QStringLiteral("%1 \u00b1 %2:%3")
        .arg(format(f.seconds))
        .arg(s / 60)
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

} // namespace Estimate
