// The engine's run control in its worker thread: empty and unticked lists,
// prompts that hold the run, start/stop/resume in every mode, error events,
// a target that is absent, lost or refuses, waits past their limit, edits
// handed over during a run.
#include "BlockFile.h"
#include "EntryPlanEnv.h"
#include "TargetDouble.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

namespace {
const QString kTarget = QStringLiteral("Dorvan.remote");
} // namespace

class TstExec : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(EntryPlanEnv::setUp()); }
    void init();
    void cleanup();
    void nothingToRun_data();
    void nothingToRun();
    void firstEntryWaitsForEveryPrompt_data();
    void firstEntryWaitsForEveryPrompt();
    void startOrResumeWhileRunningIgnored();
    void resume_data();
    void resume();
    void targetAbsentOrLost_data();
    void targetAbsentOrLost();
    void targetCutsEveryAttempt_data();
    void targetCutsEveryAttempt();
    void stopWhileTheTargetHangsMeasuring();
    void refusals_data();
    void refusals();
    void passedWaitLimit_data();
    void passedWaitLimit();
    void entryOutcomes_data();
    void entryOutcomes();
    void whileIdle();
    void editsCountFromTheNextTimeAnEntryBegins();
    void readyAgainDoesNotBeginAnEntryAnew();
    void comparedWithTheLastEntryMeasured_data();
    void comparedWithTheLastEntryMeasured();
    void resumeNextAfterStopAfterEntry();
    void longScanIsNotCut_data();
    void longScanIsNotCut();

private:
    // Waits until the target has received `count` commands starting with word.
    bool waitFor(const QString &word, int count = 1);

    QThread *thread = nullptr;
    Exec *exec = nullptr;
    TargetDouble *t = nullptr;
    QList<Entry> entries;
};

void TstExec::init()
{
    exec = new Exec;
    thread = new QThread;
    exec->moveToThread(thread);
    thread->start();
    t = new TargetDouble;
    t->attach(exec);
    t->autoAnswer = true;
    t->autoConfirm = true;
    t->blockNumAnswer = 1;
    Exec *e = exec;
    QMetaObject::invokeMethod(
        exec, [e] { e->setup(kTarget); }, Qt::BlockingQueuedConnection);
    emit t->setTargetIsReady(true);
    entries.clear();
}

void TstExec::cleanup()
{
    if (thread)
        QVERIFY(Exec::stopThread(thread, 10000));
    delete std::exchange(exec, nullptr);
    delete std::exchange(thread, nullptr);
    delete std::exchange(t, nullptr);
}

bool TstExec::waitFor(const QString &word, int count)
{
    QDeadlineTimer deadline(10000);
    auto n = [&] { return t->lines.filter(QRegularExpression("^" + word)).size(); };
    while (n() < count && !deadline.hasExpired())
        QTest::qWait(5);
    return n() >= count;
}

void TstExec::nothingToRun_data()
{
    QTest::addColumn<bool>("unticked");
    QTest::newRow("empty list") << false;
    QTest::newRow("all unticked") << true;
}

void TstExec::nothingToRun()
{
    QFETCH(bool, unticked);
    if (unticked)
        entries << EntryPlanEnv::entry("Cu", "1", false) << EntryPlanEnv::entry("Fe", "2", false);
    QSignalSpy finished(t, &TargetDouble::finished);
    QSignalSpy executing(t, &TargetDouble::executing);
    QSignalSpy stages(t, &TargetDouble::currentStage);
    emit t->startExec(entries);
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.at(0).at(0).toBool(), true);
    QCOMPARE(stages.last().at(0).toString(), QStringLiteral("Not In Exec"));
    QVERIFY(t->lines.isEmpty());
    QVERIFY(t->promptTypes.isEmpty());
    QCOMPARE(executing.count(), 0);
}

void TstExec::firstEntryWaitsForEveryPrompt_data()
{
    QTest::addColumn<QList<int>>("order");
    QTest::newRow("gases, mirror, mono") << QList<int>{0, 1, 2};
    QTest::newRow("mono, gases, mirror") << QList<int>{2, 0, 1};
}

