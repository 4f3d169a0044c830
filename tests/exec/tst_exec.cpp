// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's run control in its worker thread: prompts, stop/resume, errors, the target, limits.
#include "BlockFile.h"
#include "EntryPlanEnv.h"
#include "Exec.h"
#include "PromptType.h"

#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

// The bus and the target: records, answers each command not `held`, with autoConfirm each prompt.
class TargetDouble : public QObject
{
    Q_OBJECT
public:
    explicit TargetDouble(Exec *exec) : m_exec(exec)
    {
        connect(exec, &Exec::runningChanged, this, [this](bool on) { running.append(on); });
        connect(exec, &Exec::sendCmd, this, &TargetDouble::sendCmd);
        connect(exec, &Exec::newPrompt, this, [this](const QString &, PromptType type) {
            promptTypes.append(type);
            if (autoConfirm)
                post(&Exec::noticedPromptOk, type);
        });
        connect(exec, &Exec::log, this, [this](const QString &msg) { logLines.append(msg); });
        connect(exec, &Exec::flagChanged, this, [this](int f, bool on) { flags[f] = on; });
        connect(exec, &Exec::finished, this, [this](bool ok) { ends.append(ok); });
        connect(exec, &Exec::executing, this, [this](int step) { executed.append(step); });
        connect(exec, &Exec::currentStage, this, [this](const QString &s) { stages.append(s); });
        connect(exec, &Exec::entryEnded, this, [this](int i, EntryState state, const QString &why) {
            outcomes.append(QStringLiteral("%1:%2").arg(i).arg(int(state)));
            reasons.append(why);
        });
    }

    // Calls an engine slot in the engine's thread, after whatever was posted before.
    template <typename... Params, typename... Args>
    void post(void (Exec::*slot)(Params...), Args... args)
    {
        Exec *e = m_exec;
        QMetaObject::invokeMethod(
            e, [=] { (e->*slot)(Params(args)...); }, Qt::QueuedConnection);
    }

    QStringList lines;  // every command, as sent
    QStringList routes; // "sender channel>receiver" of each command
    QList<PromptType> promptTypes;
    QStringList logLines;
    QMap<int, bool> flags; // the engine's flags as last reported
    QList<bool> running;   // the engine's runningChanged, in order
    QList<bool> ends;      // the ok of each finished
    QList<int> executed;   // the entry of each executing
    QStringList stages;    // each currentStage
    QStringList outcomes;  // "index:state" of each entryEnded
    QStringList reasons;   // and its detail
    QSet<QString> held;    // command words autoAnswer leaves unanswered
    bool autoConfirm = true;
    int blockNumAnswer = 1;

public slots:
    void sendCmd(const QString &fromCh, const QString &to, const QString &cmd)
    {
        lines.append(cmd);
        routes.append(fromCh + QLatin1Char('>') + to);
        emit commandReceived(cmd);
        const QString word = cmd.section(QLatin1Char(' '), 0, 0);
        if (held.contains(word))
            return;
        if (word == QLatin1String("SetCurrentEnergy"))
            post(&Exec::setMainThIsMoving, false);
        else if (word == QLatin1String("MoveSHolderTo"))
            post(&Exec::setSHolderIsMoving, false);
        else if (word == QLatin1String("GetBlockNum"))
            post(&Exec::setReceivedBlockNum, blockNumAnswer);
        else if (word == QLatin1String("Start"))
            post(&Exec::setInXafsMeas, false);
    }

signals:
    void commandReceived(QString cmd);

private:
    Exec *m_exec;
};

class TstExec : public QObject
{
    Q_OBJECT

    const QString kTarget = QStringLiteral("Dorvan.remote");
    QThread *thread = nullptr;
    Exec *exec = nullptr;
    TargetDouble *t = nullptr;
    QList<Entry> entries;

