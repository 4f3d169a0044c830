// Text rules of entries (dwell times, start texts in each unit), block rows
// and block sets: the coupling of Points and Delta, units, the "R" notation,
// origin and relative display.
#include "EntryText.h"
#include "OneBlock.h"
#include "OneBlocks.h"
#include "ScheduleTestEnv.h"

#include <QLineEdit>
#include <QtTest>

#include <cmath>

class TestOneBlocks : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(ScheduleTestEnv::setUp()); }
    void init();
    void measTimeFor_data();
    void measTimeFor();
    void parseTypedStart_data();
    void parseTypedStart();
    void startTextRoundTrip_data();
    void startTextRoundTrip();
    void couplingSettles_data();
    void couplingSettles();
    void startMovesNeighbours_data();
    void startMovesNeighbours();
    void showBlocks();
    void degrees();
    void toRelToAbs();
    void setOriginKeepsOffsets();
    void setUnitKeepsPoints_data();
    void setUnitKeepsPoints();
    void setUnitSkipsBlockWithoutPoints();
    void setBlocksWithPointsAndDeltas();
    void formBuiltWhenShown();

private:
    void starts(const QStringList &texts)
    {
        for (int i = 0; i < texts.size(); ++i)
            m_set->row(i)->setStartText(texts.at(i));
    }
    std::unique_ptr<OneBlocks> m_set;
};

void TestOneBlocks::init()
{
    units().setD(3.13553);
    m_set = std::make_unique<OneBlocks>();
    m_set->setUp(10);
    m_set->setOrigin(8979);
    m_set->showBlocks(1);
}

void TestOneBlocks::couplingSettles_data()
{
    QTest::addColumn<QString>("delta");
    QTest::addColumn<QString>("points");
    QTest::addColumn<bool>("viaForm");
    QTest::newRow("delta 0.3") << "0.3"
                               << "" << false;
    QTest::newRow("delta 0.3 then points 4666") << "0.3"
                                                << "4666" << false;
    QTest::newRow("points 4666") << ""
                                 << "4666" << false;
    QTest::newRow("delta 0.3 typed in the form") << "0.3"
                                                 << "" << true;
}

// A block exactly 1400 eV wide settles at 4665 points of 0.300107.
void TestOneBlocks::couplingSettles()
{
    QFETCH(QString, delta);
    QFETCH(QString, points);
    QFETCH(bool, viaForm);
    starts({"8000", "9400"});
    OneBlock *r = m_set->row(0);
    if (viaForm) {
        r->deltaEdit()->setFocus();
        QTest::keyClicks(r->deltaEdit(), delta);
        QTest::keyClick(r->deltaEdit(), Qt::Key_Return);
        QCOMPARE(r->pointsEdit()->text(), QStringLiteral("4665"));
        QCOMPARE(r->deltaEdit()->text(), QStringLiteral("0.300107"));
    } else if (!delta.isEmpty()) {
        r->setDeltaTyped(delta);
    }
    if (!points.isEmpty())
        r->setPointsTyped(points);
    QCOMPARE(r->pointsText(), QStringLiteral("4665"));
    QCOMPARE(r->deltaText(), QStringLiteral("0.300107"));
}

void TestOneBlocks::startMovesNeighbours_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("deltas");
    QTest::newRow("end row") << 2 << "8500" << QStringList{"10", "4"};
    QTest::newRow("inner row") << 1 << "8200" << QStringList{"20", "1"};
}

// A typed start keeps the Points of the blocks on both sides and recomputes
// their Delta; the end row does so for the last block.
void TestOneBlocks::startMovesNeighbours()
{
    QFETCH(int, row);
    QFETCH(QString, typed);
    QFETCH(QStringList, deltas);
    m_set->showBlocks(2);
    starts({"8000", "8100", "8300"});
    m_set->row(0)->setPointsTyped("10");
    m_set->row(1)->setPointsTyped("100");
    QCOMPARE(m_set->row(1)->deltaText(), QStringLiteral("2"));
    QSignalSpy spy(m_set->row(row), &OneBlock::newStartPos);
    m_set->row(row)->setStartTyped(typed);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(m_set->row(1)->pointsText(), QStringLiteral("100"));
    QCOMPARE((QStringList{m_set->row(0)->deltaText(), m_set->row(1)->deltaText()}), deltas);
}

