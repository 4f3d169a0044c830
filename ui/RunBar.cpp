// SPDX-License-Identifier: GPL-3.0-or-later
#include "RunBar.h"

#include "Estimate.h"
#include "ExecFlags.h"
#include "RunController.h"
#include "Tolva.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimeEdit>
#include <QTimer>

RunBar::RunBar(RunController *run, Tolva *bus, QWidget *parent)
    : QWidget(parent), m_run(run), m_bus(bus)
{
    m_links = new QLabel;
    m_links->setObjectName(QStringLiteral("Links"));
    m_connect = new QPushButton;
    m_connect->setObjectName(QStringLiteral("BusConnect"));
    m_times = new QLabel;
    m_times->setObjectName(QStringLiteral("RunTimes"));
    m_stopAfterEntry = new QCheckBox(tr("Stop after this entry"));
    m_stopAfterEntry->setObjectName(QStringLiteral("StopAfterEntry"));
    m_onEntryError = new QComboBox;
    m_onEntryError->setObjectName(QStringLiteral("OnEntryError"));
    m_onEntryError->addItems({tr("On error: stop"), tr("On error: skip")});
    m_onEntryError->setToolTip(tr("What the run does when an entry fails: end, or go on with "
                                  "the next entry."));
    m_onEntryError->setCurrentIndex(run->skipFailed() ? 1 : 0);
    m_startAt = new QCheckBox(tr("Start at"));
    m_startAt->setObjectName(QStringLiteral("StartAt"));
    m_startAt->setToolTip(tr("Start holds the run until this time of day (the next such time), "
                             "with a countdown; Stop cancels it."));
    m_startTime = new QTimeEdit;
    m_startTime->setObjectName(QStringLiteral("StartAtTime"));
    m_startTime->setDisplayFormat(QStringLiteral("HH:mm"));
    m_startAt->setChecked(run->startTime().isValid());
    if (run->startTime().isValid())
        m_startTime->setTime(run->startTime());
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_links);
    layout->addWidget(m_connect);
    layout->addWidget(m_times);
    layout->addWidget(m_startAt);
    layout->addWidget(m_startTime);
    layout->addWidget(m_stopAfterEntry);
    layout->addWidget(m_onEntryError);

    connect(m_stopAfterEntry, &QCheckBox::toggled, run, &RunController::setStopAfterEntry);
    connect(run, &RunController::stopAfterEntryCleared, m_stopAfterEntry,
            [this] { m_stopAfterEntry->setChecked(false); });
    connect(m_onEntryError, &QComboBox::currentIndexChanged, run,
            [run](int i) { run->setSkipFailed(i == 1); });

    // Which link is down, bus server or target, where a run is watched.
    connect(bus, &Tolva::stateText, this, [this](const QString &state) {
        m_busState = state;
        showLinks();
    });
    connect(run, &RunController::targetReadyChanged, this, &RunBar::showLinks);
    connect(m_connect, &QPushButton::clicked, bus, [bus] {
        if (bus->wantsConnection())
            bus->disconnectFromTolva();
        else
            bus->connectToTolva();
    });
    m_busState = bus->statusText();
    showLinks();

    m_clock = new QTimer(this);
    m_clock->setInterval(1000);
    connect(m_clock, &QTimer::timeout, this, &RunBar::showTimes);
    connect(run, &RunController::runStarted, this, &RunBar::runBegan);
    connect(run, &RunController::startHeld, this, &RunBar::startHeld);
    connect(m_startAt, &QCheckBox::toggled, this, &RunBar::startTimeChosen);
    connect(m_startTime, &QTimeEdit::timeChanged, this, &RunBar::startTimeChosen);
    connect(run, &RunController::runFinished, this, &RunBar::runEnded);
    connect(run, &RunController::stageChanged, this, &RunBar::showEnd);
    connect(run, &RunController::promptRaised, this, &RunBar::showTimes);
    connect(run, &RunController::promptClosed, this, &RunBar::showTimes);
}

