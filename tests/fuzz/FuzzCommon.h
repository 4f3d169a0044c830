// SPDX-License-Identifier: GPL-3.0-or-later
// What the fuzz harnesses share; a schedule harness defines FUZZ_SCHEDULE.
#pragma once

#include <QString>

#ifdef FUZZ_SCHEDULE
#include "../schedule/ScheduleTestEnv.h"
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
// harnesses get the schedule tests' tables and one unknown block definition.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
#ifdef FUZZ_SCHEDULE
    ScheduleTestEnv::buildTables(QStringLiteral("BLK_SETUP Extra\n"));
    xrayDataBase().load(QStringLiteral(":XrayDataBase2.txt"));
#endif
    return 0;
}
