// The main window after a crash: each run leaves its own copy of the
// schedule beside the journal, so that the next start can resume a night
// the program or the PC did not finish; edits not yet saved are written to
// a recovery file every 30 s and offered again at the next start.
#include "Body.h"

#include "Csv.h"
#include "LogArea.h"
#include "RunRecovery.h"
#include "ScheduleEdit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

const QColor kRed(255, 0, 0);
constexpr int kRecoveryEveryMs = 30 * 1000;

QString entryName(const Entry &e, int index)
{
    const QString what = e.sampleId.isEmpty() ? e.dataFile : e.sampleId;
    return what.isEmpty() ? QString::number(index + 1)
                          : QStringLiteral("%1 (%2)").arg(index + 1).arg(what);
}

} // namespace

void Body::setupRecovery()
{
    m_recoveryPath = QDir::current().absoluteFilePath(QStringLiteral("skedra-recovery.csv"));
    recoveryClock = new QTimer(this);
    recoveryClock->setInterval(kRecoveryEveryMs);
    connect(recoveryClock, &QTimer::timeout, this, &Body::saveRecovery);
    recoveryClock->start();
}

void Body::writeRunCopy(const QList<Entry> &entries)
{
    QList<Entry> ticked;
    QList<int> numbers;
    for (int i = 0; i < entries.size(); ++i) {
        if (entries.at(i).exec) {
            ticked << entries.at(i);
            numbers << runNumber(i);
        }
    }
    runCopy = RunRecovery::copyPathFor(journal, runStart);
    QString error;
    if (!RunRecovery::writeCopy(runCopy, ticked, numbers, &error, m_nightEarlier)) {
        // The night goes on; only a resume after a crash needs the copy.
        logArea->log(tr("%1; the run cannot be resumed after a crash.").arg(error), kRed);
    }
    appendJournal(RunRecovery::startedRow(runStart, runCopy));
}

bool Body::saveRecovery()
{
    if (!m_entriesChanged)
        return false;
    QList<Entry> entries;
    entries.reserve(ss.size());
    for (const ScheduleEdit *e : std::as_const(ss))
        entries.append(e->entry());
    const Csv::WriteResult r = Csv::write(m_recoveryPath, entries);
    if (r.ok) {
        recoveryWarned = false;
        return true;
    }
    if (!recoveryWarned) // every 30 s would bury the log
        logArea->log(tr("%1; unsaved edits are not kept.").arg(r.error), kRed);
    recoveryWarned = true;
    return false;
}

void Body::removeRecovery()
{
    QFile::remove(m_recoveryPath);
}

int Body::choose(const QString &text, const QStringList &choices) const
{
    if (m_choose)
        return m_choose(text, choices);
    QMessageBox box(QMessageBox::Question, tr("Skedra"), text, QMessageBox::NoButton,
                    const_cast<Body *>(this));
    QList<QAbstractButton *> buttons;
    for (const QString &c : choices)
        buttons << box.addButton(c, QMessageBox::AcceptRole);
    box.exec();
    return int(buttons.indexOf(box.clickedButton()));
}

Body::Resumed Body::resumeLastRun(bool fromNext)
{
    const RunRecovery::Unfinished run =
        RunRecovery::lastUnfinished(RunJournal::read(journal), journal);
    if (!run.found)
        return Resumed::NothingToResume;
    return resumeRun(run, fromNext);
}

