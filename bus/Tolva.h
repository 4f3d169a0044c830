// SPDX-License-Identifier: GPL-3.0-or-later
// The Tolva bus client.
//
// How the pieces of this library fit together:
// - the core (skedra_bus_core, Qt Core only, also used by the stand-in
//   programs and the fuzz harnesses):
//   - LineFramer cuts a byte stream into lines (with a length cap);
//   - AMsg parses one received line; TolvaProto builds outgoing lines and
//     holds the login key rules;
//   - NodeCmdTable gives every known word its id (the main window switches on
//     these ids) and the texts of the built-in Help answer;
//   - TolvaSession is the protocol without a socket: it takes the bytes read,
//     runs the challenge/key login, parses and dispatches each line, answers
//     Hello, Help and IsBusy itself and builds every outgoing line; what it
//     returns are actions (bytes to write, log lines, messages to hand on,
//     login accepted, close);
// - the widgets (skedra_bus):
//   - ConnectStat shows the connection state on the settings row;
//   - Tolva (this class) is the settings row itself (forms/Tolva.ui) and owns
//     the TCP socket: it feeds the session what the socket reads, carries out
//     the session's actions line by line and turns them into its signals, and
//     writes what the send slots get from the session.
//
// A login must complete within loginTimeoutMs (10 s) of Connect: a server
// that never sends its challenge or never answers the key gets a red log line
// and the connection is dropped. While connecting, Connect aborts the attempt.
//
// One Tolva lives in the GUI thread, embedded in the main window, which fills
// its fields, connects its signals and starts the connection. The execution
// engine reaches the send slots from its worker thread through queued
// connections only; nothing here is locked.
#pragma once

#include "AMsg.h"
#include "TolvaSession.h"

#include <QColor>
#include <QFrame>
#include <QList>
#include <QStringList>

#include <memory>

class ConfigStore;
class ConnectStat;
class QLabel;
class QPushButton;
class QTcpSocket;
class QTimer;
namespace Ui {
class Tolva;
}

class Tolva : public QFrame
{
    Q_OBJECT
public:
    explicit Tolva(QWidget *parent = nullptr);
    ~Tolva() override;

    // The six column titles of the settings row (L01 to L06), for hiding.
    QList<QLabel *> headerLabels() const { return m_headerLabels; }
    // Connect / Disconnect, as the operator presses it.
    QPushButton *connectButton() const;
    int state() const;

    QString host() const;
    void setHost(const QString &host);
    QString port() const;
    void setPort(const QString &port);
    QString nameOnTolva() const;
    void setNameOnTolva(const QString &name);
    QString keyFile() const;
    // The connection state as the status label shows it to the operator.
    QString statusText() const;
    void setKeyFile(const QString &path);

    // The connection history: host and port edits, appended in the working
    // directory. readHistory gives the last recorded host and port.
    static QString historyFileName() { return QStringLiteral("VrnHistory.dat"); }
    static void readHistory(QString *lastHost, QString *lastPort);

    // The settings from the configuration (TOLVA_IP, TOLVA_PORT,
    // NAME_ON_TOLVA, KEY_ON_TOLVA), and the connection when CONNECT_TO_TOLVA
    // is 1 (the default).
    void configure(const ConfigStore &cfg);
    // How long a login may take from Connect to the server's acceptance.
    void setLoginTimeout(int ms) { loginTimeoutMs = ms; }
    // Asked to be connected (and not since to disconnect): a connection that
    // is down is being tried again.
    bool wantsConnection() const { return wanted; }

signals:
    void tolvaIsReady();
    void tolvaIsNotReady();
    void anyAns(AMsg amsg);
    void anyEvent(AMsg amsg);
    void anyAsk(AMsg amsg);
    // anyMsg and notice belong to the client's interface but are never emitted.
    void anyMsg(AMsg amsg);
    void notice(QString msg, int timeout = 2000, bool warn = false);
    void log(QString msg, QColor c = QColor(Qt::black));
    void vlog(QString msg, QColor c = QColor(Qt::black));
    void sendingAnsToTolva(QString ans);
    void sendingEventToTolva(QString msg);
    void sendingAskToTolva(QString msg);
    // The connection as the operator should see it, where a run is watched:
    // connected, connecting, or down and when the next try is.
    void stateText(const QString &text);

public slots:
    // Connects and keeps the connection: a connection that drops or an
    // attempt that fails is tried again by itself with a growing delay,
    // until disconnectFromTolva(). While connected, the operator's Connect
    // button disconnects.
    void connectToTolva();
    void disconnectFromTolva();
    void setBusy(bool f);
    bool busy() const { return session.busy(); }
    void setRunStatus(const QString &status) { session.setRunStatus(status); }
    QString runStatus() const { return session.runStatus(); }
    void setLogSendingMsg(bool f) { logSendingMsg = f; }
    void sendOk(const AMsg &aMsg);
    void sendAns(const AMsg &aMsg, const QString &ans);
    void sendEvent(const QString &fromCh, const QString &event);
    void sendCmd(const QString &fromCh, const QString &to, const QString &cmd);
    void sendCmdV(const QString &fromCh, const QString &to, const QString &cmd, const QString &val);
    bool isConnected() const;

private slots:
    void connectedToTolva();
    void disconnectedFromTolva();
    void closeConnection(); // part of the interface; nothing calls it
    void receive();
    void socketError();
    void loginTimedOut();
    void newHost();
    void newPort();

private:
    // Writes what the session built, logs it when asked to and returns what
    // the sending signals carry.
    QString put(const TolvaSession::Outgoing &out);
    void perform(const TolvaSession::Actions &actions);
    void showState();
    void abandonLogin(const TolvaSession::Actions &why);
    // The connection is down and wanted: the next try, said once.
    void retryLater();
    void connectNow();
    static void appendHistory(const QString &record);

    std::unique_ptr<Ui::Tolva> ui;
    QTcpSocket *socket = nullptr;
    QTimer *loginTimer = nullptr;
    QTimer *retryTimer = nullptr;
    bool wanted = false; // connected by request, not yet disconnected by one
    int failures = 0;    // attempts failed in a row since the last login
    QString shownState;
    int loginTimeoutMs = 10000;
    ConnectStat *connStat = nullptr;
    TolvaSession session;
    bool logSendingMsg = false;
    QColor sentColour = QColor(0, 200, 120);
    QList<QLabel *> m_headerLabels;
};
