// SPDX-License-Identifier: GPL-3.0-or-later
// The dry run of the Check button and of -check: 100 ticked entries (quick
// and step scans, standard and user blocks, four elements, a new holder for
// each) checked, planned and estimated. Target: under 1 s. The median of
// several repetitions is reported.
#include "ConfigStore.h"
#include "DryRun.h"
#include "OptionTables.h"
#include "XrayDataBase.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kEntries = 100;
constexpr int kRepeats = 7;

void buildTables()
{
    ConfigStore store;
    store.readText(QStringLiteral(
        "Crystal Si111 3.13553 4000 28000\nCrystal Si311 1.63747 7000 40000\n"
        "DARK \"-\"\nDARK Y\nDARK N\nTUNE \"-\"\nSCAN_TYPE Quick\nSCAN_TYPE Step\n"
        "MEAS_MODE Trans\nMEAS_MODE Fluo\nBLK_SETUP Std\nBLK_SETUP File\nBLK_SETUP User\n"
        "STD_TYPE XAFS\nSTD_TYPE XANES\nSTD_TYPE EXAFS\n"
        "Q_MEAS_MODE Trans 1\nS_MEAS_MODE Trans 0\n"
        "HOCMode 0 4000 7999.99\nHOCMode 1 8000 14999.99\nHOCMode 2 15000 40000\n"
        "MonoMode 0 4000 27999.99\nMonoMode 1 28000 40000\n"));
    buildOptionTables(store);
}

QList<Entry> schedule()
{
    const QStringList elements{"Cu", "Fe", "Zn", "Ni"};
    QList<Entry> list;
    for (int i = 0; i < kEntries; ++i) {
        Entry e = Entry::defaults();
        e.targetElm = elements.at(i / 5 % elements.size());
        e.updateTarget();
        e.holder = QString::number(1 + i % 24);
        e.dataFile = QStringLiteral("bench-%1.dat").arg(i);
        if (i % 2 == 1) {
            e.selectScanType(EntryRows::StepScan);
            e.measTimes = QStringLiteral("1, 1, 2, 4");
        }
        if (i % 4 == 3) {
            e.blockDefType = EntryRows::UserBlocks;
            e.selectBlockUnit(i % 8 == 3 ? 1 : 0);
        }
        list.append(e);
    }
    return list;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    buildTables();
    if (!xrayDataBase().load(QStringLiteral(":XrayDataBase2.txt"))) {
        std::fprintf(stderr, "bench_dryrun: cannot load the X-ray data\n");
        return 1;
    }
    const QList<Entry> entries = schedule();
    const DryRun::Setup setup;
    std::vector<double> ms;
    int lines = 0;
    for (int r = 0; r < kRepeats; ++r) {
        QElapsedTimer t;
        t.start();
        const DryRun::Result result = DryRun::run(entries, setup, QDateTime::currentDateTime());
        ms.push_back(t.nsecsElapsed() / 1e6);
        lines = int(result.lines.size());
        if (result.entriesWithErrors != 0) {
            std::fprintf(stderr, "bench_dryrun: %d entries with errors\n",
                         result.entriesWithErrors);
            return 1;
        }
    }
    std::sort(ms.begin(), ms.end());
    std::printf("dryrun entries: %d entries\n", kEntries);
    std::printf("dryrun listing: %d lines\n", lines);
    std::printf("dryrun_median: %.2f ms for %d entries\n", ms[ms.size() / 2], kEntries);
    return 0;
}
