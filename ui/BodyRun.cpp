// The main window's night side: the overview of the schedule above the
// entries, the run bar's times and controls, the run journal, the
// notifications and the status peers read with GetRunStatus.
#include "Body.h"

#include "ConfigStore.h"
#include "Estimate.h"
#include "ExecPlan.h"
#include "LogArea.h"
#include "Notifier.h"
#include "Prompter.h"
#include "RunEstimate.h"
#include "RunJournal.h"
#include "RunRecovery.h"
#include "ScheduleEdit.h"
#include "Tolva.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QSplitter>
#include <QTableView>
#include <QTimer>

namespace {

const QColor kRed(255, 0, 0);
// A prompt that has waited this long tells someone away from the screen.
constexpr int kPromptNotifyMs = 5 * 60 * 1000;

// ISO 8601 with the offset, as the journal writes its times.
QDateTime now()
{
    const QDateTime t = QDateTime::currentDateTime();
    return t.toOffsetFromUtc(t.offsetFromUtc());
}

ScheduleEdit::Mark markFor(EntryState state)
{
    switch (state) {
    case EntryState::Running:
        return ScheduleEdit::Mark::Running;
    case EntryState::Done:
    case EntryState::Stopped:
        return ScheduleEdit::Mark::Finished;
    case EntryState::Failed:
        return ScheduleEdit::Mark::Error;
    case EntryState::Pending:
    case EntryState::Skipped:
        break;
    }
    return ScheduleEdit::Mark::None;
}

QString journalWord(EntryState state)
{
    switch (state) {
    case EntryState::Done:
        return QStringLiteral("done");
    case EntryState::Failed:
        return QStringLiteral("failed");
    case EntryState::Skipped:
        return QStringLiteral("skipped");
    case EntryState::Stopped:
        return QStringLiteral("stopped");
    case EntryState::Pending:
    case EntryState::Running:
        break;
    }
    return QString();
}

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

void Body::setupNightRun()
{
    const ConfigStore &cfg = config();

    // The overview above the entries; the operator can hide it.
    overview = new RunOverview(this);
    overviewView = new QTableView;
    overviewView->setObjectName(QStringLiteral("Overview"));
    overviewView->setModel(overview);
    overviewView->verticalHeader()->hide();
    overviewView->verticalHeader()->setDefaultSectionSize(overviewView->fontMetrics().height() + 6);
    overviewView->setSelectionBehavior(QAbstractItemView::SelectRows);
    overviewView->setSelectionMode(QAbstractItemView::SingleSelection);
    overviewView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    overviewView->horizontalHeader()->setStretchLastSection(true);
    overviewView->horizontalHeader()->setSectionResizeMode(RunOverview::Status,
                                                           QHeaderView::Stretch);
    overviewView->horizontalHeader()->setSectionResizeMode(RunOverview::End,
                                                           QHeaderView::ResizeToContents);
    connect(overviewView, &QTableView::clicked, this, &Body::showOverviewRow);
    auto *splitter = new QSplitter(Qt::Vertical);
    splitter->setObjectName(QStringLiteral("OverviewSplitter"));
    splitter->setChildrenCollapsible(false);
    ui.gridLayout->removeWidget(ui.MainScroll);
    splitter->addWidget(overviewView);
    splitter->addWidget(ui.MainScroll);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 2);
    ui.gridLayout->addWidget(splitter, 5, 0);
    showOverview = new QCheckBox(tr("Show Overview"));
    showOverview->setObjectName(QStringLiteral("ShowOverview"));
    showOverview->setChecked(true);
    ui.horizontalLayout_4->insertWidget(2, showOverview);
    connect(showOverview, &QCheckBox::toggled, overviewView, &QTableView::setVisible);

