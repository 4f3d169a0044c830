// SPDX-License-Identifier: GPL-3.0-or-later
// What several test programs share: a working directory, the stand-ins as processes, the
// lines of a file and an in-test Tolva server.
#pragma once

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace TestSupport {

inline QString keyFile()
{
    return QStringLiteral(SKEDRA_SOURCE_DIR "/examples/Tarnix.key");
}

// The lines of a text file, empty ones left out.
inline QStringList readLines(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly | QIODevice::Text); // no file: no lines
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

inline bool writeFile(const QString &path, const QByteArray &text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Text | QIODevice::Truncate) &&
           f.write(text) == text.size();
}

// A temporary directory, the current one while it lives: relative names land there.
class WorkDir : public QTemporaryDir
{
public:
    WorkDir() : m_old(QDir::currentPath()) { QDir::setCurrent(path()); }
    ~WorkDir() { QDir::setCurrent(m_old); }

private:
    QString m_old;
};

// A program whose merged output collects in `out`; stopped when the object goes.
class Peer : public QProcess
{
public:
    Peer(const QString &exe, const QStringList &args)
    {
        setProcessChannelMode(QProcess::MergedChannels);
        connect(this, &QProcess::readyRead, this, [this] { out += readAll(); });
        start(exe, args);
    }
    ~Peer() override
    {
        disconnect(this);
        terminate();
        if (!waitForFinished(5000))
            kill(), waitForFinished(5000);
    }
    // Waits for text in the output, or for the program to end.
    bool waitForOutput(const QByteArray &text, int ms = 15000)
    {
        QDeadlineTimer deadline(ms);
        while (!out.contains(text) && !deadline.hasExpired() && state() != NotRunning)
            QTest::qWait(10);
        out += readAll();
        return out.contains(text);
    }
    // Ends the program if it still runs; true once it has.
    bool ended(int ms = 10000) { return state() == NotRunning || waitForFinished(ms); }
    QByteArray out;
};

#ifdef TOLVA_SERVER_EXE
// The stand-in Tolva server on a port of the system's choice; *gotPort is the
// port it prints on its first line, "listening HOST PORT", or 0.
// On the port given, or on one the system picks (0).
inline std::unique_ptr<Peer> startServer(quint16 *gotPort, quint16 port = 0)
{
    auto p = std::make_unique<Peer>(
        QStringLiteral(TOLVA_SERVER_EXE),
        QStringList{"--port", QString::number(port), "--key-file", keyFile()});
    const QRegularExpression re(QStringLiteral("^listening \\S+ (\\d+)\\n"));
    *gotPort =
        p->waitForOutput("\n") ? re.match(QString::fromUtf8(p->out)).captured(1).toUShort() : 0;
    return p;
}
#endif

#ifdef DORVAN_SIM_EXE
// The stand-in target with short delays; it has logged in when this returns
// (unless it failed).
inline std::unique_ptr<Peer> startSim(quint16 port, const QStringList &extra = {})
{
    auto p = std::make_unique<Peer>(QStringLiteral(DORVAN_SIM_EXE),
                                    QStringList{"--port", QString::number(port), "--key-file",
                                                keyFile(), "--move-time", "50", "--changer-time",
                                                "50", "--meas-time", "100"} +
                                        extra);
    p->waitForOutput("logged in as Dorvan");
    return p;
}
#endif

} // namespace TestSupport

// The in-test Tolva server on 127.0.0.1: it challenges every new client with 7,
// records the key reply, accepts the login of the node it was made for, then
// records every line and can send lines back.
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
        if (m_client)
            m_client->write(line.toUtf8() + '\n'), m_client->flush();
    }

    QStringList lines; // after login, line feeds removed
    QString keyReply;

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
            const QString line = QString::fromUtf8(m_client->readLine()).chopped(1);
            if (m_loggedIn)
                lines << line;
            else
                keyReply = line, m_loggedIn = true,
                send(QStringLiteral("System>%1 Ok: welcome").arg(m_node));
        }
    }

    QString m_node;
    QTcpServer m_server;
    QPointer<QTcpSocket> m_client;
    bool m_loggedIn = false;
};
