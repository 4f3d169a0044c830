// Block rows and block sets: the coupling of Points and Delta, units, the "R"
// notation, origin and relative display.
#include "EntryText.h"
#include "OneBlock.h"
#include "OneBlocks.h"
#include "ScheduleTestEnv.h"

#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include <cmath>

class TestOneBlocks : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void setUpMakesRowsAtCopperEdge();
    void couplingSettles_data();
    void couplingSettles();
    void couplingThroughTheForm();
    void endRowRecomputesLastBlock();
    void innerStartRecomputesBothNeighbours();
    void relativeStartTyped_data();
    void relativeStartTyped();
    void keVStartTyped();
    void showBlocks();
    void outOfRangeCountIgnored();
    void degreesUnreachable();
    void degreesWidthNegative();
    void toRelToAbs();
    void setOriginKeepsOffsets();
    void setUnitKeepsPointsAndRecomputesDelta_data();
    void setUnitKeepsPointsAndRecomputesDelta();
    void setUnitSkipsBlockWithoutPoints();
    void setBlocksWithPointsAndDeltas();
    void setStartTextIgnoresUnit();
    void typedSignalsOnlyOnChange();
    void formBuiltWhenShown();

private:
    std::unique_ptr<OneBlocks> m_set;
};

void TestOneBlocks::initTestCase()
{
    QVERIFY(ScheduleTestEnv::setUp());
}

void TestOneBlocks::init()
{
    units().setD(3.13553);
    m_set = std::make_unique<OneBlocks>();
    m_set->setUp(10);
    m_set->setOrigin(8979);
    m_set->showBlocks(1);
}

void TestOneBlocks::setUpMakesRowsAtCopperEdge()
{
    OneBlocks set;
    set.setUp(10);
    QCOMPARE(set.rowCount(), 11);
    QCOMPARE(set.maxBlocks, 10);
    QCOMPARE(set.origin, xrayDataBase().edgeEnergy("Cu", "K"));
    QVERIFY(set.origin > 8000 && set.origin < 10000);
    QCOMPARE(set.row(0)->mode(), 0);
    QCOMPARE(set.row(5)->mode(), 1);
    QVERIFY(!set.row(11));
}

void TestOneBlocks::couplingSettles_data()
{
    QTest::addColumn<QString>("delta");
    QTest::addColumn<QString>("points");
    QTest::newRow("delta 0.3") << "0.3"
                               << "";
    QTest::newRow("delta 0.3 then points 4666") << "0.3"
                                                << "4666";
    QTest::newRow("points 4666") << ""
                                 << "4666";
}

// A block exactly 1400 eV wide settles at 4665 points of 0.300107.
void TestOneBlocks::couplingSettles()
{
    QFETCH(QString, delta);
    QFETCH(QString, points);
    m_set->row(0)->setStartText("8000");
    m_set->row(1)->setStartText("9400");
    QCOMPARE(m_set->width(0), 1400.0);
    if (!delta.isEmpty())
        m_set->row(0)->setDeltaTyped(delta);
    if (!points.isEmpty())
        m_set->row(0)->setPointsTyped(points);
    QCOMPARE(m_set->row(0)->pointsText(), QStringLiteral("4665"));
    QCOMPARE(m_set->row(0)->deltaText(), QStringLiteral("0.300107"));
}

void TestOneBlocks::couplingThroughTheForm()
{
    m_set->row(0)->setStartText("8000");
    m_set->row(1)->setStartText("9400");
    QLineEdit *d = m_set->row(0)->deltaEdit();
    d->setFocus();
    QTest::keyClicks(d, "0.3");
    QCOMPARE(m_set->row(0)->deltaText(), QStringLiteral("0.3"));
    QTest::keyClick(d, Qt::Key_Return);
    QCOMPARE(m_set->row(0)->pointsEdit()->text(), QStringLiteral("4665"));
    QCOMPARE(d->text(), QStringLiteral("0.300107"));
}

void TestOneBlocks::endRowRecomputesLastBlock()
{
    m_set->showBlocks(2);
    m_set->row(0)->setStartText("8000");
    m_set->row(1)->setStartText("8100");
    m_set->row(2)->setStartText("8300");
    m_set->row(0)->setPointsTyped("10");
    m_set->row(1)->setPointsTyped("100");
    QCOMPARE(m_set->row(1)->deltaText(), QStringLiteral("2"));
    QSignalSpy spy(m_set->row(2), &OneBlock::newStartPos);
    m_set->row(2)->setStartTyped("8500");
    QCOMPARE(spy.count(), 1);
    QCOMPARE(m_set->row(1)->pointsText(), QStringLiteral("100"));
    QCOMPARE(m_set->row(1)->deltaText(), QStringLiteral("4"));
    QCOMPARE(m_set->row(0)->deltaText(), QStringLiteral("10"));
}

