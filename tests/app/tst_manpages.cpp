// The options and configuration keys each program takes, against its manual
// page and the README: an option or key added without its documentation, or
// documentation left behind by one removed, fails here.
//
// What a program takes comes from the program: Skedra's option table (the one
// its command-line check accepts), the stand-ins' own --help, and the keys
// Skedra's sources look up in the configuration store.
#include "CommandLine.h"

#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

namespace {

using Names = QSet<QString>;

QString readText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly | QIODevice::Text) ? QString::fromUtf8(f.readAll())
                                                         : QString();
}

QString source(const char *relative)
{
    return QStringLiteral(SKEDRA_SOURCE_DIR "/") + QLatin1String(relative);
}

// Lines of a section: of a manual page (mark ".SH ") or of the README
// ("## "), from its heading up to the next one.
QStringList section(const QString &text, const QString &mark, const QString &name)
{
    QStringList lines;
    bool in = false;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        if (line.startsWith(mark))
            in = line.mid(mark.size()).remove(QLatin1Char('"')).trimmed() == name;
        else if (in)
            lines << line;
    }
    return lines;
}
QStringList manSection(const QString &page, const QString &name)
{
    return section(page, QStringLiteral(".SH "), name);
}
QStringList readmeSection(const QString &heading)
{
    return section(readText(source("README.md")), QStringLiteral("## "), heading);
}

// The arguments of a roff request line, quotes honoured.
QStringList roffArgs(const QString &line)
{
    QStringList args;
    static const QRegularExpression arg(QStringLiteral("\"([^\"]*)\"|(\\S+)"));
    auto it = arg.globalMatch(line);
    it.next(); // the request itself
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        args << (m.capturedLength(1) ? m.captured(1) : m.captured(2));
    }
    return args;
}

QString unroff(QString text)
{
    text.replace(QLatin1String("\\-"), QLatin1String("-"));
    static const QRegularExpression font(QStringLiteral("\\\\f[BIRP]"));
    return text.remove(font);
}

// What a section's entries name in bold: the tag line after each .TP
// (.B: every argument; .BR and .BI: the first, third, ... arguments).
Names manTags(const QStringList &section, const QRegularExpression &word)
{
    Names names;
    for (int i = 0; i + 1 < section.size(); ++i) {
        if (section.at(i) != QLatin1String(".TP"))
            continue;
        const QString tag = section.at(i + 1);
        const QStringList args = roffArgs(tag);
        const bool alternate = !tag.startsWith(QLatin1String(".B "));
        for (int a = 0; a < args.size(); a += alternate ? 2 : 1) {
            for (const QString &piece : unroff(args.at(a)).split(QRegularExpression("[ ,|]+"))) {
                if (word.match(piece).hasMatch())
                    names << piece;
            }
        }
    }
    return names;
}

const QRegularExpression kOption(QStringLiteral("^--?[a-z][a-z-]*$"));
const QRegularExpression kKey(QStringLiteral("^[A-Za-z][A-Za-z0-9]*(?:_[A-Za-z0-9]+)*$"));

// Every option anywhere in the lines.
Names optionsIn(const QString &text)
{
    Names names;
    static const QRegularExpression rx(QStringLiteral("(?<![\\w-])(--?[a-z](?:[a-z-]*[a-z])?)"));
    for (auto it = rx.globalMatch(unroff(text)); it.hasNext();)
        names << it.next().captured(1);
    return names;
}

// The first cells of the section's tables: `-c FILE`, `-config FILE` gives
// -c and -config; `DARK`, `TUNE` gives DARK and TUNE.
Names tableHeads(const QStringList &section, const QRegularExpression &word)
{
    Names names;
    static const QRegularExpression code(QStringLiteral("`([^`]+)`"));
    for (const QString &line : section) {
        if (!line.startsWith(QLatin1String("| ")))
            continue;
        const QString head = line.section(QLatin1Char('|'), 1, 1);
        for (auto it = code.globalMatch(head); it.hasNext();) {
            const QString first = it.next().captured(1).section(QLatin1Char(' '), 0, 0);
            if (word.match(first).hasMatch())
                names << first;
        }
    }
    return names;
}

// The indented synopsis under "**name**" in the README's stand-ins section.
Names readmeSynopsis(const QString &tool)
{
    const QStringList section = readmeSection(QStringLiteral("The bus stand-ins"));
    const qsizetype at = section.indexOf(QRegularExpression("^\\*\\*" + tool + "\\*\\*.*"));
    QString text;
    bool started = false;
    for (qsizetype i = at + 1; at >= 0 && i < section.size(); ++i) {
        const bool code = section.at(i).startsWith(QLatin1String("    "));
        if (started && !code)
            break;
        started = started || code;
        if (code)
            text += section.at(i) + QLatin1Char('\n');
    }
    return optionsIn(text);
}

