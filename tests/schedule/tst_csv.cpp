// Files: the schedule file (quoting, splitting, writing and reading entries,
// the shipped example) and block-definition files (writing, reading in every
// unit, 9809 recognition, missing lines).
#include "Csv.h"
#include "EntryText.h"
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
    void init() { units().setD(3.13553); }
    void cleanup() { qDeleteAll(std::exchange(m_made, {})); }
    void quote_data();
    void quote();
    void readCsvLine_data();
    void readCsvLine();
    void lineBreaksBecomeBlanks();
    void writeThenReadFieldForField();
    void commentLinesAndTargetError();
    void demoSchedule();
    void writtenLines();
    void saveThenLoad_data();
    void saveThenLoad();
    void is9809_data();
    void is9809();
    void readLines_data();
    void readLines();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
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

void TestCsv::writtenLines()
{
    ScheduleEdit e;
    e.saveBlockFile(path("new")); // ".prm" is added when the name has no suffix
    QFile f(path("new.prm"));
    QVERIFY(f.open(QIODevice::ReadOnly | QIODevice::Text));
    const double cu = e.targetEdgeEnergy();
    auto g = [cu](double offset) { return EntryText::g6(cu + offset); };
    QCOMPARE(QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts),
             (QStringList{"N 1", "U 0", "B 0 " + g(-300) + " 4665 300", "B 1 " + g(1100) + " 0 0",
                          "QN 1", "QB 0 " + g(-300) + " 4665 300", "QB 1 " + g(1100) + " 0 0",
                          "SN 4", "SB 0 " + g(-300) + " 40 1", "SB 1 " + g(-40) + " 300 1",
                          "SB 2 " + g(50) + " 180 1", "SB 3 " + g(500) + " 100 1",
                          "SB 4 " + g(1100) + " 0 0"}));
}

void TestCsv::saveThenLoad_data()
{
    QTest::addColumn<int>("unit");
    for (int u = 0; u < 4; ++u)
        QTest::newRow(qPrintable(Units::name(u))) << u;
}

// Saved in any unit and loaded again, the blocks are where they were.
void TestCsv::saveThenLoad()
{
    QFETCH(int, unit);
    ScheduleEdit a;
    QVERIFY(ScheduleTestEnv::read(
        a, ScheduleTestEnv::entryFields("Fe", "K", "User", "Step", 3, "eV",
                                        {"6900", "30", "", "7080", "120", "", "R40", "60", ""})));
    a.ui.MeasTimes->setText("2, 4, 8");
    a.ui.BlockUnit->setCurrentIndex(unit);
    const QString file = path(QString("unit%1.prm").arg(unit));
    a.saveBlockFile(file);

    ScheduleEdit b;
    b.ui.TargetElm->setText("Fe");
    b.newTargetSelected();
    b.ui.ScanType->setCurrentIndex(1);
    b.ui.BlockUnit->setCurrentIndex(unit);
    b.loadBlockFile(file);
    QCOMPARE(b.stepBlockCount, 3);
    QCOMPARE(b.stepTimes, QStringLiteral("2, 4, 8"));
    QCOMPARE(b.ui.MeasTimes->text(), QStringLiteral("1,1,1,1")); // the shown text stays
    QCOMPARE(b.stepBlocks->unit, unit);
    for (int i = 0; i <= 3; ++i) {
        const double want = a.stepBlocks->row(i)->pos;
        const double got = b.stepBlocks->row(i)->pos;
        QVERIFY2(std::abs(got - want) < 0.05, qPrintable(QString("row %1: %2").arg(i).arg(got)));
        QCOMPARE(EntryText::g6(b.stepBlocks->row(i)->displayValue()),
                 EntryText::g6(a.stepBlocks->row(i)->displayValue()));
        if (i < 3)
            QCOMPARE(b.stepBlocks->row(i)->pointsText(), a.stepBlocks->row(i)->pointsText());
    }
    QVERIFY(std::abs(b.quickBlocks->row(0)->pos - a.quickBlocks->row(0)->pos) < 0.05);
}

void TestCsv::is9809_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("result");
    QTest::newRow("prm") << QByteArray("N 1\nU 0\n") << 0;
    QTest::newRow("9809 at start")
        << QByteArray("9809\nQN 3\nQB 0 5000 10 1\nQB 1 6000 0 0\n") << 1;
    QTest::newRow("9809 inside first line") << QByteArray("  format x9809y\nQN 2\n") << 1;
    QTest::newRow("9809 on second line only") << QByteArray("head\n9809\n") << 0;
    QTest::newRow("no file") << QByteArray() << 2;
}

