// The main window's files: the schedule file dialog, the recovery file of
// edits not yet saved (written every 30 s and offered again at the next
// start), and the offer to resume a night the program or the PC did not
// finish (the run controller keeps the journal and the run's copy).
#include "Body.h"

#include "Csv.h"
#include "ListPane.h"
#include "LogArea.h"
#include "ui_Body.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int kRecoveryEveryMs = 30 * 1000;

QString entryName(const Entry &e, int index)
{
    const QString what = e.sampleId.isEmpty() ? e.dataFile : e.sampleId;
    return what.isEmpty() ? QString::number(index + 1)
                          : QStringLiteral("%1 (%2)").arg(index + 1).arg(what);
}

} // namespace

void Body::setupFiles()
{
    connect(ui->SaveSchedule, &QPushButton::clicked, this, &Body::saveSchedule);
    connect(ui->LoadSchedule, &QPushButton::clicked, this, &Body::loadSchedule);

    m_recoveryPath = QDir::current().absoluteFilePath(QStringLiteral("skedra-recovery.csv"));
    recoveryClock = new QTimer(this);
    recoveryClock->setInterval(kRecoveryEveryMs);
    connect(recoveryClock, &QTimer::timeout, this, &Body::saveRecovery);
    recoveryClock->start();
}

QFileDialog *Body::scheduleFileDialog()
{
    // Made when first used: a file dialog is among the costliest widgets of
    // the start-up.
    if (fileDialog)
        return fileDialog;
    fileDialog = new QFileDialog(this);
    fileDialog->setWindowTitle(tr("Select Meas. Schedule"));
    fileDialog->setNameFilters({tr("csv (*.csv)"), tr("any (*, *.*)")});
    fileDialog->setDirectory(rootDir);
    connect(fileDialog, &QFileDialog::fileSelected, this, &Body::scheduleFileSelected);
    return fileDialog;
}

void Body::saveSchedule()
{
    scheduleFileDialog()->setAcceptMode(QFileDialog::AcceptSave);
    fileDialog->setFileMode(QFileDialog::AnyFile);
    savingSchedule = true;
    fileDialog->show();
}

void Body::loadSchedule()
{
    scheduleFileDialog()->setAcceptMode(QFileDialog::AcceptOpen);
    fileDialog->setFileMode(QFileDialog::ExistingFile);
    savingSchedule = false;
    fileDialog->show();
}

void Body::scheduleFileSelected(const QString &fname)
{
    if (!savingSchedule) {
        loadScheduleFrom(fname);
        return;
    }
    const Csv::WriteResult r = Csv::write(fname, m_list->entries());
    if (!r.ok) {
        // The file field keeps naming the last file that really holds the
        // schedule.
        logArea->log(r.error, Severity::Error);
        showMessage(tr("Save Schedule"), r.error);
        return;
    }
    // The file written: ".csv" may have been added to the name typed.
    ui->ScheduleFile->setText(r.path);
    m_entriesChanged = false;
    removeRecovery();
}

bool Body::loadScheduleFrom(const QString &fname)
{
    // Read first: a file that cannot be read must not cost the operator the
    // list on show, "Clear on Load" or not.
    const Csv::ReadResult read = Csv::read(fname);
    if (!read.ok) {
        logArea->log(tr("%1; the schedule is left as it was.").arg(read.error), Severity::Error);
        return false;
    }
    // "Clear on Load" moves the old entries to the cut buffer rather than
    // destroying them.
    if (ui->ClearOnLoad->isChecked() && !m_pane->clear()) {
        logArea->log(tr("Loading %1 cancelled; the schedule is left as it was.").arg(fname));
        return false;
    }
    // Entries kept from before make a list that no file holds.
    const bool kept = m_list->count() > 0;
    showLoaded(read.entries, fname);
    m_run->newNight();
    m_entriesChanged = kept;
    if (!kept)
        removeRecovery();
    logArea->log(tr("Schedule file %1 loaded; entries: %2.").arg(fname).arg(read.entries.size()));
    return true;
}

void Body::showLoaded(const QList<Entry> &entries, const QString &fileShown)
{
    if (m_list->count() == 0) {
        m_list->setEntries(entries);
    } else {
        for (const Entry &e : entries)
            m_list->insert(m_list->count(), e);
    }
    ui->ScheduleFile->setText(fileShown);
}

bool Body::saveRecovery()
{
    if (!m_entriesChanged)
        return false;
    const Csv::WriteResult r = Csv::write(m_recoveryPath, m_list->entries());
    if (r.ok) {
        recoveryWarned = false;
        return true;
    }
    if (!recoveryWarned) // every 30 s would bury the log
        logArea->log(tr("%1; unsaved edits are not kept.").arg(r.error), Severity::Error);
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

RunController::Resumed Body::resumeLastRun(bool fromNext)
{
    const RunRecovery::Unfinished run = m_run->unfinishedRun();
    if (!run.found)
        return RunController::Resumed::NothingToResume;
    const RunController::Resumed r = m_run->resumeRun(run, fromNext);
    if (r == RunController::Resumed::Yes) {
        ui->ScheduleFile->setText(run.copyPath);
        m_entriesChanged = false;
    }
    return r;
}

bool Body::offerUnfinishedRun(bool askOperator)
{
    if (m_run->holdsResumedRun()) // by -resume-last
        return true;
    const RunRecovery::Unfinished run = m_run->unfinishedRun();
    if (!run.found)
        return false;
    if (!askOperator) {
        logArea->log(tr("The run of %1 did not end (its copy: %2); start with -resume-last to "
                        "resume it.")
                         .arg(run.run.toString(Qt::ISODate), run.copyPath),
                     Severity::Error);
        return false;
    }
    const RunRecovery::Plan plan = RunRecovery::plan(run, false);
    if (!plan.ok || plan.start < 0) {
        m_run->resumeRun(run, false); // says why there is nothing to resume
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
        if (m_run->resumeRun(run, c == 1) != RunController::Resumed::Yes)
            return false;
        ui->ScheduleFile->setText(run.copyPath);
        m_entriesChanged = false;
        startRun();
        return true;
    }
    m_run->declineRun(run);
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
                     Severity::Error);
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
        logArea->log(read.error, Severity::Error);
        return;
    }
    if (!m_pane->clear())
        return;
    showLoaded(read.entries, QString());
    // Still unsaved: the recovery file keeps them until they are saved.
    m_entriesChanged = true;
    logArea->log(tr("Unsaved edits loaded from %1; entries: %2.")
                     .arg(m_recoveryPath)
                     .arg(read.entries.size()));
}
