// The engine's run control: empty and unticked lists, prompts that hold the
// run, start/stop/resume in every mode, error events, and stopping the worker
// thread while it waits on the GUI thread.
#include "ExecFixture.h"

#include <QLabel>
#include <QSet>

class TstExec : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void emptyList();
    void allUnticked();
    void firstEntryWaitsForEveryPrompt_data();
    void firstEntryWaitsForEveryPrompt();
    void promptNoneConfirmsNothing();
    void defaultModeWithoutRowShowsQuestionMark();
    void startWhileRunningIgnored();
    void resumeWhileRunningIgnored();
    void stopWhileIdleIsSilent();
    void stopLeavesMeasurementAndResumeFromHereWaits();
    void resumeFromInitRunsEntryAgain();
    void resumeFromNextTakesNextEntry();
    void resumeFromNextAfterLastFailedEntry();
    void startingErrorEndsRun();
    void holderErrorEndsRun();
    void remoteErrorDoesNotEndRun();
    void errorWhileIdleOnlySetsFlag();
    void stopThreadWhileWaitingOnGui();
    void abandonedWaitLetsPlainQuitJoin();
    void quitDuringRunningSchedule();

private:
    int waitLines(int n);
    ExecFixture fx;
    QSet<QString> held; // commands the target does not answer
};

namespace {

// Answers like TargetDouble's autoAnswer except for held commands.
void answerUnlessHeld(TargetDouble *t, const QSet<QString> *held, const QString &cmd)
{
    const QString word = cmd.section(QLatin1Char(' '), 0, 0);
    if (held->contains(word))
        return;
    if (word == QLatin1String("SetCurrentEnergy"))
        emit t->setMainThIsMoving(false);
    else if (word == QLatin1String("MoveSHolderTo"))
        emit t->setSHolderIsMoving(false);
    else if (word == QLatin1String("GetBlockNum"))
        emit t->setReceivedBlockNum(t->blockNumAnswer);
    else if (word == QLatin1String("Start"))
        emit t->setInXafsMeas(false);
}

} // namespace

void TstExec::initTestCase()
{
    QVERIFY(fx.tmp.isValid());
    QVERIFY(fx.loadData());
    QVERIFY(fx.buildTables(baseConfig() + modeConfig()));
    QDir::setCurrent(fx.tmp.path());
}

void TstExec::init()
{
    held.clear();
    fx.startEngine();
    fx.target->autoConfirm = true;
    fx.target->blockNumAnswer = 1;
    TargetDouble *t = fx.target;
    const QSet<QString> *h = &held;
    connect(t, &TargetDouble::commandReceived, t,
            [t, h](const QString &cmd) { answerUnlessHeld(t, h, cmd); });
}

void TstExec::cleanup()
{
    fx.stopEngine();
}

// Waits until the target has received n commands; returns how many it has.
int TstExec::waitLines(int n)
{
    QDeadlineTimer deadline(10000);
    while (fx.target->lines.size() < n && !deadline.hasExpired())
        QTest::qWait(5);
    return int(fx.target->lines.size());
}

void TstExec::emptyList()
{
    QSignalSpy finished(fx.target, &TargetDouble::finished);
    QSignalSpy stages(fx.target, &TargetDouble::currentStage);
    emit fx.target->startExec({});
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.at(0).at(0).toBool(), true);
    QCOMPARE(stages.last().at(0).toString(), QStringLiteral("Not In Exec"));
    QVERIFY(fx.target->lines.isEmpty());
}

void TstExec::allUnticked()
{
    fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"))->ui.Exec->setChecked(false);
    fx.addEntry(QStringLiteral("Fe"), QStringLiteral("2"))->ui.Exec->setChecked(false);
    QSignalSpy finished(fx.target, &TargetDouble::finished);
    QSignalSpy executing(fx.target, &TargetDouble::executing);
    emit fx.target->startExec(fx.entries);
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.at(0).at(0).toBool(), true);
    QVERIFY(fx.target->lines.isEmpty());
    QCOMPARE(executing.count(), 0);
    QVERIFY(fx.target->prompts.isEmpty());
}

