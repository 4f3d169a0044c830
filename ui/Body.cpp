#include "Body.h"

#include "ConfigStore.h"
#include "DryRun.h"
#include "DryRunWindow.h"
#include "EntryCheck.h"
#include "Estimate.h"
#include "ExecCtrl.h"
#include "ExecPlan.h"
#include "LayoutFrame.h"
#include "LogArea.h"
#include "Prompter.h"
#include "ScheduleEdit.h"
#include "Startup.h"
#include "Tolva.h"
#include "ui_Body.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QSplitter>
#include <QTableView>
#include <QTimer>

namespace {

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

QTableView *newTable(ScheduleModel *model)
{
    auto *view = new QTableView;
    view->setModel(model);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->horizontalHeader()->setStretchLastSection(true);
    view->horizontalHeader()->setSectionResizeMode(ScheduleModel::Status, QHeaderView::Stretch);
    return view;
}

} // namespace

Body::Body(QWidget *parent) : QFrame(parent), ui(std::make_unique<Ui::Body>())
{
    m_list = new ScheduleModel(this);
    m_cutBuffer = new ScheduleModel(this);
    m_run = new RunController(m_list, m_cutBuffer, this);
    cutBufferFrame = new LayoutFrame;
    cutBufferFrame->setWindowTitle(tr("Skedra / Cut Buffer"));
    execStat = new ExecCtrl;
    prompter = new Prompter;
    logArea = new LogArea(nullptr, 2000);
    rootDir = rootDirFor(config());

    // The form; the engine's status panel goes into the information area.
    ui->setupUi(this);
    ui->InfoLayout->addWidget(execStat, 0, 0, Qt::AlignTop);
    logArea->setVisible(ui->ShowLog->isChecked());
    connect(ui->ShowLog, &QCheckBox::toggled, logArea, &LogArea::setVisible);
    ui->TolvaFrame->setVisible(ui->ShowTolvaStat->isChecked());
    connect(ui->ShowTolvaStat, &QCheckBox::toggled, ui->TolvaFrame, &QFrame::setVisible);
    execStat->setVisible(ui->ShowExecStat->isChecked());
    connect(ui->ShowExecStat, &QCheckBox::toggled, execStat, &ExecCtrl::setVisible);

    connect(m_run, &RunController::logged, logArea,
            qOverload<const QString &, Severity>(&LogArea::log));
    m_run->configure(config());
    setupBus();
    setupList();
    setupRun();
    setupRunBar();
    setupFiles();
    // The default window fits a 1366 x 768 screen.
    resize(qMin(width(), 1320), qMin(height(), 700));
}

Body::~Body()
{
    m_run->shutdown();
    delete prompter;
    delete cutBufferFrame;
    delete logArea;
}

Tolva *Body::bus() const
{
    return ui->TolvaCtrl;
}

