// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up and configuration.
//
// ConfigStore turns the command line and the configuration file into one ordered
// list of key entries. main() fills the process-wide instance (config()) once,
// before any window exists; every other subsystem only reads it afterwards:
// the option tables (OptionTables.h), the bus set-up of the main window, and
// the root-directory rule of the file dialogs.
//
// takeItem() is the one item reader of the project: it splits configuration
// lines, option-table rows and bus message parameters alike.
#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

class QTextStream;

struct ConfigEntry
{
    QString key;      // as written (command-line options keep their dash)
    QString upperKey; // key.toUpper(), for case-insensitive look-ups
    QString value;    // second item, quotes removed
    QString rest;     // raw text after the key, up to the comment
};

// Splits the first blank-separated, optionally double-quoted item off text.
// Returns the item; *remainder receives what follows it. A quote that is
// opened and not closed (or closed and not opened) is traced on the debug
// channel and, when problem is given, described there for the operator.
QString takeItem(const QString &text, QString *remainder, QString *problem = nullptr);

class ConfigStore
{
public:
    void parseCommandLine(int argc, const char *const *argv);
    void parseCommandLine(const QStringList &args);
    bool readFile(const QString &path);
    // Reads configuration lines from text, as if they were a file's content
    // (INCLUDE lines still read files).
    void readText(const QString &text);
    void addEntry(const QString &key, const QString &value, const QString &rest);

    bool contains(const QString &key) const;
    QString value(const QString &key, const QString &def = QString()) const;
    QString valueNoCase(const QString &key, const QString &def = QString()) const;
    QStringList allRests(const QString &key) const;

    const QList<ConfigEntry> &entries() const { return m_entries; }
    // What the operator should know about the files read: a file or INCLUDE
    // that cannot be read, an INCLUDE loop, a quote left open. One line each,
    // naming the file and line; the main window shows them in its log.
    const QStringList &diagnostics() const { return m_diagnostics; }
    QString lastFile() const { return m_lastFile; }
    void clear();

private:
    void readLines(QTextStream &in, const QString &path);
    bool openAndRead(const QString &path);

    QList<ConfigEntry> m_entries;
    QStringList m_diagnostics;
    QHash<QString, QString> m_byKey;
    QHash<QString, QString> m_byUpperKey;
    QString m_lastFile;
    // Canonical paths of the files being read right now, so that an INCLUDE
    // chain coming back to one of them is cut instead of recursing.
    QSet<QString> m_openChain;
};

// The process-wide store.
ConfigStore &config();

// Integer and floating-point readers with the project's rule: base 10, and
// text that is not a number gives 0.
int toIntOr0(const QString &text);
double toDoubleOr0(const QString &text);
