// End-to-end runs: skedra, tolva-server and dorvan-sim as real processes over
// TCP on 127.0.0.1. The simulator's transcript of every line it received is
// compared with the command sequence the schedule must produce (worked out by
// hand from the schedule: fixtures/e2e-expected.txt).
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

namespace {

#define RETURN_IF_FAILED()                                                                         \
    do {                                                                                           \
        if (QTest::currentTestFailed())                                                            \
            return;                                                                                \
    } while (false)

constexpr int kStartMs = 20000;
constexpr int kRunMs = 90000;

QStringList readLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString fixture(const QString &name)
{
    return QStringLiteral(E2E_FIXTURES "/") + name;
}

QString keyFile()
{
    return QStringLiteral(SKEDRA_SOURCE_DIR "/examples/Tarnix.key");
}

// Stops a process it started, whatever happened in between.
void stop(QProcess &p)
{
    if (p.state() == QProcess::NotRunning)
        return;
    p.terminate();
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished(5000);
    }
}

// Sits between skedra and the server. Once it has passed on the first
// end-of-measurement event it closes skedra's side and stops the server, so
// that the next entry's commands find no bus.
class CuttingProxy : public QObject
{
    Q_OBJECT
public:
    explicit CuttingProxy(QProcess *server, quint16 serverPort)
        : m_server(server), m_serverPort(serverPort)
    {
        connect(&m_listener, &QTcpServer::newConnection, this, &CuttingProxy::accept);
        m_listener.listen(QHostAddress::LocalHost, 0);
    }
    quint16 port() const { return m_listener.serverPort(); }
    bool cut() const { return m_cut; }

private slots:
    void accept()
    {
        m_down = m_listener.nextPendingConnection();
        m_up = new QTcpSocket(this);
        connect(m_down, &QTcpSocket::readyRead, this, &CuttingProxy::fromSkedra);
        connect(m_up, &QTcpSocket::readyRead, this, &CuttingProxy::fromServer);
        m_up->connectToHost(QHostAddress::LocalHost, m_serverPort);
    }
    void fromSkedra()
    {
        if (!m_cut && m_up)
            m_up->write(m_down->readAll());
    }
    void fromServer()
    {
        while (!m_cut && m_up->canReadLine()) {
            const QByteArray line = m_up->readLine();
            m_down->write(line);
            if (line.contains(" _EvEndMeas") || line.contains(" _EvEndQMeas")) {
                m_cut = true;
                m_down->disconnectFromHost(); // after the event has gone out
                stop(*m_server);
            }
        }
    }

private:
    QProcess *m_server = nullptr;
    quint16 m_serverPort = 0;
    QTcpServer m_listener;
    QTcpSocket *m_down = nullptr;
    QTcpSocket *m_up = nullptr;
    bool m_cut = false;
};

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void wholeScheduleRuns();
    void failedStartEndsTheRun();
    void lostServerIsReportedAndWaitedFor();
    void passedWaitLimitEndsTheRun();
    void unreadableScheduleEndsWithStatusOne();
    void dryRunListsWhatTheTargetReceives();
    void checkExitStatus_data();
    void checkExitStatus();
    void killedRunResumes();

private:
    void startServer();
    void startSim(const QStringList &extra);
    void writeConfig(quint16 port, const QString &extra = QString());
    void startSkedra(const QStringList &options = {"-load", "e2e-schedule.csv", "-go",
                                                   "-confirm-prompts", "-quit-when-done"});
    // Runs "skedra -check" on schedule; its standard output.
    QByteArray check(const QString &schedule, int *exitCode);
    QStringList expected() const { return readLines(fixture(QStringLiteral("e2e-expected.txt"))); }

    QTemporaryDir *m_dir = nullptr;
    QProcess m_server;
    QProcess m_sim;
    QProcess m_skedra;
    QByteArray m_simErr;
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
    m_simErr.clear();
    m_skedraOut.clear();
    m_port = 0;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (QProcess *p : {&m_server, &m_sim, &m_skedra}) {
        p->setWorkingDirectory(m_dir->path());
        p->setProcessEnvironment(env);
    }
    m_sim.setProcessChannelMode(QProcess::SeparateChannels);
    connect(&m_sim, &QProcess::readyReadStandardError, this,
            [this] { m_simErr += m_sim.readAllStandardError(); });
    connect(&m_skedra, &QProcess::readyReadStandardOutput, this,
            [this] { m_skedraOut += m_skedra.readAllStandardOutput(); });
}

