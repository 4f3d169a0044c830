// SPDX-License-Identifier: GPL-3.0-or-later
#include "RunController.h"

#include "ConfigStore.h"
#include "EntryCheck.h"
#include "Estimate.h"
#include "ExecPlan.h"
#include "Notifier.h"
#include "RunEstimate.h"
#include "TargetWords.h"
#include "Watchdog.h"

#include <QThread>
#include <QTimer>

#include <climits>

namespace {

// A prompt that has waited this long tells someone away from the screen
// (PROMPT_NOTIFY_AFTER, seconds).
constexpr int kPromptNotifySeconds = 5 * 60;

// NOTIFY_CMD's program and arguments, quotes removed.
QStringList commandFrom(const QString &rest)
{
    QStringList out;
    QString text = rest.trimmed();
    while (!text.isEmpty()) {
        QString remainder;
        const QString item = takeItem(text, &remainder);
        if (!item.isEmpty())
            out << item;
        if (remainder.trimmed() == text)
            break;
        text = remainder.trimmed();
    }
    return out;
}

} // namespace

RunController::RunController(ScheduleModel *list, ScheduleModel *cutBuffer, QObject *parent)
    : QObject(parent), m_list(list), m_cutBuffer(cutBuffer)
{
    Exec::registerMetaTypes();
    m_exec = new Exec;
    m_thread = new QThread(this);
    m_exec->moveToThread(m_thread);
    m_thread->start();
    m_notifier = new Notifier(this);
    connect(m_notifier, &Notifier::failed, this,
            [this](const QString &msg) { log(msg, Severity::Error); });

    Exec *e = m_exec;
    connect(e, &Exec::sendCmd, this, &RunController::sendCmd);
    connect(e, &Exec::log, this, &RunController::logged);
    connect(e, &Exec::flagChanged, this, &RunController::flagChanged);
    connect(e, &Exec::errMsgChanged, this, &RunController::errMsgChanged);
    connect(e, &Exec::errRemoteMsgChanged, this, &RunController::errRemoteMsgChanged);
    connect(e, &Exec::runningChanged, this, &RunController::busyChanged);
    connect(e, &Exec::finished, this, &RunController::engineFinished);
    connect(e, &Exec::executing, this, &RunController::engineExecuting);
    connect(e, &Exec::stageShown, this, &RunController::engineStage);
    connect(e, &Exec::entryEnded, this, &RunController::engineEntryEnded);
    connect(e, &Exec::measuredAs, this, &RunController::engineMeasuredAs);
    connect(e, &Exec::goesOnAt, this, &RunController::engineGoesOnAt);
    connect(e, &Exec::stalled, this, &RunController::engineStalled);
    connect(e, &Exec::targetLost, this, &RunController::engineTargetLost);
    connect(e, &Exec::newPrompt, this, &RunController::enginePrompt);
    connect(e, &Exec::repeated, this, &RunController::engineRepeated);
    connect(this, &RunController::startExec, e, &Exec::start);
    connect(this, &RunController::updateExec, e, &Exec::updateEntry);
    connect(this, &RunController::stopExec, e, &Exec::stop);
    connect(this, &RunController::resumeExec, e, &Exec::resume);
    connect(this, &RunController::setTargetIsReady, e, &Exec::setTargetIsReady);
    connect(this, &RunController::setSHolderIsMoving, e, &Exec::setSHolderIsMoving);
    connect(this, &RunController::setMainThIsMoving, e, &Exec::setMainThIsMoving);
    connect(this, &RunController::setInXafsMeas, e, &Exec::setInXafsMeas);
    connect(this, &RunController::setErrStartingXAFSMeas, e, &Exec::setErrStartingXAFSMeas);
    connect(this, &RunController::setErrRemote, e, &Exec::setErrRemote);
    connect(this, &RunController::setErrSHolderMove, e, &Exec::setErrSHolderMove);
    connect(this, &RunController::setReceivedBlockNum, e, &Exec::setReceivedBlockNum);
    connect(this, &RunController::refusedByTarget, e, &Exec::noticedRefusal);
    connect(m_list, &ScheduleModel::entryChanged, this, &RunController::entryEdited);
    // The engine counts the prompts open: none so far.
    QMetaObject::invokeMethod(
        e, [e] { e->noticedPrompterStat(0); }, Qt::QueuedConnection);

    m_statusClock = new QTimer(this);
    m_statusClock->setInterval(1000);
    connect(m_statusClock, &QTimer::timeout, this, &RunController::updateRunStatus);
    m_promptClock = new QTimer(this);
    m_promptClock->setSingleShot(true);
    m_promptClock->setInterval(kPromptNotifySeconds * 1000);
    connect(m_promptClock, &QTimer::timeout, this, &RunController::promptWaited);
    m_startClock = new QTimer(this);
    m_startClock->setSingleShot(true);
    connect(m_startClock, &QTimer::timeout, this, [this] {
        // A timer's interval is bounded: a start far ahead is reached in steps.
        if (m_startsAt.isValid() && QDateTime::currentDateTime() < m_startsAt) {
            startAt(m_startsAt);
            return;
        }
        startNow();
    });
    connect(e, &Exec::deadlineReached, this, &RunController::engineDeadline);

    m_list->setEstimator(
        [this](const Entry &cur, const Entry *prev) { return estimateOf(cur, prev); });
}

