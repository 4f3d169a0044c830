#include "Exec.h"

#include "AMsg.h"
#include "ExecCtrl.h"
#include "GuiCall.h"
#include "NumberFormat.h"
#include "OptionTables.h"
#include "Tolva.h"

#include <QCoreApplication>
#include <QMetaMethod>
#include <QThread>
#include <QTimer>
#include <QtDebug>

namespace {
constexpr int kTickMs = 10;
constexpr int kNotInExec = 10;
} // namespace

Exec::Exec(QObject *parent) : QObject(parent)
{
    registerMetaTypes();
    stat = new ExecCtrl;
    statGuard = stat;
    // When the program quits, the GUI thread is about to join the worker: no
    // read of an entry may keep the worker waiting for it from then on. The
    // panel is the context because it stays in the GUI thread.
    if (QCoreApplication *app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, stat, [this] { abandonGuiWaits(); });
}

Exec::~Exec()
{
    // The worker has been joined by now (the main window stops it first);
    // the panel is a GUI widget and goes with the engine.
    delete statGuard.data();
}

void Exec::registerMetaTypes()
{
    qRegisterMetaType<Exec::ResumeMode>("Exec::ResumeMode");
    qRegisterMetaType<Exec::ResumeMode>("ResumeMode");
    qRegisterMetaType<PromptType>("PromptType");
    registerAMsgMetaType();
    registerEntryListMetaType();
}

void Exec::abandonGuiWaits()
{
    m_abandon.store(true);
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

bool Exec::giveUpWaiting() const
{
    return m_abandon.load() || QThread::currentThread()->isInterruptionRequested();
}

template <typename R> bool Exec::inGuiThread(std::function<R()> work, R *out)
{
    if (giveUpWaiting())
        return false;
    return callInThreadOf<R>(
        stat, std::move(work), out, [this] { return giveUpWaiting(); }, &m_waitingOnGui);
}

bool Exec::readEntries(EntryValues *cur, EntryValues *prev)
{
    if (current < 0 || current >= ss.size())
        return false;
    ScheduleEdit *c = ss.at(current);
    ScheduleEdit *p = ss.at(current > 0 ? current - 1 : 0);
    using Pair = std::pair<EntryValues, EntryValues>;
    Pair both;
    const bool ok = inGuiThread<Pair>(
        [c, p] {
            Pair r;
            r.first = readEntryValues(c);
            r.second = p == c ? r.first : readEntryValues(p);
            return r;
        },
        &both);
    if (ok) {
        *cur = std::move(both.first);
        *prev = std::move(both.second);
    }
    return ok;
}

bool Exec::readLoadedEntry(EntryValues *cur)
{
    if (current < 0 || current >= ss.size())
        return false;
    ScheduleEdit *c = ss.at(current);
    return inGuiThread<EntryValues>([c] { return readEntryValues(c, true); }, cur);
}

bool Exec::flag(int f) const
{
    return stat->flag(ExecCtrl::Flag(f));
}

void Exec::setFlag(int f, bool on)
{
    stat->setFlag(ExecCtrl::Flag(f), on);
}

void Exec::clearErrStarting()
{
    setFlag(ExecCtrl::ErrStartingXafsMeas, false);
    stat->setErrMsg(QString());
}

void Exec::send(const QString &cmd)
{
    emit sendCmd(QString(), targetCh, cmd);
}

QString Exec::stageName(int key) const
{
    return stageNames.value(key, stageNames.value(kNotInExec));
}

void Exec::setup(Tolva *s, QString targetCh)
{
    setup(static_cast<QObject *>(s), targetCh);
}

void Exec::setup(QObject *s, QString targetCh)
{
    tolva = s;
    this->targetCh = targetCh;

    stageNames.clear();
    stageNames.insert(0, tr("Initialize"));
    stageNames.insert(1, tr("Selecting Edge"));
    stageNames.insert(2, tr("Move Mono. and S. Holder"));
    stageNames.insert(3, tr("Selecting Quick/Step Mode"));
    stageNames.insert(4, tr("Setting File-Name / Comments"));
    stageNames.insert(5, tr("Setting Block Params"));
    stageNames.insert(6, tr("Setting Meas. Time"));
    stageNames.insert(7, tr("Measuring Dark"));
    stageNames.insert(8, tr("In Meas."));
    stageNames.insert(9, tr("One Meas. End"));
    stageNames.insert(kNotInExec, tr("Not In Exec"));

    connectBus(s);
    connect(this, &Exec::execNext, this, &Exec::startOneSchedule, Qt::UniqueConnection);

    running = false;
    current = 0;
    stageNo = 0;
    setFlag(ExecCtrl::TargetReady, false);
    setFlag(ExecCtrl::SHolderMoving, false);
    setFlag(ExecCtrl::MainThMoving, false);
    setFlag(ExecCtrl::InXAFSMeas, false);
    clearErrStarting();
    setFlag(ExecCtrl::BusyAskingBlockNum, false);
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
        if (QThread *t = QThread::currentThread(); t != stat->thread())
            connect(t, &QThread::finished, timer, &QTimer::stop, Qt::DirectConnection);
    }
    timer->stop();
    prompterCount = 0;
}