void RunBar::showLinks()
{
    m_links->setText(
        tr("Bus: %1  Target %2: %3")
            .arg(m_busState, m_run->targetName(), m_run->targetReady() ? tr("there") : tr("away")));
    m_connect->setText(m_bus->wantsConnection() ? tr("Disconnect") : tr("Connect"));
}

void RunBar::startTimeChosen()
{
    m_run->setStartTime(m_startAt->isChecked() ? m_startTime->time() : QTime());
}

void RunBar::runBegan()
{
    m_going = true;
    m_clock->start();
    showTimes(); // at once, not a second later
}

void RunBar::startHeld(bool held)
{
    if (held) {
        m_going = true;
        m_clock->start();
        showTimes();
    } else if (!m_run->runGoing()) {
        // Cancelled: the bar shows what it showed before.
        m_going = false;
        m_clock->stop();
        m_times->setText(m_took);
    }
}

QString RunBar::summaryText(const RunController &run)
{
    const RunController::Summary s = run.summary();
    QString how;
    switch (s.ending) {
    case RunController::Ending::Finished:
        how = tr("Finished");
        break;
    case RunController::Ending::FinishedByDeadline:
        how =
            tr("Finished by the deadline %1").arg(run.deadline().toString(QStringLiteral("HH:mm")));
        break;
    case RunController::Ending::Stopped:
        how = tr("Stopped");
        break;
    case RunController::Ending::Failed:
        how = tr("Ended on an error");
        break;
    case RunController::Ending::None:
        return QString();
    }
    return tr("%1: %2 done, %3 failed, %4 skipped, %5 not measured; took %6 (estimated %7)")
        .arg(how)
        .arg(s.done)
        .arg(s.failed)
        .arg(s.skipped)
        .arg(s.notMeasured)
        .arg(Estimate::format(double(s.took)), Estimate::format(s.estimated));
}

void RunBar::showTimes()
{
    const QDateTime now = QDateTime::currentDateTime();
    if (!m_run->runGoing() && m_run->startsAt().isValid()) {
        m_times->setText(tr("Starts at %1, in %2")
                             .arg(m_run->startsAt().toString(QStringLiteral("HH:mm")),
                                  Estimate::format(double(now.secsTo(m_run->startsAt())))));
        return;
    }
    if (!m_run->runGoing())
        return;
    // A run that needs someone says so where the operator looks.
    if (!m_run->openPrompts().isEmpty()) {
        const RunController::Prompt &p = m_run->openPrompts().first();
        m_times->setText(tr("Waiting for the operator for %1: %2")
                             .arg(Estimate::format(double(p.raised.secsTo(now))), p.title()));
        return;
    }
    const RunController::Times t = m_run->times(now);
    QString text =
        tr("Elapsed %1  Entry left %2  End %3")
            .arg(Estimate::format(double(t.elapsed)), Estimate::format(double(t.entryLeft)),
                 t.end.toString(QStringLiteral("HH:mm")));
    if (m_run->deadline().isValid())
        text += QStringLiteral("  ") +
                tr("End by %1").arg(m_run->deadline().toString(QStringLiteral("HH:mm")));
    m_times->setText(text);
}

void RunBar::runEnded()
{
    // A Start refused for errors ends no run: the last run's figures stay.
    if (!m_going || m_run->runGoing())
        return;
    m_going = false;
    m_clock->stop();
    m_took = summaryText(*m_run);
    showEnd();
}

void RunBar::showEnd()
{
    if (m_run->runGoing() || m_took.isEmpty())
        return;
    // Stopped during a measurement, the target carries on to its end: the
    // bar says so until it has ended.
    m_times->setText(m_run->stage() == Stage::TargetMeasuring
                         ? tr("%1; the target is still measuring").arg(m_took)
                         : m_took);
}
