// The command lines entries produce, stage by stage, against real entries and
// a recording target double that answers at once.
#include "ExecFixture.h"

namespace {
const QString kPromptEnd = QStringLiteral(".\nDo any action for that.\nThen Click Ok.");
const QColor kRed(255, 0, 0);

// The lines after the first one starting with marker (skipping `skip` lines).
QStringList after(const QStringList &lines, const QString &marker, int skip = 1)
{
    for (int i = 0; i < lines.size(); ++i)
        if (lines.at(i).startsWith(marker))
            return lines.mid(i + skip);
    return {};
}
} // namespace

class TstExecStages : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(fx.setUp()); }
    void init() { fx.startEngine(); }
    void cleanup() { fx.stopEngine(); }
    void firstEntryFullSequence();
    void standardBlocks_data();
    void standardBlocks();
    void scanAndDetection_data();
    void scanAndDetection();
    void dark_data();
    void dark();
    void userAndFileBlocks_data();
    void userAndFileBlocks();
    void numberFormatsAndUnits();
    void unchangedNeighbourSendsNoMoveAndNoPrompt();
    void holderTextComparedExactly();
    void elementChangePromptsOnlyWhatChanged();
    void unknownBlockDefinitionTypeEndsRun();

private:
    QStringList runAll();
    ExecFixture fx;
};

// Runs the fixture's entries to the end; returns the commands sent.
QStringList TstExecStages::runAll()
{
    QSignalSpy finished(fx.target, &TargetDouble::finished);
    emit fx.target->startExec(fx.entries);
    if (!finished.wait(20000) || finished.count() != 1)
        return {QStringLiteral("<no finish>")};
    if (!finished.at(0).at(0).toBool())
        return {QStringLiteral("<failed>")};
    for (const QString &route : std::as_const(fx.target->routes))
        if (route != ">" + kTarget)
            return {QStringLiteral("<sent via %1>").arg(route)};
    return fx.target->lines;
}

void TstExecStages::firstEntryFullSequence()
{
    fx.addEntry("Cu", "1");
    QSignalSpy stages(fx.target, &TargetDouble::currentStage);
    const double start = xrayDataBase().edgeEnergy("Cu", QString()) - 300;
    QCOMPARE(runAll(),
             (QStringList{"SelectAtom 29", "SelectEdge 0",
                          "SetCurrentEnergy " + formatG(start / 1000), "MoveSHolderTo 1",
                          "SetXafsMode 1", "SelectXafsMeasMode 1", "SetXafsFileName Cu-0001.dat",
                          "SetXafsMeasComment Cu Reference", "SelectXafsMeasType 0", "GetBlockNum",
                          "SetMeasTime 0 300", "SetMeasTime 1 300", "SetMeasTime 2 300", "Start"}));
    QCOMPARE(stages.count(), 8); // one stage name per tick
    QCOMPARE(stages.last().at(0).toString(), QStringLiteral("Not In Exec"));
    // Entry 0 is compared with itself: all three prompts, naming the same
    // element, edge and modes on both sides.
    QCOMPARE(fx.target->promptTypes, (QList<PromptType>{PromptICGases, PromptHOCM, PromptMono}));
    QCOMPARE(fx.target->prompts,
             (QStringList{"ICGases Changing.\nThe Target Edge is changing (from Cu-K to Cu-K)" +
                              kPromptEnd,
                          "Higher Order Cut Mirror Mode Should Change\nfrom Mode "
                          "1(8000[eV]-15000[eV]) to Mode 1(8000[eV]-15000[eV])" +
                              kPromptEnd,
                          "Monochromator Mode Should Change\nfrom Mode 0(4000[eV]-28000[eV]) "
                          "to Mode 0(4000[eV]-28000[eV])" +
                              kPromptEnd}));
    // The two red lines of stage 2, energies in eV.
    QCOMPARE(fx.target->logLines,
             (QStringList{QString("ExecP = 0, new Start = %1, old Start = %1").arg(formatG(start)),
                          "ExecP = 0, new Holder = 1, old Holder = 1"}));
    QCOMPARE(fx.target->logColours, (QList<QColor>{kRed, kRed}));
}

