// SPDX-License-Identifier: GPL-3.0-or-later
// The run controller between the schedule model, the engine and the bus.
#include "BlockFile.h"
#include "EntryCheck.h"
#include "EntryPlanEnv.h"
#include "RunController.h"
#include "RunJournal.h"
#include "ScheduleModel.h"
#include "TestSupport.h"
#include "TolvaSession.h"

#include <QSignalSpy>
#include <QTranslator>

#include <cmath>

namespace {

// Feeds a line to the controller as the bus client does: with its word's id, by its kind.
void hear(RunController &run, const QString &line)
{
    static const TolvaSession session;
    AMsg m;
    m.parse(line);
    m.cmdId = session.nodeCmdTable().idOf(m.cmd);
    if (m.body.startsWith(QLatin1String(" _")))
        run.eventReceived(m);
    else if (m.body.startsWith(QLatin1String(" @")))
        run.answered(m);
    else
        run.asked(m);
}

// Outcomes of the list: pending, running, done, failed, skipped, stopped as - R D F S T.
QString states(const ScheduleModel &list)
{
    QString out;
    for (int i = 0; i < list.count(); ++i)
        out += QLatin1Char("-RDFST"[int(list.outcome(i).state)]);
    return out;
}

// The target as the bus brings it: every command answered at once.
class IdealTarget : public QObject
{
public:
    IdealTarget(RunController &run) : m_run(run)
    {
        connect(&run, &RunController::sendCmd, this,
                [this](const QString &, const QString &to, const QString &cmd) {
                    if (!to.startsWith(QLatin1String("Dorvan")))
                        return;
                    lines << cmd;
                    // Queued, as answers come over a socket.
                    QMetaObject::invokeMethod(
                        this, [this, cmd] { answer(cmd); }, Qt::QueuedConnection);
                });
        connect(&run, &RunController::promptRaised, &run, &RunController::confirmPrompt,
                Qt::QueuedConnection);
    }
    QStringList lines;
    QString held; // a command word left unanswered, once

private:
    void answer(const QString &cmd)
    {
        static const QHash<QString, QString> replies{
            {"SetCurrentEnergy", "Dorvan>Tarnix _EvMovingCurTh 0"},
            {"MoveSHolderTo", "Dorvan>Tarnix _EvChangerMoving 0"},
            {"GetBlockNum", "Dorvan.remote>Tarnix @GetBlockNum 3"},
            {"Start", "Dorvan>Tarnix _EvEndMeas"}};
        const QString word = cmd.section(QLatin1Char(' '), 0, 0);
        if (word == held)
            held.clear();
        else if (replies.contains(word))
            hear(m_run, replies.value(word));
    }
    RunController &m_run;
};

} // namespace

class TestController : public QObject
{
    Q_OBJECT

    TestSupport::WorkDir m_dir;
    int m_journals = 0;

    // A fresh journal; with the engine an ideal target is ready, without it the tests play it.
    struct Night
    {
        ScheduleModel list, buffer;
        RunController run{&list, &buffer};
        QSignalSpy finished{&run, &RunController::runFinished};
        std::unique_ptr<IdealTarget> target;
        QStringList logged;
        // The run's end, waited for; true when it finished well.
        bool finishedWell() { return finished.wait(20000) && finished.last().at(0).toBool(); }
    };
    std::unique_ptr<Night> night(const QList<Entry> &entries, bool engine = true,
                                 const QString &more = QString())
    {
        ConfigStore cfg;
        cfg.readText(QStringLiteral("JOURNAL \"%1\"\nTARGET_NAME_ON_TOLVA Dorvan\n")
                         .arg(m_dir.filePath(QStringLiteral("j%1.csv").arg(++m_journals))) +
                     more);
        auto n = std::make_unique<Night>();
        connect(&n->run, &RunController::logged, this,
                [l = &n->logged](const QString &line) { *l << line; });
        n->run.configure(cfg);
        n->list.setEntries(entries);
        if (engine) {
            n->target = std::make_unique<IdealTarget>(n->run);
            n->run.setTargetReady(true);
        } else {
            disconnect(&n->run, &RunController::startExec, nullptr, nullptr);
        }
        return n;
    }
    // The journal's rows as "entry outcome", or only its episodes.
    static QStringList journal(const RunController &run, bool episodes = false)
    {
        QStringList rows;
        for (const JournalRow &r : RunJournal::read(run.journalPath()))
            if (!episodes || RunJournal::isEpisode(r.outcome))
                rows << QStringLiteral("%1 %2").arg(r.entry).arg(r.outcome);
        return rows;
    }
    static QList<Entry> abc()
    {
        return {EntryPlanEnv::entry("Cu", "1"), EntryPlanEnv::entry("Fe", "2"),
                EntryPlanEnv::entry("Zn", "3")};
    }

private slots:
    void initTestCase() { QVERIFY(EntryPlanEnv::setUp()); }

