// SPDX-License-Identifier: GPL-3.0-or-later
#include "NightReport.h"

#include "ConfigStore.h"
#include "Estimate.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

#include <algorithm>

namespace {

struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(NightReport)
};

bool isEntryRow(const JournalRow &r)
{
    return r.entry > 0 && !RunJournal::isEpisode(r.outcome);
}

QString esc(const QString &text)
{
    return text.toHtmlEscaped();
}

// The timeline's geometry, in the SVG's own units.
constexpr double kLeft = 150;
constexpr double kWidth = 800;
constexpr double kTop = 28;
constexpr double kLine = 20;
constexpr double kBar = 14;

constexpr const char *kStyle =
    "body{font-family:sans-serif;margin:1.5em;color:#222}"
    "table{border-collapse:collapse;margin-top:1em}"
    "td,th{border:1px solid #bbb;padding:2px 6px;text-align:left}"
    "td.n{text-align:right}"
    ".done{fill:#4a9a4a;color:#2d6b2d}.failed{fill:#c83737;color:#a02020}"
    ".stopped{fill:#888;color:#555}.skipped{fill:#ddd;color:#777}"
    ".estimate{fill:none;stroke:#222;stroke-dasharray:3,2}"
    ".prompt{fill:#f0b429;opacity:0.85}.lost{fill:#7a3fbf;opacity:0.6}"
    "text{font-size:11px;fill:#222}.axis{stroke:#999}";

} // namespace

