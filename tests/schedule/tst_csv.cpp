// Schedule file: quoting, splitting, writing and reading entries, and the
// shipped example schedule.
#include "Csv.h"
#include "OneBlock.h"
#include "OneBlocks.h"
#include "ScheduleEdit.h"
#include "ScheduleTestEnv.h"

#include <QtTest>

class TestCsv : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(ScheduleTestEnv::setUp() && m_dir.isValid()); }
    void cleanup() { qDeleteAll(std::exchange(m_made, {})); }
    void quote_data();
    void quote();
    void readCsvLine_data();
    void readCsvLine();
    void lineBreaksBecomeBlanks();
    void writeThenReadFieldForField();
    void commentLinesAndTargetError();
    void demoSchedule();

private:
    QList<ScheduleEdit *> readFile(const QString &path)
    {
        QList<ScheduleEdit *> list;
        Csv().readCsv(path, list);
        m_made << list;
        return list;
    }
    QTemporaryDir m_dir;
    QList<ScheduleEdit *> m_made;
};

void TestCsv::quote_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("written");
    QTest::newRow("plain") << "Cu Reference" << QString("Cu Reference");
    QTest::newRow("empty") << "" << QString();
    QTest::newRow("comma") << "1,1,1,1" << QString("\"1,1,1,1\"");
    QTest::newRow("quote") << "a \"b\" c" << QString("\"a \"\"b\"\" c\"");
    QTest::newRow("quote and comma") << "x\",y" << QString("\"x\"\",y\"");
    QTest::newRow("only quotes") << "\"\"" << QString("\"\"\"\"\"\"");
}

// Quoted, joined and split again, every field comes back.
void TestCsv::quote()
{
    QFETCH(QString, field);
    QFETCH(QString, written);
    QCOMPARE(Csv::quote(field), written);
    const QStringList fields{"H1", field, "", field, "x"};
    QCOMPARE(Csv::splitLine(Csv::joinLine(fields)), fields);
}

void TestCsv::readCsvLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("empty line") << "" << QStringList();
    QTest::newRow("two fields") << "a,b" << QStringList{"a", "b"};
    QTest::newRow("final comma adds nothing") << "a," << QStringList{"a"};
    QTest::newRow("leading comma") << ",a" << QStringList{"", "a"};
    QTest::newRow("empty middle") << "a,,b" << QStringList{"a", "", "b"};
    QTest::newRow("quoted comma") << "\"1,1,1,1\",x" << QStringList{"1,1,1,1", "x"};
    QTest::newRow("doubled quotes") << "\"a \"\"b\"\" c\",d" << QStringList{"a \"b\" c", "d"};
    QTest::newRow("text after closing quote dropped") << "\"ab\"cd,e" << QStringList{"ab", "e"};
    QTest::newRow("unterminated quote") << "\"abc" << QStringList{"abc"};
    QTest::newRow("quoted empty") << "\"\",b" << QStringList{"", "b"};
    QTest::newRow("blank field") << " , " << QStringList{" ", " "};
}

void TestCsv::readCsvLine()
{
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    QCOMPARE(Csv().readCsvLine(line), fields);
}

// A line break inside a field must not end the entry's line.
void TestCsv::lineBreaksBecomeBlanks()
{
    QString text;
    QTextStream out(&text);
    Csv csv;
    csv.writeCsvLine(out, {"H1", "line one\nline two", "cr\r\nlf", "x"});
    out.flush();
    QCOMPARE(text.count(QLatin1Char('\n')), 1);
    QVERIFY(!text.contains(QLatin1Char('\r')));
    QCOMPARE(csv.readCsvLine(text.trimmed()),
             (QStringList{"H1", "line one line two", "cr lf", "x"}));
}