void TstExec::firstEntryWaitsForEveryPrompt_data()
{
    QTest::addColumn<QList<int>>("order");
    QTest::newRow("gases, mirror, mono") << QList<int>{0, 1, 2};
    QTest::newRow("mono, gases, mirror") << QList<int>{2, 0, 1};
    QTest::newRow("mirror, mono, gases") << QList<int>{1, 2, 0};
}

void TstExec::firstEntryWaitsForEveryPrompt()
{
    QFETCH(QList<int>, order);
    fx.target->autoConfirm = false;
    fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    ExecCtrl *panel = fx.exec->statusPanel();
    QSignalSpy finished(fx.target, &TargetDouble::finished);
    QSignalSpy sent(fx.target, &TargetDouble::commandReceived);
    emit fx.target->startExec(fx.entries);
    // Stage 1's commands go out in the same tick as the prompts.
    QCOMPARE(waitLines(2), 2);
    QCOMPARE(fx.target->lines, (QStringList{"SelectAtom 29", "SelectEdge 0"}));
    QTRY_COMPARE_WITH_TIMEOUT(fx.target->prompts.size(), 3, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(panel->ui.ICGasesChanging->styleSheet(), ExecCtrl::onStyle(), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(panel->ui.HOCMChanging->styleSheet(), ExecCtrl::onStyle(), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(panel->ui.MonoChanging->styleSheet(), ExecCtrl::onStyle(), 10000);
    sent.clear();
    for (int k = 0; k < 2; ++k) {
        emit fx.target->promptOk(fx.target->promptTypes.at(order.at(k)));
        QVERIFY(!sent.wait(100)); // still held by the others
    }
    QCOMPARE(fx.target->lines.size(), 2);
    emit fx.target->promptOk(fx.target->promptTypes.at(order.at(2)));
    QVERIFY(finished.wait(10000));
    QCOMPARE(fx.target->lines.at(2).section(QLatin1Char(' '), 0, 0),
             QStringLiteral("SetCurrentEnergy"));
    QCOMPARE(fx.target->lines.last(), QStringLiteral("Start"));
    QCOMPARE(fx.target->lines.count(QStringLiteral("SelectAtom 29")), 1);
    QTRY_COMPARE_WITH_TIMEOUT(panel->ui.MonoChanging->styleSheet(), ExecCtrl::offStyle(), 10000);
    QCOMPARE(panel->ui.ICGasesChanging->styleSheet(), ExecCtrl::offStyle());
}

void TstExec::promptNoneConfirmsNothing()
{
    fx.target->autoConfirm = false;
    fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    QSignalSpy sent(fx.target, &TargetDouble::commandReceived);
    emit fx.target->startExec(fx.entries);
    QTRY_COMPARE_WITH_TIMEOUT(fx.target->prompts.size(), 3, 10000);
    sent.clear();
    emit fx.target->promptOk(PromptNone);
    QVERIFY(!sent.wait(100));
    QCOMPARE(fx.target->lines.size(), 2);
}

void TstExec::defaultModeWithoutRowShowsQuestionMark()
{
    // Both energies fall outside every row, and the default positions name
    // rows that do not exist.
    QVERIFY(fx.buildTables(baseConfig() + "HOCMode 0 20000 30000\nDefaultHOCMode 5\n"
                                          "MonoMode 0 30000 40000\nDefaultMonoMode 0\n"));
    fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    QSignalSpy finished(fx.target, &TargetDouble::finished);
    emit fx.target->startExec(fx.entries);
    const bool done = finished.wait(10000);
    QVERIFY(fx.buildTables(baseConfig() + modeConfig()));
    QVERIFY(done);
    QCOMPARE(fx.target->prompts.size(), 3);
    QCOMPARE(fx.target->prompts.at(1),
             QStringLiteral("Higher Order Cut Mirror Mode Should Change\nfrom Mode 5(?[eV]-?[eV]) "
                            "to Mode 5(?[eV]-?[eV]).\nDo any action for that.\nThen Click Ok."));
    QCOMPARE(fx.target->prompts.at(2),
             QStringLiteral("Monochromator Mode Should Change\nfrom Mode 0(30000[eV]-40000[eV]) "
                            "to Mode 0(30000[eV]-40000[eV]).\nDo any action for that.\nThen "
                            "Click Ok."));
}

void TstExec::startWhileRunningIgnored()
{
    held << QStringLiteral("Start");
    fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    QList<ScheduleEdit *> other{fx.addEntry(QStringLiteral("Fe"), QStringLiteral("2"))};
    fx.entries.last()->ui.Exec->setChecked(false); // the first list runs entry 0 only
    QSignalSpy finished(fx.target, &TargetDouble::finished);
    QSignalSpy executing(fx.target, &TargetDouble::executing);
    emit fx.target->startExec({fx.entries.first()});
    QTRY_VERIFY_WITH_TIMEOUT(fx.target->lines.contains(QStringLiteral("Start")), 10000);
    emit fx.target->startExec(other);
    emit fx.target->setInXafsMeas(false);
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.count(), 1);
    QCOMPARE(executing.count(), 1);
    QCOMPARE(fx.target->lines.count(QStringLiteral("Start")), 1);
    QVERIFY(!fx.target->lines.contains(QStringLiteral("SelectAtom 26")));
}

void TstExec::resumeWhileRunningIgnored()
{
    held << QStringLiteral("Start");
    fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    fx.addEntry(QStringLiteral("Fe"), QStringLiteral("2"));
    QSignalSpy finished(fx.target, &TargetDouble::finished);
    QSignalSpy executing(fx.target, &TargetDouble::executing);
    emit fx.target->startExec(fx.entries);
    QTRY_VERIFY_WITH_TIMEOUT(fx.target->lines.contains(QStringLiteral("Start")), 10000);
    emit fx.target->resumeExec(Exec::FromNext);
    emit fx.target->setInXafsMeas(false);
    QTRY_COMPARE_WITH_TIMEOUT(fx.target->lines.count(QStringLiteral("Start")), 2, 10000);
    emit fx.target->setInXafsMeas(false);
    QVERIFY(finished.wait(10000));
    QCOMPARE(executing.count(), 2); // entry 0, then entry 1: nothing skipped
    QCOMPARE(executing.at(1).at(0).toInt(), 1);
}

void TstExec::stopWhileIdleIsSilent()
{
    QSignalSpy finished(fx.target, &TargetDouble::finished);
    QSignalSpy stages(fx.target, &TargetDouble::currentStage);
    emit fx.target->stopExec(true);
    emit fx.target->stopExec(false);
    QVERIFY(!finished.wait(100));
    QCOMPARE(stages.count(), 0);
}

void TstExec::stopLeavesMeasurementAndResumeFromHereWaits()
{
    held << QStringLiteral("Start");
    fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    fx.addEntry(QStringLiteral("Fe"), QStringLiteral("2"));
    QSignalSpy finished(fx.target, &TargetDouble::finished);
    QSignalSpy executing(fx.target, &TargetDouble::executing);
    emit fx.target->startExec(fx.entries);
    QTRY_VERIFY_WITH_TIMEOUT(fx.target->lines.contains(QStringLiteral("Start")), 10000);
    const QStringList firstRun = fx.target->lines;
    emit fx.target->stopExec(true);
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.at(0).at(0).toBool(), true);

    QSignalSpy sent(fx.target, &TargetDouble::commandReceived);
    emit fx.target->resumeExec(Exec::FromHere);
    QVERIFY(!sent.wait(150)); // the target still measures
    emit fx.target->setInXafsMeas(false);
    QTRY_COMPARE_WITH_TIMEOUT(fx.target->lines.size(), 2 * firstRun.size(), 10000);
    // The same entry again, from stage 0.
    QCOMPARE(fx.target->lines.mid(firstRun.size()), firstRun);
    QCOMPARE(executing.count(), 2);
    QCOMPARE(executing.at(1).at(0).toInt(), 0);
}

void TstExec::resumeFromInitRunsEntryAgain()
{
    held << QStringLiteral("Start");
    fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    fx.addEntry(QStringLiteral("Fe"), QStringLiteral("2"));
    QSignalSpy finished(fx.target, &TargetDouble::finished);
    emit fx.target->startExec(fx.entries);
    QTRY_VERIFY_WITH_TIMEOUT(fx.target->lines.contains(QStringLiteral("Start")), 10000);
    const QStringList firstRun = fx.target->lines;
    emit fx.target->stopExec(true);
    QVERIFY(finished.wait(10000));
    emit fx.target->resumeExec(Exec::FromInit); // no end-of-measurement needed
    QTRY_COMPARE_WITH_TIMEOUT(fx.target->lines.size(), 2 * firstRun.size(), 10000);
    QCOMPARE(fx.target->lines.mid(firstRun.size()), firstRun);
}

void TstExec::resumeFromNextTakesNextEntry()
{
    held << QStringLiteral("Start");
    fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    fx.addEntry(QStringLiteral("Cu"), QStringLiteral("2"));
    QSignalSpy finished(fx.target, &TargetDouble::finished);
    QSignalSpy executing(fx.target, &TargetDouble::executing);
    emit fx.target->startExec(fx.entries);
    QTRY_VERIFY_WITH_TIMEOUT(fx.target->lines.contains(QStringLiteral("Start")), 10000);
    const int firstRun = int(fx.target->lines.size());
    emit fx.target->stopExec(true);
    QVERIFY(finished.wait(10000));
    emit fx.target->resumeExec(Exec::FromNext);
    QTRY_COMPARE_WITH_TIMEOUT(fx.target->lines.count(QStringLiteral("Start")), 2, 10000);
    QCOMPARE(executing.last().at(0).toInt(), 1);
    const QStringList second = fx.target->lines.mid(firstRun);
    QCOMPARE(second.mid(0, 3), (QStringList{"SelectAtom 29", "SelectEdge 0", "MoveSHolderTo 2"}));
    emit fx.target->setInXafsMeas(false);
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.last().at(0).toBool(), true);
}

