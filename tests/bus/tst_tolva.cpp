#include "ConnectStat.h"
#include "FakeServer.h"
#include "Tolva.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList texts(const QSignalSpy &spy)
{
    QStringList out;
    for (const QList<QVariant> &args : spy)
        out.append(args.at(0).toString());
    return out;
}

} // namespace

class TestTolva : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void constructedState();
    void keyExchange_data();
    void keyExchange();
    void loginAccepted();
    void loginRefused_data();
    void loginRefused();
    void linesAfterRefusalAreNotAChallenge();
    void acceptanceAndCommandInOneSegment();
    void lineSplitAcrossSegments();
    void builtInAnswers_data();
    void builtInAnswers();
    void dispatchByKind_data();
    void dispatchByKind();
    void sendFormats();
    void sendWhileNotReady();
    void sendStripsLineBreaks();
    void setBusySendsOnce();
    void oversizedLine_data();
    void oversizedLine();
    void badPort_data();
    void badPort();
    void disconnectWhileConnected();
    void history();
    void historyEdgeCases();
    void connectStat_data();
    void connectStat();
    void connectStatButton();

private:
    // Starts the server, connects the client and logs it in as Tarnix.
    bool login(Tolva &tolva, FakeServer &server);
    QString writeKeys(const QByteArray &content);

    QTemporaryDir *dir = nullptr;
    QString oldCwd;
};

void TestTolva::init()
{
    dir = new QTemporaryDir;
    QVERIFY(dir->isValid());
    oldCwd = QDir::currentPath();
    QDir::setCurrent(dir->path());
}

void TestTolva::cleanup()
{
    QDir::setCurrent(oldCwd);
    delete dir;
    dir = nullptr;
}

QString TestTolva::writeKeys(const QByteArray &content)
{
    QFile f(dir->filePath("Tarnix.key"));
    if (!f.open(QIODevice::WriteOnly))
        return QString();
    f.write(content);
    return f.fileName();
}

bool TestTolva::login(Tolva &tolva, FakeServer &server)
{
    if (!server.listen())
        return false;
    writeKeys("k0\nk1\nk2\n");
    tolva.setNameOnTolva("Tarnix");
    tolva.setKeyFile("Tarnix.key");
    tolva.setHost("127.0.0.1");
    tolva.setPort(QString::number(server.port()));
    QSignalSpy ready(&tolva, &Tolva::tolvaIsReady);
    tolva.connectToTolva();
    if (!server.waitForClient())
        return false;
    server.sendLine("4");
    if (!server.waitForLines(1))
        return false;
    server.lines.clear();
    server.sendLine("System>Tarnix Ok: welcome");
    return ready.wait(10000) || ready.count() == 1;
}

void TestTolva::constructedState()
{
    Tolva tolva;
    QCOMPARE(tolva.state(), int(ConnectStat::Disconnected));
    QVERIFY(!tolva.isConnected());
    QVERIFY(!tolva.busy());
    QCOMPARE(tolva.objectName(), QStringLiteral("Tolva"));
    QCOMPARE(tolva.windowTitle(), QStringLiteral("Tolva Settings"));
    QCOMPARE(tolva.nameOnTolva(), QStringLiteral("Lumica"));
    QCOMPARE(tolva.keyFile(), QStringLiteral("Lumica.key"));
    QCOMPARE(tolva.host(), QStringLiteral("localhost"));
    QCOMPARE(tolva.port(), QStringLiteral("6057"));
    QStringList names;
    for (QLabel *l : tolva.headerLabels())
        names.append(l->objectName());
    QCOMPARE(names, (QStringList{"L01", "L02", "L03", "L04", "L05", "L06"}));
    auto *status = tolva.findChild<QLabel *>("statusL");
    QVERIFY(status);
    QCOMPARE(status->text(), QStringLiteral("Disconnected"));
    QCOMPARE(status->styleSheet(), QStringLiteral("background-color: rgb(176, 192, 192);"));
}

