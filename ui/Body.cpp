// SPDX-License-Identifier: GPL-3.0-or-later
#include "Body.h"

#include "BusLink.h"
#include "ConfigStore.h"
#include "DryRunWindow.h"
#include "Estimate.h"
#include "ExecCtrl.h"
#include "ExecPlan.h"
#include "LayoutFrame.h"
#include "ListPane.h"
#include "LogArea.h"
#include "Prompter.h"
#include "RunBar.h"
#include "ScheduleDocument.h"
#include "ScheduleEdit.h"
#include "Startup.h"
#include "Tolva.h"
#include "ui_Body.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTableView>
#include <QTimer>
#include <QUrl>

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
    m_runBar = new RunBar(m_run, ui->TolvaCtrl);
    ui->horizontalLayout->addWidget(m_runBar);
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

ScheduleEdit *Body::entryEditor() const
{
    return m_pane->entryEditor();
}

int Body::currentRow() const
{
    return m_pane->currentRow();
}

void Body::setCurrentRow(int row)
{
    m_pane->setCurrentRow(row);
}

QTableView *Body::overviewTable() const
{
    return m_pane->overview();
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
    BusLink::join(tolva, m_run, logArea);
    tolva->configure(config());
}

void Body::setupRun()
{
    connect(ui->Go, &QPushButton::clicked, this, &Body::startRun);
    connect(ui->Stop, &QPushButton::clicked, m_run, &RunController::stop);
    connect(ui->Resume, &QPushButton::clicked, this, &Body::resumeClicked);
    connect(ui->Check, &QPushButton::clicked, this, [this] {
        if (!dryRunWindow)
            dryRunWindow = new DryRunWindow(this);
        dryRunWindow->showCheck(m_list->entries());
    });
    connect(ui->Report, &QPushButton::clicked, this, [this] {
        // Opened for whoever sits at the screen; offscreen there is nobody.
        const QString path = m_run->writeReport();
        if (!path.isEmpty() && QGuiApplication::platformName() != QLatin1String("offscreen"))
            QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    });
    connect(m_run, &RunController::flagChanged, execStat, &ExecCtrl::showFlag);
    connect(m_run, &RunController::errMsgChanged, execStat, &ExecCtrl::setErrMsg);
    connect(m_run, &RunController::errRemoteMsgChanged, execStat, &ExecCtrl::setErrRemoteMsg);
    connect(m_run, &RunController::stageChanged, this,
            [this](int stage) { ui->StageName->setText(stageName(stage)); });
    connect(m_run, &RunController::entryRunning, this, &Body::entryRunning);
    connect(m_run, &RunController::runFinished, this, &Body::runFinished);
    connect(m_run, &RunController::startRefused, this, [this](int row) {
        // Seen without the log window: the entry is shown, and named.
        m_pane->setCurrentRow(row);
        showMessage(tr("Start"), tr("The run is not started: entry %1 has errors: %2")
                                     .arg(row + 1)
                                     .arg(m_list->entry(row).errors.value(0)));
    });
    connect(m_run, &RunController::alert, this, &Body::alertOperator);
    connect(m_run, &RunController::journalFailed, this,
            [this](const QString &error) { showMessage(tr("Run journal"), error); });

    connect(m_run, &RunController::promptRaised, prompter, &Prompter::addPrompt);
    // Each prompt comes to the front, whatever window had it covered.
    connect(m_run, &RunController::promptRaised, prompter, [this] {
        prompter->raise();
        prompter->activateWindow();
        QApplication::alert(prompter);
    });
    connect(m_run, &RunController::promptClosed, prompter, &Prompter::closePrompt);
    connect(prompter, &Prompter::confirmed, m_run, &RunController::confirmPrompt);
    connect(m_run, &RunController::promptWaitedLong, prompter, [this] {
        prompter->raise();
        prompter->activateWindow();
    });
}

// ---- Operator's requests --------------------------------------------------------

void Body::click(Button button)
{
    QAbstractButton *const buttons[] = {ui->NewAtTop,     ui->NewAtBottom,  ui->Clear, ui->ComeBack,
                                        ui->SaveSchedule, ui->LoadSchedule, ui->Go,    ui->Stop,
                                        ui->Resume,       ui->Check,        ui->Report};
    const int first = int(Button::InsertUp);
    if (int(button) < first)
        return buttons[int(button)]->click();
    // The editor's own buttons, through the wiring a click goes through;
    // without an entry there is no editor and nothing to click.
    if (ScheduleEdit *editor = m_pane->entryEditor())
        editor->listButton(ScheduleEdit::ListButton(int(button) - first))->click();
}

void Body::setOption(Option option, bool on)
{
    (option == Option::ClearOnLoad ? ui->ClearOnLoad : ui->ShowTolvaStat)->setChecked(on);
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
    return m_doc->file();
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

void Body::entryRunning(int row)
{
    ui->CurrentNo->setText(row < 0 ? QStringLiteral("-") : QString::number(row + 1));
    // The running row is followed, in the overview and in the editor.
    if (row >= 0)
        m_pane->setCurrentRow(row);
}

void Body::runFinished()
{
    ui->CurrentNo->setText(QStringLiteral("-"));
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
    const bool discardsEdits = !going && m_doc->changed();
    if (going)
        question = tr("A run is going. Stop it and close Skedra?");
    else if (m_doc->changed())
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
        m_doc->discardEdits(); // the operator chose to close without saving
    m_run->close();
    emit closed();
    QFrame::closeEvent(event);
}

// ---- The list --------------------------------------------------------------------

void Body::setupList()
{
    // The overview above the entry editor; the operator can hide it.
    ui->gridLayout->removeWidget(ui->MainScroll);
    m_pane = new ListPane(m_list, m_cutBuffer, ui->MainScroll, ui->MainLayout);
    ui->gridLayout->addWidget(m_pane, 5, 0);
    // Its own controls (show the overview, the Edit menu) beside the list's buttons.
    ui->horizontalLayout_4->insertWidget(2, m_pane->controls());
    // Entries leave the list during a run, and entries the run measured,
    // only when the operator agrees.
    m_pane->setGuard([this](const QList<int> &rows, bool all) {
        const QString question = m_run->questionBeforeRemoving(rows, all);
        return question.isEmpty() || ask(question);
    });
    connect(m_pane, &ListPane::refused, this,
            [this](const QString &text) { logArea->log(text, Severity::Error); });
    cutBufferFrame->gridLayout()->addWidget(m_pane->cutBufferView(), 0, 0);
    connect(ui->ShowCutBuffer, &QCheckBox::toggled, cutBufferFrame, &LayoutFrame::setVisible);
    connect(ui->NewAtTop, &QPushButton::clicked, m_pane, [this] { m_pane->newEntry(0); });
    connect(ui->NewAtBottom, &QPushButton::clicked, m_pane,
            [this] { m_pane->newEntry(m_list->count()); });
    connect(ui->ComeBack, &QPushButton::clicked, m_pane, &ListPane::comeBack);
    connect(ui->Clear, &QPushButton::clicked, m_pane, [this] {
        // Cleared entries wait in the cut buffer and Clear can be undone,
        // but a list never saved is asked about first.
        if (m_list->count() > 0 && !m_run->runGoing() && m_doc->changed() &&
            !ask(tr("The schedule has changed since it was last saved or loaded. Clear it?")))
            return;
        m_pane->clear();
    });
}
