// SPDX-License-Identifier: GPL-3.0-or-later
// tolva-server: a stand-in for the Tolva message server.
//
// Each connection gets a decimal challenge; its first line must be
// "name key" with the key at challenge modulo the key count of the shared key
// file. A logged-in node's lines are routed by the node part of the receiver
// address; lines to System are the server's own commands (listnodes,
// flgon/flgoff, Hello, Help) and events. Lines use the bus library's parser,
// framing and key rules, so the stand-in checks exactly what the client sends.
#pragma once

#include "LineFramer.h"

#include <QHash>
#include <QHostAddress>
#include <QMap>
#include <QObject>
#include <QStringList>

class QTcpServer;
class QTcpSocket;
struct AMsg;

class TolvaServer : public QObject
{
    Q_OBJECT
public:
    struct Options
    {
        QHostAddress host = QHostAddress::LocalHost;
        quint16 port = 6057;
        QStringList keys;
        qsizetype maxLine = LineFramer::DefaultMaxLineLength;
        bool fixedChallenge = false;
        qint64 challenge = 0;
        // A faulty server for login tests: never send the challenge, or
        // never answer the key reply.
        enum Stall { NoStall, StallChallenge, StallKey };
        Stall stall = NoStall;
    };

    explicit TolvaServer(const Options &options, QObject *parent = nullptr);
    ~TolvaServer() override;

    bool listen(QString *error);
    quint16 serverPort() const;

private slots:
    void acceptConnections();
    void readPeer();
    void peerGone();

private:
    struct Peer
    {
        QTcpSocket *socket = nullptr;
        LineFramer framer;
        QString label; // address:port until logged in, then the node name
        QString name;
        QString challenge;
        bool loggedIn = false;
    };

    void handleLogin(Peer *peer, const QByteArray &raw);
    void handleLine(Peer *peer, const QByteArray &raw);
    void handleSystem(Peer *peer, const AMsg &msg);
    void answer(Peer *peer, const AMsg &msg, const QString &text);
    void writeLine(Peer *peer, const QString &line);
    void notifySubscribers(const QString &node, const QString &event);
    void log(const QString &text) const;

    Options opt;
    QTcpServer *server = nullptr;
    QHash<QTcpSocket *, Peer *> peers;
    QStringList nodeOrder;               // logged-in node names, in login order
    QHash<QString, Peer *> nodes;        // by node name
    QMap<QString, QStringList> watchers; // node -> nodes that asked flgon for it
};
