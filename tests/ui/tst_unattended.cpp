// Unattended runs: the options as read from the command line, loading at
// start, one start when the target is ready, confirming prompts, and the log
// echoed on the output stream.
#include "Body.h"
#include "ConfigStore.h"
#include "LogArea.h"
#include "OptionTables.h"
#include "Prompter.h"
#include "ScheduleEdit.h"
#include "TestSupport.h"
#include "UnattendedRun.h"
#include "XrayDataBase.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QTextStream>

class TestUnattended : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void options_data();
    void options();
    void loadsAtStart();
    void goStartsOnceWhenTargetReady_data();
    void goStartsOnceWhenTargetReady();
    void confirmsEveryPrompt_data();
    void confirmsEveryPrompt();
    void logIsEchoedWithGo();
    void quitWhenDoneEndsWithTheVerdict_data();
    void quitWhenDoneEndsWithTheVerdict();
    void unreadableScheduleIsAnError();

private:
    TestSupport::WorkDir m_dir;
};

void TestUnattended::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(xrayDataBase().load(QStringLiteral(":XrayDataBase2.txt")));
    ConfigStore &cfg = config();
    cfg.clear();
    QVERIFY(cfg.readFile(QStringLiteral(SKEDRA_SOURCE_DIR "/examples/beamline.cfg")));
    cfg.readText(QStringLiteral("CONNECT_TO_TOLVA 0\n"));
    buildOptionTables(cfg);
}

void TestUnattended::options_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("load");
    QTest::addColumn<bool>("go");
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<bool>("quit");
    QTest::newRow("none") << QStringList{"skedra", "-c", "a.cfg"} << "" << false << false << false;
    QTest::newRow("all") << QStringList{"skedra",           "-load",          "s.csv", "-go",
                                        "-confirm-prompts", "-quit-when-done"}
                         << "s.csv" << true << true << true;
    QTest::newRow("go only") << QStringList{"skedra", "-go"} << "" << true << false << false;
    QTest::newRow("load without file")
        << QStringList{"skedra", "-load", "-go"} << "" << true << false << false;
    QTest::newRow("case matters") << QStringList{"skedra", "-GO", "-Load", "x.csv"} << "" << false
                                  << false << false;
    QTest::newRow("path with blank")
        << QStringList{"skedra", "-load", "my schedule.csv", "-quit-when-done"} << "my schedule.csv"
        << false << false << true;
}

void TestUnattended::options()
{
    QFETCH(QStringList, args);
    QFETCH(QString, load);
    QFETCH(bool, go);
    QFETCH(bool, confirm);
    QFETCH(bool, quit);
    ConfigStore store;
    store.parseCommandLine(args);
    const UnattendedRun::Options o = UnattendedRun::optionsFrom(store);
    QCOMPARE(o.loadFile, load);
    QCOMPARE(o.go, go);
    QCOMPARE(o.confirmPrompts, confirm);
    QCOMPARE(o.quitWhenDone, quit);
}

void TestUnattended::loadsAtStart()
{
    const QString file = m_dir.filePath(QStringLiteral("start.csv"));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Text | QIODevice::Truncate));
    f.write("1,S1,,,a.dat,Cu,K\n2,S2,,,b.dat,Fe,K\n");
    f.close();
    Body body;
    UnattendedRun::Options o;
    o.loadFile = file;
    UnattendedRun run(&body, o);
    QCOMPARE(body.schedule().size(), 2);
    QCOMPARE(body.schedule().at(1)->ui.TargetElm->text(), QStringLiteral("Fe"));
    QCOMPARE(body.ui.ScheduleFile->text(), file);
    QVERIFY(!run.runStarted());
}

void TestUnattended::goStartsOnceWhenTargetReady_data()
{
    QTest::addColumn<bool>("go");
    QTest::newRow("-go") << true;
    QTest::newRow("without -go") << false;
}

