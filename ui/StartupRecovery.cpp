// SPDX-License-Identifier: GPL-3.0-or-later
#include "StartupRecovery.h"

#include "Csv.h"
#include "ListPane.h"
#include "LogArea.h"
#include "RunController.h"
#include "ScheduleDocument.h"

bool StartupRecovery::offerUnfinishedRun(bool askOperator, const Choose &choose)
{
    if (m_run->holdsResumedRun()) // by -resume-last
        return true;
    const RunRecovery::Unfinished run = m_run->unfinishedRun();
    if (!run.found)
        return false;
    if (!askOperator) {
        m_run->nameUnfinished(run);
        return false;
    }
    const RunController::Offer offer = m_run->resumeOffer(run);
    if (offer.choices.isEmpty() ||
        m_run->answerOffer(run, offer, choose(offer.text, offer.choices)) !=
            RunController::Resumed::Yes)
        return false;
    m_doc->holds(run.copyPath);
    m_run->start();
    return true;
}

void StartupRecovery::recover(bool askOperator, const Ask &ask, const Choose &choose)
{
    const bool resumed = offerUnfinishedRun(askOperator, choose);
    if (!m_doc->hasRecovery())
        return;
    const QString path = m_doc->recoveryPath();
    const QString when = m_doc->recoveryWritten().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    if (!askOperator || resumed) {
        m_log->log(tr("Unsaved edits of an earlier session are kept in %1 (%2); load it to "
                      "see them.")
                       .arg(path, when),
                   Severity::Error);
        return;
    }
    if (!ask(tr("Skedra ended with unsaved changes to the schedule; they were kept in %1 (%2).\n"
                "Load them? No discards them.")
                 .arg(path, when))) {
        m_doc->discardEdits();
        return;
    }
    const Csv::ReadResult read = m_doc->readRecovery();
    if (!read.ok) {
        m_log->log(read.error, Severity::Error);
        return;
    }
    if (!m_pane->clear())
        return;
    m_doc->recovered(read.entries);
    m_log->log(tr("Unsaved edits loaded from %1; entries: %2.").arg(path).arg(read.entries.size()));
}
