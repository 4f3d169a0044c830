// The schedule file without widgets: splitting and joining lines, reading the
// shipped example, and writing atomically under the name the user meant.
#include "Csv.h"
#include "EntryCheck.h"
#include "EntryCodec.h"
#include "ScheduleDocument.h"
#include "ScheduleModel.h"
#include "ScheduleTestEnv.h"
#include "TestSupport.h"

#include <QtTest>

class TestCsv : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(ScheduleTestEnv::setUp() && m_dir.isValid()); }

    // Fields and their line: written as the line when "both", read back from it always.
    void lines_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("both");
        auto row = [](const char *name, const QStringList &f, const char *line, bool both) {
            QTest::newRow(name) << f << QString(line) << both;
        };
        row("empty middle", {"a", "", "b"}, "a,,b", true);
        row("comma quoted", {"1,1,1,1", "x"}, "\"1,1,1,1\",x", true);
        row("quote and comma", {"x\",y"}, "\"x\"\",y\"", true);
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

    // The shipped example reads without errors into all three kinds of block
    // definition; written with an awkward entry and read back, every entry
    // keeps its fields on one line.
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
        awkward.comment = "comma, \"quotes\"\r\nsecond";
        const QString path = m_dir.filePath("demo.csv");
        QVERIFY(Csv::write(path, demo.entries + QList<Entry>{awkward}).ok);
        const QList<Entry> again = Csv::read(path).entries;
        awkward.comment = "comma, \"quotes\" second";
        const QList<Entry> want = demo.entries + QList<Entry>{awkward};
        QCOMPARE(again.size(), want.size());
        for (int i = 0; i < again.size(); ++i)
            QCOMPARE(EntryCodec::toFields(again.at(i)), EntryCodec::toFields(want.at(i)));
    }

    // A line that is no entry stays in the list as one, with an error: the
    // run refuses it instead of measuring a made-up sample.
    void lineThatIsNoEntryIsRefused()
    {
        const QString path = m_dir.filePath("garbage.csv");
        QVERIFY(TestSupport::writeFile(path, "this,is,garbage\n"));
        const Csv::ReadResult r = Csv::read(path);
        QVERIFY(r.ok && r.entries.size() == 1);
        QVERIFY(!EntryCheck::errorsAtStart(r.entries.first()).isEmpty());
    }

    // A name typed without a suffix gets ".csv"; the result names the file written.
    void writeNamesTheFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("written");
        QTest::newRow("no suffix") << "tonight"
                                   << "tonight.csv";
        QTest::newRow("other suffix") << "tonight.txt"
                                      << "tonight.txt";
    }
    void writeNamesTheFile()
    {
        QFETCH(QString, name);
        QFETCH(QString, written);
        const Csv::WriteResult r = Csv::write(m_dir.filePath(name), {Entry::defaults()});
        QVERIFY(r.ok);
        QCOMPARE(r.path, m_dir.filePath(written));
        QCOMPARE(Csv::read(r.path).entries.size(), 1);
    }

    // A save that cannot be completed (no room for the name of the file the new
    // text goes to first) says why and leaves the old file as it was.
    void failedWriteKeepsOldFile()
    {
        const QString path = m_dir.filePath(QString(250, 'x') + ".csv");
        const QByteArray old = "1,S1,old,,d.dat,Cu\n";
        QVERIFY(TestSupport::writeFile(path, old));
        const Csv::WriteResult r = Csv::write(path, {Entry::defaults()});
        QVERIFY(!r.ok && r.error.contains(path));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), old);
    }

    // The document: edits mark it changed and go to the recovery file
    // (its failure told once), a save or a load into an empty list is the
    // file again and drops the recovery file, a load after kept entries or
    // recovered edits are still unsaved, a failed save changes nothing.
    void document()
    {
        ScheduleModel list;
        const QString recovery = m_dir.filePath("recovery.csv");
        ScheduleDocument doc(&list, recovery);
        list.insert(0, Entry::defaults());
        QVERIFY(doc.changed());
        QString error;
        QVERIFY(doc.keepEdits(&error) && doc.hasRecovery() && error.isEmpty());
        QVERIFY(!doc.save(m_dir.filePath("no/such/dir.csv")).ok);
        QVERIFY(doc.changed() && doc.file().isEmpty() && doc.hasRecovery());
        QVERIFY(doc.save(m_dir.filePath("night")).ok);
        QCOMPARE(doc.file(), m_dir.filePath("night.csv"));
        QVERIFY(!doc.changed() && !doc.hasRecovery());
        QVERIFY(!doc.keepEdits(&error)); // nothing to keep

        doc.loaded({Entry::defaults()}, "more.csv"); // after the entry kept
        QCOMPARE(list.count(), 2);
        QVERIFY(doc.changed());
        doc.withoutChange([&list] { list.setEntry(0, list.entry(1)); });
        QVERIFY(doc.changed());
        while (list.count() > 0)
            list.take(0);
        doc.loaded({Entry::defaults()}, "only.csv");
        QVERIFY(!doc.changed());
        doc.withoutChange([&list] {
            Entry e = list.entry(0);
            e.exec = false;
            list.setEntry(0, e);
        });
        QVERIFY(!doc.changed());

        ScheduleDocument broken(&list, m_dir.filePath("no/such/recovery.csv"));
        list.insert(0, Entry::defaults());
        QVERIFY(!broken.keepEdits(&error) && !error.isEmpty());
        QVERIFY(!broken.keepEdits(&error) && error.isEmpty()); // said once

        QVERIFY(doc.keepEdits(&error));
        list.take(0);
        doc.recovered(doc.readRecovery().entries);
        QVERIFY(doc.changed() && doc.hasRecovery()); // kept until saved
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestCsv)
#include "tst_csv.moc"
