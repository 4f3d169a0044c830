// SPDX-License-Identifier: GPL-3.0-or-later
#include "Csv.h"

#include "EntryCodec.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

#include <fcntl.h>
#include <unistd.h>

namespace Csv {

QString quote(const QString &field, QChar separator)
{
    if (field.contains(QLatin1Char('"'))) {
        QString q = field;
        q.replace(QLatin1String("\""), QLatin1String("\"\""));
        return QLatin1Char('"') + q + QLatin1Char('"');
    }
    if (field.contains(separator))
        return QLatin1Char('"') + field + QLatin1Char('"');
    return field;
}

QString joinLine(const QStringList &contents, QChar separator)
{
    QStringList quoted;
    quoted.reserve(contents.size());
    for (QString f : contents) {
        // "\r\n" becomes one blank, a lone "\r" or "\n" one blank each.
        f.replace(QLatin1String("\r\n"), QLatin1String(" "));
        f.replace(QLatin1Char('\r'), QLatin1Char(' '));
        f.replace(QLatin1Char('\n'), QLatin1Char(' '));
        quoted << quote(f, separator);
    }
    return quoted.join(separator);
}

QStringList splitLine(const QString &line, QChar separator)
{
    QStringList fields;
    QString rest = line;
    while (!rest.isEmpty()) {
        if (rest.at(0) == separator) {
            fields << QString();
            rest = rest.mid(1);
        } else if (rest.at(0) != QLatin1Char('"')) {
            const int comma = int(rest.indexOf(separator));
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
            const int comma = int(rest.indexOf(separator, i));
            if (comma < 0)
                rest.clear();
            else
                rest = rest.mid(comma + 1);
        }
    }
    return fields;
}

namespace {

// Texts of the Body context in the catalogue, wherever they are made.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(Body)
};

} // namespace

QList<Entry> parse(const QString &text)
{
    QList<Entry> list;
    QString t = text;
    QTextStream in(&t);
    while (!in.atEnd()) {
        const QStringList fields = splitLine(in.readLine());
        if (fields.isEmpty() || fields.at(0).startsWith(QLatin1Char('#')))
            continue;
        list.append(EntryCodec::fromFields(fields));
    }
    return list;
}

ReadResult read(const QString &path)
{
    ReadResult r;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        r.error = Tr::tr("Cannot read the schedule file %1: %2").arg(path, f.errorString());
        return r;
    }
    QTextStream in(&f);
    r.entries = parse(in.readAll());
    r.ok = true;
    return r;
}

void syncFolderOf(const QString &path)
{
    const QByteArray dir = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

WriteResult write(const QString &path, const QList<Entry> &entries, const QStringList &comments)
{
    WriteResult r;
    r.path = path;
    if (QFileInfo(path).suffix().isEmpty())
        r.path += QLatin1String(".csv");
    QSaveFile f(r.path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Text)) {
        QTextStream out(&f);
        for (const QString &c : comments)
            out << c << '\n';
        for (const Entry &e : entries)
            out << joinLine(EntryCodec::toFields(e)) << '\n';
        out.flush();
        if (out.status() == QTextStream::Ok && f.commit()) {
            // The rename itself reaches the disk only with its folder.
            syncFolderOf(r.path);
            r.ok = true;
            return r;
        }
    }
    r.error = Tr::tr("Cannot write the schedule file %1: %2").arg(r.path, f.errorString());
    return r;
}

} // namespace Csv
