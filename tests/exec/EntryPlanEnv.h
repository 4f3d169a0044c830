// SPDX-License-Identifier: GPL-3.0-or-later
// Shared set-up of the engine and plan tests: the option tables and X-ray data they plan
// with, and entries as the operator leaves them after typing an element and a holder.
#pragma once

#include "../schedule/ScheduleTestEnv.h"
#include "Entry.h"
#include "EntryText.h"
#include "ExecPlan.h"

#include <QString>
#include <QStringList>

namespace EntryPlanEnv {

// The schedule tests' tables, with what the command plan needs besides: a
// block definition the engine does not know, the measurement-mode codes and
// the mirror and monochromator modes.
inline bool setUp()
{
    ScheduleTestEnv::buildTables(QStringLiteral(
        "BLK_SETUP Extra\nQ_MEAS_MODE Trans 1\nQ_MEAS_MODE Fluo 4\nS_MEAS_MODE Trans 0\n"
        "S_MEAS_MODE Fluo 2\nHOCMode 0 4000 7999.99\nHOCMode 1 8000 14999.99\n"
        "HOCMode 2 15000 40000\nDefaultHOCMode 1\nMonoMode 0 4000 27999.99\n"
        "MonoMode 1 28000 40000\nDefaultMonoMode 0\n"));
    return xrayDataBase().load(QStringLiteral(":XrayDataBase2.txt"));
}

inline Entry entry(const QString &elm, const QString &holder, bool ticked = true)
{
    Entry e = Entry::defaults();
    e.targetElm = elm;
    e.updateTarget();
    e.holder = holder;
    e.exec = ticked;
    return e;
}

using ScheduleTestEnv::setUserBlocks;

} // namespace EntryPlanEnv
