// Conversions between energy, wavelength and Bragg angle with an explicit
// lattice spacing. Expected values come from the Bragg
// law worked out by hand, never from the code under test.
#include "Units.h"

#include <QtTest>

#include <cmath>

namespace {
constexpr double kSi111 = 3.13553;
constexpr double kHc = 12398.41984; // eV A
} // namespace

class TstUnits : public QObject
{
    Q_OBJECT

private slots:
    // Both directions where the pair is a valid one; -1 and 0 mark no value.
    void conversions_data()
    {
        QTest::addColumn<double>("d");
        QTest::addColumn<int>("unit");
        QTest::addColumn<double>("e");
        QTest::addColumn<double>("v");
        QTest::addColumn<double>("tolerance"); // of v
        const double sqrt3 = std::sqrt(3.0);
        QTest::newRow("eV") << kSi111 << 0 << 7112.0 << 7112.0 << 0.0;
        QTest::newRow("keV") << kSi111 << 1 << 7112.0 << 7.112 << 1e-12;
        QTest::newRow("A at hc") << kSi111 << 2 << kHc << 1.0 << 1e-6;
        QTest::newRow("deg at 30: lambda = d") << 2.0 << 3 << kHc / 2 << 30.0 << 1e-4;
        QTest::newRow("deg at 30, Si(111)") << kSi111 << 3 << kHc / kSi111 << 30.0 << 1e-4;
        QTest::newRow("deg at 60, d 1.2") << 1.2 << 3 << kHc / (1.2 * sqrt3) << 60.0 << 1e-4;
        QTest::newRow("deg out of reach") << kSi111 << 3 << 1000.0 << -1.0 << 0.0;
        QTest::newRow("deg out of reach, small d") << 1.2 << 3 << 5000.0 << -1.0 << 0.0;
        QTest::newRow("deg of zero energy") << kSi111 << 3 << 0.0 << -1.0 << 0.0;
        QTest::newRow("A of zero energy") << kSi111 << 2 << 0.0 << -1.0 << 0.0;
        QTest::newRow("zero wavelength") << kSi111 << 2 << -1.0 << 0.0 << 0.0;
        QTest::newRow("zero angle") << kSi111 << 3 << -1.0 << 0.0 << 0.0;
        QTest::newRow("unit 4") << kSi111 << 4 << 7112.0 << 0.0 << 0.0;
        QTest::newRow("unit -1") << kSi111 << -1 << 7112.0 << 0.0 << 0.0;
    }
    void conversions()
    {
        QFETCH(double, d);
        QFETCH(int, unit);
        QFETCH(double, e);
        QFETCH(double, v);
        QFETCH(double, tolerance);
        if (e >= 0) {
            const double got = Units::fromEV(e, unit, d);
            QVERIFY2(std::fabs(got - v) <= tolerance, qPrintable(QString::number(got, 'g', 17)));
        }
        if (v >= 0 && unit >= 0 && unit < Units::count()) {
            const double got = Units::toEV(v, unit, d);
            QVERIFY2(std::fabs(got - e) <= 1e-6 * std::fabs(e) || (e < 0 && got == -1),
                     qPrintable(QString::number(got, 'g', 17)));
        }
    }
};

QTEST_GUILESS_MAIN(TstUnits)

#include "tst_units.moc"