void TestUnattended::goStartsOnceWhenTargetReady()
{
    QFETCH(bool, go);
    Body body;
    disconnect(&body, &Body::startExec, nullptr, nullptr); // the window's side only
    QSignalSpy spy(&body, &Body::startExec);
    UnattendedRun::Options o;
    o.go = go;
    UnattendedRun run(&body, o);
    QCOMPARE(spy.count(), 0); // not before the target is there
    emit body.setTargetIsReady(false);
    QCOMPARE(spy.count(), 0);
    emit body.setTargetIsReady(true);
    QCOMPARE(spy.count(), go ? 1 : 0);
    QCOMPARE(run.runStarted(), go);
    // The target coming back later does not start a second run.
    emit body.setTargetIsReady(false);
    emit body.setTargetIsReady(true);
    QCOMPARE(spy.count(), go ? 1 : 0);
}

void TestUnattended::confirmsEveryPrompt_data()
{
    QTest::addColumn<bool>("confirm");
    QTest::newRow("-confirm-prompts") << true;
    QTest::newRow("without -confirm-prompts") << false;
}

void TestUnattended::confirmsEveryPrompt()
{
    QFETCH(bool, confirm);
    Body body;
    disconnect(body.prompterWindow(), &Prompter::ok, body.engine(), nullptr);
    QSignalSpy oks(body.prompterWindow(), &Prompter::ok);
    UnattendedRun::Options o;
    o.confirmPrompts = confirm;
    UnattendedRun run(&body, o);
    body.prompterWindow()->addPrompt(QStringLiteral("Mirror"), PromptHOCM);
    body.prompterWindow()->addPrompt(QStringLiteral("Mono"), PromptMono);
    // Let every queued call run.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
    QTRY_COMPARE_WITH_TIMEOUT(body.prompterWindow()->count(), confirm ? 0 : 2, 10000);
    QCOMPARE(oks.count(), confirm ? 2 : 0);
    if (confirm)
        QCOMPARE(oks.at(1).at(0).value<PromptType>(), PromptMono);
}

void TestUnattended::logIsEchoedWithGo()
{
    QString echoed;
    QTextStream out(&echoed);
    for (bool go : {false, true}) {
        Body body;
        disconnect(&body, &Body::startExec, nullptr, nullptr);
        UnattendedRun::Options o;
        o.go = go;
        UnattendedRun run(&body, o, &out);
        body.logPanel()->log(QStringLiteral("first line"), Qt::red);
        QCOMPARE(echoed.isEmpty(), !go);
    }
    QVERIFY(echoed.trimmed().endsWith(QStringLiteral(": first line")));
}

void TestUnattended::quitWhenDoneEndsWithTheVerdict_data()
{
    QTest::addColumn<bool>("quit");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("status"); // of exitStatus(7)
    QTest::newRow("ended well") << true << true << 0;
    QTest::newRow("ended on an error") << true << false << 1;
    QTest::newRow("without -quit-when-done: the loop's") << false << false << 7;
}

void TestUnattended::quitWhenDoneEndsWithTheVerdict()
{
    QFETCH(bool, quit);
    QFETCH(bool, ok);
    QFETCH(int, status);
    Body body;
    body.show();
    QSignalSpy closed(&body, &Body::closed);
    UnattendedRun::Options o;
    o.quitWhenDone = quit;
    UnattendedRun run(&body, o);
    QList<int> quits;
    run.setQuitAction([&quits](int s) { quits << s; });
    emit body.runFinished(ok);
    emit body.runFinished(!ok); // only the first end counts
    QCOMPARE(quits, quit ? QList<int>({status}) : QList<int>());
    QCOMPARE(closed.count(), quit ? 1 : 0);
    QCOMPARE(body.isVisible(), !quit);
    QCOMPARE(run.exitStatus(7), status);
}

void TestUnattended::unreadableScheduleIsAnError()
{
    Body body;
    disconnect(&body, &Body::startExec, nullptr, nullptr);
    QSignalSpy starts(&body, &Body::startExec);
    UnattendedRun::Options o;
    o.loadFile = m_dir.filePath(QStringLiteral("no-such-schedule.csv"));
    o.go = true;
    o.quitWhenDone = true;
    UnattendedRun run(&body, o);
    QList<int> quits;
    run.setQuitAction([&quits](int s) { quits << s; });
    QVERIFY(run.loadFailed());
    QVERIFY(body.schedule().isEmpty());
    emit body.setTargetIsReady(true);
    QCOMPARE(starts.count(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(quits, QList<int>({1}), 10000);
    QCOMPARE(run.exitStatus(0), 1);
}

QTEST_MAIN(TestUnattended)
#include "tst_unattended.moc"
