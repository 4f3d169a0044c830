// The bus client against the real stand-in programs, started as processes.
#include "AMsg.h"
#include "ConnectStat.h"
#include "Tolva.h"
#include "TolvaProto.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kServer = QStringLiteral(TOLVA_SERVER_EXE);
const QString kSim = QStringLiteral(DORVAN_SIM_EXE);
const QString kKeys = QStringLiteral(SKEDRA_SOURCE_DIR "/examples/Tarnix.key");

QList<AMsg> msgs(const QSignalSpy &spy)
{
    QList<AMsg> out;
    for (const QList<QVariant> &args : spy)
        out.append(args.at(0).value<AMsg>());
    return out;
}

int countWord(const QSignalSpy &spy, const QString &word, const QString &param = QString())
{
    int n = 0;
    for (const AMsg &m : msgs(spy)) {
        if (m.cmd == word && (param.isNull() || m.firstParam == param))
            ++n;
    }
    return n;
}

// waitForFinished() is false for a process already seen to end.
bool ended(QProcess *p)
{
    return p->state() == QProcess::NotRunning || p->waitForFinished(10000);
}

QStringList readLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

class TestPeers : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void clientServerAndSimulator();
    void connectedAndDisconnectedEvents();
    void serverRefusals();
    void serverClosesOnOversizedLine();
    void simulatorFaults_data();
    void simulatorFaults();
    void hungSimulator();
    void duplicateNameRefused();
    void badArguments_data();
    void badArguments();
    void cleanExitOnSigterm();

private:
    QProcess *startProcess(const QString &exe, const QStringList &args);
    quint16 startServer(const QStringList &extra = {});
    QProcess *startSim(quint16 port, const QStringList &extra = {});
    bool login(Tolva &tolva, quint16 port, const QString &name = QStringLiteral("Tarnix"));
    bool waitForNode(Tolva &tolva, const QString &node);
    // Reads the challenge and answers it with the right key as `name`.
    bool rawLogin(QTcpSocket &s, quint16 port, const QString &name, QByteArray *answer);

    QTemporaryDir *dir = nullptr;
    QList<QProcess *> procs;
};

void TestPeers::init()
{
    dir = new QTemporaryDir;
    QVERIFY(dir->isValid());
}

void TestPeers::cleanup()
{
    // Whatever happened, nothing started here outlives the test.
    for (QProcess *p : std::as_const(procs)) {
        if (p->state() != QProcess::NotRunning) {
            p->kill();
            p->waitForFinished(5000);
        }
        delete p;
    }
    procs.clear();
    delete dir;
    dir = nullptr;
}

QProcess *TestPeers::startProcess(const QString &exe, const QStringList &args)
{
    auto *p = new QProcess;
    procs.append(p);
    p->setWorkingDirectory(dir->path());
    p->setProcessChannelMode(QProcess::SeparateChannels);
    p->start(exe, args);
    return p;
}

quint16 TestPeers::startServer(const QStringList &extra)
{
    QProcess *p = startProcess(kServer, QStringList{"--port", "0", "--key-file", kKeys} + extra);
    if (!p->waitForStarted(10000))
        return 0;
    QDeadlineTimer deadline(10000);
    while (!p->canReadLine() && !deadline.hasExpired() && p->state() == QProcess::Running)
        p->waitForReadyRead(200);
    const QList<QByteArray> words = p->readLine().trimmed().split(' ');
    if (words.size() != 3 || words.at(0) != "listening")
        return 0;
    return quint16(words.at(2).toUInt());
}

QProcess *TestPeers::startSim(quint16 port, const QStringList &extra)
{
    QProcess *p = startProcess(kSim, QStringList{"--port", QString::number(port), "--key-file",
                                                 kKeys, "--move-time", "50", "--changer-time", "50",
                                                 "--meas-time", "100"} +
                                         extra);
    p->waitForStarted(10000);
    return p;
}

bool TestPeers::login(Tolva &tolva, quint16 port, const QString &name)
{
    tolva.setNameOnTolva(name);
    tolva.setKeyFile(kKeys);
    tolva.setHost("127.0.0.1");
    tolva.setPort(QString::number(port));
    QSignalSpy ready(&tolva, &Tolva::tolvaIsReady);
    tolva.connectToTolva();
    return ready.wait(10000) || ready.count() > 0;
}

