#include "RunEstimate.h"

#include "OptionTables.h"

QString scanName(const Entry &e)
{
    return scanTypeTable().label(e.scanType);
}

double estimateSeconds(const Entry &e)
{
    if (e.scanType != EntryRows::StepScan)
        return e.timeFor(0);
    const BlockSet &b = e.activeBlocks();
    double seconds = 0;
    for (int i = 0; i < e.blocks; ++i)
        seconds += b.row(i).points() * e.timeFor(i);
    return seconds;
}

QList<double> estimateEntries(const QList<Entry> &entries, const QMap<QString, double> &ratios)
{
    QList<double> out;
    out.reserve(entries.size());
    for (const Entry &e : entries)
        out << estimateSeconds(e) * ratios.value(scanName(e), 1.0);
    return out;
}
