// Display units and the conversions between energy, wavelength and Bragg
// angle. Expected values come from the Bragg law worked out by hand or from
// relations between results, never from the code under test.
#include "Units.h"

#include <QtTest>

#include <cmath>

namespace {
constexpr double kStartD = 3.13553;        // Si(111), the spacing before any crystal is chosen
constexpr double kHc = 12398.424360742055; // eV A
} // namespace

class TstUnits : public QObject
{
    Q_OBJECT

private slots:
    void init() { units().setD(kStartD); }
    void cleanupTestCase() { units().setD(kStartD); }

    void table_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("format");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("printed");
        QTest::newRow("eV") << 0 << "eV"
                            << "% 8.2f" << 12.345678 << "   12.35";
        QTest::newRow("eV wider than 8") << 0 << "eV"
                                         << "% 8.2f" << 123456.0 << " 123456.00";
        QTest::newRow("keV") << 1 << "keV"
                             << "% 8.5f" << 7.112 << " 7.11200";
        QTest::newRow("A") << 2 << "A"
                           << "% 8.5f" << 1.7433 << " 1.74330";
        QTest::newRow("deg negative") << 3 << "deg"
                                      << "% 8.5f" << -1.0 << "-1.00000";
        QTest::newRow("unknown 4") << 4 << ""
                                   << "" << 1.0 << "";
        QTest::newRow("unknown -1") << -1 << ""
                                    << "" << 1.0 << "";
    }
    void table()
    {
        QFETCH(int, unit);
        QFETCH(double, value);
        QTEST(Units::name(unit), "name");
        QTEST(Units::format(unit), "format");
        QTEST(Units::print(value, unit), "printed");
        QCOMPARE(Units::count(), 4);
        QCOMPARE(Units().d(), kStartD);
    }

    // Both directions where the pair is a valid one; -1 and 0 mark no value.
    void conversions_data()
    {
        QTest::addColumn<double>("d");
        QTest::addColumn<int>("unit");
        QTest::addColumn<double>("e");
        QTest::addColumn<double>("v");
        QTest::addColumn<double>("tolerance"); // of v; toEV is checked when it is exact
        QTest::newRow("eV") << kStartD << 0 << 7112.0 << 7112.0 << 0.0;
        QTest::newRow("keV") << kStartD << 1 << 7112.0 << 7.112 << 1e-12;
        QTest::newRow("A at hc") << kStartD << 2 << kHc << 1.0 << 1e-12;
        QTest::newRow("A of Fe K") << kStartD << 2 << 7112.0 << 1.74331 << 1e-5;
        QTest::newRow("deg of Fe K") << kStartD << 3 << 7112.0 << 16.1405 << 5e-5;
        QTest::newRow("deg at 90: lambda = 2d") << 2.0 << 3 << kHc / 4 << 90.0 << 1e-9;
        QTest::newRow("deg at 30: lambda = d") << 2.0 << 3 << kHc / 2 << 30.0 << 1e-9;
        QTest::newRow("deg at 30, Si(111)") << kStartD << 3 << kHc / kStartD << 30.0 << 1e-9;
        QTest::newRow("deg out of reach") << kStartD << 3 << 1000.0 << -1.0 << 0.0;
        QTest::newRow("deg of zero energy") << kStartD << 3 << 0.0 << -1.0 << 0.0;
        QTest::newRow("A of zero energy") << kStartD << 2 << 0.0 << -1.0 << 0.0;
        QTest::newRow("zero wavelength") << kStartD << 2 << -1.0 << 0.0 << 0.0;
        QTest::newRow("zero angle") << kStartD << 3 << -1.0 << 0.0 << 0.0;
        QTest::newRow("unit 4") << kStartD << 4 << 7112.0 << 0.0 << 0.0;
        QTest::newRow("unit -1") << kStartD << -1 << 7112.0 << 0.0 << 0.0;
    }
    void conversions()
    {
        QFETCH(double, d);
        QFETCH(int, unit);
        QFETCH(double, e);
        QFETCH(double, v);
        QFETCH(double, tolerance);
        units().setD(d);
        if (e >= 0) {
            const double got = units().fromEV(e, unit);
            QVERIFY2(std::fabs(got - v) <= tolerance, qPrintable(QString::number(got, 'g', 17)));
            QCOMPARE(::fromEV(e, unit), got);
        }
        if (v >= 0 && unit >= 0 && unit < Units::count() && tolerance <= 1e-9) {
            const double got = units().toEV(v, unit);
            QVERIFY2(std::fabs(got - e) <= 1e-9 * std::fabs(e),
                     qPrintable(QString::number(got, 'g', 17)));
            QCOMPARE(::toEV(v, unit), got);
        }
    }

    void roundTrip_data()
    {
        QTest::addColumn<double>("d");
        QTest::addColumn<double>("e");
        for (double d : {kStartD, 1.92015, 6.271})
            for (double e : {2100.0, 4000.0, 7112.0, 11564.0, 29999.5}) {
                if (kHc / e > 2 * d)
                    continue; // the angle does not exist
                QTest::addRow("d %g, %g eV", d, e) << d << e;
            }
    }
    void roundTrip()
    {
        QFETCH(double, d);
        QFETCH(double, e);
        QVERIFY(QMetaObject::invokeMethod(&units(), "setD", Qt::DirectConnection,
                                          Q_ARG(double, d))); // a slot, for the crystal choice
        QCOMPARE(units().d(), d);
        for (int unit = 0; unit < Units::count(); ++unit) {
            const double v = units().fromEV(e, unit);
            QVERIFY2(v > 0, qPrintable(Units::name(unit)));
            QVERIFY2(std::fabs(units().toEV(v, unit) - e) <= 1e-9 * e,
                     qPrintable(Units::name(unit)));
        }
    }
};

QTEST_GUILESS_MAIN(TstUnits)

#include "tst_units.moc"
