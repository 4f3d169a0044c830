// Display units and the conversions between energy, wavelength and Bragg
// angle. Expected values come from the Bragg law worked out by hand or from
// relations between results, never from the code under test.
#include "Units.h"

#include <QtTest>

#include <cmath>

namespace {

constexpr double kStartD = 3.13553; // Si(111), the spacing before any crystal is chosen

bool near(double a, double b, double tolerance)
{
    return std::fabs(a - b) <= tolerance;
}

} // namespace

class TstUnits : public QObject
{
    Q_OBJECT

private slots:
    void init() { units().setD(kStartD); }
    void cleanupTestCase() { units().setD(kStartD); }

    void startingSpacing()
    {
        Units fresh;
        QCOMPARE(fresh.d(), kStartD);
    }

    void table_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("format");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("printed");
        QTest::newRow("eV") << 0 << QStringLiteral("eV") << QStringLiteral("% 8.2f") << 7112.0
                            << QStringLiteral(" 7112.00");
        QTest::newRow("eV rounds") << 0 << QStringLiteral("eV") << QStringLiteral("% 8.2f")
                                   << 12.345678 << QStringLiteral("   12.35");
        QTest::newRow("eV wider than 8") << 0 << QStringLiteral("eV") << QStringLiteral("% 8.2f")
                                         << 123456.0 << QStringLiteral(" 123456.00");
        QTest::newRow("keV") << 1 << QStringLiteral("keV") << QStringLiteral("% 8.5f") << 7.112
                             << QStringLiteral(" 7.11200");
        QTest::newRow("A") << 2 << QStringLiteral("A") << QStringLiteral("% 8.5f") << 1.7433
                           << QStringLiteral(" 1.74330");
        QTest::newRow("deg negative") << 3 << QStringLiteral("deg") << QStringLiteral("% 8.5f")
                                      << -1.0 << QStringLiteral("-1.00000");
        QTest::newRow("unknown 4") << 4 << QString() << QString() << 1.0 << QString();
        QTest::newRow("unknown -1") << -1 << QString() << QString() << 1.0 << QString();
    }
    void table()
    {
        QFETCH(int, unit);
        QFETCH(QString, name);
        QFETCH(QString, format);
        QFETCH(double, value);
        QFETCH(QString, printed);
        QCOMPARE(Units::name(unit), name);
        QCOMPARE(Units::format(unit), format);
        QCOMPARE(Units::print(value, unit), printed);
        QCOMPARE(Units::count(), 4);
    }

    void fromEV_data()
    {
        QTest::addColumn<double>("d");
        QTest::addColumn<double>("e");
        QTest::addColumn<int>("unit");
        QTest::addColumn<double>("expected");
        QTest::addColumn<double>("tolerance");
        QTest::newRow("eV") << kStartD << 7112.0 << 0 << 7112.0 << 0.0;
        QTest::newRow("keV") << kStartD << 7112.0 << 1 << 7.112 << 1e-12;
        // 12.398424 keV A / 12.398424 keV
        QTest::newRow("A at hc") << kStartD << 12398.424360742055 << 2 << 1.0 << 1e-12;
        QTest::newRow("A of Fe K") << kStartD << 7112.0 << 2 << 1.74331 << 1e-5;
        QTest::newRow("deg of Fe K") << kStartD << 7112.0 << 3 << 16.1405 << 5e-5;
        // lambda = 2d: sin = 1
        QTest::newRow("deg at 90") << 2.0 << 12398.424360742055 / 4 << 3 << 90.0 << 1e-9;
        // lambda = d: sin = 1/2
        QTest::newRow("deg at 30") << 2.0 << 12398.424360742055 / 2 << 3 << 30.0 << 1e-9;
        QTest::newRow("deg out of reach") << kStartD << 1000.0 << 3 << -1.0 << 0.0;
        QTest::newRow("deg of zero energy") << kStartD << 0.0 << 3 << -1.0 << 0.0;
        QTest::newRow("A of zero energy") << kStartD << 0.0 << 2 << -1.0 << 0.0;
        QTest::newRow("unit 4") << kStartD << 7112.0 << 4 << 0.0 << 0.0;
        QTest::newRow("unit -1") << kStartD << 7112.0 << -1 << 0.0 << 0.0;
    }
    void fromEV()
    {
        QFETCH(double, d);
        QFETCH(double, e);
        QFETCH(int, unit);
        QFETCH(double, expected);
        QFETCH(double, tolerance);
        units().setD(d);
        const double v = units().fromEV(e, unit);
        QVERIFY2(near(v, expected, tolerance), qPrintable(QString::number(v, 'g', 17)));
        QCOMPARE(::fromEV(e, unit), v);
    }

    void fourDecimals()
    {
        QCOMPARE(QString::number(units().fromEV(7112, 3), 'f', 4), QStringLiteral("16.1405"));
    }

    void toEV_data()
    {
        QTest::addColumn<double>("v");
        QTest::addColumn<int>("unit");
        QTest::addColumn<double>("expected");
        QTest::newRow("eV") << 7112.0 << 0 << 7112.0;
        QTest::newRow("keV") << 7.112 << 1 << 7112.0;
        QTest::newRow("A") << 1.0 << 2 << 12398.424360742055;
        QTest::newRow("deg 90") << 90.0 << 3 << 12398.424360742055 / (2 * kStartD);
        QTest::newRow("deg 30") << 30.0 << 3 << 12398.424360742055 / kStartD;
        QTest::newRow("zero wavelength") << 0.0 << 2 << -1.0;
        QTest::newRow("zero angle") << 0.0 << 3 << -1.0;
        QTest::newRow("unit 4") << 7112.0 << 4 << 0.0;
    }
    void toEV()
    {
        QFETCH(double, v);
        QFETCH(int, unit);
        QFETCH(double, expected);
        const double e = units().toEV(v, unit);
        QVERIFY2(near(e, expected, 1e-9 * std::fabs(expected)),
                 qPrintable(QString::number(e, 'g', 17)));
        QCOMPARE(::toEV(v, unit), e);
    }

    void roundTrip_data()
    {
        QTest::addColumn<double>("d");
        QTest::addColumn<double>("e");
        for (double d : {kStartD, 1.92015, 6.271})
            for (double e : {2100.0, 4000.0, 7112.0, 11564.0, 29999.5}) {
                if (12.398424360742055 / (e / 1000) > 2 * d)
                    continue; // the angle does not exist
                QTest::addRow("d %g, %g eV", d, e) << d << e;
            }
    }
    void roundTrip()
    {
        QFETCH(double, d);
        QFETCH(double, e);
        units().setD(d);
        for (int unit = 0; unit < Units::count(); ++unit) {
            const double v = units().fromEV(e, unit);
            QVERIFY2(v > 0, qPrintable(Units::name(unit)));
            QVERIFY2(near(units().toEV(v, unit), e, 1e-9 * e), qPrintable(Units::name(unit)));
        }
    }

    void angleFollowsSpacing()
    {
        // Bragg: d sin(theta) is fixed by the energy.
        const double e = 9000;
        const double a1 = units().fromEV(e, 3);
        units().setD(2 * kStartD);
        const double a2 = units().fromEV(e, 3);
        QVERIFY(a2 < a1);
        QVERIFY(near(2 * kStartD * std::sin(a2 * Units::pi / 180),
                     kStartD * std::sin(a1 * Units::pi / 180), 1e-12));
        // Energy and wavelength do not depend on the crystal.
        QCOMPARE(units().fromEV(e, 2), Units::hcKeVA / 9);
    }

    void setDIsASlot()
    {
        QVERIFY(QMetaObject::invokeMethod(&units(), "setD", Qt::DirectConnection,
                                          Q_ARG(double, 1.92015)));
        QCOMPARE(units().d(), 1.92015);
        QCOMPARE(&units(), &units());
    }
};

QTEST_GUILESS_MAIN(TstUnits)

#include "tst_units.moc"
