// What a run leaves and tells: the journal file row by row, the learned
// duration ratios, the run bar's times on a fake clock, and the overview's
// outcomes.
#include "EntryPlanEnv.h"
#include "Notifier.h"
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

    void estimates_data()
    {
        QTest::addColumn<int>("scan");
        QTest::addColumn<QString>("times");
        QTest::addColumn<double>("ratio"); // learned for the scan type
        QTest::addColumn<double>("seconds");
        // Quick: its first measurement time; step: points x dwell per block.
        QTest::newRow("quick") << int(EntryRows::QuickScan) << "300" << 1.0 << 300.0;
        QTest::newRow("quick, learned") << int(EntryRows::QuickScan) << "300" << 1.5 << 450.0;
        QTest::newRow("step") << int(EntryRows::StepScan) << "1,2" << 1.0 << 10 * 1.0 + 20 * 2.0;
        QTest::newRow("step, one time for all") << int(EntryRows::StepScan) << "2" << 0.5 << 30.0;
    }

    void estimates()
    {
        QFETCH(int, scan);
        QFETCH(QString, times);
        QFETCH(double, ratio);
        QFETCH(double, seconds);
        Entry e = EntryPlanEnv::entry("Cu", "1");
        e.selectScanType(scan);
        if (scan == EntryRows::StepScan)
            EntryPlanEnv::setUserBlocks(e, 0, {"8900", "8950", "9100"}, {10, 20}, times);
        else
            e.measTimes = times;
        Estimate::Params noOverhead; // the model itself is checked with the entry checks
        noOverhead.pointOverhead = 0;
        const QList<double> got =
            estimateEntries({e}, {{scanName(e), ratio}, {"other", 9.0}}, noOverhead);
        QCOMPARE(got, QList<double>{seconds});
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

    void notifyProgramGetsEventAndOneLine()
    {
        QTemporaryDir dir;
        const QString out = dir.filePath("args");
        const QString script = dir.filePath("notify.sh");
        QFile f(script);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\nprintf '%s|' \"$@\" >> \"$1\"\n");
        f.close();
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
        Notifier n;
        QSignalSpy failed(&n, &Notifier::failed);
        n.setCommand({script, out});
        n.notify("failed", "Entry 3\nholder stuck");
        // The shell creates the file before printf writes into it.
        const auto written = [&out] {
            QFile args(out);
            return args.open(QIODevice::ReadOnly) ? args.readAll() : QByteArray();
        };
        QTRY_COMPARE_WITH_TIMEOUT(
            written(), QByteArray(out.toUtf8() + "|failed|Entry 3 holder stuck|"), 10000);
        n.setCommand({dir.filePath("missing")});
        n.notify("finished", "x");
        n.notify("finished", "y");
        QVERIFY(failed.wait(10000));
        QVERIFY(!failed.wait(200)); // said once
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
