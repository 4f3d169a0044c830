// The loader and the look-ups on small tables written here, so that every
// expected value is the test's own, then sanity checks of the table compiled
// into the program.
#include "ConfigStore.h"
#include "OptionTables.h"
#include "Units.h"
#include "XrayDataBase.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {
constexpr double kHc = 12398.41984; // eV A
} // namespace

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
        if (!f.open(QIODevice::WriteOnly))
            return QString();
        f.write(text);
        return path;
    }
    bool load(XrayDataBase &db, const QString &text) { return db.load(write(text.toUtf8())); }
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
        QVERIFY(m_db.load(write("#,IDLINE,#,AE-K,#,#,#,AE-L1,#,#,#,AE-L2,#,#,#,AE-L3\n"
                                "H,1,1.0079,=,1,2,3\n"
                                "Fe,26,55.847,7.11326288,1,2,3,0.8461,1,2,3,0.7211,1,2,3,0.7081\n"
                                "Pt,78,195.08,78.395,1,2,3,13.88,1,2,3,13.273,1,2,3,11.564\n"
                                // L2 and L3 at the same energy, L1 missing.
                                "Tt,90,1,40,1,2,3,=,1,2,3,5,1,2,3,5\n")));
        QVERIFY(m_db.diagnostics().isEmpty());
    }
    void cleanupTestCase() { crystalTable().clear(); }

    void fixedColumns()
    {
        XrayDataBase db;
        // Comments may hold any bytes. Line energies (eV) on fields 25..31, the last "=".
        // Edge k: energy (keV), an unread field, c = 11+10k, d = 12+10k.
        QVERIFY(db.load(write("#,\xe9l\xe9ment \xff\xfe,x\n"
                              "  Fe ,\t26 ,  55.847 ,7.11326288,1,11,12,0.8461,1,21,22,0.7211,1,"
                              "31,32,0.7081,1,41,42,0.0911,1,51,52,=,=,6391,6403.8,7058,705,705,"
                              "718.5,=  \r\n")));
        const aAtom fe = db.bySymbol().value(QStringLiteral("Fe"));
        QCOMPARE(fe.z, 26);
        QCOMPARE(fe.weight, 55.847);
        const double edges[5] = {7.11326288, 0.8461, 0.7211, 0.7081, 0.0911};
        for (int k = 0; k < 5; ++k) {
            QCOMPARE(fe.edgeE[k], edges[k]);
            QCOMPARE(fe.c[k], 11.0 + 10 * k);
            QCOMPARE(fe.d[k], 12.0 + 10 * k);
            // No tag row: the tag-driven slots stay empty.
            QVERIFY(fe.edges[k].name.isEmpty() && fe.lines[k].isEmpty());
            QCOMPARE(fe.edges[k].energy, -1.0);
            QCOMPARE(fe.yields[k].value, -1.0);
        }
        QCOMPARE(fe.lineE[0], 6.391);
        QCOMPARE(fe.lineE[5], 0.7185);
        QCOMPARE(fe.lineE[6], 0.0); // "=" reads as 0 and stays 0 here
        QCOMPARE(db.byZ().value(26).symbol, QStringLiteral("Fe"));
        QVERIFY(db.diagnostics().isEmpty());
    }

    void numbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        const auto row = [](const char *tag, const QString &text, double value) {
            QTest::newRow(tag) << text << value;
        };
        row("integer", "26", 26);
        row("decimal", "7.11326288", 7.11326288);
        row("exponent", "1.5e3", 1500);
        row("decimal comma", "1,5", 0);
        row("overflow", "1e999", 0);
        row("trailing text", "2.5x", 0);
        row("long", "1." + QString(80, QLatin1Char('0')) + "1", 1);
    }
    void numbers()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        // The loader's quick reader and the project's reader agree.
        QCOMPARE(readNumberOr0(text), value);
        QCOMPARE(toDoubleOr0(text), value);
        if (text.contains(QLatin1Char(',')))
            return;
        XrayDataBase db;
        QVERIFY(load(db, QStringLiteral("Xx,5,%1,%1,1,%1,%1").arg(text)));
        const aAtom a = db.elementByZ(5);
        QCOMPARE(a.weight, value); // 0 stays 0 here, but is "no value" (-1) in the edges
        QCOMPARE(a.edgeE[0], value == 0 ? -1.0 : value);
        QCOMPARE(a.c[0], a.edgeE[0]);
        QCOMPARE(a.d[0], a.edgeE[0]);
    }

    void tagDrivenColumns()
    {
        XrayDataBase db;
        QVERIFY(load(db, QStringLiteral("#,IDLINE,#,AE-K,AE-L1,AE-L3,w-K,w-L3,E-K-Ka1,Rate-K-Ka1,"
                                        "E-K-Ka2,Rate-K-Ka2,E-L3-La1,Rate-L3-La1\n"
                                        "Fe,26,55.8,7.1,0.85,0.71,0.35,=,6404,0.58,6391,0.29,"
                                        "705,0.81\n")));
        const aAtom fe = db.elementFor(QStringLiteral("Fe"));
        QCOMPARE(fe.edges[1].label, QStringLiteral("Fe L1"));
        const double energies[5] = {7.1, 0.85, -1, 0.71, -1};
        for (int k = 0; k < 5; ++k)
            QCOMPARE(fe.edges[k].energy, energies[k]);
        QVERIFY(fe.edges[2].name.isEmpty());
        QCOMPARE(fe.yields[0].name, QStringLiteral("K"));
        QCOMPARE(fe.yields[0].value, 0.35);
        QCOMPARE(fe.yields[3].value, -1.0); // "=" keeps the empty yield
        QVERIFY(fe.yields[3].name.isEmpty());
        // Lines in column order, grouped by shell.
        QCOMPARE(fe.lines[0].size(), 2);
        QCOMPARE(fe.lines[0].at(0).name, QStringLiteral("Ka1"));
        QCOMPARE(fe.lines[0].at(1).name, QStringLiteral("Ka2"));
        QCOMPARE(fe.lines[3].size(), 1);
        QVERIFY(fe.lines[1].isEmpty() && fe.lines[4].isEmpty());
        QVERIFY(db.diagnostics().isEmpty());
    }

    void tagRows_data()
    {
        QTest::addColumn<QString>("text"); // %1: the element row, field i holds i + 0.5
        QTest::addColumn<QStringList>("diagnostics");
        QTest::addColumn<double>("kEdge");  // edges[0].energy of the element
        QTest::addColumn<double>("kYield"); // yields[0].value
        QTest::addColumn<double>("ka1");    // energy of the only K line, or -1 for none
        const auto row = [](const char *tag, const QString &text, const QStringList &diagnostics,
                            double kEdge, double kYield = -1, double ka1 = -1) {
            QTest::newRow(tag) << text << diagnostics << kEdge << kYield << ka1;
        };
        const QString unknown = "unknow type of f-line definition ";
        row("tags before the row", "#,IDLINE,#,AE-K\n%1", {}, 3.5);
        row("AE twice", "#,IDLINE,#,AE-K,AE-K\n%1", {"Duplicate AE-def K 3 4"}, 3.5);
        row("E twice", "#,IDLINE,#,E-K-Ka1,E-K-Ka1,Rate-K-Ka1\n%1",
            {"Duplicate line-def K Ka1 3 4"}, -1, -1, 0.0035);
        row("unknown kind", "#,IDLINE,#,XE-K,AE-K\n%1", {unknown + "XE-K"}, 4.5);
        row("empty, dash and hash are quiet", "#,IDLINE,,-,#,--,AE-K\n%1", {}, 6.5);
        row("percent signs stay text", "#,IDLINE,#,AE-%3,AE-%3,E-%1-%4,E-%1-%4\n%1",
            {"Duplicate AE-def %3 3 4", "Duplicate line-def %1 %4 5 6"}, -1);
        row("edge not known", "#,IDLINE,#,AE-M1,w-M1\n%1", {}, -1);
    }
    void tagRows()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, diagnostics);
        QFETCH(double, ka1);
        QStringList row{QStringLiteral("Xx"), QStringLiteral("9"), QStringLiteral("1")};
        for (int i = 3; i < 8; ++i)
            row << QString::number(i + 0.5);
        for (const QString &d : diagnostics)
            QTest::ignoreMessage(QtDebugMsg, d.toUtf8().constData());
        XrayDataBase db;
        // Substituted by hand: the tags themselves may hold "%1".
        QVERIFY(
            load(db, QString(text).replace(text.lastIndexOf("%1"), 2, row.join(QLatin1Char(',')))));
        QCOMPARE(db.diagnostics(), diagnostics);
        const aAtom a = db.elementByZ(9);
        QTEST(a.edges[0].energy, "kEdge");
        QTEST(a.yields[0].value, "kYield");
        QCOMPARE(a.lines[0].size(), ka1 < 0 ? 0 : 1);
        if (ka1 >= 0)
            QCOMPARE(a.lines[0].at(0).energy, ka1);
    }

    void linePairs_data()
    {
        QTest::addColumn<QString>("tags");
        QTest::addColumn<QString>("values"); // fields 3 on
        QTest::addColumn<int>("shell");      // edge index the line should land in, -1 none
        QTest::addColumn<double>("energy");  // keV
        QTest::addColumn<double>("rate");
        const auto row = [](const char *tag, const QString &tags, const QString &values,
                            int shell = -1, double energy = 0, double rate = 0) {
            QTest::newRow(tag) << tags << values << shell << energy << rate;
        };
        row("energy then rate", "E-L2-Lb1,Rate-L2-Lb1", "7180,0.9", 2, 7.18, 0.9);
        row("rate then energy", "Rate-L2-Lb1,E-L2-Lb1", "0.9,7180", 2, 7.18, 0.9);
        row("energy only", "E-K-Ka1", "6404");
        row("other line's rate", "E-K-Ka1,Rate-K-Ka2", "6404,0.5");
        row("M shell is not stored", "E-M-Ma,Rate-M-Ma", "2048,1");
        row("zero rate", "E-K-Ka1,Rate-K-Ka1", "6404,0");
    }
    void linePairs()
    {
        QFETCH(QString, tags);
        QFETCH(QString, values);
        QFETCH(int, shell);
        XrayDataBase db;
        QVERIFY(load(db, QStringLiteral("#,IDLINE,#,%1\nXx,9,1,%2").arg(tags, values)));
        QVERIFY(db.diagnostics().isEmpty());
        const aAtom a = db.elementByZ(9);
        for (int k = 0; k < 5; ++k) {
            QCOMPARE(a.lines[k].size(), k == shell ? 1 : 0);
            if (k == shell) {
                QTEST(a.lines[k].at(0).energy, "energy");
                QTEST(a.lines[k].at(0).rate, "rate");
                QCOMPARE(a.lines[k].at(0).shell, db.edgeName(k));
            }
        }
    }

    void elementFor_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("z"); // elementFor(target).z
        QTest::addColumn<QString>("symbol");
        QTest::addColumn<int>("zFor"); // -2: not part of this row
        const auto row = [](const char *tag, const QString &target, int z,
                            const QString &symbol = QString(),
                            int zFor = -2) { QTest::newRow(tag) << target << z << symbol << zFor; };
        row("symbol", "Fe", 26, "Fe", 26);
        row("number", "78", 78, "Pt", 78);
        row("symbol case matters", "fe", 0, "", 0);
        row("unknown symbol", "Xx", 0, "", 0);
        row("number not stored", "200", -1, "", -1);
        row("negative", "-26", 0, "", -1);
        row("hexadecimal", "0x1a", 0);
    }
    void elementFor()
    {
        QFETCH(QString, target);
        QFETCH(int, zFor);
        const aAtom a = m_db.elementFor(target);
        QTEST(a.z, "z");
        QTEST(a.symbol, "symbol");
        if (zFor != -2)
            QCOMPARE(m_db.zFor(target), zFor);
    }

    void byNumberAndEdgeNames()
    {
        QCOMPARE(m_db.elementByZ(78).symbol, QStringLiteral("Pt"));
        QCOMPARE(m_db.elementByZ(0).z, 0); // the placeholder
        for (int z : {27, -1}) {           // the empty element
            QCOMPARE(m_db.elementByZ(z).z, -1);
            QCOMPARE(m_db.elementByZ(z).weight, -1.0);
            QCOMPARE(m_db.elementByZ(z).edges[0].energy, -1.0);
        }
        const QStringList names{"K", "L1", "L2", "L3"};
        for (int k = 0; k < names.size(); ++k) {
            QCOMPARE(m_db.edgeName(k), names.at(k));
            QCOMPARE(m_db.edgeIndexFor(names.at(k), QStringLiteral("Fe")), k);
        }
        QVERIFY(m_db.edgeName(4).isEmpty() && m_db.edgeName(-1).isEmpty());
        // Before loading there is not even the placeholder.
        XrayDataBase empty;
        QCOMPARE(empty.elementFor(QString()).z, -1);
        QCOMPARE(empty.zFor(QStringLiteral("Fe")), -1);
        setMaxEnergy(30000);
        QCOMPARE(empty.edgeEnergy(QStringLiteral("Fe"), QStringLiteral("K")), -1000.0);
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
        const auto row = [](const char *tag, double maxEnergy, const QString &target, int autoEdge,
                            const QString &edge, double eV) {
            QTest::newRow(tag) << maxEnergy << target << autoEdge << edge << eV;
        };
        row("Fe K", 30000, "Fe", 0, "K", 7113.26288);
        row("Pt, K out of reach: highest L", 30000, "Pt", 1, "", 13880);
        row("Pt, L1 out of reach", 13500, "Pt", 2, "", 13273);
        row("edge at the limit is out", 7.11326288 * 1000, "Fe", 1, "", 846.1);
        row("Fe below every edge", 500, "Fe", 0, "", 7113.26288);
        row("empty crystal table", 0, "Fe", 0, "L3", 708.1);
        row("tie keeps the earlier edge; absent edge", 30000, "Tt", 2, "L1", -1000);
        row("not stored", 30000, "Xx", 0, "K", -1000);
        row("no tagged edge; missing value", 30000, "H", 0, "K", -1000);
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
        QCOMPARE(db.zFor(QStringLiteral("0")), 0); // the column-number row is a comment
        for (int z = 1; z <= 92; ++z) {
            const aAtom a = db.elementByZ(z);
            QCOMPARE(db.zFor(a.symbol), z);
            // Atomic weights grow roughly as 2 to 2.6 times Z beyond hydrogen.
            QVERIFY(a.weight >= z && a.weight <= 2.7 * z + 1);
            QCOMPARE(a.edges[0].label, a.symbol + QStringLiteral(" K"));
            QCOMPARE(a.edges[0].energy, a.edgeE[0]);
            if (z > 1) // K edges rise with Z
                QVERIFY(a.edgeE[0] > db.elementByZ(z - 1).edgeE[0]);
            for (int k = 0; z >= 30 && k < 4; ++k) // outer shells bind more loosely
                QVERIFY(a.edgeE[k] > a.edgeE[k + 1]);
            // A line carries less energy than its shell's edge; a column mix-up breaks this.
            for (int k = 0; k < 5; ++k) {
                for (const EmissionLine &l : a.lines[k])
                    QVERIFY(l.energy < a.edges[k].energy && l.rate > 0 && l.rate <= 1);
            }
        }
        // Published edge energies (Bearden and Burr); the table may differ by a few eV.
        const QList<std::pair<const char *, double>> known{
            {"Fe", 7112}, {"Cu", 8979}, {"Mo", 20000}, {"Pt", 11564}, {"U", 17166}};
        setMaxEnergy(40000);
        for (const auto &[symbol, eV] : known) {
            const QString edge = db.zFor(symbol) > 50 ? "L3" : "K";
            QVERIFY(std::fabs(db.edgeEnergy(symbol, edge) - eV) < 5);
        }
    }

    // Energy, wavelength and Bragg angle with an explicit lattice spacing,
    // from the Bragg law worked out by hand.
    // Both directions where the pair is a valid one; -1 and 0 mark no value.
    void conversions_data()
    {
        QTest::addColumn<double>("d");
        QTest::addColumn<int>("unit");
        QTest::addColumn<double>("e");
        QTest::addColumn<double>("v");
        QTest::addColumn<double>("tolerance"); // of v
        const double sqrt3 = std::sqrt(3.0);
        QTest::newRow("eV") << 3.13553 << 0 << 7112.0 << 7112.0 << 0.0;
        QTest::newRow("keV") << 3.13553 << 1 << 7112.0 << 7.112 << 1e-12;
        QTest::newRow("A at hc") << 3.13553 << 2 << kHc << 1.0 << 1e-6;
        QTest::newRow("deg at 30: lambda = d") << 2.0 << 3 << kHc / 2 << 30.0 << 1e-4;
        QTest::newRow("deg at 30, Si(111)") << 3.13553 << 3 << kHc / 3.13553 << 30.0 << 1e-4;
        QTest::newRow("deg at 60, d 1.2") << 1.2 << 3 << kHc / (1.2 * sqrt3) << 60.0 << 1e-4;
        QTest::newRow("deg out of reach") << 3.13553 << 3 << 1000.0 << -1.0 << 0.0;
        QTest::newRow("deg out of reach, small d") << 1.2 << 3 << 5000.0 << -1.0 << 0.0;
        QTest::newRow("deg of zero energy") << 3.13553 << 3 << 0.0 << -1.0 << 0.0;
        QTest::newRow("A of zero energy") << 3.13553 << 2 << 0.0 << -1.0 << 0.0;
        QTest::newRow("zero wavelength") << 3.13553 << 2 << -1.0 << 0.0 << 0.0;
        QTest::newRow("zero angle") << 3.13553 << 3 << -1.0 << 0.0 << 0.0;
        QTest::newRow("unit 4") << 3.13553 << 4 << 7112.0 << 0.0 << 0.0;
        QTest::newRow("unit -1") << 3.13553 << -1 << 7112.0 << 0.0 << 0.0;
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

QTEST_GUILESS_MAIN(TstXrayDb)
#include "tst_xraydb.moc"
