// The main window: list editing and the cut buffer, schedule files, starting
// and the run marks, questions before losing work, and the bus events.
#include "BlockFile.h"
#include "Body.h"
#include "ConfigStore.h"
#include "ExecPlan.h"
#include "LayoutFrame.h"
#include "OptionTables.h"
#include "ScheduleEdit.h"
#include "Startup.h"
#include "TestSupport.h"
#include "Tolva.h"
#include "XrayDataBase.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTimer>
#include <QTranslator>

namespace {

QStringList samples(const QList<ScheduleEdit *> &list)
{
    QStringList out;
    for (const ScheduleEdit *e : list)
        out << e->ui.SampleId->text();
    return out;
}

// The entries in the order the cut-buffer window shows them, top first.
QString shownInCutBuffer(const Body &body)
{
    QString out;
    QGridLayout *l = body.cutBufferWindow()->ui.Layout;
    for (int row = 0; row < l->rowCount(); ++row) {
        QLayoutItem *it = l->itemAtPosition(row, 0);
        if (auto *e = it ? qobject_cast<ScheduleEdit *>(it->widget()) : nullptr)
            out += e->ui.SampleId->text();
    }
    return out;
}

// Marks of the entries: none, running, finished, error as - R F E.
QString marks(const QList<ScheduleEdit *> &list)
{
    QString out;
    for (const ScheduleEdit *e : list)
        out += QLatin1Char("-RFE"[int(e->mark())]);
    return out;
}

// Three entries A, B, C from top to bottom.
void fillABC(Body &body)
{
    for (const char *name : {"A", "B", "C"}) {
        body.ui.NewAtBottom->click();
        body.schedule().last()->ui.SampleId->setText(QString::fromLatin1(name));
        body.schedule().last()->ui.HolderNo->setText(QString::number(body.schedule().size()));
    }
}

void chooseFile(Body &body, QPushButton *button, const QString &file)
{
    button->click();
    emit body.scheduleFileDialog()->fileSelected(file);
    body.scheduleFileDialog()->hide();
}

} // namespace

class TestBody : public QObject
{
    Q_OBJECT

    TestSupport::WorkDir m_dir;
    QStringList m_record; // the engine-bound signals of the window on the bus

private slots:
    void initTestCase()
    {
        QVERIFY(xrayDataBase().load(QStringLiteral(":XrayDataBase2.txt")));
        QVERIFY(TestSupport::writeFile("keys.txt", "k0\nk1\nk2\n"));
    }
    void init()
    {
        m_record.clear();
        ConfigStore &cfg = config();
        cfg.clear();
        QVERIFY(cfg.readFile(QStringLiteral(SKEDRA_SOURCE_DIR "/examples/beamline.cfg")));
        cfg.readText(QStringLiteral("CONNECT_TO_TOLVA 0\nROOT_DIR %1\n").arg(m_dir.path()));
        buildOptionTables(cfg);
    }

