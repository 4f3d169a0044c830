// Text rules of entries: dwell times, start texts in each unit, number format.
#include "EntryText.h"
#include "Units.h"

#include <QtTest>

#include <cmath>

class TestEntryText : public QObject
{
    Q_OBJECT
private slots:
    void init() { units().setD(3.13553); }

    void measTimeFor_data();
    void measTimeFor();
    void g6_data();
    void g6();
    void parseTypedStart_data();
    void parseTypedStart();
    void relativeTextRoundTrip_data();
    void relativeTextRoundTrip();
    void absoluteTextRoundTrip_data();
    void absoluteTextRoundTrip();
};

void TestEntryText::measTimeFor_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("block");
    QTest::addColumn<double>("seconds");
    QTest::newRow("single") << "300" << 0 << 300.0;
    QTest::newRow("single, later block takes it") << "300" << 5 << 300.0;
    QTest::newRow("list 0") << "1, 1, 5, 10" << 0 << 1.0;
    QTest::newRow("list 2") << "1, 1, 5, 10" << 2 << 5.0;
    QTest::newRow("list 3") << "1, 1, 5, 10" << 3 << 10.0;
    QTest::newRow("past the end takes the last") << "1, 1, 5, 10" << 6 << 10.0;
    QTest::newRow("commas only") << "1,2,3" << 1 << 2.0;
    QTest::newRow("blanks only") << "1 2   3" << 2 << 3.0;
    QTest::newRow("tabs and commas") << " 4,\t7 ,8 " << 1 << 7.0;
    QTest::newRow("empty") << "" << 0 << 0.0;
    QTest::newRow("empty, later block") << "" << 3 << 0.0;
    QTest::newRow("not a number") << "abc, 2" << 0 << 0.0;
    QTest::newRow("fraction") << "0.5, 1.25" << 1 << 1.25;
    QTest::newRow("negative index reads the first") << "3, 4" << -1 << 3.0;
}

void TestEntryText::measTimeFor()
{
    QFETCH(QString, text);
    QFETCH(int, block);
    QFETCH(double, seconds);
    QCOMPARE(EntryText::measTimeFor(text, block), seconds);
}

void TestEntryText::g6_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("integer") << 8979.0 << "8979";
    QTest::newRow("six digits") << 1400.0 / 4665 << "0.300107";
    QTest::newRow("negative") << -300.0 << "-300";
    QTest::newRow("large") << 1e6 << "1e+06";
    QTest::newRow("rounded") << 8.9791234 << "8.97912";
}

void TestEntryText::g6()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(EntryText::g6(value), text);
}

void TestEntryText::parseTypedStart_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("unit");
    QTest::addColumn<double>("origin");
    QTest::addColumn<double>("pos");
    QTest::addColumn<bool>("relative");
    const double o = 8979;
    QTest::newRow("eV lower-case r") << "r-40" << 0 << o << 8939.0 << true;
    QTest::newRow("eV R+") << "R+1100" << 0 << o << 10079.0 << true;
    QTest::newRow("eV R without sign") << "R1100" << 0 << o << 10079.0 << true;
    QTest::newRow("eV absolute") << "8000" << 0 << o << 8000.0 << false;
    QTest::newRow("keV absolute") << "9" << 1 << o << 9000.0 << false;
    QTest::newRow("keV relative") << "R-0.04" << 1 << o << 8939.0 << true;
    QTest::newRow("A relative") << "R0.01" << 2 << o << toEV(fromEV(o, 2) + 0.01, 2) << true;
    QTest::newRow("A absolute") << "1.5" << 2 << o << toEV(1.5, 2) << false;
    QTest::newRow("deg relative") << "R-0.5" << 3 << o << toEV(fromEV(o, 3) - 0.5, 3) << true;
    QTest::newRow("deg absolute") << "14" << 3 << o << toEV(14, 3) << false;
    QTest::newRow("not a number") << "abc" << 0 << o << 0.0 << false;
    QTest::newRow("R alone") << "R" << 0 << o << o << true;
}

void TestEntryText::parseTypedStart()
{
    QFETCH(QString, text);
    QFETCH(int, unit);
    QFETCH(double, origin);
    QFETCH(double, pos);
    QFETCH(bool, relative);
    bool rel = !relative;
    const double got = EntryText::parseTypedStart(text, unit, origin, &rel);
    QVERIFY2(std::abs(got - pos) < 1e-6, qPrintable(QString::number(got, 'g', 12)));
    QCOMPARE(rel, relative);
}

void TestEntryText::relativeTextRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("unit");
    QTest::newRow("eV") << "R-300" << 0;
    QTest::newRow("keV") << "R1.1" << 1;
    QTest::newRow("A") << "R0.012" << 2;
    QTest::newRow("A negative") << "R-0.03" << 2;
    QTest::newRow("deg") << "R-0.75" << 3;
    QTest::newRow("deg positive") << "R0.2" << 3;
}

// A relative start shown in any unit and read back gives the same text and
// the same position (wavelength and angle included).
void TestEntryText::relativeTextRoundTrip()
{
    QFETCH(QString, text);
    QFETCH(int, unit);
    const double origin = 7112;
    bool rel = false;
    const double pos = EntryText::parseTypedStart(text, unit, origin, &rel);
    QVERIFY(rel);
    const QString shown = EntryText::startTextFor(pos, unit, origin, true);
    QCOMPARE(shown, text);
    const double again = EntryText::parseTypedStart(shown, unit, origin, &rel);
    QVERIFY(std::abs(again - pos) < 1e-6);
}

void TestEntryText::absoluteTextRoundTrip_data()
{
    QTest::addColumn<double>("pos");
    QTest::addColumn<int>("unit");
    QTest::newRow("eV") << 7000.0 << 0;
    QTest::newRow("keV") << 7000.0 << 1;
    QTest::newRow("A") << 7000.0 << 2;
    QTest::newRow("deg") << 7000.0 << 3;
}

void TestEntryText::absoluteTextRoundTrip()
{
    QFETCH(double, pos);
    QFETCH(int, unit);
    const QString shown = EntryText::startTextFor(pos, unit, 8979, false);
    QVERIFY(!shown.startsWith(QLatin1Char('R')));
    bool rel = true;
    const double back = EntryText::parseTypedStart(shown, unit, 8979, &rel);
    QVERIFY(!rel);
    // six significant digits of the shown value
    QVERIFY2(std::abs(back - pos) < 0.05, qPrintable(QString::number(back, 'g', 12)));
}

QTEST_GUILESS_MAIN(TestEntryText)
#include "tst_entrytext.moc"