    // The entries of "Cu1 Fe2-": element and holder, "-" when not ticked.
    void list(const QString &items)
    {
        entries.clear();
        for (const QString &item : items.split(' ', Qt::SkipEmptyParts))
            entries << EntryPlanEnv::entry(item.left(2), item.mid(2).remove('-'),
                                           !item.endsWith('-'));
    }
    void start(const QString &items)
    {
        list(items);
        t->post(&Exec::start, entries);
    }
    // Waits until the target has received `count` commands starting with word.
    bool waitFor(const QString &word, int count = 1)
    {
        const QRegularExpression rx("^" + word);
        return QTest::qWaitFor([&] { return t->lines.filter(rx).size() >= count; }, 10000);
    }
    // Waits for the run's n-th end; true if it ended as ok says.
    bool ends(bool ok = true, int n = 1)
    {
        return QTest::qWaitFor([&] { return t->ends.size() >= n; }, 10000) &&
               t->ends.at(n - 1) == ok;
    }
    // True if the list grows within ms.
    template <typename List> static bool grows(const List &list, int ms)
    {
        const auto n = list.size();
        return QTest::qWaitFor([&] { return list.size() > n; }, ms);
    }
    QString stage() const { return t->stages.value(t->stages.size() - 1); }

private slots:
    void initTestCase() { QVERIFY(EntryPlanEnv::setUp()); }
    void init()
    {
        exec = new Exec;
        thread = new QThread;
        exec->moveToThread(thread);
        thread->start();
        t = new TargetDouble(exec);
        t->post(&Exec::setup, kTarget);
        t->post(&Exec::setTargetIsReady, true);
    }
    void cleanup()
    {
        QVERIFY(Exec::stopThread(thread, 10000));
        delete std::exchange(exec, nullptr);
        delete std::exchange(thread, nullptr);
        delete std::exchange(t, nullptr);
    }

    // Nothing ticked: the run ends at once, sending nothing; then Stop and errors only set flags.
    void nothingToRun()
    {
        start("Cu1- Fe2-");
        QVERIFY(ends(true));
        QCOMPARE(t->stages, QStringList{"Not In Exec"});
        QVERIFY(t->lines.isEmpty() && t->promptTypes.isEmpty() && t->executed.isEmpty());
        t->post(&Exec::stop, true);
        t->post(&Exec::setErrStartingXAFSMeas, true, " late");
        t->post(&Exec::setErrSHolderMove, true, " late too");
        QTRY_VERIFY_WITH_TIMEOUT(t->flags.value(ExecFlags::ErrSHolderMove), 10000);
        QVERIFY(t->flags.value(ExecFlags::ErrStartingXafsMeas));
        QVERIFY(!grows(t->ends, 100));
        QCOMPARE(t->stages, QStringList{"Not In Exec"});
    }

