// Schedule entries as values, without any widget: the codec reading fields
// into an entry and writing them back.
#include "EntryCheck.h"
#include "EntryCodec.h"
#include "ScheduleTestEnv.h"

#include <QtTest>
#include <cmath>
#include <functional>

using ScheduleTestEnv::entryFields;
using Edit = std::function<void(Entry &)>;
Q_DECLARE_METATYPE(Edit)

class TestEntry : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(ScheduleTestEnv::setUp()); }

    // Missing fields keep the entry's values; warnings are kept as given.
    void errors_data()
    {
        const QString holder = "Holder No. or Sample ID must be specified.";
        const QString target = "Target Element must be specified.";
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QStringList>("errors");
        QTest::newRow("empty list") << QStringList() << QStringList{holder, target};
        QTest::newRow("holder and comment") << QStringList{"H1", "", "note"} << QStringList{target};
        QTest::newRow("sample only") << QStringList{"", "S1", "", "", "", "Fe"} << QStringList();
        QTest::newRow("neither") << QStringList{"", "", "", "", "", "Fe"} << QStringList{holder};
        QTest::newRow("unknown") << QStringList{"1", "", "", "", "", "fe"}
                                 << QStringList{"Target element \"fe\" is not in the X-ray table."};
    }
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
        row("reference sample", 3, "Ref", "Ref");
        row("element by number", 5, "26", "Fe");
        row("crystal by alias", 9, "Si(311)", "Si311");
        row("scan type alias", 10, "q", "Quick");
        row("block definition alias", 12, "f", "File");
        row("standard type alias", 13, "n", "XANES");
        row("10 blocks", 16, "10", "10");
        row("11 blocks", 16, "11", "3");
        row("unit", 17, "keV", "keV");
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
    }

    // Written and read back into a new entry, user blocks keep every field,
    // the last block's width included; starts and Points stay as given.
    void roundTrip_data()
    {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QStringList>("blocks");
        QTest::newRow("one block") << "eV" << QStringList{"8600", "30", "10"};
        QTest::newRow("eV") << "eV" << QStringList{"8600", "30",  "10", "R-50", "200",
                                                   "0.5",  "R50", "40", "5"};
        QTest::newRow("keV") << "keV"
                             << QStringList{"R-0.3", "26", "0.01", "R-0.04", "300", "0.0003"};
        QTest::newRow("deg") << "deg"
                             << QStringList{"R0.7", "40", "-0.02", "R0.1", "100", "-0.003"};
    }
    void roundTrip()
    {
        QFETCH(QString, unit);
        QFETCH(QStringList, blocks);
        const int n = int(blocks.size()) / 3;
        const Entry a =
            EntryCodec::fromFields(entryFields("Cu", "K", "User", "Step", n, unit, blocks));
        QVERIFY(a.errors.isEmpty());
        const QStringList first = EntryCodec::toFields(a);
        for (int i = 0; i < n; ++i)
            QCOMPARE(first.mid(18 + 3 * i, 2), blocks.mid(3 * i, 2));
        QCOMPARE(EntryCodec::toFields(EntryCodec::fromFields(first)), first);
        QCOMPARE(first.mid(first.size() - 3), blocks.mid(blocks.size() - 3)); // the last Delta too
    }

    // A text that names nothing known: the entry stands where such a line
    // always put it (as if the fallback had been read), cannot start, and
    // writes the text back as read.
    void unknownTexts_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fallback");
        auto row = [](const char *name, int column, const char *text, const char *fallback) {
            QTest::newRow(name) << column << QString(text) << QString(fallback);
        };
        row("element", 5, "Xx", "");
        row("edge", 6, "K9", "");
        row("dark", 7, "maybe", "-");
        row("crystal", 9, "Ge111", "-");
        row("scan type", 10, "Quack", "Quick");
        row("measurement mode", 11, "Tran", "Trans");
        row("block definition", 12, "Usr", "Std");
        row("standard type", 13, "XANESS", "XAFS");
        row("unit", 17, "ev", "eV");
    }
    void unknownTexts()
    {
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(QString, fallback);
        QStringList f = entryFields("Cu", "K", "User", "Step", 2, "eV",
                                    {"8800", "10", "20", "R-40", "20", "5"});
        f[column] = fallback;
        const Entry plain = EntryCodec::fromFields(f);
        f[column] = text;
        const Entry read = EntryCodec::fromFields(f);
        const QStringList errors = EntryCheck::errorsAtStart(read);
        QVERIFY2(errors.filter(text).size() == 1, qPrintable(errors.join('\n')));
        QStringList written = EntryCodec::toFields(read);
        QCOMPARE(written.at(column), text);
        QCOMPARE(EntryCodec::toFields(EntryCodec::fromFields(written)).at(column), text);
        written[column] = EntryCodec::toFields(plain).at(column);
        QCOMPARE(written, EntryCodec::toFields(plain));
    }

    // The blocks an entry shows are those sent: standard blocks are the
    // target's set, whatever count the entry had.
    void standardBlocksShown_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<int>("blocks");
        auto row = [](const char *name, int blocks, const Edit &edit) {
            QTest::newRow(name) << edit << blocks;
        };
        row("step XANES", 3, [](Entry &e) {
            e.selectStdBlockType(1);
            e.selectScanType(EntryRows::StepScan);
        });
        row("XANES chosen on a step scan", 3, [](Entry &e) {
            e.selectScanType(EntryRows::StepScan);
            e.selectStdBlockType(1);
        });
        // A quick scan is one sweep: each standard type gives it a single block.
        for (int type : {0, 1, 2})
            row(qPrintable("quick, standard type " + QString::number(type)), 1,
                [type](Entry &e) { e.selectStdBlockType(type); });
        row("XANES read with 4 blocks", 3, [](Entry &e) {
            QStringList f = entryFields("Cu", "K", "Std", "Step", 4, "eV");
            f[13] = "XANES";
            e = EntryCodec::fromFields(f);
        });
        row("user blocks back to standard", 4, [](Entry &e) {
            e.selectScanType(EntryRows::StepScan);
            e.selectBlockDefType(EntryRows::UserBlocks);
            e.requestBlocks(7);
            e.selectBlockDefType(EntryRows::StandardBlocks);
        });
    }
    void standardBlocksShown()
    {
        QFETCH(Edit, edit);
        QFETCH(int, blocks);
        Entry e = Entry::defaults();
        edit(e);
        QCOMPARE(e.blocks, blocks);
        QCOMPARE(e.activeBlocks().shown(), blocks);
        QCOMPARE(EntryCodec::toFields(e).size(), 18 + 3 * blocks);
        // Each standard block's Points follow from its width and step.
        const BlockSet &set = e.activeBlocks();
        for (int i = 0; i < blocks; ++i) {
            const BlockRow &r = set.row(i);
            QVERIFY(r.points() > 0 && r.delta() > 0);
            QVERIFY(qAbs(set.width(i) - r.points() * r.delta()) < r.delta());
        }
    }

    // Each entry converts angles with its own crystal, whatever entry was
    // read after it: the start of a block shown in degrees follows the Bragg
    // law for the entry's spacing.
    void anglesUseTheEntrysCrystal_data()
    {
        QTest::addColumn<QString>("crystal");
        QTest::addColumn<double>("d");
        QTest::addColumn<QString>("other");
        QTest::newRow("Si111 read before Si311") << "Si111" << 3.13553 << "Si311";
        QTest::newRow("Si311 read before Si111") << "Si311" << 1.63747 << "Si111";
    }
    void anglesUseTheEntrysCrystal()
    {
        QFETCH(QString, crystal);
        QFETCH(double, d);
        QFETCH(QString, other);
        auto read = [](const QString &c) {
            QStringList f = entryFields("Cu", "K", "User", "Step", 1, "eV", {"9000", "10", "10"});
            f[9] = c;
            Entry e = EntryCodec::fromFields(f);
            e.selectBlockUnit(3);
            return e;
        };
        const Entry e = read(crystal);
        const Entry later = read(other);
        const double bragg = std::asin(12.39842 / 9.0 / (2 * d)) * 180 / M_PI;
        QVERIFY(std::abs(e.activeBlocks().displayValue(0) - bragg) < 1e-3);
        QVERIFY(std::abs(later.activeBlocks().displayValue(0) - bragg) > 1);
    }
};

QTEST_GUILESS_MAIN(TestEntry)
#include "tst_scheduleedit.moc"