RunController::~RunController()
{
    shutdown();
    // The night's last notification is on its way: it must not die with us.
    m_notifier->waitForRunning();
    delete m_exec; // its thread has finished: nothing runs in it any more
}

// The engine's timer has to be stopped in its own thread, so the stop is
// queued to the worker ahead of the request to end it. The engine never waits
// for the GUI thread, so joining cannot deadlock. Nothing the engine says from
// now on reaches anyone, who may be half destroyed.
void RunController::shutdown()
{
    if (!m_thread->isRunning())
        return;
    disconnect(m_exec, nullptr, nullptr, nullptr);
    Exec *e = m_exec;
    QMetaObject::invokeMethod(
        e,
        [e] {
            e->stop(true);
            QThread::currentThread()->quit();
        },
        Qt::QueuedConnection);
    Exec::stopThread(m_thread);
}

void RunController::configure(const ConfigStore &cfg)
{
    m_targetName =
        cfg.valueNoCase(QStringLiteral("TARGET_NAME_ON_TOLVA"), QStringLiteral("Dorvan"));
    m_remoteAddr = QStringLiteral("%1.remote").arg(m_targetName);
    m_initCmdsOnTolva = cfg.allRests(QStringLiteral("INIT_CMDS_ON_CONNECTED_TO_TOLVA"));
    m_initCmdsOnTarget = cfg.allRests(QStringLiteral("INIT_CMDS_ON_CONNECTED_TO_TARGET"));
    const QString remote = m_remoteAddr;
    Exec *e = m_exec;
    QMetaObject::invokeMethod(
        e, [e, remote] { e->setup(remote); }, Qt::QueuedConnection);

    double seconds = Watchdog::defaultLimitSeconds;
    const QString text = cfg.valueNoCase(QStringLiteral("WAIT_LIMIT"));
    if (!text.isEmpty()) {
        bool ok = false;
        const double v = text.trimmed().toDouble(&ok);
        if (ok && v > 0)
            seconds = v;
        else
            log(tr("WAIT_LIMIT %1 is not a number of seconds above 0; %2 s is used.")
                    .arg(text)
                    .arg(seconds),
                Severity::Error);
    }
    m_waitLimit = seconds;
    QMetaObject::invokeMethod(
        e, [e, seconds] { e->setWaitLimit(seconds); }, Qt::QueuedConnection);

    const QString onError =
        cfg.valueNoCase(QStringLiteral("ON_ENTRY_ERROR"), QStringLiteral("stop")).toLower();
    if (onError != QLatin1String("skip") && onError != QLatin1String("stop"))
        log(tr("ON_ENTRY_ERROR %1 is neither stop nor skip; stop is used.").arg(onError),
            Severity::Error);
    setSkipFailed(onError == QLatin1String("skip"));

    // A target that logs in again takes the run up by itself unless told to
    // hold; each entry is begun at most MAX_ENTRY_ATTEMPTS times.
    const QString onReturn =
        cfg.valueNoCase(QStringLiteral("ON_TARGET_RETURN"), QStringLiteral("resume")).toLower();
    if (onReturn != QLatin1String("resume") && onReturn != QLatin1String("hold"))
        log(tr("ON_TARGET_RETURN %1 is neither resume nor hold; resume is used.").arg(onReturn),
            Severity::Error);
    const bool resumeOnReturn = onReturn != QLatin1String("hold");
    bool ok = false;
    const QString attemptsText = cfg.valueNoCase(QStringLiteral("MAX_ENTRY_ATTEMPTS"),
                                                 QString::number(Exec::defaultMaxAttempts));
    int attempts = attemptsText.trimmed().toInt(&ok);
    if (!ok || attempts < 1) {
        attempts = Exec::defaultMaxAttempts;
        log(tr("MAX_ENTRY_ATTEMPTS %1 is not a whole number above 0; %2 is used.")
                .arg(attemptsText)
                .arg(attempts),
            Severity::Error);
    }
    QMetaObject::invokeMethod(
        e, [e, resumeOnReturn, attempts] { e->setResumeOnReturn(resumeOnReturn, attempts); },
        Qt::QueuedConnection);

    const QString notifyAfter = cfg.valueNoCase(QStringLiteral("PROMPT_NOTIFY_AFTER"),
                                                QString::number(kPromptNotifySeconds));
    const double notifySeconds = notifyAfter.trimmed().toDouble(&ok);
    if (ok && notifySeconds > 0 && notifySeconds < INT_MAX / 1000) {
        m_promptClock->setInterval(int(notifySeconds * 1000));
    } else {
        log(tr("PROMPT_NOTIFY_AFTER %1 is not a number of seconds above 0; %2 s is used.")
                .arg(notifyAfter)
                .arg(kPromptNotifySeconds),
            Severity::Error);
        m_promptClock->setInterval(kPromptNotifySeconds * 1000);
    }

    m_journal = cfg.valueNoCase(QStringLiteral("JOURNAL"), RunJournal::defaultPath());
    // A row torn by an earlier crash is named, once per start, and skipped.
    QStringList torn;
    m_estParams = Estimate::Params::fromConfig(cfg);
    m_calibration = RunEstimate::Calibration::fromJournal(RunJournal::read(m_journal, &torn));
    for (const QString &w : std::as_const(torn))
        log(w, Severity::Error);
    m_list->setEstimator(
        [this](const Entry &cur, const Entry *prev) { return estimateOf(cur, prev); });

    // The command line's time goes before the configuration's.
    const auto clockKey = [this, &cfg](const QString &option, const QString &key) {
        const bool given = cfg.contains(option);
        const QString text = given ? cfg.value(option) : cfg.valueNoCase(key);
        if (text.trimmed().isEmpty())
            return QTime();
        const QTime t = RunEstimate::clockTime(text);
        if (!t.isValid())
            log(tr("%1 %2 is not a time of day (hh:mm); it is not used.")
                    .arg(given ? option : key, text),
                Severity::Error);
        return t;
    };
    setEndBy(clockKey(QStringLiteral("-end-by"), QStringLiteral("END_BY")));
    // A start time that cannot be read must not start the run at once: the
    // sample may still be cooling down.
    m_startAtBad = false;
    if (cfg.contains(QStringLiteral("-start-at"))) {
        setStartTime(clockKey(QStringLiteral("-start-at"), QString()));
        m_startAtBad = !m_startTime.isValid();
        m_startAtText = cfg.value(QStringLiteral("-start-at"));
    }

    const QStringList notifyCmds = cfg.allRests(QStringLiteral("NOTIFY_CMD"));
    if (!notifyCmds.isEmpty())
        m_notifier->setCommand(commandFrom(notifyCmds.last()));
    updateRunStatus();
}

