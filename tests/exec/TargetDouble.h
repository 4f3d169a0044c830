// Stand-in for the bus client and the target program in engine tests and the
// engine benchmark. It takes the engine's commands as Tolva's sendCmd does,
// records them, and plays the target's side through the same engine slots the
// main window's bus dispatch drives. With autoAnswer it answers every command
// whose first word is not in `held` at once, as an ideal target would: moves
// end, the block count is reported, a measurement starts and ends. With
// autoConfirm it confirms every operator prompt as it arrives.
#pragma once

#include "Exec.h"
#include "PromptType.h"

#include <QList>
#include <QMap>
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
        connect(this, &TargetDouble::updateExec, exec, &Exec::updateEntry);
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
        connect(this, &TargetDouble::setTargetIsReady, exec, &Exec::setTargetIsReady);
        connect(this, &TargetDouble::refused, exec, &Exec::noticedRefusal);
        connect(exec, &Exec::runningChanged, this, [this](bool on) { running.append(on); });
        connect(exec, &Exec::sendCmd, this, &TargetDouble::sendCmd);
        connect(exec, &Exec::newPrompt, this, &TargetDouble::noticedPrompt);
        connect(exec, &Exec::log, this, [this](const QString &msg) { logLines.append(msg); });
        connect(exec, &Exec::flagChanged, this, [this](int f, bool on) { flags[f] = on; });
        // Relayed so that tests watch them in the GUI thread (a QSignalSpy on
        // the engine itself would be filled from the worker thread).
        connect(exec, &Exec::finished, this, &TargetDouble::finished);
        connect(exec, &Exec::executing, this, &TargetDouble::executing);
        connect(exec, &Exec::currentStage, this, &TargetDouble::currentStage);
        connect(exec, &Exec::entryEnded, this, &TargetDouble::entryEnded);
    }

    QStringList lines;  // every command, as sent
    QStringList routes; // "sender channel>receiver" of each command
    QList<PromptType> promptTypes;
    QStringList logLines;
    QMap<int, bool> flags; // the engine's flags as last reported
    QList<bool> running;   // the engine's runningChanged, in order
    QSet<QString> held;    // command words autoAnswer leaves unanswered
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
            emit setMainThIsMoving(false);
        } else if (word == QLatin1String("MoveSHolderTo")) {
            emit setSHolderIsMoving(false);
        } else if (word == QLatin1String("GetBlockNum")) {
            emit setReceivedBlockNum(blockNumAnswer);
        } else if (word == QLatin1String("Start")) {
            emit setInXafsMeas(false);
        }
    }

    void noticedPrompt(const QString &, PromptType type)
    {
        promptTypes.append(type);
        if (autoConfirm)
            emit promptOk(type);
    }

signals:
    void finished(bool ok);
    void executing(int step);
    void currentStage(QString stage);
    void entryEnded(int index, EntryState state, QString detail);
    void commandReceived(QString cmd);
    void startExec(QList<Entry> entries);
    void updateExec(int index, Entry entry);
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
    void setTargetIsReady(bool f);
    void refused(QString cmd);
};
