// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConfigStore.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>

#include <cmath>

namespace {

bool isSpace(QChar c)
{
    // Same class as the regular expression \s: Unicode white space.
    return c.isSpace();
}

// Texts of the ConfigStore context in the catalogue.
struct Tr
{
    Q_DECLARE_TR_FUNCTIONS(ConfigStore)
};

QString cutComment(const QString &line)
{
    bool inQuotes = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"'))
            inQuotes = !inQuotes;
        else if (c == QLatin1Char('#') && !inQuotes)
            return line.left(i);
    }
    return line;
}

} // namespace

QString takeItem(const QString &text, QString *remainder, QString *problem)
{
    QString rest;
    QString item;
    int start = 0;
    while (start < text.size() && isSpace(text.at(start)))
        ++start;
    if (start < text.size()) {
        if (text.at(start) == QLatin1Char('"')) {
            const int close = text.indexOf(QLatin1Char('"'), start + 1);
            if (close >= 0) {
                item = text.mid(start + 1, close - start - 1);
                rest = text.mid(close + 1);
            } else {
                qDebug().noquote()
                    << QStringLiteral(
                           "In a line [%1] item is started from quote but not ended by quote")
                           .arg(text);
                item = text.mid(start + 1);
                if (problem)
                    *problem = Tr::tr("a quote is opened and not closed: %1").arg(text.trimmed());
            }
        } else {
            int end = start;
            while (end < text.size() && !isSpace(text.at(end)))
                ++end;
            item = text.mid(start, end - start);
            rest = text.mid(end);
            if (item.endsWith(QLatin1Char('"')))
                qDebug().noquote()
                    << QStringLiteral(
                           "In a line [%1] item is started from not quote but ended by quote")
                           .arg(text);
            if (item.endsWith(QLatin1Char('"')) && problem)
                *problem = Tr::tr("a quote is closed and not opened: %1").arg(text.trimmed());
        }
    }
    if (remainder)
        *remainder = rest;
    return item;
}

void ConfigStore::parseCommandLine(int argc, const char *const *argv)
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    parseCommandLine(args);
}

void ConfigStore::parseCommandLine(const QStringList &args)
{
    auto isOption = [](const QString &a) { return a.startsWith(QLatin1Char('-')); };
    int i = 0;
    while (i < args.size()) {
        if (!isOption(args.at(i))) {
            ++i;
            continue;
        }
        const QString key = args.at(i++);
        QStringList restItems;
        while (i < args.size() && !isOption(args.at(i)))
            restItems << args.at(i++);
        addEntry(key, restItems.isEmpty() ? QString() : restItems.first(),
                 restItems.join(QLatin1Char(' ')));
    }
}

bool ConfigStore::readFile(const QString &path)
{
    if (openAndRead(path))
        return true;
    m_diagnostics
        << Tr::tr("Cannot read the configuration file %1; its settings are not used.").arg(path);
    return false;
}

bool ConfigStore::openAndRead(const QString &path)
{
    m_lastFile = path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qDebug() << "Can't open config file : " << m_lastFile;
        m_lastFile.clear();
        return false;
    }
    const QString canonical = QFileInfo(file).canonicalFilePath();
    m_openChain.insert(canonical);
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    readLines(in, path);
    m_openChain.remove(canonical);
    return true;
}

void ConfigStore::readText(const QString &text)
{
    QString copy = text;
    QTextStream in(&copy, QIODevice::ReadOnly);
    readLines(in, QStringLiteral("(text)"));
}

void ConfigStore::readLines(QTextStream &in, const QString &path)
{
    QString line;
    int lineNo = 0;
    while (in.readLineInto(&line)) {
        ++lineNo;
        const QString body = cutComment(line);
        if (body.simplified().isEmpty())
            continue;
        const auto diagnose = [&](const QString &text) {
            m_diagnostics << QStringLiteral("%1:%2: %3").arg(path).arg(lineNo).arg(text);
        };
        // Every item of the line, for the operator's sake: the tables read
        // them later, when the file and line are no longer known.
        QString problem;
        for (QString r = body, next; !r.trimmed().isEmpty() && problem.isEmpty(); r = next)
            takeItem(r, &next, &problem);
        if (!problem.isEmpty())
            diagnose(problem);
        QString rest;
        const QString key = takeItem(body, &rest);
        QString ignored;
        const QString value = takeItem(rest, &ignored);
        if (key.toUpper() == QLatin1String("INCLUDE")) {
            // A chain of includes that comes back to a file still being read
            // would never end: skip that include and go on.
            const QString included = QFileInfo(value).canonicalFilePath();
            if (!included.isEmpty() && m_openChain.contains(included)) {
                qDebug() << "INCLUDE loop: skipping" << value << "included again from" << path;
                diagnose(Tr::tr("INCLUDE %1 comes back to a file being read; skipped.").arg(value));
                continue;
            }
            if (!openAndRead(value))
                diagnose(
                    Tr::tr("INCLUDE %1 cannot be read; its settings are not used.").arg(value));
            continue;
        }
        addEntry(key, value, rest);
    }
}

void ConfigStore::addEntry(const QString &key, const QString &value, const QString &rest)
{
    ConfigEntry e{key, key.toUpper(), value, rest};
    m_entries.append(e);
    m_byKey.insert(e.key, e.value);
    m_byUpperKey.insert(e.upperKey, e.value);
}

bool ConfigStore::contains(const QString &key) const
{
    return m_byKey.contains(key);
}

QString ConfigStore::value(const QString &key, const QString &def) const
{
    return m_byKey.value(key, def);
}

QString ConfigStore::valueNoCase(const QString &key, const QString &def) const
{
    return m_byUpperKey.value(key.toUpper(), def);
}

QStringList ConfigStore::allRests(const QString &key) const
{
    const QString upper = key.toUpper();
    QStringList rests;
    for (const ConfigEntry &e : m_entries) {
        if (e.upperKey == upper)
            rests << e.rest;
    }
    return rests;
}

void ConfigStore::clear()
{
    m_entries.clear();
    m_diagnostics.clear();
    m_byKey.clear();
    m_byUpperKey.clear();
    m_lastFile.clear();
    m_openChain.clear();
}

ConfigStore &config()
{
    static ConfigStore store;
    return store;
}

int toIntOr0(const QString &text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    return ok ? v : 0;
}

double toDoubleOr0(const QString &text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    // "inf" and "nan" parse, but no energy, spacing or time may be infinite.
    return ok && std::isfinite(v) ? v : 0.0;
}