    // Nothing of the entry goes out while any prompt is open: what is edited meanwhile is sent.
    void firstEntryWaitsForEveryPrompt()
    {
        t->autoConfirm = false;
        start("Cu1");
        QTRY_COMPARE_WITH_TIMEOUT(t->promptTypes.size(), 3, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(t->flags.value(ExecFlags::MonoChanging), 10000);
        t->post(&Exec::updateEntry, 0, EntryPlanEnv::entry("Fe", "4"));
        t->post(&Exec::noticedPromptOk, PromptNone); // confirms nothing
        for (int k = 0; k < 2; ++k)
            t->post(&Exec::noticedPromptOk, t->promptTypes.at(2 - k));
        QVERIFY(!grows(t->lines, 200) && t->lines.isEmpty()); // still held by the last one
        t->post(&Exec::noticedPromptOk, t->promptTypes.at(0));
        QVERIFY(ends(true));
        QCOMPARE(t->lines.last(), QStringLiteral("Start"));
        QCOMPARE(t->lines.mid(0, 2), (QStringList{"SelectAtom 26", "SelectEdge 0"}));
        QVERIFY(t->lines.contains("MoveSHolderTo 4"));
        QCOMPARE(t->routes.count(">" + kTarget), t->routes.size());
        QVERIFY(!t->flags.value(ExecFlags::MonoChanging));
    }

    // While the first entry measures: Start/Resume ignored, edits count, a failed one not redone.
    void duringTheFirstMeasurement_data()
    {
        QTest::addColumn<QString>("event");
        QTest::newRow("Start and Resume ignored, edits") << "edit"; // Cu at 2 to Fe at 9
        QTest::newRow("ready again after a failed entry") << "fail";
    }
    void duringTheFirstMeasurement()
    {
        QFETCH(QString, event);
        t->held << "Start";
        t->post(&Exec::setSkipFailedEntries, event == "fail");
        start(event == "edit" ? "Cu1 Cu2" : "Cu1 Fe2");
        QVERIFY(waitFor("Start"));
        if (event == "edit") {
            t->post(&Exec::start, QList<Entry>{EntryPlanEnv::entry("Zn", "3")});
            t->post(&Exec::resume, Exec::FromNext);
            t->post(&Exec::updateEntry, 0, EntryPlanEnv::entry("Cu", "7"));
            t->post(&Exec::updateEntry, 1, EntryPlanEnv::entry("Fe", "9"));
            t->post(&Exec::updateEntry, 5, EntryPlanEnv::entry("Zn", "9")); // not the run's
        }
        if (event == "fail")
            t->post(&Exec::setErrStartingXAFSMeas, true, "no beam");
        else
            t->post(&Exec::setInXafsMeas, false);
        QVERIFY(waitFor("Start", 2));
        if (event == "fail")
            t->post(&Exec::setTargetIsReady, true);
        t->post(&Exec::setInXafsMeas, false);
        QVERIFY(ends(true));
        QCOMPARE(t->ends.size(), 1);
        QCOMPARE(t->executed, (QList<int>{0, 1})); // nothing skipped, added or again
        QCOMPARE(t->lines.filter("SelectAtom"), (QStringList{"SelectAtom 29", "SelectAtom 26"}));
        QCOMPARE(t->lines.filter("MoveSHolderTo"),
                 (QStringList{"MoveSHolderTo 1",
                              event == "edit" ? "MoveSHolderTo 9" : "MoveSHolderTo 2"}));
        // The second entry is compared with the first as it was measured.
        if (event == "edit")
            QVERIFY(t->logLines.contains("ExecP = 1, new Holder = 9, old Holder = 1"));
    }

    // A run stopped while the target measures entry 0 is resumed.
    void resume_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("untick"); // the stopped entry, by the operator meanwhile
        QTest::addColumn<int>("resumedAt");
        QTest::newRow("FromHere waits for the measurement") << int(Exec::FromHere) << false << 0;
        QTest::newRow("FromInit, unticked since") << int(Exec::FromInit) << true << 1;
    }
    void resume()
    {
        QFETCH(int, mode);
        QFETCH(int, resumedAt);
        t->held << "Start";
        start("Cu1 Cu2");
        QVERIFY(waitFor("Start"));
        const QStringList firstRun = t->lines;
        t->post(&Exec::stop, true);
        QVERIFY(ends(true));
        // Stopped, but the target's measurement goes on, and the operator is told.
        QCOMPARE(stage(), QStringLiteral("Target still measuring"));
        QVERIFY(t->logLines.contains("Entry 1: the target's measurement goes on until it ends."));
        QFETCH(bool, untick);
        if (untick) {
            entries[0].exec = false;
            t->post(&Exec::updateEntry, 0, entries.at(0));
        }
        QList<int> goesOnAt; // what the operator is told
        connect(exec, &Exec::goesOnAt, this, [&goesOnAt](int at) { goesOnAt << at; });
        t->post(&Exec::resume, Exec::ResumeMode(mode));
        QTRY_COMPARE_WITH_TIMEOUT(goesOnAt, QList<int>{resumedAt}, 5000);
        if (mode == Exec::FromHere) {
            QVERIFY(!grows(t->lines, 150)); // the target still measures
            t->post(&Exec::setInXafsMeas, false);
        }
        QVERIFY(waitFor("Start", 2));
        QCOMPARE(t->executed.last(), resumedAt);
        const QStringList again = t->lines.mid(firstRun.size());
        if (resumedAt == 0) // the same entry again, from stage 0
            QCOMPARE(again, firstRun);
        else // the next entry, with every move: the beamline may have changed meanwhile
            QCOMPARE(again, planEntry({entries.at(1), nullptr, 1, t->blockNumAnswer}).lines);
    }

