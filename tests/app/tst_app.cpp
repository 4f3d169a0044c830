// SPDX-License-Identifier: GPL-3.0-or-later
// The configuration store, its option tables, start-up, and what the manual page documents.
#include "CommandLine.h"
#include "ConfigStore.h"
#include "OptionTables.h"
#include "Startup.h"
#include "TestSupport.h"

#include <QDirIterator>
#include <QLocale>
#include <QSet>
#include <QTest>

Q_DECLARE_METATYPE(CommandLine::Action)

using Files = QList<QPair<QString, QByteArray>>; // the first one is read
Q_DECLARE_METATYPE(Files)

namespace {

using Names = QSet<QString>;

QString readText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly | QIODevice::Text) ? QString::fromUtf8(f.readAll())
                                                         : QString();
}

// Lines of a section of a manual page (".SH NAME"), from its heading up to the next one.
QStringList section(const QString &file, const QString &name)
{
    QStringList lines;
    bool in = false;
    for (const QString &line : readText(SKEDRA_SOURCE_DIR "/" + file).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String(".SH ")))
            in = line.mid(4).remove(QLatin1Char('"')).trimmed() == name;
        else if (in)
            lines << line;
    }
    return lines;
}

QString unroff(QString text)
{
    text.replace(QLatin1String("\\-"), QLatin1String("-"));
    static const QRegularExpression font(QStringLiteral("\\\\f[BIRP]"));
    return text.remove(font);
}

// What a section's entries name in bold: the tag line after each .TP
// (quotes honoured; .B: every argument; .BR and .BI: the first, third, ...).
Names manTags(const QStringList &section, const QRegularExpression &word)
{
    Names names;
    static const QRegularExpression arg(QStringLiteral("\"([^\"]*)\"|(\\S+)")), separator("[ ,|]+");
    for (int i = 0; i + 1 < section.size(); ++i) {
        const QString tag = section.at(i + 1);
        if (section.at(i) != QLatin1String(".TP"))
            continue;
        const int step = tag.startsWith(QLatin1String(".B ")) ? 1 : 2;
        auto it = arg.globalMatch(tag);
        it.next(); // the request itself
        for (int a = 0; it.hasNext(); ++a) {
            const QRegularExpressionMatch m = it.next();
            if (a % step)
                continue;
            for (const QString &piece : unroff(m.captured(1) + m.captured(2)).split(separator)) {
                if (word.match(piece).hasMatch())
                    names << piece;
            }
        }
    }
    return names;
}

const QRegularExpression kOption(QStringLiteral("^--?[a-z][a-z-]*$"));
const QRegularExpression kKey(QStringLiteral("^[A-Za-z][A-Za-z0-9]*(?:_[A-Za-z0-9]+)*$"));

