// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's files: the schedule file dialog, the recovery file of
// edits not yet saved (written every 30 s and offered again at the next
// start), and the offer to resume a night the program or the PC did not
// finish (the run controller keeps the journal and the run's copy).
#include "Body.h"

#include "Csv.h"
#include "ListPane.h"
#include "LogArea.h"
#include "ScheduleDocument.h"
#include "StartupRecovery.h"
#include "ui_Body.h"

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int kRecoveryEveryMs = 30 * 1000;

} // namespace

void Body::setupFiles()
{
    m_doc = new ScheduleDocument(
        m_list, QDir::current().absoluteFilePath(QStringLiteral("skedra-recovery.csv")), this);
    connect(m_doc, &ScheduleDocument::fileChanged, ui->ScheduleFile, &QLineEdit::setText);
    connect(ui->SaveSchedule, &QPushButton::clicked, this, &Body::saveSchedule);
    connect(ui->LoadSchedule, &QPushButton::clicked, this, &Body::loadSchedule);
    auto *recoveryClock = new QTimer(this);
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
    connect(fileDialog, &QFileDialog::fileSelected, this, [this](const QString &fname) {
        if (fileDialog->acceptMode() == QFileDialog::AcceptOpen) {
            loadScheduleFrom(fname);
            return;
        }
        const Csv::WriteResult r = m_doc->save(fname);
        if (!r.ok) {
            logArea->log(r.error, Severity::Error);
            showMessage(tr("Save Schedule"), r.error);
        }
    });
    return fileDialog;
}

void Body::saveSchedule()
{
    scheduleFileDialog()->setAcceptMode(QFileDialog::AcceptSave);
    fileDialog->setFileMode(QFileDialog::AnyFile);
    fileDialog->show();
}

void Body::loadSchedule()
{
    scheduleFileDialog()->setAcceptMode(QFileDialog::AcceptOpen);
    fileDialog->setFileMode(QFileDialog::ExistingFile);
    fileDialog->show();
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
    m_doc->loaded(read.entries, fname);
    m_run->newNight();
    logArea->log(tr("Schedule file %1 loaded; entries: %2.").arg(fname).arg(read.entries.size()));
    return true;
}

bool Body::saveRecovery()
{
    QString error;
    const bool kept = m_doc->keepEdits(&error);
    if (!error.isEmpty())
        logArea->log(tr("%1; unsaved edits are not kept.").arg(error), Severity::Error);
    return kept;
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
    if (r == RunController::Resumed::Yes)
        m_doc->holds(run.copyPath);
    return r;
}

void Body::recoverAtStartup(bool askOperator)
{
    StartupRecovery(m_run, m_doc, m_pane, logArea)
        .recover(
            askOperator, [this](const QString &q) { return ask(q); },
            [this](const QString &text, const QStringList &choices) {
                return choose(text, choices);
            });
}