// Only a ".prm" file is read; a 9809 file or a missing one changes nothing.
void TestCsv::is9809()
{
    QFETCH(QByteArray, content);
    QFETCH(int, result);
    const QString file = path(QString("r%1.dat").arg(QTest::currentDataTag()).replace(' ', '_'));
    if (result != 2)
        QVERIFY(ScheduleTestEnv::writeText(file, content));
    QCOMPARE(ScheduleEdit::is9809(file), result);
    ScheduleEdit e;
    const QStringList before = e.toStringList();
    e.blockFileSelected(file);
    QCOMPARE(e.ui.BlockDefFile->text(), file);
    if (result != 0) {
        QCOMPARE(e.quickBlockCount, 1);
        QCOMPARE(e.toStringList().mid(15), before.mid(15));
    }
}

void TestCsv::readLines_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("quickCount"); // before: 3
    QTest::addColumn<int>("stepCount");  // before: 2
    QTest::addColumn<QString>("stepTimes");
    QTest::addColumn<double>("offset"); // quick row 0 from the copper edge; 1 unchecked
    QTest::addColumn<QString>("text");  // quick row 0 shown in keV
    const double cu = xrayDataBase().edgeEnergy("Cu", "K");
    const QByteArray q = "QN 1\nQB 0 7000 10 1\nQB 1 7100 0 0\n";
    QTest::newRow("unit without value") << "U\n" + q << 1 << 2 << "" << 7000 - cu << "7";
    QTest::newRow("unknown unit") << "U 9\n" + q << 1 << 2 << "" << 7000 - cu << "7";
    QTest::newRow("keV file") << QByteArray("U 1\nQN 1\nQB 0 7 10 1\nQB 1 7.1 0 0\n") << 1 << 2
                              << "" << 7000 - cu << "7";
    QTest::newRow("relative start stays an offset")
        << QByteArray("U 1\nQN 1\nQB 0 R-100 10 1\nQB 1 9.5 0 0\n") << 1 << 2 << "" << -100.0
        << "R-0.1";
    QTest::newRow("counts without value") << QByteArray("QN\nSN x\n") << 1 << 0 << "" << 1.0 << "";
    QTest::newRow("counts out of range")
        << QByteArray("QN 50\nSN -4\n") << 3 << 2 << "" << 1.0 << "";
    QTest::newRow("only N and B lines")
        << QByteArray("N 3\nB 0 1000 5 1\nB 1 2000 5 1\nB 2 3000 0 0\n") << 3 << 2 << "" << -300.0
        << "R-0.3";
    QTest::newRow("times joined")
        << QByteArray("SN 2\nSB 0 7000 10 1\nSB   1\t7100  20 5\nSB 2 7300 0 0\n") << 3 << 2
        << "1, 5" << -300.0 << "R-0.3";
}

void TestCsv::readLines()
{
    QFETCH(QByteArray, content);
    QFETCH(int, quickCount);
    QFETCH(int, stepCount);
    QFETCH(QString, stepTimes);
    QFETCH(double, offset);
    QFETCH(QString, text);
    ScheduleEdit e;
    e.ui.BlockUnit->setCurrentIndex(1);
    e.quickBlockCount = 3;
    e.stepBlockCount = 2;
    const QString file = path(QString("%1.prm").arg(QTest::currentDataTag()).replace(' ', '_'));
    QVERIFY(ScheduleTestEnv::writeText(file, content));
    e.loadBlockFile(file);
    QCOMPARE(e.quickBlockCount, quickCount);
    QCOMPARE(e.stepBlockCount, stepCount);
    QCOMPARE(e.stepTimes, stepTimes);
    if (offset != 1.0) {
        QVERIFY(std::abs(e.quickBlocks->row(0)->pos - e.targetEdgeEnergy() - offset) < 1e-6);
        QCOMPARE(e.quickBlocks->row(0)->startText(), text);
    }
    if (stepTimes == "1, 5") {
        QCOMPARE(e.stepBlocks->row(1)->deltaText(), QStringLiteral("0.01")); // keV
        QCOMPARE(e.stepBlocks->row(2)->pos, 7300.0);
    }
}

QTEST_MAIN(TestCsv)
#include "tst_csv.moc"
