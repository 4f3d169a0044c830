// SPDX-License-Identifier: GPL-3.0-or-later
// The night report read back as XML as a mail client would: bars, waits, absences, totals, safe.
#include "Estimate.h"
#include "NightReport.h"

#include "ConfigStore.h"
#include "TestSupport.h"

#include <QtTest>

namespace {

const QDateTime kRun(QDate(2026, 12, 6), QTime(22, 0), Qt::OffsetFromUTC, 9 * 3600);

JournalRow rowOf(const QDateTime &run, int entry, const QString &outcome,
                 const QString &detail = {})
{
    JournalRow r;
    r.run = run;
    r.entry = entry;
    r.outcome = outcome;
    r.detail = detail;
    return r;
}

struct Read
{
    QStringList bars;              // outcome of each bar, top first
    QMap<QString, int> marks;      // rect class -> count
    QMap<QString, QString> totals; // id -> text
    int tableRows = 0;
    QStringList elements;
};

Read readReport(const QString &html)
{
    Read r;
    QXmlStreamReader xml(html);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        r.elements << xml.name().toString();
        const QString cls = xml.attributes().value(QLatin1String("class")).toString();
        if (xml.name() == QLatin1String("rect")) {
            if (cls.startsWith(QLatin1String("bar ")))
                r.bars << cls.mid(4);
            else
                ++r.marks[cls];
        } else if (xml.name() == QLatin1String("td") && xml.attributes().hasAttribute("id")) {
            const QString id = xml.attributes().value(QLatin1String("id")).toString();
            r.totals.insert(id, xml.readElementText());
        } else if (xml.name() == QLatin1String("tr") && cls == QLatin1String("entry")) {
            ++r.tableRows;
        }
    }
    if (xml.hasError())
        r.elements << QStringLiteral("XML ERROR: ") + xml.errorString();
    return r;
}

} // namespace

using Rows = QList<QStringList>; // entry, outcome, seconds, operator wait, target wait

class TstReport : public QObject
{
    Q_OBJECT
    TestSupport::WorkDir m_dir;

private slots:
    // skedra -report JOURNAL [RUN]: the last run or the one begun at RUN; none such is an error.
    void reportCommand()
    {
        const QString j = m_dir.filePath(QStringLiteral("j.csv"));
        QString error;
        for (const QDateTime &start : {kRun.addDays(-1), kRun})
            QVERIFY(RunJournal::append(j, rowOf(start, 0, "started"), &error));
        const QString blockedPath = m_dir.filePath("skedra-report-20261205T220000.html");
        // The run asked for; the report written (none: status 1); a folder where it goes.
        const QList<std::tuple<QString, QString, bool>> rows{
            {"", "skedra-report-20261206T220000.html", false},
            {"2026-12-05T22", "skedra-report-20261205T220000.html", false},
            {"2026-12-05T22", "", true}};
        for (const auto &[run, file, blocked] : rows) {
            ConfigStore store;
            store.parseCommandLine(QStringList{"skedra", "-report", j} +
                                   (run.isEmpty() ? QStringList() : QStringList{run}));
            QFile::remove(blockedPath);
            if (blocked)
                QVERIFY(QDir().mkpath(blockedPath));
            QString printed, said;
            QTextStream out(&printed);
            QTextStream err(&said);
            QCOMPARE(NightReport::reportCommand(store, out, err), file.isEmpty() ? 1 : 0);
            QCOMPARE(QFileInfo(printed.trimmed()).fileName(), file);
            QCOMPARE(said.trimmed().isEmpty(), !file.isEmpty());
            QCOMPARE(said.contains(blockedPath), blocked); // named where it was to go
            QDir(blockedPath).removeRecursively();
        }
    }

    void content_data()
    {
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<QStringList>("bars");
        QTest::addColumn<QList<double>>("totals"); // machine, operator, lost
        QTest::addColumn<int>("prompts");
        QTest::addColumn<int>("lost");
        QTest::newRow("all done, one prompt waited for")
            << Rows{{"1", "done", "100", "0", "0"}, {"2", "done", "120", "20", "0"}}
            << QStringList{"done", "done"} << QList<double>{200, 20, 0} << 1 << 0;
        QTest::newRow("failed, then skipped by the deadline")
            << Rows{{"1", "done", "100", "0", "0"},
                    {"2", "failed", "50", "0", "0"},
                    {"3", "skipped", "0", "0", "0"}}
            << QStringList{"done", "failed", "skipped"} << QList<double>{150, 0, 50} << 0 << 0;
        QTest::newRow("the target away and back")
            << Rows{{"1", "target-lost", "0", "0", "0"},
                    {"1", "repeat", "30", "0", "0"},
                    {"1", "done", "130", "0", "30"},
                    {"2", "stopped", "10", "0", "0"}}
            << QStringList{"done", "stopped"} << QList<double>{110, 0, 30} << 0 << 1;
    }
    void content()
    {
        QFETCH(Rows, rows);
        // Another night's row is not in this report.
        QList<JournalRow> journal{rowOf(kRun.addDays(-1), 1, "done"),
                                  rowOf(kRun, 0, "started", "copy.csv")};
        QDateTime t = kRun;
        for (const QStringList &c : rows) {
            JournalRow r = rowOf(kRun, c.at(0).toInt(), c.at(1));
            r.sample = QStringLiteral("S<%1>&").arg(r.entry); // escaped, not markup
            r.seconds = c.at(2).toDouble();
            r.operatorWait = c.at(3).toDouble();
            r.targetWait = c.at(4).toDouble();
            r.estimated = 100;
            r.started = t;
            t = t.addSecs(qint64(r.seconds));
            r.ended = t;
            if (r.outcome == QLatin1String("repeat"))
                r.started = r.ended;
            journal << r;
        }
        journal << rowOf(kRun, 0, "ended", "finished"); // how the run ended, in its own words
        const QString html = NightReport::html(NightReport::rowsOf(journal));
        QVERIFY(html.contains("the run ended: finished."));
        const Read got = readReport(html);
        QVERIFY2(!got.elements.join(' ').contains("XML ERROR"), qPrintable(got.elements.last()));
        QTEST(got.bars, "bars");
        QCOMPARE(got.tableRows, int(got.bars.size()));
        QFETCH(QList<double>, totals);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(got.totals.value(QStringList{"machine", "operator", "lost"}.at(i)),
                     Estimate::format(totals.at(i)));
        for (const char *outcome : {"done", "failed", "skipped", "stopped"})
            QCOMPARE(got.totals.value(outcome), QString::number(got.bars.count(outcome)));
        QTEST(got.marks.value("prompt"), "prompts");
        QTEST(got.marks.value("lost"), "lost");
        QCOMPARE(got.marks.value("estimate"), int(got.bars.size()));
        QVERIFY(!got.elements.contains("script") && !got.elements.contains("img") &&
                !got.elements.contains("link"));
    }
};

QTEST_GUILESS_MAIN(TstReport)
#include "tst_report.moc"