void Exec::connectBus(QObject *s)
{
    for (const QMetaObject::Connection &c : std::as_const(busConnections))
        disconnect(c);
    busConnections.clear();
    if (!s)
        return;
    const QMetaObject *mo = s->metaObject();
    auto link = [&](const QMetaMethod &signal, const char *slot, bool required) {
        const int i = mo->indexOfMethod(QMetaObject::normalizedSignature(slot).constData());
        if (i < 0) {
            if (required)
                qDebug() << "Exec: the bus client" << mo->className() << "has no method" << slot;
            return;
        }
        busConnections.append(connect(this, signal, s, mo->method(i)));
    };
    link(QMetaMethod::fromSignal(&Exec::sendOk), "sendOk(AMsg)", false);
    link(QMetaMethod::fromSignal(&Exec::sendAns), "sendAns(AMsg,QString)", false);
    link(QMetaMethod::fromSignal(&Exec::sendEvent), "sendEvent(QString,QString)", false);
    link(QMetaMethod::fromSignal(&Exec::sendCmdV), "sendCmdV(QString,QString,QString,QString)",
         false);
    link(QMetaMethod::fromSignal(&Exec::sendCmd), "sendCmd(QString,QString,QString)", true);
}

void Exec::start(QList<ScheduleEdit *> ss)
{
    if (running)
        return;
    running = true;
    this->ss = ss;
    current = 0;
    clearErrStarting();
    emit execNext();
}

void Exec::startOneSchedule()
{
    if (!running)
        return;
    // Unticked entries are passed over in one read instead of one read and
    // one re-entry per entry.
    int next = current;
    if (current >= 0 && current < ss.size()) {
        const QList<ScheduleEdit *> list = ss;
        const int from = current;
        if (!inGuiThread<int>([list, from] { return firstTickedEntry(list, from); }, &next))
            return; // the worker is being stopped
    }
    current = next;
    if (current < 0 || current >= ss.size()) {
        stop(true);
        return;
    }
    emit executing(current);
    clearErrStarting();
    setFlag(ExecCtrl::ErrSHolderMove, false);
    stageNo = 0;
    timer->start();
}

void Exec::oneScheduleFinished()
{
    ++current;
    emit execNext();
}

void Exec::stop(bool ok)
{
    if (!running)
        return;
    running = false;
    if (timer)
        timer->stop();
    emit currentStage(stageName(kNotInExec));
    emit finished(ok);
}

void Exec::resume(Exec::ResumeMode mode)
{
    if (running)
        return;
    switch (mode) {
    case FromNext:
        stageNo = 0;
        setFlag(ExecCtrl::InXAFSMeas, false);
        ++current;
        break;
    case FromInit:
        stageNo = 0;
        setFlag(ExecCtrl::InXAFSMeas, false);
        break;
    case FromHere:
        break;
    }
    // Every mode takes the entry up again from stage 0, which sends the moves
    // and the block-count question anew. Waits left from the stage the stop
    // abandoned would otherwise hold the resumed run for good when their event
    // can never come (a target that hung or logged in afresh). A running
    // measurement is different: FromHere waits for its end on purpose.
    setFlag(ExecCtrl::MainThMoving, false);
    setFlag(ExecCtrl::SHolderMoving, false);
    setFlag(ExecCtrl::BusyAskingBlockNum, false);
    running = true;
    emit execNext();
}

bool Exec::isHeld() const
{
    return flag(ExecCtrl::ICGasesChanging) || flag(ExecCtrl::HOCMChanging) ||
           flag(ExecCtrl::MonoChanging) || flag(ExecCtrl::DarkMeasuring) ||
           flag(ExecCtrl::InXAFSMeas) || flag(ExecCtrl::MainThMoving) ||
           flag(ExecCtrl::SHolderMoving) || flag(ExecCtrl::BusyAskingBlockNum);
}