Estimate::Figure RunController::estimateOf(const Entry &cur, const Entry *prev) const
{
    return RunEstimate::estimate(cur, prev, m_estParams, m_calibration);
}

void RunController::setEndBy(const QTime &time)
{
    m_endBy = time;
    // A run going keeps the deadline it began with.
    if (!m_runGoing)
        m_deadline = {};
}

void RunController::setStartTime(const QTime &time)
{
    m_startTime = time;
    m_startAtBad = false;
}

void RunController::log(const QString &line, Severity severity)
{
    emit logged(line, severity);
}

int RunController::runningRow() const
{
    return m_list->rowOf(m_runIds.value(m_runningIndex));
}

QString RunController::questionBeforeRemoving(const QList<int> &rows, bool all) const
{
    const int running = runningRow();
    if (m_runGoing && all)
        return tr("A run is going. Move every entry, the running one included, to the cut "
                  "buffer?");
    if (m_runGoing && rows.contains(running))
        return tr("Entry %1 is being run. Move it to the cut buffer?").arg(running + 1);
    if (all) // Clear: every entry waits in the cut buffer, and Clear can be undone
        return QString();
    QStringList done;
    for (int r : rows)
        if (r >= 0 && r < m_list->count() && m_list->outcome(r).state == EntryState::Done)
            done << QString::number(r + 1);
    if (done.isEmpty())
        return QString();
    return tr("Entries %1 were measured in this run. Move them to the cut buffer?")
        .arg(done.join(QStringLiteral(", ")));
}