    // Clicks on the list A, B, C: "top", "bottom" (a new entry N), "clear",
    // "back", and "cut X", "copy X", "up X", "down X" on entry X ("bcut X"...
    // in the cut buffer). Expected: the schedule, the cut buffer as shown.
    void listEditing_data()
    {
        for (const char *column : {"script", "schedule", "buffer"})
            QTest::addColumn<QString>(column);
        const auto row = [](const char *script, const char *schedule, const char *buffer) {
            QTest::newRow(script) << QString(script) << QString(schedule) << QString(buffer);
        };
        row("top bottom", "NABCN", "");
        row("clear", "", "ABC"); // the first entry is the latest
        row("clear back back back", "ABC", "");
        row("cut B bcut B bcopy B", "AC", "B"); // a buffered entry's own buttons do nothing
        row("cut C cut B up A", "BA", "C");     // insert takes the latest
        row("cut A down B", "BAC", "");
        row("cut A copy B", "BC", "BA");
        row("cut A copy B down C cut B", "CB", "BA"); // a copy is a full entry
    }
    void listEditing()
    {
        QFETCH(QString, script);
        Body body;
        fillABC(body);
        const QStringList words = script.split(' ');
        const QHash<QString, QAbstractButton *> list{{"top", body.ui.NewAtTop},
                                                     {"bottom", body.ui.NewAtBottom},
                                                     {"clear", body.ui.Clear},
                                                     {"back", body.ui.ComeBack}};
        for (int i = 0; i < words.size(); ++i) {
            const QString w = words.at(i);
            if (QAbstractButton *b = list.value(w)) {
                b->click();
                if (w == "top" || w == "bottom") // the new entry is N
                    (w == "top" ? body.schedule().first() : body.schedule().last())
                        ->ui.SampleId->setText("N");
                continue;
            }
            const bool buffered = w.startsWith('b');
            const QList<ScheduleEdit *> in = buffered ? body.cutBufferEntries() : body.schedule();
            ScheduleEdit *e = in.value(samples(in).indexOf(words.at(++i)));
            const QHash<QString, QAbstractButton *> own{{"cut", e->ui.Cut},
                                                        {"copy", e->ui.Copy},
                                                        {"up", e->ui.InsertUp},
                                                        {"down", e->ui.InsertDown}};
            own.value(buffered ? w.mid(1) : w)->click();
        }
        QTEST(samples(body.schedule()).join(QString()), "schedule");
        QTEST(shownInCutBuffer(body), "buffer");
    }

    // Cleared only after a successful read; a failed save keeps the file field.
    void loadAndSave_data()
    {
        QTest::addColumn<bool>("clearOnLoad");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("schedule");
        QTest::newRow("clear on load") << true << "load.csv" << QStringList({"L1", "L2"});
        QTest::newRow("append") << false << "load.csv" << QStringList({"old", "L1", "L2"});
        QTest::newRow("unreadable") << true << "absent.csv" << QStringList({"old"});
    }
    void loadAndSave()
    {
        QFETCH(bool, clearOnLoad);
        QFETCH(QString, file);
        QVERIFY(TestSupport::writeFile(
            "load.csv", "# a comment line\n"
                        "1,L1,first,,a.dat,Cu,K,-,-,-,Quick,Trans,Std,XAFS,MyBlock.prm,300,1,eV,"
                        "R-300,4666,0.3\n\n"
                        "2,L2,,,b.dat,Zn,K,Y,-,-,Step,Fluo,Std,XANES,MyBlock.prm,\"1,2\",3,eV\n"));
        Body body;
        body.ui.NewAtBottom->click();
        body.schedule().at(0)->ui.SampleId->setText(QStringLiteral("old"));
        body.ui.ClearOnLoad->setChecked(clearOnLoad);
        chooseFile(body, body.ui.LoadSchedule, m_dir.filePath(file));
        QTEST(samples(body.schedule()), "schedule");
        QCOMPARE(body.ui.ScheduleFile->text().isEmpty(), file == "absent.csv");
        if (file == "load.csv")
            QCOMPARE(body.schedule().last()->ui.MeasTimes->text(), QStringLiteral("1,2"));

        chooseFile(body, body.ui.SaveSchedule, m_dir.filePath("saved"));
        chooseFile(body, body.ui.SaveSchedule, m_dir.filePath("no/such/dir.csv"));
        QCOMPARE(body.ui.ScheduleFile->text(), m_dir.filePath("saved.csv"));
    }