void TstExec::firstEntryWaitsForEveryPrompt()
{
    QFETCH(QList<int>, order);
    t->autoConfirm = false;
    entries << EntryPlanEnv::entry("Cu", "1");
    QSignalSpy finished(t, &TargetDouble::finished);
    QSignalSpy sent(t, &TargetDouble::commandReceived);
    emit t->startExec(entries);
    QTRY_COMPARE_WITH_TIMEOUT(t->promptTypes.size(), 3, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(t->flags.value(ExecFlags::MonoChanging), 10000);
    // Nothing of the entry goes out while its prompts are open: what the
    // operator edits meanwhile is what is sent.
    emit t->updateExec(0, EntryPlanEnv::entry("Fe", "4"));
    QVERIFY(!sent.wait(100));
    QVERIFY(t->lines.isEmpty());
    sent.clear();
    emit t->promptOk(PromptNone); // confirms nothing
    for (int k = 0; k < 2; ++k)
        emit t->promptOk(t->promptTypes.at(order.at(k)));
    QVERIFY(!sent.wait(100)); // still held by the last one
    emit t->promptOk(t->promptTypes.at(order.at(2)));
    QVERIFY(finished.wait(10000));
    QCOMPARE(t->lines.last(), QStringLiteral("Start"));
    QCOMPARE(t->lines.mid(0, 2), (QStringList{"SelectAtom 26", "SelectEdge 0"}));
    QVERIFY(t->lines.contains("MoveSHolderTo 4"));
    QCOMPARE(t->routes.count(">" + kTarget), t->routes.size());
    QVERIFY(!t->flags.value(ExecFlags::MonoChanging));
}

void TstExec::startOrResumeWhileRunningIgnored()
{
    t->held << "Start";
    entries << EntryPlanEnv::entry("Cu", "1") << EntryPlanEnv::entry("Fe", "2");
    QSignalSpy finished(t, &TargetDouble::finished);
    QSignalSpy executing(t, &TargetDouble::executing);
    emit t->startExec(entries);
    QVERIFY(waitFor("Start"));
    emit t->startExec({EntryPlanEnv::entry("Zn", "3")});
    emit t->resumeExec(Exec::FromNext);
    emit t->setInXafsMeas(false);
    QVERIFY(waitFor("Start", 2));
    emit t->setInXafsMeas(false);
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.count(), 1);
    QCOMPARE(executing.count(), 2); // entry 0, then entry 1: nothing skipped or added
    QCOMPARE(t->lines.filter("SelectAtom"), (QStringList{"SelectAtom 29", "SelectAtom 26"}));
}

void TstExec::resume_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("resumedAt"); // -1: nothing left to run
    QTest::newRow("FromHere waits for the measurement") << int(Exec::FromHere) << 2 << 0;
    QTest::newRow("FromInit") << int(Exec::FromInit) << 2 << 0;
    QTest::newRow("FromNext") << int(Exec::FromNext) << 2 << 1;
    QTest::newRow("FromNext after the last") << int(Exec::FromNext) << 1 << -1;
}

// A run stopped while the target measures entry 0 is resumed.
void TstExec::resume()
{
    QFETCH(int, mode);
    QFETCH(int, count);
    QFETCH(int, resumedAt);
    t->held << "Start";
    for (int i = 1; i <= count; ++i)
        entries << EntryPlanEnv::entry("Cu", QString::number(i));
    QSignalSpy finished(t, &TargetDouble::finished);
    QSignalSpy executing(t, &TargetDouble::executing);
    QSignalSpy sent(t, &TargetDouble::commandReceived);
    QSignalSpy stages(t, &TargetDouble::currentStage);
    emit t->startExec(entries);
    QVERIFY(waitFor("Start"));
    const QStringList firstRun = t->lines;
    emit t->stopExec(true);
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.at(0).at(0).toBool(), true);
    // Stopped, but the target's measurement goes on, and the operator is told.
    QCOMPARE(stages.last().at(0).toString(), QStringLiteral("Target still measuring"));
    QVERIFY(t->logLines.contains("Entry 1: the target's measurement goes on until it ends."));
    sent.clear();
    emit t->resumeExec(Exec::ResumeMode(mode));
    if (resumedAt < 0) {
        QVERIFY(finished.wait(10000));
        QCOMPARE(finished.at(1).at(0).toBool(), true);
        QCOMPARE(t->lines, firstRun);
        return;
    }
    if (mode == Exec::FromHere) {
        QVERIFY(!sent.wait(150)); // the target still measures
        emit t->setInXafsMeas(false);
    }
    QVERIFY(waitFor("Start", 2));
    QCOMPARE(executing.last().at(0).toInt(), resumedAt);
    const QStringList again = t->lines.mid(firstRun.size());
    if (resumedAt == 0) // the same entry again, from stage 0
        QCOMPARE(again, firstRun);
    else // the next entry, with every move: the beamline may have changed meanwhile
        QCOMPARE(again, planEntry({entries.at(1), nullptr, 1, t->blockNumAnswer}).lines);
}

