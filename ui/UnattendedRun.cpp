// SPDX-License-Identifier: GPL-3.0-or-later
#include "UnattendedRun.h"

#include "Body.h"
#include "ConfigStore.h"
#include "EntrySelection.h"
#include "LogArea.h"
#include "RunRecovery.h"
#include "ScheduleDocument.h"
#include "Tolva.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QTextStream>
#include <QTimer>

#include <climits>
#include <cstdio>

UnattendedRun::Options UnattendedRun::optionsFrom(const ConfigStore &store)
{
    Options o;
    if (store.contains(QStringLiteral("-load")))
        o.loadFile = store.value(QStringLiteral("-load"));
    o.go = store.contains(QStringLiteral("-go"));
    o.confirmPrompts = store.contains(QStringLiteral("-confirm-prompts"));
    o.quitWhenDone = store.contains(QStringLiteral("-quit-when-done"));
    o.resumeLast = store.contains(QStringLiteral("-resume-last"));
    if (store.contains(QStringLiteral("-entries")))
        o.entries = store.value(QStringLiteral("-entries"));
    return o;
}

UnattendedRun::UnattendedRun(Body *body, const Options &options, QTextStream *out, QObject *parent)
    : QObject(parent), m_body(body), m_options(options), m_out(out),
      m_quit([](int status) { QCoreApplication::exit(status); })
{
    if ((m_options.go || m_options.resumeLast) && m_out)
        connect(m_body->logPanel(), &LogArea::logged, this, &UnattendedRun::echo);
    RunController *run = m_body->controller();
    RunController::Resumed resumed = RunController::Resumed::NothingToResume;
    if (m_options.resumeLast) {
        resumed = m_body->resumeLastRun();
        m_resumed = resumed == RunController::Resumed::Yes;
        if (resumed == RunController::Resumed::NothingToResume)
            m_body->logPanel()->log(tr("-resume-last: the last run in %1 ended; nothing to resume.")
                                        .arg(run->journalPath()));
        else if (m_resumed && !m_options.loadFile.isEmpty())
            m_body->logPanel()->log(
                tr("-resume-last: %1 is not loaded; the run cut short goes on instead.")
                    .arg(m_options.loadFile));
    }
    if (m_options.confirmPrompts) {
        // Queued: the prompt is shown and logged first, as an operator
        // would see it.
        connect(run, &RunController::promptRaised, run, &RunController::confirmPrompt,
                Qt::QueuedConnection);
    }
    if (m_options.go || m_resumed) {
        connect(run, &RunController::targetReadyChanged, this, &UnattendedRun::targetReady);
        // Every wait of a night nobody watches has an end, the first one too.
        Tolva *bus = m_body->bus();
        m_busUp = bus->isConnected();
        connect(bus, &Tolva::tolvaIsReady, this, [this] { m_busUp = true; });
        connect(bus, &Tolva::tolvaIsNotReady, this, [this] { m_busUp = false; });
        connect(bus, &Tolva::log, this, [this](const QString &line, const QColor &c) {
            if (c == QColor(Qt::red))
                m_lastBusLine = line;
        });
        // A limit of weeks must not wrap round to an immediate time-out.
        const double ms = qMin(run->waitLimitSeconds() * 1000, double(INT_MAX));
        QTimer::singleShot(int(ms), this, &UnattendedRun::startWaitPassed);
    }
    if (m_options.quitWhenDone) {
        connect(run, &RunController::runFinished, this, &UnattendedRun::runFinished);
        // Nobody is there to decide about a wait that passed its limit: the
        // run ends on it, and so does the program, with status 1.
        run->setEndRunOnPassedLimit(true);
    }
    if (resumed == RunController::Resumed::Failed) {
        // The copy named by the journal is gone: running -load instead
        // could measure the night's first entries again.
        m_loadFailed = true;
        if (m_options.quitWhenDone)
            QTimer::singleShot(0, this, [this] { runFinished(false); });
    } else if (!m_options.loadFile.isEmpty() && !m_resumed) {
        if (!m_body->loadScheduleFrom(m_options.loadFile)) {
            m_loadFailed = true;
            const QString msg =
                tr("Cannot read the schedule file %1; no run is started.").arg(m_options.loadFile);
            m_body->logPanel()->log(msg, Severity::Error);
            std::fprintf(stderr, "skedra: %s\n", qPrintable(msg));
            if (m_options.quitWhenDone) // once the event loop runs
                QTimer::singleShot(0, this, [this] { runFinished(false); });
        } else {
            selectEntries();
        }
    } else if (m_resumed && !m_options.entries.isEmpty()) {
        m_body->logPanel()->log(
            tr("-entries is not used: the run cut short goes on with its own entries."));
    }
}

