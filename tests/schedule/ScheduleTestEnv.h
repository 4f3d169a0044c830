// SPDX-License-Identifier: GPL-3.0-or-later
// Shared set-up of the schedule tests: their own option tables, the X-ray data, field lists.
#pragma once

#include "ConfigStore.h"
#include "Entry.h"
#include "OptionTables.h"
#include "XrayDataBase.h"

#include <QStringList>

namespace ScheduleTestEnv {

inline const char *configText()
{
    return "Crystal Si111 3.13553 4000 28000 \"Si(111)\" 111\n"
           "Crystal Si311 1.63747 7000 40000 \"Si(311)\" 311\n"
           "DARK \"-\" AUTO\nDARK Y YES\nDARK N NO\nTUNE \"-\" AUTO\nTUNE Y YES\nTUNE N NO\n"
           "SCAN_TYPE Quick Q\nSCAN_TYPE Step S\nMEAS_MODE Trans T\nMEAS_MODE Fluo F\n"
           "BLK_SETUP Std S\nBLK_SETUP File F\nBLK_SETUP User U\n"
           "STD_TYPE XAFS X\nSTD_TYPE XANES N\nSTD_TYPE EXAFS E\n";
}

// The option tables of configText() and extra configuration lines; returns
// what buildOptionTables() has to say about them.
inline QStringList buildTables(const QString &extra = QString())
{
    ConfigStore store;
    store.readText(QString::fromLatin1(configText()) + extra);
    return buildOptionTables(store);
}

// Fills the process-wide tables and database once per test program.
inline bool setUp()
{
    buildTables();
    return xrayDataBase().load(QStringLiteral(":XrayDataBase2.txt"));
}

// A full field list of an entry followed by its block fields.
inline QStringList entryFields(const QString &target, const QString &edge, const QString &blkSetup,
                               const QString &scan, int blocks, const QString &unit,
                               const QStringList &blockFields = {})
{
    return QStringLiteral("1|S1|comment||x.dat|%1|%2|-|-|-|%3|Trans|%4|XAFS|MyBlock.prm|1|%5|%6")
               .arg(target, edge, scan, blkSetup, QString::number(blocks), unit)
               .split(QLatin1Char('|')) +
           blockFields;
}

// User blocks from their starts in eV ("R": from the edge), shown in unit.
inline void setUserBlocks(Entry &e, int unit, const QStringList &startsEV, const QList<int> &points,
                          const QString &times)
{
    e.blockDefType = EntryRows::UserBlocks;
    const int n = int(startsEV.size()) - 1;
    e.requestBlocks(n);
    if (n == 0) { // below what the editor offers, but a file may say so
        e.blocks = 0;
        e.quickBlocks.showBlocks(0);
        e.stepBlocks.showBlocks(0);
    }
    e.activeBlocks().setBlocks(n, startsEV, points, {});
    e.selectBlockUnit(unit);
    e.measTimes = times;
}

// The starts of as many blocks as an entry may have, evenly spaced from
// first ("R": from the edge).
inline QStringList fullStarts(int first, int step, const QString &prefix = QString())
{
    QStringList out;
    for (int i = 0; i <= BlockSet::maxBlocks; ++i)
        out << prefix + QString::number(first + step * i);
    return out;
}

} // namespace ScheduleTestEnv
