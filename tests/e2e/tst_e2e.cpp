// End-to-end runs: skedra, tolva-server and dorvan-sim as real processes over
// TCP on 127.0.0.1. The simulator's transcript of every line it received is
// compared with the command sequence the schedule must produce (worked out by
// hand from the schedule: fixtures/e2e-expected.txt).
#include "TestSupport.h"

namespace {

#define RETURN_IF_FAILED()                                                                         \
    do {                                                                                           \
        if (QTest::currentTestFailed())                                                            \
            return;                                                                                \
    } while (false)

constexpr int kStartMs = 20000;
constexpr int kRunMs = 90000;
using TestSupport::readLines;

QString fixture(const QString &name)
{
    return QStringLiteral(E2E_FIXTURES "/") + name;
}

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void runs_data();
    void runs();
    void unreadableScheduleEndsWithStatusOne();
    void dryRunListsWhatTheTargetReceives();
    void checkExitStatus_data();
    void checkExitStatus();

private:
    void startServer();
    void startSim(const QStringList &extra);
    void writeConfig(quint16 port, const QString &extra = QString());
    void startSkedra();
    // Runs "skedra -check" on schedule; its standard output.
    QByteArray check(const QString &schedule, int *exitCode);
    QStringList expected() const { return readLines(fixture(QStringLiteral("e2e-expected.txt"))); }

    QTemporaryDir *m_dir = nullptr;
    std::unique_ptr<TestSupport::Peer> m_server;
    std::unique_ptr<TestSupport::Peer> m_sim;
    QProcess m_skedra;
    QByteArray m_skedraOut;
    quint16 m_port = 0;
    QString m_transcript;
};

void TestEndToEnd::init()
{
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
    for (const char *name : {"e2e-schedule.csv", "zn-step.prm"})
        QVERIFY(QFile::copy(fixture(QString::fromLatin1(name)),
                            m_dir->filePath(QString::fromLatin1(name))));
    m_transcript = m_dir->filePath(QStringLiteral("transcript.txt"));
    m_skedraOut.clear();
    m_port = 0;
    m_skedra.setWorkingDirectory(m_dir->path());
    connect(&m_skedra, &QProcess::readyReadStandardOutput, this,
            [this] { m_skedraOut += m_skedra.readAllStandardOutput(); });
}

void TestEndToEnd::cleanup()
{
    if (m_skedra.state() != QProcess::NotRunning) {
        m_skedra.kill();
        m_skedra.waitForFinished(5000);
    }
    m_skedra.disconnect(this);
    if (QTest::currentTestFailed()) {
        qInfo().noquote() << "skedra stdout:\n" << QString::fromUtf8(m_skedraOut);
        qInfo().noquote() << "dorvan-sim:\n" << (m_sim ? m_sim->out : QByteArray());
        qInfo().noquote() << "transcript:\n" << readLines(m_transcript).join(QLatin1Char('\n'));
    }
    m_sim.reset();
    m_server.reset();
    delete m_dir;
    m_dir = nullptr;
}

void TestEndToEnd::startServer()
{
    m_server = TestSupport::startServer(&m_port);
    QVERIFY(m_port != 0);
}

// Skedra must find the target in the server's node list, so the target logs
// in first.
void TestEndToEnd::startSim(const QStringList &extra)
{
    m_sim =
        TestSupport::startSim(m_port, QStringList{"--transcript", m_transcript, "--move-time", "60",
                                                  "--changer-time", "80", "--meas-time", "150"} +
                                          extra);
    QVERIFY(m_sim->out.contains("logged in as Dorvan"));
}

void TestEndToEnd::writeConfig(quint16 port, const QString &extra)
{
    QFile in(fixture(QStringLiteral("e2e.cfg.in")));
    QVERIFY(in.open(QIODevice::ReadOnly | QIODevice::Text));
    QString text = QString::fromUtf8(in.readAll());
    text.replace(QStringLiteral("@PORT@"), QString::number(port));
    text.replace(QStringLiteral("@KEYS@"), TestSupport::keyFile());
    text += extra;
    QVERIFY(TestSupport::writeFile(m_dir->filePath("e2e.cfg"), text.toUtf8()));
}