void TestOneBlocks::showBlocks()
{
    QCOMPARE(m_set->rowCount(), 11);
    m_set->showBlocks(3);
    for (int i = 0; i <= 10; ++i)
        QCOMPARE(m_set->row(i)->isVisibleTo(m_set.get()), i <= 3);
    QCOMPARE(m_set->row(3)->mode(), 2); // the end row: no Points, no Delta
    QVERIFY(!m_set->row(3)->pointsEdit()->isEnabled());
    QVERIFY(m_set->row(2)->pointsEdit()->isEnabled());
    QCOMPARE(m_set->width(3), 0.0);
    for (int bad : {11, -1})
        m_set->showBlocks(bad);
    QCOMPARE(m_set->shown, 3);
    m_set->showBlocks(1);
    QCOMPARE(m_set->row(3)->mode(), 1);
    QVERIFY(m_set->row(3)->pointsEdit()->isEnabled());
}

void TestOneBlocks::degrees()
{
    starts({"8000", "9000"});
    m_set->setUnit(3);
    QVERIFY(m_set->width(0) < 0); // angles fall as energy rises
    QCOMPARE(m_set->width(0), fromEV(9000, 3) - fromEV(8000, 3));
    m_set->row(0)->setStartText("1000"); // below the crystal's reach
    QCOMPARE(m_set->row(0)->startText(), QStringLiteral("-1"));
}

void TestOneBlocks::toRelToAbs()
{
    m_set->showBlocks(2);
    starts({"8679", "8939", "10079"});
    m_set->setRelative(true);
    QCOMPARE(m_set->row(0)->startText(), QStringLiteral("R-300"));
    QCOMPARE(m_set->row(2)->startText(), QStringLiteral("R1100"));
    m_set->setRelative(false);
    QCOMPARE((QStringList{m_set->row(0)->startText(), m_set->row(1)->startText(),
                          m_set->row(2)->startText()}),
             (QStringList{"8679", "8939", "10079"}));
}

void TestOneBlocks::setOriginKeepsOffsets()
{
    starts({"R-300", "9100"});
    m_set->setOrigin(7112);
    QCOMPARE(m_set->origin, 7112.0);
    QCOMPARE(m_set->row(0)->pos, 6812.0);
    QCOMPARE(m_set->row(0)->startText(), QStringLiteral("R-300"));
    QCOMPARE(m_set->row(1)->pos, 9100.0 - 8979 + 7112);
    QCOMPARE(m_set->row(5)->origin, 7112.0);
}

void TestOneBlocks::setUnitKeepsPoints_data()
{
    QTest::addColumn<int>("unit");
    for (int u = 0; u < 4; ++u)
        QTest::newRow(qPrintable(Units::name(u))) << u;
}

void TestOneBlocks::setUnitKeepsPoints()
{
    QFETCH(int, unit);
    starts({"8000", "9400"});
    m_set->row(0)->setPointsTyped("100");
    m_set->setUnit(unit);
    QCOMPARE(m_set->row(0)->pointsText(), QStringLiteral("100"));
    const double w = fromEV(9400, unit) - fromEV(8000, unit);
    QCOMPARE(m_set->row(0)->deltaText(), EntryText::g6(w / 100));
    QCOMPARE(m_set->row(1)->unit, unit);
}

