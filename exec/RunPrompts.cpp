// SPDX-License-Identifier: GPL-3.0-or-later
// The run controller and the operator's prompts: each is a request the
// window (or -confirm-prompts) answers; a prompt that waits long tells
// someone away from the screen.
#include "RunController.h"

#include "ExecPlan.h"
#include "Notifier.h"

#include <QTimer>

namespace {

QString oneLine(QString text)
{
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

} // namespace

// ---- Prompts -------------------------------------------------------------------

void RunController::enginePrompt(const QString &msg, PromptType type)
{
    Prompt p{++m_lastPromptId, msg, type, QDateTime::currentDateTime()};
    m_prompts.append(p);
    noteWaits();
    log(tr("Prompt: %1").arg(oneLine(msg)));
    Exec *e = m_exec;
    const int count = int(m_prompts.size());
    QMetaObject::invokeMethod(
        e, [e, count] { e->noticedPrompterStat(count); }, Qt::QueuedConnection);
    if (!m_promptClock->isActive())
        m_promptClock->start();
    updateRunStatus();
    showWaitingForOperator();
    emit promptRaised(p.id, msg);
}

void RunController::confirmPrompt(int id)
{
    for (int i = 0; i < m_prompts.size(); ++i) {
        if (m_prompts.at(i).id != id)
            continue;
        const Prompt p = m_prompts.takeAt(i);
        noteWaits();
        log(tr("Prompt confirmed: %1").arg(oneLine(p.msg)));
        Exec *e = m_exec;
        const int count = int(m_prompts.size());
        const PromptType type = p.type;
        QMetaObject::invokeMethod(
            e,
            [e, type, count] {
                e->noticedPromptOk(type);
                e->noticedPrompterStat(count);
            },
            Qt::QueuedConnection);
        if (m_prompts.isEmpty())
            m_promptClock->stop();
        updateRunStatus();
        showWaitingForOperator();
        emit promptClosed(id);
        return;
    }
}

void RunController::promptWaited()
{
    if (m_prompts.isEmpty())
        return;
    const QString text =
        tr("A prompt has waited for the operator for %1; the run is held: %2")
            .arg(Estimate::format(m_promptClock->interval() / 1000.0), m_prompts.first().title());
    log(text, Severity::Error);
    m_notifier->notify(QStringLiteral("prompt"), text);
    emit promptWaitedLong();
}

void RunController::showWaitingForOperator()
{
    const int row = runningRow();
    if (!m_runGoing || row < 0 || m_list->outcome(row).state != EntryState::Running)
        return;
    ScheduleModel::Outcome o = m_list->outcome(row);
    o.text = m_prompts.isEmpty()
                 ? stageName(m_stage)
                 : tr("waiting for the operator: %1").arg(m_prompts.first().title());
    m_list->setOutcome(row, o);
}