    void targetAbsentOrLost_data()
    {
        QTest::addColumn<QString>("lostAt"); // empty: absent from the start
        QTest::addColumn<int>("mode"); // -1: Start anew, -2: nobody there, it goes on by itself
        QTest::newRow("absent at start") << "" << -1;
        QTest::newRow("lost moving, resume here") << "SetCurrentEnergy" << int(Exec::FromHere);
        QTest::newRow("lost measuring, start anew") << "Start" << -1;
        QTest::newRow("lost moving, back by itself") << "MoveSHolderTo" << -2;
    }
    // Nothing is sent to a target that is not there; one lost mid-entry holds the run.
    void targetAbsentOrLost()
    {
        QFETCH(QString, lostAt);
        QFETCH(int, mode);
        const bool hold = mode != -2; // the run waits for the operator when it is back
        t->post(&Exec::setResumeOnReturn, !hold, 3);
        if (lostAt.isEmpty())
            t->post(&Exec::setTargetIsReady, false);
        else
            t->held << lostAt;
        start("Cu1 Cu2");
        if (lostAt.isEmpty()) {
            QTRY_COMPARE_WITH_TIMEOUT(stage(), QStringLiteral("Waiting for the target"), 10000);
        } else {
            QVERIFY(waitFor(lostAt));
            t->post(&Exec::setTargetIsReady, false);
            QTRY_COMPARE_WITH_TIMEOUT(stage(), QStringLiteral("Target lost"), 10000);
            QVERIFY(t->logLines.contains(
                "Entry 1: the target was lost; the run holds. Resume or Start once it is back."));
            for (int f : {ExecFlags::MainThMoving, ExecFlags::SHolderMoving, ExecFlags::InXAFSMeas})
                QVERIFY(!t->flags.value(f));
            t->held.clear();
        }
        const int before = int(t->lines.size());
        t->post(&Exec::setTargetIsReady, true);
        if (!lostAt.isEmpty() && hold) {
            QVERIFY(!grows(t->ends, 100)); // back, but where to go on is the operator's choice
            QCOMPARE(t->lines.size(), before);
            if (mode < 0)
                t->post(&Exec::start, entries);
            else
                t->post(&Exec::resume, Exec::ResumeMode(mode));
        }
        QVERIFY(ends(true));
        QCOMPARE(t->ends.size(), 1);
        QCOMPARE(t->lines.mid(before).count("Start"), 2);
        QCOMPARE(t->running, (QList<bool>{true, false})); // busy from start to end
        if (!hold) // taken up again from its first command, every move included
            QCOMPARE(t->lines.mid(before).first(), t->lines.first());
    }

