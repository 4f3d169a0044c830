// SPDX-License-Identifier: GPL-3.0-or-later
#include "LogArea.h"

#include "ui_LogArea.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScrollBar>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QTextStream>

LogArea::LogArea(QWidget *parent, int maxLines)
    : QFrame(parent), ui(std::make_unique<Ui::LogArea>()), m_maxLines(qMax(1, maxLines))
{
    ui->setupUi(this);
    const QString file = defaultLogFileName(QDateTime::currentDateTime());
    ui->LogFileName->setText(QFileInfo(file).absoluteFilePath());
    // After a crash the file is all there is: it is written from the start.
    // The operator may turn it off until the program ends.
    ui->IsWriteTo->setChecked(true);
    // Each line ends with a line feed, so the document always carries one empty
    // block after the last line; count it so that exactly maxLines lines stay.
    ui->LogDisp->document()->setMaximumBlockCount(m_maxLines + 1);
}

LogArea::~LogArea() = default;

QString LogArea::fileName() const
{
    return ui->IsWriteTo->isChecked() ? ui->LogFileName->text() : QString();
}

QTextEdit *LogArea::view() const
{
    return ui->LogDisp;
}

QCheckBox *LogArea::keepAtEnd() const
{
    return ui->KeepAtEnd;
}

QCheckBox *LogArea::verbose() const
{
    return ui->Verbose;
}

QStringList LogArea::shownLines() const
{
    return ui->LogDisp->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString LogArea::stampedLine(const QDateTime &when, const QString &msg)
{
    return when.toString(QStringLiteral("yy/MM/dd hh:mm:ss.zzz: ")) + msg;
}

QString LogArea::defaultLogFileName(const QDateTime &when)
{
    return QStringLiteral("log-%1.dat").arg(when.toString(QStringLiteral("yyMMdd-hhmmss")));
}

void LogArea::log(const QString &msg, const QColor &c)
{
    const QString line = stampedLine(QDateTime::currentDateTime(), msg);
    // At the end of the document, not at the view's cursor: a click or a
    // selection of the operator's must not place the line among older ones
    // (or replace the selected text with it).
    QTextCursor end(ui->LogDisp->document());
    end.movePosition(QTextCursor::End);
    QTextCharFormat format;
    format.setForeground(c);
    end.insertText(line + QLatin1Char('\n'), format);
    if (ui->KeepAtEnd->isChecked()) {
        QScrollBar *bar = ui->LogDisp->verticalScrollBar();
        bar->setValue(bar->maximum());
    }
    if (ui->IsWriteTo->isChecked())
        appendToFile(line);
    emit logged(line);
}

void LogArea::log(const QString &msg)
{
    log(msg, Qt::black);
}

void LogArea::log(const QString &msg, Severity severity)
{
    log(msg, severity == Severity::Error ? QColor(255, 0, 0) : QColor(Qt::black));
}

void LogArea::vlog(const QString &msg, const QColor &c)
{
    if (ui->Verbose->isChecked())
        log(msg, c);
}

void LogArea::vlog(const QString &msg)
{
    vlog(msg, Qt::black);
}

void LogArea::appendToFile(const QString &line)
{
    const QString name = ui->LogFileName->text();
    if (name.isEmpty())
        return; // cleared by the operator: file output stops, the view goes on
    QFile f(name);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return;
    QTextStream out(&f);
    out << line << '\n';
}
