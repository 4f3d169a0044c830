// A cross-thread call that cannot deadlock a shutdown.
//
// callInThreadOf() posts work to the thread of a context object and waits for
// its result in short slices. Between slices it asks giveUp(); when that turns
// true (the caller's thread is being stopped), it stops waiting and marks the
// call abandoned, so the posted work, should it still run later, does nothing
// at all. A plain Qt::BlockingQueuedConnection would instead wait forever when
// the other thread is itself blocked joining the caller's thread.
//
// The call's state is shared between the two threads and outlives whichever
// side finishes first; the result is written there, never into the waiting
// caller's stack.
#pragma once

#include <QMetaObject>
#include <QObject>
#include <QSemaphore>
#include <QThread>

#include <atomic>
#include <functional>
#include <memory>

template <typename R>
bool callInThreadOf(QObject *context, std::function<R()> work, R *out,
                    const std::function<bool()> &giveUp, std::atomic<bool> *waiting = nullptr)
{
    if (!context)
        return false;
    if (QThread::currentThread() == context->thread()) {
        *out = work();
        return true;
    }
    struct Call
    {
        std::function<R()> work;
        R result{};
        QSemaphore done;
        std::atomic<bool> abandoned{false};
    };
    auto call = std::make_shared<Call>();
    call->work = std::move(work);
    const bool posted = QMetaObject::invokeMethod(
        context,
        [call] {
            if (!call->abandoned.load())
                call->result = call->work();
            call->done.release();
        },
        Qt::QueuedConnection);
    if (!posted)
        return false;
    if (waiting)
        waiting->store(true);
    bool ok = true;
    while (!call->done.tryAcquire(1, 5)) {
        if (giveUp()) {
            call->abandoned.store(true);
            ok = false;
            break;
        }
    }
    if (waiting)
        waiting->store(false);
    if (ok)
        *out = std::move(call->result);
    return ok;
}