// ---- Operator's controls -------------------------------------------------------

bool RunController::start()
{
    if (m_startAtBad && !m_startTime.isValid()) {
        log(tr("The run is not started: -start-at %1 is not a time of day (hh:mm).")
                .arg(m_startAtText),
            Severity::Error);
        emit runFinished(false);
        return false;
    }
    if (m_startsAt.isValid()) {
        log(tr("The run is held until %1; Stop cancels the start.")
                .arg(m_startsAt.toString(QStringLiteral("HH:mm"))));
        return true;
    }
    if (m_startTime.isValid() && !m_runGoing)
        return startAt(RunEstimate::nextAt(QDateTime::currentDateTime(), m_startTime));
    return startNow();
}

bool RunController::startAt(const QDateTime &at)
{
    if (m_runGoing)
        return startNow(); // refuses, or begins anew after a lost target
    // Errors are said now, while someone is there to mend them, not at the
    // start time.
    const QList<Entry> entries = m_list->entries();
    for (int i = 0; i < entries.size(); ++i) {
        if (entries.at(i).exec && !EntryCheck::errorsAtStart(entries.at(i)).isEmpty())
            return startNow(); // refuses, and says why
    }
    const QDateTime now = QDateTime::currentDateTime();
    if (at <= now)
        return startNow();
    const bool wasHeld = m_startsAt.isValid();
    m_startsAt = at;
    // QTimer takes an int of milliseconds: a day at most per step.
    m_startClock->start(int(qMin<qint64>(now.msecsTo(at), 24LL * 3600 * 1000)));
    if (!wasHeld) {
        log(tr("The run starts at %1 (in %2); Stop cancels the start.")
                .arg(at.toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                     Estimate::format(double(now.secsTo(at)))));
        updateRunStatus();
        emit startHeld(true);
    }
    return true;
}

