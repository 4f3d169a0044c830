// Stand-in for the bus client and the target program in engine tests and the
// engine benchmark. It has Tolva's sendCmd slot, records every command the
// engine sends, and plays the target's side through the same engine slots the
// main window's bus dispatch drives. With autoAnswer it answers every command
// whose first word is not in `held` at once, as an ideal target would: moves
// end, the block count is reported, a measurement starts and ends. With
// autoConfirm it confirms every operator prompt as it arrives.
#pragma once

#include "Exec.h"
#include "PromptType.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QStringList>

class TargetDouble : public QObject
{
    Q_OBJECT
public:
    // Wires the double to an engine as the main window would.
    void attach(Exec *exec)
    {
        connect(this, &TargetDouble::startExec, exec, &Exec::start);
        connect(this, &TargetDouble::stopExec, exec, &Exec::stop);
        connect(this, &TargetDouble::resumeExec, exec, &Exec::resume);
        connect(this, &TargetDouble::setMainThIsMoving, exec, &Exec::setMainThIsMoving);
        connect(this, &TargetDouble::setSHolderIsMoving, exec, &Exec::setSHolderIsMoving);
        connect(this, &TargetDouble::setInXafsMeas, exec, &Exec::setInXafsMeas);
        connect(this, &TargetDouble::setReceivedBlockNum, exec, &Exec::setReceivedBlockNum);
        connect(this, &TargetDouble::setErrStartingXAFSMeas, exec, &Exec::setErrStartingXAFSMeas);
        connect(this, &TargetDouble::setErrRemote, exec, &Exec::setErrRemote);
        connect(this, &TargetDouble::setErrSHolderMove, exec, &Exec::setErrSHolderMove);
        connect(this, &TargetDouble::promptOk, exec, &Exec::noticedPromptOk);
        connect(exec, &Exec::newPrompt, this, &TargetDouble::noticedPrompt);
        connect(exec, &Exec::log, this, &TargetDouble::noticedLog);
        // Relayed so that tests watch them in the GUI thread (a QSignalSpy on
        // the engine itself would be filled from the worker thread).
        connect(exec, &Exec::finished, this, &TargetDouble::finished);
        connect(exec, &Exec::executing, this, &TargetDouble::executing);
        connect(exec, &Exec::currentStage, this, &TargetDouble::currentStage);
    }

    QStringList lines;  // every command, as sent
    QStringList routes; // "sender channel>receiver" of each command
    QStringList prompts;
    QList<PromptType> promptTypes;
    QStringList logLines;
    QList<QColor> logColours;
    QSet<QString> held; // command words autoAnswer leaves unanswered
    bool autoAnswer = false;
    bool autoConfirm = false;
    int blockNumAnswer = 3;

public slots:
    void sendCmd(const QString &fromCh, const QString &to, const QString &cmd)
    {
        lines.append(cmd);
        routes.append(fromCh + QLatin1Char('>') + to);
        emit commandReceived(cmd);
        const QString word = cmd.section(QLatin1Char(' '), 0, 0);
        if (!autoAnswer || held.contains(word))
            return;
        if (word == QLatin1String("SetCurrentEnergy")) {
            emit setMainThIsMoving(true);
            emit setMainThIsMoving(false);
        } else if (word == QLatin1String("MoveSHolderTo")) {
            emit setSHolderIsMoving(true);
            emit setSHolderIsMoving(false);
        } else if (word == QLatin1String("GetBlockNum")) {
            emit setReceivedBlockNum(blockNumAnswer);
        } else if (word == QLatin1String("Start")) {
            emit setInXafsMeas(true);
            emit setInXafsMeas(false);
        }
    }

    void noticedPrompt(const QString &msg, PromptType type)
    {
        prompts.append(msg);
        promptTypes.append(type);
        if (autoConfirm)
            emit promptOk(type);
    }

    void noticedLog(const QString &msg, const QColor &c)
    {
        logLines.append(msg);
        logColours.append(c);
    }

signals:
    void finished(bool ok);
    void executing(int step);
    void currentStage(QString stage);
    void commandReceived(QString cmd);
    void startExec(QList<ScheduleEdit *> ss);
    void stopExec(bool ok);
    void resumeExec(Exec::ResumeMode mode);
    void setSHolderIsMoving(bool f);
    void setMainThIsMoving(bool f);
    void setInXafsMeas(bool f);
    void setReceivedBlockNum(int n);
    void setErrStartingXAFSMeas(bool f, QString msg);
    void setErrRemote(bool f, QString msg);
    void setErrSHolderMove(bool f, QString msg);
    void promptOk(PromptType type);
};
