// Going on after a crash: which run the journal says was cut short, and what
// a resumed run measures, from the run's copy and its journal rows.
#include "EntryPlanEnv.h"
#include "RunJournal.h"
#include "RunRecovery.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDateTime kRun(QDate(2026, 12, 6), QTime(2, 0), Qt::OffsetFromUTC, 9 * 3600);

JournalRow entryRow(int entry, const QString &outcome)
{
    JournalRow r;
    r.run = kRun;
    r.entry = entry;
    r.outcome = outcome;
    return r;
}

} // namespace

class TstRunRecovery : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(EntryPlanEnv::setUp()); }

    void unfinishedRun_data()
    {
        QTest::addColumn<QStringList>("outcomes"); // of the run's rows, in order
        QTest::addColumn<bool>("found");
        QTest::newRow("cut short") << QStringList{"started", "done"} << true;
        QTest::newRow("resumed by the operator, then cut short")
            << QStringList{"started", "stopped", "ended", "started"} << true;
        QTest::newRow("ended") << QStringList{"started", "done", "ended"} << false;
        QTest::newRow("journaled before runs kept a copy") << QStringList{"done"} << false;
    }
    void unfinishedRun()
    {
        QFETCH(QStringList, outcomes);
        QFETCH(bool, found);
        QList<JournalRow> rows{entryRow(1, "done"),
                               RunRecovery::endedRow(kRun.addDays(-1), "finished", kRun)};
        rows[0].run = kRun.addDays(-1); // an earlier night
        for (const QString &o : outcomes)
            rows << (o == "started" ? RunRecovery::startedRow(kRun, "/x/skedra-run-1.csv")
                     : o == "ended" ? RunRecovery::endedRow(kRun, "stopped", kRun)
                                    : entryRow(1, o));
        const RunRecovery::Unfinished u = RunRecovery::lastUnfinished(rows, "/j/journal.csv");
        QCOMPARE(u.found, found);
        if (found) {
            QCOMPARE(u.copyPath, QStringLiteral("/j/skedra-run-1.csv"));
            QCOMPARE(u.run, kRun);
        }
    }

    // The copy holds entries 1, 2, 4, 5 and 6 of the list (3 was unticked);
    // the rows name entries by their number in that list.
    void plan_data()
    {
        QTest::addColumn<QList<int>>("entries"); // of the journal's rows
        QTest::addColumn<QStringList>("outcomes");
        QTest::addColumn<bool>("fromNext");
        QTest::addColumn<int>("running"); // index in the copy
        QTest::addColumn<int>("start");
        QTest::addColumn<QList<int>>("done");
        QTest::addColumn<QList<int>>("passed");
        using L = QList<int>;
        QTest::newRow("killed in the first entry")
            << L{} << QStringList{} << false << 0 << 0 << L{} << L{};
        QTest::newRow("two done, across the unticked entry")
            << L{1, 2, 4} << QStringList{"done", "done", "done"} << false << 3 << 3 << L{0, 1, 2}
            << L{};
        QTest::newRow("from the next entry")
            << L{1, 2} << QStringList{"done", "done"} << true << 2 << 3 << L{0, 1} << L{2};
        QTest::newRow("a failed entry passed over")
            << L{1, 2} << QStringList{"failed", "done"} << false << 2 << 2 << L{1} << L{0};
        QTest::newRow("stopped, resumed, killed")
            << L{1, 2} << QStringList{"done", "stopped"} << false << 1 << 1 << L{0} << L{};
        QTest::newRow("stopped, done again after Resume")
            << L{1, 2, 2} << QStringList{"done", "stopped", "done"} << false << 2 << 2 << L{0, 1}
            << L{};
        QTest::newRow("killed after the last entry")
            << L{1, 2, 4, 5, 6} << QStringList{"done", "done", "done", "done", "done"} << false
            << -1 << -1 << L{0, 1, 2, 3, 4} << L{};
    }
    void plan()
    {
        QFETCH(QList<int>, entries);
        QFETCH(QStringList, outcomes);
        QFETCH(bool, fromNext);
        QFETCH(int, running);
        QFETCH(int, start);
        QFETCH(QList<int>, done);
        QFETCH(QList<int>, passed);
        QTemporaryDir dir;
        RunRecovery::Unfinished u;
        u.found = true;
        u.run = kRun;
        u.copyPath = RunRecovery::copyPathFor(dir.filePath("journal.csv"), kRun);
        QCOMPARE(QFileInfo(u.copyPath).fileName(),
                 QStringLiteral("skedra-run-20261206T020000.csv"));
        QList<Entry> copy;
        for (int i = 0; i < 5; ++i) {
            Entry e;
            e.sampleId = QStringLiteral("S%1").arg(i);
            copy << e;
        }
        QString error;
        QVERIFY(RunRecovery::writeCopy(u.copyPath, copy, {1, 2, 4, 5, 6}, &error));
        for (int i = 0; i < entries.size(); ++i)
            u.rows << entryRow(entries.at(i), outcomes.at(i));

        const RunRecovery::Plan p = RunRecovery::plan(u, fromNext);
        QVERIFY(p.ok);
        QCOMPARE(p.running, running);
        QCOMPARE(p.start, start);
        QCOMPARE(p.done, done);
        QCOMPARE(p.passed, passed);
        QCOMPARE(p.entries.size(), copy.size());
        for (int i = 0; i < p.entries.size(); ++i) {
            QCOMPARE(p.entries.at(i).sampleId, copy.at(i).sampleId);
            QCOMPARE(p.entries.at(i).exec, start >= 0 && i >= start);
        }
        // A second run in the same second keeps the first one's copy.
        QVERIFY(RunRecovery::copyPathFor(dir.filePath("journal.csv"), kRun) != u.copyPath);
    }

    void missingCopyIsAnError()
    {
        RunRecovery::Unfinished u;
        u.copyPath = QStringLiteral("/no/such/skedra-run.csv");
        const RunRecovery::Plan p = RunRecovery::plan(u, false);
        QVERIFY(!p.ok);
        QVERIFY(p.error.contains(u.copyPath));
    }

    // A row cut in half by a crash is skipped with a warning, and the rows
    // journaled after it are read whole.
    void rowAfterATornLineIsKept()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("journal.csv");
        QString error;
        QVERIFY(RunJournal::append(path, entryRow(1, "done"), &error));
        QFile f(path);
        QVERIFY(f.open(QIODevice::Append));
        f.write("2026-12-06T02:10:00+09:00,2,2,S"); // the power went here
        f.close();
        QVERIFY(RunJournal::append(path, RunRecovery::startedRow(kRun, "c.csv"), &error));
        QStringList warnings;
        const QList<JournalRow> rows = RunJournal::read(path, &warnings);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows.at(1).outcome, QStringLiteral("started"));
        QCOMPARE(rows.at(1).detail, QStringLiteral("c.csv"));
        QCOMPARE(warnings.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TstRunRecovery)
#include "tst_runrecovery.moc"
