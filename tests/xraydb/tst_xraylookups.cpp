// Element, edge and energy look-ups on a small table written here, with the
// crystal table (whose largest energy bounds the automatic edge) set per case.
#include "OptionTables.h"
#include "XrayDataBase.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Tagged edges on fields 3, 7, 11, 15 as in the shipped table (keV).
const char kTable[] = "#,Test table\n"
                      "#,IDLINE,#,AE-K,#,#,#,AE-L1,#,#,#,AE-L2,#,#,#,AE-L3\n"
                      "H,1,1.0079,=,1,2,3\n"
                      "Fe,26,55.847,7.11326288,1,2,3,0.8461,1,2,3,0.7211,1,2,3,0.7081\n"
                      "Pt,78,195.08,78.395,1,2,3,13.88,1,2,3,13.273,1,2,3,11.564\n"
                      // L2 and L3 at the same energy, L1 missing.
                      "Tt,90,1,40,1,2,3,=,1,2,3,5,1,2,3,5\n";

} // namespace

class TstXrayLookups : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    XrayDataBase m_db;

    static void setMaxEnergy(double eV)
    {
        crystalTable().clear();
        if (eV > 0)
            crystalTable().build({QStringLiteral("Low 6.2 1000 %1").arg(eV / 2, 0, 'g', 17),
                                  QStringLiteral("High 3.1 2000 %1").arg(eV, 0, 'g', 17)});
        QCOMPARE(crystalTable().maxEnergy(), eV);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString path = m_dir.filePath(QStringLiteral("table.txt"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(kTable);
        f.close();
        QVERIFY(m_db.load(path));
        QVERIFY(m_db.diagnostics().isEmpty());
    }
    void cleanupTestCase() { crystalTable().clear(); }

    void elementFor_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("z");
        QTest::addColumn<QString>("symbol");
        QTest::newRow("symbol") << QStringLiteral("Fe") << 26 << QStringLiteral("Fe");
        QTest::newRow("number") << QStringLiteral("26") << 26 << QStringLiteral("Fe");
        QTest::newRow("number with blanks") << QStringLiteral(" 78 ") << 78 << QStringLiteral("Pt");
        QTest::newRow("symbol case matters") << QStringLiteral("fe") << 0 << QString();
        QTest::newRow("symbol with blank") << QStringLiteral("Fe ") << 0 << QString();
        QTest::newRow("empty") << QString() << 0 << QString();
        QTest::newRow("unknown symbol") << QStringLiteral("Xx") << 0 << QString();
        QTest::newRow("number not stored") << QStringLiteral("200") << -1 << QString();
        QTest::newRow("zero") << QStringLiteral("0") << 0 << QString();
        QTest::newRow("negative") << QStringLiteral("-26") << 0 << QString();
        QTest::newRow("number and text") << QStringLiteral("26Fe") << 0 << QString();
        QTest::newRow("hexadecimal") << QStringLiteral("0x1a") << 0 << QString();
        QTest::newRow("decimal point") << QStringLiteral("26.0") << 0 << QString();
    }
    void elementFor()
    {
        QFETCH(QString, target);
        QFETCH(int, z);
        QFETCH(QString, symbol);
        const aAtom a = m_db.elementFor(target);
        QCOMPARE(a.z, z);
        QCOMPARE(a.symbol, symbol);
    }

    void elementByZ_data()
    {
        QTest::addColumn<int>("z");
        QTest::addColumn<QString>("symbol");
        QTest::addColumn<int>("storedZ");
        QTest::newRow("stored") << 78 << QStringLiteral("Pt") << 78;
        QTest::newRow("placeholder") << 0 << QString() << 0;
        QTest::newRow("not stored") << 27 << QString() << -1;
        QTest::newRow("negative") << -1 << QString() << -1;
    }
    void elementByZ()
    {
        QFETCH(int, z);
        QFETCH(QString, symbol);
        QFETCH(int, storedZ);
        const aAtom a = m_db.elementByZ(z);
        QCOMPARE(a.symbol, symbol);
        QCOMPARE(a.z, storedZ);
        if (storedZ < 0) { // the empty element
            QCOMPARE(a.weight, -1.0);
            QCOMPARE(a.edges[0].energy, -1.0);
        }
    }

    void zFor_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("z");
        QTest::newRow("symbol") << QStringLiteral("Fe") << 26;
        QTest::newRow("number") << QStringLiteral("78") << 78;
        QTest::newRow("lower-case symbol") << QStringLiteral("fe") << 0;
        QTest::newRow("unknown symbol") << QStringLiteral("Xx") << 0;
        QTest::newRow("number not stored") << QStringLiteral("200") << -1;
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("zero") << QStringLiteral("0") << 0;
        QTest::newRow("negative") << QStringLiteral("-3") << -1;
    }
    void zFor()
    {
        QFETCH(QString, target);
        QFETCH(int, z);
        QCOMPARE(m_db.zFor(target), z);
    }

    void emptyDataBase()
    {
        // Before loading there is not even the placeholder.
        XrayDataBase db;
        QCOMPARE(db.elementFor(QString()).z, -1);
        QCOMPARE(db.zFor(QStringLiteral("Fe")), -1);
        QCOMPARE(db.edgeName(0), QStringLiteral("K"));
        setMaxEnergy(30000);
        QCOMPARE(db.edgeEnergy(QStringLiteral("Fe"), QStringLiteral("K")), -1000.0);
    }

    void edgeName_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("name");
        QTest::newRow("0") << 0 << QStringLiteral("K");
        QTest::newRow("1") << 1 << QStringLiteral("L1");
        QTest::newRow("2") << 2 << QStringLiteral("L2");
        QTest::newRow("3") << 3 << QStringLiteral("L3");
        QTest::newRow("4 has no name") << 4 << QString();
        QTest::newRow("-1") << -1 << QString();
    }
    void edgeName()
    {
        QFETCH(int, index);
        QFETCH(QString, name);
        QCOMPARE(m_db.edgeName(index), name);
        if (!name.isEmpty())
            QCOMPARE(m_db.edgeIndexFor(name, QStringLiteral("Fe")), index);
    }

    void autoEdge_data()
    {
        QTest::addColumn<double>("maxEnergy");
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("edge");
        QTest::newRow("Fe, K reachable") << 30000.0 << QStringLiteral("Fe") << 0;
        QTest::newRow("Pt, K out of reach: highest L") << 30000.0 << QStringLiteral("Pt") << 1;
        QTest::newRow("Pt, L1 out of reach") << 13500.0 << QStringLiteral("Pt") << 2;
        QTest::newRow("Pt, only L3 reachable") << 12000.0 << QStringLiteral("Pt") << 3;
        QTest::newRow("edge at the limit is out") << 7.11326288 * 1000 << QStringLiteral("Fe") << 1;
        QTest::newRow("Fe below every edge") << 500.0 << QStringLiteral("Fe") << 0;
        QTest::newRow("empty crystal table") << 0.0 << QStringLiteral("Fe") << 0;
        QTest::newRow("tie keeps the earlier edge") << 30000.0 << QStringLiteral("Tt") << 2;
        QTest::newRow("by number") << 30000.0 << QStringLiteral("78") << 1;
        QTest::newRow("not stored") << 30000.0 << QStringLiteral("Xx") << 0;
        QTest::newRow("no tagged edge") << 30000.0 << QStringLiteral("H") << 0;
    }
    void autoEdge()
    {
        QFETCH(double, maxEnergy);
        QFETCH(QString, target);
        QFETCH(int, edge);
        setMaxEnergy(maxEnergy);
        QCOMPARE(m_db.autoEdge(target), edge);
        // Any text that is no edge name falls back to the automatic choice.
        for (const QString &text : {QString(), QStringLiteral("k"), QStringLiteral("M1"),
                                    QStringLiteral(" K"), QStringLiteral("l3")})
            QCOMPARE(m_db.edgeIndexFor(text, target), edge);
    }

    void edgeEnergy_data()
    {
        QTest::addColumn<double>("maxEnergy");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("edge");
        QTest::addColumn<double>("eV");
        QTest::newRow("Fe K") << 30000.0 << QStringLiteral("Fe") << QStringLiteral("K")
                              << 7113.26288;
        QTest::newRow("Fe blank edge")
            << 30000.0 << QStringLiteral("Fe") << QString() << 7113.26288;
        QTest::newRow("Fe L3") << 30000.0 << QStringLiteral("Fe") << QStringLiteral("L3") << 708.1;
        QTest::newRow("Pt blank edge") << 30000.0 << QStringLiteral("Pt") << QString() << 13880.0;
        QTest::newRow("Pt lower-case edge")
            << 12000.0 << QStringLiteral("Pt") << QStringLiteral("l1") << 11564.0;
        QTest::newRow("K above the crystals' reach")
            << 30000.0 << QStringLiteral("Pt") << QStringLiteral("K") << 78395.0;
        QTest::newRow("absent edge")
            << 30000.0 << QStringLiteral("Tt") << QStringLiteral("L1") << -1000.0;
        QTest::newRow("missing value")
            << 30000.0 << QStringLiteral("H") << QStringLiteral("K") << -1000.0;
        QTest::newRow("unknown target")
            << 30000.0 << QStringLiteral("Xx") << QStringLiteral("K") << -1000.0;
    }
    void edgeEnergy()
    {
        QFETCH(double, maxEnergy);
        QFETCH(QString, target);
        QFETCH(QString, edge);
        QFETCH(double, eV);
        setMaxEnergy(maxEnergy);
        QCOMPARE(m_db.edgeEnergy(target, edge), eV);
    }

    void processWideTable()
    {
        // The accessor always hands out the same table.
        QCOMPARE(&xrayDataBase(), &xrayDataBase());
    }
};

QTEST_GUILESS_MAIN(TstXrayLookups)

#include "tst_xraylookups.moc"
