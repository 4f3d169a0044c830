#include "Body.h"

#include "ConfigStore.h"
#include "Csv.h"
#include "DryRun.h"
#include "DryRunWindow.h"
#include "EntryCheck.h"
#include "EntryCodec.h"
#include "ExecCtrl.h"
#include "LayoutFrame.h"
#include "LogArea.h"
#include "Notifier.h"
#include "Prompter.h"
#include "RunEstimate.h"
#include "RunRecovery.h"
#include "ScheduleEdit.h"
#include "Startup.h"
#include "Tolva.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QThread>

Body::Body(QWidget *parent) : QFrame(parent)
{
    // The pieces that are not part of the form; the prompter, the cut buffer
    // and the log are windows of their own.
    cutBufferFrame = new LayoutFrame;
    fileDialog = new QFileDialog(this);
    exec = new Exec;
    execStat = new ExecCtrl;
    execThread = new QThread(this);
    prompter = new Prompter;

    // The form; the engine's status panel goes into the information area.
    ui.setupUi(this);
    ui.InfoLayout->addWidget(execStat, 0, 0, Qt::AlignTop);
    cutBufferLayout = cutBufferFrame->ui.Layout;

    rootDir = rootDirFor(config());

    // The bus and the log window; the display bar's boxes show and hide them.
    setupTolva();
    ui.TolvaCtrl->show();
    logArea->setVisible(ui.ShowLog->isChecked());
    connect(ui.ShowLog, &QCheckBox::toggled, logArea, &LogArea::setVisible);
    ui.TolvaFrame->setVisible(ui.ShowTolvaStat->isChecked());
    connect(ui.ShowTolvaStat, &QCheckBox::toggled, ui.TolvaFrame, &QFrame::setVisible);

    Exec::registerMetaTypes(); // Entry, Exec::ResumeMode and the rest
    cutBufferFrame->setWindowTitle(tr("Skedra / Cut Buffer"));

    // The engine lives in its worker thread from here on.
    exec->moveToThread(execThread);
    execThread->start();

    setupExecution();

    // The schedule file dialog.
    fileDialog->setWindowTitle(tr("Select Meas. Schedule"));
    fileDialog->setNameFilters({tr("csv (*.csv)"), tr("any (*, *.*)")});
    fileDialog->setDirectory(rootDir);
    connect(ui.SaveSchedule, &QPushButton::clicked, this, &Body::saveSchedule);
    connect(ui.LoadSchedule, &QPushButton::clicked, this, &Body::loadSchedule);
    connect(fileDialog, &QFileDialog::fileSelected, this, &Body::scheduleFileSelected);

    setupPrompter();
    setupNightRun();
    setupRecovery();
}

Body::~Body()
{
    stopEngineThread();
    // The night's last notification is on its way: it must not die with us.
    if (notifier)
        notifier->waitForRunning();
    delete exec; // its thread has finished: nothing runs in it any more
    exec = nullptr;
    delete prompter;
    delete cutBufferFrame; // the entries in the cut buffer go with it
    delete logArea;
}

Tolva *Body::bus() const
{
    return ui.TolvaCtrl;
}

