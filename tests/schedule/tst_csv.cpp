// The schedule file without widgets: quoting, splitting and joining lines,
// reading files into entries, atomic writing, and the shipped example.
#include "BlockFile.h"
#include "Csv.h"
#include "EntryCodec.h"
#include "ScheduleTestEnv.h"

#include <QtTest>

class TestCsv : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(ScheduleTestEnv::setUp() && m_dir.isValid()); }

    // Fields and their line: written as the line when "both", read back from
    // it always.
    void lines_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("both");
        auto row = [](const char *name, const QStringList &f, const char *line, bool both) {
            QTest::newRow(name) << f << QString(line) << both;
        };
        row("plain", {"Cu Reference", "x"}, "Cu Reference,x", true);
        row("empty", {}, "", true);
        row("empty middle", {"a", "", "b"}, "a,,b", true);
        row("leading empty", {"", "a"}, ",a", true);
        row("comma quoted", {"1,1,1,1", "x"}, "\"1,1,1,1\",x", true);
        row("quotes doubled", {"a \"b\" c", "d"}, "\"a \"\"b\"\" c\",d", true);
        row("quote and comma", {"x\",y"}, "\"x\"\",y\"", true);
        row("only quotes", {"\"\""}, "\"\"\"\"\"\"", true);
        row("blank fields", {" ", " "}, " , ", true);
        row("final comma adds nothing", {"a"}, "a,", false);
        row("quoted empty", {"", "b"}, "\"\",b", false);
        row("text after closing quote dropped", {"ab", "e"}, "\"ab\"cd,e", false);
        row("unterminated quote", {"abc"}, "\"abc", false);
    }
    void lines()
    {
        QFETCH(QStringList, fields);
        QFETCH(QString, line);
        QFETCH(bool, both);
        QCOMPARE(Csv::splitLine(line), fields);
        if (both)
            QCOMPARE(Csv::joinLine(fields), line);
    }

    // Comment and empty lines are skipped (a quoted "#" field too); an entry
    // with an error is read with its error.
    void readValues()
    {
        const QString path = m_dir.filePath("comments.csv");
        QVERIFY(ScheduleTestEnv::writeText(
            path, "# a comment\n\n1,S1,c,,d.dat,Cu\n#2,S2\n\"#quoted\",S3,c,,d.dat,Fe\nH1\n"));
        const Csv::ReadResult r = Csv::read(path);
        QVERIFY(r.ok);
        QCOMPARE(r.entries.size(), 2);
        QCOMPARE(r.entries.at(0).holder, QStringLiteral("1"));
        QVERIFY(r.entries.at(0).errors.isEmpty());
        QCOMPARE(r.entries.at(1).errors, QStringList{"Target Element must be specified."});
        const Csv::ReadResult missing = Csv::read(m_dir.filePath("none.csv"));
        QVERIFY(!missing.ok && !missing.error.isEmpty() && missing.entries.isEmpty());
    }

    // The shipped example reads without errors into all three kinds of block
    // definition. Written with an awkward entry and read back, every entry
    // keeps its fields on one line; writing starts the file again.
    void demoRoundTrip()
    {
        const Csv::ReadResult demo = Csv::read(SKEDRA_SOURCE_DIR "/examples/demo-schedule.csv");
        QVERIFY(demo.ok && demo.entries.size() >= 5);
        QSet<int> kinds;
        for (const Entry &e : demo.entries) {
            QVERIFY2(e.errors.isEmpty(), qPrintable(e.errors.join("; ")));
            kinds << e.blockDefType;
        }
        QCOMPARE(kinds.size(), 3);
        Entry awkward = Entry::defaults();
        awkward.comment = "comma, \"quotes\"\r\nsecond\nthird";
        awkward.sampleId.clear();
        const QString path = m_dir.filePath("demo.csv");
        QVERIFY(Csv::write(path, demo.entries + QList<Entry>{awkward}).ok);
        const QList<Entry> again = Csv::read(path).entries;
        awkward.comment = "comma, \"quotes\" second third";
        const QList<Entry> want = demo.entries + QList<Entry>{awkward};
        QCOMPARE(again.size(), want.size());
        for (int i = 0; i < again.size(); ++i)
            QCOMPARE(EntryCodec::toFields(again.at(i)), EntryCodec::toFields(want.at(i)));
        QVERIFY(Csv::write(path, {awkward}).ok);
        QCOMPARE(Csv::read(path).entries.size(), 1);

        // the example's block file
        auto file = std::find_if(want.begin(), want.end(), [](const Entry &e) {
            return e.blockDefType == EntryRows::FileBlocks;
        });
        QVERIFY(file != want.end());
        Entry e = *file;
        QVERIFY(BlockFile::load(SKEDRA_SOURCE_DIR "/" + e.blockDefFile, e).ok);
        QCOMPARE(e.quickBlocks.row(0).pos, 6912.0);
        QCOMPARE(e.quickBlocks.row(1).pos, 8112.0);
        QCOMPARE(e.quickBlocks.row(0).pointsText, QStringLiteral("2400"));
        QCOMPARE(e.stepBlockCount, 3);
        QCOMPARE(e.stepTimes, QStringLiteral("1, 2, 4"));
    }

    // A name typed without a suffix gets ".csv", and the result names the
    // file written, for the window to show.
    void writeNamesTheFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("written");
        QTest::newRow("no suffix") << "tonight"
                                   << "tonight.csv";
        QTest::newRow("csv") << "tonight.csv"
                             << "tonight.csv";
        QTest::newRow("other suffix") << "tonight.txt"
                                      << "tonight.txt";
        QTest::newRow("dot in the directory only") << "a.d/tonight"
                                                   << "a.d/tonight.csv";
    }
    void writeNamesTheFile()
    {
        QFETCH(QString, name);
        QFETCH(QString, written);
        QVERIFY(QDir(m_dir.path()).mkpath("a.d"));
        const Csv::WriteResult r = Csv::write(m_dir.filePath(name), {Entry::defaults()});
        QVERIFY(r.ok);
        QCOMPARE(r.path, m_dir.filePath(written));
        QCOMPARE(Csv::read(r.path).entries.size(), 1);
    }

    // A save that cannot be completed says why and leaves the old file as it
    // was: the new text is never written over it in place.
    void failedWriteKeepsOldFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("lockDir");
        QTest::newRow("directory not writable") << QString("old.csv") << true;
        // No room for the name of the file the new text is written to first.
        QTest::newRow("no temporary name") << QString(250, 'x') + ".csv" << false;
    }
    void failedWriteKeepsOldFile()
    {
        QFETCH(QString, name);
        QFETCH(bool, lockDir);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        const QByteArray old = "1,S1,old,,d.dat,Cu\n";
        QVERIFY(ScheduleTestEnv::writeText(path, old));
        const QFile::Permissions was = QFile::permissions(dir.path());
        if (lockDir) {
            QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
            QFile probe(dir.filePath("probe"));
            if (probe.open(QIODevice::WriteOnly) && probe.remove()) // root writes anyway
                QSKIP("the directory stays writable for this user");
        }
        const Csv::WriteResult r = Csv::write(path, {Entry::defaults(), Entry::defaults()});
        QFile::setPermissions(dir.path(), was);
        QVERIFY(!r.ok);
        QVERIFY(r.error.contains(path));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), old);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestCsv)
#include "tst_csv.moc"
