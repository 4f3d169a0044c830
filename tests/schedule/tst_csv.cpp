// SPDX-License-Identifier: GPL-3.0-or-later
// The schedule file, its document, the list model and spreadsheet rows, without widgets.
#include "Csv.h"
#include "EntryCheck.h"
#include "EntryCodec.h"
#include "ListEdits.h"
#include "ScheduleDocument.h"
#include "ScheduleModel.h"
#include "ScheduleTestEnv.h"
#include "TestSupport.h"

#include <QMimeData>
#include <QtTest>

namespace {

Entry entry(const QString &element, const QString &file)
{
    Entry e = Entry::defaults();
    e.targetElm = element;
    e.updateTarget();
    e.dataFile = file;
    return e;
}

QStringList files(const QList<Entry> &entries)
{
    QStringList out;
    for (const Entry &e : entries)
        out << e.dataFile;
    return out;
}

} // namespace

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

    // The shipped example reads cleanly; written back with an awkward comment, it reads the same.
    void demoRoundTrip()
    {
        const Csv::ReadResult demo = Csv::read(SKEDRA_SOURCE_DIR "/examples/demo-schedule.csv");
        QVERIFY(demo.ok && demo.entries.size() >= 5);
        for (const Entry &e : demo.entries)
            QVERIFY2(e.errors.isEmpty(), qPrintable(e.errors.join("; ")));
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
        // A line that is no entry is kept with an error, so the run refuses it, not a made-up one.
        QVERIFY(TestSupport::writeFile(path, "this,is,garbage\n"));
        const Csv::ReadResult r = Csv::read(path);
        QVERIFY(r.ok && r.entries.size() == 1);
        QVERIFY(!EntryCheck::errorsAtStart(r.entries.first()).isEmpty());
    }

    // Unsaved edits are never taken for saved ones, and the recovery file's failure is told once;
    // a failed save keeps the old file.
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
        // A save that cannot be completed (no room for the temporary's name) keeps the old file.
        const QString path = m_dir.filePath(QString(250, 'x') + ".csv");
        const QByteArray old = "1,S1,old,,d.dat,Cu\n";
        QVERIFY(TestSupport::writeFile(path, old));
        const Csv::WriteResult r = Csv::write(path, {Entry::defaults()});
        QVERIFY(!r.ok && r.error.contains(path));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), old);
    }

    void numberedOn_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("steps");
        QTest::addColumn<QString>("next");
        QTest::newRow("past the width") << "a-99.dat" << 2 << "a-101.dat";
        QTest::newRow("dot in a folder") << "run.1/scan" << 1 << "run.1/scan-0002";
        QTest::newRow("a formula is no number") << "Fe2O3.dat" << 1 << "Fe2O3-0002.dat";
        QTest::newRow("underscore") << "Pt_L3_07.dat" << 1 << "Pt_L3_08.dat";
        QTest::newRow("empty: the target names it") << "" << 1 << "";
    }
    void numberedOn()
    {
        QFETCH(QString, file);
        QFETCH(int, steps);
        QTEST(ListEdits::numberedOn(file, steps), "next");
    }

    // Rows from a spreadsheet; a row without an element is refused and named.
    void fromTsv_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("samples");
        QTest::addColumn<int>("refused");
        QTest::newRow("header, CRLF, blank")
            << ListEdits::fieldNames().join('\t') + "\r\n\r\n1\tS1\t\t\ta.dat\tCu\tK\r\n"
            << QStringList{"S1"} << 0;
        QTest::newRow("quoted tab and quote")
            << "1\t\"S\t\"\"1\"\"\"\t\t\ta.dat\tCu\tK" << QStringList{"S\t\"1\""} << 0;
        QTest::newRow("short and empty element rows refused")
            << "1\tS1\n1\tS2\t\t\ta.dat\t\tK\n3\tS3\t\t\tc.dat\tNi\tK" << QStringList{"S3"} << 2;
    }
    void fromTsv()
    {
        QFETCH(QString, text);
        QFETCH(int, refused);
        const ListEdits::Pasted p = ListEdits::fromTsv(text);
        QStringList samples;
        for (const Entry &e : p.entries)
            samples << e.sampleId;
        QTEST(samples, "samples");
        QCOMPARE(p.refused.size(), refused);
        for (const QString &why : p.refused) // the element is the sixth field
            QVERIFY2(why.contains("column 6"), qPrintable(why));
    }

    // Copied out and pasted back, entries (line breaks, unknown values) read as written.
    void tsvRoundTrip()
    {
        Entry odd = entry("Fe", "two\twords.dat");
        odd.comment = "a \"quoted\"\r\nnote"; // a line break never splits the row
        odd = ListEdits::withField(odd, EntryColumns::ScanType, "Quack");
        QVERIFY(!odd.errors.isEmpty());
        QList<Entry> out{entry("Cu", "Cu-0001.dat"), odd};
        const ListEdits::Pasted back = ListEdits::fromTsv(ListEdits::toTsv(out));
        QCOMPARE(back.entries.size(), 2);
        QVERIFY(back.refused.isEmpty());
        out[1].comment = "a \"quoted\" note";
        for (int i = 0; i < 2; ++i)
            QCOMPARE(EntryCodec::toFields(back.entries.at(i)), EntryCodec::toFields(out.at(i)));
    }

    // A field typed in a column is read as a loaded line would be; computed columns are fixed.
    void editInPlace_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("error");
        QTest::addColumn<int>("field"); // where a saved line has it
        using M = ScheduleModel;
        using C = EntryColumns::Column;
        QTest::newRow("scan type") << int(M::Scan) << "Step" << false << int(C::ScanType);
        QTest::newRow("unknown crystal") << int(M::Crystal) << "Ge111" << true << int(C::Crystal);
        QTest::newRow("data file") << int(M::File) << "x.dat" << false << 4;
    }
    void editInPlace()
    {
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(bool, error);
        QFETCH(int, field);
        ScheduleModel m;
        Entry e = entry("Cu", "Cu-0001.dat");
        e.holder = "1";
        m.setEntries({e});
        QSignalSpy edited(&m, &ScheduleModel::entryEdited);
        const QModelIndex i = m.index(0, column);
        QVERIFY(m.flags(i) & Qt::ItemIsEditable);
        QVERIFY(m.setData(i, text));
        QCOMPARE(i.data(Qt::EditRole).toString(), text);
        QCOMPARE(int(EntryCodec::toFields(m.entry(0)).indexOf(text)), field);
        QCOMPARE(!m.entry(0).errors.isEmpty(), error);
        QCOMPARE(m.index(0, ScheduleModel::No).data(ScheduleModel::ProblemRole).toInt() == 2,
                 !m.entry(0).errors.isEmpty());
        QCOMPARE(edited.count(), 1);
        QCOMPARE(edited.at(0).at(1).value<Entry>().dataFile, e.dataFile); // the value before
        QVERIFY(m.setData(m.index(0, ScheduleModel::Exec), Qt::Unchecked, Qt::CheckStateRole));
        QVERIFY(!m.entry(0).exec);
        QVERIFY(!(m.flags(m.index(0, ScheduleModel::Estimate)) & Qt::ItemIsEditable));
        QVERIFY(!m.setData(m.index(0, ScheduleModel::Status), "done"));
    }

    // Rows dropped: the model names them and the place, and removes nothing itself. Many
    // entries changed as one; the list given back keeps ids and the run's outcomes. Repeats.
    void dropsManyAtOnceAndBack()
    {
        ScheduleModel m;
        m.setEntries({entry("Cu", "a.dat"), entry("Fe", "b.dat"), entry("Zn", "c.dat")});
        QSignalSpy dropped(&m, &ScheduleModel::rowsDropped);
        std::unique_ptr<QMimeData> data(m.mimeData({m.index(2, 3), m.index(0, 1), m.index(0, 5)}));
        QVERIFY(!m.dropMimeData(data.get(), Qt::MoveAction, 1, 0, {}));
        QVERIFY(!m.dropMimeData(data.get(), Qt::MoveAction, -1, 0, {})); // below the last
        QVERIFY(!m.dropMimeData(data.get(), Qt::MoveAction, 0, 0, {}));  // above the first
        QVERIFY(!m.dropMimeData(data.get(), Qt::CopyAction, 1, 0, {}));  // rows are moved only
        QCOMPARE(dropped.at(0).at(0).value<QList<int>>(), (QList<int>{0, 2}));
        QList<int> places;
        for (const QList<QVariant> &drop : dropped)
            places << drop.at(1).toInt();
        QCOMPARE(places, (QList<int>{1, 3, 0}));
        QCOMPARE(files(m.entries()), (QStringList{"a.dat", "b.dat", "c.dat"}));
        const QList<ScheduleModel::Item> before = m.items();
        QSignalSpy edited(&m, &ScheduleModel::edited);
        QSignalSpy changed(&m, &ScheduleModel::entryChanged);
        m.setEntries({0, 2}, {entry("Ni", "a.dat"), entry("Ni", "c.dat")});
        QCOMPARE(edited.count(), 1);
        QCOMPARE(changed.count(), 2);
        m.insert(1, {entry("Co", "x.dat"), entry("Co", "y.dat")});
        m.insert(0, {entry("Mn", "m.dat")}); // above the first row
        QCOMPARE(files(m.entries()),
                 (QStringList{"m.dat", "a.dat", "x.dat", "y.dat", "b.dat", "c.dat"}));
        m.setOutcome(1, {EntryState::Done, {}, {}, {}});
        changed.clear();
        m.restore(before);
        QCOMPARE(m.ids(), (QList<ScheduleModel::Id>{before[0].id, before[1].id, before[2].id}));
        QCOMPARE(m.entries().at(2).elementSymbol(), QStringLiteral("Zn"));
        QCOMPARE(m.outcome(0).state, EntryState::Done); // the run's, not undone
        QCOMPARE(changed.count(), 2);
        // Repeat ×2: the block twice more, in order, each copy's files numbered on by its round.
        const QList<Entry> block{entry("Cu", "Cu-0001.dat"), entry("Fe", "fe.dat")};
        QCOMPARE(files(ListEdits::repeated(block, 2)),
                 (QStringList{"Cu-0002.dat", "fe-0002.dat", "Cu-0003.dat", "fe-0003.dat"}));
        QVERIFY(ListEdits::repeated(block, 0).isEmpty());
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestCsv)
#include "tst_csv.moc"