void TestEndToEnd::startSkedra()
{
    m_skedra.start(QStringLiteral(SKEDRA_EXE),
                   {"-platform", "offscreen", "-e", "-c", "e2e.cfg", "-load", "e2e-schedule.csv",
                    "-go", "-confirm-prompts", "-quit-when-done"});
    QVERIFY(m_skedra.waitForStarted(kStartMs));
}

// The whole schedule, and runs that end on an error: a measurement that does
// not start (the third), and, in an unattended run with a one-second limit, a
// target that hangs on the first energy move. The transcript is the expected
// sequence up to the failing point, nothing after it.
void TestEndToEnd::runs_data()
{
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<QString>("config");
    QTest::addColumn<int>("exitCode");
    // Of the expected transcript: 0 all, n > 0 the first n lines, -n through the n-th Start.
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("said");
    QTest::newRow("whole schedule")
        << QStringList() << QString() << 0 << 0 << "Run finished at entry 5.";
    QTest::newRow("failed start") << QStringList{"--fail-start", "3"} << QString() << 1 << -3
                                  << "Run ended on an error at entry 3.";
    QTest::newRow("passed wait limit")
        << QStringList{"--hang-after", "5"} << "WAIT_LIMIT 1\n"
        << 1 << 6
        << "Entry 1, stage \"Move Mono. and S. Holder\": still waiting for the end of the energy "
           "move after 1 s. The unattended run ends on this error.";
}

void TestEndToEnd::runs()
{
    QFETCH(QStringList, simArgs);
    QFETCH(QString, config);
    QFETCH(int, lines);
    QFETCH(QString, said);
    startServer();
    RETURN_IF_FAILED();
    startSim(simArgs);
    RETURN_IF_FAILED();
    writeConfig(m_port, config);
    startSkedra();
    RETURN_IF_FAILED();
    QVERIFY(m_skedra.waitForFinished(kRunMs));
    m_skedraOut += m_skedra.readAllStandardOutput();
    QCOMPARE(m_skedra.exitStatus(), QProcess::NormalExit);
    QTEST(m_skedra.exitCode(), "exitCode");
    const QString out = QString::fromUtf8(m_skedraOut);
    QVERIFY2(out.contains(said), qPrintable(out));

    QStringList want = expected();
    QVERIFY(want.size() > 50);
    if (lines > 0) {
        QVERIFY(want.at(5).contains(QStringLiteral(" MoveSHolderTo "))); // the moves, at once
        want = want.mid(0, lines);
    }
    for (int starts = 0, end = 0; lines < 0 && end < want.size();
         ++end) { // through the (-lines)th Start
        starts += want.at(end).endsWith(QLatin1String(" Start"));
        if (starts == -lines) {
            want = want.mid(0, end + 1);
            break;
        }
    }
    const QStringList got = readLines(m_transcript);
    for (int i = 0; i < qMin(got.size(), want.size()); ++i)
        QCOMPARE(got.at(i), want.at(i));
    QCOMPARE(got.size(), want.size());
    if (lines == 0) { // the five prompts of the run, each confirmed, in the log
        QCOMPARE(out.count(QStringLiteral("Prompt: ")), 5);
        QCOMPARE(out.count(QStringLiteral("Prompt confirmed: ")), 5);
    }
}

