// SPDX-License-Identifier: GPL-3.0-or-later
// Unattended runs from the command line, for overnight scripts and tests:
//   -load FILE         load FILE as the Load button does, once the window is built;
//   -go                start the run as the Start button does, as soon as the
//                      target is ready (once); every log line is also printed
//                      on standard output;
//   -confirm-prompts   confirm every operator prompt as it appears (the run
//                      controller logs each prompt and its confirmation;
//                      simulations and trials without beam only);
//   -resume-last       when the journal's last run did not end (the program or
//                      the PC stopped during it), load that run's copy with
//                      the entries done unticked and resume it from the entry
//                      that was running, as soon as the target is ready; the
//                      log says what was resumed. With nothing to resume,
//                      -load and -go act as without it;
//   -entries LIST      tick only the entries LIST names in the loaded schedule
//                      (numbers from 1, ranges: "1,3-5"); a list that names
//                      no entry of it is an error and nothing is started;
//   -start-at hh:mm    Start (and -go) holds the run until the next such time,
//                      with a countdown in the run bar; Stop cancels it;
//   -end-by hh:mm      the deadline (before END_BY): no entry is begun whose
//                      estimate and spread would end after the next such time;
//                      the rest are journaled skipped and the run finishes by
//                      the deadline;
//   -quit-when-done    when the run finishes, close the program without asking;
//                      the exit status is 0 when the run ended well (finished
//                      by the deadline included) and 1 on an error or when any
//                      entry failed.
//                      A wait on the target that passes its limit (WAIT_LIMIT)
//                      ends the run on an error instead of waiting forever.
// With -go or -resume-last, the bus and the target are waited for at most
// WAIT_LIMIT: then the log says which link is missing and, with
// -quit-when-done, the program ends with status 1. A SIGTERM or SIGINT
// during such a run stops it (journaled as stopped) and ends the program
// without any question; an operator's window asks instead.
// A schedule file that cannot be read is an error of the run: it is logged,
// no run is started, and with -quit-when-done the program ends with status 1
// instead of running an empty schedule "successfully".
// main() builds one after the main window and asks it for the exit status.
#pragma once

#include <QObject>
#include <QString>

#include <functional>

class Body;
class ConfigStore;
class QTextStream;

class UnattendedRun : public QObject
{
    Q_OBJECT
public:
    struct Options
    {
        QString loadFile;
        bool go = false;
        bool confirmPrompts = false;
        bool quitWhenDone = false;
        bool resumeLast = false;
        QString entries; // -entries LIST
    };
    static Options optionsFrom(const ConfigStore &store);

    // out receives the echoed log lines (standard output in the program).
    UnattendedRun(Body *body, const Options &options, QTextStream *out = nullptr,
                  QObject *parent = nullptr);

    // The program's exit status: the run's verdict when -quit-when-done ended
    // the program, otherwise the event loop's own status.
    int exitStatus(int loopStatus) const;
    bool runStarted() const { return m_started; }
    bool resumed() const { return m_resumed; }
    bool loadFailed() const { return m_loadFailed; }
    // Nobody watches the run: signals and waits end it without a question.
    bool unattended() const { return m_options.go || m_options.resumeLast; }
    // SIGTERM/SIGINT in an unattended run: the run stops, the program ends.
    void quitOnSignal();
    // What ends the program (QCoreApplication::exit by default).
    void setQuitAction(std::function<void(int)> quit) { m_quit = std::move(quit); }

private slots:
    void targetReady(bool ready);
    void echo(const QString &line);
    void runFinished(bool ok);
    void startWaitPassed();

private:
    void selectEntries();

    Body *m_body = nullptr;
    Options m_options;
    QTextStream *m_out = nullptr;
    std::function<void(int)> m_quit;
    bool m_started = false;
    bool m_loadFailed = false;
    bool m_resumed = false;
    bool m_done = false;
    bool m_gaveUp = false; // the start-up wait passed: no run is started
    int m_status = 0;
    bool m_busUp = false;
    QString m_lastBusLine; // the bus client's last red line: why it is not up
};
