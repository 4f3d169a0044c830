// Schedule file: quoting, splitting, writing and reading entries.
#include "Csv.h"
#include "ScheduleEdit.h"
#include "ScheduleTestEnv.h"

#include <QtTest>

class TestCsv : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void quote_data();
    void quote();
    void readCsvLine_data();
    void readCsvLine();
    void quoteThenSplit_data();
    void quoteThenSplit();
    void lineBreaksBecomeBlanks();
    void writeCsvLineEmptyList();
    void writeThenReadFieldForField();
    void commentAndEmptyLinesMakeNoEntries();
    void holderOnlyLineGivesTargetError();
    void appendAddsEntries();
    void unopenableFiles();

private:
    QList<ScheduleEdit *> readFile(const QString &path);
    QTemporaryDir m_dir;
    QList<ScheduleEdit *> m_made;
};

void TestCsv::initTestCase()
{
    QVERIFY(ScheduleTestEnv::setUp());
    QVERIFY(m_dir.isValid());
}

void TestCsv::cleanup()
{
    qDeleteAll(m_made);
    m_made.clear();
}

QList<ScheduleEdit *> TestCsv::readFile(const QString &path)
{
    Csv csv;
    QList<ScheduleEdit *> list;
    csv.readCsv(path, list);
    m_made << list;
    return list;
}

void TestCsv::quote_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("written");
    QTest::newRow("plain") << "Cu-0001.dat"
                           << "Cu-0001.dat";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("comma") << "1,1,1,1"
                           << "\"1,1,1,1\"";
    QTest::newRow("quote") << "a \"b\" c"
                           << "\"a \"\"b\"\" c\"";
    QTest::newRow("quote and comma") << "x\",y"
                                     << "\"x\"\",y\"";
    QTest::newRow("blank kept") << "Cu Reference"
                                << "Cu Reference";
}

void TestCsv::quote()
{
    QFETCH(QString, field);
    QFETCH(QString, written);
    QCOMPARE(Csv::quote(field), written);
}

void TestCsv::readCsvLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("empty line") << "" << QStringList();
    QTest::newRow("one field") << "a" << QStringList{"a"};
    QTest::newRow("two fields") << "a,b" << QStringList{"a", "b"};
    QTest::newRow("final comma adds nothing") << "a," << QStringList{"a"};
    QTest::newRow("leading comma") << ",a" << QStringList{"", "a"};
    QTest::newRow("empty middle") << "a,,b" << QStringList{"a", "", "b"};
    QTest::newRow("quoted comma") << "\"1,1,1,1\",x" << QStringList{"1,1,1,1", "x"};
    QTest::newRow("doubled quotes") << "\"a \"\"b\"\" c\",d" << QStringList{"a \"b\" c", "d"};
    QTest::newRow("text after closing quote dropped") << "\"ab\"cd,e" << QStringList{"ab", "e"};
    QTest::newRow("unterminated quote") << "\"abc" << QStringList{"abc"};
    QTest::newRow("quote at end of field") << "\"a\"" << QStringList{"a"};
    QTest::newRow("quoted empty") << "\"\",b" << QStringList{"", "b"};
    QTest::newRow("blank field") << " , " << QStringList{" ", " "};
}

void TestCsv::readCsvLine()
{
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    Csv csv;
    QCOMPARE(csv.readCsvLine(line), fields);
}

void TestCsv::quoteThenSplit_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("mixed") << QStringList{"H1", "", "a \"quoted\" comment, with comma", "1, 5"};
    QTest::newRow("only quotes") << QStringList{"\"", "\"\"", ","};
    QTest::newRow("empty inside") << QStringList{"a", "", "b"};
}