bool TestPeers::waitForNode(Tolva &tolva, const QString &node)
{
    QSignalSpy answers(&tolva, &Tolva::anyAns);
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        answers.clear();
        tolva.sendCmd("", "System", "listnodes");
        if (!answers.wait(5000))
            continue;
        for (const AMsg &m : msgs(answers)) {
            if (m.cmdId == 14 && m.params.contains(node))
                return true;
        }
        QTest::qWait(50);
    }
    return false;
}

bool TestPeers::rawLogin(QTcpSocket &s, quint16 port, const QString &name, QByteArray *answer)
{
    s.connectToHost(QHostAddress::LocalHost, port);
    if (!s.waitForConnected(10000))
        return false;
    while (!s.canReadLine())
        if (!s.waitForReadyRead(10000))
            return false;
    const QString challenge = QString::fromLatin1(s.readLine());
    const QStringList keys = TolvaProto::loadKeys(kKeys);
    s.write(TolvaProto::keyReply(name, keys.at(TolvaProto::keyIndexFor(challenge, keys.size()))));
    while (!s.canReadLine())
        if (!s.waitForReadyRead(10000))
            return false;
    *answer = s.readLine();
    return true;
}

void TestPeers::clientServerAndSimulator()
{
    const quint16 port = startServer();
    QVERIFY(port != 0);
    const QString transcript = dir->filePath("transcript.txt");
    QProcess *sim = startSim(port, {"--transcript", transcript});
    QCOMPARE(sim->state(), QProcess::Running);

    Tolva tolva;
    QVERIFY(login(tolva, port));
    QCOMPARE(tolva.state(), int(ConnectStat::Connected));
    QVERIFY(waitForNode(tolva, "Dorvan"));

    QSignalSpy vlogs(&tolva, &Tolva::vlog);
    QSignalSpy events(&tolva, &Tolva::anyEvent);
    QSignalSpy answers(&tolva, &Tolva::anyAns);
    QSignalSpy sent(&tolva, &Tolva::sendingAskToTolva);

    // Hello and Help across the bus; the answers come back by word.
    tolva.sendCmd("", "Dorvan", "Hello");
    tolva.sendCmd("", "Dorvan", "Help");
    const QString hello =
        "msg from tolva[Dorvan>Tarnix @Hello Hello! I am Dorvan. Nice to meet you!]";
    QTRY_VERIFY_WITH_TIMEOUT(
        std::any_of(vlogs.begin(), vlogs.end(),
                    [&](const QList<QVariant> &a) { return a.at(0).toString() == hello; }),
        10000);
    QTRY_VERIFY_WITH_TIMEOUT(std::any_of(vlogs.begin(), vlogs.end(),
                                         [](const QList<QVariant> &a) {
                                             return a.at(0).toString().startsWith(
                                                 "msg from tolva[Dorvan>Tarnix @Help Commands : ");
                                         }),
                             10000);

    // Remote control and a monochromator move.
    tolva.sendCmd("", "Dorvan.remote", "RemoteOn");
    tolva.sendCmdV("", "Dorvan.remote", "SetCurrentEnergy", "8.979");
    QTRY_COMPARE_WITH_TIMEOUT(countWord(events, "EvMovingCurTh"), 2, 10000);
    const QList<AMsg> ev = msgs(events);
    QCOMPARE(ev.at(0).from, QStringLiteral("Dorvan"));
    QCOMPARE(ev.at(0).cmdId, 6);
    QCOMPARE(ev.at(0).firstParam, QStringLiteral("1"));
    QCOMPARE(ev.at(1).firstParam, QStringLiteral("0"));
    QTRY_COMPARE_WITH_TIMEOUT(countWord(answers, "SetCurrentEnergy", "Ok:"), 1, 10000);
    QCOMPARE(countWord(answers, "RemoteOn", "Ok:"), 1);
    QCOMPARE(msgs(answers).first().fromAddr, QStringLiteral("Dorvan.remote"));

    // Block count by standard type, then a quick and a step measurement.
    tolva.sendCmdV("", "Dorvan.remote", "SelectXafsMeasType", "2");
    tolva.sendCmd("", "Dorvan.remote", "GetBlockNum");
    tolva.sendCmdV("", "Dorvan.remote", "SetXafsMode", "1");
    tolva.sendCmd("", "Dorvan.remote", "Start");
    QTRY_COMPARE_WITH_TIMEOUT(countWord(events, "EvEndQMeas"), 1, 10000);
    tolva.sendCmdV("", "Dorvan.remote", "SetXafsMode", "0");
    tolva.sendCmd("", "Dorvan.remote", "Start");
    QTRY_COMPARE_WITH_TIMEOUT(countWord(events, "EvEndMeas"), 1, 10000);
    QCOMPARE(countWord(events, "EvStartQMeas"), 1);
    QCOMPARE(countWord(events, "EvStartMeas"), 1);
    QCOMPARE(countWord(answers, "GetBlockNum", "6"), 1);

    // A command for a node that is not there is answered by the server.
    tolva.sendCmd("", "Nobody", "Foo");
    QTRY_COMPARE_WITH_TIMEOUT(countWord(answers, "Foo", "Er:"), 1, 10000);

    // The simulator's transcript holds every line it received, as sent.
    // Answers from the client (it answers Hello and Help by word, whatever
    // their kind) are mixed in; the commands come in the order sent.
    QStringList sentLines;
    for (const QList<QVariant> &a : sent) {
        if (a.at(0).toString().startsWith("Tarnix>Dorvan"))
            sentLines.append(a.at(0).toString());
    }
    const auto commandsIn = [&transcript]() {
        QStringList out;
        for (const QString &l : readLines(transcript)) {
            if (!l.startsWith("Tarnix>Dorvan @") && !l.startsWith("Tarnix>Dorvan.remote @"))
                out.append(l);
        }
        return out;
    };
    QTRY_COMPARE_WITH_TIMEOUT(commandsIn(), sentLines, 10000);
    QVERIFY(readLines(transcript)
                .contains("Tarnix>Dorvan @Hello Hello! I am Tarnix. Nice to meet you!"));
}