void Body::setupBus()
{
    Tolva *tolva = ui->TolvaCtrl;
    for (QLabel *l : tolva->headerLabels())
        l->hide();
    tolva->setLogSendingMsg(true);
    // Its first visibility is settled by the window once "Show Log" is known,
    // so that it does not flash up at start.
    connect(ui->ShowTolvaLog, &QCheckBox::toggled, logArea, &LogArea::setVisible);
    connect(tolva, &Tolva::log, logArea, qOverload<const QString &, const QColor &>(&LogArea::log));

    connect(tolva, &Tolva::anyAsk, m_run, &RunController::asked);
    connect(tolva, &Tolva::anyAns, m_run, &RunController::answered);
    connect(tolva, &Tolva::anyEvent, m_run, &RunController::eventReceived);
    connect(tolva, &Tolva::tolvaIsReady, m_run, &RunController::busReady);
    // An operator has to see when the link is gone and which commands never
    // left.
    connect(tolva, &Tolva::tolvaIsNotReady, this, [this] {
        logArea->log(tr("Tolva: %1").arg(ui->TolvaCtrl->statusText()), Severity::Error);
        m_run->busLost();
    });
    const auto sendResult = [this](const QString &result) {
        // The client's result of a send that found no connection; the line
        // itself went nowhere, so this is the only trace of it.
        if (result.startsWith(QLatin1String("Tolva is not ready (")))
            logArea->log(result, Severity::Error);
    };
    connect(tolva, &Tolva::sendingAskToTolva, this, sendResult);
    connect(tolva, &Tolva::sendingAnsToTolva, this, sendResult);
    connect(m_run, &RunController::sendCmd, tolva, &Tolva::sendCmd);
    connect(m_run, &RunController::answer, tolva, &Tolva::sendAns);
    connect(m_run, &RunController::busyChanged, tolva, &Tolva::setBusy);
    connect(m_run, &RunController::runStatusChanged, tolva, &Tolva::setRunStatus);
    tolva->setRunStatus(m_run->runStatus());

    const ConfigStore &cfg = config();
    tolva->setHost(cfg.valueNoCase(QStringLiteral("TOLVA_IP"), QStringLiteral("localhost")));
    tolva->setPort(cfg.valueNoCase(QStringLiteral("TOLVA_PORT"), QStringLiteral("6057")));
    tolva->setNameOnTolva(
        cfg.valueNoCase(QStringLiteral("NAME_ON_TOLVA"), QStringLiteral("Tarnix")));
    tolva->setKeyFile(
        cfg.valueNoCase(QStringLiteral("KEY_ON_TOLVA"), QStringLiteral("Tarnix.key")));
    if (toIntOr0(cfg.valueNoCase(QStringLiteral("CONNECT_TO_TOLVA"), QStringLiteral("1"))) == 1)
        tolva->connectToTolva();
}

void Body::setupRun()
{
    connect(ui->Go, &QPushButton::clicked, this, &Body::startRun);
    connect(ui->Stop, &QPushButton::clicked, m_run, &RunController::stop);
    connect(ui->Resume, &QPushButton::clicked, this, &Body::resumeClicked);
    connect(ui->Check, &QPushButton::clicked, this, &Body::checkSchedule);
    connect(m_run, &RunController::flagChanged, execStat, &ExecCtrl::showFlag);
    connect(m_run, &RunController::errMsgChanged, execStat, &ExecCtrl::setErrMsg);
    connect(m_run, &RunController::errRemoteMsgChanged, execStat, &ExecCtrl::setErrRemoteMsg);
    connect(m_run, &RunController::stageChanged, this,
            [this](int stage) { ui->StageName->setText(stageName(stage)); });
    connect(m_run, &RunController::entryRunning, this, &Body::entryRunning);
    connect(m_run, &RunController::runFinished, this, &Body::runFinished);
    connect(m_run, &RunController::startRefused, this, &Body::setCurrentRow);
    connect(m_run, &RunController::alert, this, &Body::alertOperator);
    connect(m_run, &RunController::journalFailed, this,
            [this](const QString &error) { showMessage(tr("Run journal"), error); });

    connect(m_run, &RunController::promptRaised, prompter, &Prompter::addPrompt);
    connect(m_run, &RunController::promptClosed, prompter, &Prompter::closePrompt);
    connect(prompter, &Prompter::confirmed, m_run, &RunController::confirmPrompt);
    connect(m_run, &RunController::promptWaitedLong, prompter, [this] {
        prompter->raise();
        prompter->activateWindow();
    });
}

void Body::setupRunBar()
{
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
    onEntryError->setCurrentIndex(m_run->skipFailed() ? 1 : 0);
    ui->horizontalLayout->addWidget(runTimes);
    ui->horizontalLayout->addWidget(stopAfterEntry);
    ui->horizontalLayout->addWidget(onEntryError);
    connect(stopAfterEntry, &QCheckBox::toggled, m_run, &RunController::setStopAfterEntry);
    connect(m_run, &RunController::stopAfterEntryCleared, stopAfterEntry,
            [this] { stopAfterEntry->setChecked(false); });
    connect(onEntryError, &QComboBox::currentIndexChanged, m_run,
            [this](int i) { m_run->setSkipFailed(i == 1); });

    runClock = new QTimer(this);
    runClock->setInterval(1000);
    connect(runClock, &QTimer::timeout, this, &Body::showRunTimes);
    connect(m_run, &RunController::runStarted, runClock, qOverload<>(&QTimer::start));
}