void TstExecStages::standardBlocks_data()
{
    QTest::addColumn<int>("stdType");
    QTest::addColumn<int>("blockNum");
    QTest::addColumn<QString>("times");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("XAFS, 3 blocks")
        << 0 << 3 << "300"
        << QStringList{"SelectXafsMeasType 0", "GetBlockNum",       "SetMeasTime 0 300",
                       "SetMeasTime 1 300",    "SetMeasTime 2 300", "Start"};
    QTest::newRow("XANES, no blocks")
        << 1 << 0 << "300" << QStringList{"SelectXafsMeasType 3", "GetBlockNum", "Start"};
    QTest::newRow("EXAFS, times per block")
        << 2 << 3 << "2, 7.5"
        << QStringList{"SelectXafsMeasType 2", "GetBlockNum",       "SetMeasTime 0 2",
                       "SetMeasTime 1 7.5",    "SetMeasTime 2 7.5", "Start"};
    QTest::newRow("answer not a number")
        << 0 << -1 << "300" << QStringList{"SelectXafsMeasType 0", "GetBlockNum", "Start"};
}

void TstExecStages::standardBlocks()
{
    QFETCH(int, stdType);
    QFETCH(int, blockNum);
    QFETCH(QString, times);
    QFETCH(QStringList, expected);
    ScheduleEdit *e = fx.addEntry("Cu", "1");
    e->ui.StdBlockType->setCurrentIndex(stdType);
    e->ui.MeasTimes->setText(times);
    fx.target->blockNumAnswer = blockNum;
    QCOMPARE(after(runAll(), "SetXafsMeasComment"), expected);
}

void TstExecStages::scanAndDetection_data()
{
    QTest::addColumn<int>("scanType");
    QTest::addColumn<int>("measMode");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("quick trans") << 0 << 0 << QStringList{"SetXafsMode 1", "SelectXafsMeasMode 1"};
    QTest::newRow("step trans") << 1 << 0 << QStringList{"SetXafsMode 0", "SelectXafsMeasMode 0"};
    QTest::newRow("step fluo") << 1 << 1 << QStringList{"SetXafsMode 0", "SelectXafsMeasMode 2"};
}

void TstExecStages::scanAndDetection()
{
    QFETCH(int, scanType);
    QFETCH(int, measMode);
    QFETCH(QStringList, expected);
    ScheduleEdit *e = fx.addEntry("Cu", "1");
    e->ui.ScanType->setCurrentIndex(scanType);
    e->ui.MeasMode->setCurrentIndex(measMode);
    e->ui.DataFile->setText("a b.dat");
    e->ui.Comment->setText(QString());
    QCOMPARE(after(runAll(), "MoveSHolderTo").mid(0, 4),
             (expected + QStringList{"SetXafsFileName a b.dat", "SetXafsMeasComment "}));
}

void TstExecStages::dark_data()
{
    QTest::addColumn<int>("dark");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("-") << 0 << QStringList{"Start"};
    QTest::newRow("Y") << 1
                       << QStringList{"SetMeasDarkTime 10", "MeasDark", "SetMeasDarkMode 1",
                                      "Start"};
    QTest::newRow("N") << 2 << QStringList{"SetMeasDarkMode 1", "Start"};
}

void TstExecStages::dark()
{
    QFETCH(int, dark);
    QFETCH(QStringList, expected);
    fx.addEntry("Cu", "1")->ui.MeasDark->setCurrentIndex(dark);
    fx.target->blockNumAnswer = 1;
    QCOMPARE(after(runAll(), "SetMeasTime 0"), expected);
}

