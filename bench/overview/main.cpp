// SPDX-License-Identifier: GPL-3.0-or-later
// The schedule overview of a full night: 500 entries set into the schedule
// model, their estimates worked out as the view asks, then every cell read once as a view first
// shows them. Target: under 100 ms.
#include "RunEstimate.h"
#include "ScheduleModel.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

namespace {
constexpr int kEntries = 500;
constexpr int kRuns = 5;
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QList<Entry> entries;
    for (int i = 0; i < kEntries; ++i) {
        Entry e = Entry::defaults();
        e.holder = QString::number(i % 12 + 1);
        e.sampleId = QStringLiteral("S%1").arg(i, 3, 10, QLatin1Char('0'));
        e.scanType = i % 2 ? EntryRows::StepScan : EntryRows::QuickScan;
        entries << e;
    }
    RunEstimate::Calibration calibration;
    calibration.byScan.insert(QString(), 1.1);
    QList<qint64> times;
    qsizetype chars = 0;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer t;
        t.start();
        ScheduleModel model;
        model.setEstimator([&calibration](const Entry &e, const Entry *prev) {
            return RunEstimate::estimate(e, prev, Estimate::Params(), calibration);
        });
        model.setEntries(entries);
        for (int r = 0; r < model.rowCount(); ++r) {
            for (int c = 0; c < model.columnCount(); ++c)
                chars += model.index(r, c).data().toString().size();
        }
        times << t.nsecsElapsed() / 1000;
    }
    std::sort(times.begin(), times.end());
    std::printf("overview entries: %d\n", kEntries);
    std::printf("overview build median: %.2f ms (target under 100 ms; %lld characters)\n",
                double(times.at(kRuns / 2)) / 1000.0, static_cast<long long>(chars));
    return 0;
}
