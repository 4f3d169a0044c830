#include "RunEstimate.h"

#include "OptionTables.h"

QString scanName(const Entry &e)
{
    return scanTypeTable().label(e.scanType);
}

QList<double> estimateEntries(const QList<Entry> &entries, const QMap<QString, double> &ratios,
                              const Estimate::Params &params)
{
    QList<double> out;
    out.reserve(entries.size());
    for (const Entry &e : entries)
        out << Estimate::measurement(e, params) * ratios.value(scanName(e), 1.0);
    return out;
}