    // A target gone each time the entry measures: begun at most the attempts allowed, then failed.
    void targetCutsEveryAttempt_data()
    {
        QTest::addColumn<bool>("skip");
        QTest::addColumn<bool>("afterEnd"); // the target leaves right after its end event
        QTest::newRow("stop") << false << false;
        QTest::newRow("skip") << true << false;
        QTest::newRow("left after the end event") << false << true;
    }
    void targetCutsEveryAttempt()
    {
        QFETCH(bool, skip);
        QFETCH(bool, afterEnd);
        t->post(&Exec::setResumeOnReturn, true, 2);
        t->post(&Exec::setSkipFailedEntries, skip);
        t->held << "Start";
        connect(t, &TargetDouble::commandReceived, t, [this, afterEnd](const QString &cmd) {
            if (cmd != QLatin1String("Start") || !t->held.contains("Start"))
                return;
            if (afterEnd) {
                t->post(&Exec::setInXafsMeas, false);
                t->held.clear();
            }
            t->post(&Exec::setTargetIsReady, false); // gone, and back a moment later
            t->post(&Exec::setTargetIsReady, true);
        });
        start("Cu1 Cu2");
        const QString state =
            QString::number(int(afterEnd ? EntryState::Done : EntryState::Failed));
        QVERIFY2(ends(skip || afterEnd), qPrintable((t->logLines + t->lines).join('\n')));
        QCOMPARE(t->lines.count("Start"), skip ? 4 : 2);
        QCOMPARE(t->outcomes.first(), "0:" + state);
        if (skip || afterEnd) // under skip both entries fail in turn; the run ends by itself
            QCOMPARE(t->outcomes.at(1), "1:" + state);
    }

    // How each entry ended; a refused command fails the entry only when the engine waits for it.
    void entryOutcomes_data()
    {
        QTest::addColumn<QString>("event"); // what befalls the first entry
        QTest::addColumn<bool>("skip");
        QTest::addColumn<bool>("stopAfter");
        QTest::addColumn<QString>("outcomes"); // index:state of each entryEnded
        QTest::addColumn<int>("starts");
        const QString failedOnly = QStringLiteral("0:3");
        const QString wentOn = QStringLiteral("0:3 1:4 2:2");
        const QString allDone = QStringLiteral("0:2 1:4 2:2");
        QTest::newRow("start error, stop") << "start error" << false << false << failedOnly << 1;
        QTest::newRow("start error, skip") << "start error" << true << false << wentOn << 2;
        QTest::newRow("plan error, skip") << "plan error" << true << false << wentOn << 1;
        QTest::newRow("stop after this entry") << "" << false << true << "0:2" << 1;
        QTest::newRow("remote error does not end the run")
            << "remote error" << false << false << allDone << 2;
        QTest::newRow("energy move refused")
            << "refused SetCurrentEnergy" << false << false << failedOnly << 0;
        QTest::newRow("a command nothing waits for refused")
            << "refused SelectAtom" << false << false << allDone << 2;
    }
    void entryOutcomes()
    {
        QFETCH(QString, event);
        QFETCH(bool, skip);
        QFETCH(bool, stopAfter);
        QFETCH(QString, outcomes);
        const bool failed = outcomes.startsWith("0:3");
        const QString refused = event.section("refused ", 1);
        list("Cu1 Fe2- Fe2");
        if (event == "plan error")
            entries[0].blockDefType = 7;
        const QString held =
            refused.isEmpty() || refused == "SelectAtom" ? QStringLiteral("Start") : refused;
        const bool waits = !event.isEmpty() && event != "plan error";
        if (waits)
            t->held << held;
        t->post(&Exec::setSkipFailedEntries, skip);
        t->post(&Exec::setStopAfterEntry, stopAfter);
        t->post(&Exec::start, entries);
        QStringList before;
        if (waits) {
            QVERIFY(waitFor(held));
            t->held.clear();
            before = t->lines;
            if (!refused.isEmpty())
                t->post(&Exec::noticedRefusal, refused);
            else if (event == "start error")
                t->post(&Exec::setErrStartingXAFSMeas, true, "no beam");
            else
                t->post(&Exec::setErrRemote, true, "axis stop");
            if (!failed) // the measurement goes on and ends as usual
                t->post(&Exec::setInXafsMeas, false);
        }
        QVERIFY(ends(skip || !failed)); // the run fails only with an entry under "stop"
        QVERIFY(!grows(t->ends, 100));
        QTEST(t->outcomes.join(' '), "outcomes");
        if (failed)
            QVERIFY(!t->reasons.at(0).isEmpty());
        if (failed && !skip && waits) // nothing more is sent
            QCOMPARE(t->lines, before);
        if (failed && !refused.isEmpty())
            QVERIFY(t->logLines.contains("Entry 1: the target refused " + refused +
                                         "; the entry fails."));
        QTEST(int(t->lines.filter(QRegularExpression("^Start")).size()), "starts");
        QCOMPARE(t->logLines.filter("The run goes on").size(), skip && failed ? 1 : 0);
        if (event == "remote error" || (event == "start error" && !skip)) // for the status panel
            QTRY_VERIFY_WITH_TIMEOUT(t->flags.value(event == "remote error"
                                                        ? ExecFlags::ErrRemote
                                                        : ExecFlags::ErrStartingXafsMeas),
                                     10000);
    }