void TstExec::targetAbsentOrLost_data()
{
    QTest::addColumn<QString>("lostAt"); // empty: absent from the start
    QTest::addColumn<int>("mode");       // -1: Start anew
    QTest::addColumn<int>("starts");     // measurements once it is back
    QTest::addColumn<bool>("hold");      // the run waits for the operator when it is back
    QTest::newRow("absent at start") << "" << -1 << 2 << true;
    QTest::newRow("lost moving, resume here")
        << "SetCurrentEnergy" << int(Exec::FromHere) << 2 << true;
    QTest::newRow("lost measuring, resume from init")
        << "Start" << int(Exec::FromInit) << 2 << true;
    QTest::newRow("lost measuring, resume next") << "Start" << int(Exec::FromNext) << 1 << true;
    QTest::newRow("lost measuring, start anew") << "Start" << -1 << 2 << true;
    // Nobody needs to be there: the entry begins again by itself.
    QTest::newRow("lost measuring, back by itself") << "Start" << -2 << 2 << false;
    QTest::newRow("lost moving, back by itself") << "MoveSHolderTo" << -2 << 2 << false;
}

// Nothing is sent to a target that is not there; one lost mid-entry holds the
// run until the operator resumes or starts again.
void TstExec::targetAbsentOrLost()
{
    QFETCH(QString, lostAt);
    QFETCH(int, mode);
    QFETCH(int, starts);
    QFETCH(bool, hold);
    Exec *e = exec;
    QMetaObject::invokeMethod(
        e, [e, hold] { e->setResumeOnReturn(!hold, 3); }, Qt::BlockingQueuedConnection);
    entries << EntryPlanEnv::entry("Cu", "1") << EntryPlanEnv::entry("Cu", "2");
    QSignalSpy finished(t, &TargetDouble::finished);
    QSignalSpy stages(t, &TargetDouble::currentStage);
    const auto stage = [&stages] {
        return stages.isEmpty() ? QString() : stages.last().at(0).toString();
    };
    if (lostAt.isEmpty()) {
        emit t->setTargetIsReady(false);
    } else {
        t->held << lostAt;
    }
    emit t->startExec(entries);
    if (lostAt.isEmpty()) {
        QTRY_COMPARE_WITH_TIMEOUT(stage(), QStringLiteral("Waiting for the target"), 10000);
    } else {
        QVERIFY(waitFor(lostAt));
        emit t->setTargetIsReady(false);
        QTRY_COMPARE_WITH_TIMEOUT(stage(), QStringLiteral("Target lost"), 10000);
        QVERIFY(t->logLines.contains(
            "Entry 1: the target was lost; the run holds. Resume or Start once it is back."));
        for (int f : {ExecFlags::MainThMoving, ExecFlags::SHolderMoving, ExecFlags::InXAFSMeas})
            QVERIFY(!t->flags.value(f));
        t->held.clear();
    }
    const int before = int(t->lines.size());
    emit t->setTargetIsReady(true);
    if (!lostAt.isEmpty() && hold) {
        QVERIFY(!finished.wait(100)); // back, but where to go on is the operator's choice
        QCOMPARE(t->lines.size(), before);
        if (mode < 0)
            emit t->startExec(entries);
        else
            emit t->resumeExec(Exec::ResumeMode(mode));
    }
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toBool(), true);
    QCOMPARE(t->lines.mid(before).count("Start"), starts);
    QCOMPARE(t->running, (QList<bool>{true, false})); // busy from start to end
    if (!hold) // taken up again from its first command, every move included
        QCOMPARE(t->lines.mid(before).first(), t->lines.first());
}

