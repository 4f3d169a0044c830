// What several test programs share: a working directory of their own, the
// stand-in programs started as processes, the lines of a file, and an in-test
// Tolva server.
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

#include <functional>
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
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

inline bool writeFile(const QString &path, const QByteArray &text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Text | QIODevice::Truncate) &&
           f.write(text) == text.size();
}

// A temporary directory made the current one for the fixture's lifetime, so
// that relative names in configurations land there.
class WorkDir
{
public:
    WorkDir() : m_old(QDir::currentPath()) { QDir::setCurrent(m_dir.path()); }
    ~WorkDir() { QDir::setCurrent(m_old); }
    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QString m_old;
};

// A program started with its output channels merged and collected in `out`;
// it is stopped when the object goes.
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
        if (state() == NotRunning)
            return;
        terminate();
        if (!waitForFinished(5000)) {
            kill();
            waitForFinished(5000);
        }
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
// The stand-in Tolva server on `port` (0: the system's choice); *gotPort is
// the port it prints on its first line, "listening HOST PORT", or 0.
inline std::unique_ptr<Peer> startServer(quint16 *gotPort, const QStringList &extra = {},
                                         quint16 port = 0)
{
    auto p = std::make_unique<Peer>(
        QStringLiteral(TOLVA_SERVER_EXE),
        QStringList{"--port", QString::number(port), "--key-file", keyFile()} + extra);
    *gotPort = 0;
    if (p->waitForOutput("\n")) {
        const QRegularExpression re(QStringLiteral("^listening \\S+ (\\d+)\\n"));
        *gotPort = quint16(re.match(QString::fromUtf8(p->out)).captured(1).toUShort());
    }
    return p;
}
#endif

#ifdef DORVAN_SIM_EXE
// The stand-in target with short delays; it has logged in when this returns
// (unless `waitLogin` is false or it failed).
inline std::unique_ptr<Peer> startSim(quint16 port, const QStringList &extra = {},
                                      bool waitLogin = true)
{
    auto p = std::make_unique<Peer>(QStringLiteral(DORVAN_SIM_EXE),
                                    QStringList{"--port", QString::number(port), "--key-file",
                                                keyFile(), "--move-time", "50", "--changer-time",
                                                "50", "--meas-time", "100"} +
                                        extra);
    if (waitLogin)
        p->waitForOutput("logged in as Dorvan");
    return p;
}
#endif

} // namespace TestSupport

// The in-test Tolva server: on 127.0.0.1 and a port of the system's choosing,
// it challenges every new client with 7, records the key reply, accepts the
// login of the node it was made for (so a client of another name is refused),
// then records every line and can send lines back.
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
    void send(const QString &line) { sendBytes(line.toUtf8() + '\n'); }
    void sendBytes(const QByteArray &bytes)
    {
        if (m_client) {
            m_client->write(bytes);
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
    int logins = 0;
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
                ++logins;
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

// Captures what the code under test writes on Qt's debug channel.
class MessageCatcher
{
public:
    MessageCatcher() : m_previous(qInstallMessageHandler(&MessageCatcher::handler))
    {
        messages().clear();
    }
    ~MessageCatcher() { qInstallMessageHandler(m_previous); }
    const QStringList &lines() const { return messages(); }
    bool contains(const QString &text) const { return !messages().filter(text).isEmpty(); }

private:
    static QStringList &messages()
    {
        static QStringList list;
        return list;
    }
    static void handler(QtMsgType, const QMessageLogContext &, const QString &msg)
    {
        messages() << msg;
    }
    QtMessageHandler m_previous = nullptr;
};
