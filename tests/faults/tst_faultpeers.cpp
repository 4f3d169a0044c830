// SPDX-License-Identifier: GPL-3.0-or-later
// Failing peers: the main window (offscreen) against the real tolva-server and
// dorvan-sim: a target that hangs or is lost mid-run, and a night's run.
#include "Body.h"
#include "ConfigStore.h"
#include "ExecCtrl.h"
#include "LogArea.h"
#include "OptionTables.h"
#include "RunJournal.h"
#include "TestSupport.h"
#include "Tolva.h"
#include "UnattendedRun.h"
#include "XrayDataBase.h"

#include <QLabel>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

namespace {

constexpr int kWaitMs = 15000;
using TestSupport::readLines;

bool isOn(const Body &body, ExecCtrl::Flag f)
{
    return body.statusPanel()->indicator(f)->styleSheet() == ExecCtrl::onStyle();
}

} // namespace

class TestFaultPeers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid() && xrayDataBase().load(QStringLiteral(":XrayDataBase2.txt")));
        const QStringList lines = readLines(QStringLiteral(E2E_FIXTURES "/e2e-schedule.csv"));
        const QStringList two = lines.filter(",E2E-1,") + lines.filter(",E2E-4,");
        QVERIFY(TestSupport::writeFile("two.csv", two.join('\n').toUtf8()));
        QVERIFY(TestSupport::writeFile("three.csv",
                                       (two + lines.filter(",E2E-5,")).join('\n').toUtf8()));
        m_server = TestSupport::startServer(&m_port);
        QVERIFY(m_port != 0);
    }
    // A target that hangs in its first measurement (command 17: the first
    // Start) or is killed; or the bus server goes down and comes back on its
    // port, and the target with it: nobody clicks, the client logs in again.
    void targetFailsMidRun_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("hangs measuring, resumed from the beginning") << "hang";
        QTest::newRow("killed measuring, taken up again when it is back") << "kill";
        QTest::newRow("bus server restarted, taken up again") << "server";
    }
    void targetFailsMidRun();
    // The second entry fails to start: under stop the night ends there, under
    // skip it goes on.
    void nightRun_data()
    {
        QTest::addColumn<QString>("onError");
        // The journal's rows, entry and outcome: the run's own rows are entry 0.
        QTest::addColumn<QStringList>("outcomes");
        QTest::newRow("stop") << "stop"
                              << QStringList{"0 started", "1 done", "2 failed", "0 ended failed"};
        QTest::newRow("skip") << "skip"
                              << QStringList{"0 started", "1 done", "2 failed", "3 done",
                                             "0 ended finished"};
    }
    void nightRun();

private:
    auto startSim(const QString &transcript, const QStringList &extra = {})
    {
        return TestSupport::startSim(m_port, QStringList{"--transcript", transcript} + extra);
    }
    // The night's run (three entries, quitting when done) has a configuration of its own.
    std::unique_ptr<Body> makeBody(const QString &nightConfig = QString())
    {
        config().clear();
        config().readText(readLines(QStringLiteral(E2E_FIXTURES "/e2e.cfg.in"))
                              .join('\n')
                              .replace(QStringLiteral("@PORT@"), QString::number(m_port))
                              .replace(QStringLiteral("@KEYS@"), TestSupport::keyFile()) +
                          nightConfig);
        buildOptionTables(config());
        auto body = std::make_unique<Body>();
        UnattendedRun::Options o;
        o.confirmPrompts = true; // the operator says yes to every set-up change
        o.quitWhenDone = !nightConfig.isEmpty();
        (new UnattendedRun(body.get(), o, nullptr, body.get()))->setQuitAction([this](int s) {
            m_exit = s;
        });
        body->loadScheduleFrom(o.quitWhenDone ? "three.csv" : "two.csv");
        return body;
    }

    TestSupport::WorkDir m_dir;
    std::unique_ptr<TestSupport::Peer> m_server;
    quint16 m_port = 0;
    int m_exit = -1;
};

