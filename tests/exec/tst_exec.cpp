// The engine's run control: empty and unticked lists, prompts that hold the
// run, start/stop/resume in every mode, error events, and stopping the worker
// thread while it waits on the GUI thread; the engine on the real bus client.
#include "ExecFixture.h"
#include "Tolva.h"

#include <QLabel>
#include <QMetaType>

class TstExec : public QObject
{
    Q_OBJECT
signals:
    void setupExec(Tolva *s, QString targetCh);
private slots:
    void initTestCase() { QVERIFY(fx.setUp()); }
    void init();
    void cleanup() { fx.stopEngine(); }
    void nothingToRun_data();
    void nothingToRun();
    void firstEntryWaitsForEveryPrompt_data();
    void firstEntryWaitsForEveryPrompt();
    void defaultModeWithoutRowShowsQuestionMark();
    void startOrResumeWhileRunningIgnored();
    void resume_data();
    void resume();
    void errorEvents_data();
    void errorEvents();
    void whileIdle();
    void quitWhileWaitingOnGui_data();
    void quitWhileWaitingOnGui();
    void quitDuringRunningSchedule();
    void metaTypesKnownByName();
    void commandsReachTolva();

private:
    ExecFixture fx;
    TargetDouble *t = nullptr;
};

void TstExec::init()
{
    fx.startEngine();
    t = fx.target;
    t->blockNumAnswer = 1;
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
    if (unticked) {
        fx.addEntry("Cu", "1", false);
        fx.addEntry("Fe", "2", false);
    }
    QSignalSpy finished(t, &TargetDouble::finished);
    QSignalSpy executing(t, &TargetDouble::executing);
    QSignalSpy stages(t, &TargetDouble::currentStage);
    emit t->startExec(fx.entries);
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.at(0).at(0).toBool(), true);
    QCOMPARE(stages.last().at(0).toString(), QStringLiteral("Not In Exec"));
    QVERIFY(t->lines.isEmpty());
    QVERIFY(t->prompts.isEmpty());
    QCOMPARE(executing.count(), 0);
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
    t->autoConfirm = false;
    fx.addEntry("Cu", "1");
    ExecCtrl *panel = fx.exec->statusPanel();
    QSignalSpy finished(t, &TargetDouble::finished);
    QSignalSpy sent(t, &TargetDouble::commandReceived);
    emit t->startExec(fx.entries);
    QTRY_COMPARE_WITH_TIMEOUT(t->prompts.size(), 3, 10000);
    // Stage 1's commands go out in the same tick as the prompts.
    QCOMPARE(t->lines, (QStringList{"SelectAtom 29", "SelectEdge 0"}));
    QTRY_COMPARE_WITH_TIMEOUT(panel->ui.MonoChanging->styleSheet(), ExecCtrl::onStyle(), 10000);
    sent.clear();
    emit t->promptOk(PromptNone); // confirms nothing
    for (int k = 0; k < 2; ++k)
        emit t->promptOk(t->promptTypes.at(order.at(k)));
    QVERIFY(!sent.wait(100)); // still held by the last one
    QCOMPARE(sent.count(), 0);
    emit t->promptOk(t->promptTypes.at(order.at(2)));
    QVERIFY(finished.wait(10000));
    QVERIFY(t->lines.at(2).startsWith("SetCurrentEnergy "));
    QCOMPARE(t->lines.last(), QStringLiteral("Start"));
    QCOMPARE(t->lines.count("SelectAtom 29"), 1);
    QTRY_COMPARE_WITH_TIMEOUT(panel->ui.MonoChanging->styleSheet(), ExecCtrl::offStyle(), 10000);
}

void TstExec::defaultModeWithoutRowShowsQuestionMark()
{
    // Both energies fall outside every row, and the default mirror position
    // names a row that does not exist.
    ExecFixture::buildTables(baseConfig() + "HOCMode 0 20000 30000\nDefaultHOCMode 5\n"
                                            "MonoMode 0 30000 40000\nDefaultMonoMode 0\n");
    fx.addEntry("Cu", "1");
    QSignalSpy finished(t, &TargetDouble::finished);
    emit t->startExec(fx.entries);
    const bool done = finished.wait(10000);
    ExecFixture::buildTables(baseConfig() + modeConfig());
    QVERIFY(done);
    QCOMPARE(t->prompts.mid(1),
             (QStringList{"Higher Order Cut Mirror Mode Should Change\nfrom Mode 5(?[eV]-?[eV]) "
                          "to Mode 5(?[eV]-?[eV]).\nDo any action for that.\nThen Click Ok.",
                          "Monochromator Mode Should Change\nfrom Mode 0(30000[eV]-40000[eV]) "
                          "to Mode 0(30000[eV]-40000[eV]).\nDo any action for that.\nThen "
                          "Click Ok."}));
}

