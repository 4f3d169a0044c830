// Unattended runs: the options as read from the command line, loading at
// start, one start when the target is ready, confirming prompts, and the log
// echoed on the output stream.
#include "Body.h"
#include "ConfigStore.h"
#include "LogArea.h"
#include "OptionTables.h"
#include "Prompter.h"
#include "ScheduleEdit.h"
#include "UnattendedRun.h"
#include "XrayDataBase.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

class TestUnattended : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void options_data();
    void options();
    void loadsAtStart();
    void goStartsOnceWhenTargetReady();
    void withoutGoNothingStarts();
    void confirmsEveryPromptAndLogsIt();
    void withoutConfirmPromptsStayOpen();
    void logIsEchoedWithGo();
    void exitStatusWithoutQuitIsTheLoops();
    void quitWhenDoneEndsWithTheVerdict_data();
    void quitWhenDoneEndsWithTheVerdict();
    void unreadableScheduleIsAnError();

private:
    QTemporaryDir m_dir;
    QString m_oldCwd;
};

void TestUnattended::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_oldCwd = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir.path()));
    QVERIFY(xrayDataBase().load(QStringLiteral(":XrayDataBase2.txt")));
    ConfigStore &cfg = config();
    cfg.clear();
    QVERIFY(cfg.readFile(QStringLiteral(SKEDRA_SOURCE_DIR "/examples/beamline.cfg")));
    cfg.readText(QStringLiteral("CONNECT_TO_TOLVA 0\n"));
    buildOptionTables(cfg);
}

void TestUnattended::cleanupTestCase()
{
    QDir::setCurrent(m_oldCwd);
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

void TestUnattended::goStartsOnceWhenTargetReady()
{
    Body body;
    disconnect(&body, &Body::startExec, nullptr, nullptr); // the window's side only
    QSignalSpy spy(&body, &Body::startExec);
    UnattendedRun::Options o;
    o.go = true;
    UnattendedRun run(&body, o);
    QCOMPARE(spy.count(), 0); // not before the target is there
    emit body.setTargetIsReady(false);
    QCOMPARE(spy.count(), 0);
    emit body.setTargetIsReady(true);
    QCOMPARE(spy.count(), 1);
    QVERIFY(run.runStarted());
    // The target coming back later does not start a second run.
    emit body.setTargetIsReady(false);
    emit body.setTargetIsReady(true);
    QCOMPARE(spy.count(), 1);
}

void TestUnattended::withoutGoNothingStarts()
{
    Body body;
    disconnect(&body, &Body::startExec, nullptr, nullptr);
    QSignalSpy spy(&body, &Body::startExec);
    UnattendedRun run(&body, UnattendedRun::Options());
    emit body.setTargetIsReady(true);
    QCOMPARE(spy.count(), 0);
}

void TestUnattended::confirmsEveryPromptAndLogsIt()
{
    Body body;
    disconnect(body.prompterWindow(), &Prompter::ok, body.engine(), nullptr);
    QSignalSpy oks(body.prompterWindow(), &Prompter::ok);
    UnattendedRun::Options o;
    o.confirmPrompts = true;
    UnattendedRun run(&body, o);
    body.prompterWindow()->addPrompt(QStringLiteral("Gases\nThen Click Ok."), PromptICGases);
    body.prompterWindow()->addPrompt(QStringLiteral("Mirror"), PromptHOCM);
    body.prompterWindow()->addPrompt(QStringLiteral("Mono"), PromptMono);
    QTRY_COMPARE_WITH_TIMEOUT(body.prompterWindow()->count(), 0, 10000);
    QCOMPARE(oks.count(), 3);
    QCOMPARE(oks.at(0).at(0).value<PromptType>(), PromptICGases);
    QCOMPARE(oks.at(1).at(0).value<PromptType>(), PromptHOCM);
    QCOMPARE(oks.at(2).at(0).value<PromptType>(), PromptMono);
    QVERIFY(body.prompterWindow()->isHidden());
    const QString log = body.logPanel()->ui.LogDisp->toPlainText();
    // Each prompt in the log when shown and when confirmed, on one line.
    QVERIFY(log.contains(QStringLiteral(": Prompt: Gases Then Click Ok.\n")));
    QVERIFY(log.contains(QStringLiteral(": Prompt confirmed: Gases Then Click Ok.\n")));
    QVERIFY(log.indexOf(QStringLiteral("Prompt confirmed: Mirror")) >
            log.indexOf(QStringLiteral("Prompt: Mono")));
    QCOMPARE(log.count(QStringLiteral("Prompt: ")), 3);
    QCOMPARE(log.count(QStringLiteral("Prompt confirmed: ")), 3);
}

void TestUnattended::withoutConfirmPromptsStayOpen()
{
    Body body;
    UnattendedRun run(&body, UnattendedRun::Options());
    body.prompterWindow()->addPrompt(QStringLiteral("Mirror"), PromptHOCM);
    // Let every queued call run: nothing confirms the prompt.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
    QCOMPARE(body.prompterWindow()->count(), 1);
}

void TestUnattended::logIsEchoedWithGo()
{
    QString echoed;
    QTextStream out(&echoed);
    {
        Body body;
        disconnect(&body, &Body::startExec, nullptr, nullptr);
        UnattendedRun::Options o;
        o.go = true;
        UnattendedRun run(&body, o, &out);
        body.logPanel()->log(QStringLiteral("first line"));
        body.logPanel()->log(QStringLiteral("second line"), Qt::red);
        const QStringList lines = echoed.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines.at(0).endsWith(QStringLiteral(": first line")));
        QCOMPARE(lines.at(1), body.logPanel()->ui.LogDisp->toPlainText().split('\n').at(1));
    }
    // Without -go the log stays in its window.
    echoed.clear();
    Body body;
    UnattendedRun run(&body, UnattendedRun::Options(), &out);
    body.logPanel()->log(QStringLiteral("quiet"));
    QVERIFY(echoed.isEmpty());
}

