// SPDX-License-Identifier: GPL-3.0-or-later
#include "RunJournal.h"

#include "Csv.h"

#include <QCoreApplication>
#include <QFile>
#include <QSet>
#include <QTextStream>

#include <algorithm>

#include <unistd.h>

namespace {

struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(RunJournal)
};

QString isoOrEmpty(const QDateTime &t)
{
    return t.isValid() ? t.toString(Qt::ISODate) : QString();
}

} // namespace

namespace RunJournal {

bool isEpisode(const QString &outcome)
{
    return outcome == QLatin1String("target-lost") || outcome == QLatin1String("bus-lost") ||
           outcome == QLatin1String("stalled") || outcome == QLatin1String("repeat");
}

QString defaultPath()
{
    return QStringLiteral("skedra-journal.csv");
}

QStringList header()
{
    return {
        QStringLiteral("run"),           QStringLiteral("entry"),      QStringLiteral("holder"),
        QStringLiteral("sample"),        QStringLiteral("file"),       QStringLiteral("element"),
        QStringLiteral("edge"),          QStringLiteral("scan"),       QStringLiteral("started"),
        QStringLiteral("ended"),         QStringLiteral("seconds"),    QStringLiteral("estimated"),
        QStringLiteral("outcome"),       QStringLiteral("detail"),     QStringLiteral("model"),
        QStringLiteral("operator_wait"), QStringLiteral("target_wait")};
}

namespace {
// The columns of journals written before the model and the waits were kept.
constexpr int kOldColumns = 14;
} // namespace

QStringList fields(const JournalRow &r)
{
    return {isoOrEmpty(r.run),
            QString::number(r.entry),
            r.holder,
            r.sample,
            r.file,
            r.element,
            r.edge,
            r.scan,
            isoOrEmpty(r.started),
            isoOrEmpty(r.ended),
            QString::number(r.seconds, 'f', 1),
            QString::number(r.estimated, 'f', 1),
            r.outcome,
            r.detail,
            QString::number(r.model, 'f', 1),
            QString::number(r.operatorWait, 'f', 1),
            QString::number(r.targetWait, 'f', 1)};
}

bool append(const QString &path, const JournalRow &row, QString *error)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        if (error)
            *error = Tr::tr("Cannot write the run journal %1: %2").arg(path, f.errorString());
        return false;
    }
    QByteArray text;
    const qint64 size = f.size();
    if (size == 0) {
        text += Csv::joinLine(header()).toUtf8() + '\n';
    } else {
        // A crash in the middle of a row left it without its line end; the
        // new row goes on a line of its own, or it would be read as part of
        // the torn one and lost with it.
        QFile last(path);
        if (last.open(QIODevice::ReadOnly) && last.seek(size - 1) && last.read(1) != "\n")
            text += '\n';
    }
    text += Csv::joinLine(fields(row)).toUtf8() + '\n';
    // One write and a sync: a cut leaves the rows before this one whole.
    const bool ok = f.write(text) == text.size() && f.flush() && ::fsync(f.handle()) == 0;
    if (ok && size == 0)
        Csv::syncFolderOf(path); // a new journal: its name must survive too
    if (!ok && error)
        *error = Tr::tr("Cannot write the run journal %1: %2").arg(path, f.errorString());
    return ok;
}

QList<JournalRow> read(const QString &path, QStringList *warnings)
{
    QList<JournalRow> rows;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return rows;
    QTextStream in(&f);
    const int columns = int(header().size());
    int lineNo = 0;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        ++lineNo;
        if (line.isEmpty() || line.startsWith(QLatin1String("run,entry,")))
            continue;
        QStringList c = Csv::splitLine(line);
        if (c.size() == kOldColumns - 1 && line.endsWith(QLatin1Char(',')))
            c << QString(); // an empty detail leaves no field after the last comma
        JournalRow r;
        bool ok = c.size() == columns || c.size() == kOldColumns;
        if (ok) {
            r.run = QDateTime::fromString(c.at(0), Qt::ISODate);
            r.entry = c.at(1).toInt(&ok);
            r.holder = c.at(2);
            r.sample = c.at(3);
            r.file = c.at(4);
            r.element = c.at(5);
            r.edge = c.at(6);
            r.scan = c.at(7);
            r.started = QDateTime::fromString(c.at(8), Qt::ISODate);
            r.ended = QDateTime::fromString(c.at(9), Qt::ISODate);
            bool secOk = false;
            bool estOk = false;
            r.seconds = c.at(10).toDouble(&secOk);
            r.estimated = c.at(11).toDouble(&estOk);
            r.outcome = c.at(12);
            r.detail = c.at(13);
            ok = ok && r.run.isValid() && secOk && estOk;
            if (ok && c.size() == columns) {
                bool a = false, b = false, d = false;
                r.model = c.at(14).toDouble(&a);
                r.operatorWait = c.at(15).toDouble(&b);
                r.targetWait = c.at(16).toDouble(&d);
                ok = a && b && d;
            }
        }
        if (!ok) {
            if (warnings)
                *warnings << Tr::tr("Run journal %1, line %2 is incomplete and was skipped.")
                                 .arg(path)
                                 .arg(lineNo);
            continue;
        }
        rows << r;
    }
    return rows;
}

QList<JournalRow> learnable(const QList<JournalRow> &rows, int runs)
{
    QList<QDateTime> starts;
    for (const JournalRow &r : rows) {
        if (!starts.contains(r.run))
            starts << r.run;
    }
    std::sort(starts.begin(), starts.end());
    const QSet<QDateTime> recent(starts.end() - qMin<qsizetype>(runs, starts.size()), starts.end());
    QList<JournalRow> out;
    for (const JournalRow &r : rows) {
        if (recent.contains(r.run) && r.outcome == QLatin1String("done") && modelOf(r) > 0)
            out << r;
    }
    return out;
}

double modelOf(const JournalRow &r)
{
    // Journals from before the model column learn from the estimate.
    return r.model > 0 ? r.model : r.estimated;
}

double median(QList<double> v)
{
    if (v.isEmpty())
        return 0;
    std::sort(v.begin(), v.end());
    const qsizetype n = v.size();
    return n % 2 ? v.at(n / 2) : (v.at(n / 2 - 1) + v.at(n / 2)) / 2;
}

QMap<QString, double> durationRatios(const QList<JournalRow> &rows, int runs)
{
    QMap<QString, QList<double>> byScan;
    for (const JournalRow &r : learnable(rows, runs))
        byScan[r.scan] << r.machineSeconds() / modelOf(r);
    QMap<QString, double> ratios;
    for (auto it = byScan.begin(); it != byScan.end(); ++it)
        ratios.insert(it.key(), median(it.value()));
    return ratios;
}

} // namespace RunJournal
