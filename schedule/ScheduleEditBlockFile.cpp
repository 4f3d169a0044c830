// SPDX-License-Identifier: GPL-3.0-or-later
// Block-definition files of a schedule entry: the file dialog and the slots
// that write and read them (the format is in BlockFile.h).
#include "ScheduleEdit.h"

#include "BlockFile.h"
#include "ConfigStore.h"
#include "FileSelectDialog.h"
#include "Startup.h"

#include <QDir>
#include <QMessageBox>

FileSelectDialog *ScheduleEdit::blockFileDialog()
{
    if (m_blockFileDialog)
        return m_blockFileDialog;
    m_blockFileDialog = new FileSelectDialog(this);
    // The descriptions are read by the operator; the patterns stay as they are.
    m_blockFileDialog->setNameFilters(
        {tr("Block Def (*.prm)"), tr("9809 (*.dat)"), tr("any (*, *.*)")});
    m_blockFileDialog->setAcceptMode(QFileDialog::AcceptOpen);
    m_blockFileDialog->setFileMode(QFileDialog::ExistingFile);
    QString root = rootDirFor(config());
    if (root.isEmpty())
        root = QDir::homePath();
    root.replace(QLatin1Char('~'), QDir::homePath());
    m_blockFileDialog->setDirectory(root);
    m_blockFileDialog->selectFile(ui.BlockDefFile->text());
    connect(m_blockFileDialog, &QFileDialog::fileSelected, this, &ScheduleEdit::blockFileSelected);
    return m_blockFileDialog;
}

void ScheduleEdit::selectBlockDefFile()
{
    FileSelectDialog *d = blockFileDialog();
    d->setAcceptMode(QFileDialog::AcceptOpen);
    d->setFileMode(QFileDialog::ExistingFile);
    d->show();
    savingBlockFile = false;
}

void ScheduleEdit::saveBlockDefFile()
{
    FileSelectDialog *d = blockFileDialog();
    d->setAcceptMode(QFileDialog::AcceptSave);
    d->setFileMode(QFileDialog::AnyFile);
    d->show();
    savingBlockFile = true;
}

void ScheduleEdit::blockFileSelected(const QString &fname)
{
    if (savingBlockFile) {
        // The entry names the file once it is written, and only then.
        saveBlockFile(fname);
        return;
    }
    ui.BlockDefFile->setText(fname);
    if (is9809(fname) == 0)
        readBlockFromNormal(fname);
}

void ScheduleEdit::loadBlockFile(const QString &fname)
{
    if (is9809(fname) == 0)
        readBlockFromNormal(fname);
}

int ScheduleEdit::is9809(const QString &fname)
{
    switch (BlockFile::kindOf(fname)) {
    case BlockFile::Kind::Normal:
        return 0;
    case BlockFile::Kind::Format9809:
        return 1;
    case BlockFile::Kind::Unreadable:
        break;
    }
    return 2;
}

void ScheduleEdit::saveBlockFile(const QString &fname)
{
    const BlockFile::Result r = BlockFile::write(fname, m_entry);
    if (!r.ok) {
        showProblem(r.error);
        return;
    }
    // The entry names the file that was written (".prm" may have been added).
    m_entry.blockDefFile = r.path;
    changed();
}

void ScheduleEdit::readBlockFromNormal(const QString &fname)
{
    const BlockFile::Result r = BlockFile::load(fname, m_entry);
    if (!r.ok) {
        showProblem(r.error);
        return;
    }
    changed();
}

void ScheduleEdit::readBlockFrom9809(const QString &fname)
{
    Q_UNUSED(fname);
}

void ScheduleEdit::showProblem(const QString &text)
{
    // Not modal: an unattended editor must never stop the program.
    if (!m_problemBox) {
        m_problemBox = new QMessageBox(this);
        m_problemBox->setModal(false);
        m_problemBox->setIcon(QMessageBox::Warning);
        m_problemBox->setWindowTitle(tr("Block file"));
    }
    m_problemBox->setText(text);
    m_problemBox->show();
}
