// SPDX-License-Identifier: GPL-3.0-or-later
// The loader and the look-ups on small tables written here, then sanity checks
// of the table compiled into the program, and the unit conversions.
#include "OptionTables.h"
#include "Units.h"
#include "XrayDataBase.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

class TstXrayDb : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_fileNo = 0;
    XrayDataBase m_db; // the look-up table: tagged edges on fields 3, 7, 11, 15 (keV)

    QString write(const QByteArray &text)
    {
        const QString path = m_dir.filePath(QStringLiteral("table%1.txt").arg(++m_fileNo));
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.write(text) == text.size() ? path : QString();
    }
    bool load(XrayDataBase &db, const QString &text) { return db.load(write(text.toUtf8())); }
    static void setMaxEnergy(double eV)
    {
        crystalTable().clear();
        if (eV > 0)
            crystalTable().build({QStringLiteral("Low 6.2 1000 %1").arg(eV / 2, 0, 'g', 17),
                                  QStringLiteral("High 3.1 2000 %1").arg(eV, 0, 'g', 17)});
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_db.load(write("#,IDLINE,#,AE-K,#,#,#,AE-L1,#,#,#,AE-L2,#,#,#,AE-L3\n"
                                "Fe,26,55.847,7.11326288,1,2,3,0.8461,1,2,3,0.7211,1,2,3,0.7081\n"
                                "Pt,78,195.08,78.395,1,2,3,13.88,1,2,3,13.273,1,2,3,11.564\n"
                                // L2 and L3 at the same energy, L1 missing.
                                "Tt,90,1,40,1,2,3,=,1,2,3,5,1,2,3,5\n")));
    }

    void tagRows_data()
    {
        QTest::addColumn<QString>("text"); // %1: the element row, field i holds i + 0.5
        QTest::addColumn<double>("kEdge"); // edges[0].energy of the element
        QTest::addColumn<double>("yield"); // yields[0].value, -1 for none
        QTest::newRow("tags") << "#,IDLINE,#,AE-K\n%1" << 3.5 << -1.;
        QTest::newRow("a tag on the third field") << "#,IDLINE,AE-K\n%1" << 1. << -1.;
        QTest::newRow("fluorescence yield") << "#,IDLINE,#,AE-K,w-K\n%1" << 3.5 << 4.5;
        // The second edge's fields end before its last one: that edge is left out.
        QTest::newRow("row cut short in an edge") << "#,IDLINE,#,AE-K\n%1,8.5,9.5" << 3.5 << -1.;
    }
    void tagRows()
    {
        QFETCH(QString, text);
        XrayDataBase db;
        QVERIFY(load(db, text.arg("Xx,9,1,3.5,4.5,5.5,6.5,7.5")));
        QVERIFY(db.diagnostics().isEmpty());
        const aAtom a = db.elementByZ(9);
        QTEST(a.edges[0].energy, "kEdge");
        QTEST(a.yields[0].value, "yield");
    }

    // A tag's diagnostic keeps its percent signs as text.
    void percentSignsInTags()
    {
        XrayDataBase db;
        QVERIFY(load(db, "#,IDLINE,#,AE-%3,AE-%3,E-%1-%4,E-%1-%4\nXx,9,1,3.5,4.5,5.5,6.5,7.5\n"));
        QCOMPARE(db.diagnostics(),
                 QStringList({"Duplicate AE-def %3 3 4", "Duplicate line-def %1 %4 5 6"}));
    }

    // The automatic edge is the highest one the crystals reach; edge texts
    // that name no edge fall back to it.
    void edges_data()
    {
        QTest::addColumn<double>("maxEnergy");
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("autoEdge");
        QTest::addColumn<QString>("edge");
        QTest::addColumn<double>("eV"); // edgeEnergy(target, edge)
        QTest::newRow("Fe K") << 30000. << "Fe" << 0 << "K" << 7113.26288;
        QTest::newRow("K out of reach: highest L") << 30000. << "Pt" << 1 << "" << 13880.;
        QTest::newRow("K named, though out of reach") << 30000. << "Pt" << 1 << "K" << 78395.;
        QTest::newRow("edge at the limit is out") << 7.11326288 * 1000 << "Fe" << 1 << "" << 846.1;
        QTest::newRow("tie keeps the earlier; absent edge")
            << 30000. << "Tt" << 2 << "L1" << -1000.;
    }
    void edges()
    {
        QFETCH(double, maxEnergy);
        QFETCH(QString, target);
        QFETCH(int, autoEdge);
        QFETCH(QString, edge);
        setMaxEnergy(maxEnergy);
        QCOMPARE(m_db.autoEdge(target), autoEdge);
        for (const char *text : {"", "k", "M1", " K", "l3"})
            QCOMPARE(m_db.edgeIndexFor(text, target), autoEdge);
        QTEST(m_db.edgeEnergy(target, edge), "eV");
    }

    // The table compiled into the program loads without diagnostics and
    // holds sane reference data for every element a schedule may name.
    void resource()
    {
        XrayDataBase db;
        QVERIFY(db.load(QStringLiteral(":XrayDataBase2.txt")));
        QVERIFY2(db.diagnostics().isEmpty(), qPrintable(db.diagnostics().join('\n')));
        for (int z = 1; z <= 92; ++z) {
            const aAtom a = db.elementByZ(z);
            QCOMPARE(db.zFor(a.symbol), z);
            // A number names the element by its Z.
            QCOMPARE(db.elementFor(QString::number(z)).symbol, a.symbol);
            if (z > 1) // K edges rise with Z
                QVERIFY(a.edgeE[0] > db.elementByZ(z - 1).edgeE[0]);
            // A line carries less energy than its shell's edge; a column mix-up breaks this.
            for (int k = 0; k < 5; ++k)
                for (const EmissionLine &l : a.lines[k])
                    QVERIFY(l.energy < a.edges[k].energy && l.rate > 0 && l.rate <= 1);
        }
        QCOMPARE(db.elementFor(QStringLiteral("-26")).z, 0);
        // Published edge energies (Bearden and Burr); the table may differ by a few eV.
        const QList<std::pair<const char *, double>> known{
            {"Fe", 7112}, {"Cu", 8979}, {"Mo", 20000}, {"Pt", 11564}, {"U", 17166}};
        setMaxEnergy(40000);
        for (const auto &[symbol, eV] : known) {
            const QString edge = db.zFor(symbol) > 50 ? "L3" : "K";
            QVERIFY(std::fabs(db.edgeEnergy(symbol, edge) - eV) < 5);
        }
    }

    // Energy, wavelength and Bragg angle by the Bragg law worked out by hand, both
    // directions where the pair is a valid one; -1 and 0 mark no value.
    void conversions_data()
    {
        QTest::addColumn<double>("d");
        QTest::addColumn<int>("unit");
        QTest::addColumn<double>("e");
        QTest::addColumn<double>("v");
        const double kHc = 12398.41984; // eV A
        QTest::newRow("eV") << 3.13553 << 0 << 7112.0 << 7112.0;
        QTest::newRow("keV") << 3.13553 << 1 << 7112.0 << 7.112;
        QTest::newRow("A at hc") << 3.13553 << 2 << kHc << 1.0;
        QTest::newRow("deg at 30, Si(111)") << 3.13553 << 3 << kHc / 3.13553 << 30.0;
        QTest::newRow("deg at 60, d 1.2") << 1.2 << 3 << kHc / (1.2 * std::sqrt(3.0)) << 60.0;
        QTest::newRow("deg out of reach") << 3.13553 << 3 << 1000.0 << -1.0;
    }
    void conversions()
    {
        QFETCH(double, d);
        QFETCH(int, unit);
        QFETCH(double, e);
        QFETCH(double, v);
        const double got = Units::fromEV(e, unit, d);
        QVERIFY2(std::fabs(got - v) <= 1e-5 * std::fabs(v),
                 qPrintable(QString::number(got, 'g', 17)));
        if (v >= 0) {
            const double back = Units::toEV(v, unit, d);
            QVERIFY2(std::fabs(back - e) <= 1e-6 * e, qPrintable(QString::number(back, 'g', 17)));
        }
    }
};

QTEST_GUILESS_MAIN(TstXrayDb)
#include "tst_xraydb.moc"