void Exec::showExecStat(bool f)
{
    ExecCtrl *p = stat;
    QMetaObject::invokeMethod(
        p, [p, f] { p->setVisible(f); }, Qt::AutoConnection);
}

void Exec::setTargetIsReady(bool f)
{
    setFlag(ExecCtrl::TargetReady, f);
}

void Exec::setMainThIsMoving(bool f)
{
    setFlag(ExecCtrl::MainThMoving, f);
}

void Exec::setSHolderIsMoving(bool f)
{
    setFlag(ExecCtrl::SHolderMoving, f);
}

void Exec::setICGasesChanging(bool f)
{
    setFlag(ExecCtrl::ICGasesChanging, f);
}

void Exec::setHOCMModeChanging(bool f)
{
    setFlag(ExecCtrl::HOCMChanging, f);
}

void Exec::setMonoModeChanging(bool f)
{
    setFlag(ExecCtrl::MonoChanging, f);
}

void Exec::setInXafsMeas(bool f)
{
    setFlag(ExecCtrl::InXAFSMeas, f);
}

void Exec::setErrStartingXAFSMeas(bool f, QString msg)
{
    setFlag(ExecCtrl::ErrStartingXafsMeas, f);
    stat->setErrMsg(msg);
    if (f) {
        setFlag(ExecCtrl::InXAFSMeas, false);
        stop(false);
    }
}

void Exec::setErrRemote(bool f, QString msg)
{
    setFlag(ExecCtrl::ErrRemote, f);
    stat->setErrRemoteMsg(msg);
}

void Exec::setErrSHolderMove(bool f, QString msg)
{
    Q_UNUSED(msg)
    setFlag(ExecCtrl::ErrSHolderMove, f);
    if (f) {
        setFlag(ExecCtrl::SHolderMoving, false);
        stop(false);
    }
}

void Exec::setBusyAskingBlockNum(bool f)
{
    setFlag(ExecCtrl::BusyAskingBlockNum, f);
}

void Exec::setReceivedBlockNum(int blockNum)
{
    this->blockNum = blockNum;
    setFlag(ExecCtrl::BusyAskingBlockNum, false);
}

void Exec::noticedPrompterStat(int count)
{
    prompterCount = count;
}

void Exec::noticedPromptOk(PromptType pType)
{
    switch (pType) {
    case PromptICGases:
        ICGasesChanged();
        break;
    case PromptHOCM:
        HOCMModeChanged();
        break;
    case PromptMono:
        MonoModeChanged();
        break;
    case PromptNone:
        break;
    }
}

void Exec::ICGasesChanged()
{
    setFlag(ExecCtrl::ICGasesChanging, false);
}

void Exec::HOCMModeChanged()
{
    setFlag(ExecCtrl::HOCMChanging, false);
}

void Exec::MonoModeChanged()
{
    setFlag(ExecCtrl::MonoChanging, false);
}

void Exec::ticExec()
{
    if (isHeld())
        return;
    if (!running || current < 0 || current >= ss.size())
        return;
    EntryValues cur, prev;
    if (!readEntries(&cur, &prev))
        return; // the worker is being stopped; nothing half done
    emit currentStage(stageName(stageNo));
    if (stageNo > 9)
        return;
    // Stages fall through into the next one within the same tick until one
    // of them returns false (it has set the stage the next tick takes up).
    for (;;) {
        bool fallThrough = false;
        switch (stageNo) {
        case 0:
            fallThrough = stageInitialize(cur, prev);
            break;
        case 1:
            fallThrough = stageSelectEdge(cur);
            break;
        case 2:
            fallThrough = stageMove(cur, prev);
            break;
        case 3:
            fallThrough = stageScanMode(cur);
            break;
        case 4:
            fallThrough = stageFileName(cur);
            break;
        case 5:
            fallThrough = stageBlocks(cur);
            break;
        case 6:
            fallThrough = stageMeasTime(cur);
            break;
        case 7:
            fallThrough = stageDark(cur);
            break;
        case 8:
            fallThrough = stageStart();
            break;
        case 9:
            stageEnd();
            break;
        default:
            break;
        }
        if (!fallThrough)
            return;
    }
}
