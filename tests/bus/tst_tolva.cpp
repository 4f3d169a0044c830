// The bus client's settings row and its socket, against the in-test server on
// 127.0.0.1. The protocol itself is the session's (tst_tolvasession).
#include "ConnectStat.h"
#include "TestSupport.h"
#include "Tolva.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class TestTolva : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(dir.isValid());
        QVERIFY(TestSupport::writeFile(QStringLiteral("Tarnix.key"), "k0\nk1\nk2\n"));
    }

    // Bytes from the socket reach the session, its actions come back as
    // signals and writes, one line after the other.
    void socketAndSession()
    {
        LoginServer server(QStringLiteral("Tarnix"));
        Tolva tolva;
        QSignalSpy ready(&tolva, &Tolva::tolvaIsReady);
        QSignalSpy asks(&tolva, &Tolva::anyAsk);
        QSignalSpy events(&tolva, &Tolva::anyEvent);
        QSignalSpy answers(&tolva, &Tolva::anyAns);
        // A handler that answers and turns busy at once: that comes before
        // whatever the next line causes.
        connect(&tolva, &Tolva::anyAsk, &tolva, [&tolva](const AMsg &m) {
            tolva.sendAns(m, QStringLiteral("Er: Unknown Command"));
            tolva.setBusy(true);
            tolva.setBusy(true); // announced once
        });
        connect(&tolva, &Tolva::tolvaIsReady, &tolva, [&tolva] {
            QVERIFY(tolva.isConnected()); // handlers of the acceptance may send at once
            tolva.sendCmd(QString(), QStringLiteral("System"), QStringLiteral("listnodes"));
        });
        start(tolva, server);
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
    }

    void disconnection_data()
    {
        QTest::addColumn<QString>("how");
        for (const char *how : {"over-long line", "server closes", "button"})
            QTest::newRow(how) << QString::fromLatin1(how);
    }

    // However the connection ends, tolvaIsNotReady follows
    // once, and the next connection logs in afresh.
    void disconnection()
    {
        QFETCH(QString, how);
        LoginServer server(QStringLiteral("Tarnix"));
        Tolva tolva;
        QSignalSpy ready(&tolva, &Tolva::tolvaIsReady);
        QSignalSpy notReady(&tolva, &Tolva::tolvaIsNotReady);
        start(tolva, server);
        QTRY_COMPARE_WITH_TIMEOUT(ready.count(), 1, 10000);
        if (how == QLatin1String("over-long line"))
            server.send(QString(LineFramer::DefaultMaxLineLength + 1, QLatin1Char('x')));
        else if (how == QLatin1String("server closes"))
            server.closeClient();
        else if (how == QLatin1String("button"))
            QTest::mouseClick(tolva.connectButton(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(notReady.count(), 1, 20000);
        QCOMPARE(tolva.state(), int(ConnectStat::Disconnected));
        QVERIFY(!tolva.isConnected());
        tolva.connectToTolva();
        QTRY_COMPARE_WITH_TIMEOUT(ready.count(), 2, 10000);
        QCOMPARE(server.keyReply, QStringLiteral("Tarnix k1"));
    }

private:
    // Connects the client, named Tarnix with three keys, to the server.
    static void start(Tolva &tolva, const LoginServer &server)
    {
        tolva.setNameOnTolva(QStringLiteral("Tarnix"));
        tolva.setKeyFile(QStringLiteral("Tarnix.key"));
        tolva.setHost(QStringLiteral("127.0.0.1"));
        tolva.setPort(QString::number(server.port()));
        tolva.connectToTolva();
    }

    TestSupport::WorkDir dir;
};

QTEST_MAIN(TestTolva)
#include "tst_tolva.moc"
