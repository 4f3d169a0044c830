// SPDX-License-Identifier: GPL-3.0-or-later
// Stand-in for the bus client and the target program in engine tests. It
// takes the engine's commands as Tolva's sendCmd does, records them, and plays
// the target's side through the engine's own slots, queued into the engine's
// thread in order as the main window's bus dispatch does. With autoAnswer it
// answers every command whose first word is not in `held` at once, as an
// ideal target would: moves end, the block count is reported, a measurement
// starts and ends. With autoConfirm it confirms every operator prompt as it
// arrives.
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
    void attach(Exec *exec)
    {
        m_exec = exec;
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

    // Calls an engine slot in the engine's thread, after whatever was posted before.
    template <typename... Params, typename... Args>
    void post(void (Exec::*slot)(Params...), Args... args)
    {
        Exec *e = m_exec;
        QMetaObject::invokeMethod(
            e, [=] { (e->*slot)(Params(args)...); }, Qt::QueuedConnection);
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
        if (word == QLatin1String("SetCurrentEnergy"))
            post(&Exec::setMainThIsMoving, false);
        else if (word == QLatin1String("MoveSHolderTo"))
            post(&Exec::setSHolderIsMoving, false);
        else if (word == QLatin1String("GetBlockNum"))
            post(&Exec::setReceivedBlockNum, blockNumAnswer);
        else if (word == QLatin1String("Start"))
            post(&Exec::setInXafsMeas, false);
    }

    void noticedPrompt(const QString &, PromptType type)
    {
        promptTypes.append(type);
        if (autoConfirm)
            post(&Exec::noticedPromptOk, type);
    }

signals:
    void finished(bool ok);
    void executing(int step);
    void currentStage(QString stage);
    void entryEnded(int index, EntryState state, QString detail);
    void commandReceived(QString cmd);

private:
    Exec *m_exec = nullptr;
};