    // The entry after an unticked one is compared with the one measured last: Fe moves to its own.
    void nightThroughTheController()
    {
        const QString told = m_dir.filePath(QStringLiteral("told"));
        auto n =
            night({EntryPlanEnv::entry("Cu", "1"), EntryPlanEnv::entry("Fe", "2", false),
                   EntryPlanEnv::entry("Fe", "2")},
                  true,
                  QStringLiteral("NOTIFY_CMD /bin/sh -c \"sleep 0.3; echo $1 $2 > $0\" \"%1\"\n")
                      .arg(told));
        QVERIFY(n->run.start());
        QVERIFY(n->finishedWell());
        QCOMPARE(states(n->list), QStringLiteral("DSD"));
        QCOMPARE(n->target->lines.filter("MoveSHolderTo"),
                 (QStringList{"MoveSHolderTo 1", "MoveSHolderTo 2"}));
        QCOMPARE(n->target->lines.filter("SetCurrentEnergy").size(), 2);
        QCOMPARE(journal(n->run).mid(1), (QStringList{"1 done", "3 done", "0 ended"}));
        QCOMPARE(n->run.runStatus(), QStringLiteral("idle"));
        QVERIFY(n->logged.contains(QStringLiteral("Run finished at entry 3.")));
        // The night's report is written beside the journal as the run ends.
        QCOMPARE(QFileInfo(n->run.reportPath()).absolutePath(),
                 QFileInfo(n->run.journalPath()).absolutePath());
        QVERIFY(QFileInfo(n->run.reportPath()).size() > 0);
        // Measured entries are asked for before they leave the list; one passed over is not.
        QVERIFY(n->run.questionBeforeRemoving({1}, false).isEmpty());
        QVERIFY(n->run.questionBeforeRemoving({0, 1, 2}, false).contains(QLatin1String("1, 3")));
        // The last notification still runs as the run quits: waited for, not killed.
        n.reset();
        const QStringList lines = TestSupport::readLines(told);
        QVERIFY2(lines.size() == 1 &&
                     lines.at(0).startsWith("finished Run finished: 2 entries done, 0 failed"),
                 qPrintable(lines.join('\n')));
    }

    // Resume after "stop after this entry" measures the next and finishes only with all measured;
    // a target lost in it and back: held and said, the entry taken up again with every move.
    void stopAfterEntryThenResumeNext()
    {
        auto n = night(abc());
        QSignalSpy cleared(&n->run, &RunController::stopAfterEntryCleared);
        n->run.setStopAfterEntry(true);
        QVERIFY(n->run.start());
        QVERIFY(n->finished.wait(20000));
        QCOMPARE(states(n->list), QStringLiteral("D--"));
        QCOMPARE(cleared.count(), 1); // it was for that run
        n->target->held = QStringLiteral("GetBlockNum");
        QSignalSpy alerts(&n->run, &RunController::alert);
        n->run.resume(Exec::FromNext);
        QTRY_COMPARE_WITH_TIMEOUT(n->logged.filter("goes on with"),
                                  QStringList{"The run goes on with entry 2."}, 5000);
        QTRY_COMPARE_WITH_TIMEOUT(n->target->lines.filter("GetBlockNum").size(), 2, 10000);
        n->run.setTargetReady(false);
        QTRY_COMPARE_WITH_TIMEOUT(n->run.runStatus(), QStringLiteral("held target-lost"), 10000);
        QCOMPARE(alerts.count(), 1);
        n->run.setTargetReady(true);
        QVERIFY(n->finishedWell());
        QCOMPARE(states(n->list), QStringLiteral("DDD"));
        QVERIFY(n->run.unmeasuredEntries().isEmpty());
        QCOMPARE(n->target->lines.filter("Start").size(), 3);
        QCOMPARE(n->target->lines.filter("MoveSHolderTo"),
                 (QStringList{"MoveSHolderTo 1", "MoveSHolderTo 2", "MoveSHolderTo 2",
                              "MoveSHolderTo 3"}));
        // Journaled as begun again: a crash from there on is offered for recovery.
        QCOMPARE(journal(n->run),
                 (QStringList{"0 started", "1 done", "0 ended", "0 started", "2 target-lost",
                              "2 repeat", "2 done", "3 done", "0 ended"}));
    }

