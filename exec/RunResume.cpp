// SPDX-License-Identifier: GPL-3.0-or-later
// The run controller after a crash: the journal's last run that did not
// end, the question put to the operator about it, and its copy of the
// schedule put back in the list, ready to go on.
#include "RunController.h"

// ---- After a crash ---------------------------------------------------------------

RunRecovery::Unfinished RunController::unfinishedRun() const
{
    return RunRecovery::lastUnfinished(RunJournal::read(m_journal), m_journal);
}

RunController::Resumed RunController::resumeRun(const RunRecovery::Unfinished &run, bool fromNext)
{
    const RunRecovery::Plan plan = RunRecovery::plan(run, fromNext);
    if (!plan.ok) {
        log(tr("The run of %1 cannot be resumed: %2")
                .arg(run.run.toString(Qt::ISODate), plan.error),
            Severity::Error);
        return Resumed::Failed;
    }
    if (plan.start < 0) {
        // Cut short after its last entry: nothing is left to measure.
        appendJournal(RunRecovery::endedRow(run.run, QStringLiteral("finished"),
                                            QDateTime::currentDateTime()));
        log(tr("The run of %1 had measured every entry; nothing is resumed.")
                .arg(run.run.toString(Qt::ISODate)));
        return Resumed::NothingToResume;
    }
    if (m_runGoing)
        return Resumed::Failed;
    // Whatever the list held is kept in the cut buffer, the latest on top.
    while (m_list->count() > 0)
        m_cutBuffer->put(0, m_list->take(m_list->count() - 1));
    m_list->setEntries(plan.entries);
    m_resumedRun = run.run;
    // Every record of the night keeps naming entries as the schedule did.
    m_copyIds = m_list->ids();
    m_copyNumbers = plan.numbers;
    m_nightEarlier = plan.earlier;
    QStringList done;
    for (int i : plan.done)
        done << QString::number(plan.numbers.value(i, i + 1));
    log(tr("Resuming the run of %1 from its copy %2: entries done and unticked: %3; "
           "the run goes on at entry %4.")
            .arg(run.run.toString(Qt::ISODate), run.copyPath,
                 done.isEmpty() ? tr("none") : done.join(QStringLiteral(", ")))
            .arg(plan.numbers.value(plan.start, plan.start + 1)));
    for (int i : plan.passed)
        log(tr("Entry %1 was not done in that run and is unticked; tick it to measure it again.")
                .arg(plan.numbers.value(i, i + 1)));
    return Resumed::Yes;
}

RunController::Offer RunController::resumeOffer(const RunRecovery::Unfinished &run)
{
    const RunRecovery::Plan plan = RunRecovery::plan(run, false);
    if (!plan.ok || plan.start < 0) {
        resumeRun(run, false); // says why there is nothing to resume
        return {};
    }
    // Entries go by their number in the schedule the night began with, not
    // by their place in the copy (which holds only the ticked entries).
    const auto number = [&plan](int i) { return plan.numbers.value(i, i + 1); };
    const auto name = [&plan, &number](int i) {
        if (i < 0)
            return tr("none");
        const Entry &e = plan.entries.at(i);
        const QString what = e.sampleId.isEmpty() ? e.dataFile : e.sampleId;
        return what.isEmpty() ? QString::number(number(i))
                              : QStringLiteral("%1 (%2)").arg(number(i)).arg(what);
    };
    Offer offer;
    offer.text = tr("The run started %1 did not end: Skedra or the computer stopped during it.\n"
                    "Its copy of the schedule: %2\nLast entry done: %3\nEntry that was "
                    "running: %4\n\nResume the run?")
                     .arg(run.run.toString(QStringLiteral("yyyy-MM-dd HH:mm")), run.copyPath,
                          name(plan.lastDone), name(plan.running));
    offer.choices
        << tr("Resume from entry %1 (measured again from its start)").arg(number(plan.running));
    if (plan.running + 1 < plan.entries.size())
        offer.choices << tr("Resume from entry %1").arg(number(plan.running + 1));
    offer.choices << tr("Do not resume");
    return offer;
}

RunController::Resumed RunController::answerOffer(const RunRecovery::Unfinished &run,
                                                  const Offer &offer, int choice)
{
    if (choice >= 0 && choice < offer.choices.size() - 1)
        return resumeRun(run, choice == 1);
    appendJournal(RunRecovery::endedRow(run.run, QStringLiteral("not resumed"),
                                        QDateTime::currentDateTime()));
    log(tr("The run of %1 is not resumed.").arg(run.run.toString(Qt::ISODate)));
    return Resumed::NothingToResume;
}

void RunController::nameUnfinished(const RunRecovery::Unfinished &run)
{
    log(tr("The run of %1 did not end (its copy: %2); start with -resume-last to resume it.")
            .arg(run.run.toString(Qt::ISODate), run.copyPath),
        Severity::Error);
}

void RunController::newNight()
{
    m_copyIds.clear();
    m_copyNumbers.clear();
    m_nightEarlier.clear();
}
