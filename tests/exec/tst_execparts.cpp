// The engine's parts: the status panel's updates from the engine's thread
// (its indicators are checked along the engine runs), the prompt window, and
// cross-thread calls that a stopping worker can give up (served calls run in
// every engine test).
#include "ExecCtrl.h"
#include "GuiCall.h"
#include "Prompter.h"

#include <QDeadlineTimer>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <atomic>

class TstExecParts : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { qRegisterMetaType<PromptType>("PromptType"); }
    void updatesFromAnotherThreadArriveInOrder();
    void confirm_data();
    void confirm();
    void giveUpReturnsAndWorkNeverRuns();
};

void TstExecParts::updatesFromAnotherThreadArriveInOrder()
{
    ExecCtrl p;
    QThread *worker = QThread::create([&p] {
        // Last write wins only if the queued updates keep their order.
        for (int i = 0; i < 50; ++i) {
            p.setFlag(ExecCtrl::SHolderMoving, i % 2 == 1);
            p.setErrMsg(QString::number(i));
        }
    });
    worker->start();
    QVERIFY(worker->wait(10000));
    delete worker;
    // Nothing is applied before the GUI thread handles the queued calls.
    QCOMPARE(p.ui.SHolderMoving->styleSheet(), ExecCtrl::offStyle());
    QTRY_COMPARE_WITH_TIMEOUT(p.ui.ErrMsg->text(), QStringLiteral("49"), 10000);
    QCOMPARE(p.ui.SHolderMoving->styleSheet(), ExecCtrl::onStyle());
}

void TstExecParts::confirm_data()
{
    QTest::addColumn<int>("which");
    QTest::newRow("gases") << 0;
    QTest::newRow("mirror") << 1;
    QTest::newRow("mono") << 2;
}

void TstExecParts::confirm()
{
    QFETCH(int, which);
    Prompter w;
    QSignalSpy stat(&w, &Prompter::stat);
    QSignalSpy ok(&w, &Prompter::ok);
    w.askStat();
    QCOMPARE(stat.takeFirst().at(0).toInt(), 0);
    const QStringList texts{"g", "h", "m"};
    for (int i = 0; i < 3; ++i)
        w.addPrompt(texts.at(i), PromptType(i));
    QVERIFY(w.isVisible());
    QCOMPARE(stat.last().at(0).toInt(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(w.openPrompts().at(i)->msg(), texts.at(i));
    QPointer<Prompt> p = w.openPrompts().at(which);
    QTest::mouseClick(p->ui.PromptOk, Qt::LeftButton);
    emit p->ok(); // a second click before the deferred deletion has run
    QCOMPARE(ok.count(), 1);
    QCOMPARE(ok.at(0).at(0).value<PromptType>(), PromptType(which));
    QCOMPARE(w.count(), 2);
    QVERIFY(!w.openPrompts().contains(p.data()));
    QCOMPARE(stat.last().at(0).toInt(), 2);
    QTRY_VERIFY_WITH_TIMEOUT(p.isNull(), 10000); // deleted later, not at once
    while (w.count() > 0)
        QTest::mouseClick(w.openPrompts().at(0)->ui.PromptOk, Qt::LeftButton);
    QVERIFY(!w.isVisible());
    QCOMPARE(stat.last().at(0).toInt(), 0);
}

void TstExecParts::giveUpReturnsAndWorkNeverRuns()
{
    QObject context;
    std::atomic<bool> stop{false};
    std::atomic<int> runs{0};
    std::atomic<bool> waiting{false};
    bool ok = true;
    int out = -1;
    QThread *worker = QThread::create([&] {
        ok = callInThreadOf<int>(
            &context, [&runs] { return ++runs; }, &out, [&stop] { return stop.load(); }, &waiting);
    });
    worker->start();
    QDeadlineTimer deadline(10000);
    while (!waiting.load() && !deadline.hasExpired())
        QThread::yieldCurrentThread(); // the call stays unserved
    QVERIFY(waiting.load());
    stop = true;
    QVERIFY(worker->wait(10000)); // returns although nobody served it
    delete worker;
    QVERIFY(!ok);
    QCOMPARE(out, -1);
    QVERIFY(!waiting.load());
    QCoreApplication::processEvents(); // the posted work is delivered now ...
    QCOMPARE(runs.load(), 0);          // ... and does nothing
}

QTEST_MAIN(TstExecParts)
#include "tst_execparts.moc"