void TestEndToEnd::cleanup()
{
    stop(m_skedra);
    stop(m_sim);
    stop(m_server);
    for (QProcess *p : {&m_server, &m_sim, &m_skedra})
        p->disconnect(this);
    if (QTest::currentTestFailed()) {
        qInfo().noquote() << "skedra stdout:\n" << QString::fromUtf8(m_skedraOut);
        qInfo().noquote() << "skedra stderr:\n"
                          << QString::fromUtf8(m_skedra.readAllStandardError());
        qInfo().noquote() << "dorvan-sim:\n" << QString::fromUtf8(m_simErr);
        qInfo().noquote() << "transcript:\n" << readLines(m_transcript).join(QLatin1Char('\n'));
    }
    delete m_dir;
    m_dir = nullptr;
}

void TestEndToEnd::startServer()
{
    m_server.start(QStringLiteral(TOLVA_SERVER_EXE), {QStringLiteral("--port"), QStringLiteral("0"),
                                                      QStringLiteral("--key-file"), keyFile()});
    QVERIFY(m_server.waitForStarted(kStartMs));
    // First line on standard output: "listening 127.0.0.1 PORT".
    QByteArray out;
    QElapsedTimer t;
    t.start();
    while (!out.contains('\n') && t.elapsed() < kStartMs) {
        if (!m_server.waitForReadyRead(1000) && m_server.state() == QProcess::NotRunning)
            break;
        out += m_server.readAllStandardOutput();
    }
    const QList<QByteArray> words = out.left(out.indexOf('\n')).split(' ');
    QCOMPARE(words.size(), 3);
    QCOMPARE(words.at(0), QByteArray("listening"));
    m_port = quint16(words.at(2).toUShort());
    QVERIFY(m_port != 0);
}

void TestEndToEnd::startSim(const QStringList &extra)
{
    QStringList args{QStringLiteral("--host"),         QStringLiteral("127.0.0.1"),
                     QStringLiteral("--port"),         QString::number(m_port),
                     QStringLiteral("--key-file"),     keyFile(),
                     QStringLiteral("--transcript"),   m_transcript,
                     QStringLiteral("--move-time"),    QStringLiteral("60"),
                     QStringLiteral("--changer-time"), QStringLiteral("80"),
                     QStringLiteral("--meas-time"),    QStringLiteral("150")};
    m_sim.start(QStringLiteral(DORVAN_SIM_EXE), args + extra);
    QVERIFY(m_sim.waitForStarted(kStartMs));
    // Skedra must find the target in the server's node list, so the target
    // logs in first.
    QTRY_VERIFY_WITH_TIMEOUT(m_simErr.contains("logged in as Dorvan"), kStartMs);
}

void TestEndToEnd::writeConfig(quint16 port, const QString &extra)
{
    QFile in(fixture(QStringLiteral("e2e.cfg.in")));
    QVERIFY(in.open(QIODevice::ReadOnly | QIODevice::Text));
    QString text = QString::fromUtf8(in.readAll());
    text.replace(QStringLiteral("@PORT@"), QString::number(port));
    text.replace(QStringLiteral("@KEYS@"), keyFile());
    text += extra;
    QFile out(m_dir->filePath(QStringLiteral("e2e.cfg")));
    QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Text));
    out.write(text.toUtf8());
}

void TestEndToEnd::startSkedra(const QStringList &options)
{
    m_skedra.start(QStringLiteral(SKEDRA_EXE),
                   QStringList{QStringLiteral("-platform"), QStringLiteral("offscreen"),
                               QStringLiteral("-e"), QStringLiteral("-c"),
                               QStringLiteral("e2e.cfg")} +
                       options);
    QVERIFY(m_skedra.waitForStarted(kStartMs));
}

