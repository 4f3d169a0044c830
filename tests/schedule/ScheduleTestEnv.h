// Shared set-up of the schedule tests: option tables built from a
// configuration text of the tests' own, and the compiled-in X-ray data.
#pragma once

#include "ConfigStore.h"
#include "OptionTables.h"
#include "Units.h"
#include "XrayDataBase.h"

#include <QString>

namespace ScheduleTestEnv {

inline const char *configText()
{
    return "Crystal Si111 3.13553 4000 28000 \"Si(111)\" 111\n"
           "Crystal Si311 1.63747 7000 40000 \"Si(311)\" 311\n"
           "DARK \"-\" AUTO\n"
           "DARK Y YES\n"
           "DARK N NO\n"
           "TUNE \"-\" AUTO\n"
           "TUNE Y YES\n"
           "TUNE N NO\n"
           "SCAN_TYPE Quick Q\n"
           "SCAN_TYPE Step S\n"
           "MEAS_MODE Trans T\n"
           "MEAS_MODE Fluo F\n"
           "BLK_SETUP Std S\n"
           "BLK_SETUP File F\n"
           "BLK_SETUP User U\n"
           "STD_TYPE XAFS X\n"
           "STD_TYPE XANES N\n"
           "STD_TYPE EXAFS E\n";
}

// Fills the process-wide tables and database once per test program.
inline bool setUp(const QString &extraConfig = QString())
{
    ConfigStore store;
    store.readText(QString::fromLatin1(configText()) + extraConfig);
    buildOptionTables(store);
    return xrayDataBase().load(QStringLiteral(":XrayDataBase2.txt"));
}

} // namespace ScheduleTestEnv
