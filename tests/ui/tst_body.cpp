// The main window: list editing and the cut buffer, schedule files, run
// control and highlights, and the bus side (set-up after login, target
// readiness, events, answers, unknown commands, lost connection).
#include "Body.h"
#include "ConfigStore.h"
#include "ExecCtrl.h"
#include "LayoutFrame.h"
#include "LogArea.h"
#include "OptionTables.h"
#include "Prompter.h"
#include "ScheduleEdit.h"
#include "TestSupport.h"
#include "Tolva.h"
#include "XrayDataBase.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

namespace {

const char *kBusConfig = R"(
NAME_ON_TOLVA Tarnix
TARGET_NAME_ON_TOLVA Dorvan
TOLVA_IP 127.0.0.1
KEY_ON_TOLVA keys.txt
INIT_CMDS_ON_CONNECTED_TO_TOLVA Dorvan Hello
INIT_CMDS_ON_CONNECTED_TO_TOLVA System Help listnodes
INIT_CMDS_ON_CONNECTED_TO_TARGET Dorvan.remote SetMeasDarkMode 1
)";

QString sampleOf(const ScheduleEdit *e)
{
    return e->ui.SampleId->text();
}

QStringList samples(const QList<ScheduleEdit *> &list)
{
    QStringList out;
    for (const ScheduleEdit *e : list)
        out << sampleOf(e);
    return out;
}

// The entries in the order the cut-buffer window shows them, top first.
QStringList shownInCutBuffer(const Body &body)
{
    QStringList out;
    QGridLayout *l = body.cutBufferWindow()->ui.Layout;
    for (int row = 0; row < l->rowCount(); ++row) {
        QLayoutItem *it = l->itemAtPosition(row, 0);
        if (auto *e = it ? qobject_cast<ScheduleEdit *>(it->widget()) : nullptr)
            out << sampleOf(e);
    }
    return out;
}

QStringList shownInSchedule(const Body &body)
{
    QStringList out;
    QGridLayout *l = body.ui.MainLayout;
    for (int row = 0; row < l->rowCount(); ++row) {
        QLayoutItem *it = l->itemAtPosition(row, 0);
        if (auto *e = it ? qobject_cast<ScheduleEdit *>(it->widget()) : nullptr)
            out << sampleOf(e);
    }
    return out;
}

QString logText(const Body &body)
{
    return body.logPanel()->ui.LogDisp->toPlainText();
}

} // namespace

class TestBody : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void displayBoxesShowAndHide();

    void listEditing_data();
    void listEditing();

    void loadAppendsOrClearsFirst_data();
    void loadAppendsOrClearsFirst();
    void saveThroughDialogWritesEveryEntry();

    void highlightsAndCurrentNo();
    void startRefusesEntriesWithErrors();
    void resumeMode_data();
    void resumeMode();
    void closingDuringRunStopsTheEngine();
    void questionsBeforeLosingWork_data();
    void questionsBeforeLosingWork();

    void listNodesMakesTargetReady();
    void events_data();
    void events();
    void unknownCommandIsAnswered();
    void realRunStopAndErrorMarks();

private:
    void configure(const QString &extra = QString());
    // Body with a logged-in bus; recorder of its engine-bound signals.
    Body *busBody(LoginServer &server);
    void record(Body *body);
    // Sends lines and then a line with a known effect, and waits for that.
    void sendAndSettle(LoginServer &server, const QStringList &lines);

    TestSupport::WorkDir m_dir;
    QStringList m_record;
};

void TestBody::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(xrayDataBase().load(QStringLiteral(":XrayDataBase2.txt")));
    QFile keys(QStringLiteral("keys.txt"));
    QVERIFY(keys.open(QIODevice::WriteOnly | QIODevice::Text));
    keys.write("k0\nk1\nk2\n");
}

void TestBody::init()
{
    m_record.clear();
    configure();
}

void TestBody::configure(const QString &extra)
{
    ConfigStore &cfg = config();
    cfg.clear();
    QVERIFY(cfg.readFile(QStringLiteral(SKEDRA_SOURCE_DIR "/examples/beamline.cfg")));
    cfg.readText(QStringLiteral("CONNECT_TO_TOLVA 0\nROOT_DIR %1\n").arg(m_dir.path()) + extra);
    buildOptionTables(cfg);
}

