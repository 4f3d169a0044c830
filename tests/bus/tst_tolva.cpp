// The bus client against a small in-test server on 127.0.0.1.
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

QByteArray historyText()
{
    QFile f(Tolva::historyFileName());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
}

const QByteArray kHelloAnswer = "Tarnix>Dorvan @Hello Hello! I am Tarnix. Nice to meet you!";

} // namespace

class TestTolva : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        dir = new QTemporaryDir;
        QVERIFY(dir->isValid());
        oldCwd = QDir::currentPath();
        QDir::setCurrent(dir->path());
    }

    void cleanup()
    {
        QDir::setCurrent(oldCwd);
        delete dir;
        dir = nullptr;
    }

    void keyExchange_data()
    {
        QTest::addColumn<QByteArray>("keyFile"); // null: no file at all
        QTest::addColumn<QByteArray>("challenge");
        QTest::addColumn<QByteArray>("reply"); // empty: nothing sent
        QTest::addColumn<QString>("keyLog");

        const auto row = [](const char *tag, const QByteArray &keys, const char *challenge,
                            const char *reply, int index = 0, int count = 3) {
            QTest::newRow(tag)
                << keys << QByteArray(challenge) << QByteArray(reply)
                << QStringLiteral("sending key [Tarnix][key %1 of %2]").arg(index + 1).arg(count);
        };
        const QByteArray three("key-0\nkey-1\nkey-2\n"), blank("key-a\n\nkey-b\n");
        row("7 mod 3", three, "7", "Tarnix key-1", 1);
        row("not a number", three, "seven", "Tarnix key-0", 0);
        row("blanks and cr", three, "  8 \r", "Tarnix key-2", 2);
        row("negative", three, "-7", "Tarnix key-2", 2);
        row("blank key counts", blank, "1", "Tarnix ", 1);
        row("after blank key", blank, "2", "Tarnix key-b", 2);
        row("key simplified", "  two   words \n", "5", "Tarnix two words", 0, 1);
        row("missing file", QByteArray(), "7", "");
        row("empty file", "", "7", "");
    }

    void keyExchange()
    {
        QFETCH(QByteArray, keyFile);
        QFETCH(QByteArray, challenge);
        QFETCH(QByteArray, reply);
        FakeServer server;
        Tolva tolva;
        QSignalSpy logs(&tolva, &Tolva::log);
        QVERIFY(open(tolva, server, keyFile));
        server.sendLine(challenge);
        QTRY_COMPARE_WITH_TIMEOUT(tolva.state(), int(ConnectStat::Connecting), 10000);

        const QString abs = QDir(dir->path()).absoluteFilePath("Tarnix.key");
        const QStringList logged = texts(logs);
        QCOMPARE(logged.value(0), QStringLiteral("opening key file [%1]").arg(abs));
        if (reply.isEmpty()) {
            QCOMPARE(logged.contains(QStringLiteral("Can't open key file [%1]").arg(abs)),
                     keyFile.isNull());
            QVERIFY(logged.contains(QStringLiteral("I have no key to exchange with Tolva.")));
            // Refuse: the client closes, and nothing at all was sent before.
            server.sendLine("System>Tarnix Er: no");
            QVERIFY(server.waitForClose());
            QCOMPARE(server.lines, QList<QByteArray>());
        } else {
            QVERIFY(server.waitForLines(1));
            QCOMPARE(server.lines.first(), reply);
            QTEST(texts(logs).filter("sending key").value(0), "keyLog");
            // The key itself never reaches the log.
            const QByteArray key = reply.mid(QByteArray("Tarnix ").size());
            for (const QString &l : texts(logs))
                QVERIFY2(key.isEmpty() || !l.contains(QString::fromLatin1(key)), qPrintable(l));
        }
    }

    void login_data()
    {
        QTest::addColumn<QByteArray>("answer"); // to the key
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QList<QByteArray>>("sent"); // everything the server receives
        const QList<QByteArray> key{"Tarnix k0"};
        QTest::newRow("accepted") << QByteArray("System>Tarnix Ok: welcome") << true << key;
        QTest::newRow("acceptance and a command in one segment")
            << QByteArray("System>Tarnix Ok: hi\nDorvan>Tarnix Hello") << true
            << QList<QByteArray>{"Tarnix k0", kHelloAnswer};
        QTest::newRow("lower-case name") << QByteArray("System>tarnix Ok: welcome") << false << key;
        QTest::newRow("refusal") << QByteArray("System>Tarnix Er: bad key") << false << key;
        QTest::newRow("other sender") << QByteArray("Sys>Tarnix Ok:") << false << key;
        QTest::newRow("no colon") << QByteArray("System>Tarnix Ok") << false << key;
        QTest::newRow("leading blank") << QByteArray(" System>Tarnix Ok:") << false << key;
        // After a refusal, nothing more is taken for a challenge or an acceptance.
        QTest::newRow("lines after a refusal")
            << QByteArray("System>Other Ok:\n1\nSystem>Tarnix Ok:") << false << key;
    }

    void login()
    {
        QFETCH(QByteArray, answer);
        QFETCH(bool, accepted);
        QFETCH(QList<QByteArray>, sent);
        FakeServer server;
        Tolva tolva;
        QSignalSpy ready(&tolva, &Tolva::tolvaIsReady);
        QSignalSpy notReady(&tolva, &Tolva::tolvaIsNotReady);
        QSignalSpy logs(&tolva, &Tolva::log);
        QVERIFY(open(tolva, server, "k0\n"));
        server.sendLine("1");
        QVERIFY(server.waitForLines(1));
        server.sendLine(answer);
        QSignalSpy &outcome = accepted ? ready : notReady;
        QVERIFY(outcome.wait(10000) || outcome.count() == 1);
        if (accepted) {
            QCOMPARE(tolva.state(), int(ConnectStat::Connected));
            QVERIFY(tolva.isConnected());
            QVERIFY(texts(logs).contains(QStringLiteral("Connected To Tolva")));
            QVERIFY(server.waitForLines(sent.size()));
        } else {
            QCOMPARE(tolva.state(), int(ConnectStat::Disconnected));
            QVERIFY(server.waitForClose());
        }
        QCOMPARE(ready.count() + notReady.count(), 1);
        QCOMPARE(server.lines, sent);
    }

    void lineSplitAcrossSegments()
    {
        FakeServer server;
        Tolva tolva;
        QVERIFY(logIn(tolva, server));
        auto *sock = tolva.findChild<QTcpSocket *>();
        QVERIFY(sock);
        QSignalSpy arrived(sock, &QTcpSocket::readyRead);
        QSignalSpy events(&tolva, &Tolva::anyEvent);
        for (const char *part : {"Dorvan>Tarnix _EvMov", "ingCurTh 1\r"}) {
            server.sendRaw(part);
            QVERIFY(arrived.wait(10000));
            QCOMPARE(events.count(), 0);
        }
        server.sendRaw("\nDorvan>Tarnix _EvMovingCurTh 0\n");
        QTRY_COMPARE_WITH_TIMEOUT(events.count(), 2, 10000);
        const AMsg first = events.at(0).at(0).value<AMsg>();
        QCOMPARE(first.cmd, QStringLiteral("EvMovingCurTh"));
        QCOMPARE(first.firstParam, QStringLiteral("1"));
        QCOMPARE(first.cmdId, 6);
        QCOMPARE(events.at(1).at(0).value<AMsg>().firstParam, QStringLiteral("0"));
    }

    void builtInAnswers_data()
    {
        QTest::addColumn<QByteArray>("received");
        QTest::addColumn<QByteArray>("sent"); // empty: dropped without an answer
        const auto row = [](const char *tag, const char *received, const QByteArray &sent) {
            QTest::newRow(tag) << QByteArray(received) << sent;
        };
        row("Hello", "Dorvan>Tarnix Hello", kHelloAnswer);
        row("IsBusy", "Dorvan>Tarnix IsBusy", "Tarnix>Dorvan @IsBusy 0");
        row("Help", "Dorvan>Tarnix Help",
            "Tarnix>Dorvan @Help Commands : Hello Help IsBusy Connected Disconnected "
            "EvChangerMoving EvMovingCurTh EvStartMeas EvEndMeas EvStartQMeas EvEndQMeas "
            "EvErrStartXAFSMeas EvErrRemote EvErrChangerMove RemoteOn listnodes GetBlockNum");
        row("Help Hello", "Dorvan>Tarnix Help Hello",
            "Tarnix>Dorvan @Help : Answer greeting message");
        row("Help Foo", "Dorvan>Tarnix Help Foo",
            "Tarnix>Dorvan @Help Er: Command [Foo] not found.");
        row("Help without help text", "Dorvan>Tarnix Help listnodes", "Tarnix>Dorvan @Help : ");
        row("Help two params", "Dorvan>Tarnix Help IsBusy Foo",
            "Tarnix>Dorvan @Help : Answer if Tarnix is busy");
        row("Help trailing blanks", "Dorvan>Tarnix Help  ",
            "Tarnix>Dorvan @Help Er: Command [] not found.");
        row("channel kept", "Dorvan>Tarnix.sub Hello",
            "Tarnix.sub>Dorvan @Hello Hello! I am Tarnix. Nice to meet you!");
        row("sender as written", "Dorvan.remote>Tarnix IsBusy", "Tarnix>Dorvan.remote @IsBusy 0");
        row("answer word Hello", "Dorvan>Tarnix @Hello", kHelloAnswer);
        row("event word IsBusy", "Dorvan>Tarnix _IsBusy", "Tarnix>Dorvan @IsBusy 0");
        row("no > dropped", "Dorvan Tarnix Hello", QByteArray());
        row("no word dropped", "Dorvan>Tarnix", QByteArray());
        row("hello lower case not built in", "Dorvan>Tarnix hello", QByteArray());
    }

    void builtInAnswers()
    {
        QFETCH(QByteArray, received);
        QFETCH(QByteArray, sent);
        FakeServer server;
        Tolva tolva;
        QVERIFY(logIn(tolva, server));
        server.sendLine(received);
        // A probe after the line shows, by what comes back first, whether the
        // line itself was answered.
        server.sendLine("Probe>Tarnix IsBusy");
        QList<QByteArray> expected{"Tarnix>Probe @IsBusy 0"};
        if (!sent.isEmpty())
            expected.prepend(sent);
        QVERIFY(server.waitForLines(expected.size()));
        QCOMPARE(server.lines, expected);
    }

    void dispatchByKind_data()
    {
        QTest::addColumn<QByteArray>("received");
        QTest::addColumn<QString>("signal");
        QTest::addColumn<int>("cmdId");
        QTest::newRow("unknown ask") << QByteArray("Dorvan>Tarnix Foo 1") << "ask" << 18;
        QTest::newRow("known word as ask") << QByteArray("Dorvan>Tarnix RemoteOn") << "ask" << 15;
        QTest::newRow("event") << QByteArray("Dorvan>Tarnix _EvEndMeas") << "event" << 8;
        QTest::newRow("unknown event") << QByteArray("Dorvan>Tarnix _Odd") << "event" << 18;
        QTest::newRow("answer") << QByteArray("Dorvan.remote>Tarnix @GetBlockNum 3") << "ans" << 16;
        QTest::newRow("listnodes")
            << QByteArray("System>Tarnix @listnodes Tarnix Dorvan") << "ans" << 14;
    }

    void dispatchByKind()
    {
        QFETCH(QByteArray, received);
        QFETCH(QString, signal);
        FakeServer server;
        Tolva tolva;
        QVERIFY(logIn(tolva, server));
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
        QTEST(m.cmdId, "cmdId");
        QCOMPARE(m.line, QString::fromLatin1(received));
        QCOMPARE(texts(vlogs).last(),
                 QStringLiteral("msg from tolva[%1]").arg(QString::fromLatin1(received)));
    }

    void sendFormats()
    {
        FakeServer server;
        Tolva tolva;
        QVERIFY(logIn(tolva, server));
        QSignalSpy asks(&tolva, &Tolva::sendingAskToTolva);
        QSignalSpy events(&tolva, &Tolva::sendingEventToTolva);
        QSignalSpy answers(&tolva, &Tolva::sendingAnsToTolva);
        QSignalSpy logs(&tolva, &Tolva::log);

        tolva.sendCmdV("", "Dorvan", "SetMeasTime", "");
        tolva.sendCmdV("", "Dorvan", "SetMeasTime", "0 1.5");
        tolva.sendCmd("ch", "Dorvan.remote", "Start");
        // Line breaks in a value must not forge a second message.
        tolva.sendCmdV("", "Dorvan.remote", "SetXafsMeasComment",
                       "one\nTarnix>Dorvan.remote Start\r");
        tolva.sendEvent("", "ChangedIsBusy 1");
        AMsg q;
        QVERIFY(q.parse("Dorvan.x>Tarnix.sub GetThing 1"));
        tolva.sendAns(q, "42 a");
        tolva.sendOk(q);
        tolva.setLogSendingMsg(true);
        tolva.sendCmd("", "System", "listnodes");

        const QList<QByteArray> expected{
            "Tarnix>Dorvan SetMeasTime",
            "Tarnix>Dorvan SetMeasTime 0 1.5",
            "Tarnix.ch>Dorvan.remote Start",
            "Tarnix>Dorvan.remote SetXafsMeasComment one Tarnix>Dorvan.remote Start ",
            "Tarnix>System _ChangedIsBusy 1",
            "Tarnix.sub>Dorvan.x @GetThing 42 a",
            "Tarnix.sub>Dorvan.x @GetThing Ok:",
            "Tarnix>System listnodes"};
        QVERIFY(server.waitForLines(expected.size()));
        QCOMPARE(server.lines, expected);
        QCOMPARE(texts(asks), (QStringList{expected.at(0), expected.at(1), expected.at(2),
                                           expected.at(3), expected.at(7)}));
        QCOMPARE(texts(events), QStringList{expected.at(4)});
        QCOMPARE(texts(answers), (QStringList{expected.at(5), expected.at(6)}));
        // Only the send made after logging was switched on is logged, in its colour.
        QCOMPARE(logs.count(), 1);
        QCOMPARE(logs.at(0).at(0).toString(), QStringLiteral("---- Snd Tarnix>System listnodes"));
        QCOMPARE(logs.at(0).at(1).value<QColor>(), QColor(0, 200, 120));
    }

    void sendWhileNotReady()
    {
        Tolva tolva;
        QCOMPARE(tolva.state(), int(ConnectStat::Disconnected));
        QVERIFY(!tolva.busy());
        QCOMPARE(tolva.nameOnTolva(), QStringLiteral("Lumica")); // the defaults
        QCOMPARE(tolva.keyFile(), QStringLiteral("Lumica.key"));
        QCOMPARE(tolva.host(), QStringLiteral("localhost"));
        QCOMPARE(tolva.port(), QStringLiteral("6057"));
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

    void setBusySendsOnce()
    {
        FakeServer server;
        Tolva tolva;
        QVERIFY(logIn(tolva, server));
        for (bool busy : {true, false}) {
            tolva.setBusy(busy);
            tolva.setBusy(busy);
            server.sendLine("Dorvan>Tarnix IsBusy");
            QVERIFY(server.waitForLines(busy ? 2 : 4));
        }
        QCOMPARE(server.lines,
                 (QList<QByteArray>{"Tarnix>System _ChangedIsBusy 1", "Tarnix>Dorvan @IsBusy 1",
                                    "Tarnix>System _ChangedIsBusy 0", "Tarnix>Dorvan @IsBusy 0"}));
    }

    void oversizedLine_data()
    {
        QTest::addColumn<bool>("loggedIn");
        QTest::newRow("after login") << true;
        QTest::newRow("instead of a challenge") << false;
    }

    void oversizedLine()
    {
        QFETCH(bool, loggedIn);
        FakeServer server;
        Tolva tolva;
        QVERIFY(loggedIn ? logIn(tolva, server) : open(tolva, server));
        QSignalSpy logs(&tolva, &Tolva::log);
        QSignalSpy vlogs(&tolva, &Tolva::vlog);
        QSignalSpy notReady(&tolva, &Tolva::tolvaIsNotReady);
        const QByteArray chunk(64 * 1024, 'x');
        for (int i = 0;
             i < 20 && server.client && server.client->state() == QAbstractSocket::ConnectedState;
             ++i)
            server.sendRaw(chunk);
        QVERIFY(server.waitForClose(20000));
        QTRY_COMPARE_WITH_TIMEOUT(notReady.count(), 1, 10000);
        QCOMPARE(tolva.state(), int(ConnectStat::Disconnected));
        QCOMPARE(vlogs.count(), 0);
        QVERIFY(texts(logs).contains(QStringLiteral(
            "A line from Tolva is longer than 1048576 bytes; closing the connection.")));
    }

    void badPort_data()
    {
        QTest::addColumn<QString>("port");
        for (const char *port : {"abc", "0", "65536", "-1", "", "0x10"})
            QTest::newRow(port) << QString::fromLatin1(port);
    }

    void badPort()
    {
        QFETCH(QString, port);
        Tolva tolva;
        tolva.setHost("127.0.0.1");
        tolva.setPort(port);
        QSignalSpy logs(&tolva, &Tolva::log);
        tolva.connectToTolva();
        QCOMPARE(
            texts(logs),
            QStringList{QStringLiteral(
                            "Port [%1] is not a number from 1 to 65535; not connecting to Tolva.")
                            .arg(port)});
        QCOMPARE(tolva.findChild<QTcpSocket *>()->state(), QAbstractSocket::UnconnectedState);
    }

    void disconnectWhileConnected()
    {
        // By the operator's button, then by the server closing the line.
        for (bool byButton : {true, false}) {
            FakeServer server;
            Tolva tolva;
            QVERIFY(logIn(tolva, server));
            QSignalSpy notReady(&tolva, &Tolva::tolvaIsNotReady);
            if (byButton)
                QTest::mouseClick(tolva.findChild<QPushButton *>("connectB"), Qt::LeftButton);
            else
                server.client->disconnectFromHost();
            QTRY_COMPARE_WITH_TIMEOUT(notReady.count(), 1, 10000);
            QCOMPARE(tolva.state(), int(ConnectStat::Disconnected));
            QVERIFY(!tolva.isConnected());
            QVERIFY(server.waitForClose());
        }
    }

    void history()
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
        // Editing by keyboard goes through editingFinished, and never reconnects.
        auto *hostLE = tolva.findChild<QLineEdit *>("hostLE");
        hostLE->setText("other");
        emit hostLE->editingFinished();
        QCOMPARE(historyText(), QByteArray("A: beamhost\nP: 6100\nA: other\n"));
        QCOMPARE(tolva.findChild<QTcpSocket *>()->state(), QAbstractSocket::UnconnectedState);

        // Records without a value are skipped; letters in any case; the first word counts.
        QFile f(Tolva::historyFileName());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("a: lower\nA:\nP:   \nX: junk\np: 7000 extra fields\n\n");
        f.close();
        Tolva::readHistory(&host, &port);
        QCOMPARE(host, QStringLiteral("lower"));
        QCOMPARE(port, QStringLiteral("7000"));
        // A host with a blank is recorded whole but read back as its first word,
        // so the same unchanged edit is recorded again.
        tolva.setHost("lower");
        QVERIFY(QMetaObject::invokeMethod(&tolva, "newHost"));
        const QByteArray before = historyText();
        tolva.setHost("my host");
        QVERIFY(QMetaObject::invokeMethod(&tolva, "newHost"));
        QVERIFY(QMetaObject::invokeMethod(&tolva, "newHost"));
        QCOMPARE(historyText(), before + "A: my host\nA: my host\n");
        Tolva::readHistory(&host, nullptr);
        QCOMPARE(host, QStringLiteral("my"));
    }

    void connectStat_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("clickConnects"); // else it disconnects
        QTest::newRow("0") << 0 << "Disconnected"
                           << "Connect" << true;
        QTest::newRow("1") << 1 << "Connecting"
                           << "Connecting" << false;
        QTest::newRow("2") << 2 << "Connected"
                           << "Disconnect" << false;
    }
    void connectStat()
    {
        QFETCH(int, state);
        QFETCH(bool, clickConnects);
        QLabel label;
        QPushButton button;
        ConnectStat stat(&label, &button);
        QSignalSpy ask(&stat, &ConnectStat::askConnect);
        QSignalSpy askDis(&stat, &ConnectStat::askDisconnect);
        stat.setStat(state);
        QCOMPARE(stat.stat(), state);
        QTEST(label.text(), "label");
        QTEST(button.text(), "button");
        const QString style = label.styleSheet();
        QVERIFY(!style.isEmpty());
        button.click();
        QCOMPARE(ask.count(), clickConnects ? 1 : 0);
        QCOMPARE(askDis.count(), clickConnects ? 0 : 1);
        // An unknown state is stored and leaves the widgets as they are.
        stat.setStat(7);
        QCOMPARE(stat.stat(), 7);
        QTEST(label.text(), "label");
        QCOMPARE(label.styleSheet(), style);
        ConnectStat bare(nullptr, nullptr);
        bare.setStat(state);
        QCOMPARE(bare.stat(), state);
    }

