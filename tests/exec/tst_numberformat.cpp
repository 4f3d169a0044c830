#include "NumberFormat.h"

#include <QLocale>
#include <QTest>

class TstNumberFormat : public QObject
{
    Q_OBJECT
private slots:
    void format_data();
    void format();
    void ignoresLocale();
};

void TstNumberFormat::format_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("integer") << 8779.0 << "8779";
    QTest::newRow("six digits") << 8.77912 << "8.77912";
    QTest::newRow("rounded to six") << 8.779123456 << "8.77912";
    QTest::newRow("small") << 0.00001 << "1e-05";
    QTest::newRow("keV") << 8.779 << "8.779";
    QTest::newRow("large") << 1234567.0 << "1.23457e+06";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative") << -300.5 << "-300.5";
    QTest::newRow("trailing zeros") << 10.0 << "10";
    QTest::newRow("tenth") << 0.1 << "0.1";
    QTest::newRow("minus one") << -1.0 << "-1";
}

void TstNumberFormat::format()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(formatG(value), text);
    // The same rule as QString::arg with a double and no precision.
    QCOMPARE(formatG(value), QStringLiteral("%1").arg(value));
}

void TstNumberFormat::ignoresLocale()
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString t = formatG(8.77912);
    QLocale::setDefault(before);
    QCOMPARE(t, QStringLiteral("8.77912"));
}

QTEST_GUILESS_MAIN(TstNumberFormat)
#include "tst_numberformat.moc"
