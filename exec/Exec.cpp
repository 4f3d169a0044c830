// SPDX-License-Identifier: GPL-3.0-or-later
#include "Exec.h"

#include "ExecPlan.h"
#include "RunEstimate.h"
#include "TargetWords.h"

#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>

namespace {
constexpr int kTickMs = 10;
} // namespace

Exec::Exec(QObject *parent) : QObject(parent)
{
    registerMetaTypes();
    clock.start();
}

Exec::~Exec() = default;

void Exec::registerMetaTypes()
{
    qRegisterMetaType<Exec::ResumeMode>("Exec::ResumeMode");
    qRegisterMetaType<PromptType>("PromptType");
    qRegisterMetaType<Severity>("Severity");
    qRegisterMetaType<Entry>("Entry");
    qRegisterMetaType<QList<Entry>>("QList<Entry>");
    qRegisterMetaType<EntryState>("EntryState");
}

bool Exec::stopThread(QThread *thread, unsigned long timeoutMs)
{
    if (!thread)
        return true;
    thread->requestInterruption();
    thread->quit();
    return thread->wait(QDeadlineTimer(timeoutMs == ULONG_MAX ? QDeadlineTimer::Forever
                                                              : QDeadlineTimer(qint64(timeoutMs))));
}

void Exec::setFlag(ExecFlags::Flag f, bool on)
{
    if (f < 0 || f >= ExecFlags::FlagCount)
        return;
    m_flags[f] = on;
    emit flagChanged(f, on);
}

void Exec::clearErrStarting()
{
    setFlag(ExecFlags::ErrStartingXafsMeas, false);
    emit errMsgChanged(QString());
}

void Exec::send(const QString &cmd)
{
    entrySent = true;
    emit sendCmd(QString(), targetCh, cmd);
}

void Exec::setRunning(bool on)
{
    if (running == on)
        return;
    running = on;
    emit runningChanged(on);
}

void Exec::showStage(int stage)
{
    if (stage == shownStage)
        return;
    shownStage = stage;
    emit currentStage(stageName(stage));
    emit stageShown(stage);
}

void Exec::endEntry(EntryState state, const QString &detail)
{
    if (!entryOpen)
        return;
    entryOpen = false;
    emit entryEnded(current, state, detail);
}

void Exec::failEntry(const QString &reason)
{
    if (!running)
        return;
    // The run ends or goes on; either way it is no longer held by a target
    // that went away.
    lost = false;
    const int failed = current;
    endEntry(EntryState::Failed, reason);
    // Whatever the entry left half done, the next one sets everything anew.
    lastMeasured.reset();
    if (!skipFailed) {
        stop(false);
        return;
    }
    emit log(
        tr("Entry %1 failed: %2. The run goes on with the next entry.").arg(failed + 1).arg(reason),
        Severity::Error);
    timer->stop();
    // What the failed entry waited for will never come.
    for (ExecFlags::Flag f : {ExecFlags::InXAFSMeas, ExecFlags::MainThMoving,
                              ExecFlags::SHolderMoving, ExecFlags::BusyAskingBlockNum})
        setFlag(f, false);
    stageNo = Stage::Initialize;
    ++current;
    currentBegun = false;
    if (stopAfterEntry) {
        stop(true);
        return;
    }
    awaitingReady = true;
    emit execNext();
}

void Exec::finishEntry()
{
    endEntry(EntryState::Done);
    lastMeasured = cur;
    ++current;
    currentBegun = false;
    if (stopAfterEntry)
        stop(true);
    else
        emit execNext();
}

void Exec::setStopAfterEntry(bool on)
{
    stopAfterEntry = on;
}

void Exec::setSkipFailedEntries(bool skip)
{
    skipFailed = skip;
}

void Exec::setResumeOnReturn(bool on, int attempts)
{
    resumeOnReturn = on;
    maxAttempts = qMax(1, attempts);
}

void Exec::setDeadline(const QDateTime &at, const QList<Estimate::Figure> &figures)
{
    deadline = at;
    estimates = figures;
}

void Exec::endByDeadline()
{
    const QString detail = tr("would end after %1").arg(deadline.toString(QStringLiteral("HH:mm")));
    emit deadlineReached(current, detail);
    for (int i = current; i < entries.size(); ++i)
        emit entryEnded(i, EntryState::Skipped, entries.at(i).exec ? detail : QString());
    current = int(entries.size());
    currentBegun = false;
    stop(true);
}

void Exec::setWaitLimit(double seconds)
{
    if (seconds > 0)
        waitLimitMs = qint64(seconds * 1000);
}