    // Each entry is compared with the entry the run last measured, never its neighbour; whatever
    // leaves the beamline unknown gives the next entry every move and prompt, line for line.
    void comparedWithTheLastEntryMeasured_data()
    {
        QTest::addColumn<QString>("list");   // element and holder an entry, "-": not ticked
        QTest::addColumn<int>("last");       // the entry checked
        QTest::addColumn<QString>("events"); // what happens during the run
        QTest::addColumn<bool>("everything");
        // Fe at 2 after an unticked Fe at 2, compared with Cu at 1: its moves and gas prompts.
        QTest::newRow("after an unticked entry") << "Cu1 Fe2- Fe2" << 2 << "" << false;
        QTest::newRow("first entry unticked") << "Cu1- Cu1" << 1 << "" << true;
        // The same sample twice: only the rule decides whether anything moves.
        QTest::newRow("after a refused holder move, skip")
            << "Cu1 Fe2 Cu1" << 2 << "refuse" << true;
        QTest::newRow("after stop after this entry and Resume") << "Cu1 Cu1" << 1 << "stop" << true;
        QTest::newRow("Start again after a run") << "Cu1" << 0 << "again" << true;
        // Fe at the same holder, so that it waits in its prompts.
        QTest::newRow("after the target came back") << "Cu1 Fe1" << 1 << "lost" << true;
    }
    void comparedWithTheLastEntryMeasured()
    {
        QFETCH(QString, list);
        QFETCH(QString, events);
        QFETCH(int, last);
        QFETCH(bool, everything);
        t->post(&Exec::setSkipFailedEntries, true);
        t->post(&Exec::setStopAfterEntry, events == "stop");
        if (events == "refuse")
            t->held << "MoveSHolderTo";
        if (events == "lost")
            t->autoConfirm = false;
        start(list);
        if (events == "refuse") {
            // The first entry's move ends; the second entry's is refused.
            QVERIFY(waitFor("MoveSHolderTo 1"));
            t->post(&Exec::setSHolderIsMoving, false);
            QVERIFY(waitFor("MoveSHolderTo 2"));
            t->held.clear();
            t->post(&Exec::noticedRefusal, "MoveSHolderTo");
        } else if (events == "stop") {
            QVERIFY(ends(true)); // the first entry measured, then the stop
            t->post(&Exec::setStopAfterEntry, false);
            t->post(&Exec::resume, Exec::FromNext);
        } else if (events == "again") {
            QVERIFY(ends(true));
            t->post(&Exec::start, entries);
        } else if (events == "lost") {
            // Gone and back while the second entry's prompts are open, nothing of it sent yet.
            QTRY_COMPARE_WITH_TIMEOUT(t->promptTypes.size(), 3, 10000);
            for (PromptType p : t->promptTypes)
                t->post(&Exec::noticedPromptOk, p);
            QTRY_COMPARE_WITH_TIMEOUT(t->promptTypes.size(), 5, 10000);
            t->post(&Exec::setTargetIsReady, false);
            t->post(&Exec::setTargetIsReady, true);
            for (PromptType p : t->promptTypes.mid(3))
                t->post(&Exec::noticedPromptOk, p);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!t->executed.isEmpty() && t->executed.last() == last, 10000);
        // The run's end (after a Stop and Resume or a second Start, its second one).
        QVERIFY(ends(true, events == "stop" || events == "again" ? 2 : 1));
        // From the checked entry's SelectAtom on: the plan against the entry it is compared with.
        const QStringList sent =
            t->lines.mid(qMax(0, int(t->lines.lastIndexOf(QRegularExpression("SelectAtom .*")))));
        QCOMPARE(
            sent,
            planEntry({entries.at(last), everything ? nullptr : &entries.at(0), last, 1}).lines);
        if (!everything) // against Cu at holder 1: the holder and the gases change
            QVERIFY(sent.contains("MoveSHolderTo 2") && t->promptTypes.count(PromptICGases) == 2);
    }

