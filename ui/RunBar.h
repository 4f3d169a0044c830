// The run bar's own part: the state of both links (the bus server and the
// target) with a Connect/Disconnect button, the run's times (elapsed, this
// entry's time left, the expected end; what the run took once it ended; who
// the run waits for), "Stop after this entry" and what an entry error does.
// It shows the run controller's and the bus client's figures and hands the
// choices to them.
#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
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

private:
    void showTimes();
    void showLinks();
    void runEnded();
    void showEnd();

    RunController *m_run = nullptr;
    Tolva *m_bus = nullptr;
    QString m_busState;
    QLabel *m_links = nullptr;
    QPushButton *m_connect = nullptr;
    QLabel *m_times = nullptr;
    QCheckBox *m_stopAfterEntry = nullptr;
    QComboBox *m_onEntryError = nullptr;
    QTimer *m_clock = nullptr;
    QString m_took; // what the last run took
};
