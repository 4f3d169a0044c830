// SPDX-License-Identifier: GPL-3.0-or-later
// Unattended runs, exit status; after a crash, edits recovered and a run cut short resumed.
#include "Body.h"
#include "ConfigStore.h"
#include "LogArea.h"
#include "OptionTables.h"
#include "Prompter.h"
#include "RunController.h"
#include "RunJournal.h"
#include "RunRecovery.h"
#include "ScheduleDocument.h"
#include "TestSupport.h"
#include "Tolva.h"
#include "UnattendedRun.h"
#include "XrayDataBase.h"

#include <QColor>
#include <QSignalSpy>

namespace {

// A window under an unattended run (the engine is not started), its log and exit statuses.
// Options: -load, -go, -confirm-prompts, -quit-when-done, -resume-last, -entries.
struct Night
{
    explicit Night(const UnattendedRun::Options &o)
    {
        QObject::disconnect(body.controller(), &RunController::startExec, nullptr, nullptr);
        QObject::connect(body.logPanel(), &LogArea::logged, body.logPanel(),
                         [this](const QString &l) { logged << l; });
        run = std::make_unique<UnattendedRun>(&body, o);
        run->setQuitAction([this](int s) { quits << s; });
    }
    Body body;
    QStringList logged;
    QList<int> quits;
    std::unique_ptr<UnattendedRun> run;
};

// A run cut short an hour ago: a copy of entries 4, 6, 7 (`earlier` failed before), `rows` after.
void cutShort(const QString &journal, const QStringList &rows, const QList<int> &earlier = {})
{
    const QDateTime run = QDateTime::currentDateTime().addSecs(-3600);
    const QString copy = RunRecovery::copyPathFor(journal, run);
    QString error;
    Entry one;
    one.holder = QStringLiteral("1");
    QVERIFY(RunRecovery::writeCopy(copy, QList<Entry>(3, one), {4, 6, 7}, &error, earlier));
    QVERIFY(RunJournal::append(journal, RunRecovery::startedRow(run, copy), &error));
    for (const QString &r : rows) {
        JournalRow row = RunRecovery::endedRow(run, QString(), run);
        row.entry = r.section(':', 0, 0).toInt();
        row.outcome = r.section(':', 1);
        QVERIFY(RunJournal::append(journal, row, &error));
    }
    config().readText(QStringLiteral("JOURNAL \"%1\"\n").arg(journal));
}

} // namespace

class TestUnattended : public QObject
{
    Q_OBJECT

    TestSupport::WorkDir m_dir;

private slots:
    void initTestCase()
    {
        QVERIFY(xrayDataBase().load(QStringLiteral(":XrayDataBase2.txt")));
        ConfigStore &cfg = config();
        cfg.clear();
        QVERIFY(cfg.readFile(QStringLiteral(SKEDRA_SOURCE_DIR "/examples/beamline.cfg")));
        cfg.readText(QStringLiteral("CONNECT_TO_TOLVA 0\n"));
        buildOptionTables(cfg);
        QVERIFY(TestSupport::writeFile("s.csv", "1,S1,,,a.dat,Cu,K\n2,S2,,,b.dat,Fe,K\n"));
    }