void Body::showRunTimes()
{
    if (!m_run->runGoing())
        return;
    const RunController::Times t = m_run->times(QDateTime::currentDateTime());
    runTimes->setText(tr("Elapsed %1  Entry left %2  End %3")
                          .arg(Estimate::format(double(t.elapsed)),
                               Estimate::format(double(t.entryLeft)),
                               t.end.toString(QStringLiteral("HH:mm"))));
}

// ---- Operator's requests --------------------------------------------------------

void Body::click(Button button)
{
    switch (button) {
    case Button::NewAtTop:
        return ui->NewAtTop->click();
    case Button::NewAtBottom:
        return ui->NewAtBottom->click();
    case Button::Clear:
        return ui->Clear->click();
    case Button::ComeBack:
        return ui->ComeBack->click();
    case Button::Save:
        return ui->SaveSchedule->click();
    case Button::Load:
        return ui->LoadSchedule->click();
    case Button::Start:
        return ui->Go->click();
    case Button::Stop:
        return ui->Stop->click();
    case Button::Resume:
        return ui->Resume->click();
    case Button::Check:
        return ui->Check->click();
    case Button::InsertUp:
        return m_editor ? emit m_editor->insertUp() : void();
    case Button::InsertDown:
        return m_editor ? emit m_editor->insertDown() : void();
    case Button::Copy:
        return m_editor ? emit m_editor->copy() : void();
    case Button::Cut:
        return m_editor ? emit m_editor->cut() : void();
    }
}

void Body::setOption(Option option, bool on)
{
    switch (option) {
    case Option::ClearOnLoad:
        return ui->ClearOnLoad->setChecked(on);
    case Option::StopAfterEntry:
        return stopAfterEntry->setChecked(on);
    case Option::SkipFailed:
        return onEntryError->setCurrentIndex(on ? 1 : 0);
    case Option::ShowOverview:
        return showOverview->setChecked(on);
    case Option::ShowTolvaStat:
        return ui->ShowTolvaStat->setChecked(on);
    }
}

bool Body::option(Option option) const
{
    switch (option) {
    case Option::ClearOnLoad:
        return ui->ClearOnLoad->isChecked();
    case Option::StopAfterEntry:
        return stopAfterEntry->isChecked();
    case Option::SkipFailed:
        return onEntryError->currentIndex() == 1;
    case Option::ShowOverview:
        return showOverview->isChecked();
    case Option::ShowTolvaStat:
        return ui->ShowTolvaStat->isChecked();
    }
    return false;
}

void Body::setResumeMode(Exec::ResumeMode mode)
{
    (mode == Exec::FromInit   ? ui->ResumeFromInit
     : mode == Exec::FromNext ? ui->ResumeFromNext
                              : ui->ResumeFromHere)
        ->setChecked(true);
}

QString Body::scheduleFileShown() const
{
    return ui->ScheduleFile->text();
}

QString Body::stageShown() const
{
    return ui->StageName->text();
}

void Body::startRun()
{
    m_run->start();
}

void Body::resumeClicked()
{
    m_run->resume(ui->ResumeFromInit->isChecked()   ? Exec::FromInit
                  : ui->ResumeFromNext->isChecked() ? Exec::FromNext
                                                    : Exec::FromHere);
}

