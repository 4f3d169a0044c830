// SPDX-License-Identifier: GPL-3.0-or-later
// The log window: time-stamped, coloured lines from the bus client, the
// execution engine and the main window, bounded in number, optionally appended
// to a text file. It does not know where its lines come from; the main window
// creates one and connects the senders to log()/vlog().
#pragma once

#include "Severity.h"

#include <QColor>
#include <QDateTime>
#include <QFrame>
#include <QString>

#include <memory>

class QCheckBox;
class QTextEdit;

namespace Ui {
class LogArea;
}

class LogArea : public QFrame
{
    Q_OBJECT
public:
    explicit LogArea(QWidget *parent = nullptr, int maxLines = 2000);
    ~LogArea() override;

    // The line as shown and written: "yy/MM/dd hh:mm:ss.zzz: " and the message.
    static QString stampedLine(const QDateTime &when, const QString &msg);
    // Name of the log file a window built at `when` writes to (in the working directory).
    static QString defaultLogFileName(const QDateTime &when);

    int maxLines() const { return m_maxLines; }
    // The lines the window still shows, oldest first.
    QStringList shownLines() const;
    // The file every line is appended to; empty when writing is off.
    QString fileName() const;
    // The lines as the operator reads, selects and scrolls them.
    QTextEdit *view() const;
    // Whether the view follows each new line to the end.
    QCheckBox *keepAtEnd() const;
    // Whether vlog()'s lines, the bus's detail, are shown.
    QCheckBox *verbose() const;

public slots:
    void log(const QString &msg, const QColor &c);
    void log(const QString &msg);
    void log(const QString &msg, Severity severity);
    void vlog(const QString &msg, const QColor &c);
    void vlog(const QString &msg);

signals:
    // Every line shown, with its time stamp; lets an unattended run echo the
    // log on standard output.
    void logged(const QString &line);

private:
    void appendToFile(const QString &line);

    std::unique_ptr<Ui::LogArea> ui;
    int m_maxLines = 2000;
};
