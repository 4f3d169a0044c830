// A small in-test Tolva server for the main window's bus side: it challenges,
// accepts the key reply of the node it expects, then records every line and
// can send lines back.
#pragma once

#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>

class LoginServer : public QObject
{
    Q_OBJECT
public:
    explicit LoginServer(const QString &node) : m_node(node)
    {
        connect(&m_server, &QTcpServer::newConnection, this, &LoginServer::accept);
        m_server.listen(QHostAddress::LocalHost, 0);
    }
    quint16 port() const { return m_server.serverPort(); }
    bool loggedIn() const { return m_loggedIn; }

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

private slots:
    void accept()
    {
        m_client = m_server.nextPendingConnection();
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

private:
    QString m_node;
    QTcpServer m_server;
    QPointer<QTcpSocket> m_client;
    bool m_loggedIn = false;
};