    // The run bar: times, stop after this entry, what an entry error does.
    runTimes = new QLabel;
    runTimes->setObjectName(QStringLiteral("RunTimes"));
    stopAfterEntry = new QCheckBox(tr("Stop after this entry"));
    stopAfterEntry->setObjectName(QStringLiteral("StopAfterEntry"));
    onEntryError = new QComboBox;
    onEntryError->setObjectName(QStringLiteral("OnEntryError"));
    onEntryError->addItems({tr("On error: stop"), tr("On error: skip")});
    onEntryError->setToolTip(tr("What the run does when an entry fails: end, or go on with "
                                "the next entry."));
    ui.horizontalLayout->addWidget(runTimes);
    ui.horizontalLayout->addWidget(stopAfterEntry);
    ui.horizontalLayout->addWidget(onEntryError);
    connect(stopAfterEntry, &QCheckBox::toggled, exec, &Exec::setStopAfterEntry);
    Exec *engine = exec;
    connect(onEntryError, &QComboBox::currentIndexChanged, exec,
            [engine](int i) { engine->setSkipFailedEntries(i == 1); });
    const QString onError =
        cfg.valueNoCase(QStringLiteral("ON_ENTRY_ERROR"), QStringLiteral("stop")).toLower();
    if (onError == QLatin1String("skip"))
        onEntryError->setCurrentIndex(1);
    else if (onError != QLatin1String("stop"))
        logArea->log(tr("ON_ENTRY_ERROR %1 is neither stop nor skip; stop is used.").arg(onError),
                     kRed);
    connect(exec, &Exec::entryEnded, this, &Body::noticedEntryEnded);

    runClock = new QTimer(this);
    runClock->setInterval(1000);
    connect(runClock, &QTimer::timeout, this, &Body::showRunTimes);

    journal = cfg.valueNoCase(QStringLiteral("JOURNAL"), RunJournal::defaultPath());
    // A row torn by an earlier crash is named, once per start, and skipped.
    QStringList torn;
    durationRatios = RunJournal::durationRatios(RunJournal::read(journal, &torn));
    for (const QString &w : std::as_const(torn))
        logArea->log(w, kRed);

    notifier = new Notifier(this);
    const QStringList notifyCmds = cfg.allRests(QStringLiteral("NOTIFY_CMD"));
    if (!notifyCmds.isEmpty())
        notifier->setCommand(commandFrom(notifyCmds.last()));
    connect(notifier, &Notifier::failed, this,
            [this](const QString &msg) { logArea->log(msg, kRed); });

    promptClock = new QTimer(this);
    promptClock->setSingleShot(true);
    promptClock->setInterval(kPromptNotifyMs);
    connect(promptClock, &QTimer::timeout, this, &Body::promptWaitedLong);
    connect(prompter, &Prompter::stat, this, &Body::noticedPrompterStat);

    // The default window fits a 1366 x 768 screen.
    resize(qMin(width(), 1320), qMin(height(), 700));
    updateRunStatus();
}

void Body::refreshOverview()
{
    QList<Entry> entries;
    entries.reserve(ss.size());
    for (const ScheduleEdit *e : std::as_const(ss))
        entries.append(e->entry());
    overview->setEntries(
        entries, estimateEntries(entries, durationRatios, Estimate::Params::fromConfig(config())));
    for (int i = 0; i < ss.size(); ++i)
        overview->setOutcome(i, outcomeOf(ss.at(i)));
}

void Body::setOutcome(ScheduleEdit *e, const RunOverview::Outcome &o)
{
    outcomes.insert(e, o);
    e->setMark(markFor(o.state));
    e->setStatus(o.state == EntryState::Pending || o.state == EntryState::Running
                     ? QString()
                     : RunOverview::stateText({o.state, {}, {}, {}}),
                 o.text);
    const int row = int(ss.indexOf(e));
    if (row < 0)
        return;
    overview->setOutcome(row, o);
    if (o.state == EntryState::Running)
        overviewView->scrollTo(overview->index(row, 0)); // the running row is followed
}