    // Entries with errors are refused: nothing goes to the engine and the run
    // fails (an unticked entry does not matter). Then the engine's notices,
    // played here, mark the running entry, and at the end the one CurrentNo
    // names (the operator may edit it).
    void startAndRunMarks()
    {
        Body body;
        fillABC(body);
        body.ui.NewAtBottom->click();
        const QList<ScheduleEdit *> ss = body.schedule().mid(0, 3);
        ss.at(1)->ui.HolderNo->clear(); // a sample ID without a holder
        body.schedule().at(3)->ui.TargetElm->setText(QStringLiteral("Xx"));
        body.schedule().at(3)->ui.Exec->setChecked(false);
        disconnect(&body, &Body::startExec, nullptr, nullptr); // no real run here
        QSignalSpy started(&body, &Body::startExec);
        QSignalSpy finished(&body, &Body::runFinished);
        body.ui.Go->click();
        QCOMPARE(started.count(), 0);
        QCOMPARE(finished.takeFirst(), QVariantList{false});
        ss.at(1)->ui.HolderNo->setText(QStringLiteral("2"));
        body.ui.Go->click();
        QCOMPARE(started.count(), 1);
        emit body.engine()->executing(1);
        QCOMPARE(marks(ss) + body.ui.CurrentNo->text(), QStringLiteral("-R-2"));
        emit body.engine()->finished(true); // a stop: finished, not failed
        QCOMPARE(marks(ss) + body.ui.CurrentNo->text(), QStringLiteral("-F--"));
        emit body.engine()->executing(2);
        emit body.engine()->finished(false);
        QCOMPARE(marks(ss), QStringLiteral("-FE"));
        body.ui.CurrentNo->setText(QStringLiteral("1"));
        emit body.engine()->finished(true);
        body.ui.CurrentNo->setText(QStringLiteral("5"));
        emit body.engine()->finished(false);
        QCOMPARE(marks(ss), QStringLiteral("FFE"));
    }

    // Start while a run goes changes nothing: the engine's entries stay the
    // window's, so that what it reports lands on the entries it runs.
    void startDuringARunDoesNothing()
    {
        Body body;
        fillABC(body);
        disconnect(&body, &Body::startExec, nullptr, nullptr);
        QSignalSpy started(&body, &Body::startExec);
        body.ui.Go->click();
        emit body.engine()->executing(0);
        body.ui.NewAtTop->click(); // the list moves under the run
        body.ui.Go->click();
        QCOMPARE(started.count(), 1);
        emit body.engine()->entryEnded(0, EntryState::Done, QString());
        emit body.engine()->executing(1);
        // Entry A (now second in the list) is done, B runs.
        QCOMPARE(marks(body.schedule()), QStringLiteral("-FR-"));
    }

    // Once the run has read an entry's block file, the editor shows the
    // blocks the target measures; an entry of another kind keeps its own.
    void editorShowsTheBlocksOfTheFileRead()
    {
        Body body;
        fillABC(body);
        disconnect(&body, &Body::startExec, nullptr, nullptr);
        Entry fileEntry = body.schedule().at(0)->entry();
        fileEntry.blockDefType = EntryRows::FileBlocks;
        fileEntry.blockDefFile = QStringLiteral("night.prm");
        QVERIFY(BlockFile::write(fileEntry.blockDefFile, fileEntry).ok);
        body.schedule().at(0)->setEntry(fileEntry);
        body.ui.Go->click();
        QVERIFY(body.runGoing());
        Entry read = fileEntry;
        read.activeBlocks().setPos(0, 8123, false);
        for (int i : {0, 1})
            emit body.engine()->measuredAs(i, read);
        QCOMPARE(body.schedule().at(0)->entry().startEnergy(), 8123.0);
        QVERIFY(body.schedule().at(1)->entry().startEnergy() != 8123.0);
    }

    // What peers read with GetRunStatus: words they can parse whatever the
    // window's language, "stalled" once a wait has passed its limit, and a
    // run that ended with a ticked entry never measured is not "finished".
    void runStatusForPeers()
    {
        QTranslator ja;
        QVERIFY(ja.load(QString::fromLatin1(kCatalogue)));
        QCoreApplication::installTranslator(&ja);
        Body body;
        fillABC(body);
        disconnect(&body, &Body::startExec, nullptr, nullptr);
        body.ui.Go->click();
        emit body.engine()->executing(0);
        emit body.engine()->stageShown(Stage::Start);
        emit body.engine()->currentStage(stageName(Stage::Start));
        const QString running = body.bus()->runStatus();
        QCoreApplication::removeTranslator(&ja);
        QVERIFY2(running.startsWith(QLatin1String("running 1/3 measuring ETA ")),
                 qPrintable(running));
        emit body.engine()->stalled(QStringLiteral("still waiting"));
        QVERIFY(body.bus()->runStatus().startsWith(QLatin1String("stalled 1/3 measuring")));
        emit body.engine()->stageShown(Stage::End);
        QVERIFY(body.bus()->runStatus().startsWith(QLatin1String("running 1/3 end")));
        // Entry 1 done, entry 2 stopped and passed over, entry 3 done: the
        // run ended by itself, but entry 2 was never measured.
        emit body.engine()->entryEnded(0, EntryState::Done, QString());
        emit body.engine()->executing(1);
        emit body.engine()->entryEnded(1, EntryState::Stopped, QString());
        emit body.engine()->executing(2);
        emit body.engine()->entryEnded(2, EntryState::Done, QString());
        emit body.engine()->finished(true);
        QCOMPARE(body.unmeasuredEntries(), QList<int>{2});
    }

