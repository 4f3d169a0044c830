// SPDX-License-Identifier: GPL-3.0-or-later
// Stand-in for the bus client and the target in engine tests: records the engine's commands and
// signals in the GUI thread, and plays the target through the engine's slots, queued in order
// as the bus dispatch does. It answers at once every command whose first word is not in `held`,
// as an ideal target would; with autoConfirm it confirms every operator prompt.
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
        connect(exec, &Exec::newPrompt, this, [this](const QString &, PromptType type) {
            promptTypes.append(type);
            if (autoConfirm)
                post(&Exec::noticedPromptOk, type);
        });
        connect(exec, &Exec::log, this, [this](const QString &msg) { logLines.append(msg); });
        connect(exec, &Exec::flagChanged, this, [this](int f, bool on) { flags[f] = on; });
        connect(exec, &Exec::finished, this, [this](bool ok) { ends.append(ok); });
        connect(exec, &Exec::executing, this, [this](int step) { executed.append(step); });
        connect(exec, &Exec::currentStage, this, [this](const QString &s) { stages.append(s); });
        connect(exec, &Exec::entryEnded, this, [this](int i, EntryState state, const QString &why) {
            outcomes.append(QStringLiteral("%1:%2").arg(i).arg(int(state)));
            reasons.append(why);
        });
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
    QList<bool> ends;      // the ok of each finished
    QList<int> executed;   // the entry of each executing
    QStringList stages;    // each currentStage
    QStringList outcomes;  // "index:state" of each entryEnded
    QStringList reasons;   // and its detail
    QSet<QString> held;    // command words autoAnswer leaves unanswered
    bool autoConfirm = true;
    int blockNumAnswer = 1;

public slots:
    void sendCmd(const QString &fromCh, const QString &to, const QString &cmd)
    {
        lines.append(cmd);
        routes.append(fromCh + QLatin1Char('>') + to);
        emit commandReceived(cmd);
        const QString word = cmd.section(QLatin1Char(' '), 0, 0);
        if (held.contains(word))
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

signals:
    void commandReceived(QString cmd);

private:
    Exec *m_exec = nullptr;
};
