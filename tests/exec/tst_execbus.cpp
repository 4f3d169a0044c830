// The engine against the real bus client: set up through a queued Tolva*
// signal as the main window does, its commands reach Tolva's sendCmd in the
// GUI thread (unconnected, Tolva reports each line as not sent). Also the
// meta-types the main window relies on when it connects by signature text.
#include "ExecFixture.h"
#include "Tolva.h"

#include <QMetaType>

class TstExecBus : public QObject
{
    Q_OBJECT
signals:
    void setupExec(Tolva *s, QString targetCh);
private slots:
    void initTestCase() { QVERIFY(fx.setUp()); }
    void metaTypesKnownByName();
    void commandsReachTolva();

private:
    ExecFixture fx;
};

void TstExecBus::metaTypesKnownByName()
{
    Exec exec; // registers them
    for (const char *name : {"Exec::ResumeMode", "PromptType", "QVector<ScheduleEdit*>",
                             "QList<ScheduleEdit*>", "AMsg"})
        QVERIFY2(QMetaType::fromName(name).isValid(), name);
}

void TstExecBus::commandsReachTolva()
{
    Tolva tolva;
    tolva.setNameOnTolva(QStringLiteral("Tarnix"));
    QSignalSpy asked(&tolva, &Tolva::sendingAskToTolva);
    auto *exec = new Exec;
    QThread thread;
    exec->moveToThread(&thread);
    thread.start();
    connect(this, &TstExecBus::setupExec, exec, qOverload<Tolva *, QString>(&Exec::setup));
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
    fx.stopEngine();
}

QTEST_MAIN(TstExecBus)
#include "tst_execbus.moc"