// The keys Skedra's sources look up in the configuration store: a literal handed to value(),
// valueNoCase(), allRests(), contains() or readKey(), and a key the reader treats apart.
Names configKeysRead()
{
    Names keys;
    static const QRegularExpression lookUp(QStringLiteral(
        "\\b(?:valueNoCase|allRests|value|contains|readKey)\\s*\\(\\s*(?:\\w+\\s*,\\s*)?"
        "(?:QStringLiteral\\(|QLatin1String\\()?\\s*\"([A-Za-z]\\w*)\""));
    static const QRegularExpression special(
        QStringLiteral("toUpper\\(\\)\\s*==\\s*QLatin1String\\(\"([A-Z_]+)\"\\)"));
    for (const char *dir : {"app", "xraydb", "bus", "schedule", "exec", "ui", "main"}) {
        QDirIterator it(SKEDRA_SOURCE_DIR "/" + QLatin1String(dir),
                        {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files);
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

class TestApp : public QObject
{
    Q_OBJECT

    TestSupport::WorkDir m_dir; // INCLUDE names are relative to the working directory

private slots:
    void files_data()
    {
        QTest::addColumn<Files>("files");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("diagnosed");
        QTest::newRow("items and comments")
            << Files{{"a.cfg", "KEY \"a # b\" c # note\n  # X y\nK2 a # b\nLONELY\n"}}
            << QStringList{"KEY=a # b", "K2=a", "LONELY="} << QStringList();
        QTest::newRow("include in place, missing one goes on")
            << Files{{"outer.cfg", "A 1\ninclude inner.cfg\nINCLUDE nowhere.cfg\nD 4\n"},
                     {"inner.cfg", "B 2\n"}}
            << QStringList{"A=1", "B=2", "D=4"} << QStringList{"outer.cfg:3:"};
        QTest::newRow("loop is cut, same file twice is no loop")
            << Files{{"loop-a.cfg", "A 1\nINCLUDE loop-b.cfg\nINCLUDE c.cfg\nINCLUDE c.cfg\n"},
                     {"loop-b.cfg", "B 1\nINCLUDE loop-a.cfg\n"},
                     {"c.cfg", "X 1\n"}}
            << QStringList{"A=1", "B=1", "X=1", "X=1"} << QStringList{"loop-b.cfg:2:"};
        QTest::newRow("quotes left open or closed")
            << Files{{"q.cfg", "TUNE \"Y yes\nB x\" 2\n"}} << QStringList{"TUNE=Y yes", "B=x\""}
            << QStringList{"q.cfg:1:", "q.cfg:2:"};
    }
    void files()
    {
        QFETCH(Files, files);
        for (const auto &f : files)
            QVERIFY(TestSupport::writeFile(f.first, f.second));
        ConfigStore store;
        QVERIFY(store.readFile(files.first().first));
        QStringList entries, diagnosed;
        for (const ConfigEntry &e : store.entries())
            entries << e.key + '=' + e.value;
        for (const QString &d : store.diagnostics())
            diagnosed << d.section(' ', 0, 0);
        QTEST(entries, "entries");
        QTEST(diagnosed, "diagnosed");
    }

    void duplicatesAndCase()
    {
        QVERIFY(TestSupport::writeFile("dup.cfg", "Crystal first a\nKEY one\nCRYSTAL second b\n"
                                                  "KEY two # the second\n"
                                                  "NOTE 'a # b' \"c # d\" # e\n"));
        ConfigStore store;
        store.parseCommandLine(QStringList{"prog", "KEY", "cmd", "-x", "a", "b"});
        QVERIFY(store.readFile("dup.cfg"));
        QCOMPARE(store.value("KEY", "d"), QString("two"));
        QCOMPARE(store.valueNoCase("crystal", "d"), QString("second"));
        QCOMPARE(store.allRests("crystal"), QStringList({" first a", " second b"}));
        QCOMPARE(store.allRests("-x"), QStringList({"a b"}));
        // A comment starts at a '#' outside quotes of either kind.
        QCOMPARE(store.allRests("NOTE").value(0).trimmed(), QString("'a # b' \"c # d\""));
    }

    // The crystal, selection and mode-range tables read from configuration rows.
    void tables()
    {
        CrystalTable t;
        t.build({" Si111 3.1356 4000 30000 \"Si(111)\"", " Si311 1.6375 7000 20000 311", " Bare",
                 " X 3 a 9000", " Y d 1000 9000", " Z 3 1000 b"});
        QCOMPARE(t.at(1).aliases, QStringList({"311", "Si311"}));
        QCOMPARE(t.diagnostics().size(), 4); // the rows that do not read
        QCOMPARE(t.rowByName("si311"), -1);  // case-sensitive
        QCOMPARE(t.rowForEnergy(4000), 3);   // eMin itself is outside; the first matching row
        QCOMPARE(t.rowForEnergy(50000), 0);  // none: row 0
        t.build({" High 2 5000 9000", " Low 3 1000 5000"});
        QCOMPARE(t.rowForEnergy(5000), 1); // the highest energy belongs to the range it ends
        SelectionTable s;
        s.build({" \"No dark\" none", " Y yes", " N no", " X n"});
        const auto rowOf = [&s](const char *text, bool found) {
            bool got = !found; // must be written by rowOf
            const int row = s.rowOf(text, &got);
            return got == found ? row : -2;
        };
        QCOMPARE(rowOf("no dark", true), 0); // a label in quotes
        QCOMPARE(rowOf("Yes", true), 1);     // an alias in any case
        QCOMPARE(rowOf("n", true), 2);       // the first row wins
        QCOMPARE(rowOf("maybe", false), 0);
        ModeRangeTable m;
        m.build({" 1 20000 5000", " 2 4000 12000", " 3 x 8000"}, "1");
        QCOMPARE(m.indexForEnergy(9000), 0); // overlap: the first
        QCOMPARE(m.indexForEnergy(4500), 1);
        QCOMPARE(m.indexForEnergy(20000), 0); // bounds are inside
        QCOMPARE(m.indexForEnergy(25000), 1); // none: the default
    }

    // F, Fluo and 1 name fluorescence, anything else transmission; none configured is 0.
    void measModeCodes_data()
    {
        QTest::addColumn<QString>("fluo"); // the word of the step table's second row
        QTest::addColumn<int>("scan");
        QTest::addColumn<int>("detection");
        QTest::addColumn<int>("code");
        QTest::newRow("quick trans") << "1" << 0 << 0 << 1;
        QTest::newRow("step fluo, second row") << "1" << 1 << 1 << 2;
        QTest::newRow("step fluo named F") << "F" << 1 << 1 << 2;
        QTest::newRow("step fluo named Fluo") << "Fluo" << 1 << 1 << 2;
        QTest::newRow("step trans") << "1" << 1 << 0 << 7;
        QTest::newRow("quick fluo, not in the table") << "1" << 0 << 1 << 0;
    }
    void measModeCodes()
    {
        QFETCH(QString, fluo);
        ConfigStore store;
        store.readText(QString("scan_type Quick Q\nSCAN_TYPE Step S\nQ_MEAS_MODE Trans 1\n"
                               "S_MEAS_MODE T 7\nS_MEAS_MODE %1 2\nS_MEAS_MODE Trans 5\n")
                           .arg(fluo));
        buildOptionTables(store);
        QFETCH(int, scan);
        QFETCH(int, detection);
        QTEST(measModeCodeFor(scan, detection), "code");
    }

    // HOLDER_RANGE: two integers, the lower first; anything else is said and unset.
    void holderRange_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("set");
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("diagnostics");
        QTest::newRow("absent") << "" << false << 0 << 0;
        QTest::newRow("48 positions") << "HOLDER_RANGE 1 48" << true << 48 << 0;
        QTest::newRow("one position") << "holder_range 7 7" << true << 7 << 0;
        QTest::newRow("reversed") << "HOLDER_RANGE 48 1" << false << 0 << 1;
        QTest::newRow("a third item") << "HOLDER_RANGE 1 48 60" << false << 0 << 1;
    }
    void holderRange()
    {
        QFETCH(QString, line);
        ConfigStore store;
        store.readText(line + "\n");
        const QStringList diagnostics = buildOptionTables(store);
        QTEST(::holderRange().set, "set");
        QTEST(::holderRange().max, "max");
        QTEST(int(diagnostics.size()), "diagnostics");
    }

    // What the command line may hold is decided before anything is built.
    void commandLine_data()
    {
        using A = CommandLine::Action;
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<A>("action");
        QTest::newRow("nothing") << QStringList{} << A::Run;
        QTest::newRow("unattended night")
            << QString("-c b.cfg -load t.csv -entries 1,3-5 -go -confirm-prompts -quit-when-done")
                   .split(' ')
            << A::Run;
        QTest::newRow("-root in any case") << QStringList{"-ROOT", "/data"} << A::Run;
        QTest::newRow("Qt's options")
            << QStringList{"-platform", "offscreen", "-style", "fusion", "-reverse", "-check"}
            << A::Run;
        QTest::newRow("Qt's option with =") << QStringList{"-style=fusion"} << A::Run;
        QTest::newRow("Qt's option, two dashes") << QStringList{"--platform", "xcb"} << A::Run;
        QTest::newRow("help wins over the rest")
            << QStringList{"-load", "t.csv", "--help", "-bogus"} << A::Help;
        QTest::newRow("-h") << QStringList{"-h"} << A::Help;
        QTest::newRow("version") << QStringList{"-e", "--version"} << A::Version;
        QTest::newRow("mistyped option") << QStringList{"-quit-when-don"} << A::Error;
        QTest::newRow("-C is not -c") << QStringList{"-C", "a.cfg"} << A::Error;
        QTest::newRow("two values") << QStringList{"-load", "a.csv", "b.csv"} << A::Error;
        QTest::newRow("value of a flag") << QStringList{"-go", "now"} << A::Error;
        QTest::newRow("= on a flag") << QStringList{"-reverse=1"} << A::Error;
        QTest::newRow("a bare file") << QStringList{"tonight.csv"} << A::Error;
        QTest::newRow("a lone dash is a value") << QStringList{"-load", "-"} << A::Run;
        QTest::newRow("report of a run")
            << QStringList{"-report", "j.csv", "2026-12-07T01:00:00"} << A::Run;
        QTest::newRow("a night by the clock")
            << QStringList{"-start-at", "22:00", "-end-by", "08:00", "-go"} << A::Run;
    }
    void commandLine()
    {
        QFETCH(QStringList, args);
        const CommandLine::Result result = CommandLine::check(args);
        QTEST(result.action, "action");
        QCOMPARE(result.error.isEmpty(), result.action != CommandLine::Action::Error);
    }

    // The configuration file and the catalogue that the command line and locale choose.
    void startup_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("catalogue");
        const QString cfg = "config.cfg";
        QTest::newRow("Japanese") << QStringList{} << "ja_JP" << cfg << kCatalogue;
        QTest::newRow("German, -config wins when first")
            << QStringList{"skedra", "-config", "b.cfg", "-c", "a.cfg"} << "de_DE"
            << "b.cfg" << kCatalogue;
        QTest::newRow("English locale") << QStringList{} << "en_GB" << cfg << kEnglishCatalogue;
        QTest::newRow("-e") << QStringList{"skedra", "-e"} << "ja_JP" << cfg << kEnglishCatalogue;
    }
    void startup()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, locale);
        ConfigStore store;
        store.parseCommandLine(args);
        QTEST(chooseConfigFile(store), "file");
        QTEST(QString::fromLatin1(catalogueFor(store, QLocale(locale))), "catalogue");
    }

    // Each program answers help, version and mistakes without a display or configuration.
    void answersWithoutDisplay_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("toStdout"); // status 0; else status 2, on stderr with the usage
        QTest::addColumn<QString>("named"); // what the error names
        const QStringList programs{SKEDRA_EXE, TOLVA_SERVER_EXE, DORVAN_SIM_EXE};
        for (const QString &program : programs) {
            const QByteArray name = QFileInfo(program).fileName().toUtf8();
            for (const char *arg : {"--help", "-h", "--version"})
                QTest::addRow("%s %s", name.data(), arg)
                    << program << QStringList{arg} << true << QString();
            for (const char *arg :
                 {"--frobnicate", "tonight.csv"}) // unknown option, stray argument
                QTest::addRow("%s %s", name.data(), arg)
                    << program << QStringList{arg} << false << QString(arg).remove("--");
        }
        QTest::newRow("skedra -check with a typo")
            << QString(SKEDRA_EXE) << QStringList{"-check", "-lode", "t.csv"} << false << "-lode";
    }
    void answersWithoutDisplay()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, args);
        QFETCH(bool, toStdout);
        QFETCH(QString, named);
        QTemporaryDir empty; // no config.cfg, no key file
        QVERIFY(empty.isValid());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *var : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(var);
        env.insert("HOME", empty.path());
        const auto run = [&](const QStringList &a, QByteArray *out, QByteArray *err) {
            QProcess p;
            p.setProcessEnvironment(env);
            p.setWorkingDirectory(empty.path());
            p.start(program, a);
            if (!p.waitForFinished(20000))
                return -1; // killed as p goes
            *out = p.readAllStandardOutput();
            *err = p.readAllStandardError();
            return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        };
        QByteArray out, err, helpOut, helpErr;
        const int status = run(args, &out, &err);
        QVERIFY2(status >= 0, err.constData());
        QCOMPARE(status, toStdout ? 0 : 2);
        QCOMPARE(out.isEmpty(), !toStdout);
        QVERIFY2(err.isEmpty() == toStdout, err.constData());
        QVERIFY(QDir(empty.path()).isEmpty()); // no log, history or journal
        if (args.first() == "--version")
            QVERIFY2(out.contains(SKEDRA_VERSION), out.constData());
        if (!toStdout) {
            // The usage follows the message: the same text --help prints.
            QCOMPARE(run({"--help"}, &helpOut, &helpErr), 0);
            QVERIFY2(err.endsWith(helpOut), err.constData());
            QVERIFY2(err.contains(named.toUtf8()), err.constData());
        }
    }

    // A configuration file that does not exist is reported; the window comes up.
    void programRunsWithoutConfig()
    {
        QProcess proc;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", m_dir.path()); // nothing of the user's is touched
        proc.setProcessEnvironment(env);
        proc.setProcessChannelMode(QProcess::MergedChannels);
        proc.start(SKEDRA_EXE, {"-c", "b.cfg", "-platform", "offscreen", "-quit-when-shown"});
        QVERIFY(proc.waitForFinished(20000));
        const QByteArray out = proc.readAll();
        QVERIFY2(out.contains("\"b.cfg\"") && out.contains("shown-after-ms:"), out.constData());
        QCOMPARE(proc.exitCode(), 0);
    }

    // Every option Skedra takes and every configuration key it reads is in its manual page,
    // and no other: a change without its documentation fails.
    void documented()
    {
        Names options;
        for (const CommandLine::Option &o : CommandLine::options())
            options << QString::fromLatin1(o.name);
        const Names keys = configKeysRead();
        QVERIFY(keys.contains("WAIT_LIMIT") && keys.contains("Crystal")); // the scan found them
        for (const auto &[accepted, documented] :
             {std::pair{options, manTags(section("skedra.1", "OPTIONS"), kOption)},
              std::pair{keys, manTags(section("skedra.1", "CONFIGURATION"), kKey)}}) {
            QVERIFY2((accepted - documented).isEmpty(),
                     "not documented: " + describe(accepted - documented));
            QVERIFY2((documented - accepted).isEmpty(),
                     "documented, not taken: " + describe(documented - accepted));
        }
    }
};

QTEST_GUILESS_MAIN(TestApp)
#include "tst_app.moc"