    // -go starts one run once the target is there, -entries ticks only what it names, prompts
    // are confirmed; -quit-when-done quits on the first end (status 1 for a bad schedule/list).
    void loadAndGo_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("entries");
        QTest::addColumn<QList<bool>>("ticked");
        QTest::addColumn<int>("starts"); // none: status 1
        QTest::addColumn<bool>("quit");
        QTest::addColumn<int>("status"); // of exitStatus(7)
        const QList<bool> both{true, true};
        const QString s = QStringLiteral("s.csv");
        QTest::newRow("loaded, ended well") << s << QString() << both << 1 << true << 0;
        QTest::newRow("unreadable")
            << QString("absent.csv") << QString() << QList<bool>() << 0 << true << 1;
        QTest::newRow("-entries: the second, ended on an error")
            << s << QString("2") << QList<bool>{false, true} << 1 << true << 1;
        QTest::newRow("-entries 1-3") << s << QString("1-3") << both << 0 << true << 1;
        QTest::newRow("no -quit-when-done") << s << QString() << both << 1 << false << 7;
    }
    void loadAndGo()
    {
        QFETCH(QString, file);
        QFETCH(QString, entries);
        QFETCH(int, starts);
        QFETCH(bool, quit);
        QFETCH(int, status);
        const bool ok = status == 0; // the run's end
        Night n({m_dir.filePath(file), true, true, quit, false, entries});
        QSignalSpy started(n.body.controller(), &RunController::startExec);
        QSignalSpy ends(n.body.controller(), &RunController::runFinished); // refused for errors
        QList<bool> ticked;
        for (const Entry &e : n.body.scheduleModel()->entries())
            ticked << e.exec;
        QTEST(ticked, "ticked");
        QCOMPARE(started.count(), 0); // not before the target is there
        n.body.controller()->setTargetReady(true);
        n.body.controller()->setTargetReady(false);
        n.body.controller()->setTargetReady(true); // the target coming back starts no second run
        QCOMPARE(started.count(), starts);
        QCOMPARE(ends.count(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(n.quits, starts ? QList<int>() : QList<int>{1}, 10000);
        // Nobody is there to decide about a wait past its limit: it ends the run.
        QCOMPARE(n.body.controller()->endsRunOnPassedLimit(), quit);
        if (!starts)
            return;
        emit n.body.controller()->engine()->newPrompt(QStringLiteral("Mirror"), PromptHOCM);
        emit n.body.controller()->engine()->newPrompt(QStringLiteral("Mono"), PromptMono);
        QCOMPARE(n.body.prompterWindow()->count(), 2); // shown, as to an operator
        QTRY_COMPARE_WITH_TIMEOUT(n.body.prompterWindow()->count(), 0, 10000);
        QVERIFY(n.body.controller()->openPrompts().isEmpty());
        emit n.body.controller()->runFinished(ok);
        emit n.body.controller()->runFinished(!ok); // only the first end counts
        QCOMPARE(n.quits, quit ? QList<int>({status}) : QList<int>());
        QCOMPARE(n.run->exitStatus(7), status);
    }

    // A run cut short is offered (named for -resume-last when nobody is there to ask);
    // resuming loads its copy, unticked before the resume point.
    void resumeOffered_data()
    {
        QTest::addColumn<QStringList>("journaled");
        QTest::addColumn<int>("choice");          // -1: nobody to ask
        QTest::addColumn<QList<bool>>("ticked");  // empty: declined
        QTest::addColumn<QStringList>("offered"); // the running entry, the next
        QTest::addColumn<bool>("take");           // the unsaved edits
        const QStringList done{"4:done"};
        const QStringList at6{" 6", " 7"};
        QTest::newRow("from the running entry")
            << done << 0 << QList<bool>{false, true, true} << at6 << false;
        QTest::newRow("from the next entry")
            << done << 1 << QList<bool>{false, false, true} << at6 << false;
        QTest::newRow("declined") << done << 2 << QList<bool>{} << at6 << false;
        // Cut short in its last entry: no next entry to offer, the second choice declines.
        QTest::newRow("in its last entry, declined")
            << QStringList{"4:done", "6:done"} << 1 << QList<bool>{} << QStringList{" 7"} << false;
        // Nothing left to measure: no question, and the run is closed.
        QTest::newRow("every entry done, the edits taken")
            << QStringList{"4:done", "6:done", "7:done"} << 0 << QList<bool>{} << QStringList()
            << true;
        QTest::newRow("nobody to ask") << done << -1 << QList<bool>{} << QStringList() << false;
    }
    void resumeOffered()
    {
        QFETCH(QStringList, journaled);
        QFETCH(int, choice);
        QFETCH(QList<bool>, ticked);
        QFETCH(QStringList, offered);
        QFETCH(bool, take);
        const QString journal =
            m_dir.filePath(QStringLiteral("journal-%1-%2.csv").arg(choice).arg(journaled.size()));
        cutShort(journal, journaled);
        { // Edits survive a window that dies without closing; the next one offers them.
            Body first;
            QVERIFY(!first.saveRecovery()); // nothing to keep yet
            first.click(Body::Button::NewAtBottom);
            Entry e = first.scheduleModel()->entry(0);
            e.sampleId = QStringLiteral("edited");
            first.scheduleModel()->setEntry(0, e);
            QVERIFY(first.saveRecovery());
        }
        Body body;
        QStringList logged;
        connect(body.logPanel(), &LogArea::logged, this,
                [&logged](const QString &l) { logged << l; });
        // What the list held goes to the cut buffer, in its order, when the copy is loaded.
        Entry a = Entry::defaults(), b = a;
        a.sampleId = QStringLiteral("held a");
        b.sampleId = QStringLiteral("held b");
        body.scheduleModel()->setEntries({a, b});
        QStringList choices;
        body.setChoose([choice, &choices](const QString &, const QStringList &given) {
            choices = given;
            return choice;
        });
        // Unsaved edits are offered too unless a run was resumed: not lost with a declined run.
        int asked = 0;
        body.setAsk([&asked, take](const QString &) { return ++asked, take; });
        body.recoverAtStartup(choice >= 0);
        QCOMPARE(asked, ticked.isEmpty() && choice >= 0 ? 1 : 0);
        // Declined: dropped; taken: kept until saved.
        QCOMPARE(QFile::exists(body.document()->recoveryPath()), !asked || take);
        QCOMPARE(logged.filter("-resume-last").size(), choice < 0 ? 1 : 0);
        // The choices name the entries by the schedule's numbers.
        QCOMPARE(choices.size(), offered.isEmpty() ? 0 : offered.size() + 1);
        for (int i = 0; i < offered.size(); ++i)
            QVERIFY2(choices.at(i).contains(offered.at(i)) && !choices.at(i).contains('2') &&
                         !choices.at(i).contains('3'),
                     qPrintable(choices.at(i)));
        if (!ticked.isEmpty()) {
            QList<bool> got;
            for (const Entry &e : body.scheduleModel()->entries())
                got << e.exec;
            QCOMPARE(got, ticked);
        }
        const ScheduleModel *holding =
            ticked.isEmpty() && !take ? body.scheduleModel() : body.cutBufferModel();
        QCOMPARE(holding->entries(), (QList<Entry>{a, b}));
        QCOMPARE(body.runGoing(), !ticked.isEmpty());
        if (take) {
            QCOMPARE(body.scheduleModel()->count(), 1);
            QCOMPARE(body.scheduleModel()->entry(0).sampleId, QStringLiteral("edited"));
            QVERIFY(TestSupport::writeFile("saved.csv", ""));
            QVERIFY(body.loadScheduleFrom(QStringLiteral("saved.csv")));
            QVERIFY(!QFile::exists(body.document()->recoveryPath()));
        }
        // Declined, or resumed and closed on purpose: nothing left for the next start to offer.
        body.setAsk([](const QString &) { return true; });
        body.close();
        QCOMPARE(RunRecovery::lastUnfinished(RunJournal::read(journal), journal).found, choice < 0);
    }

    // -go waits at most WAIT_LIMIT, names the missing link, -quit-when-done ends with 1; a signal
    // stops, journals and quits asking nothing: 1 unless the run ended well, also before it began.
    void startUpWaitAndSignal_data()
    {
        for (const char *column : {"busUp", "targetUp", "quit", "held", "ended", "go"})
            QTest::addColumn<bool>(column); // quit: -quit-when-done; held: -start-at's wait
        const auto row = [](const char *name, bool busUp, bool targetUp, bool quit, bool held,
                            bool ended, bool go) {
            QTest::newRow(name) << busUp << targetUp << quit << held << ended << go;
        };
        row("no bus", false, false, true, false, false, true);
        row("bus, no target", true, false, true, false, false, true);
        row("bus, no target, the window stays", true, false, false, false, false, true);
        row("both there in time, signal during the run", true, true, true, false, false, true);
        row("signal while the start is held", true, true, false, true, false, true);
        row("signal after the run", true, true, false, false, true, true);
        row("signal without -go", true, true, false, false, false, false); // nobody asked to run
    }
    void startUpWaitAndSignal()
    {
        QFETCH(bool, busUp);
        QFETCH(bool, targetUp);
        QFETCH(bool, quit);
        QFETCH(bool, held);
        QFETCH(bool, go);
        const QString journal =
            m_dir.filePath(QStringLiteral("journal-%1.csv").arg(QTest::currentDataTag()));
        config().readText(QStringLiteral("JOURNAL \"%1\"\nWAIT_LIMIT 0.2\n").arg(journal));
        Night n({m_dir.filePath("s.csv"), go, false, quit, false, {}});
        // What the bus client said in red is why it is not up; other lines are not.
        emit n.body.bus()->log(QStringLiteral("trying 127.0.0.1"), QColor(Qt::black));
        emit n.body.bus()->log(QStringLiteral("connection refused"), QColor(Qt::red));
        emit n.body.bus()->log(QStringLiteral("still trying"), QColor(Qt::black));
        if (held)
            n.body.controller()->setStartTime(QTime::currentTime().addSecs(3600));
        if (busUp)
            emit n.body.bus()->tolvaIsReady();
        if (targetUp)
            n.body.controller()->setTargetReady(true);
        QTest::qWait(400);
        config().readText(QStringLiteral("WAIT_LIMIT 900\n"));
        QCOMPARE(n.run->runStarted(), go && targetUp);
        QCOMPARE(n.body.runGoing(), go && targetUp && !held);
        QCOMPARE(n.quits, targetUp || !quit ? QList<int>() : QList<int>{1});
        const QStringList why = n.logged.filter("WAIT_LIMIT");
        QCOMPARE(why.size(), targetUp ? 0 : 1);
        if (!targetUp) { // the missing link is named: the bus server's port, or the target
            QVERIFY(why.first().contains(busUp ? n.body.controller()->targetName()
                                               : n.body.bus()->port()));
            QCOMPARE(why.first().contains("connection refused"), !busUp);
            QVERIFY(!why.first().contains("trying"));
            // A target turning up after "no run is started" begins nothing.
            emit n.body.bus()->tolvaIsReady();
            n.body.controller()->setTargetReady(true);
            QVERIFY(!n.run->runStarted() && !n.body.runGoing());
        }
        QFETCH(bool, ended);
        if (ended)
            emit n.body.controller()->engine()->finished(true);
        n.run->quitOnSignal();
        n.run->quitOnSignal(); // a second signal while quitting changes nothing
        QCOMPARE(n.quits, QList<int>{int(go && !ended)});
        const QList<JournalRow> rows = RunJournal::read(journal);
        QCOMPARE(rows.isEmpty(), !go || !targetUp || held);
        if (!rows.isEmpty() && !ended)
            QCOMPARE(rows.last().outcome + ' ' + rows.last().detail,
                     QStringLiteral("ended stopped"));
    }

    // Resumed with -resume-last: the schedule's numbers kept, earlier failures fail the night.
    void resumedNightKeepsNumbersAndVerdict()
    {
        // The run resumed was itself resumed: entry 2 had failed before it; 4 failed, 6 done.
        const QString journal = m_dir.filePath(QStringLiteral("journal-night.csv"));
        cutShort(journal, {"4:failed", "6:done"}, {2});
        // -load is left out: the night goes on; so is -entries: the copy has its own.
        Night n({m_dir.filePath("s.csv"), false, false, true, true, QStringLiteral("1")});
        QCOMPARE(n.body.scheduleModel()->count(), 3);
        QVERIFY(n.run->resumed());
        n.body.controller()->setTargetReady(true);
        QVERIFY(n.body.runGoing());
        emit n.body.controller()->engine()->executing(2);
        QVERIFY(n.body.controller()->runStatus().startsWith(QLatin1String("running 7/7 ")));
        emit n.body.controller()->engine()->entryEnded(2, EntryState::Done, QString());
        emit n.body.controller()->engine()->finished(true);
        QCOMPARE(n.quits, QList<int>{1}); // 2 and 4 failed earlier in the night
        QList<int> done;
        QString newCopy;
        for (const JournalRow &r : RunJournal::read(journal)) {
            if (r.outcome == QLatin1String("done"))
                done << r.entry;
            else if (r.outcome == QLatin1String("started"))
                newCopy = r.detail;
        }
        QCOMPARE(done, (QList<int>{6, 7}));
        // The new run's copy names entry 7 by its number and carries 2 and 4.
        const QStringList head = TestSupport::readLines(QFileInfo(journal).dir().filePath(newCopy));
        QCOMPARE(head.mid(0, 2),
                 (QStringList{"# entries of the list: 7",
                              "# failed or not measured earlier in the night: 2 4"}));
        // -resume-last with its copy gone: not -load instead (measured already), and status 1.
        const QString gone = m_dir.filePath(QStringLiteral("journal-gone.csv"));
        cutShort(gone, {"4:done"});
        QVERIFY(QFile::remove(RunRecovery::lastUnfinished(RunJournal::read(gone), gone).copyPath));
        Night m({m_dir.filePath("s.csv"), false, false, true, true, {}});
        m.body.controller()->setTargetReady(true);
        QTRY_COMPARE_WITH_TIMEOUT(m.quits, QList<int>{1}, 10000);
        QCOMPARE(m.body.scheduleModel()->count(), 0);
        QVERIFY(!m.body.runGoing());
    }
};

QTEST_MAIN(TestUnattended)
#include "tst_unattended.moc"