void TestCsv::writeThenReadFieldForField()
{
    // a new entry, a step entry with user blocks, an entry with awkward texts
    ScheduleEdit a;
    ScheduleEdit b;
    QVERIFY(ScheduleTestEnv::read(
        b, {"3",     "S2",   "Fe foil", "Fe",   "fe-1.dat", "Fe",          "K",       "Y",   "N",
            "Si111", "Step", "Fluo",    "User", "XAFS",     "MyBlock.prm", "1, 2, 5", "3",   "eV",
            "6800",  "50",   "2",       "R-20", "400",      "0.1",         "R30",     "100", "5"}));
    ScheduleEdit c;
    c.ui.Exec->setChecked(false);
    c.ui.HolderNo->setText("7");
    c.ui.Comment->setText("comma, and \"quotes\"\nsecond line");
    c.ui.SampleId->setText("");
    const QString path = m_dir.filePath("round.csv");
    Csv csv;
    csv.writeCsv(path, {&a, &b});
    csv.appendCsv(path, {&c});
    const QList<ScheduleEdit *> in = readFile(path);
    QCOMPARE(in.size(), 3);
    QCOMPARE(in.at(0)->toStringList(), a.toStringList());
    QCOMPARE(in.at(1)->toStringList(), b.toStringList());
    QStringList cFields = c.toStringList();
    cFields[2] = QStringLiteral("comma, and \"quotes\" second line");
    QCOMPARE(in.at(2)->toStringList(), cFields);
    QVERIFY(in.at(2)->ui.Exec->isChecked());
    csv.writeCsv(path, {&b}); // writing starts the file again
    QCOMPARE(readFile(path).size(), 1);
}

void TestCsv::commentLinesAndTargetError()
{
    const QString path = m_dir.filePath("comments.csv");
    // a quoted first field that begins with "#" is a comment as well
    QVERIFY(ScheduleTestEnv::writeText(
        path, "# a comment line\n\n1,S1,c,,d.dat,Cu\n#2,S2\n\"#quoted\",S3,c,,d.dat,Fe\nH1\n"));
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("Target Element must be specified"));
    const QList<ScheduleEdit *> in = readFile(path);
    QCOMPARE(in.size(), 2);
    QCOMPARE(in.at(0)->ui.HolderNo->text(), QStringLiteral("1"));
    QVERIFY(in.at(0)->errors.isEmpty());
    QCOMPARE(in.at(1)->errors, QStringList{"Target Element must be specified."});
    QVERIFY(!in.at(1)->ui.Errors->styleSheet().isEmpty());
}

// The shipped example reads without errors, keeps its fields when written
// back, and its block file loads.
void TestCsv::demoSchedule()
{
    const QList<ScheduleEdit *> demo =
        readFile(QStringLiteral(SKEDRA_SOURCE_DIR "/examples/demo-schedule.csv"));
    QVERIFY(demo.size() >= 5 && demo.size() <= 8);
    QSet<int> setups;
    ScheduleEdit *fileEntry = nullptr;
    for (ScheduleEdit *e : demo) {
        QVERIFY2(e->errors.isEmpty(), qPrintable(e->errors.join("; ")));
        setups << e->ui.BlockDefType->currentIndex();
        if (e->ui.BlockDefType->currentIndex() == 1)
            fileEntry = e;
    }
    QCOMPARE(setups.size(), 3);
    const QString path = m_dir.filePath("demo.csv");
    Csv().writeCsv(path, demo);
    const QList<ScheduleEdit *> again = readFile(path);
    QCOMPARE(again.size(), demo.size());
    for (int i = 0; i < again.size(); ++i)
        QCOMPARE(again.at(i)->toStringList(), demo.at(i)->toStringList());

    QVERIFY(fileEntry);
    fileEntry->loadBlockFile(QStringLiteral(SKEDRA_SOURCE_DIR "/") +
                             fileEntry->ui.BlockDefFile->text());
    QCOMPARE(fileEntry->quickBlocks->row(0)->pos, 6912.0);
    QCOMPARE(fileEntry->quickBlocks->row(1)->pos, 8112.0);
    QCOMPARE(fileEntry->quickBlocks->row(0)->pointsText(), QStringLiteral("2400"));
    QCOMPARE(fileEntry->stepBlockCount, 3);
    QCOMPARE(fileEntry->stepTimes, QStringLiteral("1, 2, 4"));
}

QTEST_MAIN(TestCsv)
#include "tst_csv.moc"