Body::Resumed Body::resumeRun(const RunRecovery::Unfinished &run, bool fromNext)
{
    const RunRecovery::Plan plan = RunRecovery::plan(run, fromNext);
    if (!plan.ok) {
        logArea->log(tr("The run of %1 cannot be resumed: %2")
                         .arg(run.run.toString(Qt::ISODate), plan.error),
                     kRed);
        return Resumed::Failed;
    }
    if (plan.start < 0) {
        // Cut short after its last entry: nothing is left to measure.
        appendJournal(RunRecovery::endedRow(run.run, QStringLiteral("finished"),
                                            QDateTime::currentDateTime()));
        logArea->log(tr("The run of %1 had measured every entry; nothing is resumed.")
                         .arg(run.run.toString(Qt::ISODate)));
        return Resumed::NothingToResume;
    }
    if (!clearList())
        return Resumed::Failed;
    showLoaded(plan.entries, run.copyPath);
    m_entriesChanged = false;
    resumedRun = run.run;
    // Every record of the night keeps naming entries as the schedule did.
    m_listNumbers = plan.numbers;
    m_nightEarlier = plan.earlier;
    QStringList done;
    for (int i : plan.done)
        done << QString::number(plan.numbers.value(i, i + 1));
    logArea->log(tr("Resuming the run of %1 from its copy %2: entries done and unticked: %3; "
                    "the run goes on at entry %4.")
                     .arg(run.run.toString(Qt::ISODate), run.copyPath,
                          done.isEmpty() ? tr("none") : done.join(QStringLiteral(", ")))
                     .arg(plan.numbers.value(plan.start, plan.start + 1)));
    for (int i : plan.passed)
        logArea->log(tr("Entry %1 was not done in that run and is unticked; tick it to measure "
                        "it again.")
                         .arg(plan.numbers.value(i, i + 1)));
    return Resumed::Yes;
}

bool Body::offerUnfinishedRun(bool askOperator)
{
    if (resumedRun.isValid()) // by -resume-last
        return true;
    const RunRecovery::Unfinished run =
        RunRecovery::lastUnfinished(RunJournal::read(journal), journal);
    if (!run.found)
        return false;
    if (!askOperator) {
        logArea->log(tr("The run of %1 did not end (its copy: %2); start with -resume-last to "
                        "resume it.")
                         .arg(run.run.toString(Qt::ISODate), run.copyPath),
                     kRed);
        return false;
    }
    const RunRecovery::Plan plan = RunRecovery::plan(run, false);
    if (!plan.ok || plan.start < 0) {
        resumeRun(run, false); // says why there is nothing to resume
        return false;
    }
    const auto name = [&plan](int i) {
        return i < 0 ? tr("none") : entryName(plan.entries.at(i), i);
    };
    const QString text =
        tr("The run started %1 did not end: Skedra or the computer stopped during it.\n"
           "Its copy of the schedule: %2\nLast entry done: %3\nEntry that was "
           "running: %4\n\nResume the run?")
            .arg(run.run.toString(QStringLiteral("yyyy-MM-dd HH:mm")), run.copyPath,
                 name(plan.lastDone), name(plan.running));
    QStringList choices{
        tr("Resume from entry %1 (measured again from its start)").arg(plan.running + 1)};
    if (plan.running + 1 < plan.entries.size())
        choices << tr("Resume from entry %1").arg(plan.running + 2);
    choices << tr("Do not resume");
    const int c = choose(text, choices);
    if (c >= 0 && c < choices.size() - 1) {
        if (resumeRun(run, c == 1) != Resumed::Yes)
            return false;
        startMeas();
        return true;
    }
    // Declined: closed in the journal, so that it is not offered again.
    appendJournal(RunRecovery::endedRow(run.run, QStringLiteral("not resumed"),
                                        QDateTime::currentDateTime()));
    logArea->log(tr("The run of %1 is not resumed.").arg(run.run.toString(Qt::ISODate)));
    return false;
}

void Body::recoverAtStartup(bool askOperator)
{
    const bool resumed = offerUnfinishedRun(askOperator);
    if (!QFileInfo::exists(m_recoveryPath))
        return;
    const QString when =
        QFileInfo(m_recoveryPath).lastModified().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    if (!askOperator || resumed) {
        logArea->log(tr("Unsaved edits of an earlier session are kept in %1 (%2); load it to "
                        "see them.")
                         .arg(m_recoveryPath, when),
                     kRed);
        return;
    }
    if (!ask(tr("Skedra ended with unsaved changes to the schedule; they were kept in %1 (%2).\n"
                "Load them? No discards them.")
                 .arg(m_recoveryPath, when))) {
        removeRecovery();
        return;
    }
    const Csv::ReadResult read = Csv::read(m_recoveryPath);
    if (!read.ok) {
        logArea->log(read.error, kRed);
        return;
    }
    if (!clearList())
        return;
    showLoaded(read.entries, QString());
    // Still unsaved: the recovery file keeps them until they are saved.
    m_entriesChanged = true;
    logArea->log(tr("Unsaved edits loaded from %1; entries: %2.")
                     .arg(m_recoveryPath)
                     .arg(read.entries.size()));
}
