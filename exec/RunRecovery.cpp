// SPDX-License-Identifier: GPL-3.0-or-later
#include "RunRecovery.h"

#include "Csv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace {

// Machine-read: never translated.
const QLatin1String kNumbersComment("# entries of the list:");
const QLatin1String kEarlierComment("# failed or not measured earlier in the night:");

// The numbers of the comment line that starts with `comment`, among the
// copy's leading comment lines.
QList<int> numbersIn(const QString &path, QLatin1String comment)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    for (int line = 0; line < 2 && !f.atEnd(); ++line) {
        const QString text = QString::fromUtf8(f.readLine()).trimmed();
        if (!text.startsWith(QLatin1Char('#')))
            return {};
        if (!text.startsWith(comment))
            continue;
        QList<int> numbers;
        for (const QString &n :
             text.mid(comment.size()).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            bool ok = false;
            numbers << n.toInt(&ok);
            if (!ok)
                return {};
        }
        return numbers;
    }
    return {};
}

} // namespace

namespace RunRecovery {

QString numberList(const QList<int> &numbers, const QString &separator)
{
    QStringList out;
    for (int n : numbers)
        out << QString::number(n);
    return out.join(separator);
}

QString copyPathFor(const QString &journalPath, const QDateTime &runStart)
{
    const QDir dir = QFileInfo(journalPath).absoluteDir();
    const QString stem =
        QStringLiteral("skedra-run-") + runStart.toString(QStringLiteral("yyyyMMdd'T'HHmmss"));
    QString path = dir.filePath(stem + QStringLiteral(".csv"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(stem + QStringLiteral("-%1.csv").arg(n));
    return path;
}

bool writeCopy(const QString &path, const QList<Entry> &entries, const QList<int> &listNumbers,
               QString *error, const QList<int> &earlier)
{
    QStringList comments{kNumbersComment + QLatin1Char(' ') +
                         numberList(listNumbers, QStringLiteral(" "))};
    if (!earlier.isEmpty())
        comments << kEarlierComment + QLatin1Char(' ') + numberList(earlier, QStringLiteral(" "));
    const Csv::WriteResult r = Csv::write(path, entries, comments);
    if (!r.ok && error)
        *error = r.error;
    return r.ok;
}

Unfinished lastUnfinished(const QList<JournalRow> &rows, const QString &journalPath)
{
    Unfinished u;
    if (rows.isEmpty() || rows.last().outcome == QLatin1String("ended"))
        return u;
    const QDateTime run = rows.last().run;
    QString copy;
    for (const JournalRow &r : rows) {
        if (r.run != run)
            continue;
        if (r.outcome == QLatin1String("started"))
            copy = r.detail;
        else if (r.entry > 0)
            u.rows << r;
    }
    if (copy.isEmpty())
        return {};
    u.found = true;
    u.run = run;
    u.copyPath = QFileInfo(journalPath).absoluteDir().filePath(copy);
    return u;
}

Plan plan(const Unfinished &run, bool fromNext)
{
    Plan p;
    const Csv::ReadResult read = Csv::read(run.copyPath);
    if (!read.ok) {
        p.error = read.error;
        return p;
    }
    p.ok = true;
    p.entries = read.entries;
    const int n = int(p.entries.size());
    QList<int> numbers = numbersIn(run.copyPath, kNumbersComment);
    if (numbers.size() != n) { // a copy without its numbers: the list was the copy
        numbers.clear();
        for (int i = 1; i <= n; ++i)
            numbers << i;
    }
    QHash<int, int> indexOf;
    for (int i = 0; i < n; ++i)
        indexOf.insert(numbers.at(i), i);

    // The last word of the journal on each entry; the run went through the
    // list in order, so the entry after the last one journaled was running.
    QList<QString> outcome(n);
    int last = -1;
    for (const JournalRow &r : run.rows) {
        const int i = indexOf.value(r.entry, -1);
        if (i < 0)
            continue;
        // An episode (the target lost, a repeat, a stall) says the entry was
        // running, not how it ended.
        outcome[i] = RunJournal::isEpisode(r.outcome) ? QStringLiteral("stopped") : r.outcome;
        last = i;
    }
    for (int i = 0; i < n; ++i) {
        if (outcome.at(i) == QLatin1String("done")) {
            p.done << i;
            p.lastDone = i;
        }
    }
    // A stopped entry was taken up again by Resume before the crash.
    if (last >= 0 && outcome.at(last) == QLatin1String("stopped"))
        p.running = last;
    else if (last + 1 < n)
        p.running = last + 1;
    if (p.running >= 0)
        p.start = fromNext ? (p.running + 1 < n ? p.running + 1 : -1) : p.running;
    const int end = p.start < 0 ? n : p.start;
    for (int i = 0; i < end; ++i) {
        p.entries[i].exec = false;
        if (outcome.at(i) != QLatin1String("done"))
            p.passed << i;
    }
    p.numbers = numbers;
    p.earlier = numbersIn(run.copyPath, kEarlierComment);
    for (int i : std::as_const(p.passed)) {
        if (!p.earlier.contains(numbers.at(i)))
            p.earlier << numbers.at(i);
    }
    std::sort(p.earlier.begin(), p.earlier.end());
    return p;
}

JournalRow startedRow(const QDateTime &run, const QString &copyPath)
{
    JournalRow r;
    r.run = run;
    r.started = run;
    r.outcome = QStringLiteral("started");
    r.detail = QFileInfo(copyPath).fileName();
    return r;
}

JournalRow endedRow(const QDateTime &run, const QString &how, const QDateTime &at)
{
    JournalRow r;
    r.run = run;
    r.ended = at;
    r.outcome = QStringLiteral("ended");
    r.detail = how;
    return r;
}

} // namespace RunRecovery
