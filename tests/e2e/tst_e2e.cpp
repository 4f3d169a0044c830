// SPDX-License-Identifier: GPL-3.0-or-later
// skedra, tolva-server and dorvan-sim as processes; transcripts and listings against fixtures.
#include "TestSupport.h"

#include <QElapsedTimer>

namespace {

constexpr int kStartMs = 20000;
constexpr int kRunMs = 90000;
using TestSupport::readLines;

QString fixture(const QString &name)
{
    return QStringLiteral(E2E_FIXTURES "/") + name;
}

const QStringList kNight{"-load", "e2e-schedule.csv", "-go", "-confirm-prompts", "-quit-when-done"};

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TestSupport::Peer> m_server;
    std::unique_ptr<TestSupport::Peer> m_sim;
    QString m_transcript;

    // The server, then the target (skedra must find it in the node list), then the configuration.
    bool startPeers(const QStringList &simArgs, const QString &config = QString())
    {
        quint16 port = 0;
        m_server = TestSupport::startServer(&port);
        m_sim = TestSupport::startSim(port,
                                      QStringList{"--transcript", m_transcript, "--move-time", "60",
                                                  "--changer-time", "80", "--meas-time", "150"} +
                                          simArgs);
        return port != 0 && m_sim->out.contains("logged in as Dorvan") && writeConfig(port, config);
    }
    bool writeConfig(quint16 port, const QString &extra = QString())
    {
        QString text = readLines(fixture(QStringLiteral("e2e.cfg.in"))).join('\n') + '\n';
        text.replace(QStringLiteral("@PORT@"), QString::number(port));
        text.replace(QStringLiteral("@KEYS@"), TestSupport::keyFile());
        return TestSupport::writeFile(m_dir->filePath("e2e.cfg"), (text + extra).toUtf8());
    }
    // Skedra's exit status on e2e.cfg and the arguments, -1 if it crashed or hung; *out its output.
    int skedra(const QStringList &args, QByteArray *out = nullptr, int ms = kRunMs)
    {
        QProcess p;
        p.setWorkingDirectory(m_dir->path());
        p.setProcessChannelMode(out ? QProcess::SeparateChannels : QProcess::ForwardedErrorChannel);
        p.start(QStringLiteral(SKEDRA_EXE),
                QStringList{"-platform", "offscreen", "-e", "-c", "e2e.cfg"} + args);
        const bool ended = p.waitForFinished(ms);
        if (!ended)
            p.kill(), p.waitForFinished();
        if (out)
            *out = p.readAllStandardOutput();
        return ended && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

private slots:
    void init()
    {
        m_sim.reset(); // the last test's peers end here, or with the test object
        m_server.reset();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        for (const QString name : {"e2e-schedule.csv", "zn-step.prm"})
            QVERIFY(QFile::copy(fixture(name), m_dir->filePath(name)));
        m_transcript = m_dir->filePath(QStringLiteral("transcript.txt"));
    }

    // The whole schedule, unattended: the transcript is the expected sequence.
    void wholeSchedule()
    {
        QVERIFY(startPeers({}));
        QCOMPARE(skedra(kNight), 0);
        const QStringList want = readLines(fixture(QStringLiteral("e2e-expected.txt")));
        QVERIFY(want.size() > 50);
        QCOMPARE(readLines(m_transcript), want);
    }

    // The dry run's bus lines are what the target receives (block count fixed on both sides).
    void dryRunListsWhatTheTargetReceives()
    {
        QVERIFY(startPeers({"--block-num", "4"}, "DRYRUN_BLOCK_NUM 4\n"));
        QByteArray listing;
        QCOMPARE(skedra({"-check", "-load", "e2e-schedule.csv"}, &listing, kStartMs), 0);
        // The whole listing as the operator reads it, but for the clock time of the expected end.
        QStringList all = QString::fromUtf8(listing).split('\n', Qt::SkipEmptyParts);
        QVERIFY(!all.isEmpty());
        all.last().replace(QRegularExpression("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d"), "TIME");
        QCOMPARE(all, readLines(fixture(QStringLiteral("e2e-listing.txt"))));
        const QStringList lines = all.filter(QRegularExpression("^(?!#|PROMPT )"));
        QCOMPARE(skedra(kNight), 0);
        QCOMPARE(readLines(m_transcript), lines);
    }

    // No bus is needed (nothing listens on the configured port) and no window.
    void checkExitStatus_data()
    {
        QTest::addColumn<QByteArray>("schedule");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        const QByteArray bad("1,S1,c,,a.dat,Cu,K\n,S2,c,,b.dat,Fe,K\n"); // entry 2: no holder
        // A holder is text for the target; the sample ID is never sent.
        QTest::newRow("holder A1, sample ID past Latin-1")
            << QByteArray("A1,S\xce\xb1,c,,a.dat,Cu,K\n") << QStringList() << 0;
        QTest::newRow("an entry with errors") << bad << QStringList() << 1;
        QTest::newRow("-entries leaves it out") << bad << QStringList{"-entries", "1"} << 0;
        QTest::newRow("-entries past the schedule") << bad << QStringList{"-entries", "1-3"} << 1;
        QTest::newRow("unreadable") << QByteArray() << QStringList() << 1;
    }
    void checkExitStatus()
    {
        QFETCH(QByteArray, schedule);
        QFETCH(QStringList, options);
        QVERIFY(writeConfig(1));
        QVERIFY(schedule.isEmpty() ||
                TestSupport::writeFile(m_dir->filePath("tonight.csv"), schedule));
        QByteArray listing;
        QTEST(skedra(QStringList{"-check", "-load", "tonight.csv"} + options, &listing, kStartMs),
              "status");
    }

    // Killed mid-night, -resume-last measures neither entry done again, the one running anew.
    void killedRunResumes()
    {
        QVERIFY(startPeers({"--meas-time", "1500"}));
        QProcess first;
        first.setWorkingDirectory(m_dir->path());
        first.start(QStringLiteral(SKEDRA_EXE),
                    QStringList{"-platform", "offscreen", "-c", "e2e.cfg"} + kNight.mid(0, 4));
        const QString journal = m_dir->filePath(QStringLiteral("skedra-journal.csv"));
        QTRY_COMPARE_WITH_TIMEOUT(readLines(journal).filter(",done,").size(), 2, kRunMs);
        first.kill();
        QVERIFY(first.waitForFinished(kStartMs));
        const int killedAt = int(readLines(m_transcript).size());

        QCOMPARE(skedra({"-resume-last", "-go", "-confirm-prompts", "-quit-when-done"}), 0);
        const QStringList after = readLines(m_transcript).mid(killedAt);
        const QStringList whole = readLines(fixture(QStringLiteral("e2e-expected.txt")));
        for (int entry = 1; entry <= 5; ++entry) {
            const QString name = QStringLiteral("SetXafsFileName e2e-0%1.dat").arg(entry);
            QCOMPARE(after.filter(name).size(), entry <= 2 ? 0 : whole.filter(name).size());
        }
        // The night cut short is closed as resumed, the resumed one as finished.
        const QStringList rows = readLines(journal);
        QCOMPARE(rows.filter(QStringLiteral(",ended,resumed")).size(), 1);
        QVERIFY(rows.last().contains(QStringLiteral(",ended,finished,")));
    }

    // Every wait of an unattended start has an end: nothing listens where the bus should be, or
    // the server refuses the login (the node name is taken). Status 1 once WAIT_LIMIT passed.
    void startUpWaitsAreBounded_data()
    {
        QTest::addColumn<bool>("busUp");
        QTest::newRow("no bus server") << false;
        QTest::newRow("login refused") << true;
    }
    void startUpWaitsAreBounded()
    {
        QFETCH(bool, busUp);
        quint16 port = 0;
        m_server = TestSupport::startServer(&port);
        QVERIFY(port != 0);
        if (!busUp) {
            m_server.reset(); // nothing listens there now: connections are refused
        } else {              // another node has Skedra's name
            m_sim = std::make_unique<TestSupport::Peer>(
                QStringLiteral(DORVAN_SIM_EXE),
                QStringList{"--port", QString::number(port), "--key-file", TestSupport::keyFile(),
                            "--name", "Tarnix"});
            QVERIFY(m_sim->waitForOutput("logged in as Tarnix"));
        }
        QVERIFY(writeConfig(port, QStringLiteral("WAIT_LIMIT 1\n")));
        QElapsedTimer took;
        took.start();
        QCOMPARE(skedra(kNight), 1);
        QVERIFY(took.elapsed() < kStartMs);
    }
};

QTEST_MAIN(TestEndToEnd)
#include "tst_e2e.moc"