void TestTolva::keyExchange_data()
{
    QTest::addColumn<QByteArray>("keyFile"); // empty: no file at all
    QTest::addColumn<QByteArray>("challenge");
    QTest::addColumn<QByteArray>("reply"); // empty: nothing sent
    QTest::addColumn<QString>("keyLog");

    QTest::newRow("7 mod 3") << QByteArray("key-0\nkey-1\nkey-2\n") << QByteArray("7")
                             << QByteArray("Tarnix key-1") << "sending key [Tarnix][key 2 of 3]";
    QTest::newRow("not a number") << QByteArray("key-0\nkey-1\nkey-2\n") << QByteArray("seven")
                                  << QByteArray("Tarnix key-0")
                                  << "sending key [Tarnix][key 1 of 3]";
    QTest::newRow("blanks and cr")
        << QByteArray("key-0\nkey-1\nkey-2\n") << QByteArray("  8 \r") << QByteArray("Tarnix key-2")
        << "sending key [Tarnix][key 3 of 3]";
    QTest::newRow("negative") << QByteArray("key-0\nkey-1\nkey-2\n") << QByteArray("-7")
                              << QByteArray("Tarnix key-2") << "sending key [Tarnix][key 3 of 3]";
    QTest::newRow("blank key counts")
        << QByteArray("key-a\n\nkey-b\n") << QByteArray("1") << QByteArray("Tarnix ")
        << "sending key [Tarnix][key 2 of 3]";
    QTest::newRow("after blank key")
        << QByteArray("key-a\n\nkey-b\n") << QByteArray("2") << QByteArray("Tarnix key-b")
        << "sending key [Tarnix][key 3 of 3]";
    QTest::newRow("key simplified")
        << QByteArray("  two   words \n") << QByteArray("5") << QByteArray("Tarnix two words")
        << "sending key [Tarnix][key 1 of 1]";
    QTest::newRow("missing file") << QByteArray() << QByteArray("7") << QByteArray() << QString();
    QTest::newRow("empty file") << QByteArray("") << QByteArray("7") << QByteArray() << QString();
}

void TestTolva::keyExchange()
{
    QFETCH(QByteArray, keyFile);
    QFETCH(QByteArray, challenge);
    QFETCH(QByteArray, reply);
    QFETCH(QString, keyLog);
    const bool missing = QByteArray(QTest::currentDataTag()) == "missing file";
    if (!missing)
        writeKeys(keyFile);

    FakeServer server;
    QVERIFY(server.listen());
    Tolva tolva;
    tolva.setNameOnTolva("Tarnix");
    tolva.setKeyFile("Tarnix.key");
    tolva.setHost("127.0.0.1");
    tolva.setPort(QString::number(server.port()));
    QSignalSpy logs(&tolva, &Tolva::log);
    tolva.connectToTolva();
    QVERIFY(server.waitForClient());
    server.sendLine(challenge);
    QTRY_COMPARE_WITH_TIMEOUT(tolva.state(), int(ConnectStat::Connecting), 10000);

    const QString abs = QDir(dir->path()).absoluteFilePath("Tarnix.key");
    QStringList logged = texts(logs);
    QCOMPARE(logged.value(0), QStringLiteral("opening key file [%1]").arg(abs));
    if (reply.isEmpty()) {
        if (missing)
            QVERIFY(logged.contains(QStringLiteral("Can't open key file [%1]").arg(abs)));
        QVERIFY(logged.contains(QStringLiteral("I have no key to exchange with Tolva.")));
        // Refuse: the client closes, and nothing at all was sent before.
        server.sendLine("System>Tarnix Er: no");
        QVERIFY(server.waitForClose());
        QCOMPARE(server.lines, QList<QByteArray>());
    } else {
        QVERIFY(server.waitForLines(1));
        QCOMPARE(server.lines.first(), reply);
        QVERIFY(logged.contains(keyLog));
        // The key itself never reaches the log.
        const QByteArray key = reply.mid(QByteArray("Tarnix ").size());
        if (!key.isEmpty()) {
            for (const QString &l : logged)
                QVERIFY2(!l.contains(QString::fromLatin1(key)), qPrintable(l));
        }
    }
}