// Every wait on the target has a limit; the operator's prompts do not count.
void Exec::watch()
{
    using F = ExecFlags;
    using W = Watchdog;
    W::Waits on{};
    on[W::Target] = lost || !flag(F::TargetReady);
    on[W::EnergyMove] = flag(F::MainThMoving);
    on[W::HolderMove] = flag(F::SHolderMoving);
    on[W::BlockCount] = flag(F::BusyAskingBlockNum);
    on[W::Measurement] = flag(F::InXAFSMeas);
    const bool prompt = prompterCount > 0 || flag(F::ICGasesChanging) || flag(F::HOCMChanging) ||
                        flag(F::MonoChanging);
    W::Limits limits;
    limits.fill(waitLimitMs);
    limits[W::Measurement] += qint64(expectedMeasSeconds(cur) * 1000);
    const QList<W::Wait> passed = watchdog.check(on, prompt, limits, clock.elapsed());
    for (W::Wait w : passed) {
        QString line =
            tr("Entry %1, stage \"%2\": still waiting for %3 after %4 s.")
                .arg(current + 1)
                .arg(stageName(shownStage), waitText(w), QString::number(double(limits[w]) / 1000));
        if (endRunOnPassedLimit && !skipFailed)
            line += QLatin1Char(' ') + tr("The unattended run ends on this error.");
        emit log(line, Severity::Error);
        emit stalled(line);
        if (endRunOnPassedLimit) {
            failEntry(tr("still waiting for %1").arg(waitText(w)));
            return;
        }
    }
}

void Exec::setup(QString targetCh)
{
    this->targetCh = targetCh;
    connect(this, &Exec::execNext, this, &Exec::startOneSchedule, Qt::UniqueConnection);

    running = false;
    lost = false;
    entryOpen = false;
    awaitingReady = false;
    current = 0;
    stageNo = Stage::Initialize;
    for (int f = 0; f < ExecFlags::FlagCount; ++f)
        setFlag(ExecFlags::Flag(f), false);
    clearErrStarting();
    emit errRemoteMsgChanged(QString());
    blockNum = 1;

    if (!timer) {
        // Created here, in the worker thread, so that it ticks there.
        timer = new QTimer(this);
        timer->setInterval(kTickMs);
        // The tick is the floor of the dead time between two measurements:
        // keep it at 10 ms instead of letting it drift by the coarse 5 %.
        timer->setTimerType(Qt::PreciseTimer);
        connect(timer, &QTimer::timeout, this, &Exec::ticExec);
        // A timer must be stopped in its own thread: do it as the worker ends.
        if (QThread *t = QThread::currentThread())
            connect(t, &QThread::finished, timer, &QTimer::stop, Qt::DirectConnection);
    }
    timer->stop();
    prompterCount = 0;
}

void Exec::start(QList<Entry> list)
{
    if (running && !lost)
        return;
    lost = false;
    watchdog.reset();
    setRunning(true);
    entries = std::move(list);
    current = 0;
    attemptIndex = -1;
    currentBegun = false;
    lastMeasured.reset();
    clearErrStarting();
    emit execNext();
}

void Exec::updateEntry(int index, Entry entry)
{
    if (index >= 0 && index < entries.size())
        entries[index] = std::move(entry);
}

void Exec::startOneSchedule()
{
    if (!running)
        return;
    // After a failed entry the next one begins once the target is ready;
    // the timer keeps ticking so that the wait has its limit too.
    if (awaitingReady && !flag(ExecFlags::TargetReady)) {
        timer->start();
        return;
    }
    awaitingReady = false;
    while (current >= 0 && current < entries.size() && !entries.at(current).exec) {
        emit entryEnded(current, EntryState::Skipped, QString());
        ++current;
    }
    if (current < 0 || current >= entries.size()) {
        stop(true);
        return;
    }
    if (!RunEstimate::fits(QDateTime::currentDateTime(), estimates.value(current), deadline)) {
        endByDeadline();
        return;
    }
    emit executing(current);
    entryOpen = true;
    currentBegun = true;
    // Taken up again (Resume, the target back) it counts on.
    if (attemptIndex != current) {
        attemptIndex = current;
        attempt = 1;
    }
    entrySent = false;
    clearErrStarting();
    setFlag(ExecFlags::ErrSHolderMove, false);
    stageNo = Stage::Initialize;
    timer->start();
}

void Exec::stop(bool ok)
{
    if (!running)
        return;
    setRunning(false);
    lost = false;
    if (timer)
        timer->stop();
    endEntry(EntryState::Stopped);
    if (flag(ExecFlags::InXAFSMeas) && flag(ExecFlags::TargetReady)) {
        emit log(tr("Entry %1: the target's measurement goes on until it ends.").arg(current + 1),
                 Severity::Info);
        showStage(Stage::TargetMeasuring);
        // A target that never reports the end is not waited for without
        // limit either: past it, Skedra says so and stops showing it.
        const int entry = current + 1;
        QTimer::singleShot(
            std::chrono::milliseconds(waitLimitMs + qint64(expectedMeasSeconds(cur) * 1000)), this,
            [this, entry] {
                if (running || shownStage != Stage::TargetMeasuring)
                    return;
                emit log(tr("Entry %1: the target has not reported the end of "
                            "its measurement within its limit; Skedra no longer "
                            "waits for it.")
                             .arg(entry),
                         Severity::Error);
                showStage(Stage::NotInExec);
            });
    } else {
        showStage(Stage::NotInExec);
    }
    emit finished(ok);
}

