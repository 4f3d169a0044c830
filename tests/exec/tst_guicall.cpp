// Cross-thread calls that a stopping worker can give up.
#include "GuiCall.h"

#include <QDeadlineTimer>
#include <QTest>
#include <QThread>

#include <atomic>

class TstGuiCall : public QObject
{
    Q_OBJECT
private slots:
    void sameThreadRunsAtOnce();
    void runsInContextThread();
    void giveUpReturnsAndWorkNeverRuns();
    void waitingFlagFollowsTheWait();
};

void TstGuiCall::sameThreadRunsAtOnce()
{
    QObject context;
    int out = 0;
    QVERIFY(callInThreadOf<int>(
        &context, [] { return 42; }, &out, [] { return false; }));
    QCOMPARE(out, 42);
}

void TstGuiCall::runsInContextThread()
{
    QObject context;
    QThread *const gui = QThread::currentThread();
    std::atomic<bool> done{false};
    bool ok = false;
    QThread *ranIn = nullptr;
    QThread *worker = QThread::create([&] {
        ok = callInThreadOf<QThread *>(
            &context, [] { return QThread::currentThread(); }, &ranIn, [] { return false; });
        done = true;
    });
    worker->start();
    QTRY_VERIFY_WITH_TIMEOUT(done.load(), 10000); // serves the call while it waits
    QVERIFY(worker->wait(10000));
    delete worker;
    QVERIFY(ok);
    QCOMPARE(ranIn, gui);
}

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
            &context,
            [&runs] {
                ++runs;
                return 7;
            },
            &out, [&stop] { return stop.load(); }, &waiting);
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

void TstGuiCall::waitingFlagFollowsTheWait()
{
    QObject context;
    std::atomic<bool> waiting{false};
    std::atomic<bool> done{false};
    bool sawWaiting = false;
    QThread *worker = QThread::create([&] {
        int out = 0;
        callInThreadOf<int>(
            &context, [] { return 1; }, &out, [] { return false; }, &waiting);
        done = true;
    });
    worker->start();
    QDeadlineTimer deadline(10000);
    while (!waiting.load() && !deadline.hasExpired())
        QThread::yieldCurrentThread();
    sawWaiting = waiting.load();
    QTRY_VERIFY_WITH_TIMEOUT(done.load(), 10000);
    QVERIFY(worker->wait(10000));
    delete worker;
    QVERIFY(sawWaiting);
    QVERIFY(!waiting.load());
}

QTEST_GUILESS_MAIN(TstGuiCall)
#include "tst_guicall.moc"
