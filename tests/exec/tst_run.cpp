// SPDX-License-Identifier: GPL-3.0-or-later
// What a run leaves and tells: journal, model, resume, -entries, the clock, notifications.
#include "EntryPlanEnv.h"
#include "EntrySelection.h"
#include "Estimate.h"
#include "Notifier.h"
#include "RunEta.h"
#include "RunJournal.h"
#include "RunRecovery.h"
#include "ScheduleModel.h"

#include <QAbstractItemModelTester>
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
    r.file = QStringLiteral("f%1.dat").arg(entry);
    r.element = QStringLiteral("Cu");
    r.edge = QStringLiteral("K");
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
        JournalRow first = row(kT0, 1, "Quick", 310, 300);
        first.model = 280.5;
        first.operatorWait = 1.5;
        first.targetWait = 2.5;
        QVERIFY(RunJournal::append(path, first, &error));
        QVERIFY(RunJournal::append(path, row(kT0, 2, "Step", 0, 900, "failed"), &error));
        QFile f(path);
        QVERIFY(f.open(QIODevice::Append));
        f.write("2026-12-06T23:00:00+09:00,3,3,S3"); // cut in the middle of a row
        f.close();
        // The next row, after the crash, goes on a line of its own.
        QVERIFY(RunJournal::append(path, RunRecovery::startedRow(kT0, "c.csv"), &error));
        QStringList unread = RunJournal::fields(first); // a wait that does not read
        unread[3] = "S4";
        unread[15] = "x";
        QVERIFY(f.open(QIODevice::Append));
        f.write(unread.join(',').toUtf8() + '\n');
        f.close();
        QStringList warnings;
        const QList<JournalRow> rows = RunJournal::read(path, &warnings);
        QCOMPARE(rows.size(), 3);
        QCOMPARE(RunJournal::modelOf(rows.at(1)), 900.0); // no model: the estimate stands in
        QCOMPARE(RunJournal::modelOf(rows.at(0)), first.model);
        QCOMPARE(rows.at(0).machineSeconds(), 306.0); // without the waits
        QCOMPARE(rows.at(2).detail, QStringLiteral("c.csv"));
        // Every field comes back as it was written.
        QCOMPARE(RunJournal::fields(rows.at(0)), RunJournal::fields(first));
        QCOMPARE(rows.at(1).outcome, QStringLiteral("failed"));
        QCOMPARE(warnings.size(), 2);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        QCOMPARE(text.count("run,entry"), 1); // the header once
        QVERIFY(!text.contains("\n\n"));      // and no row left blank

        QVERIFY(!RunJournal::append(dir.filePath("no/such/journal.csv"), rows.at(0), &error));
        QVERIFY(error.contains("no/such/journal.csv"));
    }

    // The schedule model: check box, estimates, outcomes and ids through edits and moves, "edited".
    void scheduleModel()
    {
        ScheduleModel m, buffer;
        // Qt's rules for table models (rows move with their number by design: moves not watched).
        auto tester = std::make_unique<QAbstractItemModelTester>(
            &m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        m.setEstimator([](const Entry &e, const Entry *) {
            return e.holder == "2" ? Estimate::Figure{3724.2, 64.2} : Estimate::Figure{300.0};
        });
        m.setEntries({EntryPlanEnv::entry("Cu", "1"), EntryPlanEnv::entry("Fe", "2")});
        QCOMPARE(m.index(0, ScheduleModel::Exec).data(Qt::CheckStateRole), QVariant(Qt::Checked));
        // A started second counts; the spread as shown.
        QCOMPARE(m.index(1, ScheduleModel::Estimate).data().toString(),
                 QStringLiteral("1:02:05 \u00b1 1:05"));
        QSignalSpy changed(&m, &ScheduleModel::dataChanged);
        QSignalSpy edited(&m, &ScheduleModel::edited);
        m.setOutcome(1, {EntryState::Failed, "holder stuck", kT0, kT0.addSecs(9)});
        QCOMPARE(changed.count(), 1);
        QVERIFY(m.index(1, ScheduleModel::Status).data().toString().contains("holder stuck"));
        const ScheduleModel::Id fe = m.id(1);
        m.setEntry(1, EntryPlanEnv::entry("Zn", "2")); // an edit keeps the mark
        m.setEntry(1, m.entry(1));                     // the same value is no edit
        QCOMPARE(edited.count(), 1);
        QCOMPARE(m.outcome(1).state, EntryState::Failed);
        QCOMPARE(m.index(1, ScheduleModel::Element).data().toString(), QStringLiteral("Zn"));
        tester.reset();
        buffer.put(0, m.take(1)); // to the cut buffer and back, at the top
        m.put(0, buffer.take(0));
        QCOMPARE(m.rowOf(fe), 0);
        QCOMPARE(m.outcome(0).state, EntryState::Failed);
        QCOMPARE(m.index(1, ScheduleModel::No).data().toInt(), 2);
        m.clearOutcomes();
        QCOMPARE(m.outcome(0).state, EntryState::Pending);
        // An entry is estimated after the ticked entry above it, as the run measures.
        m.setEstimator([](const Entry &, const Entry *prev) {
            return Estimate::Figure{prev ? prev->holder.toDouble() : 0};
        });
        m.setEntries({EntryPlanEnv::entry("Cu", "1"), EntryPlanEnv::entry("Fe", "2", false),
                      EntryPlanEnv::entry("Zn", "3")});
        QCOMPARE(m.estimate(2).seconds, 1.0);
    }

    // A run cut short (last row not `ended`); the copy holds entries 1, 2, 4, 5 and 6 (3 unticked).
    void resume_data()
    {
        QTest::addColumn<QString>("rows"); // the run's rows: started, ended, entry:outcome
        QTest::addColumn<bool>("fromNext");
        QTest::addColumn<int>("running"); // index in the copy; -2: nothing to resume
        QTest::addColumn<int>("start");
        QTest::addColumn<QList<int>>("earlier"); // failed or passed over, by number
        const QList<int> none;
        QTest::newRow("ended") << "started 1:done ended" << false << -2 << -1 << none;
        QTest::newRow("killed in the first entry") << "started" << false << 0 << 0 << none;
        QTest::newRow("across the unticked entry")
            << "started 1:done 2:done 4:done" << false << 3 << 3 << none;
        QTest::newRow("from the next entry")
            << "started 1:done 2:done" << true << 2 << 3 << QList<int>{4};
        QTest::newRow("a failed entry passed")
            << "started 1:failed 2:done" << false << 2 << 2 << QList<int>{1};
        QTest::newRow("stopped, resumed, killed")
            << "started 1:done 2:stopped ended started" << false << 1 << 1 << none;
        // An episode row names the entry that was running, not how it ended.
        QTest::newRow("killed while the target was away")
            << "started 1:done 2:target-lost 2:repeat" << false << 1 << 1 << none;
        QTest::newRow("killed after the last entry")
            << "started 1:done 2:done 4:done 5:done 6:done" << false << -1 << -1 << none;
    }
    void entrySelection_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("ticked"); // of 6 entries; empty: refused
        const auto row = [](const char *text, const char *ticked = "") {
            QTest::newRow(text) << QString(text) << QString(ticked);
        };
        row("1,3-5", "101110");
        row("2-3,3,6", "011001");
        row(" 6 , 4-4", "000101");
        for (const char *refused : {"5-7", "7", "0,1", "4-2", "two", ",", "1-2-3", "2-x", "-3"})
            row(refused);
    }
    void entrySelection()
    {
        QFETCH(QString, text);
        QFETCH(QString, ticked);
        const EntrySelection::Result r = EntrySelection::parse(text, 6);
        QCOMPARE(r.ok, !ticked.isEmpty());
        QCOMPARE(r.error.isEmpty(), r.ok);
        if (!r.ok)
            return;
        QString got;
        for (const Entry &e : EntrySelection::apply(QList<Entry>(6), r.numbers))
            got += e.exec ? '1' : '0';
        QCOMPARE(got, ticked);
    }
    void resume()
    {
        QFETCH(QString, rows);
        QFETCH(bool, fromNext);
        QFETCH(int, running);
        QFETCH(int, start);
        QTemporaryDir dir;
        const QString journal = dir.filePath("journal.csv");
        const QString copy = RunRecovery::copyPathFor(journal, kT0);
        QString error;
        QVERIFY(RunRecovery::writeCopy(copy, QList<Entry>(5), {1, 2, 4, 5, 6}, &error));
        QVERIFY(RunRecovery::copyPathFor(journal, kT0) != copy); // a second run keeps this copy
        QList<JournalRow> journaled{row(kT0.addDays(-1), 1, "Quick", 1, 1)}; // an earlier night
        for (const QString &r : rows.split(' ')) {
            journaled << (r == "started" ? RunRecovery::startedRow(kT0, copy)
                          : r == "ended" ? RunRecovery::endedRow(kT0, "stopped", kT0)
                                         : row(kT0, r.section(':', 0, 0).toInt(), "Quick", 1, 1,
                                               r.section(':', 1)));
        }
        const RunRecovery::Unfinished u = RunRecovery::lastUnfinished(journaled, journal);
        QCOMPARE(u.found, running != -2);
        if (!u.found)
            return;
        QCOMPARE(u.copyPath, copy);
        const RunRecovery::Plan p = RunRecovery::plan(u, fromNext);
        QVERIFY(p.ok);
        QCOMPARE(p.running, running);
        QCOMPARE(p.start, start);
        QTEST(p.earlier, "earlier");
        QCOMPARE(p.numbers, (QList<int>{1, 2, 4, 5, 6})); // what the next copy names them
        // The entries done, by their place in the copy, as the offer and the log name them.
        QList<int> done;
        for (const QString &r : rows.split(' '))
            if (r.endsWith(":done"))
                done << p.numbers.indexOf(r.section(':', 0, 0).toInt());
        QCOMPARE(p.done, done);
        QCOMPARE(p.lastDone, done.isEmpty() ? -1 : done.last());
        for (int i = 0; i < p.entries.size(); ++i)
            QCOMPARE(p.entries.at(i).exec, start >= 0 && i >= start);
        QVERIFY(!RunRecovery::plan({true, kT0, dir.filePath("gone.csv"), {}}, false).ok);
        // A copy that does not name its entries numbers them from 1.
        const QString bare = dir.filePath("bare.csv");
        QVERIFY(RunRecovery::writeCopy(bare, QList<Entry>(3), {}, &error));
        QCOMPARE(RunRecovery::plan({true, kT0, bare, {}}, false).numbers, (QList<int>{1, 2, 3}));
    }

    // The program hears the event, the text on one line and the report if any, each one argument.
    void notifierArguments()
    {
        QTemporaryDir dir;
        const QString out = dir.filePath("args");
        Notifier n;
        n.setCommand({"/bin/sh", "-c", "printf '%s|' \"$@\" >> \"$0\"", out});
        n.notify("failed", "two\nlines", "r port.html");
        n.waitForRunning();
        n.notify("prompt", "x");
        n.waitForRunning();
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("failed|two lines|r port.html|prompt|x|"));
    }

    // The run bar's clock: the expected end, the countdown of the running entry, overdue.
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
        eta.entryBegan(3, kT0.addSecs(400)); // past the estimates: nothing left
        QCOMPARE(eta.currentRemaining(kT0.addSecs(400)), 0);
    }

    // A notification program that hangs is ended at its time-out, and that is said.
    void hungNotifierIsEnded()
    {
        Notifier hung;
        hung.setTimeoutMs(200);
        hung.setCommand({"/bin/sh", "-c", "sleep 5"});
        QSignalSpy failed(&hung, &Notifier::failed);
        hung.notify("stalled", "still waiting");
        QVERIFY(failed.wait(3000));
    }
};

QTEST_GUILESS_MAIN(TstRun)
#include "tst_run.moc"
