// Failing peers: the main window (built here, offscreen) against the real
// tolva-server and dorvan-sim processes. A target that hangs mid-run: the run
// waits and shows why, Stop and Resume get it going again. A target that is
// lost mid-run: the run holds as "Target lost" and Resume takes it to its end
// once the target is back; a new login sends RemoteOn and the target's init
// commands again. A night's run leaves its journal, tells the notification
// program and answers GetRunStatus.
#include "Body.h"
#include "ConfigStore.h"
#include "ExecCtrl.h"
#include "OptionTables.h"
#include "RunJournal.h"
#include "ScheduleEdit.h"
#include "TestSupport.h"
#include "Tolva.h"
#include "UnattendedRun.h"
#include "XrayDataBase.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

constexpr int kWaitMs = 15000;
const QString kKeys = TestSupport::keyFile();
using TestSupport::Peer;
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
    void initTestCase();
    void targetFailsMidRun_data();
    void targetFailsMidRun();
    void nightRun_data();
    void nightRun();

private:
    std::unique_ptr<Peer> startSim(const QStringList &extra, const QString &transcript);
    std::unique_ptr<Body> makeBody(const QString &extraConfig = QString(),
                                   const QString &schedule = QStringLiteral("two.csv"),
                                   int *exitStatus = nullptr);

    TestSupport::WorkDir m_dir;
    std::unique_ptr<Peer> m_server;
    quint16 m_port = 0;
};

void TestFaultPeers::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(xrayDataBase().load(QStringLiteral(":XrayDataBase2.txt")));
    // Two entries on two holders, taken from the end-to-end schedule.
    const QStringList lines = readLines(QStringLiteral(E2E_FIXTURES "/e2e-schedule.csv"));
    const QStringList two = lines.filter(",E2E-1,") + lines.filter(",E2E-4,");
    QVERIFY(TestSupport::writeFile("two.csv", two.join('\n').toUtf8()));
    QVERIFY(
        TestSupport::writeFile("three.csv", (two + lines.filter(",E2E-5,")).join('\n').toUtf8()));
    m_server = TestSupport::startServer(&m_port);
    QVERIFY(m_port != 0);
}

std::unique_ptr<Peer> TestFaultPeers::startSim(const QStringList &extra, const QString &transcript)
{
    auto sim = TestSupport::startSim(m_port, QStringList{"--transcript", transcript} + extra);
    [&] { QVERIFY(sim->out.contains("logged in as Dorvan")); }();
    return sim;
}

std::unique_ptr<Body> TestFaultPeers::makeBody(const QString &extraConfig, const QString &schedule,
                                               int *exitStatus)
{
    QFile in(QStringLiteral(E2E_FIXTURES "/e2e.cfg.in"));
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text))
        return nullptr;
    QString text = QString::fromUtf8(in.readAll());
    text.replace(QStringLiteral("@PORT@"), QString::number(m_port));
    text.replace(QStringLiteral("@KEYS@"), kKeys);
    config().clear();
    config().readText(text + extraConfig);
    buildOptionTables(config());
    auto body = std::make_unique<Body>();
    UnattendedRun::Options o;
    o.confirmPrompts = true; // the operator says yes to every set-up change
    o.quitWhenDone = exitStatus != nullptr;
    auto *unattended = new UnattendedRun(body.get(), o, nullptr, body.get());
    if (exitStatus)
        unattended->setQuitAction([exitStatus](int status) { *exitStatus = status; });
    body->loadScheduleFrom(schedule);
    return body;
}

// A target that hangs in its first measurement (command 17 is the first
// entry's Start), or is killed there.
void TestFaultPeers::targetFailsMidRun_data()
{
    QTest::addColumn<bool>("hang");
    QTest::newRow("hangs measuring, resumed from the beginning") << true;
    QTest::newRow("killed measuring, started anew") << false;
}

