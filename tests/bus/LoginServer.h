// The in-test Tolva server, shared by the bus and the main-window tests: on
// 127.0.0.1 and a port of the system's choosing, it challenges every new
// client with 7, records the key reply, accepts the login of the node it was
// made for (so a client of another name is refused), then records every line
// and can send lines back.
#pragma once

#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>

class LoginServer : public QObject
{
public:
    explicit LoginServer(const QString &node) : m_node(node)
    {
        connect(&m_server, &QTcpServer::newConnection, this, &LoginServer::accept);
        m_server.listen(QHostAddress::LocalHost, 0);
    }
    quint16 port() const { return m_server.serverPort(); }

    // One or more lines; a line feed is added at the end.
    void send(const QString &line)
    {
        if (m_client) {
            m_client->write(line.toUtf8() + '\n');
            m_client->flush();
        }
    }
    void closeClient()
    {
        if (m_client)
            m_client->disconnectFromHost();
    }

    QStringList lines; // after login, line feeds removed
    QString keyReply;
    // Called with every line after login, after it was recorded: lets a test
    // play the target.
    std::function<void(const QString &)> onLine;

private:
    void accept()
    {
        m_client = m_server.nextPendingConnection();
        m_loggedIn = false;
        connect(m_client, &QTcpSocket::readyRead, this, &LoginServer::read);
        m_client->write("7\n");
    }
    void read()
    {
        while (m_client && m_client->canReadLine()) {
            QString line = QString::fromUtf8(m_client->readLine());
            line.chop(1);
            if (!m_loggedIn) {
                keyReply = line;
                m_loggedIn = true;
                send(QStringLiteral("System>%1 Ok: welcome").arg(m_node));
            } else {
                lines << line;
                if (onLine)
                    onLine(line);
            }
        }
    }

    QString m_node;
    QTcpServer m_server;
    QPointer<QTcpSocket> m_client;
    bool m_loggedIn = false;
};