void TestTolva::loginAccepted()
{
    FakeServer server;
    Tolva tolva;
    QSignalSpy logs(&tolva, &Tolva::log);
    QSignalSpy notReady(&tolva, &Tolva::tolvaIsNotReady);
    QVERIFY(login(tolva, server));
    QCOMPARE(tolva.state(), int(ConnectStat::Connected));
    QVERIFY(tolva.isConnected());
    QCOMPARE(texts(logs).last(), QStringLiteral("Connected To Tolva"));
    QCOMPARE(notReady.count(), 0);
    auto *status = tolva.findChild<QLabel *>("statusL");
    QCOMPARE(status->text(), QStringLiteral("Connected"));
    auto *button = tolva.findChild<QPushButton *>("connectB");
    QCOMPARE(button->text(), QStringLiteral("Disconnect"));
}

void TestTolva::loginRefused_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::newRow("lower-case name") << QByteArray("System>tarnix Ok: welcome");
    QTest::newRow("refusal") << QByteArray("System>Tarnix Er: bad key");
    QTest::newRow("other sender") << QByteArray("Sys>Tarnix Ok:");
    QTest::newRow("no colon") << QByteArray("System>Tarnix Ok");
    QTest::newRow("leading blank") << QByteArray(" System>Tarnix Ok:");
}

void TestTolva::loginRefused()
{
    QFETCH(QByteArray, answer);
    writeKeys("k0\n");
    FakeServer server;
    QVERIFY(server.listen());
    Tolva tolva;
    tolva.setNameOnTolva("Tarnix");
    tolva.setKeyFile("Tarnix.key");
    tolva.setHost("127.0.0.1");
    tolva.setPort(QString::number(server.port()));
    QSignalSpy ready(&tolva, &Tolva::tolvaIsReady);
    QSignalSpy notReady(&tolva, &Tolva::tolvaIsNotReady);
    tolva.connectToTolva();
    QVERIFY(server.waitForClient());
    server.sendLine("1");
    QVERIFY(server.waitForLines(1));
    server.sendLine(answer);
    QVERIFY(notReady.wait(10000) || notReady.count() == 1);
    QCOMPARE(ready.count(), 0);
    QCOMPARE(tolva.state(), int(ConnectStat::Disconnected));
    QVERIFY(server.waitForClose());
}

void TestTolva::linesAfterRefusalAreNotAChallenge()
{
    writeKeys("k0\nk1\n");
    FakeServer server;
    QVERIFY(server.listen());
    Tolva tolva;
    tolva.setNameOnTolva("Tarnix");
    tolva.setKeyFile("Tarnix.key");
    tolva.setHost("127.0.0.1");
    tolva.setPort(QString::number(server.port()));
    QSignalSpy notReady(&tolva, &Tolva::tolvaIsNotReady);
    tolva.connectToTolva();
    QVERIFY(server.waitForClient());
    server.sendLine("0");
    QVERIFY(server.waitForLines(1));
    server.sendRaw("System>Other Ok:\n1\nSystem>Tarnix Ok:\n");
    QVERIFY(server.waitForClose());
    QTRY_COMPARE_WITH_TIMEOUT(notReady.count(), 1, 10000);
    QCOMPARE(tolva.state(), int(ConnectStat::Disconnected));
    QCOMPARE(server.lines, (QList<QByteArray>{"Tarnix k0"}));
}

void TestTolva::acceptanceAndCommandInOneSegment()
{
    writeKeys("k0\n");
    FakeServer server;
    QVERIFY(server.listen());
    Tolva tolva;
    tolva.setNameOnTolva("Tarnix");
    tolva.setKeyFile("Tarnix.key");
    tolva.setHost("127.0.0.1");
    tolva.setPort(QString::number(server.port()));
    QSignalSpy ready(&tolva, &Tolva::tolvaIsReady);
    tolva.connectToTolva();
    QVERIFY(server.waitForClient());
    server.sendLine("3");
    QVERIFY(server.waitForLines(1));
    server.sendRaw("System>Tarnix Ok: hi\nDorvan>Tarnix Hello\n");
    QVERIFY(server.waitForLines(2));
    QCOMPARE(ready.count(), 1);
    QCOMPARE(server.lines.at(1),
             QByteArray("Tarnix>Dorvan @Hello Hello! I am Tarnix. Nice to meet you!"));
}

