// The loader on small tables written here, so that every expected value is
// the test's own. The start-up exit on a missing table is checked in a child
// process: this executable re-runs itself with --load-or-exit.
#include "ConfigStore.h"
#include "XrayDataBase.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <cstring>

class TstXrayDbLoader : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_fileNo = 0;

    // Writes text as a new table file and loads it into db.
    QString write(const QString &text)
    {
        const QString path = m_dir.filePath(QStringLiteral("table%1.txt").arg(++m_fileNo));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return QString();
        f.write(text.toUtf8());
        return path;
    }
    bool load(XrayDataBase &db, const QString &text) { return db.load(write(text)); }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void fixedColumns()
    {
        XrayDataBase db;
        // Line energies (eV) on fields 25..31, the last one "=".
        // Edge k: energy (keV), an unread field, c = 11+10k, d = 12+10k.
        const QString row = QStringLiteral("Fe,26,55.847,7.11326288,1,11,12,0.8461,1,21,22,"
                                           "0.7211,1,31,32,0.7081,1,41,42,0.0911,1,51,52,=,=,"
                                           "6391,6403.8,7058,705,705,718.5,=");
        QVERIFY(load(db, row));
        const aAtom fe = db.bySymbol().value(QStringLiteral("Fe"));
        QCOMPARE(fe.symbol, QStringLiteral("Fe"));
        QCOMPARE(fe.z, 26);
        QCOMPARE(fe.weight, 55.847);
        const double edges[5] = {7.11326288, 0.8461, 0.7211, 0.7081, 0.0911};
        for (int k = 0; k < 5; ++k) {
            QCOMPARE(fe.edgeE[k], edges[k]);
            QCOMPARE(fe.c[k], 11.0 + 10 * k);
            QCOMPARE(fe.d[k], 12.0 + 10 * k);
        }
        QCOMPARE(fe.lineE[0], 6.391);
        QCOMPARE(fe.lineE[1], 6.4038);
        QCOMPARE(fe.lineE[5], 0.7185);
        QCOMPARE(fe.lineE[6], 0.0); // "=" reads as 0 and stays 0 here
        // No tag row: the tag-driven slots stay empty.
        for (int k = 0; k < 5; ++k) {
            QVERIFY(fe.edges[k].name.isEmpty());
            QCOMPARE(fe.edges[k].energy, -1.0);
            QCOMPARE(fe.yields[k].value, -1.0);
            QVERIFY(fe.lines[k].isEmpty());
        }
        QCOMPARE(db.byZ().value(26).symbol, QStringLiteral("Fe"));
        QVERIFY(db.diagnostics().isEmpty());
    }

    void shortRows_data()
    {
        QTest::addColumn<int>("fieldCount");
        QTest::addColumn<int>("edgesRead");
        QTest::addColumn<int>("linesRead");
        // Edge k needs field 6+4k; line j needs field 25+j.
        QTest::newRow("3 fields") << 3 << 0 << 0;
        QTest::newRow("6 fields") << 6 << 0 << 0;
        QTest::newRow("7 fields") << 7 << 1 << 0;
        QTest::newRow("14 fields") << 14 << 2 << 0;
        QTest::newRow("22 fields") << 22 << 4 << 0;
        QTest::newRow("23 fields") << 23 << 5 << 0;
        QTest::newRow("27 fields") << 27 << 5 << 2;
        QTest::newRow("40 fields") << 40 << 5 << 7;
    }
    void shortRows()
    {
        QFETCH(int, fieldCount);
        QFETCH(int, edgesRead);
        QFETCH(int, linesRead);
        QStringList fields{QStringLiteral("Xx"), QStringLiteral("7"), QStringLiteral("14")};
        while (fields.size() < fieldCount)
            fields << QString::number(fields.size() * 1000);
        XrayDataBase db;
        QVERIFY(load(db, fields.join(QLatin1Char(','))));
        const aAtom a = db.elementByZ(7);
        QCOMPARE(a.symbol, QStringLiteral("Xx"));
        for (int k = 0; k < 5; ++k)
            QCOMPARE(a.edgeE[k], k < edgesRead ? double(3 + 4 * k) * 1000 : -1.0);
        for (int j = 0; j < 7; ++j)
            QCOMPARE(a.lineE[j], j < linesRead ? double(25 + j) : -1.0);
    }

    void numbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("fixed");  // as stored in edgeE (0 becomes -1)
        QTest::addColumn<double>("weight"); // as stored in weight (0 stays 0)
        QTest::newRow("number") << QStringLiteral("2.5") << 2.5 << 2.5;
        QTest::newRow("missing mark") << QStringLiteral("=") << -1.0 << 0.0;
        QTest::newRow("text") << QStringLiteral("abc") << -1.0 << 0.0;
        QTest::newRow("zero") << QStringLiteral("0") << -1.0 << 0.0;
        QTest::newRow("empty") << QString() << -1.0 << 0.0;
        QTest::newRow("trailing text") << QStringLiteral("2.5x") << -1.0 << 0.0;
        QTest::newRow("infinity") << QStringLiteral("inf") << -1.0 << 0.0;
        QTest::newRow("negative") << QStringLiteral("-3") << -3.0 << -3.0;
        QTest::newRow("exponent") << QStringLiteral("1e1") << 10.0 << 10.0;
    }
    void numbers()
    {
        QFETCH(QString, text);
        QFETCH(double, fixed);
        QFETCH(double, weight);
        XrayDataBase db;
        QVERIFY(load(db, QStringLiteral("Xx,5,%1,%1,1,%1,%1").arg(text)));
        const aAtom a = db.elementByZ(5);
        QCOMPARE(a.weight, weight);
        QCOMPARE(a.edgeE[0], fixed);
        QCOMPARE(a.c[0], fixed);
        QCOMPARE(a.d[0], fixed);
    }

    void numberReader_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("integer") << QStringLiteral("26") << 26.0;
        QTest::newRow("decimal") << QStringLiteral("7.11326288") << 7.11326288;
        QTest::newRow("leading point") << QStringLiteral(".5") << 0.5;
        QTest::newRow("trailing point") << QStringLiteral("5.") << 5.0;
        QTest::newRow("plus") << QStringLiteral("+1.5") << 1.5;
        QTest::newRow("minus") << QStringLiteral("-2.5") << -2.5;
        QTest::newRow("exponent") << QStringLiteral("1.5e3") << 1500.0;
        QTest::newRow("upper-case exponent") << QStringLiteral("1.5E-3") << 0.0015;
        QTest::newRow("two signs") << QStringLiteral("+-1") << 0.0;
        QTest::newRow("double minus") << QStringLiteral("--1") << 0.0;
        QTest::newRow("bare exponent") << QStringLiteral("1e") << 0.0;
        QTest::newRow("decimal comma") << QStringLiteral("1,5") << 0.0;
        QTest::newRow("hexadecimal") << QStringLiteral("0x10") << 0.0;
        QTest::newRow("infinity") << QStringLiteral("inf") << 0.0;
        QTest::newRow("not a number") << QStringLiteral("nan") << 0.0;
        QTest::newRow("overflow") << QStringLiteral("1e999") << 0.0;
        QTest::newRow("missing mark") << QStringLiteral("=") << 0.0;
        QTest::newRow("empty") << QString() << 0.0;
        QTest::newRow("blanks around") << QStringLiteral(" 3.5 ") << 3.5;
        QTest::newRow("inner blank") << QStringLiteral("3 5") << 0.0;
        QTest::newRow("arabic-indic digit") << QStringLiteral("\u0663") << 0.0;
        QTest::newRow("long") << QStringLiteral("1.") + QString(80, QLatin1Char('0')) +
                                     QStringLiteral("1")
                              << 1.0;
    }
    void numberReader()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        // The loader's quick reader and the project's reader agree.
        QCOMPARE(readNumberOr0(text), value);
        QCOMPARE(toDoubleOr0(text), value);
    }

    void atomicNumberNotANumber()
    {
        XrayDataBase db;
        QVERIFY(load(db, QStringLiteral("#,comment,row\nQq,x,1")));
        // z reads as 0, so the row takes the placeholder's place under 0.
        QCOMPARE(db.elementByZ(0).symbol, QStringLiteral("Qq"));
        QCOMPARE(db.bySymbol().value(QStringLiteral("Qq")).z, 0);
    }

    void whitespaceAroundFields()
    {
        XrayDataBase db;
        QVERIFY(load(db, QStringLiteral("  Fe ,\t26 ,  55.8  ,7.1 ,  1,2 ,  3  \r\n")));
        const aAtom a = db.elementByZ(26);
        QCOMPARE(a.symbol, QStringLiteral("Fe"));
        QCOMPARE(a.weight, 55.8);
        QCOMPARE(a.edgeE[0], 7.1);
        QCOMPARE(a.d[0], 3.0);
    }

    void tagDrivenColumns()
    {
        XrayDataBase db;
        const QString text =
            QStringLiteral("#,IDLINE,#,AE-K,AE-L1,AE-L3,w-K,w-L3,E-K-Ka1,Rate-K-Ka1,"
                           "E-K-Ka2,Rate-K-Ka2,E-L3-La1,Rate-L3-La1\n"
                           "Fe,26,55.8,7.1,0.85,0.71,0.35,=,6404,0.58,6391,0.29,"
                           "705,0.81\n");
        QVERIFY(load(db, text));
        const aAtom fe = db.elementFor(QStringLiteral("Fe"));
        QCOMPARE(fe.edges[0].name, QStringLiteral("K"));
        QCOMPARE(fe.edges[0].energy, 7.1);
        QCOMPARE(fe.edges[0].label, QStringLiteral("Fe K"));
        QCOMPARE(fe.edges[1].label, QStringLiteral("Fe L1"));
        QCOMPARE(fe.edges[1].energy, 0.85);
        QVERIFY(fe.edges[2].name.isEmpty());
        QCOMPARE(fe.edges[2].energy, -1.0);
        QCOMPARE(fe.edges[3].energy, 0.71);
        QCOMPARE(fe.edges[4].energy, -1.0);
        QCOMPARE(fe.yields[0].name, QStringLiteral("K"));
        QCOMPARE(fe.yields[0].value, 0.35);
        QCOMPARE(fe.yields[3].value, -1.0); // "=" keeps the empty yield
        QVERIFY(fe.yields[3].name.isEmpty());
        // Lines in column order, grouped by shell; energies to keV.
        QCOMPARE(fe.lines[0].size(), 2);
        QCOMPARE(fe.lines[0].at(0).name, QStringLiteral("Ka1"));
        QCOMPARE(fe.lines[0].at(0).shell, QStringLiteral("K"));
        QCOMPARE(fe.lines[0].at(0).energy, 6.404);
        QCOMPARE(fe.lines[0].at(0).rate, 0.58);
        QCOMPARE(fe.lines[0].at(1).name, QStringLiteral("Ka2"));
        QCOMPARE(fe.lines[3].size(), 1);
        QCOMPARE(fe.lines[3].at(0).energy, 0.705);
        QVERIFY(fe.lines[1].isEmpty());
        QVERIFY(fe.lines[4].isEmpty());
        QVERIFY(db.diagnostics().isEmpty());
    }

    void tagRowPosition()
    {
        XrayDataBase db;
        const QString text = QStringLiteral("Aa,1,1,2.5\n"
                                            "#,IDLINE,#,AE-K\n"
                                            "Bb,2,1,3.5\n");
        QVERIFY(load(db, text));
        // Tags act only on the rows after them.
        QCOMPARE(db.elementByZ(1).edges[0].energy, -1.0);
        QCOMPARE(db.elementByZ(2).edges[0].energy, 3.5);
        QCOMPARE(db.elementByZ(2).edges[0].label, QStringLiteral("Bb K"));
    }

    void tagDiagnostics_data()
    {
        QTest::addColumn<QString>("tags");
        QTest::addColumn<QStringList>("diagnostics");
        QTest::addColumn<double>("kEdge");  // edges[0].energy of the row below
        QTest::addColumn<double>("kYield"); // yields[0].value
        QTest::addColumn<int>("kLines");    // lines[0].size()
        QTest::addColumn<double>("ka1");    // energy of the first K line, or -1
        // The element row under every tag row: field i holds i + 0.5 (i >= 3).
        QTest::newRow("AE twice") << QStringLiteral("#,IDLINE,#,AE-K,AE-K")
                                  << QStringList{QStringLiteral("Duplicate AE-def K 3 4")} << 3.5
                                  << -1.0 << 0 << -1.0;
        QTest::newRow("w twice") << QStringLiteral("#,IDLINE,#,w-K,#,w-K")
                                 << QStringList{QStringLiteral("Duplicate w-def K 3 5")} << -1.0
                                 << 3.5 << 0 << -1.0;
        QTest::newRow("E twice") << QStringLiteral("#,IDLINE,#,E-K-Ka1,E-K-Ka1,Rate-K-Ka1")
                                 << QStringList{QStringLiteral("Duplicate line-def K Ka1 3 4")}
                                 << -1.0 << -1.0 << 1 << 0.0035;
        QTest::newRow("Rate twice") << QStringLiteral("#,IDLINE,#,Rate-K-Ka1,E-K-Ka1,Rate-K-Ka1")
                                    << QStringList{QStringLiteral("Duplicate line-def K Ka1 3 5")}
                                    << -1.0 << -1.0 << 1 << 0.0045;
        QTest::newRow("unknown kind")
            << QStringLiteral("#,IDLINE,#,XE-K,AE-K")
            << QStringList{QStringLiteral("unknow type of f-line definition XE-K")} << 4.5 << -1.0
            << 0 << -1.0;
        QTest::newRow("too many parts")
            << QStringLiteral("#,IDLINE,AE-K-L1,E-K,w")
            << QStringList{QStringLiteral("unknow type of f-line definition AE-K-L1"),
                           QStringLiteral("unknow type of f-line definition E-K"),
                           QStringLiteral("unknow type of f-line definition w")}
            << -1.0 << -1.0 << 0 << -1.0;
        QTest::newRow("empty, dash and hash are quiet")
            << QStringLiteral("#,IDLINE,,-,#,--,AE-K") << QStringList() << 6.5 << -1.0 << 0 << -1.0;
        QTest::newRow("dashes around parts")
            << QStringLiteral("#,IDLINE,#,-AE--K-") << QStringList() << 3.5 << -1.0 << 0 << -1.0;
        QTest::newRow("case-sensitive kinds")
            << QStringLiteral("#,IDLINE,#,ae-K,W-K")
            << QStringList{QStringLiteral("unknow type of f-line definition ae-K"),
                           QStringLiteral("unknow type of f-line definition W-K")}
            << -1.0 << -1.0 << 0 << -1.0;
        QTest::newRow("percent signs stay text")
            << QStringLiteral("#,IDLINE,#,AE-%3,AE-%3,E-%1-%4,E-%1-%4")
            << QStringList{QStringLiteral("Duplicate AE-def %3 3 4"),
                           QStringLiteral("Duplicate line-def %1 %4 5 6")}
            << -1.0 << -1.0 << 0 << -1.0;
        QTest::newRow("edge not known") << QStringLiteral("#,IDLINE,#,AE-M1,w-M1") << QStringList()
                                        << -1.0 << -1.0 << 0 << -1.0;
        QTest::newRow("second tag row adds no duplicate")
            << QStringLiteral("#,IDLINE,#,AE-K\n#,IDLINE,#,#,AE-K")
            << QStringList{QStringLiteral("Duplicate AE-def K 3 4")} << 3.5 << -1.0 << 0 << -1.0;
    }
    void tagDiagnostics()
    {
        QFETCH(QString, tags);
        QFETCH(QStringList, diagnostics);
        QFETCH(double, kEdge);
        QFETCH(double, kYield);
        QFETCH(int, kLines);
        QFETCH(double, ka1);
        QStringList row{QStringLiteral("Xx"), QStringLiteral("9"), QStringLiteral("1")};
        for (int i = 3; i < 8; ++i)
            row << QString::number(i + 0.5);
        for (const QString &d : diagnostics)
            QTest::ignoreMessage(QtDebugMsg, d.toUtf8().constData());
        XrayDataBase db;
        QVERIFY(load(db, tags + QLatin1Char('\n') + row.join(QLatin1Char(','))));
        QCOMPARE(db.diagnostics(), diagnostics);
        const aAtom a = db.elementByZ(9);
        QCOMPARE(a.edges[0].energy, kEdge);
        QCOMPARE(a.yields[0].value, kYield);
        QCOMPARE(a.lines[0].size(), kLines);
        if (kLines > 0)
            QCOMPARE(a.lines[0].at(0).energy, ka1);
    }

    void linePairs_data()
    {
        QTest::addColumn<QString>("tags");
        QTest::addColumn<QString>("values"); // fields 3 on
        QTest::addColumn<int>("shell");      // edge index the line should land in, -1 none
        QTest::addColumn<double>("energy");  // keV
        QTest::addColumn<double>("rate");
        QTest::newRow("energy then rate") << QStringLiteral("E-L2-Lb1,Rate-L2-Lb1")
                                          << QStringLiteral("7180,0.9") << 2 << 7.18 << 0.9;
        QTest::newRow("rate then energy") << QStringLiteral("Rate-L2-Lb1,E-L2-Lb1")
                                          << QStringLiteral("0.9,7180") << 2 << 7.18 << 0.9;
        QTest::newRow("apart") << QStringLiteral("E-K-Kb1,#,#,Rate-K-Kb1")
                               << QStringLiteral("7058,1,2,0.08") << 0 << 7.058 << 0.08;
        QTest::newRow("energy only")
            << QStringLiteral("E-K-Ka1") << QStringLiteral("6404") << -1 << 0.0 << 0.0;
        QTest::newRow("rate only")
            << QStringLiteral("Rate-K-Ka1") << QStringLiteral("0.5") << -1 << 0.0 << 0.0;
        QTest::newRow("other line's rate") << QStringLiteral("E-K-Ka1,Rate-K-Ka2")
                                           << QStringLiteral("6404,0.5") << -1 << 0.0 << 0.0;
        QTest::newRow("other shell's rate") << QStringLiteral("E-K-Ka1,Rate-L3-Ka1")
                                            << QStringLiteral("6404,0.5") << -1 << 0.0 << 0.0;
        QTest::newRow("M shell is not stored")
            << QStringLiteral("E-M-Ma,Rate-M-Ma") << QStringLiteral("2048,1") << -1 << 0.0 << 0.0;
        QTest::newRow("missing energy")
            << QStringLiteral("E-K-Ka1,Rate-K-Ka1") << QStringLiteral("=,0.5") << -1 << 0.0 << 0.0;
        QTest::newRow("zero rate")
            << QStringLiteral("E-K-Ka1,Rate-K-Ka1") << QStringLiteral("6404,0") << -1 << 0.0 << 0.0;
        QTest::newRow("column past the row's end")
            << QStringLiteral("E-K-Ka1,Rate-K-Ka1") << QStringLiteral("6404") << -1 << 0.0 << 0.0;
    }
    void linePairs()
    {
        QFETCH(QString, tags);
        QFETCH(QString, values);
        QFETCH(int, shell);
        QFETCH(double, energy);
        QFETCH(double, rate);
        XrayDataBase db;
        QVERIFY(load(db, QStringLiteral("#,IDLINE,#,%1\nXx,9,1,%2").arg(tags, values)));
        QVERIFY(db.diagnostics().isEmpty());
        const aAtom a = db.elementByZ(9);
        for (int k = 0; k < 5; ++k) {
            if (k != shell) {
                QVERIFY2(a.lines[k].isEmpty(), qPrintable(QString::number(k)));
                continue;
            }
            QCOMPARE(a.lines[k].size(), 1);
            QCOMPARE(a.lines[k].at(0).energy, energy);
            QCOMPARE(a.lines[k].at(0).rate, rate);
            QCOMPARE(a.lines[k].at(0).shell, db.edgeName(k));
        }
    }

    void placeholder_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("stored");
        QTest::newRow("comment row") << QStringLiteral("#,a,b") << true;
        QTest::newRow("empty first field") << QStringLiteral(",a,b") << true;
        QTest::newRow("tag row") << QStringLiteral("#,IDLINE,#") << true;
        QTest::newRow("blank-padded hash") << QStringLiteral("  # , a , b") << true;
        QTest::newRow("two fields are ignored") << QStringLiteral("#,a") << false;
        QTest::newRow("empty line") << QStringLiteral("\n\n") << false;
        QTest::newRow("element rows only") << QStringLiteral("Fe,26,55.8") << false;
    }
    void placeholder()
    {
        QFETCH(QString, text);
        QFETCH(bool, stored);
        XrayDataBase db;
        QVERIFY(load(db, text));
        QCOMPARE(db.bySymbol().contains(QString()), stored);
        QCOMPARE(db.byZ().contains(0), stored);
        if (stored) {
            QCOMPARE(db.bySymbol().value(QString()).z, 0);
            QCOMPARE(db.byZ().value(0).weight, 0.0);
            QCOMPARE(db.byZ().value(0).edges[0].energy, -1.0);
        }
    }

    void placeholderComesBack()
    {
        XrayDataBase db;
        // A row with z not a number sits under 0 until the next comment row.
        QVERIFY(load(db, QStringLiteral("Qq,none,1\n#,x,y\n")));
        QVERIFY(db.byZ().value(0).symbol.isEmpty());
        QCOMPARE(db.byZ().value(0).z, 0);
    }

    void laterRowWins()
    {
        XrayDataBase db;
        // The column-number row: stored under "0" and 1, then the row of
        // hydrogen takes number 1 but not the symbol "0".
        QVERIFY(load(db, QStringLiteral("0,1,2,3,4,5,6\n"
                                        "H,1,1.0079,=,1,2,3\n"
                                        "Fe,26,55.8,7.1,1,2,3\n"
                                        "Fe,26,56.0,7.2,1,2,3\n")));
        QCOMPARE(db.byZ().value(1).symbol, QStringLiteral("H"));
        QCOMPARE(db.byZ().value(1).edgeE[0], -1.0);
        QCOMPARE(db.bySymbol().value(QStringLiteral("0")).z, 1);
        QCOMPARE(db.bySymbol().value(QStringLiteral("Fe")).weight, 56.0);
        QCOMPARE(db.byZ().value(26).edgeE[0], 7.2);
        QCOMPARE(db.byZ().size(), 2);
        QCOMPARE(db.bySymbol().size(), 3);
    }

    void reloadStartsAfresh()
    {
        QTest::ignoreMessage(QtDebugMsg, "Duplicate AE-def K 3 4");
        XrayDataBase db;
        QVERIFY(load(db, QStringLiteral("#,IDLINE,#,AE-K,AE-K\nFe,26,55.8,7.1")));
        QCOMPARE(db.diagnostics().size(), 1);
        QVERIFY(load(db, QStringLiteral("Cu,29,63.5,8.98")));
        QVERIFY(!db.bySymbol().contains(QStringLiteral("Fe")));
        QVERIFY(db.diagnostics().isEmpty());
        QCOMPARE(db.edgeNames(), (QStringList{QStringLiteral("K"), QStringLiteral("L1"),
                                              QStringLiteral("L2"), QStringLiteral("L3")}));
    }

    void commentsMayHoldAnyBytes()
    {
        const QString path = m_dir.filePath(QStringLiteral("latin1.txt"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#,\xe9l\xe9ment \xff\xfe,x\nFe,26,55.8,7.1,1,2,3\n");
        f.close();
        XrayDataBase db;
        QVERIFY(db.load(path));
        QCOMPARE(db.elementByZ(26).edgeE[0], 7.1);
    }

    void missingFile()
    {
        const QString path = m_dir.filePath(QStringLiteral("no-such-table.txt"));
        const QString message = QStringLiteral("Cannot open [%1]").arg(path);
        QTest::ignoreMessage(QtDebugMsg, message.toUtf8().constData());
        XrayDataBase db;
        QVERIFY(!db.load(path));
        QCOMPARE(db.diagnostics(), QStringList{message});
        QVERIFY(db.bySymbol().isEmpty());
    }

    void startupExit_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<int>("status");
        QTest::newRow("missing table ends with 1") << false << 1;
        QTest::newRow("present table continues") << true << 0;
    }
    void startupExit()
    {
        QFETCH(bool, exists);
        QFETCH(int, status);
        const QString path = exists ? write(QStringLiteral("Fe,26,55.8,7.1"))
                                    : m_dir.filePath(QStringLiteral("missing.txt"));
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--load-or-exit"), path});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), status);
        const QString err = QString::fromUtf8(child.readAllStandardError());
        QCOMPARE(err.contains(QStringLiteral("Cannot open [%1]").arg(path)), !exists);
        // The child reached the line after the load only when the table opened.
        QCOMPARE(
            QString::fromUtf8(child.readAllStandardOutput()).contains(QStringLiteral("loaded 1")),
            exists);
    }
};

int main(int argc, char *argv[])
{
    if (argc == 3 && std::strcmp(argv[1], "--load-or-exit") == 0) {
        QCoreApplication app(argc, argv);
        loadXrayDataBaseOrExit(QString::fromLocal8Bit(argv[2]));
        printf("loaded %d\n", int(xrayDataBase().byZ().size()));
        return 0;
    }
    QCoreApplication app(argc, argv);
    TstXrayDbLoader tc;
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_xraydbloader.moc"
