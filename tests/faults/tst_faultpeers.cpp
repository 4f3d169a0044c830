// SPDX-License-Identifier: GPL-3.0-or-later
// The main window against tolva-server and dorvan-sim: a target failing mid-run, a night's run.
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
    // A target that hangs in its first measurement (command 17: the first Start) or is killed.
    void targetFailsMidRun_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("hangs measuring, resumed from the beginning") << "hang";
        QTest::newRow("killed measuring, taken up again when it is back") << "kill";
    }
    void targetFailsMidRun();
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
    if (!hang)
        sim->kill();
    // The run waits and says for what; a lost target leaves no move or measurement lit.
    const QString stage = hang ? QStringLiteral("In Meas.") : QStringLiteral("Target lost");
    QTRY_COMPARE_WITH_TIMEOUT(body->stageShown(), stage, kWaitMs);
    QVERIFY(!finished.wait(1000));
    QCOMPARE(QList<bool>({isOn(*body, ExecCtrl::InXAFSMeas), isOn(*body, ExecCtrl::TargetReady)}),
             QList<bool>({hang, hang}));
    if (hang) {
        body->click(Body::Button::Stop);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kWaitMs);
        QCOMPARE(body->stageShown(), QStringLiteral("Target still measuring"));
        sim.reset();
    }

    // A new target gets the init again; the entry left begins anew by itself, or on Resume.
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

// The second entry fails to start and the night goes on (skip). A journal row per entry, each on
// disk before the next begins; the exit status, GetRunStatus and the notifier tell of the night.
void TestFaultPeers::nightRun()
{
    const QString journal = m_dir.filePath("j.csv"), told = m_dir.filePath("told"),
                  script = m_dir.filePath("notify.sh");
    QVERIFY(TestSupport::writeFile(script, "#!/bin/sh\nprintf '%s|' \"$@\" >> \"$1\"\n"
                                           "echo >> \"$1\"\n"));
    QFile::setPermissions(script, QFile::permissions(script) | QFileDevice::ExeOwner);
    auto sim = startSim(m_dir.filePath("night.txt"), {"--fail-start", "2"});
    m_exit = -1;
    std::unique_ptr<Body> body =
        makeBody(QStringLiteral("\nJOURNAL \"%1\"\nON_ENTRY_ERROR skip\nNOTIFY_CMD \"%2\" \"%3\"\n")
                     .arg(journal, script, told));
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
    // The run's own rows are entry 0.
    QCOMPARE(got, (QStringList{"0 started", "1 done", "2 failed", "3 done", "0 ended finished"}));
    QCOMPARE(rowsAtBegin, QList<int>({1, 2, 3}));
    // The operator reads every line sent to the target in the log window.
    QVERIFY(
        !readLines(body->logPanel()->fileName()).filter("Snd").filter("MoveSHolderTo").isEmpty());

    watcher.sendCmd(QString(), QStringLiteral("Tarnix"), QStringLiteral("GetRunStatus"));
    QTRY_COMPARE_WITH_TIMEOUT(answers, QStringList{"failed 2"}, kWaitMs);

    // The notifier got the event and one line; a failed entry under skip is told when it fails.
    QTRY_VERIFY_WITH_TIMEOUT(readLines(told).size() >= 2, kWaitMs);
    const QStringList lines = readLines(told);
    QVERIFY2(lines.last().startsWith(told + "|finished|"), qPrintable(lines.last()));
    QVERIFY(lines.first().startsWith(told + "|failed|"));
}

QTEST_MAIN(TestFaultPeers)
#include "tst_faultpeers.moc"
