// The run bar's own part: the run's times (elapsed, this entry's time left,
// the expected end; what the run took once it ended), "Stop after this
// entry" and what an entry error does. It shows the run controller's
// figures and hands the two choices to it.
#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QTimer;
class RunController;

class RunBar : public QWidget
{
    Q_OBJECT
public:
    explicit RunBar(RunController *run, QWidget *parent = nullptr);

    QLabel *timesLabel() const { return m_times; }
    QCheckBox *stopAfterEntryBox() const { return m_stopAfterEntry; }
    QComboBox *onEntryErrorBox() const { return m_onEntryError; }

private:
    void showTimes();
    void runEnded();

    RunController *m_run = nullptr;
    QLabel *m_times = nullptr;
    QCheckBox *m_stopAfterEntry = nullptr;
    QComboBox *m_onEntryError = nullptr;
    QTimer *m_clock = nullptr;
};