void Body::showOverviewRow(const QModelIndex &index)
{
    if (ScheduleEdit *e = ss.value(index.row()))
        ui.MainScroll->ensureWidgetVisible(e, 0, 0);
}

void Body::beginRunRecord(const QList<Entry> &entries)
{
    for (ScheduleEdit *e : std::as_const(ss))
        e->setStatus(QString());
    outcomes.clear();
    overview->clearOutcomes();
    failedCount = 0;
    lastFailed = 0;
    doneCount = 0;
    m_runningIndex = -1;
    m_runGoing = true;
    stoppedByOperator = false;
    journalWarned = false;
    // The journal of earlier nights tells how long each scan type really takes.
    durationRatios = RunJournal::durationRatios(RunJournal::read(journal));
    runEstimates = estimateEntries(entries, durationRatios, Estimate::Params::fromConfig(config()));
    for (int i = 0; i < entries.size(); ++i) {
        if (!entries.at(i).exec)
            runEstimates[i] = 0;
    }
    runStart = now();
    writeRunCopy(entries);
    eta.start(runStart, runEstimates);
    runClock->start();
    showRunTimes();
}

void Body::endRunRecord(bool ok)
{
    m_runGoing = false;
    runClock->stop();
    m_runningIndex = -1;
    if (stopAfterEntry->isChecked())
        stopAfterEntry->setChecked(false); // it was for this run
    appendJournal(RunRecovery::endedRow(runStart,
                                        !ok                       ? QStringLiteral("failed")
                                        : stoppedByOperator       ? QStringLiteral("stopped")
                                        : !m_unmeasured.isEmpty() ? QStringLiteral("incomplete")
                                                                  : QStringLiteral("finished"),
                                        now()));
    const QString took = Estimate::format(double(runStart.secsTo(now())));
    runTimes->setText(tr("Run took %1").arg(took));
    if (!ok) {
        alertOperator(QStringLiteral("failed"),
                      tr("The run ended on an error at entry %1.").arg(lastFailed));
    } else if (!m_unmeasured.isEmpty()) {
        alertOperator(
            QStringLiteral("failed"),
            tr("The run ended without measuring entries %1.").arg(numberList(m_unmeasured)));
    } else if (!stoppedByOperator) {
        notifier->notify(QStringLiteral("finished"),
                         tr("Run finished: %1 entries done, %2 failed, in %3.")
                             .arg(doneCount)
                             .arg(failedCount)
                             .arg(took));
    }
    updateRunStatus();
}

void Body::noticedEntryEnded(int idx, EntryState state, const QString &detail)
{
    ScheduleEdit *e = runList.value(idx);
    if (!e)
        return;
    RunOverview::Outcome o = outcomeOf(e);
    o.state = state;
    o.text = detail;
    if (state == EntryState::Skipped) {
        o.started = {};
        o.ended = {};
    } else {
        o.ended = QDateTime::currentDateTime();
    }
    setOutcome(e, o);
    if (state == EntryState::Done)
        ++doneCount;
    if (state == EntryState::Failed) {
        ++failedCount;
        lastFailed = runNumber(idx);
        if (onEntryError->currentIndex() == 1)
            notifier->notify(QStringLiteral("failed"),
                             tr("Entry %1 failed: %2").arg(runNumber(idx)).arg(detail));
    }
    if (state != EntryState::Skipped)
        writeJournal(idx, state, detail);
    // The end moves with the entries that took longer than estimated.
    eta.entryBegan(-1, QDateTime::currentDateTime());
    showRunTimes();
}