void TestEndToEnd::wholeScheduleRuns()
{
    startServer();
    RETURN_IF_FAILED();
    startSim({});
    RETURN_IF_FAILED();
    writeConfig(m_port);
    startSkedra();
    RETURN_IF_FAILED();
    QVERIFY(m_skedra.waitForFinished(kRunMs));
    m_skedraOut += m_skedra.readAllStandardOutput();
    QCOMPARE(m_skedra.exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_skedra.exitCode(), 0);

    const QStringList got = readLines(m_transcript);
    const QStringList want = expected();
    QVERIFY(want.size() > 50);
    for (int i = 0; i < qMin(got.size(), want.size()); ++i)
        QCOMPARE(got.at(i), want.at(i));
    QCOMPARE(got.size(), want.size());

    // The log went to standard output, the five prompts of the run among it.
    const QString out = QString::fromUtf8(m_skedraOut);
    QCOMPARE(out.count(QStringLiteral("Prompt: ")), 5);
    QCOMPARE(out.count(QStringLiteral("Prompt confirmed: ")), 5);
    QVERIFY(out.contains(QStringLiteral("Run finished at entry 5.")));
}

void TestEndToEnd::failedStartEndsTheRun()
{
    startServer();
    RETURN_IF_FAILED();
    startSim({QStringLiteral("--fail-start"), QStringLiteral("3")});
    RETURN_IF_FAILED();
    writeConfig(m_port);
    startSkedra();
    RETURN_IF_FAILED();
    QVERIFY(m_skedra.waitForFinished(kRunMs));
    m_skedraOut += m_skedra.readAllStandardOutput();
    QCOMPARE(m_skedra.exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_skedra.exitCode(), 1);

    // Everything up to the third entry's Start, nothing after it.
    QStringList want = expected();
    int starts = 0;
    int end = 0;
    while (end < want.size() && starts < 3) {
        if (want.at(end).endsWith(QLatin1String(" Start")))
            ++starts;
        ++end;
    }
    want = want.mid(0, end);
    QCOMPARE(readLines(m_transcript), want);
    const QString out = QString::fromUtf8(m_skedraOut);
    QVERIFY(out.contains(QStringLiteral("Run ended on an error at entry 3.")));
}

void TestEndToEnd::lostServerIsReportedAndWaitedFor()
{
    startServer();
    RETURN_IF_FAILED();
    startSim({});
    RETURN_IF_FAILED();
    CuttingProxy proxy(&m_server, m_port);
    QVERIFY(proxy.port() != 0);
    writeConfig(proxy.port());
    startSkedra();
    RETURN_IF_FAILED();

    // The status indicator's text, as the log reports it.
    QTRY_VERIFY_WITH_TIMEOUT(
        QString::fromUtf8(m_skedraOut).contains(QStringLiteral("Tolva: Disconnected")), kRunMs);
    QVERIFY(proxy.cut());
    // Skedra neither crashed nor gave up: it waits for the target until it is
    // ended.
    QCOMPARE(m_skedra.state(), QProcess::Running);
    QVERIFY(!m_skedra.waitForFinished(1500));
    QVERIFY(!QString::fromUtf8(m_skedraOut).contains(QStringLiteral("quitting")));
}

// A target that hangs on the first energy move, in an unattended run with a
// one-second limit: the run ends on an error that says why, and nothing of
// the later entries is sent.
void TestEndToEnd::passedWaitLimitEndsTheRun()
{
    startServer();
    RETURN_IF_FAILED();
    startSim({QStringLiteral("--hang-after"), QStringLiteral("5")});
    RETURN_IF_FAILED();
    writeConfig(m_port, QStringLiteral("WAIT_LIMIT 1\n"));
    startSkedra();
    RETURN_IF_FAILED();
    QVERIFY(m_skedra.waitForFinished(kRunMs));
    m_skedraOut += m_skedra.readAllStandardOutput();
    QCOMPARE(m_skedra.exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_skedra.exitCode(), 1);
    QVERIFY(QString::fromUtf8(m_skedraOut)
                .contains(QStringLiteral("Entry 1, stage \"Move Mono. and S. Holder\": still "
                                         "waiting for the end of the energy move after 1 s. The "
                                         "unattended run ends on this error.")));
    // The first entry up to its moves, sent at once; nothing after them.
    const QStringList want = expected();
    QCOMPARE(readLines(m_transcript), want.mid(0, 6));
    QVERIFY(want.at(5).contains(QStringLiteral(" MoveSHolderTo ")));
}

