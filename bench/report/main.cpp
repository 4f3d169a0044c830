// SPDX-License-Identifier: GPL-3.0-or-later
// The night report of a long night: 500 entries (with their episodes) made
// into the HTML report, as the end of a run and "skedra -report" do. Prints
// the median time of the generation over several runs and the report's size.
#include "NightReport.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    constexpr int kEntries = 500;
    constexpr int kRuns = 9;
    const QDateTime run(QDate(2026, 12, 6), QTime(20, 0), Qt::OffsetFromUTC, 9 * 3600);
    const char *const outcomes[] = {"done", "done", "done", "failed", "skipped"};
    QList<JournalRow> rows;
    JournalRow started;
    started.run = run;
    started.outcome = QStringLiteral("started");
    rows << started;
    QDateTime t = run;
    for (int i = 1; i <= kEntries; ++i) {
        if (i % 50 == 0) { // the target away now and then
            JournalRow lost;
            lost.run = run;
            lost.entry = i;
            lost.started = lost.ended = t;
            lost.outcome = QStringLiteral("target-lost");
            rows << lost;
            lost.outcome = QStringLiteral("repeat");
            lost.seconds = 60;
            lost.ended = t = t.addSecs(60);
            rows << lost;
        }
        JournalRow r;
        r.run = run;
        r.entry = i;
        r.holder = QString::number(i % 12 + 1);
        r.sample = QStringLiteral("Sample <%1>").arg(i);
        r.file = QStringLiteral("s-%1.dat").arg(i);
        r.element = QStringLiteral("Cu");
        r.edge = QStringLiteral("K");
        r.scan = i % 2 ? QStringLiteral("Quick") : QStringLiteral("Step");
        r.outcome = QString::fromLatin1(outcomes[i % 5]);
        r.seconds = r.outcome == QLatin1String("skipped") ? 0 : 100 + i % 37;
        r.estimated = r.model = 110;
        r.operatorWait = i % 7 == 0 ? 20 : 0;
        r.started = t;
        r.ended = t = t.addSecs(qint64(r.seconds));
        r.detail = r.outcome == QLatin1String("failed") ? QStringLiteral("refused") : QString();
        rows << r;
    }
    QList<qint64> times;
    qsizetype size = 0;
    for (int k = 0; k < kRuns; ++k) {
        QElapsedTimer timer;
        timer.start();
        size = NightReport::html(NightReport::rowsOf(rows)).size();
        times << timer.nsecsElapsed() / 1000;
    }
    std::sort(times.begin(), times.end());
    std::printf("report entries: %d\n", kEntries);
    std::printf("report_500_median: %.2f ms\n", double(times.at(kRuns / 2)) / 1000);
    std::printf("report size: %lld characters\n", static_cast<long long>(size));
    return 0;
}
