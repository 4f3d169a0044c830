// SPDX-License-Identifier: GPL-3.0-or-later
#include "Notifier.h"

#include <QDateTime>
#include <QProcess>
#include <QTimer>

Notifier::Notifier(QObject *parent) : QObject(parent) {}

void Notifier::notify(const QString &event, const QString &text, const QString &attachment)
{
    if (m_command.isEmpty())
        return;
    auto *p = new QProcess(this);
    p->setProperty("deadline", QDateTime::currentMSecsSinceEpoch() + m_timeoutMs);
    p->setProgram(m_command.first());
    // One line: a notification never spills over into more arguments.
    QStringList args = m_command.mid(1)
                       << event << QString(text).replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (!attachment.isEmpty())
        args << attachment;
    p->setArguments(args);
    p->setStandardOutputFile(QProcess::nullDevice());
    p->setStandardErrorFile(QProcess::nullDevice());
    auto tell = [this, p](const QString &why) {
        if (!m_failureTold) {
            m_failureTold = true;
            emit failed(tr("Notification program %1 failed: %2").arg(p->program(), why));
        }
    };
    connect(p, &QProcess::errorOccurred, this, [p, tell](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart) {
            tell(p->errorString());
            p->deleteLater();
        }
    });
    connect(p, &QProcess::finished, this, [p, tell](int code, QProcess::ExitStatus status) {
        if (status != QProcess::NormalExit || code != 0)
            tell(tr("exit status %1").arg(code));
        p->deleteLater();
    });
    QTimer::singleShot(m_timeoutMs, p, [p] {
        if (p->state() != QProcess::NotRunning)
            p->kill();
    });
    p->start();
}

void Notifier::waitForRunning()
{
    for (QProcess *p : findChildren<QProcess *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (p->state() == QProcess::NotRunning)
            continue;
        const qint64 left =
            p->property("deadline").toLongLong() - QDateTime::currentMSecsSinceEpoch();
        if (!p->waitForFinished(int(qBound(qint64(0), left, qint64(m_timeoutMs))))) {
            p->kill();
            p->waitForFinished(1000);
        }
    }
}
