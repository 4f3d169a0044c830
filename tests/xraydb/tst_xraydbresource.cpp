// The table compiled into the program: it opens from the resource system,
// loads without diagnostics and holds sane reference data for every element
// a schedule may name.
#include "XrayDataBase.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextStream>
#include <QtTest>

#include <cmath>

namespace {

const QString kResource = QStringLiteral(":XrayDataBase2.txt");

// Symbols of hydrogen to uranium, in order of atomic number.
const char *const kSymbols[] = {
    "H",  "He", "Li", "Be", "B",  "C",  "N",  "O",  "F",  "Ne", "Na", "Mg", "Al", "Si", "P",  "S",
    "Cl", "Ar", "K",  "Ca", "Sc", "Ti", "V",  "Cr", "Mn", "Fe", "Co", "Ni", "Cu", "Zn", "Ga", "Ge",
    "As", "Se", "Br", "Kr", "Rb", "Sr", "Y",  "Zr", "Nb", "Mo", "Tc", "Ru", "Rh", "Pd", "Ag", "Cd",
    "In", "Sn", "Sb", "Te", "I",  "Xe", "Cs", "Ba", "La", "Ce", "Pr", "Nd", "Pm", "Sm", "Eu", "Gd",
    "Tb", "Dy", "Ho", "Er", "Tm", "Yb", "Lu", "Hf", "Ta", "W",  "Re", "Os", "Ir", "Pt", "Au", "Hg",
    "Tl", "Pb", "Bi", "Po", "At", "Rn", "Fr", "Ra", "Ac", "Th", "Pa", "U"};
constexpr int kLastChecked = int(sizeof(kSymbols) / sizeof(kSymbols[0]));

// The rows of the resource, split the way the loader splits them.
QList<QStringList> resourceRows()
{
    QList<QStringList> rows;
    QFile f(kResource);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return rows;
    QTextStream in(&f);
    static const QRegularExpression separator(QStringLiteral("\\s*,\\s*"));
    while (!in.atEnd())
        rows << in.readLine().simplified().split(separator);
    return rows;
}

bool isTagRow(const QStringList &f)
{
    return f.size() >= 3 && f.at(0) == QLatin1String("#") && f.at(1) == QLatin1String("IDLINE");
}

bool isElementRow(const QStringList &f)
{
    return f.size() >= 3 && !f.at(0).isEmpty() && f.at(0) != QLatin1String("#");
}

} // namespace