void Body::setupExecution()
{
    connect(this, &Body::setupExec, exec, &Exec::setup);
    connect(exec, &Exec::sendCmd, ui.TolvaCtrl, &Tolva::sendCmd);
    connect(exec, &Exec::flagChanged, execStat, &ExecCtrl::showFlag);
    connect(exec, &Exec::errMsgChanged, execStat, &ExecCtrl::setErrMsg);
    connect(exec, &Exec::errRemoteMsgChanged, execStat, &ExecCtrl::setErrRemoteMsg);
    emit setupExec(remoteAddr);

    connect(ui.Go, &QPushButton::clicked, this, &Body::startMeas);
    connect(ui.Stop, &QPushButton::clicked, this, &Body::stopMeas);
    connect(ui.Resume, &QPushButton::clicked, this, &Body::resumeMeas);
    connect(this, &Body::startExec, exec, &Exec::start);
    connect(this, &Body::updateExec, exec, &Exec::updateEntry);
    connect(this, &Body::stopExec, exec, &Exec::stop);
    connect(this, &Body::resumeExec, exec, &Exec::resume);
    connect(exec, &Exec::finished, this, &Body::noticedExecFinished);
    connect(exec, &Exec::executing, this, &Body::noticedExecuting);
    connect(exec, &Exec::currentStage, this, &Body::noticedCurrentExecStage);
    connect(exec, &Exec::stageShown, this, &Body::noticedStage);
    connect(exec, &Exec::measuredAs, this, &Body::noticedMeasuredAs);
    connect(exec, &Exec::goesOnAt, this, &Body::noticedGoesOnAt);
    connect(exec, &Exec::log, logArea, qOverload<const QString &, Severity>(&LogArea::log));

    execStat->setVisible(ui.ShowExecStat->isChecked());
    connect(ui.ShowExecStat, &QCheckBox::toggled, execStat, &ExecCtrl::setVisible);

    connect(this, &Body::setTargetIsReady, exec, &Exec::setTargetIsReady);
    connect(this, &Body::setSHolderIsMoving, exec, &Exec::setSHolderIsMoving);
    connect(this, &Body::setMainThIsMoving, exec, &Exec::setMainThIsMoving);
    connect(this, &Body::setInXafsMeas, exec, &Exec::setInXafsMeas);
    connect(this, &Body::setErrStartingXAFSMeas, exec, &Exec::setErrStartingXAFSMeas);
    connect(this, &Body::setErrRemote, exec, &Exec::setErrRemote);
    connect(this, &Body::setErrSHolderMove, exec, &Exec::setErrSHolderMove);
    connect(this, &Body::setReceivedBlockNum, exec, &Exec::setReceivedBlockNum);
    setupTargetWatch();
    connect(exec, &Exec::stalled, this, &Body::noticedStall);
    connect(exec, &Exec::targetLost, this, &Body::noticedTargetLost);

    connect(ui.ShowCutBuffer, &QCheckBox::toggled, cutBufferFrame, &LayoutFrame::setVisible);
    connect(ui.ComeBack, &QPushButton::clicked, this, &Body::comeBackAtBottom);
    connect(ui.NewAtTop, &QPushButton::clicked, this, &Body::newAtTop);
    connect(ui.NewAtBottom, &QPushButton::clicked, this, &Body::newAtBottom);
    connect(ui.Clear, &QPushButton::clicked, this, &Body::clear);
    connect(ui.Check, &QPushButton::clicked, this, &Body::checkSchedule);
}

void Body::setupPrompter()
{
    connect(exec, &Exec::newPrompt, prompter, &Prompter::addPrompt);
    connect(prompter, &Prompter::ok, exec, &Exec::noticedPromptOk);
    // The log tells when each prompt came up and when it was confirmed,
    // whoever raised or confirmed it.
    connect(prompter, &Prompter::changedMsgs, this, &Body::noticedPromptsChanged);
    connect(prompter, &Prompter::ok, this, &Body::noticedPromptOk);
    connect(prompter, &Prompter::stat, exec, &Exec::noticedPrompterStat);
    emit prompter->stat(prompter->count());
}

// The engine's timer has to be stopped in its own thread, so the stop is
// queued to the worker ahead of the request to end it. The engine never waits
// for the GUI thread, so joining cannot deadlock. Nothing the engine says from
// now on reaches the window, which may be half destroyed.
void Body::stopEngineThread()
{
    if (!execThread || !execThread->isRunning())
        return;
    disconnect(exec, nullptr, this, nullptr);
    disconnect(exec, nullptr, logArea, nullptr);
    disconnect(exec, nullptr, prompter, nullptr);
    disconnect(exec, nullptr, execStat, nullptr);
    disconnect(exec, nullptr, ui.TolvaCtrl, nullptr);
    Exec *e = exec;
    QMetaObject::invokeMethod(
        exec,
        [e] {
            e->stop(true);
            QThread::currentThread()->quit();
        },
        Qt::QueuedConnection);
    Exec::stopThread(execThread);
}

