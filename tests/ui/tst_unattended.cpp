// Unattended runs: loading, starting once, confirming prompts, exit status.
// After a crash: unsaved edits come back from the recovery file, a run cut
// short is offered for resuming.
#include "Body.h"
#include "ConfigStore.h"
#include "OptionTables.h"
#include "Prompter.h"
#include "RunJournal.h"
#include "RunRecovery.h"
#include "ScheduleEdit.h"
#include "TestSupport.h"
#include "UnattendedRun.h"
#include "XrayDataBase.h"

#include <QSignalSpy>

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
    }

    // A schedule that cannot be read ends the run at once with status 1.
    void loadAndGo_data()
    {
        QTest::addColumn<bool>("readable");
        QTest::addColumn<bool>("go");
        QTest::newRow("loaded, -go") << true << true;
        QTest::newRow("loaded, no -go") << true << false;
        QTest::newRow("unreadable, -go") << false << true;
    }
    void loadAndGo()
    {
        QFETCH(bool, readable);
        QFETCH(bool, go);
        QVERIFY(TestSupport::writeFile("s.csv", "1,S1,,,a.dat,Cu,K\n2,S2,,,b.dat,Fe,K\n"));
        Body body;
        disconnect(&body, &Body::startExec, nullptr, nullptr); // the window's side only
        QSignalSpy starts(&body, &Body::startExec);
        QSignalSpy ends(&body, &Body::runFinished); // a start refused for errors
        UnattendedRun::Options o;
        o.loadFile = m_dir.filePath(readable ? "s.csv" : "absent.csv");
        o.go = go;
        o.quitWhenDone = !readable;
        UnattendedRun run(&body, o);
        QList<int> quits;
        run.setQuitAction([&quits](int s) { quits << s; });
        QCOMPARE(body.schedule().size(), readable ? 2 : 0);
        QCOMPARE(starts.count(), 0); // not before the target is there
        emit body.setTargetIsReady(true);
        emit body.setTargetIsReady(false);
        emit body.setTargetIsReady(true); // the target coming back starts no second run
        QCOMPARE(starts.count() + ends.count(), readable && go ? 1 : 0);
        QTRY_COMPARE_WITH_TIMEOUT(quits, readable ? QList<int>() : QList<int>({1}), 10000);
    }

    void confirmsEveryPrompt()
    {
        Body body;
        disconnect(body.prompterWindow(), &Prompter::ok, body.engine(), nullptr);
        QSignalSpy oks(body.prompterWindow(), &Prompter::ok);
        UnattendedRun::Options o;
        o.confirmPrompts = true;
        UnattendedRun run(&body, o);
        body.prompterWindow()->addPrompt(QStringLiteral("Mirror"), PromptHOCM);
        body.prompterWindow()->addPrompt(QStringLiteral("Mono"), PromptMono);
        QTRY_COMPARE_WITH_TIMEOUT(body.prompterWindow()->count(), 0, 10000);
        QCOMPARE(oks.count(), 2);
    }

    void quitWhenDone_data()
    {
        QTest::addColumn<bool>("quit");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("status"); // of exitStatus(7)
        QTest::newRow("ended well") << true << true << 0;
        QTest::newRow("ended on an error") << true << false << 1;
        QTest::newRow("without -quit-when-done: the loop's") << false << false << 7;
    }
    void quitWhenDone()
    {
        QFETCH(bool, quit);
        QFETCH(bool, ok);
        QFETCH(int, status);
        Body body;
        UnattendedRun::Options o;
        o.quitWhenDone = quit;
        UnattendedRun run(&body, o);
        QList<int> quits;
        run.setQuitAction([&quits](int s) { quits << s; });
        emit body.runFinished(ok);
        emit body.runFinished(!ok); // only the first end counts
        QCOMPARE(quits, quit ? QList<int>({status}) : QList<int>());
        QCOMPARE(run.exitStatus(7), status);
    }

    // Edits survive a window that dies without closing: the next window
    // offers them; loading them or a schedule file is the operator's choice.
    void editsKeptAcrossACrash_data()
    {
        QTest::addColumn<bool>("load");
        QTest::newRow("loaded") << true;
        QTest::newRow("declined") << false;
    }
    void editsKeptAcrossACrash()
    {
        QFETCH(bool, load);
        config().readText(QStringLiteral("JOURNAL no-run-%1.csv\n").arg(load)); // nothing to resume
        auto first = std::make_unique<Body>();
        QVERIFY(!first->saveRecovery()); // nothing to keep yet
        first->ui.NewAtBottom->click();
        Entry e = first->schedule().at(0)->entry();
        e.sampleId = QStringLiteral("edited");
        first->schedule().at(0)->setEntry(e);
        QVERIFY(first->saveRecovery());
        first.reset(); // as a killed program does

        Body second;
        second.setAsk([load](const QString &) { return load; });
        second.recoverAtStartup(true);
        QCOMPARE(second.schedule().size(), int(load));
        QCOMPARE(QFile::exists(second.recoveryPath()), load); // kept until saved
        if (load)
            QCOMPARE(second.schedule().at(0)->entry().sampleId, QStringLiteral("edited"));
        QVERIFY(TestSupport::writeFile("saved.csv", ""));
        second.setAsk([](const QString &) { return true; });
        QVERIFY(second.loadScheduleFrom(QStringLiteral("saved.csv")));
        QVERIFY(!QFile::exists(second.recoveryPath()));
    }

    // The run cut short (entry 1 of 3 done) is offered; resuming loads its
    // copy with the entries before the resume point unticked and starts.
    void resumeOffered_data()
    {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QList<bool>>("ticked"); // empty: declined
        QTest::newRow("from the running entry") << 0 << QList<bool>{false, true, true};
        QTest::newRow("from the next entry") << 1 << QList<bool>{false, false, true};
        QTest::newRow("declined") << 2 << QList<bool>{};
    }
    void resumeOffered()
    {
        QFETCH(int, choice);
        QFETCH(QList<bool>, ticked);
        const QString journal = m_dir.filePath(QStringLiteral("journal-%1.csv").arg(choice));
        config().readText(QStringLiteral("JOURNAL \"%1\"\n").arg(journal));
        const QDateTime run = QDateTime::currentDateTime().addSecs(-3600);
        const QString copy = RunRecovery::copyPathFor(journal, run);
        QString error;
        JournalRow done = RunRecovery::endedRow(run, QString(), run);
        done.entry = 1;
        done.outcome = QStringLiteral("done");
        QVERIFY(RunRecovery::writeCopy(copy, QList<Entry>(3), {1, 2, 3}, &error) &&
                RunJournal::append(journal, RunRecovery::startedRow(run, copy), &error) &&
                RunJournal::append(journal, done, &error));
        Body body;
        body.setChoose([choice](const QString &, const QStringList &) { return choice; });
        body.recoverAtStartup(true);
        QList<bool> got;
        for (const ScheduleEdit *e : body.schedule())
            got << e->entry().exec;
        QCOMPARE(got, ticked);
        QCOMPARE(body.runGoing(), !ticked.isEmpty());
        // Declined, or resumed and then closed on purpose: nothing is left
        // for the next start to offer.
        body.setAsk([](const QString &) { return true; });
        body.close();
        QVERIFY(!RunRecovery::lastUnfinished(RunJournal::read(journal), journal).found);
    }
};

QTEST_MAIN(TestUnattended)
#include "tst_unattended.moc"