// A block without points has no step width: its Delta must stay a number.
void TestOneBlocks::setUnitSkipsBlockWithoutPoints()
{
    m_set->showBlocks(2);
    starts({"8000", "9000", "9400"});
    m_set->row(0)->setDeltaTyped("10");
    m_set->row(0)->setPointsTyped("0");
    const QString kept = m_set->row(0)->deltaText();
    QVERIFY(!kept.contains("inf") && !kept.contains("nan"));
    for (int u = 0; u < 4; ++u) {
        m_set->setUnit(u);
        QCOMPARE(m_set->row(0)->deltaText(), kept);
    }
}

void TestOneBlocks::setBlocksWithPointsAndDeltas()
{
    m_set->setUnit(1);
    m_set->setBlocks(2, {"R-100", "R0", "R+200"}, {50}, {0, 4.0});
    QCOMPARE(m_set->unit, 1);
    QCOMPARE(m_set->shown, 2);
    QCOMPARE(m_set->row(0)->pos, 8879.0);
    QCOMPARE(m_set->row(2)->pos, 9179.0);
    QCOMPARE(m_set->row(0)->startText(), QStringLiteral("R-0.1"));
    QCOMPARE(m_set->row(0)->pointsText(), QStringLiteral("50"));
    QCOMPARE(m_set->row(0)->deltaText(), QStringLiteral("0.002")); // 0.1 keV over 50 points
    // block 1 got its Delta in eV terms before the unit came back
    QCOMPARE(m_set->row(1)->pointsText(), QStringLiteral("50"));
    QCOMPARE(m_set->row(1)->deltaText(), QStringLiteral("0.004"));
    // start texts given by the program are eV whatever the unit shown
    m_set->row(0)->setStartText("9000");
    QCOMPARE(m_set->row(0)->pos, 9000.0);
    QCOMPARE(m_set->row(0)->startText(), QStringLiteral("9"));
}

// Rows build their fields only when they are shown, with the values they
// already hold.
void TestOneBlocks::formBuiltWhenShown()
{
    OneBlocks set;
    set.setUp(10);
    QCOMPARE(set.origin, xrayDataBase().edgeEnergy("Cu", "K"));
    set.setOrigin(8979);
    set.showBlocks(2);
    set.setBlocks(2, {"R-300", "R-40", "R+1100"}, {40}, {0, 0.5});
    for (int i = 0; i <= 10; ++i)
        QVERIFY(!set.row(i)->hasForm());
    set.show();
    QVERIFY(QTest::qWaitForWindowExposed(&set, 10000));
    for (int i = 0; i <= 2; ++i) {
        OneBlock *r = set.row(i);
        QVERIFY(r->hasForm());
        QCOMPARE(r->startPosEdit()->text(), r->startText());
        QCOMPARE(r->pointsEdit()->text(), r->pointsText());
        QCOMPARE(r->deltaEdit()->text(), r->deltaText());
    }
    QCOMPARE(set.row(0)->startPosEdit()->text(), QStringLiteral("R-300"));
    QCOMPARE(set.row(1)->pointsEdit()->text(), QStringLiteral("2280"));
    QVERIFY(!set.row(3)->hasForm());
    set.row(0)->setPoints(20); // values set while shown reach the fields at once
    QCOMPARE(set.row(0)->pointsEdit()->text(), QStringLiteral("20"));
    QCOMPARE(set.row(0)->deltaEdit()->text(), QStringLiteral("13"));
}

void TestOneBlocks::measTimeFor_data()
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

void TestOneBlocks::measTimeFor()
{
    QFETCH(QString, text);
    QFETCH(QList<double>, times);
    for (int i = 0; i < times.size(); ++i)
        QCOMPARE(ScheduleEdit::measTimeFor(text, i), times.at(i));
    QCOMPARE(ScheduleEdit::measTimeFor(text, -1), times.at(0));
}

void TestOneBlocks::parseTypedStart_data()
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

void TestOneBlocks::parseTypedStart()
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

void TestOneBlocks::startTextRoundTrip_data()
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
void TestOneBlocks::startTextRoundTrip()
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

QTEST_MAIN(TestOneBlocks)
#include "tst_oneblocks.moc"
