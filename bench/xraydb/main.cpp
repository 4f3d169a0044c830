// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up cost of the compiled-in X-ray table: loads :XrayDataBase2.txt
// repeatedly and prints the median (and the fastest and slowest) load time.
#include "XrayDataBase.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QVector>

#include <algorithm>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? qMax(1, QByteArray(argv[1]).toInt()) : 101;
    const QString path = QStringLiteral(":XrayDataBase2.txt");

    QVector<double> ms;
    ms.reserve(runs);
    int elements = 0;
    for (int i = 0; i < runs; ++i) {
        XrayDataBase db; // a fresh table each time, as at start-up
        QElapsedTimer timer;
        timer.start();
        if (!db.load(path))
            return 1;
        ms.append(timer.nsecsElapsed() / 1e6);
        elements = int(db.byZ().size()) - 1; // without the placeholder
    }
    std::sort(ms.begin(), ms.end());
    std::printf("xraydb_elements: %d\n", elements);
    std::printf("xraydb_load_runs: %d\n", runs);
    std::printf("xraydb_load_median: %.3f ms\n", ms.at(ms.size() / 2));
    std::printf("xraydb_load_min: %.3f ms\n", ms.first());
    std::printf("xraydb_load_max: %.3f ms\n", ms.last());
    return 0;
}