void TestOneBlocks::innerStartRecomputesBothNeighbours()
{
    m_set->showBlocks(2);
    m_set->row(0)->setStartText("8000");
    m_set->row(1)->setStartText("8100");
    m_set->row(2)->setStartText("8300");
    m_set->row(0)->setPointsTyped("10");
    m_set->row(1)->setPointsTyped("100");
    m_set->row(1)->setStartTyped("8200");
    QCOMPARE(m_set->row(0)->deltaText(), QStringLiteral("20"));
    QCOMPARE(m_set->row(1)->deltaText(), QStringLiteral("1"));
}

void TestOneBlocks::relativeStartTyped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("pos");
    QTest::addColumn<QString>("shown");
    QTest::newRow("r-40") << "r-40" << 8939.0 << "R-40";
    QTest::newRow("R+1100") << "R+1100" << 10079.0 << "R1100";
    QTest::newRow("R1100") << "R1100" << 10079.0 << "R1100";
    QTest::newRow("absolute") << "8000" << 8000.0 << "8000";
}

void TestOneBlocks::relativeStartTyped()
{
    QFETCH(QString, typed);
    QFETCH(double, pos);
    QFETCH(QString, shown);
    OneBlock *r = m_set->row(0);
    r->startPosEdit()->setText(typed);
    r->startPosEdit()->setFocus();
    QTest::keyClick(r->startPosEdit(), Qt::Key_End);
    // an edit finished by the operator
    QTest::keyClick(r->startPosEdit(), Qt::Key_Space);
    QTest::keyClick(r->startPosEdit(), Qt::Key_Backspace);
    QTest::keyClick(r->startPosEdit(), Qt::Key_Return);
    QCOMPARE(r->pos, pos);
    QCOMPARE(r->startText(), shown);
    QCOMPARE(r->startPosEdit()->text(), shown);
}

void TestOneBlocks::keVStartTyped()
{
    m_set->setUnit(1);
    OneBlock *r = m_set->row(0);
    r->setStartTyped("9");
    QCOMPARE(r->pos, 9000.0);
    r->showNode();
    QCOMPARE(r->startText(), QStringLiteral("9"));
    QVERIFY(!r->isRel);
}

void TestOneBlocks::showBlocks()
{
    m_set->showBlocks(3);
    QCOMPARE(m_set->shown, 3);
    for (int i = 0; i <= 3; ++i)
        QVERIFY2(m_set->row(i)->isVisibleTo(m_set.get()), qPrintable(QString::number(i)));
    for (int i = 4; i <= 10; ++i)
        QVERIFY2(!m_set->row(i)->isVisibleTo(m_set.get()), qPrintable(QString::number(i)));
    QCOMPARE(m_set->row(3)->mode(), 2);
    QVERIFY(!m_set->row(3)->pointsEdit()->isEnabled());
    QVERIFY(!m_set->row(3)->deltaEdit()->isEnabled());
    QVERIFY(m_set->row(2)->pointsEdit()->isEnabled());
    QCOMPARE(m_set->width(3), 0.0);
    m_set->showBlocks(1);
    QCOMPARE(m_set->row(3)->mode(), 1);
    QVERIFY(m_set->row(3)->pointsEdit()->isEnabled());
}

void TestOneBlocks::outOfRangeCountIgnored()
{
    m_set->showBlocks(4);
    m_set->showBlocks(11);
    QCOMPARE(m_set->shown, 4);
    m_set->showBlocks(-1);
    QCOMPARE(m_set->shown, 4);
}

void TestOneBlocks::degreesUnreachable()
{
    m_set->row(0)->setStartText("1000");
    m_set->setUnit(3);
    QCOMPARE(m_set->row(0)->startText(), QStringLiteral("-1"));
}

void TestOneBlocks::degreesWidthNegative()
{
    m_set->row(0)->setStartText("8000");
    m_set->row(1)->setStartText("9000");
    m_set->setUnit(3);
    QVERIFY(m_set->width(0) < 0);
    QCOMPARE(m_set->width(0), fromEV(9000, 3) - fromEV(8000, 3));
}

void TestOneBlocks::toRelToAbs()
{
    m_set->showBlocks(2);
    m_set->row(0)->setStartText("8679");
    m_set->row(1)->setStartText("8939");
    m_set->row(2)->setStartText("10079");
    const QStringList before{m_set->row(0)->startText(), m_set->row(1)->startText(),
                             m_set->row(2)->startText()};
    m_set->setRelative(true);
    QCOMPARE(m_set->row(0)->startText(), QStringLiteral("R-300"));
    QCOMPARE(m_set->row(2)->startText(), QStringLiteral("R1100"));
    m_set->setRelative(false);
    QCOMPARE((QStringList{m_set->row(0)->startText(), m_set->row(1)->startText(),
                          m_set->row(2)->startText()}),
             before);
}