// A target that goes away every time the entry measures: the entry is begun
// at most the attempts allowed, then fails, and the run follows what an entry
// error does; an entry whose end event came before the target left is done.
void TstExec::targetCutsEveryAttempt_data()
{
    QTest::addColumn<bool>("skip");
    QTest::addColumn<bool>("afterEnd"); // the target leaves right after its end event
    QTest::newRow("stop") << false << false;
    QTest::newRow("skip") << true << false;
    QTest::newRow("left after the end event") << false << true;
}
void TstExec::targetCutsEveryAttempt()
{
    QFETCH(bool, skip);
    QFETCH(bool, afterEnd);
    Exec *e = exec;
    QMetaObject::invokeMethod(
        e,
        [e, skip] {
            e->setResumeOnReturn(true, 2);
            e->setSkipFailedEntries(skip);
        },
        Qt::BlockingQueuedConnection);
    entries << EntryPlanEnv::entry("Cu", "1") << EntryPlanEnv::entry("Cu", "2");
    QSignalSpy finished(t, &TargetDouble::finished);
    QSignalSpy ended(t, &TargetDouble::entryEnded);
    t->autoAnswer = true;
    t->held << "Start";
    connect(t, &TargetDouble::commandReceived, t, [this, afterEnd](const QString &cmd) {
        if (cmd != QLatin1String("Start") || !t->held.contains("Start"))
            return;
        if (afterEnd)
            emit t->setInXafsMeas(false);
        // Gone, and back a moment later.
        emit t->setTargetIsReady(false);
        emit t->setTargetIsReady(true);
        if (afterEnd)
            t->held.clear();
    });
    emit t->startExec(entries);
    if (!skip && !afterEnd) {
        QVERIFY2(finished.wait(10000), qPrintable((t->logLines + t->lines).join('\n')));
        QCOMPARE(finished.at(0).at(0).toBool(), false);
        QCOMPARE(t->lines.count("Start"), 2);
        QCOMPARE(ended.at(0).at(1).value<EntryState>(), EntryState::Failed);
        return;
    }
    // Under skip both entries fail in turn; the run ends by itself.
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
    QCOMPARE(finished.at(0).at(0).toBool(), true);
    QCOMPARE(ended.at(0).at(1).value<EntryState>(),
             afterEnd ? EntryState::Done : EntryState::Failed);
    QCOMPARE(ended.at(1).at(1).value<EntryState>(),
             afterEnd ? EntryState::Done : EntryState::Failed);
    QCOMPARE(t->lines.count("Start"), afterEnd ? 2 : 4);
}

// Stopped while the target measures, the run ends at once; a target that
// never reports the end is shown as measuring only until its limit.
void TstExec::stopWhileTheTargetHangsMeasuring()
{
    Exec *e = exec;
    QMetaObject::invokeMethod(
        e, [e] { e->setWaitLimit(0.1); }, Qt::BlockingQueuedConnection);
    Entry quick = EntryPlanEnv::entry("Cu", "1");
    quick.measTimes = QStringLiteral("0.1");
    entries << quick;
    QSignalSpy finished(t, &TargetDouble::finished);
    QSignalSpy stages(t, &TargetDouble::currentStage);
    t->autoAnswer = true;
    t->autoConfirm = true;
    t->held << "Start";
    emit t->startExec(entries);
    QVERIFY(waitFor("Start"));
    emit t->stopExec(true);
    QVERIFY(finished.wait(5000));
    QCOMPARE(stages.last().at(0).toString(), QStringLiteral("Target still measuring"));
    QTRY_COMPARE_WITH_TIMEOUT(stages.last().at(0).toString(), QStringLiteral("Not In Exec"), 5000);
    QVERIFY(!t->logLines.filter("has not reported the end of its measurement").isEmpty());
}

void TstExec::refusals_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("fails");
    QTest::newRow("energy move") << "SetCurrentEnergy" << true;
    QTest::newRow("block count") << "GetBlockNum" << true;
    QTest::newRow("measurement") << "Start" << true;
    QTest::newRow("a command nothing waits for") << "SelectAtom" << false;
}

// A refused command whose end the engine waits for fails the entry at once.
void TstExec::refusals()
{
    QFETCH(QString, word);
    QFETCH(bool, fails);
    t->held << word << "Start";
    entries << EntryPlanEnv::entry("Cu", "1") << EntryPlanEnv::entry("Fe", "2");
    QSignalSpy finished(t, &TargetDouble::finished);
    emit t->startExec(entries);
    // A refusal of a command nothing waits for comes while the engine waits
    // for the measurement: it must not end that wait.
    QVERIFY(waitFor(fails ? word : QStringLiteral("Start")));
    const QStringList before = t->lines;
    emit t->refused(word);
    QCOMPARE(finished.wait(fails ? 10000 : 100), fails);
    if (fails) {
        QCOMPARE(finished.at(0).at(0).toBool(), false);
        QVERIFY(t->logLines.contains("Entry 1: the target refused " + word + "; the entry fails."));
        QVERIFY(!finished.wait(100));
        QCOMPARE(t->lines, before);
    }
}