void TstExec::resumeFromNextAfterLastFailedEntry()
{
    held << QStringLiteral("Start");
    fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    QSignalSpy finished(fx.target, &TargetDouble::finished);
    emit fx.target->startExec(fx.entries);
    QTRY_VERIFY_WITH_TIMEOUT(fx.target->lines.contains(QStringLiteral("Start")), 10000);
    emit fx.target->setErrStartingXAFSMeas(true, QStringLiteral(" no beam"));
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.at(0).at(0).toBool(), false);
    const int before = int(fx.target->lines.size());
    emit fx.target->resumeExec(Exec::FromNext);
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.at(1).at(0).toBool(), true);
    QCOMPARE(fx.target->lines.size(), before);
}

void TstExec::startingErrorEndsRun()
{
    held << QStringLiteral("Start");
    fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    fx.addEntry(QStringLiteral("Fe"), QStringLiteral("2"));
    ExecCtrl *panel = fx.exec->statusPanel();
    QSignalSpy finished(fx.target, &TargetDouble::finished);
    emit fx.target->startExec(fx.entries);
    QTRY_VERIFY_WITH_TIMEOUT(fx.target->lines.contains(QStringLiteral("Start")), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(panel->ui.InXAFSMeas->styleSheet(), ExecCtrl::onStyle(), 10000);
    const int before = int(fx.target->lines.size());
    emit fx.target->setErrStartingXAFSMeas(true, QStringLiteral(" no beam"));
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toBool(), false);
    QTRY_COMPARE_WITH_TIMEOUT(panel->ui.ErrMsg->text(), QStringLiteral(" no beam"), 10000);
    QCOMPARE(panel->ui.ErrStartingXafsMeas->styleSheet(), ExecCtrl::onStyle());
    QCOMPARE(panel->ui.InXAFSMeas->styleSheet(), ExecCtrl::offStyle());
    QVERIFY(!finished.wait(100));
    QCOMPARE(fx.target->lines.size(), before); // nothing after the failed entry
}

