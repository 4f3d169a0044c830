// The bus client against the real stand-in programs, started as processes.
#include "AMsg.h"
#include "ConnectStat.h"
#include "TestSupport.h"
#include "Tolva.h"
#include "TolvaProto.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>

namespace {

using TestSupport::Peer;
const QString kKeys = TestSupport::keyFile();

QStringList texts(const QSignalSpy &spy)
{
    QStringList out;
    for (const QList<QVariant> &args : spy)
        out.append(args.at(0).toString());
    return out;
}

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
    for (const AMsg &m : msgs(spy))
        n += m.cmd == word && (param.isNull() || m.firstParam == param);
    return n;
}

bool login(Tolva &tolva, quint16 port, const QString &name = QStringLiteral("Tarnix"))
{
    tolva.setNameOnTolva(name);
    tolva.setKeyFile(kKeys);
    tolva.setHost("127.0.0.1");
    tolva.setPort(QString::number(port));
    QSignalSpy ready(&tolva, &Tolva::tolvaIsReady);
    tolva.connectToTolva();
    return ready.wait(10000) || ready.count() > 0;
}

} // namespace

class TestPeers : public QObject
{
    Q_OBJECT
private slots:
    void loginTimesOut_data()
    {
        QTest::addColumn<QString>("stall");
        QTest::addColumn<bool>("button"); // the operator gives up before the time-out
        QTest::addColumn<QString>("said");
        QTest::newRow("no challenge")
            << "challenge" << false
            << "Tolva sent no challenge within 1 s; the connection is closed.";
        QTest::newRow("aborted with the button")
            << "key" << true << "Connecting to Tolva abandoned.";
    }

    // A login that never completes is given up, and Connect works again.
    void loginTimesOut()
    {
        QFETCH(QString, stall);
        QFETCH(bool, button);
        QFETCH(QString, said);
        quint16 stalled = 0;
        auto stalledServer = TestSupport::startServer(&stalled, {"--stall-login", stall});
        QVERIFY(stalled != 0);
        Tolva tolva;
        tolva.setLoginTimeout(button ? 60000 : 300);
        tolva.setNameOnTolva("Tarnix");
        tolva.setKeyFile(kKeys);
        tolva.setHost("127.0.0.1");
        tolva.setPort(QString::number(stalled));
        QSignalSpy logs(&tolva, &Tolva::log);
        tolva.connectToTolva();
        QCOMPARE(tolva.state(), int(ConnectStat::Connecting));
        if (button)
            tolva.findChild<QPushButton *>("connectB")->click();
        QTRY_COMPARE_WITH_TIMEOUT(tolva.state(), int(ConnectStat::Disconnected), 10000);
        QVERIFY(texts(logs).contains(said));

        quint16 good = 0;
        auto server = TestSupport::startServer(&good);
        QVERIFY(good != 0);
        QVERIFY(login(tolva, good));
    }