    // Start names the first ticked entry with errors (not an unticked one's); nothing is begun.
    void startRefusedOnErrors()
    {
        QList<Entry> list = abc();
        list[1].holder.clear();
        list[2].targetElm = QStringLiteral("Xx");
        list[2].updateTarget();
        list[2].exec = false;
        auto n = night(list, false);
        QSignalSpy started(&n->run, &RunController::startExec);
        QSignalSpy refused(&n->run, &RunController::startRefused);
        QVERIFY(!n->run.start());
        QCOMPARE(refused.takeFirst(), QVariantList{1});
        QCOMPARE(n->logged.filter(QRegularExpression("^Entry \\d:")),
                 QStringList{"Entry 2: " + EntryCheck::errorsAtStart(list[1]).first()});
        // A start at a time is refused now, while someone is there to mend it.
        QVERIFY(!n->run.startAt(QDateTime::currentDateTime().addSecs(3600)));
        QCOMPARE(refused.takeFirst(), QVariantList{1});
        QVERIFY(!n->run.startsAt().isValid());
        // Corrected, and the first entry unticked: the run begins.
        list[1].holder = QStringLiteral("2");
        n->list.setEntry(1, list[1]);
        list[0].exec = false;
        n->list.setEntry(0, list[0]);
        QVERIFY(n->run.startAt(QDateTime::currentDateTime().addSecs(-60))); // passed: now
        QCOMPARE(started.count(), 1);
        // A start time that cannot be read holds the run back instead of starting it at once.
        auto unread = night(abc(), true, QStringLiteral("-start-at 25:61\n"));
        QVERIFY(!unread->run.start());
        QCOMPARE(unread->finished.count(), 1);
        QVERIFY(!unread->run.runGoing() && !unread->run.startsAt().isValid());
        // A start time set holds the run to its next such time: Start again keeps it, Stop cancels.
        QSignalSpy begun(&unread->run, &RunController::runStarted);
        const QDateTime now = QDateTime::currentDateTime();
        const QTime at = now.addSecs(7200).time();
        unread->run.setStartTime(QTime(at.hour(), at.minute()));
        QVERIFY(unread->run.start());
        const QDateTime held = unread->run.startsAt();
        QCOMPARE(held, RunEstimate::nextAt(now, QTime(at.hour(), at.minute())));
        QVERIFY(unread->run.start());
        QCOMPARE(unread->run.startsAt(), held);
        QVERIFY(!unread->run.runGoing());
        unread->run.stop();
        QVERIFY(!unread->run.startsAt().isValid());
        QCOMPARE(unread->run.runStatus(), QStringLiteral("idle"));
        QVERIFY(!begun.wait(800));
        QVERIFY(unread->target->lines.filter("MoveSHolderTo").isEmpty());
        unread->run.setStartTime(QTime()); // the operator takes the start time away
        QVERIFY(unread->run.start());
        QVERIFY(unread->run.runGoing());
    }

