// The schedule file: one comma-separated line per schedule entry, no header.
// Each entry supplies and takes its own field texts (ScheduleEdit::toStringList
// and fromStringList); Csv only quotes, splits and moves lines. The main window
// owns one Csv and calls writeCsv()/readCsv() from its file dialog.
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class QTextStream;
#include "ScheduleEdit.h"

class Csv : public QObject
{
    Q_OBJECT
public:
    explicit Csv(QObject *parent = nullptr);

    // A field as written: quotes doubled and the field wrapped in quotes when
    // it holds a quote, wrapped when it holds a comma, else unchanged.
    static QString quote(const QString &field);
    // Splits one line into fields (static form of readCsvLine).
    static QStringList splitLine(const QString &line);
    // One line of fields as written, without the line end. Line breaks inside
    // a field are written as blanks, so that a field never splits an entry.
    static QString joinLine(const QStringList &contents);

public slots:
    void writeHeader(QTextStream &out);
    void writeBody(QTextStream &out, QList<ScheduleEdit *> list);
    void readBody(QTextStream &in, QList<ScheduleEdit *> &list);
    void writeCsvLine(QTextStream &out, QStringList contents);
    QStringList readCsvLine(QString line);
    void writeCsv(QString filePath, QList<ScheduleEdit *> list);
    void appendCsv(QString filePath, QList<ScheduleEdit *> list);
    void readCsv(QString filePath, QList<ScheduleEdit *> &list);
};