void TestUnattended::exitStatusWithoutQuitIsTheLoops()
{
    Body body;
    UnattendedRun run(&body, UnattendedRun::Options());
    emit body.runFinished(false);
    QCOMPARE(run.exitStatus(0), 0);
    QCOMPARE(run.exitStatus(3), 3);
}

void TestUnattended::quitWhenDoneEndsWithTheVerdict_data()
{
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("status");
    QTest::newRow("ended well") << true << 0;
    QTest::newRow("ended on an error") << false << 1;
}

void TestUnattended::quitWhenDoneEndsWithTheVerdict()
{
    QFETCH(bool, ok);
    QFETCH(int, status);
    Body body;
    body.show();
    QSignalSpy closed(&body, &Body::closed);
    UnattendedRun::Options o;
    o.quitWhenDone = true;
    UnattendedRun run(&body, o);
    QList<int> quits;
    run.setQuitAction([&quits](int s) { quits << s; });
    emit body.runFinished(ok);
    QCOMPARE(quits, QList<int>({status}));
    QCOMPARE(closed.count(), 1);
    QVERIFY(!body.isVisible());
    QCOMPARE(run.exitStatus(0), status);
    QCOMPARE(run.exitStatus(7), status);
    // Only the first end counts.
    emit body.runFinished(!ok);
    QCOMPARE(quits.size(), 1);
    QCOMPARE(run.exitStatus(0), status);
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
    QVERIFY(body.logPanel()->ui.LogDisp->toPlainText().contains(
        QStringLiteral("Cannot read the schedule file")));
    emit body.setTargetIsReady(true);
    QCOMPARE(starts.count(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(quits, QList<int>({1}), 10000);
    QCOMPARE(run.exitStatus(0), 1);
}

QTEST_MAIN(TestUnattended)
#include "tst_unattended.moc"