void TestPeers::connectedAndDisconnectedEvents()
{
    const quint16 port = startServer();
    QVERIFY(port != 0);
    Tolva tolva;
    QVERIFY(login(tolva, port));
    QSignalSpy events(&tolva, &Tolva::anyEvent);
    QSignalSpy answers(&tolva, &Tolva::anyAns);
    tolva.sendCmd("", "System", "flgon Dorvan");
    QTRY_COMPARE_WITH_TIMEOUT(countWord(answers, "flgon", "Ok:"), 1, 10000);

    QProcess *sim = startSim(port, {"--drop-after", "2"});
    QTRY_COMPARE_WITH_TIMEOUT(countWord(events, "Connected"), 1, 10000);
    AMsg connected = msgs(events).first();
    QCOMPARE(connected.from, QStringLiteral("Dorvan"));
    QCOMPARE(connected.cmdId, 3);

    tolva.sendCmd("", "Dorvan.remote", "RemoteOn");
    tolva.sendCmdV("", "Dorvan.remote", "SelectAtom", "29");
    QTRY_COMPARE_WITH_TIMEOUT(countWord(events, "Disconnected"), 1, 10000);
    QCOMPARE(msgs(events).last().cmdId, 4);
    QCOMPARE(countWord(answers, "SelectAtom", "Ok:"), 1);
    QVERIFY(ended(sim));
    QCOMPARE(sim->exitCode(), 0);
}

void TestPeers::serverRefusals()
{
    const quint16 port = startServer({"--challenge", "-7"});
    QVERIFY(port != 0);
    const QStringList keys = TolvaProto::loadKeys(kKeys);
    QVERIFY(keys.size() >= 2);

    // A wrong key is refused and the connection closed.
    QTcpSocket bad;
    bad.connectToHost(QHostAddress::LocalHost, port);
    QVERIFY(bad.waitForConnected(10000));
    QTRY_VERIFY_WITH_TIMEOUT(bad.canReadLine(), 10000);
    QCOMPARE(bad.readLine(), QByteArray("-7\n"));
    const int right = TolvaProto::keyIndexFor("-7", keys.size());
    bad.write(TolvaProto::keyReply("Tarnix", keys.at((right + 1) % keys.size())));
    QTRY_VERIFY_WITH_TIMEOUT(bad.canReadLine(), 10000);
    const QByteArray refusal = bad.readLine();
    QVERIFY2(refusal.startsWith("System>Tarnix Er:"), refusal.constData());
    QTRY_COMPARE_WITH_TIMEOUT(bad.state(), QAbstractSocket::UnconnectedState, 10000);

    // The right key (negative challenge, non-negative index) is accepted.
    QTcpSocket good;
    QByteArray answer;
    QVERIFY(rawLogin(good, port, "Tarnix", &answer));
    QVERIFY2(answer.startsWith("System>Tarnix Ok:"), answer.constData());

    // A node may not speak under another node's name.
    good.write("Other>System listnodes\nTarnix>System listnodes\n");
    QTRY_VERIFY_WITH_TIMEOUT(good.canReadLine(), 10000);
    QCOMPARE(good.readLine(), QByteArray("System>Tarnix @listnodes Tarnix\n"));

    // Unknown server commands get an "Er:" answer.
    good.write("Tarnix.ch>System Nonsense\n");
    QTRY_VERIFY_WITH_TIMEOUT(good.canReadLine(), 10000);
    QCOMPARE(good.readLine(), QByteArray("System>Tarnix.ch @Nonsense Er: Unknown Command\n"));
}