void Exec::resume(Exec::ResumeMode mode)
{
    if (running && !lost)
        return;
    switch (mode) {
    case FromNext:
        stageNo = Stage::Initialize;
        setFlag(ExecFlags::InXAFSMeas, false);
        // After "stop after this entry" the entry that ended is behind
        // current already: the next one is the entry current names.
        if (currentBegun)
            ++current;
        currentBegun = false;
        break;
    case FromInit:
        stageNo = Stage::Initialize;
        setFlag(ExecFlags::InXAFSMeas, false);
        break;
    case FromHere:
        break;
    }
    // Every mode takes the entry up again from stage 0, which sends the moves
    // and the block-count question anew. Waits left from the stage the stop
    // abandoned would otherwise hold the resumed run for good when their event
    // can never come (a target that hung or logged in afresh). A running
    // measurement is different: FromHere waits for its end on purpose.
    setFlag(ExecFlags::MainThMoving, false);
    setFlag(ExecFlags::SHolderMoving, false);
    setFlag(ExecFlags::BusyAskingBlockNum, false);
    // The operator may have changed anything at the beamline meanwhile.
    lastMeasured.reset();
    int at = current;
    while (at >= 0 && at < entries.size() && !entries.at(at).exec)
        ++at;
    emit goesOnAt(at >= 0 && at < entries.size() ? at : -1);
    lost = false;
    watchdog.reset();
    setRunning(true);
    emit execNext();
}

void Exec::takeUpAgain()
{
    if (attempt >= maxAttempts) {
        failEntry(tr("begun %1 times, the target went away each time").arg(attempt));
        return;
    }
    ++attempt;
    emit log(tr("Entry %1: the target is back; the entry begins again from its start "
                "(attempt %2 of %3).")
                 .arg(current + 1)
                 .arg(attempt)
                 .arg(maxAttempts),
             Severity::Info);
    emit repeated(current, attempt);
    resume(FromInit);
}

bool Exec::isHeld() const
{
    using F = ExecFlags;
    return flag(F::ICGasesChanging) || flag(F::HOCMChanging) || flag(F::MonoChanging) ||
           flag(F::DarkMeasuring) || flag(F::InXAFSMeas) || flag(F::MainThMoving) ||
           flag(F::SHolderMoving) || flag(F::BusyAskingBlockNum);
}

void Exec::ticExec()
{
    if (!running || current < 0 || current >= entries.size())
        return;
    watch();
    if (!running)
        return;
    // The entry whose measurement ended is done, the target there or not.
    if (stageNo == Stage::End && entryOpen && !lost && !isHeld()) {
        finishEntry();
        return;
    }
    // Nothing is sent to a target that is not there.
    if (awaitingReady) {
        showStage(Stage::WaitingForTarget);
        return;
    }
    if (lost) {
        showStage(Stage::TargetLost);
        return;
    }
    if (!flag(ExecFlags::TargetReady)) {
        showStage(Stage::WaitingForTarget);
        return;
    }
    if (isHeld())
        return;
    showStage(stageNo);
    if (stageNo > Stage::End)
        return;
    // Stages fall through into the next one within the same tick until one
    // of them has set the stage the next tick takes up.
    for (;;) {
        if (stageNo == Stage::End) {
            finishEntry();
            return;
        }
        if (stageNo == Stage::Initialize || stageNo == Stage::SelectEdge) {
            // The entry is taken as it is when its first command goes out,
            // after its prompts: edits made while they were open count; edits
            // made later count the next time it begins.
            cur = entries.at(current);
        }
        const StageResult r =
            runStage(stageNo, {cur, lastMeasured ? &*lastMeasured : nullptr, current, blockNum});
        if (r.measured) {
            // The block file's blocks are what the target measures.
            cur = *r.measured;
            emit measuredAs(current, cur);
        }
        for (const QString &line : r.logs)
            emit log(line, Severity::Error);
        for (ExecFlags::Flag f : r.hold)
            setFlag(f, true);
        for (const PlanPrompt &p : r.prompts)
            emit newPrompt(p.text, p.type);
        for (const QString &line : r.lines)
            send(line);
        if (!r.error.isEmpty()) {
            emit log(r.error, Severity::Error);
            failEntry(r.error);
            return;
        }
        stageNo = r.next;
        if (!r.fallThrough)
            return;
    }
}
