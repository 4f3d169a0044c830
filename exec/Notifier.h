// SPDX-License-Identifier: GPL-3.0-or-later
// Tells someone away from the screen what the night does: the configured
// program (NOTIFY_CMD program [args...]) is started, without a shell, with two
// more arguments: the event (finished, failed, stalled, target-lost, prompt)
// and one line of text; for finished and failed, a third: the night report's
// path (NightReport.h), when one was written. It runs on its own; one that hangs is ended after a
// time-out, and a program that cannot be started is reported once.
#pragma once

#include <QObject>
#include <QStringList>

class Notifier : public QObject
{
    Q_OBJECT
public:
    explicit Notifier(QObject *parent = nullptr);

    // program and its first arguments; empty: notify nobody.
    void setCommand(const QStringList &command) { m_command = command; }
    void setTimeoutMs(int ms) { m_timeoutMs = ms; }
    bool isSet() const { return !m_command.isEmpty(); }
    // Before the program ends: a notification still being delivered (the
    // night's last, typically) is waited for, each up to its time-out, and
    // ended after it.
    void waitForRunning();

public slots:
    // attachment: one more argument after the text, when not empty.
    void notify(const QString &event, const QString &text, const QString &attachment = QString());

signals:
    // The program could not be started or failed; said once per program run.
    void failed(const QString &message);

private:
    QStringList m_command;
    int m_timeoutMs = 30000;
    bool m_failureTold = false;
};
