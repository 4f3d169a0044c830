// The command lines one entry produces, stage by stage, against real entries
// and a recording target double that answers at once.
#include "ExecFixture.h"

namespace {
const QString kPromptEnd = QStringLiteral(".\nDo any action for that.\nThen Click Ok.");
}

class TstExecStages : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void firstEntryFullSequence();
    void stageNamesOneTickEach();
    void standardBlocks_data();
    void standardBlocks();
    void scanAndDetection_data();
    void scanAndDetection();
    void dark_data();
    void dark();
    void userBlocks();
    void userBlocksSixBlocksFourTimes();
    void userBlocksEmptyTimes();
    void userBlocksNone();
    void fileBlocksLoadedBeforeSending();
    void fileBlocksUnreadableFile();
    void numberFormats();
    void energyOfKeVRowIsSentInKeV();
    void sameEnergyInAnotherUnitDoesNotMove();
    void identicalEntriesSendNoMoveAndNoPrompt();
    void holderTextComparedExactly();
    void elementChangePromptsOnlyWhatChanged();
    void neighbourAboveIsComparedEvenWhenSkipped();
    void unknownBlockDefinitionTypeEndsRun();

private:
    QStringList runAll(int timeoutMs = 20000);
    static QStringList after(const QStringList &lines, const QString &marker, int skip = 1);
    ExecFixture fx;
};

void TstExecStages::initTestCase()
{
    QVERIFY(fx.tmp.isValid());
    QVERIFY(fx.loadData());
    QVERIFY(fx.buildTables(baseConfig() + modeConfig()));
    QDir::setCurrent(fx.tmp.path());
}

void TstExecStages::init()
{
    fx.startEngine();
    fx.target->autoAnswer = true;
    fx.target->autoConfirm = true;
}

void TstExecStages::cleanup()
{
    fx.stopEngine();
}

// Runs the fixture's entries to the end; returns the commands sent.
QStringList TstExecStages::runAll(int timeoutMs)
{
    QSignalSpy finished(fx.target, &TargetDouble::finished);
    emit fx.target->startExec(fx.entries);
    if (!finished.wait(timeoutMs) || finished.count() != 1) {
        qWarning() << "run did not finish; sent so far:" << fx.target->lines;
        return {QStringLiteral("<no finish>")};
    }
    if (!finished.at(0).at(0).toBool())
        return {QStringLiteral("<failed>")};
    for (const QString &to : std::as_const(fx.target->receivers))
        if (to != kTarget)
            return {QStringLiteral("<wrong receiver %1>").arg(to)};
    for (const QString &ch : std::as_const(fx.target->fromChs))
        if (!ch.isEmpty())
            return {QStringLiteral("<sender channel %1>").arg(ch)};
    return fx.target->lines;
}

// The lines after the first one starting with marker (skipping `skip` lines).
QStringList TstExecStages::after(const QStringList &lines, const QString &marker, int skip)
{
    for (int i = 0; i < lines.size(); ++i)
        if (lines.at(i).startsWith(marker))
            return lines.mid(i + skip);
    return {};
}

void TstExecStages::firstEntryFullSequence()
{
    fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    const QStringList sent = runAll();
    const QStringList expected = {
        QStringLiteral("SelectAtom 29"),
        QStringLiteral("SelectEdge 0"),
        QStringLiteral("SetCurrentEnergy %1").arg(formatG(ExecFixture::startEV("Cu") / 1000)),
        QStringLiteral("MoveSHolderTo 1"),
        QStringLiteral("SetXafsMode 1"),
        QStringLiteral("SelectXafsMeasMode 1"),
        QStringLiteral("SetXafsFileName Cu-0001.dat"),
        QStringLiteral("SetXafsMeasComment Cu Reference"),
        QStringLiteral("SelectXafsMeasType 0"),
        QStringLiteral("GetBlockNum"),
        QStringLiteral("SetMeasTime 0 300"),
        QStringLiteral("SetMeasTime 1 300"),
        QStringLiteral("SetMeasTime 2 300"),
        QStringLiteral("Start"),
    };
    QCOMPARE(sent, expected);
    // Entry 0 is compared with itself: all three prompts, naming the same
    // element, edge and modes on both sides.
    QCOMPARE(fx.target->promptTypes, (QList<PromptType>{PromptICGases, PromptHOCM, PromptMono}));
    QCOMPARE(fx.target->prompts.at(0),
             QStringLiteral("ICGases Changing.\nThe Target Edge is changing (from Cu-K to "
                            "Cu-K)") +
                 kPromptEnd);
    QCOMPARE(fx.target->prompts.at(1),
             QStringLiteral("Higher Order Cut Mirror Mode Should Change\nfrom Mode "
                            "1(8000[eV]-15000[eV]) to Mode 1(8000[eV]-15000[eV])") +
                 kPromptEnd);
    QCOMPARE(fx.target->prompts.at(2),
             QStringLiteral("Monochromator Mode Should Change\nfrom Mode 0(4000[eV]-28000[eV]) "
                            "to Mode 0(4000[eV]-28000[eV])") +
                 kPromptEnd);
    // The two red lines of stage 2, energies in eV.
    const QString start = formatG(ExecFixture::startEV("Cu"));
    QCOMPARE(fx.target->logLines,
             (QStringList{QStringLiteral("ExecP = 0, new Start = %1, old Start = %1").arg(start),
                          QStringLiteral("ExecP = 0, new Holder = 1, old Holder = 1")}));
    QCOMPARE(fx.target->logColours, (QList<QColor>{QColor(255, 0, 0), QColor(255, 0, 0)}));
}

