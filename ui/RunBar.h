// SPDX-License-Identifier: GPL-3.0-or-later
// The run bar's own part: the state of both links (the bus server and the
// target) with a Connect/Disconnect button, the run's times (elapsed, this
// entry's time left, the expected end and the deadline, after Start and after
// every Resume; a one-line summary once the run ended; who the run waits
// for; the countdown of a held start), the start time ("Start at"), "Stop
// after this entry" and what an entry error does.
// It shows the run controller's and the bus client's figures and hands the
// choices to them.
#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QTimeEdit;
class QPushButton;
class QTimer;
class RunController;
class Tolva;

class RunBar : public QWidget
{
    Q_OBJECT
public:
    RunBar(RunController *run, Tolva *bus, QWidget *parent = nullptr);

    QLabel *timesLabel() const { return m_times; }
    QLabel *linksLabel() const { return m_links; }
    QPushButton *connectButton() const { return m_connect; }
    QCheckBox *stopAfterEntryBox() const { return m_stopAfterEntry; }
    QComboBox *onEntryErrorBox() const { return m_onEntryError; }
    QCheckBox *startAtBox() const { return m_startAt; }
    QTimeEdit *startAtTime() const { return m_startTime; }

    // The last run's one line: how it ended, its entries, its time.
    static QString summaryText(const RunController &run);

private:
    void showTimes();
    void showLinks();
    void runEnded();
    void showEnd();
    void runBegan();
    void startHeld(bool held);
    void startTimeChosen();

    RunController *m_run = nullptr;
    Tolva *m_bus = nullptr;
    QString m_busState;
    QLabel *m_links = nullptr;
    QPushButton *m_connect = nullptr;
    QLabel *m_times = nullptr;
    QCheckBox *m_stopAfterEntry = nullptr;
    QComboBox *m_onEntryError = nullptr;
    QCheckBox *m_startAt = nullptr;
    QTimeEdit *m_startTime = nullptr;
    QTimer *m_clock = nullptr;
    bool m_going = false; // a run (or a held start) is shown
    QString m_took;       // the last run's summary
};