    // Entries followed by id: through moves, a second Start, edits, and the engine's reports.
    void entriesFollowedById()
    {
        QList<Entry> list = abc();
        list[0].blockDefType = EntryRows::FileBlocks;
        list[0].blockDefFile = m_dir.filePath(QStringLiteral("night.prm"));
        QVERIFY(BlockFile::write(list[0].blockDefFile, list[0]).ok);
        list[1].blockDefFile = list[0].blockDefFile; // named, but not of that kind
        auto n = night(list, false);
        disconnect(&n->run, &RunController::updateExec, nullptr, nullptr);
        QSignalSpy started(&n->run, &RunController::startExec);
        QSignalSpy updated(&n->run, &RunController::updateExec);
        QVERIFY(n->run.start());
        Exec *engine = n->run.engine();
        emit engine->executing(0);
        n->list.insert(0, EntryPlanEnv::entry("Ni", "9")); // the list moves under the run
        // The list shows the blocks of the file read, as no edit; another kind keeps its own.
        QSignalSpy edited(&n->list, &ScheduleModel::edited);
        Entry read = list[0];
        read.activeBlocks().setPos(0, 8123, false);
        for (int i : {0, 1})
            emit engine->measuredAs(i, read);
        QCOMPARE(n->list.entry(1).startEnergy(), 8123.0);
        QVERIFY(n->list.entry(2).startEnergy() != 8123.0);
        QCOMPARE(edited.count(), 0);
        QVERIFY(!n->run.start());
        QCOMPARE(started.count(), 1);
        emit engine->entryEnded(0, EntryState::Done, QString());
        emit engine->stageShown(Stage::Initialize); // between entries: A keeps its line
        QVERIFY(n->list.outcome(1).text.isEmpty());
        emit engine->executing(1);
        QCOMPARE(states(n->list), QStringLiteral("-DR-"));
        QCOMPARE(n->run.runningRow(), 2);
        Entry c = n->list.entry(3);
        c.sampleId = QStringLiteral("edited");
        n->list.setEntry(3, c);
        n->list.setEntry(0, EntryPlanEnv::entry("Co", "8")); // not the run's
        QCOMPARE(updated.count(), 1);
        QCOMPARE(updated.at(0).at(0).toInt(), 2);
        QCOMPARE(updated.at(0).at(1).value<Entry>().sampleId, QStringLiteral("edited"));
        Entry a = n->list.entry(1); // the run's first entry reaches it too
        a.sampleId = QStringLiteral("first");
        n->list.setEntry(1, a);
        QCOMPARE(updated.count(), 2);
        QCOMPARE(updated.at(1).at(0).toInt(), 0);

        // Cut from the list while it ran, the entry is still the run's.
        ScheduleModel::Item cut = n->list.take(2);
        n->buffer.put(0, cut);
        emit engine->entryEnded(1, EntryState::Failed, QStringLiteral("holder stuck"));
        emit engine->executing(2);
        emit engine->entryEnded(2, EntryState::Done, QString());
        emit engine->finished(true);
        QVERIFY(n->run.unmeasuredEntries().isEmpty());
        QCOMPARE(n->run.failedEntries(), 1);
        QCOMPARE(n->run.runStatus(), QStringLiteral("failed 2"));
    }

    // A journal that cannot be written never stops the night: each failure logged, told once.
    void journalThatCannotBeWritten()
    {
        const QString path = m_dir.filePath(QStringLiteral("no/such/j.csv"));
        auto n = night(abc(), false, QStringLiteral("JOURNAL \"%1\"\n").arg(path));
        QSignalSpy failed(&n->run, &RunController::journalFailed);
        QVERIFY(n->run.start());
        emit n->run.engine()->executing(0);
        emit n->run.engine()->entryEnded(0, EntryState::Done, QString());
        QCOMPARE(failed.count(), 1);
        QVERIFY(failed.at(0).at(0).toString().contains(path));
        QVERIFY2(n->logged.filter(path).size() >= 2, qPrintable(n->logged.join('\n')));
        QVERIFY(n->run.runGoing());
    }