void TstExec::passedWaitLimit_data()
{
    QTest::addColumn<bool>("unattended");
    QTest::addColumn<bool>("skip");
    QTest::newRow("with the window: logged once, the run waits") << false << false;
    QTest::newRow("unattended: the run ends") << true << false;
    QTest::newRow("unattended, skip: the entry fails, the run goes on") << true << true;
}

void TstExec::passedWaitLimit()
{
    QFETCH(bool, unattended);
    QFETCH(bool, skip);
    Exec *e = exec;
    QMetaObject::invokeMethod(exec, [e, unattended, skip] {
        e->setWaitLimit(0.05);
        e->setEndRunOnPassedLimit(unattended);
        e->setSkipFailedEntries(skip);
    });
    t->held << "SetCurrentEnergy";
    entries << EntryPlanEnv::entry("Cu", "1") << EntryPlanEnv::entry("Fe", "2");
    QSignalSpy finished(t, &TargetDouble::finished);
    emit t->startExec(entries);
    const QString line = QStringLiteral("Entry 1, stage \"Move Mono. and S. Holder\": still "
                                        "waiting for the end of the energy move after 0.05 s.");
    QTRY_VERIFY_WITH_TIMEOUT(!t->logLines.filter(line).isEmpty(), 10000);
    QCOMPARE(!finished.isEmpty() || finished.wait(unattended ? 10000 : 200), unattended);
    QCOMPARE(t->logLines.filter(line).size(), 1);
    QCOMPARE(t->logLines.filter(line).first().endsWith("The unattended run ends on this error."),
             unattended && !skip);
    if (skip) { // the second entry was begun
        QVERIFY(t->lines.contains("SelectAtom 26"));
    } else if (unattended) {
        QCOMPARE(finished.at(0).at(0).toBool(), false);
        QVERIFY(!t->lines.contains("Start"));
    } else {
        t->held.clear();
        emit t->setMainThIsMoving(false);
        QVERIFY(finished.wait(10000));
        QCOMPARE(finished.at(0).at(0).toBool(), true);
    }
}

// How each entry ended, with every kind of failure, under "stop" and "skip",
// and with "stop after this entry".
void TstExec::entryOutcomes_data()
{
    // -1 none, 0 start error, 1 holder-move error, 2 plan error, 3 remote error
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("skip");
    QTest::addColumn<bool>("stopAfter");
    QTest::addColumn<QString>("outcomes"); // index:state of each entryEnded
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("starts");
    const QString failedOnly = QStringLiteral("0:3");
    const QString wentOn = QStringLiteral("0:3 1:4 2:2");
    QTest::newRow("start error, stop") << 0 << false << false << failedOnly << false << 1;
    QTest::newRow("start error, skip") << 0 << true << false << wentOn << true << 2;
    QTest::newRow("holder error, stop") << 1 << false << false << failedOnly << false << 0;
    QTest::newRow("holder error, skip") << 1 << true << false << wentOn << true << 1;
    QTest::newRow("plan error, stop") << 2 << false << false << failedOnly << false << 0;
    QTest::newRow("plan error, skip") << 2 << true << false << wentOn << true << 1;
    QTest::newRow("stop after this entry") << -1 << false << true << "0:2" << true << 1;
    QTest::newRow("stop after a failed entry") << 0 << true << true << failedOnly << true << 1;
    QTest::newRow("every entry") << -1 << true << false << "0:2 1:4 2:2" << true << 2;
    QTest::newRow("remote error does not end the run")
        << 3 << false << false << "0:2 1:4 2:2" << true << 2;
}

