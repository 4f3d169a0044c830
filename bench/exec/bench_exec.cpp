// SPDX-License-Identifier: GPL-3.0-or-later
// Dead time of the execution engine: 200 ticked entries with standard blocks
// run against a target double that answers every command and confirms every
// prompt at once, so that the engine's own pace is all that is measured. The
// floor is seven 10 ms ticks per entry (70 ms).
#include "ConfigStore.h"
#include "Exec.h"
#include "OptionTables.h"
#include "XrayDataBase.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int kEntries = 200;
constexpr double kFloorMs = 70.0;

bool buildTables(const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("bench.cfg"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    f.write("Crystal Si111 3.13553 4000 28000\n"
            "DARK \"-\"\nDARK Y\nDARK N\nTUNE \"-\"\nSCAN_TYPE Quick\nSCAN_TYPE Step\n"
            "MEAS_MODE Trans\nMEAS_MODE Fluo\nBLK_SETUP Std\nBLK_SETUP File\nBLK_SETUP User\n"
            "STD_TYPE XAFS\nSTD_TYPE XANES\nSTD_TYPE EXAFS\n"
            "Q_MEAS_MODE Trans 1\nS_MEAS_MODE Trans 0\n"
            "HOCMode 0 4000 7999.99\nHOCMode 1 8000 14999.99\nHOCMode 2 15000 40000\n"
            "MonoMode 0 4000 27999.99\nMonoMode 1 28000 40000\n");
    f.close();
    ConfigStore store;
    if (!store.readFile(path))
        return false;
    buildOptionTables(store);
    return true;
}

// The target as an ideal one would answer: every move ends, the block count
// is reported and every measurement ends at once; every prompt is confirmed.
class Answerer : public QObject
{
public:
    explicit Answerer(Exec *exec) : exec(exec)
    {
        connect(exec, &Exec::sendCmd, this, &Answerer::sendCmd);
        connect(exec, &Exec::newPrompt, this, [this](const QString &, PromptType type) {
            QMetaObject::invokeMethod(this->exec,
                                      [e = this->exec, type] { e->noticedPromptOk(type); });
        });
    }
    void sendCmd(const QString &, const QString &, const QString &cmd)
    {
        lines.append(cmd);
        const QString word = cmd.section(QLatin1Char(' '), 0, 0);
        Exec *e = exec;
        if (word == QLatin1String("SetCurrentEnergy"))
            QMetaObject::invokeMethod(e, [e] { e->setMainThIsMoving(false); });
        else if (word == QLatin1String("MoveSHolderTo"))
            QMetaObject::invokeMethod(e, [e] { e->setSHolderIsMoving(false); });
        else if (word == QLatin1String("GetBlockNum"))
            QMetaObject::invokeMethod(e, [e] { e->setReceivedBlockNum(3); });
        else if (word == QLatin1String("Start"))
            QMetaObject::invokeMethod(e, [e] { e->setInXafsMeas(false); });
    }

    Exec *exec;
    QStringList lines;
};

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid() || !buildTables(dir) ||
        !xrayDataBase().load(QStringLiteral(":XrayDataBase2.txt"))) {
        std::fprintf(stderr, "bench_exec: cannot set up tables or X-ray data\n");
        return 1;
    }

    QList<Entry> entries;
    for (int i = 0; i < kEntries; ++i) {
        Entry e = Entry::defaults();            // copper
        e.holder = QString::number(1 + i % 12); // the changer moves each time
        entries.append(e);
    }

    auto *exec = new Exec;
    QThread thread;
    exec->moveToThread(&thread);
    thread.start();
    Answerer target(exec);
    QMetaObject::invokeMethod(
        exec,
        [exec] {
            exec->setup(QStringLiteral("Dorvan.remote"));
            exec->setTargetIsReady(true);
        },
        Qt::BlockingQueuedConnection);

    QElapsedTimer clock;
    bool ok = false;
    qint64 elapsedMs = 0;
    QObject::connect(exec, &Exec::finished, &app, [&](bool result) {
        elapsedMs = clock.elapsed();
        ok = result;
        app.quit();
    });
    // A watchdog, so that a broken engine ends the benchmark instead of hanging it.
    QTimer::singleShot(kEntries * 1000, &app, [&app] { app.exit(2); });
    clock.start();
    QMetaObject::invokeMethod(exec, [exec, entries] { exec->start(entries); });
    const int status = QCoreApplication::exec();

    Exec::stopThread(&thread);
    delete exec;

    const int starts = int(target.lines.count(QStringLiteral("Start")));
    if (status != 0 || !ok || starts != kEntries) {
        std::fprintf(stderr, "bench_exec: run did not complete (status %d, %d of %d started)\n",
                     status, starts, kEntries);
        return 1;
    }
    const double perEntry = double(elapsedMs) / kEntries;
    std::printf("exec entries: %d entries\n", kEntries);
    std::printf("exec commands sent: %d lines\n", int(target.lines.size()));
    std::printf("exec total time: %lld ms\n", static_cast<long long>(elapsedMs));
    std::printf("exec mean time per entry: %.2f ms\n", perEntry);
    std::printf("exec ratio to seven ticks (70 ms): %.3f x\n", perEntry / kFloorMs);
    return 0;
}
