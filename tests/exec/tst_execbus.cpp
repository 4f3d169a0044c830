// The engine against the real bus client: set up through a queued Tolva*
// signal as the main window does, its commands reach Tolva's sendCmd in the
// GUI thread (unconnected, Tolva reports each line as not sent). Also the
// meta-types the main window relies on when it connects by signature text.
#include "ExecFixture.h"
#include "Tolva.h"

#include <QMetaType>

class SetupSender : public QObject
{
    Q_OBJECT
signals:
    void setupExec(Tolva *s, QString targetCh);
};

class TstExecBus : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void metaTypesKnownByName_data();
    void metaTypesKnownByName();
    void commandsReachTolva();

private:
    ExecFixture fx;
};

void TstExecBus::initTestCase()
{
    QVERIFY(fx.tmp.isValid());
    QVERIFY(fx.loadData());
    QVERIFY(fx.buildTables(baseConfig() + modeConfig()));
    QDir::setCurrent(fx.tmp.path());
}

void TstExecBus::metaTypesKnownByName_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("resume mode") << QStringLiteral("Exec::ResumeMode");
    QTest::newRow("prompt type") << QStringLiteral("PromptType");
    QTest::newRow("vector of entries") << QStringLiteral("QVector<ScheduleEdit*>");
    QTest::newRow("list of entries") << QStringLiteral("QList<ScheduleEdit*>");
    QTest::newRow("message") << QStringLiteral("AMsg");
}

void TstExecBus::metaTypesKnownByName()
{
    QFETCH(QString, name);
    Exec exec; // registers them
    QVERIFY2(QMetaType::fromName(name.toLatin1()).isValid(), qPrintable(name));
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
    SetupSender sender;
    connect(&sender, &SetupSender::setupExec, exec, qOverload<Tolva *, QString>(&Exec::setup));
    emit sender.setupExec(&tolva, kTarget);

    TargetDouble events; // plays the target's events only; commands go to Tolva
    events.attach(exec);
    events.autoConfirm = true;
    QSignalSpy finished(&events, &TargetDouble::finished);
    ScheduleEdit *e = fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    e->ui.Exec->setChecked(true);
    emit events.startExec(fx.entries);

    QTRY_VERIFY_WITH_TIMEOUT(asked.count() >= 4, 10000);
    QCOMPARE(asked.at(0).at(0).toString(),
             QStringLiteral("Tolva is not ready (Tarnix>Dorvan.remote SelectAtom 29)"));
    QCOMPARE(asked.at(1).at(0).toString(),
             QStringLiteral("Tolva is not ready (Tarnix>Dorvan.remote SelectEdge 0)"));
    QCOMPARE(asked.at(3).at(0).toString(),
             QStringLiteral("Tolva is not ready (Tarnix>Dorvan.remote MoveSHolderTo 1)"));
    emit events.setMainThIsMoving(false);
    emit events.setSHolderIsMoving(false);
    QTRY_VERIFY_WITH_TIMEOUT(asked.last().at(0).toString().endsWith(QLatin1String("GetBlockNum)")),
                             10000);
    emit events.setReceivedBlockNum(0);
    QTRY_VERIFY_WITH_TIMEOUT(asked.last().at(0).toString().endsWith(QLatin1String(" Start)")),
                             10000);
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