void TestBody::displayBoxesShowAndHide()
{
    Body body;
    body.show();
    const QList<std::pair<QCheckBox *, QWidget *>> boxes{
        {body.ui.ShowLog, body.logPanel()},
        {body.ui.ShowTolvaStat, body.ui.TolvaFrame},
        {body.ui.ShowCutBuffer, body.cutBufferWindow()},
        {body.ui.ShowExecStat, body.statusPanel()}};
    for (const auto &[box, shown] : boxes) {
        QCOMPARE(shown->isVisible(), box->isChecked());
        for (bool on : {!box->isChecked(), box->isChecked()}) {
            box->setChecked(on);
            QTRY_COMPARE_WITH_TIMEOUT(shown->isVisible(), on, 10000);
        }
    }
}

// Three entries A, B, C from top to bottom.
static void fillABC(Body &body)
{
    for (const char *name : {"A", "B", "C"}) {
        body.ui.NewAtBottom->click();
        body.schedule().last()->ui.SampleId->setText(QString::fromLatin1(name));
    }
}

// A script of the operator's clicks on the list A, B, C: "top" and "bottom"
// (a new entry N), "clear", "back" (Come Back), and "cut X", "copy X", "up X",
// "down X" on the buttons of entry X in the schedule ("bcut X", "bcopy X" on
// an entry in the cut buffer). Expected: the schedule top to bottom, and the
// cut buffer as its window shows it, top first.
void TestBody::listEditing_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("schedule");
    QTest::addColumn<QString>("buffer");
    QTest::newRow("new at top and bottom") << "top bottom"
                                           << "NABCN"
                                           << "";
    QTest::newRow("clear: the first entry is the latest") << "clear"
                                                          << ""
                                                          << "ABC";
    QTest::newRow("clear, all back") << "clear back back back"
                                     << "ABC"
                                     << "";
    QTest::newRow("back with nothing to bring") << "back"
                                                << "ABC"
                                                << "";
    QTest::newRow("cut") << "cut B"
                         << "AC"
                         << "B";
    QTest::newRow("a buffered entry's buttons") << "cut B bcut B bcopy B"
                                                << "AC"
                                                << "B";
    QTest::newRow("insert up takes the latest") << "cut C cut B up A"
                                                << "BA"
                                                << "C";
    QTest::newRow("insert down") << "cut A down B"
                                 << "BAC"
                                 << "";
    QTest::newRow("insert with nothing to insert") << "up B down B"
                                                   << "ABC"
                                                   << "";
    QTest::newRow("copy") << "cut A copy B"
                          << "BC"
                          << "BA";
    QTest::newRow("a copy is a full entry") << "cut A copy B down C cut B"
                                            << "CB"
                                            << "BA";
}

void TestBody::listEditing()
{
    QFETCH(QString, script);
    QFETCH(QString, schedule);
    QFETCH(QString, buffer);
    Body body;
    fillABC(body);
    const QStringList words = script.split(' ');
    const auto find = [](const QList<ScheduleEdit *> &list, const QString &name) {
        for (ScheduleEdit *e : list) {
            if (e->ui.SampleId->text() == name)
                return e;
        }
        return static_cast<ScheduleEdit *>(nullptr);
    };
    for (int i = 0; i < words.size(); ++i) {
        const QString &w = words.at(i);
        if (w == "top" || w == "bottom") {
            (w == "top" ? body.ui.NewAtTop : body.ui.NewAtBottom)->click();
            body.schedule()
                .at(w == "top" ? 0 : body.schedule().size() - 1)
                ->ui.SampleId->setText("N");
            continue;
        }
        if (w == "clear" || w == "back") {
            (w == "clear" ? body.ui.Clear : body.ui.ComeBack)->click();
            continue;
        }
        const bool buffered = w.startsWith('b');
        ScheduleEdit *e = find(buffered ? body.cutBufferEntries() : body.schedule(), words.at(++i));
        QVERIFY(e);
        const QString button = buffered ? w.mid(1) : w;
        (button == "cut"    ? e->ui.Cut
         : button == "copy" ? e->ui.Copy
         : button == "up"   ? e->ui.InsertUp
                            : e->ui.InsertDown)
            ->click();
    }
    QCOMPARE(samples(body.schedule()).join(QString()), schedule);
    QCOMPARE(shownInSchedule(body), samples(body.schedule()));
    QCOMPARE(shownInCutBuffer(body).join(QString()), buffer);
    QCOMPARE(body.cutBufferEntries().size(), buffer.size());
    for (int i = 0; i < body.schedule().size(); ++i) // numbered from 1, top to bottom
        QCOMPARE(body.schedule().at(i)->ui.No->text(), QString::number(i + 1));
}

