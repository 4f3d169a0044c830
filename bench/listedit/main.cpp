// SPDX-License-Identifier: GPL-3.0-or-later
// Changes to a whole night at once, as the overview makes them: 500 selected
// entries get one field, are repeated twice, 500 rows are pasted from a
// spreadsheet and the paste is undone. Each goes through the undo history
// and the entry editor, as in the window. Target: each under 200 ms.
#include "ListEdits.h"
#include "ListPane.h"
#include "ScheduleHistory.h"
#include "ScheduleModel.h"
#include "XrayDataBase.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QScrollArea>
#include <QUndoStack>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {
constexpr int kEntries = 500;
constexpr int kRuns = 5;

double medianMs(QList<qint64> us)
{
    std::sort(us.begin(), us.end());
    return double(us.at(us.size() / 2)) / 1000.0;
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    xrayDataBase().load(QStringLiteral(":XrayDataBase2.txt"));
    QList<Entry> night;
    for (int i = 0; i < kEntries; ++i) {
        Entry e = Entry::defaults();
        e.holder = QString::number(i % 12 + 1);
        e.sampleId = QStringLiteral("S%1").arg(i, 3, 10, QLatin1Char('0'));
        e.dataFile = QStringLiteral("S%1-0001.dat").arg(i, 3, 10, QLatin1Char('0'));
        night << e;
    }
    const QString rows = ListEdits::toTsv(night);
    QList<qint64> set, repeat, paste, undo;
    for (int run = 0; run < kRuns; ++run) {
        ScheduleModel list, buffer;
        auto *area = new QScrollArea;
        auto *place = new QGridLayout;
        ListPane pane(&list, &buffer, area, place);
        list.setEntries(night);
        const auto timed = [](QList<qint64> &into, const std::function<void()> &f) {
            QElapsedTimer t;
            t.start();
            f();
            into << t.nsecsElapsed() / 1000;
        };
        pane.selectRows(0, kEntries - 1);
        timed(set, [&] { pane.setField(ScheduleModel::Holder, QStringLiteral("7")); });
        pane.selectRows(0, kEntries - 1);
        timed(repeat, [&] { pane.repeatSelection(2); });
        pane.selectRows(0, 0);
        timed(paste, [&] { pane.paste(rows); });
        timed(undo, [&] { pane.history()->stack()->undo(); });
        delete place;
        delete area;
    }
    std::printf("listedit entries: %d\n", kEntries);
    std::printf("listedit set a field for 500 median: %.2f ms\n", medianMs(set));
    std::printf("listedit repeat x2 of 500 median: %.2f ms\n", medianMs(repeat));
    std::printf("listedit paste 500 rows median: %.2f ms\n", medianMs(paste));
    std::printf("listedit undo the paste median: %.2f ms\n", medianMs(undo));
    return 0;
}
