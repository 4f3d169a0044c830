// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: list editing and the cut buffer, one editor for the
// current entry, schedule files, the run shown, questions before losing work.
#include "Body.h"
#include "ConfigStore.h"
#include "EntryCodec.h"
#include "ListPane.h"
#include "LogArea.h"
#include "OptionTables.h"
#include "RunBar.h"
#include "ScheduleDocument.h"
#include "ScheduleEdit.h"
#include "ScheduleHistory.h"
#include "TestSupport.h"
#include "Tolva.h"
#include "XrayDataBase.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTcpServer>
#include <QTextEdit>
#include <QTimer>
#include <QUndoStack>

namespace {

// The samples of a list, top first.
QString samples(const ScheduleModel *list)
{
    QString out;
    for (const Entry &e : list->entries())
        out += e.sampleId;
    return out;
}

// Sample, holder and tick ("-": unticked) of each entry, top first.
QString rowsOf(const ScheduleModel *list)
{
    QStringList out;
    for (const Entry &e : list->entries())
        out << e.sampleId + e.holder + (e.exec ? "" : "-");
    return out.join(' ');
}

void setSample(ScheduleModel *list, int row, const QString &sample)
{
    Entry e = list->entry(row);
    e.sampleId = sample;
    e.holder = QString::number(row + 1);
    list->setEntry(row, e);
}

// Three entries A, B, C from top to bottom.
void fillABC(Body &body)
{
    for (const char *name : {"A", "B", "C"}) {
        body.click(Body::Button::NewAtBottom);
        setSample(body.scheduleModel(), body.scheduleModel()->count() - 1,
                  QString::fromLatin1(name));
    }
}

// Everything undo must give back: ids, values, ticks; both lists.
QString lists(const Body &body)
{
    QStringList out;
    for (const ScheduleModel *m : {body.scheduleModel(), body.cutBufferModel()}) {
        for (const ScheduleModel::Item &i : m->items())
            out << QStringLiteral("%1:%2:%3")
                       .arg(i.id)
                       .arg(i.entry.exec)
                       .arg(EntryCodec::toFields(i.entry).join(','));
        out << "|";
    }
    return out.join('\n');
}

void chooseFile(Body &body, Body::Button button, const QString &file)
{
    body.click(button);
    emit body.scheduleFileDialog()->fileSelected(file);
    body.scheduleFileDialog()->hide();
}

} // namespace

class TestBody : public QObject
{
    Q_OBJECT

    TestSupport::WorkDir m_dir;

private slots:
    void initTestCase() { QVERIFY(xrayDataBase().load(QStringLiteral(":XrayDataBase2.txt"))); }
    void init()
    {
        ConfigStore &cfg = config();
        cfg.clear();
        QVERIFY(cfg.readFile(QStringLiteral(SKEDRA_SOURCE_DIR "/examples/beamline.cfg")));
        cfg.readText(QStringLiteral("CONNECT_TO_TOLVA 0\nROOT_DIR %1\nJOURNAL \"%2\"\n")
                         .arg(m_dir.path(), m_dir.filePath("journal.csv")));
        buildOptionTables(cfg);
    }