bool Body::ask(const QString &question) const
{
    if (m_ask)
        return m_ask(question);
    return QMessageBox::question(const_cast<Body *>(this), tr("Skedra"), question,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void Body::closeEvent(QCloseEvent *event)
{
    // Closing ends the run and drops the list: a night's work or a schedule
    // being prepared must not go with a stray click.
    QString question;
    const bool discardsEdits = !m_runGoing && m_entriesChanged;
    if (m_runGoing)
        question = tr("A run is going. Stop it and close Skedra?");
    else if (m_entriesChanged)
        question = tr("The schedule has changed since it was last saved or loaded. Close Skedra "
                      "without saving it?");
    // Written before asking: whatever the answer, a crash from here on
    // loses nothing.
    saveRecovery();
    if (!question.isEmpty() && !ask(question)) {
        event->ignore();
        return;
    }
    if (discardsEdits)
        removeRecovery(); // the operator chose to close without saving
    // Closed on purpose: not a run for the next start to resume.
    if (m_runGoing && runStart.isValid())
        appendJournal(RunRecovery::endedRow(runStart, QStringLiteral("stopped"),
                                            QDateTime::currentDateTime()));
    stopEngineThread();
    emit closed();
    QFrame::closeEvent(event);
}

// ---- The schedule list -------------------------------------------------------

ScheduleEdit *Body::newEntry()
{
    auto *entry = new ScheduleEdit;
    connectEntry(entry);
    return entry;
}

void Body::connectEntry(ScheduleEdit *entry)
{
    connect(entry, &ScheduleEdit::insertUp, this, &Body::insertUp);
    connect(entry, &ScheduleEdit::insertDown, this, &Body::insertDown);
    connect(entry, &ScheduleEdit::copy, this, &Body::copy);
    connect(entry, &ScheduleEdit::cut, this, &Body::cut);
    connect(entry, &ScheduleEdit::entryChanged, this, &Body::noticedEntryChanged);
}

int Body::senderIndex() const
{
    return int(ss.indexOf(qobject_cast<ScheduleEdit *>(sender())));
}

void Body::showSs()
{
    // Take every entry out of both layouts first, so that none is ever in two.
    for (QGridLayout *l : {cutBufferLayout, ui.MainLayout}) {
        while (QLayoutItem *it = l->takeAt(0))
            delete it;
    }
    const int n = int(cutBuffer.size());
    for (int i = 0; i < n; ++i) {
        ScheduleEdit *e = cutBuffer.at(n - 1 - i);
        cutBufferLayout->addWidget(e, i, 0);
        e->show();
    }
    for (int i = 0; i < ss.size(); ++i) {
        ScheduleEdit *e = ss.at(i);
        ui.MainLayout->addWidget(e, i, 0);
        e->setNumber(i + 1);
        e->show();
    }
    showScheduleWarnings();
    refreshOverview();
}

void Body::listEdited()
{
    m_entriesChanged = true;
    m_listNumbers.clear(); // the list is no longer the resumed run's copy
    showSs();
}

void Body::newAtTop()
{
    ss.prepend(newEntry());
    listEdited();
}

void Body::newAtBottom()
{
    ss.append(newEntry());
    listEdited();
}

void Body::clear()
{
    clearList();
}

bool Body::clearList()
{
    if (ss.isEmpty())
        return true;
    if (m_runGoing && !ask(tr("A run is going. Move every entry, the running one included, to "
                              "the cut buffer?")))
        return false;
    while (!ss.isEmpty())
        cutBuffer.append(ss.takeLast());
    listEdited();
    return true;
}

void Body::comeBackAtBottom()
{
    if (cutBuffer.isEmpty())
        return;
    ss.append(cutBuffer.takeLast());
    listEdited();
}

void Body::insertUp()
{
    if (cutBuffer.isEmpty())
        return;
    const int i = senderIndex();
    if (i < 0)
        return;
    ss.insert(i, cutBuffer.takeLast());
    listEdited();
}

void Body::insertDown()
{
    if (cutBuffer.isEmpty())
        return;
    const int i = senderIndex();
    if (i < 0)
        return;
    ss.insert(i + 1, cutBuffer.takeLast());
    listEdited();
}

void Body::copy()
{
    const int i = senderIndex();
    if (i >= 0) {
        ScheduleEdit *e = newEntry();
        e->copyFrom(*ss.at(i));
        cutBuffer.append(e);
    }
    showSs();
}

void Body::cut()
{
    const int i = senderIndex();
    if (i < 0)
        return;
    const bool running =
        m_runGoing && m_runningIndex >= 0 && runList.value(m_runningIndex) == ss.at(i);
    if (running && !ask(tr("Entry %1 is being run. Move it to the cut buffer?").arg(i + 1)))
        return;
    cutBuffer.append(ss.takeAt(i));
    listEdited();
}

// ---- Schedule files ------------------------------------------------------------

void Body::saveSchedule()
{
    fileDialog->setAcceptMode(QFileDialog::AcceptSave);
    fileDialog->setFileMode(QFileDialog::AnyFile);
    savingSchedule = true;
    fileDialog->show();
}

void Body::loadSchedule()
{
    fileDialog->setAcceptMode(QFileDialog::AcceptOpen);
    fileDialog->setFileMode(QFileDialog::ExistingFile);
    savingSchedule = false;
    fileDialog->show();
}

void Body::scheduleFileSelected(const QString &fname)
{
    if (savingSchedule) {
        QList<Entry> entries;
        entries.reserve(ss.size());
        for (const ScheduleEdit *e : std::as_const(ss))
            entries.append(e->entry());
        const Csv::WriteResult r = Csv::write(fname, entries);
        if (!r.ok) {
            // The file field keeps naming the last file that really holds
            // the schedule.
            logArea->log(r.error, QColor(255, 0, 0));
            auto *box = new QMessageBox(QMessageBox::Warning, tr("Save Schedule"), r.error,
                                        QMessageBox::Ok, this);
            box->setAttribute(Qt::WA_DeleteOnClose);
            box->setModal(false);
            box->show();
            return;
        }
        // The file written: ".csv" may have been added to the name typed.
        ui.ScheduleFile->setText(r.path);
        m_entriesChanged = false;
        removeRecovery();
    } else {
        loadScheduleFrom(fname);
    }
}

bool Body::loadScheduleFrom(const QString &fname)
{
    // Read first: a file that cannot be read must not cost the operator the
    // list on show, "Clear on Load" or not.
    const Csv::ReadResult read = Csv::read(fname);
    if (!read.ok) {
        logArea->log(tr("%1; the schedule is left as it was.").arg(read.error), QColor(255, 0, 0));
        return false;
    }
    // "Clear on Load" moves the old entries to the cut buffer rather than
    // destroying them: a run in progress still holds pointers to them.
    if (ui.ClearOnLoad->isChecked() && !clearList()) {
        logArea->log(tr("Loading %1 cancelled; the schedule is left as it was.").arg(fname));
        return false;
    }
    // Entries kept from before make a list that no file holds.
    const bool kept = !ss.isEmpty();
    showLoaded(read.entries, fname);
    m_listNumbers.clear();
    m_nightEarlier.clear(); // a new night
    m_entriesChanged = kept;
    if (!kept)
        removeRecovery();
    logArea->log(tr("Schedule file %1 loaded; entries: %2.").arg(fname).arg(read.entries.size()));
    return true;
}

void Body::tickOnly(const QSet<int> &numbers)
{
    // The script's choice for this run, not an edit of the schedule.
    const bool changed = m_entriesChanged;
    for (int i = 0; i < ss.size(); ++i) {
        Entry e = ss.at(i)->entry();
        e.exec = numbers.contains(i + 1);
        ss.at(i)->setEntry(e);
    }
    m_entriesChanged = changed;
    refreshOverview();
}

void Body::showLoaded(const QList<Entry> &entries, const QString &fileShown)
{
    for (const Entry &entry : entries) {
        auto *e = new ScheduleEdit(entry);
        connectEntry(e);
        ss.append(e);
    }
    ui.ScheduleFile->setText(fileShown);
    showSs();
}

// ---- Run control ---------------------------------------------------------------

int Body::currentNo() const
{
    return toIntOr0(ui.CurrentNo->text());
}

void Body::showCurrentNo(int i)
{
    ui.CurrentNo->setText(i < 0 ? QStringLiteral("-") : QString::number(i + 1));
}

void Body::startMeas()
{
    // The run goes on unchanged: a second list handed over now would name
    // other entries than the ones the engine runs. Only a run held by a lost
    // target may begin anew.
    if (m_runGoing && m_stage != Stage::TargetLost) {
        logArea->log(tr("A run is going: Start does nothing. Stop it first, or use Resume."),
                     QColor(255, 0, 0));
        return;
    }
    QList<Entry> entries;
    entries.reserve(ss.size());
    for (const ScheduleEdit *e : std::as_const(ss))
        entries.append(e->entry());

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
        logArea->log(tr("Entry %1: %2").arg(i + 1).arg(errors.first()), QColor(255, 0, 0));
    }
    if (firstBad >= 0) {
        logArea->log(tr("The run is not started: correct the entries above first."),
                     QColor(255, 0, 0));
        ui.MainScroll->ensureWidgetVisible(ss.at(firstBad), 50, 50);
        emit runFinished(false);
        return;
    }

    m_runGoing = true;
    stoppedByOperator = false;
    m_runningIndex = -1;
    runList.clear();
    runTicked.clear();
    runNumbers.clear();
    m_unmeasured.clear();
    const bool resumedCopy = m_listNumbers.size() == ss.size();
    for (int i = 0; i < ss.size(); ++i) {
        ScheduleEdit *e = ss.at(i);
        e->setMark(ScheduleEdit::Mark::None);
        runList.append(e);
        runTicked.append(entries.at(i).exec);
        runNumbers.append(resumedCopy ? m_listNumbers.at(i) : i + 1);
    }
    int first = 0;
    while (first < entries.size() && !entries.at(first).exec)
        ++first;
    if (first < entries.size())
        logArea->log(tr("The run begins with entry %1.").arg(runNumber(first)));
    // The run this list was resumed from ends here; the new run carries on.
    if (resumedRun.isValid()) {
        appendJournal(RunRecovery::endedRow(resumedRun, QStringLiteral("resumed"),
                                            QDateTime::currentDateTime()));
        resumedRun = {};
    }
    beginRunRecord(entries);
    emit startExec(entries);
}

void Body::checkSchedule()
{
    QList<Entry> entries;
    entries.reserve(ss.size());
    for (const ScheduleEdit *e : std::as_const(ss))
        entries.append(e->entry());
    const DryRun::Result r =
        DryRun::run(entries, DryRun::Setup::fromConfig(config()), QDateTime::currentDateTime());
    if (!dryRunWindow)
        dryRunWindow = new DryRunWindow(this);
    dryRunWindow->setListing(r.lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    dryRunWindow->show();
    dryRunWindow->raise();
}

void Body::showScheduleWarnings()
{
    QList<Entry> entries;
    entries.reserve(ss.size());
    for (const ScheduleEdit *e : std::as_const(ss))
        entries.append(e->entry());
    const QList<QStringList> warnings = EntryCheck::checkSchedule(entries);
    for (int i = 0; i < ss.size(); ++i)
        ss.at(i)->setScheduleWarnings(warnings.at(i));
}

void Body::stopMeas()
{
    // Told apart from a run that finished by itself when the engine reports
    // the end.
    if (m_runGoing)
        stoppedByOperator = true;
    emit stopExec(true);
}

void Body::resumeMeas()
{
    Exec::ResumeMode mode = Exec::FromHere;
    if (ui.ResumeFromHere->isChecked())
        mode = Exec::FromHere;
    else if (ui.ResumeFromInit->isChecked())
        mode = Exec::FromInit;
    else if (ui.ResumeFromNext->isChecked())
        mode = Exec::FromNext;
    // A run that had ended goes on: its journal says so, so that a crash
    // from here on is seen as one at the next start.
    if (!m_runGoing && runStart.isValid() && !runCopy.isEmpty())
        appendJournal(RunRecovery::startedRow(runStart, runCopy));
    m_runGoing = true;
    stoppedByOperator = false;
    m_unmeasured.clear();
    updateRunStatus();
    emit resumeExec(mode);
}

void Body::noticedExecuting(int idx)
{
    showCurrentNo(idx);
    // The entries before keep the marks of how they ended.
    if (idx >= 0 && idx < runList.size() && runList.at(idx)) {
        ScheduleEdit *e = runList.at(idx);
        e->setMark(ScheduleEdit::Mark::Running);
        ui.MainScroll->ensureWidgetVisible(e, 50, 50);
        RunOverview::Outcome o;
        o.state = EntryState::Running;
        o.text = stageText;
        o.started = QDateTime::currentDateTime();
        setOutcome(e, o);
    }
    m_runningIndex = idx;
    m_stalled = false;
    eta.entryBegan(idx, QDateTime::currentDateTime());
    updateRunStatus();
}

void Body::noticedExecFinished(bool ok)
{
    const int n = currentNo();
    if (n >= 1 && n <= runList.size()) {
        // An entry that ended as the engine reported keeps that mark.
        ScheduleEdit *e = runList.at(n - 1);
        const EntryState was = e ? outcomeOf(e).state : EntryState::Pending;
        if (e && (was == EntryState::Pending || was == EntryState::Running))
            e->setMark(ok ? ScheduleEdit::Mark::Finished : ScheduleEdit::Mark::Error);
        // The mark on the entry, in words, for the log file and unattended runs.
        if (!ok)
            logArea->log(tr("Run ended on an error at entry %1.").arg(n), QColor(255, 0, 0));
        else if (stoppedByOperator)
            logArea->log(tr("Run stopped by the operator at entry %1.").arg(n));
    }
    // A run that ended by itself finished only when every ticked entry of it
    // was measured, failed or was skipped.
    m_unmeasured.clear();
    if (ok && !stoppedByOperator) {
        for (int i = 0; i < runList.size(); ++i) {
            const ScheduleEdit *e = runList.at(i);
            const EntryState st = e ? outcomeOf(e).state : EntryState::Pending;
            if (runTicked.value(i) && st != EntryState::Done && st != EntryState::Failed &&
                st != EntryState::Skipped)
                m_unmeasured.append(runNumber(i));
        }
        if (!m_unmeasured.isEmpty())
            logArea->log(
                tr("Run ended without measuring entries %1.").arg(numberList(m_unmeasured)),
                QColor(255, 0, 0));
        else if (n >= 1)
            logArea->log(tr("Run finished at entry %1.").arg(n));
        else
            logArea->log(tr("Run finished."));
    }
    m_runGoing = false;
    m_runningIndex = -1;
    showCurrentNo(-1);
    endRunRecord(ok);
    emit runFinished(ok);
}

void Body::noticedCurrentExecStage(const QString &stage)
{
    ui.StageName->setText(stage);
    // Said every tick: only a new stage changes the overview.
    if (stage == stageText)
        return;
    stageText = stage;
    updateRunStatus();
    if (ScheduleEdit *e = runList.value(m_runningIndex)) {
        RunOverview::Outcome o = outcomeOf(e);
        if (o.state == EntryState::Running) {
            o.text = stage;
            setOutcome(e, o);
        }
    }
    updateRunStatus();
}

void Body::noticedStage(int stage)
{
    if (stage != m_stage)
        m_stalled = false; // the wait that passed its limit is over
    m_stage = stage;
    updateRunStatus();
}

void Body::noticedMeasuredAs(int idx, const Entry &entry)
{
    // The editor shows the blocks the target measures, read from the file;
    // the file itself stays what the entry names.
    ScheduleEdit *e = runList.value(idx);
    if (!e)
        return;
    const Entry shown = e->entry();
    if (shown.blockDefType != EntryRows::FileBlocks || shown.blockDefFile != entry.blockDefFile)
        return;
    Entry updated = shown;
    updated.quickBlocks = entry.quickBlocks;
    updated.stepBlocks = entry.stepBlocks;
    const bool changed = m_entriesChanged;
    e->setEntry(updated);
    m_entriesChanged = changed; // showing what was read is no edit
}

void Body::noticedGoesOnAt(int idx)
{
    if (idx < 0)
        logArea->log(tr("No ticked entry is left to measure; the run ends."));
    else
        logArea->log(tr("The run goes on with entry %1.").arg(runNumber(idx)));
}

void Body::noticedEntryChanged()
{
    // An entry of the run that the operator edits counts from the next time
    // the engine begins it; entries added since the start are not the run's.
    auto *e = qobject_cast<ScheduleEdit *>(sender());
    showScheduleWarnings();
    if (ss.contains(e))
        m_entriesChanged = true;
    const int i = int(runList.indexOf(e));
    if (e && i >= 0)
        emit updateExec(i, e->entry());
    const int row = int(ss.indexOf(e));
    if (e && row >= 0)
        overview->setEntry(
            row, e->entry(),
            estimateEntries({e->entry()}, durationRatios, Estimate::Params::fromConfig(config()))
                .constFirst());
}

namespace {
QString oneLine(QString text)
{
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}
} // namespace

QString Body::numberList(const QList<int> &numbers)
{
    QStringList out;
    for (int n : numbers)
        out << QString::number(n);
    return out.join(QStringLiteral(", "));
}

void Body::noticedPromptsChanged()
{
    QHash<const Prompt *, QString> open;
    for (const Prompt *p : prompter->openPrompts()) {
        if (!m_shownPrompts.contains(p))
            logArea->log(tr("Prompt: %1").arg(oneLine(p->msg())));
        open.insert(p, p->msg());
    }
    m_shownPrompts = open;
}

void Body::noticedPromptOk()
{
    // The prompter has just taken the confirmed prompt off its list.
    for (auto it = m_shownPrompts.begin(); it != m_shownPrompts.end();) {
        if (prompter->openPrompts().contains(it.key())) {
            ++it;
            continue;
        }
        logArea->log(tr("Prompt confirmed: %1").arg(oneLine(it.value())));
        it = m_shownPrompts.erase(it);
    }
}