void TestPeers::serverClosesOnOversizedLine()
{
    const quint16 port = startServer({"--max-line", "1000"});
    QVERIFY(port != 0);
    QTcpSocket s;
    QByteArray answer;
    QVERIFY(rawLogin(s, port, "Tarnix", &answer));
    QVERIFY(answer.startsWith("System>Tarnix Ok:"));
    s.write(QByteArray(999, 'x') + "\n"); // within the bound: dropped as no message
    s.write("Tarnix>System listnodes\n");
    QTRY_VERIFY_WITH_TIMEOUT(s.canReadLine(), 10000);
    QCOMPARE(s.readLine(), QByteArray("System>Tarnix @listnodes Tarnix\n"));
    s.write(QByteArray(5000, 'y'));
    QTRY_COMPARE_WITH_TIMEOUT(s.state(), QAbstractSocket::UnconnectedState, 10000);
}

void TestPeers::simulatorFaults_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("commands"); // after RemoteOn
    QTest::addColumn<QStringList>("events");   // expected, in order

    QTest::newRow("start fails") << QStringList{"--fail-start", "2"}
                                 << QStringList{"Start", "Start"}
                                 << QStringList{"EvStartMeas", "EvEndMeas", "EvErrStartXAFSMeas"};
    QTest::newRow("changer fails")
        << QStringList{"--fail-changer", "1"} << QStringList{"MoveSHolderTo 3"}
        << QStringList{"EvChangerMoving 1", "EvErrChangerMove", "EvChangerMoving 0"};
    QTest::newRow("changer ok") << QStringList{} << QStringList{"MoveSHolderTo 03"}
                                << QStringList{"EvChangerMoving 1", "EvChangerMoving 0"};
    QTest::newRow("remote error after 2")
        << QStringList{"--err-remote-after", "2"} << QStringList{"SelectAtom 29", "SelectEdge 0"}
        << QStringList{"EvErrRemote"};
}

void TestPeers::simulatorFaults()
{
    QFETCH(QStringList, args);
    QFETCH(QStringList, commands);
    QFETCH(QStringList, events);
    const quint16 port = startServer();
    QVERIFY(port != 0);
    startSim(port, args);
    Tolva tolva;
    QVERIFY(login(tolva, port));
    QVERIFY(waitForNode(tolva, "Dorvan"));
    QSignalSpy evSpy(&tolva, &Tolva::anyEvent);
    tolva.sendCmd("", "Dorvan.remote", "RemoteOn");
    for (const QString &c : commands) {
        tolva.sendCmd("", "Dorvan.remote", c);
        if (c == "Start") // one measurement at a time
            QTRY_VERIFY_WITH_TIMEOUT(
                countWord(evSpy, "EvEndMeas") + countWord(evSpy, "EvErrStartXAFSMeas") > 0, 10000);
    }
    QTRY_COMPARE_WITH_TIMEOUT(int(evSpy.count()), int(events.size()), 10000);
    QStringList got;
    for (const AMsg &m : msgs(evSpy)) {
        got.append(m.firstParam == "1" || m.firstParam == "0" ? m.cmd + " " + m.firstParam : m.cmd);
        if (m.cmd.startsWith("EvErr"))
            QVERIFY2(m.paramText.contains("simulated fault"), qPrintable(m.paramText));
    }
    QCOMPARE(got, events);
}

void TestPeers::hungSimulator()
{
    const quint16 port = startServer();
    QVERIFY(port != 0);
    const QString transcript = dir->filePath("t.txt");
    startSim(port, {"--hang-after", "2", "--transcript", transcript});
    Tolva tolva;
    QVERIFY(login(tolva, port));
    QVERIFY(waitForNode(tolva, "Dorvan"));
    QSignalSpy answers(&tolva, &Tolva::anyAns);
    QSignalSpy events(&tolva, &Tolva::anyEvent);
    tolva.sendCmd("", "Dorvan.remote", "RemoteOn");
    tolva.sendCmdV("", "Dorvan.remote", "SetCurrentEnergy", "9"); // 2nd: answered, then hangs
    QTRY_COMPARE_WITH_TIMEOUT(countWord(answers, "SetCurrentEnergy"), 1, 10000);
    tolva.sendCmd("", "Dorvan.remote", "Start");
    QTRY_VERIFY_WITH_TIMEOUT(readLines(transcript).contains("Tarnix>Dorvan.remote Start"), 10000);
    // The pending end of the move and the Start are never answered.
    QVERIFY(!answers.wait(1000));
    QCOMPARE(countWord(answers, "Start"), 0);
    QCOMPARE(countWord(events, "EvMovingCurTh", "0"), 0);
}

