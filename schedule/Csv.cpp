#include "Csv.h"

#include "ScheduleEdit.h"

#include <QDebug>
#include <QFile>
#include <QTextStream>

Csv::Csv(QObject *parent) : QObject(parent) {}

QString Csv::quote(const QString &field)
{
    if (field.contains(QLatin1Char('"'))) {
        QString q = field;
        q.replace(QLatin1String("\""), QLatin1String("\"\""));
        return QLatin1Char('"') + q + QLatin1Char('"');
    }
    if (field.contains(QLatin1Char(',')))
        return QLatin1Char('"') + field + QLatin1Char('"');
    return field;
}

QString Csv::joinLine(const QStringList &contents)
{
    QStringList quoted;
    quoted.reserve(contents.size());
    for (QString f : contents) {
        // "\r\n" becomes one blank, a lone "\r" or "\n" one blank each.
        f.replace(QLatin1String("\r\n"), QLatin1String(" "));
        f.replace(QLatin1Char('\r'), QLatin1Char(' '));
        f.replace(QLatin1Char('\n'), QLatin1Char(' '));
        quoted << quote(f);
    }
    return quoted.join(QLatin1Char(','));
}

QStringList Csv::splitLine(const QString &line)
{
    QStringList fields;
    QString rest = line;
    while (!rest.isEmpty()) {
        if (rest.at(0) == QLatin1Char(',')) {
            fields << QString();
            rest = rest.mid(1);
        } else if (rest.at(0) != QLatin1Char('"')) {
            const int comma = int(rest.indexOf(QLatin1Char(',')));
            if (comma < 0) {
                fields << rest;
                rest.clear();
            } else {
                fields << rest.left(comma);
                rest = rest.mid(comma + 1);
            }
        } else {
            QString field;
            int i = 1;
            const int len = int(rest.size());
            while (i < len) {
                const QChar c = rest.at(i);
                if (c != QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else if (i + 1 < len && rest.at(i + 1) == QLatin1Char('"')) {
                    field += QLatin1Char('"');
                    i += 2;
                } else {
                    break; // closing quote (or a quote at the very end)
                }
            }
            fields << field;
            const int comma = int(rest.indexOf(QLatin1Char(','), i));
            if (comma < 0)
                rest.clear();
            else
                rest = rest.mid(comma + 1);
        }
    }
    return fields;
}

void Csv::writeHeader(QTextStream &out)
{
    Q_UNUSED(out);
}

void Csv::writeBody(QTextStream &out, QList<ScheduleEdit *> list)
{
    for (const ScheduleEdit *e : std::as_const(list)) {
        if (e)
            writeCsvLine(out, e->toStringList());
    }
}

void Csv::readBody(QTextStream &in, QList<ScheduleEdit *> &list)
{
    while (!in.atEnd()) {
        const QStringList fields = readCsvLine(in.readLine());
        if (fields.isEmpty() || fields.at(0).startsWith(QLatin1Char('#')))
            continue;
        auto *entry = new ScheduleEdit;
        QStringList errors;
        QStringList warnings;
        if (!entry->fromStringList(fields, errors, warnings))
            qDebug() << entry->errors;
        list.append(entry);
    }
}

void Csv::writeCsvLine(QTextStream &out, QStringList contents)
{
    out << joinLine(contents) << '\n';
}

QStringList Csv::readCsvLine(QString line)
{
    return splitLine(line);
}

void Csv::writeCsv(QString filePath, QList<ScheduleEdit *> list)
{
    QFile f(filePath);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        qDebug() << "Can't open" << filePath << "to write";
        return;
    }
    QTextStream out(&f);
    writeBody(out, list);
}

void Csv::appendCsv(QString filePath, QList<ScheduleEdit *> list)
{
    QFile f(filePath);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        qDebug() << "Can't open" << filePath << "to append";
        return;
    }
    QTextStream out(&f);
    writeBody(out, list);
}

void Csv::readCsv(QString filePath, QList<ScheduleEdit *> &list)
{
    QFile f(filePath);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qDebug() << "Can't open" << filePath;
        return;
    }
    QTextStream in(&f);
    readBody(in, list);
}