void TestBody::loadAppendsOrClearsFirst_data()
{
    QTest::addColumn<bool>("clearOnLoad");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<QStringList>("schedule");
    QTest::addColumn<QStringList>("buffer");
    QTest::newRow("clear on load")
        << true << true << QStringList({"L1", "L2"}) << QStringList({"old"});
    QTest::newRow("append") << false << true << QStringList({"old", "L1", "L2"}) << QStringList();
    // Clear only after a successful read: the list on show is not lost.
    QTest::newRow("unreadable, clear on load")
        << true << false << QStringList({"old"}) << QStringList();
}

void TestBody::loadAppendsOrClearsFirst()
{
    QFETCH(bool, clearOnLoad);
    QFETCH(bool, readable);
    QFETCH(QStringList, schedule);
    QFETCH(QStringList, buffer);
    const QString file = m_dir.filePath(readable ? "load.csv" : "absent.csv");
    QVERIFY(TestSupport::writeFile(
        "load.csv",
        "# a comment line\n"
        "1,L1,first,,a.dat,Cu,K,-,-,-,Quick,Trans,Std,XAFS,MyBlock.prm,300,1,eV,R-300,4666,0.3\n\n"
        "2,L2,second,,b.dat,Zn,K,Y,-,-,Step,Fluo,Std,XANES,MyBlock.prm,\"1,2\",3,eV\n"));

    Body body;
    body.ui.NewAtBottom->click();
    body.schedule().at(0)->ui.SampleId->setText(QStringLiteral("old"));
    body.ui.ClearOnLoad->setChecked(clearOnLoad);
    body.ui.LoadSchedule->click();
    emit body.scheduleFileDialog()->fileSelected(file);
    body.scheduleFileDialog()->hide();

    QCOMPARE(samples(body.schedule()), schedule);
    QCOMPARE(samples(body.cutBufferEntries()), buffer);
    QCOMPARE(shownInSchedule(body), schedule);
    if (!readable) {
        QVERIFY(body.ui.ScheduleFile->text().isEmpty());
        return;
    }
    // Loaded into an empty list, the list is the file: nothing to save.
    QCOMPARE(body.entriesChanged(), !clearOnLoad);
    QCOMPARE(body.ui.ScheduleFile->text(), file);
    ScheduleEdit *second = body.schedule().last();
    QCOMPARE(second->ui.TargetElm->text(), QStringLiteral("Zn"));
    QCOMPARE(second->ui.MeasTimes->text(), QStringLiteral("1,2"));
    QCOMPARE(second->ui.Blocks->value(), 3);
    // A loaded entry is connected like any other.
    second->ui.Cut->click();
    QCOMPARE(body.cutBufferEntries().last(), second);
}

void TestBody::saveThroughDialogWritesEveryEntry()
{
    Body body;
    fillABC(body);
    body.schedule().at(1)->ui.Comment->setText(QStringLiteral("with, comma"));
    const QString file = m_dir.filePath(QStringLiteral("saved.csv"));
    body.ui.SaveSchedule->click();
    emit body.scheduleFileDialog()->fileSelected(file);
    body.scheduleFileDialog()->hide();
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines =
        QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines.at(1).contains(QStringLiteral(",\"with, comma\",")));

    // Read back into a second window: the same entries.
    Body other;
    other.ui.ClearOnLoad->setChecked(false);
    other.loadScheduleFrom(file);
    QCOMPARE(samples(other.schedule()), samples(body.schedule()));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(other.schedule().at(i)->toStringList(), body.schedule().at(i)->toStringList());

    // A save that cannot be written says so and leaves the file field naming
    // the file that really holds the schedule.
    body.ui.SaveSchedule->click();
    emit body.scheduleFileDialog()->fileSelected(m_dir.filePath(QStringLiteral("no/such/dir.csv")));
    body.scheduleFileDialog()->hide();
    QCOMPARE(body.ui.ScheduleFile->text(), file);
}