void TestTolva::lineSplitAcrossSegments()
{
    FakeServer server;
    Tolva tolva;
    QVERIFY(login(tolva, server));
    auto *sock = tolva.findChild<QTcpSocket *>();
    QVERIFY(sock);
    QSignalSpy arrived(sock, &QTcpSocket::readyRead);
    QSignalSpy events(&tolva, &Tolva::anyEvent);
    server.sendRaw("Dorvan>Tarnix _EvMov");
    QVERIFY(arrived.wait(10000));
    QCOMPARE(events.count(), 0);
    server.sendRaw("ingCurTh 1\r");
    QVERIFY(arrived.wait(10000));
    QCOMPARE(events.count(), 0);
    server.sendRaw("\nDorvan>Tarnix _EvMovingCurTh 0\n");
    QTRY_COMPARE_WITH_TIMEOUT(events.count(), 2, 10000);
    const AMsg first = events.at(0).at(0).value<AMsg>();
    QCOMPARE(first.cmd, QStringLiteral("EvMovingCurTh"));
    QCOMPARE(first.firstParam, QStringLiteral("1"));
    QCOMPARE(first.cmdId, 6);
    QCOMPARE(events.at(1).at(0).value<AMsg>().firstParam, QStringLiteral("0"));
}

void TestTolva::builtInAnswers_data()
{
    QTest::addColumn<QByteArray>("received");
    QTest::addColumn<QByteArray>("sent"); // empty: dropped without an answer
    QTest::newRow("Hello") << QByteArray("Dorvan>Tarnix Hello")
                           << QByteArray(
                                  "Tarnix>Dorvan @Hello Hello! I am Tarnix. Nice to meet you!");
    QTest::newRow("IsBusy") << QByteArray("Dorvan>Tarnix IsBusy")
                            << QByteArray("Tarnix>Dorvan @IsBusy 0");
    QTest::newRow("Help") << QByteArray("Dorvan>Tarnix Help")
                          << QByteArray(
                                 "Tarnix>Dorvan @Help Commands : Hello Help IsBusy Connected "
                                 "Disconnected EvChangerMoving EvMovingCurTh EvStartMeas "
                                 "EvEndMeas EvStartQMeas EvEndQMeas EvErrStartXAFSMeas "
                                 "EvErrRemote EvErrChangerMove RemoteOn listnodes GetBlockNum");
    QTest::newRow("Help Hello") << QByteArray("Dorvan>Tarnix Help Hello")
                                << QByteArray("Tarnix>Dorvan @Help : Answer greeting message");
    QTest::newRow("Help Foo") << QByteArray("Dorvan>Tarnix Help Foo")
                              << QByteArray("Tarnix>Dorvan @Help Er: Command [Foo] not found.");
    QTest::newRow("Help without help text")
        << QByteArray("Dorvan>Tarnix Help listnodes") << QByteArray("Tarnix>Dorvan @Help : ");
    QTest::newRow("Help two params")
        << QByteArray("Dorvan>Tarnix Help IsBusy Foo")
        << QByteArray("Tarnix>Dorvan @Help : Answer if Tarnix is busy");
    QTest::newRow("Help trailing blanks")
        << QByteArray("Dorvan>Tarnix Help  ")
        << QByteArray("Tarnix>Dorvan @Help Er: Command [] not found.");
    QTest::newRow("channel kept")
        << QByteArray("Dorvan>Tarnix.sub Hello")
        << QByteArray("Tarnix.sub>Dorvan @Hello Hello! I am Tarnix. Nice to meet you!");
    QTest::newRow("sender as written") << QByteArray("Dorvan.remote>Tarnix IsBusy")
                                       << QByteArray("Tarnix>Dorvan.remote @IsBusy 0");
    QTest::newRow("answer word Hello")
        << QByteArray("Dorvan>Tarnix @Hello")
        << QByteArray("Tarnix>Dorvan @Hello Hello! I am Tarnix. Nice to meet you!");
    QTest::newRow("event word IsBusy")
        << QByteArray("Dorvan>Tarnix _IsBusy") << QByteArray("Tarnix>Dorvan @IsBusy 0");
    QTest::newRow("no > dropped") << QByteArray("Dorvan Tarnix Hello") << QByteArray();
    QTest::newRow("no word dropped") << QByteArray("Dorvan>Tarnix") << QByteArray();
    QTest::newRow("hello lower case not built in")
        << QByteArray("Dorvan>Tarnix hello") << QByteArray();
}