void TestFaultPeers::targetFailsMidRun()
{
    QFETCH(bool, hang);
    const QString first = m_dir.filePath(QStringLiteral("first.txt"));
    const QString second = m_dir.filePath(QStringLiteral("second.txt"));
    std::unique_ptr<Peer> sim =
        startSim(hang ? QStringList{"--hang-after", "17"} : QStringList{}, first);
    QVERIFY(!QTest::currentTestFailed());
    std::unique_ptr<Body> body = makeBody();
    QVERIFY(body);
    QTRY_VERIFY_WITH_TIMEOUT(isOn(*body, ExecCtrl::TargetReady), kWaitMs);
    QSignalSpy finished(body.get(), &Body::runFinished);
    body->startRun();
    QTRY_VERIFY_WITH_TIMEOUT(isOn(*body, ExecCtrl::InXAFSMeas), kWaitMs);
    if (!hang) {
        sim->kill();
        QVERIFY(sim->waitForFinished(kWaitMs));
    }

    // The run waits, and the panel says for what. A lost target leaves no
    // move or measurement lit: only it could have ended them.
    const QString stage = hang ? QStringLiteral("In Meas.") : QStringLiteral("Target lost");
    QTRY_COMPARE_WITH_TIMEOUT(body->ui.StageName->text(), stage, kWaitMs);
    QVERIFY(!finished.wait(1000));
    QCOMPARE(body->ui.StageName->text(), stage);
    QCOMPARE(isOn(*body, ExecCtrl::InXAFSMeas), hang);
    QCOMPARE(isOn(*body, ExecCtrl::TargetReady), hang);
    if (hang) {
        // Stopped while the hung target still measures: the stage says so
        // until the target is gone.
        body->ui.Stop->click();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kWaitMs);
        QCOMPARE(body->ui.StageName->text(), QStringLiteral("Target still measuring"));
        sim.reset();
        QTRY_COMPARE_WITH_TIMEOUT(body->ui.StageName->text(), QStringLiteral("Not In Exec"),
                                  kWaitMs);
    }

    // A new target logs in: it gets RemoteOn and the init command again, and
    // the run goes on only when the operator says where from.
    sim = startSim({}, second);
    QVERIFY(!QTest::currentTestFailed());
    QTRY_VERIFY_WITH_TIMEOUT(isOn(*body, ExecCtrl::TargetReady), kWaitMs);
    const QStringList init{"Tarnix>Dorvan.remote RemoteOn",
                           "Tarnix>Dorvan.remote  SetMeasDarkMode 1"};
    QTRY_COMPARE_WITH_TIMEOUT(readLines(second), init, kWaitMs);
    QVERIFY(!finished.wait(500));
    QCOMPARE(readLines(second), init);
    if (hang) {
        body->ui.ResumeFromInit->setChecked(true);
        body->ui.Resume->click();
    } else {
        body->ui.Go->click();
    }
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), hang ? 2 : 1, 3 * kWaitMs);
    QCOMPARE(finished.last().at(0).toBool(), true);
    const QStringList sent = readLines(second);
    QCOMPARE(sent.filter(QRegularExpression(QStringLiteral(" Start$"))).size(), 2);
    QVERIFY(sent.contains(QStringLiteral("Tarnix>Dorvan.remote MoveSHolderTo 1")));
    for (ExecCtrl::Flag f : {ExecCtrl::MainThMoving, ExecCtrl::SHolderMoving, ExecCtrl::InXAFSMeas})
        QVERIFY(!isOn(*body, f));
}

// The second entry fails to start: under stop the night ends there, under
// skip it goes on. Either way the journal has a row per entry run, the exit
// status and GetRunStatus tell of the failure, and the notification program hears.
void TestFaultPeers::nightRun_data()
{
    QTest::addColumn<QString>("onError");
    QTest::addColumn<QStringList>("outcomes"); // of the journal's rows
    QTest::addColumn<QString>("notified");
    QTest::newRow("stop") << "stop" << QStringList{"done", "failed"} << "failed";
    QTest::newRow("skip") << "skip" << QStringList{"done", "failed", "done"} << "finished";
}