void TstExec::startOrResumeWhileRunningIgnored()
{
    t->held << "Start";
    fx.addEntry("Cu", "1");
    fx.addEntry("Fe", "2");
    const QList<ScheduleEdit *> other{new ScheduleEdit};
    fx.entries.append(other.first()); // a Cu entry, owned by the fixture
    QSignalSpy finished(t, &TargetDouble::finished);
    QSignalSpy executing(t, &TargetDouble::executing);
    emit t->startExec(fx.entries.mid(0, 2));
    QVERIFY(fx.waitFor("Start"));
    emit t->startExec(other);
    emit t->resumeExec(Exec::FromNext);
    emit t->setInXafsMeas(false);
    QVERIFY(fx.waitFor("Start", 2));
    emit t->setInXafsMeas(false);
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.count(), 1);
    QCOMPARE(executing.count(), 2); // entry 0, then entry 1: nothing skipped or added
    QCOMPARE(executing.at(1).at(0).toInt(), 1);
    QCOMPARE(t->lines.filter("SelectAtom"), (QStringList{"SelectAtom 29", "SelectAtom 26"}));
}

void TstExec::resume_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("entries");
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
    QFETCH(int, entries);
    QFETCH(int, resumedAt);
    t->held << "Start";
    for (int i = 1; i <= entries; ++i)
        fx.addEntry("Cu", QString::number(i));
    QSignalSpy finished(t, &TargetDouble::finished);
    QSignalSpy executing(t, &TargetDouble::executing);
    QSignalSpy sent(t, &TargetDouble::commandReceived);
    emit t->startExec(fx.entries);
    QVERIFY(fx.waitFor("Start"));
    const QStringList firstRun = t->lines;
    emit t->stopExec(true);
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.at(0).at(0).toBool(), true);
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
        QCOMPARE(sent.count(), 0);
        emit t->setInXafsMeas(false);
    }
    QVERIFY(fx.waitFor("Start", 2));
    QCOMPARE(executing.last().at(0).toInt(), resumedAt);
    const QStringList again = t->lines.mid(firstRun.size());
    if (resumedAt == 0) // the same entry again, from stage 0
        QCOMPARE(again, firstRun);
    else
        QCOMPARE(again.mid(0, 3),
                 (QStringList{"SelectAtom 29", "SelectEdge 0", "MoveSHolderTo 2"}));
}

void TstExec::errorEvents_data()
{
    QTest::addColumn<QString>("held");
    QTest::addColumn<int>("kind"); // 0 starting, 1 holder, 2 remote
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("indicator");
    QTest::newRow("starting") << "Start" << 0 << QString("ErrMsg") << "ErrStartingXafsMeas";
    QTest::newRow("holder, text not shown")
        << "MoveSHolderTo" << 1 << QString() << "ErrSHolderMove";
    QTest::newRow("remote does not end the run")
        << "Start" << 2 << QString("ErrRemoteMsg") << "ErrRemote";
}

void TstExec::errorEvents()
{
    QFETCH(QString, held);
    QFETCH(int, kind);
    QFETCH(QString, label);
    QFETCH(QString, indicator);
    t->held << held;
    fx.addEntry("Cu", "1");
    fx.addEntry("Fe", "2");
    ExecCtrl *panel = fx.exec->statusPanel();
    QSignalSpy finished(t, &TargetDouble::finished);
    emit t->startExec(fx.entries);
    QVERIFY(fx.waitFor(held));
    const QStringList before = t->lines;
    const QString msg = QStringLiteral(" trouble");
    if (kind == 0)
        emit t->setErrStartingXAFSMeas(true, msg);
    else if (kind == 1)
        emit t->setErrSHolderMove(true, msg);
    else
        emit t->setErrRemote(true, msg);
    QCOMPARE(finished.wait(kind == 2 ? 100 : 10000), kind != 2);
    if (kind == 2) {
        emit t->setInXafsMeas(false);
        t->held.clear();
        QVERIFY(finished.wait(10000));
    }
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toBool(), kind == 2);
    QTRY_COMPARE_WITH_TIMEOUT(panel->findChild<QLabel *>(indicator)->styleSheet(),
                              ExecCtrl::onStyle(), 10000);
    if (!label.isEmpty())
        QCOMPARE(panel->findChild<QLabel *>(label)->text(), msg);
    if (kind != 2) { // nothing after the failed entry
        QVERIFY(!finished.wait(100));
        QCOMPARE(t->lines, before);
    }
}