class TstXrayDbResource : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(QFile::exists(kResource));
        QVERIFY(xrayDataBase().load(kResource));
        QVERIFY2(xrayDataBase().diagnostics().isEmpty(),
                 qPrintable(xrayDataBase().diagnostics().join(QLatin1Char('\n'))));
    }

    void everyElementPresent_data()
    {
        QTest::addColumn<int>("z");
        QTest::addColumn<QString>("symbol");
        for (int z = 1; z <= kLastChecked; ++z)
            QTest::newRow(kSymbols[z - 1]) << z << QString::fromLatin1(kSymbols[z - 1]);
    }
    void everyElementPresent()
    {
        QFETCH(int, z);
        QFETCH(QString, symbol);
        const XrayDataBase &db = xrayDataBase();
        QVERIFY(db.bySymbol().contains(symbol));
        QCOMPARE(db.bySymbol().value(symbol).z, z);
        QCOMPARE(db.byZ().value(z).symbol, symbol);
        QCOMPARE(db.zFor(symbol), z);
        const aAtom a = db.elementFor(symbol);
        // Atomic weights grow roughly as 2 to 2.6 times Z beyond hydrogen.
        QVERIFY2(a.weight >= z && a.weight <= 2.7 * z + 1, qPrintable(QString::number(a.weight)));
        QCOMPARE(a.edges[0].name, QStringLiteral("K"));
        QCOMPARE(a.edges[0].label, symbol + QStringLiteral(" K"));
        QCOMPARE(a.edges[0].energy, a.edgeE[0]);
    }

    void noElementFromTheColumnNumbers()
    {
        // The row numbering the columns is a comment; "0" names no element.
        QVERIFY(!xrayDataBase().bySymbol().contains(QStringLiteral("0")));
        QCOMPARE(xrayDataBase().zFor(QStringLiteral("0")), 0);
        QCOMPARE(xrayDataBase().elementFor(QStringLiteral("0")).z, 0);
        QCOMPARE(xrayDataBase().elementByZ(1).symbol, QStringLiteral("H"));
    }

    void kEdgesRiseWithZ()
    {
        const XrayDataBase &db = xrayDataBase();
        double previous = 0;
        for (auto it = db.byZ().constBegin(); it != db.byZ().constEnd(); ++it) {
            if (it.key() == 0)
                continue;
            const double e = it.value().edges[0].energy;
            QVERIFY2(e > previous, qPrintable(it.value().symbol));
            previous = e;
        }
        QVERIFY(db.byZ().lastKey() >= kLastChecked);
    }

    void edgeOrderWithinAtom()
    {
        // Every shell binds more loosely than the one inside it.
        for (const aAtom &a : xrayDataBase().byZ()) {
            if (a.z < 30) // light atoms: L2 and L3 may coincide or be missing
                continue;
            QVERIFY2(a.edgeE[0] > a.edgeE[1], qPrintable(a.symbol));
            QVERIFY2(a.edgeE[1] > a.edgeE[2], qPrintable(a.symbol));
            QVERIFY2(a.edgeE[2] > a.edgeE[3], qPrintable(a.symbol));
            QVERIFY2(a.edgeE[3] > a.edgeE[4] && a.edgeE[4] > 0, qPrintable(a.symbol));
        }
    }

    void knownEdges_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("edge");
        QTest::addColumn<double>("eV");
        // Published edge energies (Bearden and Burr); the shipped table may
        // differ by a few eV.
        QTest::newRow("Fe K") << QStringLiteral("Fe") << QStringLiteral("K") << 7112.0;
        QTest::newRow("Cu K") << QStringLiteral("Cu") << QStringLiteral("K") << 8979.0;
        QTest::newRow("Pt L3") << QStringLiteral("Pt") << QStringLiteral("L3") << 11564.0;
        QTest::newRow("Pt L3 by number") << QStringLiteral("78") << QStringLiteral("L3") << 11564.0;
        QTest::newRow("Zn K") << QStringLiteral("Zn") << QStringLiteral("K") << 9659.0;
        QTest::newRow("Au L3") << QStringLiteral("Au") << QStringLiteral("L3") << 11919.0;
        QTest::newRow("U L3") << QStringLiteral("U") << QStringLiteral("L3") << 17166.0;
        QTest::newRow("Mo K") << QStringLiteral("Mo") << QStringLiteral("K") << 20000.0;
    }
    void knownEdges()
    {
        QFETCH(QString, target);
        QFETCH(QString, edge);
        QFETCH(double, eV);
        const double e = xrayDataBase().edgeEnergy(target, edge);
        QVERIFY2(std::fabs(e - eV) < 5, qPrintable(QString::number(e)));
    }

    void ironLines()
    {
        const aAtom fe = xrayDataBase().elementFor(QStringLiteral("Fe"));
        QVERIFY(std::fabs(fe.lineE[1] - 6.40) < 0.01); // Ka1, fixed column
        QVERIFY(std::fabs(fe.lineE[0] - 6.39) < 0.01); // Ka2
        bool found = false;
        for (const EmissionLine &l : fe.lines[0]) {
            if (l.name != QLatin1String("Ka1"))
                continue;
            found = true;
            QCOMPARE(l.shell, QStringLiteral("K"));
            QVERIFY(std::fabs(l.energy - 6.40) < 0.01);
            QVERIFY(l.rate > 0.4 && l.rate < 1);
        }
        QVERIFY(found);
        QVERIFY(fe.yields[0].value > 0.3 && fe.yields[0].value < 0.4);
    }

    void linesBelowTheirEdge()
    {
        // A line emitted after a hole in a shell carries less energy than
        // the shell's edge; a column mix-up would break this.
        int count = 0;
        for (const aAtom &a : xrayDataBase().byZ()) {
            for (int k = 0; k < 5; ++k) {
                for (const EmissionLine &l : a.lines[k]) {
                    ++count;
                    QCOMPARE(l.shell, xrayDataBase().edgeName(k));
                    QVERIFY2(l.energy < a.edges[k].energy && l.energy > 0,
                             qPrintable(a.symbol + QLatin1Char(' ') + l.name));
                    QVERIFY2(l.rate > 0 && l.rate <= 1,
                             qPrintable(a.symbol + QLatin1Char(' ') + l.name));
                }
            }
            for (int k = 0; k < 4; ++k) {
                if (a.yields[k].value != -1)
                    QVERIFY2(a.yields[k].value > 0 && a.yields[k].value <= 1, qPrintable(a.symbol));
            }
        }
        QVERIFY(count > 1000);
    }

    void rowsLongEnoughForTheTags()
    {
        const QList<QStringList> rows = resourceRows();
        int tagRows = 0;
        int needed = 0;
        int elements = 0;
        for (const QStringList &f : rows) {
            if (isTagRow(f)) {
                ++tagRows;
                QVERIFY2(elements == 0, "the tag row must precede the element rows");
                for (int i = 2; i < f.size(); ++i) {
                    if (f.at(i) != QLatin1String("#"))
                        needed = i + 1;
                }
            } else if (isElementRow(f)) {
                ++elements;
                QVERIFY2(f.size() >= needed, qPrintable(f.at(0)));
                QVERIFY2(f.size() >= 32, qPrintable(f.at(0))); // every fixed column
            }
        }
        QCOMPARE(tagRows, 1);
        QVERIFY(needed > 0);
        QCOMPARE(elements, xrayDataBase().byZ().size() - 1); // the placeholder is no row
    }

    void tagRowLayout()
    {
        QStringList tags;
        for (const QStringList &f : resourceRows()) {
            if (isTagRow(f))
                tags = f;
        }
        QCOMPARE(tags.size(), 91);
        const QStringList edges{QStringLiteral("K"), QStringLiteral("L1"), QStringLiteral("L2"),
                                QStringLiteral("L3")};
        for (int k = 0; k < 4; ++k) {
            QCOMPARE(tags.at(3 + 4 * k), QStringLiteral("AE-") + edges.at(k));
            QCOMPARE(tags.at(35 + k), QStringLiteral("w-") + edges.at(k));
        }
        int kLines = 0;
        int mLines = 0;
        for (int i = 39; i < 91; i += 2) {
            const QStringList e = tags.at(i).split(QLatin1Char('-'));
            const QStringList r = tags.at(i + 1).split(QLatin1Char('-'));
            QCOMPARE(e.size(), 3);
            QCOMPARE(e.at(0), QStringLiteral("E"));
            QCOMPARE(r.at(0), QStringLiteral("Rate"));
            QCOMPARE(e.mid(1), r.mid(1));
            kLines += e.at(1) == QLatin1String("K");
            mLines += e.at(1) == QLatin1String("M");
        }
        QCOMPARE(kLines, 8);
        QCOMPARE(mLines, 4);
    }

    void headerNamesTheSource()
    {
        const QList<QStringList> rows = resourceRows();
        QVERIFY(rows.size() > 3);
        const QString head = rows.at(0).join(QLatin1Char(',')) + rows.at(1).join(QLatin1Char(','));
        QVERIFY(rows.at(0).at(0) == QLatin1String("#"));
        QVERIFY(head.contains(QLatin1String("Elam")));
        bool regenerate = false;
        for (int i = 0; i < 5; ++i)
            regenerate |= rows.at(i).join(QLatin1Char(',')).contains(QLatin1String("tools/"));
        QVERIFY(regenerate);
    }
};

QTEST_GUILESS_MAIN(TstXrayDbResource)

#include "tst_xraydbresource.moc"
