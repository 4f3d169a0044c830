// What a run leaves and tells: the journal file row by row, the learned
// duration ratios, the run bar's times on a fake clock, and the overview's
// outcomes.
#include "EntryPlanEnv.h"
#include "RunEstimate.h"
#include "RunEta.h"
#include "RunJournal.h"
#include "RunOverview.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDateTime kT0(QDate(2026, 12, 6), QTime(22, 0), Qt::OffsetFromUTC, 9 * 3600);

JournalRow row(const QDateTime &run, int entry, const QString &scan, double seconds,
               double estimated, const QString &outcome = QStringLiteral("done"))
{
    JournalRow r;
    r.run = run;
    r.entry = entry;
    r.holder = QString::number(entry);
    r.sample = QStringLiteral("S, %1").arg(entry); // a comma must survive
    r.scan = scan;
    r.started = run.addSecs(60 * entry);
    r.ended = r.started.addSecs(qint64(seconds));
    r.seconds = seconds;
    r.estimated = estimated;
    r.outcome = outcome;
    return r;
}

} // namespace

class TstRun : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(EntryPlanEnv::setUp()); }

    void journalRowsSurviveAndATornLineIsSkipped()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("journal.csv");
        QString error;
        QVERIFY(RunJournal::append(path, row(kT0, 1, "Quick", 310, 300), &error));
        QVERIFY(RunJournal::append(path, row(kT0, 2, "Step", 0, 900, "failed"), &error));
        QFile f(path);
        QVERIFY(f.open(QIODevice::Append));
        f.write("2026-12-06T23:00:00+09:00,3,3,S3"); // cut in the middle of a row
        f.close();
        QStringList warnings;
        const QList<JournalRow> rows = RunJournal::read(path, &warnings);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows.at(0).sample, QStringLiteral("S, 1"));
        QCOMPARE(rows.at(0).run, kT0);
        QCOMPARE(rows.at(1).outcome, QStringLiteral("failed"));
        QCOMPARE(warnings.size(), 1);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll().count("run,entry"), 1); // the header once

        QVERIFY(!RunJournal::append(dir.filePath("no/such/journal.csv"), rows.at(0), &error));
        QVERIFY(error.contains("no/such/journal.csv"));
    }

    void durationRatios()
    {
        const QDateTime old = kT0.addDays(-9);
        const QList<JournalRow> rows{row(old, 1, "Quick", 1000, 100), // outside the last two runs
                                     row(kT0.addDays(-1), 1, "Quick", 110, 100),
                                     row(kT0.addDays(-1), 2, "Quick", 130, 100),
                                     row(kT0, 1, "Quick", 120, 100),
                                     row(kT0, 2, "Step", 900, 600),
                                     row(kT0, 3, "Step", 10, 600, "failed"),
                                     row(kT0, 4, "Step", 10, 0)};
        const QMap<QString, double> r = RunJournal::durationRatios(rows, 2);
        QCOMPARE(r.value("Quick"), 1.2); // median of 1.1, 1.3, 1.2
        QCOMPARE(r.value("Step"), 1.5);  // failed rows and rows without an estimate do not count
    }

    void etaOnAFakeClock()
    {
        RunEta eta;
        eta.start(kT0, {100, 0, 200});
        QCOMPARE(eta.expectedEnd(kT0), kT0.addSecs(300));
        eta.entryBegan(0, kT0.addSecs(5));
        QCOMPARE(eta.currentRemaining(kT0.addSecs(65)), 40);
        QCOMPARE(eta.expectedEnd(kT0.addSecs(65)), kT0.addSecs(305));
        // Overdue: the countdown stays at 0 and the end moves with the clock.
        QCOMPARE(eta.currentRemaining(kT0.addSecs(150)), 0);
        QCOMPARE(eta.expectedEnd(kT0.addSecs(150)), kT0.addSecs(350));
        eta.entryBegan(2, kT0.addSecs(160));
        QCOMPARE(eta.elapsed(kT0.addSecs(170)), 170);
        QCOMPARE(eta.expectedEnd(kT0.addSecs(170)), kT0.addSecs(360));
    }

    void overviewKeepsOutcomes()
    {
        RunOverview m;
        const QList<Entry> list{EntryPlanEnv::entry("Cu", "1"), EntryPlanEnv::entry("Fe", "2")};
        m.setEntries(list, {300, 3725});
        QCOMPARE(m.rowCount(), 2);
        // Only the Exec column carries a check box.
        QCOMPARE(m.index(0, RunOverview::Exec).data(Qt::CheckStateRole), QVariant(Qt::Checked));
        QVERIFY(!m.index(0, RunOverview::No).data(Qt::CheckStateRole).isValid());
        QCOMPARE(m.index(1, RunOverview::Estimate).data().toString(), QStringLiteral("1:02:05"));
        QSignalSpy changed(&m, &RunOverview::dataChanged);
        m.setOutcome(1, {RunOverview::State::Failed, "holder stuck", kT0, kT0.addSecs(9)});
        QCOMPARE(changed.count(), 1);
        QVERIFY(m.index(1, RunOverview::Status).data().toString().contains("holder stuck"));
        m.setEntry(1, EntryPlanEnv::entry("Zn", "2"), 10); // an edit keeps the mark
        QCOMPARE(m.outcome(1).state, RunOverview::State::Failed);
        QCOMPARE(m.index(1, RunOverview::Target).data().toString(), QStringLiteral("Zn "));
        m.setEntries(list + list, {1, 1, 1, 1}); // the list changed shape
        QCOMPARE(m.outcome(1).state, RunOverview::State::Pending);
    }
};

QTEST_GUILESS_MAIN(TstRun)
#include "tst_run.moc"