void TestTolva::builtInAnswers()
{
    QFETCH(QByteArray, received);
    QFETCH(QByteArray, sent);
    FakeServer server;
    Tolva tolva;
    QVERIFY(login(tolva, server));
    server.sendLine(received);
    // A probe after the line shows, by what comes back first, whether the
    // line itself was answered.
    server.sendLine("Probe>Tarnix IsBusy");
    const QByteArray probe("Tarnix>Probe @IsBusy 0");
    if (sent.isEmpty()) {
        QVERIFY(server.waitForLines(1));
        QCOMPARE(server.lines.first(), probe);
    } else {
        QVERIFY(server.waitForLines(2));
        QCOMPARE(server.lines.at(0), sent);
        QCOMPARE(server.lines.at(1), probe);
    }
}

void TestTolva::dispatchByKind_data()
{
    QTest::addColumn<QByteArray>("received");
    QTest::addColumn<QString>("signal");
    QTest::addColumn<int>("cmdId");
    QTest::newRow("unknown ask") << QByteArray("Dorvan>Tarnix Foo 1") << "ask" << 18;
    QTest::newRow("known word as ask") << QByteArray("Dorvan>Tarnix RemoteOn") << "ask" << 15;
    QTest::newRow("event") << QByteArray("Dorvan>Tarnix _EvEndMeas") << "event" << 8;
    QTest::newRow("unknown event") << QByteArray("Dorvan>Tarnix _Odd") << "event" << 18;
    QTest::newRow("answer") << QByteArray("Dorvan.remote>Tarnix @GetBlockNum 3") << "ans" << 16;
    QTest::newRow("listnodes") << QByteArray("System>Tarnix @listnodes Tarnix Dorvan") << "ans"
                               << 14;
}

void TestTolva::dispatchByKind()
{
    QFETCH(QByteArray, received);
    QFETCH(QString, signal);
    QFETCH(int, cmdId);
    FakeServer server;
    Tolva tolva;
    QVERIFY(login(tolva, server));
    QSignalSpy asks(&tolva, &Tolva::anyAsk);
    QSignalSpy events(&tolva, &Tolva::anyEvent);
    QSignalSpy answers(&tolva, &Tolva::anyAns);
    QSignalSpy vlogs(&tolva, &Tolva::vlog);
    server.sendLine(received + "\r");
    QSignalSpy &spy = signal == "ask" ? asks : signal == "event" ? events : answers;
    QVERIFY(spy.wait(10000) || spy.count() == 1);
    QCOMPARE(asks.count() + events.count() + answers.count(), 1);
    const AMsg m = spy.at(0).at(0).value<AMsg>();
    QVERIFY(m.valid);
    QCOMPARE(m.cmdId, cmdId);
    QCOMPARE(m.line, QString::fromLatin1(received));
    QCOMPARE(texts(vlogs).last(),
             QStringLiteral("msg from tolva[%1]").arg(QString::fromLatin1(received)));
}

