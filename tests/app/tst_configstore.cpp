#include "ConfigStore.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTest>

using Files = QList<QPair<QString, QByteArray>>; // the first one is read
Q_DECLARE_METATYPE(Files)

class TestConfigStore : public QObject
{
    Q_OBJECT

private:
    TestSupport::WorkDir m_dir; // INCLUDE names are relative to the working directory

    QString write(const QString &name, const QByteArray &content)
    {
        QFile f(m_dir.filePath(name));
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write fixture");
        f.write(content);
        return f.fileName();
    }
    static void row(const char *name, const QString &a, const QString &b, const QString &c,
                    const QString &d = QString())
    {
        QTest::newRow(name) << a << b << c << d;
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void takeItem_data()
    {
        for (const char *column : {"text", "item", "remainder", "diagnostic"})
            QTest::addColumn<QString>(column);
        const QString unterminated = "is started from quote but not ended by quote";
        row("empty", "", "", "");
        row("blanks only", " \t ", "", "");
        row("plain", "abc def", "abc", " def");
        row("leading blanks", "   abc  def ", "abc", "  def ");
        row("tab separates", "a\tb", "a", "\tb");
        row("last item", "  abc", "abc", "");
        row("quoted with blanks", "\"a b\" c", "a b", " c");
        row("quoted keeps hash", "\"a # b\" c", "a # b", " c");
        row("quoted keeps single quote", "\"it's\"x", "it's", "x");
        row("empty quotes", "\"\" rest", "", " rest");
        row("unterminated quote", "\"abc def", "abc def", "", unterminated);
        row("ends with quote", "abc\" def", "abc\"", " def",
            "is started from not quote but ended by quote");
        row("single quotes are ordinary", "'x # y'", "'x", " # y'");
        row("quote inside item", "a\"b c", "a\"b", " c");
    }
    void takeItem()
    {
        QFETCH(QString, text);
        QFETCH(QString, diagnostic);
        MessageCatcher catcher;
        QString rest = "sentinel";
        QTEST(::takeItem(text, &rest), "item");
        QTEST(rest, "remainder");
        if (diagnostic.isEmpty()) {
            QVERIFY2(catcher.lines().isEmpty(), qPrintable(catcher.lines().join('|')));
        } else {
            QCOMPARE(catcher.lines().size(), 1);
            QVERIFY(catcher.lines().first().contains(
                QStringLiteral("In a line [%1] item %2").arg(text, diagnostic)));
        }
    }

    void fileLines_data()
    {
        for (const char *column : {"line", "key", "value", "rest"})
            QTest::addColumn<QString>(column);
        row("example", "KEY \"a b\" c d   # note", "KEY", "a b", " \"a b\" c d   ");
        row("key only", "LONELY", "LONELY", "", "");
        row("hash in quotes", "KEY \"a # b\"", "KEY", "a # b", " \"a # b\"");
        row("hash unquoted", "KEY a # b", "KEY", "a", " a ");
        row("single quotes protect hash", "KEY 'x # y'", "KEY", "'x", " 'x # y'");
        row("unterminated", "KEY \"abc", "KEY", "abc", " \"abc");
        row("utf8", "NAME \u00c5ngstr\u00f6m", "NAME", "\u00c5ngstr\u00f6m", " \u00c5ngstr\u00f6m");
        row("blank line", "", "", "", "");
        row("blanks", "   \t ", "", "", "");
        row("comment only", "  # KEY value", "", "", "");
    }
    void fileLines()
    {
        QFETCH(QString, line);
        QFETCH(QString, key);
        ConfigStore store;
        QVERIFY(store.readFile(write("line.cfg", line.toUtf8() + "\n")));
        QCOMPARE(store.entries().size(), key.isEmpty() ? 0 : 1);
        if (!key.isEmpty()) {
            const ConfigEntry &e = store.entries().first();
            QCOMPARE(e.key, key);
            QTEST(e.value, "value");
            QTEST(e.rest, "rest");
            QCOMPARE(e.upperKey, key.toUpper());
        }
    }

    void duplicatesAndCase()
    {
        ConfigStore store;
        QVERIFY(store.readFile(
            write("dup.cfg", "Crystal first a\nKEY one\nCRYSTAL second b\nKEY two\n")));
        QCOMPARE(store.value("KEY", "d"), QString("two"));
        QCOMPARE(store.valueNoCase("key", "d"), QString("two"));
        QCOMPARE(store.value("Crystal", "d"), QString("first"));
        QCOMPARE(store.valueNoCase("crystal", "d"), QString("second"));
        QCOMPARE(store.allRests("crystal"), QStringList({" first a", " second b"}));
        QCOMPARE(store.allRests("KEY"), QStringList({" one", " two"}));
        QVERIFY(store.allRests("missing").isEmpty());
        QCOMPARE(store.value("crystal", "dflt"), QString("dflt")); // exact-case map
        QVERIFY(store.contains("Crystal"));
        QVERIFY(!store.contains("crystal"));
    }

    // What the operator is told about the files, naming file and line.
    void includes_data()
    {
        QTest::addColumn<Files>("files");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QStringList>("diagnostics");
        QTest::newRow("in place") << Files{{"outer.cfg", "A 1\ninclude inner.cfg\nD 4\n"},
                                           {"inner.cfg", "B 2\nC 3\n"}}
                                  << QStringList{"A", "B", "C", "D"} << QStringList();
        QTest::newRow("missing include goes on")
            << Files{{"outer.cfg", "A 1\nINCLUDE nowhere.cfg\nD 4\n"}} << QStringList{"A", "D"}
            << QStringList{"outer.cfg:2: INCLUDE nowhere.cfg cannot be read; its settings are "
                           "not used."};
        QTest::newRow("loop is cut")
            << Files{{"loop-a.cfg", "A 1\nINCLUDE loop-b.cfg\nA2 1\n"},
                     {"loop-b.cfg", "B 1\nINCLUDE loop-a.cfg\nINCLUDE loop-b.cfg\nB2 1\n"}}
            << QStringList{"A", "B", "B2", "A2"}
            << QStringList{"loop-b.cfg:2: INCLUDE loop-a.cfg comes back to a file being read; "
                           "skipped.",
                           "loop-b.cfg:3: INCLUDE loop-b.cfg comes back to a file being read; "
                           "skipped."};
        QTest::newRow("same file twice is no loop")
            << Files{{"twice.cfg", "INCLUDE common.cfg\nINCLUDE common.cfg\n"},
                     {"common.cfg", "X 1\n"}}
            << QStringList{"X", "X"} << QStringList();
        QTest::newRow("quotes left open or closed")
            << Files{{"q.cfg", "A 1\nTUNE \"Y yes\nB x\" 2\n"}} << QStringList{"A", "TUNE", "B"}
            << QStringList{"q.cfg:2: a quote is opened and not closed: \"Y yes",
                           "q.cfg:3: a quote is closed and not opened: x\" 2"};
        QTest::newRow("file itself missing") << Files{{"absent.cfg", QByteArray()}} << QStringList()
                                             << QStringList{"Cannot read the configuration "
                                                            "file absent.cfg; its settings are "
                                                            "not used."};
    }
    void includes()
    {
        QFETCH(Files, files);
        for (const auto &f : files) {
            if (!f.second.isEmpty())
                write(f.first, f.second);
        }
        ConfigStore store;
        store.readFile(files.first().first);
        QStringList keys;
        for (const ConfigEntry &e : store.entries())
            keys << e.key;
        QTEST(keys, "keys");
        QTEST(store.diagnostics(), "diagnostics");
    }

    void commandLine_data()
    {
        for (const char *column : {"args", "keys", "values", "rests"})
            QTest::addColumn<QStringList>(column);
        QTest::newRow("config") << QStringList{"prog", "-config", "my.cfg"}
                                << QStringList{"-config"} << QStringList{"my.cfg"}
                                << QStringList{"my.cfg"};
        QTest::newRow("-c -e") << QStringList{"prog", "-c", "-e"} << QStringList{"-c", "-e"}
                               << QStringList{"", ""} << QStringList{"", ""};
        QTest::newRow("many values")
            << QStringList{"prog", "stray", "-x", "a", "b", "-y"} << QStringList{"-x", "-y"}
            << QStringList{"a", ""} << QStringList{"a b", ""};
        QTest::newRow("empty argument") << QStringList{"prog", "", "-e"} << QStringList{"-e"}
                                        << QStringList{""} << QStringList{""};
    }
    void commandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(QStringList, keys);
        QFETCH(QStringList, values);
        QFETCH(QStringList, rests);
        ConfigStore store;
        store.parseCommandLine(args);
        QCOMPARE(store.entries().size(), keys.size());
        for (int i = 0; i < keys.size(); ++i) {
            QCOMPARE(store.entries().at(i).key, keys.at(i));
            QCOMPARE(store.entries().at(i).value, values.at(i));
            QCOMPARE(store.entries().at(i).rest, rests.at(i));
        }
        // A file read later overrides the command line.
        QVERIFY(store.readFile(write("late.cfg", keys.value(0).toUtf8() + " /from/file\n")));
        QCOMPARE(store.value(keys.value(0)), QString("/from/file"));
        QCOMPARE(store.allRests(keys.value(0)).size(), 2);
    }

    void numbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("asInt");
        QTest::addColumn<double>("asDouble");
        QTest::newRow("int") << "42" << 42 << 42.0;
        QTest::newRow("leading zero is decimal") << "010" << 10 << 10.0;
        QTest::newRow("hex is not a number") << "0x10" << 0 << 0.0;
        QTest::newRow("real") << "3.5" << 0 << 3.5;
        QTest::newRow("text") << "abc" << 0 << 0.0;
        QTest::newRow("negative") << "-7" << -7 << -7.0;
        QTest::newRow("infinity is refused") << "inf" << 0 << 0.0;
        QTest::newRow("nan is refused") << "nan" << 0 << 0.0;
    }
    void numbers()
    {
        QFETCH(QString, text);
        QTEST(toIntOr0(text), "asInt");
        QTEST(toDoubleOr0(text), "asDouble");
    }
};

QTEST_GUILESS_MAIN(TestConfigStore)
#include "tst_configstore.moc"