void TestFaultPeers::nightRun()
{
    QFETCH(QString, onError);
    QFETCH(QStringList, outcomes);
    QFETCH(QString, notified);
    QTemporaryDir dir;
    const QString journal = dir.filePath(QStringLiteral("journal.csv"));
    const QString told = dir.filePath(QStringLiteral("told"));
    const QString script = dir.filePath(QStringLiteral("notify.sh"));
    QFile f(script);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\nprintf '%s|' \"$@\" >> \"$1\"\necho >> \"$1\"\n");
    f.close();
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    std::unique_ptr<Peer> sim =
        startSim({"--fail-start", "2"}, dir.filePath(QStringLiteral("t.txt")));
    QVERIFY(!QTest::currentTestFailed());
    int exit = -1;
    std::unique_ptr<Body> body =
        makeBody(QStringLiteral("\nJOURNAL \"%1\"\nON_ENTRY_ERROR %2\nNOTIFY_CMD \"%3\" \"%4\"\n")
                     .arg(journal, onError, script, told),
                 QStringLiteral("three.csv"), &exit);
    QVERIFY(body);
    QCOMPARE(body->overviewModel()->rowCount(), 3);

    QTRY_VERIFY_WITH_TIMEOUT(isOn(*body, ExecCtrl::TargetReady), kWaitMs);
    // A peer on the bus follows the night without a screen.
    Tolva watcher;
    watcher.setHost(QStringLiteral("127.0.0.1"));
    watcher.setPort(QString::number(m_port));
    watcher.setNameOnTolva(QStringLiteral("Watcher"));
    watcher.setKeyFile(kKeys);
    QStringList answers;
    connect(&watcher, &Tolva::anyAns, this, [&answers](const AMsg &m) {
        if (m.cmd == QLatin1String("GetRunStatus"))
            answers << m.paramText.trimmed();
    });
    QSignalSpy watcherReady(&watcher, &Tolva::tolvaIsReady);
    watcher.connectToTolva();
    QVERIFY(watcherReady.wait(kWaitMs));
    watcher.sendCmd(QString(), QStringLiteral("Tarnix"), QStringLiteral("GetRunStatus"));
    QTRY_COMPARE_WITH_TIMEOUT(answers, QStringList{"idle"}, kWaitMs);

    // Each entry's row is on disk before the next entry begins.
    QList<int> rowsAtBegin;
    connect(body->engine(), &Exec::executing, this,
            [&rowsAtBegin, journal] { rowsAtBegin << int(RunJournal::read(journal).size()); });
    QSignalSpy finished(body.get(), &Body::runFinished);
    body->startRun();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 3 * kWaitMs);
    QCOMPARE(exit, 1);

    const QList<JournalRow> rows = RunJournal::read(journal);
    QStringList got;
    for (const JournalRow &r : rows)
        got << r.outcome;
    QCOMPARE(got, outcomes);
    for (int i = 0; i < rows.size(); ++i) {
        QCOMPARE(rows.at(i).entry, i + 1);
        QCOMPARE(rows.at(i).detail.isEmpty(), rows.at(i).outcome == "done");
        QCOMPARE(body->overviewModel()->outcome(i).state,
                 rows.at(i).outcome == "done" ? EntryState::Done : EntryState::Failed);
    }
    for (int i = 0; i < rowsAtBegin.size(); ++i)
        QCOMPARE(rowsAtBegin.at(i), i);

    watcher.sendCmd(QString(), QStringLiteral("Tarnix"), QStringLiteral("GetRunStatus"));
    QTRY_COMPARE_WITH_TIMEOUT(answers.size(), 2, kWaitMs);
    QCOMPARE(answers.last(), QStringLiteral("failed 2"));

    // The notification program got the event and one line; a failed entry
    // under skip is told when it fails.
    QTRY_VERIFY_WITH_TIMEOUT(readLines(told).size() >= (onError == "skip" ? 2 : 1), kWaitMs);
    const QStringList lines = readLines(told);
    QVERIFY2(lines.last().startsWith(told + "|" + notified + "|"), qPrintable(lines.last()));
    QCOMPARE(lines.last().count('|'), 3);
    if (onError == "skip")
        QVERIFY(lines.first().startsWith(told + "|failed|"));
}

QTEST_MAIN(TestFaultPeers)
#include "tst_faultpeers.moc"