    void clientServerAndSimulator()
    {
        quint16 port = 0;
        auto server = TestSupport::startServer(&port);
        QVERIFY(port != 0);
        Tolva tolva;
        QVERIFY(login(tolva, port));
        QCOMPARE(tolva.state(), int(ConnectStat::Connected));
        QSignalSpy events(&tolva, &Tolva::anyEvent);
        QSignalSpy answers(&tolva, &Tolva::anyAns);
        QSignalSpy sent(&tolva, &Tolva::sendingAskToTolva);
        tolva.sendCmd("", "System", "flgon Dorvan");
        QTRY_COMPARE_WITH_TIMEOUT(countWord(answers, "flgon", "Ok:"), 1, 10000);

        const QString transcript = dir.filePath("transcript.txt");
        auto sim = TestSupport::startSim(port, {"--transcript", transcript});
        QTRY_COMPARE_WITH_TIMEOUT(countWord(events, "Connected"), 1, 10000);
        QCOMPARE(msgs(events).first().from, QStringLiteral("Dorvan"));
        QCOMPARE(msgs(events).first().cmdId, 3);

        // Remote control and a monochromator move.
        tolva.sendCmd("", "Dorvan.remote", "RemoteOn");
        tolva.sendCmdV("", "Dorvan.remote", "SetCurrentEnergy", "8.979");
        QTRY_COMPARE_WITH_TIMEOUT(countWord(events, "EvMovingCurTh"), 2, 10000);
        const QList<AMsg> ev = msgs(events);
        QCOMPARE(ev.at(1).cmdId, 6);
        QCOMPARE(ev.at(1).firstParam, QStringLiteral("1"));
        QCOMPARE(ev.at(2).firstParam, QStringLiteral("0"));
        QTRY_COMPARE_WITH_TIMEOUT(countWord(answers, "SetCurrentEnergy", "Ok:"), 1, 10000);
        QCOMPARE(countWord(answers, "RemoteOn", "Ok:"), 1);
        QCOMPARE(msgs(answers).at(1).fromAddr, QStringLiteral("Dorvan.remote"));

        // The simulator's transcript holds every line it received, as sent:
        // the commands in the order sent, mixed with the client's answers.
        QStringList sentLines = texts(sent).filter(QRegularExpression("^Tarnix>Dorvan"));
        const auto commandsIn = [&transcript]() {
            return TestSupport::readLines(transcript)
                .filter(QRegularExpression("^Tarnix>Dorvan(\\.remote)? [^@]"));
        };
        QTRY_COMPARE_WITH_TIMEOUT(commandsIn(), sentLines, 10000);

        // A second node under a name in use is refused.
        Tolva twin;
        QSignalSpy twinNotReady(&twin, &Tolva::tolvaIsNotReady);
        twin.setNameOnTolva("Tarnix");
        twin.setKeyFile(kKeys);
        twin.setHost("127.0.0.1");
        twin.setPort(QString::number(port));
        twin.connectToTolva();
        QVERIFY(twinNotReady.wait(10000) || twinNotReady.count() == 1);
        QVERIFY(!twin.isConnected());
        QVERIFY(tolva.isConnected());

        // Both stand-ins end cleanly on SIGTERM; the client hears of each.
        sim->terminate();
        QVERIFY(sim->ended());
        QCOMPARE(sim->exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim->exitCode(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(countWord(events, "Disconnected"), 1, 10000);
        QCOMPARE(msgs(events).last().cmdId, 4);
        QSignalSpy notReady(&tolva, &Tolva::tolvaIsNotReady);
        server->terminate();
        QVERIFY(server->ended());
        QCOMPARE(server->exitStatus(), QProcess::NormalExit);
        QCOMPARE(server->exitCode(), 0);
        QVERIFY(notReady.wait(10000) || notReady.count() == 1);
        QVERIFY(server->waitForOutput("stopping"));
    }

    void serverRules()
    {
        quint16 port = 0;
        auto server = TestSupport::startServer(&port, {"--challenge", "-7", "--max-line", "1000"});
        QVERIFY(port != 0);
        // A wrong key is refused and the connection closed.
        QTcpSocket bad;
        QByteArray answer;
        QVERIFY(rawLogin(bad, port, 1, &answer));
        QVERIFY2(answer.startsWith("System>Tarnix Er:"), answer.constData());
        QTRY_COMPARE_WITH_TIMEOUT(bad.state(), QAbstractSocket::UnconnectedState, 10000);

        // The right key (negative challenge, non-negative index) is accepted.
        QTcpSocket s;
        QVERIFY(rawLogin(s, port, 0, &answer));
        QVERIFY2(answer.startsWith("System>Tarnix Ok:"), answer.constData());
        // A line within the bound but no message is dropped; a node may not
        // speak under another node's name.
        s.write(QByteArray(999, 'x') + "\nOther>System listnodes\nTarnix>System listnodes\n");
        QTRY_VERIFY_WITH_TIMEOUT(s.canReadLine(), 10000);
        QCOMPARE(s.readLine(), QByteArray("System>Tarnix @listnodes Tarnix\n"));
        // Unknown server commands get an "Er:" answer.
        s.write("Tarnix.ch>System Nonsense\n");
        QTRY_VERIFY_WITH_TIMEOUT(s.canReadLine(), 10000);
        QCOMPARE(s.readLine(), QByteArray("System>Tarnix.ch @Nonsense Er: Unknown Command\n"));
        // A line over the bound closes the connection.
        s.write(QByteArray(5000, 'y'));
        QTRY_COMPARE_WITH_TIMEOUT(s.state(), QAbstractSocket::UnconnectedState, 10000);
    }

    void simulatorFaults_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("commands"); // after RemoteOn
        QTest::addColumn<QStringList>("events");   // every one expected, in order

        QTest::newRow("start fails")
            << QStringList{"--fail-start", "2"} << QStringList{"Start", "Start"}
            << QStringList{"EvStartMeas", "EvEndMeas", "EvErrStartXAFSMeas"};
        QTest::newRow("changer fails")
            << QStringList{"--fail-changer", "1"} << QStringList{"MoveSHolderTo 3"}
            << QStringList{"EvChangerMoving 1", "EvErrChangerMove", "EvChangerMoving 0"};
        QTest::newRow("changer ok") << QStringList{} << QStringList{"MoveSHolderTo 03"}
                                    << QStringList{"EvChangerMoving 1", "EvChangerMoving 0"};
        QTest::newRow("remote error after 2")
            << QStringList{"--err-remote-after", "2"}
            << QStringList{"SelectAtom 29", "SelectEdge 0"} << QStringList{"EvErrRemote"};
        // The second command is answered, then nothing more: not the end of the move, not Start.
        QTest::newRow("hangs after 2")
            << QStringList{"--hang-after", "2"} << QStringList{"SetCurrentEnergy 9", "Start"}
            << QStringList{"EvMovingCurTh 1"};
    }

    void simulatorFaults()
    {
        QFETCH(QStringList, args);
        QFETCH(QStringList, commands);
        QFETCH(QStringList, events);
        quint16 port = 0;
        auto server = TestSupport::startServer(&port);
        QVERIFY(port != 0);
        auto sim = TestSupport::startSim(port, args);
        Tolva tolva;
        QVERIFY(login(tolva, port));
        QVERIFY(waitForNode(tolva, "Dorvan"));
        QSignalSpy evSpy(&tolva, &Tolva::anyEvent);
        QSignalSpy answers(&tolva, &Tolva::anyAns);
        tolva.sendCmd("", "Dorvan.remote", "RemoteOn");
        for (const QString &c : commands) {
            tolva.sendCmd("", "Dorvan.remote", c);
            if (c == "Start" && !args.contains("--hang-after")) // one measurement at a time
                QTRY_VERIFY_WITH_TIMEOUT(
                    countWord(evSpy, "EvEndMeas") + countWord(evSpy, "EvErrStartXAFSMeas") > 0,
                    10000);
        }
        QTRY_COMPARE_WITH_TIMEOUT(int(evSpy.count()), int(events.size()), 10000);
        QVERIFY(!evSpy.wait(500)); // and nothing after them
        QStringList got;
        for (const AMsg &m : msgs(evSpy)) {
            got.append(m.firstParam == "1" || m.firstParam == "0" ? m.cmd + " " + m.firstParam
                                                                  : m.cmd);
            if (m.cmd.startsWith("EvErr"))
                QVERIFY2(m.paramText.contains("simulated fault"), qPrintable(m.paramText));
        }
        QCOMPARE(got, events);
        if (args.contains("--hang-after"))
            QCOMPARE(countWord(answers, "Start"), 0);
    }

    // The stand-ins' command lines: a bad one ends with status 2 and names the culprit.
    void badArguments_data()
    {
        QTest::addColumn<bool>("server");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("server port range")
            << true << QStringList{"--port", "65536"} << 2 << "--port";
        QTest::newRow("server unknown option") << true << QStringList{"--bogus"} << 2 << "bogus";
        QTest::newRow("sim negative delay")
            << false << QStringList{"--meas-time", "-5"} << 2 << "--meas-time";
        QTest::newRow("sim bad name") << false << QStringList{"--name", "a.b"} << 2 << "--name";
        QTest::newRow("sim no server")
            << false << QStringList{"--port", "1", "--connect-timeout", "0"} << 1
            << "cannot connect";
    }

    void badArguments()
    {
        QFETCH(bool, server);
        QFETCH(QStringList, args);
        QFETCH(QString, text);
        Peer p(server ? QStringLiteral(TOLVA_SERVER_EXE) : QStringLiteral(DORVAN_SIM_EXE),
               args + QStringList{"--key-file", kKeys});
        QVERIFY(p.ended());
        QTEST(p.exitCode(), "code");
        QVERIFY2(p.waitForOutput(text.toUtf8()), p.out.constData());
    }

private:
    bool waitForNode(Tolva &tolva, const QString &node);
    // Reads the challenge and answers it with the key at keyIndex + shift as Tarnix.
    bool rawLogin(QTcpSocket &s, quint16 port, int shift, QByteArray *answer);
    TestSupport::WorkDir dir;
};

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

bool TestPeers::rawLogin(QTcpSocket &s, quint16 port, int shift, QByteArray *answer)
{
    s.connectToHost(QHostAddress::LocalHost, port);
    if (!s.waitForConnected(10000))
        return false;
    while (!s.canReadLine())
        if (!s.waitForReadyRead(10000))
            return false;
    const QString challenge = QString::fromLatin1(s.readLine());
    const QStringList keys = TolvaProto::loadKeys(kKeys);
    const int index = TolvaProto::keyIndexFor(challenge, keys.size());
    s.write(TolvaProto::keyReply("Tarnix", keys.at((index + shift) % keys.size())));
    while (!s.canReadLine())
        if (!s.waitForReadyRead(10000))
            return false;
    *answer = s.readLine();
    return true;
}

QTEST_MAIN(TestPeers)
#include "tst_peers.moc"
