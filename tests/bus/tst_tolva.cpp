// The bus client's settings row and its socket, against the in-test server on
// 127.0.0.1. The protocol itself is the session's (tst_tolvasession).
#include "ConnectStat.h"
#include "TestSupport.h"
#include "Tolva.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
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

} // namespace

class TestTolva : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(dir.isValid());
        QFile::remove(Tolva::historyFileName());
        QFile f(QStringLiteral("Tarnix.key"));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("k0\nk1\nk2\n") == 9);
    }

    // Bytes from the socket reach the session, its actions come back as
    // signals and writes, one line after the other.
    void socketAndSession()
    {
        LoginServer server(QStringLiteral("Tarnix"));
        Tolva tolva;
        QSignalSpy ready(&tolva, &Tolva::tolvaIsReady);
        QSignalSpy logs(&tolva, &Tolva::log);
        QSignalSpy asks(&tolva, &Tolva::anyAsk);
        QSignalSpy events(&tolva, &Tolva::anyEvent);
        QSignalSpy answers(&tolva, &Tolva::anyAns);
        QSignalSpy answered(&tolva, &Tolva::sendingAnsToTolva);
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
        QCOMPARE(ready.count(), 1);
        QCOMPARE(tolva.state(), int(ConnectStat::Connected));
        QVERIFY(texts(logs).contains(QStringLiteral("Connected To Tolva")));

        tolva.setLogSendingMsg(true);
        logs.clear();
        server.send(QStringLiteral("Dorvan>Tarnix Foo 1\nDorvan>Tarnix IsBusy\n"
                                   "Dorvan>Tarnix _EvEndMeas\nDorvan>Tarnix @GetBlockNum 3"));
        QTRY_COMPARE_WITH_TIMEOUT(server.lines.size(), 4, 10000);
        const QStringList sent{"Tarnix>Dorvan @Foo Er: Unknown Command",
                               "Tarnix>System _ChangedIsBusy 1", "Tarnix>Dorvan @IsBusy 1"};
        QCOMPARE(server.lines.mid(1), sent);
        QCOMPARE(texts(answered), (QStringList{sent.at(0), sent.at(2)}));
        QTRY_COMPARE_WITH_TIMEOUT(answers.count(), 1, 10000);
        QCOMPARE(asks.count(), 1);
        QCOMPARE(events.count(), 1);
        QCOMPARE(events.at(0).at(0).value<AMsg>().cmdId, 8);
        QCOMPARE(answers.at(0).at(0).value<AMsg>().firstParam, QStringLiteral("3"));
        // With setLogSendingMsg, written lines are logged.
        QCOMPARE(texts(logs).size(), sent.size());
    }

    void disconnection_data()
    {
        QTest::addColumn<QString>("how");
        for (const char *how : {"refused", "over-long line", "server closes", "button"})
            QTest::newRow(how) << QString::fromLatin1(how);
    }

    // However the connection ends, the row shows it, tolvaIsNotReady follows
    // once, and the next connection logs in afresh.
    void disconnection()
    {
        QFETCH(QString, how);
        const bool refused = how == QLatin1String("refused");
        LoginServer server(refused ? QStringLiteral("Other") : QStringLiteral("Tarnix"));
        Tolva tolva;
        QSignalSpy ready(&tolva, &Tolva::tolvaIsReady);
        QSignalSpy notReady(&tolva, &Tolva::tolvaIsNotReady);
        QSignalSpy logs(&tolva, &Tolva::log);
        start(tolva, server);
        if (!refused)
            QTRY_COMPARE_WITH_TIMEOUT(ready.count(), 1, 10000);
        if (how == QLatin1String("over-long line"))
            server.send(QString(LineFramer::DefaultMaxLineLength + 1, QLatin1Char('x')));
        else if (how == QLatin1String("server closes"))
            server.closeClient();
        else if (how == QLatin1String("button"))
            QTest::mouseClick(tolva.findChild<QPushButton *>(QStringLiteral("connectB")),
                              Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(notReady.count(), 1, 20000);
        QCOMPARE(tolva.state(), int(ConnectStat::Disconnected));
        QVERIFY(!tolva.isConnected());
        QCOMPARE(tolva.findChild<QLabel *>(QStringLiteral("statusL"))->text(),
                 QStringLiteral("Disconnected"));
        QCOMPARE(
            texts(logs).contains(
                QStringLiteral("A line from Tolva is longer than %1 bytes; closing the connection.")
                    .arg(LineFramer::DefaultMaxLineLength)),
            how == QLatin1String("over-long line"));
        if (refused)
            return;
        tolva.connectToTolva();
        QTRY_COMPARE_WITH_TIMEOUT(ready.count(), 2, 10000);
        QCOMPARE(server.keyReply, QStringLiteral("Tarnix k1"));
    }

    void badPort_data()
    {
        QTest::addColumn<QString>("port");
        for (const char *port : {"abc", "0", "65536", ""})
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
    }

    // The button asks to connect only when disconnected; an unknown state is
    // stored and leaves the row as it was.
    void connectStat_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("clickConnects"); // else it disconnects
        QTest::newRow("disconnected") << 0 << true;
        QTest::newRow("connecting") << 1 << false;
        QTest::newRow("connected") << 2 << false;
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
        const QString text = label.text();
        button.click();
        QCOMPARE(ask.count(), clickConnects ? 1 : 0);
        QCOMPARE(askDis.count(), clickConnects ? 0 : 1);
        stat.setStat(7);
        QCOMPARE(stat.stat(), 7);
        QCOMPARE(label.text(), text);
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