void TstExec::entryOutcomes()
{
    QFETCH(int, kind);
    QFETCH(bool, skip);
    QFETCH(bool, stopAfter);
    QFETCH(QString, outcomes);
    QFETCH(bool, ok);
    QFETCH(int, starts);
    Entry first = EntryPlanEnv::entry("Cu", "1");
    if (kind == 2)
        first.blockDefType = 7;
    entries << first << EntryPlanEnv::entry("Fe", "2", false) << EntryPlanEnv::entry("Fe", "2");
    const QString held = kind == 1 ? QStringLiteral("MoveSHolderTo") : QStringLiteral("Start");
    const bool event = kind == 0 || kind == 1 || kind == 3;
    if (event)
        t->held << held;
    QSignalSpy finished(t, &TargetDouble::finished);
    QSignalSpy ended(t, &TargetDouble::entryEnded);
    Exec *e = exec;
    QMetaObject::invokeMethod(
        exec,
        [e, skip, stopAfter] {
            e->setSkipFailedEntries(skip);
            e->setStopAfterEntry(stopAfter);
            e->setTargetIsReady(true);
        },
        Qt::BlockingQueuedConnection);
    emit t->startExec(entries);
    if (event) {
        QVERIFY(waitFor(held));
        t->held.clear();
        if (kind == 0)
            emit t->setErrStartingXAFSMeas(true, "no beam");
        else if (kind == 1)
            emit t->setErrSHolderMove(true, "stuck");
        else
            emit t->setErrRemote(true, "axis stop");
        if (kind == 3) // the measurement goes on and ends as usual
            emit t->setInXafsMeas(false);
    }
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.at(0).at(0).toBool(), ok);
    QStringList got;
    for (const QList<QVariant> &args : std::as_const(ended))
        got << QStringLiteral("%1:%2")
                   .arg(args.at(0).toInt())
                   .arg(int(args.at(1).value<EntryState>()));
    QCOMPARE(got.join(' '), outcomes);
    const bool failed = kind >= 0 && kind < 3;
    if (failed)
        QVERIFY(!ended.at(0).at(2).toString().isEmpty()); // the reason
    QCOMPARE(t->lines.filter(QRegularExpression("^Start")).size(), starts);
    QCOMPARE(t->logLines.filter("The run goes on").size(), skip && failed ? 1 : 0);
    if ((kind == 0 && !skip) || kind == 3) // the error is flagged for the status panel
        QTRY_VERIFY_WITH_TIMEOUT(
            t->flags.value(kind == 0 ? ExecFlags::ErrStartingXafsMeas : ExecFlags::ErrRemote),
            10000);
}

// Stop and error events while idle only set their flags.
void TstExec::whileIdle()
{
    QSignalSpy finished(t, &TargetDouble::finished);
    QSignalSpy stages(t, &TargetDouble::currentStage);
    emit t->stopExec(true);
    emit t->setErrStartingXAFSMeas(true, QStringLiteral(" late"));
    emit t->setErrSHolderMove(true, QStringLiteral(" late too"));
    QTRY_VERIFY_WITH_TIMEOUT(t->flags.value(ExecFlags::ErrSHolderMove), 10000);
    QVERIFY(t->flags.value(ExecFlags::ErrStartingXafsMeas));
    QVERIFY(!finished.wait(100));
    QCOMPARE(stages.count(), 0);
}

// An edit handed over during the run counts the next time the engine begins
// that entry; the entry being run keeps the values it began with.
void TstExec::editsCountFromTheNextTimeAnEntryBegins()
{
    t->held << "Start";
    entries << EntryPlanEnv::entry("Cu", "1") << EntryPlanEnv::entry("Cu", "2");
    QSignalSpy finished(t, &TargetDouble::finished);
    emit t->startExec(entries);
    QVERIFY(waitFor("Start"));
    emit t->updateExec(0, EntryPlanEnv::entry("Cu", "7"));
    emit t->updateExec(1, EntryPlanEnv::entry("Fe", "9"));
    emit t->updateExec(5, EntryPlanEnv::entry("Zn", "9")); // not an entry of the run
    emit t->setInXafsMeas(false);
    QVERIFY(waitFor("Start", 2));
    emit t->setInXafsMeas(false);
    QVERIFY(finished.wait(10000));
    QCOMPARE(t->lines.filter("SelectAtom"), (QStringList{"SelectAtom 29", "SelectAtom 26"}));
    QCOMPARE(t->lines.filter("MoveSHolderTo"), (QStringList{"MoveSHolderTo 1", "MoveSHolderTo 9"}));
    // The second entry is compared with the first as it was measured.
    QVERIFY(t->logLines.contains("ExecP = 1, new Holder = 9, old Holder = 1"));
}

// After a failed entry under "skip" the next one waits for the target; the
// target saying it is ready again while that entry measures must not begin
// it anew.
void TstExec::readyAgainDoesNotBeginAnEntryAnew()
{
    t->held << "Start";
    entries << EntryPlanEnv::entry("Cu", "1") << EntryPlanEnv::entry("Fe", "2");
    QSignalSpy executing(t, &TargetDouble::executing);
    QSignalSpy finished(t, &TargetDouble::finished);
    Exec *e = exec;
    QMetaObject::invokeMethod(
        exec, [e] { e->setSkipFailedEntries(true); }, Qt::BlockingQueuedConnection);
    emit t->startExec(entries);
    QVERIFY(waitFor("Start"));
    emit t->setErrStartingXAFSMeas(true, "no beam");
    QVERIFY(waitFor("Start", 2));
    emit t->setTargetIsReady(true);
    emit t->setInXafsMeas(false);
    QVERIFY(finished.wait(10000));
    QCOMPARE(executing.count(), 2);
}