void TestOneBlocks::setOriginKeepsOffsets()
{
    m_set->row(0)->setStartText("R-300");
    m_set->row(1)->setStartText("9100");
    m_set->setOrigin(7112);
    QCOMPARE(m_set->origin, 7112.0);
    QCOMPARE(m_set->row(0)->pos, 6812.0);
    QCOMPARE(m_set->row(0)->startText(), QStringLiteral("R-300"));
    QCOMPARE(m_set->row(1)->pos, 9100.0 - 8979 + 7112);
    QCOMPARE(m_set->row(5)->origin, 7112.0);
}

void TestOneBlocks::setUnitKeepsPointsAndRecomputesDelta_data()
{
    QTest::addColumn<int>("unit");
    for (int u = 0; u < 4; ++u)
        QTest::newRow(qPrintable(Units::name(u))) << u;
}

void TestOneBlocks::setUnitKeepsPointsAndRecomputesDelta()
{
    QFETCH(int, unit);
    m_set->row(0)->setStartText("8000");
    m_set->row(1)->setStartText("9400");
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
    m_set->row(0)->setStartText("8000");
    m_set->row(1)->setStartText("9000");
    m_set->row(2)->setStartText("9400");
    m_set->row(0)->setDeltaTyped("10");
    m_set->row(0)->setPointsTyped("0");
    const QString kept = m_set->row(0)->deltaText();
    for (int u = 0; u < 4; ++u) {
        m_set->setUnit(u);
        QCOMPARE(m_set->row(0)->deltaText(), kept);
        QVERIFY(!m_set->row(0)->deltaText().contains("inf"));
        QVERIFY(!m_set->row(0)->deltaText().contains("nan"));
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
    QCOMPARE(m_set->row(0)->pointsText(), QStringLiteral("50"));
    // block 0 in keV: 0.1 keV over 50 points
    QCOMPARE(m_set->row(0)->deltaText(), QStringLiteral("0.002"));
    // block 1 got its Delta in eV terms before the unit came back
    QCOMPARE(m_set->row(1)->pointsText(), QStringLiteral("50"));
    QCOMPARE(m_set->row(1)->deltaText(), QStringLiteral("0.004"));
    // starts shown in keV
    QCOMPARE(m_set->row(0)->startText(), QStringLiteral("R-0.1"));
}

void TestOneBlocks::setStartTextIgnoresUnit()
{
    m_set->setUnit(1);
    m_set->row(0)->setStartText("9000");
    QCOMPARE(m_set->row(0)->pos, 9000.0);
    QCOMPARE(m_set->row(0)->startText(), QStringLiteral("9"));
}

void TestOneBlocks::typedSignalsOnlyOnChange()
{
    OneBlock *r = m_set->row(0);
    QSignalSpy points(r, &OneBlock::newPoints);
    QSignalSpy delta(r, &OneBlock::newDelta);
    QSignalSpy start(r, &OneBlock::newStartPos);
    r->setPointsTyped("12");
    r->setPointsTyped("12");
    QCOMPARE(points.count(), 1);
    r->setStartTyped("8000");
    r->setStartTyped("8000");
    QCOMPARE(start.count(), 1);
    r->setPoints(12);
    QCOMPARE(points.count(), 1);
    const int deltas = int(delta.count());
    r->setDelta(r->delta());
    QCOMPARE(int(delta.count()), deltas);
}

// Rows build their fields only when they are shown, with the values they
// already hold.
void TestOneBlocks::formBuiltWhenShown()
{
    OneBlocks set;
    set.setUp(10);
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
        QVERIFY(r->startPosEdit()->isVisible());
        QCOMPARE(r->startPosEdit()->text(), r->startText());
        QCOMPARE(r->pointsEdit()->text(), r->pointsText());
        QCOMPARE(r->deltaEdit()->text(), r->deltaText());
    }
    QCOMPARE(set.row(0)->startPosEdit()->text(), QStringLiteral("R-300"));
    QCOMPARE(set.row(0)->windowTitle(), QStringLiteral("One Block"));
    QCOMPARE(set.row(1)->pointsEdit()->text(), QStringLiteral("2280"));
    QVERIFY(set.row(0)->findChild<QLabel *>("Rem01")->isVisible());
    QVERIFY(!set.row(1)->findChild<QLabel *>("Rem01")->isVisible());
    QVERIFY(!set.row(2)->pointsEdit()->isEnabled());
    QVERIFY(!set.row(3)->hasForm());
    // values set while shown reach the fields at once
    set.row(0)->setPoints(20);
    QCOMPARE(set.row(0)->pointsEdit()->text(), QStringLiteral("20"));
    QCOMPARE(set.row(0)->deltaEdit()->text(), QStringLiteral("13"));
}

QTEST_MAIN(TestOneBlocks)
#include "tst_oneblocks.moc"
