// The option tables and X-ray data of the schedule harnesses: every selector
// has rows (an unknown block definition among them) and two crystals.
#pragma once

#include "ConfigStore.h"
#include "FuzzCommon.h"
#include "OptionTables.h"
#include "XrayDataBase.h"

inline void startScheduleHarness()
{
    silenceQtMessages();
    ConfigStore store;
    store.readText(QStringLiteral("Crystal Si111 3.13553 4000 28000 \"Si(111)\"\n"
                                  "Crystal Si311 1.63747 7000 40000\n"
                                  "DARK \"-\"\nDARK Y\nDARK N\nTUNE \"-\"\nTUNE Y\nTUNE N\n"
                                  "SCAN_TYPE Quick Q\nSCAN_TYPE Step S\n"
                                  "MEAS_MODE Trans T\nMEAS_MODE Fluo F\n"
                                  "BLK_SETUP Std\nBLK_SETUP File\nBLK_SETUP User\nBLK_SETUP Extra\n"
                                  "STD_TYPE XAFS\nSTD_TYPE XANES\nSTD_TYPE EXAFS\n"));
    buildOptionTables(store);
    xrayDataBase().load(QStringLiteral(":XrayDataBase2.txt"));
}