// Each entry is compared with the entry the run last measured, never with
// its list neighbour: the beamline is where that entry left it. Whatever
// leaves the beamline unknown (nothing measured yet, a failed entry, a
// Resume, a target that went away) gives the next entry every move and
// every prompt: the plan with no previous entry, line for line.
void TstExec::comparedWithTheLastEntryMeasured_data()
{
    QTest::addColumn<QString>("list");   // element and holder an entry, "-": not ticked
    QTest::addColumn<QString>("events"); // what happens during the run
    QTest::addColumn<int>("last");       // the entry checked
    QTest::addColumn<bool>("everything");
    // Fe at holder 2 after an unticked Fe at holder 2: compared with Cu at
    // holder 1, it must go to its energy and holder, with its gas prompts.
    QTest::newRow("after an unticked entry") << "Cu1 Fe2- Fe2"
                                             << "" << 2 << false;
    QTest::newRow("first entry unticked") << "Cu1- Cu1"
                                          << "" << 1 << true;
    // The same sample twice: only the rule decides whether anything moves.
    QTest::newRow("after a refused holder move, skip") << "Cu1 Fe2 Cu1"
                                                       << "refuse" << 2 << true;
    QTest::newRow("after stop after this entry and Resume") << "Cu1 Cu1"
                                                            << "stop" << 1 << true;
    QTest::newRow("Start again after a run") << "Cu1"
                                             << "again" << 0 << true;
    // Fe at the same holder, so that it waits in its prompts.
    QTest::newRow("after the target came back") << "Cu1 Fe1"
                                                << "lost" << 1 << true;
}

void TstExec::comparedWithTheLastEntryMeasured()
{
    QFETCH(QString, list);
    QFETCH(QString, events);
    QFETCH(int, last);
    QFETCH(bool, everything);
    for (const QString &item : list.split(' ')) {
        entries << EntryPlanEnv::entry(item.left(2), item.mid(2, 1));
        entries.last().exec = !item.endsWith('-');
    }
    Exec *e = exec;
    QMetaObject::invokeMethod(
        exec,
        [e, events] {
            e->setSkipFailedEntries(true);
            e->setStopAfterEntry(events == "stop");
        },
        Qt::BlockingQueuedConnection);
    QSignalSpy finished(t, &TargetDouble::finished);
    QSignalSpy executing(t, &TargetDouble::executing);
    if (events == "refuse")
        t->held << "MoveSHolderTo";
    if (events == "lost")
        t->autoConfirm = false;
    emit t->startExec(entries);
    if (events == "refuse") {
        // The first entry's move ends; the second entry's is refused.
        QVERIFY(waitFor("MoveSHolderTo 1"));
        emit t->setSHolderIsMoving(false);
        QVERIFY(waitFor("MoveSHolderTo 2"));
        t->held.clear();
        emit t->refused("MoveSHolderTo");
    } else if (events == "stop") {
        QVERIFY(finished.wait(10000)); // the first entry measured, then the stop
        QMetaObject::invokeMethod(
            exec, [e] { e->setStopAfterEntry(false); }, Qt::BlockingQueuedConnection);
        emit t->resumeExec(Exec::FromNext);
    } else if (events == "again") {
        QVERIFY(finished.wait(10000));
        emit t->startExec(entries);
    } else if (events == "lost") {
        // The target goes away and comes back while the second entry's
        // prompts are open, before anything of it was sent.
        QTRY_COMPARE_WITH_TIMEOUT(t->promptTypes.size(), 3, 10000);
        for (PromptType p : t->promptTypes)
            emit t->promptOk(p);
        QTRY_COMPARE_WITH_TIMEOUT(t->promptTypes.size(), 5, 10000);
        emit t->setTargetIsReady(false);
        emit t->setTargetIsReady(true);
        for (PromptType p : t->promptTypes.mid(3))
            emit t->promptOk(p);
    }
    QTRY_VERIFY_WITH_TIMEOUT(!executing.isEmpty() && executing.last().at(0).toInt() == last, 10000);
    // The run's end (after a Stop and Resume or a second Start, its second one).
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), events == "stop" || events == "again" ? 2 : 1,
                              10000);
    QVERIFY(finished.last().at(0).toBool());
    // The lines the target got for the entry checked, from its SelectAtom on:
    // the whole transcript of the plan against the entry it is compared with.
    const QStringList sent =
        t->lines.mid(qMax(0, int(t->lines.lastIndexOf(QRegularExpression("SelectAtom .*")))));
    QCOMPARE(sent,
             planEntry({entries.at(last), everything ? nullptr : &entries.at(0), last, 1}).lines);
    if (!everything) // against Cu at holder 1: the holder and the gases change
        QVERIFY(sent.contains("MoveSHolderTo 2") && t->promptTypes.count(PromptICGases) == 2);
}

