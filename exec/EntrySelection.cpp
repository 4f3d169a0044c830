// SPDX-License-Identifier: GPL-3.0-or-later
#include "EntrySelection.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(EntrySelection)
};

int number(const QString &text, bool *ok)
{
    const int n = text.trimmed().toInt(ok);
    *ok = *ok && n >= 1;
    return n;
}

} // namespace

namespace EntrySelection {

Result parse(const QString &text, int count)
{
    Result r;
    const QStringList parts = text.split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (parts.isEmpty()) {
        r.error = Tr::tr("-entries names no entry.");
        return r;
    }
    for (const QString &part : parts) {
        const QStringList ends = part.split(QLatin1Char('-'));
        bool okFrom = false;
        bool okTo = false;
        const int from = number(ends.first(), &okFrom);
        const int to = ends.size() == 2 ? number(ends.last(), &okTo) : from;
        if (ends.size() > 2 || !okFrom || (ends.size() == 2 && !okTo) || to < from) {
            r.error = Tr::tr("-entries: \"%1\" is neither an entry number nor a range such as "
                             "3-5.")
                          .arg(part.trimmed());
            return r;
        }
        if (to > count) {
            r.error = Tr::tr("-entries: entry %1 does not exist; the schedule has %2.")
                          .arg(to)
                          .arg(count);
            return r;
        }
        for (int n = from; n <= to; ++n)
            r.numbers.insert(n);
    }
    r.ok = true;
    return r;
}

QList<Entry> apply(QList<Entry> entries, const QSet<int> &numbers)
{
    for (int i = 0; i < entries.size(); ++i)
        entries[i].exec = numbers.contains(i + 1);
    return entries;
}

} // namespace EntrySelection
