// SPDX-License-Identifier: GPL-3.0-or-later
// What a start finds of a night or an edit that a crash cut short: the
// journal's run that did not end (offered for resuming, or only named in the
// log of an unattended start) and the recovery file of unsaved edits
// (offered for loading, or named). The main window makes one at start-up and
// answers its questions.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <functional>

class ListPane;
class LogArea;
class RunController;
class ScheduleDocument;

class StartupRecovery
{
    Q_DECLARE_TR_FUNCTIONS(Body)
public:
    using Ask = std::function<bool(const QString &question)>;
    using Choose = std::function<int(const QString &text, const QStringList &choices)>;

    StartupRecovery(RunController *run, ScheduleDocument *doc, ListPane *pane, LogArea *log)
        : m_run(run), m_doc(doc), m_pane(pane), m_log(log)
    {
    }

    // With askOperator the operator is asked; otherwise both are only named.
    void recover(bool askOperator, const Ask &ask, const Choose &choose);

private:
    // True when the list now holds a resumed run.
    bool offerUnfinishedRun(bool askOperator, const Choose &choose);

    RunController *m_run;
    ScheduleDocument *m_doc;
    ListPane *m_pane;
    LogArea *m_log;
};