    // Clicks on the list A, B, C ("cut X": with the editor on X): schedule, cut buffer after.
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
        row("cut C cut B up A", "BA", "C"); // insert takes the latest
        row("cut A down B", "BAC", "");
        row("cut A copy B", "BC", "BA");
        row("cut A copy B down C cut B", "CB", "BA"); // a copy is a full entry
        row("up A", "ABC", "");                       // nothing to insert
    }
    void listEditing()
    {
        QFETCH(QString, script);
        Body body;
        fillABC(body);
        int asked = 0; // Clear of a list never saved asks first
        body.setAsk([&asked](const QString &) { return ++asked; });
        ScheduleModel *list = body.scheduleModel();
        const QStringList words = script.split(' ');
        const QHash<QString, Body::Button> buttons{
            {"top", Body::Button::NewAtTop}, {"bottom", Body::Button::NewAtBottom},
            {"clear", Body::Button::Clear},  {"back", Body::Button::ComeBack},
            {"cut", Body::Button::Cut},      {"copy", Body::Button::Copy},
            {"up", Body::Button::InsertUp},  {"down", Body::Button::InsertDown}};
        for (int i = 0; i < words.size(); ++i) {
            const QString w = words.at(i);
            if (w == "top" || w == "bottom") {
                body.click(buttons.value(w));
                // The new entry is the editor's.
                QCOMPARE(body.currentRow(), w == "top" ? 0 : list->count() - 1);
                setSample(list, body.currentRow(), "N");
                continue;
            }
            if (w != "clear" && w != "back")
                body.setCurrentRow(int(samples(list).indexOf(words.at(++i))));
            body.click(buttons.value(w));
        }
        QTEST(samples(list), "schedule");
        QTEST(samples(body.cutBufferModel()), "buffer");
        QCOMPARE(asked, int(script.startsWith("clear")));
    }

    // Every list change is one step: undo gives back the exact lists (ids too), redo the after.
    void undoGivesBackTheList_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("rows"); // after the action
        for (const char *row :
             {"clear:", "cut:C3", "paste:A1 B2 P9 Q9 C3", "set:A7 B7 C3", "move:B2 A1 C3",
              "drop:B2 C3 A1", "typed:XY1 B2 C3", "cell:A1 Zed2 C3"})
            QTest::newRow(row) << QString(row).section(':', 0, 0) << QString(row).section(':', 1);
    }
    void undoGivesBackTheList()
    {
        QFETCH(QString, action);
        Body body;
        body.setAsk([](const QString &) { return true; });
        ListPane *pane = body.listPane();
        fillABC(body);
        QUndoStack *stack = pane->history()->stack();
        const QString before = lists(body);
        const int steps = stack->index();
        if (action == "clear") {
            body.click(Body::Button::Clear);
        } else if (action == "cut") {
            pane->selectRows(0, 1);
            pane->cutSelection();
        } else if (action == "paste") {
            pane->selectRows(1, 1);
            QVERIFY(pane->paste("9\tP\t\t\tp.dat\tCu\tK\n9\tQ\t\t\tq.dat\tFe\tK\n"));
        } else if (action == "set") {
            pane->selectRows(0, 1);
            pane->setField(ScheduleModel::Holder, "7");
        } else if (action == "move") { // the menu's actions are the methods'
            pane->selectRows(1, 1);
            pane->action(ListPane::Action::MoveUp)->trigger();
        } else if (action == "drop") { // A dragged below C
            emit body.scheduleModel()->rowsDropped({0}, 3);
        } else if (action == "typed") { // typing in one entry is one step
            body.setCurrentRow(0);      // the first row like any other
            body.entryEditor()->sampleIdField()->setText("X");
            body.entryEditor()->sampleIdField()->setText("XY");
        } else if (action == "cell") { // the overview as a spreadsheet: arrows, typing, Enter
            body.show();
            QVERIFY(QTest::qWaitForWindowActive(&body));
            QTableView *view = body.overviewTable();
            view->setFocus();
            view->setCurrentIndex(body.scheduleModel()->index(0, ScheduleModel::Sample));
            QTest::keyClick(view, Qt::Key_Down);
            QCOMPARE(body.entryEditor()->entry().sampleId, QStringLiteral("B"));
            QTest::keyClick(view, 'Z'); // opens the cell's editor
            QTest::keyClicks(QApplication::focusWidget(), "ed");
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QTRY_COMPARE(body.scheduleModel()->entry(1).sampleId, QStringLiteral("Zed"));
            QCOMPARE(body.currentRow(), 2); // Enter went one row down
        }
        QTEST(rowsOf(body.scheduleModel()), "rows");
        const QString after = lists(body);
        QVERIFY(after != before);
        QCOMPARE(stack->index(), steps + 1);
        pane->action(ListPane::Action::Undo)->trigger();
        QCOMPARE(lists(body), before);
        pane->action(ListPane::Action::Redo)->trigger();
        QCOMPARE(lists(body), after);
    }

    // A new line goes at the end whatever was clicked; "keep at end" only moves the view.
    void logLinesGoAtTheEnd()
    {
        for (bool keep : {true, false}) { // the view follows, or stays where the operator reads
            LogArea area(nullptr, 100);
            area.resize(300, 150);
            area.show();
            area.keepAtEnd()->setChecked(keep);
            for (int i = 1; i <= 30; ++i)
                area.log(QStringLiteral("line %1").arg(i));
            QScrollBar *bar = area.view()->verticalScrollBar();
            area.view()->moveCursor(QTextCursor::Start); // a click on the first line
            bar->setValue(0);
            area.log(QStringLiteral("line 31"));
            const QStringList lines = area.shownLines();
            QCOMPARE(lines.size(), 31);
            QVERIFY(lines.first().endsWith("line 1") && lines.last().endsWith("line 31"));
            QCOMPARE(bar->value() > 0 && bar->value() == bar->maximum(), keep);
        }
    }

    // Cleared only after a successful read; a failed save keeps the file field.
    void loadAndSave()
    {
        QVERIFY(TestSupport::writeFile("load.csv", "1,L1,,,a.dat,Cu,K\n2,L2,,,b.dat,Zn,K\n"));
        Body body;
        body.click(Body::Button::NewAtBottom);
        setSample(body.scheduleModel(), 0, "old");
        body.setOption(Body::Option::ClearOnLoad, true);
        chooseFile(body, Body::Button::Load, m_dir.filePath("absent.csv"));
        QCOMPARE(samples(body.scheduleModel()), QStringLiteral("old"));
        QVERIFY(body.scheduleFileShown().isEmpty());
        chooseFile(body, Body::Button::Load, m_dir.filePath("load.csv"));
        QCOMPARE(samples(body.scheduleModel()), QStringLiteral("L1L2"));
        QCOMPARE(body.scheduleFileShown(), m_dir.filePath("load.csv"));

        chooseFile(body, Body::Button::Save, m_dir.filePath("saved"));
        chooseFile(body, Body::Button::Save, m_dir.filePath("no/such/dir.csv"));
        QCOMPARE(body.scheduleFileShown(), m_dir.filePath("saved.csv"));
        QVERIFY(!body.document()->changed());
    }

    // A refused Start shows the first entry with errors; the editor marks the run's entry; the
    // run bar says the target measures on, passes its choices and gives up the bus's retries.
    void runShown()
    {
        QTcpServer unused; // a port where nobody listens once it is closed
        QVERIFY(unused.listen(QHostAddress::LocalHost));
        const quint16 port = unused.serverPort();
        unused.close();
        config().readText(
            QStringLiteral("TOLVA_IP 127.0.0.1\nTOLVA_PORT %1\nCONNECT_TO_TOLVA 1\n").arg(port));
        Body body;
        QVERIFY(body.bus()->wantsConnection());
        body.runBar()->connectButton()->click();
        QVERIFY(!body.bus()->wantsConnection());
        body.runBar()->connectButton()->click();
        QVERIFY(body.bus()->wantsConnection());
        QComboBox *box = body.runBar()->onEntryErrorBox();
        for (int choice : {1, 0}) {
            box->setCurrentIndex(choice);
            QCOMPARE(body.controller()->skipFailed(), choice == 1); // stop, skip
        }
        RunController *run = body.controller();
        Exec *engine = run->engine();
        QLabel *times = body.runBar()->timesLabel();
        disconnect(run, &RunController::startExec, nullptr, nullptr);
        disconnect(run, &RunController::resumeExec, nullptr, nullptr);
        fillABC(body);
        Entry b = body.scheduleModel()->entry(1);
        b.holder.clear(); // a sample ID without a holder
        body.scheduleModel()->setEntry(1, b);
        body.setCurrentRow(2);
        body.click(Body::Button::Start);
        QCOMPARE(body.currentRow(), 1);
        b.holder = QStringLiteral("2");
        body.scheduleModel()->setEntry(1, b);
        body.click(Body::Button::Start);
        QVERIFY(body.runGoing());
        emit engine->executing(2);
        QCOMPARE(body.currentRow(), 2); // the running entry is followed
        QCOMPARE(body.entryEditor()->mark(), ScheduleEdit::Mark::Running);
        emit engine->entryEnded(2, EntryState::Failed, "jammed");
        QCOMPARE(body.entryEditor()->mark(), ScheduleEdit::Mark::Error);
        emit engine->stageShown(Stage::TargetMeasuring);
        emit engine->finished(true);
        QVERIFY(times->text().contains("still measuring"));
        emit engine->stageShown(Stage::NotInExec);
        QVERIFY(!times->text().contains("still measuring"));
        // A finished run leaves its summary; after Resume the bar counts again, not frozen.
        body.click(Body::Button::Start);
        emit engine->executing(0);
        emit engine->entryEnded(0, EntryState::Done, QString());
        emit engine->finished(true);
        const QString summary = times->text();
        QCOMPARE(summary, RunBar::summaryText(*run));
        QSignalSpy resumed(run, &RunController::resumeExec);
        body.setResumeMode(Exec::FromNext);
        body.click(Body::Button::Resume);
        QCOMPARE(resumed.count(), 1);
        QCOMPARE(resumed.at(0).at(0).value<Exec::ResumeMode>(), Exec::FromNext);
        emit engine->executing(1);
        QVERIFY(times->text() != summary);
        const QString counting = times->text();
        QTRY_VERIFY_WITH_TIMEOUT(times->text() != counting, 3000); // the clock runs
        emit engine->finished(true);
        QCOMPARE(times->text(), RunBar::summaryText(*run));
    }

    // Ticks what failed or was stopped for another try, and unticks what was measured.
    void tickWhatFailed()
    {
        using S = EntryState;
        const QList<S> states{S::Pending, S::Pending, S::Skipped, S::Done, S::Failed, S::Stopped};
        Body body;
        ScheduleModel *list = body.scheduleModel();
        QList<Entry> six(states.size(), Entry::defaults());
        six[1].exec = six[2].exec = six[4].exec = six[5].exec = false;
        list->setEntries(six);
        for (int i = 0; i < states.size(); ++i)
            list->setOutcome(i, {states.at(i), {}, {}, {}});
        body.listPane()->tickWhatFailed();
        QList<bool> got;
        for (const Entry &e : list->entries())
            got << e.exec;
        QCOMPARE(got, (QList<bool>{true, false, false, false, true, true}));
    }

    // What may lose work asks first, only then, in a message box whose click is the answer;
    // the run is the window's side only (the engine is not started); B is the running entry.
    void questionsBeforeLosingWork_data()
    {
        QTest::addColumn<QString>("state"); // "edited", "running" or "measured"
        QTest::addColumn<QString>("action");
        for (const char *column : {"answer", "asked", "done"})
            QTest::addColumn<bool>(column);
        const auto row = [](const char *state, const char *action, bool answer, bool asked,
                            bool done) {
            QTest::addRow("%s %s %d", state, action, answer)
                << QString(state) << QString(action) << answer << asked << done;
        };
        row("edited", "close", false, true, false);
        row("edited", "close", true, true, true);
        row("running", "close", false, true, false);
        row("edited", "clear", false, true, false);   // undoable, but never saved
        row("running", "load", false, true, false);   // with "Clear on Load"
        row("measured", "cut B", false, true, false); // B was measured in this run
        row("measured", "cut C", false, false, true);
        row("running", "cut B", false, true, false);
    }
    void questionsBeforeLosingWork()
    {
        QFETCH(QString, state);
        QFETCH(QString, action);
        QFETCH(bool, answer);
        Body body;
        disconnect(body.controller(), &RunController::startExec, nullptr, nullptr);
        body.show();
        fillABC(body);
        int questions = 0;
        QTimer operatorHand;
        connect(&operatorHand, &QTimer::timeout, &body, [&questions, answer] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                ++questions;
                box->button(answer ? QMessageBox::Yes : QMessageBox::No)->click();
            }
        });
        operatorHand.start(10);
        if (state != "edited") {
            body.click(Body::Button::Start);
            emit body.controller()->engine()->executing(1);
        }
        if (state == "measured") {
            emit body.controller()->engine()->entryEnded(1, EntryState::Done, QString());
            emit body.controller()->engine()->finished(true);
        }
        const QString before = samples(body.scheduleModel());
        bool done = false;
        if (action == "close") {
            done = body.close();
        } else if (action == "clear") {
            body.click(Body::Button::Clear);
        } else if (action == "load") {
            body.setOption(Body::Option::ClearOnLoad, true);
            QVERIFY(TestSupport::writeFile("other.csv", "1,O1,,,o.dat,Cu,K\n"));
            done = body.loadScheduleFrom(QStringLiteral("other.csv"));
        } else {
            body.setCurrentRow(action.endsWith('B') ? 1 : 2);
            body.click(Body::Button::Cut);
        }
        QTEST(questions == 1, "asked");
        QTEST(done || samples(body.scheduleModel()) != before, "done");
    }
};

QTEST_MAIN(TestBody)
#include "tst_body.moc"