namespace NightReport {

QList<JournalRow> rowsOf(const QList<JournalRow> &rows, const QDateTime &run)
{
    QDateTime which = run;
    if (!which.isValid()) {
        for (const JournalRow &r : rows) {
            if (!which.isValid() || r.run > which)
                which = r.run;
        }
    }
    // The journal keeps whole seconds: a run's start in memory has more.
    QList<JournalRow> out;
    for (const JournalRow &r : rows) {
        if (r.run.toSecsSinceEpoch() == which.toSecsSinceEpoch())
            out << r;
    }
    return out;
}

Totals totals(const QList<JournalRow> &runRows)
{
    Totals t;
    for (const JournalRow &r : runRows) {
        if (!isEntryRow(r))
            continue;
        t.machine += r.machineSeconds();
        t.operatorWait += r.operatorWait;
        t.lost += r.targetWait;
        if (r.outcome == QLatin1String("done"))
            ++t.done;
        else if (r.outcome == QLatin1String("failed"))
            ++t.failed, t.lost += r.machineSeconds();
        else if (r.outcome == QLatin1String("skipped"))
            ++t.skipped;
        else if (r.outcome == QLatin1String("stopped"))
            ++t.stopped;
    }
    return t;
}

QString html(const QList<JournalRow> &runRows)
{
    QList<JournalRow> entries;
    QDateTime begin;
    QDateTime end;
    QString ending;
    for (const JournalRow &r : runRows) {
        if (!begin.isValid())
            begin = r.run;
        if (isEntryRow(r))
            entries << r;
        if (r.entry == 0 && r.outcome == QLatin1String("ended"))
            ending = r.detail;
        for (const QDateTime &t : {r.started, r.ended}) {
            if (t.isValid() && (!end.isValid() || t > end))
                end = t;
        }
    }
    // The timeline reaches as far as the outlines of the estimates do.
    QDateTime last = end;
    for (const JournalRow &r : std::as_const(entries)) {
        const QDateTime outline = r.started.addMSecs(qint64(r.estimated * 1000));
        if (r.started.isValid() && outline > last)
            last = outline;
    }
    const double span =
        begin.isValid() && last.isValid() ? qMax(1.0, begin.msecsTo(last) / 1000.0) : 1.0;
    const auto x = [&](const QDateTime &t) {
        return kLeft + kWidth * qBound(0.0, begin.msecsTo(t) / 1000.0 / span, 1.0);
    };
    const auto w = [&](double seconds) { return kWidth * qMax(0.0, seconds) / span; };

    // An episode goes on the line of the first measurement of its entry
    // that ended after it.
    const auto lineOf = [&entries](const JournalRow &episode) {
        for (int i = 0; i < entries.size(); ++i) {
            if (entries.at(i).entry == episode.entry && entries.at(i).ended >= episode.started)
                return i;
        }
        return -1;
    };
    QString svg;
    QTextStream s(&svg);
    const double height = kTop + kLine * double(entries.size()) + 10;
    s << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kLeft + kWidth + 20
      << "\" height=\"" << height << "\" viewBox=\"0 0 " << kLeft + kWidth + 20 << ' ' << height
      << "\">";
    // The time axis: five marks from the start to the end.
    for (int i = 0; i <= 4; ++i) {
        const QDateTime t = begin.addMSecs(qint64(span * 1000 * i / 4));
        const double at = kLeft + kWidth * i / 4;
        s << "<line class=\"axis\" x1=\"" << at << "\" y1=\"18\" x2=\"" << at << "\" y2=\""
          << height - 4 << "\"/><text x=\"" << at - 14 << "\" y=\"12\">"
          << t.toString(QStringLiteral("HH:mm")) << "</text>";
    }
    for (int i = 0; i < entries.size(); ++i) {
        const JournalRow &r = entries.at(i);
        const double y = kTop + kLine * i;
        const QString label = r.sample.isEmpty() ? r.file : r.sample;
        s << "<g><text x=\"2\" y=\"" << y + 11 << "\">" << r.entry << ' ' << esc(label.left(20))
          << "</text>";
        s << "<rect class=\"bar " << esc(r.outcome) << "\" x=\"" << x(r.started) << "\" y=\"" << y
          << "\" width=\"" << qMax(1.0, w(r.seconds)) << "\" height=\"" << kBar << "\"><title>"
          << r.entry << ": " << esc(r.outcome) << ' ' << Estimate::format(r.seconds)
          << "</title></rect>";
        if (r.operatorWait > 0)
            s << "<rect class=\"prompt\" x=\"" << x(r.started) << "\" y=\"" << y + 3
              << "\" width=\"" << w(r.operatorWait) << "\" height=\"" << kBar - 6 << "\"/>";
        if (r.estimated > 0)
            s << "<rect class=\"estimate\" x=\"" << x(r.started) << "\" y=\"" << y - 1
              << "\" width=\"" << w(r.estimated) << "\" height=\"" << kBar + 2 << "\"/>";
        // The periods the target was away while this entry was being
        // measured, from each loss to its return (or the entry's end); the
        // entry began again after it, so they lie before its bar.
        for (int k = 0; k < runRows.size(); ++k) {
            const JournalRow &lost = runRows.at(k);
            if (lost.entry != r.entry || lost.outcome != QLatin1String("target-lost") ||
                lineOf(lost) != i)
                continue;
            QDateTime back = r.ended;
            for (int m = k + 1; m < runRows.size(); ++m) {
                if (runRows.at(m).entry == r.entry &&
                    runRows.at(m).outcome == QLatin1String("repeat")) {
                    back = runRows.at(m).ended;
                    break;
                }
            }
            s << "<rect class=\"lost\" x=\"" << x(lost.started) << "\" y=\"" << y + kBar - 3
              << "\" width=\"" << qMax(1.0, x(back) - x(lost.started)) << "\" height=\"4\"/>";
        }
        s << "</g>";
    }
    s << "</svg>";
    s.flush();

    const Totals t = totals(runRows);
    const QString title =
        Tr::tr("Skedra: the run of %1").arg(begin.toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    QString out;
    QTextStream h(&out);
    h << "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\"><head>"
      << "<meta charset=\"utf-8\"/><title>" << esc(title) << "</title><style>" << kStyle
      << "</style></head><body>\n<h1>" << esc(title) << "</h1>\n<p>"
      << esc(Tr::tr("From %1 to %2; the run ended: %3.")
                 .arg(begin.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                      end.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                      ending.isEmpty() ? Tr::tr("no end recorded") : ending))
      << "</p>\n<h2>" << esc(Tr::tr("Timeline")) << "</h2>\n<p>"
      << esc(Tr::tr("Bars: done green, failed red, stopped grey, skipped light; the dashed "
                    "outline is the estimate, yellow the wait for the operator, violet the "
                    "target away."))
      << "</p>\n"
      << svg << "\n<h2>" << esc(Tr::tr("Totals")) << "</h2>\n<table class=\"totals\">";
    const auto total = [&h](const QString &name, const QString &key, const QString &value) {
        h << "<tr><th>" << esc(name) << "</th><td class=\"n\" id=\"" << key << "\">" << value
          << "</td></tr>";
    };
    total(Tr::tr("Machine time"), QStringLiteral("machine"), Estimate::format(t.machine));
    total(Tr::tr("Waiting for the operator"), QStringLiteral("operator"),
          Estimate::format(t.operatorWait));
    total(Tr::tr("Lost to faults"), QStringLiteral("lost"), Estimate::format(t.lost));
    total(Tr::tr("Done"), QStringLiteral("done"), QString::number(t.done));
    total(Tr::tr("Failed"), QStringLiteral("failed"), QString::number(t.failed));
    total(Tr::tr("Skipped"), QStringLiteral("skipped"), QString::number(t.skipped));
    total(Tr::tr("Stopped"), QStringLiteral("stopped"), QString::number(t.stopped));
    h << "</table>\n<h2>" << esc(Tr::tr("Entries")) << "</h2>\n<table class=\"entries\"><tr>";
    for (const QString &head :
         {Tr::tr("No."), Tr::tr("Sample"), Tr::tr("File"), Tr::tr("Element/Edge"), Tr::tr("Scan"),
          Tr::tr("Estimate"), Tr::tr("Actual"), Tr::tr("Outcome"), Tr::tr("Detail")})
        h << "<th>" << esc(head) << "</th>";
    h << "</tr>\n";
    for (const JournalRow &r : std::as_const(entries)) {
        h << "<tr class=\"entry\"><td class=\"n\">" << r.entry << "</td><td>" << esc(r.sample)
          << "</td><td>" << esc(r.file) << "</td><td>" << esc(r.element + QLatin1Char(' ') + r.edge)
          << "</td><td>" << esc(r.scan) << "</td><td class=\"n\">" << Estimate::format(r.estimated)
          << "</td><td class=\"n\">" << Estimate::format(r.seconds) << "</td><td class=\""
          << esc(r.outcome) << "\">" << esc(r.outcome) << "</td><td>" << esc(r.detail)
          << "</td></tr>\n";
    }
    h << "</table>\n</body></html>\n";
    h.flush();
    return out;
}

QString pathFor(const QString &journal, const QDateTime &run)
{
    return QFileInfo(journal).absoluteDir().filePath(
        QStringLiteral("skedra-report-") + run.toString(QStringLiteral("yyyyMMdd'T'HHmmss")) +
        QStringLiteral(".html"));
}

bool write(const QString &journal, const QDateTime &run, QString *path, QString *error)
{
    const QList<JournalRow> rows = rowsOf(RunJournal::read(journal), run);
    if (rows.isEmpty()) {
        if (error)
            *error = run.isValid() ? Tr::tr("The journal %1 has no run of %2.")
                                         .arg(journal, run.toString(Qt::ISODate))
                                   : Tr::tr("The journal %1 has no run.").arg(journal);
        return false;
    }
    const QString file = pathFor(journal, rows.first().run);
    QSaveFile f(file);
    if (!f.open(QIODevice::WriteOnly) || f.write(html(rows).toUtf8()) < 0 || !f.commit()) {
        if (error)
            *error = Tr::tr("Cannot write the night report %1: %2").arg(file, f.errorString());
        return false;
    }
    if (path)
        *path = file;
    return true;
}

int reportCommand(const ConfigStore &store, QTextStream &out, QTextStream &err)
{
    QString rest = store.allRests(QStringLiteral("-report")).value(0).trimmed();
    QString remainder;
    const QString journal = takeItem(rest, &remainder);
    const QString runText = remainder.trimmed();
    if (journal.isEmpty()) {
        err << Tr::tr("-report needs the journal: skedra -report JOURNAL [RUN]") << Qt::endl;
        return 1;
    }
    QDateTime run;
    if (!runText.isEmpty()) {
        // The first run whose start, as the journal writes it, begins so.
        for (const JournalRow &r : RunJournal::read(journal)) {
            if (r.run.toString(Qt::ISODate).startsWith(runText)) {
                run = r.run;
                break;
            }
        }
        if (!run.isValid()) {
            err << Tr::tr("The journal %1 has no run of %2.").arg(journal, runText) << Qt::endl;
            return 1;
        }
    }
    QString path;
    QString error;
    if (!write(journal, run, &path, &error)) {
        err << error << Qt::endl;
        return 1;
    }
    out << path << Qt::endl;
    return 0;
}

} // namespace NightReport
