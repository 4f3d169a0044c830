// SPDX-License-Identifier: GPL-3.0-or-later
#include "TolvaServer.h"

#include "AMsg.h"
#include "TolvaProto.h"
#include "ToolOptions.h"

#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

bool validNodeName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String("System"))
        return false;
    for (const QChar c : name) {
        if (c.isSpace() || c == QLatin1Char('>') || c == QLatin1Char('.') || c == QLatin1Char('"'))
            return false;
    }
    return true;
}

QByteArray withoutLineEnd(QByteArray raw)
{
    while (raw.endsWith('\n') || raw.endsWith('\r'))
        raw.chop(1);
    return raw;
}

} // namespace

TolvaServer::TolvaServer(const Options &options, QObject *parent)
    : QObject(parent), opt(options), server(new QTcpServer(this))
{
    connect(server, &QTcpServer::newConnection, this, &TolvaServer::acceptConnections);
}

TolvaServer::~TolvaServer()
{
    for (Peer *p : std::as_const(peers)) {
        p->socket->disconnect(this);
        p->socket->abort();
        delete p;
    }
}

bool TolvaServer::listen(QString *error)
{
    if (server->listen(opt.host, opt.port))
        return true;
    if (error)
        *error = server->errorString();
    return false;
}

quint16 TolvaServer::serverPort() const
{
    return server->serverPort();
}

void TolvaServer::log(const QString &text) const
{
    ToolOptions::logLine("tolva-server", text);
}

void TolvaServer::acceptConnections()
{
    while (QTcpSocket *socket = server->nextPendingConnection()) {
        auto *peer = new Peer;
        peer->socket = socket;
        peer->framer = LineFramer(opt.maxLine);
        peer->label =
            QStringLiteral("%1:%2").arg(socket->peerAddress().toString()).arg(socket->peerPort());
        const qint64 c =
            opt.fixedChallenge ? opt.challenge : QRandomGenerator::global()->bounded(1000000000);
        peer->challenge = QString::number(c);
        peers.insert(socket, peer);
        connect(socket, &QTcpSocket::readyRead, this, &TolvaServer::readPeer);
        connect(socket, &QTcpSocket::disconnected, this, &TolvaServer::peerGone);
        log(QStringLiteral("connection from %1, challenge %2").arg(peer->label, peer->challenge));
        if (opt.stall == Options::StallChallenge) {
            log(QStringLiteral("%1: no challenge sent (--stall-login)").arg(peer->label));
            continue;
        }
        socket->write(peer->challenge.toLatin1() + '\n');
    }
}

void TolvaServer::readPeer()
{
    auto *socket = qobject_cast<QTcpSocket *>(sender());
    Peer *peer = peers.value(socket);
    if (!peer)
        return;
    peer->framer.append(socket->readAll());
    QByteArray raw;
    for (;;) {
        const LineFramer::Result r = peer->framer.take(&raw);
        if (r == LineFramer::NeedMore)
            return;
        if (r == LineFramer::Overflow) {
            log(QStringLiteral("%1: line longer than %2 bytes, closing the connection")
                    .arg(peer->label)
                    .arg(opt.maxLine));
            socket->abort();
            return;
        }
        if (peer->loggedIn)
            handleLine(peer, raw);
        else
            handleLogin(peer, raw);
        // The line may have ended this connection.
        if (!peers.contains(socket) || socket->state() != QAbstractSocket::ConnectedState)
            return;
    }
}

void TolvaServer::handleLogin(Peer *peer, const QByteArray &raw)
{
    if (opt.stall != Options::NoStall) {
        log(QStringLiteral("%1: key reply left unanswered (--stall-login)").arg(peer->label));
        return;
    }
    const QString reply = QString::fromLatin1(withoutLineEnd(raw)).simplified();
    const int blank = reply.indexOf(QLatin1Char(' '));
    const QString name = blank < 0 ? reply : reply.left(blank);
    const QString key = blank < 0 ? QString() : reply.mid(blank + 1);
    const int index = TolvaProto::keyIndexFor(peer->challenge, opt.keys.size());

    QString refusal;
    if (!validNodeName(name))
        refusal = QStringLiteral("bad node name");
    else if (index < 0 || key != opt.keys.at(index))
        refusal = QStringLiteral("wrong key");
    else if (nodes.contains(name))
        refusal = QStringLiteral("a node named %1 is already connected").arg(name);

    if (!refusal.isEmpty()) {
        log(QStringLiteral("%1: login as [%2] refused: %3").arg(peer->label, name, refusal));
        writeLine(peer, QStringLiteral("System>%1 Er: Login refused (%2)").arg(name, refusal));
        peer->socket->disconnectFromHost();
        return;
    }
    peer->loggedIn = true;
    peer->name = name;
    log(QStringLiteral("%1: logged in as %2").arg(peer->label, name));
    peer->label = name;
    nodes.insert(name, peer);
    nodeOrder.append(name);
    writeLine(peer, QStringLiteral("System>%1 Ok: Welcome to Tolva").arg(name));
    notifySubscribers(name, QStringLiteral("Connected"));
}