// "Stop after this entry", then Resume from the next entry: the next entry
// is the one after the entry that finished, not the one after that.
void TstExec::resumeNextAfterStopAfterEntry()
{
    entries << EntryPlanEnv::entry("Cu", "1") << EntryPlanEnv::entry("Cu", "2")
            << EntryPlanEnv::entry("Cu", "3");
    Exec *e = exec;
    QMetaObject::invokeMethod(
        exec, [e] { e->setStopAfterEntry(true); }, Qt::BlockingQueuedConnection);
    QSignalSpy finished(t, &TargetDouble::finished);
    QSignalSpy executing(t, &TargetDouble::executing);
    QSignalSpy ended(t, &TargetDouble::entryEnded);
    emit t->startExec(entries);
    QVERIFY(finished.wait(10000));
    QCOMPARE(ended.count(), 1);
    QMetaObject::invokeMethod(
        exec, [e] { e->setStopAfterEntry(false); }, Qt::BlockingQueuedConnection);
    emit t->resumeExec(Exec::FromNext);
    QVERIFY(finished.wait(10000));
    QList<int> begun;
    for (const QList<QVariant> &args : std::as_const(executing))
        begun << args.at(0).toInt();
    QCOMPARE(begun, (QList<int>{0, 1, 2}));
}

// The measurement's limit is its expected time plus the wait limit, from the
// blocks the target really measures: a long healthy scan is not cut, also
// when its blocks come from a block file.
void TstExec::longScanIsNotCut_data()
{
    QTest::addColumn<bool>("fromFile");
    QTest::addColumn<bool>("hung");
    QTest::newRow("the entry's own blocks") << false << false;
    QTest::newRow("a block file's blocks") << true << false;
    QTest::newRow("a scan that never ends is cut after its limit") << false << true;
}

void TstExec::longScanIsNotCut()
{
    QFETCH(bool, fromFile);
    QFETCH(bool, hung);
    QTemporaryDir dir;
    // A step scan of 100 points at 10 ms: 1 s expected.
    Entry scan = EntryPlanEnv::entry("Cu", "1");
    scan.selectScanType(EntryRows::StepScan);
    EntryPlanEnv::setUserBlocks(scan, 0, {"8900", "9000"}, {100}, "0.01");
    if (fromFile) {
        const QString prm = dir.filePath("long.prm");
        QVERIFY(BlockFile::write(prm, scan).ok);
        // Its own blocks would be over in 10 ms.
        EntryPlanEnv::setUserBlocks(scan, 0, {"8900", "9000"}, {1}, "0.01");
        scan.blockDefType = EntryRows::FileBlocks;
        scan.blockDefFile = prm;
    }
    entries << scan;
    Exec *e = exec;
    QMetaObject::invokeMethod(
        exec,
        [e] {
            e->setWaitLimit(0.1);
            e->setEndRunOnPassedLimit(true);
        },
        Qt::BlockingQueuedConnection);
    t->held << "Start";
    QSignalSpy finished(t, &TargetDouble::finished);
    emit t->startExec(entries);
    QVERIFY(waitFor("Start"));
    QVERIFY(!finished.wait(500)); // well past the 10 ms + 0.1 s of the entry's own blocks
    if (hung) {                   // the unattended run ends soon after 1 s + 0.1 s
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.at(0).at(0).toBool(), false);
        QCOMPARE(t->logLines.filter("still waiting").size(), 1);
        return;
    }
    emit t->setInXafsMeas(false);
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.at(0).at(0).toBool(), true);
    QVERIFY(t->logLines.filter("still waiting").isEmpty());
}

QTEST_GUILESS_MAIN(TstExec)
#include "tst_exec.moc"