    // Without an answering function the window asks in a message box: what
    // the operator clicks is the answer.
    void questionBoxAnswers_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes closes") << true;
        QTest::newRow("no keeps the window") << false;
    }
    void questionBoxAnswers()
    {
        QFETCH(bool, yes);
        Body body;
        body.show();
        body.ui.NewAtBottom->click(); // unsaved: closing asks
        QTimer::singleShot(0, &body, [yes] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (box)
                box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        QCOMPARE(body.close(), yes);
    }

    void resumeModeChosen_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("from here") << int(Exec::FromHere);
        QTest::newRow("from init") << int(Exec::FromInit);
        QTest::newRow("from next") << int(Exec::FromNext);
    }
    void resumeModeChosen()
    {
        QFETCH(int, mode);
        Body body;
        disconnect(&body, &Body::resumeExec, nullptr, nullptr);
        QSignalSpy resumed(&body, &Body::resumeExec);
        QRadioButton *choice[] = {body.ui.ResumeFromHere, body.ui.ResumeFromInit,
                                  body.ui.ResumeFromNext};
        choice[mode]->setChecked(true);
        body.ui.Resume->click();
        QCOMPARE(resumed.count(), 1);
        QCOMPARE(int(resumed.at(0).at(0).value<Exec::ResumeMode>()), mode);
    }

    // What may lose work asks first, and only then. The run is the window's
    // side only (the engine is not started); entry B is the running one.
    void questionsBeforeLosingWork_data()
    {
        QTest::addColumn<QString>("state"); // "edited" or "running"
        QTest::addColumn<QString>("action");
        for (const char *column : {"answer", "asked", "done"})
            QTest::addColumn<bool>(column);
        const auto row = [](const char *state, const char *action, bool answer, bool asked,
                            bool done) {
            QTest::addRow("%s %s %d", state, action, answer)
                << QString(state) << QString(action) << answer << asked << done;
        };
        row("edited", "close", false, true, false);
        row("running", "close", false, true, false);
        row("edited", "clear", false, false, true);
        row("running", "clear", false, true, false);
        row("running", "cut B", false, true, false);
        row("running", "cut C", false, false, true);
    }
    void questionsBeforeLosingWork()
    {
        QFETCH(QString, state);
        QFETCH(QString, action);
        QFETCH(bool, answer);
        Body body;
        disconnect(&body, &Body::startExec, nullptr, nullptr);
        int questions = 0;
        body.setAsk([&questions, answer](const QString &) {
            ++questions;
            return answer;
        });
        body.show();
        fillABC(body);
        if (state == "running") {
            body.ui.Go->click();
            emit body.engine()->executing(1);
        }
        const QStringList before = samples(body.schedule());
        bool done = false;
        if (action == "close")
            done = body.close();
        else
            (action == "clear" ? body.ui.Clear
                               : body.schedule().at(action.endsWith('B') ? 1 : 2)->ui.Cut)
                ->click();
        QTEST(questions == 1, "asked");
        QTEST(done || samples(body.schedule()) != before, "done");
    }

    // After login (node list, target's events, configured commands), one line.
    void busEvents_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("effect"); // signals to the engine, then lines sent
        const auto row = [](const char *line, QStringList effect) {
            QTest::newRow(line) << QString::fromLatin1(line) << effect;
        };
        row("System>Tarnix @listnodes Tarnix Dorvan",
            {"ready(true)", "Tarnix>Dorvan.remote RemoteOn",
             "Tarnix>Dorvan.remote  SetMeasDarkMode 1"});
        row("System>Tarnix @listnodes Tarnix Other", {});
        row("Dorvan>Tarnix _EvChangerMoving 1", {"holder(true)"});
        row("Dorvan>Tarnix _EvMovingCurTh 1", {"mono(true)"});
        row("Dorvan>Tarnix _EvStartMeas", {"meas(true)"});
        row("Dorvan>Tarnix _EvEndQMeas", {"meas(false)"});
        row("Dorvan>Tarnix _EvErrStartXAFSMeas no beam", {"errStart(true, no beam)"});
        row("Dorvan>Tarnix _EvErrRemote Axis stop", {"errRemote(true, Axis stop)"});
        row("Dorvan>Tarnix _EvErrChangerMove jammed", {"errHolder(true, jammed)"});
        row("Other>Tarnix _EvChangerMoving 1", {});
        row("Dorvan.remote>Tarnix @GetBlockNum six", {"blocks(-1)"});
        // Only the target speaks for the target: a forged answer or refusal
        // from another node steers nothing.
        row("Other>Tarnix @GetBlockNum 7", {});
        row("Other.remote>Tarnix @Start Er: busy", {});
        row("Dorvan.remote>Tarnix @Start Er: no beam", {"refused(Start)"});
        row("Dorvan>Tarnix.ch Foo 1 2", {"Tarnix.ch>Dorvan @Foo Er: Unknown Command"});
    }
    void busEvents()
    {
        QFETCH(QString, line);
        LoginServer server(QStringLiteral("Tarnix"));
        ConfigStore &cfg = config();
        cfg.clear(); // the bus settings only; the option tables stay from the example
        cfg.readText(
            QStringLiteral("NAME_ON_TOLVA Tarnix\nTARGET_NAME_ON_TOLVA Dorvan\nTOLVA_IP 127.0.0.1\n"
                           "INIT_CMDS_ON_CONNECTED_TO_TOLVA Dorvan Hello\n"
                           "INIT_CMDS_ON_CONNECTED_TO_TARGET Dorvan.remote SetMeasDarkMode 1\n"
                           "KEY_ON_TOLVA keys.txt\nTOLVA_PORT %1\nCONNECT_TO_TOLVA 1\n")
                .arg(server.port()));
        Body body;
        const auto rec = [this](const char *name) {
            return [this, name](auto... args) {
                QStringList a;
                (a << ... << QVariant(args).toString());
                m_record << QStringLiteral("%1(%2)").arg(name, a.join(','));
            };
        };
        connect(&body, &Body::setTargetIsReady, this, rec("ready"));
        connect(&body, &Body::setSHolderIsMoving, this, rec("holder"));
        connect(&body, &Body::setMainThIsMoving, this, rec("mono"));
        connect(&body, &Body::setInXafsMeas, this, rec("meas"));
        connect(&body, &Body::setErrStartingXAFSMeas, this, rec("errStart"));
        connect(&body, &Body::setErrRemote, this, rec("errRemote"));
        connect(&body, &Body::setErrSHolderMove, this, rec("errHolder"));
        connect(&body, &Body::setReceivedBlockNum, this, rec("blocks"));
        connect(&body, &Body::refusedByTarget, this, rec("refused"));
        QTRY_COMPARE_WITH_TIMEOUT(server.lines.size(), 3, 10000);
        QCOMPARE(server.lines.last(), QStringLiteral("Tarnix>Dorvan  Hello")); // as configured
        server.lines.clear();
        // Then a line with a known effect, to know the first one was handled.
        server.send(line);
        server.send(QStringLiteral("Dorvan>Tarnix @GetBlockNum 424242"));
        QTRY_VERIFY_WITH_TIMEOUT(m_record.contains(QStringLiteral("blocks(424242)")), 10000);
        m_record.removeAll(QStringLiteral("blocks(424242)"));
        QFETCH(QStringList, effect);
        QTRY_COMPARE_WITH_TIMEOUT(m_record + server.lines, effect, 10000);
    }
};

QTEST_MAIN(TestBody)
#include "tst_body.moc"
