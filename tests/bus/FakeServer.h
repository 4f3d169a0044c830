// A minimal in-test Tolva server: one client, lines in both directions.
#pragma once

#include "LineFramer.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

class FakeServer : public QObject
{
    Q_OBJECT
public:
    FakeServer() { connect(&server, &QTcpServer::newConnection, this, &FakeServer::accept); }
    bool listen() { return server.listen(QHostAddress::LocalHost, 0); }
    quint16 port() const { return server.serverPort(); }

    bool waitForClient(int ms = 10000)
    {
        if (client)
            return true;
        QSignalSpy spy(this, &FakeServer::clientArrived);
        return spy.wait(ms) || client;
    }
    void sendRaw(const QByteArray &bytes)
    {
        client->write(bytes);
        client->flush();
    }
    void sendLine(const QByteArray &line) { sendRaw(line + '\n'); }

    // Waits until at least n lines have arrived.
    bool waitForLines(int n, int ms = 10000)
    {
        QDeadlineTimer deadline(ms);
        while (lines.size() < n && !deadline.hasExpired())
            QTest::qWait(10);
        return lines.size() >= n;
    }
    bool waitForClose(int ms = 10000)
    {
        QDeadlineTimer deadline(ms);
        while (client && client->state() == QAbstractSocket::ConnectedState &&
               !deadline.hasExpired())
            QTest::qWait(10);
        return !client || client->state() != QAbstractSocket::ConnectedState;
    }

    QTcpServer server;
    QPointer<QTcpSocket> client;
    QList<QByteArray> lines; // received, line feed removed

signals:
    void clientArrived();

private slots:
    void accept()
    {
        client = server.nextPendingConnection();
        connect(client, &QTcpSocket::readyRead, this, &FakeServer::read);
        emit clientArrived();
    }
    void read()
    {
        framer.append(client->readAll());
        QByteArray line;
        while (framer.take(&line) == LineFramer::Line)
            lines.append(line.chopped(1));
    }

private:
    LineFramer framer;
};
