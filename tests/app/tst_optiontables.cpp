#include "ConfigStore.h"
#include "OptionTables.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestOptionTables : public QObject
{
    Q_OBJECT

private slots:
    void crystals()
    {
        CrystalTable t;
        t.build({" Si111 3.1356 4000 30000 \"Si(111)\"",
                 " Si311 1.6375 7000 20000 311 \"Si (311)\"", " Bare", " X 3 a 9000"});
        QCOMPARE(t.at(0).d, 3.1356);
        QCOMPARE(t.at(0).aliases, QStringList({"Si(111)", "Si111"}));
        QCOMPARE(t.at(1).aliases, QStringList({"311", "Si (311)", "Si311"}));
        QCOMPARE(t.at(2).d, 0.0); // missing items read as 0
        QCOMPARE(t.at(2).aliases, QStringList({"Bare"}));
        QCOMPARE(t.at(3).eMin, 0.0); // not a number
        // ... and the operator hears of both rows that do not read.
        QCOMPARE(t.diagnostics().size(), 2);
        QVERIFY(t.diagnostics().at(0).startsWith("Crystal Bare:"));
        QVERIFY(t.diagnostics().at(1).contains("[3] [a] [9000]"));
        QCOMPARE(t.maxEnergy(), 30000.0);
        QCOMPARE(t.rowByName("Si(111)"), 0);
        QCOMPARE(t.rowByName("Si311"), 1);
        QCOMPARE(t.rowByName("si311"), -1); // case-sensitive
        QCOMPARE(t.rowForEnergy(4000), 3);  // eMin itself is outside; the first matching row
        QCOMPARE(t.rowForEnergy(8000), 0);
        QCOMPARE(t.rowForEnergy(50000), 0); // none: row 0
        QCOMPARE(CrystalTable().maxEnergy(), 0.0);
    }

    void selection_data()
    {
        QTest::addColumn<QStringList>("rests");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("found");
        const QStringList dark{" \"No dark\" none", " Y yes", " N no", " "};
        QTest::newRow("label in quotes") << dark << "no dark" << 0 << true;
        QTest::newRow("alias any case") << dark << "Yes" << 1 << true;
        QTest::newRow("label") << dark << "n" << 2 << true;
        QTest::newRow("unknown") << dark << "maybe" << 0 << false;
        QTest::newRow("empty table") << QStringList() << "Y" << 0 << false;
        QTest::newRow("first row wins") << QStringList{" A X", " B X"} << "x" << 0 << true;
    }
    void selection()
    {
        QFETCH(QStringList, rests);
        QFETCH(QString, text);
        QFETCH(bool, found);
        SelectionTable t;
        t.build(rests);
        bool got = !found; // must be written by rowOf
        QTEST(t.rowOf(text, &got), "row");
        QCOMPARE(got, found);
        QCOMPARE(t.rowCount(), rests.size());
        QCOMPARE(t.label(rests.size()), QString()); // out of range is harmless
        if (rests == QStringList{" \"No dark\" none", " Y yes", " N no", " "}) {
            QCOMPARE(t.label(0), QString("No dark"));
            QCOMPARE(t.items().at(0), QStringList({"NO DARK", "NONE"}));
            QCOMPARE(t.label(3), QString());
        }
    }

    void measModeMap_data()
    {
        QTest::addColumn<QString>("rest");
        QTest::addColumn<int>("detection");
        QTest::addColumn<int>("code");
        for (const char *t : {"T", "Trans", "0", "trans", "fluo"})
            QTest::newRow(t) << QString(" %1 3").arg(t) << 0 << 3;
        for (const char *f : {"F", "Fluo", "1"})
            QTest::newRow(f) << QString(" %1 6").arg(f) << 1 << 6;
        QTest::newRow("code not a number") << " F x" << 1 << 0;
        QTest::newRow("nothing") << "" << 0 << 0;
    }
    void measModeMap()
    {
        QFETCH(QString, rest);
        MeasModeMap m;
        m.build({rest});
        QCOMPARE(m.count(), 1);
        QTEST(m.at(0).detection, "detection");
        QTEST(m.at(0).code, "code");
    }

    void modeRanges()
    {
        ModeRangeTable t;
        t.build({" 1 20000 5000", " 2 4000 12000", " 3 x 8000"}, "1");
        QCOMPARE(t.rowAt(0)->low, 5000.0); // swapped
        QCOMPARE(t.rowAt(0)->high, 20000.0);
        QCOMPARE(t.indexForEnergy(9000), 0); // earlier row wins over the overlap
        QCOMPARE(t.indexForEnergy(4500), 1);
        QCOMPARE(t.indexForEnergy(5000), 0); // bounds are inside
        QCOMPARE(t.indexForEnergy(20000), 0);
        QCOMPARE(t.indexForEnergy(100), 2);   // "x" reads as 0: the third row covers 0..8000
        QCOMPARE(t.indexForEnergy(25000), 1); // default
        QVERIFY(t.rowAt(3) == nullptr);
        QVERIFY(t.rowAt(-1) == nullptr);
    }

    void modeRangeDefaults_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("index");
        QTest::newRow("number") << "2" << 2;
        QTest::newRow("not a number") << "x" << 0;
        QTest::newRow("outside the table") << "9" << 9;
    }
    void modeRangeDefaults()
    {
        QFETCH(QString, text);
        QFETCH(int, index);
        ModeRangeTable t;
        t.build({" 0 4000 8000"}, text);
        QCOMPARE(t.defaultIndex(), index);
        QCOMPARE(t.indexForEnergy(50000), index);
        // The engine may compare such a position, but no row may be read for it.
        QCOMPARE(t.rowAt(index) != nullptr, index == 0);
        ModeRangeTable empty;
        empty.build({}, text);
        QCOMPARE(empty.indexForEnergy(7000), index);
    }

    void builtFromConfiguration()
    {
        QTemporaryDir dir;
        QFile f(dir.filePath("c.cfg"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("crystal Si111 3.13553 4000 30000\nCRYSTAL Si311 1.63747 7000 40000 311\n"
                "scan_type Quick Q\nSCAN_TYPE Step S\n"
                "Q_MEAS_MODE Trans 1\nS_MEAS_MODE Trans 0\nS_MEAS_MODE Fluo 2\n"
                "HOCMode 0 4000 8000\nhocmode 1 8000 15000\nMonoMode 0 4000 28000\n"
                "DefaultMonoMode x\n");
        f.close();
        ConfigStore store;
        QVERIFY(store.readFile(f.fileName()));
        QCOMPARE(buildOptionTables(store), QStringList());
        QCOMPARE(crystalTable().count(), 2);
        QCOMPARE(crystalTable().maxEnergy(), 40000.0);
        QCOMPARE(scanTypeTable().rowOf("s"), 1);
        QCOMPARE(darkTable().rowCount(), 0);
        QCOMPARE(measModeCodeFor(0, 0), 1);
        QCOMPARE(measModeCodeFor(1, 1), 2);
        QCOMPARE(measModeCodeFor(0, 1), 0); // no fluorescence row for quick scans
        QCOMPARE(measModeCodeFor(2, 0), 0);
        QCOMPARE(hocModeTable().count(), 2);
        QCOMPARE(monoModeTable().defaultIndex(), 0);

        // The shipped example fills every table, as the demo and the operators' copies rely on.
        ConfigStore example;
        QVERIFY(example.readFile(SKEDRA_SOURCE_DIR "/examples/beamline.cfg"));
        QCOMPARE(example.diagnostics(), QStringList());
        QCOMPARE(buildOptionTables(example), QStringList());
        QCOMPARE(crystalTable().rowByName("Si(311)"), 1);
        for (const SelectionTable *t : {&scanTypeTable(), &measModeTable(), &blkSetupTable(),
                                        &stdTypeTable(), &darkTable(), &tuneTable()})
            QVERIFY(t->rowCount() >= 2);
        QVERIFY(qMeasModeMap().count() > 0 && sMeasModeMap().count() > 0);
        // Every edge the demo measures lies inside a mirror and a monochromator range.
        for (double e : {7112.0, 8979.0, 11564.0}) {
            const ModeRange *hoc = hocModeTable().rowAt(hocModeTable().indexForEnergy(e));
            const ModeRange *mono = monoModeTable().rowAt(monoModeTable().indexForEnergy(e));
            QVERIFY(hoc && hoc->low <= e && e <= hoc->high);
            QVERIFY(mono && mono->low <= e && e <= mono->high);
        }
    }
};

QTEST_GUILESS_MAIN(TestOptionTables)
#include "tst_optiontables.moc"
