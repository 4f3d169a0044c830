// Cross-thread calls that a stopping worker can give up (served calls run in
// every engine test).
#include "GuiCall.h"

#include <QDeadlineTimer>
#include <QTest>
#include <QThread>

#include <atomic>

class TstGuiCall : public QObject
{
    Q_OBJECT
private slots:
    void giveUpReturnsAndWorkNeverRuns();
};

void TstGuiCall::giveUpReturnsAndWorkNeverRuns()
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

QTEST_GUILESS_MAIN(TstGuiCall)
#include "tst_guicall.moc"