// Stop and error events while idle only set their indicators.
void TstExec::whileIdle()
{
    ExecCtrl *panel = fx.exec->statusPanel();
    QSignalSpy finished(t, &TargetDouble::finished);
    QSignalSpy stages(t, &TargetDouble::currentStage);
    emit t->stopExec(true);
    emit t->stopExec(false);
    emit t->setErrStartingXAFSMeas(true, QStringLiteral(" late"));
    emit t->setErrSHolderMove(true, QStringLiteral(" late too"));
    QTRY_COMPARE_WITH_TIMEOUT(panel->ui.ErrSHolderMove->styleSheet(), ExecCtrl::onStyle(), 10000);
    QCOMPARE(panel->ui.ErrStartingXafsMeas->styleSheet(), ExecCtrl::onStyle());
    QVERIFY(!finished.wait(100));
    QCOMPARE(stages.count(), 0);
}

void TstExec::quitWhileWaitingOnGui_data()
{
    QTest::addColumn<bool>("abandonFirst");
    QTest::newRow("stopThread") << false;
    QTest::newRow("abandon, then a plain quit") << true;
}

// The worker blocks in a read of an entry while the GUI thread, instead of
// serving it, joins the worker. With a plain blocking queued call this is a
// deadlock; here the join must complete.
void TstExec::quitWhileWaitingOnGui()
{
    QFETCH(bool, abandonFirst);
    fx.addEntry("Cu", "1");
    emit t->startExec(fx.entries);
    QDeadlineTimer deadline(10000);
    while (!fx.exec->isWaitingOnGui() && !deadline.hasExpired())
        QThread::yieldCurrentThread(); // no event processing: the read stays unserved
    QVERIFY(fx.exec->isWaitingOnGui());
    if (abandonFirst) {
        fx.exec->abandonGuiWaits(); // what the application's aboutToQuit does
        fx.thread->quit();
        QVERIFY(fx.thread->wait(10000));
    } else {
        QVERIFY(Exec::stopThread(fx.thread, 10000));
    }
    QCoreApplication::processEvents(); // the read posted before is dropped now
    QVERIFY(t->lines.isEmpty());
}

// Quitting in the middle of a run that is sending commands and reading
// entries at every tick.
void TstExec::quitDuringRunningSchedule()
{
    for (int i = 0; i < 30; ++i)
        fx.addEntry("Cu", "1");
    emit t->startExec(fx.entries);
    QVERIFY(fx.waitFor("Start", 3));
    QVERIFY(Exec::stopThread(fx.thread, 10000));
    // Deleting the engine now takes its panel and any read still queued for it.
    delete std::exchange(fx.exec, nullptr);
    QCoreApplication::processEvents();
    QVERIFY(t->lines.count("Start") < 30);
}

// The engine against the real bus client: set up through a queued Tolva*
// signal as the main window does, its commands reach Tolva's sendCmd in the
// GUI thread (unconnected, Tolva reports each line as not sent). Also the
// meta-types the main window relies on when it connects by signature text.
void TstExec::metaTypesKnownByName()
{
    Exec exec; // registers them
    for (const char *name : {"Exec::ResumeMode", "PromptType", "QVector<ScheduleEdit*>",
                             "QList<ScheduleEdit*>", "AMsg"})
        QVERIFY2(QMetaType::fromName(name).isValid(), name);
}

void TstExec::commandsReachTolva()
{
    Tolva tolva;
    tolva.setNameOnTolva(QStringLiteral("Tarnix"));
    QSignalSpy asked(&tolva, &Tolva::sendingAskToTolva);
    auto *exec = new Exec;
    QThread thread;
    exec->moveToThread(&thread);
    thread.start();
    connect(this, &TstExec::setupExec, exec, qOverload<Tolva *, QString>(&Exec::setup));
    emit setupExec(&tolva, kTarget);

    TargetDouble events; // plays the target's events only; commands go to Tolva
    events.attach(exec);
    events.autoConfirm = true;
    QSignalSpy finished(&events, &TargetDouble::finished);
    fx.addEntry("Cu", "1");
    emit events.startExec(fx.entries);
    auto last = [&asked] { return asked.isEmpty() ? QString() : asked.last().at(0).toString(); };
    QTRY_VERIFY_WITH_TIMEOUT(asked.count() >= 4, 10000);
    const QString prefix = QStringLiteral("Tolva is not ready (Tarnix>Dorvan.remote ");
    QCOMPARE(asked.at(0).at(0).toString(), prefix + "SelectAtom 29)");
    QCOMPARE(asked.at(3).at(0).toString(), prefix + "MoveSHolderTo 1)");
    emit events.setMainThIsMoving(false);
    emit events.setSHolderIsMoving(false);
    QTRY_COMPARE_WITH_TIMEOUT(last(), prefix + "GetBlockNum)", 10000);
    emit events.setReceivedBlockNum(0);
    QTRY_COMPARE_WITH_TIMEOUT(last(), prefix + "Start)", 10000);
    emit events.setInXafsMeas(false);
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.at(0).at(0).toBool(), true);
    QVERIFY(events.lines.isEmpty());
    QVERIFY(Exec::stopThread(&thread, 10000));
    delete exec;
}

QTEST_MAIN(TstExec)
#include "tst_exec.moc"