bool RunController::startNow()
{
    if (m_startsAt.isValid()) {
        m_startsAt = {};
        m_startClock->stop();
        emit startHeld(false);
    }
    // The run goes on unchanged: a second list handed over now would name
    // other entries than the ones the engine runs. Only a run held by a lost
    // target may begin anew.
    if (m_runGoing && m_stage != Stage::TargetLost) {
        log(tr("A run is going: Start does nothing. Stop it first, or use Resume."),
            Severity::Error);
        return false;
    }
    const QList<Entry> entries = m_list->entries();
    // An entry with errors would send garbage to the target (an empty
    // energy, a holder it cannot take): the run does not begin at all.
    int firstBad = -1;
    for (int i = 0; i < entries.size(); ++i) {
        if (!entries.at(i).exec)
            continue;
        const QStringList errors = EntryCheck::errorsAtStart(entries.at(i));
        if (errors.isEmpty())
            continue;
        if (firstBad < 0)
            firstBad = i;
        log(tr("Entry %1: %2").arg(i + 1).arg(errors.first()), Severity::Error);
    }
    if (firstBad >= 0) {
        log(tr("The run is not started: correct the entries above first."), Severity::Error);
        emit startRefused(firstBad);
        emit runFinished(false);
        return false;
    }

    m_runIds = m_list->ids();
    m_runTicked.clear();
    m_runNumbers.clear();
    m_unmeasured.clear();
    const bool resumedCopy = m_runIds == m_copyIds;
    for (int i = 0; i < entries.size(); ++i) {
        m_runTicked.append(entries.at(i).exec);
        m_runNumbers.append(resumedCopy ? m_copyNumbers.at(i) : i + 1);
    }
    int first = 0;
    while (first < entries.size() && !entries.at(first).exec)
        ++first;
    if (first < entries.size())
        log(tr("The run begins with entry %1.").arg(runNumber(first)));
    // The run this list was resumed from ends here; the new run carries on.
    if (m_resumedRun.isValid()) {
        appendJournal(RunRecovery::endedRow(m_resumedRun, QStringLiteral("resumed"),
                                            QDateTime::currentDateTime()));
        m_resumedRun = {};
    }
    beginRunRecord(entries);
    emit runStarted();
    emit startExec(entries);
    return true;
}

void RunController::stop()
{
    if (m_startsAt.isValid()) {
        log(tr("The start at %1 is cancelled.").arg(m_startsAt.toString(QStringLiteral("HH:mm"))));
        m_startsAt = {};
        m_startClock->stop();
        updateRunStatus();
        emit startHeld(false);
        if (!m_runGoing)
            return;
    }
    // Told apart from a run that finished by itself when the engine reports
    // the end.
    if (m_runGoing)
        m_stoppedByOperator = true;
    emit stopExec(true);
}

void RunController::resume(Exec::ResumeMode mode)
{
    // A run that had ended goes on: its journal says so, so that a crash
    // from here on is seen as one at the next start.
    if (!m_runGoing && m_runStart.isValid() && !m_runCopy.isEmpty())
        appendJournal(RunRecovery::startedRow(m_runStart, m_runCopy));
    if (!m_runGoing && m_runStart.isValid())
        m_statusClock->start();
    const bool wasGoing = m_runGoing;
    m_runGoing = true;
    m_stoppedByOperator = false;
    m_endedByDeadline = false;
    m_unmeasured.clear();
    updateRunStatus();
    sendDeadline();
    emit resumeExec(mode);
    if (!wasGoing && m_runStart.isValid())
        emit runStarted();
}

void RunController::setStopAfterEntry(bool on)
{
    m_stopAfterEntry = on;
    Exec *e = m_exec;
    QMetaObject::invokeMethod(
        e, [e, on] { e->setStopAfterEntry(on); }, Qt::QueuedConnection);
}

void RunController::setSkipFailed(bool skip)
{
    m_skipFailed = skip;
    Exec *e = m_exec;
    QMetaObject::invokeMethod(
        e, [e, skip] { e->setSkipFailedEntries(skip); }, Qt::QueuedConnection);
}

void RunController::setEndRunOnPassedLimit(bool on)
{
    m_endRunOnPassedLimit = on;
    Exec *e = m_exec;
    QMetaObject::invokeMethod(
        e, [e, on] { e->setEndRunOnPassedLimit(on); }, Qt::QueuedConnection);
}

void RunController::close()
{
    // Closed on purpose: not a run for the next start to resume.
    if (m_runGoing && m_runStart.isValid())
        appendJournal(RunRecovery::endedRow(m_runStart, QStringLiteral("stopped"),
                                            QDateTime::currentDateTime()));
    shutdown();
}