void UnattendedRun::selectEntries()
{
    if (m_options.entries.isEmpty())
        return;
    const EntrySelection::Result sel =
        EntrySelection::parse(m_options.entries, m_body->scheduleModel()->count());
    if (!sel.ok) {
        m_loadFailed = true;
        m_body->logPanel()->log(sel.error + QLatin1Char(' ') + tr("No run is started."),
                                Severity::Error);
        std::fprintf(stderr, "skedra: %s\n", qPrintable(sel.error));
        if (m_options.quitWhenDone)
            QTimer::singleShot(0, this, [this] { runFinished(false); });
        return;
    }
    m_body->document()->tickOnly(sel.numbers);
}

void UnattendedRun::startWaitPassed()
{
    if (m_started || m_loadFailed || m_done)
        return;
    const Tolva *bus = m_body->bus();
    const QString seconds = QString::number(m_body->controller()->waitLimitSeconds());
    QString why;
    if (!m_busUp)
        why = tr("Not logged in to the bus server at %1:%2 after %3 s (WAIT_LIMIT)")
                  .arg(bus->host(), bus->port(), seconds);
    else
        why = tr("The target %1 has not logged in to the bus after %2 s (WAIT_LIMIT)")
                  .arg(m_body->controller()->targetName(), seconds);
    if (!m_busUp && !m_lastBusLine.isEmpty())
        why += QStringLiteral(": ") + m_lastBusLine;
    m_body->logPanel()->log(why + QStringLiteral("; ") + tr("no run is started."), Severity::Error);
    // Said so, it stays so: a target turning up later must not begin a
    // night the log says was not started.
    m_gaveUp = true;
    if (m_options.quitWhenDone)
        runFinished(false);
}

void UnattendedRun::quitOnSignal()
{
    if (m_done)
        return;
    m_body->logPanel()->log(tr("Asked to quit by a signal: the run stops and Skedra ends."),
                            Severity::Error);
    // Nobody is there to answer: the run is stopped and journaled as such
    // when the window closes.
    m_body->setAsk([](const QString &) { return true; });
    // A start held for its time is a night asked for, too.
    const bool going = m_body->runGoing() || m_body->controller()->startsAt().isValid();
    if (going)
        m_body->stopRun();
    m_done = true;
    // A night asked for and not measured, stopped or never begun, is no
    // success.
    m_status = going || (unattended() && !m_started) ? 1 : 0;
    m_body->close();
    m_quit(m_status);
}

int UnattendedRun::exitStatus(int loopStatus) const
{
    return m_done ? m_status : loopStatus;
}

void UnattendedRun::targetReady(bool ready)
{
    if (!ready || m_started || m_loadFailed || m_gaveUp || m_done)
        return;
    m_started = true;
    m_body->logPanel()->log(m_resumed ? tr("Resuming the run (-resume-last).")
                                      : tr("Starting the run (-go)."));
    m_body->startRun();
}

void UnattendedRun::echo(const QString &line)
{
    *m_out << line << '\n';
    m_out->flush();
}

void UnattendedRun::runFinished(bool ok)
{
    if (m_done)
        return;
    m_done = true;
    // Entries that failed while the run went on (ON_ENTRY_ERROR skip) fail
    // the night too.
    // After -resume-last the night is every run it took: entries that failed
    // or were not measured in the runs before count too.
    const RunController *run = m_body->controller();
    const QList<int> earlier = run->failedEarlierInTheNight();
    if (!earlier.isEmpty())
        m_body->logPanel()->log(
            tr("Entries that failed or were not measured earlier in the night: %1.")
                .arg(RunRecovery::numberList(earlier)),
            Severity::Error);
    m_status =
        ok && run->failedEntries() == 0 && run->unmeasuredEntries().isEmpty() && earlier.isEmpty()
            ? 0
            : 1;
    m_body->logPanel()->log(ok ? tr("Run finished; quitting (-quit-when-done).")
                               : tr("Run ended on an error; quitting (-quit-when-done)."));
    // Nobody is there to answer a question: the run is over and the list is
    // the one its file holds.
    m_body->setAsk([](const QString &) { return true; });
    m_body->close();
    m_quit(m_status);
}
