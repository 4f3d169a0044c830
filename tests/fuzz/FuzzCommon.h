// What the fuzz harnesses share; a schedule harness defines FUZZ_SCHEDULE.
#pragma once

#include <QString>

#ifdef FUZZ_SCHEDULE
#include "ConfigStore.h"
#include "OptionTables.h"
#include "XrayDataBase.h"
#endif

inline QString fuzzText(const uint8_t *data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
}

// An invariant broken: the fuzzer reports the input.
inline void check(bool ok)
{
    if (!ok)
        __builtin_trap();
}

// Run once: diagnostics for bad input would only slow the fuzzer down. Schedule
// harnesses get rows for every selector (one unknown block definition) and two crystals.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
#ifdef FUZZ_SCHEDULE
    ConfigStore store;
    store.readText(QStringLiteral(
        "Crystal Si111 3.13553 4000 28000 \"Si(111)\"\nCrystal Si311 1.63747 7000 40000\n"
        "DARK \"-\"\nDARK Y\nDARK N\nTUNE \"-\"\nTUNE Y\nTUNE N\nSCAN_TYPE Quick Q\nSCAN_TYPE Step "
        "S\n"
        "MEAS_MODE Trans T\nMEAS_MODE Fluo F\nBLK_SETUP Std\nBLK_SETUP File\nBLK_SETUP User\n"
        "BLK_SETUP Extra\nSTD_TYPE XAFS\nSTD_TYPE XANES\nSTD_TYPE EXAFS\n"));
    buildOptionTables(store);
    xrayDataBase().load(QStringLiteral(":XrayDataBase2.txt"));
#endif
    return 0;
}
