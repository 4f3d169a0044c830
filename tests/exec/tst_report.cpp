// The night report read back as XML, as a mail client or a logbook would
// take it: one bar per entry coloured by its outcome, the waits and the
// target's absences marked, the totals, nothing that runs or fetches.
#include "Estimate.h"
#include "NightReport.h"

#include <QXmlStreamReader>
#include <QtTest>

namespace {

const QDateTime kRun(QDate(2026, 12, 6), QTime(22, 0), Qt::OffsetFromUTC, 9 * 3600);

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
    QString id;
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
            id = xml.attributes().value(QLatin1String("id")).toString();
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
private slots:
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
        QList<JournalRow> journal;
        JournalRow earlier; // another night: not in this report
        earlier.run = kRun.addDays(-1);
        earlier.entry = 1;
        earlier.outcome = QStringLiteral("done");
        journal << earlier;
        JournalRow started;
        started.run = kRun;
        started.outcome = QStringLiteral("started");
        journal << started;
        QDateTime t = kRun;
        for (const QStringList &c : rows) {
            JournalRow r;
            r.run = kRun;
            r.entry = c.at(0).toInt();
            r.sample = QStringLiteral("S<%1>&").arg(r.entry); // escaped, not markup
            r.outcome = c.at(1);
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
        const Read got = readReport(NightReport::html(NightReport::rowsOf(journal)));
        QVERIFY2(!got.elements.join(' ').contains("XML ERROR"), qPrintable(got.elements.last()));
        QTEST(got.bars, "bars");
        QCOMPARE(got.tableRows, int(got.bars.size()));
        QFETCH(QList<double>, totals);
        QCOMPARE(got.totals.value("machine"), Estimate::format(totals.at(0)));
        QCOMPARE(got.totals.value("operator"), Estimate::format(totals.at(1)));
        QCOMPARE(got.totals.value("lost"), Estimate::format(totals.at(2)));
        QTEST(got.marks.value("prompt"), "prompts");
        QTEST(got.marks.value("lost"), "lost");
        QCOMPARE(got.marks.value("estimate"), int(got.bars.size()));
        QVERIFY(!got.elements.contains("script") && !got.elements.contains("img") &&
                !got.elements.contains("link"));
    }
};

QTEST_GUILESS_MAIN(TstReport)
#include "tst_report.moc"