void TestTolva::sendFormats()
{
    FakeServer server;
    Tolva tolva;
    QVERIFY(login(tolva, server));
    QSignalSpy asks(&tolva, &Tolva::sendingAskToTolva);
    QSignalSpy events(&tolva, &Tolva::sendingEventToTolva);
    QSignalSpy answers(&tolva, &Tolva::sendingAnsToTolva);
    QSignalSpy logs(&tolva, &Tolva::log);

    tolva.sendCmdV("", "Dorvan", "SetMeasTime", "");
    tolva.sendCmdV("", "Dorvan", "SetMeasTime", "0 1.5");
    tolva.sendCmd("ch", "Dorvan.remote", "Start");
    tolva.sendEvent("", "ChangedIsBusy 1");
    AMsg q;
    QVERIFY(q.parse("Dorvan.x>Tarnix.sub GetThing 1"));
    tolva.sendAns(q, "42 a");
    tolva.sendOk(q);
    tolva.setLogSendingMsg(true);
    tolva.sendCmd("", "System", "listnodes");

    const QList<QByteArray> expected{"Tarnix>Dorvan SetMeasTime",
                                     "Tarnix>Dorvan SetMeasTime 0 1.5",
                                     "Tarnix.ch>Dorvan.remote Start",
                                     "Tarnix>System _ChangedIsBusy 1",
                                     "Tarnix.sub>Dorvan.x @GetThing 42 a",
                                     "Tarnix.sub>Dorvan.x @GetThing Ok:",
                                     "Tarnix>System listnodes"};
    QVERIFY(server.waitForLines(expected.size()));
    QCOMPARE(server.lines, expected);
    QCOMPARE(texts(asks),
             (QStringList{"Tarnix>Dorvan SetMeasTime", "Tarnix>Dorvan SetMeasTime 0 1.5",
                          "Tarnix.ch>Dorvan.remote Start", "Tarnix>System listnodes"}));
    QCOMPARE(texts(events), QStringList{"Tarnix>System _ChangedIsBusy 1"});
    QCOMPARE(texts(answers), (QStringList{"Tarnix.sub>Dorvan.x @GetThing 42 a",
                                          "Tarnix.sub>Dorvan.x @GetThing Ok:"}));
    // Only the send made after logging was switched on is logged, in its colour.
    QCOMPARE(logs.count(), 1);
    QCOMPARE(logs.at(0).at(0).toString(), QStringLiteral("---- Snd Tarnix>System listnodes"));
    QCOMPARE(logs.at(0).at(1).value<QColor>(), QColor(0, 200, 120));
}

void TestTolva::sendWhileNotReady()
{
    Tolva tolva;
    tolva.setNameOnTolva("Tarnix");
    tolva.setLogSendingMsg(true);
    QSignalSpy asks(&tolva, &Tolva::sendingAskToTolva);
    QSignalSpy events(&tolva, &Tolva::sendingEventToTolva);
    QSignalSpy logs(&tolva, &Tolva::log);
    tolva.sendCmd("", "Dorvan.remote", "RemoteOn");
    tolva.setBusy(true);
    QCOMPARE(texts(asks), QStringList{"Tolva is not ready (Tarnix>Dorvan.remote RemoteOn)"});
    QCOMPARE(texts(events), QStringList{"Tolva is not ready (Tarnix>System _ChangedIsBusy 1)"});
    QCOMPARE(logs.count(), 0);
    QVERIFY(tolva.busy());
}

void TestTolva::sendStripsLineBreaks()
{
    FakeServer server;
    Tolva tolva;
    QVERIFY(login(tolva, server));
    QSignalSpy asks(&tolva, &Tolva::sendingAskToTolva);
    tolva.sendCmdV("", "Dorvan.remote", "SetXafsMeasComment", "one\nTarnix>Dorvan.remote Start\r");
    tolva.sendCmd("", "Dorvan", "Next");
    QVERIFY(server.waitForLines(2));
    QCOMPARE(server.lines.at(0),
             QByteArray("Tarnix>Dorvan.remote SetXafsMeasComment one Tarnix>Dorvan.remote Start "));
    QCOMPARE(server.lines.at(1), QByteArray("Tarnix>Dorvan Next"));
    QCOMPARE(asks.at(0).at(0).toString(), QString::fromLatin1(server.lines.at(0)));
}

void TestTolva::setBusySendsOnce()
{
    FakeServer server;
    Tolva tolva;
    QVERIFY(login(tolva, server));
    tolva.setBusy(true);
    tolva.setBusy(true);
    server.sendLine("Dorvan>Tarnix IsBusy");
    QVERIFY(server.waitForLines(2));
    tolva.setBusy(false);
    tolva.setBusy(false);
    server.sendLine("Dorvan>Tarnix IsBusy");
    QVERIFY(server.waitForLines(4));
    QCOMPARE(server.lines,
             (QList<QByteArray>{"Tarnix>System _ChangedIsBusy 1", "Tarnix>Dorvan @IsBusy 1",
                                "Tarnix>System _ChangedIsBusy 0", "Tarnix>Dorvan @IsBusy 0"}));
}