void Body::checkSchedule()
{
    const DryRun::Result r = DryRun::run(m_list->entries(), DryRun::Setup::fromConfig(config()),
                                         QDateTime::currentDateTime());
    if (!dryRunWindow)
        dryRunWindow = new DryRunWindow(this);
    dryRunWindow->setListing(r.lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    dryRunWindow->show();
    dryRunWindow->raise();
}

void Body::entryRunning(int row)
{
    ui->CurrentNo->setText(row < 0 ? QStringLiteral("-") : QString::number(row + 1));
    // The running row is followed, in the overview and in the editor.
    if (row >= 0)
        setCurrentRow(row);
}

void Body::runFinished(bool)
{
    runClock->stop();
    ui->CurrentNo->setText(QStringLiteral("-"));
    if (m_run->times(QDateTime::currentDateTime()).elapsed > 0 || !runTimes->text().isEmpty())
        runTimes->setText(
            tr("Run took %1")
                .arg(Estimate::format(double(m_run->times(QDateTime::currentDateTime()).elapsed))));
}

void Body::showMessage(const QString &title, const QString &text)
{
    auto *box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

void Body::alertOperator(const QString &text)
{
    raise();
    activateWindow();
    showMessage(tr("Skedra"), text);
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
    const bool going = m_run->runGoing();
    const bool discardsEdits = !going && m_entriesChanged;
    if (going)
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
    m_run->close();
    emit closed();
    QFrame::closeEvent(event);
}

// ---- The list --------------------------------------------------------------------

void Body::setupList()
{
    // The overview above the entry editor; the operator can hide it.
    m_overview = newTable(m_list);
    m_overview->setObjectName(QStringLiteral("Overview"));
    m_overview->horizontalHeader()->setSectionResizeMode(ScheduleModel::End,
                                                         QHeaderView::ResizeToContents);
    auto *splitter = new QSplitter(Qt::Vertical);
    splitter->setObjectName(QStringLiteral("OverviewSplitter"));
    splitter->setChildrenCollapsible(false);
    ui->gridLayout->removeWidget(ui->MainScroll);
    splitter->addWidget(m_overview);
    splitter->addWidget(ui->MainScroll);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 2);
    ui->gridLayout->addWidget(splitter, 5, 0);
    showOverview = new QCheckBox(tr("Show Overview"));
    showOverview->setObjectName(QStringLiteral("ShowOverview"));
    showOverview->setChecked(true);
    ui->horizontalLayout_4->insertWidget(2, showOverview);
    connect(showOverview, &QCheckBox::toggled, m_overview, &QTableView::setVisible);

    connect(m_overview->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { setCurrentRow(current.row()); });

    // The cut buffer's own window: the latest entry on top.
    m_cutBufferView = newTable(m_cutBuffer);
    m_cutBufferView->setObjectName(QStringLiteral("CutBufferList"));
    cutBufferFrame->ui.Layout->addWidget(m_cutBufferView, 0, 0);
    connect(ui->ShowCutBuffer, &QCheckBox::toggled, cutBufferFrame, &LayoutFrame::setVisible);

    connect(ui->NewAtTop, &QPushButton::clicked, this, [this] { newEntry(0); });
    connect(ui->NewAtBottom, &QPushButton::clicked, this, [this] { newEntry(m_list->count()); });
    connect(ui->ComeBack, &QPushButton::clicked, this, &Body::comeBack);
    connect(ui->Clear, &QPushButton::clicked, this, &Body::clearList);

    connect(m_list, &ScheduleModel::edited, this, &Body::listChanged);
    connect(m_list, &ScheduleModel::dataChanged, this,
            [this](const QModelIndex &from, const QModelIndex &to) {
                if (m_currentRow >= from.row() && m_currentRow <= to.row())
                    showCurrent();
            });
    connect(m_list, &ScheduleModel::modelReset, this, [this] { setCurrentRow(0); });
}

void Body::listChanged()
{
    m_entriesChanged = true;
    if (m_currentRow >= m_list->count() || (m_currentRow < 0 && m_list->count() > 0))
        setCurrentRow(m_list->count() - 1);
    else
        showCurrent();
}

void Body::setCurrentRow(int row)
{
    row = m_list->count() == 0 ? -1 : qBound(0, row, m_list->count() - 1);
    m_currentRow = row;
    if (row >= 0 && m_overview->currentIndex().row() != row) {
        m_overview->setCurrentIndex(m_list->index(row, 0));
        m_overview->scrollTo(m_list->index(row, 0));
    }
    showCurrent();
}

ScheduleEdit *Body::editor()
{
    // Made for the first entry shown: a window opened on an empty list
    // starts without the editor's cost.
    if (m_editor)
        return m_editor;
    m_editor = new ScheduleEdit;
    ui->MainLayout->addWidget(m_editor, 0, 0);
    connect(m_editor, &ScheduleEdit::insertUp, this, [this] { insertFromBuffer(m_currentRow); });
    connect(m_editor, &ScheduleEdit::insertDown, this,
            [this] { insertFromBuffer(m_currentRow + 1); });
    connect(m_editor, &ScheduleEdit::copy, this, &Body::copyCurrent);
    connect(m_editor, &ScheduleEdit::cut, this, &Body::cutCurrent);
    connect(m_editor, &ScheduleEdit::entryChanged, this, [this] {
        if (m_currentRow >= 0)
            m_list->setEntry(m_currentRow, m_editor->entry());
    });
    return m_editor;
}

void Body::showCurrent()
{
    const int row = m_currentRow;
    if (m_editor)
        m_editor->setVisible(row >= 0);
    if (row < 0)
        return;
    editor()->show();
    // Only what changed is shown again: the field being typed in keeps its
    // cursor.
    if (!(m_editor->entry() == m_list->entry(row))) {
        const QSignalBlocker quiet(m_editor);
        m_editor->setEntry(m_list->entry(row));
    }
    m_editor->setNumber(row + 1);
    const ScheduleModel::Outcome &o = m_list->outcome(row);
    m_editor->setMark(markFor(o.state));
    m_editor->setStatus(o.state == EntryState::Pending || o.state == EntryState::Running
                            ? QString()
                            : ScheduleModel::stateText({o.state, {}, {}, {}}),
                        o.text);
    m_editor->setScheduleWarnings(EntryCheck::checkSchedule(m_list->entries()).value(row));
}

void Body::newEntry(int row)
{
    m_list->insert(row, Entry::defaults());
    setCurrentRow(row);
}

void Body::insertFromBuffer(int row)
{
    if (m_cutBuffer->count() == 0 || m_currentRow < 0)
        return;
    m_list->put(row, m_cutBuffer->take(0));
    setCurrentRow(row);
}

void Body::comeBack()
{
    if (m_cutBuffer->count() == 0)
        return;
    m_list->put(m_list->count(), m_cutBuffer->take(0));
    setCurrentRow(m_list->count() - 1);
}

void Body::copyCurrent()
{
    if (m_currentRow >= 0)
        m_cutBuffer->insert(0, m_list->entry(m_currentRow));
}

void Body::cutCurrent()
{
    const int row = m_currentRow;
    if (row < 0)
        return;
    if (m_run->runGoing() && row == m_run->runningRow() &&
        !ask(tr("Entry %1 is being run. Move it to the cut buffer?").arg(row + 1)))
        return;
    m_cutBuffer->put(0, m_list->take(row));
}

bool Body::clearList()
{
    if (m_list->count() == 0)
        return true;
    if (m_run->runGoing() && !ask(tr("A run is going. Move every entry, the running one included, "
                                     "to the cut buffer?")))
        return false;
    // The first entry ends up latest, on top of the buffer.
    while (m_list->count() > 0)
        m_cutBuffer->put(0, m_list->take(m_list->count() - 1));
    return true;
}

void Body::tickOnly(const QSet<int> &numbers)
{
    // The script's choice for this run, not an edit of the schedule.
    const bool changed = m_entriesChanged;
    for (int i = 0; i < m_list->count(); ++i) {
        Entry e = m_list->entry(i);
        e.exec = numbers.contains(i + 1);
        m_list->setEntry(i, e);
    }
    m_entriesChanged = changed;
}