void TestEndToEnd::unreadableScheduleEndsWithStatusOne()
{
    writeConfig(1, "INCLUDE e2e-absent.cfg\n"); // nothing listens there: no bus needed
    QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("e2e-schedule.csv"))));
    startSkedra();
    RETURN_IF_FAILED();
    QVERIFY(m_skedra.waitForFinished(kRunMs));
    m_skedraOut += m_skedra.readAllStandardOutput();
    QCOMPARE(m_skedra.exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_skedra.exitCode(), 1);
    // The configuration's trouble reaches the log, not only the terminal.
    const QString out = QString::fromUtf8(m_skedraOut);
    QVERIFY2(out.contains("Cannot read the schedule file e2e-schedule.csv") &&
                 out.contains(": INCLUDE e2e-absent.cfg cannot be read"),
             qPrintable(out));
}

QByteArray TestEndToEnd::check(const QString &schedule, int *exitCode)
{
    QProcess p;
    p.setWorkingDirectory(m_dir->path());
    p.start(QStringLiteral(SKEDRA_EXE), {"-e", "-c", "e2e.cfg", "-check", "-load", schedule});
    if (!p.waitForFinished(kStartMs)) {
        p.kill();
        p.waitForFinished();
        *exitCode = -1;
        return {};
    }
    *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return p.readAllStandardOutput();
}

// The dry run's bus lines are what the target then receives, line for line,
// and its prompts those the operator is asked, in order. The block count is
// fixed on both sides (the simulator's own answer depends on the type).
void TestEndToEnd::dryRunListsWhatTheTargetReceives()
{
    startServer();
    RETURN_IF_FAILED();
    startSim({"--block-num", "4"});
    RETURN_IF_FAILED();
    writeConfig(m_port, "DRYRUN_BLOCK_NUM 4\n");
    int status = -1;
    const QStringList listing =
        QString::fromUtf8(check(QStringLiteral("e2e-schedule.csv"), &status)).split('\n');
    QCOMPARE(status, 0);
    QStringList lines;
    QStringList prompts;
    for (const QString &l : listing) {
        if (l.startsWith(QLatin1String("PROMPT ")))
            prompts << l.mid(7);
        else if (!l.isEmpty() && !l.startsWith(QLatin1Char('#')))
            lines << l;
    }

    startSkedra();
    RETURN_IF_FAILED();
    QVERIFY(m_skedra.waitForFinished(kRunMs));
    m_skedraOut += m_skedra.readAllStandardOutput();
    QCOMPARE(m_skedra.exitCode(), 0);
    QCOMPARE(readLines(m_transcript), lines);
    const QString confirmed = QStringLiteral("Prompt: ");
    QStringList asked;
    for (const QString &l : QString::fromUtf8(m_skedraOut).split('\n')) {
        const int at = int(l.indexOf(confirmed));
        if (at >= 0)
            asked << l.mid(at + confirmed.size());
    }
    QVERIFY(!asked.isEmpty());
    QCOMPARE(asked, prompts);
}

// No bus is needed (nothing listens on the configured port) and no window.
void TestEndToEnd::checkExitStatus_data()
{
    QTest::addColumn<QByteArray>("schedule");
    QTest::addColumn<int>("status");
    QTest::newRow("sound") << QByteArray("1,S1,c,,a.dat,Cu,K\n2,S2,c,,b.dat,Fe,K\n") << 0;
    QTest::newRow("an entry with errors")
        << QByteArray("1,S1,c,,a.dat,Cu,K\nabc,S2,c,,b.dat,Fe,K\n") << 1;
    QTest::newRow("a short line") << QByteArray("1\n") << 1;
    QTest::newRow("unreadable") << QByteArray() << 1;
}

void TestEndToEnd::checkExitStatus()
{
    QFETCH(QByteArray, schedule);
    QFETCH(int, status);
    writeConfig(1);
    const QString name = QStringLiteral("tonight.csv");
    QVERIFY(schedule.isEmpty() || TestSupport::writeFile(m_dir->filePath(name), schedule));
    int got = -1;
    const QByteArray out = check(name, &got);
    QCOMPARE(got, status);
    if (!schedule.isEmpty())
        QVERIFY(out.contains("# Entry 1:"));
}

QTEST_MAIN(TestEndToEnd)
#include "tst_e2e.moc"
