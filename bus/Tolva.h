// The Tolva bus client.
//
// How the pieces of this library fit together:
// - LineFramer cuts the socket's byte stream into lines (with a length cap);
// - AMsg parses one received line; TolvaProto builds outgoing lines and holds
//   the login key rules;
// - NodeCmdTable gives every known word its id (the main window switches on
//   these ids) and the texts of the built-in Help answer;
// - ConnectStat holds the connection state and shows it on the settings row;
// - Tolva (this class) is the settings row itself (forms/Tolva.ui) and the
//   protocol: TCP connection, challenge/key login, sending, receiving and
//   answering Hello, Help and IsBusy on its own.
//
// One Tolva lives in the GUI thread, embedded in the main window, which fills
// its fields, connects its signals and starts the connection. The execution
// engine reaches the send slots from its worker thread through queued
// connections only; nothing here is locked.
#pragma once

#include "AMsg.h"
#include "LineFramer.h"
#include "NodeCmdTable.h"
#include "ui_Tolva.h"

#include <QColor>
#include <QFrame>
#include <QList>
#include <QStringList>

class ConnectStat;
class QLabel;
class QTcpSocket;

class Tolva : public QFrame
{
    Q_OBJECT
public:
    explicit Tolva(QWidget *parent = nullptr);
    ~Tolva() override;

    // The six column titles of the settings row (L01 to L06), for hiding.
    QList<QLabel *> headerLabels() const { return m_headerLabels; }
    ConnectStat *connectStat() const { return connStat; }
    int state() const;

    QString host() const;
    void setHost(const QString &host);
    QString port() const;
    void setPort(const QString &port);
    QString nameOnTolva() const;
    void setNameOnTolva(const QString &name);
    QString keyFile() const;
    void setKeyFile(const QString &path);

    const NodeCmdTable &nodeCmdTable() const { return cmdTable; }

    // Parameter-count checks for command handlers; a wrong count is answered
    // "Er: Number of Params shuld be N" through sendAns.
    bool checkParamsEq(const AMsg &msg, int n);
    int checkParamsMax(const AMsg &msg, int n);
    int checkParamsMin(const AMsg &msg, int n);

    // The connection history: host and port edits, appended in the working
    // directory. readHistory gives the last recorded host and port.
    static QString historyFileName() { return QStringLiteral("VrnHistory.dat"); }
    static void readHistory(QString *lastHost, QString *lastPort);

signals:
    void tolvaIsReady();
    void tolvaIsNotReady();
    void anyAns(AMsg amsg);
    void anyEvent(AMsg amsg);
    void anyAsk(AMsg amsg);
    void anyMsg(AMsg amsg);
    void notice(QString msg, int timeout = 2000, bool warn = false);
    void log(QString msg, QColor c = QColor(Qt::black));
    void vlog(QString msg, QColor c = QColor(Qt::black));
    void sendingAnsToTolva(QString ans);
    void sendingEventToTolva(QString msg);
    void sendingAskToTolva(QString msg);

public slots:
    void connectToTolva();
    void setBusy(bool f);
    bool busy() const { return busyFlag; }
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
    void closeConnection();
    void receive();
    void newHost();
    void newPort();

private:
    // The fuzz harness feeds received lines straight into the login and
    // dispatch steps, without a socket in between.
    friend struct TolvaLineFeed;

    QString send(const QString &fromNode, const QString &fromCh, const QString &to,
                 const QString &text);
    void exchangeKey(const QString &challenge);
    void handleLine(const QString &line);
    void dispatch(const QString &line);
    void answerHelp(const AMsg &msg);
    static void appendHistory(const QString &record);
    NodeCmdTable::Answer answerFn();

    Ui::Tolva ui;
    QTcpSocket *socket = nullptr;
    ConnectStat *connStat = nullptr;
    QStringList keys;
    bool busyFlag = false;
    bool logSendingMsg = false;
    QColor sentColour = QColor(0, 200, 120);
    NodeCmdTable cmdTable;
    QList<QLabel *> m_headerLabels;
    LineFramer framer;
};