    // The measurement's limit is its expected time, of the blocks sent (a block file's too), plus
    // the wait limit: a long healthy scan is not cut, nor shown as measuring past it once stopped.
    void measurementLimit_data()
    {
        QTest::addColumn<QString>("end"); // "file": reported, of a block file's blocks
        QTest::newRow("the entry's own blocks") << "reported";
        QTest::newRow("a block file's blocks") << "file";
        QTest::newRow("a scan that never ends is cut after its limit") << "never";
        QTest::newRow("with the window, past its limit: said once, the run waits") << "window";
        QTest::newRow("stopped, the end never reported") << "stopped";
    }
    void measurementLimit()
    {
        QFETCH(QString, end);
        QTemporaryDir dir;
        // A step scan of 100 points at 10 ms: 1 s expected.
        Entry scan = EntryPlanEnv::entry("Cu", "1");
        scan.selectScanType(EntryRows::StepScan);
        EntryPlanEnv::setUserBlocks(scan, 0, {"8900", "9000"}, {100}, "0.01");
        if (end == "file") {
            const QString prm = dir.filePath("long.prm");
            QVERIFY(BlockFile::write(prm, scan).ok);
            // Its own blocks would be over in 10 ms.
            EntryPlanEnv::setUserBlocks(scan, 0, {"8900", "9000"}, {1}, "0.01");
            scan.blockDefType = EntryRows::FileBlocks;
            scan.blockDefFile = prm;
        }
        t->post(&Exec::setWaitLimit, 0.1);
        t->post(&Exec::setEndRunOnPassedLimit, end != "stopped" && end != "window");
        t->held << "Start";
        t->post(&Exec::start, QList<Entry>{scan});
        QVERIFY(waitFor("Start"));
        if (end == "stopped") {
            t->post(&Exec::stop, true);
            QVERIFY(ends(true));
            QCOMPARE(stage(), QStringLiteral("Target still measuring"));
            t->post(&Exec::setInXafsMeas, true); // said again: still measuring, still limited
            QTRY_COMPARE_WITH_TIMEOUT(stage(), QStringLiteral("Not In Exec"), 5000);
            QVERIFY(!t->logLines.filter("has not reported the end of its measurement").isEmpty());
            return;
        }
        QVERIFY(!grows(t->ends, 500)); // well past the 10 ms + 0.1 s of the entry's own blocks
        if (end == "never") {          // the unattended run ends soon after 1 s + 0.1 s
            QVERIFY(ends(false));
            const QStringList waited = t->logLines.filter("still waiting");
            QCOMPARE(waited.size(), 1);
            QVERIFY(waited.first().endsWith("The unattended run ends on this error."));
            return;
        }
        if (end == "window") {
            QTRY_VERIFY_WITH_TIMEOUT(!t->logLines.filter("still waiting").isEmpty(), 10000);
            QVERIFY(!grows(t->ends, 200));
        }
        t->post(&Exec::setInXafsMeas, false);
        QVERIFY(ends(true));
        QCOMPARE(t->logLines.filter("still waiting").size(), int(end == "window"));
    }
};

QTEST_GUILESS_MAIN(TstExec)
#include "tst_exec.moc"