void TestTolva::oversizedLine_data()
{
    QTest::addColumn<bool>("loggedIn");
    QTest::newRow("after login") << true;
    QTest::newRow("instead of a challenge") << false;
}

void TestTolva::oversizedLine()
{
    QFETCH(bool, loggedIn);
    FakeServer server;
    Tolva tolva;
    if (loggedIn) {
        QVERIFY(login(tolva, server));
    } else {
        QVERIFY(server.listen());
        tolva.setHost("127.0.0.1");
        tolva.setPort(QString::number(server.port()));
        tolva.connectToTolva();
        QVERIFY(server.waitForClient());
    }
    QSignalSpy logs(&tolva, &Tolva::log);
    QSignalSpy vlogs(&tolva, &Tolva::vlog);
    QSignalSpy notReady(&tolva, &Tolva::tolvaIsNotReady);
    const QByteArray chunk(64 * 1024, 'x');
    for (int i = 0;
         i < 20 && server.client && server.client->state() == QAbstractSocket::ConnectedState; ++i)
        server.sendRaw(chunk);
    QVERIFY(server.waitForClose(20000));
    QTRY_COMPARE_WITH_TIMEOUT(notReady.count(), 1, 10000);
    QCOMPARE(tolva.state(), int(ConnectStat::Disconnected));
    QCOMPARE(vlogs.count(), 0);
    QVERIFY(texts(logs).contains(
        QStringLiteral("A line from Tolva is longer than 1048576 bytes; closing the connection.")));
}

void TestTolva::badPort_data()
{
    QTest::addColumn<QString>("port");
    QTest::newRow("text") << "abc";
    QTest::newRow("zero") << "0";
    QTest::newRow("too big") << "65536";
    QTest::newRow("negative") << "-1";
    QTest::newRow("empty") << "";
    QTest::newRow("hex") << "0x10";
}

void TestTolva::badPort()
{
    QFETCH(QString, port);
    Tolva tolva;
    tolva.setHost("127.0.0.1");
    tolva.setPort(port);
    QSignalSpy logs(&tolva, &Tolva::log);
    tolva.connectToTolva();
    QCOMPARE(texts(logs),
             QStringList{QStringLiteral(
                             "Port [%1] is not a number from 1 to 65535; not connecting to Tolva.")
                             .arg(port)});
    auto *sock = tolva.findChild<QTcpSocket *>();
    QCOMPARE(sock->state(), QAbstractSocket::UnconnectedState);
}

