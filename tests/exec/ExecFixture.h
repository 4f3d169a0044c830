// Shared set-up of the engine tests: option tables from a configuration text,
// the X-ray data from the program's resource, an engine in a worker thread of
// its own (as the main window runs it) wired to a TargetDouble that answers at
// once, and real schedule entries built offscreen.
#pragma once

#include "Exec.h"
#include "ExecCtrl.h"
#include "NumberFormat.h"
#include "TargetDouble.h"

#include "ConfigStore.h"
#include "OneBlock.h"
#include "OneBlocks.h"
#include "OptionTables.h"
#include "ScheduleEdit.h"
#include "XrayDataBase.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

inline const QString kTarget = QStringLiteral("Dorvan.remote");

inline QString baseConfig()
{
    return QStringLiteral("Crystal Si111 3.13553 4000 28000 \"Si(111)\"\n"
                          "DARK \"-\"\nDARK Y\nDARK N\nTUNE \"-\"\nTUNE Y\nTUNE N\n"
                          "SCAN_TYPE Quick\nSCAN_TYPE Step\nMEAS_MODE Trans\nMEAS_MODE Fluo\n"
                          "BLK_SETUP Std\nBLK_SETUP File\nBLK_SETUP User\nBLK_SETUP Extra\n"
                          "STD_TYPE XAFS\nSTD_TYPE XANES\nSTD_TYPE EXAFS\n"
                          "Q_MEAS_MODE Trans 1\nQ_MEAS_MODE Fluo 4\n"
                          "S_MEAS_MODE Trans 0\nS_MEAS_MODE Fluo 2\n");
}

inline QString modeConfig()
{
    return QStringLiteral("HOCMode 0 4000 7999.99\nHOCMode 1 8000 14999.99\n"
                          "HOCMode 2 15000 40000\nDefaultHOCMode 1\n"
                          "MonoMode 0 4000 27999.99\nMonoMode 1 28000 40000\nDefaultMonoMode 0\n");
}

class ExecFixture
{
public:
    QTemporaryDir tmp;
    QThread *thread = nullptr;
    Exec *exec = nullptr;
    TargetDouble *target = nullptr;
    QList<ScheduleEdit *> entries;

    // Once per test program; the working directory is a temporary one.
    bool setUp()
    {
        QDir::setCurrent(tmp.path());
        buildTables(baseConfig() + modeConfig());
        return tmp.isValid() && xrayDataBase().load(QStringLiteral(":XrayDataBase2.txt"));
    }

    static void buildTables(const QString &text)
    {
        ConfigStore store;
        store.readText(text);
        buildOptionTables(store);
    }

    void startEngine()
    {
        exec = new Exec;
        thread = new QThread;
        exec->moveToThread(thread);
        thread->start();
        target = new TargetDouble;
        target->attach(exec);
        target->autoAnswer = true;
        target->autoConfirm = true;
        Exec *e = exec;
        TargetDouble *t = target;
        QMetaObject::invokeMethod(
            exec, [e, t] { e->setup(t, kTarget); }, Qt::BlockingQueuedConnection);
    }

    void stopEngine()
    {
        if (thread)
            Exec::stopThread(thread, 10000);
        delete exec;
        delete thread;
        delete target;
        exec = nullptr;
        thread = nullptr;
        target = nullptr;
        qDeleteAll(std::exchange(entries, {}));
    }

    // A new entry as the operator leaves it after typing element and holder.
    ScheduleEdit *addEntry(const QString &elm, const QString &holder, bool ticked = true)
    {
        auto *e = new ScheduleEdit;
        e->ui.TargetElm->setText(elm);
        e->newTargetSelected();
        e->ui.HolderNo->setText(holder);
        e->ui.Exec->setChecked(ticked);
        entries.append(e);
        return e;
    }

    // User blocks with absolute starts in eV, shown in unit.
    static void setUserBlocks(ScheduleEdit *e, int unit, const QStringList &startsEV,
                              const QList<int> &points, const QString &times)
    {
        e->ui.BlockDefType->setCurrentIndex(2);
        const int n = int(startsEV.size()) - 1;
        e->ui.Blocks->setMinimum(qMin(n, e->ui.Blocks->minimum()));
        e->ui.Blocks->setValue(n);
        e->activeBlocks()->setBlocks(n, startsEV, points, {});
        e->ui.BlockUnit->setCurrentIndex(unit);
        e->ui.MeasTimes->setText(times);
    }

    // Waits until the target has received a command starting with `word`
    // (count times in all).
    bool waitFor(const QString &word, int count = 1)
    {
        QDeadlineTimer deadline(10000);
        while (target->lines.filter(QRegularExpression("^" + word)).size() < count &&
               !deadline.hasExpired())
            QTest::qWait(5);
        return target->lines.filter(QRegularExpression("^" + word)).size() >= count;
    }
};