void TestFaultPeers::targetFailsMidRun()
{
    QFETCH(QString, how);
    const bool hang = how == QLatin1String("hang");
    const QString second = m_dir.filePath(how + ".txt");
    auto sim = startSim(m_dir.filePath(QStringLiteral("first.txt")),
                        hang ? QStringList{"--hang-after", "17"} : QStringList{});
    std::unique_ptr<Body> body = makeBody();
    QTRY_VERIFY_WITH_TIMEOUT(isOn(*body, ExecCtrl::TargetReady), kWaitMs);
    QSignalSpy finished(body->controller(), &RunController::runFinished);
    body->startRun();
    QTRY_VERIFY_WITH_TIMEOUT(isOn(*body, ExecCtrl::InXAFSMeas), kWaitMs);
    if (how == QLatin1String("server")) {
        m_server.reset(); // the simulator leaves with it
        QTRY_VERIFY_WITH_TIMEOUT(!body->bus()->isConnected(), kWaitMs);
        m_server = TestSupport::startServer(&m_port, m_port);
        QVERIFY(m_port != 0);
    } else {
        if (!hang)
            sim->kill();
        // The run waits, and the panel says for what. A lost target leaves no
        // move or measurement lit: only it could have ended them.
        const QString stage = hang ? QStringLiteral("In Meas.") : QStringLiteral("Target lost");
        QTRY_COMPARE_WITH_TIMEOUT(body->stageShown(), stage, kWaitMs);
        QVERIFY(!finished.wait(1000));
        QCOMPARE(
            QList<bool>({isOn(*body, ExecCtrl::InXAFSMeas), isOn(*body, ExecCtrl::TargetReady)}),
            QList<bool>({hang, hang}));
    }
    if (hang) {
        body->click(Body::Button::Stop);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kWaitMs);
        QCOMPARE(body->stageShown(), QStringLiteral("Target still measuring"));
        sim.reset();
    }

    // A new target logs in: it gets RemoteOn and the init command again. The
    // entry the lost target left begins again from its first command by
    // itself; after a Stop the run goes on when the operator says so.
    sim = startSim(second);
    QTRY_VERIFY_WITH_TIMEOUT(isOn(*body, ExecCtrl::TargetReady), kWaitMs);
    const QStringList init{"Tarnix>Dorvan.remote RemoteOn",
                           "Tarnix>Dorvan.remote  SetMeasDarkMode 1"};
    QTRY_COMPARE_WITH_TIMEOUT(readLines(second).mid(0, 2), init, kWaitMs);
    if (hang) {
        QVERIFY(!finished.wait(500));
        QCOMPARE(readLines(second), init);
        body->setResumeMode(Exec::FromInit);
        body->click(Body::Button::Resume);
    }
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), hang ? 2 : 1, 3 * kWaitMs);
    QCOMPARE(readLines(second).value(2), QStringLiteral("Tarnix>Dorvan.remote SelectAtom 29"));
    QCOMPARE(finished.last().at(0).toBool(), true);
    const QStringList sent = readLines(second);
    QCOMPARE(sent.filter(QRegularExpression(QStringLiteral(" Start$"))).size(), 2);
    QVERIFY(sent.contains(QStringLiteral("Tarnix>Dorvan.remote MoveSHolderTo 1")));
    QVERIFY(body->controller()->unmeasuredEntries().isEmpty());
}

// Either way the journal has a row per entry run, each on disk before the next
// begins; exit status, GetRunStatus and the notification program tell of it.
void TestFaultPeers::nightRun()
{
    QFETCH(QString, onError);
    QFETCH(QStringList, outcomes);
    const QString journal = m_dir.filePath(onError + ".csv"), told = m_dir.filePath(onError),
                  script = m_dir.filePath("notify.sh");
    QVERIFY(TestSupport::writeFile(script, "#!/bin/sh\nprintf '%s|' \"$@\" >> \"$1\"\n"
                                           "echo >> \"$1\"\n"));
    QFile::setPermissions(script, QFile::permissions(script) | QFileDevice::ExeOwner);
    auto sim = startSim(m_dir.filePath(onError + ".txt"), {"--fail-start", "2"});
    m_exit = -1;
    std::unique_ptr<Body> body =
        makeBody(QStringLiteral("\nJOURNAL \"%1\"\nON_ENTRY_ERROR %2\nNOTIFY_CMD \"%3\" \"%4\"\n")
                     .arg(journal, onError, script, told));
    QTRY_VERIFY_WITH_TIMEOUT(isOn(*body, ExecCtrl::TargetReady), kWaitMs);

    // A peer on the bus follows the night without a screen.
    Tolva watcher;
    watcher.setHost(QStringLiteral("127.0.0.1"));
    watcher.setPort(QString::number(m_port));
    watcher.setNameOnTolva(QStringLiteral("Watcher"));
    watcher.setKeyFile(TestSupport::keyFile());
    QStringList answers;
    connect(&watcher, &Tolva::anyAns, this, [&answers](const AMsg &m) {
        if (m.cmd == QLatin1String("GetRunStatus"))
            answers << m.paramText.trimmed();
    });
    watcher.connectToTolva(); // logged in long before the night ends

    QList<int> rowsAtBegin;
    connect(body->controller()->engine(), &Exec::executing, this,
            [&rowsAtBegin, journal] { rowsAtBegin << int(RunJournal::read(journal).size()); });
    QSignalSpy finished(body->controller(), &RunController::runFinished);
    body->startRun();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 3 * kWaitMs);
    QCOMPARE(m_exit, 1);

    QStringList got;
    for (const JournalRow &r : RunJournal::read(journal))
        got << (QString::number(r.entry) + ' ' + r.outcome +
                (r.outcome == "ended" ? ' ' + r.detail : QString()));
    QCOMPARE(got, outcomes);
    QCOMPARE(rowsAtBegin, QList<int>({1, 2, 3}).mid(0, got.size() - 2));
    // The operator reads every line sent to the target in the log window.
    QVERIFY(
        !readLines(body->logPanel()->fileName()).filter("Snd").filter("MoveSHolderTo").isEmpty());

    watcher.sendCmd(QString(), QStringLiteral("Tarnix"), QStringLiteral("GetRunStatus"));
    QTRY_COMPARE_WITH_TIMEOUT(answers, QStringList{"failed 2"}, kWaitMs);

    // The notification program got the event and one line; a failed entry
    // under skip is told when it fails.
    QTRY_VERIFY_WITH_TIMEOUT(readLines(told).size() >= (onError == "skip" ? 2 : 1), kWaitMs);
    const QStringList lines = readLines(told);
    const QString notified = onError == "stop" ? "failed" : "finished";
    QVERIFY2(lines.last().startsWith(told + "|" + notified + "|"), qPrintable(lines.last()));
    QVERIFY(onError == "stop" || lines.first().startsWith(told + "|failed|"));
}

QTEST_MAIN(TestFaultPeers)
#include "tst_faultpeers.moc"