void TestTolva::disconnectWhileConnected()
{
    FakeServer server;
    Tolva tolva;
    QVERIFY(login(tolva, server));
    QSignalSpy notReady(&tolva, &Tolva::tolvaIsNotReady);
    auto *button = tolva.findChild<QPushButton *>("connectB");
    QTest::mouseClick(button, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(notReady.count(), 1, 10000);
    QCOMPARE(tolva.state(), int(ConnectStat::Disconnected));
    QVERIFY(server.waitForClose());
    // The server closing the line is reported the same way.
    FakeServer second;
    Tolva other;
    QVERIFY(login(other, second));
    QSignalSpy otherNotReady(&other, &Tolva::tolvaIsNotReady);
    second.client->disconnectFromHost();
    QTRY_COMPARE_WITH_TIMEOUT(otherNotReady.count(), 1, 10000);
    QVERIFY(!other.isConnected());
}

static QByteArray historyText()
{
    QFile f(Tolva::historyFileName());
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<none>");
    return f.readAll();
}

void TestTolva::history()
{
    Tolva tolva;
    QString host, port;
    Tolva::readHistory(&host, &port);
    QVERIFY(host.isEmpty() && port.isEmpty());

    tolva.setHost("beamhost");
    QVERIFY(QMetaObject::invokeMethod(&tolva, "newHost"));
    QVERIFY(QMetaObject::invokeMethod(&tolva, "newHost")); // unchanged: nothing
    tolva.setPort("6100");
    QVERIFY(QMetaObject::invokeMethod(&tolva, "newPort"));
    QVERIFY(QMetaObject::invokeMethod(&tolva, "newPort"));
    QCOMPARE(historyText(), QByteArray("A: beamhost\nP: 6100\n"));
    Tolva::readHistory(&host, &port);
    QCOMPARE(host, QStringLiteral("beamhost"));
    QCOMPARE(port, QStringLiteral("6100"));

    // Editing by keyboard goes through editingFinished.
    auto *hostLE = tolva.findChild<QLineEdit *>("hostLE");
    hostLE->setText("other");
    emit hostLE->editingFinished();
    QCOMPARE(historyText(), QByteArray("A: beamhost\nP: 6100\nA: other\n"));
    // Editing never reconnects.
    QCOMPARE(tolva.findChild<QTcpSocket *>()->state(), QAbstractSocket::UnconnectedState);
}

void TestTolva::historyEdgeCases()
{
    {
        QFile f(Tolva::historyFileName());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("a: lower\nA:\nP:   \nX: junk\np: 7000 extra fields\n\n");
    }
    QString host, port;
    Tolva::readHistory(&host, &port);
    QCOMPARE(host, QStringLiteral("lower"));
    QCOMPARE(port, QStringLiteral("7000"));

    Tolva tolva;
    tolva.setHost("lower");
    QVERIFY(QMetaObject::invokeMethod(&tolva, "newHost"));
    const QByteArray before = historyText();
    // A host with a blank is recorded whole but read back as its first word,
    // so the same unchanged edit is recorded again.
    tolva.setHost("my host");
    QVERIFY(QMetaObject::invokeMethod(&tolva, "newHost"));
    QVERIFY(QMetaObject::invokeMethod(&tolva, "newHost"));
    QCOMPARE(historyText(), before + "A: my host\nA: my host\n");
    Tolva::readHistory(&host, nullptr);
    QCOMPARE(host, QStringLiteral("my"));
}

void TestTolva::connectStat_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("labelStyle");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("buttonStyle");
    QTest::newRow("0") << 0 << "Disconnected"
                       << "background-color: rgb(176, 192, 192);"
                       << "Connect"
                       << "background-color: rgb(96, 255, 181);";
    QTest::newRow("1") << 1 << "Connecting"
                       << "background-color: rgb(255, 243, 162);"
                       << "Connecting"
                       << "background-color: rgb(240, 240, 240);";
    QTest::newRow("2") << 2 << "Connected"
                       << "background-color: rgb(211, 255, 241);"
                       << "Disconnect"
                       << "background-color: rgb(255, 255, 128);";
}

void TestTolva::connectStat()
{
    QFETCH(int, state);
    QLabel label;
    QPushButton button;
    ConnectStat stat(&label, &button);
    stat.setStat(state);
    QCOMPARE(stat.stat(), state);
    QTEST(label.text(), "label");
    QTEST(label.styleSheet(), "labelStyle");
    QTEST(button.text(), "button");
    QTEST(button.styleSheet(), "buttonStyle");
    // An unknown state is stored and leaves the widgets as they are.
    stat.setStat(7);
    QCOMPARE(stat.stat(), 7);
    QTEST(label.text(), "label");
    QTEST(button.styleSheet(), "buttonStyle");
    ConnectStat bare(nullptr, nullptr);
    bare.setStat(state);
    QCOMPARE(bare.stat(), state);
}

void TestTolva::connectStatButton()
{
    QLabel label;
    QPushButton button;
    ConnectStat stat(&label, &button);
    QSignalSpy ask(&stat, &ConnectStat::askConnect);
    QSignalSpy askDis(&stat, &ConnectStat::askDisconnect);
    button.click();
    stat.setStat(ConnectStat::Connecting);
    button.click();
    stat.setStat(ConnectStat::Connected);
    button.click();
    QCOMPARE(ask.count(), 1);
    QCOMPARE(askDis.count(), 2);
}

QTEST_MAIN(TestTolva)
#include "tst_tolva.moc"
