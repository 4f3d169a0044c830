#include "ConfigStore.h"
#include "MessageCatcher.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestConfigStore : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_oldCwd;

    QString write(const QString &name, const QByteArray &content)
    {
        QFile f(m_dir.filePath(name));
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write fixture");
        f.write(content);
        return f.fileName();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_oldCwd = QDir::currentPath();
        QDir::setCurrent(m_dir.path()); // INCLUDE names are relative to the working directory
    }
    void cleanupTestCase() { QDir::setCurrent(m_oldCwd); }

    void takeItem_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("remainder");
        QTest::addColumn<QString>("diagnostic");
        const QString unterminated = "is started from quote but not ended by quote";
        const QString notStarted = "is started from not quote but ended by quote";
        QTest::newRow("empty") << ""
                               << ""
                               << ""
                               << "";
        QTest::newRow("blanks only") << " \t "
                                     << ""
                                     << ""
                                     << "";
        QTest::newRow("plain") << "abc def"
                               << "abc"
                               << " def"
                               << "";
        QTest::newRow("leading blanks") << "   abc  def "
                                        << "abc"
                                        << "  def "
                                        << "";
        QTest::newRow("tab separates") << "a\tb"
                                       << "a"
                                       << "\tb"
                                       << "";
        QTest::newRow("last item") << "  abc"
                                   << "abc"
                                   << ""
                                   << "";
        QTest::newRow("quoted with blanks") << "\"a b\" c"
                                            << "a b"
                                            << " c"
                                            << "";
        QTest::newRow("quoted keeps hash") << "\"a # b\" c"
                                           << "a # b"
                                           << " c"
                                           << "";
        QTest::newRow("quoted keeps single quote") << "\"it's\"x"
                                                   << "it's"
                                                   << "x"
                                                   << "";
        QTest::newRow("empty quotes") << "\"\" rest"
                                      << ""
                                      << " rest"
                                      << "";
        QTest::newRow("unterminated quote") << "\"abc def"
                                            << "abc def"
                                            << "" << unterminated;
        QTest::newRow("ends with quote") << "abc\" def"
                                         << "abc\""
                                         << " def" << notStarted;
        QTest::newRow("single quotes are ordinary") << "'x # y'"
                                                    << "'x"
                                                    << " # y'"
                                                    << "";
        QTest::newRow("quote inside item") << "a\"b c"
                                           << "a\"b"
                                           << " c"
                                           << "";
    }
    void takeItem()
    {
        QFETCH(QString, text);
        QFETCH(QString, item);
        QFETCH(QString, remainder);
        QFETCH(QString, diagnostic);
        MessageCatcher catcher;
        QString rest = "sentinel";
        QCOMPARE(::takeItem(text, &rest), item);
        QCOMPARE(rest, remainder);
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
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("entries");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("rest");
        QTest::newRow("example") << QByteArray("KEY \"a b\" c d   # note") << 1 << "KEY"
                                 << "a b"
                                 << " \"a b\" c d   ";
        QTest::newRow("key only") << QByteArray("LONELY") << 1 << "LONELY"
                                  << ""
                                  << "";
        QTest::newRow("hash in quotes") << QByteArray("KEY \"a # b\"") << 1 << "KEY"
                                        << "a # b"
                                        << " \"a # b\"";
        QTest::newRow("hash unquoted") << QByteArray("KEY a # b") << 1 << "KEY"
                                       << "a"
                                       << " a ";
        QTest::newRow("single quotes protect hash") << QByteArray("KEY 'x # y'") << 1 << "KEY"
                                                    << "'x"
                                                    << " 'x # y'";
        QTest::newRow("unterminated") << QByteArray("KEY \"abc") << 1 << "KEY"
                                      << "abc"
                                      << " \"abc";
        QTest::newRow("blank line") << QByteArray("") << 0 << ""
                                    << ""
                                    << "";
        QTest::newRow("spaces") << QByteArray("   \t ") << 0 << ""
                                << ""
                                << "";
        QTest::newRow("comment only") << QByteArray("  # KEY value") << 0 << ""
                                      << ""
                                      << "";
        QTest::newRow("utf8") << QByteArray("NAME \xc3\x85ngstr\xc3\xb6m") << 1 << "NAME"
                              << QString::fromUtf8("\xc3\x85ngstr\xc3\xb6m")
                              << QString::fromUtf8(" \xc3\x85ngstr\xc3\xb6m");
    }
    void fileLines()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, entries);
        ConfigStore store;
        QVERIFY(store.readFile(write("line.cfg", line + "\n")));
        QCOMPARE(store.entries().size(), entries);
        if (entries) {
            const ConfigEntry &e = store.entries().first();
            QTEST(e.key, "key");
            QTEST(e.value, "value");
            QTEST(e.rest, "rest");
            QCOMPARE(e.upperKey, e.key.toUpper());
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

    void includeInPlace()
    {
        write("inner.cfg", "B 2\nC 3\n");
        ConfigStore store;
        QVERIFY(store.readFile(write("outer.cfg", "A 1\ninclude inner.cfg\nD 4\n")));
        QStringList keys;
        for (const ConfigEntry &e : store.entries())
            keys << e.key;
        QCOMPARE(keys, QStringList({"A", "B", "C", "D"}));
    }

    void missingIncludeGoesOn()
    {
        MessageCatcher catcher;
        ConfigStore store;
        QVERIFY(store.readFile(write("outer2.cfg", "A 1\nINCLUDE nowhere.cfg\nD 4\n")));
        QCOMPARE(store.entries().size(), 2);
        QVERIFY(catcher.contains("Can't open config file : "));
        QVERIFY(catcher.contains("nowhere.cfg"));
    }

    void includeLoopIsCut()
    {
        write("loop-a.cfg", "A 1\nINCLUDE loop-b.cfg\nA2 1\n");
        write("loop-b.cfg", "B 1\nINCLUDE loop-a.cfg\nINCLUDE loop-b.cfg\nB2 1\n");
        MessageCatcher catcher;
        ConfigStore store;
        QVERIFY(store.readFile("loop-a.cfg"));
        QStringList keys;
        for (const ConfigEntry &e : store.entries())
            keys << e.key;
        QCOMPARE(keys, QStringList({"A", "B", "B2", "A2"}));
        QVERIFY(catcher.contains("INCLUDE loop"));
        QVERIFY(catcher.contains("loop-a.cfg"));
    }

    void sameFileTwiceWithoutLoopIsRead()
    {
        // Including one file from two places is not a loop.
        write("common.cfg", "X 1\n");
        ConfigStore store;
        QVERIFY(store.readFile(write("twice.cfg", "INCLUDE common.cfg\nINCLUDE common.cfg\n")));
        QCOMPARE(store.allRests("X").size(), 2);
    }

    void missingFile()
    {
        MessageCatcher catcher;
        ConfigStore store;
        QVERIFY(!store.readFile("absent.cfg"));
        QVERIFY(store.entries().isEmpty());
        QVERIFY(store.lastFile().isEmpty());
        QCOMPARE(catcher.lines().size(), 1);
        QVERIFY(catcher.lines().first().startsWith("Can't open config file : "));
        QVERIFY(catcher.lines().first().contains("\"absent.cfg\""));
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QStringList>("rests");
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
    }

    void fileOverridesCommandLine()
    {
        ConfigStore store;
        store.parseCommandLine(QStringList{"prog", "-root", "/from/cmdline"});
        QVERIFY(store.readFile(write("root.cfg", "-root /from/file\n")));
        QCOMPARE(store.value("-root"), QString("/from/file"));
        QCOMPARE(store.allRests("-ROOT").size(), 2);
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