void TstExec::holderErrorEndsRun()
{
    held << QStringLiteral("MoveSHolderTo");
    fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    ExecCtrl *panel = fx.exec->statusPanel();
    QSignalSpy finished(fx.target, &TargetDouble::finished);
    emit fx.target->startExec(fx.entries);
    QTRY_VERIFY_WITH_TIMEOUT(fx.target->lines.contains(QStringLiteral("MoveSHolderTo 1")), 10000);
    emit fx.target->setErrSHolderMove(true, QStringLiteral(" jammed"));
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.at(0).at(0).toBool(), false);
    QTRY_COMPARE_WITH_TIMEOUT(panel->ui.ErrSHolderMove->styleSheet(), ExecCtrl::onStyle(), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(panel->ui.SHolderMoving->styleSheet(), ExecCtrl::offStyle(), 10000);
    QCOMPARE(fx.target->lines.last(), QStringLiteral("MoveSHolderTo 1"));
}

void TstExec::remoteErrorDoesNotEndRun()
{
    held << QStringLiteral("Start");
    fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    ExecCtrl *panel = fx.exec->statusPanel();
    QSignalSpy finished(fx.target, &TargetDouble::finished);
    emit fx.target->startExec(fx.entries);
    QTRY_VERIFY_WITH_TIMEOUT(fx.target->lines.contains(QStringLiteral("Start")), 10000);
    emit fx.target->setErrRemote(true, QStringLiteral(" Axis stop"));
    QVERIFY(!finished.wait(100));
    emit fx.target->setInXafsMeas(false);
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.at(0).at(0).toBool(), true);
    QTRY_COMPARE_WITH_TIMEOUT(panel->ui.ErrRemoteMsg->text(), QStringLiteral(" Axis stop"), 10000);
    QCOMPARE(panel->ui.ErrRemote->styleSheet(), ExecCtrl::onStyle());
}