void TestBody::highlightsAndCurrentNo()
{
    Body body;
    fillABC(body);
    const QList<ScheduleEdit *> ss = body.schedule();
    disconnect(&body, &Body::startExec, nullptr, nullptr); // the engine's notices are played here
    body.ui.Go->click();
    emit body.engine()->executing(1);
    QCOMPARE(body.ui.CurrentNo->text(), QStringLiteral("2"));
    QCOMPARE(ss.at(0)->mark(), ScheduleEdit::Mark::None);
    QCOMPARE(ss.at(1)->mark(), ScheduleEdit::Mark::Running);
    QCOMPARE(ss.at(2)->mark(), ScheduleEdit::Mark::None);

    // A stop marks the running entry as finished, not as failed.
    emit body.engine()->finished(true);
    QCOMPARE(ss.at(1)->mark(), ScheduleEdit::Mark::Finished);
    QCOMPARE(body.ui.CurrentNo->text(), QStringLiteral("-"));

    emit body.engine()->executing(2);
    QCOMPARE(ss.at(1)->mark(), ScheduleEdit::Mark::Finished); // it keeps its mark
    QCOMPARE(ss.at(2)->mark(), ScheduleEdit::Mark::Running);
    emit body.engine()->finished(false);
    QCOMPARE(ss.at(2)->mark(), ScheduleEdit::Mark::Error);
    QCOMPARE(body.ui.CurrentNo->text(), QStringLiteral("-"));

    // CurrentNo is editable: the end marks whatever number it holds.
    body.ui.CurrentNo->setText(QStringLiteral("1"));
    emit body.engine()->finished(true);
    QCOMPARE(ss.at(0)->mark(), ScheduleEdit::Mark::Finished);
    // Numbers outside the list, or no number, mark nothing.
    for (const char *text : {"0", "4", "x", "-"}) {
        for (ScheduleEdit *e : ss)
            e->setMark(ScheduleEdit::Mark::None);
        body.ui.CurrentNo->setText(QString::fromLatin1(text));
        QSignalSpy done(&body, &Body::runFinished);
        emit body.engine()->finished(false);
        QCOMPARE(done.count(), 1);
        for (ScheduleEdit *e : ss)
            QCOMPARE(e->mark(), ScheduleEdit::Mark::None);
    }
    // An index outside the list shows its number and highlights nothing.
    emit body.engine()->executing(7);
    QCOMPARE(body.ui.CurrentNo->text(), QStringLiteral("8"));
    for (ScheduleEdit *e : ss)
        QCOMPARE(e->mark(), ScheduleEdit::Mark::None);
}

// Entries 2 and 3 cannot be run: nothing goes to the engine, each is named
// in the log, the run counts as failed; an unticked entry with errors does
// not matter.
void TestBody::startRefusesEntriesWithErrors()
{
    Body body;
    fillABC(body);
    body.ui.NewAtBottom->click();
    const QList<ScheduleEdit *> ss = body.schedule();
    ss.at(1)->ui.HolderNo->setText(QStringLiteral("abc"));
    ss.at(2)->ui.MeasTimes->setText(QStringLiteral("xyz"));
    ss.at(3)->ui.TargetElm->setText(QStringLiteral("Xx"));
    ss.at(3)->ui.Exec->setChecked(false);
    QVERIFY(!ss.at(1)->entry().errors.isEmpty());          // on its E. button as typed
    disconnect(&body, &Body::startExec, nullptr, nullptr); // no real run here
    QSignalSpy started(&body, &Body::startExec);
    QSignalSpy finished(&body, &Body::runFinished);
    body.ui.Go->click();
    QCOMPARE(started.count(), 0);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toBool(), false);
    const QStringList named = logText(body).split('\n').filter(QRegularExpression(": Entry \\d: "));
    QCOMPARE(named.size(), 2);
    QVERIFY(named.at(0).contains("Entry 2: ") && named.at(1).contains("Entry 3: "));

    // Mended, the same schedule starts.
    ss.at(1)->ui.HolderNo->setText(QStringLiteral("2"));
    ss.at(2)->ui.MeasTimes->setText(QStringLiteral("30"));
    QVERIFY(ss.at(1)->entry().errors.isEmpty());
    body.ui.Go->click();
    QCOMPARE(started.count(), 1);
}