void TstExecStages::userAndFileBlocks_data()
{
    QTest::addColumn<QStringList>("starts");
    QTest::addColumn<QList<int>>("points");
    QTest::addColumn<QString>("times");
    QTest::addColumn<QByteArray>("file"); // empty: user blocks; "-": a missing file
    QTest::addColumn<QStringList>("blocks");
    QTest::newRow("user, 4 blocks")
        << QStringList{"8679", "8939", "9029", "9479", "10079"} << QList<int>{40, 300, 180, 100}
        << "1, 1, 5, 10" << QByteArray()
        << QStringList{"SetBlock 0 8679 8939 0 1 40", "SetBlock 1 8939 9029 0 1 300",
                       "SetBlock 2 9029 9479 0 5 180", "SetBlock 3 9479 10079 0 10 100"};
    QTest::newRow("user, 6 blocks, 4 times")
        << QStringList{"8000", "8100", "8200", "8300", "8400", "8500", "8600"}
        << QList<int>{1, 2, 3, 4, 5, 6} << "1, 1, 5, 10" << QByteArray()
        << QStringList{"SetBlock 0 8000 8100 0 1 1",  "SetBlock 1 8100 8200 0 1 2",
                       "SetBlock 2 8200 8300 0 5 3",  "SetBlock 3 8300 8400 0 10 4",
                       "SetBlock 4 8400 8500 0 10 5", "SetBlock 5 8500 8600 0 10 6"};
    QTest::newRow("user, empty times")
        << QStringList{"8000", "8100", "8200"} << QList<int>{10, 20} << "" << QByteArray()
        << QStringList{"SetBlock 0 8000 8100 0 0 10", "SetBlock 1 8100 8200 0 0 20"};
    QTest::newRow("user, no blocks")
        << QStringList{"8000"} << QList<int>{} << "1" << QByteArray() << QStringList{};
    // The file is read before sending; the monochromator still goes to the
    // entry's own start.
    QTest::newRow("file") << QStringList{"8000", "8100", "8200"} << QList<int>{7, 7} << "2, 4"
                          << QByteArray("N 2\nU 0\nB 0 1 1 1\nQN 2\nQB 0 9000 100 1\n"
                                        "QB 1 9100 50 2\nQB 2 9500 0 0\nSN 4\n")
                          << QStringList{"SetBlock 0 9000 9100 0 2 100",
                                         "SetBlock 1 9100 9500 0 4 50"};
    QTest::newRow("missing file") << QStringList{"8000", "8100", "8200"} << QList<int>{7, 9} << "3"
                                  << QByteArray("-")
                                  << QStringList{"SetBlock 0 8000 8100 0 3 7",
                                                 "SetBlock 1 8100 8200 0 3 9"};
}

void TstExecStages::userAndFileBlocks()
{
    QFETCH(QStringList, starts);
    QFETCH(QList<int>, points);
    QFETCH(QString, times);
    QFETCH(QByteArray, file);
    QFETCH(QStringList, blocks);
    ScheduleEdit *e = fx.addEntry("Cu", "1");
    ExecFixture::setUserBlocks(e, 0, starts, points, times);
    if (!file.isEmpty()) {
        const QString path = fx.tmp.filePath("blocks.prm");
        QFile f(path);
        QVERIFY(file == "-" || (f.open(QIODevice::WriteOnly) && f.write(file) == file.size()));
        f.close();
        e->ui.BlockDefType->setCurrentIndex(1);
        e->ui.BlockDefFile->setText(file == "-" ? path + ".missing" : path);
    }
    const QStringList sent = runAll();
    QCOMPARE(sent.at(2), QString("SetCurrentEnergy " + formatG(starts.at(0).toDouble() / 1000)));
    const QStringList expected =
        QStringList{"SetBlockUnit 0", QString("SetBlockNum %1").arg(blocks.size())} + blocks +
        QStringList{"SetXafsFileName Cu-0001.dat", "Start"};
    QCOMPARE(after(sent, "SetXafsMeasComment"), expected);
}

// %g numbers whatever the locale; energies sent in keV and compared as
// energies, whatever unit the rows show.
void TstExecStages::numberFormatsAndUnits()
{
    ExecFixture::setUserBlocks(fx.addEntry("Cu", "1"), 0, {"8779", "8800"}, {21}, "2");
    ExecFixture::setUserBlocks(fx.addEntry("Cu", "1"), 1, {"8779.12", "8879.12"}, {3}, "0.00001");
    ExecFixture::setUserBlocks(fx.addEntry("Cu", "1"), 0, {"8779.12", "8879.12"}, {3}, "0.00001");
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QStringList sent = runAll();
    QLocale::setDefault(before);
    QCOMPARE(sent.filter("SetCurrentEnergy"),
             (QStringList{"SetCurrentEnergy 8.779", "SetCurrentEnergy 8.77912"}));
    QCOMPARE(sent.filter("SetBlock "),
             (QStringList{"SetBlock 0 8779 8800 0 2 21", "SetBlock 0 8.77912 8.87912 0 1e-05 3",
                          "SetBlock 0 8779.12 8879.12 0 1e-05 3"}));
    QCOMPARE(fx.target->logLines.filter("Start ="),
             (QStringList{"ExecP = 0, new Start = 8779, old Start = 8779",
                          "ExecP = 1, new Start = 8779.12, old Start = 8779",
                          "ExecP = 2, new Start = 8779.12, old Start = 8779.12"}));
}

