// SPDX-License-Identifier: GPL-3.0-or-later
// The bus client against an in-test server and the stand-in programs (protocol: tst_tolvasession).
#include "AMsg.h"
#include "BusConnection.h"
#include "ConnectStat.h"
#include "TestSupport.h"
#include "Tolva.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

namespace {

QStringList words(const QSignalSpy &spy)
{
    QStringList out;
    for (const QList<QVariant> &args : spy) {
        const AMsg m = args.at(0).value<AMsg>();
        out << (m.firstParam == "1" || m.firstParam == "0" ? m.cmd + " " + m.firstParam : m.cmd);
    }
    return out;
}

QStringList texts(const QSignalSpy &spy)
{
    QStringList out;
    for (const QList<QVariant> &args : spy)
        out << args.at(0).toString();
    return out;
}

// Connects the client, named Tarnix, to the server on the port.
void start(Tolva &tolva, quint16 port, const QString &keys = QStringLiteral("Tarnix.key"))
{
    tolva.setNameOnTolva(QStringLiteral("Tarnix"));
    tolva.setKeyFile(keys);
    tolva.setHost(QStringLiteral("127.0.0.1"));
    tolva.setPort(QString::number(port));
    tolva.connectToTolva();
}

bool login(Tolva &tolva, quint16 port)
{
    QSignalSpy ready(&tolva, &Tolva::tolvaIsReady);
    start(tolva, port, TestSupport::keyFile());
    if (!ready.wait(10000) && ready.count() == 0)
        return false;
    // Asks the server to tell us when the simulator comes and goes.
    QSignalSpy answers(&tolva, &Tolva::anyAns);
    tolva.sendCmd("", "System", "flgon Dorvan");
    return answers.wait(10000) || answers.count() > 0;
}

} // namespace