void TestBody::resumeMode_data()
{
    QTest::addColumn<QString>("checked");
    QTest::addColumn<int>("mode");
    QTest::newRow("none checked") << QString() << int(Exec::FromHere);
    QTest::newRow("here") << QStringLiteral("ResumeFromHere") << int(Exec::FromHere);
    QTest::newRow("begin") << QStringLiteral("ResumeFromInit") << int(Exec::FromInit);
    QTest::newRow("next") << QStringLiteral("ResumeFromNext") << int(Exec::FromNext);
}

void TestBody::resumeMode()
{
    QFETCH(QString, checked);
    QFETCH(int, mode);
    Body body;
    disconnect(&body, &Body::resumeExec, nullptr, nullptr);
    QSignalSpy spy(&body, &Body::resumeExec);
    for (QRadioButton *b :
         {body.ui.ResumeFromHere, body.ui.ResumeFromInit, body.ui.ResumeFromNext}) {
        b->setAutoExclusive(false);
        b->setChecked(b->objectName() == checked);
    }
    body.ui.Resume->click();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(int(spy.at(0).at(0).value<Exec::ResumeMode>()), mode);
}

void TestBody::closingDuringRunStopsTheEngine()
{
    auto *body = new Body;
    fillABC(*body);
    QSignalSpy closed(body, &Body::closed);
    QSignalSpy gone(body->engine(), &QObject::destroyed);
    QThread *worker = body->engine()->thread();
    QVERIFY(worker != QThread::currentThread());
    // A real run without a bus: it waits for the target.
    body->ui.Go->click();
    QTRY_COMPARE_WITH_TIMEOUT(body->ui.CurrentNo->text(), QStringLiteral("1"), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(body->ui.StageName->text(), QStringLiteral("Waiting for the target"),
                              10000);
    QStringList asked;
    body->setAsk([&asked](const QString &q) {
        asked << q;
        return true;
    });
    QVERIFY(body->close());
    QCOMPARE(asked, QStringList{QStringLiteral("A run is going. Stop it and close Skedra?")});
    QCOMPARE(closed.count(), 1);
    QVERIFY(worker->isFinished());
    delete body;
    QCOMPARE(gone.count(), 1);
}

// What may lose work asks first, and only then: closing during a run or with
// unsaved entries, Clear during a run, Cut of the entry being run. The run
// here is the window's side only (the engine is not started).
void TestBody::questionsBeforeLosingWork_data()
{
    QTest::addColumn<QString>("state"); // "saved", "edited" or "running" (entry B)
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("done");
    QTest::newRow("close a saved list") << "saved"
                                        << "close" << false << false << true;
    QTest::newRow("close an edited list, declined") << "edited"
                                                    << "close" << false << true << false;
    QTest::newRow("close an edited list, agreed") << "edited"
                                                  << "close" << true << true << true;
    QTest::newRow("close during a run, declined") << "running"
                                                  << "close" << false << true << false;
    QTest::newRow("clear without a run") << "edited"
                                         << "clear" << false << false << true;
    QTest::newRow("clear during a run, declined") << "running"
                                                  << "clear" << false << true << false;
    QTest::newRow("clear during a run, agreed") << "running"
                                                << "clear" << true << true << true;
    QTest::newRow("cut the running entry, declined") << "running"
                                                     << "cut B" << false << true << false;
    QTest::newRow("cut another entry during a run") << "running"
                                                    << "cut C" << false << false << true;
}

void TestBody::questionsBeforeLosingWork()
{
    QFETCH(QString, state);
    QFETCH(QString, action);
    QFETCH(bool, answer);
    QFETCH(bool, asked);
    QFETCH(bool, done);
    Body body;
    disconnect(&body, &Body::startExec, nullptr, nullptr);
    int questions = 0;
    body.setAsk([&questions, answer](const QString &) {
        ++questions;
        return answer;
    });
    body.show();
    fillABC(body);
    if (state == QLatin1String("saved")) {
        body.ui.SaveSchedule->click();
        emit body.scheduleFileDialog()->fileSelected(m_dir.filePath(QStringLiteral("asked")));
        body.scheduleFileDialog()->hide();
        QVERIFY(QFile::exists(m_dir.filePath(QStringLiteral("asked.csv"))));
        QCOMPARE(body.ui.ScheduleFile->text(), m_dir.filePath(QStringLiteral("asked.csv")));
    }
    QCOMPARE(body.entriesChanged(), state != QLatin1String("saved"));
    if (state == QLatin1String("running")) {
        body.ui.Go->click();
        emit body.engine()->executing(1);
        QVERIFY(body.runGoing());
    }
    const QStringList before = samples(body.schedule());
    bool closed = false;
    if (action == QLatin1String("close"))
        closed = body.close();
    else if (action == QLatin1String("clear"))
        body.ui.Clear->click();
    else
        body.schedule().at(action.endsWith('B') ? 1 : 2)->ui.Cut->click();
    QCOMPARE(questions, asked ? 1 : 0);
    if (action == QLatin1String("close"))
        QCOMPARE(closed, done);
    else
        QCOMPARE(samples(body.schedule()) != before, done);
}

// ---- Bus side ---------------------------------------------------------------

Body *TestBody::busBody(LoginServer &server)
{
    // Only the bus settings here: the example's initial commands would add to them.
    ConfigStore &cfg = config();
    cfg.clear();
    cfg.readText(QString::fromLatin1(kBusConfig) +
                 QStringLiteral("\nTOLVA_PORT %1\nCONNECT_TO_TOLVA 1\n").arg(server.port()));
    // The option tables still come from the example, for entries that run.
    ConfigStore tables;
    tables.readFile(QStringLiteral(SKEDRA_SOURCE_DIR "/examples/beamline.cfg"));
    buildOptionTables(tables);
    auto *body = new Body;
    record(body);
    return body;
}

void TestBody::record(Body *body)
{
    const auto flag = [this](const char *name) {
        return [this, name](bool f) {
            m_record << QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(f);
        };
    };
    const auto flagMsg = [this](const char *name) {
        return [this, name](bool f, const QString &msg) {
            m_record << QStringLiteral("%1(%2,%3)").arg(QLatin1String(name)).arg(f).arg(msg);
        };
    };
    connect(body, &Body::setTargetIsReady, this, flag("ready"));
    connect(body, &Body::setSHolderIsMoving, this, flag("holder"));
    connect(body, &Body::setMainThIsMoving, this, flag("mono"));
    connect(body, &Body::setInXafsMeas, this, flag("meas"));
    connect(body, &Body::setErrStartingXAFSMeas, this, flagMsg("errStart"));
    connect(body, &Body::setErrRemote, this, flagMsg("errRemote"));
    connect(body, &Body::setErrSHolderMove, this, flagMsg("errHolder"));
    connect(body, &Body::setReceivedBlockNum, this,
            [this](int n) { m_record << QStringLiteral("blocks(%1)").arg(n); });
}

void TestBody::sendAndSettle(LoginServer &server, const QStringList &lines)
{
    for (const QString &l : lines)
        server.send(l);
    server.send(QStringLiteral("System>Tarnix @GetBlockNum 424242"));
    QTRY_VERIFY_WITH_TIMEOUT(m_record.contains(QStringLiteral("blocks(424242)")), 10000);
    m_record.removeAll(QStringLiteral("blocks(424242)"));
}

// After login: the node list is asked for, the target's events, and the
// configured initial commands; the target is ready once it is in the list.
void TestBody::listNodesMakesTargetReady()
{
    LoginServer server(QStringLiteral("Tarnix"));
    std::unique_ptr<Body> body(busBody(server));
    QTRY_VERIFY_WITH_TIMEOUT(server.lines.size() >= 4, 10000);
    QCOMPARE(server.lines, QStringList({"Tarnix>System listnodes", "Tarnix>System flgon Dorvan",
                                        "Tarnix>Dorvan  Hello", "Tarnix>System  Help listnodes"}));
    server.lines.clear();
    // A node list without the target changes nothing.
    sendAndSettle(server, {QStringLiteral("System>Tarnix @listnodes Tarnix Other")});
    QVERIFY(m_record.isEmpty());
    QVERIFY(server.lines.isEmpty());
    server.send(QStringLiteral("System>Tarnix @listnodes Tarnix Dorvan"));
    QTRY_COMPARE_WITH_TIMEOUT(server.lines.size(), 2, 10000);
    QCOMPARE(server.lines,
             QStringList({QStringLiteral("Tarnix>Dorvan.remote RemoteOn"),
                          QStringLiteral("Tarnix>Dorvan.remote  SetMeasDarkMode 1")}));
    QCOMPARE(m_record, QStringList({QStringLiteral("ready(1)")}));
    QTRY_VERIFY_WITH_TIMEOUT(body->statusPanel()->indicator(ExecCtrl::TargetReady)->styleSheet() ==
                                 ExecCtrl::onStyle(),
                             10000);
}

void TestBody::events_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("effect");
    const auto row = [](const char *name, const char *line, QStringList effect) {
        QTest::newRow(name) << QString::fromLatin1(line) << effect;
    };
    row("changer moving", "Dorvan>Tarnix _EvChangerMoving 1", {"holder(1)"});
    row("changer text", "Dorvan>Tarnix _EvChangerMoving yes", {"holder(0)"});
    row("changer 2", "Dorvan>Tarnix _EvChangerMoving 2", {"holder(0)"});
    row("mono moving", "Dorvan>Tarnix _EvMovingCurTh 1", {"mono(1)"});
    row("start meas", "Dorvan>Tarnix _EvStartMeas", {"meas(1)"});
    row("end meas", "Dorvan>Tarnix _EvEndMeas", {"meas(0)"});
    row("end qmeas", "Dorvan>Tarnix _EvEndQMeas", {"meas(0)"});
    row("err start", "Dorvan>Tarnix _EvErrStartXAFSMeas no beam", {"errStart(1, no beam)"});
    row("err remote", "Dorvan>Tarnix _EvErrRemote Axis stop", {"errRemote(1, Axis stop)"});
    row("err changer", "Dorvan>Tarnix _EvErrChangerMove jammed", {"errHolder(1, jammed)"});
    row("other node", "Other>Tarnix _EvChangerMoving 1", {});
    row("target channel", "Dorvan.remote>Tarnix _EvEndMeas", {});
    row("case differs", "dorvan>Tarnix _EvStartMeas", {});
    row("as command", "Dorvan>Tarnix EvStartMeas", {});
    row("as answer", "Dorvan>Tarnix @EvStartMeas", {});
    row("unknown event", "Dorvan>Tarnix _EvSomething 1", {});
    row("block count", "Dorvan.remote>Tarnix @GetBlockNum 6", {"blocks(6)"});
    row("block count text", "Dorvan.remote>Tarnix @GetBlockNum six", {"blocks(-1)"});
    row("block count as event", "Dorvan>Tarnix _GetBlockNum 2", {});
}