// An entry like the one above it (ticked or not) moves nothing and prompts
// for nothing.
void TstExecStages::unchangedNeighbourSendsNoMoveAndNoPrompt()
{
    fx.addEntry("Cu", "5");
    fx.addEntry("Fe", "2", false); // compared with the entry below
    fx.addEntry("Fe", "2");
    fx.addEntry("Fe", "2");
    QSignalSpy executing(fx.target, &TargetDouble::executing);
    const QStringList last = after(after(runAll(), "Start", 1), "Start", 1);
    QCOMPARE(executing.count(), 3);
    QCOMPARE(executing.at(1).at(0).toInt(), 2);
    QCOMPARE(last,
             (QStringList{"SelectAtom 26", "SelectEdge 0", "SetXafsMode 1", "SelectXafsMeasMode 1",
                          "SetXafsFileName Cu-0001.dat", "SetXafsMeasComment Cu Reference",
                          "SelectXafsMeasType 0", "GetBlockNum", "SetMeasTime 0 300",
                          "SetMeasTime 1 300", "SetMeasTime 2 300", "Start"}));
    QCOMPARE(fx.target->lines.filter("SetCurrentEnergy").size(), 1);
    QCOMPARE(fx.target->lines.filter("MoveSHolderTo").size(), 1);
    QCOMPARE(fx.target->prompts.size(), 3); // the first entry's only
}

void TstExecStages::holderTextComparedExactly()
{
    fx.addEntry("Cu", "3");
    fx.addEntry("Cu", "03");
    const QStringList sent = runAll();
    QCOMPARE(sent.filter("MoveSHolderTo"), (QStringList{"MoveSHolderTo 3", "MoveSHolderTo 03"}));
    QCOMPARE(sent.filter("SetCurrentEnergy").size(), 1);
    QCOMPARE(fx.target->logLines.at(3),
             QStringLiteral("ExecP = 1, new Holder = 03, old Holder = 3"));
}

void TstExecStages::elementChangePromptsOnlyWhatChanged()
{
    fx.addEntry("Cu", "1");
    fx.addEntry("Fe", "1");
    const QStringList second = after(runAll(), "Start", 1);
    const double feStart = xrayDataBase().edgeEnergy("Fe", QString()) - 300;
    QCOMPARE(second.mid(0, 3), (QStringList{"SelectAtom 26", "SelectEdge 0",
                                            "SetCurrentEnergy " + formatG(feStart / 1000)}));
    QVERIFY(second.filter("MoveSHolderTo").isEmpty());
    // Fe K lies in mirror mode 0, Cu K in mode 1; both in monochromator mode 0.
    QCOMPARE(fx.target->promptTypes.mid(3), (QList<PromptType>{PromptICGases, PromptHOCM}));
    QCOMPARE(fx.target->prompts.mid(3),
             (QStringList{"ICGases Changing.\nThe Target Edge is changing (from Cu-K to Fe-K)" +
                              kPromptEnd,
                          "Higher Order Cut Mirror Mode Should Change\nfrom Mode "
                          "1(8000[eV]-15000[eV]) to Mode 0(4000[eV]-7999.99[eV])" +
                              kPromptEnd}));
}

void TstExecStages::unknownBlockDefinitionTypeEndsRun()
{
    ScheduleEdit *e = fx.addEntry("Cu", "1");
    fx.addEntry("Cu", "2");
    QCOMPARE(e->ui.BlockDefType->count(), 4);
    e->ui.BlockDefType->setCurrentIndex(3);
    QSignalSpy finished(fx.target, &TargetDouble::finished);
    emit fx.target->startExec(fx.entries);
    QVERIFY(finished.wait(20000));
    QCOMPARE(finished.at(0).at(0).toBool(), false);
    QVERIFY(!finished.wait(100)); // nothing repeats
    QCOMPARE(finished.count(), 1);
    QCOMPARE(fx.target->lines.last(), QStringLiteral("SetXafsMeasComment Cu Reference"));
    QVERIFY(!fx.target->lines.contains("Start"));
    QCOMPARE(fx.target->logLines.last(),
             QStringLiteral("Entry 1: unknown block definition type 3; the run stops."));
    QCOMPARE(fx.target->logColours.last(), kRed);
}

QTEST_MAIN(TstExecStages)
#include "tst_execstages.moc"
