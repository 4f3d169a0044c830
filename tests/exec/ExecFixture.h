// Shared set-up of the engine tests: option tables from a configuration
// written into a temporary directory, the X-ray data from the program's
// resource, an engine in a worker thread of its own (as the main window runs
// it) wired to a TargetDouble, and real schedule entries built offscreen.
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
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>

inline const QString kTarget = QStringLiteral("Dorvan.remote");

inline QString baseConfig()
{
    return QStringLiteral("Crystal Si111 3.13553 4000 28000 \"Si(111)\"\n"
                          "DARK \"-\"\nDARK Y\nDARK N\n"
                          "TUNE \"-\"\nTUNE Y\nTUNE N\n"
                          "SCAN_TYPE Quick\nSCAN_TYPE Step\n"
                          "MEAS_MODE Trans\nMEAS_MODE Fluo\n"
                          "BLK_SETUP Std\nBLK_SETUP File\nBLK_SETUP User\nBLK_SETUP Extra\n"
                          "STD_TYPE XAFS\nSTD_TYPE XANES\nSTD_TYPE EXAFS\n"
                          "Q_MEAS_MODE Trans 1\nQ_MEAS_MODE Fluo 4\n"
                          "S_MEAS_MODE Trans 0\nS_MEAS_MODE Fluo 2\n");
}

inline QString modeConfig()
{
    return QStringLiteral("HOCMode 0 4000 7999.99\nHOCMode 1 8000 14999.99\n"
                          "HOCMode 2 15000 40000\nDefaultHOCMode 1\n"
                          "MonoMode 0 4000 27999.99\nMonoMode 1 28000 40000\n"
                          "DefaultMonoMode 0\n");
}

class ExecFixture
{
public:
    QTemporaryDir tmp;
    QThread *thread = nullptr;
    Exec *exec = nullptr;
    TargetDouble *target = nullptr;
    QList<ScheduleEdit *> entries;

    bool loadData()
    {
        if (!xrayDataBase().byZ().isEmpty())
            return true;
        return xrayDataBase().load(QStringLiteral(":XrayDataBase2.txt"));
    }

    bool buildTables(const QString &text)
    {
        const QString path = tmp.filePath(QStringLiteral("test.cfg"));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
            return false;
        f.write(text.toUtf8());
        f.close();
        ConfigStore store;
        if (!store.readFile(path))
            return false;
        buildOptionTables(store);
        return true;
    }

    void startEngine()
    {
        exec = new Exec;
        thread = new QThread;
        exec->moveToThread(thread);
        thread->start();
        target = new TargetDouble;
        target->attach(exec);
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
        qDeleteAll(entries);
        entries.clear();
    }

    // A new entry as the operator leaves it after typing element and holder.
    ScheduleEdit *addEntry(const QString &elm, const QString &holder)
    {
        auto *e = new ScheduleEdit;
        e->ui.TargetElm->setText(elm);
        e->newTargetSelected();
        e->ui.HolderNo->setText(holder);
        entries.append(e);
        return e;
    }

    // User blocks with absolute starts in eV, shown in unit.
    static void setUserBlocks(ScheduleEdit *e, int unit, const QStringList &startsEV,
                              const QList<int> &points, const QString &times)
    {
        e->ui.BlockDefType->setCurrentIndex(2);
        const int n = int(startsEV.size()) - 1;
        if (n < e->ui.Blocks->minimum())
            e->ui.Blocks->setMinimum(n);
        e->ui.Blocks->setValue(n);
        e->activeBlocks()->setBlocks(n, startsEV, points, {});
        e->ui.BlockUnit->setCurrentIndex(unit);
        e->ui.MeasTimes->setText(times);
    }

    static double startEV(const QString &elm)
    {
        return xrayDataBase().edgeEnergy(elm, QString()) - 300;
    }
};
