// Text rules of entries: dwell times, start texts in each unit, number format.
#include "EntryText.h"
#include "ScheduleEdit.h"
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
    void parseTypedStart_data();
    void parseTypedStart();
    void startTextRoundTrip_data();
    void startTextRoundTrip();
};

void TestEntryText::measTimeFor_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<double>>("times");
    QTest::newRow("list, last repeats") << "1, 1, 5, 10" << QList<double>{1, 1, 5, 10, 10, 10};
    QTest::newRow("single") << "300" << QList<double>{300, 300};
    QTest::newRow("empty") << "" << QList<double>{0, 0, 0};
    QTest::newRow("blanks only") << "1 2   3" << QList<double>{1, 2, 3};
    QTest::newRow("not a number") << "abc, 2" << QList<double>{0, 2};
    QTest::newRow("fractions") << "0.5, 1.25" << QList<double>{0.5, 1.25};
}

void TestEntryText::measTimeFor()
{
    QFETCH(QString, text);
    QFETCH(QList<double>, times);
    for (int i = 0; i < times.size(); ++i)
        QCOMPARE(ScheduleEdit::measTimeFor(text, i), times.at(i));
    QCOMPARE(ScheduleEdit::measTimeFor(text, -1), times.at(0));
}

void TestEntryText::parseTypedStart_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("unit");
    QTest::addColumn<double>("pos");
    QTest::addColumn<bool>("relative");
    const double o = 8979;
    QTest::newRow("eV lower-case r") << "r-40" << 0 << 8939.0 << true;
    QTest::newRow("eV R+") << "R+1100" << 0 << 10079.0 << true;
    QTest::newRow("eV R without sign") << "R1100" << 0 << 10079.0 << true;
    QTest::newRow("eV absolute") << "8000" << 0 << 8000.0 << false;
    QTest::newRow("keV absolute") << "9" << 1 << 9000.0 << false;
    QTest::newRow("keV relative") << "R-0.04" << 1 << 8939.0 << true;
    QTest::newRow("A relative") << "R0.01" << 2 << toEV(fromEV(o, 2) + 0.01, 2) << true;
    QTest::newRow("A absolute") << "1.5" << 2 << toEV(1.5, 2) << false;
    QTest::newRow("deg relative") << "R-0.5" << 3 << toEV(fromEV(o, 3) - 0.5, 3) << true;
    QTest::newRow("deg absolute") << "14" << 3 << toEV(14, 3) << false;
    QTest::newRow("not a number") << "abc" << 0 << 0.0 << false;
    QTest::newRow("R alone") << "R" << 0 << o << true;
}

void TestEntryText::parseTypedStart()
{
    QFETCH(QString, text);
    QFETCH(int, unit);
    QFETCH(double, pos);
    QFETCH(bool, relative);
    bool rel = !relative;
    const double got = EntryText::parseTypedStart(text, unit, 8979, &rel);
    QVERIFY2(std::abs(got - pos) < 1e-6, qPrintable(QString::number(got, 'g', 12)));
    QCOMPARE(rel, relative);
}

void TestEntryText::startTextRoundTrip_data()
{
    QTest::addColumn<QString>("text"); // a relative text, or empty for 7000 eV absolute
    QTest::addColumn<int>("unit");
    QTest::newRow("eV relative") << "R-300" << 0;
    QTest::newRow("keV relative") << "R1.1" << 1;
    QTest::newRow("A relative") << "R0.012" << 2;
    QTest::newRow("A relative negative") << "R-0.03" << 2;
    QTest::newRow("deg relative") << "R-0.75" << 3;
    QTest::newRow("deg relative positive") << "R0.2" << 3;
    for (int u = 0; u < 4; ++u)
        QTest::newRow(qPrintable(Units::name(u) + " absolute")) << QString() << u;
}

// A start shown in any unit and read back gives the same text and position
// (wavelength and angle included); absolute texts keep six digits.
void TestEntryText::startTextRoundTrip()
{
    QFETCH(QString, text);
    QFETCH(int, unit);
    const double origin = 7112;
    const bool relative = !text.isEmpty();
    bool rel = false;
    const double pos = relative ? EntryText::parseTypedStart(text, unit, origin, &rel) : 7000.0;
    QCOMPARE(rel, relative);
    const QString shown = EntryText::startTextFor(pos, unit, origin, relative);
    if (relative)
        QCOMPARE(shown, text);
    QCOMPARE(shown.startsWith(QLatin1Char('R')), relative);
    rel = !relative;
    const double back = EntryText::parseTypedStart(shown, unit, origin, &rel);
    QCOMPARE(rel, relative);
    QVERIFY2(std::abs(back - pos) < (relative ? 1e-6 : 0.05), qPrintable(QString::number(back)));
}

QTEST_GUILESS_MAIN(TestEntryText)
#include "tst_entrytext.moc"
