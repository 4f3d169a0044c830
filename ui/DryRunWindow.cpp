// SPDX-License-Identifier: GPL-3.0-or-later
#include "DryRunWindow.h"

#include "ConfigStore.h"
#include "DryRun.h"

#include "ui_DryRunWindow.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QSaveFile>

DryRunWindow::DryRunWindow(QWidget *parent)
    : QFrame(parent, Qt::Window), ui(std::make_unique<Ui::DryRunWindow>())
{
    ui->setupUi(this);
    QFont mono = ui->Listing->font();
    mono.setFamily(QStringLiteral("monospace"));
    mono.setStyleHint(QFont::TypeWriter);
    ui->Listing->setFont(mono);
    connect(ui->SaveAsText, &QPushButton::clicked, this, &DryRunWindow::saveAsText);
    connect(ui->CloseWindow, &QPushButton::clicked, this, &DryRunWindow::close);
}

DryRunWindow::~DryRunWindow() = default;

void DryRunWindow::setListing(const QString &text)
{
    ui->Listing->setPlainText(text);
}

QString DryRunWindow::listing() const
{
    return ui->Listing->toPlainText();
}

QString DryRunWindow::saveTo(const QString &path) const
{
    QSaveFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Text)) {
        f.write(listing().toUtf8());
        if (f.commit())
            return QString();
    }
    return tr("Cannot write %1: %2").arg(path, f.errorString());
}

void DryRunWindow::saveAsText()
{
    const QString path = QFileDialog::getSaveFileName(this, tr("Save the Check listing"), QString(),
                                                      tr("Text (*.txt)"));
    if (!path.isEmpty())
        saveListingAs(path);
}

void DryRunWindow::saveListingAs(const QString &path)
{
    const QString error = saveTo(path);
    if (!error.isEmpty()) {
        auto *box =
            new QMessageBox(QMessageBox::Warning, windowTitle(), error, QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setModal(false);
        box->show();
    }
}

void DryRunWindow::showCheck(const QList<Entry> &entries)
{
    const DryRun::Result r =
        DryRun::run(entries, DryRun::Setup::fromConfig(config()), QDateTime::currentDateTime());
    setListing(r.lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    show();
    raise();
}