void TestCsv::quoteThenSplit()
{
    QFETCH(QStringList, fields);
    QCOMPARE(Csv::splitLine(Csv::joinLine(fields)), fields);
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

void TestCsv::writeCsvLineEmptyList()
{
    QString text;
    QTextStream out(&text);
    Csv csv;
    csv.writeCsvLine(out, {});
    out.flush();
    QCOMPARE(text, QStringLiteral("\n"));
}

void TestCsv::writeThenReadFieldForField()
{
    // a new entry, a step entry with user blocks, an entry with awkward texts
    ScheduleEdit a;
    ScheduleEdit b;
    QStringList e;
    QStringList w;
    QVERIFY(b.fromStringList(
        {"3",     "S2",   "Fe foil", "Fe",   "fe-1.dat", "Fe",          "K",       "Y",   "N",
         "Si111", "Step", "Fluo",    "User", "XAFS",     "MyBlock.prm", "1, 2, 5", "3",   "eV",
         "6800",  "50",   "2",       "R-20", "400",      "0.1",         "R30",     "100", "5"},
        e, w));
    ScheduleEdit c;
    c.ui.HolderNo->setText("7");
    c.ui.Comment->setText("comma, and \"quotes\"");
    c.ui.SampleId->setText("");
    const QList<ScheduleEdit *> out{&a, &b, &c};
    const QString path = m_dir.filePath("round.csv");
    Csv().writeCsv(path, out);

    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString content = QString::fromUtf8(f.readAll());
    QCOMPARE(content.count(QLatin1Char('\n')), 3);
    QVERIFY(content.contains("\"1, 2, 5\""));
    QVERIFY(content.contains("\"comma, and \"\"quotes\"\"\""));

    const QList<ScheduleEdit *> in = readFile(path);
    QCOMPARE(in.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(in.at(i)->toStringList(), out.at(i)->toStringList());
        QVERIFY(in.at(i)->ui.Exec->isChecked());
    }
    QCOMPARE(in.at(2)->ui.Comment->text(), QStringLiteral("comma, and \"quotes\""));
}

void TestCsv::commentAndEmptyLinesMakeNoEntries()
{
    const QString path = m_dir.filePath("comments.csv");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Text));
    f.write("# a comment line\n\n1,S1,c,,d.dat,Cu\n#2,S2\n\"#quoted\",S3,c,,d.dat,Fe\n");
    f.close();
    const QList<ScheduleEdit *> in = readFile(path);
    // a quoted first field that begins with "#" is a comment as well
    QCOMPARE(in.size(), 1);
    QCOMPARE(in.at(0)->ui.HolderNo->text(), QStringLiteral("1"));
}

void TestCsv::holderOnlyLineGivesTargetError()
{
    const QString path = m_dir.filePath("holder.csv");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Text));
    f.write("H1\n");
    f.close();
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("Target Element must be specified"));
    const QList<ScheduleEdit *> in = readFile(path);
    QCOMPARE(in.size(), 1);
    QCOMPARE(in.at(0)->errors, QStringList{"Target Element must be specified."});
    QVERIFY(!in.at(0)->ui.Errors->styleSheet().isEmpty());
}

void TestCsv::appendAddsEntries()
{
    const QString path = m_dir.filePath("append.csv");
    ScheduleEdit a;
    a.ui.HolderNo->setText("1");
    ScheduleEdit b;
    b.ui.HolderNo->setText("2");
    Csv csv;
    csv.writeCsv(path, {&a});
    csv.appendCsv(path, {&b});
    const QList<ScheduleEdit *> in = readFile(path);
    QCOMPARE(in.size(), 2);
    QCOMPARE(in.at(1)->ui.HolderNo->text(), QStringLiteral("2"));
    csv.writeCsv(path, {&b});
    QCOMPARE(readFile(path).size(), 1);
}

void TestCsv::unopenableFiles()
{
    Csv csv;
    const QString missing = m_dir.filePath("no/such/dir/x.csv");
    QList<ScheduleEdit *> list;
    QTest::ignoreMessage(QtDebugMsg, qPrintable(QString("Can't open \"%1\"").arg(missing)));
    csv.readCsv(missing, list);
    QVERIFY(list.isEmpty());
    QTest::ignoreMessage(QtDebugMsg,
                         qPrintable(QString("Can't open \"%1\" to write").arg(missing)));
    csv.writeCsv(missing, {});
    QTest::ignoreMessage(QtDebugMsg,
                         qPrintable(QString("Can't open \"%1\" to append").arg(missing)));
    csv.appendCsv(missing, {});
}

QTEST_MAIN(TestCsv)
#include "tst_csv.moc"