void TolvaServer::handleLine(Peer *peer, const QByteArray &raw)
{
    const QByteArray bytes = withoutLineEnd(raw);
    AMsg msg;
    if (!msg.parse(QString::fromUtf8(bytes))) {
        log(QStringLiteral("%1: dropped a line that is no message [%2]")
                .arg(peer->name, msg.line.left(200)));
        return;
    }
    if (msg.fromNode != peer->name) {
        log(QStringLiteral("%1: dropped a line sent under another name [%2]")
                .arg(peer->name, msg.line.left(200)));
        return;
    }
    if (msg.toNode == QLatin1String("System")) {
        handleSystem(peer, msg);
        return;
    }
    Peer *target = nodes.value(msg.toNode);
    if (target) {
        log(QStringLiteral("route %1").arg(msg.line.left(200)));
        target->socket->write(bytes + '\n');
        return;
    }
    if (msg.kind == AMsgKind::Ask) {
        log(QStringLiteral("%1: no node %2 for [%3]")
                .arg(peer->name, msg.toNode, msg.line.left(200)));
        answer(peer, msg, QStringLiteral("Er: Node [%1] is not connected").arg(msg.toNode));
    } else {
        log(QStringLiteral("%1: dropped, no node %2 [%3]")
                .arg(peer->name, msg.toNode, msg.line.left(200)));
    }
}

void TolvaServer::handleSystem(Peer *peer, const AMsg &msg)
{
    if (msg.kind == AMsgKind::Event) {
        log(QStringLiteral("event from %1: %2%3").arg(msg.from, msg.cmd, msg.paramText));
        return;
    }
    if (msg.kind == AMsgKind::Ans) {
        log(QStringLiteral("answer from %1: %2%3").arg(msg.from, msg.cmd, msg.paramText));
        return;
    }
    log(QStringLiteral("command from %1: %2%3").arg(msg.from, msg.cmd, msg.paramText));
    if (msg.cmd == QLatin1String("listnodes")) {
        answer(peer, msg, nodeOrder.join(QLatin1Char(' ')));
    } else if (msg.cmd == QLatin1String("flgon") || msg.cmd == QLatin1String("flgoff")) {
        QStringList named;
        for (const QString &p : msg.params) {
            if (!p.isEmpty())
                named.append(p);
        }
        if (named.isEmpty()) {
            answer(peer, msg, QStringLiteral("Er: Name the node to watch"));
            return;
        }
        for (const QString &node : std::as_const(named)) {
            QStringList &list = watchers[node];
            if (msg.cmd == QLatin1String("flgon")) {
                if (!list.contains(peer->name))
                    list.append(peer->name);
            } else {
                list.removeAll(peer->name);
            }
        }
        answer(peer, msg, QStringLiteral("Ok:"));
    } else if (msg.cmd == QLatin1String("Hello")) {
        answer(peer, msg, QStringLiteral("Hello! I am System. Nice to meet you!"));
    } else if (msg.cmd == QLatin1String("Help")) {
        answer(peer, msg, QStringLiteral("Commands : listnodes flgon flgoff Hello Help"));
    } else {
        answer(peer, msg, QStringLiteral("Er: Unknown Command"));
    }
}

void TolvaServer::answer(Peer *peer, const AMsg &msg, const QString &text)
{
    writeLine(peer,
              QStringLiteral("System>%1 %2").arg(msg.from, TolvaProto::answerText(msg.cmd, text)));
}

void TolvaServer::writeLine(Peer *peer, const QString &line)
{
    peer->socket->write(TolvaProto::encodeLine(line));
}

void TolvaServer::notifySubscribers(const QString &node, const QString &event)
{
    const QStringList list = watchers.value(node);
    for (const QString &watcher : list) {
        Peer *w = nodes.value(watcher);
        if (!w)
            continue;
        log(QStringLiteral("tell %1: %2 %3").arg(watcher, node, event));
        writeLine(w, QStringLiteral("%1>%2 _%3").arg(node, watcher, event));
    }
}

void TolvaServer::peerGone()
{
    auto *socket = qobject_cast<QTcpSocket *>(sender());
    Peer *peer = peers.take(socket);
    if (!peer)
        return;
    socket->deleteLater();
    if (!peer->loggedIn) {
        log(QStringLiteral("%1: closed before login").arg(peer->label));
        delete peer;
        return;
    }
    const QString name = peer->name;
    nodes.remove(name);
    nodeOrder.removeAll(name);
    for (QStringList &list : watchers)
        list.removeAll(name);
    delete peer;
    log(QStringLiteral("%1: logged out").arg(name));
    notifySubscribers(name, QStringLiteral("Disconnected"));
}