void TestBody::events()
{
    QFETCH(QString, line);
    QFETCH(QStringList, effect);
    LoginServer server(QStringLiteral("Tarnix"));
    std::unique_ptr<Body> body(busBody(server));
    QTRY_VERIFY_WITH_TIMEOUT(server.lines.size() >= 4, 10000);
    if (line.contains(QLatin1String("EvErrChangerMove")))
        QTest::ignoreMessage(QtDebugMsg, "Err Changer Move");
    sendAndSettle(server, {line});
    QCOMPARE(m_record, effect);
}

void TestBody::unknownCommandIsAnswered()
{
    LoginServer server(QStringLiteral("Tarnix"));
    std::unique_ptr<Body> body(busBody(server));
    QTRY_VERIFY_WITH_TIMEOUT(server.lines.size() >= 4, 10000);
    server.lines.clear();
    server.send(QStringLiteral("Dorvan>Tarnix.ch Foo 1 2"));
    QTRY_COMPARE_WITH_TIMEOUT(server.lines.size(), 1, 10000);
    QCOMPARE(server.lines.at(0), QStringLiteral("Tarnix.ch>Dorvan @Foo Er: Unknown Command"));
    QVERIFY(logText(*body).contains(QStringLiteral("**** Er: Foo")));
    // The built-in commands are not the window's business.
    server.send(QStringLiteral("Dorvan>Tarnix IsBusy"));
    QTRY_COMPARE_WITH_TIMEOUT(server.lines.size(), 2, 10000);
    QCOMPARE(server.lines.at(1), QStringLiteral("Tarnix>Dorvan @IsBusy 0"));
}