void Body::writeJournal(int idx, EntryState state, const QString &detail)
{
    ScheduleEdit *e = runList.value(idx);
    const Entry entry = e->entry();
    const RunOverview::Outcome o = outcomeOf(e);
    JournalRow r;
    r.run = runStart;
    r.entry = runNumber(idx);
    r.holder = entry.holder;
    r.sample = entry.sampleId;
    r.file = entry.dataFile;
    r.element = entry.elementSymbol();
    r.edge = entry.targetCore;
    r.scan = scanName(entry);
    r.ended = now();
    r.started = o.started.isValid() ? o.started.toOffsetFromUtc(r.ended.offsetFromUtc()) : r.ended;
    r.seconds = r.started.msecsTo(r.ended) / 1000.0;
    r.estimated = runEstimates.value(idx);
    r.outcome = journalWord(state);
    r.detail = detail;
    appendJournal(r);
}

void Body::appendJournal(const JournalRow &row)
{
    QString error;
    if (RunJournal::append(journal, row, &error))
        return;
    // A journal that cannot be written never stops the night.
    logArea->log(error, kRed);
    if (journalWarned)
        return;
    journalWarned = true;
    auto *box =
        new QMessageBox(QMessageBox::Warning, tr("Run journal"), error, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

void Body::showRunTimes()
{
    if (!m_runGoing)
        return;
    const QDateTime t = QDateTime::currentDateTime();
    runTimes->setText(tr("Elapsed %1  Entry left %2  End %3")
                          .arg(Estimate::format(double(eta.elapsed(t))),
                               Estimate::format(double(eta.currentRemaining(t))),
                               eta.expectedEnd(t).toString(QStringLiteral("HH:mm"))));
    updateRunStatus();
}

void Body::updateRunStatus()
{
    QString status = QStringLiteral("idle");
    // A run that cannot go on by itself says why: a peer watching the night
    // can tell a long scan from a run that needs someone.
    QString held;
    if (m_runGoing && !prompter->openPrompts().isEmpty())
        held = QStringLiteral("prompt");
    else if (m_runGoing && m_stage == Stage::TargetLost)
        held = QStringLiteral("target-lost");
    else if (m_runGoing && m_stage == Stage::WaitingForTarget)
        held = QStringLiteral("waiting-for-target");
    if (!held.isEmpty()) {
        status = QStringLiteral("held ") + held;
    } else if (m_runGoing) {
        // Words, not the window's stage names: peers parse this whatever
        // language the window speaks.
        status = QStringLiteral("%1 %2/%3 %4 ETA %5")
                     .arg(m_stalled ? QStringLiteral("stalled") : QStringLiteral("running"))
                     .arg(runNumber(m_runningIndex))
                     .arg(runNumbers.isEmpty() ? int(runList.size()) : runNumbers.last())
                     .arg(stageWord(m_stage))
                     .arg(eta.expectedEnd(QDateTime::currentDateTime())
                              .toString(QStringLiteral("HH:mm")));
    } else if (failedCount > 0) {
        status = QStringLiteral("failed %1").arg(lastFailed);
    } else if (stoppedByOperator) {
        status = QStringLiteral("stopped");
    }
    bus()->setRunStatus(status);
}

void Body::alertOperator(const QString &event, const QString &text)
{
    notifier->notify(event, text);
    raise();
    activateWindow();
    auto *box = new QMessageBox(QMessageBox::Warning, tr("Skedra"), text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

// The engine has logged the line already: the operator is told once.
void Body::noticedStall(const QString &why)
{
    m_stalled = true;
    updateRunStatus();
    alertOperator(QStringLiteral("stalled"), why);
}

void Body::noticedTargetLost(const QString &why)
{
    alertOperator(QStringLiteral("target-lost"), why);
}

void Body::noticedPrompterStat(int count)
{
    updateRunStatus();
    if (count == 0)
        promptClock->stop();
    else if (!promptClock->isActive())
        promptClock->start();
}

void Body::promptWaitedLong()
{
    const QList<Prompt *> open = prompter->openPrompts();
    if (open.isEmpty())
        return;
    const QString text =
        tr("A prompt has waited for the operator for 5 minutes; the run is held: %1")
            .arg(open.first()->msg());
    notifier->notify(QStringLiteral("prompt"), text);
    prompter->raise();
    prompter->activateWindow();
}