void TstExecStages::stageNamesOneTickEach()
{
    fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    QSignalSpy stages(fx.target, &TargetDouble::currentStage);
    runAll();
    QStringList names;
    for (const QList<QVariant> &s : std::as_const(stages))
        names.append(s.at(0).toString());
    // One name per tick; stages 1, 4 and 5 are reached by falling through.
    QCOMPARE(names,
             (QStringList{QStringLiteral("Initialize"), QStringLiteral("Move Mono. and S. Holder"),
                          QStringLiteral("Selecting Quick/Step Mode"),
                          QStringLiteral("Setting Meas. Time"), QStringLiteral("Measuring Dark"),
                          QStringLiteral("In Meas."), QStringLiteral("One Meas. End"),
                          QStringLiteral("Not In Exec")}));
}

void TstExecStages::standardBlocks_data()
{
    QTest::addColumn<int>("stdType");
    QTest::addColumn<int>("blockNum");
    QTest::addColumn<QString>("times");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("XAFS, 3 blocks")
        << 0 << 3 << QStringLiteral("300")
        << QStringList{"SelectXafsMeasType 0", "GetBlockNum",       "SetMeasTime 0 300",
                       "SetMeasTime 1 300",    "SetMeasTime 2 300", "Start"};
    QTest::newRow("XANES, no blocks")
        << 1 << 0 << QStringLiteral("300")
        << QStringList{"SelectXafsMeasType 3", "GetBlockNum", "Start"};
    QTest::newRow("EXAFS, times per block")
        << 2 << 3 << QStringLiteral("2, 7.5")
        << QStringList{"SelectXafsMeasType 2", "GetBlockNum",       "SetMeasTime 0 2",
                       "SetMeasTime 1 7.5",    "SetMeasTime 2 7.5", "Start"};
    QTest::newRow("answer not a number")
        << 0 << -1 << QStringLiteral("300")
        << QStringList{"SelectXafsMeasType 0", "GetBlockNum", "Start"};
}