private:
    // Starts the server, writes the key file (none when keys is null) and
    // connects the client as Tarnix.
    bool open(Tolva &tolva, FakeServer &server, const QByteArray &keys = "k0\nk1\nk2\n");
    // open(), then answers the key exchange and accepts the login.
    bool logIn(Tolva &tolva, FakeServer &server);

    QTemporaryDir *dir = nullptr;
    QString oldCwd;
};

bool TestTolva::open(Tolva &tolva, FakeServer &server, const QByteArray &keys)
{
    if (!server.listen())
        return false;
    QFile f(dir->filePath("Tarnix.key"));
    if (!keys.isNull() && (!f.open(QIODevice::WriteOnly) || f.write(keys) != keys.size()))
        return false;
    f.close();
    tolva.setNameOnTolva("Tarnix");
    tolva.setKeyFile("Tarnix.key");
    tolva.setHost("127.0.0.1");
    tolva.setPort(QString::number(server.port()));
    tolva.connectToTolva();
    return server.waitForClient();
}

bool TestTolva::logIn(Tolva &tolva, FakeServer &server)
{
    QSignalSpy ready(&tolva, &Tolva::tolvaIsReady);
    if (!open(tolva, server))
        return false;
    server.sendLine("4");
    if (!server.waitForLines(1))
        return false;
    server.lines.clear();
    server.sendLine("System>Tarnix Ok: welcome");
    return ready.wait(10000) || ready.count() == 1;
}

QTEST_MAIN(TestTolva)
#include "tst_tolva.moc"