Names skedraOptions()
{
    Names names;
    for (const CommandLine::Option &o : CommandLine::options())
        names << QString::fromLatin1(o.name);
    return names;
}

// The options a stand-in lists in its own --help.
Names toolOptions(const QString &exe)
{
    QProcess p;
    p.start(exe, {QStringLiteral("--help")});
    if (!p.waitForFinished(20000) || p.exitCode() != 0)
        return {};
    Names names;
    for (const QString &line : QString::fromLocal8Bit(p.readAllStandardOutput()).split('\n')) {
        if (line.startsWith(QLatin1String("  -"))) // the option column ends at a wide gap
            names += optionsIn(line.trimmed().section(QLatin1String("  "), 0, 0));
    }
    return names;
}

// The keys Skedra's sources look up in the configuration store: a literal
// handed to value(), valueNoCase(), allRests(), contains() or readKey(), and
// a key the reader itself treats apart (INCLUDE).
Names configKeysRead()
{
    Names keys;
    static const QRegularExpression lookUp(QStringLiteral(
        "\\b(?:valueNoCase|allRests|value|contains|readKey)\\s*\\(\\s*(?:\\w+\\s*,\\s*)?"
        "(?:QStringLiteral\\(|QLatin1String\\()?\\s*\"([A-Za-z]\\w*)\""));
    static const QRegularExpression special(
        QStringLiteral("toUpper\\(\\)\\s*==\\s*QLatin1String\\(\"([A-Z_]+)\"\\)"));
    for (const char *dir : {"app", "xraydb", "bus", "schedule", "exec", "ui", "main"}) {
        QDirIterator it(source(dir), {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files);
        while (it.hasNext()) {
            const QString text = readText(it.next());
            for (const QRegularExpression *rx : {&lookUp, &special}) {
                for (auto m = rx->globalMatch(text); m.hasNext();)
                    keys << m.next().captured(1);
            }
        }
    }
    return keys;
}

QByteArray describe(const Names &names)
{
    QStringList list = names.values();
    list.sort();
    return list.join(QLatin1Char(' ')).toUtf8();
}

} // namespace

class TestManPages : public QObject
{
    Q_OBJECT

private slots:
    void options_data()
    {
        QTest::addColumn<Names>("accepted");
        QTest::addColumn<Names>("documented");
        const QString skedraPage = readText(source("skedra.1"));
        const Names skedra = skedraOptions();
        QTest::newRow("skedra(1) options")
            << skedra << manTags(manSection(skedraPage, "OPTIONS"), kOption);
        QTest::newRow("skedra(1) synopsis")
            << skedra << optionsIn(manSection(skedraPage, "SYNOPSIS").join('\n'));
        QTest::newRow("README command line")
            << skedra << tableHeads(readmeSection("Command line"), kOption);
        const QList<QPair<QString, QString>> tools{{"tolva-server", TOLVA_SERVER_EXE},
                                                   {"dorvan-sim", DORVAN_SIM_EXE}};
        for (const auto &[tool, exe] : tools) {
            const Names accepted = toolOptions(exe);
            const QString page =
                readText(source("packaging/skedra-") + tool + QStringLiteral(".1"));
            QTest::newRow(qPrintable("skedra-" + tool + "(1) options"))
                << accepted << manTags(manSection(page, "OPTIONS"), kOption);
            QTest::newRow(qPrintable("skedra-" + tool + "(1) synopsis"))
                << accepted << optionsIn(manSection(page, "SYNOPSIS").join('\n'));
            QTest::newRow(qPrintable("README " + tool)) << accepted << readmeSynopsis(tool);
        }
    }
    void options()
    {
        QFETCH(Names, accepted);
        QFETCH(Names, documented);
        QVERIFY2(accepted.size() > 3, describe(accepted));
        QVERIFY2((accepted - documented).isEmpty(),
                 "not documented: " + describe(accepted - documented));
        QVERIFY2((documented - accepted).isEmpty(),
                 "documented, not taken: " + describe(documented - accepted));
    }

    void configKeys_data()
    {
        QTest::addColumn<Names>("documented");
        QTest::newRow("skedra(1)")
            << manTags(manSection(readText(source("skedra.1")), "CONFIGURATION"), kKey);
        QTest::newRow("README") << tableHeads(readmeSection("Configuration file"), kKey);
    }
    void configKeys()
    {
        QFETCH(Names, documented);
        const Names read = configKeysRead();
        QVERIFY2(read.contains("WAIT_LIMIT") && read.contains("Crystal"),
                 "the look-ups were not found: " + describe(read));
        QVERIFY2((read - documented).isEmpty(), "not documented: " + describe(read - documented));
        QVERIFY2((documented - read).isEmpty(),
                 "documented, not read: " + describe(documented - read));
    }
};

QTEST_GUILESS_MAIN(TestManPages)
#include "tst_manpages.moc"