class TestPeers : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(dir.isValid());
        QVERIFY(TestSupport::writeFile(QStringLiteral("Tarnix.key"), "k0\nk1\nk2\n"));
    }

    // The last host and port come back from the history file; other lines are passed over.
    void historyRead()
    {
        QVERIFY(TestSupport::writeFile(Tolva::historyFileName(),
                                       "A: 10.0.0.4\nP: 7000\nbroken\nA: 10.0.0.5\nQ: 9\n"));
        QString host, port;
        Tolva::readHistory(&host, &port);
        QCOMPARE(host + ' ' + port, QStringLiteral("10.0.0.5 7000"));
        // An edit is kept once while it stays the same; a pasted line break is no record.
        {
            Tolva tolva;
            tolva.setHost(QStringLiteral("10.0.0.6\r\n"));
            tolva.setPort(QStringLiteral("7001"));
            for (int i = 0; i < 2; ++i) {
                QVERIFY(QMetaObject::invokeMethod(&tolva, "newHost"));
                QVERIFY(QMetaObject::invokeMethod(&tolva, "newPort"));
            }
        }
        QFile f(Tolva::historyFileName());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("A: 10.0.0.4\nP: 7000\nbroken\nA: 10.0.0.5\nQ: 9\n"
                                         "A: 10.0.0.6\nP: 7001\n"));
        f.remove();
    }

    // A port outside 1 to 65535 is said and not tried (it would wrap); both ends are ports.
    void portRange()
    {
        for (const char *port : {"0", "65536", "x", "1", "65535"}) {
            const bool tried = QByteArray(port) == "1" || QByteArray(port) == "65535";
            Tolva tolva;
            tolva.setHost(QStringLiteral("127.0.0.1"));
            tolva.setPort(QString::fromLatin1(port));
            QSignalSpy logged(&tolva, &Tolva::log);
            tolva.connectToTolva();
            QCOMPARE(texts(logged).filter(QLatin1String("65535")).size(), int(!tried));
            QCOMPARE(tolva.state() != int(ConnectStat::Disconnected), tried);
            tolva.disconnectFromTolva(); // gives up the attempt under way
            QCOMPARE(tolva.state(), int(ConnectStat::Disconnected));
        }
    }

    // Bytes from the socket reach the session, its actions come back; the link ends and returns.
    void socketAndSession()
    {
        LoginServer server(QStringLiteral("Tarnix"));
        Tolva tolva;
        QSignalSpy asks(&tolva, &Tolva::anyAsk);
        QSignalSpy events(&tolva, &Tolva::anyEvent);
        QSignalSpy answers(&tolva, &Tolva::anyAns);
        // A handler that answers and turns busy: before whatever the next line causes.
        connect(&tolva, &Tolva::anyAsk, &tolva, [&tolva](const AMsg &m) {
            tolva.sendAns(m, QStringLiteral("Er: Unknown Command"));
            tolva.setBusy(true);
            tolva.setBusy(true); // announced once
        });
        connect(&tolva, &Tolva::tolvaIsReady, &tolva, [&tolva] {
            QVERIFY(tolva.isConnected()); // handlers of the acceptance may send at once
            tolva.sendCmd(QString(), QStringLiteral("System"), QStringLiteral("listnodes"));
        });
        start(tolva, server.port());
        QTRY_COMPARE_WITH_TIMEOUT(server.lines.size(), 1, 10000);
        QCOMPARE(server.keyReply, QStringLiteral("Tarnix k1"));
        QCOMPARE(tolva.state(), int(ConnectStat::Connected));

        server.send(QStringLiteral("Dorvan>Tarnix Foo 1\nDorvan>Tarnix IsBusy\n"
                                   "Dorvan>Tarnix _EvEndMeas\nDorvan>Tarnix @GetBlockNum 3"));
        QTRY_COMPARE_WITH_TIMEOUT(server.lines.size(), 4, 10000);
        const QStringList sent{"Tarnix>Dorvan @Foo Er: Unknown Command",
                               "Tarnix>System _ChangedIsBusy 1", "Tarnix>Dorvan @IsBusy 1"};
        QCOMPARE(server.lines.mid(1), sent);
        QTRY_COMPARE_WITH_TIMEOUT(answers.count(), 1, 10000);
        QCOMPARE(asks.count(), 1);
        QCOMPARE(events.count(), 1);

        // However the connection ends, tolvaIsNotReady follows once; the next one logs in afresh.
        QSignalSpy ready(&tolva, &Tolva::tolvaIsReady);
        QSignalSpy notReady(&tolva, &Tolva::tolvaIsNotReady);
        for (int end = 1; end <= 2; ++end) {
            server.keyReply.clear();
            if (end == 1) // an over-long line, then the button
                server.send(QString(LineFramer::DefaultMaxLineLength + 1, QLatin1Char('x')));
            else
                QTest::mouseClick(tolva.connectButton(), Qt::LeftButton);
            QTRY_COMPARE_WITH_TIMEOUT(notReady.count(), end, 20000);
            QCOMPARE(tolva.state(), int(ConnectStat::Disconnected));
            QVERIFY(!tolva.isConnected());
            tolva.connectToTolva();
            QTRY_COMPARE_WITH_TIMEOUT(ready.count(), end, 10000);
            QCOMPARE(server.keyReply, QStringLiteral("Tarnix k1"));
        }
    }

    // Connect during a login gives it up; a silent server is left after the login time, rounded up.
    void silentServer()
    {
        QTcpServer silent; // takes the connection, never challenges
        QVERIFY(silent.listen(QHostAddress::LocalHost, 0));
        Tolva tolva;
        tolva.setLoginTimeout(1000);
        QSignalSpy logged(&tolva, &Tolva::log);
        start(tolva, silent.serverPort());
        QVERIFY(silent.waitForNewConnection(10000));
        tolva.connectToTolva();
        QCOMPARE(texts(logged).filter("Connecting to Tolva abandoned").size(), 1);
        QVERIFY(!tolva.wantsConnection());
        QCOMPARE(tolva.state(), int(ConnectStat::Disconnected));
        tolva.connectToTolva();
        QTRY_COMPARE_WITH_TIMEOUT(texts(logged).filter("challenge").size(), 1, 5000);
        QVERIFY2(texts(logged).filter("challenge").first().contains(" 1 s"),
                 qPrintable(texts(logged).join('\n')));
        QCOMPARE(tolva.state(), int(ConnectStat::Disconnected));
    }

    // The server restarted: the client logs in again, says so once each way; a twin hears why not.
    void busServerRestarted()
    {
        quint16 port = 0;
        auto server = TestSupport::startServer(&port);
        QVERIFY(port != 0);
        Tolva tolva;
        QSignalSpy logged(&tolva, &Tolva::log);
        QSignalSpy ready(&tolva, &Tolva::tolvaIsReady);
        QVERIFY(login(tolva, port));
        Tolva twin;
        QSignalSpy twinLog(&twin, &Tolva::log);
        start(twin, port, TestSupport::keyFile());
        QTRY_VERIFY_WITH_TIMEOUT(!texts(twinLog).filter("already connected").isEmpty(), 10000);
        twin.disconnectFromTolva();

        QSignalSpy down(&tolva, &Tolva::tolvaIsNotReady);
        QSignalSpy shown(&tolva, &Tolva::stateText);
        server.reset();
        QVERIFY(down.wait(10000));
        // Down long enough for a retry to fail, which is not said again.
        QTRY_VERIFY_WITH_TIMEOUT(!texts(shown).filter("try 3").isEmpty(), 10000);
        server = TestSupport::startServer(&port, port);
        QVERIFY(port != 0);
        QTRY_COMPARE_WITH_TIMEOUT(ready.count(), 2, 20000);
        QCOMPARE(texts(logged).filter("reconnects by itself").size(), 1);
        QCOMPARE(texts(logged).filter("connected again").size(), 1);
        QCOMPARE(texts(logged).filter("Cannot connect").size(), 0);
        tolva.disconnectFromTolva();
        QVERIFY(!tolva.wantsConnection());
        // Its tries come after 1, 2, 4 ... s, then every 30 s.
        QList<int> got;
        for (int failures : {1, 2, 3, 5, 6, 7, 100})
            got << BusConnection::retryDelayMs(failures) / 1000;
        QCOMPARE(got, (QList<int>{1, 2, 4, 16, 30, 30, 30}));
    }

    // Logged in to the server, the client hears of the simulator's arrival and reaches it.
    void simulator()
    {
        quint16 port = 0;
        auto server = TestSupport::startServer(&port);
        QVERIFY(port != 0);
        Tolva tolva;
        QVERIFY(login(tolva, port));
        QSignalSpy evSpy(&tolva, &Tolva::anyEvent);
        QSignalSpy answers(&tolva, &Tolva::anyAns);
        auto sim = TestSupport::startSim(port);
        QTRY_COMPARE_WITH_TIMEOUT(words(evSpy), QStringList{"Connected"}, 10000);
        evSpy.clear();
        tolva.sendCmd("", "Dorvan.remote", "RemoteOn");
        tolva.sendCmd("", "Dorvan.remote", "SetCurrentEnergy 8.979");
        const QStringList events{"EvMovingCurTh 1", "EvMovingCurTh 0"};
        QTRY_COMPARE_WITH_TIMEOUT(words(evSpy), events, 10000);
        QVERIFY(!evSpy.wait(500)); // and nothing after them
        // Answers come from the address asked; the simulator's leaving is heard of.
        QTRY_COMPARE(words(answers), (QStringList{"RemoteOn", "SetCurrentEnergy"}));
        QCOMPARE(answers.at(0).at(0).value<AMsg>().fromAddr, QStringLiteral("Dorvan.remote"));
        // Help knows every word the simulator takes, "Start" too.
        QSignalSpy received(&tolva, &Tolva::vlog);
        tolva.sendCmd("", "Dorvan", "Help Start");
        QTRY_VERIFY_WITH_TIMEOUT(!texts(received).filter("@Help").isEmpty(), 10000);
        const QString help = texts(received).filter("@Help").first();
        QVERIFY2(!help.contains("not found"), qPrintable(help));
        sim->terminate();
        QVERIFY(sim->ended());
        QCOMPARE(sim->exitCode(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(words(evSpy).last(), QStringLiteral("Disconnected"), 10000);
    }

private:
    TestSupport::WorkDir dir; // with Tarnix.key, three keys
};

QTEST_MAIN(TestPeers)
#include "tst_peers.moc"
