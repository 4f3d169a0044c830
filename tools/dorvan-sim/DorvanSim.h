// SPDX-License-Identifier: GPL-3.0-or-later
// dorvan-sim: a stand-in for the target measurement program.
//
// Logs in to the bus under its node name, accepts RemoteOn and the commands
// the execution engine sends at NAME.remote, answers each one, and plays the
// target's events (monochromator and sample-changer moves, measurements)
// to the node that sent RemoteOn, with configurable delays. Faults can be
// injected by command count so that tests and operators can try the error
// paths. Parsing, framing, key rules and the Help table come from the bus
// library.
#pragma once

#include "LineFramer.h"
#include "NodeCmdTable.h"

#include <QFile>
#include <QMap>
#include <QObject>
#include <QPair>
#include <QPointer>

class QTcpSocket;
struct AMsg;

class DorvanSim : public QObject
{
    Q_OBJECT
public:
    struct Options
    {
        QString host = QStringLiteral("127.0.0.1");
        quint16 port = 6057;
        QString name = QStringLiteral("Dorvan");
        QStringList keys;
        int connectTimeoutMs = 5000;
        int moveMs = 300;    // monochromator move
        int changerMs = 300; // sample-holder move
        int measMs = 1000;   // one measurement
        // A measurement also lasts timeScale × the seconds its blocks were
        // given (points × dwell, or the dwell of a block given no points)
        // and pointMs for each point: a target slower or faster than any
        // duration model, for trials of the estimates.
        double timeScale = 0;
        int pointMs = 0;
        int blockNum = -1;      // GetBlockNum answer; -1: by standard type
        qint64 failStart = 0;   // k-th Start fails (0: never)
        qint64 failChanger = 0; // k-th sample-holder move fails
        qint64 errRemoteAfter = 0;
        qint64 hangAfter = 0;
        qint64 dropAfter = 0;
        qint64 refuse = 0; // the k-th command is answered "Er:" and not carried out
        QString transcript;
    };

    explicit DorvanSim(const Options &options, QObject *parent = nullptr);
    ~DorvanSim() override;

    // Opens the transcript and starts connecting; false when the transcript
    // cannot be written.
    bool start(QString *error);

    // The number of blocks of a standard measurement type.
    static int blocksForType(int type);

signals:
    void finished(int status);

private slots:
    void tryConnect();
    void connected();
    void disconnected();
    void socketError();
    void readLines();

private:
    enum Stage { WaitChallenge, WaitAcceptance, Online };

    void handleLine(const QString &line);
    void handleRemote(const AMsg &msg);
    void answer(const AMsg &msg, const QString &text);
    void sendEvent(const QString &event);
    void sendEventLater(int ms, const QString &event);
    void afterCommand();
    void log(const QString &text) const;
    void finish(int status);

    Options opt;
    QTcpSocket *socket = nullptr;
    LineFramer framer;
    NodeCmdTable table;
    QFile transcript;
    Stage stage = WaitChallenge;
    qint64 connectDeadline = 0;
    bool finishing = false;
    bool dropping = false;

    // Target state.
    bool remoteOn = false;
    QString controller; // node that sent RemoteOn: receiver of the events
    bool quick = false; // last SetXafsMode was 1
    int stdType = 0;
    qint64 commands = 0;
    qint64 starts = 0;
    qint64 moves = 0;
    bool hung = false;
    // The blocks of the next measurement: block -> {dwell s, points}.
    QMap<int, QPair<double, int>> blocks;
    // Parent of the timers of pending events; deleting it cancels them all.
    QPointer<QObject> pending;
};