    // How a run ended, in the list and one log line; an entry left running takes the run's outcome.
    void runEnds_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("states");
        QTest::addColumn<QString>("line");
        const auto row = [](const char *name, const char *how, const char *states, const char *l) {
            QTest::newRow(name) << QString(how) << QString(states) << QString(l);
        };
        row("on an error", "error", "F--", "Run ended on an error at entry 1.");
        row("by itself, its entry left running", "ok", "D--",
            "Run ended without measuring entries 2, 3.");
        row("stopped by the operator", "stop", "T--", "Run stopped by the operator at entry 1.");
        row("by itself, before its first entry", "none", "---",
            "Run ended without measuring entries 1, 2, 3.");
    }
    void runEnds()
    {
        QFETCH(QString, how);
        auto n = night(abc(), false);
        QVERIFY(n->run.start());
        Exec *engine = n->run.engine();
        if (how != "none")
            emit engine->executing(0);
        if (how == "stop") {
            n->run.stop();
            emit engine->entryEnded(0, EntryState::Stopped, QString());
        }
        emit engine->finished(how != "error");
        QTEST(states(n->list), "states");
        QFETCH(QString, line);
        QCOMPARE(n->logged.filter(QRegularExpression("^Run (ended|stopped|finished)")),
                 QStringList{line});
    }

    // Held until its time; past the deadline the entry that would end after it and all after it
    // are skipped with the reason, and the run finishes well, by the deadline.
    void deadlineEndsTheRun()
    {
        QList<Entry> list = abc();
        list[0].measTimes = QStringLiteral("1");
        list[1].measTimes = QStringLiteral("100000");
        list[2].measTimes = QStringLiteral("1"); // would fit, but comes after
        const QString endBy =
            QDateTime::currentDateTime().addSecs(180).toString(QStringLiteral("HH:mm"));
        auto n = night(list, true,
                       QStringLiteral("EST_MOVE 0\nEST_HOLDER_MOVE 0\nEND_BY %1\n").arg(endBy));
        QSignalSpy started(&n->run, &RunController::runStarted);
        const QDateTime now = QDateTime::currentDateTime();
        QVERIFY(n->run.startAt(now.addMSecs(400)));
        QVERIFY(n->run.runStatus().startsWith(QLatin1String("held "))); // peers read why
        QVERIFY(!n->run.runGoing());
        QVERIFY(started.wait(5000));
        QVERIFY(QDateTime::currentDateTime() >= now.addMSecs(400));
        QCOMPARE(n->run.deadline().toString(QStringLiteral("HH:mm")), endBy);
        QVERIFY(n->finishedWell());
        QCOMPARE(states(n->list), QStringLiteral("DSS"));
        QCOMPARE(n->target->lines.filter("Start").size(), 1);
        QCOMPARE(journal(n->run).mid(1),
                 (QStringList{"1 done", "2 skipped", "3 skipped", "0 ended"}));
        const QList<JournalRow> rows = RunJournal::read(n->run.journalPath());
        QVERIFY(rows.at(2).detail.contains(endBy));
        QCOMPARE(rows.at(3).detail, rows.at(2).detail);
        QCOMPARE(rows.last().detail, QStringLiteral("finished-by-deadline"));
        QVERIFY(n->run.unmeasuredEntries().isEmpty());
    }

    // The target's absence and the operator's wait count while the entry ran, not before, apart
    // from the machine's time; its estimate as last edited, the list's first row too.
    void entryRowWeighsWaitsAndEdits()
    {
        auto n = night(abc(), false);
        QVERIFY(n->run.start());
        Exec *engine = n->run.engine();
        Entry a = n->list.entry(0);
        a.measTimes = QStringLiteral("100000");
        n->list.setEntry(0, a);
        emit engine->stageShown(Stage::WaitingForTarget);
        QTest::qWait(300);
        emit engine->executing(0);
        emit engine->stageShown(Stage::TargetMeasuring);
        QTest::qWait(300); // measuring is no wait on the target
        emit engine->entryEnded(0, EntryState::Done, QString());
        emit engine->executing(1);
        emit engine->stageShown(Stage::TargetLost);
        QTest::qWait(300);
        emit engine->stageShown(Stage::TargetMeasuring);
        emit engine->newPrompt(QStringLiteral("Change the gas"), PromptICGases);
        QTest::qWait(300);
        n->run.confirmPrompt(n->run.openPrompts().first().id);
        emit engine->entryEnded(1, EntryState::Done, QString());
        const QList<JournalRow> rows = RunJournal::read(n->run.journalPath());
        QCOMPARE(rows.size(), 3);
        // Each row has its start and end; only the second waited for the operator.
        for (int i : {1, 2})
            QVERIFY(rows.at(i).started.isValid() && rows.at(i).ended >= rows.at(i).started);
        QVERIFY(rows.at(2).seconds >= 0.5);
        QVERIFY2(
            rows.at(1).targetWait < 0.2 && rows.at(2).targetWait >= 0.25,
            qPrintable(
                QStringLiteral("%1 %2").arg(rows.at(1).targetWait).arg(rows.at(2).targetWait)));
        QCOMPARE(rows.at(1).operatorWait, 0.0);
        QVERIFY2(rows.at(2).operatorWait >= 0.25 &&
                     rows.at(2).machineSeconds() < rows.at(2).operatorWait,
                 qPrintable(QString::number(rows.at(2).operatorWait)));
        QVERIFY2(rows.at(1).estimated > 100000, qPrintable(QString::number(rows.at(1).estimated)));
        QCOMPARE(rows.at(2).estimated, std::round(n->list.estimate(1).seconds * 10) / 10);
        QVERIFY(rows.at(2).model > 0);
    }

    // GetRunStatus in ASCII words whatever the language: held, stalled, and never a false finished;
    // a prompt held past PROMPT_NOTIFY_AFTER is said, again while held; prompts confirmed by id.
    void runStatusForPeers()
    {
        // Every translatable text in another language.
        struct Translated : QTranslator
        {
            bool isEmpty() const override { return false; }
            QString translate(const char *, const char *, const char *, int) const override
            {
                return QStringLiteral("\u8a33");
            }
        } ja;
        QCoreApplication::installTranslator(&ja);
        auto n = night(abc(), false, QStringLiteral("PROMPT_NOTIFY_AFTER 0.05\n"));
        QSignalSpy waited(&n->run, &RunController::promptWaitedLong);
        Exec *engine = n->run.engine();
        QVERIFY(n->run.start());
        emit engine->targetLost(QStringLiteral("gone before the first entry"));
        emit engine->executing(0);
        emit engine->stageShown(Stage::Start);
        const QString running = n->run.runStatus();
        QCoreApplication::removeTranslator(&ja);
        QVERIFY2(running.startsWith(QLatin1String("running 1/3 measuring ETA ")),
                 qPrintable(running));
        emit engine->stalled(QStringLiteral("still waiting"));
        QVERIFY(n->run.runStatus().startsWith(QLatin1String("stalled 1/3 measuring")));
        n->run.busLost();
        emit engine->stageShown(Stage::End);
        QVERIFY(n->run.runStatus().startsWith(QLatin1String("running 1/3 end")));
        emit engine->newPrompt(QStringLiteral("Change the gas\nDo it."), PromptICGases);
        QCOMPARE(n->run.runStatus(), QStringLiteral("held prompt"));
        const QString waiting = QStringLiteral("waiting for the operator: Change the gas");
        QCOMPARE(n->list.outcome(0).text, waiting); // the running entry's line, the first row
        QVERIFY(waited.wait(5000));
        QCOMPARE(n->logged.filter("A prompt has waited for the operator").size(), 1);
        emit engine->newPrompt(QStringLiteral("HOCM Mode Changing."), PromptHOCM);
        const int gases = n->run.openPrompts().first().id;
        const int mirror = n->run.openPrompts().last().id;
        n->run.confirmPrompt(mirror);
        n->run.confirmPrompt(mirror); // no longer open: confirms nothing
        QCOMPARE(n->run.openPrompts().size(), 1);
        QCOMPARE(n->run.openPrompts().first().id, gases);
        waited.clear();
        QVERIFY(waited.wait(5000));
        QCOMPARE(n->list.outcome(0).text, waiting);
        n->run.confirmPrompt(gases);
        QVERIFY(n->run.openPrompts().isEmpty());
        QCOMPARE(n->list.outcome(0).text, stageName(n->run.stage()));
        emit engine->stageShown(Stage::TargetLost);
        QCOMPARE(n->run.runStatus(), QStringLiteral("held target-lost"));
        // Entry 2 stopped and passed over was never measured; the last keeps its outcome.
        emit engine->entryEnded(0, EntryState::Done, QString());
        emit engine->executing(1);
        emit engine->entryEnded(1, EntryState::Stopped, QString());
        emit engine->executing(2);
        emit engine->entryEnded(2, EntryState::Skipped, QString());
        emit engine->finished(true);
        QCOMPARE(n->run.unmeasuredEntries(), QList<int>{2});
        QCOMPARE(n->list.outcome(2).state, EntryState::Skipped);
        QCOMPARE(RunJournal::read(n->run.journalPath()).last().detail,
                 QStringLiteral("incomplete"));
        // The loss before any entry (entry 0), then the stall and the lost bus for entry 1.
        QCOMPARE(journal(n->run, true), (QStringList{"0 target-lost", "1 stalled", "1 bus-lost"}));
    }

    // After login (node list, events, configured commands): what one line makes the engine do.
    void busEvents_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("effect");
        QTest::addColumn<QString>("errorQuotes"); // what the red log line quotes
        const auto row = [](const char *line, QStringList effect, const char *quotes = "") {
            QTest::newRow(line) << QString::fromLatin1(line) << effect
                                << QString::fromLatin1(quotes);
        };
        row("System>Tarnix @listnodes Tarnix Dorvan",
            {"Dorvan.remote RemoteOn", "Dorvan.remote  SetMeasDarkMode 1", "ready(true)"});
        row("System>Tarnix @listnodes Tarnix Other", {});
        row("Dorvan>Tarnix _Disconnected", {"ready(false)"});
        row("Dorvan>Tarnix _EvChangerMoving 1", {"holder(true)"});
        row("Dorvan>Tarnix _EvMovingCurTh 1", {"mono(true)"});
        row("Dorvan>Tarnix _EvStartMeas", {"meas(true)"});
        row("Dorvan>Tarnix _EvEndQMeas", {"meas(false)"});
        row("Dorvan>Tarnix _EvErrStartXAFSMeas no beam", {"errStart(true, no beam)"});
        row("Dorvan>Tarnix _EvErrRemote Axis stop", {"errRemote(true, Axis stop)"});
        row("Dorvan>Tarnix _EvErrChangerMove jammed", {"errHolder(true, jammed)"});
        row("Other>Tarnix _EvChangerMoving 1", {});
        row("Dorvan.remote>Tarnix @GetBlockNum six", {"blocks(-1)"}, "\"six\"");
        // Only the target speaks for the target: another node's answer or refusal steers nothing.
        row("Other>Tarnix @GetBlockNum 7", {});
        row("Other.remote>Tarnix @Start Er: busy", {}, "busy"); // logged, steers nothing
        row("Other>Tarnix @listnodes Tarnix Dorvan", {});       // only the server lists nodes
        row("Dorvan.remote>Tarnix @Start Er: no beam", {"refused(Start)"}, "no beam");
        row("Dorvan>Tarnix.ch Foo 1 2", {"answer(Foo, Er: Unknown Command)"});
    }
    void busEvents()
    {
        QFETCH(QString, line);
        auto n = night({}, false,
                       QStringLiteral("INIT_CMDS_ON_CONNECTED_TO_TOLVA Dorvan Hello\n"
                                      "INIT_CMDS_ON_CONNECTED_TO_TARGET Dorvan.remote "
                                      "SetMeasDarkMode 1\n"));
        RunController &run = n->run;
        QStringList got;
        connect(&run, &RunController::sendCmd, this,
                [&got](const QString &, const QString &to, const QString &cmd) {
                    got << to + QLatin1Char(' ') + cmd;
                });
        run.busReady();
        QCOMPARE(got, (QStringList{"System listnodes", "System flgon Dorvan", "Dorvan  Hello"}));
        got.clear();
        const auto rec = [&got](const char *name) {
            return [&got, name](auto... args) {
                QStringList a;
                (a << ... << QVariant(args).toString());
                got << QStringLiteral("%1(%2)").arg(QLatin1String(name), a.join(QLatin1Char(',')));
            };
        };
        connect(&run, &RunController::setTargetIsReady, this, rec("ready"));
        connect(&run, &RunController::setSHolderIsMoving, this, rec("holder"));
        connect(&run, &RunController::setMainThIsMoving, this, rec("mono"));
        connect(&run, &RunController::setInXafsMeas, this, rec("meas"));
        connect(&run, &RunController::setErrStartingXAFSMeas, this, rec("errStart"));
        connect(&run, &RunController::setErrRemote, this, rec("errRemote"));
        connect(&run, &RunController::setErrSHolderMove, this, rec("errHolder"));
        connect(&run, &RunController::setReceivedBlockNum, this, rec("blocks"));
        connect(&run, &RunController::refusedByTarget, this, rec("refused"));
        connect(&run, &RunController::answer, this, [&got](const AMsg &q, const QString &text) {
            got << QStringLiteral("answer(%1, %2)").arg(q.cmd, text);
        });
        QStringList red;
        connect(&run, &RunController::logged, this, [&red](const QString &l, Severity s) {
            if (s == Severity::Error)
                red << l;
        });
        hear(run, line);
        QTEST(got, "effect");
        QFETCH(QString, errorQuotes);
        if (!errorQuotes.isEmpty())
            QVERIFY2(red.size() == 1 && red.first().contains(errorQuotes),
                     qPrintable(red.join('|')));
    }
};

QTEST_MAIN(TestController)
#include "tst_controller.moc"
