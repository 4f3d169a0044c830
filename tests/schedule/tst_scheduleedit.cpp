// Schedule entries as values, without any widget: the codec, the editing
// operations, each entry's own crystal spacing, and block files.
#include "BlockFile.h"
#include "EntryCodec.h"
#include "ScheduleTestEnv.h"

#include <QtTest>

using ScheduleTestEnv::entryFields;

namespace {
const QString kHolderError = QStringLiteral("Holder No. or Sample ID must be specified.");
const QString kTargetError = QStringLiteral("Target Element must be specified.");

Entry read(const QStringList &fields)
{
    return EntryCodec::fromFields(fields);
}

// The positions of a set's rows 0 ... n, eV.
QList<double> positions(const BlockSet &s, int n)
{
    QList<double> p;
    for (int i = 0; i <= n; ++i)
        p << s.row(i).pos;
    return p;
}

bool near(const QList<double> &got, const QList<double> &want, double tolerance)
{
    for (int i = 0; i < want.size(); ++i) {
        if (std::abs(got.value(i) - want.at(i)) > tolerance)
            return false;
    }
    return true;
}
} // namespace

class TestEntry : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(ScheduleTestEnv::setUp() && m_dir.isValid()); }

    // A new entry: the quick standard block around the copper edge.
    void defaults()
    {
        const QStringList f = EntryCodec::toFields(Entry::defaults());
        QCOMPARE(f.mid(5, 2) + f.mid(15),
                 (QStringList{"Cu", "K", "300", "1", "eV", "R-300", "4665", "0.300107"}));
    }

    void errors_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QStringList>("errors");
        auto row = [](const char *name, const QStringList &f, const QStringList &errors) {
            QTest::newRow(name) << f << errors;
        };
        row("empty list", {}, {kHolderError, kTargetError});
        row("holder only", {"H1"}, {kTargetError});
        row("holder and comment", {"H1", "", "note"}, {kTargetError});
        row("holder, no sample", {"H1", "", "", "", "", "Cu"}, {});
        row("sample only", {"", "S1", "", "", "", "Fe"}, {});
        row("neither", {"", "", "", "", "", "Fe"}, {kHolderError});
        for (const char *bad : {"Xx", "fe", "200", ""})
            row(bad, {"1", "", "", "", "", bad}, {kTargetError});
    }
    // Missing fields keep the entry's values; warnings are kept as given.
    void errors()
    {
        QFETCH(QStringList, fields);
        QFETCH(QStringList, errors);
        Entry e = Entry::defaults();
        QStringList errs, warns{"kept"};
        QCOMPARE(EntryCodec::fromFields(fields, e, errs, warns), errors.isEmpty());
        QCOMPARE(errs, errors);
        QCOMPARE(e.errors, errors);
        QCOMPARE(e.warnings, QStringList{"kept"});
        QCOMPARE(e.comment, fields.size() > 2 ? fields.at(2) : Entry::defaults().comment);
        if (errors.contains(kTargetError) && fields.size() > 5)
            QCOMPARE(e.targetElm, QString());
    }

    // One field read into a step entry that shows 3 blocks, and written back.
    void fields_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("written");
        auto row = [](const char *name, int column, const char *text, const char *written) {
            QTest::newRow(name) << column << QString(text) << QString(written);
        };
        row("element by number", 5, "26", "Fe");
        row("blank edge: automatic", 6, "", "K");
        row("edge", 6, "L3", "L3");
        row("edge case matters", 6, "l3", "K");
        row("dark alias any case", 7, "yes", "Y");
        row("dark unknown", 7, "maybe", "-");
        row("tune", 8, "N", "N");
        row("crystal by alias", 9, "Si(311)", "Si311");
        row("crystal by name", 9, "Si111", "Si111");
        row("crystal case matters", 9, "si111", "-");
        row("scan type alias", 10, "q", "Quick");
        row("block definition alias", 12, "f", "File");
        row("standard type alias", 13, "n", "XANES");
        row("10 blocks", 16, "10", "10");
        for (const char *bad : {"0", "-2", "many", "11"})
            row(bad, 16, bad, "3");
        row("unit", 17, "keV", "keV");
        row("unit other case: kept", 17, "KEV", "eV");
    }
    void fields()
    {
        QFETCH(int, column);
        QFETCH(QString, text);
        Entry e = Entry::defaults();
        e.selectScanType(EntryRows::StepScan);
        e.requestBlocks(3);
        QStringList f = entryFields("Cu", "K", "User", "Step", 3, "eV");
        f[column] = text;
        QStringList errs, warns;
        QVERIFY(EntryCodec::fromFields(f, e, errs, warns));
        const QStringList out = EntryCodec::toFields(e);
        QTEST(out.at(column), "written");
        QCOMPARE(out.size(), 18 + 3 * e.blocks);
        QCOMPARE(e.activeBlocks().shown(), e.blocks);
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("crystal");
        QTest::addColumn<QStringList>("blocks");
        const QStringList deg{"R0.7", "40", "-0.02", "R0.1", "100", "-0.003"};
        const QStringList eV{"8600", "30", "10", "R-50", "200", "0.5", "R50", "40", "5"};
        QTest::newRow("eV") << "eV" << QString("-") << eV;
        QTest::newRow("keV") << "keV" << QString("-")
                             << QStringList{"R-0.3", "26", "0.01", "R-0.04", "300", "0.0003"};
        QTest::newRow("A") << "A" << QString("-")
                           << QStringList{"1.45", "50", "-0.001", "R-0.02", "100", "-0.0002"};
        QTest::newRow("deg") << "deg" << QString("-") << deg;
        QTest::newRow("deg on Si(311)") << "deg" << QString("Si311") << deg;
        QTest::newRow("deg absolute on Si(311)")
            << "deg" << QString("Si311") << QStringList{"27", "40", "-0.02", "26", "100", "-0.003"};
    }
    // Written and read back into a new entry, user blocks keep every field,
    // the last block's width included.
    void roundTrip()
    {
        QFETCH(QString, unit);
        QFETCH(QString, crystal);
        QFETCH(QStringList, blocks);
        const int n = int(blocks.size()) / 3;
        QStringList fields = entryFields("Cu", "K", "User", "Step", n, unit, blocks);
        fields[9] = crystal;
        const Entry a = read(fields);
        QVERIFY(a.errors.isEmpty());
        const QStringList first = EntryCodec::toFields(a);
        for (int i = 0; i < n; ++i) // starts and Points as given; Delta follows
            QCOMPARE(first.mid(18 + 3 * i, 2), blocks.mid(3 * i, 2));
        const Entry b = read(first);
        QCOMPARE(EntryCodec::toFields(b), first);
        QVERIFY(near(positions(b.stepBlocks, n - 1), positions(a.stepBlocks, n - 1), 1e-6));
        QVERIFY(near(positions(b.stepBlocks, n), positions(a.stepBlocks, n), 0.01));
    }

    // User blocks relative to the edge; the end follows Points and Delta.
    void userBlocksAndRelative()
    {
        const double fe = xrayDataBase().edgeEnergy("Fe", "K");
        Entry e = read(entryFields("Fe", "", "User", "Step", 2, "eV",
                                   {"R-200", "20", "10", "R-20", "40", "1"}));
        QCOMPARE(positions(e.stepBlocks, 2), (QList<double>{fe - 200, fe - 20, fe + 20}));
        QCOMPARE(e.stepBlocks.row(0).deltaText, QStringLiteral("9"));
        e.setRelative(false); // both sets
        QCOMPARE(EntryCodec::toFields(e).at(18), QString::number(fe - 200));
        QVERIFY(!e.quickBlocks.startText(0).startsWith('R'));
        e.setRelative(true);
        QCOMPARE(EntryCodec::toFields(e).at(18), QStringLiteral("R-200"));
        QVERIFY(e.quickBlocks.startText(0).startsWith('R'));
    }

    // Each scan type keeps its own block count and times while the other is
    // shown; the quick scan has one detection mode.
    void scanTypeRemembers()
    {
        Entry e = Entry::defaults();
        auto shown = [&e] { return e.measTimes + '/' + QString::number(e.blocks); };
        e.selectScanType(EntryRows::StepScan);
        QCOMPARE(shown(), QStringLiteral("1,1,1,1/4"));
        e.measMode = 1;
        e.measTimes = "2, 5";
        e.requestBlocks(3);
        QCOMPARE(e.stepBlocks.shown(), 3);
        e.selectScanType(EntryRows::QuickScan);
        QCOMPARE(shown(), QStringLiteral("300/1"));
        QCOMPARE(e.measMode, 0);
        e.measTimes = "100";
        e.selectScanType(EntryRows::StepScan);
        QCOMPARE(shown(), QStringLiteral("2, 5/3"));
        QCOMPARE(e.quickTimes, QStringLiteral("100"));
    }

    void standardSets_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QStringList>("stepPoints");
        QTest::addColumn<double>("quickEnd"); // from the edge, eV
        QTest::newRow("XAFS") << "XAFS" << QStringList{"40", "300", "180", "100"} << 1100.0;
        QTest::newRow("XANES") << "XANES" << QStringList{"40", "300", "45"} << 500.0;
        QTest::newRow("EXAFS") << "EXAFS" << QStringList{"40", "90", "180", "100"} << 1100.0;
    }
    // Standard blocks sit around the edge of the entry read, not that of a
    // new entry; the block count shown is left alone.
    void standardSets()
    {
        QFETCH(QString, type);
        QFETCH(QStringList, stepPoints);
        QStringList f = entryFields("Fe", "K", "Std", "Quick", 1, "eV");
        f[13] = type;
        const Entry e = read(f);
        const double fe = xrayDataBase().edgeEnergy("Fe", "K");
        QStringList got;
        for (int i = 0; i < stepPoints.size(); ++i)
            got << e.stepBlocks.row(i).pointsText;
        QCOMPARE(got, stepPoints);
        QCOMPARE(e.stepBlocks.shown(), int(stepPoints.size()));
        QCOMPARE(e.quickBlocks.shown(), 1); // a standard quick scan is one block
        QCOMPARE(e.stepBlocks.row(0).pos, fe - 300);
        QFETCH(double, quickEnd);
        QCOMPARE(positions(e.quickBlocks, 1), (QList<double>{fe - 300, fe + quickEnd}));
        QCOMPARE(e.blocks, 1);
    }

    void latticeSpacing_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("crystal"); // as the schedule names it
        QTest::addColumn<QString>("used");    // the crystal table's name
        QTest::newRow("Cu on Si(111)") << "Cu" << QString("Si(111)") << "Si111";
        QTest::newRow("Cu on Si(311)") << "Cu" << QString("Si(311)") << "Si311";
        QTest::newRow("Fe automatic: the first") << "Fe" << QString("-") << "Si111";
        QTest::newRow("Sn automatic: only the second") << "Sn" << QString("-") << "Si311";
    }
    // Blocks shown in degrees are angles of the entry's own crystal, whichever
    // entry was read or edited last.
    void latticeSpacing()
    {
        QFETCH(QString, target);
        QFETCH(QString, crystal);
        QFETCH(QString, used);
        auto entry = [](const QString &t, const QString &c) {
            QStringList f = entryFields(t, "K", "Std", "Step", 4, "deg");
            f[9] = c;
            return read(f);
        };
        const CrystalTable &table = crystalTable();
        const double d = table.at(table.rowByName(used)).d;
        Entry e = entry(target, crystal);
        Entry other = entry("Cu", used == "Si111" ? "Si(311)" : "Si(111)");
        QVERIFY(other.latticeSpacing() != d);
        const double edge = xrayDataBase().edgeEnergy(target, "K");
        const QList<double> offsets{-300, -40, 50, 500, 1100};
        for (Entry *last : {&other, &e}) {
            last->selectBlockUnit(3);
            for (int i = 0; i < offsets.size(); ++i) {
                const double want = ScheduleTestEnv::braggDeg(edge + offsets.at(i), d);
                QVERIFY2(std::abs(e.stepBlocks.displayValue(i) - want) < 1e-4,
                         qPrintable(QString::number(e.stepBlocks.displayValue(i))));
            }
            QCOMPARE(e.quickBlocks.displayValue(1), e.stepBlocks.displayValue(4));
        }
    }

    void blockFileRoundTrip_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<int>("crystal");
        for (int u = 0; u < 4; ++u)
            QTest::addRow("%s", qPrintable(Units::name(u))) << u << -1;
        QTest::newRow("deg on Si(311)") << 3 << 1;
    }
    // Written in any unit and loaded into another entry of the same target,
    // the blocks, counts and times of both scans are where they were.
    void blockFileRoundTrip()
    {
        QFETCH(int, unit);
        QFETCH(int, crystal);
        Entry a = read(entryFields("Fe", "K", "User", "Step", 3, "eV",
                                   {"6900", "30", "", "7080", "120", "", "R40", "60", ""}));
        a.measTimes = "2, 4, 8";
        a.selectCrystal(crystal);
        a.selectBlockUnit(unit);
        const QString file = m_dir.filePath(QTest::currentDataTag()).replace(' ', '_');
        const BlockFile::Result w = BlockFile::write(file, a);
        QVERIFY2(w.ok, qPrintable(w.error));
        QCOMPARE(w.path, file + ".prm");
        Entry b = read(entryFields("Fe", "K", "File", "Step", 4, "eV"));
        b.selectCrystal(crystal);
        b.selectBlockUnit(unit);
        QVERIFY(BlockFile::load(w.path, b).ok);
        QCOMPARE(b.stepBlockCount, 3);
        QCOMPARE(b.stepTimes, QStringLiteral("2, 4, 8"));
        QCOMPARE(b.measTimes, QStringLiteral("1")); // the shown text stays
        QCOMPARE(b.stepBlocks.unit(), unit);
        QVERIFY(near(positions(b.stepBlocks, 3), positions(a.stepBlocks, 3), 0.05));
        QVERIFY(near(positions(b.quickBlocks, 1), positions(a.quickBlocks, 1), 0.05));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(b.stepBlocks.row(i).pointsText, a.stepBlocks.row(i).pointsText);
    }

    // Block files of every kind, read into an entry that shows keV and
    // remembers 3 quick and 2 step blocks; then quick row 0's start as shown,
    // the two counts and the step times. A 9809 file is recognised and
    // changes nothing; a missing one changes nothing and says why.
    void blockFileLines_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("kind"); // of BlockFile::Kind
        QTest::addColumn<QString>("read");
        const QByteArray q = "QN 1\nQB 0 7000 10 1\nQB 1 7100 0 0\n";
        const QString untouched = "R-0.3 3 2 1,1,1,1";
        auto row = [](const char *name, const QByteArray &content, int kind, const QString &read) {
            QTest::newRow(name) << content << kind << read;
        };
        row("unit without value", "U\n" + q, 0, "7 1 2 ");
        row("unknown unit", "U 9\n" + q, 0, "7 1 2 ");
        row("keV file", "U 1\nQN 1\nQB 0 7 10 1\nQB 1 7.1 0 0\n", 0, "7 1 2 ");
        row("relative start stays an offset", "U 1\nQN 1\nQB 0 R-100 10 1\nQB 1 9.5 0 0\n", 0,
            "R-0.1 1 2 ");
        row("counts without value", "QN\nSN x\n", 0, "R-0.3 1 0 ");
        row("counts out of range", "QN 50\nSN -4\n", 0, "R-0.3 3 2 ");
        row("times joined, any blanks", "SN 2\nSB 0 7000 10 1\nSB   1\t7100  20 5\nSB 2 7300 0 0\n",
            0, "R-0.3 3 2 1, 5");
        row("9809 at start", "9809\nQN 1\nQB 0 5000 10 1\n", 1, untouched);
        row("9809 inside the first line", "  format x9809y\nQN 1\n", 1, untouched);
        row("9809 on the second line only", "head\n9809\n", 0, "R-0.3 3 2 ");
        row("no file", {}, 2, untouched);
    }
    void blockFileLines()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, kind);
        Entry e = Entry::defaults();
        e.selectBlockUnit(1);
        e.quickBlockCount = 3;
        e.stepBlockCount = 2;
        const QString file = m_dir.filePath(QString::number(qHash(content)) + ".prm");
        QVERIFY(kind == 2 || ScheduleTestEnv::writeText(file, content));
        QCOMPARE(int(BlockFile::kindOf(file)), kind);
        const BlockFile::Result r = BlockFile::load(file, e);
        QCOMPARE(r.ok, kind != 2);
        QCOMPARE(r.error.isEmpty(), r.ok);
        QTEST(QString("%1 %2 %3 %4")
                  .arg(e.quickBlocks.startText(0))
                  .arg(e.quickBlockCount)
                  .arg(e.stepBlockCount)
                  .arg(e.stepTimes),
              "read");
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestEntry)
#include "tst_scheduleedit.moc"