void TestEndToEnd::unreadableScheduleEndsWithStatusOne()
{
    writeConfig(1); // nothing listens there: the run must not depend on the bus
    QFile cfg(m_dir->filePath(QStringLiteral("e2e.cfg")));
    QVERIFY(cfg.open(QIODevice::Append | QIODevice::Text));
    cfg.write("INCLUDE e2e-absent.cfg\n");
    cfg.close();
    QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("e2e-schedule.csv"))));
    startSkedra();
    RETURN_IF_FAILED();
    QVERIFY(m_skedra.waitForFinished(kRunMs));
    m_skedraOut += m_skedra.readAllStandardOutput();
    QCOMPARE(m_skedra.exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_skedra.exitCode(), 1);
    QVERIFY(QString::fromUtf8(m_skedraOut)
                .contains(QStringLiteral("Cannot read the schedule file e2e-schedule.csv")));
    // The configuration's trouble reaches the log, not only the terminal.
    const QString out = QString::fromUtf8(m_skedraOut);
    QVERIFY2(out.contains(QStringLiteral(": INCLUDE e2e-absent.cfg cannot be read")),
             qPrintable(out));
}

QByteArray TestEndToEnd::check(const QString &schedule, int *exitCode)
{
    QProcess p;
    p.setWorkingDirectory(m_dir->path());
    p.start(QStringLiteral(SKEDRA_EXE),
            {QStringLiteral("-e"), QStringLiteral("-c"), QStringLiteral("e2e.cfg"),
             QStringLiteral("-check"), QStringLiteral("-load"), schedule});
    if (!p.waitForFinished(kStartMs)) {
        stop(p);
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
    startSim({QStringLiteral("--block-num"), QStringLiteral("4")});
    RETURN_IF_FAILED();
    writeConfig(m_port);
    RETURN_IF_FAILED();
    {
        QFile cfg(m_dir->filePath(QStringLiteral("e2e.cfg")));
        QVERIFY(cfg.open(QIODevice::Append | QIODevice::Text));
        cfg.write("DRYRUN_BLOCK_NUM 4\n");
    }
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
    if (!schedule.isEmpty()) {
        QFile f(m_dir->filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Text));
        f.write(schedule);
    }
    int got = -1;
    const QByteArray out = check(name, &got);
    QCOMPARE(got, status);
    if (!schedule.isEmpty())
        QVERIFY(out.contains("# Entry 1:"));
}

// The program killed in the middle of the night comes back with
// -resume-last: the entries done before are not measured again, the one that
// was running is measured from its start, and the rest follow.
void TestEndToEnd::killedRunResumes()
{
    startServer();
    RETURN_IF_FAILED();
    startSim({QStringLiteral("--meas-time"), QStringLiteral("1500")});
    RETURN_IF_FAILED();
    writeConfig(m_port);
    startSkedra({"-load", "e2e-schedule.csv", "-go", "-confirm-prompts"});
    RETURN_IF_FAILED();
    const QString journal = m_dir->filePath(QStringLiteral("skedra-journal.csv"));
    QTRY_COMPARE_WITH_TIMEOUT(readLines(journal).filter(QStringLiteral(",done,")).size(), 2,
                              kRunMs);
    m_skedra.kill();
    QVERIFY(m_skedra.waitForFinished(kStartMs));
    const int killedAt = int(readLines(m_transcript).size());

    startSkedra({"-resume-last", "-go", "-confirm-prompts", "-quit-when-done"});
    RETURN_IF_FAILED();
    QVERIFY(m_skedra.waitForFinished(kRunMs));
    m_skedraOut += m_skedra.readAllStandardOutput();
    QCOMPARE(m_skedra.exitCode(), 0);
    const QStringList after = readLines(m_transcript).mid(killedAt);
    const QStringList whole = expected();
    for (int entry = 1; entry <= 5; ++entry) {
        const QString name = QStringLiteral("SetXafsFileName e2e-0%1.dat").arg(entry);
        QCOMPARE(after.filter(name).size(), entry <= 2 ? 0 : whole.filter(name).size());
    }
    QCOMPARE(after.filter(QRegularExpression(QStringLiteral(" Start$"))).size(), 3);
    // The night cut short is closed as resumed, the resumed one as finished.
    const QStringList rows = readLines(journal);
    QCOMPARE(rows.filter(QStringLiteral(",ended,resumed")).size(), 1);
    QVERIFY(rows.last().endsWith(QStringLiteral(",ended,finished")));
}

QTEST_MAIN(TestEndToEnd)
#include "tst_e2e.moc"