// The window, the engine, the prompter and the bus client together, with the
// test playing the server and a target that ends moves at once and never ends
// a measurement by itself.
void TestBody::realRunStopAndErrorMarks()
{
    LoginServer server(QStringLiteral("Tarnix"));
    server.onLine = [&server](const QString &line) {
        if (line.contains(QLatin1String(" SetCurrentEnergy ")))
            server.send(QStringLiteral("Dorvan>Tarnix _EvMovingCurTh 0"));
        else if (line.contains(QLatin1String(" MoveSHolderTo")))
            server.send(QStringLiteral("Dorvan>Tarnix _EvChangerMoving 0"));
        else if (line.endsWith(QLatin1String(" GetBlockNum")))
            server.send(QStringLiteral("Dorvan.remote>Tarnix @GetBlockNum 2"));
    };
    std::unique_ptr<Body> body(busBody(server));
    fillABC(*body);
    const QList<ScheduleEdit *> ss = body->schedule();
    QTRY_VERIFY_WITH_TIMEOUT(server.lines.size() >= 4, 10000);
    server.send(QStringLiteral("System>Tarnix @listnodes Tarnix Dorvan"));
    QTRY_VERIFY_WITH_TIMEOUT(m_record.contains(QStringLiteral("ready(1)")), 10000);

    body->ui.Go->click();
    QTRY_COMPARE_WITH_TIMEOUT(body->ui.CurrentNo->text(), QStringLiteral("1"), 10000);
    QCOMPARE(ss.at(0)->mark(), ScheduleEdit::Mark::Running);
    // The first entry asks for three set-up changes; the operator confirms them.
    Prompter *prompter = body->prompterWindow();
    QTRY_COMPARE_WITH_TIMEOUT(prompter->count(), 3, 10000);
    while (prompter->count() > 0)
        prompter->openPrompts().first()->ui.PromptOk->click();
    QTRY_VERIFY_WITH_TIMEOUT(server.lines.contains(QStringLiteral("Tarnix>Dorvan.remote Start")),
                             10000);
    QVERIFY(server.lines.contains(QStringLiteral("Tarnix>Dorvan.remote SetMeasTime 1 300")));
    QVERIFY(!server.lines.contains(QStringLiteral("Tarnix>Dorvan.remote SetMeasTime 2 300")));
    QTRY_COMPARE_WITH_TIMEOUT(body->ui.StageName->text(), QStringLiteral("In Meas."), 10000);
    // Busy while the run goes: other nodes are told, and IsBusy says so.
    QVERIFY(server.lines.contains(QStringLiteral("Tarnix>System _ChangedIsBusy 1")));
    server.send(QStringLiteral("Dorvan>Tarnix IsBusy"));
    QTRY_VERIFY_WITH_TIMEOUT(server.lines.contains(QStringLiteral("Tarnix>Dorvan @IsBusy 1")),
                             10000);

    // Stop during the measurement: the entry is finished, not failed.
    QSignalSpy finished(body.get(), &Body::runFinished);
    body->ui.Stop->click();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
    QCOMPARE(finished.at(0).at(0).toBool(), true);
    QCOMPARE(ss.at(0)->mark(), ScheduleEdit::Mark::Finished);
    QCOMPARE(body->ui.CurrentNo->text(), QStringLiteral("-"));
    QCOMPARE(body->ui.StageName->text(), QStringLiteral("Target still measuring"));
    QTRY_VERIFY_WITH_TIMEOUT(
        server.lines.contains(QStringLiteral("Tarnix>System _ChangedIsBusy 0")), 10000);

    // Start again: marks cleared; the engine waits for the measurement still
    // running on the target, which then fails to start the next one.
    body->ui.Go->click();
    QCOMPARE(ss.at(0)->mark(), ScheduleEdit::Mark::None);
    QTRY_COMPARE_WITH_TIMEOUT(body->ui.CurrentNo->text(), QStringLiteral("1"), 10000);
    server.send(QStringLiteral("Dorvan>Tarnix _EvErrStartXAFSMeas no beam"));
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 10000);
    QCOMPARE(finished.at(1).at(0).toBool(), false);
    QCOMPARE(ss.at(0)->mark(), ScheduleEdit::Mark::Error);
    QCOMPARE(ss.at(1)->mark(), ScheduleEdit::Mark::None);
    QCOMPARE(body->ui.CurrentNo->text(), QStringLiteral("-"));
    QTRY_COMPARE_WITH_TIMEOUT(body->statusPanel()->ui.ErrMsg->text(), QStringLiteral(" no beam"),
                              10000);
}

QTEST_MAIN(TestBody)
#include "tst_body.moc"