void TstExec::errorWhileIdleOnlySetsFlag()
{
    ExecCtrl *panel = fx.exec->statusPanel();
    QSignalSpy finished(fx.target, &TargetDouble::finished);
    emit fx.target->setErrStartingXAFSMeas(true, QStringLiteral(" late"));
    emit fx.target->setErrSHolderMove(true, QStringLiteral(" late too"));
    QTRY_COMPARE_WITH_TIMEOUT(panel->ui.ErrMsg->text(), QStringLiteral(" late"), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(panel->ui.ErrSHolderMove->styleSheet(), ExecCtrl::onStyle(), 10000);
    QCOMPARE(panel->ui.ErrStartingXafsMeas->styleSheet(), ExecCtrl::onStyle());
    QVERIFY(!finished.wait(100));
}

// The worker blocks in a read of an entry while the GUI thread, instead of
// serving it, stops and joins the worker. With a plain blocking queued call
// this is a deadlock; here the join must complete.
void TstExec::stopThreadWhileWaitingOnGui()
{
    fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    emit fx.target->startExec(fx.entries);
    QDeadlineTimer deadline(10000);
    while (!fx.exec->isWaitingOnGui() && !deadline.hasExpired())
        QThread::yieldCurrentThread(); // no event processing: the read stays unserved
    QVERIFY(fx.exec->isWaitingOnGui());
    QVERIFY(Exec::stopThread(fx.thread, 10000));
    QVERIFY(fx.thread->isFinished());
    QVERIFY(fx.target->lines.isEmpty());
}

void TstExec::abandonedWaitLetsPlainQuitJoin()
{
    fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    emit fx.target->startExec(fx.entries);
    QDeadlineTimer deadline(10000);
    while (!fx.exec->isWaitingOnGui() && !deadline.hasExpired())
        QThread::yieldCurrentThread();
    QVERIFY(fx.exec->isWaitingOnGui());
    fx.exec->abandonGuiWaits(); // what the application's aboutToQuit does
    fx.thread->quit();
    QVERIFY(fx.thread->wait(10000));
    // The read posted before the abandon is dropped when it finally runs.
    QCoreApplication::processEvents();
    QVERIFY(fx.target->lines.isEmpty());
}

// Quitting in the middle of a run that is sending commands and reading
// entries at every tick.
void TstExec::quitDuringRunningSchedule()
{
    for (int i = 0; i < 30; ++i)
        fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    emit fx.target->startExec(fx.entries);
    QTRY_VERIFY_WITH_TIMEOUT(fx.target->lines.count(QStringLiteral("Start")) >= 3, 10000);
    QVERIFY(Exec::stopThread(fx.thread, 10000));
    // Deleting the engine now takes its panel and any read still queued for it.
    delete fx.exec;
    fx.exec = nullptr;
    QCoreApplication::processEvents();
    QVERIFY(fx.target->lines.count(QStringLiteral("Start")) < 30);
}

QTEST_MAIN(TstExec)
#include "tst_exec.moc"