void TestPeers::duplicateNameRefused()
{
    const quint16 port = startServer();
    QVERIFY(port != 0);
    startSim(port);
    Tolva tolva;
    QVERIFY(login(tolva, port));
    QVERIFY(waitForNode(tolva, "Dorvan"));
    QProcess *second = startSim(port);
    QVERIFY(ended(second));
    QCOMPARE(second->exitCode(), 1);
    QVERIFY(second->readAllStandardError().contains("login refused"));
    // The same name as the client is refused too.
    Tolva twin;
    QSignalSpy notReady(&twin, &Tolva::tolvaIsNotReady);
    twin.setNameOnTolva("Tarnix");
    twin.setKeyFile(kKeys);
    twin.setHost("127.0.0.1");
    twin.setPort(QString::number(port));
    twin.connectToTolva();
    QVERIFY(notReady.wait(10000) || notReady.count() == 1);
    QVERIFY(!twin.isConnected());
    QVERIFY(tolva.isConnected());
}

void TestPeers::badArguments_data()
{
    QTest::addColumn<QString>("exe");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("server port text") << kServer << QStringList{"--port", "abc"} << 2 << "--port";
    QTest::newRow("server port range")
        << kServer << QStringList{"--port", "65536"} << 2 << "--port";
    QTest::newRow("server unknown option") << kServer << QStringList{"--bogus"} << 2 << "bogus";
    QTest::newRow("server missing key file")
        << kServer << QStringList{"--key-file", "/nonexistent/k"} << 2 << "key file";
    QTest::newRow("server help") << kServer << QStringList{"--help"} << 0 << "--key-file";
    QTest::newRow("sim port zero") << kSim << QStringList{"--port", "0"} << 2 << "--port";
    QTest::newRow("sim negative delay")
        << kSim << QStringList{"--meas-time", "-5"} << 2 << "--meas-time";
    QTest::newRow("sim bad name") << kSim << QStringList{"--name", "a.b"} << 2 << "--name";
    QTest::newRow("sim extra argument") << kSim << QStringList{"stray"} << 2 << "stray";
    QTest::newRow("sim help") << kSim << QStringList{"--help"} << 0 << "--transcript";
    QTest::newRow("sim no server")
        << kSim << QStringList{"--port", "1", "--connect-timeout", "0"} << 1 << "cannot connect";
}

void TestPeers::badArguments()
{
    QFETCH(QString, exe);
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, text);
    QProcess *p = startProcess(
        exe, args + QStringList{"--key-file", kKeys}.mid(args.contains("--key-file") ? 2 : 0));
    QVERIFY(ended(p));
    QCOMPARE(p->exitStatus(), QProcess::NormalExit);
    QCOMPARE(p->exitCode(), code);
    const QString out =
        QString::fromLocal8Bit(p->readAllStandardOutput() + p->readAllStandardError());
    QVERIFY2(out.contains(text), qPrintable(out));
}

void TestPeers::cleanExitOnSigterm()
{
    const quint16 port = startServer();
    QVERIFY(port != 0);
    QProcess *sim = startSim(port);
    Tolva tolva;
    QVERIFY(login(tolva, port));
    QVERIFY(waitForNode(tolva, "Dorvan"));
    sim->terminate();
    QVERIFY(ended(sim));
    QCOMPARE(sim->exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim->exitCode(), 0);
    QProcess *server = procs.first();
    QSignalSpy notReady(&tolva, &Tolva::tolvaIsNotReady);
    server->terminate();
    QVERIFY(ended(server));
    QCOMPARE(server->exitStatus(), QProcess::NormalExit);
    QCOMPARE(server->exitCode(), 0);
    QVERIFY(notReady.wait(10000) || notReady.count() == 1);
    QVERIFY(server->readAllStandardError().contains("stopping"));
}

QTEST_MAIN(TestPeers)
#include "tst_peers.moc"