void TstExecStages::standardBlocks()
{
    QFETCH(int, stdType);
    QFETCH(int, blockNum);
    QFETCH(QString, times);
    QFETCH(QStringList, expected);
    ScheduleEdit *e = fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    e->ui.StdBlockType->setCurrentIndex(stdType);
    e->ui.MeasTimes->setText(times);
    fx.target->blockNumAnswer = blockNum;
    QCOMPARE(after(runAll(), QStringLiteral("SetXafsMeasComment")), expected);
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
    ScheduleEdit *e = fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    e->ui.ScanType->setCurrentIndex(scanType);
    e->ui.MeasMode->setCurrentIndex(measMode);
    e->ui.DataFile->setText(QStringLiteral("a b.dat"));
    e->ui.Comment->setText(QString());
    const QStringList sent = runAll();
    QCOMPARE(after(sent, QStringLiteral("MoveSHolderTo")).mid(0, 4),
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
    ScheduleEdit *e = fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    e->ui.MeasDark->setCurrentIndex(dark);
    fx.target->blockNumAnswer = 1;
    QCOMPARE(after(runAll(), QStringLiteral("SetMeasTime 0")), expected);
}

void TstExecStages::userBlocks()
{
    ScheduleEdit *e = fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    ExecFixture::setUserBlocks(e, 0, {"8679", "8939", "9029", "9479", "10079"}, {40, 300, 180, 100},
                               QStringLiteral("1, 1, 5, 10"));
    const QStringList sent = runAll();
    QCOMPARE(sent.at(2), QStringLiteral("SetCurrentEnergy 8.679"));
    QCOMPARE(
        after(sent, QStringLiteral("SetXafsMeasComment")),
        (QStringList{"SetBlockUnit 0", "SetBlockNum 4", "SetBlock 0 8679 8939 0 1 40",
                     "SetBlock 1 8939 9029 0 1 300", "SetBlock 2 9029 9479 0 5 180",
                     "SetBlock 3 9479 10079 0 10 100", "SetXafsFileName Cu-0001.dat", "Start"}));
}

void TstExecStages::userBlocksSixBlocksFourTimes()
{
    ScheduleEdit *e = fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    ExecFixture::setUserBlocks(e, 0, {"8000", "8100", "8200", "8300", "8400", "8500", "8600"},
                               {10, 10, 10, 10, 10, 10}, QStringLiteral("1, 1, 5, 10"));
    QStringList times;
    for (const QString &l : runAll())
        if (l.startsWith(QLatin1String("SetBlock ")))
            times.append(l.section(QLatin1Char(' '), 5, 5));
    QCOMPARE(times, (QStringList{"1", "1", "5", "10", "10", "10"}));
}

void TstExecStages::userBlocksEmptyTimes()
{
    ScheduleEdit *e = fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    ExecFixture::setUserBlocks(e, 0, {"8000", "8100", "8200"}, {10, 20}, QString());
    QCOMPARE(after(runAll(), QStringLiteral("SetBlockNum")).mid(0, 2),
             (QStringList{"SetBlock 0 8000 8100 0 0 10", "SetBlock 1 8100 8200 0 0 20"}));
}

void TstExecStages::userBlocksNone()
{
    ScheduleEdit *e = fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    ExecFixture::setUserBlocks(e, 0, {"8000"}, {}, QStringLiteral("1"));
    QCOMPARE(e->ui.Blocks->value(), 0);
    QCOMPARE(
        after(runAll(), QStringLiteral("SetXafsMeasComment")),
        (QStringList{"SetBlockUnit 0", "SetBlockNum 0", "SetXafsFileName Cu-0001.dat", "Start"}));
}

// The SetBlock lines the entry's active rows give now.
static QStringList blockLines(ScheduleEdit *e)
{
    QStringList out;
    const OneBlocks *set = e->activeBlocks();
    for (int i = 0; i < e->ui.Blocks->value(); ++i)
        out << QStringLiteral("SetBlock %1 %2 %3 0 %4 %5")
                   .arg(QString::number(i), formatG(set->row(i)->displayValue()),
                        formatG(set->row(i + 1)->displayValue()),
                        formatG(ScheduleEdit::measTimeFor(e->ui.MeasTimes->text(), i)),
                        QString::number(set->row(i)->points()));
    return out;
}

void TstExecStages::fileBlocksLoadedBeforeSending()
{
    const QString path = fx.tmp.filePath(QStringLiteral("two.prm"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Text));
    f.write("N 2\nU 0\nB 0 1 1 1\nQN 2\nQB 0 9000 100 1\nQB 1 9100 50 2\nQB 2 9500 0 0\n"
            "SN 4\n");
    f.close();
    ScheduleEdit *e = fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    ExecFixture::setUserBlocks(e, 0, {"8000", "8100", "8200"}, {7, 7}, QStringLiteral("2, 4"));
    e->ui.BlockDefType->setCurrentIndex(1);
    e->ui.BlockDefFile->setText(path);
    const QStringList own = blockLines(e);
    // What loading the file makes of an identical entry, done here directly.
    auto *twin = new ScheduleEdit;
    fx.entries.append(twin);
    twin->ui.Exec->setChecked(false);
    twin->ui.TargetElm->setText(QStringLiteral("Cu"));
    twin->newTargetSelected();
    ExecFixture::setUserBlocks(twin, 0, {"8000", "8100", "8200"}, {7, 7}, QStringLiteral("2, 4"));
    twin->loadBlockFile(path);
    const QStringList loaded = blockLines(twin);
    QCOMPARE(loaded, (QStringList{"SetBlock 0 9000 9100 0 2 100", "SetBlock 1 9100 9500 0 4 50"}));
    QVERIFY(loaded != own); // the file does change the blocks

    const QStringList sent = runAll();
    // The monochromator went to the entry's own start; the blocks are the file's.
    QCOMPARE(sent.at(2), QStringLiteral("SetCurrentEnergy 8"));
    QCOMPARE(after(sent, QStringLiteral("SetXafsMeasComment")),
             (QStringList{"SetBlockUnit 0", "SetBlockNum 2"} + loaded +
              QStringList{"SetXafsFileName Cu-0001.dat", "Start"}));
}

void TstExecStages::fileBlocksUnreadableFile()
{
    ScheduleEdit *e = fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    ExecFixture::setUserBlocks(e, 0, {"8000", "8100", "8200"}, {7, 9}, QStringLiteral("3"));
    e->ui.BlockDefType->setCurrentIndex(1);
    e->ui.BlockDefFile->setText(fx.tmp.filePath(QStringLiteral("missing.prm")));
    QCOMPARE(after(runAll(), QStringLiteral("SetXafsMeasComment")),
             (QStringList{"SetBlockUnit 0", "SetBlockNum 2", "SetBlock 0 8000 8100 0 3 7",
                          "SetBlock 1 8100 8200 0 3 9", "SetXafsFileName Cu-0001.dat", "Start"}));
}

void TstExecStages::numberFormats()
{
    ScheduleEdit *a = fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    ExecFixture::setUserBlocks(a, 0, {"8779", "8800"}, {21}, QStringLiteral("2"));
    ScheduleEdit *b = fx.addEntry(QStringLiteral("Cu"), QStringLiteral("2"));
    ExecFixture::setUserBlocks(b, 1, {"8779.12", "8879.12"}, {3}, QStringLiteral("0.00001"));
    const QStringList sent = runAll();
    QVERIFY(sent.contains(QStringLiteral("SetCurrentEnergy 8.779")));
    QVERIFY(sent.contains(QStringLiteral("SetBlock 0 8779 8800 0 2 21")));
    QVERIFY(sent.contains(QStringLiteral("SetCurrentEnergy 8.77912")));
    QVERIFY(sent.contains(QStringLiteral("SetBlock 0 8.77912 8.87912 0 1e-05 3")));
    QCOMPARE(fx.target->logLines.at(0),
             QStringLiteral("ExecP = 0, new Start = 8779, old Start = 8779"));
    QCOMPARE(fx.target->logLines.at(2),
             QStringLiteral("ExecP = 1, new Start = 8779.12, old Start = 8779"));
}

void TstExecStages::energyOfKeVRowIsSentInKeV()
{
    ScheduleEdit *e = fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    ExecFixture::setUserBlocks(e, 1, {"8779", "8800"}, {21}, QStringLiteral("2"));
    const QStringList sent = runAll();
    QCOMPARE(sent.at(2), QStringLiteral("SetCurrentEnergy 8.779"));
    QVERIFY(sent.contains(QStringLiteral("SetBlock 0 8.779 8.8 0 2 21")));
    QCOMPARE(fx.target->logLines.at(0),
             QStringLiteral("ExecP = 0, new Start = 8779, old Start = 8779"));
}

void TstExecStages::sameEnergyInAnotherUnitDoesNotMove()
{
    ScheduleEdit *a = fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    ExecFixture::setUserBlocks(a, 0, {"8779", "8800"}, {21}, QStringLiteral("2"));
    ScheduleEdit *b = fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    ExecFixture::setUserBlocks(b, 1, {"8779", "8800"}, {21}, QStringLiteral("2"));
    const QStringList sent = runAll();
    QCOMPARE(sent.count(QStringLiteral("SetCurrentEnergy 8.779")), 1);
    QCOMPARE(fx.target->logLines.at(2),
             QStringLiteral("ExecP = 1, new Start = 8779, old Start = 8779"));
}

void TstExecStages::identicalEntriesSendNoMoveAndNoPrompt()
{
    fx.addEntry(QStringLiteral("Cu"), QStringLiteral("5"));
    fx.addEntry(QStringLiteral("Cu"), QStringLiteral("5"));
    const QStringList second =
        after(after(runAll(), QStringLiteral("Start"), 1), QStringLiteral("SelectAtom"), 0);
    QCOMPARE(second,
             (QStringList{"SelectAtom 29", "SelectEdge 0", "SetXafsMode 1", "SelectXafsMeasMode 1",
                          "SetXafsFileName Cu-0001.dat", "SetXafsMeasComment Cu Reference",
                          "SelectXafsMeasType 0", "GetBlockNum", "SetMeasTime 0 300",
                          "SetMeasTime 1 300", "SetMeasTime 2 300", "Start"}));
    QCOMPARE(fx.target->prompts.size(), 3); // the first entry's only
}

void TstExecStages::holderTextComparedExactly()
{
    fx.addEntry(QStringLiteral("Cu"), QStringLiteral("3"));
    fx.addEntry(QStringLiteral("Cu"), QStringLiteral("03"));
    const QStringList sent = runAll();
    QCOMPARE(sent.filter(QStringLiteral("MoveSHolderTo")),
             (QStringList{"MoveSHolderTo 3", "MoveSHolderTo 03"}));
    QCOMPARE(sent.filter(QStringLiteral("SetCurrentEnergy")).size(), 1);
    QCOMPARE(fx.target->logLines.at(3),
             QStringLiteral("ExecP = 1, new Holder = 03, old Holder = 3"));
}

void TstExecStages::elementChangePromptsOnlyWhatChanged()
{
    fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    fx.addEntry(QStringLiteral("Fe"), QStringLiteral("1"));
    const QStringList second = after(runAll(), QStringLiteral("Start"), 1);
    QCOMPARE(second.mid(0, 3), (QStringList{"SelectAtom 26", "SelectEdge 0",
                                            QStringLiteral("SetCurrentEnergy %1")
                                                .arg(formatG(ExecFixture::startEV("Fe") / 1000))}));
    QVERIFY(second.filter(QStringLiteral("MoveSHolderTo")).isEmpty());
    // Fe K lies in mirror mode 0, Cu K in mode 1; both in monochromator mode 0.
    QCOMPARE(fx.target->promptTypes.mid(3), (QList<PromptType>{PromptICGases, PromptHOCM}));
    QCOMPARE(fx.target->prompts.at(3),
             QStringLiteral("ICGases Changing.\nThe Target Edge is changing (from Cu-K to "
                            "Fe-K)") +
                 kPromptEnd);
    QCOMPARE(fx.target->prompts.at(4),
             QStringLiteral("Higher Order Cut Mirror Mode Should Change\nfrom Mode "
                            "1(8000[eV]-15000[eV]) to Mode 0(4000[eV]-7999.99[eV])") +
                 kPromptEnd);
}

void TstExecStages::neighbourAboveIsComparedEvenWhenSkipped()
{
    fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    fx.addEntry(QStringLiteral("Fe"), QStringLiteral("2"))->ui.Exec->setChecked(false);
    fx.addEntry(QStringLiteral("Fe"), QStringLiteral("2"));
    QSignalSpy executing(fx.target, &TargetDouble::executing);
    const QStringList third = after(runAll(), QStringLiteral("Start"), 1);
    QCOMPARE(executing.count(), 2);
    QCOMPARE(executing.at(1).at(0).toInt(), 2);
    QVERIFY(third.filter(QStringLiteral("SetCurrentEnergy")).isEmpty());
    QVERIFY(third.filter(QStringLiteral("MoveSHolderTo")).isEmpty());
    QCOMPARE(fx.target->prompts.size(), 3);
}

void TstExecStages::unknownBlockDefinitionTypeEndsRun()
{
    ScheduleEdit *e = fx.addEntry(QStringLiteral("Cu"), QStringLiteral("1"));
    fx.addEntry(QStringLiteral("Cu"), QStringLiteral("2"));
    QCOMPARE(e->ui.BlockDefType->count(), 4);
    e->ui.BlockDefType->setCurrentIndex(3);
    QSignalSpy finished(fx.target, &TargetDouble::finished);
    emit fx.target->startExec(fx.entries);
    QVERIFY(finished.wait(20000));
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toBool(), false);
    QCOMPARE(fx.target->lines.last(), QStringLiteral("SetXafsMeasComment Cu Reference"));
    QVERIFY(!fx.target->lines.contains(QStringLiteral("Start")));
    QCOMPARE(fx.target->logLines.last(),
             QStringLiteral("Entry 1: unknown block definition type 3; the run stops."));
    QCOMPARE(fx.target->logColours.last(), QColor(255, 0, 0));
    QVERIFY(!finished.wait(100)); // nothing repeats
    QCOMPARE(fx.target->lines.last(), QStringLiteral("SetXafsMeasComment Cu Reference"));
}

QTEST_MAIN(TstExecStages)
#include "tst_execstages.moc"
